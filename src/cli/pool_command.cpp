// korvel-cli pool MODEL [--add CODES|all]: fetch the stock pool of a
// selection model, list it in the pool list's columns, and optionally add
// stocks of it to the watch list. CODES is a comma-separated list of codes
// (every entry with that code) or MARKET:CODE pairs.
#include <algorithm>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "cli/sync_cli.h"
#include "sync/stock_pool.h"
#include "text/gbk.h"

namespace cli {
namespace {

void PrintPool(const StockPool& pool) {
    std::string out = TabLine(PoolColumnTitles());
    for (const PoolEntry& entry : pool.entries) out += TabLine(PoolRowCells(entry));
    Print(ForTerminal(out));
}

std::vector<std::string> SplitCodes(const std::string& list) {
    std::vector<std::string> codes;
    std::stringstream in(list);
    std::string code;
    while (std::getline(in, code, ','))
        if (!code.empty()) codes.push_back(code);
    if (codes.empty()) throw UsageError("--add needs codes (CODE or MARKET:CODE, comma-separated) or all");
    return codes;
}

bool Matches(const PoolEntry& entry, const std::string& wanted) {
    const size_t colon = wanted.find(':');
    if (colon == std::string::npos) return entry.code == wanted;
    return entry.market == wanted.substr(0, colon) && entry.code == wanted.substr(colon + 1);
}

// Ticks the wanted entries; false (after naming them) when some are not in the pool.
bool Tick(StockPool& pool, const std::optional<std::vector<std::string>>& wanted) {
    bool allFound = true;
    for (PoolEntry& entry : pool.entries) entry.selected = !wanted;
    if (!wanted) return true;
    for (const std::string& utf8 : *wanted) {
        const std::string code = text::Utf8ToGbk(utf8);
        bool found = false;
        for (PoolEntry& entry : pool.entries) {
            if (!Matches(entry, code)) continue;
            entry.selected = true;
            found = true;
        }
        if (!found) PrintFailure("pool", utf8 + " is not in the pool");
        allFound = allFound && found;
    }
    return allFound;
}

int AddToWatchList(Database& db, StockPool& pool, const std::optional<std::vector<std::string>>& wanted) {
    if (!Tick(pool, wanted)) return 1;
    const bool anyTicked =
        std::any_of(pool.entries.begin(), pool.entries.end(), [](const PoolEntry& e) { return e.selected; });
    if (!anyTicked) {
        PrintFailure("pool", ForTerminal(PoolNothingTickedText()));
        return 1;
    }
    Print(ForTerminal(PoolAddingText()) + "\n");
    PoolAddResult added;
    RunOnWorker([&] {
        added = AddPoolStocks(db, pool.entries);
        return 0;
    });
    if (added.failure) {
        PrintFailure("pool", ForTerminal(added.failure->text));
        return 1;
    }
    Print(ForTerminal(PoolAddedText(added.inserted)) + "\n");
    return 0;
}

struct PoolArgs {
    std::string model;
    std::optional<std::string> add;
};

int RunPool(const Context& context, const PoolArgs& args) {
    const std::string model = text::Utf8ToGbk(args.model);
    const std::optional<std::string>& add = args.add;
    std::optional<std::vector<std::string>> wanted;  // nothing: all
    if (add && *add != "all") wanted = SplitCodes(*add);

    const auto store = OpenStore(context, "pool");
    if (!store) return 1;
    const ServerAccess server = ServerFromSettings(*store);
    Print(ForTerminal(PoolFetchingText()) + "\n");
    std::fflush(stdout);
    std::optional<StockPool> pool;
    RunOnWorker([&] {
        pool = FetchPool(server, model);
        return 0;
    });
    // No reply, a reply that is not XML or one without a stock: no pool.
    if (!pool || pool->entries.empty()) {
        PrintFailure("pool", ForTerminal(PoolEmptyText()) + " (" + ForTerminal(server.host) + ")");
        return 1;
    }
    Print(ForTerminal(pool->caption.empty() ? PoolCaption(model) : pool->caption) + "\n");
    if (!pool->info.empty()) Print(ForTerminal(pool->info) + "\n");
    Print(ForTerminal(PoolFetchedText()) + "\n");
    PrintPool(*pool);
    return add ? AddToWatchList(store->database, *pool, wanted) : 0;
}

}  // namespace

Runner SetUpPool(CLI::App& command, const Context& context) {
    auto args = std::make_shared<PoolArgs>();
    command
        .add_option("MODEL", args->model,
                    "selection model: vpool, vpick, gpool, gpick (or any key the server knows)")
        ->required();
    command
        .add_option("--add", args->add,
                    "add these stocks to the watch list: CODE or MARKET:CODE, comma-separated, or all")
        ->type_name("CODES|all");
    return [&context, args] { return RunPool(context, *args); };
}

}  // namespace cli
