#include <gtest/gtest.h>

#include "datastore/run_parameters.h"
#include "datastore/settings.h"
#include "store_fixture.h"

namespace {

using store_fixture::Store;

SettingsMap StoredRows(Database& db) {
    SettingsMap rows;
    const std::optional<TextTable> table = db.GetTable("SELECT ITEM, SETS FROM APPSET");
    for (size_t r = 0; table && r < table->RowCount(); ++r) rows[table->At(r, 0)] = table->At(r, 1);
    return rows;
}

// APPSET holding exactly these rows.
void ReplaceSettings(Database& db, const SettingsMap& rows) {
    ASSERT_TRUE(db.Exec("DELETE FROM APPSET"));
    for (const auto& [item, value] : rows) ASSERT_TRUE(db.Exec("INSERT INTO APPSET VALUES(?, ?, '')", {item, value}));
}

TEST(LoadSettings, WritesTheEightDefaultsIntoAnEmptyTable) {
    Store store;
    SettingsMap settings;
    ASSERT_TRUE(LoadSettings(store.db(), settings, {}));
    const SettingsMap expected = {
        {"HOST", "127.0.0.1:18080"}, {"MIN_TRADE_NUMS", "1"},     {"MAX_TRADE_NUMS", "250"}, {"EVOLUTE_STEPS", "60"},
        {"EVOLUTE_DAYS", "480"},     {"MAX_TRADE_LOST", "1.0"},   {"BUY_CHARGE", "0.002"},   {"SELL_CHARGE", "0.003"},
    };
    EXPECT_EQ(settings, expected);
    EXPECT_EQ(StoredRows(store.db()), expected);
    EXPECT_EQ(store.db().GetTable("SELECT COUNT(*) FROM APPSET WHERE CMMT = ''")->At(0, 0), "8");
}

TEST(LoadSettings, NeverRefillsATableThatHasRows) {
    Store store;
    ReplaceSettings(store.db(), {{"HOST", "example.org"}});
    SettingsMap settings = {{"STALE", "x"}};
    ASSERT_TRUE(LoadSettings(store.db(), settings, {}));
    EXPECT_EQ(settings, (SettingsMap{{"HOST", "example.org"}}));
    EXPECT_EQ(StoredRows(store.db()).size(), 1u);
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

TEST(Settings, StoreSettingReplacesTheRowAndKeepsGbkBytes) {
    Store store;
    SettingsMap settings;
    ASSERT_TRUE(LoadSettings(store.db(), settings, {}));
    const std::string gbkHost = "\xB2\xE2\xCA\xD4:18080";
    ASSERT_TRUE(StoreSetting(store.db(), "HOST", gbkHost));
    ASSERT_TRUE(LoadSettings(store.db(), settings, {}));
    EXPECT_EQ(settings["HOST"], gbkHost);
    EXPECT_EQ(settings.size(), 8u);
}

TEST(StartupSettings, StoredValuesBecomeRunParameters) {
    SettingsMap settings = {{"MIN_TRADE_NUMS", "1"},      {"MAX_TRADE_NUMS", "250"}, {"EVOLUTE_STEPS", "60"},
                            {"EVOLUTE_DAYS", " 480days"}, {"MAX_TRADE_LOST", "1.0"}, {"BUY_CHARGE", "2e-3"},
                            {"SELL_CHARGE", "+0.003"}};
    RunParameters params;
    ApplyStartupSettings(params, settings);
    EXPECT_EQ(params.minTradeNums, 1);
    EXPECT_EQ(params.maxTradeNums, 250);
    EXPECT_EQ(params.evoluteSteps, 60);
    EXPECT_EQ(params.evoluteDays, 480);
    EXPECT_EQ(params.maxTradeLost, 1.0f);
    EXPECT_EQ(params.buyCharge, 0.002f);
    EXPECT_EQ(params.sellCharge, 0.003f);
}

TEST(StartupSettings, UnusableValuesTakeTheFallbacks) {
    for (const char* bad : {"0", "abc", "-5", "", "0x10", "inf", "nan", "1e-60"}) {
        SettingsMap settings = {{"MIN_TRADE_NUMS", bad}, {"MAX_TRADE_NUMS", bad}, {"EVOLUTE_STEPS", bad},
                                {"EVOLUTE_DAYS", bad},   {"MAX_TRADE_LOST", bad}, {"BUY_CHARGE", bad},
                                {"SELL_CHARGE", bad}};
        RunParameters params;
        ApplyStartupSettings(params, settings);
        SCOPED_TRACE(bad);
        // "1e-60" is a positive integer 1 but a real that no float holds.
        const bool leadingOne = std::string(bad) == "1e-60";
        EXPECT_EQ(params.minTradeNums, leadingOne ? 1 : 10);
        EXPECT_EQ(params.maxTradeNums, leadingOne ? 1 : 20);
        EXPECT_EQ(params.evoluteSteps, leadingOne ? 1 : 50);
        EXPECT_EQ(params.evoluteDays, leadingOne ? 1 : 960);
        EXPECT_EQ(params.maxTradeLost, 0.1f);
        EXPECT_EQ(params.buyCharge, 0.001f);
        EXPECT_EQ(params.sellCharge, 0.002f);
    }
}

// Start-up over a real APPSET: a missing SELL_CHARGE takes its fallback, is
// added to the map as an empty entry and is not written to the table.
TEST(StartupSettings, MissingSettingIsNotWritten) {
    Store store;
    ReplaceSettings(store.db(), {{"HOST", "h"}, {"MIN_TRADE_NUMS", "abc"}, {"BUY_CHARGE", "0.0025"}});
    SettingsMap settings;
    ASSERT_TRUE(LoadSettings(store.db(), settings, {}));
    RunParameters params;
    ApplyStartupSettings(params, settings);
    EXPECT_EQ(params.minTradeNums, 10);
    EXPECT_EQ(params.sellCharge, 0.002f);
    EXPECT_EQ(StoredRows(store.db()).size(), 3u);
}

}  // namespace
