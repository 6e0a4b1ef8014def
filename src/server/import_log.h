#pragma once
// How an import reports: each malformed record as "FILE:LINE: reason" (it is
// skipped, the rest of the file is stored) and one progress line per file.
#include <functional>
#include <string>

namespace server {

struct ImportLog {
    std::function<void(const std::string&)> problem;
    std::function<void(const std::string&)> progress;
};

struct ImportTotals {
    int records = 0;       // records read
    int written = 0;       // records that added or changed a row
    int skipped = 0;       // malformed records, each reported
    int failed_files = 0;  // files not imported at all, each reported

    bool clean() const { return skipped == 0 && failed_files == 0; }
    ImportTotals& operator+=(const ImportTotals& other) {
        records += other.records;
        written += other.written;
        skipped += other.skipped;
        failed_files += other.failed_files;
        return *this;
    }
};

// Problems to stderr, progress to stdout, one line each.
ImportLog ConsoleImportLog();
// A command's exit status after an import: 0 when everything was imported,
// otherwise 1, after a summary of what was left out on stderr.
int ImportExitStatus(const ImportTotals& totals);

}  // namespace server
