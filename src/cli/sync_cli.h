#pragma once
// Shared steps of the synchronisation commands (status, sync, open, pool,
// cleanup): reaching the configured server, running a job on a worker
// thread, and printing the job's reports as they come.
#include <functional>
#include <string_view>

#include "datastore/local_store.h"
#include "sync/server_requests.h"
#include "sync/server_status.h"
#include "sync/sync_report.h"

namespace cli {

// The configured server (HOST setting) and this machine's client code.
ServerAccess ServerFromSettings(const LocalStore& store);

// Prints each report's text as a UTF-8 line as soon as it arrives: progress
// and success on stdout, a failure on stderr as the command's failure.
// Empty texts print nothing.
SyncReporter TerminalReporter(std::string_view command);

// Runs `job` on a worker thread and waits for its result.
int RunOnWorker(std::function<int()> job);

// Exit status for a job's final result: 0 on success, 1 otherwise.
inline int ExitStatus(int result) { return result == SyncReport::kSucceeded ? 0 : 1; }

// The server status request, reported on the terminal; true on success.
// Every command that needs the server's dates starts with it, as the
// program does when it starts.
bool CheckServer(LocalStore& store, const ServerAccess& server, ServerInfo& info, std::string_view command);

}  // namespace cli
