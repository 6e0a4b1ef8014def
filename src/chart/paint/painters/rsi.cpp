// RSI in the sub-chart: three relative strength lines on a fixed 0 to 100
// scale, with the 20 and 80 bounds marked.
#include "chart/paint/draw_helpers.h"
#include "chart/paint/indicator_painters.h"
#include "chart/paint/painter_steps.h"

namespace {
constexpr QRgb kColours[] = {0xFFF0E68C, 0xFF008000, 0xFF800080};
}

CRsiDataPainter::CRsiDataPainter() {
    for (size_t i = 0; i < pens_.size(); ++i) pens_[i] = SolidPen(kColours[i]);
}

void CRsiDataPainter::Paint(const PaintContext& context) {
    DrawSubFrame(context);
    const CIndicatorDataGenerator* rsi = FindGenerator(context.dc, "RSI");
    if (rsi == nullptr || rsi->lines.size() < 3 || rsi->lines[0].empty()) return;
    const VerticalScale scale = SubScale(context.screen, 100, 0);
    DrawReferenceLines(context, scale, {100, 20, 50, 80, 0});
    for (size_t i = 0; i < 3; ++i) DrawSeries(context, rsi->lines[i], scale, pens_[i], false);
    const Series& p = rsi->params;
    const int cursor = context.screen.cursorBar;
    TextRow row = SubTextRow(context);
    row.Add(FormatText("RSI(%d,%d,%d)", Period(p, 0), Period(p, 1), Period(p, 2)), chart_colour::kTitle);
    for (size_t i = 0; i < 3; ++i)
        row.Add(FormatText("RSI%d: %.2f", Period(p, i), rsi->lines[i][cursor]), kColours[i]);
}
