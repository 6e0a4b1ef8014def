#pragma once
// The engine's configuration file: one "Key value" per line, words separated
// by blanks, lines starting with "#" ignored, unknown keys ignored, the last
// occurrence of a key winning.
#include <cstdint>
#include <string>

namespace GEP {

struct EngineConfig {
    uint16_t headLength = 0;
    uint16_t numGenes = 0;
    uint16_t terminals = 0;
    uint16_t popSize = 0;
    uint16_t archSize = 0;
    uint16_t archGen = 0;
    uint16_t testRuns = 0;
    uint16_t generations = 0;
    uint16_t eliteSize = 0;
    uint16_t inversionLength = 0;
    uint16_t transposonLength = 0;
    double mutationProbability = 0.0;
    double inversionProbability = 0.0;
    double transpositionISProbability = 0.0;
    double transpositionRISProbability = 0.0;
    double transpositionGeneProbability = 0.0;
    double onePointCrossoverProbability = 0.0;
    double twoPointCrossoverProbability = 0.0;
    double genePointCrossoverProbability = 0.0;
    double roundingThreshold = 0.0;
    double weightFP = 0.0;
    double weightFN = 0.0;
    bool verboseOutput = false;
    bool breakOnMax = false;
    bool frontEvolution = false;
    std::string linkingFunction;
    std::string oneArgFunctions;
    std::string twoArgFunctions;
};

// Reads `fileName` over the all-zero record. A file that cannot be opened is
// reported ("Unable to open file") and gives the all-zero record. A number
// is read as its leading numeric part; a missing or non-numeric value leaves
// the field unchanged, and 16-bit values above 65535 become 65535.
EngineConfig readEngineConfig(const std::string& fileName);

// One line: "Chromosome:: HeadLength:5; NumGenes:3; ..." with the section
// labels "Population::" and "GEP Algorithm::" in place of a separator.
std::string renderEngineConfig(const EngineConfig& config);

}  // namespace GEP
