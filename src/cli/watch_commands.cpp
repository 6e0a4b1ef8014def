// korvel-cli watch: the watch list's rows under a header, tab-separated in
// the view's columns. watch add MARKET CODE: add a stock of the stock list
// (as "设为自选股" does for the stock shown). watch rm MARKET CODE: delete a
// stock with its bars, strategies and trade logs (as the list's "删除"
// does), saying how many rows went.
#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "datastore/write_failure.h"
#include "strategy/watch_list.h"
#include "text/format.h"
#include "text/gbk.h"

namespace cli {
namespace {

constexpr const char* kWatchCommand = "watch";


void PrintRows(Database& db) {
    const std::vector<WatchRow> rows = LoadWatchList(db);
    std::string out = TabLine(WatchColumnTitles());
    for (size_t i = 0; i < rows.size(); ++i) out += TabLine(WatchRowCells(rows[i], i));
    Print(ForTerminal(out));
    if (rows.empty()) Print("the watch list is empty: add stocks with 'korvel-cli watch add MARKET CODE'\n");
}

bool InStockList(const CDataCenter& dc, const std::string& market, const std::string& code) {
    for (const StockInfo& s : dc.StockList())
        if (s.market == market && s.code == code) return true;
    return false;
}

// Only stocks of the stock list are offered by the view, and only they show
// in the watch list, so a stock it does not know is refused.
int Add(LocalStore& store, const std::string& market, const std::string& code) {
    CDataCenter& dc = TheDataCenter();
    if (!InStockList(dc, text::Utf8ToGbk(market), text::Utf8ToGbk(code))) {
        PrintFailure(kWatchCommand, market + " " + code + " is not in the stock list (" +
                                   std::to_string(dc.StockList().size()) +
                                   " stocks); run 'korvel-cli sync' to bring the list up to date");
        return 1;
    }
    if (!dc.LoadStock(text::Utf8ToGbk(code), text::Utf8ToGbk(market))) {
        PrintFailure(kWatchCommand, "cannot read the daily bars: " + Database::LastError());
        return 1;
    }
    if (IsOnWatchList(store.database, dc.Market(), dc.Code())) {
        Print(market + " " + code + " is already on the watch list\n");
        return 0;
    }
    if (!AddCurrentStock(store.database, dc)) {
        PrintFailure(kWatchCommand, market + " " + code + " not added: " + ForTerminal(FailedWrite(store.database).text));
        return 1;
    }
    Print("added " + market + " " + code + " " + ForTerminal(dc.DisplayName()) + "\n");
    return 0;
}

int Remove(LocalStore& store, const std::string& market, const std::string& code) {
    const StockKey stock{text::Utf8ToGbk(market), text::Utf8ToGbk(code)};
    if (!IsOnWatchList(store.database, stock.market, stock.code)) {
        PrintFailure(kWatchCommand, market + " " + code + " is not on the watch list");
        return 1;
    }
    const std::optional<DeletedRows> deleted = DeleteWatchedStock(store.database, stock);
    if (!deleted) {
        PrintFailure(kWatchCommand, market + " " + code + " not deleted: " + ForTerminal(FailedWrite(store.database).text));
        return 1;
    }
    Print(text::Format("deleted %s %s: %lld daily bars, %lld strategy versions, %lld trade-log rows\n",
                       market.c_str(), code.c_str(), static_cast<long long>(deleted->bars),
                       static_cast<long long>(deleted->strategies), static_cast<long long>(deleted->tradeLogRows)));
    return 0;
}

}  // namespace

Runner SetUpWatch(CLI::App& command, const Context& context) {
    auto stock = std::make_shared<StockArgs>();
    CLI::App* add = command.add_subcommand("add", "add a stock to the watch list");
    CLI::App* rm = command.add_subcommand("rm", "delete a stock with its bars, strategies and trade logs");
    AddStockArguments(*add, *stock);
    AddStockArguments(*rm, *stock);
    command.require_subcommand(0, 1);
    return [&context, stock, add, rm] {
        const auto store = OpenStrategyStore(context, kWatchCommand);
        if (!store) return 1;
        if (add->parsed()) return Add(*store, stock->market, stock->code);
        if (rm->parsed()) return Remove(*store, stock->market, stock->code);
        PrintRows(store->database);
        return 0;
    };
}

}  // namespace cli
