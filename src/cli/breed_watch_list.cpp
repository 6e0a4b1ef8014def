// korvel-cli breed --watch-list [--jobs N]: breeds every watched stock, each
// in a korvel-cli process of its own, N at a time, with a progress line per
// finished stock and a table at the end. Ctrl-C stops the running breeds and
// starts no more; strategies already saved stay.
#include <signal.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "cli/breed.h"
#include "cli/strategy_cli.h"
#include "strategy/watch_list_breed.h"
#include "text/format.h"
#include "text/gbk.h"

namespace cli {
namespace {

std::atomic<bool> stopRequested = false;

void StopBatchOnInterrupt(int) { stopRequested.store(true); }

// Without SA_RESTART, so the runner's wait returns at once; a second Ctrl-C
// ends the program (the children then get SIGTERM as their parent dies).
struct InterruptScope {
    struct sigaction previous {};
    InterruptScope() {
        struct sigaction action {};
        action.sa_handler = StopBatchOnInterrupt;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &previous);
    }
    ~InterruptScope() { sigaction(SIGINT, &previous, nullptr); }
};

// What each child is given after "breed MARKET CODE --summary".
std::vector<std::string> ChildWords(const BreedOptions& o) {
    std::vector<std::string> words;
    const auto add = [&](const char* name, auto value) { words.insert(words.end(), {name, std::to_string(value)}); };
    if (o.style) add("--style", static_cast<int>(*o.style));
    if (o.days) add("--days", *o.days);
    if (o.depth) add("--depth", *o.depth);
    if (o.seed) add("--seed", *o.seed);
    if (o.evaluation == TraderEvaluation::kReference) words.insert(words.end(), {"--evaluator", "reference"});
    if (o.save) words.push_back("--save");
    return words;
}

void PrintBatchProgress(const BatchProgress& p) {
    const BreedOutcome& o = *p.latest;
    const std::string result = o.summary ? text::Format("fitness %.4f", o.summary->fitness) : "failed: " + o.failure;
    Print(text::Format("[%zu/%zu] %s %s %s  %s  elapsed %s  remaining ~%s\n", p.done, p.total,
                       text::GbkToUtf8(o.stock.market).c_str(), text::GbkToUtf8(o.stock.code).c_str(),
                       text::GbkToUtf8(o.stock.name).c_str(), result.c_str(), ClockText(p.elapsedSeconds).c_str(),
                       ClockText(p.remainingSeconds).c_str()));
    std::fflush(stdout);
}

}  // namespace

int BreedWatchedStocks(const Context& context, const BreedOptions& options, size_t jobs) {
    std::vector<WatchedStock> stocks;
    {
        const auto store = OpenStrategyStore(context, kBreedCommand);
        if (!store) return 1;
        stocks = LoadWatchedStocks(store->database);
    }
    if (stocks.empty()) {
        Print("nothing to breed: the watch list is empty\n");
        return 0;
    }
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        PrintFailure(kBreedCommand, "cannot find korvel-cli itself: " + error.message());
        return 1;
    }
    Print(text::Format("breeding %zu watched stocks, %zu at a time\n", stocks.size(), jobs));
    std::fflush(stdout);

    std::vector<BreedOutcome> outcomes;
    {
        stopRequested = false;
        const InterruptScope interrupt;
        outcomes = BreedWatchList(stocks, {self.string(), context.dir, ChildWords(options), jobs}, PrintBatchProgress,
                                  stopRequested);
    }
    SortByAccumulatedProfit(outcomes);
    std::string table = "\n";
    table += TabLine(BatchTableHeader());
    size_t failed = 0;
    for (const BreedOutcome& o : outcomes) {
        table += TabLine(BatchTableCells(o));
        if (!o.summary) ++failed;
    }
    Print(table);
    if (stopRequested) PrintFailure(kBreedCommand, "stopped by Ctrl-C; strategies saved before stay");
    if (failed == 0) return 0;
    PrintFailure(kBreedCommand, text::Format("%zu of %zu stocks were not bred (see the table)", failed, outcomes.size()));
    return 1;
}

}  // namespace cli
