// korvel-cli breed MARKET CODE [--style N] [--days N] [--depth N] [--seed N]
// [--evaluator fast|reference] [--save]: breeds a trading strategy for one stock
// as the strategy wizard does (verification range, generation run, report)
// and optionally saves it. Ctrl-C ends the search early, as the wizard's stop
// button does, and the best strategy found so far is reported.
#include <atomic>
#include <csignal>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "gep/random.h"
#include "strategy/generation_run.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_report.h"
#include "strategy/strategy_style.h"
#include "strategy/time_range.h"
#include "text/format.h"

namespace cli {
namespace {

constexpr const char* kCommand = "breed";

struct BreedOptions {
    std::optional<StrategyStyle> style;
    std::optional<int32_t> days;
    std::optional<int32_t> depth;
    std::optional<uint32_t> seed;
    TraderEvaluation evaluation = TraderEvaluation::kFast;
    bool save = false;
};

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
    o.save = args.Has("save");
    return o;
}

// The style is applied even when it is the one the parameters already name
// (a fresh program starts at style 0): on the command line it asks for the
// preset itself, where the wizard's menu ignores re-choosing a style.
void ApplyOptions(RunParameters& params, const BreedOptions& o, const SettingsMap& settings) {
    if (o.style) {
        params.style = static_cast<StrategyStyle>(-1);
        SetStrategyStyle(params, *o.style, settings);
    }
    if (o.days) params.evoluteDays = *o.days;
    if (o.depth) params.evoluteSteps = *o.depth;
}

std::atomic<bool>* runningFlag = nullptr;

// The first Ctrl-C stops the search; a second one ends the program.
void StopOnInterrupt(int) {
    if (runningFlag != nullptr) runningFlag->store(false);
    std::signal(SIGINT, SIG_DFL);
}

void PrintProgress(const GenerationProgress& g) {
    Print(text::Format("generation %zu  depth %u  fitness %.6f  win rate %.2f%%\n", g.generations, g.stallCount,
                       g.bestFitness, static_cast<double>(g.winRatio) * 100));
    std::fflush(stdout);
}

// Runs the search to its end; false after the message when it cannot start.
bool Breed(CDataCenter& dc, TraderEvaluation evaluation) {
    GenerationHooks hooks;
    hooks.progress = PrintProgress;
    hooks.evaluation = evaluation;
    std::unique_ptr<GenerationRun> run = GenerationRun::Start(dc, std::move(hooks), FailureSink(kCommand));
    if (!run) return false;
    runningFlag = &dc.Parameters().running;
    std::signal(SIGINT, StopOnInterrupt);
    run->Wait();
    std::signal(SIGINT, SIG_DFL);
    runningFlag = nullptr;
    return true;
}

}  // namespace

int RunBreed(const Context& context, const Words& words) {
    const Args args = ParseArgs(words, {"style", "days", "depth", "seed", "evaluator"}, {"save"});
    if (args.positional.size() != 2) throw UsageError("breed needs MARKET and CODE");
    const BreedOptions options = ReadOptions(args);
    const std::string& market = args.positional[0];
    const std::string& code = args.positional[1];

    const auto store = OpenStrategyStore(context, kCommand);
    if (!store) return 1;
    CDataCenter& dc = TheDataCenter();
    if (!LoadStockWithBars(dc, market, code, kCommand)) return 1;
    RunParameters& params = dc.Parameters();
    ApplyOptions(params, options, store->settings);
    ComputeVerificationRange(params, dc.Dates());
    if (options.seed) GEP::setClockSeedOverride(*options.seed);

    if (!Breed(dc, options.evaluation)) return 1;
    if (params.winRateHistory.empty()) {
        PrintFailure(kCommand, "the search was stopped before its first generation; no strategy");
        return 1;
    }
    const ReportPage page = PrepareReportPage(dc);
    // As it is stored: the report, two blank lines, the strategy text.
    std::string out = "\n";
    out += ForTerminal(page.report + "\r\n\r\n\r\n" + page.strategyText) + "\n";
    Print(out);
    if (!options.save) return 0;
    if (!SaveStrategy(store->database, dc, page.report, FailureSink(kCommand))) return 1;
    Print("\nsaved " + market + " " + code + "\n");
    return 0;
}

}  // namespace cli
