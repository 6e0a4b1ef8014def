#pragma once
// CTheReportPage ("操盘策略报告"), the wizard's last page: the report of the
// run's best strategy, its trades and its strategy text in three tabs,
// rebuilt each time the page is shown, and with the range page's
// out-of-sample option a fourth, "样本外检验": the strategy traded over the
// held-out days beside buying and holding (the CLI's --holdout block).
// "保存策略" stores the strategy while it is unsaved, and finishing the
// wizard stores it again.
#include <QString>

#include "app/wizard/new_wiz_page.h"
#include "app/wizard/wizard_context.h"
#include "strategy/strategy_report.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TradeTable;

class CTheReportPage : public CNewWizPage {
    Q_OBJECT
public:
    CTheReportPage(int templateId, const WizardContext& context);

    bool OnCreatePage() override;
    void OnSetActive() override;
    // Asks before a cancel loses an unsaved strategy.
    bool OnQueryCancel() override;
    // Saves, also when the strategy was saved before; false when it failed.
    bool OnWizardFinish() override;

    // "保存策略".
    bool Save();

    QPushButton* SaveButton() const { return save_; }
    QTabWidget* Tabs() const { return tabs_; }

private:
    void UpdateSaveButton();
    void ShowHoldoutCheck();

    WizardContext context_;
    ReportPage report_;
    QPushButton* save_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QPlainTextEdit* reportText_ = nullptr;
    TradeTable* trades_ = nullptr;
    QPlainTextEdit* strategyText_ = nullptr;
    // The fourth tab, shown while the option is on.
    QWidget* holdoutTab_ = nullptr;
    QLabel* holdoutHeadline_ = nullptr;
    QPlainTextEdit* holdoutText_ = nullptr;
};
