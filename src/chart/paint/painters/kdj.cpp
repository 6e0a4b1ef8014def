// KDJ in the sub-chart: K, D and J on a fixed 0 to 100 scale.
#include "chart/paint/draw_helpers.h"
#include "chart/paint/indicator_painters.h"
#include "chart/paint/painter_steps.h"

namespace {
constexpr QRgb kColours[] = {0xFFF0E68C, 0xFF00FFFF, 0xFFDDA0DD};
constexpr const char* kFormats[] = {"K: %.2f", "D: %.2f", "J: %.2f"};
}  // namespace

CKdjDataPainter::CKdjDataPainter() {
    for (size_t i = 0; i < pens_.size(); ++i) pens_[i] = SolidPen(kColours[i]);
}

void CKdjDataPainter::Paint(const PaintContext& context) {
    DrawSubFrame(context);
    const CIndicatorDataGenerator* kdj = FindGenerator(context.dc, "KDJ");
    if (kdj == nullptr || kdj->lines.size() < 3 || kdj->lines[0].empty()) return;
    const VerticalScale scale = SubScale(context.screen, 100, 0);
    DrawReferenceLines(context, scale, {100, 50, 0});
    for (size_t i = 0; i < 3; ++i) DrawSeries(context, kdj->lines[i], scale, pens_[i], false);
    const Series& p = kdj->params;
    const int cursor = context.screen.cursorBar;
    TextRow row = SubTextRow(context);
    row.Add(FormatText("KDJ(%d,%d,%d)", Period(p, 0), Period(p, 1), Period(p, 2)), chart_colour::kTitle);
    for (size_t i = 0; i < 3; ++i) row.Add(FormatText(kFormats[i], kdj->lines[i][cursor]), kColours[i]);
}
