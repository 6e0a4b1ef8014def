#include "app/wizard/time_range_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

#include "app/dialogs/property_dlg.h"
#include "app/wizard/chart_frame.h"
#include "app/wizard/wizard_charts.h"
#include "strategy/holdout_check.h"
#include "strategy/strategy_style.h"
#include "strategy/time_range.h"

namespace {

QString DateText(int32_t date) {
    return QString::asprintf("%04d-%02d-%02d", date / 10000, date / 100 % 100, date % 100);
}

// Half a year of trading days, when the stock has them.
constexpr int kDefaultHoldoutDays = 120;
// One held-out day is the closing case only, which never opens a trade.
constexpr int kFewestHoldoutDays = 2;

}  // namespace

CTimeRangePage::CTimeRangePage(int templateId, const WizardContext& context)
    : CNewWizPage(templateId, QStringLiteral("准备生成策略")), context_(context) {}

bool CTimeRangePage::OnCreatePage() {
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("验证区间:"), this), 0, 0);
    rangeText_ = new QLabel(this);
    grid->addWidget(rangeText_, 0, 1);
    depth_ = new QLabel(this);
    grid->addWidget(depth_, 1, 0, 1, 2);
    grid->addLayout(CreateHoldoutRow(), 3, 0, 1, 3);

    // The style controls are part of the layout but stay hidden and disabled.
    auto* styleButton = new QPushButton(QStringLiteral("定义策略风格"), this);
    auto* styleCaption = new QLabel(QStringLiteral("当前策略风格:"), this);
    styleName_ = new QLabel(this);
    for (QWidget* w : {static_cast<QWidget*>(styleButton), static_cast<QWidget*>(styleCaption),
                       static_cast<QWidget*>(styleName_)}) {
        w->setEnabled(false);
        w->hide();
    }
    connect(styleButton, &QPushButton::clicked, this,
            [this, styleButton] { StyleMenu()->popup(styleButton->mapToGlobal(QPoint(0, styleButton->height()))); });
    grid->addWidget(styleCaption, 2, 0);
    grid->addWidget(styleName_, 2, 1);
    grid->addWidget(styleButton, 2, 2);
    grid->setColumnStretch(1, 1);
    Body()->addLayout(grid);

    preview_ = new ChartFrame([this](QPainter& p, const QRect& area) { PaintRangePreview(p, area, figures_); }, this);
    Body()->addWidget(preview_, 1);
    ShowRange();
    return true;
}

QLayout* CTimeRangePage::CreateHoldoutRow() {
    holdout_ = new QCheckBox(QStringLiteral("样本外检验"), this);
    holdout_->setToolTip(QStringLiteral("最近的若干个交易日不参与生成策略，"
                                        "生成后用策略在这些交易日上模拟交易，并与同期买入持有比较"));
    holdoutDays_ = new QSpinBox(this);
    holdoutDays_->setSuffix(QStringLiteral(" 个交易日"));
    heldOutText_ = new QLabel(this);
    size_t bars = 0;
    {
        const std::lock_guard<std::recursive_mutex> lock(context_.dc.DataLock());
        bars = context_.dc.Dates().size();
    }
    const int most = MaxHoldoutDays(bars);
    holdoutDays_->setRange(kFewestHoldoutDays, std::max(most, kFewestHoldoutDays));
    holdoutDays_->setValue(std::min(kDefaultHoldoutDays, most));
    holdoutDays_->setEnabled(false);
    holdout_->setEnabled(most >= kFewestHoldoutDays);
    connect(holdout_, &QCheckBox::toggled, this, [this](bool on) {
        holdoutDays_->setEnabled(on);
        ShowRange();
    });
    connect(holdoutDays_, &QSpinBox::valueChanged, this, [this] { ShowRange(); });
    auto* row = new QHBoxLayout;
    row->addWidget(holdout_);
    row->addWidget(holdoutDays_);
    row->addWidget(heldOutText_, 1);
    return row;
}

// The range, with the held-out days left out when the option is on; the
// report page checks the days set here.
void CTimeRangePage::ShowRange() {
    RunParameters& params = context_.dc.Parameters();
    const int32_t days = holdout_->isChecked() ? holdoutDays_->value() : 0;
    {
        const std::lock_guard<std::recursive_mutex> lock(context_.dc.DataLock());
        const std::vector<int32_t>& dates = context_.dc.Dates();
        const bool heldOut = days > 0 && ComputeHoldoutRange(params, dates, days);
        if (!heldOut) ComputeVerificationRange(params, dates);
        *context_.holdoutDays = heldOut ? days : 0;
        heldOutText_->setText(heldOut ? QStringLiteral("检验区间: ") + DateText(dates[dates.size() - days]) +
                                            QStringLiteral(" - ") + DateText(dates.back())
                                      : QString());
    }
    figures_ = ComputeRangeFigures(context_.dc, params.rangeBegin, params.rangeEnd, {});
    rangeText_->setText(DateText(params.rangeBegin) + QStringLiteral(" - ") + DateText(params.rangeEnd));
    depth_->setText(QString::asprintf("最大策略搜索深度：%d", params.evoluteSteps));
    preview_->update();
}

QString CTimeRangePage::RangeText() const { return rangeText_->text(); }

QString CTimeRangePage::DepthText() const { return depth_->text(); }

QMenu* CTimeRangePage::StyleMenu() {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int style = 0; style <= 4; ++style) {
        QAction* item = menu->addAction(QString::fromUtf8(StrategyStyleName(static_cast<StrategyStyle>(style))));
        item->setCheckable(true);
        item->setChecked(style == style_);
        connect(item, &QAction::triggered, this, [this, style] { ChooseStyle(static_cast<StrategyStyle>(style)); });
    }
    return menu;
}

void CTimeRangePage::ChooseStyle(StrategyStyle style) {
    const int chosen = static_cast<int>(style);
    RunParameters& params = context_.dc.Parameters();
    if (style == StrategyStyle::Custom) {
        style_ = chosen;
        styleName_->setText(QString::fromUtf8(StrategyStyleName(style)));
        SetStrategyStyle(params, style, context_.settings);
        CPropertyDlg settings(context_.db, context_.settings, params, this);
        if (settings.exec() == QDialog::Accepted) ShowRange();
    } else if (chosen >= 0 && chosen <= 3 && chosen != style_) {
        style_ = chosen;
        styleName_->setText(QString::fromUtf8(StrategyStyleName(style)));
        SetStrategyStyle(params, style, context_.settings);
        ShowRange();
    }
    update();
}
