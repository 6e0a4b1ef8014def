// korvel-server: the data server Korvel synchronises from, and the commands
// that fill its database.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "server/commands.h"
#include "server/options.h"

namespace {

using server::Command;

const Command kCommands[] = {
    {"serve", server::ServeCommand,
     "--data DIR [--listen HOST:PORT] [--cache-mb N]\n"
     "        [--max-connections N] [--per-client N] [--timeout SECONDS]",
     "serve login.php, code.php, daily.php, divid.php and pool.php (default 127.0.0.1:18080;\n"
     "      replies are cached in up to N MB, default 64, 0 for none). At most 4096\n"
     "      connections, 256 from one address (0: no limit); more get 503 at once. A request\n"
     "      must arrive and its reply be taken within 10 seconds, or the connection is closed"},
    {"import-csv", server::ImportCsvCommand,
     "--data DIR [--stocks FILE] [--daily PATH] [--dividend FILE] [--stamp DATE]",
     "import the stock list, daily bars (a file or a folder of MARKET_CODE.csv) and dividends"},
    {"import-tdx", server::ImportTdxCommand, "--data DIR --vipdoc PATH",
     "import TDX day files (sh*.day, sz*.day) from a file or a folder such as vipdoc"},
    {"import-pools", server::ImportPoolsCommand, "--data DIR [--models FILE] [--pools FILE]",
     "import stock pool captions and entries"},
    {"import-news", server::ImportNewsCommand, "--data DIR --news FILE",
     "replace the news list that login.php sends"},
    {"import-hosts", server::ImportHostsCommand, "--data DIR --hosts FILE",
     "replace the host list that login.php sends (default: this server's own address)"},
    {"config", server::ConfigCommand, "--data DIR [--cleanto DATE or auto]",
     "show what the database holds; fix the cleanup cut date or derive it from the data"},
    {"init-demo", server::InitDemoCommand, "--data DIR [--source DIR]",
     "build a ready database from the bundled data folder"},
};

void PrintHelp(FILE* out) {
    std::fprintf(out,
                 "usage: korvel-server COMMAND ...\n\n"
                 "DIR is the server's data folder holding korvel-server.db3. Exit status: 0\n"
                 "success, 1 failure or records skipped, 2 usage error.\n\ncommands:\n");
    for (const Command& c : kCommands)
        std::fprintf(out, "  %s %s\n      %s\n", c.name, c.usage, c.summary);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0) {
        PrintHelp(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) != 0) continue;
        try {
            return command.run(server::Words(argv + 2, argv + argc));
        } catch (const server::UsageError& e) {
            std::fprintf(stderr, "korvel-server %s: %s\nusage: korvel-server %s %s\n", command.name,
                         e.what(), command.name, command.usage);
            return 2;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "korvel-server %s: %s\n", command.name, e.what());
            return 1;
        }
    }
    std::fprintf(stderr, "korvel-server: unknown command '%s' (see korvel-server help)\n", argv[1]);
    return 2;
}
