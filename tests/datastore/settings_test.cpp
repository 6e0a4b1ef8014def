#include <gtest/gtest.h>

#include "datastore/run_parameters.h"
#include "datastore/settings.h"
#include "store_fixture.h"

namespace {

using store_fixture::Store;

// APPSET holding exactly these rows.
void ReplaceSettings(Database& db, const SettingsMap& rows) {
    ASSERT_TRUE(db.Exec("DELETE FROM APPSET"));
    for (const auto& [item, value] : rows) ASSERT_TRUE(db.Exec("INSERT INTO APPSET VALUES(?, ?, '')", {item, value}));
}

// The defaults fill an empty table only (the CLI test lists them). A missing
// setting takes its fallback at start-up and gains an empty map entry, which
// is not written to the table.
TEST(LoadSettings, FillsOnlyAnEmptyTable) {
    Store store;
    SettingsMap settings = {{"STALE", "x"}};
    ASSERT_TRUE(LoadSettings(store.db(), settings, {}));
    EXPECT_EQ(settings.size(), 8u);
    EXPECT_EQ(store_fixture::Count(store.db(), "SELECT COUNT(*) FROM APPSET WHERE CMMT = ''"), 8);
    ReplaceSettings(store.db(), {{"HOST", "example.org"}});
    ASSERT_TRUE(LoadSettings(store.db(), settings, {}));
    EXPECT_EQ(settings, (SettingsMap{{"HOST", "example.org"}}));
    RunParameters params;
    ApplyStartupSettings(params, settings);
    EXPECT_EQ(params.sellCharge, 0.002f);
    EXPECT_EQ(settings.size(), 8u);
    EXPECT_EQ(store_fixture::Count(store.db(), "SELECT COUNT(*) FROM APPSET"), 1);
}

TEST(LoadSettings, ShowsTheMessageWhenNothingCanBeRead) {
    testing_support::TempDir dir;
    std::optional<Database> db = Database::Open((dir / "thedb.db3").string());
    ASSERT_TRUE(db);
    // An APPSET that refuses every row.
    ASSERT_TRUE(db->Exec("CREATE TABLE APPSET (ITEM varchar(64) NOT NULL,SETS varchar(512) NOT NULL CHECK (0),CMMT "
                         "varchar(512) NULL,PRIMARY KEY (ITEM));"));
    std::vector<std::string> shown;
    SettingsMap settings = {{"KEPT", "1"}};
    EXPECT_FALSE(LoadSettings(*db, settings, [&](std::string_view m) { shown.emplace_back(m); }));
    EXPECT_EQ(shown, std::vector<std::string>{"无法从数据库中取得程序初始设置！"});
    EXPECT_EQ(settings, (SettingsMap{{"KEPT", "1"}}));
}

// Each stored value of the seven settings and what start-up makes of it:
// MIN_TRADE_NUMS, MAX_TRADE_NUMS, EVOLUTE_STEPS, EVOLUTE_DAYS (fallbacks 10,
// 20, 50, 960), then MAX_TRADE_LOST, BUY_CHARGE, SELL_CHARGE (0.1, 0.001,
// 0.002). "1e-60" is a positive integer 1 but a real no float holds.
TEST(StartupSettings, StoredValuesOrTheirFallbacks) {
    struct Case {
        const char* value;
        int32_t ints[4];
        float reals[3];
    };
    const Case cases[] = {
        {" 480days", {480, 480, 480, 480}, {480, 480, 480}}, {"2e-3", {2, 2, 2, 2}, {0.002f, 0.002f, 0.002f}},
        {"+0.003", {10, 20, 50, 960}, {0.003f, 0.003f, 0.003f}}, {"1e-60", {1, 1, 1, 1}, {0.1f, 0.001f, 0.002f}},
    };
    const char* names[] = {"MIN_TRADE_NUMS", "MAX_TRADE_NUMS", "EVOLUTE_STEPS", "EVOLUTE_DAYS",
                           "MAX_TRADE_LOST", "BUY_CHARGE",     "SELL_CHARGE"};
    std::vector<Case> all(std::begin(cases), std::end(cases));
    for (const char* bad : {"0", "abc", "-5", "", "0x10", "inf", "nan"})
        all.push_back({bad, {10, 20, 50, 960}, {0.1f, 0.001f, 0.002f}});
    for (const Case& c : all) {
        SettingsMap settings;
        for (const char* name : names) settings[name] = c.value;
        RunParameters p;
        ApplyStartupSettings(p, settings);
        EXPECT_EQ((std::vector<int32_t>{p.minTradeNums, p.maxTradeNums, p.evoluteSteps, p.evoluteDays}),
                  std::vector<int32_t>(std::begin(c.ints), std::end(c.ints)))
            << c.value;
        EXPECT_EQ((std::vector<float>{p.maxTradeLost, p.buyCharge, p.sellCharge}),
                  std::vector<float>(std::begin(c.reals), std::end(c.reals)))
            << c.value;
    }
}

}  // namespace
