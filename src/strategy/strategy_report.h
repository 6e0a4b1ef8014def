#pragma once
// The report of a strategy: the statistics text built from its trade log
// (stored in SECRET.CRPT), the trade table of the report page with running
// sums, the trade table of a stored strategy read from TRADELOG, and the
// strategy part of a stored report. Used alike by the GUI and the CLI; all
// texts are GBK.
#include <cstdint>
#include <string>
#include <vector>

#include "datastore/data_center.h"
#include "datastore/database.h"

// The statistics text (lines joined by "\r\n", no line end at the end). The
// bar dates give the holding periods, both ends counted. The sums and
// averages are doubles, formatted by the C library's printf.
std::string BuildReport(const std::vector<TradeLogEntry>& log, const std::vector<int32_t>& dates,
                        const std::string& code, const std::string& name, int32_t rangeBegin, int32_t rangeEnd);

// The figure part of that text, from "累计盈利" to the last line: what the
// out-of-sample check shows for the held-out days too.
std::string ReportFigures(const std::vector<TradeLogEntry>& log, const std::vector<int32_t>& dates);

// A label (UTF-8, e.g. "验证区间: ") and "%d年%2d月%2d日 - %d年%2d月%2d日"
// with the two yyyymmdd dates, as GBK.
std::string DateRangeText(const char* labelUtf8, int32_t begin, int32_t end);

// The same for the current stock and its tradeLog.
std::string BuildReport(const CDataCenter& dc);

// One row of a trade table. The report page fills every column (the three
// return columns on sells only); the stored table leaves `accumulated` and
// `compound` empty.
struct TradeRow {
    std::string time;         // "2024-01-31"
    std::string direction;    // "买" or "卖"
    std::string price;        // "%.2f" (stored table: "%.3f" for security types 11 to 14)
    std::string profit;       // per cent, "%.2f"
    std::string accumulated;  // per cent: 1 + the sum of the returns so far, less 1
    std::string compound;     // per cent: the product of (1 + return) so far, less 1
};

// "时间", "方向", "价格(元)", "收益(%)", "累计收益(%)", "复利收益(%)" of the
// report page, one row per entry of the log.
std::vector<TradeRow> ReportTradeRows(const std::vector<TradeLogEntry>& log);

// "时间", "方向", "价格(元)", "收益(%)" of the report dialog, from the stock's
// TRADELOG rows of this version in the order the database returns them;
// empty when the query fails.
std::vector<TradeRow> StoredTradeRows(Database& db, const std::string& market, const std::string& code);

// The strategy tab of a stored report: from the first "引擎版本" to the end,
// else from the first "工具", else empty.
std::string StrategyTabText(const std::string& storedReport);

// What the report page shows after a run, built each time it is prepared:
// the statistics, the strategy text (header "\r\n" code string) and the trade
// rows. Fills engineVersion with the product version first.
struct ReportPage {
    std::string report;
    std::string strategyText;
    std::vector<TradeRow> trades;
};
ReportPage PrepareReportPage(CDataCenter& dc);
