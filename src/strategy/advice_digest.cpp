#include "strategy/advice_digest.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "strategy/watch_list.h"
#include "text/format.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace {

int AdviceRank(const std::string& advice) {
    static const std::string kOrder[] = {text::Utf8ToGbk("买入"), text::Utf8ToGbk("卖出"), text::Utf8ToGbk("持有"),
                                         text::Utf8ToGbk("观望")};
    const auto at = std::find(std::begin(kOrder), std::end(kOrder), advice);
    return static_cast<int>(at - std::begin(kOrder));
}

void AddStockInfo(Database& db, DigestRow& row) {
    const std::optional<TextTable> t =
        db.GetTable("SELECT ABBR, PTYPE FROM STOCKCODE WHERE MARKET = ? AND CODE = ?", {row.market, row.code});
    if (!t || t->RowCount() == 0) return;
    row.name = t->At(0, 0);
    row.securityType = text::ParseInt(t->At(0, 1));
}

std::string Shown(const std::string& advice) { return advice.empty() ? "-" : advice; }

}  // namespace

std::vector<DigestRow> DigestOf(Database& db, const std::vector<RecordedChange>& changes) {
    std::map<std::pair<std::string, std::string>, DigestRow> byStock;
    for (const RecordedChange& r : changes) {
        const AdviceChange& c = r.change;
        const auto [at, first] = byStock.try_emplace({c.market, c.code});
        DigestRow& row = at->second;
        if (first) {
            row.market = c.market;
            row.code = c.code;
            row.before = c.before;
        }
        row.after = c.after;
        row.date = c.date;
        row.close = c.close;
        row.change = c.previousClose > 0 ? (c.close - c.previousClose) / c.previousClose : 0.0;
    }
    std::vector<DigestRow> rows;
    for (auto& [key, row] : byStock) {
        if (row.before == row.after) continue;
        AddStockInfo(db, row);
        rows.push_back(std::move(row));
    }
    SortDigest(rows);
    return rows;
}

std::vector<DigestRow> LastSyncDigest(Database& db) { return DigestOf(db, ChangesSinceRun(db, LatestAdviceRun(db))); }

std::vector<DigestRow> DigestAfterRun(Database& db, int64_t before) {
    return DigestOf(db, ChangesSinceRun(db, before + 1));
}

std::vector<DigestRow> WatchListDigest(Database& db) {
    std::vector<DigestRow> rows;
    for (const WatchRow& w : LoadWatchList(db)) {
        DigestRow row{w.market, w.code, w.name, w.securityType, false, {}, w.advice, 0, w.close, w.change};
        rows.push_back(std::move(row));
    }
    SortDigest(rows);
    return rows;
}

void SortDigest(std::vector<DigestRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const DigestRow& a, const DigestRow& b) {
        return std::tuple(AdviceRank(a.after), a.market, a.code) < std::tuple(AdviceRank(b.after), b.market, b.code);
    });
}

std::vector<std::string> DigestCells(const DigestRow& row) {
    const char* price = row.securityType >= 11 && row.securityType <= 14 ? "%.3f" : "%.2f";
    return {row.code, row.name, row.changed ? Shown(row.before) + " -> " + Shown(row.after) : Shown(row.after),
            text::Format(price, row.close), text::Format("%+.2f", row.change * 100)};
}
