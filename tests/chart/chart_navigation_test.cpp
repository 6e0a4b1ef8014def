// Zoom, scrolling and shifting of the visible bars (the indicator choice:
// the ChartView tests of the desktop program).
#include <gtest/gtest.h>

#include "chart/paint/chart_navigation.h"

namespace {

// Zooming in keeps the first bar while fewer bars than slots are shown, the
// right edge once they fill the plot.
TEST(ChartNavigation, ZoomScrollAndShift) {
    struct Case {
        const char* what;
        void (*move)(CScreenSet&);
        int count, first;      // before
        int newCount, newFirst;
    } cases[] = {
        {"zoom in, 60 bars in 100 slots", [](CScreenSet& s) { ZoomIn(s, 1000); }, 100, 940, 89, 940},
        {"zoom in to the bars shown", [](CScreenSet& s) { ZoomIn(s, 1000); }, 63, 940, 60, 940},
        {"zoom in, the plot full", [](CScreenSet& s) { ZoomIn(s, 1000); }, 60, 940, 53, 947},
        {"zoom in at one bar", [](CScreenSet& s) { ZoomIn(s, 1000); }, 1, 940, 1, 940},
        {"zoom out from 5", [](CScreenSet& s) { ZoomOut(s); }, 5, 20, 10, 15},
        {"zoom out from 100", [](CScreenSet& s) { ZoomOut(s); }, 100, 5, 110, 0},
        {"Ctrl+Left at 4", [](CScreenSet& s) { ScrollBars(s, 200, -10); }, 100, 4, 100, 0},
        {"Right at the end", [](CScreenSet& s) { ScrollBars(s, 200, 3); }, 100, 198, 100, 199},
        {"左移", [](CScreenSet& s) { ShiftLeft(s); }, 89, 100, 89, 56},
        {"右移 at the end", [](CScreenSet& s) { ShiftRight(s, 200); }, 100, 180, 100, 199},
        {"opening a stock", [](CScreenSet& s) { ShowNewest(s, 200); }, 89, 5, 89, 111},
        {"opening a short stock", [](CScreenSet& s) { ShowNewest(s, 60); }, 89, 5, 89, 0},
    };
    for (const Case& c : cases) {
        CScreenSet s;
        s.requestedCount = c.count;
        s.firstVisible = c.first;
        c.move(s);
        EXPECT_EQ(s.requestedCount, c.newCount) << c.what;
        EXPECT_EQ(s.firstVisible, c.newFirst) << c.what;
    }
}

}  // namespace
