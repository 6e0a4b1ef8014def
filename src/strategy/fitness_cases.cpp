#include "strategy/fitness_cases.h"

#include <algorithm>
#include <mutex>

namespace {

size_t FirstIndexAtOrAfter(const std::vector<int32_t>& dates, int32_t date) {
    return static_cast<size_t>(std::lower_bound(dates.begin(), dates.end(), date) - dates.begin());
}

}  // namespace

std::vector<TradingRecord> BuildFitnessCases(const std::vector<int32_t>& dates, const std::vector<float>& open,
                                             const std::vector<std::vector<float>>& conditions, int32_t firstDate,
                                             int32_t endDate) {
    std::vector<TradingRecord> cases;
    if (dates.empty()) return cases;
    const size_t s = FirstIndexAtOrAfter(dates, firstDate);
    const size_t e = std::min(FirstIndexAtOrAfter(dates, endDate), dates.size() - 1);
    if (s >= e) return cases;
    cases.reserve(e - s);
    for (size_t k = s; k < e; ++k) {
        TradingRecord record;
        record.inputs.reserve(conditions.size());
        for (const std::vector<float>& series : conditions) record.inputs.push_back(static_cast<double>(series[k]));
        record.date = dates[k + 1];
        record.price = open[k + 1];
        record.last = k + 1 == e ? 1 : 0;
        cases.push_back(std::move(record));
    }
    return cases;
}

std::vector<TradingRecord> BuildFitnessCases(const CDataCenter& dc, int32_t firstDate, int32_t endDate) {
    const std::lock_guard lock(dc.DataLock());
    return BuildFitnessCases(dc.Dates(), dc.Adjusted().open, dc.GetAllConditions(), firstDate, endDate);
}
