#pragma once
// The verification range of a strategy generation (the time-range page's
// computation): the newest evoluteDays bars of the current stock, or all of
// them when it has fewer. The test range is empty: it begins and ends at the
// newest bar.
#include <cstdint>
#include <vector>

#include "datastore/run_parameters.h"

// Sets rangeBegin, rangeEnd, testBegin and testEnd from the bar dates (oldest
// first). Returns false, changing nothing, when there is no bar.
bool ComputeVerificationRange(RunParameters& params, const std::vector<int32_t>& dates);
