// korvel-cli digest [--since DATE] [--all]: which watched stocks changed
// their advice since the last synchronisation (or since DATE), 买入 and 卖出
// first; --all lists every watched stock's current advice the same way.
// `sync --digest` prints the same table for what that sync changed.
#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>

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

Runner SetUpDigest(CLI::App& command, const Context& context) {
    auto request = std::make_shared<DigestRequest>();
    CLI::Option* since =
        command.add_option("--since", request->since, "the changes that came with a bar of DATE or later instead")
            ->type_name("DATE")
            ->check(CLI::Range(10000101, 99991231).description("a date YYYYMMDD"));
    command.add_flag("--all", request->all, "every watched stock's current advice instead, sorted the same way")
        ->excludes(since);
    return [&context, request] { return ShowDigest(context, *request); };
}

}  // namespace cli
