// Honest synchronisation: replies are checked before they are stored, and
// every write is checked, so a database that cannot be written fails the
// run with the cause and keeps nothing of it (listing and a clean cleanup
// end to end in sync_cli_test.cpp).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "../datastore/store_fixture.h"
#include "datastore/data_center.h"
#include "strategy/strategy_record.h"
#include "sync/daily_sync.h"
#include "sync/data_cleanup.h"
#include "sync/server_status.h"
#include "sync/stock_codes.h"
#include "sync/stock_pool.h"
#include "sync_fixture.h"

namespace {

using sync_test::Gbk;
using sync_test::Reports;
using sync_test::TinyServer;
using testing::HasSubstr;

std::string Bar(const std::string& date, const char* open, const char* high, const char* low, const char* close,
                const char* volume) {
    return "<daily><date>" + date + "</date><open>" + open + "</open><high>" + high + "</high><low>" + low +
           "</low><close>" + close + "</close><volume>" + volume + "</volume></daily>";
}

// A distinct real date for each `i`, 25 days a month from 20000101 on.
std::string Date(int i) {
    return std::to_string((2000 + i / 300) * 10000 + (i % 300 / 25 + 1) * 100 + i % 25 + 1);
}

// `count` good bars (the first, a vendor's bar, opens above its high), two
// with spaced numbers and no volume, and one good dividend record; with
// `hostile`, every kind of impossible record and of field that is no number
// in between.
std::string Reply(const std::string& path, int count, bool hostile) {
    if (path == "/divid.php") {
        std::string reply = "<r><divid><date>20230601</date><songgu>1</songgu><zhuanzheng>0</zhuanzheng>"
                            "<paixi>2.5e-1</paixi><peigu>0</peigu><ppeigu>0</ppeigu></divid>";
        if (hostile)
            reply += "<divid><date>20230701</date><songgu>-1</songgu><zhuanzheng>0</zhuanzheng><paixi>0</paixi>"
                     "<peigu>0</peigu><ppeigu>0</ppeigu></divid><divid><date>20230702</date><songgu>0</songgu>"
                     "<zhuanzheng>0</zhuanzheng><paixi>1e308</paixi><peigu>0</peigu><ppeigu>0</ppeigu></divid>";
        return reply + "</r>";
    }
    std::string reply = "<r>" + Bar(Date(0), "12", "11", "9", "10", "100");
    for (int i = 1; i < count; ++i) reply += Bar(Date(i), "10", "11", "9", "10.5", "5");
    reply += Bar(Date(count), "1", "2", "0.5", "1.5", " 100 ");
    reply += Bar(Date(count + 1), "1", "2", "0.5", "1", " null ");
    if (hostile) {
        for (const char* price : {"0", "-3", "inf", "1e308", "", "NULL", "1); DROP TABLE DAILY; --"})
            reply += Bar("20230103", price, "11", "9", "10", "1");
        reply += Bar("20230104", "10", "9", "11", "10", "1");  // high below low
        reply += Bar("20230105", "10", "11", "9", "10", "-1");
        for (const char* date : {"20230230", "99999999", "20991231"}) reply += Bar(date, "10", "11", "9", "10", "1");
    }
    return reply + "</r>";
}

TinyServer::Handler Serving(int count, bool hostile) {
    return [=](const httplib::Request& request, httplib::Response& response) {
        response.set_content(Reply(request.path, count, hostile), "text/xml");
    };
}

class HonestSyncTest : public testing::Test {
protected:
    int Sync(Database& db, const ServerAccess& server, Reports& reports) {
        CDataCenter dc(db);
        const DailySyncRequest request{{{"SS", "600000", Gbk("浦发银行"), 0, kNoUpperBound}}, true, 0};
        return RunDailySync(db, dc, server, request, reports.receiver(), {});
    }
    store_fixture::Store store_;
    Database& db_ = store_.db();
};

TEST_F(HonestSyncTest, ImpossibleRecordsAreRefusedAndCountedAndTheRestStoredAsAnHonestSyncStoresIt) {
    TinyServer hostile(Serving(3, true));
    Reports reports;
    ASSERT_EQ(Sync(db_, hostile.access(), reports), SyncReport::kSucceeded);
    EXPECT_THAT(reports.Texts(), testing::IsSupersetOf({"拒收不合理的除权数据 2 条： 600000 浦发银行",
                                                        "拒收不合理的日线数据 12 条： 600000 浦发银行"}));

    store_fixture::Store honestStore;
    TinyServer honest(Serving(3, false));
    Reports honestReports;
    ASSERT_EQ(Sync(honestStore.db(), honest.access(), honestReports), SyncReport::kSucceeded);
    EXPECT_EQ(sync_test::DumpAll(db_), sync_test::DumpAll(honestStore.db()));
    EXPECT_EQ(sync_test::Count(db_, "SELECT COUNT(*) FROM DAILY"), 5);
    // Spaces around a number are no part of it, and null is NULL where the
    // column allows it, as the unquoted literal would be.
    EXPECT_EQ(sync_test::Dump(db_, "DAILY WHERE DOPEN = 1"),
              "SS|600000|20000104|1.0|2.0|0.5|1.5|100.0|SS|600000|20000105|1.0|2.0|0.5|1.0||");
    EXPECT_EQ(sync_test::Dump(db_, "DIVIDEND"), "SS|600000|20230601|1.0|0.0|0.25|0.0|0.0|");

    // A bar dated 99999999 stored by an older version does not stop the
    // stock's incremental updates.
    store_fixture::InsertBar(db_, "SS", "600000", 99999999, 1, 1, 1, 1, 1);
    EXPECT_EQ(BuildViewJobs(db_, "SS", "600000", 20240110, 2024).front().first, 20000106);
}

// Each way a database refuses writes, and the text that names it.
struct Refusal {
    const char* cause;
    std::function<void(Database& db, Database& other)> apply;
};

const Refusal kRefusals[] = {
    {"文件只读或没有写权限", [](Database& db, Database&) { ASSERT_TRUE(db.Exec("PRAGMA query_only = 1")); }},
    {"磁盘已满",
     [](Database& db, Database&) {
         const int64_t pages = sync_test::Count(db, "PRAGMA page_count");
         ASSERT_TRUE(db.Exec("PRAGMA max_page_count = " + std::to_string(pages)));
     }},
    {"数据库正被其他程序占用",
     [](Database& db, Database& other) {
         sqlite3_busy_timeout(db.Handle(), 20);
         ASSERT_TRUE(other.Exec("BEGIN IMMEDIATE"));
     }},
};

TEST_F(HonestSyncTest, ADatabaseThatCannotBeWrittenEndsTheRunWithTheCauseAndKeepsNothingOfIt) {
    TinyServer server(Serving(400, false));
    for (const Refusal& refusal : kRefusals) {
        store_fixture::Store store;
        Database other = *Database::Open(store.db().Path());
        refusal.apply(store.db(), other);
        Reports reports;
        EXPECT_EQ(Sync(store.db(), server.access(), reports), SyncReport::kFailed) << refusal.cause;
        EXPECT_EQ(reports.Last().text,
                  std::string("本地数据库无法写入（") + refusal.cause + "）：" + store.db().Path());
        other.Exec("ROLLBACK");
        EXPECT_EQ(sync_test::Count(store.db(), "SELECT COUNT(*) FROM DAILY"), 0) << refusal.cause;
    }
}

// Every other write of a synchronisation, a pool import, a cleanup and a
// strategy save, against a read-only database.
TEST_F(HonestSyncTest, EveryOtherWriteReportsAReadOnlyDatabase) {
    TinyServer server([](const httplib::Request& request, httplib::Response& response) {
        response.set_content(request.path == "/login.php"
                                 ? "<r><auth><update>20230110</update></auth><hosts><h><nett>1</nett>"
                                   "<addr>h:1</addr><cmnt>c</cmnt></h></hosts></r>"
                                 : "<r><s><date>20240101</date><market>SS</market><code>600001</code><abbr>A</abbr>"
                                   "<pinyin>A</pinyin><type>1</type></s></r>",
                             "text/xml");
    });
    store_fixture::InsertBars(db_, "SS", "600000", 20230101, 30);
    ASSERT_TRUE(db_.Exec("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES('SS', '600000', 1106)"));
    CDataCenter dc(db_);
    ASSERT_TRUE(dc.LoadStock("600000", "SS"));
    const std::string before = sync_test::DumpAll(db_);
    ASSERT_TRUE(db_.Exec("PRAGMA query_only = 1"));

    std::vector<std::string> shown;
    // The last report of a run that must fail.
    const auto failed = [](const std::function<int(const SyncReporter&)>& run) {
        Reports r;
        EXPECT_EQ(run(r.receiver()), SyncReport::kFailed);
        return r.Last().text;
    };
    ServerInfo info;
    const std::function<std::string()> writes[] = {
        [&] { return failed([&](auto& r) { return RequestServerStatus(db_, server.access(), info, r); }); },
        [&] { return failed([&](auto& r) { return SyncStockCodes(db_, server.access(), r); }); },
        [&] {
            PoolEntry entry;
            entry.market = "SS";
            entry.code = "600001";
            entry.selected = true;
            const PoolAddResult added = AddPoolStocks(db_, {entry});
            EXPECT_EQ(added.inserted, 0);
            return added.failure ? text::GbkToUtf8(added.failure->text) : "";
        },
        [&] {
            Reports r;
            EXPECT_FALSE(RunDataCleanup(db_, 20230110, {{"SS", "600000", "", 20230130}}, r.receiver()));
            return r.Last().text;
        },
        [&] {
            const std::optional<WriteFailure> failure =
                UpdateStrategySignals(db_, dc, {{"SS", "600000", ""}}, true, {}, {});
            return failure ? text::GbkToUtf8(failure->text) : "";
        },
        [&] {
            EXPECT_FALSE(SaveStrategy(db_, dc, "report", [&](std::string_view m) { shown.emplace_back(m); }));
            return shown.empty() ? "" : shown.back();
        },
    };
    for (size_t i = 0; i < std::size(writes); ++i)
        EXPECT_THAT(writes[i](), HasSubstr("本地数据库无法写入（文件只读或没有写权限）：" + db_.Path())) << i;
    EXPECT_THAT(shown.back(), testing::StartsWith("数据库写入异常，破译报告无法保存！\n"));
    ASSERT_TRUE(db_.Exec("PRAGMA query_only = 0"));
    EXPECT_EQ(sync_test::DumpAll(db_), before);
}

// A delete refused by the database is logged, and the run goes on.
TEST_F(HonestSyncTest, AFailedCleanupDeleteIsLoggedAndTheRunGoesOn) {
    store_fixture::InsertBars(db_, "SS", "600000", 20240101, 10);
    store_fixture::InsertBars(db_, "SS", "000001", 20240101, 5);
    db_.Exec("CREATE TRIGGER refuse BEFORE DELETE ON DAILY WHEN OLD.CODE = '600000' "
             "BEGIN SELECT RAISE(ABORT, 'no'); END");
    const std::vector<CleanupStock> chosen = {{"SS", "600000", Gbk("浦发银行"), 0},
                                              {"SS", "000001", Gbk("上证指数"), 0}};
    Reports reports;
    EXPECT_FALSE(RunDataCleanup(db_, 20240102, chosen, reports.receiver()));
    EXPECT_EQ(reports.Texts()[2], "清理 600000 浦发银行 出现未知错误...");
    EXPECT_EQ(reports.Texts()[4], "成功清理 000001 上证指数...");
    EXPECT_EQ(sync_test::Count(db_, "SELECT COUNT(*) FROM DAILY WHERE CODE = '000001'"), 2);
}

}  // namespace
