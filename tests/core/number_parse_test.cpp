// Tests of reading typed numbers with the user's decimal separator.
#include "core/number_parse.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace zelkon {
namespace {

constexpr Separators Point{'.', ','};
constexpr Separators Comma{',', ';'};

// Expected values are the compiler's own correctly rounded long double literals.
TEST(ParseNumberTest, AcceptsTheGrammar) {
    struct Case {
        const char* text;
        Separators seps;
        Extended expected;
    };
    const Case cases[] = {
        {"2.5", Point, 2.5L},        {"-1.25e2", Point, -125.0L}, {"+4", Point, 4.0L},
        {"0.1", Point, 0.1L},        {"5.", Point, 5.0L},         {".5", Point, 0.5L},
        {"1E-3", Point, 0.001L},     {"3e+02", Point, 300.0L},    {"  7 \t", Point, 7.0L},
        {"1,5", Comma, 1.5L},        {"-0,125", Comma, -0.125L},  {"12", Comma, 12.0L},
        {"0", Point, 0.0L},          {"1.7E38", Point, MissingValue},
        {"123456789012345678", Point, 123456789012345678.0L},
    };
    for (const auto& c : cases) {
        Extended v = -99;
        EXPECT_TRUE(ParseNumber(c.text, c.seps, v)) << c.text;
        EXPECT_EQ(v, c.expected) << c.text;
    }
}

TEST(ParseNumberTest, RejectsEverythingElseAndLeavesTheResult) {
    struct Case {
        const char* text;
        Separators seps;
    };
    const Case cases[] = {
        {"", Point},      {"   ", Point},    {"abc", Point},  {"1.2.3", Point}, {"1e", Point},
        {"e5", Point},    {"+", Point},      {"-", Point},    {".", Point},     {"1 2", Point},
        {"--1", Point},   {"+-1", Point},    {"0x10", Point}, {"inf", Point},   {"nan", Point},
        {"1e5000", Point}, {"1,5", Point},   {"1.5", Comma},  {"5%", Point},    {"1e+", Point},
        {"#", Point},     {"1e2.5", Point},  {"1 e2", Point},
    };
    for (const auto& c : cases) {
        Extended v = 42;
        EXPECT_FALSE(ParseNumber(c.text, c.seps, v)) << c.text;
        EXPECT_EQ(v, 42.0L) << c.text;
    }
}

TEST(ParseNumberTest, WithPointAcceptsBothSeparators) {
    Extended v = 0;
    EXPECT_TRUE(ParseNumberWithPoint("1.5", Comma, v));
    EXPECT_EQ(v, 1.5L);
    EXPECT_TRUE(ParseNumberWithPoint("2,25", Comma, v));
    EXPECT_EQ(v, 2.25L);
    EXPECT_FALSE(ParseNumberWithPoint("1.5,2", Comma, v));  // still one separator only
    EXPECT_FALSE(ParseNumberWithPoint("1,5", Point, v));
}

TEST(ParseIntegerTest, WholeNumbersOnly) {
    std::int64_t v = 0;
    EXPECT_TRUE(ParseInteger("10", v));
    EXPECT_EQ(v, 10);
    EXPECT_TRUE(ParseInteger(" -3 ", v));
    EXPECT_EQ(v, -3);
    EXPECT_TRUE(ParseInteger("+7", v));
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(ParseInteger("2147483648", v));
    EXPECT_EQ(v, INT64_C(2147483648));
    v = 5;
    for (const char* bad : {"", " ", "1.0", "1e3", "+-5", "++5", "- 5", "9223372036854775808",
                            "12a", "0x1"}) {
        EXPECT_FALSE(ParseInteger(bad, v)) << bad;
        EXPECT_EQ(v, 5) << bad;
    }
}

}  // namespace
}  // namespace zelkon
