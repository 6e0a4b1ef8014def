#pragma once
// The korvel-server commands. Each takes the words after the command name
// and returns the exit status: 0 success, 1 failure (or records skipped),
// 2 usage error (thrown as UsageError and reported by main).
#include <string>
#include <vector>

namespace server {

using Words = std::vector<std::string>;

int ServeCommand(const Words& words);
int ImportCsvCommand(const Words& words);
int ImportTdxCommand(const Words& words);
int ImportPoolsCommand(const Words& words);
int ImportNewsCommand(const Words& words);
int ImportHostsCommand(const Words& words);
int ConfigCommand(const Words& words);
int InitDemoCommand(const Words& words);

struct Command {
    const char* name;
    int (*run)(const Words&);
    const char* usage;    // the words after the command name
    const char* summary;  // one line for the help text
};

}  // namespace server
