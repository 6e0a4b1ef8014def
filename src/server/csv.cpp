#include "server/csv.h"

#include <stdexcept>

namespace server {
namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    size_t i = 0;
    while (true) {
        // Blanks before an opening quote are dropped like those of a plain field.
        size_t start = i;
        while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
        if (start < line.size() && line[start] == '"') {
            std::string field;
            size_t j = start + 1;
            while (true) {
                if (j >= line.size()) return false;  // the quote does not close on this line
                if (line[j] == '"') {
                    if (j + 1 < line.size() && line[j + 1] == '"') {
                        field += '"';
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                field += line[j++];
            }
            while (j < line.size() && (line[j] == ' ' || line[j] == '\t')) ++j;
            if (j < line.size() && line[j] != ',') return false;  // text after the closing quote
            fields.push_back(std::move(field));
            if (j >= line.size()) return true;
            i = j + 1;
        } else {
            const size_t comma = line.find(',', i);
            const std::string_view raw =
                line.substr(i, comma == std::string_view::npos ? line.npos : comma - i);
            if (raw.find('"') != std::string_view::npos) return false;
            fields.emplace_back(TrimBlanks(raw));
            if (comma == std::string_view::npos) return true;
            i = comma + 1;
        }
    }
}

CsvFile::CsvFile(const std::filesystem::path& path) : in_(path, std::ios::binary) {
    if (!in_) throw std::runtime_error("cannot read " + path.string());
}

bool CsvFile::NextLine(std::string& line) {
    while (std::getline(in_, line)) {
        ++line_number_;
        if (line_number_ == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!TrimBlanks(line).empty()) return true;
    }
    return false;
}

}  // namespace server
