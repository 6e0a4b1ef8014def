#include <gtest/gtest.h>

#include <numeric>

#include "engine_fixture.h"
#include "gep/operators.h"
#include "gep/symbol_generator.h"

namespace {

using GEP::GeneShape;
using GEP::Symbol;
using gep_test::EngineTest;

// h = 5, t = 6, L = 11, 3 genes; symbols numbered 1.. so moves are visible.
const GeneShape kShape{5, 6, 11, 3};

std::vector<Symbol> Numbered(Symbol first = 1) {
    std::vector<Symbol> s(kShape.size());
    std::iota(s.begin(), s.end(), first);
    return s;
}

std::vector<Symbol> Head(const std::vector<Symbol>& s, size_t gene) {
    const auto first = s.begin() + static_cast<std::ptrdiff_t>(gene * kShape.length);
    return {first, first + static_cast<std::ptrdiff_t>(kShape.head)};
}

TEST(Inversion, IsCutAtTheEndOfTheHead) {
    auto s = Numbered();
    GEP::invertHead(s, kShape, 1, 4, 4);  // h - 1: a stretch of one
    EXPECT_EQ(s, Numbered());
    GEP::invertHead(s, kShape, 1, 3, 4);  // h - 2: the last two swap
    EXPECT_EQ(Head(s, 1), (std::vector<Symbol>{12, 13, 14, 16, 15}));
    s = Numbered();
    GEP::invertHead(s, kShape, 0, 0, 4);
    EXPECT_EQ(Head(s, 0), (std::vector<Symbol>{4, 3, 2, 1, 5}));
    s = Numbered();
    GEP::invertHead(s, kShape, 2, 1, 2);
    EXPECT_EQ(Head(s, 2), (std::vector<Symbol>{23, 25, 24, 26, 27}));
}

TEST(Transposition, InsertIsCutAtTheEndOfTheHead) {
    auto s = Numbered();
    // A transposon of 3 from gene 2 (symbols 30, 31, 32) at head position h - 2
    // of gene 0: only 2 fit, the old head symbols after it are pushed out.
    GEP::insertIntoHead(s, kShape, 2 * 11 + 7, 3, 0, 3);
    EXPECT_EQ(Head(s, 0), (std::vector<Symbol>{1, 2, 3, 30, 31}));
    auto unchangedRest = Numbered();
    std::copy(s.begin(), s.begin() + 5, unchangedRest.begin());
    EXPECT_EQ(s, unchangedRest);  // tails and other genes untouched
}

TEST(Transposition, InsertShiftsTheHeadRight) {
    auto s = Numbered();
    GEP::insertIntoHead(s, kShape, 9, 2, 1, 1);  // from the tail end of gene 0
    EXPECT_EQ(Head(s, 1), (std::vector<Symbol>{12, 10, 11, 13, 14}));
    // A copy that runs on past the gene end into the next gene.
    s = Numbered();
    GEP::insertIntoHead(s, kShape, 10, 3, 0, 1);
    EXPECT_EQ(Head(s, 0), (std::vector<Symbol>{1, 11, 12, 13, 2}));
    // Overlapping source and target in the same head.
    s = Numbered();
    GEP::insertIntoHead(s, kShape, 1, 3, 0, 2);
    EXPECT_EQ(Head(s, 0), (std::vector<Symbol>{1, 2, 2, 3, 4}));
    // Near the chromosome's end only what is left is copied.
    s = Numbered();
    GEP::insertIntoHead(s, kShape, 32, 3, 0, 1);
    EXPECT_EQ(Head(s, 0), (std::vector<Symbol>{1, 33, 2, 3, 4}));
}

TEST(Transposition, FirstHeadFunction) {
    std::vector<Symbol> s(kShape.size(), 1);
    s[11] = -1;  // root of gene 1
    EXPECT_EQ(GEP::firstHeadFunction(s, kShape, 1, 1), -1);
    s[14] = 0;
    EXPECT_EQ(GEP::firstHeadFunction(s, kShape, 1, 1), 3);
    EXPECT_EQ(GEP::firstHeadFunction(s, kShape, 1, 4), -1);
    s[16] = 0;  // a function in the tail never counts
    EXPECT_EQ(GEP::firstHeadFunction(s, kShape, 1, 4), -1);
}

TEST(Recombination, OnePointAtTheStartSwapsWholeChromosomes) {
    auto a = Numbered(1);
    auto b = Numbered(100);
    GEP::exchangeFrom(a, b, kShape, 0, 0);
    EXPECT_EQ(a, Numbered(100));
    EXPECT_EQ(b, Numbered(1));
    a = Numbered(1);
    b = Numbered(100);
    GEP::exchangeFrom(a, b, kShape, 1, 4);
    EXPECT_EQ(a[14], 15);
    EXPECT_EQ(a[15], 115);
    EXPECT_EQ(a[32], 132);
}

TEST(Recombination, TwoPointExchangesBetweenThePoints) {
    auto a = Numbered(1);
    auto b = Numbered(100);
    GEP::exchangeBetween(a, b, kShape, 0, 9, 2, 2);
    for (size_t i = 0; i < kShape.size(); ++i) {
        const bool exchanged = i >= 9 && i < 22 + 2;
        EXPECT_EQ(a[i], static_cast<Symbol>(i + (exchanged ? 100 : 1))) << i;
    }
    // The same gene: the overlap is exchanged twice, that is, not at all.
    a = Numbered(1);
    b = Numbered(100);
    GEP::exchangeBetween(a, b, kShape, 1, 3, 1, 7);
    for (size_t i = 11; i < 22; ++i) {
        const bool exchanged = i < 11 + 3 || i >= 11 + 7;
        EXPECT_EQ(a[i], static_cast<Symbol>(i + (exchanged ? 100 : 1))) << i;
    }
    // Points out of order: only the end of g1 and the start of g2.
    a = Numbered(1);
    b = Numbered(100);
    GEP::exchangeBetween(a, b, kShape, 2, 8, 0, 2);
    for (size_t i = 0; i < kShape.size(); ++i) {
        const bool exchanged = i < 2 || i >= 22 + 8;
        EXPECT_EQ(a[i], static_cast<Symbol>(i + (exchanged ? 100 : 1))) << i;
    }
}

TEST(Recombination, GeneExchangeAndGeneSwap) {
    auto a = Numbered(1);
    auto b = Numbered(100);
    GEP::exchangeGene(a, b, kShape, 1);
    EXPECT_EQ(a[10], 11);
    EXPECT_EQ(a[11], 111);
    EXPECT_EQ(a[21], 121);
    EXPECT_EQ(a[22], 23);
    a = Numbered(1);
    GEP::swapGenes(a, kShape, 0, 2);
    EXPECT_EQ(a[0], 23);
    EXPECT_EQ(a[22], 1);
    EXPECT_EQ(a[11], 12);
}

using SymbolGeneratorTest = EngineTest;

TEST_F(SymbolGeneratorTest, FunctionKindProbabilities) {
    gep_test::SetUpTradingEngine();
    EXPECT_DOUBLE_EQ(GEP::SymbolGenerator().oneArgProbability(), 1.0 / 3.0);

    gep_test::SetUpEngine(3, "", "sqrt", "", 4, 1);
    testing::internal::CaptureStdout();
    GEP::SymbolGenerator noTwoArgs;
    testing::internal::GetCapturedStdout();
    for (int i = 0; i < 500; ++i) ASSERT_GE(noTwoArgs.randomHeadSymbol(), 0);  // sqrt (0) or a terminal
}

TEST_F(SymbolGeneratorTest, RandomChromosomesUseEverySymbolKind) {
    gep_test::SetUpTradingEngine();
    GEP::SymbolGenerator generator;
    GEP::Chromosome c;
    c.setValid(false);
    int functions = 0;
    int heads = 0;
    for (int round = 0; round < 200; ++round) {
        generator.generateRandom(c);
        ASSERT_TRUE(c.valid());
        for (size_t g = 0; g < 3; ++g)
            for (size_t p = 0; p < 11; ++p, ++heads) functions += c.symbols()[g * 23 + p] <= 0;
        for (size_t g = 0; g < 3; ++g)
            for (const Symbol s : gep_test::TailOf(c, g)) ASSERT_TRUE(s >= 1 && s <= 21);
    }
    // About 70 % of head symbols are functions.
    EXPECT_NEAR(static_cast<double>(functions) / heads, 0.7, 0.03);
}

TEST_F(SymbolGeneratorTest, RisInAHeadOfTerminalsChangesNothing) {
    gep_test::SetUpTradingEngine();
    GEP::Chromosome c;
    for (size_t i = 0; i < c.symbols().size(); ++i) c.symbols()[i] = static_cast<Symbol>(1 + i % 21);
    c.symbols()[0] = -1;  // a root function: RIS starts its scan at 1 at the earliest
    c.symbols()[23] = 0;
    const auto before = c.symbols();
    GEP::SymbolGenerator generator;
    for (int i = 0; i < 300; ++i) generator.risTransposition(c);
    EXPECT_EQ(c.symbols(), before);
}

// Tails hold terminals whatever sequence of operators runs, and heads hold
// only known symbols.
TEST_F(SymbolGeneratorTest, TailsStayTerminalUnderEveryOperator) {
    for (const auto& setUp : {gep_test::SetUpTradingEngine, +[] { gep_test::SetUpEngine(4, "+", "sqrt", "+ *", 4, 2); },
                              +[] { gep_test::SetUpEngine(3, "*", "ln exp", "", 6, 3); }}) {
        setUp();
        GEP::SymbolGenerator generator;
        generator.setTransposonLength(5);
        generator.setInversionLength(7);
        std::vector<GEP::Chromosome> pool(6);
        for (auto& c : pool) generator.generateRandom(c);
        std::mt19937 pick(5);
        const int functions = static_cast<int>(GEP::Chromosome::oneArgFunctions().size() +
                                               GEP::Chromosome::twoArgFunctions().size());
        for (int step = 0; step < 20000; ++step) {
            GEP::Chromosome& a = pool[pick() % pool.size()];
            GEP::Chromosome& b = pool[pick() % pool.size()];
            switch (pick() % 8) {
                case 0: generator.mutation(a); break;
                case 1: generator.inversion(a); break;
                case 2: generator.isTransposition(a); break;
                case 3: generator.risTransposition(a); break;
                case 4: generator.geneTransposition(a); break;
                case 5: generator.onePointRecombination(a, b); break;
                case 6: generator.twoPointRecombination(a, b); break;
                default: generator.geneRecombination(a, b); break;
            }
            ASSERT_EQ(a.symbols().size(), generator.shape().size());
            for (size_t g = 0; g < GEP::Chromosome::numGenes(); ++g)
                for (const Symbol s : gep_test::TailOf(a, g))
                    ASSERT_TRUE(s >= 1 && static_cast<size_t>(s) <= GEP::Chromosome::terminalCount()) << step;
            for (const Symbol s : a.symbols()) ASSERT_GT(s, -functions);
            a.value();  // every chromosome stays evaluable (the sanitizers watch)
        }
    }
}

}  // namespace
