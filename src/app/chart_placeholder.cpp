#include "app/chart_placeholder.h"

#include <QKeyEvent>
#include <QPainter>

#include <mutex>

#include "app/gbk_text.h"
#include "app/korvel_view.h"
#include "datastore/data_center.h"

ChartPlaceholder::ChartPlaceholder(CKorvelView& view, const CDataCenter& dc, QWidget* parent)
    : QWidget(parent), view_(view), dc_(dc) {
    setFocusPolicy(Qt::StrongFocus);
}

QString ChartPlaceholder::NewestBarText() const {
    const std::lock_guard lock(dc_.DataLock());
    const QString name = FromGbk(dc_.DisplayName());
    const QString stock = QStringLiteral("%1  %2.%3").arg(name, FromGbk(dc_.Code()), FromGbk(dc_.Market()));
    if (dc_.Dates().empty()) return stock + QStringLiteral("\n\n没有日线数据");
    const size_t i = dc_.Dates().size() - 1;
    const PriceSeries& p = dc_.Displayed();
    const int date = dc_.Dates()[i];
    const int decimals = dc_.SecurityType() >= 11 && dc_.SecurityType() <= 14 ? 3 : 2;
    return stock + QStringLiteral("\n\n%1-%2-%3  开盘 %4  最高 %5  最低 %6  收盘 %7  成交量 %8\n共 %9 根K线%10")
                       .arg(date / 10000)
                       .arg(date / 100 % 100, 2, 10, QLatin1Char('0'))
                       .arg(date % 100, 2, 10, QLatin1Char('0'))
                       .arg(p.open[i], 0, 'f', decimals)
                       .arg(p.high[i], 0, 'f', decimals)
                       .arg(p.low[i], 0, 'f', decimals)
                       .arg(p.close[i], 0, 'f', decimals)
                       .arg(p.volume[i], 0, 'f', 0)
                       .arg(dc_.Dates().size())
                       .arg(dc_.IsAdjusted() ? QStringLiteral("（复权）") : QString());
}

void ChartPlaceholder::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setPen(QColor(240, 228, 228));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(20);
    painter.setFont(font);
    painter.drawText(rect().adjusted(20, 20, -20, -20), Qt::AlignLeft | Qt::AlignTop, NewestBarText());
}

void ChartPlaceholder::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        view_.SetMode(CKorvelView::kListMode);
        return;
    case Qt::Key_PageUp:
        view_.PreviousStock();
        return;
    case Qt::Key_PageDown:
        view_.NextStock();
        return;
    default:
        if (!view_.OpenCodeSearchFor(*event)) QWidget::keyPressEvent(event);
    }
}

void ChartPlaceholder::mouseDoubleClickEvent(QMouseEvent*) { view_.SetMode(CKorvelView::kListMode); }
