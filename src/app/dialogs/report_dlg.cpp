#include "app/dialogs/report_dlg.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/gbk_text.h"
#include "app/dialogs/trade_table.h"
#include "strategy/strategy_report.h"

namespace {

QPlainTextEdit* ReadOnlyText(const std::string& gbk, QWidget* parent) {
    auto* box = new QPlainTextEdit(Shown(gbk), parent);
    box->setReadOnly(true);
    return box;
}

}  // namespace

CReportDlg::CReportDlg(Database& db, const std::string& market, const std::string& code,
                       const std::string& storedReport, QWidget* parent)
    : QDialog(parent), tabs_(new QTabWidget(this)) {
    setWindowTitle(QStringLiteral("策略报告"));
    auto* trades = new TradeTable(TradeTable::Layout::kStoredLog, tabs_);
    trades->Show(StoredTradeRows(db, market, code));
    tabs_->addTab(ReadOnlyText(storedReport, tabs_), QStringLiteral("报告详情"));
    tabs_->addTab(trades, QStringLiteral("交易记录"));
    tabs_->addTab(ReadOnlyText(StrategyTabText(storedReport), tabs_), QStringLiteral("操盘策略"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    resize(460, 520);
}
