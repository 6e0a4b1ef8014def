#pragma once
// CPlatformDlg ("操盘策略生成平台"): the strategy wizard of the current stock:
// the time range, the generation run, the report. RunStrategyWizard opens it
// as the watch-list view does.
#include "app/wizard/new_wiz_dialog.h"
#include "app/wizard/wizard_context.h"

class CPlatformDlg : public CNewWizDialog {
    Q_OBJECT
public:
    // The pages' template numbers.
    enum PageId { kTimeRangePage = 1001, kRorozoPage = 1002, kReportPage = 1003 };

    explicit CPlatformDlg(const WizardContext& context, QWidget* parent = nullptr);
};

// Runs the wizard modally. The per-bar signals of the current stock are put
// back as they were unless a strategy was saved meanwhile; returns true when
// one was (the caller then shows the new advice).
bool RunStrategyWizard(const WizardContext& context, QWidget* parent);
