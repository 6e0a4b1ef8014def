// Pixels of charts drawn by korvel_chart: candles, price grid, month ticks,
// MACD bars, trade marks with the advice word, the cross-hair, a flat range.
#include <gtest/gtest.h>

#include <cmath>
#include <mutex>

#include "chart/paint/main_pane.h"
#include "chart/paint/mark_images.h"
#include "chart_fixture.h"

namespace {

using chart_test::Bar;
using chart_test::kPlotH;
using chart_test::kPlotX;
using chart_test::kPlotY;
using chart_test::kStripY;
using chart_test::Plain;

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kCyan = 0xFF00FFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGrid = 0xFF800000;
constexpr QRgb kCross = 0xFF808080;
constexpr QRgb kLabelFill = 0xFF8B0000;

// Highs and lows span 9 to 13 over the plot's 380 rows: 95 rows per unit,
// y(v) = 35 + (13 - v) * 95. Slot s: body from x 75 + 100 s, 70 wide,
// centre 110 + 100 s.
const std::vector<Bar> kFiveBars = {
    {20220128, 10, 10.5, 9.5, 10},    // equal to its open, first bar: rising
    {20220131, 10, 13, 9, 12},        // rising: body rows 130 to 320
    {20220201, 12, 12.5, 10.5, 11},   // falling: body rows 130 to 225; month tick
    {20220202, 11, 11.5, 10.5, 11},   // doji at the previous close: falling colour
    {20220203, 11.5, 12, 11, 11.5},   // doji above the previous close: rising
};
constexpr int kQuietRow = 400;  // no sample looks at this row

int Y(double v) { return static_cast<int>(std::floor(kPlotY + (13 - v) * 95 + 0.5)); }

class ChartPaintTest : public chart_test::ChartTest {};

TEST_F(ChartPaintTest, CandlesGridAndMonthTicks) {
    Load(kFiveBars);
    const QImage& image = Render(Plain(10), kQuietRow);
    struct Sample {
        const char* what;
        int x, y;
        QRgb colour;
    } samples[] = {
        {"first bar, doji line", 80, Y(10), kRed},
        {"rising outline, left", 175, 200, kRed},
        {"rising outline, right", 245, 200, kRed},
        {"rising body hides its wick", 210, 200, kBlack},
        {"rising wick above the body", 210, 80, kRed},
        {"falling body", 280, 180, kCyan},
        {"falling wick", 310, 100, kCyan},
        {"doji at the previous close", 380, Y(11), kCyan},
        {"its wick", 410, Y(11.25), kCyan},
        {"doji above the previous close", 480, Y(11.5), kRed},
        {"between bars", 160, 200, kBlack},
        {"month tick at the first bar of February", 310, kStripY + 6, kRed},
        {"no tick within January", 210, kStripY + 6, kBlack},
        {"no tick within February", 410, kStripY + 6, kBlack},
        {"between grid rows", 700, 100, kBlack},
    };
    for (const Sample& s : samples) EXPECT_EQ(image.pixel(s.x, s.y), s.colour) << s.what;
    // Four dotted grid lines: plot y + j x 380 / 3.
    for (const int row : {35, 162, 288, 415}) {
        const bool dotted = image.pixel(700, row) == kGrid || image.pixel(701, row) == kGrid;
        EXPECT_TRUE(dotted) << "grid row " << row;
        EXPECT_NE(image.pixel(700, row), image.pixel(701, row)) << "grid row " << row << " is dotted";
    }
}

TEST_F(ChartPaintTest, FlatRangeDrawsOnTheMiddleRow) {
    Load({{20220128, 10, 10, 10, 10}});
    const QImage& image = Render(Plain(10), kQuietRow);
    EXPECT_EQ(image.pixel(80, kPlotY + kPlotH / 2), kRed);
}

TEST_F(ChartPaintTest, MacdBarsAreRedAboveZeroAndGreenBelow) {
    std::vector<Bar> bars;
    for (int i = 0; i < 120; ++i) {
        const double close = 10 + 2 * std::sin(i / 9.0);
        bars.push_back({20210101 + i, close, close + 0.1, close - 0.1, close});
    }
    Load(bars);
    ChartState state = Plain(100, 20);
    state.subIndicator = "MACD";
    const QImage& image = Render(state, kQuietRow);

    std::lock_guard lock(dc_.DataLock());
    std::vector<float> lines[3];
    float max = -1e30f, min = 1e30f;
    for (int k = 0; k < 3; ++k) {
        lines[k] = dc_.GetIndicatorLine("MACD", k);
        for (int i = 20; i < 120; ++i) max = std::max(max, lines[k][i]), min = std::min(min, lines[k][i]);
    }
    // Sub plot: y 468, 127 rows (area 448 to 615 less margins of 20).
    const auto y = [&](float v) { return 468 + (max - v) * 127 / (max - min); };
    int red = 0, green = 0;
    for (int i = 20; i < 120; ++i) {
        const float v = lines[2][i];
        if (std::fabs(y(v) - y(0)) < 6) continue;
        const int x = static_cast<int>(kPlotX + (i - 20 + 0.5f) * 10);
        const QRgb pixel = image.pixel(x, static_cast<int>(y(0) + (v > 0 ? -3 : 3)));
        const QRgb wrong = v > 0 ? 0xFF00FF00 : kRed;
        EXPECT_NE(pixel, wrong) << "bar " << i;
        red += pixel == kRed;
        green += pixel == 0xFF00FF00;
    }
    EXPECT_GT(red, 20);
    EXPECT_GT(green, 20);
}

// The pixels of the image at (x, y) equal those of `mark`.
::testing::AssertionResult MarkAt(const QImage& image, const QImage& mark, int x, int y) {
    for (int dy = 0; dy < mark.height(); ++dy)
        for (int dx = 0; dx < mark.width(); ++dx)
            if (image.pixel(x + dx, y + dy) != mark.pixel(dx, dy))
                return ::testing::AssertionFailure() << "differs at (" << x + dx << ", " << y + dy << ")";
    return ::testing::AssertionSuccess();
}

int CountColour(const QImage& image, const QRect& area, QRgb colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += image.pixel(x, y) == colour;
    return count;
}

TEST_F(ChartPaintTest, MarksOnTheTradingDaysAndTheAdviceBesideTheNewestBar) {
    Load(kFiveBars);
    {
        std::lock_guard lock(dc_.DataLock());
        dc_.Signals() = {0, 0, 1, 1, 0};  // letters s w b h s
    }
    ChartState state = Plain(10);
    state.marks = true;
    const QImage& image = Render(state, kQuietRow);
    // x = 60 + (i + 1) x 100 - (5 + 100) / 2; a sell mark 2 rows above the
    // high, a buy mark 2 rows below the low.
    EXPECT_TRUE(MarkAt(image, SellMark(true), 208, Y(13) - 2 - 10)) << "sell on bar 1";
    EXPECT_TRUE(MarkAt(image, BuyMark(true), 408, Y(10.5) + 2)) << "buy on bar 3";
    EXPECT_EQ(CountColour(image, QRect(300, Y(12.5) - 14, 20, 12), 0xFF00FF00), 0) << "nothing on bar 2";
    // "卖出" in 0xFF008000 from x 60 + 5 x 100, 20 rows below the newest high.
    const QRect advice(560, Y(12) + 20, 16, 30);
    EXPECT_GT(CountColour(image, advice, 0xFF008000), 20);

    // Narrow bars take the small letters: pitch 2.5, x = 60 + 5 - 2.75.
    state.requestedCount = 400;
    EXPECT_TRUE(MarkAt(Render(state, kQuietRow), SellMark(false), 62, Y(13) - 2 - 5));

    // Before the strategy is evaluated: no marks, no advice.
    {
        std::lock_guard lock(dc_.DataLock());
        dc_.Signals().clear();
    }
    state.requestedCount = 10;
    const QImage& bare = Render(state, kQuietRow);
    EXPECT_FALSE(MarkAt(bare, SellMark(true), 208, Y(13) - 2 - 10));
    EXPECT_EQ(CountColour(bare, advice, 0xFF008000), 0);
}

TEST_F(ChartPaintTest, CrossHairSnapsToTheBarWithItsLabels) {
    Load(kFiveBars);
    chart_.Apply(Plain(10), chart_test::kSize);
    ASSERT_TRUE(chart_.MoveCrossHair(QPoint(kPlotX + 130, 300), chart_test::kSize));  // inside bar 1's slot
    const QImage& image = chart_.Paint(chart_test::kSize);
    EXPECT_EQ(chart_.Screen().cursorBar, 1);
    const int x = 210;  // bar 1's centre
    struct Sample {
        const char* what;
        int x, y;
        QRgb colour;
    } samples[] = {
        {"vertical line in the sub-chart area", x, 550, kCross},
        {"vertical line over the candle", x, 200, kCross},
        {"not at the mouse", kPlotX + 130, 550, kBlack},
        {"horizontal line", 700, 300, kCross},
        {"date label outline, left", x - 68, kStripY + 6, kRed},
        {"date label fill", x - 67, kStripY + 6, kLabelFill},
        {"date label outline, top", x - 30, kStripY, kRed},
        {"price label outline, top", 5, 300, kRed},
        {"price label fill", 2, 306, kLabelFill},
    };
    for (const Sample& s : samples) EXPECT_EQ(image.pixel(s.x, s.y), s.colour) << s.what;
    // Only moves inside the cross area count; the point stays where it was.
    EXPECT_FALSE(chart_.MoveCrossHair(QPoint(kPlotX + 130, 300), chart_test::kSize));
    EXPECT_FALSE(chart_.MoveCrossHair(QPoint(20, 300), chart_test::kSize));
    chart_.Paint(chart_test::kSize);
    EXPECT_EQ(chart_.Screen().cursorBar, 1);
}

TEST_F(ChartPaintTest, SixtyBarsAtZoomHundredFillTheLeftSixtyPercent) {
    std::vector<Bar> bars;
    for (int i = 0; i < 60; ++i) bars.push_back({20220101 + i, 10, 11.0 + i % 3, 9, 10.5});
    Load(bars);
    const QImage& image = Render(Plain(100, -1));
    EXPECT_EQ(chart_.Screen().firstVisible, 0);
    EXPECT_FLOAT_EQ(chart_.Screen().pitch, 10);
    const auto candles = [&](int fromX, int toX) {
        return CountColour(image, QRect(fromX, kPlotY, toX - fromX, kPlotH), kRed);
    };
    EXPECT_GT(candles(650, 660), 50) << "the newest bar ends in the 60th slot";
    EXPECT_EQ(candles(661, kPlotX + 1000), 0);
}

TEST_F(ChartPaintTest, InformationRowPricesWithThreeDecimalsForSecurityTypes11To14) {
    Load({{20220104, 10, 10.5, 9.5, 10.0}, {20220105, 10.123, 10.5, 9.5, 9.8}});
    for (const auto& [type, open] : {std::pair{1, "10.12"}, {11, "10.123"}, {14, "10.123"}, {15, "10.12"}}) {
        ASSERT_TRUE(store_.db().Exec("UPDATE STOCKCODE SET PTYPE = ?", {type}));
        CDataCenter dc(store_.db());
        dc.LoadStockList();
        ASSERT_TRUE(dc.LoadStock("600000", "SS"));
        const std::vector<InfoBox> row = InformationRow(dc, 1);
        ASSERT_EQ(row.size(), 13u);
        EXPECT_EQ(row[0].text.toStdString(), "2022-01-05");
        EXPECT_EQ(row[2].text.toStdString(), open) << "type " << type;
        EXPECT_EQ(row[2].colour, kRed) << "open above the previous close";
        EXPECT_EQ(row[8].colour, kCyan) << "close below it";
        EXPECT_EQ(row[10].text.toStdString(), "-2.00%");
    }
}

}  // namespace
