#pragma once
// The base of every individual type: a chromosome, its fitness and a free
// text. An individual type overrides the pass of the default evaluation:
// resetCounters() before a pass, processRecord() once per training record
// (the terminal values already hold the record's inputs), computeFitness()
// at the end, which stores and returns the fitness. An outside evaluator may
// instead write the fitness directly with setFitness().
//
// Copies are deep: a population copies individuals with the copy
// constructor and copy assignment of the concrete type.
#include <string>

#include "gep/chromosome.h"
#include "gep/number_text.h"
#include "gep/training_record.h"

namespace GEP {

template <class In = double, class Out = double>
class Individual {
public:
    using Input = In;
    using Output = Out;
    using Record = TrainingRecord<In, Out>;

    Individual() = default;
    Individual(const Individual&) = default;
    Individual& operator=(const Individual&) = default;
    virtual ~Individual() = default;

    virtual void processRecord(const Record& /*record*/, int /*flag*/) {}
    virtual double computeFitness() { return 0.0; }
    virtual void resetCounters() {}
    virtual std::string toString() const {
        return "Individual: Fitness = " + numberText(fitness_) + "\n" + chromosome_.toString();
    }

    double fitness() const { return fitness_; }
    void setFitness(double fitness) { fitness_ = fitness; }
    Chromosome& chromosome() { return chromosome_; }
    const Chromosome& chromosome() const { return chromosome_; }
    bool valid() const { return chromosome_.valid(); }
    const std::string& text() const { return text_; }

protected:
    double fitness_ = 0.0;
    Chromosome chromosome_;
    std::string text_;
};

}  // namespace GEP
