#include "strategy/holdout_check.h"

#include <mutex>

#include "strategy/fitness_cases.h"
#include "strategy/time_range.h"
#include "strategy/strategy_report.h"
#include "strategy/trade_statistics.h"
#include "strategy/trader_individual.h"
#include "text/format.h"
#include "text/gbk.h"

namespace {

// Records the trades of `signalOf(k)` over the cases of bars first .. last -
// 1 (each acted on at the next bar's open), as the run's replay does.
template <class SignalOf>
std::vector<TradeLogEntry> Replay(const std::vector<int32_t>& dates, const std::vector<float>& open, size_t first,
                                  size_t last, SignalOf signalOf) {
    std::vector<TradeLogEntry> log;
    TraderIndividual trader;
    for (size_t k = first; k < last; ++k) {
        TradingRecord record;
        record.date = dates[k + 1];
        record.price = open[k + 1];
        record.last = k + 1 == last ? 1 : 0;
        trader.recordOnSignal(signalOf(k), record, log);
    }
    return log;
}

}  // namespace

int32_t MaxHoldoutDays(size_t bars) { return bars > 2 ? static_cast<int32_t>(bars - 2) : 0; }

bool ComputeHoldoutRange(RunParameters& params, const std::vector<int32_t>& dates, int32_t days) {
    if (days < 1 || days > MaxHoldoutDays(dates.size())) return false;
    const std::vector<int32_t> kept(dates.begin(), dates.end() - days);
    return ComputeVerificationRange(params, kept);
}

std::optional<HoldoutCheck> CheckHoldout(const CDataCenter& dc, int32_t days) {
    const std::lock_guard lock(dc.DataLock());
    const std::vector<int32_t>& dates = dc.Dates();
    const std::vector<int32_t>& signals = dc.Signals();
    if (signals.size() != dates.size() || days < 1 || days > MaxHoldoutDays(dates.size())) return std::nullopt;
    const size_t last = dates.size() - 1;
    const size_t first = last - static_cast<size_t>(days);  // bar m - 1

    TraderIndividual::setRules(RulesFrom(dc.Parameters()));
    const std::vector<float>& open = dc.Adjusted().open;
    HoldoutCheck check;
    check.days = days;
    check.firstDate = dates[first + 1];
    check.lastDate = dates[last];
    check.tradeLog = Replay(dates, open, first, last, [&](size_t k) { return signals[k]; });
    check.buyAndHold = Replay(dates, open, first, last, [](size_t) { return 1; });
    return check;
}

std::string BuildHoldoutReport(const HoldoutCheck& check, const std::vector<int32_t>& dates) {
    std::string out = text::Utf8ToGbk("=========样本外检验=========");
    out += "\r\n\r\n" + DateRangeText("检验区间: ", check.firstDate, check.lastDate);
    out += text::Format(text::Utf8ToGbk(" (%d个交易日)").c_str(), check.days);
    out += "\r\n\r\n" + ReportFigures(check.tradeLog, dates);
    const double held = SummarizeTrades(check.buyAndHold, dates).Accumulated();
    out += "\r\n\r\n" + text::Format(text::Utf8ToGbk("同期买入持有: %.2f %%").c_str(), held * 100);
    return out;
}
