#pragma once
// The out-of-sample check of a bred strategy. A rule scores well on the days
// it was bred on by construction; the check keeps the newest days out of the
// verification range, so that after the run the rule can be traded over days
// it never saw, with the same trading rules and charges, and compared with
// simply buying and holding over the same days.
//
// With n bars and h held-out days, the range is the one a fresh breed would
// get from the first n - h bars (time_range.h). Its last bar m - 1 (m = n -
// h) only closed trades during breeding; its signal is the first one acted
// on after the range, at the open of bar m. So the held-out days are bars m
// .. n - 1: the rule trades at their opens on the signals of bars m - 1 ..
// n - 2, and a position still open is closed at the open of the newest bar,
// exactly as the last fitness case of a range closes it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/run_parameters.h"

// The most days a stock with `bars` bars can hold out: two bars (one
// fitness case) must remain to breed on. 0 when none can be held out.
int32_t MaxHoldoutDays(size_t bars);

// The verification range (rangeBegin .. rangeEnd, and the empty test range)
// of the bars before the newest `days`. False, changing nothing, unless 1 <=
// days <= MaxHoldoutDays(dates.size()).
bool ComputeHoldoutRange(RunParameters& params, const std::vector<int32_t>& dates, int32_t days);

struct HoldoutCheck {
    int32_t days = 0;
    int32_t firstDate = 0;  // the first and the newest held-out day
    int32_t lastDate = 0;
    std::vector<TradeLogEntry> tradeLog;    // the rule's trades on those days
    std::vector<TradeLogEntry> buyAndHold;  // bought at the first open, sold at the newest
};

// Trades the current strategy over the newest `days` bars of the current
// stock from its per-bar signals (computed at the end of every run) with the
// run parameters' charges; the logs record like the run's replay (returns
// added up, not compounded). Nothing when the signals do not cover the bars
// or `days` is out of range (MaxHoldoutDays).
//
// Sets the trader's class-wide rules: never while a generation run is going.
std::optional<HoldoutCheck> CheckHoldout(const CDataCenter& dc, int32_t days);

// The check as text (GBK, "\r\n" between lines): the title "样本外检验",
// the held-out dates and day count, the report's figures for the rule's
// trades, and the buy-and-hold return.
std::string BuildHoldoutReport(const HoldoutCheck& check, const std::vector<int32_t>& dates);
