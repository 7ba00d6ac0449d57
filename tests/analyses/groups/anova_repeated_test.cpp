// Repeated-measures ANOVA: the complete-block check, the sums of squares, F and the
// matching F against R's aov(y ~ treatment + subject), every branch of the report, post
// tests with the repeated-measures residual, and the error codes 11, 13 and 15.
#include "analyses/groups/anova_repeated.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analyses/groups/multi_column_block.h"
#include "analyses/groups/multi_column_entry.h"
#include "core/column_data_helpers.h"
#include "core/fp_guard.h"
#include "stats/column_stats.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::AddRawColumn;
using test::PlainLines;

std::string Sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

void ExpectRel(Extended actual, double expected, double tolerance) {
    EXPECT_NEAR(static_cast<double>(actual), expected, tolerance * std::fabs(expected));
}

struct RepeatedRun : ::testing::Test {
    DataTable table;
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    std::array<std::uint8_t, PairFlagCount> flags = AllPairFlagsSet();

    void Run(std::uint8_t mode = PostTestMode::None, std::uint8_t kind = PostTestKind::Tukey) {
        UpdateColumnSummaries(table);
        report.Reset();
        out.errorCode = 0;
        out.helpTopic = 0;
        out.resultJson.clear();
        const MultiColumnRequest request{table, false, false, flags, false, true, 0, mode, kind};
        MultiColumnComparison(request, out);
    }
    std::vector<std::string> Lines() const { return PlainLines(report); }
    RepeatedMeasuresSums Sums() {
        UpdateColumnSummaries(table);
        table.BuildColumnMap();
        RepeatedMeasuresSums s;
        code = RepeatedMeasuresSumsOfSquares(table, CollectAnalysedColumns(table), s);
        table.ResetColumnMap();
        return s;
    }
    // Five subjects under three treatments:
    //   A <- c(10,12,9,14,11); B <- c(13,15,11,17,15); C <- c(15,16,14,19,15)
    //   summary(aov(y ~ tr + su)) with tr the column and su the row.
    void Subjects() {
        AddRawColumn(table, 0, {10, 12, 9, 14, 11}, "Before");
        AddRawColumn(table, 1, {13, 15, 11, 17, 15}, "During");
        AddRawColumn(table, 2, {15, 16, 14, 19, 15}, "After");
    }
    std::int32_t code = 0;
};

TEST_F(RepeatedRun, SumsOfSquaresAgreeWithAov) {
    Subjects();
    const RepeatedMeasuresSums s = Sums();
    ASSERT_EQ(code, 0);
    EXPECT_EQ(s.rows, 5);
    EXPECT_EQ(s.columns, 3);
    // R: SS 54.5333333333, 47.6, 2.8 on 2, 4 and 8 df; F 77.90476, P 5.6886e-06; matching
    //    F 34, P 4.55130484851565e-05.
    ExpectRel(s.ssTreatment, 54.53333333333333, 1e-14);
    ExpectRel(s.ssIndividual, 47.6, 1e-14);
    ExpectRel(s.ssResidual, 2.8, 1e-13);
    ExpectRel(s.ssTotal, 104.93333333333333, 1e-14);
    EXPECT_EQ(s.dfTreatment, 2);
    EXPECT_EQ(s.dfIndividual, 4);
    EXPECT_EQ(s.dfResidual, 8);
    EXPECT_EQ(s.dfTotal, 14);
    ExpectRel(s.msResidual, 0.35, 1e-13);
    ExpectRel(s.f, 77.904761904761905, 1e-12);
    ExpectRel(s.p, 5.6886e-06, 1e-4);
    ExpectRel(s.fMatching, 34.0, 1e-12);
    ExpectRel(s.pMatching, 4.55130484851565e-05, 1e-6);
}

