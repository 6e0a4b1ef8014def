#pragma once
// korvel-cli breed: the options of the command and its two jobs, breeding
// one stock (optionally with an out-of-sample check) and breeding every
// stock of the watch list, kept apart from reading the command line.
#include <cstdint>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "strategy/generation_run.h"
#include "datastore/run_parameters.h"

namespace cli {

inline constexpr const char* kBreedCommand = "breed";

struct BreedOptions {
    std::optional<StrategyStyle> style;
    std::optional<int32_t> days;
    std::optional<int32_t> depth;
    std::optional<uint32_t> seed;
    TraderEvaluation evaluation = TraderEvaluation::kFast;
    bool save = false;
    std::optional<int32_t> holdout;  // newest days kept out of the range, then checked
    bool summary = false;            // one summary line instead of progress and report
};

// Breeds the stock (market and code as typed); the exit status.
int BreedStock(const Context& context, const std::string& market, const std::string& code,
               const BreedOptions& options);

// Breeds every watched stock, `jobs` korvel-cli processes at a time, with
// the same options; the exit status.
int BreedWatchedStocks(const Context& context, const BreedOptions& options, size_t jobs);

}  // namespace cli
