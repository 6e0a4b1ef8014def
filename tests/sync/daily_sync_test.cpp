// Daily bar and dividend synchronisation against korvel-server: repeated
// downloads and a server that goes away. The job builders and a first
// download are checked end to end through korvel-cli sync and open
// (sync_cli_test.cpp); a missing, short or non-XML reply goes the same way
// as the vanished server's, and each is read in reply_checks_test.cpp.
#include <gtest/gtest.h>

#include "../datastore/store_fixture.h"
#include "datastore/data_center.h"
#include "sync/daily_sync.h"
#include "sync_fixture.h"

namespace {

using sync_test::Gbk;
using sync_test::Reports;

// What the signal step was asked to do.
struct SignalCall {
    std::vector<SignalJob> jobs;
    bool allSignals = false;
    int calls = 0;
};

class DailySyncTest : public testing::Test {
protected:
    int Run(const ServerAccess& server, const std::vector<SyncJob>& jobs, bool allSignals = true, int update = 0) {
        const DailySyncRequest request{jobs, allSignals, update};
        return RunDailySync(db_, dc_, server, request, reports_.receiver(), {}, RecordSignals());
    }

    SignalStep RecordSignals() {
        return [this](Database&, CDataCenter&, const std::vector<SignalJob>& jobs, bool allSignals,
                      const SignalProgress& progress, const MessageSink&) -> std::optional<WriteFailure> {
            signals_.jobs = jobs;
            signals_.allSignals = allSignals;
            ++signals_.calls;
            progress(Gbk("signal step"));
            return std::nullopt;
        };
    }

    int Bars(const std::string& market, const std::string& code) {
        return sync_test::Count(db_, "SELECT COUNT(*) FROM DAILY WHERE MARKET = '" + market + "' AND CODE = '" +
                                         code + "'");
    }

    store_fixture::Store store_;
    Database& db_ = store_.db();
    CDataCenter dc_{db_};
    Reports reports_;
    SignalCall signals_;
};

TEST_F(DailySyncTest, DownloadingARangeAgainChangesNothing) {
    sync_test::TestServer server;
    server.Start();
    const SyncJob year2010 = {"SZ", "000002", "", 20100101, 20101231};
    ASSERT_EQ(Run(server.access(), {year2010}), SyncReport::kSucceeded);
    EXPECT_EQ(Bars("SZ", "000002"), 24);
    // A stored row is never replaced by a later download.
    db_.Exec("UPDATE DAILY SET DCLOSE = 1 WHERE DDATE = 20100610");
    const std::string before = sync_test::DumpAll(db_);
    ASSERT_EQ(Run(server.access(), {year2010, year2010}, false), SyncReport::kSucceeded);
    EXPECT_EQ(sync_test::DumpAll(db_), before);
    EXPECT_EQ(sync_test::Count(db_, "SELECT DCLOSE FROM DAILY WHERE DDATE = 20100610"), 1);
    // Both jobs go to the signal step, which handles the repeated stock once.
    EXPECT_EQ(signals_.jobs.size(), 2u);
    EXPECT_FALSE(signals_.allSignals);
}

TEST_F(DailySyncTest, AServerGoneAfterTheThirdOfFiveJobsLeavesTheRestUndownloaded) {
    sync_test::TestServer server;
    server.Start();
    std::vector<SyncJob> jobs;
    for (size_t i = 0; i < 5; ++i) {
        const sync_test::TestStock& s = sync_test::TestStocks()[i];
        jobs.push_back({s.market, s.code, Gbk(s.name), 0, kNoUpperBound});
    }
    // Stop the server as the fourth job starts.
    const SyncReporter stopAtFourth = [&](const SyncReport& report) {
        reports_.receiver()(report);
        if (report.text == Gbk("正在更新除权数据： 000002 万科Ａ...")) server.Stop();
    };
    const DailySyncRequest request{jobs, true, 20111220};
    EXPECT_EQ(RunDailySync(db_, dc_, server.access(), request, stopAtFourth, {}, RecordSignals()), SyncReport::kFailed);

    EXPECT_EQ(Bars("SZ", "000001"), 96);
    EXPECT_EQ(Bars("SZ", "000002") + Bars("SZ", "000651"), 0);
    EXPECT_EQ(signals_.calls, 1);
    ASSERT_EQ(signals_.jobs.size(), 5u);
    const std::vector<std::string> texts = reports_.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "正在更新日线数据： 000002 万科Ａ..."), 0);
    EXPECT_EQ(texts[texts.size() - 2], "signal step");
    EXPECT_EQ(reports_.Last().result, SyncReport::kFailed);
    EXPECT_EQ(reports_.Last().text, "无法下载数据，请切换到其他服务器。");
}

}  // namespace
