#pragma once
// The history of advice changes: every time the signal step of a
// synchronisation changes a stored strategy's advice (SECRET.INDI), the
// change is kept, so the evening digest can say which watched stocks now
// say 买入 or 卖出, also after a restart.
//
// Two small tables of our own, created with the others when the database
// is opened (datastore/open_database.cpp; programs that do not know them ignore them; strategy files
// never carry them):
//   ADVICESYNC   one row per synchronisation of all stored strategies
//                (RUN, STAMP: seconds since 1970)
//   ADVICECHANGE one row per change: the RUN it belongs to (the latest
//                synchronisation when it was made, 0 before any), the
//                stock, the newest bar's date and close, the close before
//                it, the advice before and after (GBK).
#include <cstdint>
#include <string>
#include <vector>

#include "datastore/database.h"

struct AdviceChange {
    std::string market;
    std::string code;
    int32_t date = 0;  // the newest bar when the advice was recomputed
    std::string before;
    std::string after;
    double close = 0.0;          // that bar's close, unadjusted
    double previousClose = 0.0;  // the bar before it; 0 when there is none
};

// Starts a synchronisation run and returns its number; 0 when it cannot be
// recorded (the changes then go under the run before).
int64_t StartAdviceRun(Database& db);

// The latest synchronisation run; 0 before the first.
int64_t LatestAdviceRun(Database& db);

// Keeps a change under the latest run. Failures are ignored: the history
// never stands in the way of the advice itself.
void RecordAdviceChange(Database& db, const AdviceChange& change);

struct RecordedChange {
    int64_t run = 0;
    AdviceChange change;
};

// The recorded changes of this program's stored strategies (stocks still on
// the watch list), oldest first: those of run `run` and later, or those
// whose bar date is `date` or later.
std::vector<RecordedChange> ChangesSinceRun(Database& db, int64_t run);
std::vector<RecordedChange> ChangesSinceDate(Database& db, int32_t date);
