#include "chart/paint/screen_set.h"

#include "chart/paint/draw_helpers.h"

CScreenSet::CScreenSet() : font(ChartFont()), labelFont(ChartFont()), gridPen(DottedPen(chart_colour::kGrid)) {}

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
