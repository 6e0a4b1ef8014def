#pragma once
// The signal series of a chromosome for every case at once. Each gene is
// evaluated in the same reverse Karva order as Chromosome::evaluateGene, but
// on 64 cases per machine word: "~" is NOT, "&" AND and "|" OR of words,
// which on operands of 0 and 1 are exactly the engine's integer functions.
// The genes are then joined left to right by the linking function. A gene's
// value depends only on its open reading frame, so symbols past it are never
// read.
//
// Built for the engine's current settings (function lists, head length,
// genes); rebuild it when they change. Not thread-safe: it keeps scratch rows.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "gep/chromosome.h"
#include "strategy/condition_bits.h"

class FormulaBits {
public:
    // Nothing unless every function of the engine is "~", "&" or "|" and,
    // with more than one gene, the linking function is "&" or "|".
    static std::optional<FormulaBits> ForCurrentEngine();

    // Writes the signal bits of `symbols` over `bits` into `out` (bits.words
    // words; bits past the last case are unspecified). False when the
    // record-by-record evaluation would raise an error instead: a gene that
    // does not close, or a symbol in an open reading frame that names no
    // terminal or function.
    bool evaluate(std::span<const GEP::Symbol> symbols, const ConditionBits& bits, uint64_t* out);

private:
    enum class Op : uint8_t { kNot, kAnd, kOr };

    FormulaBits() = default;
    // Index within the gene of the last symbol of its reading frame, or -1.
    int orfEnd(const GEP::Symbol* gene) const;
    bool evaluateGene(const GEP::Symbol* gene, const ConditionBits& bits, uint64_t* out);
    int arity(GEP::Symbol s) const { return s >= 1 ? 0 : static_cast<size_t>(-s) < oneArgCount_ ? 1 : 2; }

    std::vector<Op> functions_;  // by -symbol: the one-argument list, then the two-argument list
    size_t oneArgCount_ = 0;
    size_t terminalCount_ = 0;
    size_t geneLength_ = 0;
    size_t genes_ = 0;
    Op linking_ = Op::kAnd;
    std::vector<uint64_t> scratch_;  // one row per gene position, then one for a gene's value
};
