// A second copy of the program: it shows its own start page first, then
// says the program runs already, asks the first copy to the front and ends.
#include <signal.h>

#include <QPushButton>

#include "app/korvel_app.h"
#include "app/platform/single_instance.h"
#include "app/start_page.h"
#include "app_fixture.h"

using namespace app_test;

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
        auto* enter = page ? page->findChild<QPushButton*>(QStringLiteral("enter")) : nullptr;
        if (enter == nullptr || !enter->isEnabled()) return;
        startPageSeen = true;
        leave.stop();
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
