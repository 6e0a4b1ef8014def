#pragma once
// Storing the strategies of a strategy file. Each selected entry replaces
// its stock's SECRET row of the entry's own version (the version of the
// program that exported it) and, through its trade-log script, the
// stock's TRADELOG rows of that version; its genes are stored when the
// version is 1102 to 1106 and the letters are exactly 69.
//
// Runs on a worker thread (StrategyImportWorker) while the user interface
// stays responsive; it writes through the shared connection.
#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "datastore/database.h"
#include "strategy/strategy_entry.h"

// Receives each log line (GBK), synchronously on the thread running the
// import: the import goes on when it returns. `final` is set on the last
// line of a run, which ends it.
using ImportLog = std::function<void(const std::string& lineGbk, bool final)>;

struct ImportResult {
    int selected = 0;
    int failed = 0;  // entries with an error in their trade log, row or genes
    bool Clean() const { return selected > 0 && failed == 0; }
};

// The genes of `op`: a letter below "a" is the symbol 0x41 - letter ("A" 0,
// "B" -1), any other the letter - 0x60 ("a" 1). Nothing unless `version`
// is 1102 to 1106 and `op` has exactly 69 letters.
std::optional<std::vector<int16_t>> ImportedGenes(const std::string& op, int32_t version);

// Imports the selected entries in order. Without any, logs only
// "请先选择需要导入操盘策略的股票。" (final). Otherwise logs
// "开始从文件中导入操盘策略...", then per entry "正在导入操盘策略：CODE NAME..."
// and one of "导入交易记录出错：CODE NAME" (the script holds a statement
// of another form or stock, or fails: TRADELOG keeps its rows), "导入操盘策略出错：
// CODE NAME" (the row cannot be inserted), "导入操盘策略失败：CODE NAME" (the
// row is stored but not its genes) or "成功导入操盘策略：CODE NAME", and ends
// with "成功从文件中导入操盘策略。" when every entry went through, otherwise
// "从文件中导入操盘策略结束。" (final). An entry that fails after its row
// was deleted leaves the stock without a row of that version.
ImportResult ImportStrategies(Database& db, const std::vector<StrategyEntry>& entries, const ImportLog& log);

// ImportStrategies on a thread of its own, with its own copy of the
// entries. Joined when it goes away, so a receiver that hands the log
// lines to another thread must keep handling them until the final one.
class StrategyImportWorker {
public:
    StrategyImportWorker(Database& db, std::vector<StrategyEntry> entries, ImportLog log);
    StrategyImportWorker(const StrategyImportWorker&) = delete;
    StrategyImportWorker& operator=(const StrategyImportWorker&) = delete;
    ~StrategyImportWorker() = default;  // the thread joins

    // Waits for the end; call it once.
    ImportResult Wait();

private:
    std::future<ImportResult> result_;
    std::jthread thread_;
};
