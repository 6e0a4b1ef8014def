#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "gep/algorithm.h"
#include "gep/individual.h"
#include "gep/population.h"

namespace {

using Ind = GEP::Individual<>;
using Pop = GEP::Population<Ind>;
using GEP::Symbol;

// The selection source's draws, replayed from its start-up state.
struct SelectionMirror {
    explicit SelectionMirror(uint32_t size) : chooser(source, 0, size - 1) {}
    std::mt19937 source{42};
    GEP::IntChooser chooser;
};

class PopulationTest : public gep_test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        gep_test::SetUpEngine(4, "&", "~", "& |", 3, 1);
    }
    static GEP::OperatorProbabilities None() { return {0, 0, 0, 0, 0, 0, 0, 0}; }
    static std::vector<Symbol> Marker(Symbol s) { return std::vector<Symbol>(GEP::Chromosome::geneLength(), s); }
};

// Fitness i / 2: pairs of equal fitness make ties, which the second drawn wins.
TEST_F(PopulationTest, TheBetterOrOnATieTheSecondDrawnWins) {
    Pop p(10, 1);
    for (size_t i = 0; i < 10; ++i) p[i].setFitness(static_cast<double>(i / 2));
    SelectionMirror mirror(10);
    int ties = 0;
    for (int t = 0; t < 100; ++t) {
        const size_t a = mirror.chooser();
        const size_t b = mirror.chooser();
        ties += a / 2 == b / 2 && a != b;
        ASSERT_EQ(p.selectIndex(), a / 2 > b / 2 ? a : b);
    }
    EXPECT_GT(ties, 3);
}

TEST_F(PopulationTest, InvalidIndividualsNeverWinAgainstValidOnes) {
    Pop p(10, 1);
    for (size_t i = 0; i < 10; ++i) {
        p[i].setFitness(100.0 - static_cast<double>(i));  // low indices are better...
        p[i].chromosome().setValid(i % 2 == 1);           // ...but the even ones are invalid
    }
    for (int t = 0; t < 200; ++t) ASSERT_EQ(p.selectIndex() % 2, 1u);
    // Without any valid individual, selection still ends.
    for (size_t i = 0; i < 10; ++i) p[i].chromosome().setValid(false);
    EXPECT_LT(p.selectIndex(), 10u);
}

// Archive sizes run from 1 to the population's. Archive size 1: the simple
// mode re-inserts the elite at slot 0; the mode without re-insertion leaves
// slot 0 to the tournament.
TEST_F(PopulationTest, ArchiveOfOneInBothEliteModes) {
    EXPECT_THROW(Pop(10, 0), std::invalid_argument);
    EXPECT_THROW(Pop(10, 11), std::invalid_argument);
    Pop p(8, 1);
    p.setProbabilities(None());
    for (size_t i = 0; i < 8; ++i) {
        p[i].setFitness(static_cast<double>(i));
        p[i].chromosome().symbols() = Marker(Symbol(i + 1));
    }
    p[5].setFitness(100.0);
    p.elitism();
    ASSERT_EQ(p[0].chromosome().symbols(), Marker(6));
    std::vector<std::vector<Symbol>> sorted;
    for (size_t i = 0; i < 8; ++i) sorted.push_back(p[i].chromosome().symbols());

    SelectionMirror mirror(8);
    const size_t a = mirror.chooser();
    const size_t b = mirror.chooser();
    const size_t firstWinner = (a == b || p[a].fitness() > p[b].fitness()) ? a : b;
    p.tournamentSelection();
    p.applyOperators();
    EXPECT_EQ(p.newIndividual(0).chromosome().symbols(), sorted[firstWinner]);  // mode 1 stops here
    p.reinsertElite();
    EXPECT_EQ(p.newIndividual(0).chromosome().symbols(), Marker(6));
    EXPECT_EQ(p.newIndividual(0).fitness(), 100.0);

    // Whole generations: mode 1 still tracks the best through the archive.
    p.runGeneration(GEP::kEliteNoReinsertion);
    EXPECT_EQ(p.best()->fitness(), 100.0);
    EXPECT_EQ(p.archiveEntry(0)->chromosome().symbols(), Marker(6));
    EXPECT_EQ(p.generation(), 1u);
}

TEST_F(PopulationTest, SimpleModeKeepsTheEliteUnchangedUnderOperators) {
    Pop p(20, 3);
    p.generate();
    std::mt19937 fitness(3);
    for (int generation = 0; generation < 30; ++generation) {
        for (size_t i = 0; i < p.size(); ++i) p[i].setFitness(fitness() % 1000);
        p.runGeneration(GEP::kEliteSimple);
        for (size_t i = 0; i < 3; ++i) {
            ASSERT_EQ(p[i].chromosome().symbols(), p.archiveEntry(i)->chromosome().symbols());
            ASSERT_EQ(p[i].fitness(), p.archiveEntry(i)->fitness());
        }
        ASSERT_GE(p.archiveEntry(0)->fitness(), p.archiveEntry(1)->fitness());
        ASSERT_GE(p.archiveEntry(1)->fitness(), p.archiveEntry(2)->fitness());
    }
}

}  // namespace
