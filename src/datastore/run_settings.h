#pragma once
// The values the settings dialog stores: the search depth and the two
// charges the user enters, with the trade band, the days and the maximum
// loss the dialog fixes, and their seven APPSET rows.
#include <cstdint>

#include "datastore/database.h"
#include "datastore/run_parameters.h"

// A smaller search depth is refused by the dialog.
inline constexpr int32_t kMinSearchDepth = 10;

// Sets minTradeNums 1, maxTradeNums 250, evoluteSteps `depth`, evoluteDays
// 480, maxTradeLost 1.0 and the charges from the per-cent values entered.
// `style` stays as it is.
void ApplyRunSettings(RunParameters& params, int32_t depth, double buyPercent, double sellPercent);

// Replaces the APPSET rows MIN_TRADE_NUMS, MAX_TRADE_NUMS, EVOLUTE_STEPS,
// EVOLUTE_DAYS, MAX_TRADE_LOST, BUY_CHARGE and SELL_CHARGE, in this order,
// with the values held in `params` (integers as "%d", reals as "%f"
// fractions), each by a delete and an insert. Failures are ignored: the
// running program already uses the values in memory.
void StoreRunSettings(Database& db, const RunParameters& params);
