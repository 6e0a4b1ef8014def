// korvel-cli status, sync, open, pool and cleanup end to end: the CLI in a
// fresh folder against korvel-server on loopback.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "sync_fixture.h"

namespace {

using testing::HasSubstr;
using testing::Not;
using testing_support::ProcessResult;

class SyncCliTest : public sync_test::CliTest {
protected:
    // Adds a stock to the watch list as a user does once the stock list has
    // it (here a row stamped 0, so the next sync still fetches the whole list).
    void Watch(const std::string& market, const std::string& code) {
        {
            Database db = Db();
            ASSERT_TRUE(db.Exec("INSERT OR IGNORE INTO STOCKCODE VALUES(0, ?, ?, '', '', 1)", {market, code}));
        }
        const ProcessResult added = Cli({"watch", "add", market, code});
        ASSERT_EQ(added.exitCode, 0) << added.err;
    }

    int Bars(const std::string& market, const std::string& code) {
        Database db = Db();
        return sync_test::Count(db, "SELECT COUNT(*) FROM DAILY WHERE MARKET = '" + market + "' AND CODE = '" +
                                        code + "'");
    }

    // The frst..last ranges of the daily requests served so far, in order.
    std::vector<std::string> DailyRanges() {
        std::vector<std::string> ranges;
        for (const std::string& line : server_.Requests("daily.php")) {
            const size_t from = line.find("&stck=");
            ranges.push_back(line.substr(from + 6, line.find('"', from) - from - 6));
        }
        return ranges;
    }
};

TEST_F(SyncCliTest, FirstSyncStoresTheListAndWatchedStocksAndLaterOnesFetchOnlyWhatIsNew) {
    Watch("SS", "600000");
    Watch("SZ", "000002");
    const ProcessResult first = Cli({"sync"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_THAT(first.out, HasSubstr("正在检查服务器...\n服务器最新收盘数据 2011-12-20 ★数据需要同步★\n"));
    EXPECT_THAT(first.out, HasSubstr("更新股票代码：600000 浦发银行\n"));
    EXPECT_THAT(first.out, HasSubstr("股票代码同步更新完毕。\n"));
    EXPECT_THAT(first.out, HasSubstr("正在更新除权数据： 600000 浦发银行...\n正在更新日线数据： 600000 浦发银行...\n"));
    EXPECT_THAT(first.out, HasSubstr("正在更新操盘信号： 000002 万科Ａ...\n"));
    EXPECT_THAT(first.out, HasSubstr("日线数据同步更新完毕。\n"));
    {
        Database db = Db();
        EXPECT_EQ(sync_test::Count(db, "SELECT COUNT(*) FROM STOCKCODE"), 6);
        EXPECT_EQ(sync_test::Count(db, "SELECT COUNT(*) FROM DAILY"), 2 * 96);
        EXPECT_EQ(sync_test::Count(db, "SELECT COUNT(*) FROM DIVIDEND"), 4);
        EXPECT_EQ(sync_test::Count(db, "SELECT MIN(UDAY) FROM SECRET"), sync_test::kNewestBar);
        // Records as the server sent them, numbers stored as numbers.
        EXPECT_EQ(sync_test::Dump(db, "DAILY WHERE CODE = '600000' AND DDATE = 20080110"),
                  "SS|600000|20080110|9.9|10.3|9.8|10.0|100000.0|");
        EXPECT_EQ(sync_test::Dump(db, "DIVIDEND WHERE CODE = '600000'"),
                  "SS|600000|20090610|1.0|0.0|2.5|0.0|0.0|SS|600000|20110610|0.0|0.0|1.2|0.0|0.0|");
        EXPECT_EQ(sync_test::Count(db, "SELECT COUNT(*) FROM DAILY WHERE typeof(DDATE) <> 'integer' OR "
                                       "typeof(DCLOSE) <> 'real'"),
                  0);
        EXPECT_EQ(sync_test::Count(db, "SELECT COUNT(*) FROM STOCKCODE WHERE typeof(PTYPE) <> 'integer'"),
                  0);
    }
    EXPECT_EQ(DailyRanges(), (std::vector<std::string>{"600000&frst=0&last=99999999", "000002&frst=0&last=99999999"}));

    // New bars on the server: the next sync asks from the day after the
    // newest local bar, and for the stocks changed since the newest stamp it holds.
    for (const char* stock : {"SS:600000", "SZ:000002"}) {
        const std::string s = stock;
        server_.AddBars(s.substr(0, 2), s.substr(3), "20111230,20,21,19,20,5\n20120110,20,21,19,20.5,6\n");
    }
    // A rename imported on the day of the stamp the client holds.
    server_.Import("import-csv", "--stocks", "market,code,name,pinyin,type\nSZ,000002,万科企业,WKQY,3\n",
                   {"--stamp", "20240101"});
    const ProcessResult second = Cli({"sync"});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_THAT(server_.Requests("code.php").back(), HasSubstr("pdate=20240101\""));
    EXPECT_EQ(DailyRanges().size(), 4u);
    EXPECT_EQ(DailyRanges()[2], "600000&frst=20111221&last=99999999");
    EXPECT_EQ(Bars("SS", "600000"), 98);
    {
        Database db = Db();  // the renamed stock replaces its row
        EXPECT_EQ(sync_test::Dump(db, "STOCKCODE WHERE CODE = '000002'"),
                  "20240101|SZ|000002|" + sync_test::Gbk("万科企业") + "|WKQY|3|");
    }

    // Everything up to date: no job, no download, no signal step.
    const ProcessResult third = Cli({"sync"});
    ASSERT_EQ(third.exitCode, 0) << third.err;
    EXPECT_EQ(DailyRanges().size(), 4u);
    EXPECT_THAT(third.out, Not(HasSubstr("操盘信号")));
    EXPECT_THAT(third.out, HasSubstr("日线数据同步更新完毕。\n"));
}

TEST_F(SyncCliTest, OpeningAStockWithoutBarsFetchesTwoYearRangesNewestFirst) {
    const ProcessResult in2010 = Cli({"open", "SS", "600004", "--year", "2010"});
    ASSERT_EQ(in2010.exitCode, 0) << in2010.err;
    EXPECT_EQ(DailyRanges(), (std::vector<std::string>{"600004&frst=20090101&last=20101231",
                                                       "600004&frst=20080101&last=20081231"}));
    EXPECT_THAT(in2010.out, HasSubstr("bars\t72\nnewest\t20101220\nadvice\t-\n"));
    EXPECT_EQ(Bars("SS", "600004"), 72);

    const ProcessResult in2011 = Cli({"open", "SZ", "000651", "--year", "2011"});
    ASSERT_EQ(in2011.exitCode, 0) << in2011.err;
    EXPECT_EQ(DailyRanges().size(), 4u);
    EXPECT_EQ(DailyRanges()[2], "000651&frst=20100101&last=20111231");
    EXPECT_EQ(DailyRanges()[3], "000651&frst=20080101&last=20091231");
    EXPECT_EQ(Bars("SZ", "000651"), 96);

    // Up to date: a job that downloads nothing but updates the signal.
    const size_t requests = server_.Requests().size();
    const ProcessResult again = Cli({"open", "SZ", "000651"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(server_.Requests().size(), requests + 1);  // the status request only
    EXPECT_THAT(again.out, HasSubstr("正在更新操盘信号： 000651 ...\n日线数据同步更新完毕。\n"));
    EXPECT_THAT(again.out, HasSubstr("bars\t96\nnewest\t20111220\n"));
}

TEST_F(SyncCliTest, PoolAddsTheTickedStocksNotYetWatched) {
    server_.Import("import-pools", "--pools",
                   "model,rank,date,market,code,capital,pe,pb,mpg\n"
                   "vpick,2,20111201,SZ,000002,1100,8.55,0.94,-12.257\nvpick,1,20111201,SS,600000,0,0,0,0\n"
                   "vpick,3,20111201,SZ,000651,0,0,0,0\nvpick,4,20111201,SS,600004,0,0,0,0\n");
    Watch("SZ", "000651");
    // Entries in rank order, names from the server's stock list; without a
    // caption from the server the model's own.
    ProcessResult listed = Cli({"pool", "vpick"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_THAT(listed.out, HasSubstr("价值模型精选股票池\n"));
    EXPECT_THAT(listed.out, HasSubstr("600000\t浦发银行\t20111201\t1\t0\t0.0\t0.0\t0.00\tSS\n"
                                      "000002\t万科Ａ\t20111201\t2\t1100\t8.6\t0.9\t-12.26\tSZ\n"));
    server_.Import("import-pools", "--models", "model,caption,info\nvpick,价值精选,说明文字\n");
    listed = Cli({"pool", "vpick"});
    EXPECT_THAT(listed.out, HasSubstr("价值精选\n说明文字\n"));
    EXPECT_EQ(Cli({"pool", "gpool"}).exitCode, 1);  // nothing on the server

    const ProcessResult added = Cli({"pool", "vpick", "--add", "600000,SZ:000002,000651"});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_THAT(added.out, HasSubstr("正在添加所选择的股票为自选股...\n共导入2支股票到自选股\n"));
    Database db = Db();
    EXPECT_EQ(sync_test::Count(db, "SELECT COUNT(*) FROM SECRET"), 3);

    const ProcessResult unknown = Cli({"pool", "vpick", "--add", "600009"});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_THAT(unknown.err, HasSubstr("600009 is not in the pool"));
}

TEST_F(SyncCliTest, CleanupDeletesBarsAfterTheCutDateAndLogsEachStock) {
    Watch("SS", "600000");
    ASSERT_EQ(Cli({"sync"}).exitCode, 0);
    const ProcessResult listed = Cli({"cleanup"});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_THAT(listed.out, HasSubstr("cleanto\t20111010\n600000\t浦发银行\t20111220\tSS\n"));

    const ProcessResult cleaned = Cli({"cleanup", "SS:600000"});
    ASSERT_EQ(cleaned.exitCode, 0) << cleaned.err;
    EXPECT_THAT(cleaned.out, HasSubstr("开始进行数据清理...\n准备清理 600000 浦发银行...\n成功清理 600000 浦发银行...\n"
                                       "数据清理结束.\n"));
    Database db = Db();
    EXPECT_EQ(sync_test::Count(db, "SELECT MAX(DDATE) FROM DAILY"), 20111010);
    EXPECT_EQ(sync_test::Count(db, "SELECT COUNT(*) FROM DAILY"), 96 - 5);
    EXPECT_EQ(sync_test::Count(db, "SELECT COUNT(*) FROM DIVIDEND"), 2);
    EXPECT_EQ(sync_test::Count(db, "SELECT COUNT(*) FROM SECRET"), 1);

    EXPECT_EQ(Cli({"cleanup", "SZ:000002"}).exitCode, 1);  // no local bars
    EXPECT_EQ(Cli({"cleanup", "600000"}).exitCode, 2);
}

TEST_F(SyncCliTest, StatusShowsDatesAndHostsAndSwitchesServers) {
    const std::string closed = sync_test::ClosedHost();
    const std::string hosts = "nett,addr,cmnt\n0," + server_.host() + ",本机\n1," + closed + ",备用\n";
    server_.Import("import-hosts", "--hosts", hosts);
    const ProcessResult status = Cli({"status"});
    ASSERT_EQ(status.exitCode, 0) << status.err;
    EXPECT_EQ(status.out, "正在检查服务器...\n服务器最新收盘数据 2011-12-20 ★数据需要同步★\nupdate\t20111220\n"
                          "cleanto\t20111010\n1\t*\t" + server_.host() + "\t0\t本机\n2\t\t" + closed + "\t1\t备用\n");

    const ProcessResult switched = Cli({"status", "--switch", "2"});
    EXPECT_EQ(switched.exitCode, 1);
    EXPECT_THAT(switched.err, HasSubstr("服务器无法访问，请切换至其他服务器。"));
    EXPECT_THAT(Cli({"settings"}).out, HasSubstr("HOST\t" + closed + "\t"));
    const ProcessResult back = Cli({"status", "--switch", "1"});
    EXPECT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(Cli({"status", "--switch", "3"}).exitCode, 1);

    // Six hosts: all are stored, the menu offers the first five.
    std::string six = hosts;
    for (int i = 3; i <= 6; ++i) six += text::Format("%d,10.0.0.%d:80,服务器%d\n", i, i, i);
    server_.Import("import-hosts", "--hosts", six);
    EXPECT_THAT(Cli({"status"}).out, testing::EndsWith("\t备用\n3\t\t10.0.0.3:80\t3\t服务器3\n4\t\t10.0.0.4:80\t4\t服务器4\n"
                                                       "5\t\t10.0.0.5:80\t5\t服务器5\n"));
    Database db = Db();
    EXPECT_EQ(sync_test::Count(db, "SELECT NETT FROM HOST WHERE ADDR = '10.0.0.6:80'"), 6);
}

// A stock list that cannot be stored ends the run as a failure, with the cause.
TEST_F(SyncCliTest, AStockListThatCannotBeStoredFailsTheSync) {
    {
        Database db = Db();
        ASSERT_TRUE(db.Exec("DROP TABLE STOCKCODE; CREATE VIEW STOCKCODE AS SELECT 0 AS DDATE, '' AS MARKET, "
                            "'' AS CODE, '' AS ABBR, '' AS PINYIN, 0 AS PTYPE WHERE 0"));
    }
    const ProcessResult r = Cli({"sync"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_THAT(r.err, HasSubstr("cannot modify STOCKCODE because it is a view")) << r.err;
}

TEST_F(SyncCliTest, WithoutAServerEveryCommandFailsQuicklyAndChangesNothing) {
    Watch("SS", "600000");
    ASSERT_EQ(Cli({"sync"}).exitCode, 0);
    server_.Stop();
    const std::string before = [&] {
        Database db = Db();
        return sync_test::DumpAll(db);
    }();
    const std::string unreachable = "服务器无法访问，请切换至其他服务器。";
    const std::vector<std::pair<std::vector<std::string>, std::string>> commands = {
        {{"status"}, unreachable},
        {{"sync"}, unreachable},
        {{"open", "SS", "600000"}, unreachable},
        {{"open", "SZ", "000651"}, unreachable},
        {{"cleanup", "SS:600000"}, unreachable},
        {{"pool", "vpool", "--add", "all"}, "未能从服务器获取到量化选股模型票池数据"},
    };
    for (const auto& [args, message] : commands) {
        const auto start = std::chrono::steady_clock::now();
        const ProcessResult result = Cli(args);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(15)) << args[0];
        EXPECT_EQ(result.exitCode, 1) << args[0];
        EXPECT_THAT(result.err, HasSubstr(message)) << args[0];
    }
    Database db = Db();
    EXPECT_EQ(sync_test::DumpAll(db), before);
}

}  // namespace
