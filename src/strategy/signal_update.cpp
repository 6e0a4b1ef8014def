#include "strategy/signal_update.h"

#include <mutex>

#include "datastore/program_version.h"
#include "strategy/advice.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_signals.h"
#include "text/format.h"
#include "text/gbk.h"

namespace {

bool IsCurrentStock(const CDataCenter& dc, const SignalJob& job) {
    return job.market == dc.Market() && job.code == dc.Code();
}

// The newest bar's date, or nothing when the stock has no bar.
std::optional<int32_t> NewestDate(const CDataCenter& dc) {
    const std::lock_guard lock(dc.DataLock());
    if (dc.Dates().empty()) return std::nullopt;
    return dc.Dates().back();
}

std::optional<WriteFailure> UpdateOne(Database& db, CDataCenter& dc, const SignalJob& job, const MessageSink& show) {
    if (!dc.LoadStock(job.code, job.market)) return std::nullopt;
    const std::optional<int32_t> newest = NewestDate(dc);
    if (!newest) return std::nullopt;
    if (!LoadStoredStrategy(db, dc, show)) return std::nullopt;
    ComputeStrategySignals(dc);
    const std::string advice = CurrentAdvice(dc);
    if (db.Exec(text::Format("UPDATE SECRET SET UDAY = %d, INDI = ? WHERE MARKET = ? AND CODE = ? AND VRSN = %d",
                             *newest, version::kNumber),
                {advice, job.market, job.code}))
        return std::nullopt;
    return DatabaseWriteFailure(db);
}

}  // namespace

std::optional<WriteFailure> UpdateStrategySignals(Database& db, CDataCenter& dc, const std::vector<SignalJob>& jobs,
                                                  bool allSignals, const SignalProgress& progress,
                                                  const MessageSink& show) {
    static const std::string kProgress = text::Utf8ToGbk("正在更新操盘信号： ");
    std::string lastMarket;
    std::string lastCode;
    for (const SignalJob& job : jobs) {
        if (job.market == lastMarket && job.code == lastCode) continue;
        lastMarket = job.market;
        lastCode = job.code;
        if (progress) progress(kProgress + job.code + " " + job.name + "...");
        if (!allSignals && !IsCurrentStock(dc, job)) continue;
        if (std::optional<WriteFailure> failure = UpdateOne(db, dc, job, show)) return failure;
    }
    return std::nullopt;
}
