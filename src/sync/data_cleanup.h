#pragma once
// Data cleanup: deleting the most recent daily bars of chosen stocks, back to
// the server's cut date (`cleanto` of the status reply), so the next
// synchronisation fetches them again. Only DAILY rows are deleted; dividend
// records, strategies and trade logs stay. Texts are GBK.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "datastore/database.h"
#include "sync/sync_report.h"

// A stock with local bars, as the cleanup list shows it.
struct CleanupStock {
    std::string market;
    std::string code;
    std::string name;    // ABBR from the stock list
    int32_t newest = 0;  // newest local bar, yyyymmdd
};

// Every stock of the stock list that has local bars, ordered by security
// type. Nothing when the query fails (the list then stays as it was).
std::optional<std::vector<CleanupStock>> LoadCleanupList(Database& db);

// Deletes each stock's bars dated after `cleanto`, in order. Reports (all
// with result kRunning) "开始进行数据清理...", then per stock "准备清理 CODE NAME..."
// and "成功清理 CODE NAME..." or, when the delete failed, "清理 CODE NAME 出现未知错误..."
// (the run goes on), and finally "数据清理结束." with result kSucceeded. When
// a delete failed, "数据清理结束." comes with result kRunning and the run
// ends with kFailed and the cause of the first failure (write_failure.h).
// Returns true when every delete succeeded.
bool RunDataCleanup(Database& db, int32_t cleanto, const std::vector<CleanupStock>& stocks,
                    const SyncReporter& report);
