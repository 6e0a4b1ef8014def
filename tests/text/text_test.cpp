#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "text/base64.h"
#include "text/format.h"
#include "text/gbk.h"
#include "text/parse.h"

namespace {

// "浦发银行" in GBK, byte for byte.
const std::string kPufaGbk = "\xC6\xD6\xB7\xA2\xD2\xF8\xD0\xD0";

TEST(Gbk, RoundTripsChineseAndSymbols) {
    EXPECT_EQ(text::Utf8ToGbk("浦发银行"), kPufaGbk);
    EXPECT_EQ(text::GbkToUtf8(kPufaGbk), "浦发银行");
    for (const char* s : {"◎Tavrin≡1≡1≡0≡6◎", "★数据需要同步★", "─", "万科Ａ", "ascii only 123"}) {
        EXPECT_EQ(text::GbkToUtf8(text::Utf8ToGbk(s)), s) << s;
    }
    EXPECT_EQ(text::Utf8ToGbk(""), "");
}

TEST(Gbk, BadInputIsReplacedNotDropped) {
    // An emoji has no GBK form; the rest of the text survives.
    EXPECT_EQ(text::Utf8ToGbk("a😀b"), "a?b");
    // A lone lead byte at the end of GBK text.
    EXPECT_EQ(text::GbkToUtf8("ab\xC6"), "ab\xEF\xBF\xBD");
    // Long text crosses the converter's buffer boundary intact.
    std::string long_text;
    for (int i = 0; i < 2000; ++i) long_text += "银行";
    EXPECT_EQ(text::GbkToUtf8(text::Utf8ToGbk(long_text)), long_text);
}

TEST(Parse, IntegersStopAtFirstNonDigitAndSaturate) {
    const std::vector<std::pair<const char*, int32_t>> cases = {
        {"  42abc", 42}, {"-7", -7}, {"+8", 8}, {"abc", 0}, {"", 0}, {"12.9", 12},
        {"99999999999", 2147483647}, {"-99999999999", -2147483647 - 1}};
    for (const auto& [input, expected] : cases) EXPECT_EQ(text::ParseInt(input), expected) << input;
    EXPECT_EQ(text::ParseInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(text::ParseInt64("99999999999999999999"), INT64_MAX);
}

TEST(Parse, RealsAcceptDecimalFormsOnly) {
    const std::vector<std::pair<const char*, double>> cases = {
        {" 10.25xyz", 10.25}, {"-1.5e2", -150.0}, {"3e", 3.0}, {".5", 0.5}, {"5.", 5.0}, {"abc", 0.0},
        {".", 0.0},           {"0x10", 0.0},      {"inf", 0.0}, {"nan", 0.0}, {"-", 0.0}};
    for (const auto& [input, expected] : cases) EXPECT_EQ(text::ParseReal(input), expected) << input;
    // A view ends where it ends: nothing past it is read (the sanitizers watch).
    const std::vector<char> exact = {'1', 'e', '2'};
    EXPECT_EQ(text::ParseReal(std::string_view(exact.data(), exact.size())), 100.0);
}

TEST(Format, FollowsPrintfRules) {
    EXPECT_EQ(text::Format("%.2f", 0.125), "0.12");  // binary 0.125 rounds to even
    EXPECT_EQ(text::Format("%s-%d", "SS", 600000), "SS-600000");
    const std::string big(5000, 'x');
    EXPECT_EQ(text::Format("%s!", big.c_str()).size(), 5001u);
}

}  // namespace

TEST(Base64, StandardAlphabetWithPadding) {
    const struct {
        std::string bytes;
        std::string encoded;
    } cases[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"\xFB\xFF\xBF", "+/+/"}};
    for (const auto& c : cases) {
        EXPECT_EQ(text::Base64Encode(c.bytes), c.encoded);
        EXPECT_EQ(text::Base64Decode(c.encoded), c.bytes);
    }
    EXPECT_EQ(text::Base64Decode("Zm9v\r\nYmFy"), "foobar");
    EXPECT_EQ(text::Base64Decode("Zm9v*YmFy"), "foo");  // stops at damage
}
