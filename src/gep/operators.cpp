#include "gep/operators.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "gep/chromosome.h"

namespace GEP {

GeneShape GeneShape::current() {
    return {Chromosome::headLength(), Chromosome::tailLength(), Chromosome::geneLength(),
            Chromosome::numGenes()};
}

void invertHead(std::span<Symbol> symbols, const GeneShape& shape, size_t gene, size_t start,
                size_t length) {
    if (start >= shape.head) {
        std::fputs("bad position of inversion \n", stdout);
        return;
    }
    length = std::min(length, shape.head - start);
    if (length < 2) return;
    const auto first = symbols.begin() + static_cast<std::ptrdiff_t>(gene * shape.length + start);
    std::reverse(first, first + static_cast<std::ptrdiff_t>(length));
}

void insertIntoHead(std::span<Symbol> symbols, const GeneShape& shape, size_t source, size_t length,
                    size_t gene, size_t position) {
    if (position >= shape.head) {
        std::fputs("Error! Wrong insert position !\n", stdout);
        return;
    }
    if (source >= shape.size()) return;
    length = std::min({length, shape.size() - source, shape.head - position});
    if (length == 0) return;

    // Copy the transposon first: it may overlap the head it goes into.
    std::array<Symbol, 64> small{};
    std::vector<Symbol> large;
    Symbol* copy = small.data();
    if (length > small.size()) {
        large.resize(length);
        copy = large.data();
    }
    std::copy_n(symbols.begin() + static_cast<std::ptrdiff_t>(source), length, copy);

    Symbol* head = symbols.data() + gene * shape.length;
    std::copy_backward(head + position, head + shape.head - length, head + shape.head);
    std::copy_n(copy, length, head + position);
}

int firstHeadFunction(std::span<const Symbol> symbols, const GeneShape& shape, size_t gene, size_t start) {
    const Symbol* head = symbols.data() + gene * shape.length;
    for (size_t p = start; p < shape.head; ++p)
        if (head[p] <= 0) return static_cast<int>(p);
    return -1;
}

void swapGenes(std::span<Symbol> symbols, const GeneShape& shape, size_t gene1, size_t gene2) {
    if (gene1 == gene2) return;
    const auto l = static_cast<std::ptrdiff_t>(shape.length);
    const auto first1 = symbols.begin() + static_cast<std::ptrdiff_t>(gene1) * l;
    std::swap_ranges(first1, first1 + l, symbols.begin() + static_cast<std::ptrdiff_t>(gene2) * l);
}

namespace {

void exchange(std::span<Symbol> a, std::span<Symbol> b, size_t from, size_t to) {
    if (from >= to) return;
    std::swap_ranges(a.begin() + static_cast<std::ptrdiff_t>(from), a.begin() + static_cast<std::ptrdiff_t>(to),
                     b.begin() + static_cast<std::ptrdiff_t>(from));
}

}  // namespace

void exchangeFrom(std::span<Symbol> a, std::span<Symbol> b, const GeneShape& shape, size_t gene,
                  size_t position) {
    exchange(a, b, gene * shape.length + position, shape.size());
}

void exchangeBetween(std::span<Symbol> a, std::span<Symbol> b, const GeneShape& shape, size_t g1,
                     size_t p1, size_t g2, size_t p2) {
    const size_t l = shape.length;
    exchange(a, b, g1 * l + p1, g1 * l + l);
    for (size_t g = g1 + 1; g < g2; ++g) exchange(a, b, g * l, g * l + l);
    exchange(a, b, g2 * l, g2 * l + p2);
}

void exchangeGene(std::span<Symbol> a, std::span<Symbol> b, const GeneShape& shape, size_t gene) {
    exchange(a, b, gene * shape.length, gene * shape.length + shape.length);
}

}  // namespace GEP
