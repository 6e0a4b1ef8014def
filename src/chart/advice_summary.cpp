#include "chart/advice_summary.h"

#include <mutex>

#include "datastore/program_version.h"
#include "text/format.h"

namespace {

std::string StoredAdvice(Database& db, const std::string& market, const std::string& code) {
    const std::optional<TextTable> rows = db.GetTable(
        text::Format("SELECT INDI, INDI FROM SECRET WHERE MARKET = ? AND CODE = ? AND VRSN = %d", version::kNumber),
        {market, code});
    return rows && rows->RowCount() > 0 ? rows->At(0, 0) : std::string();
}

}  // namespace

AdviceSummary SummarizeAdvice(Database& db, const CDataCenter& dc, bool withAdvice) {
    AdviceSummary summary;
    std::string market;
    {
        const std::lock_guard lock(dc.DataLock());
        summary.code = dc.Code();
        summary.name = dc.DisplayName();
        summary.securityType = dc.SecurityType();
        market = dc.Market();
        const std::vector<float>& close = dc.Displayed().close;
        const size_t n = close.size();
        if (n == 0) return summary;
        summary.price = close[n - 1];
        const double base = n > 1 ? close[n - 2] : dc.Displayed().open[0];
        summary.change = (close[n - 1] - base) / base * 100;
    }
    if (withAdvice) summary.advice = StoredAdvice(db, market, summary.code);
    return summary;
}
