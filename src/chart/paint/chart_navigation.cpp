#include "chart/paint/chart_navigation.h"

#include <algorithm>

namespace {

int AtMostLast(int first, int bars) { return std::max(0, std::min(first, bars - 1)); }

}  // namespace

int ShownCount(const CScreenSet& s, int bars) {
    return s.firstVisible + s.requestedCount > bars ? std::max(0, bars - s.firstVisible) : s.requestedCount;
}

void ScrollBars(CScreenSet& s, int bars, int steps) { s.firstVisible = AtMostLast(s.firstVisible + steps, bars); }

void ZoomIn(CScreenSet& s, int bars) {
    // The product is taken in double precision with the float factor:
    // 100 x 0.8999999761581421 truncates to 89, not 90.
    int count = static_cast<int>(s.requestedCount * static_cast<double>(0.9f));
    if (count < 1) return;
    const int shown = ShownCount(s, bars);
    if (shown == s.requestedCount) s.firstVisible += s.requestedCount - count;
    else if (shown > count) count = shown;
    s.firstVisible = AtMostLast(s.firstVisible, bars);
    s.requestedCount = count;
}

void ZoomOut(CScreenSet& s) {
    int count = static_cast<int>(s.requestedCount * 1.1);
    if (count == s.requestedCount) count += 5;
    s.firstVisible = std::max(0, s.firstVisible - (count - s.requestedCount));
    s.requestedCount = count;
}

void ShiftLeft(CScreenSet& s) { s.firstVisible = std::max(0, s.firstVisible - s.requestedCount / 2); }

void ShiftRight(CScreenSet& s, int bars) { s.firstVisible = AtMostLast(s.firstVisible + s.requestedCount / 2, bars); }

void ShowNewest(CScreenSet& s, int bars) { s.firstVisible = std::max(0, bars - s.requestedCount); }
