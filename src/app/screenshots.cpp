#include "app/screenshots.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QThread>

#include <cstdio>
#include <functional>

#include "app/code_helper_dlg.h"
#include "app/dialog_shots.h"
#include "app/korvel_app.h"
#include "app/korvel_view.h"
#include "app/main_frame.h"
#include "app/start_page.h"
#include "strategy/advice_digest.h"

namespace {

constexpr int kShotWaitMs = 20000;

// Handles events until `done` holds or the time is up.
bool WaitFor(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(kShotWaitMs);
    while (!done() && !deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    QApplication::processEvents();
    return done();
}

bool Save(const QPixmap& picture, const QString& path) {
    const bool saved = picture.save(path);
    std::printf("%s %s\n", saved ? "wrote" : "cannot write", qPrintable(path));
    return saved;
}

// A tool window (the code search, the advice panel) over the main window,
// where it pops up, with a plain title bar in place of the window manager's.
QPixmap WithToolWindow(CMainFrame& frame, QWidget& search) {
    QPixmap picture = frame.grab();
    const QPixmap window = search.grab();
    constexpr int kTitle = 22;
    const QPoint at = search.geometry().topLeft() - frame.geometry().topLeft() - QPoint(0, kTitle);
    QPainter painter(&picture);
    painter.fillRect(QRect(at, QSize(window.width(), kTitle)), QColor(40, 70, 130));
    painter.setPen(Qt::white);
    painter.drawText(QRect(at + QPoint(6, 0), QSize(window.width(), kTitle)), Qt::AlignVCenter,
                     search.windowTitle());
    painter.drawPixmap(at + QPoint(0, kTitle), window);
    painter.setPen(QColor(40, 70, 130));
    painter.drawRect(QRect(at, QSize(window.width() - 1, window.height() + kTitle - 1)));
    return picture;
}

}  // namespace

int RenderScreenshots(CKorvelApp& app, const QString& folder) {
    if (!QDir().mkpath(folder)) return 1;
    bool ok = true;
    {
        CStartpageDlg page(app.GetSession());
        page.show();
        // The status request starts a second after showing; wait for its answer.
        auto* enter = page.findChild<QPushButton*>(QStringLiteral("enter"));
        WaitFor([enter] { return enter->isEnabled(); });
        ok = Save(page.grab(), folder + QStringLiteral("/start-page.png")) && ok;
    }
    CMainFrame frame(app.GetSession());
    frame.resize(1240, 600);
    frame.show();
    CKorvelView& view = *frame.View();
    WaitFor([&view] { return view.Jobs().Running() == 0; });
    view.List()->selectRow(0);
    ok = Save(frame.grab(), folder + QStringLiteral("/watch-list.png")) && ok;

    CCodeHelperDlg& search = *view.CodeSearch();
    search.OpenWith(QStringLiteral("6"));
    WaitFor([&search] { return search.isVisible(); });
    ok = Save(WithToolWindow(frame, search), folder + QStringLiteral("/code-search.png")) && ok;
    search.hide();

    // The notice the start page's synchronisation leaves when it changed advice.
    const std::vector<DigestRow> digest = LastSyncDigest(app.GetSession().Db());
    if (digest.empty()) {
        std::printf("no advice changed in the last synchronisation: no digest-notice.png\n");
    } else {
        frame.ShowDigest(digest);
        WaitFor([&frame] { return frame.Digest()->isVisible(); });
        ok = Save(frame.grab(), folder + QStringLiteral("/digest-notice.png")) && ok;
        frame.Digest()->close();
    }

    // Chart mode: the first bred stock of the list with MA, VOL and its marks.
    view.OpenStock("600000", "SS");
    view.SetMode(CKorvelView::kChartMode);
    WaitFor([&view] { return view.Jobs().Running() == 0; });
    view.Chart()->ZoomIn();
    ok = Save(WithToolWindow(frame, *view.AdvicePanel()), folder + QStringLiteral("/chart-mode.png")) && ok;
    view.SetMode(CKorvelView::kListMode);
    ok = RenderDialogShots(app.GetSession(), folder) && ok;
    return ok ? 0 : 1;
}
