#include "cli/arguments.h"

#include "text/gbk.h"

namespace cli {

namespace {

std::string StockFieldProblem(const std::string& value) {
    const size_t bytes = text::Utf8ToGbk(value).size();
    if (bytes == 0) return "must not be empty";
    if (bytes > 16) return "'" + value + "' is longer than 16 bytes";
    return "";
}

}  // namespace

CLI::Validator StockFieldValidator() { return CLI::Validator(StockFieldProblem, "", "stock field"); }

CLI::Validator StockPairValidator() {
    const auto check = [](const std::string& value) -> std::string {
        const size_t colon = value.find(':');
        if (colon == std::string::npos || colon == 0 || colon + 1 == value.size())
            return "'" + value + "' is not MARKET:CODE";
        const std::string market = StockFieldProblem(value.substr(0, colon));
        return market.empty() ? StockFieldProblem(value.substr(colon + 1)) : market;
    };
    return CLI::Validator(check, "", "stock pair");
}

void AddStockArguments(CLI::App& command, StockArgs& stock) {
    command.add_option("MARKET", stock.market, "market code: SS (Shanghai) or SZ (Shenzhen)")
        ->required()
        ->check(StockFieldValidator());
    command.add_option("CODE", stock.code, "stock code, e.g. 600000")->required()->check(StockFieldValidator());
}

}  // namespace cli
