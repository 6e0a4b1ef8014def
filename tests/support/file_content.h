#pragma once
// Whole files written and read as bytes, for tests that prepare input files
// or inspect what a program wrote, and text split into its pieces.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// The pieces of `text` between `separator`s; a final separator adds no empty piece.
inline std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::stringstream in(text);
    std::string piece;
    while (std::getline(in, piece, separator)) pieces.push_back(piece);
    return pieces;
}

}  // namespace testing_support
