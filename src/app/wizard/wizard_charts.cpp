#include "app/wizard/wizard_charts.h"

#include <algorithm>

#include <QPainter>
#include <QPolygonF>

// Speed: the generation page repaints after every generation while the run
// waits. Filling a translucent area with antialiasing, or stroking a wide
// antialiased line, costs milliseconds on a chart this size; filled areas
// are therefore drawn without antialiasing (the line on their edge hides
// the steps), lines are one pixel wide, and what changes every generation
// (the win-rate line) is drawn without antialiasing.

namespace {

const QColor kDarkGreen(78, 130, 100);
const QColor kLightGreen(155, 214, 163);
const QColor kChartRed(214, 40, 34);
const QColor kSellGreen(0, 120, 60);
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

// Position `index` of `positions` spread over the width of `area`.
double XAt(size_t index, size_t positions, const QRectF& area) {
    return positions < 2 ? area.left() : area.left() + area.width() * static_cast<double>(index) / (positions - 1);
}

std::vector<double> Doubles(const std::vector<float>& values) { return {values.begin(), values.end()}; }

QPolygonF Line(const std::vector<double>& values, const Scale& scale, size_t positions) {
    QPolygonF line;
    line.reserve(static_cast<qsizetype>(values.size()));
    for (size_t i = 0; i < values.size(); ++i) line << QPointF(XAt(i, positions, scale.area), scale.Y(values[i]));
    return line;
}

// The same line without the inner points of its horizontal stretches: the
// win rate changes only when the best strategy improves, so most of its
// points lie on such stretches, and every segment costs time to draw.
QPolygonF WithoutFlatPoints(const QPolygonF& line) {
    QPolygonF kept;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const bool inner = i > 0 && i + 1 < line.size() && line[i - 1].y() == line[i].y() &&
                           line[i + 1].y() == line[i].y();
        if (!inner) kept << line[i];
    }
    return kept;
}

// The area between the line and the bottom of `area`.
void FillUnder(QPainter& painter, const QPolygonF& line, const QRectF& area, const QColor& fill) {
    if (line.size() < 2) return;
    QPolygonF shape = line;
    shape << QPointF(line.back().x(), area.bottom()) << QPointF(line.front().x(), area.bottom());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPolygon(shape);
    painter.restore();
}

void DrawLine(QPainter& painter, const QPolygonF& line, const QColor& colour) {
    QPen pen(colour, 1);
    pen.setCosmetic(true);  // the fast path for thin lines
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(line);
}

// The year under the first bar of each year, with a dotted line up; a
// year near the right edge is moved in so it shows whole.
void DrawYears(QPainter& painter, const std::vector<int32_t>& dates, const QRectF& area) {
    const QFontMetricsF metrics(painter.font());
    int32_t year = 0;
    for (size_t i = 0; i < dates.size(); ++i) {
        if (dates[i] / 10000 == year) continue;
        year = dates[i] / 10000;
        const double x = XAt(i, dates.size(), area);
        painter.setPen(QPen(kGrid, 1, Qt::DotLine));
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        const QString text = QString::number(year);
        painter.setPen(kText);
        painter.drawText(QPointF(std::min(x + 3, area.right() - metrics.horizontalAdvance(text)),
                                 area.bottom() + metrics.ascent() + 2),
                         text);
    }
}

// Labels side by side in the top-left corner of `area`.
void DrawLabels(QPainter& painter, const QRectF& area, const QStringList& labels, TextCache& texts) {
    painter.setPen(kText);
    QPointF at(area.left() + 6, area.top() + 3);
    for (const QString& label : labels) at.rx() += texts.Draw(painter, at, label) + 18;
}

// Room for the labels above a chart and the years below it.
QRectF ChartArea(const QRect& area, const QFontMetrics& metrics) {
    return QRectF(area).adjusted(8, metrics.height() + 10, -8, -(metrics.height() + 6));
}

void DrawTradePoints(QPainter& painter, const RunPicture& picture, const Scale& scale) {
    const std::vector<int32_t>& dates = picture.range.dates;
    painter.setPen(Qt::NoPen);
    for (const TradeLogEntry& trade : picture.trades) {
        const auto at = std::lower_bound(dates.begin(), dates.end(), trade.date);
        if (at == dates.end() || *at != trade.date) continue;
        const auto i = static_cast<size_t>(at - dates.begin());
        const QPointF p(XAt(i, dates.size(), scale.area), scale.Y(picture.range.closes[i]));
        const bool buy = trade.kind == 'B';
        const double dy = buy ? 8 : -8;  // buys point up from below the line, sells down from above
        const QPointF mark[] = {{p.x(), p.y() + dy * 0.25}, {p.x() - 4, p.y() + dy}, {p.x() + 4, p.y() + dy}};
        painter.setBrush(buy ? kChartRed : kSellGreen);
        painter.drawPolygon(mark, 3);
    }
}

}  // namespace

