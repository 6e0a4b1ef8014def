#include <gtest/gtest.h>

#include "datastore/price_adjustment.h"
#include "store_fixture.h"

namespace {

// Four bars with equal fields, so one expectation covers every price.
struct Bars {
    std::vector<int32_t> dates;
    PriceSeries series;

    Bars(std::vector<int32_t> d, std::vector<float> prices, std::vector<float> volumes) : dates(std::move(d)) {
        series = {prices, prices, prices, prices, std::move(volumes)};
    }
    void ExpectPrices(const std::vector<float>& expected) const {
        for (const std::vector<float>* s : {&series.open, &series.high, &series.low, &series.close})
            EXPECT_EQ(*s, expected);
    }
};

DividendRecord Record(int32_t date, float bonus, float conversion, float cash, float rights, float rightsPrice) {
    return {date, bonus, conversion, cash, rights, rightsPrice};
}

TEST(AdjustPrices, WorkedExampleTenBonusSharesAndCash) {
    Bars bars({20200101, 20200102, 20200103}, {20.20f, 20.20f, 10.0f}, {1000, 1000, 2000});
    AdjustPrices(bars.dates, {Record(20200103, 10, 0, 2, 0, 0)}, bars.series);
    bars.ExpectPrices({10.0f, 10.0f, 10.0f});
    EXPECT_EQ(bars.series.volume, (std::vector<float>{2000, 2000, 2000}));
}

TEST(AdjustPrices, ChangesOnlyBarsBeforeTheDayAndNeverTheNewest) {
    const Bars raw({20200101, 20200102, 20200103, 20200104}, {10, 11, 12, 13}, {100, 100, 100, 100});
    const DividendRecord cash = Record(0, 0, 0, 10, 0, 0);  // 1.00 per share

    Bars before = raw;
    AdjustPrices(before.dates, {Record(20200101, 0, 0, 10, 0, 0), Record(19991231, 0, 0, 10, 0, 0)}, before.series);
    before.ExpectPrices({10, 11, 12, 13});

    Bars onDay = raw;
    DividendRecord r = cash;
    r.date = 20200103;
    AdjustPrices(onDay.dates, {r}, onDay.series);
    onDay.ExpectPrices({9, 10, 12, 13});  // the ex-right bar itself keeps its raw values

    Bars after = raw;
    r.date = 20991231;
    AdjustPrices(after.dates, {r}, after.series);
    after.ExpectPrices({9, 10, 11, 13});
    // A pure cash dividend leaves volumes alone.
    EXPECT_EQ(after.series.volume, raw.series.volume);
}

TEST(AdjustPrices, RowsApplyOldestFirstAndCumulatively) {
    Bars bars({20200101, 20200102, 20200103, 20200104}, {21, 21, 11, 11}, {100, 100, 100, 100});
    // Cash 1.00 on the 3rd, then 10-for-10 bonus shares on the 4th.
    AdjustPrices(bars.dates, {Record(20200103, 0, 0, 10, 0, 0), Record(20200104, 10, 0, 0, 0, 0)}, bars.series);
    // Bars before both: (21 - 1) / 2; the bar between them: 11 / 2.
    bars.ExpectPrices({10, 10, 5.5f, 11});
    EXPECT_EQ(bars.series.volume, (std::vector<float>{200, 200, 200, 100}));
}

TEST(AdjustPrices, RightsIssueAndConversion) {
    Bars bars({20200101, 20200102}, {13.0f, 12.0f}, {1000, 1000});
    // 3 rights shares at 5.00 and 2 converted shares per 10: (13 + 1.5) / 1.5.
    AdjustPrices(bars.dates, {Record(20200102, 0, 2, 0, 3, 5)}, bars.series);
    bars.ExpectPrices({static_cast<float>(14.5 / 1.5), 12.0f});
    EXPECT_EQ(bars.series.volume, (std::vector<float>{1500, 1000}));
}

// Computed in double and rounded once: these inputs give a different float
// when the formula is evaluated in single precision.
TEST(AdjustPrices, RoundsOnceFromDoublePrecision) {
    Bars bars({20200101, 20200102}, {1.15f, 1.0f}, {1000.5f, 1.0f});
    AdjustPrices(bars.dates, {Record(20200102, 3, 0, 1.1f, 0, 0)}, bars.series);
    EXPECT_EQ(bars.series.close[0], 0.799999952f);
    EXPECT_EQ(bars.series.volume[0], 1300.65002f);
}

TEST(AdjustPrices, NothingToAdjust) {
    Bars one({20200101}, {10}, {100});
    AdjustPrices(one.dates, {Record(20991231, 10, 0, 0, 0, 0)}, one.series);
    one.ExpectPrices({10});
}

TEST(LoadDividends, ReadsTheStocksRowsOldestFirst) {
    store_fixture::Store store;
    store_fixture::InsertDividend(store.db(), "SS", "600000", 20030623, 0, 0, 1, 0, 0);
    store_fixture::InsertDividend(store.db(), "SS", "600000", 20020822, 5, 0, 2, 0, 0);
    store_fixture::InsertDividend(store.db(), "SZ", "600000", 20010101, 1, 1, 1, 1, 1);
    const std::vector<DividendRecord> records = LoadDividends(store.db(), "SS", "600000");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].date, 20020822);
    EXPECT_EQ(records[0].bonus, 5.0f);
    EXPECT_EQ(records[1].date, 20030623);
}

}  // namespace
