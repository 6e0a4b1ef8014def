#pragma once
// What decides the chart's picture besides the stock and the client size:
// the zoom, the first visible bar, the bar under the cross-hair, the
// indicators chosen and whether the trade marks are on. The window changes
// it with keys, mouse and menus; korvel-cli sets it from its options; both
// read it back to draw the very same picture.
#include <string>

struct ChartState {
    int requestedCount = 100;
    int firstVisible = -1;     // -1: the newest bars at the right, as on opening a stock
    int cursorBar = -1;        // -1: the newest visible bar
    std::string mainIndicator; // "MA", "BOLL" or empty for none
    std::string subIndicator = "VOL";  // "VOL", "KDJ", "MACD", "CCI", "RSI" or empty
    bool marks = true;
};
