#pragma once
// Reading the importers' CSV files: UTF-8 text, one record per line, fields
// separated by commas. A field may be enclosed in double quotes to hold
// commas, with "" standing for one quote; a quoted field ends on its line.
// Blanks around an unquoted field are dropped. A UTF-8 byte-order mark and
// "\r\n" line ends are accepted.
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace server {

// Splits one line. Returns false (fields undefined) on a stray quote or a
// quoted field that does not end on the line.
bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields);

class CsvFile {
public:
    // Throws std::runtime_error when the file cannot be read.
    explicit CsvFile(const std::filesystem::path& path);

    // Reads the next line that is not blank; false at the end of the file.
    bool NextLine(std::string& line);
    // 1-based number of the line last read.
    int line_number() const { return line_number_; }

private:
    std::ifstream in_;
    int line_number_ = 0;
};

}  // namespace server
