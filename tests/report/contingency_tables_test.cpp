// Contingency tables checked against lines laid out by hand: the two-by-two table at
// columns 17, 34 and 51 with its percentage lines, the ratio value and the row and column
// summaries at columns 1, 18 and 30.
#include "report/contingency_tables.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace zelkon {
namespace {

using test::PlainLines;

std::string Sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string Rule(int n) { return std::string(static_cast<std::size_t>(n), '='); }
std::string Dashes(int n) { return std::string(static_cast<std::size_t>(n), '-'); }
const std::string E1(1, ResultsReport::Emphasis1);

// One percentage field: " (" right-aligned in 10, the percentage in 3, "%)".
std::string Pct(const std::string& threeChars) { return Sp(8) + " (" + threeChars + "%)"; }

// A = 12, B = 0, C = 4, D = 24; N = 40: every percentage is a whole number
// (12/40 = 30%, 0%, 12/40 = 30%; 4/40 = 10%, 24/40 = 60%, 28/40 = 70%;
// 16/40 = 40%, 24/40 = 60%, 100%).
TwoByTwoRecord Table() {
    TwoByTwoRecord t;
    t.a = 12;
    t.b = 0;
    t.c = 4;
    t.d = 24;
    t.column1Title = "Exposed";
    t.column2Title = "Not exposed";
    t.row1Title = "Disease";
    // row 2 untitled: "Row 2"
    return t;
}

TEST(TwoByTwoTable, WholeTableWithoutMarkers) {
    ResultsReport report;
    WriteTwoByTwoTable(report, Table(), true);
    const std::vector<std::string> expected = {
        Sp(16) + Sp(8) + "Exposed" + Sp(2) + Sp(4) + "Not exposed" + Sp(2) + Sp(10) + "Total",
        Sp(8) + "Disease" + " " + Sp(13) + "12" + Sp(2) + Sp(14) + "0" + Sp(2) + Sp(13) + "12",
        // A cell of 0: bracket right-aligned in 10, 0 right-aligned in 3, "%)".
        Sp(16) + Pct(" 30") + Sp(2) + Pct("  0") + Sp(2) + Pct(" 30"),
        Sp(10) + "Row 2" + " " + Sp(14) + "4" + Sp(2) + Sp(13) + "24" + Sp(2) + Sp(13) + "28",
        Sp(16) + Pct(" 10") + Sp(2) + Pct(" 60") + Sp(2) + Pct(" 70"),
        "",
        Dashes(65),
        Sp(10) + "Total" + " " + Sp(13) + "16" + Sp(2) + Sp(13) + "24" + Sp(2) + Sp(13) + "40",
        Sp(16) + Pct(" 40") + Sp(2) + Pct(" 60") + Sp(2) + Pct("100"),
    };
    EXPECT_EQ(PlainLines(report), expected);

    const std::vector<std::string> raw = report.AllLines();
    ASSERT_EQ(raw.size(), expected.size());
    EXPECT_EQ(raw[0], E1 + expected[0] + E1);
    EXPECT_EQ(raw[1], E1 + Sp(8) + "Disease" + E1 + expected[1].substr(15));
    EXPECT_EQ(raw[2], expected[2]);
    EXPECT_EQ(raw[6], E1 + Dashes(65) + E1);
    EXPECT_EQ(raw[7], E1 + Sp(10) + "Total" + E1 + expected[7].substr(15));
}

TEST(TwoByTwoTable, MarkersFollowCellsBAndC) {
    ResultsReport report;
    WriteTwoByTwoRow(report, 1, "Disease", 12, 0, 40, false);
    WriteTwoByTwoRow(report, 2, "Row 2", 4, 24, 40, false);
    const std::vector<std::string> lines = PlainLines(report);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0],
              Sp(8) + "Disease" + " " + Sp(13) + "12" + Sp(2) + Sp(14) + "0" + "* " + Sp(13) + "12");
    EXPECT_EQ(lines[2],
              Sp(10) + "Row 2" + " " + Sp(14) + "4" + "* " + Sp(13) + "24" + Sp(2) + Sp(13) + "28");
}

TEST(TwoByTwoTable, ZeroGrandTotalLeavesPercentagesBlank) {
    ResultsReport report;
    WriteTwoByTwoRow(report, 1, "Empty", 0, 0, 0, true);
    const std::vector<std::string> lines = PlainLines(report);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], Sp(16) + Sp(8) + " (" + Sp(3) + "%)" + Sp(2) + Sp(8) + " (" + Sp(3) +
                            "%)" + Sp(2) + Sp(8) + " (" + Sp(3) + "%)");
}

TEST(RatioValue, InfinityMarkersAndNumbers) {
    ResultsReport report;
    WriteRatioValue(report, MissingValue);
    report.Write("|");
    WriteRatioValue(report, -MissingValue);
    report.Write("|");
    WriteRatioValue(report, 2.5L);  // five significant digits below 10: "2.500"
    report.Write("|");
    WriteRatioValue(report, 12.5L);
    EXPECT_EQ(report.Text(), "Infinity|-Infinity|2.500|12.500");
}

TEST(ContingencySummary, RowsByNumberAndColumnsByTitle) {
    ResultsReport report;
    WriteContingencySummaryHeading(report, ContingencyMargin::Rows);
    WriteContingencySummaryRow(report, 1, 30, 37.5L);
    WriteContingencySummaryRow(report, 2, 50, 62.5L);
    WriteContingencySummaryTotalRow(report, 80);
    WriteContingencySummaryHeading(report, ContingencyMargin::Columns);
    WriteContingencySummaryRow(report, "Smokers", 50, 62.5L);
    const std::vector<std::string> expected = {
        Sp(6) + "Row" + Sp(6) + Sp(2) + "  Total   " + Sp(2) + " Percent  ",
        Rule(15) + Sp(2) + Rule(10) + Sp(2) + Rule(8),
        Sp(14) + "1" + Sp(2) + Sp(8) + "30" + Sp(2) + Sp(2) + "37.50%",
        Sp(14) + "2" + Sp(2) + Sp(8) + "50" + Sp(2) + Sp(2) + "62.50%",
        Dashes(15) + Sp(2) + Dashes(10) + Sp(2) + Dashes(8),
        Sp(10) + "Total" + Sp(2) + Sp(8) + "80" + Sp(2) + " 100.00%",
        Sp(4) + "Column" + Sp(5) + Sp(2) + "  Total   " + Sp(2) + " Percent  ",
        Rule(15) + Sp(2) + Rule(10) + Sp(2) + Rule(8),
        Sp(8) + "Smokers" + Sp(2) + Sp(8) + "50" + Sp(2) + Sp(2) + "62.50%",
    };
    EXPECT_EQ(PlainLines(report), expected);
}

}  // namespace
}  // namespace zelkon
