#pragma once
// The watch list's data: one row per stored strategy of this program
// version (with or without genes) with the stock's newest prices and the
// current advice; deleting stocks with all their data; adding the current
// stock. Texts are GBK.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/database.h"

struct WatchRow {
    std::string market;
    std::string code;
    std::string name;    // ABBR from the stock list
    std::string advice;  // SECRET.INDI
    std::string report;  // SECRET.CRPT, the stored report
    int32_t securityType = 0;
    double close = 0.0;  // newest bar; every price 0 when missing
    double previousClose = 0.0;
    double open = 0.0;
    double high = 0.0;
    double low = 0.0;
    double volume = 0.0;
    double change = 0.0;     // fractions of the base price (previous close, else open)
    double amplitude = 0.0;
};

// The rows, ordered by security type and code; empty when the query fails.
// Only stocks of the stock list appear.
std::vector<WatchRow> LoadWatchList(Database& db);

// The view's thirteen columns: "序号" (row number from 1), "代码", "名称",
// "涨幅%", "收盘", "操盘信号", "昨收", "开盘", "最高", "最低", "成交量(万)",
// "振幅%", "市场". Prices with three decimals for security types 11 to 14.
std::vector<std::string> WatchRowCells(const WatchRow& row, size_t rowIndex);
// The thirteen column titles, in the same order (GBK).
std::vector<std::string> WatchColumnTitles();

struct StockKey {
    std::string market;
    std::string code;
};

// Deletes each stock's daily bars, its stored strategies of every version
// and their trade logs (dividend records stay). Returns the number of stocks
// whose last statement succeeded; refill the list when it is not 0.
int DeleteWatchedStocks(Database& db, const std::vector<StockKey>& stocks);

struct DeletedRows {
    int64_t bars = 0;
    int64_t strategies = 0;  // SECRET rows: strategies and watch-list rows of every version
    int64_t tradeLogRows = 0;
};

// Deletes one stock as DeleteWatchedStocks does, in one transaction, and
// says how many rows went. Nothing when a delete fails: then nothing is
// deleted (Database::LastError() says why).
std::optional<DeletedRows> DeleteWatchedStock(Database& db, const StockKey& stock);

// True when the stock has a row (with or without a strategy) of this version.
bool IsOnWatchList(Database& db, const std::string& market, const std::string& code);

// Adds the current stock as a row without a strategy. False when the row
// could not be inserted, which is how a stock already on the list shows.
bool AddCurrentStock(Database& db, const CDataCenter& dc);
