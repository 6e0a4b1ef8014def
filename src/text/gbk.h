#pragma once
// Conversion between GBK (how text is stored and exchanged) and UTF-8 (how it
// is shown on a terminal or in a widget). The core keeps GBK bytes in
// std::string; only the edges that show text to a person convert.
#include <string>
#include <string_view>

namespace text {

// Decodes as GB18030, a superset of GBK, so no byte sequence a GBK writer
// produced is lost. Undecodable bytes become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

// Encodes as GBK. Characters GBK cannot hold become '?'.
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace text
