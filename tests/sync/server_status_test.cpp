// The server status request against korvel-server and against replies the
// real server never sends.
#include <gtest/gtest.h>

#include "../datastore/store_fixture.h"
#include "datastore/settings.h"
#include "sync/server_status.h"
#include "sync_fixture.h"

namespace {

using sync_test::Gbk;
using sync_test::Reports;
using sync_test::TinyServer;

class ServerStatusTest : public testing::Test {
protected:
    store_fixture::Store store_;
    Database& db_ = store_.db();
    ServerInfo info_;
    Reports reports_;
};

TEST_F(ServerStatusTest, ReadsDatesNewsAndHostsAndAsksForASyncWhileLocalDataIsOlder) {
    sync_test::TestServer server;
    server.Import("import-news", "--news", "popp,vrsn,title,addr,text\n3,7,第一条,http://a/,内容\n0,8,第二条,,\n");
    server.Start();
    store_fixture::InsertBar(db_, "SS", "600000", 20111219, 10, 11, 9, 10, 100);

    EXPECT_EQ(RequestServerStatus(db_, server.access(), info_, reports_.receiver()), SyncReport::kSucceeded);
    EXPECT_EQ(reports_.Texts(),
              (std::vector<std::string>{"正在检查服务器...", "服务器最新收盘数据 2011-12-20 ★数据需要同步★"}));
    EXPECT_EQ(info_.cleanto, 20111010);  // five trading days before
    ASSERT_EQ(info_.news.size(), 2u);
    EXPECT_EQ(info_.news[0].vrsn, 7);
    EXPECT_EQ(info_.news[0].titl, Gbk("第一条"));
    // With no hosts configured the server offers itself.
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

TEST_F(ServerStatusTest, ShortOrNonXmlRepliesAndNoServerFailAndChangeNothing) {
    info_.update = 20200101;
    info_.hosts = {{1, "kept:80", "kept"}};
    db_.Exec("INSERT INTO HOST VALUES('kept:80', 1, 'kept')");
    for (const char* body : {"OK", "  \r\n", "<html><p>Server busy, please try later<br></html>"}) {
        TinyServer server(TinyServer::Always(body));
        Reports reports;
        EXPECT_EQ(RequestServerStatus(db_, server.access(), info_, reports.receiver()), SyncReport::kFailed);
        EXPECT_EQ(reports.Last().text, "服务器无法访问，请切换至其他服务器。") << body;
    }
    Reports reports;
    EXPECT_EQ(RequestServerStatus(db_, ServerAccess{sync_test::ClosedHost(), 1, {}}, info_, reports.receiver()),
              SyncReport::kFailed);
    EXPECT_EQ(reports.Last().text, "服务器无法访问，请切换至其他服务器。");
    EXPECT_EQ(info_.update, 20200101);
    ASSERT_EQ(info_.hosts.size(), 1u);
    EXPECT_EQ(sync_test::Count(db_, "SELECT COUNT(*) FROM HOST"), 1);
}

// Switching servers end to end: korvel-cli status --switch (sync_cli_test.cpp).
TEST_F(ServerStatusTest, AHostThatCannotBeStoredLeavesTheSettingsAlone) {
    SettingsMap settings;
    ASSERT_TRUE(LoadSettings(db_, settings, {}));
    db_.Exec("DROP TABLE APPSET");
    std::string shown;
    EXPECT_FALSE(SwitchServer(db_, settings, "other:80", [&](std::string_view m) { shown = m; }));
    EXPECT_EQ(shown, "不可预知的错误，数据库无法访问！");
    EXPECT_EQ(GetSetting(settings, "HOST"), kDefaultHost);
}

}  // namespace
