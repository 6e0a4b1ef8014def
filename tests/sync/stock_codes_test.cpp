// Stock code synchronisation against replies the real server never sends
// (the first run, a rename and the cursor end to end in sync_cli_test.cpp).
#include <gtest/gtest.h>

#include "../datastore/store_fixture.h"
#include "sync/stock_codes.h"
#include "sync_fixture.h"

namespace {

using sync_test::Gbk;
using sync_test::Reports;
using sync_test::TinyServer;

class StockCodesTest : public testing::Test {
protected:
    store_fixture::Store store_;
    Database& db_ = store_.db();
    Reports reports_;
};

TEST_F(StockCodesTest, ARecordWithoutANumericTypeIsSkipped) {
    TinyServer server(TinyServer::Always(
        "<stocks><stock><date>20240101</date><market>SS</market><code>600000</code><abbr>A</abbr>"
        "<pinyin>A</pinyin><type>1</type></stock>"
        "<stock><date>20240102</date><market>SS</market><code>600004</code><abbr>B</abbr><pinyin>B</pinyin>"
        "<type></type></stock>"
        "<stock><date>20240103</date><market>SS</market><code>600009</code><abbr>C'D</abbr><pinyin>C</pinyin>"
        "<type>1); DELETE FROM STOCKCODE; --</type></stock></stocks>"));
    ASSERT_EQ(SyncStockCodes(db_, server.access(), reports_.receiver()), SyncReport::kSucceeded);
    EXPECT_EQ(sync_test::Dump(db_, "STOCKCODE"), "20240101|SS|600000|A|A|1|");
    EXPECT_NE(server.Paths().front().find("code.php"), std::string::npos);
}

TEST_F(StockCodesTest, AShortReplyFailsAndANonXmlReplyStoresNothing) {
    store_fixture::InsertStock(db_, "SS", "600000", "A", "A", 1);
    const std::string before = sync_test::Dump(db_, "STOCKCODE");
    {
        TinyServer server(TinyServer::Always(Gbk("错误")));
        ASSERT_EQ(SyncStockCodes(db_, server.access(), reports_.receiver()), SyncReport::kFailed);
        EXPECT_EQ(reports_.Last().text, "无法下载数据，请切换至其他服务器。");
    }
    {
        TinyServer server(TinyServer::Always("<html><body>Gateway timeout<br></body></html>"));
        Reports reports;
        ASSERT_EQ(SyncStockCodes(db_, server.access(), reports.receiver()), SyncReport::kSucceeded);
        EXPECT_EQ(reports.Texts(), (std::vector<std::string>{"从服务器获取股票代码更新...", "股票代码同步更新完毕。"}));
    }
    EXPECT_EQ(sync_test::Dump(db_, "STOCKCODE"), before);
}

}  // namespace
