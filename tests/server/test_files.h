#pragma once
// The server tests' temporary folders and files (from tests/support) and a
// collecting import log.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "../support/file_content.h"
#include "../support/temp_dir.h"
#include "server/import_log.h"

namespace server_test {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// Keeps the problems an import reports; progress lines are dropped.
struct CollectingLog {
    std::vector<std::string> problems;
    server::ImportLog log() {
        return server::ImportLog{[this](const std::string& p) { problems.push_back(p); }, [](const std::string&) {}};
    }
};

// A TDX day record as the TDX client writes it: date, prices in
// hundredths, amount (a float, 0 here), volume, a reserved word.
inline std::string TdxRecord(int date, double open, double high, double low, double close, uint32_t volume) {
    std::string out;
    const auto put = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i) & 0xFF);
    };
    put(static_cast<uint32_t>(date));
    for (double price : {open, high, low, close}) put(static_cast<uint32_t>(std::lround(price * 100)));
    for (uint32_t v : {0u, volume, 0u}) put(v);  // 0.0f is all zero bits
    return out;
}

}  // namespace server_test
