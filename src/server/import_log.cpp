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
    if (totals.clean()) {
        if (totals.warnings > 0)
            std::fprintf(stderr, "korvel-server: %d records stored with warnings\n", totals.warnings);
        return 0;
    }
    std::fprintf(stderr, "korvel-server: %d records skipped, %d files not imported, %d warnings\n",
                 totals.skipped, totals.failed_files, totals.warnings);
    return 1;
}

}  // namespace server
