#pragma once
// The individuals of one evolution, the archive of the best ones, the best
// individual so far, and one generation at a time: elitism, tournament
// selection, the genetic operators and the re-insertion of the elite.
//
// `Ind` is the concrete individual type (derived from Individual); the
// population creates and copies objects of exactly that type. Copies are
// deep, but storage is recycled: a slot whose old individual is no longer
// needed is overwritten by copy assignment instead of being freed and
// allocated again, which keeps a generation free of allocations.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

#include "gep/random.h"
#include "gep/symbol_generator.h"

namespace GEP {

// Chance per generation that each operator is applied.
struct OperatorProbabilities {
    double mutation = 0.1;
    double inversion = 0.1;
    double isTransposition = 0.1;
    double risTransposition = 0.1;
    double geneTransposition = 0.1;
    double onePointRecombination = 0.2;
    double twoPointRecombination = 0.3;
    double geneRecombination = 0.2;
};

// Elite modes of runGeneration.
constexpr uint8_t kEliteSimple = 0;          // the archive re-enters each new population
constexpr uint8_t kEliteNoReinsertion = 1;   // the archive only tracks the best

template <class Ind>
class Population {
public:
    // Builds the symbol generator (which reseeds the symbol source) from the
    // current chromosome settings and `populationSize` individuals with
    // default chromosomes. Throws std::invalid_argument unless
    // 1 <= archiveSize <= populationSize.
    Population(uint16_t populationSize, uint16_t archiveSize)
        : selection_(selectionSource(), 0, populationSize > 0 ? populationSize - 1u : 0),
          archiveSize_(archiveSize) {
        if (populationSize == 0) throw std::invalid_argument("the population needs at least one individual");
        if (archiveSize == 0 || archiveSize > populationSize)
            throw std::invalid_argument("the archive size must lie between 1 and the population size");
        generator_.setFunctionProbability(0.7);
        population_.reserve(populationSize);
        for (size_t i = 0; i < populationSize; ++i) population_.push_back(std::make_unique<Ind>());
        newPopulation_.resize(populationSize);
        archive_.resize(archiveSize);
    }

    OperatorProbabilities& probabilities() { return probabilities_; }
    void setProbabilities(const OperatorProbabilities& p) { probabilities_ = p; }
    void setInversionLength(uint16_t length) { generator_.setInversionLength(length); }
    void setTransposonLength(uint16_t length) { generator_.setTransposonLength(length); }
    SymbolGenerator& symbolGenerator() { return generator_; }

    // GENERATE: empties the new-population and archive slots, drops the best
    // individual and gives every individual a fresh random chromosome.
    void generate() {
        for (auto& slot : newPopulation_) slot.reset();
        for (auto& slot : archive_) slot.reset();
        best_.reset();
        for (auto& individual : population_) generator_.generateRandom(individual->chromosome());
    }

    // One generation. Mode kEliteSimple re-inserts the archive, mode
    // kEliteNoReinsertion does not; any other mode is reported and run as
    // the simple one.
    void runGeneration(uint8_t eliteMode) {
        bool reinsert = true;
        if (eliteMode == kEliteNoReinsertion) {
            reinsert = false;
        } else if (eliteMode != kEliteSimple) {
            std::fputs("Elite Mode not valid, using the Simple mode.\n", stdout);
        }
        elitism();
        tournamentSelection();
        applyOperators();
        if (reinsert) reinsertElite();
        std::swap(population_, newPopulation_);
        ++generation_;
    }

    // ELITISM: the archive-size best individuals move to the front, best
    // first, and are copied into the archive; the best so far is replaced
    // on a strict improvement, otherwise the stall count grows.
    void elitism() {
        const auto archiveEnd = population_.begin() + archiveSize_;
        std::partial_sort(population_.begin(), archiveEnd, population_.end(),
                          [](const auto& x, const auto& y) { return ranksAbove(x->fitness(), y->fitness()); });
        for (size_t i = 0; i < archiveSize_; ++i) copyInto(archive_[i], *population_[i]);
        const Ind& top = *archive_[0];
        if (!best_ || top.fitness() > best_->fitness()) {
            copyInto(best_, top);
            stallCount_ = 0;
        } else {
            ++stallCount_;
        }
    }

