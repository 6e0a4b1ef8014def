#include "server/csv_import.h"
#include "server/fields.h"
#include "server/importers.h"

namespace server {

ImportTotals ImportStocksCsv(Database& db, const std::filesystem::path& file, int stamp,
                             const ImportLog& log) {
    static constexpr const char* kHeader = "market,code,name,pinyin,type";
    // The stamp moves only when something the client keeps has changed.
    Statement upsert =
        Prepare(db,
                "INSERT INTO stocks(market, code, name, pinyin, type, stamp, stamp_run) "
                "VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7) "
                "ON CONFLICT(market, code) DO UPDATE SET name = excluded.name, "
                "pinyin = excluded.pinyin, type = excluded.type, stamp = excluded.stamp, "
                "stamp_run = excluded.stamp_run "
                "WHERE name <> excluded.name OR pinyin <> excluded.pinyin "
                "OR type <> excluded.type");
    // A client's cursor is the newest stamp it holds. Stamps never go back
    // (a clock set back or an older --stamp take the newest stamp held), and
    // a second import on the newest stamp's day counts as a later run of it.
    Statement newest = Prepare(db,
                               "SELECT COALESCE(MAX(stamp), 0), MAX(stamp_run) FROM stocks "
                               "WHERE stamp = (SELECT MAX(stamp) FROM stocks)");
    int64_t run = 1;
    const auto choose_stamp = [&] {
        Rows held(newest, {});
        if (held.Next() && held->ColumnInt64(0) >= stamp) {
            stamp = static_cast<int>(held->ColumnInt64(0));
            run = held->ColumnInt64(1) + 1;
        }
    };
    return ImportCsvFile(db, file, kHeader, log, [&](const std::vector<std::string>& fields) {
        FieldReader read(fields, kHeader);
        const std::string market = read.Key(0);
        const std::string code = read.Key(1);
        const std::string name = read.Text(2);
        const std::string pinyin = read.Text(3);
        const int64_t type = read.Integer(4);
        if (!read.error().empty()) return read.error();
        if (name.empty()) return std::string("name is empty");
        Run(upsert, {market, code, name, pinyin, type, stamp, run});
        return std::string();
    }, choose_stamp);
}

}  // namespace server
