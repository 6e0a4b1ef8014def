#pragma once
// Text forms of the engine's enumerations, for its text output. Values not
// listed give "Unknown".
#include <string_view>

namespace GEP {

std::string_view randomSourceText(int value);   // RAND, RAND48, MT19937
std::string_view distributionText(int value);   // UNIFORM ... UNDEFINED
std::string_view traceLevelText(int value);     // NONE, TL0, TL1, ANY
std::string_view runStageText(int value);       // GENERATE ... ALL (bit values)
std::string_view cheatModeText(int value);      // CHEAT_UNIFORM ...

}  // namespace GEP
