#pragma once
// The daily synchronisation worker: downloads each job's dividend records
// and daily bars, then recomputes the advice of the stored strategies of the
// jobs' stocks (the signal step).
//
// It writes DAILY, DIVIDEND and SECRET through the shared connection and
// loads stocks into the data center (under its data lock), so the data
// center's current stock afterwards is the last stock the signal step
// recomputed.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/database.h"
#include "datastore/message_sink.h"
#include "datastore/write_failure.h"
#include "strategy/signal_update.h"
#include "sync/daily_jobs.h"
#include "sync/server_requests.h"
#include "sync/sync_report.h"

// The signal step the worker ends with; UpdateStrategySignals in the
// program, something observable in tests. Returns the failure when the
// database could not be written.
using SignalStep = std::function<std::optional<WriteFailure>(Database& db, CDataCenter& dc,
                                                             const std::vector<SignalJob>& jobs, bool allSignals,
                                                             const SignalProgress& progress, const MessageSink& show)>;

struct DailySyncRequest {
    std::vector<SyncJob> jobs;  // handled in order
    // Set by the start page: the signal step recomputes every job's stock.
    // Clear for the view: only a stock that is still the current one.
    bool allSignals = false;
    int32_t update = 0;  // the server's newest date from the last status reply; 0 without one
};

// Runs the request. Download phase, job by job: "正在更新除权数据： CODE NAME...",
// the dividend reply, "正在更新日线数据： CODE NAME...", the daily reply, each
// reply stored in one transaction (inserts never replace a stored row, so a
// range downloaded again changes nothing). A job from `update` to `update`
// downloads nothing. A reply that is missing, too short or not XML ends the
// download phase at once. Records that fail the checks of record_check.h
// are not stored; a reply with such records is followed by a report saying
// how many of which stock were refused. The signal step then runs for every
// job, whatever happened before. Returns the final result: kSucceeded after
// "日线数据同步更新完毕。", or kFailed after "无法下载数据，请切换到其他服务器。"
// (naming the server in the report's `about`). When the database cannot be
// written, the reply being stored is rolled back and the run ends at once
// with kFailed and the failure's text (write_failure.h).
int RunDailySync(Database& db, CDataCenter& dc, const ServerAccess& server, const DailySyncRequest& request,
                 const SyncReporter& report, const MessageSink& show,
                 const SignalStep& signalStep = UpdateStrategySignals);

// The start page's final report when no stock needs data: success with
// "日线数据同步更新完毕。", without a worker or a signal step.
int ReportNothingToSync(const SyncReporter& report);
