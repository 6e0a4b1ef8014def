#pragma once
// Symbolic regression: each case scores the selection range less the
// chromosome's error, or the full range when the error is below precision.
#include <cmath>
#include <limits>

#include "gep/individual.h"
#include "gep/individual_settings.h"

namespace GEP {

template <class In = double, class Out = double>
class FunctionIndividual : public Individual<In, Out> {
public:
    using Record = typename Individual<In, Out>::Record;

    void processRecord(const Record& record, int /*flag*/) override {
        const IndividualSettings& s = individualSettings();
        double error = std::fabs(this->chromosome_.value() - static_cast<double>(record.target));
        // An output that is not a number misses by an unbounded error rather
        // than passing the "below precision" test.
        if (std::isnan(error)) error = std::numeric_limits<double>::infinity();
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
