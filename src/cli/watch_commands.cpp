// korvel-cli watch: the watch list's rows, tab-separated in the view's
// columns. watch add MARKET CODE: add a stock (as "设为自选股" does for the
// stock shown). watch rm MARKET CODE: delete a stock with its bars,
// strategies and trade logs (as the list's "删除" does).
#include <memory>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/strategy_cli.h"
#include "strategy/watch_list.h"
#include "text/gbk.h"

namespace cli {
namespace {

void PrintRows(Database& db) {
    const std::vector<WatchRow> rows = LoadWatchList(db);
    std::string out;
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::vector<std::string> cells = WatchRowCells(rows[i], i);
        for (size_t c = 0; c < cells.size(); ++c) out += (c ? "\t" : "") + cells[c];
        out += "\n";
    }
    Print(ForTerminal(out));
}

bool InStockList(const CDataCenter& dc) {
    for (const StockInfo& s : dc.StockList())
        if (s.market == dc.Market() && s.code == dc.Code()) return true;
    return false;
}

int Add(LocalStore& store, const std::string& market, const std::string& code) {
    CDataCenter& dc = TheDataCenter();
    if (!dc.LoadStock(text::Utf8ToGbk(code), text::Utf8ToGbk(market))) {
        PrintFailure("watch", "cannot read the daily bars: " + Database::LastError());
        return 1;
    }
    if (IsOnWatchList(store.database, dc.Market(), dc.Code())) {
        Print(market + " " + code + " is already on the watch list\n");
        return 0;
    }
    if (!AddCurrentStock(store.database, dc)) {
        PrintFailure("watch", market + " " + code + " not added: " + Database::LastError());
        return 1;
    }
    if (!InStockList(dc))
        PrintFailure("watch", "note: " + market + " " + code +
                                  " is not in the stock list; the watch list shows it once the stock list has it");
    return 0;
}

int Remove(LocalStore& store, const std::string& market, const std::string& code) {
    const std::string gbkMarket = text::Utf8ToGbk(market);
    const std::string gbkCode = text::Utf8ToGbk(code);
    if (!IsOnWatchList(store.database, gbkMarket, gbkCode)) {
        PrintFailure("watch", market + " " + code + " is not on the watch list");
        return 1;
    }
    if (DeleteWatchedStocks(store.database, {{gbkMarket, gbkCode}}) == 0) {
        PrintFailure("watch", market + " " + code + " not deleted: " + Database::LastError());
        return 1;
    }
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
        const auto store = OpenStrategyStore(context, "watch");
        if (!store) return 1;
        if (add->parsed()) return Add(*store, stock->market, stock->code);
        if (rm->parsed()) return Remove(*store, stock->market, stock->code);
        PrintRows(store->database);
        return 0;
    };
}

}  // namespace cli
