#include "app/start_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/gbk_text.h"
#include "app/message_box_sink.h"
#include "datastore/program_version.h"
#include "sync/daily_sync.h"
#include "sync/stock_codes.h"

namespace {

constexpr int kBannerHeight = 150;

QPushButton* AddButton(QHBoxLayout* row, const QString& label, const char* name) {
    auto* button = new QPushButton(label);
    button->setObjectName(QLatin1String(name));
    button->setMinimumWidth(96);
    row->addWidget(button);
    return button;
}

}  // namespace

CStartpageDlg::CStartpageDlg(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setWindowTitle(QStringLiteral("Korvel策略大师"));
    setFixedSize(560, 300);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, kBannerHeight + 16, 24, 20);
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    layout->addWidget(status_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch();
    enter_ = AddButton(row, QStringLiteral("登录"), "enter");
    synchronise_ = AddButton(row, QStringLiteral("数据同步"), "synchronise");
    switchServer_ = AddButton(row, QStringLiteral("切换服务器"), "switchServer");
    cancel_ = AddButton(row, QStringLiteral("取消"), "cancel");
    layout->addLayout(row);
    enter_->setDefault(true);

    connect(enter_, &QPushButton::clicked, this, &QDialog::accept);
    connect(synchronise_, &QPushButton::clicked, this, &CStartpageDlg::Synchronise);
    connect(switchServer_, &QPushButton::clicked, this, &CStartpageDlg::ShowServerMenu);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    SetButtons(false, false, false);
}

void CStartpageDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (shown_) return;
    shown_ = true;
    QTimer::singleShot(kStatusDelayMs, this, &CStartpageDlg::StartStatusRequest);
}

void CStartpageDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect banner(0, 0, width(), kBannerHeight);
    QLinearGradient fill(banner.topLeft(), banner.bottomRight());
    fill.setColorAt(0, QColor(120, 0, 0));
    fill.setColorAt(1, QColor(20, 20, 20));
    painter.fillRect(banner, fill);
    painter.setPen(QColor(255, 215, 0));
    painter.setFont(QFont(QStringLiteral("黑体"), 26, QFont::Bold));
    painter.drawText(banner.adjusted(28, 24, 0, -60), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Korvel策略大师"));
    painter.setPen(QColor(230, 230, 230));
    painter.setFont(QFont(QStringLiteral("宋体"), 11));
    painter.drawText(banner.adjusted(30, 86, -24, -16), Qt::AlignLeft | Qt::AlignTop,
                     QStringLiteral("为您的自选股培育操盘策略\n版本 %1").arg(QLatin1String(version::kText)));
}

void CStartpageDlg::SetButtons(bool enter, bool synchronise, bool switchServer) {
    enter_->setEnabled(enter);
    synchronise_->setEnabled(synchronise);
    switchServer_->setEnabled(switchServer);
}

void CStartpageDlg::ShowStatus(const SyncReport& report) { status_->setText(FromGbk(report.text)); }

void CStartpageDlg::StartStatusRequest() {
    SetButtons(false, false, false);
    const ServerAccess server = session_.Server();
    const SyncReporter report = jobs_.Reporter([this](const SyncReport& r) { OnStatusReport(r); });
    jobs_.Start([this, server, report] { return RequestServerStatus(session_.Db(), server, session_.server, report); });
}

void CStartpageDlg::OnStatusReport(const SyncReport& report) {
    ShowStatus(report);
    if (report.result == SyncReport::kSucceeded) {
        enter_->setText(QStringLiteral("登录"));
        SetButtons(true, true, true);
    } else if (report.result == SyncReport::kFailed) {
        enter_->setText(QStringLiteral("离线使用"));
        SetButtons(true, false, true);
    }
}

void CStartpageDlg::Synchronise() {
    SetButtons(false, false, false);
    if (!adviceRunBefore_) adviceRunBefore_ = LatestAdviceRun(session_.Db());
    const ServerAccess server = session_.Server();
    const SyncReporter report = jobs_.Reporter([this](const SyncReport& r) { OnStockCodesReport(r); });
    jobs_.Start([this, server, report] { return SyncStockCodes(session_.Db(), server, report); });
}

void CStartpageDlg::OnStockCodesReport(const SyncReport& report) {
    ShowStatus(report);
    if (report.result == SyncReport::kSucceeded) StartDailySync();
    else if (report.result == SyncReport::kFailed) SetButtons(true, false, true);
}

void CStartpageDlg::StartDailySync() {
    Database& db = session_.Db();
    const std::optional<StartPageJobs> plan = BuildStartPageJobs(db, session_.server.update);
    if (!plan) {
        // The user can still go on or try another server.
        status_->setText(QStringLiteral("无法读取自选股列表：%1").arg(QString::fromStdString(Database::LastError())));
        SetButtons(true, false, true);
        return;
    }
    if (plan->strategies == 0) {
        accept();  // nothing is watched: on as after "登录"
        return;
    }
    const SyncReporter report = jobs_.Reporter([this](const SyncReport& r) { OnDailyReport(r); });
    if (plan->jobs.empty()) {
        ReportNothingToSync(report);
        return;
    }
    const DailySyncRequest request{plan->jobs, true, session_.server.update};
    const MessageSink show = jobs_.Sink(MessageBoxSink(this));
    const ServerAccess server = session_.Server();
    jobs_.Start([this, request, server, report, show] {
        return RunDailySync(session_.Db(), session_.Dc(), server, request, report, show);
    });
}

void CStartpageDlg::OnDailyReport(const SyncReport& report) {
    ShowStatus(report);
    if (report.result == SyncReport::kRunning) return;
    SetButtons(true, true, true);
    // Every synchronisation of the page counts, a second one too.
    digest_ = DigestAfterRun(session_.Db(), adviceRunBefore_.value_or(0));
}

void CStartpageDlg::ShowServerMenu() {
    const std::vector<HostEntry> hosts = ServerMenuHosts(session_.Db(), session_.server);
    const std::string current = GetSetting(session_.store->settings, "HOST");
    QMenu menu(this);
    for (const HostEntry& host : hosts) {
        QAction* action = menu.addAction(FromGbk(host.cmnt));
        action->setCheckable(true);
        action->setChecked(host.addr == current);
        connect(action, &QAction::triggered, this, [this, addr = host.addr] { ChooseServer(addr); });
    }
    menu.exec(switchServer_->mapToGlobal(QPoint(0, switchServer_->height())));
}

void CStartpageDlg::ChooseServer(const std::string& addr) {
    if (!SwitchServer(session_.Db(), session_.store->settings, addr, MessageBoxSink(this))) return;
    StartStatusRequest();
}
