// korvel-cli cleanup [MARKET:CODE ...]: delete the chosen stocks' daily bars
// dated after the server's cut date, so the next sync fetches them again.
// Without stocks it lists the stocks that have local bars.
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "cli/sync_cli.h"
#include "sync/data_cleanup.h"
#include "text/format.h"
#include "text/gbk.h"

namespace cli {
namespace {

using WantedStock = std::pair<std::string, std::string>;  // market, code (GBK)

std::set<WantedStock> ParseStocks(const std::vector<std::string>& words) {
    std::set<WantedStock> stocks;
    for (const std::string& word : words) {
        const size_t colon = word.find(':');
        stocks.insert({text::Utf8ToGbk(word.substr(0, colon)), text::Utf8ToGbk(word.substr(colon + 1))});
    }
    return stocks;
}

void PrintList(const std::vector<CleanupStock>& list, int32_t cleanto) {
    std::string out = text::Format("cleanto\t%d\n", cleanto);
    for (const CleanupStock& s : list)
        out += ForTerminal(s.code + "\t" + s.name) + text::Format("\t%d\t", s.newest) + ForTerminal(s.market) + "\n";
    Print(out);
}

// The chosen stocks in list order, as the ticked rows are collected; false
// (after naming them) when some have no local bars to clean.
bool Choose(const std::vector<CleanupStock>& list, std::set<WantedStock> wanted, std::vector<CleanupStock>& chosen) {
    for (const CleanupStock& s : list)
        if (wanted.erase({s.market, s.code})) chosen.push_back(s);
    for (const WantedStock& key : wanted)
        PrintFailure("cleanup", ForTerminal(key.first + ":" + key.second) + " has no local daily bars to clean");
    return wanted.empty();
}

int RunCleanup(const Context& context, const std::vector<std::string>& words) {
    const std::set<WantedStock> wanted = ParseStocks(words);
    const auto store = OpenStore(context, "cleanup");
    if (!store) return 1;
    Database& db = store->database;
    ServerInfo info;
    if (!CheckServer(*store, ServerFromSettings(*store), info, "cleanup")) return 1;
    if (info.cleanto <= 0) {
        PrintFailure("cleanup", "the server names no cut date (cleanto), so there is nothing to clean back to");
        return 1;
    }
    const std::optional<std::vector<CleanupStock>> list = LoadCleanupList(db);
    if (!list) {
        PrintFailure("cleanup", "cannot read the stocks with daily bars: " + Database::LastError());
        return 1;
    }
    if (wanted.empty()) {
        PrintList(*list, info.cleanto);
        return 0;
    }
    std::vector<CleanupStock> chosen;
    if (!Choose(*list, wanted, chosen)) return 1;
    const SyncReporter report = TerminalReporter("cleanup");
    const int allDeleted = RunOnWorker([&] { return RunDataCleanup(db, info.cleanto, chosen, report) ? 1 : 0; });
    return allDeleted ? 0 : 1;
}

}  // namespace

Runner SetUpCleanup(CLI::App& command, const Context& context) {
    auto stocks = std::make_shared<std::vector<std::string>>();
    command.add_option("MARKET:CODE", *stocks, "the stocks to clean; without any, list the stocks with local bars")
        ->check(StockPairValidator());
    return [&context, stocks] { return RunCleanup(context, *stocks); };
}

}  // namespace cli
