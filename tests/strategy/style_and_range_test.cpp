// Style presets and the figures of the verification range the wizard draws.
#include <gtest/gtest.h>

#include "strategy/range_figures.h"
#include "strategy/strategy_style.h"

namespace {

// The verification range is checked through korvel-cli breed --days
// (strategy_cli_test.cpp).
TEST(StrategyStyle, ChoosingAStyleAgainChangesNothingAndChargesFallBack) {
    SettingsMap settings = {{"BUY_CHARGE", "0.0025"}, {"SELL_CHARGE", "0"}};
    RunParameters params;
    SetStrategyStyle(params, StrategyStyle::ShortTerm, settings);
    EXPECT_EQ(params.evoluteDays, 480);
    EXPECT_EQ(params.buyCharge, 0.0025f);
    EXPECT_EQ(params.sellCharge, 0.002f);  // zero takes the fallback

    settings["BUY_CHARGE"] = "0.01";
    params.evoluteDays = 5;
    SetStrategyStyle(params, StrategyStyle::ShortTerm, settings);
    EXPECT_EQ(params.buyCharge, 0.0025f);
    EXPECT_EQ(params.evoluteDays, 5);

    SetStrategyStyle(params, StrategyStyle::MediumTerm, settings);
    EXPECT_EQ(params.evoluteDays, 720);
    EXPECT_EQ(params.buyCharge, 0.01f);
}

TEST(StrategyStyle, CustomReadsTheSettingsWithItsOwnFallbacks) {
    const SettingsMap settings = {{"MIN_TRADE_NUMS", "3"}, {"MAX_TRADE_NUMS", "x"}, {"EVOLUTE_DAYS", "250"},
                                  {"MAX_TRADE_LOST", "-1"}};
    RunParameters params;
    SetStrategyStyle(params, StrategyStyle::Custom, settings);
    EXPECT_EQ(params.minTradeNums, 3);
    EXPECT_EQ(params.maxTradeNums, 20);
    EXPECT_EQ(params.evoluteSteps, 10);  // missing: 10, where start-up reads 50
    EXPECT_EQ(params.evoluteDays, 250);
    EXPECT_EQ(params.maxTradeLost, 0.1f);
    EXPECT_EQ(settings.size(), 4u);  // reading added nothing
}

// Days 2 to 5 of six: a buy at 10 on day 3 is open on day 3 (close 11), the
// sell at 12 on day 4 leaves 20 %, a buy after the range does not count.
TEST(RangeFigures, TheRangesBarsAndTheProfitCurveOfItsLog) {
    const std::vector<int32_t> dates = {1, 2, 3, 4, 5, 6};
    const std::vector<float> closes = {8, 10, 11, 12, 9, 10};
    const std::vector<TradeLogEntry> log = {{3, 'B', 10, 0, 1}, {4, 'S', 12, 0.2f, 1.2f}, {6, 'B', 10, 0, 1.2f}};
    const RangeFigures f = ComputeRangeFigures(dates, closes, 2, 5, log);
    EXPECT_EQ(f.dates, (std::vector<int32_t>{2, 3, 4, 5}));
    EXPECT_EQ(f.closes, (std::vector<float>{10, 11, 12, 9}));
    EXPECT_DOUBLE_EQ(f.rangeChange, -10.0);
    const std::vector<double> curve = {0.0, 0.1, 0.2, 0.2};
    ASSERT_EQ(f.accumulated.size(), curve.size());
    for (size_t i = 0; i < curve.size(); ++i) EXPECT_NEAR(f.accumulated[i], curve[i], 1e-6) << i;
    EXPECT_NEAR(f.accumulatedProfit, 20.0, 1e-4);
    EXPECT_NEAR(f.compoundProfit, 20.0, 1e-4);
    EXPECT_TRUE(ComputeRangeFigures(dates, closes, 2, 5, {}).accumulated.empty());
}

}  // namespace
