#pragma once
// How an import reports: each malformed record as "FILE:LINE: reason" (it is
// skipped, the rest of the file is stored), each odd but stored record as
// "FILE:LINE: warning: reason", and one progress line per file.
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
    int warnings = 0;      // records stored as they are, each reported

    // Nothing was left out; warnings do not count.
    bool clean() const { return skipped == 0 && failed_files == 0; }
    ImportTotals& operator+=(const ImportTotals& other) {
        records += other.records;
        written += other.written;
        skipped += other.skipped;
        failed_files += other.failed_files;
        warnings += other.warnings;
        return *this;
    }
};

// Problems to stderr, progress to stdout, one line each.
ImportLog ConsoleImportLog();
// A command's exit status after an import: 0 when everything was imported
// (with or without warnings), otherwise 1; a summary of what was left out or
// warned about goes to stderr.
int ImportExitStatus(const ImportTotals& totals);

}  // namespace server
