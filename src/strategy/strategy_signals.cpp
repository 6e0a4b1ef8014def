#include "strategy/strategy_signals.h"

#include <mutex>
#include <optional>
#include <stdexcept>

#include "gep/chromosome.h"
#include "gep/functions.h"
#include "strategy/trading_engine.h"

namespace {

// Functions are released however the evaluation ends.
struct TradingEngineScope {
    TradingEngineScope() { SetUpTradingEngine(); }
    ~TradingEngineScope() { GEP::Chromosome::releaseFunctions(); }
    TradingEngineScope(const TradingEngineScope&) = delete;
    TradingEngineScope& operator=(const TradingEngineScope&) = delete;
};

std::optional<GEP::Chromosome> TradingChromosome(const std::vector<int16_t>& symbols) {
    if (symbols.size() != static_cast<size_t>(kTradingGenes) * kTradingGeneLength) return std::nullopt;
    try {
        return GEP::Chromosome(symbols);
    } catch (const std::invalid_argument&) {
        return std::nullopt;
    }
}

}  // namespace

bool ComputeStrategySignals(CDataCenter& dc) {
    const std::vector<int16_t>& symbols = dc.Parameters().bestChromosome;
    if (symbols.empty()) return false;
    const std::lock_guard lock(dc.DataLock());
    const TradingEngineScope engine;
    std::optional<GEP::Chromosome> chromosome = TradingChromosome(symbols);
    if (!chromosome) return false;

    const std::vector<std::vector<float>> conditions = dc.GetAllConditions();
    std::vector<int32_t>& signals = dc.Signals();
    signals.clear();
    std::vector<double> inputs(conditions.size());
    const size_t bars = dc.Dates().size();
    for (size_t i = 0; i < bars; ++i) {
        for (size_t c = 0; c < conditions.size(); ++c) inputs[c] = static_cast<double>(conditions[c][i]);
        GEP::Chromosome::assignInputs(inputs);
        signals.push_back(GEP::truncToInt32(chromosome->value()));
    }
    return true;
}
