// The korvel-cli commands in help order. A new command adds its line here
// and its set-up function to commands.h.
#include "cli/commands.h"

namespace cli {

const Command kCommands[] = {
    {"init", "open or create the database, load settings; print the database file used", SetUpInit},
    {"settings", "print every setting with its meaning and range / store one setting", SetUpSettings},
    {"status", "server status request: the status text, the server's dates and its hosts", SetUpStatus},
    {"sync", "synchronise: server status, stock codes, daily bars and dividends of every watched stock, signal update",
     SetUpSync},
    {"digest", "the watched stocks whose advice changed since the last sync, 买入 and 卖出 first", SetUpDigest},
    {"open", "open one stock as the view does: fetch its missing bars, update its signal; print bars held, newest "
             "date, advice",
     SetUpOpen},
    {"stocks", "the stock list: market, code, name, pinyin, security type (tab-separated)", SetUpStocks},
    {"conditions", "CSV date,c0..c20 (0/1) for every loaded bar; --lines adds every indicator line", SetUpConditions},
    {"gep", "drive the engine stand-alone from a configuration file and a CSV of fitness cases", SetUpGep},
    {"watch", "the watch list / add a stock / delete a stock with its data", SetUpWatch},
    {"breed",
     "breed a strategy for one stock: one line per generation, then the report and the strategy text (--holdout N: "
     "then the strategy on the newest N days, kept out); --watch-list: for every watched stock, with a table",
     SetUpBreed},
    {"pool", "fetch the stock pool of a selection model, list it, optionally add stocks of it to the watch list",
     SetUpPool},
    {"cleanup", "delete stocks' daily bars after the server's cut date so the next sync fetches them again",
     SetUpCleanup},
    {"report", "the stored report and trade log of a stock's strategy", SetUpReport},
    {"signals", "the stored strategy's signal and action letter on every bar, then the current advice", SetUpSignals},
    {"chart", "draw a stock's K-line chart as the window does into a PNG", SetUpChart},
    {"export", "write stored strategies to a strategy file (.opx)", SetUpExport},
    {"import", "store the strategies of a strategy file (.opx)", SetUpImport},
};
const size_t kCommandCount = sizeof kCommands / sizeof kCommands[0];

}  // namespace cli
