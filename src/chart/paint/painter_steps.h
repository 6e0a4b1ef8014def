#pragma once
// The drawing scheme every indicator painter follows: the sub-chart frame
// and scale, dotted reference lines with their labels, one polyline per
// line through the visible bars, and the row of title and value texts.
#include <QPen>
#include <QPolygon>
#include <QRect>
#include <QString>

#include <initializer_list>

#include "chart/indicator_generator.h"
#include "chart/paint/paint_context.h"

// The generator with this key; null when there is none.
const CIndicatorDataGenerator* FindGenerator(const CDataCenter& dc, const char* key);

// Parameter i as a period (truncated toward zero); 0 when missing.
int Period(const Series& params, size_t i);

// Centre x of visible slot k (bar first + k), shared by candles and every
// indicator so each value lines up with its candle.
inline float SlotX(const CScreenSet& screen, int k) { return screen.mainPlot.x() + (k + 0.5f) * screen.pitch; }

// The sub-chart area's frame.
void DrawSubFrame(const PaintContext& context);

// The sub-chart plot's scale: the area less its inner margins.
VerticalScale SubScale(const CScreenSet& screen, float max, float min);

// A dotted line across the sub-chart area at each value's height, with the
// value (two decimals) right-aligned in a box ending at the area's left edge.
void DrawReferenceLines(const PaintContext& context, const VerticalScale& scale, std::initializer_list<float> values);

// One polyline through the visible bars' values. Main-chart lines keep only
// points inside the plot rows, so warm-up zeros far below the prices are
// left out; infinite and NaN values give no point.
void DrawSeries(const PaintContext& context, const Series& values, const VerticalScale& scale, const QPen& pen,
                bool insidePlotOnly);

// The row of title and value texts, boxes 100 wide placed left to right
// from the area's left edge; a box is drawn only while it ends strictly left
// of the area's right edge, and the first that does not fit ends the row.
class TextRow {
public:
    TextRow(const PaintContext& context, const QRect& area, int y);
    void Add(const QString& text, QRgb colour);

private:
    static constexpr int kBoxWidth = 100;
    QPainter& painter_;
    int x_;
    int y_;
    int right_;
    bool full_ = false;
};

// The text row of a main-chart painter (below the plot) and of a
// sub-chart painter (above its plot).
TextRow MainTextRow(const PaintContext& context);
TextRow SubTextRow(const PaintContext& context);

// A 1-pixel solid pen.
QPen SolidPen(QRgb colour);
