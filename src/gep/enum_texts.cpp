#include "gep/enum_texts.h"

#include <utility>

namespace GEP {

namespace {

using Entry = std::pair<int, std::string_view>;

template <size_t N>
std::string_view lookUp(const Entry (&table)[N], int value) {
    for (const Entry& e : table)
        if (e.first == value) return e.second;
    return "Unknown";
}

constexpr Entry kRandomSources[] = {{0, "RAND"}, {1, "RAND48"}, {2, "MT19937"}};
constexpr Entry kDistributions[] = {{0, "UNIFORM"},   {1, "EXPONENTIAL"}, {2, "REVERSE_EXPONENTIAL"},
                                    {3, "NORMAL"},    {4, "LOGNORMAL"},   {5, "UNDEFINED"}};
constexpr Entry kTraceLevels[] = {{0, "NONE"}, {1, "TL0"}, {2, "TL1"}, {255, "ANY"}};
constexpr Entry kRunStages[] = {{1, "GENERATE"},
                                {2, "ASSIGN_INPUT_VALUE_TO_TERMINALS"},
                                {4, "EVALUATE"},
                                {8, "FITNESS"},
                                {16, "ELITISM"},
                                {32, "RUN_SINGLE_GENERATION"},
                                {64, "TOURNAMENT_SELECTION"},
                                {128, "INDIVIDUAL_OPERATOR"},
                                {255, "ALL"}};
constexpr Entry kCheatModes[] = {
    {0, "CHEAT_UNIFORM"}, {1, "CHEAT_OVER_GENERATIONS"}, {2, "CHEAT_OVER_SEQUENTIAL_ORDER"}};

}  // namespace

std::string_view randomSourceText(int value) { return lookUp(kRandomSources, value); }
std::string_view distributionText(int value) { return lookUp(kDistributions, value); }
std::string_view traceLevelText(int value) { return lookUp(kTraceLevels, value); }
std::string_view runStageText(int value) { return lookUp(kRunStages, value); }
std::string_view cheatModeText(int value) { return lookUp(kCheatModes, value); }

}  // namespace GEP
