// korvel-cli gep CONFIG CASES.csv [--classify] [--seed N]: the engine
// stand-alone, driven by an engine configuration file and a CSV of fitness
// cases (input columns, then the target).
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "gep/algorithm.h"
#include "gep/classification_individual.h"
#include "gep/config.h"
#include "gep/function_individual.h"
#include "gep/individual_settings.h"
#include "gep/number_text.h"
#include "gep/random.h"

namespace cli {

namespace {

using Case = GEP::TrainingRecord<>;

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::optional<double> ParseField(const std::string& field) {
    if (field.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(field.c_str(), &end);
    if (*end != '\0' || errno == ERANGE) return std::nullopt;
    return v;
}

std::vector<std::string> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(Trim(line.substr(start, comma - start)));
        if (comma == std::string::npos) return fields;
        start = comma + 1;
    }
}

// Blank lines and lines starting with "#" are skipped; a first row that is
// not numeric is a header.
std::vector<Case> ReadCases(const std::string& path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot open the fitness cases '" + path + "'");
    std::vector<Case> cases;
    size_t columns = 0;
    bool firstRow = true;
    int lineNumber = 0;
    for (std::string line; std::getline(file, line);) {
        ++lineNumber;
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#') continue;
        const std::vector<std::string> fields = SplitFields(trimmed);
        std::vector<double> values;
        for (const std::string& field : fields) {
            const std::optional<double> v = ParseField(field);
            if (!v) {
                if (firstRow) break;  // a header
                throw std::runtime_error(path + " line " + std::to_string(lineNumber) + ": '" + field +
                                         "' is not a number");
            }
            values.push_back(*v);
        }
        const bool header = firstRow && values.size() != fields.size();
        firstRow = false;
        if (header) continue;
        if (columns == 0) columns = fields.size();
        if (fields.size() < 2 || fields.size() != columns)
            throw std::runtime_error(path + " line " + std::to_string(lineNumber) + ": " +
                                     std::to_string(fields.size()) + " columns, expected " +
                                     std::to_string(std::max<size_t>(columns, 2)) +
                                     " (inputs, then the target)");
        Case c;
        c.target = values.back();
        values.pop_back();
        c.inputs = std::move(values);
        cases.push_back(std::move(c));
    }
    if (cases.empty()) throw std::runtime_error("no fitness cases in '" + path + "'");
    return cases;
}

void Require(bool condition, const std::string& message) {
    if (!condition) throw std::runtime_error("configuration: " + message);
}

void Validate(const GEP::EngineConfig& c, size_t inputs) {
    Require(c.headLength >= 1 && c.headLength <= 16383, "HeadLength must lie between 1 and 16383");
    Require(c.numGenes >= 1, "NumGenes must be at least 1");
    Require(static_cast<size_t>(c.headLength * 2 + 1) * c.numGenes <= 65535, "HeadLength x NumGenes is too large");
    Require(!GEP::makeOneArgFunctions(c.oneArgFunctions).empty() || !GEP::makeTwoArgFunctions(c.twoArgFunctions).empty(),
            "OneArgFunctions and TwoArgFunctions name no known function");
    Require(c.numGenes == 1 || GEP::makeLinkingFunction(c.linkingFunction) != nullptr,
            "several genes need a LinkingFunction (& | + - * /)");
    Require(c.terminals == 0 || c.terminals == inputs,
            "Terminals is " + std::to_string(c.terminals) + " but the cases have " + std::to_string(inputs) +
                " input columns");
    Require(inputs <= 32767, "too many input columns");
    Require(c.popSize >= 1, "PopSize must be at least 1");
    Require(c.archSize >= 1 && c.archSize <= c.popSize, "ArchSize must lie between 1 and PopSize");
    Require(c.testRuns >= 1, "TestRuns must be at least 1");
    Require(c.generations >= 1, "Generations (the generations without improvement that end a run) must be at least 1");
    Require(c.transposonLength >= 1, "TransposonLength must be at least 1");
}

// Class-wide engine settings in the order the engine needs them.
void SetUpEngine(const GEP::EngineConfig& c, size_t inputs) {
    GEP::Chromosome::setTerminals(std::vector<double>(inputs, 0.0));
    GEP::Chromosome::setLinkingFunction(c.linkingFunction);
    GEP::Chromosome::setOneArgFunctions(c.oneArgFunctions);
    GEP::Chromosome::setTwoArgFunctions(c.twoArgFunctions);
    GEP::Chromosome::setHeadLength(c.headLength);
    GEP::Chromosome::setNumGenes(c.numGenes);
    GEP::IndividualSettings& s = GEP::individualSettings();
    s.roundingThreshold = c.roundingThreshold;
    s.weightFP = c.weightFP;
    s.weightFN = c.weightFN;
}

template <class Ind>
int Evolve(const GEP::EngineConfig& c, std::vector<Case> cases) {
    GEP::Population<Ind> population(c.popSize, c.archSize);
    population.setProbabilities({c.mutationProbability, c.inversionProbability, c.transpositionISProbability,
                                 c.transpositionRISProbability, c.transpositionGeneProbability,
                                 c.onePointCrossoverProbability, c.twoPointCrossoverProbability,
                                 c.genePointCrossoverProbability});
    population.setInversionLength(c.inversionLength);
    population.setTransposonLength(c.transposonLength);

    GEP::Algorithm<Ind> algorithm(population, std::move(cases));
    algorithm.setGenerations(c.generations);
    algorithm.setStopLimit(c.generations);
    algorithm.setTestRuns(c.testRuns);
    algorithm.setEliteMode(GEP::kEliteSimple);
    algorithm.setProgressCallback([&](const GEP::GenerationReport<Ind>& r) {
        if (c.testRuns > 1 && r.generation == 1) std::printf("test run %u\n", r.testRun);
        std::printf("generation %u best %s stall %u\n", r.generation, GEP::numberText(r.best.fitness()).c_str(),
                    r.stallCount);
        std::fflush(stdout);
    });
    algorithm.run();

    const Ind* best = population.best();
    if (best == nullptr) throw std::runtime_error("the run ended without a best individual");
    std::printf("%s\n", best->toString().c_str());
    return 0;
}

struct GepArgs {
    std::string config;
    std::string cases;
    std::optional<uint32_t> seed;
    bool classify = false;
};

int RunGep(const GepArgs& args) {
    const std::optional<uint32_t>& seed = args.seed;
    const std::string& configPath = args.config;
    if (!std::ifstream(configPath)) throw std::runtime_error("cannot open the configuration file '" + configPath + "'");

    const GEP::EngineConfig config = GEP::readEngineConfig(configPath);
    std::vector<Case> cases = ReadCases(args.cases);
    const size_t inputs = cases.front().inputs.size();
    Validate(config, inputs);
    std::printf("%s\n", GEP::renderEngineConfig(config).c_str());

    if (seed) GEP::setClockSeedOverride(*seed);
    SetUpEngine(config, inputs);
    struct ReleaseFunctions {
        ~ReleaseFunctions() { GEP::Chromosome::releaseFunctions(); }
    } release;
    if (args.classify) return Evolve<GEP::ClassificationIndividual<>>(config, std::move(cases));
    return Evolve<GEP::FunctionIndividual<>>(config, std::move(cases));
}

}  // namespace

Runner SetUpGep(CLI::App& command, const Context&) {
    auto args = std::make_shared<GepArgs>();
    command.add_option("CONFIG", args->config, "engine configuration file")->required();
    command.add_option("CASES", args->cases, "CSV of fitness cases: input columns, then the target")->required();
    command.add_flag("--classify", args->classify, "breed classification individuals (fitness 0 to 1000)");
    command.add_option("--seed", args->seed, "seed replacing the clock");
    return [args] { return RunGep(*args); };
}

}  // namespace cli
