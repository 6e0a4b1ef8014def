// korvel-cli digest [--since DATE] [--all]: which watched stocks changed
// their advice since the last synchronisation (or since DATE), 买入 and 卖出
// first; --all lists every watched stock's current advice the same way.
// `sync --digest` prints the same table for what that sync changed.
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/digest_cli.h"
#include "cli/strategy_cli.h"
#include "strategy/advice_digest.h"
#include "text/gbk.h"

namespace cli {

void PrintDigest(const std::vector<DigestRow>& rows) {
    if (rows.empty()) {
        Print("no changes\n");
        return;
    }
    std::string out = "代码\t名称\t操盘信号\t收盘\t涨幅%\n";
    for (const DigestRow& row : rows) {
        std::string line;
        for (const std::string& cell : DigestCells(row)) line += (line.empty() ? "" : "\t") + ForTerminal(cell);
        out += line + "\n";
    }
    Print(out);
}

namespace {

struct DigestRequest {
    std::optional<int32_t> since;
    bool all = false;
};

DigestRequest ParseDigest(const Words& words) {
    const Args args = ParseArgs(words, {"since"}, {"all"});
    if (!args.positional.empty()) throw UsageError("digest takes no arguments");
    DigestRequest request;
    request.all = args.Has("all");
    if (const std::optional<long long> since = args.GetInt("since")) {
        if (*since < 10000101 || *since > 99991231) throw UsageError("--since needs a date YYYYMMDD");
        request.since = static_cast<int32_t>(*since);
    }
    if (request.all && request.since) throw UsageError("--all lists the current advice; it takes no --since");
    return request;
}

int ShowDigest(const Context& context, const DigestRequest& request) {
    const auto store = OpenLocalStore(context.dir, TheDataCenter(), FailureSink("digest"));
    if (!store) return 1;
    Database& db = store->database;
    if (request.all) PrintDigest(WatchListDigest(db));
    else if (request.since) PrintDigest(DigestOf(db, ChangesSinceDate(db, *request.since)));
    else PrintDigest(LastSyncDigest(db));
    return 0;
}

}  // namespace

int RunDigest(const Context& context, const Words& words) { return ShowDigest(context, ParseDigest(words)); }

}  // namespace cli
