// Tests of the rules shared by typed, pasted and imported values: rounding to 15 significant
// digits, the digit counts that raise a column's decimal places, and the raw-data flag.
#include "data/entered_value.h"

#include <gtest/gtest.h>

#include "core/data_table.h"

namespace zelkon {
namespace {

TEST(EnteredValueTest, RoundsToFifteenSignificantDigits) {
    // Hand-rounded: the 16th digit decides.
    EXPECT_EQ(RoundEnteredValue(1234567.123456789L), 1234567.12345679L);
    EXPECT_EQ(RoundEnteredValue(0.12345678901234549L), 0.123456789012345L);
    EXPECT_EQ(RoundEnteredValue(-9.99999999999999999L), -10.0L);
    EXPECT_EQ(RoundEnteredValue(1e15L), 1e15L);
    EXPECT_EQ(RoundEnteredValue(1.234e-15L), 1.234e-15L);
    EXPECT_EQ(RoundEnteredValue(0), 0.0L);
    EXPECT_TRUE(IsMissingValue(RoundEnteredValue(MissingValue)));
}

TEST(EnteredValueTest, PastedDigitCountsAreThoseOfTheOldTextCutTo14) {
    // Fixed notation with 12 decimals, trailing zeros removed, first 14 characters.
    EXPECT_EQ(EnteredDigitCounts(2.5L).decimals, 1);
    EXPECT_EQ(EnteredDigitCounts(2.5L).integerDigits, 1);
    EXPECT_EQ(EnteredDigitCounts(100).decimals, 0);
    EXPECT_EQ(EnteredDigitCounts(100).integerDigits, 3);
    EXPECT_EQ(EnteredDigitCounts(1234567.12345679L).decimals, 6);   // "1234567.123456"
    EXPECT_EQ(EnteredDigitCounts(-1234567.12345679L).decimals, 5);  // "-1234567.12345"
    EXPECT_EQ(EnteredDigitCounts(1.5e-10L).decimals, 11);           // "0.00000000015"
    EXPECT_EQ(EnteredDigitCounts(1.234e-15L).decimals, 0);          // "0."
    EXPECT_EQ(EnteredDigitCounts(3e20L).integerDigits, 14);
    EXPECT_EQ(EnteredDigitCounts(3e20L).decimals, 0);
}

TEST(EnteredValueTest, TypedDigitCounts) {
    EXPECT_EQ(TypedDigitCounts(12.345L).decimals, 3);
    EXPECT_EQ(TypedDigitCounts(12.345L).integerDigits, 2);
    EXPECT_EQ(TypedDigitCounts(0.5L).decimals, 1);
    EXPECT_EQ(TypedDigitCounts(1e-5L).decimals, 0);  // exponent form counts nothing
}

TEST(EnteredValueTest, RaiseDecimalsWithinFourteenDigits) {
    DataTable t;
    t.SetDecimals(0, 2);
    EXPECT_FALSE(RaiseDecimals(t, 0, {1, 3}));
    EXPECT_TRUE(RaiseDecimals(t, 0, {4, 10}));
    EXPECT_EQ(t.Decimals(0), 4);
    EXPECT_FALSE(RaiseDecimals(t, 0, {6, 9}));  // 15 digits
    EXPECT_EQ(t.Decimals(0), 4);
}

TEST(EnteredValueTest, NeededDecimals) {
    DataTable t;
    t.SetValue(0, 0, 1.5L);
    t.SetValue(1, 0, 12.345L);
    t.SetValue(2, 0, 1 / 3.0L);  // 0.33333333 as a computed value, 8 decimals
    EXPECT_EQ(NeededDecimals(t, 0), 8);
    t.SetValue(2, 0, 0.123456789012L);
    EXPECT_EQ(NeededDecimals(t, 0), 12);
    EXPECT_EQ(NeededDecimals(t, 1), 0);
}

TEST(EnteredValueTest, RecountRawDataNeverLeavesAStaleSummary) {
    DataTable t;
    t.SetValue(0, 0, 1);
    t.SetNoRawData(0, false);
    t.Record(0).title.assign(1, 'A');
    t.Record(0).n = 1;
    t.Record(0).mean = 1;
    t.SetValue(0, 0, MissingValue);
    RecountRawData(t, 0);
    EXPECT_TRUE(t.NoRawData(0));
    EXPECT_EQ(t.Record(0).n, 0);
    EXPECT_TRUE(IsMissingValue(t.Record(0).mean));
    EXPECT_EQ(t.Record(0).title, "A");
    // A column typed as averaged data keeps its record.
    t.Record(1).n = 10;
    t.Record(1).mean = 5;
    RecountRawData(t, 1);
    EXPECT_EQ(t.Record(1).n, 10);
    t.SetValue(3, 2, 7);
    RecountRawData(t, 2);
    EXPECT_FALSE(t.NoRawData(2));
}

}  // namespace
}  // namespace zelkon
