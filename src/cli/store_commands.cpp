// korvel-cli commands of the local data store: init, settings, stocks,
// conditions.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "datastore/data_center.h"
#include "datastore/local_store.h"
#include "datastore/run_parameters.h"
#include "datastore/settings.h"
#include "text/format.h"
#include "text/gbk.h"

namespace cli {
namespace {

void PrintMessage(std::string_view message) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message.size()), message.data());
}

void Print(const std::string& utf8) { std::fwrite(utf8.data(), 1, utf8.size(), stdout); }

std::unique_ptr<LocalStore> Open(const Context& context) {
    return OpenLocalStore(context.dir, TheDataCenter(), PrintMessage);
}

// True when all of `value` is one decimal number made of `allowed`
// characters (so no hexadecimal, "inf" or "nan" forms).
bool IsWholeNumber(const std::string& value, const char* allowed) {
    if (value.empty() || value.find_first_not_of(allowed) != std::string::npos) return false;
    char* end = nullptr;
    std::strtod(value.c_str(), &end);
    return *end == '\0';
}

// The numeric settings are read with fallbacks that hide a bad value, so the
// command refuses one instead of storing it.
void CheckNumericSetting(const std::string& name, const std::string& value) {
    const bool isInteger = name == "MIN_TRADE_NUMS" || name == "MAX_TRADE_NUMS" || name == "EVOLUTE_STEPS" ||
                           name == "EVOLUTE_DAYS";
    const bool isReal = name == "MAX_TRADE_LOST" || name == "BUY_CHARGE" || name == "SELL_CHARGE";
    if (isInteger && !(IsWholeNumber(value, "+0123456789") && IntSetting(value, 0) > 0))
        throw UsageError(name + " needs a whole number of 1 or more");
    if (isReal && !(IsWholeNumber(value, "+-.0123456789eE") && RealSetting(value, 0.0f) > 0.0f))
        throw UsageError(name + " needs a number above 0");
}

int RunSettingsSet(const Context& context, const std::string& name, const std::string& value) {
    if (name.empty()) throw UsageError("the setting name is empty");
    CheckNumericSetting(name, value);
    const auto store = Open(context);
    if (!store) return 1;
    if (!StoreSetting(store->database, text::Utf8ToGbk(name), text::Utf8ToGbk(value))) {
        std::fprintf(stderr, "korvel-cli settings: %s not stored: %s\n", name.c_str(), Database::LastError().c_str());
        return 1;
    }
    return 0;
}

// Names of each generator's lines, in the generators' order and the order of
// their lines.
struct LineNames {
    const char* key;
    std::vector<const char*> lines;
};

const LineNames kIndicatorLines[] = {
    {"MA", {"MA1", "MA2", "MA3"}},       {"VOL", {"VOL", "MA1", "MA2", "MA3"}},
    {"MACD", {"DIFF", "DEA", "MACD"}},   {"KDJ", {"K", "D", "J"}},
    {"CCI", {"CCI"}},                    {"RSI", {"RSI1", "RSI2", "RSI3"}},
    {"BOLL", {"UPPER", "MID", "LOWER"}},
};

void PrintConditions(const CDataCenter& dc, bool withLines) {
    const std::lock_guard lock(dc.DataLock());
    const std::vector<std::vector<float>> conditions = dc.GetAllConditions();
    std::vector<std::vector<float>> lines;
    std::string out = "date";
    for (size_t c = 0; c < conditions.size(); ++c) out += text::Format(",c%zu", c);
    if (withLines) {
        for (const LineNames& indicator : kIndicatorLines) {
            for (size_t i = 0; i < indicator.lines.size(); ++i) {
                out += text::Format(",%s.%s", indicator.key, indicator.lines[i]);
                lines.push_back(dc.GetIndicatorLine(indicator.key, i));
            }
        }
    }
    out += '\n';
    const std::vector<int32_t>& dates = dc.Dates();
    for (size_t bar = 0; bar < dates.size(); ++bar) {
        out += text::Format("%d", dates[bar]);
        for (const std::vector<float>& series : conditions)
            out += bar < series.size() && series[bar] != 0.0f ? ",1" : ",0";
        for (const std::vector<float>& series : lines)
            out += bar < series.size() ? text::Format(",%.9g", series[bar]) : std::string(",");
        out += '\n';
    }
    Print(out);
}

int RunInit(const Context& context) {
    // A new working directory is made here, so "init" alone sets up a fresh folder.
    std::error_code error;
    std::filesystem::create_directories(context.dir, error);
    if (error) {
        std::fprintf(stderr, "cannot create the directory %s: %s\n", context.dir.c_str(), error.message().c_str());
        return 1;
    }
    const auto store = Open(context);
    if (!store) return 1;
    Print(store->database.Path() + "\n");
    return 0;
}

int RunSettings(const Context& context) {
    const auto store = Open(context);
    if (!store) return 1;
    // Start-up's reading adds empty entries for missing numeric settings;
    // read APPSET afresh to show what is stored.
    SettingsMap stored;
    if (!LoadSettings(store->database, stored, PrintMessage)) return 1;
    for (const auto& [item, value] : stored) Print(text::GbkToUtf8(item + "\t" + value) + "\n");
    return 0;
}

int RunStocks(const Context& context) {
    const auto store = Open(context);
    if (!store) return 1;
    CDataCenter& dc = TheDataCenter();
    dc.LoadStockList();
    for (const StockInfo& s : dc.StockList()) {
        Print(text::GbkToUtf8(s.market + "\t" + s.code + "\t" + s.abbr + "\t" + s.pinyin) +
              text::Format("\t%d\n", s.ptype));
    }
    return 0;
}

int RunConditions(const Context& context, const StockArgs& stock, bool withLines) {
    const std::string market = text::Utf8ToGbk(stock.market);
    const std::string code = text::Utf8ToGbk(stock.code);
    const auto store = Open(context);
    if (!store) return 1;
    CDataCenter& dc = TheDataCenter();
    if (!dc.LoadStock(code, market)) {
        std::fprintf(stderr, "korvel-cli conditions: cannot read the daily bars: %s\n", Database::LastError().c_str());
        return 1;
    }
    if (dc.Dates().empty())
        std::fprintf(stderr, "korvel-cli conditions: no daily bars stored for %s %s\n", stock.market.c_str(),
                     stock.code.c_str());
    PrintConditions(dc, withLines);
    return 0;
}

}  // namespace

Runner SetUpInit(CLI::App&, const Context& context) {
    return [&context] { return RunInit(context); };
}

Runner SetUpSettings(CLI::App& command, const Context& context) {
    struct Set {
        std::string name, value;
    };
    auto set = std::make_shared<Set>();
    CLI::App* setCommand = command.add_subcommand("set", "store one setting");
    setCommand->add_option("NAME", set->name, "setting name")->required();
    setCommand->add_option("VALUE", set->value, "the new value")->required();
    return [&context, set, setCommand] {
        return setCommand->parsed() ? RunSettingsSet(context, set->name, set->value) : RunSettings(context);
    };
}

Runner SetUpStocks(CLI::App&, const Context& context) {
    return [&context] { return RunStocks(context); };
}

Runner SetUpConditions(CLI::App& command, const Context& context) {
    auto stock = std::make_shared<StockArgs>();
    auto lines = std::make_shared<bool>(false);
    AddStockArguments(command, *stock);
    command.add_flag("--lines", *lines, "also every indicator line (MA.MA1 ... BOLL.LOWER)");
    return [&context, stock, lines] { return RunConditions(context, *stock, *lines); };
}

}  // namespace cli
