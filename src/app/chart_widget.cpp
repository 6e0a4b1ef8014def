#include "app/chart_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "chart/paint/chart_navigation.h"

ChartWidget::ChartWidget(const CDataCenter& dc, QWidget* parent) : QWidget(parent), chart_(dc) {
    setMouseTracking(true);
    setFocusPolicy(Qt::WheelFocus);
    // The image covers every pixel: no background erase, so no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    chart_.Indicators().SelectIndicator("VOL");
    chart_.Indicators().SelectIndicator("BS");
}

void ChartWidget::SelectIndicator(const std::string& key) {
    chart_.Indicators().SelectIndicator(key);
    update();
}

void ChartWidget::ShowMarks() {
    chart_.Indicators().DisableIndicator("BS");
    chart_.Indicators().SelectIndicator("BS");
    update();
}

bool ChartWidget::IsIndicatorEnabled(const std::string& key) const {
    return chart_.Indicators().IsIndicatorEnabled(key) == 1;
}

void ChartWidget::ZoomIn() {
    ::ZoomIn(chart_.Screen(), chart_.Bars());
    update();
}

void ChartWidget::ZoomOut() {
    ::ZoomOut(chart_.Screen());
    update();
}

void ChartWidget::ShiftLeft() {
    ::ShiftLeft(chart_.Screen());
    update();
}

void ChartWidget::ShiftRight() {
    ::ShiftRight(chart_.Screen(), chart_.Bars());
    update();
}

void ChartWidget::ShowNewest() {
    ::ShowNewest(chart_.Screen(), chart_.Bars());
    update();
}

void ChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, chart_.Paint(size()));
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
    if (chart_.MoveCrossHair(event->position().toPoint(), size())) update();
}

void ChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit listRequested();
}

void ChartWidget::keyPressEvent(QKeyEvent* event) {
    const int steps = std::max(1, event->count()) * (event->modifiers() & Qt::ControlModifier ? 10 : 1);
    switch (event->key()) {
        case Qt::Key_Left: ScrollBars(chart_.Screen(), chart_.Bars(), -steps); break;
        case Qt::Key_Right: ScrollBars(chart_.Screen(), chart_.Bars(), steps); break;
        case Qt::Key_Up: ::ZoomIn(chart_.Screen(), chart_.Bars()); break;
        case Qt::Key_Down: ::ZoomOut(chart_.Screen()); break;
        case Qt::Key_PageUp: emit previousStockRequested(); return;
        case Qt::Key_PageDown: emit nextStockRequested(); return;
        case Qt::Key_Return:
        case Qt::Key_Enter: emit listRequested(); return;
        default: QWidget::keyPressEvent(event); return;
    }
    update();
}

void ChartWidget::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    if (delta > 0) emit previousStockRequested();
    else if (delta < 0) emit nextStockRequested();
    event->accept();
}
