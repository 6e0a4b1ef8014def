#pragma once
// Which date ranges of which stocks the daily synchronisation fetches. The
// start page brings every stock with a stored strategy up to the server's
// newest date; the view brings the one stock the user opens up to date.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datastore/database.h"

// One stock range to fetch; GBK text.
struct SyncJob {
    std::string market;
    std::string code;
    std::string abbr;  // for progress texts only; empty when started by the view
    int32_t first = 0;  // first date requested, yyyymmdd
    int32_t last = 0;   // last date requested; kNoUpperBound for none
};

inline constexpr int32_t kNoUpperBound = 99999999;

// The oldest history the view fetches for a stock without bars starts in this year.
inline constexpr int kFirstHistoryYear = 2008;

struct StartPageJobs {
    size_t strategies = 0;  // stored strategies found (of every version) with a stock-list entry
    std::vector<SyncJob> jobs;
};

// One job per stored strategy whose stock is behind `update` (the server's
// newest date): the whole history for a stock without bars, else from the
// day after its newest bar. Nothing when the strategy query fails.
std::optional<StartPageJobs> BuildStartPageJobs(Database& db, int32_t update);

// The jobs of the view opening one stock. Without local bars: two calendar
// years per job, newest first, from `currentYear` back to kFirstHistoryYear.
// With bars older than `update`: from the day after the newest bar. Else one
// job from `update` to `update`, which downloads nothing but still drives
// the signal step.
std::vector<SyncJob> BuildViewJobs(Database& db, const std::string& market, const std::string& code,
                                   int32_t update, int currentYear);

// This year by the local calendar.
int CurrentYear();
