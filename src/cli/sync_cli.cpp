#include "cli/sync_cli.h"

#include <cstdio>
#include <string>

#include "cli/strategy_cli.h"
#include "sync/client_code.h"
#include "sync/sync_worker.h"

namespace cli {

ServerAccess ServerFromSettings(const LocalStore& store) {
    return ServerAccess{GetSetting(store.settings, "HOST"), ClientCode(), {}};
}

SyncReporter TerminalReporter(std::string_view command) {
    return [name = std::string(command)](const SyncReport& report) {
        if (report.text.empty()) return;
        if (report.result == SyncReport::kFailed) {
            const std::string about = report.about.empty() ? "" : " (" + ForTerminal(report.about) + ")";
            PrintFailure(name, ForTerminal(report.text) + about);
        } else {
            Print(ForTerminal(report.text) + "\n");
            // Progress should show while the job runs, also through a pipe.
            std::fflush(stdout);
        }
    };
}

int RunOnWorker(std::function<int()> job) {
    SyncWorker worker(std::move(job));
    return worker.Wait();
}

bool CheckServer(LocalStore& store, const ServerAccess& server, ServerInfo& info, std::string_view command) {
    const SyncReporter report = TerminalReporter(command);
    return RunOnWorker([&] { return RequestServerStatus(store.database, server, info, report); }) ==
           SyncReport::kSucceeded;
}

}  // namespace cli
