// End-to-end runs of korvel-cli's data store commands in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../support/run_process.h"
#include "store_fixture.h"

namespace {

using testing_support::ProcessResult;
using testing_support::RunProcess;
using testing_support::TempDir;

ProcessResult Cli(const TempDir& dir, const std::vector<std::string>& words) {
    return testing_support::RunCli(dir.path(), words);
}

using testing_support::Lines;

TEST(StoreCli, InitCreatesTheDefaultDatabase) {
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
}

TEST(StoreCli, UnopenableDatabaseFailsWithTheMessage) {
    TempDir dir;
    std::filesystem::create_directories(dir / "thedb.db3");  // a folder where the file should be
    const ProcessResult r = RunProcess({KORVEL_CLI_PATH, "--dir", dir.path().string(), "init"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("无法打开或创建本地配置信息数据库！"), std::string::npos) << r.err;

    std::filesystem::create_directories(dir / "blocked");
    { std::ofstream(dir / "blocked" / "file") << "x"; }
    const ProcessResult blocked =
        RunProcess({KORVEL_CLI_PATH, "--dir", (dir / "blocked" / "file" / "sub").string(), "init"});
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.err.find("cannot create the directory"), std::string::npos) << blocked.err;
}

TEST(StoreCli, SettingsListAndSet) {
    TempDir dir;
    ProcessResult r = Cli(dir, {"settings"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{"BUY_CHARGE\t0.002", "EVOLUTE_DAYS\t480", "EVOLUTE_STEPS\t60",
                                                      "HOST\t127.0.0.1:18080", "MAX_TRADE_LOST\t1.0",
                                                      "MAX_TRADE_NUMS\t250", "MIN_TRADE_NUMS\t1",
                                                      "SELL_CHARGE\t0.003"}));

    EXPECT_EQ(Cli(dir, {"settings", "set", "MIN_TRADE_NUMS", "12"}).exitCode, 0);
    EXPECT_EQ(Cli(dir, {"settings", "set", "HOST", "数据.example:80"}).exitCode, 0);
    EXPECT_EQ(Cli(dir, {"settings", "set", "BUY_CHARGE", "1.5e-3"}).exitCode, 0);
    for (const char* bad : {"abc", "0", "12x", "1.5"}) {
        r = Cli(dir, {"settings", "set", "EVOLUTE_DAYS", bad});
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_NE(r.err.find("EVOLUTE_DAYS"), std::string::npos) << r.err;
    }
    for (const char* bad : {"inf", "0x1p-3", "-0.1"})
        EXPECT_EQ(Cli(dir, {"settings", "set", "SELL_CHARGE", bad}).exitCode, 2) << bad;
    EXPECT_EQ(Cli(dir, {"settings", "frob"}).exitCode, 2);

    r = Cli(dir, {"settings"});
    const std::vector<std::string> lines = Lines(r.out);
    EXPECT_EQ(lines.size(), 8u);
    auto has = [&](const std::string& line) { return std::find(lines.begin(), lines.end(), line) != lines.end(); };
    EXPECT_TRUE(has("MIN_TRADE_NUMS\t12"));
    EXPECT_TRUE(has("HOST\t数据.example:80"));
    EXPECT_TRUE(has("BUY_CHARGE\t1.5e-3"));

    // The host is stored as GBK.
    std::optional<Database> db = Database::Open((dir / "thedb.db3").string());
    EXPECT_EQ(db->GetTable("SELECT SETS FROM APPSET WHERE ITEM = 'HOST'")->At(0, 0), "\xCA\xFD\xBE\xDD.example:80");
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
    EXPECT_EQ(Cli(store.dir(), {"conditions", "SS"}).exitCode, 2);
    EXPECT_EQ(Cli(store.dir(), {"conditions", "SS", "600000", "--bogus"}).exitCode, 2);

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
