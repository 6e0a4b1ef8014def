// The server's CSV importers. The first byte picks the importer, the rest is
// the file; the tables are emptied after each input.
#include "fuzz_support.h"
#include "server/importers.h"
#include "server/server_database.h"

namespace {

using Importer = server::ImportTotals (*)(Database&, const std::filesystem::path&,
                                          const server::ImportLog&);

server::ImportTotals Stocks(Database& db, const std::filesystem::path& file,
                            const server::ImportLog& log) {
    return server::ImportStocksCsv(db, file, 20240101, log);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Database& db = fuzz::ServerDatabase();
    static const server::ImportLog quiet{[](const std::string&) {}, [](const std::string&) {}};
    static const Importer importers[] = {server::ImportDailyCsv,   server::ImportDividendCsv,
                                         Stocks,                   server::ImportPoolModels,
                                         server::ImportPools,      server::ImportNews,
                                         server::ImportHosts};
    if (size == 0) return 0;
    const Importer import = importers[data[0] % std::size(importers)];
    // Daily files take the stock from their name.
    import(db, fuzz::WriteInput("SS_600000.csv", data + 1, size - 1), quiet);
    server::Exec(db,
                 "DELETE FROM daily; DELETE FROM dividends; DELETE FROM stocks; "
                 "DELETE FROM pool_models; DELETE FROM pool_entries; DELETE FROM news; "
                 "DELETE FROM hosts");
    return 0;
}
