#include "app/wizard/chart_frame.h"

#include <QPainter>

ChartFrame::ChartFrame(Painter paint, QWidget* parent) : QFrame(parent), paint_(std::move(paint)) {
    setFrameShape(QFrame::StyledPanel);
    setMinimumHeight(160);
}

void ChartFrame::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint_(painter, contentsRect());
}
