#include "server/csv_import.h"
#include "server/fields.h"
#include "server/importers.h"
#include "server/repeats.h"

namespace server {

ImportTotals ImportDividendCsv(Database& db, const std::filesystem::path& file,
                               const ImportLog& log) {
    static constexpr const char* kHeader = "market,code,date,songgu,zhuanzeng,paixi,peigu,peigujia";
    Statement upsert =
        Prepare(db,
                "INSERT INTO dividends(market, code, date, songgu, zhuanzeng, paixi, peigu, "
                "peigujia) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8) "
                "ON CONFLICT(market, code, date) DO UPDATE SET songgu = excluded.songgu, "
                "zhuanzeng = excluded.zhuanzeng, paixi = excluded.paixi, "
                "peigu = excluded.peigu, peigujia = excluded.peigujia "
                "WHERE songgu <> excluded.songgu OR zhuanzeng <> excluded.zhuanzeng "
                "OR paixi <> excluded.paixi OR peigu <> excluded.peigu "
                "OR peigujia <> excluded.peigujia");
    Repeats records;
    return ImportCsvFile(db, file, kHeader, log, [&](const std::vector<std::string>& fields) {
        FieldReader read(fields, kHeader);
        const std::string market = read.Key(0);
        const std::string code = read.Key(1);
        const int date = read.Date(2);
        const double songgu = read.Amount(3), zhuanzeng = read.Amount(4), paixi = read.Amount(5),
                     peigu = read.Amount(6), peigujia = read.Amount(7);
        if (!read.error().empty()) return read.error();
        if (records.Seen(market + ' ' + code + ' ' + std::to_string(date)))
            return market + " " + code + " " + RepeatedDate(date);
        Run(upsert, {market, code, date, songgu, zhuanzeng, paixi, peigu, peigujia});
        return std::string();
    });
}

}  // namespace server
