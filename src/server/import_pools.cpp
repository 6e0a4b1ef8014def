#include <set>

#include "server/csv_import.h"
#include "server/fields.h"
#include "server/importers.h"

namespace server {

ImportTotals ImportPoolModels(Database& db, const std::filesystem::path& file,
                              const ImportLog& log) {
    static constexpr const char* kHeader = "model,caption,info";
    Statement upsert = Prepare(db,
                               "INSERT INTO pool_models(model, caption, info) VALUES(?1, ?2, ?3) "
                               "ON CONFLICT(model) DO UPDATE SET caption = excluded.caption, "
                               "info = excluded.info "
                               "WHERE caption <> excluded.caption OR info <> excluded.info");
    return ImportCsvFile(db, file, kHeader, log, [&](const std::vector<std::string>& fields) {
        FieldReader read(fields, kHeader);
        const std::string model = read.Key(0);
        const std::string caption = read.Text(1);
        const std::string info = read.Text(2);
        if (!read.error().empty()) return read.error();
        Run(upsert, {model, caption, info});
        return std::string();
    });
}

ImportTotals ImportPools(Database& db, const std::filesystem::path& file, const ImportLog& log) {
    static constexpr const char* kHeader = "model,rank,date,market,code,capital,pe,pb,mpg";
    // A pool is published as a whole: the first record of a model in this
    // file clears the model's old entries.
    Statement clear = Prepare(db, "DELETE FROM pool_entries WHERE model = ?1");
    Statement insert = Prepare(db,
                               "INSERT INTO pool_entries(model, rank, date, market, code, capital, "
                               "pe, pb, mpg) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    Statement exists =
        Prepare(db, "SELECT 1 FROM pool_entries WHERE model = ?1 AND market = ?2 AND code = ?3");
    std::set<std::string> cleared;
    return ImportCsvFile(db, file, kHeader, log, [&](const std::vector<std::string>& fields) {
        FieldReader read(fields, kHeader);
        const std::string model = read.Key(0);
        const int64_t rank = read.Integer(1);
        const int date = read.Date(2);
        const std::string market = read.Key(3);
        const std::string code = read.Key(4);
        const int64_t capital = read.Integer(5);
        const double pe = read.Number(6);
        const double pb = read.Number(7);
        const double mpg = read.Number(8);
        if (!read.error().empty()) return read.error();
        if (cleared.insert(model).second) Run(clear, {model});
        if (SingleInt(exists, {model, market, code}) != 0)
            return "stock " + market + " " + code + " is already in pool " + model;
        Run(insert, {model, rank, date, market, code, capital, pe, pb, mpg});
        return std::string();
    });
}

}  // namespace server
