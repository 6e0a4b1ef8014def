#include "strategy/strategy_record.h"

#include <mutex>
#include <optional>

#include "datastore/program_version.h"
#include "datastore/write_failure.h"
#include "strategy/advice.h"
#include "strategy/strategy_signals.h"
#include "text/format.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace {

bool HasThreeDecimals(int32_t securityType) { return securityType >= 11 && securityType <= 14; }

// The stock's trade log of this version replaced, inside the save's
// transaction. Failures of single rows are ignored; a failure of the
// database is returned.
std::optional<WriteFailure> WriteTradeLog(Database& db, const CDataCenter& dc) {
    const char* format = HasThreeDecimals(dc.SecurityType())
        ? "INSERT INTO TRADELOG(MARKET, CODE, VRSN, DDATE, BS, PRICE, PROFIT) VALUES(?,?, %d, %d, %d, %.3f, %.2f)"
        : "INSERT INTO TRADELOG(MARKET, CODE, VRSN, DDATE, BS, PRICE, PROFIT) VALUES(?,?, %d, %d, %d, %.2f, %.2f)";
    if (!db.Exec(text::Format("DELETE FROM TRADELOG WHERE MARKET = ? AND CODE = ? AND VRSN = %d", version::kNumber),
                 {dc.Market(), dc.Code()}))
        return FailedWrite(db);
    for (const TradeLogEntry& trade : dc.Parameters().tradeLog) {
        const double profit = static_cast<double>(trade.profit) * 100.0;
        if (db.Exec(text::Format(format, version::kNumber, trade.date, trade.kind == 'S' ? 1 : 0,
                                 static_cast<double>(trade.price), profit),
                    {dc.Market(), dc.Code()}))
            continue;
        if (std::optional<WriteFailure> failure = DatabaseWriteFailure(db)) return failure;
    }
    return std::nullopt;
}

// Inserted when new; an existing row makes the insert fail on its key and
// is updated. Any other failure is the database's and is returned.
std::optional<WriteFailure> WriteSecretRow(Database& db, const CDataCenter& dc, const std::string& storedReport,
                                           const std::string& advice, int32_t newestDate) {
    const RunParameters& p = dc.Parameters();
    const bool inserted = db.Exec(
        text::Format("INSERT INTO SECRET(MARKET, CODE, VRSN, NUMS, LENG, CRPT, UDAY, INDI, DBGN, DEND) "
                     "VALUES(?, ?, %d, %d, %d, ?, %d, ?, %d, %d)",
                     version::kNumber, p.geneCount, p.geneLength, newestDate, p.rangeBegin, p.rangeEnd),
        {dc.Market(), dc.Code(), storedReport, advice});
    if (inserted) return std::nullopt;
    if (std::optional<WriteFailure> failure = DatabaseWriteFailure(db)) return failure;
    if (db.Exec(text::Format("UPDATE SECRET SET NUMS = %d, LENG = %d, CRPT = ?, UDAY = %d, INDI = ?, DBGN = %d, "
                             "DEND = %d WHERE MARKET = ? AND CODE = ? AND VRSN = %d",
                             p.geneCount, p.geneLength, newestDate, p.rangeBegin, p.rangeEnd, version::kNumber),
                {storedReport, advice, dc.Market(), dc.Code()}))
        return std::nullopt;
    return FailedWrite(db);
}

std::vector<int16_t> SymbolsOf(const std::vector<unsigned char>& bytes) {
    std::vector<int16_t> symbols(bytes.size() / 2);
    for (size_t i = 0; i < symbols.size(); ++i)
        symbols[i] = static_cast<int16_t>(static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    return symbols;
}

// True only when the update ran to its completion.
bool WriteGenes(Database& db, const CDataCenter& dc) {
    std::optional<Statement> update =
        db.Prepare(text::Format("UPDATE SECRET SET GENE = ? WHERE MARKET = ? AND CODE = ? AND VRSN = %d",
                                version::kNumber));
    if (!update) return false;
    const std::vector<unsigned char> bytes = GeneBlob(dc.Parameters().bestChromosome);
    if (!update->BindAll({BlobRef{bytes.data(), bytes.size()}, dc.Market(), dc.Code()})) return false;
    return !update->Step() && !update->Failed();
}

// Nothing when the GENE query returns no row.
std::optional<std::vector<int16_t>> ReadGenes(Database& db, const std::string& market, const std::string& code) {
    std::optional<Statement> query = db.Prepare(
        text::Format("SELECT GENE FROM SECRET WHERE MARKET = ? AND CODE = ? AND VRSN = %d", version::kNumber));
    if (!query || !query->BindAll({market, code}) || !query->Step()) return std::nullopt;
    return SymbolsOf(query->ColumnBlob(0));
}

void ClearStrategy(CDataCenter& dc) {
    {
        const std::lock_guard lock(dc.DataLock());
        dc.Signals().clear();
    }
    RunParameters& p = dc.Parameters();
    p.tradeLog.clear();
    p.testTradeLog.clear();
    p.winRateHistory.clear();
    p.engineVersion.clear();
    p.bestChromosome.clear();
    p.reportText.clear();
    p.geneCount = 0;
    p.geneLength = 0;
}

int32_t NewestDate(const CDataCenter& dc) {
    const std::lock_guard lock(dc.DataLock());
    return dc.Dates().empty() ? 0 : dc.Dates().back();
}

}  // namespace

