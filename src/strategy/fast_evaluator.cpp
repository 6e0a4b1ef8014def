#include "strategy/fast_evaluator.h"

#include <bit>

#include "gep/algorithm.h"

namespace {

// Calls step(k, signal of case k) for every case k < cases where the held
// series changes: a position opens where it turns on and closes where it
// turns off (a pass starts without a position; one still held after the
// last case stays open, as in the record-by-record pass).
template <class Step>
void ForEachEdge(const uint64_t* signal, const uint64_t* held, size_t cases, Step step) {
    const size_t words = (cases + 63) / 64;
    uint64_t before = 0;  // held bit of the case before word w's first case
    for (size_t w = 0; w < words; ++w) {
        uint64_t edges = held[w] ^ ((held[w] << 1) | before);
        before = held[w] >> 63;
        while (edges != 0) {
            const unsigned bit = static_cast<unsigned>(std::countr_zero(edges));
            edges &= edges - 1;
            if (w * 64 + bit >= cases) return;
            step(w * 64 + bit, static_cast<int32_t>((signal[w] >> bit) & 1));
        }
    }
}

}  // namespace

bool FastEvaluator::bind(const std::vector<TradingRecord>& cases) {
    const TradingRules& rules = TraderIndividual::rules();
    if (cases.data() == boundCases_ && cases.size() == boundCount_ && boundRules_ == rules) return bitParallel();
    boundCases_ = cases.data();
    boundCount_ = cases.size();
    boundRules_ = rules;
    bits_ = BuildConditionBits(cases, GEP::Chromosome::terminalCount());
    formula_ = bits_ ? FormulaBits::ForCurrentEngine() : std::nullopt;
    const size_t words = bits_ ? bits_->words : 0;
    cache_.reset(words);
    const size_t keyWords = formula_ ? formula_->keyWords() : 0;
    frames_.reset(keyWords);
    frameKey_.assign(keyWords, 0);
    signal_.assign(words, 0);
    held_.assign(words, 0);
    return bitParallel();
}

bool FastEvaluator::findSignal(const TraderIndividual& trader) {
    if (!formula_->evaluate(trader.chromosome().symbols(), *bits_, signal_.data())) return false;
    for (size_t w = 0; w < bits_->words; ++w) held_[w] = signal_[w] & bits_->holdable[w];
    return true;
}

void FastEvaluator::evaluate(std::span<TraderIndividual* const> batch, const std::vector<TradingRecord>& cases) {
    if (!bind(cases)) {
        GEP::Algorithm<TraderIndividual>::evaluateByRecords(batch, cases);
        return;
    }
    byRecords_.clear();
    for (TraderIndividual* trader : batch) {
        const bool keyed = cacheFitness_ && formula_->frameKey(trader->chromosome().symbols(), frameKey_.data());
        if (keyed) {
            if (const std::optional<double> fitness = frames_.find(frameKey_.data())) {
                ++counts_.evaluations;
                ++counts_.frameHits;
                trader->resetState();
                trader->setFitness(*fitness);
                continue;
            }
        }
        if (!findSignal(*trader)) {
            byRecords_.push_back(trader);
            continue;
        }
        ++counts_.evaluations;
        trader->resetState();
        std::optional<double> fitness = cacheFitness_ ? cache_.find(held_.data()) : std::nullopt;
        if (fitness) {
            ++counts_.seriesHits;
            trader->setFitness(*fitness);
        } else {
            ForEachEdge(signal_.data(), held_.data(), bits_->cases,
                        [&](size_t k, int32_t signal) { trader->tradeOnSignal(signal, cases[k]); });
            fitness = trader->computeFitness();
            if (cacheFitness_) cache_.insert(held_.data(), *fitness);
        }
        if (keyed) frames_.insert(frameKey_.data(), *fitness);
    }
    if (!byRecords_.empty()) GEP::Algorithm<TraderIndividual>::evaluateByRecords(byRecords_, cases);
}

void FastEvaluator::replay(TraderIndividual& best, const std::vector<TradingRecord>& cases, RunParameters& params) {
    if (!bind(cases) || !findSignal(best)) {
        ReplayBest(best, cases, params);
        return;
    }
    params.tradeLog.clear();
    best.resetState();
    ForEachEdge(signal_.data(), held_.data(), bits_->cases,
                [&](size_t k, int32_t signal) { best.recordOnSignal(signal, cases[k], params.tradeLog); });
    params.winRateHistory.push_back(static_cast<float>(best.winRatio()));
}
