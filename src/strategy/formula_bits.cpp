#include "strategy/formula_bits.h"

#include <algorithm>
#include <string_view>

namespace {

bool AndOrOr(std::string_view name) { return name == "&" || name == "|"; }

}  // namespace

std::optional<FormulaBits> FormulaBits::ForCurrentEngine() {
    using GEP::Chromosome;
    FormulaBits formula;
    for (const auto& f : Chromosome::oneArgFunctions()) {
        if (f->name() != "~") return std::nullopt;
        formula.functions_.push_back(Op::kNot);
    }
    for (const auto& f : Chromosome::twoArgFunctions()) {
        if (!AndOrOr(f->name())) return std::nullopt;
        formula.functions_.push_back(f->name() == "&" ? Op::kAnd : Op::kOr);
    }
    formula.genes_ = Chromosome::numGenes();
    if (formula.genes_ == 0 || Chromosome::geneLength() == 0) return std::nullopt;
    if (formula.genes_ > 1) {
        const GEP::twoArg* link = Chromosome::linkingFunction();
        if (link == nullptr || !AndOrOr(link->name())) return std::nullopt;
        formula.linking_ = link->name() == "&" ? Op::kAnd : Op::kOr;
    }
    formula.oneArgCount_ = Chromosome::oneArgFunctions().size();
    for (size_t at = 0; at < formula.arities_.size(); ++at) {
        const int s = static_cast<int>(at) - kKeyOffset;
        formula.arities_[at] = s >= 1 ? 0 : static_cast<size_t>(-s) < formula.oneArgCount_ ? 1 : 2;
    }
    formula.terminalCount_ = Chromosome::terminalCount();
    formula.geneLength_ = Chromosome::geneLength();
    return formula;
}

// The walk of Chromosome::orfEnd, without its messages: the caller leaves a
// gene that does not close to the record-by-record evaluation, which
// prints them.
int FormulaBits::orfEnd(const GEP::Symbol* gene) const {
    const size_t end = geneLength_;
    int open = arity(gene[0]);
    size_t next = 1;
    for (size_t p = 0; open >= 1; ++p) {
        const int a = arity(gene[p]);
        if (next + static_cast<size_t>(a) > end) return -1;
        if (a == 1) open += -1 + arity(gene[next]);
        if (a == 2) open += -2 + arity(gene[next]) + arity(gene[next + 1]);
        next += static_cast<size_t>(a);
        if (next == end && open != 0) return -1;
    }
    return static_cast<int>(next - 1);
}

bool FormulaBits::frameKey(std::span<const GEP::Symbol> symbols, uint64_t* key) const {
    if (symbols.size() < genes_ * geneLength_) return false;
    std::fill_n(key, keyWords(), 0);
    auto* bytes = reinterpret_cast<unsigned char*>(key);
    unsigned outside = 0;  // non-zero when a symbol does not fit its byte
    for (size_t g = 0; g < genes_; ++g) {
        const GEP::Symbol* gene = symbols.data() + g * geneLength_;
        const int e = orfEnd(gene);
        if (e < 0) return false;
        for (int p = 0; p <= e; ++p) {
            const unsigned byte = static_cast<unsigned>(gene[p] + kKeyOffset);
            outside |= byte - 1 > 254u;
            bytes[g * geneLength_ + static_cast<size_t>(p)] = static_cast<unsigned char>(byte);
        }
    }
    return outside == 0;
}

bool FormulaBits::evaluateGene(const GEP::Symbol* gene, const ConditionBits& bits, uint64_t* out) {
    const int e = orfEnd(gene);
    if (e < 0) return false;
    const size_t words = bits.words;
    for (int p = 0; p <= e; ++p) {
        const GEP::Symbol s = gene[p];
        if (s >= 1 ? static_cast<size_t>(s) > terminalCount_ : static_cast<size_t>(-s) >= functions_.size())
            return false;
    }
    const auto operand = [&](int p) -> const uint64_t* {
        return gene[p] >= 1 ? bits.terminal(static_cast<size_t>(gene[p] - 1)) : scratch_.data() + p * words;
    };
    if (e == 0) {
        std::copy_n(operand(0), words, out);
        return true;
    }
    // Reverse breadth-first, as the engine evaluates: the children of the
    // last function not yet evaluated are the last symbols not yet consumed.
    int child = e;
    for (int q = e; q >= 0; --q) {
        if (gene[q] >= 1) continue;
        uint64_t* row = q == 0 ? out : scratch_.data() + q * words;
        const Op op = functions_[static_cast<size_t>(-gene[q])];
        if (op == Op::kNot) {
            const uint64_t* a = operand(child);
            child -= 1;
            for (size_t w = 0; w < words; ++w) row[w] = ~a[w];
            continue;
        }
        const uint64_t* right = operand(child);
        const uint64_t* left = operand(child - 1);
        child -= 2;
        if (op == Op::kAnd)
            for (size_t w = 0; w < words; ++w) row[w] = left[w] & right[w];
        else
            for (size_t w = 0; w < words; ++w) row[w] = left[w] | right[w];
    }
    return true;
}

bool FormulaBits::evaluate(std::span<const GEP::Symbol> symbols, const ConditionBits& bits, uint64_t* out) {
    if (symbols.size() < genes_ * geneLength_) return false;
    const size_t words = bits.words;
    scratch_.resize((geneLength_ + 1) * words);
    if (!evaluateGene(symbols.data(), bits, out)) return false;
    uint64_t* value = scratch_.data() + geneLength_ * words;
    for (size_t g = 1; g < genes_; ++g) {
        if (!evaluateGene(symbols.data() + g * geneLength_, bits, value)) return false;
        if (linking_ == Op::kAnd)
            for (size_t w = 0; w < words; ++w) out[w] &= value[w];
        else
            for (size_t w = 0; w < words; ++w) out[w] |= value[w];
    }
    return true;
}
