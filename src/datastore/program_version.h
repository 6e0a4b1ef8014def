#pragma once
// The program's product version and the forms other parts use: the version
// number written with every stored strategy and trade and sent with every
// server request, the dotted text, and the digits run together.
#include <cstdint>

namespace version {

inline constexpr int kMajor = 1;
inline constexpr int kMinor = 1;
inline constexpr int kBuild = 0;
inline constexpr int kRevision = 6;

// a×1000 + b×100 + c×10 + d of product version a.b.c.d.
inline constexpr int32_t kNumber = kMajor * 1000 + kMinor * 100 + kBuild * 10 + kRevision;
// "%d.%d.%d.%d" and "%d%d%d%d" of the same four parts.
inline constexpr const char* kText = "1.1.0.6";
inline constexpr const char* kDigits = "1106";

static_assert(kNumber == 1106);

}  // namespace version
