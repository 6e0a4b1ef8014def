// TDX (通达信) day files: vipdoc/sh/lday/sh600000.day and the like. Each
// record is 32 bytes, little-endian: date yyyymmdd, open, high, low and close
// in hundredths of a yuan (32-bit integers), amount (32-bit float, not kept),
// volume (32-bit unsigned), reserved.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "server/bars.h"
#include "server/csv_import.h"
#include "server/fields.h"
#include "server/importers.h"
#include "server/repeats.h"
#include "text/format.h"

namespace server {
namespace {

constexpr size_t kRecordSize = 32;

uint32_t LittleEndian32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

double Price(const unsigned char* p) { return static_cast<int32_t>(LittleEndian32(p)) / 100.0; }

// TDX counts index volume in lots of 100 shares and stock volume in shares;
// the server serves shares throughout. Shanghai indexes are 000xxx, Shenzhen
// indexes 399xxx.
bool IsIndex(const std::string& market, const std::string& code) {
    return (market == "SS" && code.rfind("000", 0) == 0) ||
           (market == "SZ" && code.rfind("399", 0) == 0);
}

Bar DecodeRecord(const unsigned char* record, bool index) {
    Bar bar;
    bar.date = static_cast<int32_t>(LittleEndian32(record));
    bar.open = Price(record + 4);
    bar.high = Price(record + 8);
    bar.low = Price(record + 12);
    bar.close = Price(record + 16);
    bar.volume = static_cast<double>(LittleEndian32(record + 24)) * (index ? 100 : 1);
    return bar;
}

ImportTotals ImportTdxFile(Database& db, const std::filesystem::path& file, const ImportLog& log) {
    const std::string stem = file.stem().string();
    const std::string prefix = stem.substr(0, 2);
    const std::string market = prefix == "sh" ? "SS" : prefix == "sz" ? "SZ" : "";
    const std::string code = stem.size() > 2 ? stem.substr(2) : "";
    if (market.empty() || !IsKey(code)) {
        log.problem(file.string() +
                    ": not imported: the name must be sh<CODE>.day or sz<CODE>.day");
        return ImportTotals{.failed_files = 1};
    }
    const bool index = IsIndex(market, code);
    return ImportInTransaction(db, file, log, [&] {
        std::ifstream in(file, std::ios::binary);
        if (!in) throw std::runtime_error("cannot read the file");
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
        ImportTotals totals;
        BarWriter writer(db);
        Repeats dates;
        const size_t records = bytes.size() / kRecordSize;
        for (size_t i = 0; i < records; ++i) {
            ++totals.records;
            const Bar bar = DecodeRecord(&bytes[i * kRecordSize], index);
            const std::string where = text::Format("%s:record %zu: ", file.string().c_str(), i + 1);
            const std::string problem = !ParseDate(std::to_string(bar.date))
                                            ? text::Format("%d is not a date yyyymmdd", bar.date)
                                        : dates.Seen(std::to_string(bar.date)) ? RepeatedDate(bar.date)
                                                                               : BarProblem(bar);
            if (!problem.empty()) {
                ++totals.skipped;
                log.problem(where + problem);
                continue;
            }
            const int64_t changes_before = db.TotalChanges();
            writer.Put(market, code, bar);
            if (db.TotalChanges() > changes_before) ++totals.written;
            if (const std::string warning = BarWarning(bar); !warning.empty()) {
                ++totals.warnings;
                log.problem(where + "warning: " + warning);
            }
        }
        if (const size_t rest = bytes.size() % kRecordSize; rest != 0) {
            ++totals.records;  // counted like a line that cannot be read
            ++totals.skipped;
            log.problem(text::Format("%s:record %zu: %zu bytes, not a whole record",
                                     file.string().c_str(), records + 1, rest));
        }
        return totals;
    });
}

}  // namespace

ImportTotals ImportTdx(Database& db, const std::filesystem::path& path, const ImportLog& log) {
    return ImportFileOrFolder(db, path, ".day", /*recursive=*/true, log, ImportTdxFile);
}

}  // namespace server
