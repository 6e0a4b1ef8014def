// korvel-cli breed MARKET CODE: breeds a trading strategy for one stock as
// the strategy wizard does (verification range, generation run, report) and
// optionally saves it. With --holdout N the newest N days stay out of the
// range and the bred rule is then traded over them ("样本外检验"). Ctrl-C
// ends the search early, as the wizard's stop button does, and the best
// strategy found so far is reported.
#include <pthread.h>

#include <atomic>
#include <csignal>
#include <string>

#include "cli/breed.h"
#include "cli/strategy_cli.h"
#include "gep/random.h"
#include "strategy/holdout_check.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_report.h"
#include "strategy/strategy_style.h"
#include "strategy/time_range.h"
#include "strategy/watch_list_breed.h"
#include "text/format.h"

namespace cli {
namespace {

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

// The verification range, with the held-out days left out; false after the
// message when the stock has too few bars to hold them out.
bool SetRange(CDataCenter& dc, const BreedOptions& o, const std::string& market, const std::string& code) {
    RunParameters& params = dc.Parameters();
    if (!o.holdout) return ComputeVerificationRange(params, dc.Dates());
    if (ComputeHoldoutRange(params, dc.Dates(), *o.holdout)) return true;
    PrintFailure(kBreedCommand, text::Format("cannot hold out %d days: %s %s has %zu daily bars and breeding needs at "
                                        "least 2 of them (--holdout at most %d)",
                                        *o.holdout, market.c_str(), code.c_str(), dc.Dates().size(),
                                        MaxHoldoutDays(dc.Dates().size())));
    return false;
}

std::atomic<bool>* runningFlag = nullptr;

// The first Ctrl-C stops the search; a second one ends the program.
void StopRunOnInterrupt(int) {
    if (runningFlag != nullptr) runningFlag->store(false);
    std::signal(SIGINT, SIG_DFL);
}

void PrintGeneration(const GenerationProgress& g) {
    Print(text::Format("generation %zu  depth %u  fitness %.6f  win rate %.2f%%\n", g.generations, g.stallCount,
                       g.bestFitness, static_cast<double>(g.winRatio) * 100));
    std::fflush(stdout);
}

// Runs the search to its end; the best fitness, or nothing after the
// message when it cannot start.
std::optional<double> Breed(CDataCenter& dc, TraderEvaluation evaluation, bool quiet) {
    double fitness = 0.0;
    GenerationHooks hooks;
    hooks.progress = [&fitness, quiet](const GenerationProgress& g) {
        fitness = g.bestFitness;
        if (!quiet) PrintGeneration(g);
    };
    hooks.evaluation = evaluation;
    std::unique_ptr<GenerationRun> run = GenerationRun::Start(dc, std::move(hooks), FailureSink(kBreedCommand));
    if (!run) return std::nullopt;
    runningFlag = &dc.Parameters().running;
    std::signal(SIGINT, StopRunOnInterrupt);
    run->Wait();
    std::signal(SIGINT, SIG_DFL);
    runningFlag = nullptr;
    return fitness;
}

// The report and the strategy text as they are stored, then the check of
// the held-out days.
void PrintReport(const std::string& report, const std::string& strategyText, const std::optional<HoldoutCheck>& check,
                 const CDataCenter& dc) {
    std::string out = "\n";
    out += ForTerminal(report + "\r\n\r\n\r\n" + strategyText);
    out += '\n';
    if (check) {
        out += '\n';
        out += ForTerminal(BuildHoldoutReport(*check, dc.Dates()));
        out += '\n';
    }
    Print(out);
}

// From here on a strategy is saved and reported whole: the watch-list
// runner stops its children with SIGTERM when the user presses Ctrl-C, and a
// child ended between its save and its summary line would leave a stored
// strategy the runner reports as stopped. Held back, the signal dies with
// the process when it exits. Only the main thread is left at this point.
void HoldTerminationUntilExit() {
    sigset_t term;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &term, nullptr);
}

}  // namespace

int BreedStock(const Context& context, const std::string& market, const std::string& code,
               const BreedOptions& options) {
    const auto store = OpenStrategyStore(context, kBreedCommand);
    if (!store) return 1;
    CDataCenter& dc = TheDataCenter();
    if (!LoadStockWithBars(dc, market, code, kBreedCommand)) return 1;
    ApplyOptions(dc.Parameters(), options, store->settings);
    if (!SetRange(dc, options, market, code)) return 1;
    if (options.seed) GEP::setClockSeedOverride(*options.seed);

    const std::optional<double> fitness = Breed(dc, options.evaluation, options.summary);
    if (!fitness) return 1;
    if (dc.Parameters().winRateHistory.empty()) {
        PrintFailure(kBreedCommand, "the search was stopped before its first generation; no strategy");
        return 1;
    }
    const ReportPage page = PrepareReportPage(dc);
    const std::optional<HoldoutCheck> check =
        options.holdout ? CheckHoldout(dc, *options.holdout) : std::optional<HoldoutCheck>();
    if (!options.summary) PrintReport(page.report, page.strategyText, check, dc);
    if (options.save) HoldTerminationUntilExit();
    if (options.save && !SaveStrategy(store->database, dc, page.report, FailureSink(kBreedCommand))) return 1;
    if (options.summary) Print(SummaryLine(SummarizeBreed(dc, *fitness)) + "\n");
    else if (options.save) Print("\nsaved " + market + " " + code + "\n");
    return 0;
}

}  // namespace cli
