// Tests of the number format and the P value sentences.  Every expectation is worked out
// by hand from the format rule: e = floor(log10 |x|) (1 for zero); decimals d for d >= 0,
// |d| - e - 1 (at least 0) for d < 0 and e > 0, |d| - e - 2 for d < 0 and e <= 0; field
// width decimals + 2, plus e when e > 1; scientific notation for |x| >= 1e7 and for
// 0 < |x| <= 0.0001 with five mantissa decimals.
#include "stats/wording.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace zelkon {
namespace {

struct NumberCase {
    Extended x;
    int d;
    const char* text;
};

// Worked examples of the significant-digits rule (d < 0).
TEST(FormatNumber, SignificantDigits) {
    const NumberCase cases[] = {
        {5.0L, -4, "5.00"},           // e = 0, dec = 2, width 4
        {500.0L, -3, " 500"},         // e = 2, dec = 0, width 4
        {1234.6L, -4, " 1235"},       // e = 3, dec = 0, width 5
        {123.46L, -4, "123.5"},       // e = 2, dec = 1, width 5
        {12.346L, -4, "12.35"},       // e = 1, dec = 2, width 4 (text longer)
        {1.2346L, -4, "1.23"},        // e = 0, dec = 2, width 4
        {0.12346L, -4, "0.123"},      // e = -1, dec = 3, width 5
        {0.012346L, -4, "0.0123"},    // e = -2, dec = 4, width 6
        {0.0L, -5, "0.000"},          // e = 1 for zero, dec = 3, width 5
        {0.0L, -4, "0.00"},           // e = 1, dec = 2
        {1000.0L, -4, " 1000"},       // exact power of ten: e = 3
        {100.0L, -4, "100.0"},        // e = 2, dec = 1
        {10.0L, -4, "10.00"},         // e = 1, dec = 2
        {0.1L, -3, "0.10"},           // e = -1, dec = 2
        {0.001L, -4, "0.00100"},      // e = -3, dec = 5, width 7
        {12345.678L, -5, " 12346"},   // e = 4, dec = 0, width 6
        {9999999.0L, 0, " 9999999"},  // e = 6, dec = 0, width 8: last fixed value
        {-5.0L, -4, "-5.00"},         // a sign makes the text longer than the width
        {-500.0L, -3, "-500"},
        {-0.12346L, -4, "-0.123"},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(FormatNumber(c.x, c.d), c.text) << "x = " << static_cast<double>(c.x)
                                                  << ", d = " << c.d;
    }
}

TEST(FormatNumber, FixedDecimals) {
    const NumberCase cases[] = {
        {0.01234L, 4, "0.0123"},    // e = -2, width 6
        {3.14159L, 2, "3.14"},      // e = 0, width 4
        {123.456L, 2, "123.46"},    // e = 2, width 6
        {1234.5678L, 0, " 1235"},   // e = 3, width 5
        {5.0L, 0, " 5"},            // e = 0, width 2
        {0.0L, 4, "0.0000"},        // e = 1, width 6
        {0.99996L, 4, "1.0000"},    // rounds up
        {2.0L, 3, "2.000"},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(FormatNumber(c.x, c.d), c.text) << "x = " << static_cast<double>(c.x) << ", d = " << c.d;
    }
}

// Halves round away from zero, as by hand: exact binary halves (108.125, 1.0625, 28.5,
// 10000050), and values typed as a half that binary stores a hair off it (2.675 is held as
// 2.67499999999999999996, 0.005 a hair above).  A value below the half within its first 15
// significant digits rounds down.
TEST(FormatNumber, HalvesRoundAwayFromZero) {
    const NumberCase cases[] = {
        {108.125L, -5, "108.13"},  // e = 2, dec 2 (to even it was 108.12)
        {108.625L, -5, "108.63"},
        {-108.125L, -5, "-108.13"},
        {1.0625L, -5, "1.063"},  // e = 0, dec 3
        {28.5L, 0, "29"},        // e = 1, dec 0, width 2
        {2.5L, 0, " 3"},
        {0.5L, 0, " 1"},
        {-0.5L, 0, "-1"},
        {0.125L, 2, "0.13"},
        {-0.125L, 2, "-0.13"},
        {2.675L, 2, "2.68"},
        {0.005L, 2, "0.01"},
        {0.99995L, 4, "1.0000"},
        {10000050.0L, 0, "1.00001E+07"},  // six mantissa digits: 1.000005 rounds up
        {2.67499999999999L, 2, "2.67"},
        {108.12499999999L, -5, "108.12"},
        {0.0049999999999L, 2, "0.00"},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(FormatNumber(c.x, c.d), c.text) << "x = " << static_cast<double>(c.x)
                                                  << ", d = " << c.d;
    }
}

// A negative text that reads as zero is written as zero with the same decimals.
TEST(FormatNumber, NegativeZeroLosesItsSign) {
    EXPECT_EQ(FormatNumber(-0.0004L, 3), "0.000");  // e = -4, dec 3, width 5
    EXPECT_EQ(FormatNumber(-0.001L, 2), "0.00");    // e = -3, dec 2, width 4
    EXPECT_EQ(FormatNumber(-0.4L, 0), " 0");        // e = -1, dec 0, width 2
    EXPECT_EQ(FormatNumber(-0.0L, 2), "0.00");      // negative zero itself
    EXPECT_EQ(FormatNumber(-0.006L, 2), "-0.01");   // not zero: sign kept
}

// e is computed before rounding, so a value just below a power of ten keeps the decimals
// of the lower decade and its text grows by one digit.
TEST(FormatNumber, ValuesThatRoundUpToAPowerOfTen) {
    EXPECT_EQ(FormatNumber(9.9996L, -4), "10.00");    // e = 0, dec = 2, width 4
    EXPECT_EQ(FormatNumber(99.996L, -4), "100.00");   // e = 1, dec = 2
    EXPECT_EQ(FormatNumber(999.96L, -4), "1000.0");   // e = 2, dec = 1, width 5
    EXPECT_EQ(FormatNumber(0.99996L, -4), "1.000");   // e = -1, dec = 3, width 5
    EXPECT_EQ(FormatNumber(0.099996L, -4), "0.1000"); // e = -2, dec = 4, width 6
}

TEST(FormatNumber, ScientificNotation) {
    // 0 < |x| <= 0.0001 and |x| >= 1e7, whatever d is.
    EXPECT_EQ(FormatNumber(0.00005L, 4), "5.00000E-05");    // width 6: text longer
    EXPECT_EQ(FormatNumber(0.00005L, -4), "5.00000E-05");   // dec 7, width 9
    EXPECT_EQ(FormatNumber(0.0001L, 4), "1.00000E-04");     // the bound itself
    EXPECT_EQ(FormatNumber(-0.00005L, 2), "-5.00000E-05");
    EXPECT_EQ(FormatNumber(1.0E-8L, -4), " 1.00000E-08");   // dec 10, width 12
    EXPECT_EQ(FormatNumber(1.0E7L, 0), "1.00000E+07");      // the bound itself
    EXPECT_EQ(FormatNumber(12345678.9L, 2), "1.23457E+07"); // width 11
    EXPECT_EQ(FormatNumber(-98765432.0L, -4), "-9.87654E+07");
    EXPECT_EQ(FormatNumber(0.0000999999999L, 4), "1.00000E-04");  // mantissa rounds up
}

TEST(FormatNumber, ScientificFieldWidth) {
    // 6.02e23 with d = 0: e = 23, width 0 + 2 + 23 = 25 for an 11-character text.
    EXPECT_EQ(FormatNumber(6.02214076E23L, 0), std::string(14, ' ') + "6.02214E+23");
    // Three-digit exponents keep all their digits.
    EXPECT_EQ(FormatNumberWidth(1.0E100L, 0, 0), "1.00000E+100");
    EXPECT_EQ(FormatNumberWidth(-2.5E-300L, 0, 0), "-2.50000E-300");
}

// A field wider than the 80 characters the report takes in one piece is narrowed to 80,
// so that the number at its right end is never cut away.
TEST(FormatNumber, VeryWideFieldsAreNarrowedSoTheNumberSurvives) {
    // 1e-100 with d = -4: e = -100, dec = 102, width 104 -> 80.
    const std::string tiny = FormatNumber(1.0E-100L, -4);
    EXPECT_EQ(tiny, std::string(68, ' ') + "1.00000E-100");
    ResultsReport report;
    WriteNumber(report, 1.0E-100L, -4);
    EXPECT_EQ(report.Text(), tiny);
    EXPECT_EQ(report.Column(), 81);
}

TEST(FormatNumber, MissingValueIsBlanks) {
    // e = floor(log10 1.7e38) = 38: d = -4 gives dec 0 and width 40; d = 2 gives 42.
    EXPECT_EQ(FormatNumber(MissingValue, -4), std::string(40, ' '));
    EXPECT_EQ(FormatNumber(MissingValue, 2), std::string(42, ' '));
    EXPECT_EQ(FormatNumberWidth(MissingValue, 8, 3), std::string(8, ' '));
    EXPECT_EQ(FormatNumberWidth(MissingValue, 0, 3), "");
}

TEST(FormatNumber, CallerGivenWidth) {
    EXPECT_EQ(FormatNumberWidth(3.14159L, 8, 2), "    3.14");
    EXPECT_EQ(FormatNumberWidth(1234.6L, 10, -4), "      1235");  // dec 0 from d = -4
    EXPECT_EQ(FormatNumberWidth(0.12346L, 7, -4), "  0.123");
    EXPECT_EQ(FormatNumberWidth(123456.7L, 3, 1), "123456.7");  // longer: whole
    EXPECT_EQ(FormatNumberWidth(-0.0004L, 7, 3), "  0.000");
    EXPECT_EQ(FormatNumberWidth(0.00005L, 14, 4), "   5.00000E-05");
}

// With d = -1 the rule would give -1 decimals for |x| < 10; no decimals are written.
TEST(FormatNumber, NegativeDecimalsBecomeNone) {
    EXPECT_EQ(FormatNumber(5.0L, -1), " 5");     // dec 0, width 2
    EXPECT_EQ(FormatNumber(0.0L, -1), " 0");     // e = 1: dec 0, width 2
}

TEST(FormatNumber, WriteNumberAppendsToTheLine) {
    ResultsReport report;
    report.Write("t = ");
    WriteNumber(report, 500.0L, -3);
    report.Write(" and ");
    WriteNumberWidth(report, 2.5L, 6, 1);
    EXPECT_EQ(report.Text(), "t =  500 and    2.5");
    EXPECT_EQ(report.Column(), 20);
}

std::string Sentence(void (*writer)(ResultsReport&, int, bool, Extended), int tails,
                     bool verdict, Extended p) {
    ResultsReport report;
    writer(report, tails, verdict, p);
    return report.Text();
}

std::string Tailed(int tails, bool verdict, Extended p) {
    return Sentence(&WritePValueSentence, tails, verdict, p);
}

std::string Sided(int tails, bool verdict, Extended p) {
    return Sentence(&WriteSidedPValueSentence, tails, verdict, p);
}

TEST(PValueSentence, TailedForm) {
    EXPECT_EQ(Tailed(2, true, 0.0123L),
              "The two-tailed P value is 0.0123, considered significant.\r\n");
    EXPECT_EQ(Tailed(0, true, 0.00001L),
              "The P value is < 0.0001, considered extremely significant.\r\n");
    EXPECT_EQ(Tailed(1, false, 0.337L), "The one-tailed P value is 0.3370. \r\n");
    EXPECT_EQ(Tailed(0, false, 0.5L), "The P value is 0.5000. \r\n");
}

TEST(PValueSentence, TailedBounds) {
    // P <= 0.0001 is "< 0.0001"; P >= 0.9999 is "> 0.9999".
    EXPECT_EQ(Tailed(2, false, 0.0001L), "The two-tailed P value is < 0.0001. \r\n");
    EXPECT_EQ(Tailed(2, false, 0.0L), "The two-tailed P value is < 0.0001. \r\n");
    EXPECT_EQ(Tailed(2, false, 0.00016L), "The two-tailed P value is 0.0002. \r\n");
    EXPECT_EQ(Tailed(2, true, 0.99995L),
              "The two-tailed P value is > 0.9999, considered not significant.\r\n");
    EXPECT_EQ(Tailed(2, false, 0.9999L), "The two-tailed P value is > 0.9999. \r\n");
    EXPECT_EQ(Tailed(2, false, 1.0L), "The two-tailed P value is > 0.9999. \r\n");
    EXPECT_EQ(Tailed(2, false, 0.9998L), "The two-tailed P value is 0.9998. \r\n");
}

TEST(PValueSentence, SidedForm) {
    // "< 0.0001" only below 0.0001, no "> 0.9999" case.
    EXPECT_EQ(Sided(2, true, 0.0001L),
              "The two-sided P value is 0.0001, considered extremely significant.\r\n");
    EXPECT_EQ(Sided(1, false, 0.00009L), "The one-sided P value is < 0.0001. \r\n");
    EXPECT_EQ(Sided(2, false, 1.0L), "The two-sided P value is 1.0000. \r\n");
    EXPECT_EQ(Sided(2, true, 0.99996L),
              "The two-sided P value is 1.0000, considered not significant.\r\n");
    EXPECT_EQ(Sided(0, true, 0.0234L),
              "The P value is 0.0234, considered significant.\r\n");
}

TEST(PValueSentence, OtherTailsGiveNoTailWord) {
    EXPECT_EQ(Tailed(3, false, 0.25L), "The P value is 0.2500. \r\n");
    EXPECT_EQ(Tailed(-1, false, 0.25L), "The P value is 0.2500. \r\n");
    EXPECT_EQ(Sided(5, false, 0.25L), "The P value is 0.2500. \r\n");
}

TEST(PValueSentence, GradingBoundariesAreStrict) {
    struct Grade {
        Extended p;
        const char* word;
    };
    const Grade grades[] = {
        {0.0009L, "extremely "}, {0.001L, "very "},       {0.0099L, "very "},
        {0.01L, ""},             {0.0499L, ""},           {0.05L, "not quite "},
        {0.0999L, "not quite "}, {0.1L, "not "},          {0.9L, "not "},
    };
    for (const Grade& g : grades) {
        EXPECT_EQ(SignificanceWord(g.p), g.word) << static_cast<double>(g.p);
    }
    EXPECT_EQ(Tailed(2, true, 0.0499L),
              "The two-tailed P value is 0.0499, considered significant.\r\n");
    EXPECT_EQ(Tailed(2, true, 0.05L),
              "The two-tailed P value is 0.0500, considered not quite significant.\r\n");
    EXPECT_EQ(Tailed(2, true, 0.001L),
              "The two-tailed P value is 0.0010, considered very significant.\r\n");
    EXPECT_EQ(Tailed(2, true, 0.1L),
              "The two-tailed P value is 0.1000, considered not significant.\r\n");
}

TEST(PValueSentence, SignificanceWordAloneEndsNoLine) {
    ResultsReport report;
    report.Write("the difference is ");
    WriteSignificanceWord(report, 0.07L);
    report.Write("significant.");
    EXPECT_EQ(report.Text(), "the difference is not quite significant.");
    EXPECT_EQ(report.LineCount(), 0);
}

}  // namespace
}  // namespace zelkon
