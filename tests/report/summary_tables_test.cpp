// Summary tables checked against lines laid out by hand from the column positions, widths
// and heading texts of each table.  Numbers are written with five significant digits
// (four below 10): 12.346 -> "12.346", 3.5 -> "3.500", 0.25 -> "0.2500".
#include "report/summary_tables.h"

#include <gtest/gtest.h>

#include <array>

#include "report/rank_tables.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::PlainLines;

std::string Sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string Rule(int n) { return std::string(static_cast<std::size_t>(n), '='); }
const std::string E1(1, ResultsReport::Emphasis1);

TEST(SummaryOfData, BothTablesThroughTheSideReport) {
    ResultsReport report;
    auto side = ResultsReport::CreateSideReport();
    WriteSummaryHeading(report);
    WriteSummaryRangeHeading(*side);
    WriteSummaryRow(report, "Control", 5, 12.346L, 3.5L, 0.25L, MissingValue);
    WriteSummaryRangeRow(*side, "Control", 7.5L, 18.0L, 11.652L, 13.04L);
    report.AppendReport(*side);

    const std::vector<std::string> expected = {
        Sp(16) + "Number" + Sp(23) + "Standard",
        Sp(16) + "  of  " + Sp(12) + "Standard " + Sp(2) + "Error of",
        Sp(5) + "Group" + Sp(5) + " " + "Points" + Sp(3) + "  Mean  " + " " + "Deviation" +
            Sp(2) + "  Mean  " + Sp(2) + " Median ",
        Rule(15) + " " + Rule(6) + Sp(3) + Rule(8) + " " + Rule(9) + Sp(2) + Rule(8) + Sp(2) +
            Rule(8),
        // The missing median reads "Unknown" right-aligned in its 8 characters.
        Sp(8) + "Control" + " " + "    5" + Sp(4) + "  12.346" + " " + "   3.500" + Sp(3) +
            "  0.2500" + Sp(2) + " Unknown",
        "",
        Sp(34) + "95% Confidence Interval",
        Sp(5) + "Group" + Sp(5) + " " + "Minimum " + " " + "Maximum " + " " + "   From   " +
            " " + "    To    ",
        Rule(15) + " " + Rule(8) + " " + Rule(8) + " " + Rule(10) + " " + Rule(10),
        Sp(8) + "Control" + " " + "   7.500" + " " + "  18.000" + " " + "    11.652" + " " +
            "    13.040",
    };
    EXPECT_EQ(PlainLines(report), expected);

    // Heading blocks, underline included, sit inside the first emphasis; rows do not.
    const std::vector<std::string> raw = report.AllLines();
    ASSERT_EQ(raw.size(), expected.size());
    for (int i : {0, 1, 2, 3, 6, 7, 8}) {
        EXPECT_EQ(raw[i], E1 + expected[i] + E1) << "line " << i;
    }
    EXPECT_EQ(raw[4], expected[4]);
    EXPECT_EQ(raw[5], "");
    EXPECT_EQ(raw[9], expected[9]);
}

TEST(SummaryOfData, RowsFromColumnRecordsAndLongTitles) {
    ColumnRecord column;
    column.title = std::string(90, 'x');  // cut to 80 and written whole
    column.n = 12;
    column.mean = 100.0L;  // "100.00"
    column.sd = 0.0L;      // "0.000"
    column.sem = 0.0L;
    column.median = 99.5L;  // "99.500"
    column.minimum = MissingValue;
    column.maximum = 101.0L;
    column.lower95 = 98.0L;
    column.upper95 = 102.0L;
    ResultsReport report;
    WriteSummaryRow(report, column);
    WriteSummaryRangeRow(report, column);
    const std::string title(80, 'x');
    const std::vector<std::string> expected = {
        title + "   12" + "  100.00" + "   0.000" + "   0.000" + "  99.500",
        title + " Unknown" + "  101.00" + "    98.000" + "    102.00",
    };
    EXPECT_EQ(PlainLines(report), expected);
}

