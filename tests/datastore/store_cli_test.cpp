// End-to-end runs of korvel-cli's data store commands in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/run_process.h"
#include "store_fixture.h"

namespace {

using testing_support::Lines;
using testing_support::ProcessResult;
using testing_support::RunProcess;
using testing_support::TempDir;

ProcessResult Cli(const TempDir& dir, const std::vector<std::string>& words) {
    return testing_support::RunCli(dir.path(), words);
}

TEST(StoreCli, InitCreatesTheDatabaseOrSaysWhyNot) {
    TempDir dir;
    const ProcessResult init = Cli(dir, {"init"});
    EXPECT_EQ(init.exitCode, 0) << init.err;
    EXPECT_EQ(init.out, (dir / "thedb.db3").string() + "\n");
    std::optional<Database> db = Database::Open((dir / "thedb.db3").string());
    ASSERT_TRUE(db);
    EXPECT_EQ(db->GetTable("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'")->At(0, 0), "9");
    EXPECT_EQ(db->GetTable("SELECT COUNT(*) FROM APPSET")->At(0, 0), "8");

    // Run from inside the folder, without --dir, an existing korvel.db3 wins.
    std::filesystem::copy_file(dir / "thedb.db3", dir / "korvel.db3");
    const ProcessResult again = RunProcess({KORVEL_CLI_PATH, "init"}, dir.path().string());
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, "./korvel.db3\n");

    // A missing client folder is created.
    EXPECT_EQ(RunProcess({KORVEL_CLI_PATH, "--dir", (dir / "new" / "client").string(), "init"}).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "new" / "client" / "thedb.db3"));

    std::filesystem::create_directories(dir / "new" / "thedb.db3");  // a folder where the file should be
    const ProcessResult r = RunProcess({KORVEL_CLI_PATH, "--dir", (dir / "new").string(), "init"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("无法打开或创建本地配置信息数据库！"), std::string::npos) << r.err;

    // A client folder under a file.
    const ProcessResult blocked = RunProcess({KORVEL_CLI_PATH, "--dir", (dir / "korvel.db3" / "sub").string(), "init"});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.err.find("cannot create the directory"), std::string::npos) << blocked.err;
}

TEST(StoreCli, SettingsListAndSet) {
    TempDir dir;
    ProcessResult r = Cli(dir, {"settings"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "setting\tvalue\trange\tmeaning");

    EXPECT_EQ(Cli(dir, {"settings", "set", "MIN_TRADE_NUMS", "12"}).exitCode, 0);
    EXPECT_EQ(Cli(dir, {"settings", "set", "HOST", "数据.example:80"}).exitCode, 0);
    const std::string before = Cli(dir, {"settings"}).out;
    EXPECT_NE(before.find("\nMIN_TRADE_NUMS\t12\t"), std::string::npos) << before;
    EXPECT_NE(before.find("\nHOST\t数据.example:80\t"), std::string::npos) << before;
    // Refused with the reason, naming the setting, and nothing stored (the
    // rules themselves: setting_rules_test.cpp).
    for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{{"BUY_CHARGE", "5"}, {"FROB", "1"}}) {
        r = Cli(dir, {"settings", "set", name, value});
        EXPECT_EQ(r.exitCode, 2) << name;
        EXPECT_NE(r.err.find(name), std::string::npos) << r.err;
    }
    EXPECT_EQ(Cli(dir, {"settings"}).out, before);

    // The host is stored as GBK.
    EXPECT_EQ(Database::Open((dir / "thedb.db3").string())->GetTable("SELECT SETS FROM APPSET WHERE ITEM = 'HOST'")
                  ->At(0, 0),
              "\xCA\xFD\xBE\xDD.example:80");
}

TEST(StoreCli, StockNamesPrintAsUtf8) {
    store_fixture::Store store;
    store_fixture::InsertStock(store.db(), "SS", "600000", "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0", "PFYH", 1);
    const ProcessResult r = Cli(store.dir(), {"stocks"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "SS\t600000\t浦发银行\tPFYH\t1\n");
}

TEST(StoreCli, ConditionsOfEveryLoadedBar) {
    store_fixture::Store store;
    store_fixture::InsertBars(store.db(), "SS", "600000", 20200101, 40);
    store_fixture::InsertBars(store.db(), "SS", "600001", 20200101, 1300);

    ProcessResult r = Cli(store.dir(), {"conditions", "SS", "600000"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines[0], "date,c0,c1,c2,c3,c4,c5,c6,c7,c8,c9,c10,c11,c12,c13,c14,c15,c16,c17,c18,c19,c20");
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> fields = store_fixture::SplitCsv(lines[i]);
        ASSERT_EQ(fields.size(), 22u) << lines[i];
        EXPECT_EQ(fields[0], std::to_string(20200101 + i - 1));
        for (size_t c = 1; c < fields.size(); ++c) EXPECT_TRUE(fields[c] == "0" || fields[c] == "1") << lines[i];
    }

    r = Cli(store.dir(), {"conditions", "SS", "600001", "--lines"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 1201u);
    EXPECT_EQ(lines[0].substr(lines[0].find(",c20,") + 5),
              "MA.MA1,MA.MA2,MA.MA3,VOL.VOL,VOL.MA1,VOL.MA2,VOL.MA3,MACD.DIFF,MACD.DEA,MACD.MACD,KDJ.K,KDJ.D,KDJ.J,"
              "CCI.CCI,RSI.RSI1,RSI.RSI2,RSI.RSI3,BOLL.UPPER,BOLL.MID,BOLL.LOWER");
    EXPECT_EQ(store_fixture::SplitCsv(lines[1])[0], "20200201");  // 1300 - 1200 = 100 bars skipped
    for (size_t i = 1; i < lines.size(); ++i) ASSERT_EQ(store_fixture::SplitCsv(lines[i]).size(), 42u) << lines[i];
}

TEST(StoreCli, ConditionsErrors) {
    store_fixture::Store store;
    ProcessResult r = Cli(store.dir(), {"conditions", "SS", "600000"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Lines(r.out).size(), 1u);  // header only
    EXPECT_NE(r.err.find("no daily bars"), std::string::npos);

    ASSERT_TRUE(store.db().Exec("DROP TABLE DAILY"));
    // The next start recreates DAILY; make it unreadable instead.
    ASSERT_TRUE(store.db().Exec("CREATE VIEW DAILY AS SELECT 1 AS X"));
    r = Cli(store.dir(), {"conditions", "SS", "600000"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("cannot read the daily bars"), std::string::npos) << r.err;
}

}  // namespace
