// Data cleanup: the list of stocks with bars and the worker's deletes and
// log lines.
#include <gtest/gtest.h>

#include "../datastore/store_fixture.h"
#include "sync/data_cleanup.h"
#include "sync_fixture.h"

namespace {

using sync_test::Gbk;

class DataCleanupTest : public testing::Test {
protected:
    void SetUp() override {
        store_fixture::InsertStock(db_, "SS", "600000", Gbk("浦发银行"), "PFYH", 1);
        store_fixture::InsertStock(db_, "SS", "000001", Gbk("上证指数"), "SZZS", 0);
        store_fixture::InsertBars(db_, "SS", "600000", 20240101, 10);  // up to 20240110
        store_fixture::InsertBars(db_, "SS", "000001", 20240101, 5);   // up to 20240105
    }
    store_fixture::Store store_;
    Database& db_ = store_.db();
};

// Listing and a clean run end to end: korvel-cli cleanup (sync_cli_test.cpp).
TEST_F(DataCleanupTest, AFailedDeleteIsLoggedAndTheRunGoesOn) {
    db_.Exec("CREATE TRIGGER refuse BEFORE DELETE ON DAILY WHEN OLD.CODE = '600000' BEGIN SELECT RAISE(ABORT, 'no'); END");
    const std::vector<CleanupStock> chosen = {{"SS", "600000", Gbk("浦发银行"), 0}, {"SS", "000001", Gbk("上证指数"), 0}};
    sync_test::Reports reports;
    EXPECT_FALSE(RunDataCleanup(db_, 20240102, chosen, reports.receiver()));
    EXPECT_EQ(reports.Texts()[2], "清理 600000 浦发银行 出现未知错误...");
    EXPECT_EQ(reports.Texts()[4], "成功清理 000001 上证指数...");
    EXPECT_EQ(sync_test::Count(db_, "SELECT COUNT(*) FROM DAILY WHERE CODE = '000001'"), 2);
}

}  // namespace
