#include "strategy/range_figures.h"

#include <algorithm>
#include <mutex>

BarSpan SpanOfRange(const std::vector<int32_t>& dates, int32_t begin, int32_t end) {
    const auto first = std::lower_bound(dates.begin(), dates.end(), begin);
    const auto last = std::upper_bound(first, dates.end(), end);
    return {static_cast<size_t>(first - dates.begin()), static_cast<size_t>(last - first)};
}

std::vector<double> AccumulatedProfitCurve(const std::vector<int32_t>& dates, const std::vector<float>& closes,
                                           const std::vector<TradeLogEntry>& log) {
    std::vector<double> curve;
    if (log.empty()) return curve;
    curve.reserve(dates.size());
    size_t next = 0;  // first trade after the bars seen so far
    for (size_t i = 0; i < dates.size(); ++i) {
        while (next < log.size() && log[next].date <= dates[i]) ++next;
        if (next == 0) {
            curve.push_back(0.0);
            continue;
        }
        const TradeLogEntry& last = log[next - 1];
        double value = static_cast<double>(last.total) - 1.0;
        if (last.kind == 'B' && last.price > 0.0f)
            value += static_cast<double>(closes[i]) / static_cast<double>(last.price) - 1.0;
        curve.push_back(value);
    }
    return curve;
}

RangeFigures ComputeRangeFigures(const std::vector<int32_t>& dates, const std::vector<float>& adjustedCloses,
                                 int32_t rangeBegin, int32_t rangeEnd, const std::vector<TradeLogEntry>& log) {
    RangeFigures f;
    const BarSpan span = SpanOfRange(dates, rangeBegin, rangeEnd);
    const auto first = static_cast<std::ptrdiff_t>(span.first);
    const auto end = first + static_cast<std::ptrdiff_t>(span.count);
    f.dates.assign(dates.begin() + first, dates.begin() + end);
    f.closes.assign(adjustedCloses.begin() + first, adjustedCloses.begin() + end);
    if (!f.closes.empty() && f.closes.front() != 0.0f)
        f.rangeChange = (static_cast<double>(f.closes.back()) / static_cast<double>(f.closes.front()) - 1.0) * 100.0;
    f.accumulated = AccumulatedProfitCurve(f.dates, f.closes, log);
    if (!f.accumulated.empty()) f.accumulatedProfit = f.accumulated.back() * 100.0;
    double compound = 1.0;
    for (const TradeLogEntry& entry : log) compound *= 1.0 + static_cast<double>(entry.profit);
    f.compoundProfit = (compound - 1.0) * 100.0;
    return f;
}

RangeFigures ComputeRangeFigures(const CDataCenter& dc, int32_t rangeBegin, int32_t rangeEnd,
                                 const std::vector<TradeLogEntry>& log) {
    const std::lock_guard<std::recursive_mutex> lock(dc.DataLock());
    return ComputeRangeFigures(dc.Dates(), dc.Adjusted().close, rangeBegin, rangeEnd, log);
}
