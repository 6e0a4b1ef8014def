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
        EXPECT_FALSE(reference.tradeLog.empty());
        const auto bits = [](const RunResult& r) {
            std::vector<uint64_t> b = strategy_test::LogBits(r.tradeLog);
            for (const GenerationProgress& g : r.reports)
                b.insert(b.end(), {g.generations, g.stallCount, Bits(g.bestFitness), Bits(g.winRatio)});
            for (const float w : r.winRateHistory) b.push_back(Bits(w));
            for (const int16_t s : r.bestChromosome) b.push_back(uint64_t(s));
            for (const int32_t s : r.signals) b.push_back(uint64_t(s));
            b.push_back(r.generation);
            return b;
        };
        EXPECT_EQ(bits(fast), bits(reference));
    }
};

// The real history with the default band: korvel-cli breed --evaluator reference
// (strategy_cli_test.cpp); the bands on real stocks: fast_evaluator_test.cpp.
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
