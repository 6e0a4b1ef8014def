#include "gep/symbol_generator.h"

#include <cstdio>

namespace GEP {

SymbolGenerator::SymbolGenerator()
    : shape_(GeneShape::current()),
      f1_(static_cast<uint16_t>(Chromosome::oneArgFunctions().size())),
      hasFunctions_(!Chromosome::oneArgFunctions().empty() || !Chromosome::twoArgFunctions().empty()),
      terminal_(upTo(Chromosome::terminalCount())),
      headPosition_(upTo(shape_.head)),
      tailPosition_(upTo(shape_.tail)),
      genePosition_(upTo(shape_.length)),
      geneIndex_(upTo(shape_.genes)),
      transposonLengthChooser_(symbolSource(), 1, 3),
      // The root is never an IS target; a target drawn at 0 is redrawn here.
      nonRootHeadPosition_(symbolSource(), shape_.head > 1 ? 1 : 0, shape_.head > 1 ? shape_.head - 1u : 0) {
    const size_t f2 = Chromosome::twoArgFunctions().size();
    if (f1_ > 0) oneArg_.emplace(upTo(f1_));
    else std::fputs("No one argument functions\n", stdout);
    if (f2 > 0) twoArg_.emplace(upTo(f2));
    else std::fputs("No two argument functions\n", stdout);
    // Without two-argument functions every function drawn is a one-argument one.
    if (f1_ == 0) oneArgProbability_ = 0.0;
    else if (f2 == 0) oneArgProbability_ = 1.0;
    else oneArgProbability_ = static_cast<double>(f1_) / static_cast<double>(f1_ + f2);
    reseedSymbolSource();
}

void SymbolGenerator::setTransposonLength(uint16_t length) {
    transposonLength_ = length;
    transposonLengthChooser_.setRange(1, length > 0 ? length : 1);
}

Symbol SymbolGenerator::randomHeadSymbol() {
    if (!hasFunctions_) return randomTerminal();
    if (u01() <= functionProbability_) {
        if (u01() < oneArgProbability_) return static_cast<Symbol>(-static_cast<int>((*oneArg_)()));
        return static_cast<Symbol>(-static_cast<int>(f1_ + (*twoArg_)()));
    }
    return randomTerminal();
}

void SymbolGenerator::generateRandom(Chromosome& chromosome) {
    if (Chromosome::terminalCount() == 0)
        std::fputs("No terminals allocated! Use 'Chromosome::setTerminals()'\n", stdout);
    auto& symbols = chromosome.symbols();
    symbols.resize(shape_.size());
    for (size_t g = 0; g < shape_.genes; ++g) {
        Symbol* gene = symbols.data() + g * shape_.length;
        for (size_t p = 0; p < shape_.length; ++p)
            gene[p] = p < shape_.head ? randomHeadSymbol() : randomTerminal();
    }
    chromosome.setValid(true);
}

void SymbolGenerator::mutation(Chromosome& c) {
    const size_t p = genePosition_();
    const size_t g = geneIndex_();
    c.symbols()[g * shape_.length + p] = p >= shape_.head ? randomTerminal() : randomHeadSymbol();
}

void SymbolGenerator::inversion(Chromosome& c) {
    const size_t g = geneIndex_();
    const size_t start = headPosition_();
    invertHead(c.symbols(), shape_, g, start, inversionLength_);
}

void SymbolGenerator::transpose(Chromosome& c, size_t sourceGene, size_t sourcePosition, size_t length,
                                size_t targetGene, size_t targetPosition) {
    insertIntoHead(c.symbols(), shape_, sourceGene * shape_.length + sourcePosition, length, targetGene,
                   targetPosition);
}

void SymbolGenerator::isTransposition(Chromosome& c) {
    const size_t length = transposonLengthChooser_();
    const size_t sourceGene = geneIndex_();
    const size_t sourcePosition = genePosition_();
    const size_t targetGene = geneIndex_();
    size_t targetPosition = headPosition_();
    if (targetPosition == 0) {
        if (shape_.head < 2) return;  // a head of one symbol has no place besides the root
        targetPosition = nonRootHeadPosition_();
    }
    transpose(c, sourceGene, sourcePosition, length, targetGene, targetPosition);
}

void SymbolGenerator::risTransposition(Chromosome& c) {
    const size_t length = transposonLengthChooser_();
    size_t start = headPosition_();
    if (start == 0) start = 1;
    const size_t gene = geneIndex_();
    const int position = firstHeadFunction(c.symbols(), shape_, gene, start);
    if (position < 0) return;
    const size_t targetGene = geneIndex_();
    transpose(c, gene, static_cast<size_t>(position), length, targetGene, 0);
}

void SymbolGenerator::geneTransposition(Chromosome& c) {
    const size_t g1 = geneIndex_();
    const size_t g2 = geneIndex_();
    swapGenes(c.symbols(), shape_, g1, g2);
}

void SymbolGenerator::onePointRecombination(Chromosome& a, Chromosome& b) {
    const size_t g = geneIndex_();
    const size_t p = genePosition_();
    exchangeFrom(a.symbols(), b.symbols(), shape_, g, p);
}

void SymbolGenerator::twoPointRecombination(Chromosome& a, Chromosome& b) {
    const size_t g1 = geneIndex_();
    const size_t p1 = genePosition_();
    const size_t g2 = geneIndex_();
    const size_t p2 = genePosition_();
    exchangeBetween(a.symbols(), b.symbols(), shape_, g1, p1, g2, p2);
}

void SymbolGenerator::geneRecombination(Chromosome& a, Chromosome& b) {
    exchangeGene(a.symbols(), b.symbols(), shape_, geneIndex_());
}

}  // namespace GEP