TEST(NormalityTable, HeadingAndEveryKindOfRow) {
    ResultsReport report;
    WriteNormalityHeading(report);
    WriteNormalityRow(report, "Four values", 4, true, MissingValue, MissingValue, false);
    WriteNormalityRow(report, "Averaged", 10, false, MissingValue, MissingValue, false);
    WriteNormalityRow(report, "Normal", 10, true, 0.1234L, 0.5L, true);
    WriteNormalityRow(report, "Skewed", 10, true, 0.3L, 0.0456L, false);
    WriteNormalityRow(report, "Very skewed", 20, true, 0.45L, 0.00005L, false);
    WriteNormalityRow(report, "Boundary", 8, true, 0.2L, 0.10L, true);  // 0.10 is not > 0.10
    WriteNormalityRow(report, "All equal", 6, true, MissingValue, MissingValue, false);

    const std::vector<std::string> expected = {
        Sp(5) + "Group" + Sp(5) + " " + "  KS  " + Sp(3) + "P Value " + " " +
            "Passed normality test?",
        Rule(15) + " " + Rule(6) + Sp(3) + Rule(8) + " " + Rule(23),
        Sp(4) + "Four values" + " " + "  Too few values to test.",
        Sp(7) + "Averaged" + " " + "  Normality test requires raw data.",
        Sp(9) + "Normal" + " " + "  0.1234" + " " + ">0.10" + Sp(4) + " Yes",
        Sp(9) + "Skewed" + " " + "  0.3000" + " " + " 0.0456" + Sp(2) + " No",
        Sp(4) + "Very skewed" + " " + "  0.4500" + " " + "<0.0001" + Sp(2) + " No",
        Sp(7) + "Boundary" + " " + "  0.2000" + " " + " 0.1000" + Sp(2) + " Yes",
        // No test was possible: nothing is claimed for the column.
        Sp(6) + "All equal",
    };
    EXPECT_EQ(PlainLines(report), expected);
}

TEST(RankTestSummary, HeadingAndRow) {
    ResultsReport report;
    WriteRankTestSummaryHeading(report);
    WriteRankTestSummaryRow(report, "Treated", 6, 4.5L, 2.0L, 9.0L);
    WriteRankTestSummaryRow(report, "Empty", 0, MissingValue, MissingValue, MissingValue);
    const std::vector<std::string> expected = {
        Sp(16) + "Number",
        Sp(16) + "  of  ",
        Sp(5) + "Group" + Sp(5) + " " + "Points" + Sp(3) + " Median " + " " + "Minimum " +
            Sp(3) + "Maximum ",
        Rule(15) + " " + Rule(6) + Sp(3) + Rule(8) + " " + Rule(8) + Sp(3) + Rule(8),
        Sp(8) + "Treated" + " " + "    6" + Sp(4) + "   4.500" + " " + "   2.000" + Sp(3) +
            "   9.000",
        Sp(10) + "Empty" + " " + "    0" + Sp(4) + " Unknown" + " " + Sp(8) + Sp(3) + Sp(8),
    };
    EXPECT_EQ(PlainLines(report), expected);
}

