#pragma once
// Drives a run: owns the training records, evaluates every individual on
// them, and repeats generations until the best individual has not strictly
// improved for `stop limit` generations or the run flag clears.
//
// Hooks for the caller, all optional:
//   run flag   polled before every generation and nowhere else (the user's
//              stop clears it);
//   progress   called synchronously after every generation with the best
//              individual, which the callee may replay and show; the run
//              goes on only when it returns;
//   evaluator  evaluates a batch of individuals on the training records and
//              stores each one's fitness (setFitness), replacing the default
//              record-by-record pass (resetCounters, processRecord per
//              record, computeFitness) in evaluateAll; regenerateInvalid
//              always feeds the records itself.
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "gep/population.h"
#include "gep/random.h"

namespace GEP {

template <class Ind>
struct GenerationReport {
    uint32_t testRun;     // 1-based
    uint32_t generation;  // generations of this test run so far, 1-based
    uint32_t stallCount;  // generations since the best last improved
    Ind& best;
};

template <class Ind>
class Algorithm {
public:
    using Record = typename Ind::Record;
    using Evaluator = std::function<void(std::span<Ind* const> individuals, const std::vector<Record>& records)>;
    using ProgressCallback = std::function<void(const GenerationReport<Ind>&)>;

    Algorithm(Population<Ind>& population, std::vector<Record> trainingRecords,
              std::vector<Record> testRecords = {})
        : population_(population), training_(std::move(trainingRecords)), test_(std::move(testRecords)) {}

    void setGenerations(uint32_t generations) { generations_ = generations; }
    void setTestRuns(uint32_t testRuns) { testRuns_ = testRuns; }
    void setEliteMode(uint8_t mode) { eliteMode_ = mode; }
    void setOutputFileName(std::string name) { outputFileName_ = std::move(name); }
    // Consecutive generations without a strict improvement that end a run.
    void setStopLimit(uint32_t limit) { stopLimit_ = limit; }
    void setRunFlag(const std::atomic<bool>* flag) { runFlag_ = flag; }
    void setProgressCallback(ProgressCallback callback) { progress_ = std::move(callback); }
    void setEvaluator(Evaluator evaluator) { evaluator_ = std::move(evaluator); }

    uint32_t generations() const { return generations_; }
    uint32_t testRuns() const { return testRuns_; }
    uint8_t eliteMode() const { return eliteMode_; }
    uint32_t stopLimit() const { return stopLimit_; }
    const std::string& outputFileName() const { return outputFileName_; }
    bool reportFlag() const { return reportFlag_; }
    Population<Ind>& population() { return population_; }
    const std::vector<Record>& trainingRecords() const { return training_; }
    const std::vector<Record>& testRecords() const { return test_; }

    // The run. Throws std::invalid_argument without training records or
    // terminals, where no individual could be scored. Only the generation
    // loop reads the run flag: every test run still reseeds, generates and
    // evaluates a fresh population, so after a stop in an earlier test run
    // the later ones leave a population without a best individual.
    void run() {
        if (training_.empty()) throw std::invalid_argument("a run needs at least one training record");
        if (Chromosome::terminalCount() == 0) throw std::invalid_argument("a run needs at least one terminal");
        reportFlag_ = true;
        for (uint32_t testRun = 1; testRun <= testRuns_; ++testRun) {
            reseedSymbolSource();
            population_.generate();
            evaluateAll();
            regenerateInvalid();
            for (uint32_t generation = 1; keepRunning(); ++generation) {
                population_.runGeneration(eliteMode_);
                evaluateAll();
                Ind* best = population_.best();
                if (best == nullptr || !reportFlag_) continue;
                if (progress_) progress_(GenerationReport<Ind>{testRun, generation, population_.stallCount(), *best});
                if (population_.stallCount() >= stopLimit_) break;
            }
        }
    }

    // Resets and evaluates every individual of the population.
    void evaluateAll() {
        batch_.clear();
        for (size_t i = 0; i < population_.size(); ++i) batch_.push_back(&population_[i]);
        evaluate(batch_);
    }

    // Gives every individual with an invalid chromosome a fresh random one
    // and feeds it every training record, until all are valid. The counters
    // are not reset between attempts and fitness is computed only once the
    // chromosome is valid, so the fitness accumulates the passes of every
    // chromosome the individual tried (for a FunctionIndividual, the scores
    // of all of them). The loop ends only when every listed individual has
    // drawn a valid chromosome, and the run flag is not consulted: a setup in
    // which every chromosome fails never ends it (say, several genes linked
    // by "/" over terminals that are 0 on every record, where each gene
    // gives 0 or an error and so does the link). A terminal at a gene's root
    // always evaluates, so with one gene, or a linking function that cannot
    // fail (the trading setup's "&"), a valid chromosome is eventually drawn.
    void regenerateInvalid() {
        invalid_.clear();
        for (size_t i = 0; i < population_.size(); ++i)
            if (!population_[i].valid()) invalid_.push_back(&population_[i]);
        while (!invalid_.empty()) {
            for (Ind* individual : invalid_) population_.symbolGenerator().generateRandom(individual->chromosome());
            feedRecords(invalid_, training_);
            for (Ind* individual : invalid_)
                if (individual->valid()) individual->computeFitness();
            std::erase_if(invalid_, [](const Ind* individual) { return individual->valid(); });
        }
    }

    // ASSIGN_INPUT_VALUE_TO_TERMINALS for one record.
    static void assignInputs(const Record& record) { Chromosome::assignInputs(record.inputs); }

    // The default evaluation: reset, every record in order, fitness.
    static void evaluateByRecords(std::span<Ind* const> individuals, const std::vector<Record>& records) {
        for (Ind* individual : individuals) individual->resetCounters();
        feedRecords(individuals, records);
        for (Ind* individual : individuals) individual->computeFitness();
    }

    // Every record in order, each to every individual in order.
    static void feedRecords(std::span<Ind* const> individuals, const std::vector<Record>& records) {
        for (const Record& record : records) {
            assignInputs(record);
            for (Ind* individual : individuals) individual->processRecord(record, 0);
        }
    }

private:
    bool keepRunning() const { return runFlag_ == nullptr || runFlag_->load(std::memory_order_relaxed); }

    void evaluate(std::span<Ind* const> individuals) {
        if (evaluator_) evaluator_(individuals, training_);
        else evaluateByRecords(individuals, training_);
    }

    Population<Ind>& population_;
    std::vector<Record> training_;
    std::vector<Record> test_;  // kept for the caller; the run does not use them
    uint32_t generations_ = 30;
    uint32_t testRuns_ = 10;
    uint8_t eliteMode_ = kEliteSimple;
    uint32_t stopLimit_ = 30;
    bool reportFlag_ = false;
    std::string outputFileName_;
    const std::atomic<bool>* runFlag_ = nullptr;
    ProgressCallback progress_;
    Evaluator evaluator_;
    std::vector<Ind*> batch_;
    std::vector<Ind*> invalid_;
};

}  // namespace GEP
