#pragma once
// Writing strategy files (.opx): GBK XML declared "gb2312", one <record> per
// strategy with its SECRET columns, its gene letters, and its stored report
// and trade-log script in base64; "\r\n" line ends and none after "</root>".
// Market, code, name and letters are XML-escaped, so every file written here
// is well-formed whatever the names hold.
#include <filesystem>
#include <string>
#include <vector>

#include "datastore/database.h"
#include "strategy/strategy_entry.h"

// "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<root>\r\n".
std::string StrategyFileHead();
// "</root>".
std::string StrategyFileTail();

// One "  <record>\r\n" ... "  </record>\r\n" block: the entry's version,
// market, code, name, dbegin, dend, nums, length and op, its report
// (entry.report, the stored text) and `tradeLogScript`, both in base64.
std::string StrategyRecordXml(const StrategyEntry& entry, const std::string& tradeLogScript);

// Writes the selected entries to `path`, replacing the file, each with the
// trade-log script of its stock and version read from `db`, and logs:
// "开始导出操盘策略到文件...", "正在导出操盘策略：CODE NAME" per entry and
// "成功完成导出操盘策略到文件。". False, without creating a file, after
// "请先选择需要导出操盘策略的股票。" when none is selected; false after
// "无法创建文件，请先设置正确的文件路径。" when the file cannot be opened,
// or after "写入文件出错，导出未完成。" when it cannot be written whole.
bool ExportStrategies(Database& db, const std::vector<StrategyEntry>& entries, const std::filesystem::path& path,
                      const StrategyFileLog& log);
