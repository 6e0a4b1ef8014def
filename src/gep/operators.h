#pragma once
// The deterministic cores of the genetic operators, over flat symbol arrays.
// The SymbolGenerator draws the genes, positions and lengths and calls these;
// tests call them directly with chosen positions. Every core moves symbols
// only within heads or exchanges them position for position, so tails keep
// holding terminals.
#include <cstddef>
#include <cstdint>
#include <span>

namespace GEP {

using Symbol = int16_t;  // as in chromosome.h

// Head, tail and gene length and gene count of the chromosomes operated on.
struct GeneShape {
    size_t head = 0;
    size_t tail = 0;
    size_t length = 0;
    size_t genes = 0;

    size_t size() const { return length * genes; }
    // The current class-wide chromosome settings.
    static GeneShape current();
};

// Reverses `length` head symbols of `gene` from `start`, the length cut at
// the end of the head; stretches shorter than 2 are left alone.
void invertHead(std::span<Symbol> symbols, const GeneShape& shape, size_t gene, size_t start,
                size_t length);

// Inserts min(length, symbols after `source`, h - position) symbols copied
// from the absolute index `source` into the head of `gene` at `position`;
// the head symbols after the insert move right and those pushed past the
// head are dropped. The copy may run on into the following gene.
void insertIntoHead(std::span<Symbol> symbols, const GeneShape& shape, size_t source, size_t length,
                    size_t gene, size_t position);

// The first function symbol of the head of `gene` at or after `start`, as a
// position within the gene, or -1 when the rest of the head is terminals.
int firstHeadFunction(std::span<const Symbol> symbols, const GeneShape& shape, size_t gene, size_t start);

void swapGenes(std::span<Symbol> symbols, const GeneShape& shape, size_t gene1, size_t gene2);

// Exchanges everything from (gene, position) to the end of the chromosomes.
void exchangeFrom(std::span<Symbol> a, std::span<Symbol> b, const GeneShape& shape, size_t gene,
                  size_t position);

// Exchanges positions p1..L-1 of g1, the genes strictly between g1 and g2
// and positions 0..p2-1 of g2, in that order and without ordering the
// points: stretches that overlap are exchanged twice, that is, not at all.
void exchangeBetween(std::span<Symbol> a, std::span<Symbol> b, const GeneShape& shape, size_t g1,
                     size_t p1, size_t g2, size_t p2);

void exchangeGene(std::span<Symbol> a, std::span<Symbol> b, const GeneShape& shape, size_t gene);

}  // namespace GEP
