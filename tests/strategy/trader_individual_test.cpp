// The trader individual's fitness band and recorded totals, driven by
// formulas whose signal is a scripted input. The timing and return of each
// trade are replayed independently by strategy_cli_test.cpp (the held-out days
// and the per-bar signals of a real run).
#include <gtest/gtest.h>

#include "gep/algorithm.h"
#include "strategy/trader_individual.h"
#include "strategy/trading_engine.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::SetRules;
using strategy_test::Trader;
using Record = TraderIndividual::Record;

// Gene roots: "a" (signal = condition 0), "a | ~a" (always 1), "a & ~a" (always 0).
const std::vector<int16_t> kFollowA = {1};
const std::vector<int16_t> kAlways1 = {-2, 1, 0, 1};
const std::vector<int16_t> kAlways0 = {-1, 1, 0, 1};

// Case k: condition 0 = signals[k], acted on at prices[k] on date 20200101 + k.
std::vector<Record> Cases(const std::vector<int>& signals, const std::vector<float>& prices) {
    std::vector<Record> cases;
    for (size_t k = 0; k < signals.size(); ++k) {
        Record r;
        r.inputs.assign(21, 0.0);
        r.inputs[0] = signals[k];
        r.date = 20200101 + static_cast<int32_t>(k);
        r.price = prices[k];
        r.last = k + 1 == signals.size() ? 1 : 0;
        cases.push_back(r);
    }
    return cases;
}

class TraderTest : public strategy_test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetUpTradingEngine();
    }

    // One evaluation pass as the engine runs it.
    static double Fitness(TraderIndividual& trader, const std::vector<Record>& cases) {
        TraderIndividual* batch[] = {&trader};
        GEP::Algorithm<TraderIndividual>::evaluateByRecords(batch, cases);
        return trader.fitness();
    }
};

TEST_F(TraderTest, AlwaysHoldingMakesOneTradeThatTheBandDecidesNeverHoldingNone) {
    std::vector<float> prices(20, 10.0f);
    prices.back() = 12.0f;
    const std::vector<Record> cases = Cases(std::vector<int>(20, 0), prices);
    TraderIndividual trader = Trader(kAlways1);

    // 20 cases: one trade is 12 per 240, inside 10..20.
    SetRules(0.001f, 0.002f, 10, 20, cases.size());
    const double q = (12.0 - 10.0 * (1.0 + double{0.001f})) / (10.0 * (1.0 + double{0.001f})) - double{0.002f};
    EXPECT_DOUBLE_EQ(Fitness(trader, cases), 1.0 + q);

    // The default range's 959 cases: 0.25 trades per 240, below the band.
    SetRules(0.001f, 0.002f, 10, 20, 959);
    EXPECT_EQ(Fitness(trader, cases), 0.0);

    // Never holding: no trade, fitness 0 unless the band allows no trades.
    TraderIndividual never = Trader(kAlways0);
    SetRules(0.001f, 0.002f, 10, 20, cases.size());
    EXPECT_EQ(Fitness(never, cases), 0.0);
    SetRules(0.001f, 0.002f, 0, 20, cases.size());
    EXPECT_EQ(Fitness(never, cases), 1.0);
}

TEST_F(TraderTest, RecordedTotalsAddWhileTheFitnessCompounds) {
    const std::vector<Record> cases = Cases({1, 0, 1, 0, 0}, {10, 11, 10, 9, 9});
    SetRules(0.0f, 0.0f, 1, 1000, cases.size());
    TraderIndividual trader = Trader(kFollowA);
    const double fitness = Fitness(trader, cases);
    EXPECT_DOUBLE_EQ(fitness, 1.1 * 0.9);

    RunParameters params;
    params.tradeLog.push_back({1, 'S', 1, 1, 1});  // replaced by the replay
    ReplayBest(trader, cases, params);
    ASSERT_EQ(params.tradeLog.size(), 4u);
    const std::vector<TradeLogEntry>& log = params.tradeLog;
    EXPECT_EQ(log[0].kind, 'B');
    EXPECT_EQ(log[0].total, 1.0f);
    EXPECT_FLOAT_EQ(log[1].total, 1.1f);
    EXPECT_FLOAT_EQ(log[3].profit, -0.1f);
    EXPECT_FLOAT_EQ(log[3].total, log[1].total + log[3].profit);
    EXPECT_EQ(params.winRateHistory, std::vector<float>{0.5f});
    // The replay does not touch the fitness the pass gave.
    EXPECT_EQ(trader.fitness(), fitness);
}

}  // namespace
