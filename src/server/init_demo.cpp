// korvel-server init-demo: a ready database from the bundled data folder.
#include <cstdio>
#include <vector>

#include "server/commands.h"
#include "server/fields.h"
#include "server/importers.h"
#include "server/options.h"
#include "server/server_database.h"

namespace server {
namespace {

bool HoldsBundledData(const std::filesystem::path& dir) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(dir / "stocks.csv", ignored) &&
           std::filesystem::is_directory(dir / "daily", ignored);
}

// The data folder installed beside this program (bin/../share/korvel/data),
// else the one of the source tree it was built from: an installed program
// uses its own data even where that source tree still exists.
std::filesystem::path FindBundledData() {
    std::vector<std::filesystem::path> candidates;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) candidates.push_back((self.parent_path() / ".." / "share" / "korvel" / "data").lexically_normal());
    candidates.push_back(std::filesystem::path(KORVEL_SOURCE_DIR) / "data");
    for (const auto& candidate : candidates)
        if (HoldsBundledData(candidate)) return candidate;
    std::string tried;
    for (const auto& candidate : candidates) {
        tried += ' ';
        tried += candidate.string();
    }
    throw std::runtime_error("cannot find the bundled data (tried" + tried +
                             "); give --source DIR");
}

}  // namespace

int InitDemoCommand(const Words& words) {
    const Options options(words, {"data", "source"});
    const std::string data_dir = options.Require("data");
    const std::filesystem::path source =
        options.Get("source") ? std::filesystem::path(*options.Get("source")) : FindBundledData();
    if (!HoldsBundledData(source))
        throw std::runtime_error(source.string() + " holds no stocks.csv and daily/ folder");

    std::printf("building %s from %s\n", DatabasePath(data_dir).c_str(), source.c_str());
    Database db = OpenServerDatabase(data_dir);
    const ImportLog log = ConsoleImportLog();
    ImportTotals totals = ImportStocksCsv(db, source / "stocks.csv", Today(), log);
    totals += ImportDailyCsv(db, source / "daily", log);
    // The optional files: a data folder without them still makes a server.
    const auto optional = [&](const char* name, auto import) {
        if (std::filesystem::exists(source / name)) totals += import(db, source / name, log);
    };
    optional("dividend.csv", ImportDividendCsv);
    optional("pool_models.csv", ImportPoolModels);
    optional("pools.csv", ImportPools);
    optional("news.csv", ImportNews);
    optional("hosts.csv", ImportHosts);
    if (!totals.clean()) return ImportExitStatus(totals);
    std::printf("ready: korvel-server serve --data %s\n", data_dir.c_str());
    return 0;
}

}  // namespace server
