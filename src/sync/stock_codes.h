#pragma once
// Stock code synchronisation: the stock list (STOCKCODE) brought up to date
// incrementally. The client sends the newest record date it holds and stores
// every newer record the server sends back, one row per stock.
#include <cstdint>
#include <optional>

#include "datastore/database.h"
#include "sync/server_requests.h"
#include "sync/sync_report.h"

// The largest STOCKCODE date as an integer, 0 when the table is empty or the
// value is not a number; nothing when the query fails.
std::optional<int32_t> StockCodeCursor(Database& db);

// Runs the synchronisation, reporting "从服务器获取股票代码更新...", "开始更新股票代码..."
// and "更新股票代码：CODE NAME" per record, all in one transaction. A reply that
// is not XML stores nothing and still succeeds. Returns the final result:
// kSucceeded after "股票代码同步更新完毕。", kFailed after
// "无法下载数据，请切换至其他服务器。" (no reply; the table is unchanged).
int SyncStockCodes(Database& db, const ServerAccess& server, const SyncReporter& report);
