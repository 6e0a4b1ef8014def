#include "app/wizard/report_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/gbk_text.h"
#include "app/dialogs/trade_table.h"
#include "app/dialogs/user_messages.h"
#include "strategy/holdout_check.h"
#include "strategy/strategy_record.h"
#include "strategy/trade_statistics.h"

namespace {

QPlainTextEdit* ReadOnlyText(QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setReadOnly(true);
    return box;
}

}  // namespace

CTheReportPage::CTheReportPage(int templateId, const WizardContext& context)
    : CNewWizPage(templateId, QStringLiteral("操盘策略报告")), context_(context) {}

bool CTheReportPage::OnCreatePage() {
    tabs_ = new QTabWidget(this);
    reportText_ = ReadOnlyText(tabs_);
    trades_ = new TradeTable(TradeTable::Layout::kReportPage, tabs_);
    strategyText_ = ReadOnlyText(tabs_);
    tabs_->addTab(reportText_, QStringLiteral("报告详情"));
    tabs_->addTab(trades_, QStringLiteral("交易记录"));
    tabs_->addTab(strategyText_, QStringLiteral("操盘策略"));
    // The two returns to compare on top, the whole block below.
    holdoutTab_ = new QWidget(tabs_);
    holdoutHeadline_ = new QLabel(holdoutTab_);
    holdoutHeadline_->setStyleSheet(QStringLiteral("font-weight: bold; padding: 4px;"));
    holdoutText_ = ReadOnlyText(holdoutTab_);
    auto* holdout = new QVBoxLayout(holdoutTab_);
    holdout->setContentsMargins(0, 0, 0, 0);
    holdout->addWidget(holdoutHeadline_);
    holdout->addWidget(holdoutText_, 1);
    tabs_->addTab(holdoutTab_, QStringLiteral("样本外检验"));
    tabs_->setTabVisible(tabs_->indexOf(holdoutTab_), false);
    save_ = new QPushButton(QStringLiteral("保存策略"), this);
    save_->setAutoDefault(false);
    connect(save_, &QPushButton::clicked, this, &CTheReportPage::Save);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(save_);
    Body()->addWidget(tabs_, 1);
    Body()->addLayout(row);
    return true;
}

void CTheReportPage::OnSetActive() {
    report_ = PrepareReportPage(context_.dc);
    reportText_->setPlainText(Shown(report_.report));
    trades_->Show(report_.trades);
    strategyText_->setPlainText(Shown(report_.strategyText));
    ShowHoldoutCheck();
    UpdateSaveButton();
}

// The fourth tab is there from the start, hidden while the option is off.
void CTheReportPage::ShowHoldoutCheck() {
    const int32_t days = *context_.holdoutDays;
    const std::optional<HoldoutCheck> check = days > 0 ? CheckHoldout(context_.dc, days) : std::nullopt;
    tabs_->setTabVisible(tabs_->indexOf(holdoutTab_), check.has_value());
    if (!check) return;
    const std::lock_guard<std::recursive_mutex> lock(context_.dc.DataLock());
    const std::vector<int32_t>& dates = context_.dc.Dates();
    holdoutHeadline_->setText(QStringLiteral("最近 %1 个交易日：策略累计盈利 %2 %，同期买入持有 %3 %")
                                  .arg(check->days)
                                  .arg(SummarizeTrades(check->tradeLog, dates).Accumulated() * 100, 0, 'f', 2)
                                  .arg(SummarizeTrades(check->buyAndHold, dates).Accumulated() * 100, 0, 'f', 2));
    holdoutText_->setPlainText(Shown(BuildHoldoutReport(*check, dates)));
}

bool CTheReportPage::Save() {
    const bool saved = SaveStrategy(context_.db, context_.dc, report_.report, InformSink(this));
    UpdateSaveButton();
    return saved;
}

void CTheReportPage::UpdateSaveButton() { save_->setEnabled(context_.dc.Parameters().resultSaved == 0); }

bool CTheReportPage::OnQueryCancel() {
    if (context_.dc.Parameters().resultSaved != 0) return true;
    return Ask(this, QStringLiteral("生成的操盘策略没有保存，仍然要取消吗？"));
}

bool CTheReportPage::OnWizardFinish() { return Save(); }
