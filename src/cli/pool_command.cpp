// korvel-cli pool MODEL [--add CODES|all]: fetch the stock pool of a
// selection model, list it in the pool list's columns, and optionally add
// stocks of it to the watch list. CODES is a comma-separated list of codes
// (every entry with that code) or MARKET:CODE pairs.
#include <algorithm>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "cli/sync_cli.h"
#include "sync/stock_pool.h"
#include "text/gbk.h"

namespace cli {
namespace {

std::string JoinCells(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) line += (i ? "\t" : "") + cells[i];
    return line;
}

void PrintPool(const StockPool& pool) {
    std::string out = JoinCells(PoolColumnTitles()) + "\n";
    for (const PoolEntry& entry : pool.entries) out += JoinCells(PoolRowCells(entry)) + "\n";
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
    Print(ForTerminal(PoolAddedText(added.inserted)) + "\n");
    return 0;
}

}  // namespace

int RunPool(const Context& context, const Words& words) {
    const Args args = ParseArgs(words, {"add"});
    if (args.positional.size() != 1) throw UsageError("pool needs the MODEL (vpool, vpick, gpool, gpick, ...)");
    const std::string model = text::Utf8ToGbk(args.positional[0]);
    const std::optional<std::string> add = args.Get("add");
    std::optional<std::vector<std::string>> wanted;  // nothing: all
    if (add && *add != "all") wanted = SplitCodes(*add);

    const auto store = OpenLocalStore(context.dir, TheDataCenter(), FailureSink("pool"));
    if (!store) return 1;
    const ServerAccess server = ServerFromSettings(*store);
    Print(ForTerminal(PoolFetchingText()) + "\n");
    std::fflush(stdout);
    std::optional<StockPool> pool;
    RunOnWorker([&] {
        pool = FetchPool(server, model);
        return 0;
    });
    if (!pool) {
        PrintFailure("pool", ForTerminal(PoolEmptyText()));
        return 1;
    }
    Print(ForTerminal(pool->caption.empty() ? PoolCaption(model) : pool->caption) + "\n");
    if (!pool->info.empty()) Print(ForTerminal(pool->info) + "\n");
    if (pool->entries.empty()) {
        Print(ForTerminal(PoolEmptyText()) + "\n");
        if (!add) return 0;
        PrintFailure("pool", ForTerminal(PoolNothingTickedText()));
        return 1;
    }
    Print(ForTerminal(PoolFetchedText()) + "\n");
    PrintPool(*pool);
    return add ? AddToWatchList(store->database, *pool, wanted) : 0;
}

}  // namespace cli
