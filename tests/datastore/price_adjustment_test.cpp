#include <gtest/gtest.h>

#include "datastore/price_adjustment.h"
#include "store_fixture.h"

namespace {

// Bars whose four prices are equal, so one list covers every price; the
// records as (date, bonus, conversion, cash, rights, rights price) per 10.
TEST(AdjustPrices, ForwardFromTheNewestBar) {
    struct Case {
        const char* what;
        std::vector<int32_t> dates;
        std::vector<float> prices, volumes;
        std::vector<DividendRecord> records;
        std::vector<float> expectedPrices, expectedVolumes;
    };
    const std::vector<int32_t> four = {20200101, 20200102, 20200103, 20200104};
    const Case cases[] = {
        {"ten bonus shares and 2.00 cash", {20200101, 20200102, 20200103}, {20.20f, 20.20f, 10}, {1000, 1000, 2000},
         {{20200103, 10, 0, 2, 0, 0}}, {10, 10, 10}, {2000, 2000, 2000}},
        {"a day before every bar, or on the first", four, {10, 11, 12, 13}, {100, 100, 100, 100},
         {{20200101, 0, 0, 10, 0, 0}, {19991231, 0, 0, 10, 0, 0}}, {10, 11, 12, 13}, {100, 100, 100, 100}},
        {"the ex-right bar keeps its raw values", four, {10, 11, 12, 13}, {100, 100, 100, 100},
         {{20200103, 0, 0, 10, 0, 0}}, {9, 10, 12, 13}, {100, 100, 100, 100}},
        {"a day after the newest bar leaves the newest alone", four, {10, 11, 12, 13}, {100, 100, 100, 100},
         {{20991231, 0, 0, 10, 0, 0}}, {9, 10, 11, 13}, {100, 100, 100, 100}},
        {"oldest first and cumulatively", four, {21, 21, 11, 11}, {100, 100, 100, 100},
         {{20200103, 0, 0, 10, 0, 0}, {20200104, 10, 0, 0, 0, 0}}, {10, 10, 5.5f, 11}, {200, 200, 200, 100}},
        {"3 rights at 5.00 and 2 converted", {20200101, 20200102}, {13, 12}, {1000, 1000},
         {{20200102, 0, 2, 0, 3, 5}}, {static_cast<float>(14.5 / 1.5), 12}, {1500, 1000}},
        // Single precision would give other floats: computed in double, rounded once.
        {"rounded once", {20200101, 20200102}, {1.15f, 1}, {1000.5f, 1}, {{20200102, 3, 0, 1.1f, 0, 0}},
         {0.799999952f, 1}, {1300.65002f, 1}},
        {"a single bar", {20200101}, {10}, {100}, {{20991231, 10, 0, 0, 0, 0}}, {10}, {100}},
    };
    for (const Case& c : cases) {
        PriceSeries s = {c.prices, c.prices, c.prices, c.prices, c.volumes};
        AdjustPrices(c.dates, c.records, s);
        for (const std::vector<float>* prices : {&s.open, &s.high, &s.low, &s.close})
            EXPECT_EQ(*prices, c.expectedPrices) << c.what;
        EXPECT_EQ(s.volume, c.expectedVolumes) << c.what;
    }
}

// LoadDividends feeds the data center, whose adjustment of a real history
// is checked in data_center_test.cpp.

}  // namespace
