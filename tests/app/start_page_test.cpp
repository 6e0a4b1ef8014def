// The start page against a real korvel-server on loopback: the status
// request, the whole synchronisation with the digest it leaves, then the
// server gone.
#include <QLabel>
#include <QPushButton>

#include "app/gbk_text.h"
#include "app/start_page.h"
#include "app_fixture.h"
#include "../support/run_process.h"
#include "../support/server_process.h"
#include "../support/test_store.h"

using namespace app_test;
using testing_support::Count;

namespace {

struct Page {
    explicit Page(Session& session) : dialog(session) { dialog.show(); }
    QPushButton* Button(const char* name) { return dialog.findChild<QPushButton*>(QLatin1String(name)); }
    QString Status() { return dialog.findChild<QLabel*>(QStringLiteral("status"))->text(); }
    bool AllEnabled() { return Button("enter")->isEnabled() && Button("synchronise")->isEnabled(); }

    CStartpageDlg dialog;
};

}  // namespace

TEST(StartPage, StatusThenSynchronisationWithTheServerThenOfflineWithout) {
    testing_support::TempDir serverData;
    ASSERT_EQ(testing_support::RunServerCommand({"init-demo", "--data", serverData.path().string()}).exitCode, 0);
    auto server = std::make_unique<testing_support::ServerProcess>(serverData.path().string());
    AppStore store(server->host());
    store.Watch("SS", "600000", "x");  // an advice the synchronisation replaces: the digest's one row
    {
        Page page(store.session);
        EXPECT_FALSE(page.Button("enter")->isEnabled());  // until the status arrives
        ASSERT_TRUE(WaitUntil([&] { return page.AllEnabled(); }));
        EXPECT_EQ(page.Button("enter")->text(), QStringLiteral("登录"));
        EXPECT_TRUE(page.Status().startsWith(QStringLiteral("服务器最新收盘数据 2022-01-14")));
        EXPECT_TRUE(page.Status().endsWith(QStringLiteral("★数据需要同步★")));

        page.Button("synchronise")->click();
        EXPECT_FALSE(page.AllEnabled());
        ASSERT_TRUE(WaitUntil([&] { return page.AllEnabled(); }, 60000));
        EXPECT_EQ(page.Status(), QStringLiteral("日线数据同步更新完毕。"));
        EXPECT_EQ(Count(store.db(), "SELECT COUNT(*) FROM STOCKCODE"), 13);
        EXPECT_GT(Count(store.db(), "SELECT COUNT(*) FROM DAILY WHERE CODE = '600000'"), 4000);
        EXPECT_GT(Count(store.db(), "SELECT COUNT(*) FROM DIVIDEND WHERE CODE = '600000'"), 10);
        ASSERT_EQ(page.dialog.Digest().size(), 1u);
        EXPECT_EQ(page.dialog.Digest()[0].code + page.dialog.Digest()[0].before, "600000x");
    }
    server.reset();
    Page page(store.session);
    ASSERT_TRUE(WaitUntil([&] { return page.Button("enter")->isEnabled(); }));
    EXPECT_EQ(page.Button("enter")->text(), QStringLiteral("离线使用"));
    EXPECT_FALSE(page.Button("synchronise")->isEnabled());
    EXPECT_TRUE(page.Button("switchServer")->isEnabled());
    EXPECT_EQ(page.Status(), QStringLiteral("服务器无法访问，请切换至其他服务器。"));
}
