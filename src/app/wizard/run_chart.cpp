#include "app/wizard/run_chart.h"

#include <algorithm>

#include <QPaintEvent>
#include <QPainter>

namespace {

QImage BlankImage(const QSize& size, qreal ratio) {
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    return image;
}

}  // namespace

RunChart::RunChart(const RunPicture& picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(260);
}

void RunChart::UpdateUpper(const QSize& size) {
    const qreal ratio = devicePixelRatioF();
    const bool resized = background_.size() != size * ratio;
    if (resized || backgroundVersion_ != picture_.rangeVersion) {
        background_ = BlankImage(size, ratio);
        QPainter painter(&background_);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setFont(font());
        PaintUpperBackground(painter, QRect(QPoint(0, 0), size), picture_);
        backgroundVersion_ = picture_.rangeVersion;
        upperVersion_ = picture_.chartVersion - 1;
    }
    if (upperVersion_ == picture_.chartVersion) return;
    upper_ = background_;
    QPainter painter(&upper_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(font());
    PaintUpperChart(painter, QRect(QPoint(0, 0), size), picture_, texts_);
    upperVersion_ = picture_.chartVersion;
}

RunChart::Areas RunChart::Layout() const {
    const QRect area = rect().adjusted(1, 1, -1, -1);
    const int statusHeight = fontMetrics().height() + 8;
    const QRect status(area.topLeft(), QSize(area.width(), statusHeight));
    const int chartsHeight = area.height() - statusHeight - 2;
    const QRect upper(status.bottomLeft() + QPoint(0, 2), QSize(area.width(), chartsHeight * 2 / 3));
    const QRect lower(upper.bottomLeft() + QPoint(0, 1), QSize(area.width(), chartsHeight - upper.height()));
    const int stockWidth = 6 + fontMetrics().horizontalAdvance(picture_.stock + QLatin1Char(' '));
    const QRect stock(status.topLeft(), QSize(std::min(stockWidth, status.width()), status.height()));
    const QRect phrase(stock.topRight() + QPoint(1, 0), status.bottomRight());
    return {status, stock, phrase, upper, lower};
}

void RunChart::RepaintGeneration() {
    const Areas areas = Layout();
    QRegion changed = QRegion(areas.phrase) + areas.lower;
    if (upperVersion_ != picture_.chartVersion) changed += areas.upper;
    repaint(changed);
}

void RunChart::paintEvent(QPaintEvent* event) {
    const Areas areas = Layout();
    const QRegion& dirty = event->region();
    QPainter painter(this);
    if (dirty.intersects(QRegion(rect()) - QRegion(rect().adjusted(1, 1, -1, -1))) ||
        dirty.intersects(QRect(areas.status.bottomLeft() + QPoint(0, 1), QSize(areas.status.width(), 1)))) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.drawLine(areas.status.bottomLeft() + QPoint(0, 1), areas.status.bottomRight() + QPoint(0, 1));
    }
    if (dirty.intersects(areas.stock)) {
        painter.fillRect(areas.stock, Qt::white);
        PaintStatusText(painter, areas.stock.adjusted(6, 0, 0, 0), picture_.stock, texts_);
    }
    if (dirty.intersects(areas.phrase)) PaintStatusText(painter, areas.phrase, StatusPhraseOf(picture_), texts_);
    if (dirty.intersects(areas.upper)) {
        UpdateUpper(areas.upper.size());
        painter.drawImage(areas.upper.topLeft(), upper_);
    }
    if (dirty.intersects(areas.lower)) {
        painter.setRenderHint(QPainter::Antialiasing);
        PaintLowerChart(painter, areas.lower, picture_, texts_);
    }
}
