#include "strategy/trade_statistics.h"

#include <algorithm>

namespace {

// From `from` upward, the first bar with `date`; `unchanged` when none.
size_t FindBar(const std::vector<int32_t>& dates, size_t from, int32_t date, size_t unchanged) {
    for (size_t i = from; i < dates.size(); ++i)
        if (dates[i] == date) return i;
    return unchanged;
}

}  // namespace

void TradeStatistics::Add(double p, int64_t period) {
    if (p > 0) {
        winPeriods.push_back(period);
        winSum += p;
        maxWin = std::max(maxWin, p);
        ++wins;
        ++winRun;
        lossRun = 0;
        maxWinRun = std::max(maxWinRun, winRun);
    } else {
        lossPeriods.push_back(period);
        lossSum -= p;
        maxLoss = std::min(maxLoss, p);
        ++losses;
        winRun = 0;
        ++lossRun;
        maxLossRun = std::max(maxLossRun, lossRun);
    }
    compound = compound * (1 + p);
}

TradeStatistics SummarizeTrades(const std::vector<TradeLogEntry>& log, const std::vector<int32_t>& dates) {
    TradeStatistics s;
    size_t buyIndex = 0;
    size_t sellIndex = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        if (i % 2 == 0) {
            buyIndex = FindBar(dates, sellIndex, log[i].date, buyIndex);
            continue;
        }
        sellIndex = FindBar(dates, buyIndex, log[i].date, sellIndex);
        const int64_t period = static_cast<int64_t>(sellIndex) - static_cast<int64_t>(buyIndex) + 1;
        s.Add(static_cast<double>(log[i].profit), period);
    }
    return s;
}

double WinRate(const TradeStatistics& s, size_t entries) {
    return entries / 2 > 0 ? static_cast<double>(s.wins) / static_cast<double>(entries / 2) : 0.0;
}
