#pragma once
// Base64 with the standard alphabet, "=" filling the last group and no line
// breaks: how strategy files carry the stored report and the trade-log
// script, whose GBK bytes are not XML text.
#include <string>
#include <string_view>

namespace text {

std::string Base64Encode(std::string_view bytes);

// The bytes of `encoded`. White space is skipped; decoding stops at the
// first "=" or at any character outside the alphabet, so damaged text gives
// the bytes before the damage.
std::string Base64Decode(std::string_view encoded);

}  // namespace text