    // One tournament of two drawn individuals; returns the winner's index.
    // The first drawn wins only when strictly better, so the second drawn
    // wins ties; an invalid individual loses to any valid one, and a draw of
    // two invalid ones is repeated. Should no individual be valid at all the
    // first drawn is taken, since redrawing could never end.
    size_t selectIndex() {
        for (;;) {
            const size_t a = selection_();
            const size_t b = selection_();
            const Ind& x = *population_[a];
            const Ind& y = *population_[b];
            if (x.valid() && y.valid()) return (a == b || x.fitness() > y.fitness()) ? a : b;
            if (x.valid()) return a;
            if (y.valid()) return b;
            if (std::none_of(population_.begin(), population_.end(), [](const auto& i) { return i->valid(); }))
                return a;
        }
    }

    // TOURNAMENT_SELECTION: slot i of the new population gets a copy of the
    // winner of tournament i.
    void tournamentSelection() {
        for (size_t i = 0; i < population_.size(); ++i) copyInto(newPopulation_[i], *population_[selectIndex()]);
    }

    // INDIVIDUAL_OPERATOR on the new population: the one-chromosome
    // operators on every individual, then the recombinations on the pairs
    // (0,1), (2,3), ...; an odd population pairs from index 1.
    void applyOperators() {
        const OperatorProbabilities& p = probabilities_;
        for (auto& individual : newPopulation_) {
            Chromosome& c = individual->chromosome();
            if (u01() < p.mutation) generator_.mutation(c);
            if (u01() < p.inversion) generator_.inversion(c);
            if (u01() < p.isTransposition) generator_.isTransposition(c);
            if (u01() < p.risTransposition) generator_.risTransposition(c);
            if (u01() < p.geneTransposition) generator_.geneTransposition(c);
        }
        const size_t size = newPopulation_.size();
        for (size_t i = size % 2; i + 1 < size; i += 2) {
            Chromosome& a = newPopulation_[i]->chromosome();
            Chromosome& b = newPopulation_[i + 1]->chromosome();
            if (u01() < p.onePointRecombination) generator_.onePointRecombination(a, b);
            if (u01() < p.twoPointRecombination) generator_.twoPointRecombination(a, b);
            if (u01() < p.geneRecombination) generator_.geneRecombination(a, b);
        }
    }

    // Simple mode: the archive replaces slots 0 .. archive size - 1 of the
    // new population, unchanged and in fitness order.
    void reinsertElite() {
        if (!archive_[0]) return;
        for (size_t i = 0; i < archiveSize_; ++i) copyInto(newPopulation_[i], *archive_[i]);
    }

    Ind* best() { return best_.get(); }
    const Ind* best() const { return best_.get(); }
    uint32_t stallCount() const { return stallCount_; }
    uint32_t generation() const { return generation_; }
    size_t size() const { return population_.size(); }
    uint16_t archiveSize() const { return archiveSize_; }
    const Ind* archiveEntry(size_t i) const { return archive_[i].get(); }

    Ind& operator[](size_t i) { return *population_[i]; }
    const Ind& operator[](size_t i) const { return *population_[i]; }
    // The new population as left by the steps above (before it replaces the
    // population); meant for tests of the single steps.
    Ind& newIndividual(size_t i) { return *newPopulation_[i]; }

    double meanFitness() const {
        double sum = 0.0;
        for (const auto& individual : population_) sum += individual->fitness();
        return sum / static_cast<double>(population_.size());
    }

private:
    // Strictly better, with NaN below every number so sorting stays a strict
    // weak order.
    static bool ranksAbove(double x, double y) { return x > y || (std::isnan(y) && !std::isnan(x)); }

    static void copyInto(std::unique_ptr<Ind>& slot, const Ind& source) {
        if (slot) *slot = source;
        else slot = std::make_unique<Ind>(source);
    }

    SymbolGenerator generator_;
    IntChooser selection_;
    uint16_t archiveSize_;
    OperatorProbabilities probabilities_;
    std::vector<std::unique_ptr<Ind>> population_;
    // Slots filled during a generation; afterwards they keep the former
    // population's individuals as storage for the next one.
    std::vector<std::unique_ptr<Ind>> newPopulation_;
    std::vector<std::unique_ptr<Ind>> archive_;
    std::unique_ptr<Ind> best_;
    uint32_t stallCount_ = 0;
    uint32_t generation_ = 0;
};

}  // namespace GEP
