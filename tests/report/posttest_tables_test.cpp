// Post-test comparison tables checked against lines laid out by hand: comparison text at
// the line start, difference at column 36, statistic at 47, code at 55 (47 for Dunn,
// 56 unaligned for the comparisons with a control).
#include "report/posttest_tables.h"

#include <gtest/gtest.h>

#include "report/results_tables_common.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::PlainLines;

std::string Sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string Rule(int n) { return std::string(static_cast<std::size_t>(n), '='); }
const std::string E1(1, ResultsReport::Emphasis1);

// "Group A vs Group B" laid out as title (15, right), joint, title (15, left).
const std::string PairAB = Sp(8) + "Group A" + " vs " + "Group B" + Sp(8);

TEST(SignificanceCodes, BoundariesBelongToTheStrongerCode) {
    EXPECT_EQ(SignificanceCode(0.0L), "*** P<0.001");
    EXPECT_EQ(SignificanceCode(0.001L), "*** P<0.001");
    EXPECT_EQ(SignificanceCode(static_cast<Extended>(0.001)), "*** P<0.001");  // a double 0.001
    EXPECT_EQ(SignificanceCode(0.0010001L), "**  P<0.01");
    EXPECT_EQ(SignificanceCode(0.01L), "**  P<0.01");
    EXPECT_EQ(SignificanceCode(static_cast<Extended>(0.01)), "**  P<0.01");
    EXPECT_EQ(SignificanceCode(0.05L), "*   P<0.05");
    EXPECT_EQ(SignificanceCode(static_cast<Extended>(0.05)), "*   P<0.05");
    EXPECT_EQ(SignificanceCode(0.0500001L), "ns  P>0.05");
    EXPECT_EQ(SignificanceCode(1.0L), "ns  P>0.05");
    EXPECT_EQ(SignificanceCode(2.4L), "ns  P>0.05");  // a Bonferroni P times C above 1

    EXPECT_EQ(ControlSignificanceCode(0.001L), "**  P<0.01");
    EXPECT_EQ(ControlSignificanceCode(0.01L), "**  P<0.01");
    EXPECT_EQ(ControlSignificanceCode(0.05L), "*   P<0.05");
    EXPECT_EQ(ControlSignificanceCode(1.0L), "ns  P>0.05");
}

TEST(ComparisonTable, BonferroniHeadingRowsAndIntervalBlock) {
    ResultsReport report;
    WriteComparisonHeading(report, BonferroniStatisticName);
    WriteComparisonRow(report, "Group A", "Group B", -3.75L, 2.1234L, 0.001L);
    WriteComparisonRow(report, "Group A", "Group B", -3.75L, 2.1234L, 0.05L);
    WriteComparisonRow(report, "Group A", "Group B", -3.75L, 2.1234L, 0.0099L);
    WriteComparisonRow(report, "Group A", "Group B", -3.75L, 2.1234L, 1.7L);
    WriteComparisonIntervalHeading(report);
    WriteComparisonIntervalRow(report, "Group A", "Group B", -3.75L, -7.2L, -0.3L);

    const std::string rowStart = PairAB + " " + Sp(4) + "-3.750" + " " + "  2.123" + " ";
    const std::vector<std::string> expected = {
        Sp(35) + "   Mean   ",
        Sp(12) + "Comparison" + Sp(12) + " " + "Difference" + " " + "   t    " + "  P value  ",
        Rule(34) + " " + Rule(10) + " " + Rule(7) + " " + Rule(11),
        rowStart + "*** P<0.001",
        rowStart + " *   P<0.05",
        rowStart + " **  P<0.01",
        rowStart + " ns  P>0.05",
        "",
        Sp(35) + "   Mean   " + " " + "95% Confidence Interval",
        Sp(12) + "Difference" + Sp(12) + " " + "Difference" + " " + " From  " + " " + "  To   ",
        Rule(34) + " " + Rule(10) + " " + Rule(7) + " " + Rule(7),
        Sp(8) + "Group A" + " - " + "Group B" + Sp(8) + Sp(2) + Sp(4) + "-3.750" + " " +
            " -7.200" + " " + "-0.3000",
    };
    EXPECT_EQ(PlainLines(report), expected);

    const std::vector<std::string> raw = report.AllLines();
    ASSERT_EQ(raw.size(), expected.size());
    EXPECT_EQ(raw[0], E1 + expected[0] + E1);
    EXPECT_EQ(raw[2], E1 + expected[2] + E1);
    EXPECT_EQ(raw[3], expected[3]);
    EXPECT_EQ(raw[7], "");
    EXPECT_EQ(raw[8], E1 + expected[8] + E1);
}

