#include "strategy/time_range.h"

#include <algorithm>

bool ComputeVerificationRange(RunParameters& params, const std::vector<int32_t>& dates) {
    if (dates.empty()) return false;
    const size_t n = dates.size();
    const size_t d = std::min(static_cast<size_t>(std::max(params.evoluteDays, 1)), n);
    params.rangeBegin = dates[n - d];
    params.rangeEnd = dates[n - 1];
    params.testBegin = dates[n - 1];
    params.testEnd = dates[n - 1];
    return true;
}
