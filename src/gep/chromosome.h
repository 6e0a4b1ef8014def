#pragma once
// A chromosome: G genes of L = h + t symbols, each gene read in Karva
// notation (breadth-first) as an expression over terminals and functions;
// the genes' values are joined left to right by the linking function.
//
// Symbols: s >= 1 is terminal s-1; s <= 0 is one-argument function -s when
// -s < F1, else two-argument function -s-F1.
//
// The shape of every chromosome (terminals, function lists, linking
// function, head length, gene count) is class-wide, process-wide and
// unsynchronised: set it in the order terminals, linking function,
// one-argument list, two-argument list, head length, genes, before building
// or evaluating chromosomes, and let only one activity use it at a time.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gep/functions.h"

namespace GEP {

// A chromosome symbol; also the stored form of a strategy's genes.
using Symbol = int16_t;

// The class-wide state behind Chromosome's static setters.
struct ChromosomeSettings {
    std::vector<double> terminals;
    OneArgList oneArgs;
    TwoArgList twoArgs;
    std::unique_ptr<twoArg> linking;
    uint16_t head = 0;
    uint16_t tail = 0;
    uint16_t length = 0;
    uint16_t genes = 0;
};

class Chromosome {
public:
    using Symbol = GEP::Symbol;

    // ---- class-wide settings ----

    // Replaces the terminal values; their number is nT.
    static void setTerminals(std::vector<double> values);
    // Overwrites the first inputs.size() terminal values with a record's
    // inputs; a list longer than nT leaves the values untouched.
    template <class In>
    static void assignInputs(const std::vector<In>& inputs) {
        if (inputs.size() > settings_.terminals.size()) return;
        for (size_t i = 0; i < inputs.size(); ++i) settings_.terminals[i] = static_cast<double>(inputs[i]);
    }
    static const std::vector<double>& terminals() { return settings_.terminals; }
    static size_t terminalCount() { return settings_.terminals.size(); }

    static void setLinkingFunction(std::string_view name);
    static void setOneArgFunctions(std::string_view names);
    static void setTwoArgFunctions(std::string_view names);
    // Destroys both function lists and the linking function.
    static void releaseFunctions();
    static const twoArg* linkingFunction() { return settings_.linking.get(); }
    static const OneArgList& oneArgFunctions() { return settings_.oneArgs; }
    static const TwoArgList& twoArgFunctions() { return settings_.twoArgs; }

    // t = h(n-1)+1 with n the largest arity present, so every gene closes
    // within itself; set the function lists first. Without any function a
    // gene is its root terminal and t is 1.
    static void setHeadLength(uint16_t h);
    static void setNumGenes(uint16_t genes) { settings_.genes = genes; }
    static uint16_t headLength() { return settings_.head; }
    static uint16_t tailLength() { return settings_.tail; }
    static uint16_t geneLength() { return settings_.length; }
    static uint16_t numGenes() { return settings_.genes; }

    static int arity(Symbol s) {
        if (s >= 1) return 0;
        return static_cast<size_t>(-s) < settings_.oneArgs.size() ? 1 : 2;
    }
    // "~", "&", ... for functions; "a".."y", then "b0".."b24", "c0", ... for
    // terminals.
    static std::string symbolName(Symbol s);

    // ---- one chromosome ----

    // G*L symbols: 0 in every head position, 1 in every tail position; valid.
    Chromosome();
    // A chromosome from stored symbols; throws std::invalid_argument when a
    // symbol names no terminal or function of the current lists.
    explicit Chromosome(std::vector<Symbol> symbols);

    // Index within gene `gene` of the last symbol its expression uses, 0 for
    // a terminal root; -1 (after a message on standard output) when the gene
    // does not close in Karva notation.
    int orfEnd(size_t gene) const;
    // The gene's value for the current terminal values. Throws
    // ArithmeticError on a domain error or a gene that fails the Karva check.
    double evaluateGene(size_t gene) const;
    // The genes' values linked left to right. On any arithmetic error the
    // result is 0.0 and the chromosome becomes invalid.
    double value();

    // "> G Genes linked by: NAME" then one line per gene, or
    // " Chromosome Empty! " without symbols.
    std::string toString() const;

    bool valid() const { return valid_; }
    void setValid(bool valid) { valid_ = valid; }
    std::vector<Symbol>& symbols() { return symbols_; }
    const std::vector<Symbol>& symbols() const { return symbols_; }

private:
    static inline ChromosomeSettings settings_;

    static double terminalValue(Symbol s);
    std::string geneText(size_t gene) const;

    std::vector<Symbol> symbols_;
    bool valid_ = true;
};

}  // namespace GEP
