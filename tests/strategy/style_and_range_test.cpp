// Style presets and the verification range.
#include <gtest/gtest.h>

#include "strategy/strategy_style.h"
#include "strategy/time_range.h"

namespace {

std::vector<int32_t> Dates(int count) {
    std::vector<int32_t> dates;
    for (int i = 0; i < count; ++i) dates.push_back(20000000 + i);
    return dates;
}

TEST(VerificationRange, TheNewestDaysOrTheWholeHistory) {
    RunParameters params;
    params.evoluteDays = 960;
    ASSERT_TRUE(ComputeVerificationRange(params, Dates(300)));
    EXPECT_EQ(params.rangeBegin, 20000000);
    EXPECT_EQ(params.rangeEnd, 20000299);

    params.evoluteDays = 480;
    ASSERT_TRUE(ComputeVerificationRange(params, Dates(1200)));
    EXPECT_EQ(params.rangeBegin, 20000720);
    EXPECT_EQ(params.rangeEnd, 20001199);
    EXPECT_FALSE(ComputeVerificationRange(params, {}));
    EXPECT_EQ(params.rangeBegin, 20000720);
}

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
