#pragma once
// Crash reports. A handler for the fatal signals writes the signal, a
// backtrace and the program version into a new report file in the given
// folder, then lets the signal end the program as it would have. The next
// start takes the reports nobody was told about yet and says where they are.
#include <filesystem>
#include <string>
#include <vector>

// Installs the handlers, writing reports into `folder` (created here).
// False, with `error` set, when the folder cannot be made.
bool InstallCrashReporting(const std::filesystem::path& folder, std::string& error);

// The reports earlier runs left in `folder` that were not announced yet,
// each renamed (".new" becomes ".txt") so it is announced once; their new paths.
std::vector<std::filesystem::path> TakeNewCrashReports(const std::filesystem::path& folder);
