// korvel-cli breed: reads the command line and runs one of the two jobs of
// breed.h. One stock: MARKET CODE [--style N] [--days N] [--depth N]
// [--seed N] [--evaluator fast|reference] [--holdout N] [--summary]
// [--save]; the watch list: --watch-list [--jobs N] with the same options
// but --holdout and --summary.
#include <limits>
#include <string>
#include <thread>

#include "cli/args.h"
#include "cli/breed.h"
#include "text/format.h"

namespace cli {
namespace {

int64_t IntInRange(const Args& args, const std::string& name, int64_t low, int64_t high) {
    const int64_t n = *args.GetInt(name);
    if (n < low || n > high)
        throw UsageError(text::Format("--%s must lie between %lld and %lld", name.c_str(), static_cast<long long>(low),
                                      static_cast<long long>(high)));
    return n;
}

BreedOptions ReadOptions(const Args& args) {
    BreedOptions o;
    constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();
    if (args.Has("style")) o.style = static_cast<StrategyStyle>(IntInRange(args, "style", 0, 4));
    if (args.Has("days")) o.days = static_cast<int32_t>(IntInRange(args, "days", 1, kIntMax));
    if (args.Has("depth")) o.depth = static_cast<int32_t>(IntInRange(args, "depth", 1, kIntMax));
    if (args.Has("seed"))
        o.seed = static_cast<uint32_t>(IntInRange(args, "seed", 0, std::numeric_limits<uint32_t>::max()));
    // Both evaluations breed the same strategy; "reference" is there to show it.
    if (args.Has("evaluator")) {
        const std::string name = *args.Get("evaluator");
        if (name == "reference") o.evaluation = TraderEvaluation::kReference;
        else if (name != "fast") throw UsageError("unknown evaluator '" + name + "' (known: fast, reference)");
    }
    // One held-out day would be the last case only, which never opens a trade.
    if (args.Has("holdout")) o.holdout = static_cast<int32_t>(IntInRange(args, "holdout", 2, kIntMax));
    o.summary = args.Has("summary");
    o.save = args.Has("save");
    return o;
}

size_t ReadJobs(const Args& args) {
    if (args.Has("jobs")) return static_cast<size_t>(IntInRange(args, "jobs", 1, 256));
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace

int RunBreed(const Context& context, const Words& words) {
    const Args args = ParseArgs(words, {"style", "days", "depth", "seed", "evaluator", "holdout", "jobs"},
                                {"save", "summary", "watch-list"});
    const BreedOptions options = ReadOptions(args);
    if (args.Has("watch-list")) {
        if (!args.positional.empty()) throw UsageError("--watch-list breeds the watched stocks: give no MARKET CODE");
        if (options.holdout || options.summary) throw UsageError("--holdout and --summary breed one stock");
        return BreedWatchedStocks(context, options, ReadJobs(args));
    }
    if (args.Has("jobs")) throw UsageError("--jobs goes with --watch-list");
    if (args.positional.size() != 2) throw UsageError("breed needs MARKET and CODE, or --watch-list");
    return BreedStock(context, args.positional[0], args.positional[1], options);
}

}  // namespace cli
