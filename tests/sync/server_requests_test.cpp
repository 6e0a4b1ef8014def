// The status, stock code and stock pool requests against korvel-server and
// against replies the real server never sends (end to end through korvel-cli
// status, sync and pool in sync_cli_test.cpp).
#include <gtest/gtest.h>

#include <functional>

#include "../datastore/store_fixture.h"
#include "datastore/settings.h"
#include "sync/server_status.h"
#include "sync/stock_codes.h"
#include "sync/stock_pool.h"
#include "sync_fixture.h"

namespace {

using sync_test::Gbk;
using sync_test::Reports;
using sync_test::TinyServer;

class RequestTest : public testing::Test {
protected:
    store_fixture::Store store_;
    Database& db_ = store_.db();
    ServerInfo info_;
};
using ServerStatusTest = RequestTest;
using StockCodesTest = RequestTest;

TEST_F(ServerStatusTest, ReadsNewsAndStoresTheServerItselfWhenItHasNoHosts) {
    sync_test::TestServer server;
    server.Import("import-news", "--news", "popp,vrsn,title,addr,text\n3,7,第一条,http://a/,内容\n0,8,第二条,,\n");
    server.Start();
    EXPECT_EQ(RequestServerStatus(db_, server.access(), info_, {}), SyncReport::kSucceeded);
    ASSERT_EQ(info_.news.size(), 2u);
    EXPECT_EQ(info_.news[0].vrsn, 7);
    EXPECT_EQ(info_.news[0].titl, Gbk("第一条"));
    EXPECT_EQ(sync_test::Dump(db_, "HOST"), server.host() + "|0|" + Gbk("本机数据服务器") + "|");

    // Equal dates: the line ends after the date.
    store_fixture::InsertBar(db_, "SS", "600000", 20111220, 10, 11, 9, 10, 100);
    EXPECT_EQ(sync_test::Gbk("服务器最新收盘数据 2011-12-20"), StatusText(db_, 20111220));
    EXPECT_EQ(StatusText(db_, 0), "");
}

TEST_F(ServerStatusTest, AnEmptyHostListKeepsTheTableForTheMenu) {
    TinyServer server(TinyServer::Always(
        "<status><auth><update>20240111</update><cleanto>20240104</cleanto></auth><news/><hosts></hosts></status>"));
    db_.Exec("INSERT INTO HOST VALUES('a.example:80', 1, 'A')");
    db_.Exec("INSERT INTO HOST VALUES('b.example:80', 2, 'B')");
    const std::string before = sync_test::Dump(db_, "HOST");

    ASSERT_EQ(RequestServerStatus(db_, server.access(), info_, {}), SyncReport::kSucceeded);
    EXPECT_EQ(sync_test::Dump(db_, "HOST"), before);
    const std::vector<HostEntry> menu = ServerMenuHosts(db_, info_);
    ASSERT_EQ(menu.size(), 2u);
    EXPECT_EQ(menu[1].addr, "b.example:80");
    EXPECT_EQ(menu[1].nett, 2);
}

TEST_F(ServerStatusTest, AHostThatCannotBeStoredLeavesTheSettingsAlone) {
    SettingsMap settings;
    ASSERT_TRUE(LoadSettings(db_, settings, {}));
    db_.Exec("DROP TABLE APPSET");
    std::string shown;
    EXPECT_FALSE(SwitchServer(db_, settings, "other:80", [&](std::string_view m) { shown = m; }));
    EXPECT_EQ(shown, "不可预知的错误，数据库无法访问！");
    EXPECT_EQ(GetSetting(settings, "HOST"), kDefaultHost);
}

TEST_F(StockCodesTest, ARecordWithoutANumericTypeIsSkipped) {
    TinyServer server(TinyServer::Always(
        "<stocks><stock><date>20240101</date><market>SS</market><code>600000</code><abbr>A</abbr>"
        "<pinyin>A</pinyin><type>1</type></stock>"
        "<stock><date>20240102</date><market>SS</market><code>600004</code><abbr>B</abbr><pinyin>B</pinyin>"
        "<type></type></stock>"
        "<stock><date>20240103</date><market>SS</market><code>600009</code><abbr>C'D</abbr><pinyin>C</pinyin>"
        "<type>1); DELETE FROM STOCKCODE; --</type></stock></stocks>"));
    ASSERT_EQ(SyncStockCodes(db_, server.access(), {}), SyncReport::kSucceeded);
    EXPECT_EQ(sync_test::Dump(db_, "STOCKCODE"), "20240101|SS|600000|A|A|1|");
}

// The result and last report of a request.
std::string Outcome(int result, const Reports& reports) {
    return (result == SyncReport::kSucceeded ? "done: " : "failed: ") + reports.Last().text;
}

// Replies too short to be one, or not XML: each request fails or gives
// nothing, as its caller expects, and nothing held changes.
TEST_F(RequestTest, ShortOrNonXmlRepliesChangeNothing) {
    info_.update = 20200101;
    info_.hosts = {{1, "kept:80", "kept"}};
    db_.Exec("INSERT INTO HOST VALUES('kept:80', 1, 'kept')");
    store_fixture::InsertStock(db_, "SS", "600000", "A", "A", 1);
    const std::string before = sync_test::DumpAll(db_);
    using Request = std::function<std::string(const ServerAccess&)>;
    const Request status = [&](const ServerAccess& server) {
        Reports reports;
        return Outcome(RequestServerStatus(db_, server, info_, reports.receiver()), reports);
    };
    const Request codes = [&](const ServerAccess& server) {
        Reports reports;
        return Outcome(SyncStockCodes(db_, server, reports.receiver()), reports);
    };
    const Request pool = [](const ServerAccess& server) {
        const std::optional<StockPool> fetched = FetchPool(server, "vpool");
        return fetched ? std::to_string(fetched->entries.size()) + " entries" : "no pool";
    };
    const std::string html = "<html><body>Gateway timeout<br></body></html>";
    const struct {
        const Request& request;
        std::string body, outcome;
    } cases[] = {
        {status, "OK", "failed: 服务器无法访问，请切换至其他服务器。"},
        {status, "  \r\n", "failed: 服务器无法访问，请切换至其他服务器。"},
        {status, html, "failed: 服务器无法访问，请切换至其他服务器。"},
        {codes, Gbk("错误"), "failed: 无法下载数据，请切换至其他服务器。"},
        {codes, html, "done: 股票代码同步更新完毕。"},
        {pool, "<stockpool><pool>", "no pool"},
        {pool, "<a/>", "0 entries"},  // even a short reply is read when it is XML
    };
    for (const auto& c : cases) {
        TinyServer server(TinyServer::Always(c.body));
        EXPECT_EQ(c.request(server.access()), c.outcome) << c.body;
    }
    EXPECT_EQ(info_.update, 20200101);
    EXPECT_EQ(info_.hosts.size(), 1u);
    EXPECT_EQ(sync_test::DumpAll(db_), before);
}

// A typed value passes unchanged only as letters, digits and -._~; anything
// else is percent-encoded, so it cannot add a parameter to the request.
TEST(RequestUrl, TypedValuesAreSentPercentEncoded) {
    std::string target;
    TinyServer server([&](const httplib::Request& request, httplib::Response& response) {
        target = request.target;
        response.set_content("<a/>", "text/xml");
    });
    FetchPool(server.access(), "AZaz09-._~ &=%/:@[`{");
    EXPECT_TRUE(target.ends_with("&modl=AZaz09-._~%20%26%3D%25%2F%3A%40%5B%60%7B")) << target;
}

}  // namespace
