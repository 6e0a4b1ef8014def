// korvel-cli status, sync and open: the server status request, the start
// page's synchronisation (with --digest, then what it changed) and the
// view's opening of one stock.
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/digest_cli.h"
#include "cli/strategy_cli.h"
#include "cli/sync_cli.h"
#include "strategy/advice.h"
#include "strategy/advice_digest.h"
#include "sync/daily_sync.h"
#include "sync/stock_codes.h"
#include "text/format.h"
#include "text/gbk.h"

namespace cli {
namespace {

// The server's dates and the servers the menu offers, numbered for
// "status --switch N"; the current server is marked "*".
void PrintServerInfo(LocalStore& store, const ServerInfo& info) {
    std::string out = text::Format("update\t%d\ncleanto\t%d\n", info.update, info.cleanto);
    const std::string current = GetSetting(store.settings, "HOST");
    const std::vector<HostEntry> hosts = ServerMenuHosts(store.database, info);
    for (size_t i = 0; i < hosts.size(); ++i) {
        const HostEntry& h = hosts[i];
        out += text::Format("%zu\t%s\t", i + 1, h.addr == current ? "*" : "") + ForTerminal(h.addr) +
               text::Format("\t%d\t", h.nett) + ForTerminal(h.cmnt) + "\n";
    }
    Print(out);
}

// Chooses server `number` of the menu: stores it as HOST and reloads the
// settings. The menu comes from the HOST table, i.e. the host list of the
// last status reply this database received.
bool SwitchToServer(LocalStore& store, long long number) {
    const std::vector<HostEntry> hosts = ServerMenuHosts(store.database, ServerInfo{});
    if (number > static_cast<long long>(hosts.size())) {
        PrintFailure("status", text::Format("there is no server %lld in the host list (%zu known; see korvel-cli status)",
                                            number, hosts.size()));
        return false;
    }
    return SwitchServer(store.database, store.settings, hosts[static_cast<size_t>(number) - 1].addr,
                        FailureSink("status"));
}

bool IsCurrentStock(const CDataCenter& dc, const std::string& market, const std::string& code) {
    return dc.Market() == market && dc.Code() == code;
}

void PrintOpenedStock(const CDataCenter& dc) {
    const std::string advice = CurrentAdvice(dc);
    const std::lock_guard lock(dc.DataLock());
    std::string out = ForTerminal(dc.Market() + " " + dc.Code() + " " + dc.DisplayName()) + "\n";
    out += text::Format("bars\t%zu\n", dc.Dates().size());
    out += dc.Dates().empty() ? std::string("newest\t-\n") : text::Format("newest\t%d\n", dc.Dates().back());
    out += "advice\t" + (advice.empty() ? std::string("-") : ForTerminal(advice)) + "\n";
    Print(out);
}

int RunStatus(const Context& context, const std::optional<long long>& server) {
    const auto store = OpenStore(context, "status");
    if (!store) return 1;
    if (server && !SwitchToServer(*store, *server)) return 1;
    ServerInfo info;
    if (!CheckServer(*store, ServerFromSettings(*store), info, "status")) return 1;
    PrintServerInfo(*store, info);
    return 0;
}

// The start page's synchronisation; with `digest`, what it changed is
// printed after a successful run.
int RunSync(const Context& context, bool digest) {
    const auto store = OpenStore(context, "sync");
    if (!store) return 1;
    Database& db = store->database;
    const ServerAccess server = ServerFromSettings(*store);
    const SyncReporter report = TerminalReporter("sync");

    const int64_t runBefore = LatestAdviceRun(db);
    const auto finish = [&](int status) {
        if (digest && status == 0) PrintDigest(DigestAfterRun(db, runBefore));
        return status;
    };

    ServerInfo info;
    if (!CheckServer(*store, server, info, "sync")) return 1;
    if (RunOnWorker([&] { return SyncStockCodes(db, server, report); }) != SyncReport::kSucceeded) return 1;

    const std::optional<StartPageJobs> plan = BuildStartPageJobs(db, info.update);
    if (!plan) {
        PrintFailure("sync", "cannot read the stored strategies: " + Database::LastError());
        return 1;
    }
    if (plan->strategies == 0) {
        Print("the watch list is empty: no daily data to synchronise\n");
        return finish(0);
    }
    if (plan->jobs.empty()) return finish(ExitStatus(ReportNothingToSync(report)));
    const DailySyncRequest request{plan->jobs, true, info.update};
    return finish(ExitStatus(RunOnWorker(
        [&] { return RunDailySync(db, TheDataCenter(), server, request, report, FailureSink("sync")); })));
}

int RunOpen(const Context& context, const StockArgs& stock, const std::optional<int>& yearOption) {
    const int year = yearOption.value_or(CurrentYear());
    const auto store = OpenStrategyStore(context, "open");
    if (!store) return 1;
    Database& db = store->database;
    const ServerAccess server = ServerFromSettings(*store);
    const std::string market = text::Utf8ToGbk(stock.market);
    const std::string code = text::Utf8ToGbk(stock.code);

    // Without the server's newest date the view cannot tell what is missing.
    ServerInfo info;
    if (!CheckServer(*store, server, info, "open")) return 1;
    const DailySyncRequest request{BuildViewJobs(db, market, code, info.update, year), false,
                                   info.update};
    CDataCenter& dc = TheDataCenter();
    if (!dc.LoadStock(code, market)) {
        PrintFailure("open", "cannot read the daily bars: " + Database::LastError());
        return 1;
    }
    {
        const std::lock_guard lock(dc.DataLock());
        dc.Signals().clear();
    }
    const int result = RunOnWorker(
        [&] { return RunDailySync(db, dc, server, request, TerminalReporter("open"), FailureSink("open")); });
    // As the view does on the final report: reload the stock with its new
    // bars and, after a successful run, show adjusted prices.
    if (IsCurrentStock(dc, market, code) && dc.LoadStock(code, market) && result == SyncReport::kSucceeded)
        dc.ToggleAdjusted();
    PrintOpenedStock(dc);
    return ExitStatus(result);
}

}  // namespace

Runner SetUpStatus(CLI::App& command, const Context& context) {
    auto server = std::make_shared<std::optional<long long>>();
    command
        .add_option("--switch", *server,
                    "first make server N of the host list the HOST (the list 'status' printed last)")
        ->type_name("N")
        ->check(CLI::Range(1LL, static_cast<long long>(kServerMenuSize)));
    return [&context, server] { return RunStatus(context, *server); };
}

Runner SetUpSync(CLI::App& command, const Context& context) {
    auto digest = std::make_shared<bool>(false);
    command.add_flag("--digest", *digest, "then print the watched stocks whose advice this sync changed");
    return [&context, digest] { return RunSync(context, *digest); };
}

Runner SetUpOpen(CLI::App& command, const Context& context) {
    auto stock = std::make_shared<StockArgs>();
    auto year = std::make_shared<std::optional<int>>();
    AddStockArguments(command, *stock);
    command
        .add_option("--year", *year,
                    "the current year, which sets the two-year ranges fetched for a stock without bars")
        ->check(CLI::Range(1000, 9999));
    return [&context, stock, year] { return RunOpen(context, *stock, *year); };
}

}  // namespace cli
