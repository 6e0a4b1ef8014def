// The reply writer: escaping, buffer reuse, and the fast decimal path giving
// exactly the text of the general shortest-form conversion.
#include "server/xml_reply.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <pugixml.hpp>
#include <random>

namespace {

std::string Decimal(double value) {
    char buffer[server::kMaxDecimalLength];
    return std::string(buffer, server::FormatDecimal(buffer, value));
}

std::string Reference(double value) {
    char buffer[server::kMaxDecimalLength];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return std::string(buffer, result.ptr);
}

TEST(FormatDecimal, MatchesTheShortestFixedForm) {
    EXPECT_EQ(Decimal(10.0), "10");
    EXPECT_EQ(Decimal(60000000000000.0), "60000000000000");
    EXPECT_EQ(Decimal(1e-7), "0.0000001");
    EXPECT_EQ(Decimal(-0.0), "0");

    std::mt19937_64 random(42);
    // Decimals with up to four places at every magnitude the data has, and
    // on both sides of the fast path's 1e11 limit.
    for (int i = 0; i < 50000; ++i) {
        const int places = static_cast<int>(random() % 5);
        const int64_t digits = static_cast<int64_t>(random() % 2000000000000000ull) >> (random() % 50);
        const double value = (i % 7 == 0 ? -1 : 1) * static_cast<double>(digits) / std::pow(10.0, places);
        if (value == 0) continue;  // -0 is written "0" on purpose, see above
        ASSERT_EQ(Decimal(value), Reference(value)) << digits << " / 10^" << places;
    }
    // Arbitrary doubles, mostly not near a short decimal.
    std::uniform_real_distribution<double> any(-2e11, 2e11);
    for (int i = 0; i < 50000; ++i) {
        const double value = any(random) / std::pow(10.0, static_cast<int>(random() % 12));
        ASSERT_EQ(Decimal(value), Reference(value)) << value;
    }
    // Float32 values as the dividend records carry them, widened to double.
    for (int i = 0; i < 20000; ++i) {
        const float f = static_cast<float>(random() % 10000000) / 1000.0f;
        ASSERT_EQ(Decimal(f), Reference(f)) << f;
    }
}

TEST(XmlReply, EscapesTextAndKeepsGbkBytes) {
    std::string buffer;
    server::XmlReply reply(buffer, "root");
    const std::string gbk = "\xC6\xD6\xB7\xA2";  // 浦发
    reply.Text("a", "x&y <z> \"q\"" + gbk);
    reply.Text("b", std::string("tab\there\x01\x1F end"));
    reply.Int("c", -2147483648LL);
    reply.Number("d", 29.5);
    const std::string_view xml = reply.Finish();
    EXPECT_EQ(xml, "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<root><a>x&amp;y &lt;z&gt; &quot;q&quot;" + gbk +
                       "</a><b>tab\there end</b><c>-2147483648</c><d>29.5</d></root>\n");
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_buffer(xml.data(), xml.size()));
    EXPECT_EQ(std::string(doc.child("root").child("a").text().get()), "x&y <z> \"q\"" + gbk);
}

TEST(XmlReply, ReusesItsBufferWithoutLeftovers) {
    std::string buffer;
    {
        server::XmlReply big(buffer, "r");
        for (int i = 0; i < 10000; ++i) big.Number("n", i + 0.5);
        EXPECT_GT(big.Finish().size(), 100000u);
    }
    std::string fresh;
    server::XmlReply huge(fresh, "r");
    huge.Text("t", std::string(100000, 'x'));  // one piece larger than twice the buffer
    EXPECT_EQ(huge.Finish().size(), 100000u + 55);
    server::XmlReply small(buffer, "r");
    small.Int("n", 1);
    EXPECT_EQ(small.Finish(), "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n<r><n>1</n></r>\n");
}

}  // namespace
