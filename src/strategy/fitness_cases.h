#pragma once
// The fitness cases of a date range of the current stock: one case per bar k
// of [first date, end date), carrying the 21 condition values of bar k and
// the date and adjusted open of bar k+1 (the day the signal is acted on).
// The last case is marked, and the bar at the end date is never evaluated:
// its price closes the last trade.
#include <cstdint>
#include <vector>

#include "datastore/data_center.h"
#include "gep/training_record.h"

using TradingRecord = GEP::TrainingRecord<>;

// From the bar dates, the adjusted opens and the condition series (one
// value per bar each). An end date after the newest bar ends the range at
// the newest bar, whose price then closes the last trade.
std::vector<TradingRecord> BuildFitnessCases(const std::vector<int32_t>& dates, const std::vector<float>& open,
                                             const std::vector<std::vector<float>>& conditions, int32_t firstDate,
                                             int32_t endDate);

// The same over the current stock of `dc`, read under its data lock.
std::vector<TradingRecord> BuildFitnessCases(const CDataCenter& dc, int32_t firstDate, int32_t endDate);
