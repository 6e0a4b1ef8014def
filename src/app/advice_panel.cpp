#include "app/advice_panel.h"

#include <QLabel>
#include <QVBoxLayout>

#include "text/format.h"
#include "text/gbk.h"

namespace {

const QColor kAdviceRed(255, 0, 0);
const QColor kAdviceGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kCyan(0, 255, 255);

QLabel* AddLabel(QVBoxLayout& layout, QWidget* parent, const QFont& font, const QColor& colour) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    layout.addWidget(label);
    return label;
}

void SetColour(QLabel& label, const QColor& colour) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, colour);
    label.setPalette(palette);
}

QString FromGbk(const std::string& gbk) { return QString::fromStdString(text::GbkToUtf8(gbk)); }

}  // namespace

CIndicatorDlg::CIndicatorDlg(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setWindowTitle(QString::fromUtf8("操盘信号"));
    setModal(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(2);
    QFont small(QString::fromUtf8("黑体"));
    small.setPixelSize(16);
    QFont large(QString::fromUtf8("黑体"));
    large.setPointSize(48);
    name_ = AddLabel(*layout, this, small, kYellow);
    code_ = AddLabel(*layout, this, small, kCyan);
    price_ = AddLabel(*layout, this, small, kYellow);
    change_ = AddLabel(*layout, this, small, kYellow);
    advice_ = AddLabel(*layout, this, large, kYellow);
    advice_->setMinimumWidth(150);
}

void CIndicatorDlg::Update(const AdviceSummary& s) {
    name_->setText(FromGbk(s.name));
    code_->setText(FromGbk(s.code));
    const QColor& colour = s.change > 0 ? kAdviceRed : s.change < 0 ? kAdviceGreen : kYellow;
    change_->setText(QString::fromStdString(text::Format(s.change > 0 ? "+%.2f%%" : "%.2f%%", s.change)));
    SetColour(*change_, colour);
    const bool threeDecimals = s.securityType >= 11 && s.securityType <= 14;
    price_->setText(QString::fromStdString(text::Format(threeDecimals ? "%.3f" : "%.2f", s.price)));
    SetColour(*price_, colour);
    const QString advice = FromGbk(s.advice);
    advice_->setText(advice);
    SetColour(*advice_, advice == QString::fromUtf8("买入")   ? kAdviceRed
                        : advice == QString::fromUtf8("卖出") ? kAdviceGreen
                                                              : kYellow);
}

void CIndicatorDlg::ShowOver(const QWidget& chart) {
    if (!placed_) {
        // Below the information row, clear of the newest bars at the right.
        move(chart.mapToGlobal(QPoint(80, 50)));
        placed_ = true;
    }
    show();
}

void RefreshAdvicePanel(CIndicatorDlg& panel, Database& db, const CDataCenter& dc, bool withAdvice) {
    panel.Update(SummarizeAdvice(db, dc, withAdvice));
}
