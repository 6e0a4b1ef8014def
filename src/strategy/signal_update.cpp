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

// The stored advice of this version before the step changes it; NULL (an
// imported row) reads as empty.
std::string StoredAdvice(Database& db, const SignalJob& job) {
    const std::optional<TextTable> t = db.GetTable(
        text::Format("SELECT INDI FROM SECRET WHERE MARKET = ? AND CODE = ? AND VRSN = %d", version::kNumber),
        {job.market, job.code});
    return t && t->RowCount() > 0 ? t->At(0, 0) : std::string();
}

// The change with the newest bar's date and the two newest unadjusted
// closes, as the watch list shows the day's change.
AdviceChange ChangeOf(const CDataCenter& dc, const SignalJob& job, int32_t newest, std::string before,
                      std::string after) {
    AdviceChange change{job.market, job.code, newest, std::move(before), std::move(after)};
    const std::lock_guard lock(dc.DataLock());
    const std::vector<float>& close = dc.Unadjusted().close;
    if (!close.empty()) change.close = close.back();
    if (close.size() > 1) change.previousClose = close[close.size() - 2];
    return change;
}

std::optional<WriteFailure> UpdateOne(Database& db, CDataCenter& dc, const SignalJob& job, const MessageSink& show,
                                      const AdviceChanged& changed) {
    if (!dc.LoadStock(job.code, job.market)) return std::nullopt;
    const std::optional<int32_t> newest = NewestDate(dc);
    if (!newest) return std::nullopt;
    if (!LoadStoredStrategy(db, dc, show)) return std::nullopt;
    ComputeStrategySignals(dc);
    const std::string advice = CurrentAdvice(dc);
    const std::string before = changed ? StoredAdvice(db, job) : std::string();
    if (!db.Exec(text::Format("UPDATE SECRET SET UDAY = %d, INDI = ? WHERE MARKET = ? AND CODE = ? AND VRSN = %d",
                              *newest, version::kNumber),
                 {advice, job.market, job.code}))
        return DatabaseWriteFailure(db);
    if (changed && before != advice) changed(ChangeOf(dc, job, *newest, before, advice));
    return std::nullopt;
}

}  // namespace

std::optional<WriteFailure> RecomputeStoredAdvice(Database& db, CDataCenter& dc, const std::vector<SignalJob>& jobs,
                                                  bool allSignals, const SignalProgress& progress,
                                                  const MessageSink& show, const AdviceChanged& changed) {
    static const std::string kProgress = text::Utf8ToGbk("正在更新操盘信号： ");
    std::string lastMarket;
    std::string lastCode;
    for (const SignalJob& job : jobs) {
        if (job.market == lastMarket && job.code == lastCode) continue;
        lastMarket = job.market;
        lastCode = job.code;
        if (progress) progress(kProgress + job.code + " " + job.name + "...");
        if (!allSignals && !IsCurrentStock(dc, job)) continue;
        if (std::optional<WriteFailure> failure = UpdateOne(db, dc, job, show, changed)) return failure;
    }
    return std::nullopt;
}

std::optional<WriteFailure> UpdateStrategySignals(Database& db, CDataCenter& dc, const std::vector<SignalJob>& jobs,
                                                  bool allSignals, const SignalProgress& progress,
                                                  const MessageSink& show) {
    if (allSignals) StartAdviceRun(db);
    return RecomputeStoredAdvice(db, dc, jobs, allSignals, progress, show,
                                 [&db](const AdviceChange& change) { RecordAdviceChange(db, change); });
}
