#pragma once
// Stock pools published by the server's stock-selection models: fetching a
// pool and adding the stocks the user ticks to the watch list (as rows of
// SECRET without a strategy). Texts are GBK.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datastore/database.h"
#include "datastore/write_failure.h"
#include "sync/server_requests.h"

// One stock of a pool.
struct PoolEntry {
    int32_t rank = 0;
    int32_t date = 0;  // the day the stock entered the pool, yyyymmdd
    std::string code;
    std::string abbr;
    int32_t capital = 0;  // total share capital in 10,000 shares
    float pe = 0.0f;      // price/earnings
    float pb = 0.0f;      // price/book
    float mpg = 0.0f;     // net profit growth rate
    std::string market;
    bool selected = false;  // ticked by the user
};

struct StockPool {
    std::string caption;  // the server's caption; empty keeps the model's own
    std::string info;     // the server's note on the pool
    std::vector<PoolEntry> entries;  // in reply order
};

// The caption shown for a model key until the server sends its own:
// "价值模型股票池" (vpool), "价值模型精选股票池" (vpick), "成长模型股票池" (gpool),
// "成长模型精选股票池" (gpick), "Korvel量化选股模型股票池" for any other key.
std::string PoolCaption(std::string_view model);

// Fetches the pool of a model. Nothing when no reply arrived or it is not
// XML; a reply without "pool" elements gives a pool without entries.
std::optional<StockPool> FetchPool(const ServerAccess& server, std::string_view model);

// The list's cells of an entry, in column order: code, name, entry date,
// rank, capital, P/E ("%.1f"), P/B ("%.1f"), profit growth ("%.2f"), market.
std::vector<std::string> PoolRowCells(const PoolEntry& entry);
// The list's column titles, in the same order.
std::vector<std::string> PoolColumnTitles();

struct PoolAddResult {
    int inserted = 0;  // rows added; a stock already on the watch list is not counted
    int selected = 0;  // entries ticked
    std::optional<WriteFailure> failure;  // the database could not be written: nothing was added
};

// Adds every selected entry to the watch list of this program version, in
// one transaction, rolled back whole when the database fails.
PoolAddResult AddPoolStocks(Database& db, const std::vector<PoolEntry>& entries);

// Status lines of the pool list.
std::string PoolFetchingText();    // "正在从服务器获取量化选股模型票池数据..."
std::string PoolFetchedText();     // "成功地从服务器获取到量化选股模型票池数据"
std::string PoolEmptyText();       // no pool data obtained
std::string PoolNothingTickedText();  // "请先选择需要添加为自选股的股票"
std::string PoolAddingText();      // "正在添加所选择的股票为自选股..."
std::string PoolAddedText(int inserted);  // "共导入%d支股票到自选股"
