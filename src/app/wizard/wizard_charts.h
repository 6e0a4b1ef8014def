#pragma once
// The charts of the wizard's pages, drawn with QPainter into a given area:
// the preview of the time-range page and the two progress charts of the
// generation page. They draw only from the data handed in, so a page that
// repaints at any moment draws one consistent state.
#include <cstdint>
#include <vector>

#include <QString>

#include "strategy/range_figures.h"

class QPainter;
class QRect;

// The adjusted closes of the verification range as a line, the years where
// they change, the range shaded by two translucent fills.
void PaintRangePreview(QPainter& painter, const QRect& area, const RangeFigures& range);

// What the generation page shows, copied from the run parameters while the
// run waits for the page (after each generation and at the end).
struct RunPicture {
    bool generating = false;
    uint32_t stallCount = 0;          // the current search depth
    std::vector<float> winRates;      // one per generation so far
    std::vector<TradeLogEntry> trades;
    RangeFigures range;               // closes and the accumulated profit over the range
};

// "区间涨跌: %.2f%%", "累计盈利: %.2f%%", "复利盈利: %.2f%%" of the upper
// chart and "策略胜率: %.2f%%" of the lower one.
struct RunLabels {
    QString rangeChange;
    QString accumulated;
    QString compound;
    QString winRate;
};
RunLabels LabelsOf(const RunPicture& picture);

// The upper chart (closes with the buy and sell points and the accumulated
// profit) over about two thirds of the area, the win rates below.
void PaintRunCharts(QPainter& painter, const QRect& area, const RunPicture& picture);
