#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "chart/indicators.h"
#include "daily_bars.h"
#include "reference_generators.h"
#include "series_match.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

// The reference output of the generator with this key, for these params.
reference::Output Expected(const std::string& key, const Series& params, const DailyBars& bars) {
    if (key == "MA") return reference::Ma(params, bars.close);
    if (key == "VOL") return reference::Vol(params, bars.volume);
    if (key == "MACD") return reference::Macd(params, bars.close);
    if (key == "KDJ") return reference::Kdj(params, bars.close, bars.high, bars.low);
    if (key == "CCI") return reference::Cci(params, bars.close, bars.high, bars.low);
    if (key == "RSI") return reference::Rsi(params, bars.close);
    return reference::Boll(params, bars.close);
}

::testing::AssertionResult MatchesReference(CIndicatorDataGenerator& generator, const DailyBars& bars) {
    generator.Generate(bars.Input());
    const reference::Output expected = Expected(generator.GetName(), generator.params, bars);
    const auto lines = std::tuple{&generator.lines, &expected.lines, " line "};
    const auto conditions = std::tuple{&generator.conditions, &expected.conditions, " condition "};
    for (const auto& [actual, wanted, what] : {lines, conditions}) {
        if (actual->size() != wanted->size()) {
            return ::testing::AssertionFailure() << generator.GetName() << ": how many" << what << "series";
        }
        for (size_t k = 0; k < wanted->size(); ++k) {
            if (auto same = SameSeries((*actual)[k], (*wanted)[k]); !same) {
                return same << " (" << generator.GetName() << what << k << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// One generator of the given class with the given params.
template <typename Generator>
Generator Make(Series params) {
    Generator generator;
    generator.params = std::move(params);
    return generator;
}

class GeneratorsOnRealData : public ::testing::TestWithParam<const char*> {};

TEST_P(GeneratorsOnRealData, MatchTheDefinitionsExactly) {
    const DailyBars bars = LoadDailyBars(GetParam());
    std::string order;
    for (const auto& generator : CreateIndicatorGenerators()) {
        EXPECT_TRUE(MatchesReference(*generator, bars));
        order += std::string(generator->GetName()) + ::testing::PrintToString(generator->params) + " ";
    }
    // Stored strategies name the 21 conditions by position: this order, these periods.
    EXPECT_EQ(order, "MA{ 5, 10, 30 } VOL{ 5, 10, 20 } MACD{ 12, 26, 9 } KDJ{ 9, 3, 3 } CCI{ 14 } "
                     "RSI{ 6, 12, 24 } BOLL{ 26, 2 } ");
}

INSTANTIATE_TEST_SUITE_P(Stocks, GeneratorsOnRealData,
                         ::testing::Values("SS_000001", "SS_600000", "SS_600519", "SZ_000002", "SZ_002415",
                                           "SZ_300059"));

// A flat window has MD = 0: TP - M exactly 0 gives NaN (all conditions 0),
// anything else an infinity. Flat from bar 0 the running sum is exact;
// after real prices it drifts away from the flat price. Both must occur.
TEST(Cci, FlatTypicalPricesGiveNaNOrInfinity) {
    const Series history = LoadDailyBars("SS_600030", 30).close;
    size_t nan_bars = 0, infinite_bars = 0;
    for (const size_t prefix : {size_t{0}, history.size()}) {
        for (const float price : {10.0f, 0.1f, 3.7f}) {
            Series close(history.begin(), history.begin() + prefix);
            close.resize(90, price);
            auto cci = Make<CCciDataGenerator>({14});
            EXPECT_TRUE(MatchesReference(cci, FlatBars(close)));
            for (size_t i = prefix + 13; i < close.size(); ++i) {
                nan_bars += std::isnan(cci.lines[0][i]);
                infinite_bars += std::isinf(cci.lines[0][i]);
            }
        }
    }
    EXPECT_GT(nan_bars, 0u);
    EXPECT_GT(infinite_bars, 0u);
}

// Forward adjustment can push the oldest closes to 0 or below; bar 0 still
// takes UP = ABS = CLOSE[0] / 10 as it is, neither clamped nor made positive.
TEST(Rsi, NonPositiveFirstCloseIsTakenAsItIs) {
    auto rsi = Make<CRsiDataGenerator>({2, 2, 2});
    EXPECT_TRUE(MatchesReference(rsi, FlatBars({-2.0f, -1.0f, -1.5f})));
    // UP = ABS = -0.2, then a rise of 1 (both 1), then a fall of 0.5:
    // SMA(UP) = 0.225 against SMA(ABS) = 0.475.
    EXPECT_EQ(rsi.lines[0][0], 100.0f);
    EXPECT_EQ(rsi.lines[0][1], 100.0f);
    EXPECT_NEAR(rsi.lines[0][2], 900.0 / 19, 1e-4);
}

// Bounds given as <= or >= hold on equality; the others are strict.
TEST(Boundaries, EqualValuesAgainstStrictAndInclusiveComparisons) {
    // Flat at 10 from bar 0: every average is exactly 10, deviations are 0
    // and K = D = J = 0.
    // MA, VOL and BOLL conditions are strict (0); KDJ's J <= 10, J < 100, K >= D hold (1).
    const DailyBars flat = FlatBars(Series(60, 10.0f));
    const auto generators = CreateIndicatorGenerators();
    for (const size_t g : {0, 1, 3, 6}) {
        EXPECT_TRUE(MatchesReference(*generators[g], flat));
        for (const Series& c : generators[g]->conditions)
            EXPECT_EQ(Series(c.begin() + 29, c.end()), Series(31, g == 3 ? 1.0f : 0.0f)) << generators[g]->GetName();
    }
    EXPECT_EQ(generators[0]->lines[2][59], 10.0f);
    EXPECT_EQ(generators[6]->lines[0][59], 10.0f);

    // KDJ with K = RSV (period 1) and D = K/2 + D[i-1]/2: closes between a
    // low of 0 and a high of 100 set RSV, so J and D land exactly on the bounds.
    struct KdjCase {
        Series rsv, d, j, condition0, condition1;
    };
    const KdjCase cases[] = {
        {{60, 20}, {30, 25}, {100, 10}, {0, 1}, {0, 1}},   // J = 10
        {{40, 40}, {20, 30}, {80, 60}, {1, 0}, {1, 1}},    // D = 20
        {{160, 80}, {80, 80}, {100, 80}, {0, 0}, {0, 0}},  // D = 80 (RSV over 100: close above the high)
        {{40, 60}, {20, 40}, {80, 100}, {1, 0}, {1, 0}},   // J = 100 unclamped
        {{300, 120}, {100, 100}, {100, 90}, {0, 0}, {0, 0}},  // K, D over 100: J from them, not 100
    };
    for (const KdjCase& c : cases) {
        DailyBars bars = FlatBars(c.rsv);
        bars.high.assign(c.rsv.size(), 100.0f);
        bars.low.assign(c.rsv.size(), 0.0f);
        auto kdj2 = Make<CKdjDataGenerator>({1, 1, 2});
        kdj2.Generate(bars.Input());
        ASSERT_EQ(kdj2.lines[1], c.d);
        ASSERT_EQ(kdj2.lines[2], c.j);
        EXPECT_EQ(kdj2.conditions[0], c.condition0) << "J <= 10 or D <= 20";
        EXPECT_EQ(kdj2.conditions[1], c.condition1) << "J < 100 and D < 80";
    }

    // RSI with periods of 2 over closes 10, 8, 11.75 is exactly 100, 20, 80.
    auto rsi = Make<CRsiDataGenerator>({2, 2, 2});
    rsi.Generate(FlatBars({10.0f, 8.0f, 11.75f}).Input());
    ASSERT_EQ(rsi.lines[0], (Series{100, 20, 80}));
    EXPECT_EQ(rsi.conditions[0], (Series{0, 0, 0}));  // equal lines are not greater
    EXPECT_EQ(rsi.conditions[2], (Series{0, 1, 1}));  // 20 <= RSI1 <= 80
}

// Each generator advances its recurrences (three MAs, two or three EMAs,
// K and D, six SMAs) together in one loop and overwrites its previous
// outputs in place. Whatever the periods (in any order, equal, 1, longer
// than the series, 0 where a period may be 0) and values (infinities, NaN,
// sums that overflow, subnormals), every line must still equal the
// reference that computes each series on its own (so a NaN bar gives zero
// conditions, as comparisons with NaN fail), and a generator reused across
// lengths must leave nothing of a longer earlier run behind.
TEST(Generators, InterleavedRecurrencesMatchSeparateOnesOnAdversarialInput) {
    const DailyBars real = LoadDailyBars("SZ_300059", 300);
    const DailyBars wild = [&real] {
        DailyBars bars = real;
        const float inf = std::numeric_limits<float>::infinity();
        bars.close[40] = inf;
        bars.high[41] = inf;
        bars.low[90] = -inf;
        bars.close[120] = bars.high[120] = bars.low[120] = bars.volume[120] = kNaN;  // no price at all
        bars.close[150] = kNaN;
        bars.volume[60] = bars.volume[61] = 3e38f;  // their float sum overflows
        bars.volume[200] = 1e-40f;
        bars.close[201] = 1e-40f;
        bars.close[202] = -bars.close[202];
        return bars;
    }();
    const auto prefix = [](const DailyBars& bars, size_t n) {
        const auto head = [n](const Series& s) { return Series(s.begin(), s.begin() + n); };
        return DailyBars{head(bars.close), head(bars.high), head(bars.low), head(bars.volume)};
    };

    struct Case {
        std::unique_ptr<CIndicatorDataGenerator> generator;
        std::vector<Series> params;
    };
    const std::vector<Series> threePeriods = {{30, 5, 10}, {10, 10, 10}, {0, 1, 301}, {300, 299, 2}, {1, 0.5f, 400}};
    std::vector<Case> cases;
    cases.push_back({std::make_unique<CMaDataGenerator>(), threePeriods});
    cases.push_back({std::make_unique<CVolDataGenerator>(), threePeriods});
    cases.push_back({std::make_unique<CMacdDataGenerator>(), threePeriods});
    cases.push_back({std::make_unique<CRsiDataGenerator>(), threePeriods});
    cases.push_back({std::make_unique<CKdjDataGenerator>(),
                     {{1, 1, 1}, {300, 2, 1}, {9, 301, 3}, {9, 3, 301}, {9, 0, 3}, {301, 3, 3}}});
    cases.push_back({std::make_unique<CCciDataGenerator>(), {{1}, {2}, {297}, {298}, {300}, {301}}});
    cases.push_back({std::make_unique<CBollDataGenerator>(), {{1, 2}, {5, -1.5f}, {20.7f, 2.5f}, {297, 2}, {300, 2}, {301, 2}}});

    for (Case& c : cases) {
        for (const Series& params : c.params) {
            c.generator->params = params;
            for (const DailyBars* bars : {&real, &wild}) {
                for (const size_t n : {size_t{300}, size_t{3}, size_t{298}, size_t{0}, size_t{1}, size_t{300}}) {
                    EXPECT_TRUE(MatchesReference(*c.generator, prefix(*bars, n)))
                        << c.generator->GetName() << " params " << ::testing::PrintToString(params) << " n " << n
                        << (bars == &wild ? " wild" : " real");
                }
            }
        }
    }
}

// Vendors record days whose prices are out of order, and the importers keep
// them: no generator may turn one into a NaN or an infinity.
TEST(OutOfOrderBars, GiveFiniteLines) {
    DailyBars bars = LoadDailyBars("SZ_000001", 200);
    bars.high[100] = bars.close[100] * 0.9f;   // high below close
    bars.low[101] = bars.close[101] * 1.1f;    // low above close
    std::swap(bars.high[102], bars.low[102]);  // high below low
    for (const auto& generator : CreateIndicatorGenerators()) {
        EXPECT_TRUE(MatchesReference(*generator, bars));
        for (const Series& line : generator->lines) {
            for (size_t i = 100; i < 130; ++i) EXPECT_TRUE(std::isfinite(line[i])) << generator->GetName() << i;
        }
    }
}

}  // namespace
