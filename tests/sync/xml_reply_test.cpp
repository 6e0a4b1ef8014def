// Reading replies: the 10-character rule, what loads, and the read
// operations, with GBK text kept byte for byte.
#include <gtest/gtest.h>

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
    EXPECT_EQ(BareNumber("10.5"), "10.5");
    EXPECT_EQ(BareNumber(" \n20240102\t"), "20240102");
    EXPECT_EQ(BareNumber("-0.25"), "-0.25");
    EXPECT_EQ(BareNumber("+3"), "+3");
    EXPECT_EQ(BareNumber(".5"), ".5");
    EXPECT_EQ(BareNumber("5."), "5.");
    EXPECT_EQ(BareNumber("6e10"), "6e10");
    EXPECT_EQ(BareNumber("1.5E-3"), "1.5E-3");
    for (const char* bad : {"", "  ", "abc", "NULL", "12abc", "1,5", "0x10", "1e", ".", "-", "1 2", "1+1", "'1'"})
        EXPECT_FALSE(BareNumber(bad)) << bad;
}

}  // namespace
