#pragma once
// The signal step of a daily-data synchronisation: after the bars of the
// job's stocks are up to date, the stored strategies of those stocks are
// evaluated again and their current advice stored (SECRET.UDAY, INDI).
//
// Runs on the synchronisation worker. It makes each recomputed stock the
// data center's current stock (so afterwards the current stock is the last
// one recomputed, with its strategy in the run parameters) and uses the
// engine's process-wide settings: never while a generation run is going on.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/database.h"
#include "datastore/message_sink.h"
#include "datastore/write_failure.h"
#include "strategy/advice_history.h"

// One stock of the job list; GBK text.
struct SignalJob {
    std::string market;
    std::string code;
    std::string name;  // shown in the progress text only; may be empty
};

// Receives each progress text, GBK: "正在更新操盘信号： CODE NAME...". Called
// synchronously on the worker; the step goes on when it returns.
using SignalProgress = std::function<void(const std::string& textGbk)>;

// Called for each stock whose stored advice the step has just changed.
using AdviceChanged = std::function<void(const AdviceChange& change)>;

// For each job in order, skipping a job of the same stock as the one just
// before it: report progress, then, when `allSignals` is set or the job's
// stock is the current stock, load the stock and its stored strategy of
// this version, compute the per-bar signals and store the newest bar's date
// and the advice; when that changes the stored advice, tell `changed`.
// Stocks without bars or without a readable strategy are skipped (a damaged
// strategy after the load's message through `show`). When the advice cannot
// be stored because the database fails, stops there and returns the failure.
std::optional<WriteFailure> RecomputeStoredAdvice(Database& db, CDataCenter& dc, const std::vector<SignalJob>& jobs,
                                                  bool allSignals, const SignalProgress& progress,
                                                  const MessageSink& show, const AdviceChanged& changed);

// The signal step as a synchronisation runs it: RecomputeStoredAdvice,
// keeping every change in the advice history, under a new synchronisation
// run when `allSignals` is set (the start page's synchronisation of every
// stored strategy).
std::optional<WriteFailure> UpdateStrategySignals(Database& db, CDataCenter& dc, const std::vector<SignalJob>& jobs,
                                                  bool allSignals,
                           const SignalProgress& progress, const MessageSink& show);
