#pragma once
// printf-style formatting into std::string, with the C library's rules, so
// texts written with "%.2f" and friends match what the program always wrote.
#include <cstdarg>
#include <string>

namespace text {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

}  // namespace text