TEST_F(RepeatedRun, TheWholeReport) {
    Subjects();
    Run();
    ASSERT_EQ(out.errorCode, 0);
    EXPECT_EQ(out.helpTopic, 551);
    const std::vector<std::string> expected = {
        "",
        Sp(13) + "Repeated Measures Analysis of Variance" + Sp(14),
        "",
        "The P value is < 0.0001, considered extremely significant.",
        "Variation among column means is significantly greater than expected",
        "by chance.",
        "",
        "",
        "Intermediate calculations. ANOVA Table:",
        "",
        Sp(8) + "Source of" + Sp(12) + "Degrees of   Sum of     Mean  ",
        Sp(8) + "variation" + Sp(13) + "freedom    squares    square ",
        std::string(25, '=') + Sp(4) + std::string(10, '=') + Sp(2) + std::string(8, '=') + Sp(2) +
            std::string(8, '='),
        "Treatment (between columns)" + Sp(11) + "2    54.533    27.267",
        "Individual (between rows)" + Sp(13) + "4    47.600    11.900",
        "Random (residual)" + Sp(21) + "8     2.800    0.3500",
        std::string(25, '-') + Sp(4) + std::string(10, '-') + Sp(2) + std::string(8, '-'),
        "Total" + Sp(32) + "14    104.93",
        "",
        "F = 77.905  =MStreatment/MSresidual",
        "",
        "Assumption test: Was the matching effective?",
        "This test uses a second value of F and a different P value.",
        "F = 34.000   =(MSindividual/MSresidual)",
        "",
        "The P value is < 0.0001, considered extremely significant.",
        "Effective matching (or blocking) results in significant variation among",
        "means.  With these data, the matching appears to be effective.",
        "",
        Sp(25) + "Summary of Data" + Sp(25),
        ""};
    const std::vector<std::string> lines = Lines();
    ASSERT_GT(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 31), expected);
    EXPECT_EQ(lines[35], "         Before     5      11.200    1.924     0.8602    11.000");
    EXPECT_FALSE(out.resultJson.empty());
    EXPECT_NE(out.resultJson.find("\"analysis\":\"repeated-measures ANOVA\""), std::string::npos);
}

TEST_F(RepeatedRun, IneffectiveMatchingSuggestsOrdinaryAnova) {
    // R: A <- c(10,14,9,12,11); B <- c(15,12,16,13,14); C <- c(17,18,15,16,19):
    //    subject F 0.27948, P 0.8832609
    AddRawColumn(table, 0, {10, 14, 9, 12, 11}, "A");
    AddRawColumn(table, 1, {15, 12, 16, 13, 14}, "B");
    AddRawColumn(table, 2, {17, 18, 15, 16, 19}, "C");
    Run();
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[3], "The P value is 0.0050, considered very significant.");
    EXPECT_EQ(lines[23], "F = 0.2795   =(MSindividual/MSresidual)");
    EXPECT_EQ(lines[25], "The P value is 0.8833, considered not significant.");
    EXPECT_EQ(lines[27], "means.  With these data, the matching appears not to be effective.");
    EXPECT_EQ(lines[28], "Ordinary ANOVA may be more appropriate.");
}

TEST_F(RepeatedRun, PostTestsUseTheRandomResidual) {
    Subjects();
    Run(PostTestMode::IfSignificant, PostTestKind::Bonferroni);
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[8], "Bonferroni Multiple Comparisons Test");
    // R: SE = sqrt(2 * 0.35 / 5); t = |diff| / SE: 8.01783725737273, 12.2940171279715,
    //    4.27617987059879; 3 * 2 * pt(-t, 8): 0.000129, 5.3e-06, 0.0081
    const std::string pair = Sp(9) + "Before vs During" + Sp(9);
    EXPECT_EQ(lines[17], pair + " " + "    -3.000" + " " + "  8.018" + " " + "*** P<0.001");
    EXPECT_EQ(lines[19].substr(46), "  4.276  **  P<0.01");
    EXPECT_NE(out.resultJson.find("\"test\":\"Bonferroni\""), std::string::npos);
}

