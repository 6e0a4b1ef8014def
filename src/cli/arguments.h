#pragma once
// Argument declarations the korvel-cli commands share, on CLI11.
#include <CLI/CLI.hpp>
#include <string>

namespace cli {

// A stock as typed on the command line (UTF-8).
struct StockArgs {
    std::string market;
    std::string code;
};

// Declares the required positionals MARKET and CODE on `command`.
void AddStockArguments(CLI::App& command, StockArgs& stock);

// Accepts MARKET or CODE text: 1 to 16 bytes once stored as GBK, the width
// of the database's MARKET and CODE columns.
CLI::Validator StockFieldValidator();

// Accepts MARKET:CODE.
CLI::Validator StockPairValidator();

}  // namespace cli
