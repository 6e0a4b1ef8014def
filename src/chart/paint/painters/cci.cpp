// CCI in the sub-chart, scaled over its visible values.
#include "chart/paint/draw_helpers.h"
#include "chart/paint/indicator_painters.h"
#include "chart/paint/painter_steps.h"

namespace {
constexpr QRgb kColour = 0xFFF0E68C;
}

CCciDataPainter::CCciDataPainter() { pens_[0] = SolidPen(kColour); }

void CCciDataPainter::Paint(const PaintContext& context) {
    DrawSubFrame(context);
    const CIndicatorDataGenerator* cci = FindGenerator(context.dc, "CCI");
    if (cci == nullptr || cci->lines.empty() || cci->lines[0].empty()) return;
    const CScreenSet& screen = context.screen;
    const ValueRange range = VisibleRange(cci->lines[0], screen.firstVisible, screen.shownCount);
    const VerticalScale scale = SubScale(screen, range.max, range.min);
    DrawReferenceLines(context, scale, {range.max, 0, range.min});
    DrawSeries(context, cci->lines[0], scale, pens_[0], false);
    TextRow row = SubTextRow(context);
    row.Add(FormatText("CCI(%d)", Period(cci->params, 0)), chart_colour::kTitle);
    row.Add(FormatText("CCI: %.2f", cci->lines[0][screen.cursorBar]), kColour);
}