TEST_F(RepeatedRun, NotSignificantUnderModeTwoSaysSoAfterABlankLine) {
    // R: A <- c(10,12,9,14,11); B <- c(11,11,10,14,12); C <- c(10,13,9,13,11):
    //    treatment F 0.51613, P 0.61542424
    AddRawColumn(table, 0, {10, 12, 9, 14, 11}, "A");
    AddRawColumn(table, 1, {11, 11, 10, 14, 12}, "B");
    AddRawColumn(table, 2, {10, 13, 9, 13, 11}, "C");
    Run(PostTestMode::IfSignificant, PostTestKind::Tukey);
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> expected = {
        "The P value is 0.6154, considered not significant.",
        "Variation among column means is not significantly greater than expected",
        "by chance.",
        "",
        "",
        "Post tests",
        "Post tests were not calculated because the P value was greater",
        "than 0.05.",
        "",
        "Intermediate calculations. ANOVA Table:"};
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.begin() + 13), expected);
}

TEST_F(RepeatedRun, NoRandomScatterWritesItsTextAndNothingThatDividesByIt) {
    // Rows 0, 3, 6 plus columns 0, 3, 9: an exactly additive block, residual 0.
    AddRawColumn(table, 0, {0, 3, 6}, "A");
    AddRawColumn(table, 1, {3, 6, 9}, "B");
    AddRawColumn(table, 2, {9, 12, 15}, "C");
    FpFaultGuard guard;
    Run(PostTestMode::Always, PostTestKind::Tukey);
    ASSERT_EQ(out.errorCode, 0);
    EXPECT_EQ(guard.FaultCode(), 0);
    const std::vector<std::string> lines = Lines();
    const std::vector<std::string> expected = {
        "After accounting for systematic variation between columns and rows,",
        "there is no random scatter.  In this situation, which is unlikely to occur",
        "with real experimental data, it is impossible to calculate ANOVA.", "",
        "Intermediate calculations. ANOVA Table:"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.begin() + 8), expected);
    EXPECT_EQ(lines[14], "Random (residual)" + Sp(21) + "4     0.000     0.000");
    // No F line, no matching test: after the table a blank line and the summary.
    // By hand, G = 7: SStreatment 3 (16 + 1 + 25) = 126, SSindividual 3 (9 + 0 + 9) = 54,
    // SStotal 66 + 21 + 93 = 180.
    EXPECT_EQ(lines[12], "Treatment (between columns)" + Sp(11) + "2    126.00    63.000");
    EXPECT_EQ(lines[16], "Total" + Sp(33) + "8    180.00");
    EXPECT_EQ(lines[17], "");
    EXPECT_EQ(lines[18], "");
    EXPECT_EQ(lines[19], Sp(25) + "Summary of Data" + Sp(25));
}

// Exactly additive blocks whose means are not exact in binary: the residual is rounding
// (about 1E-37), counted as none, so the no-scatter text stands, with no F, no post test
// and no matching test.  The same block with 8.001 in place of 8 has real scatter:
// R: y <- c(1,2,5, 2,3,6, 4,5,8.001); summary(aov(y ~ tr + su)) gives F 63015001.
TEST_F(RepeatedRun, ResidualsAtRoundingLevelAreNoScatter) {
    struct Case {
        std::initializer_list<const char*> a, b, c;
        const char* fLine;  // nullptr: no random scatter
    };
    const Case cases[] = {
        {{"1", "2", "5"}, {"2", "3", "6"}, {"4", "5", "8"}, nullptr},
        {{"1.1", "2.3", "5.7"}, {"2.3", "3.5", "6.9"}, {"4.5", "5.7", "9.1"}, nullptr},
        {{"16.3", "12.8", "0.35"}, {"16.4", "12.9", "0.45"}, {"19.8", "16.3", "3.85"}, nullptr},
        {{"1", "2", "5"}, {"2", "3", "6"}, {"4", "5", "8.001"}, "F = 6.30150E+07  =MStreatment/MSresidual"},
    };
    for (const Case& c : cases) {
        table.Clear();
        test::AddTypedColumn(table, 0, c.a, "A");
        test::AddTypedColumn(table, 1, c.b, "B");
        test::AddTypedColumn(table, 2, c.c, "C");
        Run(PostTestMode::Always, PostTestKind::Tukey);
        ASSERT_EQ(out.errorCode, 0);
        const std::vector<std::string> lines = Lines();
        const bool noScatter =
            std::find(lines.begin(), lines.end(),
                      "there is no random scatter.  In this situation, which is unlikely to occur") !=
            lines.end();
        const bool tukey = std::find(lines.begin(), lines.end(),
                                     "Tukey-Kramer Multiple Comparisons Test") != lines.end();
        if (c.fLine == nullptr) {
            EXPECT_TRUE(noScatter) << c.a.begin()[0];
            EXPECT_FALSE(tukey);
            EXPECT_EQ(Sums().ssResidual, 0);
            EXPECT_EQ(lines[14], "Random (residual)" + Sp(21) + "4     0.000     0.000");
        } else {
            EXPECT_FALSE(noScatter);
            EXPECT_TRUE(tukey);
            EXPECT_NE(std::find(lines.begin(), lines.end(), c.fLine), lines.end());
        }
    }
}

