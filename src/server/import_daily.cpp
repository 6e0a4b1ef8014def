#include <vector>

#include "server/bars.h"
#include "server/csv_import.h"
#include "server/fields.h"
#include "server/importers.h"

namespace server {
namespace {

constexpr const char* kHeader = "date,open,high,low,close,volume";

ImportTotals ImportDailyFile(Database& db, const std::filesystem::path& file,
                             const ImportLog& log) {
    // The stock is named by the file: SS_600000.csv.
    const std::string stem = file.stem().string();
    const size_t underscore = stem.find('_');
    const std::string market = stem.substr(0, underscore);
    const std::string code = underscore == std::string::npos ? "" : stem.substr(underscore + 1);
    if (!IsKey(market) || !IsKey(code)) {
        log.problem(file.string() + ": not imported: the name must be <MARKET>_<CODE>.csv");
        return ImportTotals{.failed_files = 1};
    }
    BarWriter writer(db);
    return ImportCsvFile(db, file, kHeader, log, [&](const std::vector<std::string>& fields) {
        FieldReader read(fields, kHeader);
        Bar bar;
        bar.date = read.Date(0);
        bar.open = read.Number(1);
        bar.high = read.Number(2);
        bar.low = read.Number(3);
        bar.close = read.Number(4);
        bar.volume = read.Number(5);
        if (!read.error().empty()) return RecordOutcome(read.error());
        if (std::string problem = BarProblem(bar); !problem.empty()) return RecordOutcome(problem);
        writer.Put(market, code, bar);
        return RecordOutcome::StoredWith(BarWarning(bar));
    });
}

}  // namespace

ImportTotals ImportDailyCsv(Database& db, const std::filesystem::path& path, const ImportLog& log) {
    return ImportFileOrFolder(db, path, ".csv", /*recursive=*/false, log, ImportDailyFile);
}

}  // namespace server
