#include "app/wizard/wizard_charts.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

const QColor kDarkGreen(78, 130, 100);
const QColor kLightGreen(155, 214, 163);
const QColor kRed(214, 40, 34);
const QColor kGrid(220, 220, 220);
const QColor kText(60, 60, 60);

QColor Translucent(QColor colour) {
    colour.setAlpha(128);
    return colour;
}

// Maps values to the vertical extent of an area, the largest at the top.
struct Scale {
    double low;
    double high;
    QRectF area;

    static Scale Of(const std::vector<double>& values, const QRectF& area) {
        double low = values.empty() ? 0.0 : *std::min_element(values.begin(), values.end());
        double high = values.empty() ? 1.0 : *std::max_element(values.begin(), values.end());
        if (high - low < 1e-9) {
            low -= 0.5;
            high += 0.5;
        }
        return {low, high, area};
    }
    double Y(double value) const { return area.bottom() - (value - low) / (high - low) * area.height(); }
};

double XAt(size_t index, size_t count, const QRectF& area) {
    return count < 2 ? area.left() : area.left() + area.width() * static_cast<double>(index) / (count - 1);
}

std::vector<double> Doubles(const std::vector<float>& values) { return {values.begin(), values.end()}; }

QPolygonF Line(const std::vector<double>& values, const Scale& scale, size_t positions) {
    QPolygonF line;
    for (size_t i = 0; i < values.size(); ++i) line << QPointF(XAt(i, positions, scale.area), scale.Y(values[i]));
    return line;
}

// The line and the area between it and the bottom of the scale.
void FillUnder(QPainter& painter, const QPolygonF& line, const QRectF& area, const QColor& fill) {
    if (line.size() < 2) return;
    QPolygonF shape = line;
    shape << QPointF(line.back().x(), area.bottom()) << QPointF(line.front().x(), area.bottom());
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPolygon(shape);
}

