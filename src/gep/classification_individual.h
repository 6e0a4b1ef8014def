#pragma once
// Two-class decisions: a chromosome value above the rounding threshold means
// the positive class, a target of exactly 0.0 the negative one. The fitness
// (0 to 1000) rewards true positives and negatives, with separate weights
// for false positives and false negatives.
#include "gep/individual.h"
#include "gep/individual_settings.h"

namespace GEP {

template <class In = double, class Out = double>
class ClassificationIndividual : public Individual<In, Out> {
public:
    using Record = typename Individual<In, Out>::Record;

    void processRecord(const Record& record, int /*flag*/) override {
        const double v = this->chromosome_.value();
        if (allZero_ && v != 0.0) allZero_ = false;
        const bool predictedPositive = v > individualSettings().roundingThreshold;
        if (static_cast<double>(record.target) == 0.0) (predictedPositive ? fp_ : tn_) += 1.0;
        else (predictedPositive ? tp_ : fn_) += 1.0;
    }

    double computeFitness() override {
        this->text_ = countsText();
        this->fitness_ = (allZero_ || !this->chromosome_.valid()) ? 0.0 : rate();
        tp_ = fn_ = fp_ = tn_ = 0.0;
        return this->fitness_;
    }

    void resetCounters() override {
        tp_ = fn_ = fp_ = tn_ = 0.0;
        allZero_ = false;
    }

    std::string toString() const override {
        return "Classification Individual: Fitness = " + numberText(this->fitness_) + "\n" + this->text_ +
               this->chromosome_.toString();
    }

    double truePositives() const { return tp_; }
    double falseNegatives() const { return fn_; }
    double falsePositives() const { return fp_; }
    double trueNegatives() const { return tn_; }
    // Nothing sets the flag, so it never zeroes a fitness; it is kept so a
    // subtype can reject individuals whose outputs are all exactly 0.0.
    bool allZero() const { return allZero_; }
    void setAllZero(bool allZero) { allZero_ = allZero; }

private:
    std::string countsText() const {
        return "TP: " + numberText(tp_) + " TN: " + numberText(tn_) + " FP: " + numberText(fp_) +
               " FN: " + numberText(fn_) + " Sum: " + numberText(tp_ + tn_ + fp_ + fn_) + "\n";
    }

    double rate() const {
        const IndividualSettings& s = individualSettings();
        if (tp_ == 0.0 && fn_ == 0.0 && fp_ == 0.0 && tn_ == 0.0) return 0.0;
        if (tn_ == 0.0 && fp_ == 0.0) return 1000.0 * tp_ / (tp_ + fn_);
        if (tp_ == 0.0 && fn_ == 0.0) return 1000.0 * tn_ / (tn_ + fp_);
        return 1000.0 * tp_ / (tp_ + s.weightFN * fn_) * tn_ / (tn_ + s.weightFP * fp_);
    }

    double tp_ = 0.0;
    double fn_ = 0.0;
    double fp_ = 0.0;
    double tn_ = 0.0;
    bool allZero_ = false;
};

}  // namespace GEP
