// The import commands: progress lines on stdout, problems on stderr.
#include "server/commands.h"
#include "server/fields.h"
#include "server/importers.h"
#include "server/options.h"
#include "server/server_database.h"

namespace server {
namespace {

using Importer = ImportTotals (*)(Database&, const std::filesystem::path&, const ImportLog&);

// A command that imports the one file or folder named by `option`.
int ImportOne(const Words& words, const char* option, Importer import) {
    const Options options(words, {"data", option});
    const std::string data_dir = options.Require("data");
    const std::string path = options.Require(option);
    Database db = OpenServerDatabase(data_dir);
    return ImportExitStatus(import(db, path, ConsoleImportLog()));
}

}  // namespace

int ImportCsvCommand(const Words& words) {
    const Options options(words, {"data", "daily", "dividend", "stocks", "stamp"});
    const std::string data_dir = options.Require("data");
    const auto daily = options.Get("daily"), dividend = options.Get("dividend"),
               stocks = options.Get("stocks");
    if (!daily && !dividend && !stocks)
        throw UsageError("give at least one of --daily, --dividend and --stocks");
    int stamp = Today();
    if (const auto stamp_text = options.Get("stamp")) {
        const std::optional<int> date = ParseDate(*stamp_text);
        if (!date) throw UsageError("--stamp needs a date yyyymmdd");
        stamp = *date;
    }
    Database db = OpenServerDatabase(data_dir);
    const ImportLog log = ConsoleImportLog();
    ImportTotals totals;
    if (stocks) totals += ImportStocksCsv(db, *stocks, stamp, log);
    if (daily) totals += ImportDailyCsv(db, *daily, log);
    if (dividend) totals += ImportDividendCsv(db, *dividend, log);
    return ImportExitStatus(totals);
}

int ImportPoolsCommand(const Words& words) {
    const Options options(words, {"data", "models", "pools"});
    const std::string data_dir = options.Require("data");
    const auto models = options.Get("models"), pools = options.Get("pools");
    if (!models && !pools) throw UsageError("give --models, --pools or both");
    Database db = OpenServerDatabase(data_dir);
    const ImportLog log = ConsoleImportLog();
    ImportTotals totals;
    if (models) totals += ImportPoolModels(db, *models, log);
    if (pools) totals += ImportPools(db, *pools, log);
    return ImportExitStatus(totals);
}

int ImportTdxCommand(const Words& words) { return ImportOne(words, "vipdoc", ImportTdx); }
int ImportNewsCommand(const Words& words) { return ImportOne(words, "news", ImportNews); }
int ImportHostsCommand(const Words& words) { return ImportOne(words, "hosts", ImportHosts); }

}  // namespace server
