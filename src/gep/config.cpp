#include "gep/config.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "gep/number_text.h"

namespace GEP {

namespace {

struct U16Key {
    std::string_view key;
    uint16_t EngineConfig::*field;
};
struct RealKey {
    std::string_view key;
    double EngineConfig::*field;
};
struct FlagKey {
    std::string_view key;
    bool EngineConfig::*field;
};

constexpr U16Key kU16Keys[] = {
    {"HeadLength", &EngineConfig::headLength},   {"NumGenes", &EngineConfig::numGenes},
    {"Terminals", &EngineConfig::terminals},     {"PopSize", &EngineConfig::popSize},
    {"ArchSize", &EngineConfig::archSize},       {"ArchGen", &EngineConfig::archGen},
    {"TestRuns", &EngineConfig::testRuns},       {"Generations", &EngineConfig::generations},
    {"EliteSize", &EngineConfig::eliteSize},     {"InversionLength", &EngineConfig::inversionLength},
    {"TransposonLength", &EngineConfig::transposonLength},
};

constexpr RealKey kRealKeys[] = {
    {"MutationProbability", &EngineConfig::mutationProbability},
    {"InversionProbability", &EngineConfig::inversionProbability},
    {"TranspositionISProbability", &EngineConfig::transpositionISProbability},
    {"TranspositionRISProbability", &EngineConfig::transpositionRISProbability},
    {"TranspositionGeneProbability", &EngineConfig::transpositionGeneProbability},
    {"OnePointCrossoverProbability", &EngineConfig::onePointCrossoverProbability},
    {"TwoPointCrossoverProbability", &EngineConfig::twoPointCrossoverProbability},
    {"GenePointCrossoverProbability", &EngineConfig::genePointCrossoverProbability},
    {"RoundingThreshold", &EngineConfig::roundingThreshold},
    {"WeightFP", &EngineConfig::weightFP},
    {"WeightFN", &EngineConfig::weightFN},
};

constexpr FlagKey kFlagKeys[] = {
    {"VerboseOutput", &EngineConfig::verboseOutput},
    {"BreakOnMax", &EngineConfig::breakOnMax},
    {"FrontEvolution", &EngineConfig::frontEvolution},
};

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);  // runs of blanks (and tabs) separate words
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The leading numeric part of `word`, as stream extraction reads it.
template <class T>
bool readNumber(const std::string& word, T& value) {
    std::istringstream in(word);
    return static_cast<bool>(in >> value);
}

std::string joinFrom(const std::vector<std::string>& words, size_t first) {
    std::string text;
    for (size_t i = first; i < words.size(); ++i) {
        if (i > first) text += ' ';
        text += words[i];
    }
    return text;
}

void applyLine(const std::vector<std::string>& words, EngineConfig& config) {
    const std::string& key = words[0];
    const bool hasValue = words.size() >= 2;
    for (const U16Key& k : kU16Keys) {
        long long v = 0;
        if (key == k.key && hasValue && readNumber(words[1], v) && v >= 0)
            config.*k.field = static_cast<uint16_t>(v > 65535 ? 65535 : v);
    }
    for (const RealKey& k : kRealKeys) {
        double v = 0.0;
        if (key == k.key && hasValue && readNumber(words[1], v)) config.*k.field = v;
    }
    for (const FlagKey& k : kFlagKeys)
        if (key == k.key && hasValue && words[1] == "yes") config.*k.field = true;
    if (!hasValue) return;
    if (key == "LinkingFunction") config.linkingFunction = words[1];
    if (key == "OneArgFunctions") config.oneArgFunctions = joinFrom(words, 1);
    if (key == "TwoArgFunctions") config.twoArgFunctions = joinFrom(words, 1);
}

}  // namespace

EngineConfig readEngineConfig(const std::string& fileName) {
    EngineConfig config;
    std::ifstream file(fileName);
    if (!file) {
        std::fputs("Unable to open file\n", stdout);
        return config;
    }
    for (std::string line; std::getline(file, line);) {
        const std::vector<std::string> words = splitWords(line);
        if (words.empty() || words[0][0] == '#') continue;
        applyLine(words, config);
    }
    return config;
}

std::string renderEngineConfig(const EngineConfig& c) {
    const auto n = [](double x) { return numberText(x); };
    const auto i = [](unsigned x) { return std::to_string(x); };
    return "Chromosome:: HeadLength:" + i(c.headLength) + "; NumGenes:" + i(c.numGenes) +
           "; Terminals:" + i(c.terminals) + "; OneArgs:" + c.oneArgFunctions + "; TwoArgs:" + c.twoArgFunctions +
           "; Linked:" + c.linkingFunction + "; RoundingThreshold:" + n(c.roundingThreshold) +
           "; WeightFP:" + n(c.weightFP) + "; WeightFN:" + n(c.weightFN) + "Population::PopSize:" + i(c.popSize) +
           "; EliteSize:" + i(c.eliteSize) + "; ArchSize:" + i(c.archSize) +
           "; InversionLength:" + i(c.inversionLength) + "; TransposonLength:" + i(c.transposonLength) +
           "; MutationProbability:" + n(c.mutationProbability) +
           "; InversionProbability:" + n(c.inversionProbability) +
           "; TranspositionISProbability:" + n(c.transpositionISProbability) +
           "; TranspositionRISProbability:" + n(c.transpositionRISProbability) +
           "; TranspositionGeneProbability:" + n(c.transpositionGeneProbability) +
           "; OnePointCrossoverProbability:" + n(c.onePointCrossoverProbability) +
           "; TwoPointCrossoverProbability:" + n(c.twoPointCrossoverProbability) +
           "; GenePointCrossoverProbability:" + n(c.genePointCrossoverProbability) +
           "GEP Algorithm::Generations:" + i(c.generations) + "; ArchGen:" + i(c.archGen) +
           "; TestRuns:" + i(c.testRuns);
}

}  // namespace GEP
