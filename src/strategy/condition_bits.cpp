#include "strategy/condition_bits.h"

#include "gep/functions.h"

namespace {

// The bit an input stands for, or -1 when no single bit can stand for it.
int InputBit(double x) {
    const int t = GEP::truncToInt32(x);
    return t == 0 || t == 1 ? t : -1;
}

ConditionBits Empty(size_t cases, size_t terminalCount) {
    ConditionBits bits;
    bits.cases = cases;
    bits.words = (cases + 63) / 64;
    bits.terminals.assign(terminalCount * bits.words, 0);
    bits.holdable.assign(bits.words, 0);
    return bits;
}

void SetBit(uint64_t* words, size_t k) { words[k / 64] |= uint64_t{1} << (k % 64); }

}  // namespace

std::optional<ConditionBits> BuildConditionBits(const std::vector<TradingRecord>& cases, size_t terminalCount) {
    ConditionBits bits = Empty(cases.size(), terminalCount);
    for (size_t k = 0; k < cases.size(); ++k) {
        const TradingRecord& record = cases[k];
        if (record.inputs.size() != terminalCount) return std::nullopt;
        for (size_t t = 0; t < terminalCount; ++t) {
            const int bit = InputBit(record.inputs[t]);
            if (bit < 0) return std::nullopt;
            if (bit == 1) SetBit(bits.terminals.data() + t * bits.words, k);
        }
        if (record.last == 0) SetBit(bits.holdable.data(), k);
    }
    return bits;
}
