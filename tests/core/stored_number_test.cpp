// Tests of the stored-number and cell-text rules and of the digit counts.
#include "core/stored_number.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>

namespace zelkon {
namespace {

// Reads a text the way any reader of the format would: C-locale decimal text.
Extended ReadBack(const std::string& text) {
    std::string_view s(text);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    Extended v = 0;
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    EXPECT_EQ(r.ec, std::errc()) << text;
    EXPECT_EQ(r.ptr, s.data() + s.size()) << text;
    return v;
}

// Sign place, one digit, ".", at least three digits, "E", exponent sign, two to four digits.
bool HasExponentShape(const std::string& t) {
    auto digits = [&](std::size_t from, std::size_t to) {
        if (from >= to || to > t.size()) return false;
        for (std::size_t i = from; i < to; ++i) {
            if (t[i] < '0' || t[i] > '9') return false;
        }
        return true;
    };
    const std::size_t e = t.find('E');
    if (e == std::string::npos || e < 6 || e + 4 > t.size() || t.size() > e + 6) return false;
    return (t[0] == ' ' || t[0] == '-') && digits(1, 2) && t[2] == '.' && digits(3, e) &&
           (t[e + 1] == '+' || t[e + 1] == '-') && digits(e + 2, t.size());
}

TEST(StoredNumber, FixedBranchKeepsEveryDigitWithoutTrailingZeros) {
    // Hand-worked: the digits of the value, trailing zeros and a trailing point removed.
    EXPECT_EQ(FormatStoredNumber(100), "100");
    EXPECT_EQ(FormatStoredNumber(0), "0");
    EXPECT_EQ(FormatStoredNumber(-0.0L), "0");
    EXPECT_EQ(FormatStoredNumber(2.5L), "2.5");
    EXPECT_EQ(FormatStoredNumber(0.125L), "0.125");
    EXPECT_EQ(FormatStoredNumber(-3.75L), "-3.75");
    // A typed mean of 0.000123456789 was stored as 0.00012346 (8 decimals).
    EXPECT_EQ(FormatStoredNumber(0.000123456789L), "0.000123456789");
    EXPECT_EQ(FormatStoredNumber(1234567.12345678L), "1234567.12345678");
    EXPECT_EQ(FormatStoredNumber(-0.123456789012345L), "-0.123456789012345");
    // Computed values get the digits that read back exactly.  Python fractions: the 80-bit
    // values nearest 1/3 and 2/3 are first read back exactly from 20 and 19 digits.
    EXPECT_EQ(FormatStoredNumber(1.0L / 3.0L), "0.33333333333333333334");
    EXPECT_EQ(FormatStoredNumber(2.0L / 3.0L), "0.6666666666666666667");
    // The boundaries: 1E7 itself and a little above 1E-4 stay fixed.
    EXPECT_EQ(FormatStoredNumber(1E7L), "10000000");
    EXPECT_EQ(FormatStoredNumber(-1E7L), "-10000000");
    EXPECT_EQ(FormatStoredNumber(0.00010001L), "0.00010001");
}

TEST(StoredNumber, MissingAndNonFiniteGiveEmptyText) {
    EXPECT_EQ(FormatStoredNumber(MissingValue), "");
    EXPECT_EQ(FormatStoredNumber(std::numeric_limits<Extended>::infinity()), "");
    EXPECT_EQ(FormatStoredNumber(std::numeric_limits<Extended>::quiet_NaN()), "");
    EXPECT_EQ(FormatCellText(MissingValue, 2), "");
}

TEST(StoredNumber, ExponentFormKeepsAtLeastFourDigits) {
    // Values that need four or fewer significant digits keep the classic ten-character form.
    EXPECT_EQ(FormatStoredNumber(-0.00002L), "-2.000E-05");
    EXPECT_EQ(FormatStoredNumber(0.0001L), " 1.000E-04");
    EXPECT_EQ(FormatStoredNumber(1E8L), " 1.000E+08");
    EXPECT_EQ(FormatStoredNumber(12340000), " 1.234E+07");
    EXPECT_EQ(FormatStoredNumber(10000001), " 1.0000001E+07");
}

TEST(StoredNumber, ShapeCheckRejectsOtherForms) {
    EXPECT_TRUE(HasExponentShape(" 1.234E+07"));
    EXPECT_TRUE(HasExponentShape("-1.2345678E-100"));
    EXPECT_FALSE(HasExponentShape("1.234E+07"));
    EXPECT_FALSE(HasExponentShape(" 1.23E+07"));
    EXPECT_FALSE(HasExponentShape(" 1.234E+7"));
    EXPECT_FALSE(HasExponentShape(" 1.234e+07"));
}

TEST(StoredNumber, ExponentFormKeepsEveryTypedDigit) {
    // Written with four digits only, 12345678 came back as 12350000.
    EXPECT_EQ(FormatStoredNumber(12345678), " 1.2345678E+07");
    EXPECT_EQ(ReadBack(FormatStoredNumber(12345678)), 12345678);
    EXPECT_EQ(FormatStoredNumber(-0.000012345L), "-1.2345E-05");
    EXPECT_EQ(FormatStoredNumber(6.02214076E23L), " 6.02214076E+23");
    // Three exponent digits only where needed.
    EXPECT_EQ(FormatStoredNumber(1E100L), " 1.000E+100");
    EXPECT_EQ(FormatStoredNumber(-2.5E-300L), "-2.500E-300");
    // The sentinel's neighbours are ordinary values.
    EXPECT_EQ(FormatStoredNumber(1.7E39L), " 1.700E+39");
}

TEST(StoredNumber, ExponentFormReadsBackExactlyAndMinimally) {
    // Random extended values over the whole exponent range: the text reads back as the same
    // value, and one significant digit fewer (rounded by the C library) would not.
    std::mt19937_64 rng(20240611);
    std::uniform_real_distribution<double> mant(1.0, 10.0);
    std::uniform_int_distribution<int> exp10(-4000, 4000);
    for (int i = 0; i < 20000; ++i) {
        Extended v = static_cast<Extended>(mant(rng)) / 3.0L *
                     std::pow(10.0L, static_cast<Extended>(exp10(rng)));
        if (i % 2 == 1) v = -v;
        if (!NeedsExponentForm(v) || !std::isfinite(v) || v == 0) continue;
        const std::string text = FormatStoredNumber(v);
        ASSERT_TRUE(HasExponentShape(text)) << text;
        ASSERT_EQ(ReadBack(text), v) << text;
        const std::size_t digits = text.find('E') - 2;  // sign place and "." do not count
        if (digits > 4) {
            char shorter[80];
            std::snprintf(shorter, sizeof shorter, "%.*Le", static_cast<int>(digits) - 2, v);
            EXPECT_NE(ReadBack(shorter), v) << text << " could be " << shorter;
        }
    }
}

TEST(CellText, ShownTextUsesTheColumnDecimals) {
    EXPECT_EQ(FormatCellText(12.5L, 2), "12.50");
    EXPECT_EQ(FormatCellText(1.23456L, 2), "1.23");
    EXPECT_EQ(FormatCellText(3, 0), "3");
    EXPECT_EQ(FormatCellText(-7.5L, 3), "-7.500");
    EXPECT_EQ(FormatCellText(2.5L, -1), "2");  // negative decimals read as 0; exact ties go to even
    EXPECT_EQ(FormatCellText(-0.001L, 2), "0.00");
    // The exponent branch is the stored-number one, whatever the decimals.
    EXPECT_EQ(FormatCellText(12345678, 2), " 1.2345678E+07");
    EXPECT_EQ(FormatCellText(0.00002L, 5), " 2.000E-05");
}

TEST(CellText, StoredCellKeepsFifteenDigitsWhateverTheDecimals) {
    // The decimals pad with zeros but never cut a digit (1.23456 with 2 decimals was stored
    // as "1.23", 3.14159265358979 imported into a column of 11 as "3.14159265359").
    EXPECT_EQ(FormatStoredCell(12.5L, 2), "12.50");
    EXPECT_EQ(FormatStoredCell(1.23456L, 2), "1.23456");
    EXPECT_EQ(FormatStoredCell(3.14159265358979L, 11), "3.14159265358979");
    EXPECT_EQ(FormatStoredCell(1234.5L, 12), "1234.500000000000");
    EXPECT_EQ(FormatStoredCell(3, 0), "3");
    EXPECT_EQ(FormatStoredCell(0, 3), "0.000");
    EXPECT_EQ(FormatStoredCell(-0.0L, 1), "0.0");
    EXPECT_EQ(FormatStoredCell(-7.25L, 0), "-7.25");
    EXPECT_EQ(FormatStoredCell(MissingValue, 2), "");
    // Digits past the 15th are not the program's: hand-rounded at the 16th digit, and padding
    // adds zeros, not the binary value's further digits.
    EXPECT_EQ(FormatStoredCell(1.0L / 3.0L, 0), "0.333333333333333");
    EXPECT_EQ(FormatStoredCell(2.0L / 3.0L, 0), "0.666666666666667");
    EXPECT_EQ(FormatStoredCell(9999999.999999999L, 0), "10000000");
    EXPECT_EQ(FormatStoredCell(1234567.1L, 18), "1234567.100000000000000000");
    EXPECT_EQ(FormatStoredCell(0.000123456789012345L, 0), "0.000123456789012345");
    // Rounded to 15 digits this value would be 0.0001, which reads back in the exponent
    // form's range: it keeps the digits that give it back exactly.
    const Extended aboveLimit = std::nextafter(1E-4L, 1.0L);
    EXPECT_EQ(ReadBack(FormatStoredCell(aboveLimit, 0)), aboveLimit);
    EXPECT_GT(FormatStoredCell(aboveLimit, 0).size(), 20u);
    // The exponent branch is the stored-number one, whatever the decimals.
    EXPECT_EQ(FormatStoredCell(12345678, 2), " 1.2345678E+07");
    EXPECT_EQ(FormatStoredCell(0.00002L, 5), " 2.000E-05");
}

TEST(CellText, FixedTextsReadBackExactly) {
    // Random values of 1 to 15 significant digits across the fixed range, as typed: both
    // texts read back as the same value, and the cell text shows exactly the typed digits.
    std::mt19937_64 rng(20240612);
    std::uniform_int_distribution<int> digitCount(1, 15);
    std::uniform_int_distribution<int> exponent(-4, 6);
    std::uniform_int_distribution<int> digit(0, 9);
    for (int i = 0; i < 20000; ++i) {
        std::string digits(1, static_cast<char>('1' + digit(rng) % 9));
        const int count = digitCount(rng);
        while (static_cast<int>(digits.size()) < count) digits += static_cast<char>('0' + digit(rng));
        while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
        std::string typed = i % 3 == 0 ? "-" : "";
        typed.append(digits, 0, 1).append(".").append(digits, 1).append("e");
        typed.append(std::to_string(exponent(rng)));
        const Extended v = ReadBack(typed);
        if (NeedsExponentForm(v)) continue;
        ASSERT_EQ(ReadBack(FormatStoredNumber(v)), v) << typed;
        const std::string cell = FormatStoredCell(v, 0);
        ASSERT_EQ(ReadBack(cell), v) << typed;
        std::string shown;
        for (char c : cell) {
            if (c >= '0' && c <= '9') shown += c;
        }
        shown.erase(0, shown.find_first_not_of('0'));
        shown.erase(shown.find_last_not_of('0') + 1);  // the places of an integer's zeros
        ASSERT_EQ(shown, digits) << typed << " written " << cell;
    }
}

TEST(CellText, FieldDecimalsAreThoseTheReaderShows) {
    EXPECT_EQ(FieldDecimals("12.50"), 2);
    EXPECT_EQ(FieldDecimals("1234.500000000000"), 12);  // 16 digits: kept whole
    EXPECT_EQ(FieldDecimals("-1234567.12345678"), 8);
    EXPECT_EQ(FieldDecimals("3"), 0);
    EXPECT_EQ(FieldDecimals(std::string("1.").append(40, '0')), MaxStoredDecimals);
    EXPECT_EQ(FieldDecimals("2,25", ','), 2);
    // Exponent texts follow the counting rule, within 14 digits.
    EXPECT_EQ(FieldDecimals(" 2.000E-05"), 5);
    EXPECT_EQ(FieldDecimals(" 1.235E+07"), 0);
    EXPECT_EQ(FieldDecimals(" 1.000E-13"), 13);
    EXPECT_EQ(FieldDecimals(" 1.000E-14"), 0);
}

TEST(CountDigits, FixedAndExponentTexts) {
    // Hand counts following the reading rule.
    auto check = [](const char* text, int d, int i) {
        const DigitCounts c = CountDigits(text);
        EXPECT_EQ(c.decimals, d) << text;
        EXPECT_EQ(c.integerDigits, i) << text;
    };
    check("12.50", 2, 2);
    check("3", 0, 1);
    check("-12.5", 1, 3);
    check(".25", 2, 0);
    check(" 1.235E+07", 0, 8);  // blanks are not digits: 1 + 7
    check(" 2.000E-05", 5, 1);
    check("-1.2345E-05", 5, 1);
    check("1E99999999999", 0, 100001);  // a hostile exponent is held in range
    const DigitCounts comma = CountDigits("3,125", ',');
    EXPECT_EQ(comma.decimals, 3);
    EXPECT_EQ(comma.integerDigits, 1);
}

}  // namespace
}  // namespace zelkon
