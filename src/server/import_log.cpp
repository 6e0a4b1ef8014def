#include "server/import_log.h"

#include <cstdio>

namespace server {

ImportLog ConsoleImportLog() {
    return ImportLog{
        [](const std::string& problem) { std::fprintf(stderr, "%s\n", problem.c_str()); },
        [](const std::string& progress) {
            std::printf("%s\n", progress.c_str());
            std::fflush(stdout);
        }};
}

int ImportExitStatus(const ImportTotals& totals) {
    if (totals.clean()) return 0;
    std::fprintf(stderr, "korvel-server: %d records skipped, %d files not imported\n",
                 totals.skipped, totals.failed_files);
    return 1;
}

}  // namespace server