TEST(CompleteBlock, FindsTheRectangleAndSkipsEmptyRows) {
    DataTable table;
    AddRawColumn(table, 1, {1, 2}, "B");
    AddRawColumn(table, 2, {3, 4}, "C");
    // A completely empty row between the data rows: rows 0, 1 then 3.
    table.SetValue(3, 1, 5);
    table.SetValue(3, 2, 6);
    table.Record(1).n = 3;
    table.Record(2).n = 3;
    table.BuildColumnMap();
    const CompleteBlock block = CheckCompleteBlock(table);
    EXPECT_TRUE(block.complete);
    EXPECT_EQ(block.rows, 3);
    EXPECT_EQ(block.columns, 2);
    EXPECT_EQ(block.firstRow, 0);
    EXPECT_EQ(block.lastRow, 3);
    EXPECT_EQ(block.firstColumn, 0);  // analysed columns, through the map
    EXPECT_EQ(block.lastColumn, 1);
}

TEST(CompleteBlock, AGapOrAValueOutsideTheFirstRowsColumnsFails) {
    DataTable gap;
    AddRawColumn(gap, 0, {1, 2, 3}, "A");
    AddRawColumn(gap, 1, {4, 5, 6}, "B");
    gap.SetValue(1, 1, MissingValue);
    gap.Record(1).n = 2;
    gap.BuildColumnMap();
    EXPECT_FALSE(CheckCompleteBlock(gap).complete);
    EXPECT_EQ(CheckCompleteBlock(gap).rows, 3);

    DataTable outside;
    AddRawColumn(outside, 0, {1, 2, 3}, "A");
    AddRawColumn(outside, 1, {4, 5, 6}, "B");
    outside.SetValue(2, 2, 9);  // column C empty in the first row
    outside.SetNoRawData(2, false);
    outside.Record(2).n = 1;
    outside.BuildColumnMap();
    EXPECT_FALSE(CheckCompleteBlock(outside).complete);
}

TEST_F(RepeatedRun, ErrorCodes) {
    // 15: a gap in a data row.
    AddRawColumn(table, 0, {1, 2, 3}, "A");
    AddRawColumn(table, 1, {4, 6}, "B");
    AddRawColumn(table, 2, {7, 8, 9}, "C");
    Run();
    EXPECT_EQ(out.errorCode, 15);
    EXPECT_EQ(out.helpTopic, 551);  // the help explains the test asked for, also after an error

    // 11: a single row.
    DataTable one;
    AddRawColumn(one, 0, {1}, "A");
    AddRawColumn(one, 1, {2}, "B");
    table = one;
    Run();
    EXPECT_EQ(out.errorCode, 11);

    // 11: a single column.
    DataTable single;
    AddRawColumn(single, 0, {1, 2, 4}, "A");
    table = single;
    Run();
    EXPECT_EQ(out.errorCode, 11);

    // 13: every column constant.  The heading was reached.
    DataTable flat;
    AddRawColumn(flat, 0, {5, 5, 5}, "A");
    AddRawColumn(flat, 1, {7, 7, 7}, "B");
    table = flat;
    Run();
    EXPECT_EQ(out.errorCode, 13);
    EXPECT_EQ(out.helpTopic, 551);
}

}  // namespace
}  // namespace zelkon
