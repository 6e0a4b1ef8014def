#pragma once
// Breeding a strategy for every stock of the watch list in one go: each
// stock is bred by a korvel-cli process of its own (`breed MARKET CODE
// --summary ...`; the engine's settings and random sources are
// process-wide), several at a time. Each child ends by printing one summary
// line, which the runner collects into a table row; a stock that fails (no
// bars, too few days) becomes a row with its message and the others go on.
//
// Saving, when asked for (--save among the breed words), is done by each
// child in one transaction, so stopping the batch (killing the children)
// never leaves half a strategy behind; what was saved stays.
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/database.h"

// What one breed reports back. Texts are GBK.
struct BreedSummary {
    double fitness = 0.0;      // of the best strategy
    int32_t trades = 0;        // completed trades over the verification range
    double winRate = 0.0;      // fractions, as the report computes them
    double accumulated = 0.0;  // the sum of the trade returns
    std::string advice;        // current advice, "买入" .. "观望" or empty
};

// The summary of the run just ended: its trade log and current advice.
BreedSummary SummarizeBreed(const CDataCenter& dc, double fitness);

// "summary\tFITNESS\tTRADES\tWINRATE\tACCUMULATED\tADVICE" with the numbers
// written so they read back exactly and the advice in UTF-8 (the line is
// printed on the child's standard output).
std::string SummaryLine(const BreedSummary& summary);
// The summary of the last such line of a child's output; nothing if none.
std::optional<BreedSummary> FindSummaryLine(const std::string& output);

struct WatchedStock {
    std::string market;
    std::string code;
    std::string name;  // ABBR from the stock list; empty when it is not there
};

// Every stock with a row of this version, with or without a strategy, in
// market and code order.
std::vector<WatchedStock> LoadWatchedStocks(Database& db);

struct BreedOutcome {
    WatchedStock stock;
    std::optional<BreedSummary> summary;  // nothing when the breed failed
    std::string failure;                  // UTF-8: why (the child's message)
};

struct BatchProgress {
    size_t done = 0;
    size_t total = 0;
    double elapsedSeconds = 0.0;
    double remainingSeconds = 0.0;  // estimated from the average so far
    const BreedOutcome* latest = nullptr;
};

struct BatchBreed {
    std::string program;                 // path of korvel-cli
    std::string dir;                     // its --dir
    std::vector<std::string> breedWords; // after "breed MARKET CODE --summary", e.g. --seed 7 --save
    size_t jobs = 1;                     // children at a time, at least 1
};

// Breeds every stock, `jobs` children at a time, calling `progress` (on
// this thread) after each one. Setting `stop` (from any thread, or a signal
// handler) terminates the running children and starts no more; their rows
// and those of the stocks not started say so. Returns one outcome per stock
// in the order given; a child that cannot be started fails its stock.
std::vector<BreedOutcome> BreedWatchList(const std::vector<WatchedStock>& stocks, const BatchBreed& batch,
                                         const std::function<void(const BatchProgress&)>& progress,
                                         const std::atomic<bool>& stop);

// Seconds as "m:ss", rounded (negative as 0), for the elapsed and remaining
// times of a batch.
std::string ClockText(double seconds);

// The table order: bred stocks by accumulated profit, largest first, then
// the failures in their order.
void SortByAccumulatedProfit(std::vector<BreedOutcome>& outcomes);

// The table's columns, UTF-8: "市场", "代码", "名称", "适应度", "交易次数",
// "胜率%", "累计盈利%", "操盘信号", "备注"; the cells of one outcome.
std::vector<std::string> BatchTableHeader();
std::vector<std::string> BatchTableCells(const BreedOutcome& outcome);
