#include "server/csv_import.h"
#include "server/fields.h"
#include "server/importers.h"

namespace server {

ImportTotals ImportNews(Database& db, const std::filesystem::path& file, const ImportLog& log) {
    static constexpr const char* kHeader = "popp,vrsn,title,addr,text";
    Statement insert =
        Prepare(db, "INSERT INTO news(popp, vrsn, title, addr, text) VALUES(?1, ?2, ?3, ?4, ?5)");
    return ImportCsvFile(
        db, file, kHeader, log,
        [&](const std::vector<std::string>& fields) {
            FieldReader read(fields, kHeader);
            const int64_t popp = read.Integer(0);
            const int64_t vrsn = read.Integer(1);
            const std::string title = read.Text(2);
            const std::string addr = read.Text(3);
            const std::string text = read.Text(4);
            if (!read.error().empty()) return read.error();
            Run(insert, {popp, vrsn, title, addr, text});
            return std::string();
        },
        [&] { Exec(db, "DELETE FROM news"); });
}

ImportTotals ImportHosts(Database& db, const std::filesystem::path& file, const ImportLog& log) {
    static constexpr const char* kHeader = "nett,addr,cmnt";
    Statement insert = Prepare(db, "INSERT INTO hosts(nett, addr, cmnt) VALUES(?1, ?2, ?3)");
    return ImportCsvFile(
        db, file, kHeader, log,
        [&](const std::vector<std::string>& fields) {
            FieldReader read(fields, kHeader);
            const int64_t nett = read.Integer(0);
            const std::string addr = read.Text(1);
            const std::string cmnt = read.Text(2);
            if (!read.error().empty()) return read.error();
            if (addr.empty() || addr.find_first_of(" /") != std::string::npos)
                return "addr must be a host name or address, optionally with :port: \"" + addr +
                       "\"";
            Run(insert, {nett, addr, cmnt});
            return std::string();
        },
        [&] { Exec(db, "DELETE FROM hosts"); });
}

}  // namespace server