std::vector<unsigned char> GeneBlob(const std::vector<int16_t>& symbols) {
    std::vector<unsigned char> bytes;
    bytes.reserve(symbols.size() * 2);
    for (const int16_t s : symbols) {
        const auto u = static_cast<uint16_t>(s);
        bytes.push_back(static_cast<unsigned char>(u & 0xFF));
        bytes.push_back(static_cast<unsigned char>(u >> 8));
    }
    return bytes;
}

std::vector<uint16_t> ProductVersionParts() {
    return {version::kMajor, version::kMinor, version::kBuild, version::kRevision};
}

std::string BuildStrategyHeader(const RunParameters& params, const std::string& market, const std::string& code) {
    if (params.engineVersion.size() != 4) return {};
    static const std::string kSeparator = text::Utf8ToGbk("≡");
    std::string header = text::Utf8ToGbk("引擎版本\r\n◎Tavrin");
    for (const uint16_t part : params.engineVersion) header += kSeparator + std::to_string(part);
    return header + text::Utf8ToGbk("◎\r\n\r\n生成对象\r\n") + market + code;
}

std::string BuildStrategyHeader(const CDataCenter& dc) {
    return BuildStrategyHeader(dc.Parameters(), dc.Market(), dc.Code());
}

std::string BuildStrategyCode(const RunParameters& params) {
    const std::vector<int16_t>& symbols = params.bestChromosome;
    if (symbols.empty() || params.geneCount == 0) return {};
    static const std::string kMark = text::Utf8ToGbk("◎");
    const size_t length = symbols.size() / params.geneCount;
    std::string code = text::Utf8ToGbk("\r\n操盘密码");
    for (size_t g = 0; g < params.geneCount; ++g) {
        code += "\r\n" + kMark;
        for (size_t i = g * length; i < (g + 1) * length; ++i) {
            const int s = symbols[i];
            code += static_cast<char>(s >= 1 ? 0x60 + s : 0x41 - s);
        }
        code += kMark;
    }
    return code;
}

namespace {

// One transaction for the whole strategy, so a program killed while saving
// leaves the previous strategy whole rather than half of the new one. A
// single trade-log row's own failure is skipped; a failure of the database
// rolls the whole save back.
std::optional<WriteFailure> WriteStrategy(Database& db, const CDataCenter& dc, const std::string& stored) {
    std::optional<Transaction> transaction = Transaction::Begin(db);
    if (!transaction) return FailedWrite(db);
    if (std::optional<WriteFailure> failure = WriteTradeLog(db, dc)) return failure;
    if (std::optional<WriteFailure> failure = WriteSecretRow(db, dc, stored, CurrentAdvice(dc), NewestDate(dc)))
        return failure;
    if (!WriteGenes(db, dc) || !transaction->Commit()) return FailedWrite(db);
    return std::nullopt;
}

}  // namespace

bool SaveStrategy(Database& db, CDataCenter& dc, const std::string& reportText, const MessageSink& show) {
    RunParameters& p = dc.Parameters();
    const std::string stored =
        reportText + "\r\n\r\n\r\n" + BuildStrategyHeader(dc) + "\r\n" + BuildStrategyCode(p);
    if (const std::optional<WriteFailure> failure = WriteStrategy(db, dc, stored)) {
        if (show) show("数据库写入异常，破译报告无法保存！\n" + text::GbkToUtf8(failure->text));
        return false;
    }
    p.reportText = stored;
    p.resultSaved = 1;
    p.savedInWizard = 1;
    ComputeStrategySignals(dc);
    return true;
}

bool LoadStoredStrategy(Database& db, CDataCenter& dc, const MessageSink& show) {
    ClearStrategy(dc);
    const std::string& market = dc.Market();
    const std::string& code = dc.Code();
    const std::optional<TextTable> row = db.GetTable(
        text::Format("SELECT NUMS, LENG, CRPT  FROM SECRET WHERE MARKET = ? AND CODE = ? AND VRSN = %d",
                     version::kNumber),
        {market, code});
    if (!row || row->RowCount() == 0) return false;
    const int32_t nums = text::ParseInt(row->At(0, 0));
    const int32_t leng = text::ParseInt(row->At(0, 1));

    std::optional<std::vector<int16_t>> symbols = ReadGenes(db, market, code);
    // Negative counts describe no genes, however their product comes out.
    const bool matches = symbols && nums >= 0 && leng >= 0 &&
                         static_cast<int64_t>(symbols->size()) == static_cast<int64_t>(nums) * leng;
    if (!matches) {
        if (show) show("数据库读取异常，策略报告无法提取！");
        return false;
    }
    RunParameters& p = dc.Parameters();
    p.bestChromosome = std::move(*symbols);
    p.reportText = row->At(0, 2);
    p.geneCount = static_cast<uint16_t>(nums);
    p.geneLength = static_cast<uint16_t>(leng);
    return true;
}

std::optional<std::string> LoadStoredReport(Database& db, const std::string& market, const std::string& code) {
    const std::optional<TextTable> row = db.GetTable(
        text::Format("SELECT CRPT FROM SECRET WHERE MARKET = ? AND CODE = ? AND VRSN = %d", version::kNumber),
        {market, code});
    if (!row || row->RowCount() == 0) return std::nullopt;
    return row->At(0, 0);
}
