// One generation of the trading-shaped engine: 100 individuals, archive 5,
// the trading run's operator rates. The fitness is written directly (as a
// fast evaluator would), so the figure is the engine's own share of a
// generation: elitism, 100 tournaments with their copies, the operators and
// the re-insertion. The reference record-by-record evaluation is measured
// beside it for scale.
#include <benchmark/benchmark.h>

#include <random>

#include "gep/algorithm.h"
#include "gep/individual.h"
#include "gep/population.h"

namespace {

using Ind = GEP::Individual<>;

void SetUpTradingShape() {
    GEP::Chromosome::setTerminals(std::vector<double>(21, 0.0));
    GEP::Chromosome::setLinkingFunction("&");
    GEP::Chromosome::setOneArgFunctions("~");
    GEP::Chromosome::setTwoArgFunctions("& |");
    GEP::Chromosome::setHeadLength(11);
    GEP::Chromosome::setNumGenes(3);
}

GEP::Population<Ind> MakePopulation() {
    GEP::Population<Ind> population(100, 5);
    population.setProbabilities({0.1, 0.2, 0.0, 0.1, 0.1, 0.3, 0.3, 0.3});
    population.generate();
    return population;
}

void RunGeneration(benchmark::State& state) {
    SetUpTradingShape();
    GEP::setClockSeedOverride(1);
    GEP::Population<Ind> population = MakePopulation();
    std::mt19937 fitness(3);
    for (auto _ : state) {
        for (size_t i = 0; i < population.size(); ++i) population[i].setFitness(fitness() % 1000);
        population.runGeneration(GEP::kEliteSimple);
    }
    GEP::Chromosome::releaseFunctions();
}
BENCHMARK(RunGeneration)->Unit(benchmark::kMicrosecond);

// 100 chromosomes valued record by record over 959 cases of 21 inputs.
void ReferenceValuation(benchmark::State& state) {
    SetUpTradingShape();
    GEP::setClockSeedOverride(1);
    GEP::Population<Ind> population = MakePopulation();
    std::mt19937 bits(5);
    std::vector<std::vector<double>> inputs(959, std::vector<double>(21));
    for (auto& record : inputs)
        for (double& v : record) v = bits() & 1;
    for (auto _ : state) {
        double sum = 0.0;
        for (const auto& record : inputs) {
            GEP::Chromosome::assignInputs(record);
            for (size_t i = 0; i < population.size(); ++i) sum += population[i].chromosome().value();
        }
        benchmark::DoNotOptimize(sum);
    }
    GEP::Chromosome::releaseFunctions();
}
BENCHMARK(ReferenceValuation)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
