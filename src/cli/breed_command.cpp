// korvel-cli breed: declares the command line and runs one of the two jobs
// of breed.h. One stock: MARKET CODE [--style N] [--days N] [--depth N]
// [--seed N] [--evaluator fast|reference] [--holdout N] [--summary]
// [--save]; the watch list: --watch-list [--jobs N] with the same options
// but --holdout and --summary.
#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <thread>

#include "cli/arguments.h"
#include "cli/breed.h"

namespace cli {
namespace {

struct BreedArgs {
    StockArgs stock;
    std::optional<int32_t> style;
    std::string evaluator = "fast";
    bool watchList = false;
    std::optional<size_t> jobs;
    BreedOptions options;
};

// Declares the options on `command`, bound to `a`.
void AddOptions(CLI::App& command, BreedArgs& a) {
    constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
    BreedOptions& o = a.options;
    CLI::Option* market = command.add_option("MARKET", a.stock.market, "market code: SS (Shanghai) or SZ (Shenzhen)")
                              ->check(StockFieldValidator());
    command.add_option("CODE", a.stock.code, "stock code, e.g. 600000")->check(StockFieldValidator());
    command.add_option("--style", a.style, "apply a style preset first: 0 auto, 1 short, 2 medium, 3 long, 4 custom")
        ->check(CLI::Range(0, 4));
    command.add_option("--days", o.days, "trading days bred on (default: EVOLUTE_DAYS)")->check(CLI::Range(1, kIntMax));
    command.add_option("--depth", o.depth, "generations without improvement that end the search (default: EVOLUTE_STEPS)")
        ->check(CLI::Range(1, kIntMax));
    command.add_option("--seed", o.seed, "seed replacing the clock, so the same command breeds the same strategy");
    // Both evaluations breed the same strategy; "reference" is there to show it.
    command.add_option("--evaluator", a.evaluator, "fast (default) or reference")
        ->check(CLI::IsMember({"fast", "reference"}));
    command.add_flag("--save", o.save, "store the strategy and its trade log (and the advice)");
    // One held-out day would be the last case only, which never opens a trade.
    CLI::Option* holdout =
        command.add_option("--holdout", o.holdout,
                           "breed without the newest N trading days, then trade the strategy over them (样本外检验) "
                           "beside buying and holding")
            ->check(CLI::Range(2, kIntMax));
    CLI::Option* summary = command.add_flag(
        "--summary", o.summary,
        "print only one line: summary, fitness, trades, win rate, accumulated profit, advice (tab-separated)");
    CLI::Option* watchList = command.add_flag(
        "--watch-list", a.watchList,
        "breed every watched stock, each in a process of its own, and end with a table sorted by accumulated profit");
    command.add_option("--jobs", a.jobs, "with --watch-list: processes at a time (default: the number of cores)")
        ->check(CLI::Range(1, 256))
        ->needs(watchList);
    watchList->excludes(market)->excludes(holdout)->excludes(summary);
}

int RunBreed(const Context& context, BreedArgs& a) {
    BreedOptions& o = a.options;
    if (a.style) o.style = static_cast<StrategyStyle>(*a.style);
    o.evaluation = a.evaluator == "reference" ? TraderEvaluation::kReference : TraderEvaluation::kFast;
    if (a.watchList) return BreedWatchedStocks(context, o, a.jobs.value_or(std::max(1u, std::thread::hardware_concurrency())));
    if (a.stock.market.empty() || a.stock.code.empty()) throw UsageError("breed needs MARKET and CODE, or --watch-list");
    return BreedStock(context, a.stock.market, a.stock.code, o);
}

}  // namespace

Runner SetUpBreed(CLI::App& command, const Context& context) {
    auto args = std::make_shared<BreedArgs>();
    AddOptions(command, *args);
    return [&context, args] { return RunBreed(context, *args); };
}

}  // namespace cli
