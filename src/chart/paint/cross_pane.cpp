#include "chart/paint/cross_pane.h"

#include <algorithm>

#include "chart/paint/draw_helpers.h"

namespace {

constexpr int kLabelWidth = 68;

void DrawLabel(const PaintContext& c, const QRect& box, const QString& text) {
    c.painter.fillRect(box, QColor::fromRgba(chart_colour::kCrossLabelFill));
    c.painter.setPen(c.screen.crossLabelPen);
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawRect(box);
    DrawBoxText(c.painter, box, Qt::AlignHCenter, text, chart_colour::kCrossLabelText);
}

}  // namespace

void CCrossPane::Update(CScreenSet& s, int bars) {
    if (bars <= 0) return;
    const QRect& plot = s.mainPlot;
    // A stock with fewer bars than the last one may leave the first visible
    // bar beyond its end.
    s.firstVisible = std::clamp(s.firstVisible, 0, bars - 1);
    const float x = std::clamp(s.crossX, static_cast<float>(plot.x()), static_cast<float>(RightOf(plot)));
    const int y = std::clamp(s.crossY, plot.y(), BottomOf(plot));
    s.shownCount = s.firstVisible + s.requestedCount > bars ? bars - s.firstVisible : s.requestedCount;
    s.pitch = static_cast<float>(plot.width()) / static_cast<float>(s.requestedCount);
    s.gap = CScreenSet::kGapRatio * s.pitch;
    s.cursorBar = std::clamp(static_cast<int>((x - static_cast<float>(plot.x())) / s.pitch) + s.firstVisible, 0, bars - 1);
    s.crossX = static_cast<float>(plot.x()) + (static_cast<float>(s.cursorBar - s.firstVisible) + 0.5f) * s.pitch;
    s.crossY = y;
}

void CCrossPane::Paint(const PaintContext& c) {
    if (c.bars == 0) return;
    const CScreenSet& s = c.screen;
    const QRect& area = s.crossArea;
    const int x = Px(s.crossX);
    c.painter.setPen(s.crossPen);
    c.painter.drawLine(x, area.y(), x, BottomOf(area));
    c.painter.drawLine(area.x(), s.crossY, RightOf(area), s.crossY);
    c.painter.setFont(s.font);
    const int date = c.dc.Dates()[s.cursorBar];
    DrawLabel(c, QRect(x - kLabelWidth, s.dateStrip.y(), kLabelWidth, CScreenSet::kTextHeight),
              FormatText("%.4d-%.2d-%.2d", date / 10000, date / 100 % 100, date % 100));
    DrawLabel(c, QRect(area.x() - kLabelWidth, s.crossY, kLabelWidth, CScreenSet::kTextHeight),
              FormatText("%.2f", c.price.ValueAt(static_cast<float>(s.crossY))));
}
