#pragma once
// Forward adjustment for dividends and rights: every bar before an ex-right
// day is brought to the price level after it, so indicators and strategies
// see no jump where the raw prices have one.
#include <cstdint>
#include <string_view>
#include <vector>

#include "datastore/database.h"
#include "datastore/price_series.h"

// One DIVIDEND row; every quantity but the rights price is per 10 shares held.
struct DividendRecord {
    int32_t date = 0;         // ex-right day, yyyymmdd
    float bonus = 0.0f;       // SONGGU: bonus shares
    float conversion = 0.0f;  // ZHUANZHENG: shares converted from reserves
    float cash = 0.0f;        // PAIXI: cash dividend, price units
    float rights = 0.0f;      // PEIGU: rights shares offered
    float rightsPrice = 0.0f; // PPEIGU: price paid per rights share
};

// The stock's DIVIDEND rows, oldest first; empty when the query fails.
std::vector<DividendRecord> LoadDividends(Database& db, std::string_view market, std::string_view code);

// Adjusts `series` in place for each record in turn (oldest first, so a bar
// before several ex-right days is adjusted once for each). A record changes
// the bars dated before it, except the newest bar, which is never changed.
// `dates` holds the bars' dates, oldest first, one per element of `series`.
void AdjustPrices(const std::vector<int32_t>& dates, const std::vector<DividendRecord>& records,
                  PriceSeries& series);
