#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "datastore/data_center.h"
#include "datastore/price_adjustment.h"
#include "store_fixture.h"

namespace {

using store_fixture::InsertBars;
using store_fixture::Store;

const std::string kPufaGbk = "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0";  // 浦发银行

void ExpectSeriesLength(const CDataCenter& dc, size_t n) {
    EXPECT_EQ(dc.Dates().size(), n);
    for (const PriceSeries* s : {&dc.Displayed(), &dc.Unadjusted(), &dc.Adjusted()})
        for (const std::vector<float>* v : {&s->open, &s->high, &s->low, &s->close, &s->volume})
            EXPECT_EQ(v->size(), n);
    const std::vector<std::vector<float>> conditions = dc.GetAllConditions();
    ASSERT_EQ(conditions.size(), 21u);
    for (const std::vector<float>& c : conditions) EXPECT_EQ(c.size(), n);
}

TEST(DataCenter, HoldsTheNewest1200BarsOldestFirst) {
    Store store;
    InsertBars(store.db(), "SS", "600000", 1, 1500);
    CDataCenter dc(store.db());
    const float* reserved = dc.Displayed().close.data();
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));
    ExpectSeriesLength(dc, 1200);
    EXPECT_EQ(dc.Dates().front() + dc.Dates().back(), 301 + 1500);
    EXPECT_FLOAT_EQ(dc.Displayed().volume.back(), 2499.0f);
    EXPECT_EQ(dc.Displayed().close.data(), reserved);  // room was reserved up front
    EXPECT_EQ(dc.Adjusted().close, dc.Displayed().close);  // no dividends
    EXPECT_EQ(dc.GetIndicatorLine("VOL", 3).size(), 1200u);
    EXPECT_TRUE(dc.GetIndicatorLine("CCI", 7).empty());
    EXPECT_TRUE(dc.GetIndicatorLine("XYZ", 0).empty());
    EXPECT_TRUE(dc.GetIndicatorParams("XYZ").empty());
}

TEST(DataCenter, FailedQueryKeepsThePreviousStockAndNoBarsLoadEmpty) {
    Store store;
    InsertBars(store.db(), "SS", "600000", 20200101, 30);
    CDataCenter dc(store.db());
    ASSERT_TRUE(dc.LoadStock("600001", "SS"));
    ExpectSeriesLength(dc, 0);
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));
    const std::vector<float> close = dc.Displayed().close;
    const std::vector<std::vector<float>> conditions = dc.GetAllConditions();
    ASSERT_TRUE(store.db().Exec("DROP TABLE DAILY"));
    EXPECT_FALSE(dc.LoadStock("000002", "SZ"));
    EXPECT_EQ(dc.Code() + dc.Market(), "600000SS");
    EXPECT_EQ(dc.Displayed().close, close);
    EXPECT_EQ(dc.GetAllConditions(), conditions);
    ExpectSeriesLength(dc, 30);
    EXPECT_FALSE(CDataCenter().LoadStock("600000", "SS"));
}

// The real history of SS 600000: the newest bar is the reference level of
// the adjusted copy, older bars across the last ex-right day move by its
// cash dividend; the toggle swaps the candles but never the indicators,
// which are always computed over the adjusted bars.
TEST(DataCenter, AdjustsRealHistoryAndToggleSwapsOnlyTheCandles) {
    Store store;
    store_fixture::ImportDaily(store.db(), "SS", "600000");
    store_fixture::ImportDividends(store.db(), "SS", "600000");
    CDataCenter dc(store.db());
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));
    const size_t n = dc.Dates().size();
    ASSERT_EQ(n, 1200u);
    EXPECT_EQ(dc.Adjusted().close[n - 1], dc.Unadjusted().close[n - 1]);
    const DividendRecord last = LoadDividends(store.db(), "SS", "600000").back();
    ASSERT_EQ(last.bonus + last.conversion + last.rights, 0.0f) << "expected a cash-only dividend last";
    const size_t exDay = std::lower_bound(dc.Dates().begin(), dc.Dates().end(), last.date) - dc.Dates().begin();
    EXPECT_EQ(dc.Adjusted().close[exDay], dc.Unadjusted().close[exDay]);
    EXPECT_EQ(dc.Adjusted().close[exDay - 1],
              static_cast<float>(dc.Unadjusted().close[exDay - 1] - last.cash / 10.0));

    const PriceSeries raw = dc.Displayed();
    const std::vector<std::vector<float>> conditions = dc.GetAllConditions();
    const std::vector<float> boll = dc.GetIndicatorLine("BOLL", 0);
    for (const bool adjusted : {true, false}) {
        dc.ToggleAdjusted();
        EXPECT_EQ(dc.IsAdjusted(), adjusted);
        const PriceSeries& shown = adjusted ? dc.Adjusted() : raw;
        for (auto field : {&PriceSeries::open, &PriceSeries::high, &PriceSeries::low, &PriceSeries::close,
                           &PriceSeries::volume})
            EXPECT_EQ(dc.Displayed().*field, shown.*field);
        EXPECT_EQ(dc.GetAllConditions(), conditions);
        EXPECT_EQ(dc.GetIndicatorLine("BOLL", 0), boll);
    }
    dc.ToggleAdjusted();
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));  // a load shows unadjusted candles again
    EXPECT_FALSE(dc.IsAdjusted());
    EXPECT_EQ(dc.Displayed().close, raw.close);
}

TEST(DataCenter, DisplayNameAndSecurityType) {
    Store store;
    InsertBars(store.db(), "SS", "600000", 20200101, 5);
    InsertBars(store.db(), "sz", "abc9", 20200101, 5);
    store_fixture::InsertStock(store.db(), "SS", "600000", kPufaGbk, "PFYH", 11);
    CDataCenter dc(store.db());
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));  // not in the list yet
    EXPECT_EQ(dc.DisplayName(), "600000.SS");
    EXPECT_EQ(dc.SecurityType(), 0);
    dc.LoadStockList();
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));
    EXPECT_EQ(dc.DisplayName(), kPufaGbk);
    EXPECT_EQ(dc.SecurityType(), 11);
    ASSERT_TRUE(dc.LoadStock("abc9", "sz"));
    EXPECT_EQ(dc.DisplayName(), "ABC9.SZ");
    EXPECT_EQ(dc.SecurityType(), 11);  // kept from the previous stock
    dc.LoadStockList();
    EXPECT_EQ(dc.StockList().size(), 2u);  // appended to, not replaced
}

// A load on a worker thread while another thread reads under the data lock:
// the reader never sees half-loaded series.
TEST(DataCenter, ReadersUnderTheLockSeeWholeLoads) {
    Store store;
    InsertBars(store.db(), "SS", "600000", 20200101, 300);
    InsertBars(store.db(), "SZ", "000001", 20200101, 100);
    CDataCenter dc(store.db());
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));
    std::atomic<bool> done = false;
    std::thread loader([&] {
        for (int i = 0; i < 20; ++i) dc.LoadStock(i % 2 ? "000001" : "600000", i % 2 ? "SZ" : "SS");
        done = true;
    });
    int torn = 0;
    while (!done) {
        const std::lock_guard lock(dc.DataLock());
        const size_t n = dc.Dates().size();
        torn += dc.Adjusted().close.size() != n || dc.Displayed().volume.size() != n ||
                dc.GetAllConditions()[20].size() != n;
    }
    loader.join();
    EXPECT_EQ(torn, 0);
}

}  // namespace
