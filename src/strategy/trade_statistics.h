#pragma once
// The figures of a trade log that a strategy report shows: the completed
// trades as wins (profit above 0) and losses (0 or below), their sums, the
// compounded growth, the extremes, the longest streaks and the holding
// periods. Shared by the report, the out-of-sample check and the summary of
// a watch-list breed, so all three count alike.
#include <cstdint>
#include <vector>

#include "datastore/run_parameters.h"

struct TradeStatistics {
    int32_t wins = 0;
    int32_t losses = 0;
    double winSum = 0.0;
    double lossSum = 0.0;  // negated losses, so not negative
    double compound = 1.0;
    double maxWin = 0.0;
    double maxLoss = 0.0;  // 0 or negative
    int32_t winRun = 0;
    int32_t lossRun = 0;
    int32_t maxWinRun = 0;
    int32_t maxLossRun = 0;
    std::vector<int64_t> winPeriods;  // in bars, both ends counted
    std::vector<int64_t> lossPeriods;

    // Counts one completed trade with its profit (a fraction).
    void Add(double profit, int64_t period);

    // The sum of the profits, and the compounded growth less 1.
    double Accumulated() const { return winSum - lossSum; }
    double Compounded() const { return compound - 1; }
};

// Walks the log (buy, sell, buy, sell, ...) in order. The bar dates give the
// holding periods: each buy is looked up from the previous sell's bar on,
// each sell from its buy's bar on; a date not found keeps the position of
// the previous search.
TradeStatistics SummarizeTrades(const std::vector<TradeLogEntry>& log, const std::vector<int32_t>& dates);

// wins / (entries / 2): the report's win rate; 0 for a log without a trade.
double WinRate(const TradeStatistics& s, size_t entries);
