#pragma once
// CScreenSet: the chart's layout and navigation state. It holds the zoom
// (requested bar count), the first visible bar and the cross-hair point,
// which survive stock changes, the per-paint values derived from them (shown
// count, pitch, gap, cursor bar), the six rectangles laid out from the client
// size, and the fonts and pens every pane draws with (built once, reused by
// every paint).
#include <QColor>
#include <QFont>
#include <QPen>
#include <QRect>
#include <QSize>

// Chart colours, 0xAARRGGBB.
namespace chart_colour {
inline constexpr QRgb kBackground = 0xFF000000;
inline constexpr QRgb kFrame = 0xFFFF0000;          // area frames, month ticks
inline constexpr QRgb kGrid = 0xFF800000;           // price grid, reference lines (dotted)
inline constexpr QRgb kAxisLabel = 0xFFFF0000;      // price axis and reference labels
inline constexpr QRgb kRising = 0xFFFF0000;         // rising candle wick and outline
inline constexpr QRgb kRisingFill = 0xFF000000;
inline constexpr QRgb kFalling = 0xFF00FFFF;        // falling candle, all of it
inline constexpr QRgb kTitle = 0xFFF0E4E4;          // titles, dates, information-row labels
inline constexpr QRgb kValueUp = 0xFFFF0000;        // values above the previous close
inline constexpr QRgb kValueDown = 0xFF00FFFF;
inline constexpr QRgb kValueEqual = 0xFFFFFFFF;
inline constexpr QRgb kCrossLine = 0xFF808080;
inline constexpr QRgb kCrossLabelFill = 0xFF8B0000;
inline constexpr QRgb kCrossLabelOutline = 0xFFFF0000;
inline constexpr QRgb kCrossLabelText = 0xFFFFFFFF;
}  // namespace chart_colour

class CScreenSet {
public:
    static constexpr int kMarginLeft = 10;
    static constexpr int kMarginRight = 5;
    static constexpr int kMarginTop = 15;
    static constexpr int kMarginBottom = 15;
    static constexpr int kMainInnerMargin = 20;  // information row above the plot, titles below
    static constexpr int kMainSideMargin = 0;
    static constexpr int kPriceAxisWidth = 50;
    static constexpr int kTextHeight = 13;       // date strip and text box height
    static constexpr int kMonthLabelWidth = 18;
    static constexpr int kYearLabelWidth = 30;
    static constexpr int kSubInnerMargin = 20;
    static constexpr float kGapRatio = 0.15f;    // body gap as a share of the pitch

    CScreenSet();

    // Lays the six rectangles out from a client area of this size.
    void Layout(QSize client);

    // Navigation, kept from stock to stock.
    int requestedCount = 100;  // bar slots across the plot: the zoom
    int firstVisible = 0;
    float crossX = 0;          // cross-hair point, snapped to the cursor bar
    int crossY = 0;

    // Recomputed on every paint from the above and the number of bars.
    int shownCount = 0;
    int cursorBar = 5;
    float pitch = 5;
    float gap = 1;
    int gridIntervals = 3;

    QRect chart;
    QRect mainArea;
    QRect mainPlot;
    QRect dateStrip;
    QRect subArea;
    QRect crossArea;

    QFont font;       // axes, titles, values, dates
    QFont labelFont;  // labels of the information row
    QPen framePen;
    QPen gridPen;     // dotted
    QPen risingPen;
    QPen fallingPen;
    QPen crossPen;
    QPen crossLabelPen;
};

// The rightmost column and the row below a rectangle's outline as the
// layout arithmetic counts them: x + w and y + h.
inline int RightOf(const QRect& r) { return r.x() + r.width(); }
inline int BottomOf(const QRect& r) { return r.y() + r.height(); }
