#pragma once
// CTimeRangePage ("准备生成策略"), the wizard's first page: the verification
// range taken from the run parameters, the search depth, a preview of the
// stock over the range, and the style menu (laid out but hidden: a run uses
// the parameters in force unless the menu is shown). The option "样本外检验"
// (off by default) keeps the newest days out of the range, for the report
// page to trade the bred strategy over them.
#include <QString>

#include "app/wizard/new_wiz_page.h"
#include "app/wizard/wizard_context.h"
#include "strategy/range_figures.h"

class ChartFrame;
class QCheckBox;
class QLabel;
class QSpinBox;
class QMenu;
class QPushButton;

class CTimeRangePage : public CNewWizPage {
    Q_OBJECT
public:
    CTimeRangePage(int templateId, const WizardContext& context);

    bool OnCreatePage() override;

    // A choice of the style menu: a preset (0 to 3) other than the page's
    // style, or "自定义" (4) always, which opens the settings dialog.
    void ChooseStyle(StrategyStyle style);

    QString RangeText() const;
    QString DepthText() const;
    QCheckBox* HoldoutBox() const { return holdout_; }
    QSpinBox* HoldoutDaysBox() const { return holdoutDays_; }

private:
    QLayout* CreateHoldoutRow();
    void ShowRange();
    QMenu* StyleMenu();

    WizardContext context_;
    int style_ = -1;  // none chosen yet
    RangeFigures figures_;
    QLabel* rangeText_ = nullptr;
    QLabel* depth_ = nullptr;
    QLabel* styleName_ = nullptr;
    QCheckBox* holdout_ = nullptr;
    QSpinBox* holdoutDays_ = nullptr;
    QLabel* heldOutText_ = nullptr;
    ChartFrame* preview_ = nullptr;
};
