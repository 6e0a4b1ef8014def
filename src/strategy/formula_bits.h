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
#include <array>
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

    // What the signal depends on: the symbols of each gene's open reading
    // frame, one byte each and zero past the frame, in keyWords() words.
    // Formulas with equal keys give equal signals. False when a gene does
    // not close or a symbol does not fit a byte.
    bool frameKey(std::span<const GEP::Symbol> symbols, uint64_t* key) const;
    size_t keyWords() const { return (genes_ * geneLength_ + 7) / 8; }

private:
    enum class Op : uint8_t { kNot, kAnd, kOr };

    FormulaBits() = default;
    // Index within the gene of the last symbol of its reading frame, or -1.
    int orfEnd(const GEP::Symbol* gene) const;
    bool evaluateGene(const GEP::Symbol* gene, const ConditionBits& bits, uint64_t* out);
    // As Chromosome::arity; a table for the symbols that fit a key byte
    // spares the branches on random symbols.
    int arity(GEP::Symbol s) const {
        const unsigned at = static_cast<unsigned>(s + kKeyOffset);
        if (at < arities_.size()) return arities_[at];
        return s >= 1 ? 0 : static_cast<size_t>(-s) < oneArgCount_ ? 1 : 2;
    }

    static constexpr int kKeyOffset = 101;  // symbols -100 .. 154 give key bytes 1 .. 255

    std::vector<Op> functions_;  // by -symbol: the one-argument list, then the two-argument list
    size_t oneArgCount_ = 0;
    size_t terminalCount_ = 0;
    size_t geneLength_ = 0;
    size_t genes_ = 0;
    Op linking_ = Op::kAnd;
    std::array<uint8_t, 256> arities_{};
    std::vector<uint64_t> scratch_;  // one row per gene position, then one for a gene's value
};
