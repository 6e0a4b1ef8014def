#pragma once
// Random symbols and the eight genetic operators of one population.
//
// Built after the class-wide chromosome settings are in place: the ranges of
// its choosers are fixed from them at construction and do not follow later
// changes. Building it reseeds the symbol source from the clock. Integer
// choices come from the symbol source, U01 draws from the real source.
#include <cstdint>
#include <optional>

#include "gep/chromosome.h"
#include "gep/operators.h"
#include "gep/random.h"

namespace GEP {

class SymbolGenerator {
public:
    SymbolGenerator();

    Symbol randomTerminal() { return static_cast<Symbol>(1 + terminal_()); }
    Symbol randomHeadSymbol();
    // Fills every gene: heads with random head symbols, tails with random
    // terminals; marks the chromosome valid.
    void generateRandom(Chromosome& chromosome);

    void mutation(Chromosome& c);
    void inversion(Chromosome& c);
    void isTransposition(Chromosome& c);
    void risTransposition(Chromosome& c);
    void geneTransposition(Chromosome& c);
    void onePointRecombination(Chromosome& a, Chromosome& b);
    void twoPointRecombination(Chromosome& a, Chromosome& b);
    void geneRecombination(Chromosome& a, Chromosome& b);

    void setInversionLength(uint16_t length) { inversionLength_ = length; }
    // Also resets the transposon length chooser to [1, length].
    void setTransposonLength(uint16_t length);
    void setFunctionProbability(double p) { functionProbability_ = p; }
    uint16_t inversionLength() const { return inversionLength_; }
    uint16_t transposonLength() const { return transposonLength_; }
    double functionProbability() const { return functionProbability_; }
    double oneArgProbability() const { return oneArgProbability_; }
    const GeneShape& shape() const { return shape_; }

private:
    // A chooser over [0, n-1]; an empty range draws 0.
    static IntChooser upTo(size_t n) {
        return IntChooser(symbolSource(), 0, n > 0 ? static_cast<uint32_t>(n - 1) : 0);
    }
    void transpose(Chromosome& c, size_t sourceGene, size_t sourcePosition, size_t length,
                   size_t targetGene, size_t targetPosition);

    GeneShape shape_;
    uint16_t f1_;
    bool hasFunctions_;
    std::optional<IntChooser> oneArg_;
    std::optional<IntChooser> twoArg_;
    IntChooser terminal_;
    IntChooser headPosition_;
    IntChooser tailPosition_;
    IntChooser genePosition_;
    IntChooser geneIndex_;
    IntChooser transposonLengthChooser_;
    IntChooser nonRootHeadPosition_;
    double functionProbability_ = 0.7;
    double oneArgProbability_ = 0.5;
    uint16_t inversionLength_ = 4;
    uint16_t transposonLength_ = 3;
};

}  // namespace GEP
