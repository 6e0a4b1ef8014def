#include "server/csv_import.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <stdexcept>

#include "server/csv.h"
#include "text/format.h"

namespace server {

ImportTotals ImportInTransaction(Database& db, const std::filesystem::path& path,
                                 const ImportLog& log,
                                 const std::function<ImportTotals()>& import) {
    ImportTotals totals;
    try {
        std::optional<Transaction> transaction = Transaction::Begin(db);
        if (!transaction) throw std::runtime_error(Database::LastError());
        totals = import();
        if (!transaction->Commit()) throw std::runtime_error(Database::LastError());
    } catch (const std::exception& e) {
        log.problem(path.string() + ": not imported: " + e.what());
        return ImportTotals{.failed_files = 1};
    }
    log.progress(text::Format("%s: %d records, %d written, %d skipped, %d warnings",
                              path.string().c_str(), totals.records, totals.written, totals.skipped,
                              totals.warnings));
    return totals;
}

ImportTotals ImportFileOrFolder(Database& db, const std::filesystem::path& path,
                                const std::string& extension, bool recursive, const ImportLog& log,
                                const FileImporter& import_file) {
    if (!std::filesystem::is_directory(path)) return import_file(db, path, log);
    std::vector<std::filesystem::path> files;
    const auto add = [&](const std::filesystem::directory_entry& entry) {
        if (entry.is_regular_file() && entry.path().extension() == extension)
            files.push_back(entry.path());
    };
    if (recursive) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) add(entry);
    } else {
        for (const auto& entry : std::filesystem::directory_iterator(path)) add(entry);
    }
    std::sort(files.begin(), files.end());
    ImportTotals totals;
    for (const auto& file : files) totals += import_file(db, file, log);
    if (files.empty()) {
        log.problem(path.string() + ": no " + extension + " files");
        ++totals.failed_files;
    }
    return totals;
}

ImportTotals ImportCsvFile(Database& db, const std::filesystem::path& path, std::string_view header,
                           const ImportLog& log, const StoreRecord& store,
                           const std::function<void()>& before) {
    return ImportInTransaction(db, path, log, [&] {
        CsvFile file(path);
        std::string line;
        if (!file.NextLine(line)) throw std::runtime_error("the file is empty");
        if (line != header)
            throw std::runtime_error("the first line must be the header \"" + std::string(header) +
                                     "\"");
        const size_t columns = std::count(header.begin(), header.end(), ',') + 1;
        if (before) before();

        ImportTotals totals;
        std::vector<std::string> fields;
        while (file.NextLine(line)) {
            ++totals.records;
            RecordOutcome outcome;
            if (!SplitCsvLine(line, fields))
                outcome = RecordOutcome("unbalanced quotes");
            else if (fields.size() != columns)
                outcome = RecordOutcome(text::Format("%zu fields, expected %zu", fields.size(), columns));
            else {
                const int64_t changes_before = db.TotalChanges();
                outcome = store(fields);
                if (outcome.problem.empty() && db.TotalChanges() > changes_before) ++totals.written;
            }
            const std::string where = text::Format("%s:%d: ", path.string().c_str(), file.line_number());
            if (!outcome.problem.empty()) {
                ++totals.skipped;
                log.problem(where + outcome.problem);
            } else if (!outcome.warning.empty()) {
                ++totals.warnings;
                log.problem(where + "warning: " + outcome.warning);
            }
        }
        return totals;
    });
}

}  // namespace server
