// Whole generation runs with the same seed breed the same with either
// evaluation: every progress report, the win-rate history, the trade log,
// the strategy and its per-bar signals.
#include <gtest/gtest.h>

#include "equivalence_fixture.h"
#include "strategy/generation_run.h"
#include "strategy/time_range.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::Bits;

struct RunResult {
    std::vector<GenerationProgress> reports;
    std::vector<float> winRateHistory;
    std::vector<TradeLogEntry> tradeLog;
    std::vector<int16_t> bestChromosome;
    uint32_t generation = 0;
    std::vector<int32_t> signals;
};

class RunEquivalenceTest : public strategy_test::EngineTest {
protected:
    RunResult Breed(CDataCenter& dc, TraderEvaluation evaluation, uint32_t seed) {
        GEP::resetRandomSources();
        GEP::setClockSeedOverride(seed);
        RunResult result;
        GenerationHooks hooks;
        hooks.evaluation = evaluation;
        hooks.progress = [&](const GenerationProgress& g) { result.reports.push_back(g); };
        std::unique_ptr<GenerationRun> run = GenerationRun::Start(dc, std::move(hooks), {});
        EXPECT_TRUE(run);
        if (run) run->Wait();
        const RunParameters& p = dc.Parameters();
        result.winRateHistory = p.winRateHistory;
        result.tradeLog = p.tradeLog;
        result.bestChromosome = p.bestChromosome;
        result.generation = p.generation;
        result.signals = dc.Signals();
        return result;
    }

    void ExpectSameRuns(CDataCenter& dc, uint32_t seed) {
        const RunResult fast = Breed(dc, TraderEvaluation::kFast, seed);
        const RunResult reference = Breed(dc, TraderEvaluation::kReference, seed);
        ASSERT_FALSE(reference.reports.empty());
        ASSERT_EQ(fast.reports.size(), reference.reports.size());
        for (size_t i = 0; i < fast.reports.size(); ++i) {
            const GenerationProgress& f = fast.reports[i];
            const GenerationProgress& r = reference.reports[i];
            EXPECT_EQ(f.generations, r.generations);
            EXPECT_EQ(f.stallCount, r.stallCount) << "generation " << i + 1;
            EXPECT_EQ(Bits(f.bestFitness), Bits(r.bestFitness)) << "generation " << i + 1;
            EXPECT_EQ(Bits(f.winRatio), Bits(r.winRatio)) << "generation " << i + 1;
        }
        const RunResult& fp = fast;
        const RunResult& rp = reference;
        ASSERT_EQ(fp.winRateHistory.size(), rp.winRateHistory.size());
        for (size_t i = 0; i < fp.winRateHistory.size(); ++i)
            EXPECT_EQ(Bits(fp.winRateHistory[i]), Bits(rp.winRateHistory[i])) << i;
        strategy_test::ExpectSameLog(fp.tradeLog, rp.tradeLog, "final trade log");
        EXPECT_FALSE(rp.tradeLog.empty());
        EXPECT_EQ(fp.bestChromosome, rp.bestChromosome);
        EXPECT_EQ(fp.generation, rp.generation);
        EXPECT_EQ(fast.signals, reference.signals);
    }
};

TEST_F(RunEquivalenceTest, RealStockWithTheDefaultBandAndAWideOne) {
    strategy_test::Store store;
    strategy_test::ImportPufa(store.db());
    CDataCenter dc(store.db());
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));
    RunParameters& p = dc.Parameters();
    p.evoluteDays = 480;
    p.evoluteSteps = 15;
    ASSERT_TRUE(ComputeVerificationRange(p, dc.Dates()));
    ExpectSameRuns(dc, 7);
    p.minTradeNums = 1;
    p.maxTradeNums = 250;
    p.buyCharge = 0.0f;
    ExpectSameRuns(dc, 8);
}

TEST_F(RunEquivalenceTest, SyntheticStockOfFewBars) {
    strategy_test::Store store;
    strategy_test::InsertBars(store.db(), "SS", "600001", 1000, 40);
    CDataCenter dc(store.db());
    ASSERT_TRUE(dc.LoadStock("600001", "SS"));
    RunParameters& p = dc.Parameters();
    p.evoluteSteps = 10;
    p.minTradeNums = 1;
    p.maxTradeNums = 250;
    ASSERT_TRUE(ComputeVerificationRange(p, dc.Dates()));
    ExpectSameRuns(dc, 3);
}

}  // namespace