qreal TextCache::DrawPiece(QPainter& painter, const QPointF& at, const QString& piece) {
    auto found = pieces_.find(piece);
    if (found == pieces_.end()) {
        if (pieces_.size() > 512) pieces_.clear();
        const QFontMetricsF metrics(painter.font());
        const qreal ratio = painter.device()->devicePixelRatioF();
        const QSizeF size(metrics.horizontalAdvance(piece), metrics.height());
        QImage image((size * ratio).toSize() + QSize(1, 1), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        QPainter text(&image);
        text.setFont(painter.font());
        text.setPen(painter.pen());
        text.drawText(QPointF(0, metrics.ascent()), piece);
        text.end();
        found = pieces_.insert(piece, {image, size.width()});
    }
    // On whole pixels the image is copied; elsewhere it would be resampled.
    painter.drawImage(at.toPoint(), found->image);
    return found->width;
}

qreal TextCache::Draw(QPainter& painter, const QPointF& at, const QString& text) {
    const auto isNumber = [](QChar c) { return c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-'); };
    QPointF position = at;
    qsizetype start = 0;
    while (start < text.size()) {
        if (isNumber(text[start])) {
            position.rx() += DrawPiece(painter, position, text.mid(start, 1));
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end < text.size() && !isNumber(text[end])) ++end;
        position.rx() += DrawPiece(painter, position, text.mid(start, end - start));
        start = end;
    }
    return position.x() - at.x();
}

void PaintRangePreview(QPainter& painter, const QRect& area, const RangeFigures& range) {
    painter.fillRect(area, Qt::white);
    const QRectF chart = ChartArea(area, painter.fontMetrics());
    // The range, shaded: the band of its bars and the area under the closes.
    if (!range.dates.empty()) painter.fillRect(chart, Translucent(kLightGreen));
    const Scale prices = Scale::Of(Doubles(range.closes), chart);
    const QPolygonF closes = Line(Doubles(range.closes), prices, range.closes.size());
    FillUnder(painter, closes, chart, Translucent(kDarkGreen));
    DrawLine(painter, closes, kDarkGreen.darker(150));
    DrawYears(painter, range.dates, chart);
}

namespace {

QString WinRateLabel(const RunPicture& picture) {
    const double winRate = picture.winRates.empty() ? 0.0 : static_cast<double>(picture.winRates.back()) * 100.0;
    return QString::asprintf("策略胜率: %.2f%%", winRate);
}

}  // namespace

RunLabels LabelsOf(const RunPicture& picture) {
    return {QString::asprintf("区间涨跌: %.2f%%", picture.range.rangeChange),
            QString::asprintf("累计盈利: %.2f%%", picture.range.accumulatedProfit),
            QString::asprintf("复利盈利: %.2f%%", picture.range.compoundProfit), WinRateLabel(picture)};
}

QString StatusPhraseOf(const RunPicture& picture) {
    const auto generations = static_cast<int>(picture.winRates.size());
    if (picture.generating)
        return QString::asprintf("正在搜索策略[ %d ] 当前搜索深度[ %d ]", generations,
                                 static_cast<int>(picture.stallCount));
    if (generations > 0) return QString::asprintf("生成完毕 - 共优选[ %d ]轮", generations);
    return {};
}

QString StatusTextOf(const RunPicture& picture) {
    return picture.stock + QLatin1Char(' ') + StatusPhraseOf(picture) + QLatin1Char(' ');
}

void PaintUpperBackground(QPainter& painter, const QRect& area, const RunPicture& picture) {
    painter.fillRect(area, Qt::white);
    const QRectF chart = ChartArea(area, painter.fontMetrics());
    const RangeFigures& range = picture.range;
    const Scale prices = Scale::Of(Doubles(range.closes), chart);
    const QPolygonF closes = Line(Doubles(range.closes), prices, range.closes.size());
    FillUnder(painter, closes, chart, Translucent(kLightGreen));
    DrawLine(painter, closes, kDarkGreen);
    DrawYears(painter, range.dates, chart);
}

void PaintUpperChart(QPainter& painter, const QRect& area, const RunPicture& picture, TextCache& texts) {
    const QRectF chart = ChartArea(area, painter.fontMetrics());
    const RangeFigures& range = picture.range;
    DrawTradePoints(painter, picture, Scale::Of(Doubles(range.closes), chart));
    if (!range.accumulated.empty()) {
        std::vector<double> withZero = range.accumulated;
        withZero.push_back(0.0);
        const Scale profit = Scale::Of(withZero, chart);
        painter.setPen(QPen(Translucent(kChartRed), 1, Qt::DashLine));
        painter.drawLine(QPointF(chart.left(), profit.Y(0)), QPointF(chart.right(), profit.Y(0)));
        DrawLine(painter, Line(range.accumulated, profit, range.dates.size()), kChartRed);
    }
    const RunLabels labels = LabelsOf(picture);
    DrawLabels(painter, QRectF(area), {labels.rangeChange, labels.accumulated, labels.compound}, texts);
}

void PaintLowerChart(QPainter& painter, const QRect& area, const RunPicture& picture, TextCache& texts) {
    painter.fillRect(area, Qt::white);
    painter.setPen(kGrid);
    painter.drawLine(area.topLeft(), area.topRight());
    const QRectF chart = QRectF(area).adjusted(8, painter.fontMetrics().height() + 10, -8, -6);
    const std::vector<double> rates = Doubles(picture.winRates);
    // The horizontal scale grows with the run: one position more than the entries.
    const QPolygonF line = WithoutFlatPoints(Line(rates, Scale::Of(rates, chart), rates.size() + 1));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawLine(painter, line, kChartRed);
    painter.restore();
    DrawLabels(painter, QRectF(area), {WinRateLabel(picture)}, texts);
}

void PaintStatusText(QPainter& painter, const QRect& area, const QString& text, TextCache& texts) {
    painter.fillRect(area, Qt::white);
    painter.setPen(kText);
    const qreal top = area.top() + (area.height() - QFontMetricsF(painter.font()).height()) / 2;
    texts.Draw(painter, QPointF(area.left(), top), text);
}
