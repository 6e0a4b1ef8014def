#include "strategy/export_list.h"

#include "datastore/program_version.h"
#include "text/format.h"
#include "text/parse.h"

namespace {

constexpr std::string_view kMark = "\xA1\xF2";  // "◎" in GBK
constexpr std::string_view kGeneSeparator = "\xA1\xF2\r\n\xA1\xF2";
constexpr int kGenes = 3;

// Byte offsets of the "◎" characters, found character by character so the
// trail byte of one GBK character and the lead byte of the next never pass
// for a mark.
std::vector<size_t> MarkPositions(std::string_view text) {
    std::vector<size_t> marks;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x81 || i + 1 == text.size()) {
            ++i;
            continue;
        }
        if (text.substr(i, 2) == kMark) marks.push_back(i);
        i += 2;
    }
    return marks;
}

}  // namespace

std::optional<std::string> FindOpLetters(std::string_view report, int32_t length) {
    if (length <= 0) return std::nullopt;
    const auto gene = static_cast<size_t>(length);
    const std::vector<size_t> marks = MarkPositions(report);
    for (size_t m = 0; m + 1 < marks.size(); ++m) {
        const size_t first = marks[m] + kMark.size();
        if (marks[m + 1] - first != gene) continue;
        std::string letters(report.substr(first, gene));
        size_t at = first + gene;
        for (int g = 1; g < kGenes; ++g) {
            if (report.substr(at, kGeneSeparator.size()) != kGeneSeparator) return std::nullopt;
            at += kGeneSeparator.size();
            if (report.size() - at < gene) return std::nullopt;
            letters += report.substr(at, gene);
            at += gene;
        }
        return letters;
    }
    return std::nullopt;
}

std::vector<StrategyEntry> ListExportableStrategies(Database& db) {
    std::vector<StrategyEntry> entries;
    const std::optional<TextTable> rows = db.GetTable(text::Format(
        "SELECT A.MARKET, A.CODE, B.ABBR, A.DEND, A.NUMS, A.LENG, A.DBGN, A.CRPT FROM SECRET A, STOCKCODE B "
        "WHERE A.MARKET = B.MARKET AND A.CODE = B.CODE AND A.DEND > 19700101 AND A.VRSN = %d "
        "ORDER BY A.MARKET, A.CODE",
        version::kNumber));
    if (!rows) return entries;
    for (size_t r = 0; r < rows->RowCount(); ++r) {
        const int32_t length = text::ParseInt(rows->At(r, 5));
        std::optional<std::string> op = FindOpLetters(rows->At(r, 7), length);
        if (!op) continue;
        StrategyEntry e;
        e.version = version::kNumber;
        e.market = rows->At(r, 0);
        e.code = rows->At(r, 1);
        e.name = rows->At(r, 2);
        e.dendText = rows->At(r, 3);
        e.dend = text::ParseInt(e.dendText);
        e.nums = text::ParseInt(rows->At(r, 4));
        e.length = length;
        e.op = std::move(*op);
        e.dbegin = text::ParseInt(rows->At(r, 6));
        e.report = rows->At(r, 7);
        entries.push_back(std::move(e));
    }
    return entries;
}
