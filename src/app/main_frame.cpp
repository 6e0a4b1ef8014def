#include "app/main_frame.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMessageBox>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/action_icons.h"
#include "app/browser_window.h"
#include "app/busy_animation.h"
#include "app/dialog_commands.h"
#include "app/korvel_view.h"
#include "app/message_box_sink.h"
#include "app/news_line.h"
#include "app/platform/help_files.h"
#include "app/platform/hot_key.h"
#include "app/platform/web_addresses.h"
#include "app/platform/window_state.h"
#include "datastore/program_version.h"

namespace {

const QString kCaption = QStringLiteral("Korvel");

}  // namespace

CMainFrame::CMainFrame(Session& session) : actions_(this) {
    setWindowTitle(kCaption);
    setWindowIcon(ProgramIcon());
    BuildToolBar(*this, actions_);
    BuildMenus(*this, actions_);
    CreateStatusBar(session);
    setCentralWidget(CreateCentre(session));
    hotKey_ = new GlobalHotKey(this);
    connect(hotKey_, &GlobalHotKey::activated, this, &CMainFrame::ToggleProgramWindows);
    ConnectFrameCommands();
}

CMainFrame::~CMainFrame() = default;

QWidget* CMainFrame::CreateCentre(Session& session) {
    auto* centre = new QWidget;
    auto* layout = new QVBoxLayout(centre);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    view_ = new CKorvelView(session, actions_);
    new DialogCommands(session, actions_, *view_);  // owned by the view
    layout->addWidget(view_, 1);
    tabs_ = new QTabBar;
    tabs_->setFixedHeight(20);
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    tabs_->setStyleSheet(QStringLiteral(
        "QTabBar::tab { height: 18px; padding: 0px 16px; border: 1px solid #a0a0a0; border-top: none;"
        " background: #dcdcdc; margin-right: -1px; }"
        "QTabBar::tab:selected { background: #ffffff; }"));
    tabs_->addTab(QStringLiteral("自选股"));
    tabs_->addTab(QStringLiteral("走势图"));
    layout->addWidget(tabs_);
    connect(tabs_, &QTabBar::currentChanged, view_, &CKorvelView::SetMode);
    connect(view_, &CKorvelView::modeChanged, tabs_, [this](int mode) {
        const QSignalBlocker quiet(tabs_);
        tabs_->setCurrentIndex(mode);
    });
    connect(view_, &CKorvelView::busyStarted, busy_, &BusyAnimation::Start);
    connect(view_, &CKorvelView::busyStopped, busy_, &BusyAnimation::Stop);
    if (view_->IsBusy()) busy_->Start();  // the first stock opened while the view was set up
    return centre;
}

void CMainFrame::CreateStatusBar(Session& session) {
    QStatusBar* bar = statusBar();
    auto* share = new QPushButton(QStringLiteral("和朋友分享『Korvel』"));
    share->setObjectName(QStringLiteral("share"));
    share->setFlat(true);
    share->setFixedWidth(140);
    share->setCursor(Qt::PointingHandCursor);
    connect(share, &QPushButton::clicked, this, &CMainFrame::ShareWithFriends);
    NewsLine::Openers openers{[this](const QString& url) { OpenInOwnBrowser(url); },
                              [this](const QString& url) { OpenInSystemBrowser(url); },
                              [this](const QString& message) { ShowInformation(this, message); }};
    news_ = new NewsLine(session.server.news, openers);
    news_->setFixedWidth(260);
    busy_ = new BusyAnimation;
    bar->addPermanentWidget(share);
    bar->addPermanentWidget(news_);
    bar->addPermanentWidget(busy_);
}

void CMainFrame::ConnectFrameCommands() {
    connect(actions_.exit, &QAction::triggered, this, &QWidget::close);
    connect(actions_.about, &QAction::triggered, this, &CMainFrame::ShowAbout);
    connect(actions_.quickStart, &QAction::triggered, this, &CMainFrame::OpenUserGuide);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::ApplicationShortcut);
    connect(help, &QShortcut::activated, this, &CMainFrame::OpenUserGuide);
}

void CMainFrame::RestoreAndShow() {
    if (!RestoreFrameState(*this)) resize(1280, 800);
    show();
}

void CMainFrame::ShowDigest(const std::vector<DigestRow>& rows) {
    if (rows.empty()) return;
    if (digest_) digest_->close();
    digest_ = new CDigestNotice(rows, [this](const std::string& market, const std::string& code) {
        if (!view_->OpenStock(code, market)) return;  // no bars to show
        view_->SetMode(CKorvelView::kChartMode);
    }, this);
    addDockWidget(Qt::RightDockWidgetArea, digest_);
}

void CMainFrame::ShowAndRaise() {
    if (isMinimized()) showNormal();
    else show();
    raise();
    activateWindow();
}

void CMainFrame::OpenInOwnBrowser(const QString& address) {
    if (browser_) browser_->close();
    browser_ = new BrowserWindow(this);
    browser_->Open(address);
    browser_->show();
}

void CMainFrame::OpenInSystemBrowser(const QString& url) {
    // Without a desktop browser the page still opens, in our own window.
    if (!::OpenInSystemBrowser(url)) OpenInOwnBrowser(url);
}

void CMainFrame::OpenUserGuide() {
    const QString guide = UserGuidePath();
    if (guide.isEmpty()) {
        ShowInformation(this, QStringLiteral("找不到使用说明（user-guide.md）。"));
        return;
    }
    OpenInOwnBrowser(guide);
}

void CMainFrame::ShareWithFriends() {
    const QString text =
        QStringLiteral("『Korvel策略大师』的下载地址是:\r\n ") + QString::fromLatin1(kDownloadUrl);
    QApplication::clipboard()->setText(text);
    const QString note = QStringLiteral("以下内容已经复制到剪贴板，请粘贴到QQ等聊天工具发送给您的朋友：\r\n\r\n") + text;
    ShowInformation(this, QString(note).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void CMainFrame::ShowAbout() {
    QMessageBox::about(this, QStringLiteral("关于 Korvel"),
                       QStringLiteral("<h3>Korvel策略大师</h3><p>版本 %1</p>"
                                      "<p>A股操盘策略：用基因表达式编程为您的自选股培育交易规则，"
                                      "并给出每日操盘信号。</p>")
                           .arg(QLatin1String(version::kText)));
}

void CMainFrame::ToggleProgramWindows() {
    // A key of our own windows only could never bring hidden windows back.
    if (!hotKey_->IsGlobal()) {
        isMinimized() ? showNormal() : showMinimized();
        return;
    }
    if (isVisible()) {
        hiddenWindows_.clear();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->isVisible()) continue;
            hiddenWindows_.append(window);
            window->hide();
        }
        return;
    }
    for (const QPointer<QWidget>& window : hiddenWindows_)
        if (window) window->show();
    if (!isVisible()) show();
    hiddenWindows_.clear();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    SaveFrameState(*this);
    QMainWindow::closeEvent(event);
}

void CMainFrame::changeEvent(QEvent* event) {
    // Whatever sets another caption, the frame keeps its own.
    if (event->type() == QEvent::WindowTitleChange && windowTitle() != kCaption) setWindowTitle(kCaption);
    QMainWindow::changeEvent(event);
}
