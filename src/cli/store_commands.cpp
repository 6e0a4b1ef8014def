// korvel-cli commands of the local data store: init, stocks, conditions.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "datastore/data_center.h"
#include "datastore/local_store.h"
#include "text/format.h"
#include "text/gbk.h"

namespace cli {
namespace {


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
    const auto store = OpenStore(context, "init");
    if (!store) return 1;
    Print(store->database.Path() + "\n");
    return 0;
}

int RunStocks(const Context& context) {
    const auto store = OpenStore(context, "stocks");
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
    const auto store = OpenStore(context, "conditions");
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
