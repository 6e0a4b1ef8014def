#pragma once
// Whole files written and read as bytes, for tests that prepare input files
// or inspect what a program wrote.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

// Creates the missing parent folders, then replaces the file's content.
inline void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace testing_support
