#include "app/dialogs/property_dlg.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogs/user_messages.h"
#include "datastore/run_settings.h"

namespace {

QDoubleSpinBox* PercentBox(double percent, const char* name, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(2);  // "%.2f"
    box->setRange(0.0, 100.0);
    box->setSingleStep(0.01);
    box->setValue(percent);
    return box;
}

}  // namespace

CPropertyDlg::CPropertyDlg(Database& db, SettingsMap& settings, RunParameters& params, QWidget* parent)
    : QDialog(parent), db_(db), settings_(settings), params_(params) {
    setWindowTitle(QStringLiteral("参数设置"));
    auto* section = new QGroupBox(QStringLiteral("运行参数"), this);
    auto* items = new QFormLayout(section);
    depth_ = new QSpinBox(section);
    depth_->setObjectName(QStringLiteral("depth"));
    depth_->setRange(0, 1000000);
    depth_->setValue(params_.evoluteSteps);
    buyCharge_ = PercentBox(static_cast<double>(params_.buyCharge) * 100.0, "buyCharge", section);
    sellCharge_ = PercentBox(static_cast<double>(params_.sellCharge) * 100.0, "sellCharge", section);
    items->addRow(QStringLiteral("策略搜索深度[>10]"), depth_);
    items->addRow(QStringLiteral("买入交易费率[%]"), buyCharge_);
    items->addRow(QStringLiteral("卖出交易费率[%]"), sellCharge_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPropertyDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPropertyDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(section);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}

void CPropertyDlg::accept() {
    const int depth = depth_->value();
    if (depth < kMinSearchDepth) {
        Inform(this, QStringLiteral("最大策略搜索深度至少要在10以上！\r\n数值越大优选出的策略越优秀，但越耗时间。"));
        return;
    }
    ApplyRunSettings(params_, depth, buyCharge_->value(), sellCharge_->value());
    StoreRunSettings(db_, params_);
    LoadSettings(db_, settings_, InformSink(this));
    QDialog::accept();
}
