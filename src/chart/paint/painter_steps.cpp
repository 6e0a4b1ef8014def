#include "chart/paint/painter_steps.h"

#include <cmath>
#include <cstring>

#include "chart/paint/draw_helpers.h"

const CIndicatorDataGenerator* FindGenerator(const CDataCenter& dc, const char* key) {
    for (const auto& generator : dc.Generators())
        if (std::strcmp(generator->GetName(), key) == 0) return generator.get();
    return nullptr;
}

int Period(const Series& params, size_t i) { return i < params.size() ? static_cast<int>(params[i]) : 0; }

void DrawSubFrame(const PaintContext& context) {
    context.painter.setPen(context.screen.framePen);
    context.painter.setBrush(Qt::NoBrush);
    context.painter.drawRect(context.screen.subArea);
}

VerticalScale SubScale(const CScreenSet& screen, float max, float min) {
    const QRect& area = screen.subArea;
    const int m = CScreenSet::kSubInnerMargin;
    return VerticalScale::Over(static_cast<float>(area.y() + m), static_cast<float>(area.height() - 2 * m), max, min);
}

void DrawReferenceLines(const PaintContext& context, const VerticalScale& scale, std::initializer_list<float> values) {
    const QRect& area = context.screen.subArea;
    for (const float v : values) {
        const int y = Px(scale.Y(v));
        context.painter.setPen(context.screen.gridPen);
        context.painter.drawLine(area.x(), y, RightOf(area), y);
        const QString label = (v < 0 ? QStringLiteral("-") : QString()) + FormatText("%.2f", std::fabs(v));
        DrawBoxText(context.painter, QRect(area.x() - 50, y - 6, 50, 12), Qt::AlignRight, label,
                    chart_colour::kAxisLabel);
    }
}

void DrawSeries(const PaintContext& context, const Series& values, const VerticalScale& scale, const QPen& pen,
                bool insidePlotOnly) {
    const CScreenSet& screen = context.screen;
    const float top = static_cast<float>(screen.mainPlot.y());
    const float bottom = static_cast<float>(BottomOf(screen.mainPlot));
    QPolygon points;
    points.reserve(screen.shownCount);
    for (int k = 0; k < screen.shownCount; ++k) {
        const float v = values[screen.firstVisible + k];
        if (!std::isfinite(v)) continue;
        const float y = scale.Y(v);
        if (insidePlotOnly && !(y >= top && y <= bottom)) continue;
        points.append(QPoint(Px(SlotX(screen, k)), Px(y)));
    }
    if (points.isEmpty()) return;
    context.painter.setPen(pen);
    if (points.size() == 1) context.painter.drawPoint(points.first());
    else context.painter.drawPolyline(points);
}

TextRow::TextRow(const PaintContext& context, const QRect& area, int y)
    : painter_(context.painter), x_(area.x()), y_(y), right_(RightOf(area)) {
    painter_.setFont(context.screen.font);
}

void TextRow::Add(const QString& text, QRgb colour) {
    if (full_ || x_ + kBoxWidth >= right_) {
        full_ = true;
        return;
    }
    DrawBoxText(painter_, QRect(x_, y_, kBoxWidth, CScreenSet::kTextHeight), Qt::AlignLeft, text, colour);
    x_ += kBoxWidth;
}

TextRow MainTextRow(const PaintContext& context) {
    const CScreenSet& s = context.screen;
    return TextRow(context, s.mainArea,
                   BottomOf(s.mainPlot) + (CScreenSet::kMainInnerMargin - CScreenSet::kTextHeight) / 2);
}

TextRow SubTextRow(const PaintContext& context) {
    const CScreenSet& s = context.screen;
    return TextRow(context, s.subArea, s.subArea.y() + (CScreenSet::kSubInnerMargin - CScreenSet::kTextHeight) / 2);
}

QPen SolidPen(QRgb colour) {
    QPen pen{QColor::fromRgba(colour)};
    pen.setWidth(1);
    return pen;
}
