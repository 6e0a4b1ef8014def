#pragma once
// What the importers share: one file in one transaction, every file of a
// folder, and the record loop of a CSV file.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "server/checked_sql.h"
#include "server/import_log.h"

namespace server {

// Stores one record; returns an empty string when it was stored, otherwise
// the reason it was not (the record is then skipped and reported). It must
// check every field before it writes anything.
using StoreRecord = std::function<std::string(const std::vector<std::string>& fields)>;

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
