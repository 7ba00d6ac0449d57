// Tests of the grid display rule and of the decimals a column shows.  Expected texts are
// written by hand from the rule: exponent form outside 0.0001 < |v| <= 1E7 (sign place,
// seven significant digits, two-digit exponent), fixed notation otherwise.
#include "core/grid_number.h"

#include <gtest/gtest.h>

#include "core/data_table.h"

namespace zelkon {
namespace {

TEST(FormatGridNumber, MissingIsEmpty) { EXPECT_EQ(FormatGridNumber(MissingValue, 2), ""); }

TEST(FormatGridNumber, FixedNotation) {
    EXPECT_EQ(FormatGridNumber(2.5L, 2), "2.50");
    EXPECT_EQ(FormatGridNumber(2.46L, 0), "2");
    EXPECT_EQ(FormatGridNumber(2.54L, 0), "3");
    EXPECT_EQ(FormatGridNumber(-12.3456L, 3), "-12.346");
    EXPECT_EQ(FormatGridNumber(0, 3), "0.000");
    EXPECT_EQ(FormatGridNumber(0, -1), "0");      // a negative count reads as 0
    EXPECT_EQ(FormatGridNumber(10000000, 1), "10000000.0");  // 1E7 itself is fixed
    EXPECT_EQ(FormatGridNumber(-10000000, 0), "-10000000");
    EXPECT_EQ(FormatGridNumber(0.00011L, 5), "0.00011");
    EXPECT_EQ(FormatGridNumber(0.00011L, 2), "0.00");
    // Longer than the field of 14: nothing is cut, but only 15 significant digits are the
    // value's; further decimals are zeros, never the binary value's noise.
    EXPECT_EQ(FormatGridNumber(1234567.123456789L, 9), "1234567.123456790");
    EXPECT_EQ(FormatGridNumber(1234567.1L, 18), "1234567.100000000000000000");
    EXPECT_EQ(FormatGridNumber(12345.678L, 16), "12345.6780000000000000");
    EXPECT_EQ(FormatGridNumber(-22026.465794806718L, 15), "-22026.465794806700000");
    EXPECT_EQ(FormatGridNumber(0.125L, 17), "0.12500000000000000");
}

// Texts that fit a narrow cell, counted in characters (the sheet measures pixels instead).
// By hand: exp(10) = 22026.465794806718; shown with 8 decimals "22026.46579481" (14).
TEST(FitGridText, NeverHidesLeadingDigits) {
    const Extended e10 = 22026.465794806718L;
    struct Case {
        Extended v;
        int decimals;
        std::size_t width;
        const char* shown;
    } cases[] = {
        {e10, 8, 14, "22026.46579481"},  // fits whole
        {e10, 8, 12, "22026.4657.."},    // cut on the right, marked
        {e10, 8, 9, "22026.4.."},        // at least one decimal is kept ...
        {e10, 8, 8, "2.20E+04"},         // ... else the exponent form that fits
        {e10, 8, 7, "2.2E+04"},
        {e10, 8, 5, "2E+04"},
        {e10, 8, 3, "2E+04"},            // nothing fits: the shortest form, not a cut
        {12345678, 0, 13, " 1.234568E+07"},
        {12345678, 0, 12, "1.234568E+07"},  // the sign place goes first
        {12345678, 0, 9, "1.235E+07"},
        {-0.000025L, 4, 8, "-2.5E-05"},
        {123456, 0, 5, "1E+05"},           // no decimals to cut
        {MissingValue, 2, 1, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FitGridText(c.v, c.decimals, c.width), c.shown) << c.shown;
    }
}

TEST(FullGridText, EveryDigitTheValueHolds) {
    EXPECT_EQ(FullGridText(22026.465794806718L), "22026.4657948067");
    EXPECT_EQ(FullGridText(1.5L), "1.5");
    EXPECT_EQ(FullGridText(-3), "-3");
    EXPECT_EQ(FullGridText(12345678), "1.2345678E+07");
    EXPECT_EQ(FullGridText(MissingValue), "");
}

TEST(FormatGridNumber, ExponentForm) {
    EXPECT_EQ(FormatGridNumber(12345678, 2), " 1.234568E+07");
    EXPECT_EQ(FormatGridNumber(-12345678, 2), "-1.234568E+07");
    EXPECT_EQ(FormatGridNumber(10000001, 0), " 1.000000E+07");
    EXPECT_EQ(FormatGridNumber(0.0001L, 4), " 1.000000E-04");  // 0.0001 itself is exponent
    EXPECT_EQ(FormatGridNumber(-0.000025L, 4), "-2.500000E-05");
    EXPECT_EQ(FormatGridNumber(99999999.5L, 0), " 1.000000E+08");  // rounds up a decade
    EXPECT_EQ(FormatGridNumber(6.02214076e23L, 3), " 6.022141E+23");
    EXPECT_EQ(FormatGridNumber(1.5e-300L, 3), " 1.500000E-300");
}

TEST(ShownDecimals, DisplayFormatOverDecimalPlaces) {
    DataTable table;
    EXPECT_EQ(ShownDecimals(table, 0), 0);  // automatic, 0 places after creation
    table.SetDecimals(0, 3);
    EXPECT_EQ(ShownDecimals(table, 0), 3);
    table.SetDisplayFormat(0, 1);
    EXPECT_EQ(ShownDecimals(table, 0), 1);
    table.SetDisplayFormat(0, 0);
    EXPECT_EQ(ShownDecimals(table, 0), 0);
    table.SetDisplayFormat(0, -1);
    EXPECT_EQ(ShownDecimals(table, 0), 3);
    EXPECT_EQ(ShownDecimals(table, ScratchColumn), 0);
}

}  // namespace
}  // namespace zelkon
