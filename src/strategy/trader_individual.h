#pragma once
// The trader individual: a chromosome read as a logical formula over the 21
// condition series, scored by a simulated long-only trading run over the
// fitness cases of the verification range.
//
// One pass: the signal of case k (the formula's value for bar k) is acted on
// at the price of bar k+1, which the case carries. A non-zero signal opens a
// position (price x (1 + buying charge)), a zero signal or the last case
// closes it; the closing return is q = (price - entry cost) / entry cost -
// selling charge. The fitness compounds the returns, provided the completed
// trades per 240 cases lie within the configured band.
//
// All arithmetic is double precision from the single-precision prices and
// charges, in exactly the order written in the .cpp: a faster evaluator that
// finds the same trades must reproduce its results bit for bit, so it should
// open and close positions through openPosition()/closePosition().
//
// Thread-safety: the trading rules are class-wide, like the engine's
// settings; set them before a run and leave them alone during it.
#include <cstdint>
#include <string>
#include <vector>

#include "datastore/run_parameters.h"
#include "gep/individual.h"

// What every pass of every trader reads.
struct TradingRules {
    float buyCharge = 0.001f;  // fractions of the amount
    float sellCharge = 0.002f;
    int32_t minTradeNums = 10;  // completed trades per 240 cases, inclusive bounds
    int32_t maxTradeNums = 20;
    int32_t caseCount = 0;  // fitness cases of the verification range

    bool operator==(const TradingRules&) const = default;
};

// The rules of a run: the charges, the trade band and caseCount.
TradingRules RulesFrom(const RunParameters& params);

class TraderIndividual : public GEP::Individual<> {
public:
    static void setRules(const TradingRules& rules) { rules_ = rules; }
    static const TradingRules& rules() { return rules_; }

    TraderIndividual() = default;
    TraderIndividual(const TraderIndividual&) = default;
    TraderIndividual& operator=(const TraderIndividual&) = default;

    // One trading step on a case; the terminals hold the case's inputs.
    void processRecord(const Record& record, int flag) override;
    // Fitness from the capital and the trade count, then a reset of the
    // pass state.
    double computeFitness() override;
    // The engine calls this before every pass; the pass state is then
    // already clean (computeFitness and the constructor reset it), so a
    // reset here changes nothing but keeps a pass honest should a copy ever
    // arrive mid-pass.
    void resetCounters() override { resetState(); }
    std::string toString() const override;

    void resetState();
    // The recording step of the replay: like processRecord, but the returns
    // add up instead of compounding, and every trade is appended to `log`.
    void recordStep(const Record& record, std::vector<TradeLogEntry>& log);

    // The two steps for a signal already known (a faster evaluator computes
    // the signals of many cases at once and feeds them here).
    void tradeOnSignal(int32_t signal, const Record& record) {
        if (signal != 0 && record.last == 0) {
            if (!holding_) openPosition(record.price);
        } else if (holding_) {
            const double q = closePosition(record.price);
            capital_ = capital_ * (1.0 + q);
        }
    }
    void recordOnSignal(int32_t signal, const Record& record, std::vector<TradeLogEntry>& log);
    // wins / (wins + losses), 0.0 without a completed trade.
    double winRatio() const;

    // The formula's signal for the current terminal values: its value
    // truncated toward zero.
    int32_t signal();

    // The two trade events, shared by every way of finding the trades.
    void openPosition(float price) {
        holding_ = true;
        entryCost_ = static_cast<double>(price) * (1.0 + static_cast<double>(rules_.buyCharge));
    }
    // Returns the completed trade's return and counts it as a win or loss.
    double closePosition(float price) {
        holding_ = false;
        const double q = (static_cast<double>(price) - entryCost_) / entryCost_ -
                         static_cast<double>(rules_.sellCharge);
        if (q > 0.0) ++wins_;
        else ++losses_;
        entryCost_ = 0.0;
        return q;
    }
    // The fitness of a pass that ended with this capital and trade count.
    static double fitnessOf(double capital, int32_t completedTrades);

    bool holding() const { return holding_; }
    double capital() const { return capital_; }
    void setCapital(double capital) { capital_ = capital; }
    double entryCost() const { return entryCost_; }
    int32_t wins() const { return wins_; }
    int32_t losses() const { return losses_; }

private:
    static inline TradingRules rules_;

    bool holding_ = false;
    double capital_ = 1.0;  // compounded; 1 + the sum of returns in the replay
    double entryCost_ = 0.0;
    int32_t wins_ = 0;    // returns above 0
    int32_t losses_ = 0;  // returns of 0 or below
};

// replayBest: empties the trade log, replays `best` over every case with
// recording on, and appends its win ratio to winRateHistory.
void ReplayBest(TraderIndividual& best, const std::vector<TraderIndividual::Record>& cases, RunParameters& params);