TEST(ParameterList, SkipsALaterEmptyColumnAndEmphasisesLabels) {
    std::array<ColumnRecord, 3> records;
    records[0].title = "Before";
    records[0].n = 3;
    records[0].mean = 2.0L;
    records[0].sd = 1.0L;
    records[0].sem = 0.57736L;
    records[0].minimum = 1.0L;
    records[0].maximum = 3.0L;
    records[0].median = 2.0L;
    records[0].lower95 = -0.48372L;
    records[0].upper95 = 4.4837L;
    records[1].title = "Unused";  // N = 0: not shown
    records[2].title = "After";
    records[2].n = 2;
    records[2].mean = 10.5L;
    records[2].sd = 0.70711L;
    records[2].sem = 0.5L;
    records[2].minimum = 10.0L;
    records[2].maximum = 11.0L;
    records[2].median = MissingValue;
    records[2].lower95 = 4.1469L;
    records[2].upper95 = 16.853L;

    ResultsReport report;
    WriteParameterList(report, records);
    const std::vector<std::string> expected = {
        Sp(4) + "Parameter:" + " " + Sp(9) + "Before" + " " + Sp(10) + "After",
        Sp(9) + "Mean:" + " " + Sp(10) + "2.000" + " " + Sp(9) + "10.500",
        Sp(2) + "# of points:" + " " + Sp(14) + "3" + " " + Sp(14) + "2",
        "Std deviation:" + std::string(" ") + Sp(10) + "1.000" + " " + Sp(9) + "0.7071",
        Sp(4) + "Std error:" + " " + Sp(9) + "0.5774" + " " + Sp(9) + "0.5000",
        Sp(6) + "Minimum:" + " " + Sp(10) + "1.000" + " " + Sp(9) + "10.000",
        Sp(6) + "Maximum:" + " " + Sp(10) + "3.000" + " " + Sp(9) + "11.000",
        Sp(7) + "Median:" + " " + Sp(10) + "2.000" + " " + Sp(8) + "Unknown",
        Sp(1) + "Lower 95% CI:" + " " + Sp(8) + "-0.4837" + " " + Sp(10) + "4.147",
        Sp(1) + "Upper 95% CI:" + " " + Sp(10) + "4.484" + " " + Sp(9) + "16.853",
    };
    EXPECT_EQ(PlainLines(report), expected);
    const std::vector<std::string> raw = report.AllLines();
    ASSERT_EQ(raw.size(), expected.size());
    EXPECT_EQ(raw[0], E1 + Sp(4) + "Parameter:" + E1 + expected[0].substr(14));
    EXPECT_EQ(raw[7], E1 + Sp(7) + "Median:" + E1 + expected[7].substr(14));
}

TEST(ParameterList, SingleColumnAndRowOperations) {
    ResultsReport report;
    WriteParameterTitleRow(report, {"One"});
    WriteParameterCountRow(report, PointsLabel, {25, 7, 9, 11});  // a fourth value is ignored
    WriteParameterValueOrUnknownRow(report, MinimumLabel, {MissingValue});
    const std::vector<std::string> expected = {
        Sp(4) + "Parameter:" + " " + Sp(12) + "One",
        Sp(2) + "# of points:" + " " + Sp(13) + "25" + " " + Sp(14) + "7" + " " + Sp(14) + "9",
        Sp(6) + "Minimum:" + " " + Sp(8) + "Unknown",
    };
    EXPECT_EQ(PlainLines(report), expected);
}

TEST(RankTables, KruskalWallisAndFriedman) {
    ResultsReport report;
    WriteKruskalWallisRankHeading(report);
    WriteKruskalWallisRankRow(report, "Low dose", 4, 26.0L, 6.5L);
    WriteFriedmanRankHeading(report);
    WriteFriedmanRankRow(report, "Low dose", 14.0L);
    const std::vector<std::string> expected = {
        Sp(17) + "Number " + Sp(2) + "  Sum  " + Sp(2) + " Mean  ",
        Sp(17) + "  of   " + Sp(2) + "  of   " + Sp(2) + "  of   ",
        Sp(5) + "Group" + Sp(5) + Sp(2) + "Points " + Sp(2) + " Ranks " + Sp(2) + " Ranks ",
        Rule(15) + Sp(2) + Rule(7) + Sp(2) + Rule(7) + Sp(2) + Rule(7),
        Sp(7) + "Low dose" + Sp(2) + Sp(6) + "4" + Sp(2) + " 26.000" + Sp(2) + "  6.500",
        Sp(17) + "  Sum  ",
        Sp(17) + "  of   ",
        Sp(5) + "Group" + Sp(5) + Sp(2) + " Ranks ",
        Rule(15) + Sp(2) + Rule(7),
        Sp(7) + "Low dose" + Sp(2) + " 14.000",
    };
    EXPECT_EQ(PlainLines(report), expected);
}

}  // namespace
}  // namespace zelkon
