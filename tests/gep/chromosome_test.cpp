#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "gep/chromosome.h"

namespace {

using GEP::Chromosome;
using GEP::Symbol;
using gep_test::EngineTest;

using ChromosomeTest = EngineTest;

void SetTerminalValues(std::vector<double> values) { Chromosome::assignInputs(values); }

TEST_F(ChromosomeTest, ShapeFollowsTheFunctionLists) {
    gep_test::SetUpTradingEngine();
    EXPECT_EQ(Chromosome::tailLength(), 12);
    EXPECT_EQ(Chromosome::geneLength(), 23);

    gep_test::SetUpEngine(3, "", "~ sqrt", "", 5, 1);  // one-argument functions only: t = 1
    EXPECT_EQ(Chromosome::tailLength(), 1);
    EXPECT_EQ(Chromosome::geneLength(), 6);
    EXPECT_EQ(Chromosome::arity(-2), 2);  // beyond F1: a two-argument symbol
}

TEST_F(ChromosomeTest, TerminalRootHasOrfEndZero) {
    gep_test::SetUpEngine(3, "&", "~", "& |", 3, 1);
    Chromosome c({3, -1, -2, 0, 1, 2, 3});
    SetTerminalValues({0.0, 0.0, 7.5});
    EXPECT_EQ(c.orfEnd(0), 0);
    EXPECT_EQ(c.evaluateGene(0), 7.5);
    EXPECT_EQ(c.value(), 7.5);
}

TEST_F(ChromosomeTest, AndOfTwoTerminals) {
    gep_test::SetUpEngine(2, "&", "~", "& |", 3, 1);
    Chromosome c({-1, 1, 2, 1, 1, 1, 1});
    EXPECT_EQ(c.orfEnd(0), 2);
    SetTerminalValues({1, 1});
    EXPECT_EQ(c.value(), 1.0);
    SetTerminalValues({1, 0});
    EXPECT_EQ(c.value(), 0.0);
    SetTerminalValues({3, 5});  // bitwise: 011 & 101
    EXPECT_EQ(c.value(), 1.0);
}

TEST_F(ChromosomeTest, ReverseBreadthFirstEvaluation) {
    gep_test::SetUpEngine(4, "+", "sqrt", "+ - * /", 5, 1);
    // Symbols: 0 sqrt, -1 +, -2 -, -3 *, -4 /.
    // "- * a b c": root - with children * and a; * with b and c -> b*c - a.
    Chromosome minus({-2, -3, 1, 2, 3, 1, 1, 1, 1, 1, 1});
    SetTerminalValues({1, 2, 3, 4});
    EXPECT_EQ(minus.orfEnd(0), 4);
    EXPECT_EQ(minus.value(), 5.0);
    // "+ sqrt * a b c": sqrt(a) + b*c, a one-argument node among two-argument ones.
    Chromosome mixed({-1, 0, -3, 1, 2, 3, 1, 1, 1, 1, 1});
    SetTerminalValues({4, 2, 3, 0});
    EXPECT_EQ(mixed.orfEnd(0), 5);
    EXPECT_EQ(mixed.value(), 8.0);
    // "/ - d a b c": (a - b) / d read breadth-first; operand order matters.
    Chromosome divide({-4, -2, 4, 1, 2, 1, 1, 1, 1, 1, 1});
    SetTerminalValues({9, 3, 0, 2});
    EXPECT_EQ(divide.value(), 3.0);
}

TEST_F(ChromosomeTest, GenesAreLinkedLeftToRight) {
    gep_test::SetUpEngine(3, "-", "~", "& |", 1, 3);
    // Three genes of 3 symbols whose roots are a, b and c.
    Chromosome c({1, 1, 1, 2, 1, 1, 3, 1, 1});
    SetTerminalValues({10, 3, 2});
    EXPECT_EQ(c.value(), 5.0);  // (10 - 3) - 2, not 10 - (3 - 2)

    gep_test::SetUpEngine(3, "&", "~", "& |", 1, 3);
    Chromosome anded({1, 1, 1, 2, 1, 1, 3, 1, 1});
    SetTerminalValues({7, 6, 3});
    EXPECT_EQ(anded.value(), 2.0);  // (7 & 6) & 3
}

TEST_F(ChromosomeTest, DivisionByZeroAnywhereInvalidates) {
    gep_test::SetUpEngine(2, "+", "", "+ /", 2, 3);
    // Gene 2 divides a by b; genes 0 and 1 are fine.
    Chromosome c({1, 1, 1, 1, 1, 2, 1, 1, 1, 1, -1, 1, 2, 1, 1});
    SetTerminalValues({4, 2});
    EXPECT_EQ(c.value(), 4 + 2 + 2.0);
    EXPECT_TRUE(c.valid());
    SetTerminalValues({4, 0});
    EXPECT_EQ(c.value(), 0.0);
    EXPECT_FALSE(c.valid());
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

TEST_F(ChromosomeTest, TerminalNames) {
    gep_test::SetUpEngine(60, "&", "~", "& |", 1, 1);
    EXPECT_EQ(Chromosome::symbolName(25), "y");   // terminal 24
    EXPECT_EQ(Chromosome::symbolName(26), "b0");  // terminal 25
    EXPECT_EQ(Chromosome::symbolName(50), "b24"); // terminal 49
    EXPECT_EQ(Chromosome::symbolName(51), "c0");
}

TEST_F(ChromosomeTest, TextForm) {
    gep_test::SetUpEngine(30, "&", "~", "& |", 2, 2);
    const Chromosome c({-1, 0, 1, 26, 3, -2, 2, 2, 1, 1});
    EXPECT_EQ(c.toString(),
              "> 2 Genes linked by: &\n"
              "0)  H: &.~. T: a.b0.c..\n"
              "1)  H: |.b. T: b.a.a..");
    EXPECT_EQ(Chromosome(std::vector<Symbol>{}).toString(), " Chromosome Empty! ");
}

}  // namespace
