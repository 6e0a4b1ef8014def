#include "chart/paint/screen_set.h"

#include "chart/paint/draw_helpers.h"

namespace {

QPen Pen(QRgb colour) {
    QPen pen{QColor::fromRgba(colour)};
    pen.setWidth(1);
    return pen;
}

}  // namespace

CScreenSet::CScreenSet()
    : font(ChartFont()),
      labelFont(ChartFont()),
      framePen(Pen(chart_colour::kFrame)),
      gridPen(DottedPen(chart_colour::kGrid)),
      risingPen(Pen(chart_colour::kRising)),
      fallingPen(Pen(chart_colour::kFalling)),
      crossPen(Pen(chart_colour::kCrossLine)),
      crossLabelPen(Pen(chart_colour::kCrossLabelOutline)) {}

void CScreenSet::Layout(QSize client) {
    const int width = client.width();
    const int height = client.height();
    chart = QRect(kMarginLeft, kMarginTop, width - kMarginLeft - kMarginRight, height);
    mainArea = QRect(chart.x() + kPriceAxisWidth, chart.y(), chart.width() - kPriceAxisWidth - kMarginRight,
                     chart.height() * 2 / 3);
    mainPlot = QRect(mainArea.x() + kMainSideMargin, mainArea.y() + kMainInnerMargin,
                     mainArea.width() - 2 * kMainSideMargin, mainArea.height() - 2 * kMainInnerMargin);
    dateStrip = QRect(mainArea.x(), BottomOf(mainArea), mainArea.width(), kTextHeight);
    subArea = QRect(mainArea.x(), BottomOf(dateStrip), mainArea.width(), height - kMarginBottom - BottomOf(dateStrip));
    crossArea = QRect(mainArea.x(), mainArea.y(), mainArea.width(), BottomOf(subArea) - mainArea.y());
}
