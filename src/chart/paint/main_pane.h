#pragma once
// CMainPane: the K-line pane. Draws the main area's frame, the price grid
// with its labels, the candles of the visible bars, the date strip with
// year and month labels, and the information row with the values of the
// bar under the cross-hair.
#include <QColor>
#include <QString>

#include <vector>

#include "chart/paint/paint_context.h"

class CMainPane {
public:
    // Call with the data lock held, after CCrossPane::Update.
    void Paint(const PaintContext& context);
};

// One box of the information row, left to right.
struct InfoBox {
    enum Kind { kDate, kLabel, kValue };
    int width;
    QString text;
    QRgb colour;
    Kind kind;  // labels use the second font; the date and labels sit one pixel lower
};

// The boxes of the information row for bar `cursor` (which must exist):
// date, then open, high, low, close, change and amplitude each after its
// label, prices with three decimals for security types 11 to 14.
std::vector<InfoBox> InformationRow(const CDataCenter& dc, int cursor);
