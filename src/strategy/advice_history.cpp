#include "strategy/advice_history.h"

#include <ctime>

#include "datastore/program_version.h"
#include "text/format.h"
#include "text/parse.h"

namespace {

// Changes of stocks that still have a stored strategy row of this version,
// in the order they were made.
std::vector<RecordedChange> ReadChanges(Database& db, const char* condition, int64_t value) {
    std::vector<RecordedChange> changes;
    const std::string sql = text::Format(
        "SELECT RUN, MARKET, CODE, DDATE, OLDINDI, NEWINDI, DCLOSE, PCLOSE FROM ADVICECHANGE C WHERE %s >= ? AND "
        "EXISTS (SELECT 1 FROM SECRET S WHERE S.MARKET = C.MARKET AND S.CODE = C.CODE AND S.VRSN = %d) "
        "ORDER BY C.ROWID",
        condition, version::kNumber);
    db.ForEachRow(sql, {value}, [&](const Statement& row) {
        RecordedChange r;
        r.run = row.ColumnInt64(0);
        r.change.market = row.ColumnText(1);
        r.change.code = row.ColumnText(2);
        r.change.date = static_cast<int32_t>(row.ColumnInt64(3));
        r.change.before = row.ColumnText(4);
        r.change.after = row.ColumnText(5);
        r.change.close = row.ColumnDouble(6);
        r.change.previousClose = row.ColumnDouble(7);
        changes.push_back(std::move(r));
    });
    return changes;
}

}  // namespace

int64_t StartAdviceRun(Database& db) {
    if (!db.Exec("INSERT INTO ADVICESYNC(STAMP) VALUES(?)", {static_cast<int64_t>(std::time(nullptr))})) return 0;
    return LatestAdviceRun(db);
}

int64_t LatestAdviceRun(Database& db) {
    const std::optional<TextTable> t = db.GetTable("SELECT MAX(RUN) FROM ADVICESYNC");
    return t && t->RowCount() == 1 ? text::ParseInt64(t->At(0, 0)) : 0;
}

void RecordAdviceChange(Database& db, const AdviceChange& c) {
    db.Exec("INSERT INTO ADVICECHANGE(RUN, MARKET, CODE, DDATE, OLDINDI, NEWINDI, DCLOSE, PCLOSE) "
            "VALUES((SELECT IFNULL(MAX(RUN), 0) FROM ADVICESYNC), ?, ?, ?, ?, ?, ?, ?)",
            {c.market, c.code, c.date, c.before, c.after, c.close, c.previousClose});
}

std::vector<RecordedChange> ChangesSinceRun(Database& db, int64_t run) { return ReadChanges(db, "C.RUN", run); }

std::vector<RecordedChange> ChangesSinceDate(Database& db, int32_t date) { return ReadChanges(db, "C.DDATE", date); }
