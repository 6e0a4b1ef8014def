#pragma once
// CChart: the K-line chart as the window and korvel-cli draw it. It owns
// the layout (CScreenSet), the K-line, cross-hair and indicator panes and
// the off-screen image, and runs the paint sequence: fill the image, lay
// out, then under the data lock update the cross-hair, paint the K-line
// pane, the indicators with the trade marks, and the cross-hair.
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSize>

#include "chart/paint/chart_state.h"
#include "chart/paint/cross_pane.h"
#include "chart/paint/indicator_pane.h"
#include "chart/paint/main_pane.h"
#include "chart/paint/screen_set.h"
#include "datastore/data_center.h"

class CChart {
public:
    explicit CChart(const CDataCenter& dc);

    // The picture of the current stock at this client size. The image is
    // kept and reused by the next paint of the same size.
    const QImage& Paint(QSize client);

    // A mouse position: when it differs from the last one and lies inside
    // the cross area, it becomes the cross-hair point. True when it did
    // (the caller repaints).
    bool MoveCrossHair(QPoint position, QSize client);

    // The point at bar `bar`'s centre and the height of its close, inside
    // the plot, for this client size and the current zoom.
    QPoint CrossPointAt(int bar, QSize client);

    // Sets the whole state (for a client of this size, where the cursor
    // bar becomes a cross-hair point) / reads it back.
    void Apply(const ChartState& state, QSize client);
    ChartState State() const;

    int Bars() const;
    CScreenSet& Screen() { return screen_; }
    const CScreenSet& Screen() const { return screen_; }
    CIndicatorPane& Indicators() { return indicators_; }
    const CIndicatorPane& Indicators() const { return indicators_; }

private:
    // The exact centre of the bar and the row of its close.
    QPointF BarPoint(int bar, QSize client);

    const CDataCenter& dc_;
    CScreenSet screen_;
    CMainPane mainPane_;
    CCrossPane crossPane_;
    CIndicatorPane indicators_;
    QImage image_;
    QPoint lastMouse_{-1, -1};
};
