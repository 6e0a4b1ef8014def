#pragma once
// The evening digest: which watched stocks changed their advice, one row
// per stock, 买入 and 卖出 first. Read from the advice history
// (advice_history.h); the desktop notice and `korvel-cli digest` show the
// same rows. Texts are GBK.
#include <cstdint>
#include <string>
#include <vector>

#include "datastore/database.h"
#include "strategy/advice_history.h"

struct DigestRow {
    std::string market;
    std::string code;
    std::string name;  // ABBR from the stock list; empty when it has none
    int32_t securityType = 0;
    bool changed = true;  // false for a row of the whole watch list
    std::string before;   // the advice before the first change
    std::string after;    // the advice now (after the last change)
    int32_t date = 0;     // the newest bar
    double close = 0.0;
    double change = 0.0;  // of the close, as a fraction of the close before; 0 without one
};

// One row per stock of `changes` (oldest first): the advice before its first
// change, after its last, and the bar of the last. A stock whose advice came
// back to where it started is left out. Sorted by SortDigest.
std::vector<DigestRow> DigestOf(Database& db, const std::vector<RecordedChange>& changes);

// The changes since the latest synchronisation run started, the view's
// single-stock updates after it included (`korvel-cli digest`).
std::vector<DigestRow> LastSyncDigest(Database& db);

// The changes made by synchronisation runs started after run `before`:
// what one synchronisation changed, when `before` is LatestAdviceRun taken
// just before it. Empty when no run started (nothing needed new bars).
std::vector<DigestRow> DigestAfterRun(Database& db, int64_t before);

// Every watched stock with its current advice (changed = false).
std::vector<DigestRow> WatchListDigest(Database& db);

// 买入 first, then 卖出, 持有, 观望 and no advice, each by market and code.
void SortDigest(std::vector<DigestRow>& rows);

// "代码", "名称", "操盘信号" ("BEFORE -> AFTER" for a change, "-" for no
// advice), "收盘" (three decimals for security types 11 to 14), "涨幅%"
// (signed, two decimals).
std::vector<std::string> DigestCells(const DigestRow& row);
