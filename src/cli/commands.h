#pragma once
// The korvel-cli commands. Each takes the working directory and the words
// after the command name, prints UTF-8, and returns the exit status:
// 0 success, 1 the operation failed (message on stderr), 2 usage error
// (thrown as cli::UsageError and reported by main).
#include <string>
#include <vector>

namespace cli {

struct Context {
    std::string dir;  // working directory holding the database
};

using Words = std::vector<std::string>;

struct Command {
    const char* name;
    int (*run)(const Context&, const Words&);
    const char* usage;    // the words after the command name
    const char* summary;  // one line for the help text
};

// The table of every command, in help order; defined in main.cpp.
extern const Command kCommands[];
extern const size_t kCommandCount;

}  // namespace cli
