// Fitness cases of a date range, and the per-bar signals of a stored
// strategy over the current stock.
#include <gtest/gtest.h>

#include "strategy/fitness_cases.h"
#include "strategy/strategy_signals.h"
#include "strategy_fixture.h"

namespace {

using strategy_test::InsertBars;
using strategy_test::Store;
using strategy_test::ThreeGenes;

TEST(FitnessCases, OneCasePerBarBeforeTheEndDateWithTheNextBarsOpen) {
    const std::vector<int32_t> dates = {101, 102, 103, 104, 105, 106};
    const std::vector<float> open = {1, 2, 3, 4, 5, 6};
    std::vector<std::vector<float>> conditions(21, std::vector<float>(6, 0.0f));
    conditions[20] = {0, 1, 0, 1, 1, 0};

    const std::vector<TradingRecord> cases = BuildFitnessCases(dates, open, conditions, 102, 105);
    ASSERT_EQ(cases.size(), 3u);  // bars 1, 2, 3; bar 4 at the end date only closes
    EXPECT_EQ(cases[0].inputs[20], 1.0);
    EXPECT_EQ(cases[0].date, 103);
    EXPECT_EQ(cases[0].price, 3.0f);
    EXPECT_EQ(cases[0].last, 0);
    EXPECT_EQ(cases[2].last, 1);

    // Dates between bars start at the next bar; an end after the newest bar
    // ends at the newest, whose open closes the last trade.
    const std::vector<TradingRecord> late = BuildFitnessCases(dates, open, conditions, 101, 999);
    ASSERT_EQ(late.size(), 5u);
    EXPECT_EQ(late.back().price, 6.0f);
    EXPECT_EQ(late.back().last, 1);

    EXPECT_TRUE(BuildFitnessCases(dates, open, conditions, 106, 106).empty());  // the empty test range
    EXPECT_TRUE(BuildFitnessCases({}, {}, {}, 101, 105).empty());
}

class SignalsTest : public strategy_test::EngineTest {};

// The signals of a real strategy replay its stored trade log in strategy_cli_test.cpp.
TEST_F(SignalsTest, NoUsableStrategyLeavesTheSignals) {
    Store store;
    InsertBars(store.db(), "SS", "600000", 1000, 40);
    CDataCenter dc(store.db());
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));
    dc.Signals() = {7, 7};
    for (const std::vector<int16_t>& symbols :
         {std::vector<int16_t>{}, std::vector<int16_t>(68, 1), ThreeGenes({22}), ThreeGenes({-3})}) {
        dc.Parameters().bestChromosome = symbols;
        EXPECT_FALSE(ComputeStrategySignals(dc));
        EXPECT_EQ(dc.Signals(), (std::vector<int32_t>{7, 7}));
    }
}

}  // namespace
