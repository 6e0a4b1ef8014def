// What a reply must be before anything of it is stored: longer than ten
// characters, XML read with GBK bytes kept, numbers an unquoted literal
// would be, and bars and dividend records that can exist.
#include <gtest/gtest.h>

#include "sync/record_check.h"
#include "sync/reply_values.h"
#include "sync/xml_reply.h"

namespace {

TEST(XmlReplyReading, RepliesOfTenCharactersOrFewerAfterTrimmingAreTooShort) {
    EXPECT_FALSE(IsLongEnough(""));
    EXPECT_FALSE(IsLongEnough("\xB4\xED"));  // one GBK character, two bytes
    EXPECT_FALSE(IsLongEnough(" \r\n\t0123456789 \r\n"));
    EXPECT_TRUE(IsLongEnough(" \r\n0123456789A\n"));
    EXPECT_TRUE(IsLongEnough("<a>ok</a> <b/>"));
}

TEST(XmlReplyReading, ReadOperationsKeepGbkBytes) {
    const std::string abbr = "\xCD\xF2\xBF\xC6\xA3\xC1";  // 万科Ａ
    const auto reply = XmlReply::Load("<?xml version=\"1.0\" encoding=\"gb2312\"?>\n"
                                      "<status><auth><update>20240111</update><cleanto> 20240104x</cleanto></auth>"
                                      "<news><item><titl>" + abbr + " &amp; co</titl></item><!-- note -->"
                                      "<other><titl>second</titl></other></news>"
                                      "<deep><x><daily><date>1</date></daily></x><daily><date>2</date></daily></deep>"
                                      "</status>");
    ASSERT_TRUE(reply);
    const XmlElement root = reply->Root();
    EXPECT_EQ(root.Child("auth").Child("update").Int(), 20240111);
    EXPECT_EQ(root.Child("auth").Child("cleanto").Int(), 20240104);  // leading number
    EXPECT_EQ(root.Child("auth").Child("missing").Int(), 0);
    EXPECT_EQ(root.Child("missing").Child("deeper").Text(), "");
    EXPECT_EQ(root.Child("missing").Text("fallback"), "fallback");

    const std::vector<XmlElement> items = root.Child("news").Children();
    ASSERT_EQ(items.size(), 2u);  // elements of any name; the comment is no item
    EXPECT_EQ(items[0].Child("titl").Text(), abbr + " & co");
    EXPECT_EQ(items[1].Child("titl").Text(), "second");

    const std::vector<XmlElement> daily = reply->SelectAll("//daily");
    ASSERT_EQ(daily.size(), 2u);  // anywhere, in document order
    EXPECT_EQ(daily[0].Child("date").Text(), "1");
    EXPECT_EQ(daily[1].Child("date").Text(), "2");
    EXPECT_TRUE(reply->SelectAll("//divid").empty());
}

TEST(BareNumber, AcceptsWhatAnUnquotedNumericLiteralWouldBe) {
    EXPECT_EQ(BareNumber(" \n20240102\t"), "20240102");
    for (const char* good : {"10.5", "-0.25", "+3", ".5", "5.", "6e10", "1.5E-3"}) EXPECT_EQ(BareNumber(good), good);
    for (const char* bad : {"", "  ", "abc", "NULL", "12abc", "1,5", "0x10", "1e", ".", "-", "1 2", "1+1", "'1'"})
        EXPECT_FALSE(BareNumber(bad)) << bad;
}

RecordFields Fields(const std::vector<std::string>& texts) {
    RecordFields fields;
    for (size_t i = 0; i < fields.size() && i < texts.size(); ++i)
        if (texts[i] != "NULL") fields[i] = texts[i];
    return fields;
}

constexpr int32_t kLatest = 20240105;

// The boundaries; every kind of impossible record also goes through a
// whole synchronisation in honest_sync_test.cpp.
TEST(RecordCheck, BoundariesOfThePossible) {
    const struct {
        std::vector<std::string> bar;
        bool possible;
    } bars[] = {
        {{"20240105", "10", "11", "9", "10.5", "NULL"}, true},  // tomorrow; no volume
        {{"20240104", "12", "11", "9", "8", "0"}, true},        // open above high, close below low: a vendor's bar
        {{"20000229", "1e-3", "1e-3", "1e-3", "1e-3", "0"}, true},
        {{"20240106", "10", "11", "9", "10", "1"}, false},
        {{"20230229", "10", "11", "9", "10", "1"}, false},
        {{"18991231", "10", "11", "9", "10", "1"}, false},
        {{"20240104.5", "10", "11", "9", "10", "1"}, false},
        {{"202201033333333333333333333334", "10", "11", "9", "10", "1"}, false},  // beyond int64_t (fuzzing)
        {{"20240104", "NULL", "11", "9", "10", "1"}, false},
        {{"20240104", "10", "11", "9", "10", "1e39"}, false},
    };
    for (const auto& c : bars) EXPECT_EQ(IsPossibleBar(Fields(c.bar), kLatest), c.possible) << c.bar[0] << c.bar[1];
    EXPECT_TRUE(IsPossibleDividend(Fields({"20991231", "1", "0", "2.5", "0", "0"})));  // ex-date still ahead
    EXPECT_FALSE(IsPossibleDividend(Fields({"20240104", "0", "NULL", "1", "0", "0"})));
}

}  // namespace
