#pragma once
// One strategy offered by the export or the import of strategy files (.opx):
// the SECRET columns a file carries, the chromosome as letters, and whether
// the user ticked it. Texts are GBK.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct StrategyEntry {
    int32_t version = 0;  // the program version number the strategy belongs to
    std::string market;
    std::string code;
    std::string name;  // ABBR from the stock list
    int32_t nums = 0;
    int32_t length = 0;
    std::string op;  // the letters of the three genes, run together
    int32_t dbegin = 0;
    int32_t dend = 0;
    // Export: CRPT as stored. Import: the base64 text of the file, decoded
    // when the entry is stored.
    std::string report;
    // Import: the base64 text of the trade-log script. Export: unused; the
    // script is built from TRADELOG while the file is written.
    std::string tradeLog;
    std::string dendText;  // the list's "生成日期" column
    bool selected = false;
};

// Receives each log line (GBK) of the export or of reading a file, on the
// calling thread.
using StrategyFileLog = std::function<void(const std::string& lineGbk)>;