void DrawLine(QPainter& painter, const QPolygonF& line, const QColor& colour, qreal width) {
    painter.setPen(QPen(colour, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
}

// The year under the first bar of each year.
void DrawYears(QPainter& painter, const std::vector<int32_t>& dates, const QRectF& area) {
    painter.setPen(kText);
    int32_t year = 0;
    for (size_t i = 0; i < dates.size(); ++i) {
        if (dates[i] / 10000 == year) continue;
        year = dates[i] / 10000;
        const double x = XAt(i, dates.size(), area);
        painter.setPen(QPen(kGrid, 1, Qt::DotLine));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        painter.setPen(kText);
        painter.drawText(QPointF(x + 3, area.bottom() + painter.fontMetrics().ascent() + 2),
                         QString::asprintf("%d", year));
    }
}

void DrawLabels(QPainter& painter, const QRectF& area, const QStringList& labels, const QColor& colour) {
    painter.setPen(colour);
    double x = area.left() + 6;
    const double y = area.top() + painter.fontMetrics().ascent() + 4;
    for (const QString& label : labels) {
        painter.drawText(QPointF(x, y), label);
        x += painter.fontMetrics().horizontalAdvance(label) + 18;
    }
}

// Room for the year labels below a chart.
QRectF ChartArea(const QRect& area, const QFontMetrics& metrics) {
    return QRectF(area).adjusted(8, metrics.height() + 10, -8, -(metrics.height() + 6));
}

void DrawTradePoints(QPainter& painter, const RunPicture& picture, const Scale& scale) {
    const std::vector<int32_t>& dates = picture.range.dates;
    for (const TradeLogEntry& trade : picture.trades) {
        const auto at = std::lower_bound(dates.begin(), dates.end(), trade.date);
        if (at == dates.end() || *at != trade.date) continue;
        const auto i = static_cast<size_t>(at - dates.begin());
        const QPointF p(XAt(i, dates.size(), scale.area), scale.Y(picture.range.closes[i]));
        const bool buy = trade.kind == 'B';
        QPolygonF mark;
        const double dy = buy ? 7 : -7;  // buys point up from below, sells down from above
        mark << QPointF(p.x(), p.y() + dy * 0.3) << QPointF(p.x() - 4, p.y() + dy) << QPointF(p.x() + 4, p.y() + dy);
        painter.setPen(Qt::NoPen);
        painter.setBrush(buy ? kRed : QColor(0, 120, 60));
        painter.drawPolygon(mark);
    }
}

void PaintUpper(QPainter& painter, const QRect& area, const RunPicture& picture, const RunLabels& labels) {
    const QRectF chart = ChartArea(area, painter.fontMetrics());
    const RangeFigures& range = picture.range;
    const Scale prices = Scale::Of(Doubles(range.closes), chart);
    const QPolygonF closes = Line(Doubles(range.closes), prices, range.closes.size());
    FillUnder(painter, closes, chart, Translucent(kLightGreen));
    DrawLine(painter, closes, kDarkGreen, 1.2);
    DrawTradePoints(painter, picture, prices);
    if (!range.accumulated.empty()) {
        std::vector<double> withZero = range.accumulated;
        withZero.push_back(0.0);
        const Scale profit = Scale::Of(withZero, chart);
        painter.setPen(QPen(Translucent(kRed), 1, Qt::DashLine));
        painter.drawLine(QPointF(chart.left(), profit.Y(0)), QPointF(chart.right(), profit.Y(0)));
        DrawLine(painter, Line(range.accumulated, profit, range.dates.size()), kRed, 1.5);
    }
    DrawYears(painter, range.dates, chart);
    DrawLabels(painter, QRectF(area), {labels.rangeChange, labels.accumulated, labels.compound}, kText);
}

void PaintLower(QPainter& painter, const QRect& area, const RunPicture& picture, const RunLabels& labels) {
    const QRectF chart = QRectF(area).adjusted(8, painter.fontMetrics().height() + 10, -8, -6);
    const std::vector<double> rates = Doubles(picture.winRates);
    // The horizontal scale grows with the run: one slot more than the entries.
    const QPolygonF line = Line(rates, Scale::Of(rates, chart), rates.size() + 1);
    FillUnder(painter, line, chart, Translucent(kLightGreen));
    DrawLine(painter, line, kDarkGreen, 1.5);
    DrawLabels(painter, QRectF(area), {labels.winRate}, kText);
}

}  // namespace

void PaintRangePreview(QPainter& painter, const QRect& area, const RangeFigures& range) {
    painter.fillRect(area, Qt::white);
    const QRectF chart = ChartArea(area, painter.fontMetrics());
    // The range, shaded: the band of its bars and the area under the closes.
    if (!range.dates.empty()) painter.fillRect(chart, Translucent(kLightGreen));
    const Scale prices = Scale::Of(Doubles(range.closes), chart);
    const QPolygonF closes = Line(Doubles(range.closes), prices, range.closes.size());
    FillUnder(painter, closes, chart, Translucent(kDarkGreen));
    DrawLine(painter, closes, kDarkGreen.darker(150), 1.2);
    DrawYears(painter, range.dates, chart);
}

RunLabels LabelsOf(const RunPicture& picture) {
    const double winRate = picture.winRates.empty() ? 0.0 : static_cast<double>(picture.winRates.back()) * 100.0;
    return {QString::asprintf("区间涨跌: %.2f%%", picture.range.rangeChange),
            QString::asprintf("累计盈利: %.2f%%", picture.range.accumulatedProfit),
            QString::asprintf("复利盈利: %.2f%%", picture.range.compoundProfit),
            QString::asprintf("策略胜率: %.2f%%", winRate)};
}

void PaintRunCharts(QPainter& painter, const QRect& area, const RunPicture& picture) {
    painter.fillRect(area, Qt::white);
    const RunLabels labels = LabelsOf(picture);
    const int upperHeight = area.height() * 2 / 3;
    const QRect upper(area.left(), area.top(), area.width(), upperHeight);
    const QRect lower(area.left(), area.top() + upperHeight, area.width(), area.height() - upperHeight);
    PaintUpper(painter, upper, picture, labels);
    painter.setPen(kGrid);
    painter.drawLine(lower.topLeft(), lower.topRight());
    PaintLower(painter, lower, picture, labels);
}
