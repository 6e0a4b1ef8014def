#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "gep/chromosome.h"

namespace {

using GEP::Chromosome;
using GEP::Symbol;
using gep_test::EngineTest;

using ChromosomeTest = EngineTest;

void SetTerminalValues(std::vector<double> values) { Chromosome::assignInputs(values); }

// Genes are read breadth-first (Karva) and evaluated in reverse; genes are
// linked left to right; a division by zero anywhere invalidates.
TEST_F(ChromosomeTest, EvaluatesKarvaGenes) {
    struct Case {
        const char* what;
        size_t terminals;
        const char *linking, *oneArgs, *twoArgs;
        uint16_t head, genes;
        std::vector<Symbol> symbols;
        int orfEnd;
        std::vector<double> inputs;
        double value;
        bool valid;
    };
    const std::vector<Symbol> andAB = {-1, 1, 2, 1, 1, 1, 1};
    const std::vector<Symbol> threeRoots = {1, 1, 1, 2, 1, 1, 3, 1, 1};
    const std::vector<Symbol> divides = {1, 1, 1, 1, 1, 2, 1, 1, 1, 1, -1, 1, 2, 1, 1};  // gene 2: a / b
    const Case cases[] = {
        {"a terminal root", 3, "&", "~", "& |", 3, 1, {3, -1, -2, 0, 1, 2, 3}, 0, {0, 0, 7.5}, 7.5, true},
        {"a & b", 2, "&", "~", "& |", 3, 1, andAB, 2, {1, 1}, 1, true},
        {"a & b", 2, "&", "~", "& |", 3, 1, andAB, 2, {1, 0}, 0, true},
        {"a & b bitwise", 2, "&", "~", "& |", 3, 1, andAB, 2, {3, 5}, 1, true},
        // Symbols 0 sqrt, -1 +, -2 -, -3 *, -4 /.
        {"- * a b c = b*c - a", 4, "+", "sqrt", "+ - * /", 5, 1, {-2, -3, 1, 2, 3, 1, 1, 1, 1, 1, 1}, 4, {1, 2, 3, 4},
         5, true},
        {"+ sqrt * a b c = sqrt(a) + b*c", 4, "+", "sqrt", "+ - * /", 5, 1, {-1, 0, -3, 1, 2, 3, 1, 1, 1, 1, 1}, 5,
         {4, 2, 3, 0}, 8, true},
        {"/ - d a b = (a - b) / d", 4, "+", "sqrt", "+ - * /", 5, 1, {-4, -2, 4, 1, 2, 1, 1, 1, 1, 1, 1}, 4,
         {9, 3, 0, 2}, 3, true},
        {"(a - b) - c", 3, "-", "~", "& |", 1, 3, threeRoots, 0, {10, 3, 2}, 5, true},
        {"(a & b) & c", 3, "&", "~", "& |", 1, 3, threeRoots, 0, {7, 6, 3}, 2, true},
        {"a + a + a / b", 2, "+", "", "+ /", 2, 3, divides, 0, {4, 2}, 8, true},
        {"a / 0", 2, "+", "", "+ /", 2, 3, divides, 0, {4, 0}, 0, false},
    };
    for (const Case& c : cases) {
        gep_test::SetUpEngine(c.terminals, c.linking, c.oneArgs, c.twoArgs, c.head, c.genes);
        Chromosome chromosome(c.symbols);
        SetTerminalValues(c.inputs);
        EXPECT_EQ(chromosome.orfEnd(0), c.orfEnd) << c.what;
        EXPECT_EQ(chromosome.value(), c.value) << c.what;
        EXPECT_EQ(chromosome.valid(), c.valid) << c.what;
    }
}

TEST_F(ChromosomeTest, KarvaLengthErrorIsReportedAndInvalidates) {
    gep_test::SetUpEngine(2, "&", "~", "& |", 1, 1);
    // Functions in the tail, as after loading with another gene length.
    Chromosome c({-1, -1, -1});
    testing::internal::CaptureStdout();
    EXPECT_EQ(c.orfEnd(0), -1);
    EXPECT_EQ(c.value(), 0.0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Karva incompatible! Length Error 2! \nKarva incompatible! Length Error 2! \n");
    EXPECT_FALSE(c.valid());
}

TEST_F(ChromosomeTest, SymbolsOutsideTheListsAreRejected) {
    gep_test::SetUpEngine(2, "&", "~", "& |", 1, 1);
    EXPECT_NO_THROW(Chromosome({-2, 2, 1}));
    EXPECT_THROW(Chromosome({-3, 1, 1}), std::invalid_argument);
    EXPECT_THROW(Chromosome({1, 3, 1}), std::invalid_argument);
}

TEST_F(ChromosomeTest, InputsOverwriteTerminalValuesUnlessLonger) {
    gep_test::SetUpEngine(3, "&", "~", "& |", 1, 1);
    Chromosome::assignInputs(std::vector<double>{1, 2});
    EXPECT_EQ(Chromosome::terminals(), (std::vector<double>{1, 2, 0}));
    Chromosome::assignInputs(std::vector<double>{5, 5, 5, 5});
    EXPECT_EQ(Chromosome::terminals(), (std::vector<double>{1, 2, 0}));
}

}  // namespace
