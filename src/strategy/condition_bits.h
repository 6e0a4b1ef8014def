#pragma once
// The inputs of the fitness cases as bit series, built once per run: for
// every terminal one bit per case (case k is bit k % 64 of word k / 64), and
// the cases on which a signal may hold a position (all but a case marked
// last). The bit-parallel formula evaluation reads them word by word.
//
// The bits are exact only when every input truncates to 0 or 1: the logical
// functions act on the inputs truncated toward zero, so 1.0 is a set bit and
// 0.0, NaN and fractions below 1 are clear bits. Other inputs (2.0 would make
// 2 & 1 = 0), or cases whose input count differs from the terminal count
// (the record-by-record evaluation would then read stale terminal values),
// give no bits, and the caller must evaluate record by record.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "strategy/fitness_cases.h"

struct ConditionBits {
    size_t cases = 0;
    size_t words = 0;                 // ceil(cases / 64)
    std::vector<uint64_t> terminals;  // terminal t: words [t * words, (t + 1) * words)
    std::vector<uint64_t> holdable;   // case k < cases and not marked last; bits past `cases` clear

    const uint64_t* terminal(size_t t) const { return terminals.data() + t * words; }
};

// The bits of `cases` for `terminalCount` terminals, or nothing when they
// would not be exact (see above).
std::optional<ConditionBits> BuildConditionBits(const std::vector<TradingRecord>& cases, size_t terminalCount);
