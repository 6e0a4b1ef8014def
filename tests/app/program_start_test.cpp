// The start page against a real korvel-server on loopback (the status
// request, the whole synchronisation with the digest it leaves), and a
// second copy of the program: it shows its own start page first (offline:
// nobody answers), then says the program runs already, asks the first copy
// to the front and ends.
#include <signal.h>

#include <QLabel>

#include "../support/run_process.h"
#include "../support/server_process.h"
#include "app/korvel_app.h"
#include "app/platform/single_instance.h"
#include "app/start_page.h"
#include "app_fixture.h"

using namespace app_test;

namespace {

QPushButton* Button(QWidget& page, const char* name) { return page.findChild<QPushButton*>(QLatin1String(name)); }
QString Status(QWidget& page) { return page.findChild<QLabel*>(QStringLiteral("status"))->text(); }

}  // namespace

TEST(StartPage, StatusThenSynchronisationWithTheServer) {
    testing_support::TempDir serverData;
    ASSERT_EQ(testing_support::RunServerCommand({"init-demo", "--data", serverData.path().string()}).exitCode, 0);
    testing_support::ServerProcess server(serverData.path().string());
    AppStore store(server.host());
    store.Watch("SS", "600000", "x");  // an advice the synchronisation replaces: the digest's one row
    CStartpageDlg page(store.session);
    page.show();
    const auto allEnabled = [&] {
        return Button(page, "enter")->isEnabled() && Button(page, "synchronise")->isEnabled();
    };
    EXPECT_FALSE(Button(page, "enter")->isEnabled());  // until the status arrives
    ASSERT_TRUE(WaitUntil(allEnabled));
    EXPECT_EQ(Button(page, "enter")->text(), QStringLiteral("登录"));
    EXPECT_TRUE(Status(page).startsWith(QStringLiteral("服务器最新收盘数据 2022-01-14")));
    EXPECT_TRUE(Status(page).endsWith(QStringLiteral("★数据需要同步★")));

    Button(page, "synchronise")->click();
    EXPECT_FALSE(allEnabled());
    ASSERT_TRUE(WaitUntil(allEnabled, 60000));
    EXPECT_EQ(Status(page), QStringLiteral("日线数据同步更新完毕。"));
    ASSERT_EQ(page.Digest().size(), 1u);
    EXPECT_EQ(page.Digest()[0].code + page.Digest()[0].before, "600000x");
}

// The second copy's start page finds no server: it offers offline use.
TEST(SingleInstance, SecondCopyEndsAfterItsStartPageAndRaisesTheFirst) {
    const QString name = QStringLiteral("korvel-test-%1").arg(QCoreApplication::applicationPid());
    int raised = 0;
    InstanceListener first(name, [&raised] { ++raised; });
    ASSERT_TRUE(first.IsListening());

    testing_support::TempDir stateDir;
    qputenv("XDG_STATE_HOME", QByteArray::fromStdString(stateDir.path().string()));
    const int fatal[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};
    struct sigaction saved[5];  // the sanitizers' handlers, put back below
    for (int i = 0; i < 5; ++i) sigaction(fatal[i], nullptr, &saved[i]);

    AppStore store;  // a database with the host where nobody answers
    CKorvelApp second({store.dir.path(), name, true});
    bool startPageSeen = false;
    QString message;
    QTimer leave;  // leaves the start page once its status request has failed
    QObject::connect(&leave, &QTimer::timeout, [&] {
        auto* page = qobject_cast<CStartpageDlg*>(QApplication::activeModalWidget());
        auto* enter = page ? Button(*page, "enter") : nullptr;
        if (enter == nullptr || !enter->isEnabled()) return;
        startPageSeen = true;
        leave.stop();
        EXPECT_EQ(enter->text(), QStringLiteral("离线使用"));
        EXPECT_FALSE(Button(*page, "synchronise")->isEnabled());
        EXPECT_TRUE(Button(*page, "switchServer")->isEnabled());
        EXPECT_EQ(Status(*page), QStringLiteral("服务器无法访问，请切换至其他服务器。"));
        AnswerNextMessageBox(QMessageBox::Ok, &message);
        enter->click();
    });
    leave.start(20);
    EXPECT_FALSE(second.InitInstance());
    for (int i = 0; i < 5; ++i) sigaction(fatal[i], &saved[i], nullptr);
    qunsetenv("XDG_STATE_HOME");

    EXPECT_TRUE(startPageSeen);
    EXPECT_EQ(message, QStringLiteral("Korvel策略大师已经在运行了"));
    EXPECT_EQ(second.MainFrame(), nullptr);
    EXPECT_TRUE(WaitUntil([&raised] { return raised == 1; }, 5000));
}
