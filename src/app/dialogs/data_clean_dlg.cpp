#include "app/dialogs/data_clean_dlg.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/check_list.h"
#include "app/dialogs/log_box.h"
#include "app/gbk_text.h"
#include "app/dialogs/user_messages.h"

CDataCleanDlg::CDataCleanDlg(Database& db, int32_t cleanto, QWidget* parent)
    : QDialog(parent), db_(db), cleanto_(cleanto),
      list_(new CheckList({{QStringLiteral("代码"), 60, Qt::AlignHCenter},
                           {QStringLiteral("名称"), 60, Qt::AlignHCenter},
                           {QStringLiteral("最新数据"), 60, Qt::AlignRight},
                           {QStringLiteral("市场"), 40, Qt::AlignHCenter}},
                          this)),
      log_(new LogBox(this)) {
    setWindowTitle(QStringLiteral("日线数据清理"));
    auto* tickAll = new QPushButton(QStringLiteral("全选"), this);
    auto* tickNone = new QPushButton(QStringLiteral("全不选"), this);
    auto* start = new QPushButton(QStringLiteral("开始清理"), this);
    buttons_ = {tickAll, tickNone, start};
    connect(tickAll, &QPushButton::clicked, this, [this] { list_->TickAll(true); });
    connect(tickNone, &QPushButton::clicked, this, [this] { list_->TickAll(false); });
    connect(start, &QPushButton::clicked, this, &CDataCleanDlg::StartCleanup);

    auto* right = new QVBoxLayout;
    right->addWidget(log_);
    auto* row = new QHBoxLayout;
    row->addWidget(tickAll);
    row->addWidget(tickNone);
    row->addStretch();
    row->addWidget(start);
    right->addLayout(row);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(right, 1);
    list_->setMinimumWidth(list_->ColumnsWidth());
    resize(list_->ColumnsWidth() + 320, 420);

    log_->SetLog(QStringLiteral("注意：\r\n在发现本地数据有误的情况下执行日线数据清理操作。清理后所选择股票的最近几个交易日的"
                                "本地日线数据将被删除。通过程序启动界面的数据同步功能可以重新补全数据。"));
    FillList();
}

void CDataCleanDlg::FillList() {
    std::optional<std::vector<CleanupStock>> stocks = LoadCleanupList(db_);
    if (!stocks || stocks->empty()) return;  // a failed or empty query leaves the list as it was
    stocks_ = std::move(*stocks);
    list_->Clear();
    for (const CleanupStock& s : stocks_)
        list_->AddRow({Shown(s.code), Shown(s.name), QString::number(s.newest), Shown(s.market)});
}

void CDataCleanDlg::StartCleanup() {
    std::vector<CleanupStock> chosen;
    for (int row : list_->TickedRows()) chosen.push_back(stocks_[static_cast<size_t>(row)]);
    if (chosen.empty()) return;
    busy_ = true;
    EnableButtons(false);
    const SyncReporter report = jobs_.Reporter([this](const SyncReport& r) { OnReport(r); });
    jobs_.Start([this, report, chosen = std::move(chosen)] {
        return RunDataCleanup(db_, cleanto_, chosen, report) ? SyncReport::kSucceeded : SyncReport::kFailed;
    });
}

void CDataCleanDlg::OnReport(const SyncReport& report) {
    log_->Prepend(Shown(report.text));
    if (report.result == SyncReport::kRunning) return;
    busy_ = false;
    EnableButtons(true);
    FillList();
}

void CDataCleanDlg::EnableButtons(bool enabled) {
    for (QPushButton* button : buttons_) button->setEnabled(enabled);
}

void CDataCleanDlg::reject() {
    if (busy_) {
        Inform(this, QStringLiteral("正在执行日线数据清理操作，请在数据清理操作结束后再关闭窗口。"));
        return;
    }
    QDialog::reject();
}
