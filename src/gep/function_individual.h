#pragma once
// Symbolic regression: each case scores the selection range less the
// chromosome's error, or the full range when the error is not at least the
// precision (below it, or NaN).
#include <cmath>

#include "gep/individual.h"
#include "gep/individual_settings.h"

namespace GEP {

template <class In = double, class Out = double>
class FunctionIndividual : public Individual<In, Out> {
public:
    using Record = typename Individual<In, Out>::Record;

    void processRecord(const Record& record, int /*flag*/) override {
        const IndividualSettings& s = individualSettings();
        const double error = std::fabs(this->chromosome_.value() - static_cast<double>(record.target));
        // A NaN error fails the comparison and so scores the full range, as
        // an exact case does.
        score_ += error >= s.precision ? s.selectionRange - error : s.selectionRange;
    }

    double computeFitness() override {
        this->fitness_ = score_;
        score_ = 0.0;
        return this->fitness_;
    }

    std::string toString() const override {
        return "Function Individual: Fitness = " + numberText(this->fitness_) + "\n" + this->chromosome_.toString();
    }

    double score() const { return score_; }

private:
    double score_ = 0.0;
};

}  // namespace GEP
