#include "sync/stock_codes.h"

#include "sync/reply_values.h"
#include "sync/xml_reply.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace {

struct StockRecord {
    std::string date, market, code, abbr, pinyin, type;
};

StockRecord ReadRecord(const XmlElement& item) {
    return {item.Child("date").Text(), item.Child("market").Text(), item.Child("code").Text(),
            item.Child("abbr").Text(), item.Child("pinyin").Text(), item.Child("type").Text()};
}

// Delete-then-insert keeps one row per stock although the key includes the
// date: a renamed or retyped stock loses its old row. The insert takes the
// type as a bare number, so a type that is no number makes the insert fail
// after the delete has run: the stock is then gone until a good record comes.
void StoreRecord(Database& db, const StockRecord& r) {
    db.Exec("DELETE FROM STOCKCODE WHERE MARKET = ? AND CODE = ?", {r.market, r.code});
    const std::optional<std::string_view> type = BareNumber(r.type);
    if (!type) return;
    db.Exec("INSERT INTO STOCKCODE(DDATE, MARKET, CODE, ABBR, PINYIN, PTYPE) VALUES(?, ?, ?, ?, ?, ?)",
            {r.date, r.market, r.code, r.abbr, r.pinyin, *type});
}

void StoreRecords(Database& db, const XmlReply& xml, bool reportEach, const SyncReporter& report) {
    static const std::string kUpdating = text::Utf8ToGbk("更新股票代码：");
    Report(report, SyncReport::kRunning, text::Utf8ToGbk("开始更新股票代码..."));
    db.Exec("BEGIN");
    for (const XmlElement& item : xml.Root().Children()) {
        const StockRecord record = ReadRecord(item);
        StoreRecord(db, record);
        if (reportEach) Report(report, SyncReport::kRunning, kUpdating + record.code + " " + record.abbr);
    }
    db.Exec("COMMIT");
}

}  // namespace

std::optional<int32_t> StockCodeCursor(Database& db) {
    const std::optional<TextTable> table = db.GetTable("SELECT MAX(DDATE) FROM STOCKCODE");
    if (!table) return std::nullopt;
    return table->RowCount() == 0 ? 0 : text::ParseInt(table->At(0, 0));
}

int SyncStockCodes(Database& db, const ServerAccess& server, const SyncReporter& report) {
    const std::optional<int32_t> cursor = StockCodeCursor(db);
    Report(report, SyncReport::kRunning, text::Utf8ToGbk("从服务器获取股票代码更新..."));
    const std::string reply = Fetch(server, StockCodesUrl(server, cursor.value_or(0)));
    if (!IsLongEnough(reply)) {
        Report(report, SyncReport::kFailed, text::Utf8ToGbk("无法下载数据，请切换至其他服务器。"));
        return SyncReport::kFailed;
    }
    // A reply that does not load has no records: nothing to store, no failure.
    if (const std::optional<XmlReply> xml = XmlReply::Load(reply)) StoreRecords(db, *xml, cursor.has_value(), report);
    Report(report, SyncReport::kSucceeded, text::Utf8ToGbk("股票代码同步更新完毕。"));
    return SyncReport::kSucceeded;
}
