// korvel-cli breed MARKET CODE [--style N] [--days N] [--depth N] [--seed N]
// [--evaluator fast|reference] [--save]: breeds a trading strategy for one stock
// as the strategy wizard does (verification range, generation run, report)
// and optionally saves it. Ctrl-C ends the search early, as the wizard's stop
// button does, and the best strategy found so far is reported.
#include <atomic>
#include <csignal>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>

#include "cli/arguments.h"
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
    StockArgs stock;
    std::optional<int32_t> style;
    std::optional<int32_t> days;
    std::optional<int32_t> depth;
    std::optional<uint32_t> seed;
    std::string evaluator = "fast";
    bool save = false;
};

// Declares the options on `command`, bound to `o`.
void AddOptions(CLI::App& command, BreedOptions& o) {
    constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
    command.add_option("--style", o.style, "apply a style preset first: 0 auto, 1 short, 2 medium, 3 long, 4 custom")
        ->check(CLI::Range(0, 4));
    command.add_option("--days", o.days, "trading days bred on (default: EVOLUTE_DAYS)")->check(CLI::Range(1, kIntMax));
    command.add_option("--depth", o.depth, "generations without improvement that end the search (default: EVOLUTE_STEPS)")
        ->check(CLI::Range(1, kIntMax));
    command.add_option("--seed", o.seed, "seed replacing the clock, so the same command breeds the same strategy");
    // Both evaluations breed the same strategy; "reference" is there to show it.
    command.add_option("--evaluator", o.evaluator, "fast (default) or reference")
        ->check(CLI::IsMember({"fast", "reference"}));
    command.add_flag("--save", o.save, "store the strategy and its trade log");
}

// The style is applied even when it is the one the parameters already name
// (a fresh program starts at style 0): on the command line it asks for the
// preset itself, where the wizard's menu ignores re-choosing a style.
void ApplyOptions(RunParameters& params, const BreedOptions& o, const SettingsMap& settings) {
    if (o.style) {
        params.style = static_cast<StrategyStyle>(-1);
        SetStrategyStyle(params, static_cast<StrategyStyle>(*o.style), settings);
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

int RunBreed(const Context& context, const BreedOptions& options) {
    const std::string& market = options.stock.market;
    const std::string& code = options.stock.code;

    const auto store = OpenStrategyStore(context, kCommand);
    if (!store) return 1;
    CDataCenter& dc = TheDataCenter();
    if (!LoadStockWithBars(dc, market, code, kCommand)) return 1;
    RunParameters& params = dc.Parameters();
    ApplyOptions(params, options, store->settings);
    ComputeVerificationRange(params, dc.Dates());
    if (options.seed) GEP::setClockSeedOverride(*options.seed);

    const TraderEvaluation evaluation =
        options.evaluator == "reference" ? TraderEvaluation::kReference : TraderEvaluation::kFast;
    if (!Breed(dc, evaluation)) return 1;
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

}  // namespace

Runner SetUpBreed(CLI::App& command, const Context& context) {
    auto options = std::make_shared<BreedOptions>();
    AddStockArguments(command, options->stock);
    AddOptions(command, *options);
    return [&context, options] { return RunBreed(context, *options); };
}

}  // namespace cli
