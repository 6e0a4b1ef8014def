#pragma once
// The chart's navigation: scrolling, zooming and shifting the visible bars
// of a stock of `bars` bars. Each changes only the first visible bar and the
// requested count; the caller repaints.
#include "chart/paint/screen_set.h"

// Bars actually visible for this state: the requested count, or fewer at
// the end of the series (what the next paint will show).
int ShownCount(const CScreenSet& screen, int bars);

// Arrow keys: `steps` bars left (negative) or right, kept within the series.
void ScrollBars(CScreenSet& screen, int bars, int steps);

// Up arrow, "放大": 0.9 times as many bars (the factor held in single
// precision, so 100 becomes 89), keeping the right edge where it was; never
// fewer than the bars already shown when those do not fill the plot.
void ZoomIn(CScreenSet& screen, int bars);

// Down arrow, "缩小": 1.1 times as many bars (at least 5 more), the new
// ones coming in on the left.
void ZoomOut(CScreenSet& screen);

// "左移" and "右移": half the requested count left or right.
void ShiftLeft(CScreenSet& screen);
void ShiftRight(CScreenSet& screen, int bars);

// On opening a stock: the newest bars at the right, the zoom unchanged.
void ShowNewest(CScreenSet& screen, int bars);
