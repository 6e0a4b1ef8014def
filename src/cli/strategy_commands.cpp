// korvel-cli report MARKET CODE: the stored report and trade log of a
// stock's strategy, as the report dialog shows them.
// korvel-cli signals MARKET CODE: the stored strategy evaluated on every
// loaded bar (date, signal, action letter), then the current advice.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "strategy/advice.h"
#include "strategy/strategy_record.h"
#include "strategy/strategy_report.h"
#include "strategy/strategy_signals.h"
#include "text/format.h"
#include "text/gbk.h"

namespace cli {
namespace {

std::string TradeTable(const std::vector<TradeRow>& rows) {
    std::string out = text::Utf8ToGbk("时间\t方向\t价格(元)\t收益(%)\n");
    for (const TradeRow& r : rows) out += r.time + "\t" + r.direction + "\t" + r.price + "\t" + r.profit + "\n";
    return out;
}

void PrintSignals(const CDataCenter& dc) {
    const std::vector<int32_t>& barSignals = dc.Signals();
    const std::vector<int32_t>& dates = dc.Dates();
    std::string out;
    int32_t previous = -1;
    for (size_t i = 0; i < barSignals.size() && i < dates.size(); ++i) {
        out += text::Format("%d\t%d\t%c\n", dates[i], barSignals[i], ActionLetter(barSignals[i], previous));
        previous = barSignals[i];
    }
    Print(out + "advice\t" + ForTerminal(CurrentAdvice(dc)) + "\n");
}

int RunReport(const Context& context, const StockArgs& stock) {
    const std::string& market = stock.market;
    const std::string& code = stock.code;
    const auto store = OpenStrategyStore(context, "report");
    if (!store) return 1;
    const std::optional<std::string> report =
        LoadStoredReport(store->database, text::Utf8ToGbk(market), text::Utf8ToGbk(code));
    if (!report) {
        PrintFailure("report", market + " " + code + " has no stored strategy");
        return 1;
    }
    if (report->empty()) {
        PrintFailure("report", market + " " + code + " is on the watch list but has no strategy yet");
        return 1;
    }
    const std::vector<TradeRow> trades =
        StoredTradeRows(store->database, text::Utf8ToGbk(market), text::Utf8ToGbk(code));
    Print(ForTerminal(*report) + "\n\n" + ForTerminal(TradeTable(trades)));
    return 0;
}

int RunSignals(const Context& context, const StockArgs& stock) {
    const std::string& market = stock.market;
    const std::string& code = stock.code;
    const auto store = OpenStrategyStore(context, "signals");
    if (!store) return 1;
    CDataCenter& dc = TheDataCenter();
    if (!LoadStockWithBars(dc, market, code, "signals")) return 1;
    if (!LoadStoredStrategy(store->database, dc, FailureSink("signals"))) {
        if (!LoadStoredReport(store->database, dc.Market(), dc.Code()))
            PrintFailure("signals", market + " " + code + " has no stored strategy");
        return 1;
    }
    if (dc.Parameters().bestChromosome.empty()) {
        PrintFailure("signals", market + " " + code + " is on the watch list but has no strategy yet");
        return 1;
    }
    if (!ComputeStrategySignals(dc)) {
        PrintFailure("signals", "the stored strategy of " + market + " " + code + " is not a trading strategy");
        return 1;
    }
    PrintSignals(dc);
    return 0;
}

}  // namespace

Runner SetUpReport(CLI::App& command, const Context& context) {
    auto stock = std::make_shared<StockArgs>();
    AddStockArguments(command, *stock);
    return [&context, stock] { return RunReport(context, *stock); };
}

Runner SetUpSignals(CLI::App& command, const Context& context) {
    auto stock = std::make_shared<StockArgs>();
    AddStockArguments(command, *stock);
    return [&context, stock] { return RunSignals(context, *stock); };
}

}  // namespace cli
