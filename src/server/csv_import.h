#pragma once
// What the importers share: one file in one transaction, every file of a
// folder, and the record loop of a CSV file.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/checked_sql.h"
#include "server/import_log.h"

namespace server {

// What became of one record. A bare text converts to a problem, so a store
// function may return the reason it refused the record, or {} for success.
struct RecordOutcome {
    RecordOutcome(std::string problem = {}) : problem(std::move(problem)) {}
    static RecordOutcome StoredWith(std::string warning) {
        RecordOutcome outcome;
        outcome.warning = std::move(warning);
        return outcome;
    }

    std::string problem;  // not empty: the record was skipped for this reason
    std::string warning;  // not empty: the record was stored, but this is odd about it
};

// Stores one record and says what became of it; a skipped or warned record
// is reported with its line. It must check every field before it writes
// anything.
using StoreRecord = std::function<RecordOutcome(const std::vector<std::string>& fields)>;

// Imports `path`, whose first line must be `header` exactly (it names the
// columns, so a file with another column order is refused rather than
// misread). Records with another number of fields are skipped. `before`
// runs inside the transaction before the first record (a file that replaces
// a whole list clears it there).
ImportTotals ImportCsvFile(Database& db, const std::filesystem::path& path, std::string_view header,
                           const ImportLog& log, const StoreRecord& store,
                           const std::function<void()>& before = {});

// Runs `import` inside one transaction and turns any failure into a failed
// file: nothing of it is stored.
ImportTotals ImportInTransaction(Database& db, const std::filesystem::path& path,
                                 const ImportLog& log, const std::function<ImportTotals()>& import);

using FileImporter =
    std::function<ImportTotals(Database&, const std::filesystem::path&, const ImportLog&)>;

// Imports `path` when it is a file, otherwise every file in it whose name
// ends in `extension` (in sub-folders too when `recursive`), in name order.
// A folder without such a file is a failed import.
ImportTotals ImportFileOrFolder(Database& db, const std::filesystem::path& path,
                                const std::string& extension, bool recursive, const ImportLog& log,
                                const FileImporter& import_file);

}  // namespace server
