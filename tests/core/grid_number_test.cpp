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
    // Longer than the field of 14: nothing is cut.
    EXPECT_EQ(FormatGridNumber(1234567.123456789L, 9), "1234567.123456789");
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
