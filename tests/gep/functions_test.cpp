#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "gep/functions.h"

namespace {

std::vector<std::string_view> Names(const GEP::TwoArgList& list) {
    std::vector<std::string_view> names;
    for (const auto& f : list) names.push_back(f->name());
    return names;
}

TEST(Functions, ListsFromNames) {
    EXPECT_EQ(Names(GEP::makeTwoArgFunctions("& |")), (std::vector<std::string_view>{"&", "|"}));
    EXPECT_EQ(Names(GEP::makeTwoArgFunctions("&  |")), (std::vector<std::string_view>{"&", "|"}));
    EXPECT_EQ(Names(GEP::makeTwoArgFunctions("  / bogus * /  ")), (std::vector<std::string_view>{"/", "*", "/"}));
    EXPECT_TRUE(GEP::makeTwoArgFunctions("~ sqrt").empty());

    const GEP::OneArgList one = GEP::makeOneArgFunctions("~ sqrt sin cos tan exp ln & x");
    ASSERT_EQ(one.size(), 7u);
    EXPECT_EQ(one[0]->name(), "~");
    EXPECT_EQ(one[6]->name(), "ln");

    EXPECT_EQ(GEP::makeLinkingFunction("&")->name(), "&");
    EXPECT_EQ(GEP::makeLinkingFunction("/")->name(), "/");
    EXPECT_EQ(GEP::makeLinkingFunction("~"), nullptr);
    EXPECT_EQ(GEP::makeLinkingFunction("& "), nullptr);
}

TEST(Functions, LogicalFunctionsAreBitwiseOnTruncatedIntegers) {
    // (a, b, a & b, a | b); ~ is "a truncates to 0".
    const double cases[][4] = {{3, 4, 0, 7}, {2, 1, 0, 3}, {0.7, 1, 0, 1}, {-1.2, 3, 3, -1}, {1, 0, 0, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(GEP::tfand().evaluate(c[0], c[1]), c[2]) << c[0] << " & " << c[1];
        EXPECT_EQ(GEP::tfor().evaluate(c[0], c[1]), c[3]) << c[0] << " | " << c[1];
    }
    for (const double a : {0.4, -0.5, -1.2, 1.0}) EXPECT_EQ(GEP::tfnot().evaluate(a), std::abs(a) < 1 ? 1.0 : 0.0) << a;
}

TEST(Functions, TruncationSaturatesOutsideTheIntRange) {
    EXPECT_EQ(GEP::truncToInt32(-2.9), -2);
    EXPECT_EQ(GEP::truncToInt32(1e20), std::numeric_limits<int>::max());
    EXPECT_EQ(GEP::truncToInt32(-1e20), std::numeric_limits<int>::min());
    EXPECT_EQ(GEP::truncToInt32(std::nan("")), 0);
}

TEST(Functions, ArithmeticDomains) {
    EXPECT_EQ(GEP::tfsqrt().evaluate(0.0), 0.0);
    EXPECT_THROW(GEP::tfsqrt().evaluate(-1e-9), GEP::ArithmeticError);
    EXPECT_THROW(GEP::tfln().evaluate(0.0), GEP::ArithmeticError);
    EXPECT_THROW(GEP::tfln().evaluate(-1.0), GEP::ArithmeticError);
    EXPECT_DOUBLE_EQ(GEP::tfln().evaluate(std::exp(2.0)), 2.0);
    EXPECT_THROW(GEP::tfdiv().evaluate(1.0, 0.0), GEP::ArithmeticError);
    EXPECT_THROW(GEP::tfdiv().evaluate(1.0, -0.0), GEP::ArithmeticError);
    EXPECT_DOUBLE_EQ(GEP::tfdiv().evaluate(1.0, 1e-300), 1e300);
    // Overflow is no error: it propagates as an IEEE value.
    EXPECT_TRUE(std::isinf(GEP::tfdiv().evaluate(1e300, 1e-300)));
    EXPECT_TRUE(std::isinf(GEP::tfexp().evaluate(1e6)));
    EXPECT_DOUBLE_EQ(GEP::tftan().evaluate(0.5), std::tan(0.5));  // + - * in Karva genes: chromosome_test.cpp
}

}  // namespace
