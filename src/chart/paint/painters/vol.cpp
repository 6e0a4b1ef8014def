// VOL in the sub-chart: one box per bar from 0 up to its volume (an
// outline when the close rose, filled otherwise), then three averages.
#include "chart/paint/draw_helpers.h"
#include "chart/paint/indicator_painters.h"
#include "chart/paint/painter_steps.h"

namespace {
constexpr QRgb kColours[] = {0xFFFFFF00, 0xFF00FF00, 0xFF800080};  // MA1, MA2, MA3
constexpr QRgb kRising = 0xFFFF0000;
constexpr QRgb kOther = 0xFF00FFFF;
constexpr size_t kRisingPen = 3;

void DrawBoxes(const PaintContext& context, const Series& volume, const VerticalScale& scale, const QPen& risingPen) {
    const CScreenSet& s = context.screen;
    const Series& close = context.dc.Displayed().close;
    const int y0 = Px(scale.Y(0));
    for (int k = 0; k < s.shownCount; ++k) {
        const int i = s.firstVisible + k;
        const float x = SlotX(s, k);
        const int left = Px(x - s.pitch / 2 + s.gap);
        const int right = Px(x + s.pitch / 2 - s.gap);
        const int top = Px(scale.Y(volume[i]));
        // The first bar of the series counts as rising.
        if (i == 0 || close[i] > close[i - 1]) {
            context.painter.setPen(risingPen);
            context.painter.setBrush(Qt::NoBrush);
            context.painter.drawRect(left, top, right - left, y0 - top);
        } else {
            // Filled and outlined in one colour: the fill covers the outline's pixels too.
            context.painter.fillRect(left, top, right - left + 1, y0 - top + 1, QColor::fromRgba(kOther));
        }
    }
}

}  // namespace

CVolDataPainter::CVolDataPainter() {
    for (size_t i = 0; i < 3; ++i) pens_[i] = SolidPen(kColours[i]);
    pens_[kRisingPen] = SolidPen(kRising);
}

void CVolDataPainter::Paint(const PaintContext& context) {
    DrawSubFrame(context);
    const CIndicatorDataGenerator* vol = FindGenerator(context.dc, "VOL");
    if (vol == nullptr || vol->lines.size() < 4 || vol->lines[0].empty()) return;
    const CScreenSet& screen = context.screen;
    const ValueRange range = VisibleRange(vol->lines[0], screen.firstVisible, screen.shownCount);
    const VerticalScale scale = SubScale(screen, range.max, 0);
    DrawReferenceLines(context, scale, {range.max, range.max / 2, 0});
    DrawBoxes(context, vol->lines[0], scale, pens_[kRisingPen]);
    for (size_t i = 0; i < 3; ++i) DrawSeries(context, vol->lines[i + 1], scale, pens_[i], false);
    const Series& p = vol->params;
    const int cursor = screen.cursorBar;
    TextRow row = SubTextRow(context);
    row.Add(FormatText("VOL(%d,%d,%d)", Period(p, 0), Period(p, 1), Period(p, 2)), chart_colour::kTitle);
    row.Add(FormatText("VOL: %.0f", vol->lines[0][cursor]), 0xFFFFFFFF);
    for (size_t i = 0; i < 3; ++i) row.Add(FormatText("MA%zu: %.0f", i + 1, vol->lines[i + 1][cursor]), kColours[i]);
}
