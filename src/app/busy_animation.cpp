#include "app/busy_animation.h"

#include <QPainter>

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent) {
    setFixedSize(16, 16);
    timer_.setInterval(60);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = frame_ % kFrames + 1;
        update();
    });
}

void BusyAnimation::Start() {
    frame_ = 1;
    timer_.start();
    update();
}

void BusyAnimation::Stop(int frame) {
    timer_.stop();
    frame_ = frame;
    update();
}

void BusyAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box(2, 2, 12, 12);
    if (!IsRunning()) {
        // At rest: green when the last synchronisation succeeded, red when it failed.
        painter.setPen(Qt::NoPen);
        painter.setBrush(frame_ == 0 ? QColor(210, 40, 40) : QColor(40, 170, 70));
        painter.drawEllipse(box.adjusted(1, 1, -1, -1));
        return;
    }
    painter.setPen(QPen(QColor(200, 200, 200), 2.5));
    painter.drawEllipse(box);
    painter.setPen(QPen(QColor(30, 90, 180), 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(box, 90 * 16 - (frame_ - 1) * 360 * 16 / kFrames, -100 * 16);
}
