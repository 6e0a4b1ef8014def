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
                "INSERT INTO stocks(market, code, name, pinyin, type, stamp) "
                "VALUES(?1, ?2, ?3, ?4, ?5, ?6) "
                "ON CONFLICT(market, code) DO UPDATE SET name = excluded.name, "
                "pinyin = excluded.pinyin, type = excluded.type, stamp = excluded.stamp "
                "WHERE name <> excluded.name OR pinyin <> excluded.pinyin "
                "OR type <> excluded.type");
    return ImportCsvFile(db, file, kHeader, log, [&](const std::vector<std::string>& fields) {
        FieldReader read(fields, kHeader);
        const std::string market = read.Key(0);
        const std::string code = read.Key(1);
        const std::string name = read.Text(2);
        const std::string pinyin = read.Text(3);
        const int64_t type = read.Integer(4);
        if (!read.error().empty()) return read.error();
        if (name.empty()) return std::string("name is empty");
        Run(upsert, {market, code, name, pinyin, type, stamp});
        return std::string();
    });
}

}  // namespace server
