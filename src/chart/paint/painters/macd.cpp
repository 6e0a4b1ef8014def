// MACD in the sub-chart: the MACD value as a bar from zero per bar (red
// above zero, green otherwise), then the DIFF and DEA lines.
#include <cmath>

#include "chart/paint/draw_helpers.h"
#include "chart/paint/indicator_painters.h"
#include "chart/paint/painter_steps.h"

namespace {
constexpr QRgb kDiff = 0xFFFFFFFF;
constexpr QRgb kDea = 0xFFFFFF00;
constexpr QRgb kPositive = 0xFFFF0000;
constexpr QRgb kNegative = 0xFF00FF00;
enum { kDiffPen, kDeaPen, kPositivePen, kNegativePen };

ValueRange RangeOfAll(const std::vector<Series>& lines, int first, int count) {
    ValueRange r = VisibleRange(lines[0], first, count);
    for (size_t i = 1; i < 3; ++i) {
        const ValueRange more = VisibleRange(lines[i], first, count);
        r.max = std::max(r.max, more.max);
        r.min = std::min(r.min, more.min);
    }
    return r;
}

}  // namespace

CMacdDataPainter::CMacdDataPainter() {
    pens_[kDiffPen] = SolidPen(kDiff);
    pens_[kDeaPen] = SolidPen(kDea);
    pens_[kPositivePen] = SolidPen(kPositive);
    pens_[kNegativePen] = SolidPen(kNegative);
}

void CMacdDataPainter::Paint(const PaintContext& context) {
    DrawSubFrame(context);
    const CIndicatorDataGenerator* macd = FindGenerator(context.dc, "MACD");
    if (macd == nullptr || macd->lines.size() < 3 || macd->lines[0].empty()) return;
    const CScreenSet& s = context.screen;
    const ValueRange range = RangeOfAll(macd->lines, s.firstVisible, s.shownCount);
    const VerticalScale scale = SubScale(s, range.max, range.min);
    DrawReferenceLines(context, scale, {range.max, 0, range.min});
    const Series& bars = macd->lines[2];
    const int y0 = Px(scale.Y(0));
    for (int k = 0; k < s.shownCount; ++k) {
        const float v = bars[s.firstVisible + k];
        if (!std::isfinite(v)) continue;
        const float yv = scale.Y(v);
        context.painter.setPen(yv < scale.Y(0) ? pens_[kPositivePen] : pens_[kNegativePen]);
        const int x = Px(SlotX(s, k));
        context.painter.drawLine(x, y0, x, Px(yv));
    }
    DrawSeries(context, macd->lines[0], scale, pens_[kDiffPen], false);
    DrawSeries(context, macd->lines[1], scale, pens_[kDeaPen], false);
    const Series& p = macd->params;
    const float value = bars[s.cursorBar];
    TextRow row = SubTextRow(context);
    row.Add(FormatText("MACD(%d,%d,%d)", Period(p, 0), Period(p, 1), Period(p, 2)), chart_colour::kTitle);
    row.Add(FormatText("DIFF: %.2f", macd->lines[0][s.cursorBar]), kDiff);
    row.Add(FormatText("DEA: %.2f", macd->lines[1][s.cursorBar]), kDea);
    row.Add(FormatText("MACD: %.2f", value), value < 0 ? kNegative : kPositive);
}
