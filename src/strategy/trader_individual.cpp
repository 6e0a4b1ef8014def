#include "strategy/trader_individual.h"

#include "gep/functions.h"
#include "gep/number_text.h"

TradingRules RulesFrom(const RunParameters& params) {
    return {params.buyCharge, params.sellCharge, params.minTradeNums, params.maxTradeNums, params.caseCount};
}

int32_t TraderIndividual::signal() { return GEP::truncToInt32(chromosome_.value()); }

void TraderIndividual::processRecord(const Record& record, int /*flag*/) { tradeOnSignal(signal(), record); }

double TraderIndividual::fitnessOf(double capital, int32_t completedTrades) {
    // Completed trades per 240 trading days; with no case at all this is not
    // a number and fails both bounds.
    const double y = static_cast<double>(completedTrades) / rules_.caseCount * 240.0;
    return rules_.minTradeNums <= y && y <= rules_.maxTradeNums ? capital : 0.0;
}

double TraderIndividual::computeFitness() {
    fitness_ = fitnessOf(capital_, wins_ + losses_);
    resetState();
    return fitness_;
}

std::string TraderIndividual::toString() const {
    return "Trader Individual: Fitness = " + GEP::numberText(fitness_) + "\n" + chromosome_.toString();
}

void TraderIndividual::resetState() {
    wins_ = 0;
    losses_ = 0;
    holding_ = false;
    capital_ = 1.0;
    entryCost_ = 0.0;
}

void TraderIndividual::recordStep(const Record& record, std::vector<TradeLogEntry>& log) {
    recordOnSignal(signal(), record, log);
}

void TraderIndividual::recordOnSignal(int32_t x, const Record& record, std::vector<TradeLogEntry>& log) {
    if (x != 0 && record.last == 0) {
        if (holding_) return;
        openPosition(record.price);
        log.push_back({record.date, 'B', record.price, 0.0f, static_cast<float>(capital_)});
    } else if (holding_) {
        const double q = closePosition(record.price);
        capital_ = capital_ + q;
        log.push_back({record.date, 'S', record.price, static_cast<float>(q), static_cast<float>(capital_)});
    }
}

double TraderIndividual::winRatio() const {
    const int32_t trades = wins_ + losses_;
    return trades == 0 ? 0.0 : static_cast<double>(wins_) / trades;
}

void ReplayBest(TraderIndividual& best, const std::vector<TraderIndividual::Record>& cases, RunParameters& params) {
    params.tradeLog.clear();
    best.resetState();
    for (const TraderIndividual::Record& record : cases) {
        GEP::Chromosome::assignInputs(record.inputs);
        best.recordStep(record, params.tradeLog);
    }
    params.winRateHistory.push_back(static_cast<float>(best.winRatio()));
}
