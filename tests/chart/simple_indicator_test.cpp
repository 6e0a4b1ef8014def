#include "chart/simple_indicator.h"

#include <gtest/gtest.h>

#include <cmath>

#include "daily_bars.h"
#include "reference_indicators.h"
#include "series_match.h"

namespace {

using S = CSimpleIndicator;

const int kPeriods[] = {1, 2, 5, 9, 12, 14, 26, 30};

class SeriesFunctionsOnRealData : public ::testing::TestWithParam<const char*> {};

TEST_P(SeriesFunctionsOnRealData, MatchTheDefinitionsExactly) {
    const DailyBars bars = LoadDailyBars(GetParam());
    ASSERT_EQ(bars.size(), 1200u);
    for (const Series* x : {&bars.close, &bars.volume, &bars.high}) {
        for (const int p : kPeriods) {
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

TEST(SeriesFunctions, MaRunningSumDriftsFromTheWindowMean) {
    // Index volumes are large enough that single-precision sums lose digits.
    const DailyBars bars = LoadDailyBars("SS_000001");
    for (const int p : {5, 10, 20}) {
        const Series running = S::MA(bars.volume, p);
        const Series window = reference::WindowMean(bars.volume, p);
        size_t drifting = 0;
        for (size_t i = p - 1; i < bars.size(); ++i) {
            if (running[i] != window[i]) ++drifting;
            EXPECT_NEAR(running[i], window[i], 1e-4 * window[i]) << "bar " << i;
        }
        EXPECT_GT(drifting, 0u) << "period " << p;
        // The first full window is the one bar that has no drift to carry.
        EXPECT_FLOAT_EQ(running[p - 1], window[p - 1]);
    }
}

TEST(SeriesFunctions, WarmUpBars) {
    const Series x = LoadDailyBars("SS_600519", 60).close;
    const int p = 26;
    const Series ma = S::MA(x, p);
    for (int i = 0; i < p - 1; ++i) EXPECT_EQ(ma[i], 0.0f) << i;
    EXPECT_GT(ma[p - 1], 0.0f);

    // The recursions start from 0, not from the first value.
    EXPECT_EQ(S::EMA(x, 12)[0], static_cast<float>(2.0 * x[0] / 13));
    EXPECT_EQ(S::SMA(x, 3, 1)[0], static_cast<float>(x[0] / 3.0));

    // AVEDEV and STD repeat their first full window backwards.
    for (const Series& spread : {S::AVEDEV(x, p), S::STD(x, p)}) {
        EXPECT_GT(spread[p - 1], 0.0f);
        for (int i = 0; i < p - 1; ++i) EXPECT_EQ(spread[i], spread[p - 1]) << i;
    }
}

TEST(SeriesFunctions, PeriodLongerThanTheSeries) {
    const Series x = {10.0f, 11.0f, 12.5f, 9.0f, 10.5f};
    const Series zeros(x.size(), 0.0f);
    EXPECT_EQ(S::MA(x, 6), zeros);
    EXPECT_EQ(S::EMA(x, 6), zeros);
    EXPECT_EQ(S::SMA(x, 6, 1), zeros);
    EXPECT_EQ(S::AVEDEV(x, 6), x);
    EXPECT_EQ(S::STD(x, 6), x);
    // HHV/LLV just clip: every window starts at bar 0.
    EXPECT_EQ(S::HHV(x, 6), (Series{10.0f, 11.0f, 12.5f, 12.5f, 12.5f}));
    EXPECT_EQ(S::LLV(x, 6), (Series{10.0f, 10.0f, 10.0f, 9.0f, 9.0f}));

    // A period equal to the length fits exactly once.
    EXPECT_EQ(S::MA(x, 5), (Series{0, 0, 0, 0, 10.6f}));
    EXPECT_NE(S::EMA(x, 5), zeros);
}

TEST(SeriesFunctions, HhvLlvWindowsAreClippedAtBarZero) {
    const Series x = {7.0f, 2.0f, 5.0f, 3.0f, 4.0f, 6.0f, 1.0f, 3.5f, 2.5f, 4.5f, 3.0f, 2.8f};
    const Series hhv = S::HHV(x, 9);
    const Series llv = S::LLV(x, 9);
    EXPECT_EQ(hhv[0], 7.0f);
    EXPECT_EQ(hhv[3], 7.0f);  // bars 0..3
    EXPECT_EQ(llv[0], 7.0f);
    EXPECT_EQ(llv[3], 2.0f);
    EXPECT_EQ(hhv[8], 7.0f);  // bars 0..8, the last window holding bar 0
    EXPECT_EQ(hhv[9], 6.0f);  // bars 1..9
    EXPECT_EQ(llv[11], 1.0f);
}

TEST(SeriesFunctions, EmptyInputAndPeriodZero) {
    const Series empty;
    for (const int p : {0, 1, 5}) {
        EXPECT_TRUE(S::MA(empty, p).empty());
        EXPECT_TRUE(S::EMA(empty, p).empty());
        EXPECT_TRUE(S::SMA(empty, p, 1).empty());
        EXPECT_TRUE(S::HHV(empty, p).empty());
        EXPECT_TRUE(S::LLV(empty, p).empty());
        EXPECT_TRUE(S::AVEDEV(empty, p).empty());
        EXPECT_TRUE(S::STD(empty, p).empty());
    }
    // Period 0 has no window at all: zeros, never a division by zero.
    const Series x = {1.0f, 2.0f, 3.0f};
    const Series zeros(3, 0.0f);
    for (const Series& y : {S::MA(x, 0), S::EMA(x, 0), S::SMA(x, 0, 1), S::HHV(x, 0), S::LLV(x, 0),
                            S::AVEDEV(x, 0), S::STD(x, 0)}) {
        EXPECT_EQ(y, zeros);
    }
}

TEST(SeriesFunctions, StdIsThePopulationDeviation) {
    const Series x = {2, 4, 4, 4, 5, 5, 7, 9};
    EXPECT_EQ(S::STD(x, 8)[7], 2.0f);
    EXPECT_EQ(S::AVEDEV(x, 8)[7], 1.5f);
}

}  // namespace
