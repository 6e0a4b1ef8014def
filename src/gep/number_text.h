#pragma once
// Numbers in the default stream form (six significant digits, "%g"), the
// form of every number in the engine's texts.
#include <cstdio>
#include <string>

namespace GEP {

inline std::string numberText(double x) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", x);
    return buffer;
}

}  // namespace GEP
