#include "text/base64.h"

#include <array>
#include <cstdint>

namespace text {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The 6-bit value of each character; -1 outside the alphabet, -2 for blanks.
constexpr std::array<int8_t, 256> DecodeTable() {
    std::array<int8_t, 256> table{};
    for (int8_t& v : table) v = -1;
    for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<int8_t>(i);
    for (const char blank : {' ', '\t', '\r', '\n'}) table[static_cast<unsigned char>(blank)] = -2;
    return table;
}

}  // namespace

std::string Base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const uint32_t group = static_cast<unsigned char>(bytes[i]) << 16 |
                               static_cast<unsigned char>(bytes[i + 1]) << 8 | static_cast<unsigned char>(bytes[i + 2]);
        for (const int shift : {18, 12, 6, 0}) out += kAlphabet[(group >> shift) & 0x3F];
    }
    const size_t rest = bytes.size() - i;
    if (rest > 0) {
        uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
        if (rest == 2) group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
        out += kAlphabet[(group >> 18) & 0x3F];
        out += kAlphabet[(group >> 12) & 0x3F];
        out += rest == 2 ? kAlphabet[(group >> 6) & 0x3F] : '=';
        out += '=';
    }
    return out;
}

std::string Base64Decode(std::string_view encoded) {
    static constexpr std::array<int8_t, 256> kTable = DecodeTable();
    std::string out;
    out.reserve(encoded.size() / 4 * 3);
    uint32_t bits = 0;
    int count = 0;
    for (const char c : encoded) {
        const int8_t v = kTable[static_cast<unsigned char>(c)];
        if (v == -2) continue;
        if (v < 0) break;
        bits = bits << 6 | static_cast<uint32_t>(v);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

}  // namespace text
