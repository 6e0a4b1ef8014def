#pragma once
// What every pane and painter reads during one paint: the painter of the
// off-screen image, the layout, the data center (read under its data lock,
// held by the caller for the whole paint) and the main plot's price scale,
// computed once per paint over the visible highs and lows.
#include <QPainter>

#include "chart/paint/screen_set.h"
#include "chart/paint/vertical_scale.h"
#include "datastore/data_center.h"

struct PaintContext {
    QPainter& painter;
    const CScreenSet& screen;
    const CDataCenter& dc;
    VerticalScale price;
    int bars = 0;  // number of bars of the current stock
};

// The main plot's scale over the visible bars' displayed highs and lows.
VerticalScale PriceScale(const CScreenSet& screen, const CDataCenter& dc);
