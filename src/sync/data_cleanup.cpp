#include "sync/data_cleanup.h"

#include "datastore/write_failure.h"
#include "text/gbk.h"
#include "text/parse.h"

std::optional<std::vector<CleanupStock>> LoadCleanupList(Database& db) {
    const std::optional<TextTable> rows = db.GetTable(
        "SELECT A.MARKET, A.CODE, B.ABBR, MAX(A.DDATE) FROM DAILY A, STOCKCODE B WHERE A.MARKET = B.MARKET AND "
        "A.CODE = B.CODE GROUP BY A.MARKET, A.CODE ORDER BY B.PTYPE");
    if (!rows) return std::nullopt;
    std::vector<CleanupStock> stocks;
    for (size_t row = 0; row < rows->RowCount(); ++row)
        stocks.push_back({rows->At(row, 0), rows->At(row, 1), rows->At(row, 2), text::ParseInt(rows->At(row, 3))});
    return stocks;
}

bool RunDataCleanup(Database& db, int32_t cleanto, const std::vector<CleanupStock>& stocks,
                    const SyncReporter& report) {
    static const std::string kPreparing = text::Utf8ToGbk("准备清理 ");
    static const std::string kCleaned = text::Utf8ToGbk("成功清理 ");
    static const std::string kFailed = text::Utf8ToGbk("清理 ");
    static const std::string kFailedEnd = text::Utf8ToGbk(" 出现未知错误...");
    Report(report, SyncReport::kRunning, text::Utf8ToGbk("开始进行数据清理..."));
    std::optional<WriteFailure> failure;
    for (const CleanupStock& stock : stocks) {
        const std::string name = stock.code + " " + stock.name;
        Report(report, SyncReport::kRunning, kPreparing + name + "...");
        const bool deleted =
            db.Exec("DELETE FROM DAILY WHERE MARKET = ? AND CODE = ? AND DDATE > ?", {stock.market, stock.code, cleanto});
        Report(report, SyncReport::kRunning, deleted ? kCleaned + name + "..." : kFailed + name + kFailedEnd);
        if (!deleted && !failure) failure = FailedWrite(db);
    }
    const std::string end = text::Utf8ToGbk("数据清理结束.");
    if (!failure) {
        Report(report, SyncReport::kSucceeded, end);
        return true;
    }
    // The run ends with the cause of the first failure.
    Report(report, SyncReport::kRunning, end);
    Report(report, SyncReport::kFailed, failure->text);
    return false;
}
