#pragma once
// The korvel-cli commands. Each command declares its arguments and options on
// its own CLI11 subcommand and hands back what runs it once the command line
// has been parsed. A runner prints UTF-8 and returns the exit status: 0
// success, 1 the operation failed (message on stderr), 2 usage error (a check
// the parser cannot make, thrown as cli::UsageError and reported by main).
#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

namespace CLI {
class App;
}

namespace cli {

struct Context {
    std::string dir = ".";  // working directory holding the database (--dir)
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using Runner = std::function<int()>;

// Declares the command's positionals and options on `command` and returns
// the runner. `context` is filled by the parse and outlives the runner.
using CommandSetUp = Runner (*)(CLI::App& command, const Context& context);

struct Command {
    const char* name;
    const char* summary;  // one line for the help texts
    CommandSetUp setUp;
};

// store_commands.cpp
Runner SetUpInit(CLI::App&, const Context&);
Runner SetUpSettings(CLI::App&, const Context&);
Runner SetUpStocks(CLI::App&, const Context&);
Runner SetUpConditions(CLI::App&, const Context&);
// gep_command.cpp
Runner SetUpGep(CLI::App&, const Context&);
// breed_command.cpp, strategy_commands.cpp, watch_commands.cpp
Runner SetUpBreed(CLI::App&, const Context&);
Runner SetUpReport(CLI::App&, const Context&);
Runner SetUpSignals(CLI::App&, const Context&);
Runner SetUpWatch(CLI::App&, const Context&);
// sync_commands.cpp, pool_command.cpp, cleanup_command.cpp
Runner SetUpStatus(CLI::App&, const Context&);
Runner SetUpSync(CLI::App&, const Context&);
Runner SetUpOpen(CLI::App&, const Context&);
Runner SetUpPool(CLI::App&, const Context&);
Runner SetUpCleanup(CLI::App&, const Context&);
// chart_command.cpp
Runner SetUpChart(CLI::App&, const Context&);
// digest_command.cpp
Runner SetUpDigest(CLI::App&, const Context&);
// strategy_file_commands.cpp
Runner SetUpExport(CLI::App&, const Context&);
Runner SetUpImport(CLI::App&, const Context&);

// The table of every command, in help order; defined in command_table.cpp.
extern const Command kCommands[];
extern const size_t kCommandCount;

}  // namespace cli
