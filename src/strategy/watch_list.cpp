#include "strategy/watch_list.h"

#include "datastore/program_version.h"
#include "text/format.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace {

void ReadNewestBars(Database& db, WatchRow& row) {
    const std::optional<TextTable> bars = db.GetTable(
        "SELECT DDATE, DOPEN, DHIGH, DLOW, DCLOSE, VOLUME FROM DAILY WHERE MARKET = ? AND CODE = ? ORDER BY DDATE "
        "DESC LIMIT 0,2 ",
        {row.market, row.code});
    if (!bars || bars->RowCount() == 0) return;
    row.open = text::ParseReal(bars->At(0, 1));
    row.high = text::ParseReal(bars->At(0, 2));
    row.low = text::ParseReal(bars->At(0, 3));
    row.close = text::ParseReal(bars->At(0, 4));
    row.volume = text::ParseReal(bars->At(0, 5));
    if (bars->RowCount() > 1) row.previousClose = text::ParseReal(bars->At(1, 4));
    const double base = row.previousClose > 0 ? row.previousClose : row.open > 0 ? row.open : 0.0;
    if (base == 0.0) return;
    row.change = (row.close - base) / base;
    row.amplitude = (row.high - row.low) / base;
}

}  // namespace

std::vector<WatchRow> LoadWatchList(Database& db) {
    std::vector<WatchRow> rows;
    const std::optional<TextTable> t = db.GetTable(
        text::Format("SELECT A.MARKET, A.CODE, B.ABBR, A.INDI, A.CRPT, B.PTYPE FROM SECRET A, STOCKCODE B WHERE "
                     "A.MARKET = B.MARKET AND A.CODE = B.CODE AND VRSN = %d ORDER BY B.PTYPE ASC, B.CODE ASC",
                     version::kNumber));
    if (!t) return rows;
    for (size_t r = 0; r < t->RowCount(); ++r) {
        WatchRow row;
        row.market = t->At(r, 0);
        row.code = t->At(r, 1);
        row.name = t->At(r, 2);
        row.advice = t->At(r, 3);
        row.report = t->At(r, 4);
        row.securityType = text::ParseInt(t->At(r, 5));
        ReadNewestBars(db, row);
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::string> WatchRowCells(const WatchRow& row, size_t rowIndex) {
    const char* price = row.securityType >= 11 && row.securityType <= 14 ? "%.3f" : "%.2f";
    return {text::Format("%zu", rowIndex + 1),
            row.code,
            row.name,
            text::Format("%.2f", row.change * 100),
            text::Format(price, row.close),
            row.advice,
            text::Format(price, row.previousClose),
            text::Format(price, row.open),
            text::Format(price, row.high),
            text::Format(price, row.low),
            text::Format("%.2f", row.volume / 10000),
            text::Format("%.2f", row.amplitude * 100),
            row.market};
}

std::vector<std::string> WatchColumnTitles() {
    std::vector<std::string> titles;
    for (const char* title : {"序号", "代码", "名称", "涨幅%", "收盘", "操盘信号", "昨收", "开盘", "最高", "最低",
                              "成交量(万)", "振幅%", "市场"})
        titles.push_back(text::Utf8ToGbk(title));
    return titles;
}

std::optional<DeletedRows> DeleteWatchedStock(Database& db, const StockKey& s) {
    std::optional<Transaction> transaction = Transaction::Begin(db);
    if (!transaction) return std::nullopt;
    DeletedRows deleted;
    const auto remove = [&](const char* sql, int64_t& count) {
        if (!db.Exec(sql, {s.market, s.code})) return false;
        count = sqlite3_changes64(db.Handle());
        return true;
    };
    if (!remove("DELETE FROM DAILY WHERE MARKET=? AND CODE = ?", deleted.bars) ||
        !remove("DELETE FROM SECRET WHERE MARKET=? AND CODE = ?", deleted.strategies) ||
        !remove("DELETE FROM TRADELOG WHERE MARKET=? AND CODE = ?", deleted.tradeLogRows) || !transaction->Commit())
        return std::nullopt;
    return deleted;
}

int DeleteWatchedStocks(Database& db, const std::vector<StockKey>& stocks) {
    int deleted = 0;
    for (const StockKey& s : stocks) {
        db.Exec("DELETE FROM DAILY WHERE MARKET=? AND CODE = ?", {s.market, s.code});
        db.Exec("DELETE FROM SECRET WHERE MARKET=? AND CODE = ?", {s.market, s.code});
        if (db.Exec("DELETE FROM TRADELOG WHERE MARKET=? AND CODE = ?", {s.market, s.code})) ++deleted;
    }
    return deleted;
}

bool AddCurrentStock(Database& db, const CDataCenter& dc) {
    return db.Exec(text::Format("INSERT INTO SECRET(MARKET, CODE, VRSN) VALUES(?,?,%d)", version::kNumber),
                   {dc.Market(), dc.Code()});
}

bool IsOnWatchList(Database& db, const std::string& market, const std::string& code) {
    const std::optional<TextTable> t = db.GetTable(
        text::Format("SELECT 1 FROM SECRET WHERE MARKET = ? AND CODE = ? AND VRSN = %d", version::kNumber),
        {market, code});
    return t && t->RowCount() > 0;
}
