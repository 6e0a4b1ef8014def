#include "chart/simple_indicator.h"

#include <gtest/gtest.h>

#include <functional>

#include "daily_bars.h"
#include "reference_indicators.h"
#include "series_match.h"

namespace {

using S = CSimpleIndicator;

class SeriesFunctionsOnRealData : public ::testing::TestWithParam<const char*> {};

TEST_P(SeriesFunctionsOnRealData, MatchTheDefinitionsExactly) {
    const DailyBars bars = LoadDailyBars(GetParam());
    ASSERT_EQ(bars.size(), 1200u);
    for (const Series* x : {&bars.close, &bars.volume, &bars.high}) {
        for (const int p : {1, 2, 5, 9, 12, 14, 26, 30}) {
            SCOPED_TRACE("period " + std::to_string(p));
            EXPECT_TRUE(SameSeries(S::MA(*x, p), reference::MA(*x, p)));
            EXPECT_TRUE(SameSeries(S::EMA(*x, p), reference::EMA(*x, p)));
            EXPECT_TRUE(SameSeries(S::SMA(*x, p, 1), reference::SMA(*x, p, 1)));
            EXPECT_TRUE(SameSeries(S::HHV(*x, p), reference::HHV(*x, p)));
            EXPECT_TRUE(SameSeries(S::LLV(*x, p), reference::LLV(*x, p)));
            EXPECT_TRUE(SameSeries(S::AVEDEV(*x, p), reference::AVEDEV(*x, p)));
            EXPECT_TRUE(SameSeries(S::STD(*x, p), reference::STD(*x, p)));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Stocks, SeriesFunctionsOnRealData,
                         ::testing::Values("SS_000001", "SS_600519", "SZ_000002", "SZ_300059"));

// Warm-up: MA is 0 until its first full window, the recursions start from
// 0, AVEDEV and STD repeat their first full window backwards, HHV/LLV clip
// their windows at bar 0; a period longer than the series never fills.
TEST(SeriesFunctions, WarmUpAndPeriodsLongerThanTheSeries) {
    const Series x = {10.0f, 11.0f, 12.5f, 9.0f, 10.5f};
    const Series zeros(x.size(), 0.0f);
    EXPECT_EQ(S::MA(x, 5), (Series{0, 0, 0, 0, 10.6f}));
    EXPECT_EQ(S::EMA(x, 2)[0], static_cast<float>(2.0 * x[0] / 3));
    EXPECT_EQ(S::SMA(x, 3, 1)[0], static_cast<float>(x[0] / 3.0));
    for (const Series& spread : {S::AVEDEV(x, 3), S::STD(x, 3)}) {
        EXPECT_GT(spread[2], 0.0f);
        EXPECT_EQ(spread[0], spread[2]);
        EXPECT_EQ(spread[1], spread[2]);
    }
    for (const Series& never : {S::MA(x, 6), S::EMA(x, 6), S::SMA(x, 6, 1)}) EXPECT_EQ(never, zeros);
    for (const Series& copy : {S::AVEDEV(x, 6), S::STD(x, 6)}) EXPECT_EQ(copy, x);
    EXPECT_EQ(S::HHV(x, 6), (Series{10.0f, 11.0f, 12.5f, 12.5f, 12.5f}));
    EXPECT_EQ(S::LLV(x, 6), (Series{10.0f, 10.0f, 10.0f, 9.0f, 9.0f}));
    EXPECT_EQ(S::HHV(x, 2), (Series{10.0f, 11.0f, 12.5f, 12.5f, 10.5f}));
    EXPECT_EQ(S::LLV(x, 2), (Series{10.0f, 10.0f, 11.0f, 9.0f, 9.0f}));
}

// Empty input gives empty output; period 0 has no window at all: zeros,
// never a division by zero.
TEST(SeriesFunctions, EmptyInputAndPeriodZero) {
    const std::function<Series(const Series&, int)> functions[] = {
        S::MA, S::EMA, [](const Series& x, int p) { return S::SMA(x, p, 1); }, S::HHV, S::LLV, S::AVEDEV, S::STD};
    for (const auto& f : functions) {
        for (const int p : {0, 1, 5}) EXPECT_TRUE(f({}, p).empty());
        EXPECT_EQ(f({1.0f, 2.0f, 3.0f}, 0), Series(3, 0.0f));
    }
}

}  // namespace
