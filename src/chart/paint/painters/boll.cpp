// BOLL over the K-line chart: upper band, middle line, lower band.
#include "chart/paint/draw_helpers.h"
#include "chart/paint/indicator_painters.h"
#include "chart/paint/painter_steps.h"

namespace {
constexpr QRgb kColours[] = {0xFFDDA0DD, 0xFFF0E68C, 0xFFDDA0DD};  // UPPER, MID, LOWER
constexpr const char* kFormats[] = {"UPPER: %.2f", "MID: %.2f", "LOWER: %.2f"};
}  // namespace

CBollDataPainter::CBollDataPainter() {
    for (size_t i = 0; i < pens_.size(); ++i) pens_[i] = SolidPen(kColours[i]);
}

void CBollDataPainter::Paint(const PaintContext& context) {
    const CIndicatorDataGenerator* boll = FindGenerator(context.dc, "BOLL");
    if (boll == nullptr || boll->lines.size() < 3 || boll->lines[0].empty()) return;
    for (size_t i = 0; i < 3; ++i) DrawSeries(context, boll->lines[i], context.price, pens_[i], true);
    const int cursor = context.screen.cursorBar;
    TextRow row = MainTextRow(context);
    row.Add(FormatText("BOLL(%d,%d)", Period(boll->params, 0), Period(boll->params, 1)), chart_colour::kTitle);
    for (size_t i = 0; i < 3; ++i) row.Add(FormatText(kFormats[i], boll->lines[i][cursor]), kColours[i]);
}
