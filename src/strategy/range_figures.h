#pragma once
// What the wizard's charts show of the verification range: its bars'
// adjusted closes, the accumulated profit of a trade log bar by bar, and the
// three figures the generation page writes beside them. The GUI draws these;
// the figures agree with the report's (strategy_report.h) for the same log.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/run_parameters.h"

struct RangeFigures {
    std::vector<int32_t> dates;        // bars from rangeBegin to rangeEnd, oldest first
    std::vector<float> closes;         // their adjusted closes
    std::vector<double> accumulated;   // per bar, fraction; empty without a log
    double rangeChange = 0.0;          // per cent: last close against the first
    double accumulatedProfit = 0.0;    // per cent: the curve's last point
    double compoundProfit = 0.0;       // per cent: product of (1 + profit) over the log, less 1
};

// The bars whose dates lie in [begin, end] (dates ascending): the first
// index and the number of bars.
struct BarSpan {
    size_t first = 0;
    size_t count = 0;
};
BarSpan SpanOfRange(const std::vector<int32_t>& dates, int32_t begin, int32_t end);

// The accumulated profit at each bar: the total, less 1, of the last trade
// dated at or before the bar, plus, while a position is open, the close's
// change against the buying price.
std::vector<double> AccumulatedProfitCurve(const std::vector<int32_t>& dates, const std::vector<float>& closes,
                                           const std::vector<TradeLogEntry>& log);

RangeFigures ComputeRangeFigures(const std::vector<int32_t>& dates, const std::vector<float>& adjustedCloses,
                                 int32_t rangeBegin, int32_t rangeEnd, const std::vector<TradeLogEntry>& log);

// The same for the current stock (read under its data lock).
RangeFigures ComputeRangeFigures(const CDataCenter& dc, int32_t rangeBegin, int32_t rangeEnd,
                                 const std::vector<TradeLogEntry>& log);
