#include "core/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace zelkon {
namespace {

TEST(JsonWriter, NestedStructureWithSeparators) {
    JsonWriter w;
    w.BeginObject().Field("n", std::int32_t{3}).Field("ok", true).Key("values").BeginArray();
    w.Number(1.5L).Number(MissingValue).Integer(-2).EndArray();
    w.Key("inner").BeginObject().Field("s", "a\"b\\c\r\n").EndObject().EndObject();
    EXPECT_EQ(w.Text(),
              "{\"n\":3,\"ok\":true,\"values\":[1.5,null,-2],"
              "\"inner\":{\"s\":\"a\\\"b\\\\c\\r\\n\"}}");
}

TEST(JsonWriter, NumbersReadBackExactlyAndNonFiniteIsNull) {
    const Extended third = 1.0L / 3.0L;
    JsonWriter w;
    w.Number(third);
    EXPECT_EQ(std::strtold(w.Text().c_str(), nullptr), third);
    JsonWriter n;
    n.BeginArray().Number(std::numeric_limits<Extended>::infinity()).Number(NAN).EndArray();
    EXPECT_EQ(n.Text(), "[null,null]");
}

TEST(JsonWriter, Latin1TextBecomesUtf8AndControlBytesAreEscaped) {
    JsonWriter w;
    w.String(std::string("\xB5g\x01", 3));  // micro sign, g, a control byte
    EXPECT_EQ(w.Text(), "\"\xC2\xB5g\\u0001\"");
}

TEST(JsonWriter, Utf8TextStaysAndInvalidBytesBecomeReplacementCharacters) {
    // Byte sequences by the UTF-8 definition (RFC 3629): a lone continuation byte, a lead
    // byte without its continuation, an overlong "/" (C0 AF), a surrogate (ED A0 80) and a
    // code point past U+10FFFF (F4 90 80 80) are not UTF-8.
    const std::string replacement = "\xEF\xBF\xBD";
    auto written = [](std::string_view text) {
        JsonWriter w;
        w.Utf8String(text);
        return w.Text();
    };
    EXPECT_EQ(written("donn\xC3\xA9" "es \xE6\x95\xB0 \xF0\x9F\x98\x80"),
              "\"donn\xC3\xA9" "es \xE6\x95\xB0 \xF0\x9F\x98\x80\"");
    EXPECT_EQ(written("a\x80" "b"), "\"a" + replacement + "b\"");
    EXPECT_EQ(written("\xC3"), "\"" + replacement + "\"");
    EXPECT_EQ(written("\xC0\xAF"), "\"" + replacement + replacement + "\"");
    EXPECT_EQ(written("\xED\xA0\x80"), "\"" + replacement + replacement + replacement + "\"");
    EXPECT_EQ(written("\xF4\x90\x80\x80").size(), 2 + 4 * replacement.size());
    EXPECT_EQ(written("x\x7F\x1F"), "\"x\\u007f\\u001f\"");
}

}  // namespace
}  // namespace zelkon
