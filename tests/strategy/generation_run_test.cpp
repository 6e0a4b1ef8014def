// The generation run on its worker: progress, stop and results.
#include <gtest/gtest.h>

#include "strategy/generation_run.h"
#include "strategy/time_range.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::InsertBars;
using strategy_test::Store;
using Evaluator = GEP::Algorithm<TraderIndividual>::Evaluator;

class GenerationRunTest : public strategy_test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        InsertBars(store_.db(), "SS", "600000", 1000, 300);
        ASSERT_TRUE(dc_.LoadStock("600000", "SS"));
        RunParameters& p = dc_.Parameters();
        p.evoluteDays = 200;
        p.evoluteSteps = 10;
        p.minTradeNums = 1;
        p.maxTradeNums = 240;
        ASSERT_TRUE(ComputeVerificationRange(p, dc_.Dates()));
    }

    // Runs to the end; returns the progress reports.
    std::vector<GenerationProgress> Breed(Evaluator evaluator = {}) {
        std::vector<GenerationProgress> reports;
        GenerationHooks hooks;
        hooks.replay = [this](TraderIndividual& best, const std::vector<TradingRecord>& cases, RunParameters& p) {
            ++replays_;
            ReplayBest(best, cases, p);
        };
        hooks.progress = [&](const GenerationProgress& g) { reports.push_back(g); };
        hooks.finished = [&] { ++finished_; };
        hooks.evaluator = std::move(evaluator);
        std::unique_ptr<GenerationRun> run = GenerationRun::Start(dc_, std::move(hooks), {});
        EXPECT_TRUE(run);
        if (run) run->Wait();
        return reports;
    }

    // Every individual of evaluation k (0 = the first, before generation 1)
    // gets fitness levels[min(k, last)].
    Evaluator Scripted(std::vector<double> levels) {
        return [levels, calls = size_t{0}](std::span<TraderIndividual* const> batch,
                                           const std::vector<TradingRecord>&) mutable {
            const double f = levels[std::min(calls++, levels.size() - 1)];
            for (TraderIndividual* individual : batch) individual->setFitness(f);
        };
    }

    Store store_;
    CDataCenter dc_{store_.db()};
    int finished_ = 0;
    int replays_ = 0;
};

// Improvements in generations 1, 3 and 7: the run ends once the search
// depth (10) passes without one (the stall rule: the engine's
// algorithm_test.cpp). A new run clears the logs at once but keeps the
// strategy until it has its own.
TEST_F(GenerationRunTest, EndsAfterTheSearchDepthAndANewRunStartsClean) {
    const std::vector<GenerationProgress> reports = Breed(Scripted({1, 1, 2, 2, 2, 2, 3}));
    ASSERT_EQ(reports.size(), 17u);
    EXPECT_EQ(reports[16].stallCount, 10u);
    EXPECT_EQ(reports[16].bestFitness, 3.0);
    RunParameters& p = dc_.Parameters();
    EXPECT_EQ(p.winRateHistory.size(), 17u);
    EXPECT_EQ(p.caseCount, 199);
    EXPECT_EQ(p.bestChromosome.size(), 69u);
    EXPECT_EQ(dc_.Signals().size(), 300u);
    EXPECT_EQ(finished_, 1);
    EXPECT_EQ(replays_, 17);
    EXPECT_EQ(p.generating, 0);

    const std::vector<int16_t> first = p.bestChromosome;
    p.tradeLog = {{1100, 'B', 10.0f, 0.0f, 1.0f}};
    p.resultSaved = 1;
    bool checked = false;
    Evaluator look = [&](std::span<TraderIndividual* const> batch, const std::vector<TradingRecord>& records) {
        if (!checked) {
            EXPECT_TRUE(p.tradeLog.empty());
            EXPECT_TRUE(p.winRateHistory.empty());
            EXPECT_EQ(p.bestChromosome, first);
            EXPECT_EQ(p.resultSaved, 0);
            EXPECT_EQ(p.generating, 1);
            checked = true;
        }
        GEP::Algorithm<TraderIndividual>::evaluateByRecords(batch, records);
    };
    Breed(look);
    EXPECT_TRUE(checked);
}

TEST_F(GenerationRunTest, StopBeforeTheFirstGenerationLeavesNoResult) {
    RunParameters& p = dc_.Parameters();
    p.bestChromosome = {1, 2, 3};
    Evaluator stopAtOnce = [&p](std::span<TraderIndividual* const>, const std::vector<TradingRecord>&) {
        p.running = false;
    };
    EXPECT_TRUE(Breed(stopAtOnce).empty());
    EXPECT_TRUE(p.winRateHistory.empty());
    EXPECT_EQ(p.bestChromosome, (std::vector<int16_t>{1, 2, 3}));
    EXPECT_EQ(finished_, 1);
}

// A real run's trade log against its report, the seed repeating it with
// either evaluator, and the refusal of a range without cases: korvel-cli
// breed (strategy_cli_test.cpp).

}  // namespace
