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

}  // namespace
}  // namespace zelkon