TEST(ComparisonTable, NewmanKeulsUntestedPairAndTukeyName) {
    ResultsReport report;
    WriteComparisonHeading(report, TukeyStatisticName);
    WriteNewmanKeulsRow(report, "Group A", "Group B", 1.25L, MissingValue, 1.0L);
    WriteNewmanKeulsRow(report, "Group A", "Group B", 1.25L, 4.5L, 0.01L);
    const std::vector<std::string> lines = PlainLines(report);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], Sp(12) + "Comparison" + Sp(12) + " " + "Difference" + " " + "   q    " +
                            "  P value  ");
    EXPECT_EQ(lines[3], PairAB + " " + Sp(5) + "1.250" + " " + "  ---  " + " " + " ns  P>0.05");
    EXPECT_EQ(lines[4], PairAB + " " + Sp(5) + "1.250" + " " + "  4.500" + " " + " **  P<0.01");
}

TEST(DunnTable, BothFormsAndRow) {
    ResultsReport report;
    WriteDunnHeading(report, DunnForm::KruskalWallis);
    WriteDunnRow(report, "Group A", "Group B", 12.5L, 0.001L);
    WriteDunnHeading(report, DunnForm::Friedman);
    const std::vector<std::string> expected = {
        Sp(35) + "Mean Rank ",
        Sp(12) + "Comparison" + Sp(12) + " " + "Difference" + " " + "  P value  ",
        Rule(34) + " " + Rule(10) + " " + Rule(11),
        Sp(8) + "Group A" + " vs. " + "Group B" + Sp(8) + Sp(4) + "12.500" + " " +
            "*** P<0.001",
        Sp(35) + " Rank Sum ",
        Sp(12) + "Comparison" + Sp(12) + " " + "Difference" + " " + "  P value  ",
        Rule(34) + " " + Rule(10) + " " + Rule(11),
    };
    EXPECT_EQ(PlainLines(report), expected);
}

TEST(ControlTable, WithStatisticAndIntervalBlock) {
    ResultsReport report;
    WriteControlHeading(report, true);
    WriteControlRow(report, "Control", "Drug", 4.25L, 3.1L, 0.01L);
    WriteControlRow(report, "Control", "Drug", 4.25L, 3.1L, 0.05L);
    WriteControlRow(report, "Control", "Drug", 4.25L, 3.1L, 1.0L);
    WriteControlIntervalHeading(report);
    WriteControlIntervalRow(report, "Control", "Drug", 4.25L, 1.5L, 7.0L);
    const std::string rowStart =
        Sp(8) + "Control" + " vs " + "Drug" + Sp(11) + " " + Sp(5) + "4.250" + " " + "   3.100" + " ";
    const std::vector<std::string> expected = {
        Sp(35) + "   Mean   ",
        Sp(12) + "Comparison" + Sp(12) + " " + "Difference" + " " + "   q    " + " " + " P value  ",
        Rule(34) + " " + Rule(10) + " " + Rule(8) + " " + Rule(10),
        rowStart + "**  P<0.01",
        rowStart + "*   P<0.05",
        rowStart + "ns  P>0.05",
        "",
        Sp(35) + "   Mean   " + " " + " Lower  " + " " + " Upper  ",
        Sp(12) + "Difference" + Sp(12) + " " + "Difference" + " " + " 95% CI " + " " + " 95% CI ",
        Rule(34) + " " + Rule(10) + " " + Rule(8) + " " + Rule(8),
        Sp(8) + "Control" + " - " + "Drug" + Sp(11) + Sp(2) + Sp(5) + "4.250" + " " + "   1.500" +
            " " + "   7.000",
    };
    EXPECT_EQ(PlainLines(report), expected);
}

TEST(ControlTable, WithoutStatisticTheCodeStaysAtItsColumn) {
    ResultsReport report;
    WriteControlHeading(report, false);
    WriteControlRow(report, "Control", "Drug", 4.25L, std::nullopt, 0.001L);
    const std::vector<std::string> expected = {
        Sp(35) + "   Mean   ",
        Sp(12) + "Comparison" + Sp(12) + " " + "Difference" + Sp(10) + " P value  ",
        Rule(34) + " " + Rule(10) + Sp(10) + Rule(10),
        Sp(8) + "Control" + " vs " + "Drug" + Sp(11) + " " + Sp(5) + "4.250" + Sp(10) +
            "**  P<0.01",
    };
    EXPECT_EQ(PlainLines(report), expected);
}

}  // namespace
}  // namespace zelkon
