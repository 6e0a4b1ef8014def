// MA over the K-line chart: the three moving averages of the close.
#include "chart/paint/draw_helpers.h"
#include "chart/paint/indicator_painters.h"
#include "chart/paint/painter_steps.h"

namespace {
constexpr QRgb kColours[] = {0xFFF0E68C, 0xFFFFFF00, 0xFFDDA0DD};
}

CMaDataPainter::CMaDataPainter() {
    for (size_t i = 0; i < pens_.size(); ++i) pens_[i] = SolidPen(kColours[i]);
}

void CMaDataPainter::Paint(const PaintContext& context) {
    const CIndicatorDataGenerator* ma = FindGenerator(context.dc, "MA");
    if (ma == nullptr || ma->lines.size() < 3 || ma->lines[0].empty()) return;
    for (size_t i = 0; i < 3; ++i) DrawSeries(context, ma->lines[i], context.price, pens_[i], true);
    const Series& p = ma->params;
    const int cursor = context.screen.cursorBar;
    TextRow row = MainTextRow(context);
    row.Add(FormatText("MA(%d,%d)", Period(p, 0), Period(p, 1)), chart_colour::kTitle);
    for (size_t i = 0; i < 3; ++i)
        row.Add(FormatText("MA%d: %.2f", Period(p, i), ma->lines[i][cursor]), kColours[i]);
}
