// Style presets.
#include <gtest/gtest.h>

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

}  // namespace
