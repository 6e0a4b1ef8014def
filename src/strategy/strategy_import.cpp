#include "strategy/strategy_import.h"

#include "strategy/strategy_record.h"
#include "strategy/trade_log_script.h"
#include "text/base64.h"
#include "text/format.h"
#include "text/gbk.h"

namespace {

constexpr size_t kGeneLetters = 69;  // three genes of 23 symbols
constexpr int32_t kOldestVersion = 1102;
constexpr int32_t kNewestVersion = 1106;

class EntryLog {
public:
    explicit EntryLog(const ImportLog& log) : log_(log) {}
    // The fixed text (UTF-8) followed by the entry's code and name.
    void Line(const char* utf8, const StrategyEntry& e, const char* end = "") const {
        if (log_) log_(text::Utf8ToGbk(utf8) + e.code + " " + e.name + end, false);
    }
    void Final(const char* utf8) const {
        if (log_) log_(text::Utf8ToGbk(utf8), true);
    }

private:
    const ImportLog& log_;
};

bool ImportTradeLog(Database& db, const StrategyEntry& e) {
    const std::optional<ParsedTradeLogScript> script =
        ParseTradeLogScript(text::Base64Decode(e.tradeLog), e.market, e.code, e.version);
    return script && ApplyTradeLogScript(db, *script, e.market, e.code, e.version);
}

bool InsertRow(Database& db, const StrategyEntry& e) {
    return db.Exec(text::Format("INSERT INTO SECRET(MARKET, CODE, VRSN, NUMS, LENG, CRPT, DBGN, DEND) "
                                "\t\t\t\t\t\t   VALUES(?, ?, %d, %d, %d, ?, %d, %d)",
                                e.version, e.nums, e.length, e.dbegin, e.dend),
                   {e.market, e.code, text::Base64Decode(e.report)});
}

bool StoreGenes(Database& db, const StrategyEntry& e) {
    const std::optional<std::vector<int16_t>> genes = ImportedGenes(e.op, e.version);
    if (!genes) return false;
    std::optional<Statement> update = db.Prepare(
        text::Format("UPDATE SECRET SET GENE = ? WHERE MARKET = ? AND CODE = ? AND VRSN = %d", e.version));
    const std::vector<unsigned char> blob = GeneBlob(*genes);
    return update && update->BindAll({BlobRef{blob.data(), blob.size()}, e.market, e.code}) && !update->Step() &&
           !update->Failed();
}

// True when the entry went through whole.
bool ImportEntry(Database& db, const StrategyEntry& e, const EntryLog& log) {
    log.Line("正在导入操盘策略：", e, "...");
    db.Exec(text::Format("DELETE FROM SECRET WHERE MARKET=? AND CODE=? AND VRSN=%d", e.version), {e.market, e.code});
    if (!ImportTradeLog(db, e)) {
        log.Line("导入交易记录出错：", e);
        return false;
    }
    if (!InsertRow(db, e)) {
        log.Line("导入操盘策略出错：", e);
        return false;
    }
    if (!StoreGenes(db, e)) {
        log.Line("导入操盘策略失败：", e);
        return false;
    }
    log.Line("成功导入操盘策略：", e);
    return true;
}

}  // namespace

std::optional<std::vector<int16_t>> ImportedGenes(const std::string& op, int32_t version) {
    if (version < kOldestVersion || version > kNewestVersion || op.size() != kGeneLetters) return std::nullopt;
    std::vector<int16_t> genes;
    genes.reserve(op.size());
    for (const char letter : op) {
        const int c = static_cast<unsigned char>(letter);
        genes.push_back(static_cast<int16_t>(c < 0x61 ? 0x41 - c : c - 0x60));
    }
    return genes;
}

ImportResult ImportStrategies(Database& db, const std::vector<StrategyEntry>& entries, const ImportLog& log) {
    const EntryLog entryLog(log);
    ImportResult result;
    for (const StrategyEntry& e : entries) result.selected += e.selected ? 1 : 0;
    if (result.selected == 0) {
        entryLog.Final("请先选择需要导入操盘策略的股票。");
        return result;
    }
    if (log) log(text::Utf8ToGbk("开始从文件中导入操盘策略..."), false);
    // One transaction for the whole file: a thousand entries commit once
    // instead of a few thousand times. Each entry's outcome is as if it had
    // been committed alone (its trade log is applied under a savepoint).
    std::optional<Transaction> transaction = Transaction::Begin(db);
    for (const StrategyEntry& e : entries)
        if (e.selected && !ImportEntry(db, e, entryLog)) ++result.failed;
    if (transaction && !transaction->Commit()) result.failed = result.selected;
    entryLog.Final(result.failed == 0 ? "成功从文件中导入操盘策略。" : "从文件中导入操盘策略结束。");
    return result;
}

StrategyImportWorker::StrategyImportWorker(Database& db, std::vector<StrategyEntry> entries, ImportLog log) {
    std::packaged_task<ImportResult()> task(
        [&db, entries = std::move(entries), log = std::move(log)] { return ImportStrategies(db, entries, log); });
    result_ = task.get_future();
    thread_ = std::jthread(std::move(task));
}

ImportResult StrategyImportWorker::Wait() {
    if (thread_.joinable()) thread_.join();
    return result_.get();
}
