// korvel-cli: every user job of Korvel from a terminal or a script.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"

namespace cli {

// store_commands.cpp
int RunInit(const Context&, const Words&);
int RunSettings(const Context&, const Words&);
int RunStocks(const Context&, const Words&);
int RunConditions(const Context&, const Words&);
// gep_command.cpp
int RunGep(const Context&, const Words&);
// breed_command.cpp, strategy_commands.cpp, watch_commands.cpp
int RunBreed(const Context&, const Words&);
int RunReport(const Context&, const Words&);
int RunSignals(const Context&, const Words&);
int RunWatch(const Context&, const Words&);
// sync_commands.cpp, pool_command.cpp, cleanup_command.cpp
int RunStatus(const Context&, const Words&);
int RunSync(const Context&, const Words&);
int RunOpen(const Context&, const Words&);
int RunPool(const Context&, const Words&);
int RunCleanup(const Context&, const Words&);
// digest_command.cpp
int RunDigest(const Context&, const Words&);
// strategy_file_commands.cpp
int RunExport(const Context&, const Words&);
int RunImport(const Context&, const Words&);

const Command kCommands[] = {
    {"help", nullptr, "", "show this help"},
    {"init", RunInit, "", "open or create the database, load settings; print the database file used"},
    {"settings", RunSettings, "[set NAME VALUE]", "print the settings / store one setting"},
    {"status", RunStatus, "[--switch N]",
     "server status request: the status text, the server's dates and its hosts; --switch N first makes "
     "server N of that list the HOST"},
    {"sync", RunSync, "[--digest]",
     "synchronise: server status, stock codes, daily bars and dividends of every watched stock, signal update; "
     "--digest then prints the stocks whose advice changed"},
    {"digest", RunDigest, "[--since DATE] [--all]",
     "the watched stocks whose advice changed since the last sync (or whose change came with a bar of DATE or "
     "later), 买入 and 卖出 first; --all lists every watched stock's current advice"},
    {"open", RunOpen, "MARKET CODE [--year YEAR]",
     "open one stock as the view does: fetch its missing bars (two-year ranges back to 2008 when it has none; "
     "--year sets the current year), update its signal; print bars held, newest date, advice"},
    {"stocks", RunStocks, "", "the stock list: market, code, name, pinyin, security type (tab-separated)"},
    {"conditions", RunConditions, "MARKET CODE [--lines]",
     "CSV date,c0..c20 (0/1) for every loaded bar; --lines adds every indicator line"},
    {"gep", RunGep, "CONFIG CASES.csv [--classify] [--seed N]",
     "drive the engine stand-alone from a configuration file and a CSV of fitness cases"},
    {"watch", RunWatch, "[add MARKET CODE | rm MARKET CODE]",
     "the watch list rows (tab-separated, the view's columns) / add a stock / delete a stock with its data"},
    {"breed", RunBreed,
     "MARKET CODE [--style N] [--days N] [--depth N] [--seed N] [--evaluator fast|reference] [--save]",
     "breed a strategy for the stock: one line per generation, then the report and the strategy text; "
     "--save stores it"},
    {"pool", RunPool, "MODEL [--add CODES|all]",
     "fetch the stock pool of a model (vpool, vpick, gpool, gpick) and list it; --add puts the given codes "
     "(CODE or MARKET:CODE, comma-separated) or all on the watch list"},
    {"cleanup", RunCleanup, "[MARKET:CODE ...]",
     "delete the stocks' daily bars after the server's cut date so the next sync fetches them again; "
     "without stocks, list the stocks with local bars"},
    {"report", RunReport, "MARKET CODE", "the stored report and trade log of the stock's strategy"},
    {"signals", RunSignals, "MARKET CODE",
     "the stored strategy's signal and action letter on every bar, then the current advice"},
    {"export", RunExport, "FILE [MARKET:CODE ...]",
     "write the stored strategies of the named stocks (all when none is named) to a strategy file (.opx)"},
    {"import", RunImport, "FILE [MARKET:CODE ...]",
     "store the strategies of a strategy file (.opx), those of the named stocks or all"},
};
const size_t kCommandCount = sizeof kCommands / sizeof kCommands[0];

}  // namespace cli

namespace {

void PrintHelp(FILE* out) {
    std::fprintf(out, "usage: korvel-cli [--dir DIR] COMMAND ...\n\n"
                      "DIR is the working directory holding the database (default: the current\n"
                      "directory). Exit status: 0 success, 1 failure, 2 usage error.\n\ncommands:\n");
    for (size_t i = 0; i < cli::kCommandCount; ++i) {
        const cli::Command& c = cli::kCommands[i];
        std::string line = std::string(c.name) + (*c.usage ? " " : "") + c.usage;
        std::fprintf(out, "  %s\n      %s\n", line.c_str(), c.summary);
    }
}

const cli::Command* FindCommand(const std::string& name) {
    for (size_t i = 0; i < cli::kCommandCount; ++i)
        if (name == cli::kCommands[i].name) return &cli::kCommands[i];
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    cli::Context context{"."};
    int i = 1;
    if (i < argc && std::strcmp(argv[i], "--dir") == 0) {
        if (i + 1 >= argc) {
            std::fprintf(stderr, "korvel-cli: --dir needs a directory\n");
            return 2;
        }
        context.dir = argv[i + 1];
        i += 2;
    }
    if (i >= argc || std::strcmp(argv[i], "help") == 0 || std::strcmp(argv[i], "--help") == 0) {
        PrintHelp(i >= argc ? stderr : stdout);
        return i >= argc ? 2 : 0;
    }
    const cli::Command* command = FindCommand(argv[i]);
    if (command == nullptr || command->run == nullptr) {
        std::fprintf(stderr, "korvel-cli: unknown command '%s' (see korvel-cli help)\n", argv[i]);
        return 2;
    }
    const cli::Words words(argv + i + 1, argv + argc);
    try {
        return command->run(context, words);
    } catch (const cli::UsageError& e) {
        std::fprintf(stderr, "korvel-cli %s: %s\nusage: korvel-cli [--dir DIR] %s %s\n", command->name,
                     e.what(), command->name, command->usage);
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvel-cli %s: %s\n", command->name, e.what());
        return 1;
    }
}
