// One-way ANOVA: sums of squares, F and P against R's aov, Bartlett's statistic against R's
// bartlett.test, every branch of the report against the texts laid out by hand, and the
// error codes 11, 12 and 13.
#include "analyses/groups/anova_one_way.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "analyses/groups/anova_report.h"
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

// A one-way run of the entry routine on a table, as the column run calls it.
struct OneWayRun : ::testing::Test {
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
        const MultiColumnRequest request{table, false, true, flags, false, true, 0, mode, kind};
        MultiColumnComparison(request, out);
    }
    std::vector<std::string> Lines() const { return PlainLines(report); }
    // The dose example: A <- c(23, 25, 28, 30, 31); B <- c(29, 33, 34, 36, 38, 40);
    // C <- c(35, 38, 40, 43, 45, 47, 50).
    void Dose() {
        AddRawColumn(table, 0, {23, 25, 28, 30, 31}, "Control");
        AddRawColumn(table, 1, {29, 33, 34, 36, 38, 40}, "Low dose");
        AddRawColumn(table, 2, {35, 38, 40, 43, 45, 47, 50}, "High dose");
    }
};

std::vector<AnalysedColumn> Summaries(
    std::initializer_list<std::tuple<std::int32_t, Extended, Extended>> s) {
    std::vector<AnalysedColumn> columns;
    int c = 0;
    for (const auto& [n, mean, sd] : s) {
        AnalysedColumn a;
        a.dataColumn = c;
        a.record.title = std::string("Column ") + ColumnLetter(c);
        a.record.n = n;
        a.record.mean = mean;
        a.record.sd = sd;
        columns.push_back(a);
        ++c;
    }
    return columns;
}

TEST_F(OneWayRun, SumsOfSquaresFAndPAgreeWithAov) {
    Dose();
    Run();
    ASSERT_EQ(out.errorCode, 0);
    // R: summary(aov(y ~ g)): SS 677.5857142857, 286.9142857143 on 2 and 15 df,
    //    F 17.71223, P 0.00011243
    std::vector<AnalysedColumn> columns;
    table.BuildColumnMap();
    OneWaySums s;
    ASSERT_EQ(OneWaySumsOfSquares(CollectAnalysedColumns(table), s), 0);
    table.ResetColumnMap();
    ExpectRel(s.ssTreatment, 677.5857142857143, 1e-13);
    ExpectRel(s.ssResidual, 286.9142857142857, 1e-13);
    ExpectRel(s.ssTotal, 964.5, 1e-13);
    ExpectRel(s.msResidual, 19.12761904761905, 1e-13);
    ExpectRel(s.f, 17.71223, 1e-6);
    ExpectRel(s.p, 0.00011243, 1e-4);
    EXPECT_EQ(s.k, 3);
    EXPECT_EQ(s.dfTreatment, 2);
    EXPECT_EQ(s.dfResidual, 15);
    EXPECT_EQ(s.dfTotal, 17);
    EXPECT_EQ(s.maxN, 7);
}

TEST_F(OneWayRun, TheWholeReportWithoutPostTest) {
    Dose();
    Run(PostTestMode::None);
    ASSERT_EQ(out.errorCode, 0);
    EXPECT_EQ(out.helpTopic, 366);
    const std::string u(1, ResultsReport::Emphasis2);
    const std::vector<std::string> raw = report.AllLines();
    EXPECT_EQ(raw[1], u + Sp(14) + "One-way Analysis of Variance (ANOVA)" + Sp(15) + u);
    const std::vector<std::string> expected = {
        "",
        Sp(14) + "One-way Analysis of Variance (ANOVA)" + Sp(15),
        "",
        "The P value is 0.0001, considered extremely significant.",
        "Variation among column means is significantly greater than expected",
        "by chance.",
        "",
        "",
        "",
        "Assumption test: Are the standard deviations of the groups equal?",
        "",
        "ANOVA assumes that the data are sampled from populations with identical",
        "SDs. This assumption is tested using the method of Bartlett.",
        "",
        // R: bartlett.test(y ~ g): K-squared 0.9620864180233, p 0.618138207985
        "Bartlett statistic (corrected) = 0.9621",
        "The P value is 0.6181. ",
        "Bartlett's test suggests that the differences among the SDs is",
        "not significant.",
        "",
        "",
        "Assumption test: Are the data sampled from Gaussian distributions?",
        "",
        "ANOVA assumes that the data are sampled from populations that follow ",
        "Gaussian distributions. This assumption is tested using the method ",
        "Kolmogorov and Smirnov:",
    };
    const std::vector<std::string> lines = Lines();
    ASSERT_GT(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 25), expected);
    // Normality table (heading of two lines, three rows), then the ANOVA table.
    const std::vector<std::string> table = {
        "",
        "Intermediate calculations. ANOVA table",
        "",
        Sp(8) + "Source of" + Sp(13) + "Degrees of   Sum of     Mean  ",
        Sp(8) + "variation" + Sp(14) + "freedom    squares    square ",
        std::string(28, '=') + Sp(2) + std::string(10, '=') + Sp(2) + std::string(8, '=') + Sp(2) +
            std::string(8, '='),
        "Treatments (between columns)" + Sp(11) + "2    677.59    338.79",
        "Residuals (within columns)" + Sp(12) + "15    286.91    19.128",
        std::string(28, '-') + Sp(2) + std::string(10, '-') + Sp(2) + std::string(8, '-'),
        "Total     " + Sp(28) + "17    964.50",
        "",
        "F = 17.712  =(MStreatment/MSresidual) ",
        "",
        "",
        "",
        Sp(25) + "Summary of Data" + Sp(25),
        "",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 30, lines.begin() + 47), table);
    EXPECT_EQ(lines[47], Sp(16) + "Number                       Standard");
    EXPECT_EQ(lines[52], "       Low dose     6      35.000    3.899      1.592    35.000");
    EXPECT_EQ(lines.back(), "      High dose   35.000   50.000     37.711     47.432");
}

TEST_F(OneWayRun, TwoColumnsReadTwoTailedAndMatchTheUnpairedTTest) {
    AddRawColumn(table, 0, {23, 25, 28, 30, 31}, "A");
    AddRawColumn(table, 1, {29, 33, 34, 36, 38, 40}, "B");
    Run();
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    // R: t.test(A, B, var.equal=TRUE)$p.value = 0.00762586883375293
    EXPECT_EQ(lines[3], "The two-tailed P value is 0.0076, considered very significant.");
    EXPECT_EQ(lines[7], "Because there are only two columns, this ANOVA is identical to");
    EXPECT_EQ(lines[8], "an unpaired two tailed t test.");
    EXPECT_EQ(lines[9], "");
    table.BuildColumnMap();
    OneWaySums s;
    ASSERT_EQ(OneWaySumsOfSquares(CollectAnalysedColumns(table), s), 0);
    table.ResetColumnMap();
    ExpectRel(s.p, 0.00762586883375293, 1e-6);
    ExpectRel(s.ssTreatment, 157.5272727273, 1e-12);
}

TEST_F(OneWayRun, BartlettNeedsFiveValuesInEveryColumn) {
    AddRawColumn(table, 0, {23, 25, 28, 30}, "Four");
    AddRawColumn(table, 1, {29, 33, 34, 36, 38, 40}, "Six");
    AddRawColumn(table, 2, {35, 38, 40, 43, 45}, "Five");
    Run();
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[14], "Bartlett's test can only be performed when every column has");
    EXPECT_EQ(lines[15], "at least five values.");
    // The normality row of the four-value column.
    EXPECT_EQ(lines[25], "           Four" + Sp(1) + "  Too few values to test.");
}

TEST_F(OneWayRun, OneZeroSDStillRunsButBartlettCannot) {
    AddRawColumn(table, 0, {5, 5, 5, 5, 5}, "Flat");
    AddRawColumn(table, 1, {29, 33, 34, 36, 38}, "B");
    AddRawColumn(table, 2, {35, 38, 40, 43, 45}, "C");
    Run();
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[3].substr(0, 15), "The P value is ");
    EXPECT_EQ(lines[14], "Bartlett's test cannot be performed because at least one column's");
    EXPECT_EQ(lines[15], "standard deviation is zero.");
    // The flat column has no normality P value: its row stops after the title.
    EXPECT_EQ(lines[25].substr(0, 15), "           Flat");
    EXPECT_EQ(lines[25].find_first_not_of(' ', 15), std::string::npos);
}

TEST_F(OneWayRun, SignificantBartlettAddsTheAdvice) {
    // R: bartlett.test(list(A, B, C)): K-squared 20.81348693742, p 3.02279529077e-05;
    //    summary(aov(...)): F 12.42634, P 0.001192
    AddRawColumn(table, 0, {1, 2, 3, 4, 5}, "A");
    AddRawColumn(table, 1, {10, 20, 30, 40, 50}, "B");
    AddRawColumn(table, 2, {5, 6, 7, 8, 9.5}, "C");
    Run();
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[3], "The P value is 0.0012, considered very significant.");
    const std::vector<std::string> bartlett = {
        "Bartlett statistic (corrected) = 20.813",
        "The P value is < 0.0001. ",
        "Bartlett's test suggests that the differences among the SDs is",
        "extremely significant.",
        "Since ANOVA assumes populations with equal SDs, you should consider",
        "transforming your data (reciprocal or log) or selecting a",
        "nonparametric test."};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 14, lines.begin() + 21), bartlett);
    table.BuildColumnMap();
    BartlettResult b;
    ASSERT_EQ(BartlettTest(CollectAnalysedColumns(table), b), 0);
    table.ResetColumnMap();
    ExpectRel(b.statistic, 20.81348693742, 1e-12);
    ExpectRel(b.p, 3.02279529077e-05, 1e-6);
    EXPECT_EQ(b.df, 2);
}

TEST_F(OneWayRun, NotSignificantUnderModeTwoSaysPostTestsWereNotCalculated) {
    // R: summary(aov(...)): F 0.00499, P 0.99502
    AddRawColumn(table, 0, {10, 12, 14, 11, 13.5}, "A");
    AddRawColumn(table, 1, {11, 13, 12, 10, 14}, "B");
    AddRawColumn(table, 2, {12, 11, 13, 14, 10.2}, "C");
    Run(PostTestMode::IfSignificant, PostTestKind::Tukey);
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    const std::vector<std::string> expected = {
        "",
        Sp(14) + "One-way Analysis of Variance (ANOVA)" + Sp(15),
        "",
        "The P value is 0.9950, considered not significant.",
        "Variation among column means is not significantly greater than expected",
        "by chance.",
        "",
        "Post tests",
        "Post tests were not calculated because the P value was greater",
        "than 0.05.",
        "",
        "",
        "Assumption test: Are the standard deviations of the groups equal?"};
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 13), expected);
    const std::vector<std::string> raw = report.AllLines();
    EXPECT_EQ(raw[7], std::string(1, ResultsReport::Emphasis2) + "Post tests" +
                          std::string(1, ResultsReport::Emphasis2));

    // Mode 0 runs the post test whatever the P value.
    Run(PostTestMode::Always, PostTestKind::Tukey);
    EXPECT_EQ(Lines()[8], "Tukey-Kramer Multiple Comparisons Test");
    // Mode 1 runs none and says nothing about it.
    Run(PostTestMode::None, PostTestKind::Tukey);
    EXPECT_EQ(Lines()[7], "");
    EXPECT_EQ(Lines()[9], "Assumption test: Are the standard deviations of the groups equal?");
}

TEST_F(OneWayRun, SignificantUnderModeTwoRunsTheChosenPostTest) {
    Dose();
    Run(PostTestMode::IfSignificant, PostTestKind::Bonferroni);
    ASSERT_EQ(out.errorCode, 0);
    EXPECT_EQ(Lines()[8], "Bonferroni Multiple Comparisons Test");
    Run(PostTestMode::IfSignificant, PostTestKind::NewmanKeuls);
    EXPECT_EQ(Lines()[8], "Student-Newman-Keuls Multiple Comparisons Test");
    Run(PostTestMode::IfSignificant, PostTestKind::LinearTrend);
    EXPECT_EQ(Lines()[7], "Test for linear trend between column means and column number");
    Run(PostTestMode::IfSignificant, 9);  // not a post test: none runs
    EXPECT_EQ(Lines()[9], "Assumption test: Are the standard deviations of the groups equal?");
}

TEST_F(OneWayRun, DunnettTakesTheControlByItsDataColumn) {
    Dose();
    AddRawColumn(table, 4, {30, 32, 33, 35, 36}, "Column E");
    UpdateColumnSummaries(table);
    const MultiColumnRequest request{
        table, false, true, flags, false, true, 4, PostTestMode::Always, PostTestKind::Dunnett};
    MultiColumnComparison(request, out);
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[7], "Dunnett Multiple Comparisons Test");
    EXPECT_EQ(lines[8], "Control column: Column E");
    EXPECT_EQ(lines[16].substr(0, 34), "       Column E vs Control        ");
}

TEST_F(OneWayRun, AveragedColumnsRunFromTheirTypedSummaries) {
    // Means 10, 12, 15, SDs 2, 3, 2.5, N 8, 10, 6.  By hand (in R):
    //   G <- sum(m*n)/sum(n); sum(n*(m-G)^2) = 85.8333333333333; sum((n-1)*s^2) = 140.25;
    //   F = 6.42602495543672, pf(F, 2, 21, lower.tail=FALSE) = 0.00664753118304214
    const double mean[] = {10, 12, 15}, sd[] = {2, 3, 2.5};
    const std::int32_t n[] = {8, 10, 6};
    for (int c = 0; c < 3; ++c) {
        ColumnRecord& r = table.Record(c);
        r.title = std::string("Group ") + ColumnLetter(c);
        r.n = n[c];
        r.mean = mean[c];
        r.sd = sd[c];
        FillSummary(nullptr, -1, r);
    }
    Run();
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[3], "The P value is 0.0066, considered very significant.");
    // Bartlett's test is written (four lines), so the normality rows start at line 27.
    // R: Bartlett's K-squared from the typed SDs and N by its formula: 1.15666239028.
    EXPECT_EQ(lines[14], "Bartlett statistic (corrected) = 1.157");
    EXPECT_EQ(lines[27], "        Group A" + Sp(1) + "  Normality test requires raw data.");
    table.BuildColumnMap();
    OneWaySums s;
    ASSERT_EQ(OneWaySumsOfSquares(CollectAnalysedColumns(table), s), 0);
    table.ResetColumnMap();
    ExpectRel(s.ssTreatment, 85.8333333333333, 1e-13);
    ExpectRel(s.ssResidual, 140.25, 1e-15);
    ExpectRel(s.f, 6.42602495543672, 1e-13);
    ExpectRel(s.p, 0.00664753118304214, 1e-6);
}

TEST_F(OneWayRun, ResidualMeanSquareOfZeroWithoutAllSDsZero) {
    // SDs so small that their squares underflow to zero: no residual scatter to measure,
    // though no SD is zero.  No F, no P, no post test, no Bartlett, and no division by 0.
    const double mean[] = {5, 6, 7};
    for (int c = 0; c < 3; ++c) {
        ColumnRecord& r = table.Record(c);
        r.title = std::string("Tiny ") + ColumnLetter(c);
        r.n = 5;
        r.mean = mean[c];
        r.sd = 1e-2480L;
        FillSummary(nullptr, -1, r);
    }
    Run(PostTestMode::Always, PostTestKind::Tukey);
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    const std::vector<std::string> expected = {
        "The standard deviation of each column is zero.  In this situation, which",
        "is unlikely to occur with experimental data, it is impossible to calculate",
        "ANOVA.",
        "",
        "",
        "Assumption test: Are the standard deviations of the groups equal?"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.begin() + 9), expected);
    EXPECT_EQ(lines[13], "Bartlett's test cannot be performed because at least one column's");
    // The ANOVA table closes without the F line.
    for (const std::string& line : lines) EXPECT_EQ(line.find("F = "), std::string::npos);
}

TEST_F(OneWayRun, ErrorCodes) {
    // 12: a column holds exactly one value.
    AddRawColumn(table, 0, {1, 2, 3}, "A");
    AddRawColumn(table, 1, {4}, "B");
    AddRawColumn(table, 2, {5, 6, 8}, "C");
    Run();
    EXPECT_EQ(out.errorCode, 12);
    EXPECT_EQ(out.helpTopic, 366);  // the help explains the test asked for, also after an error
    EXPECT_TRUE(out.resultJson.empty());

    // 11: no column with two or more values (the single values also mean 12; 11 wins).
    DataTable singles;
    AddRawColumn(singles, 0, {1}, "A");
    AddRawColumn(singles, 1, {2}, "B");
    table = singles;
    Run();
    EXPECT_EQ(out.errorCode, 11);

    // 11: one column of data leaves no treatment degree of freedom.
    DataTable one;
    AddRawColumn(one, 0, {1, 2, 3}, "A");
    table = one;
    FpFaultGuard guard;
    Run();
    EXPECT_EQ(out.errorCode, 11);
    EXPECT_EQ(guard.FaultCode(), 0);

    // 13: every SD is zero.  The heading was reached before the check.
    DataTable flat;
    AddRawColumn(flat, 0, {4, 4, 4}, "A");
    AddRawColumn(flat, 1, {5, 5}, "B");
    table = flat;
    Run();
    EXPECT_EQ(out.errorCode, 13);
    EXPECT_EQ(out.helpTopic, 366);
}

TEST(OneWaySums, ColumnsWithoutDataAreIgnored) {
    // A column with N = 0 among the analysed ones changes nothing.
    const std::vector<AnalysedColumn> with =
        Summaries({{5, 27.4, 3.36154726279432}, {0, 0.0, 0.0}, {6, 35.0, 3.89871773792359}});
    const std::vector<AnalysedColumn> without =
        Summaries({{5, 27.4, 3.36154726279432}, {6, 35.0, 3.89871773792359}});
    OneWaySums a, b;
    ASSERT_EQ(OneWaySumsOfSquares(with, a), 0);
    ASSERT_EQ(OneWaySumsOfSquares(without, b), 0);
    EXPECT_EQ(a.k, 2);
    EXPECT_EQ(static_cast<double>(a.ssTreatment), static_cast<double>(b.ssTreatment));
    EXPECT_EQ(static_cast<double>(a.f), static_cast<double>(b.f));
    BartlettResult ba, bb;
    ASSERT_EQ(BartlettTest(with, ba), 0);
    ASSERT_EQ(BartlettTest(without, bb), 0);
    EXPECT_EQ(static_cast<double>(ba.statistic), static_cast<double>(bb.statistic));
}

TEST(OneWaySums, DataFarFromZeroKeepTheirDigits) {
    // Three columns of 1e12 + 0.1, 0.2, 0.3 (spread 0.1): raw sums of squares less the
    // correction term would lose every digit; from deviations the sums stay exact to the
    // digits the means carry.  By hand: SStreatment = 3 * 0.1^2 * 2 = 0.06 (N 3 each, means
    // 0.1 apart), SSresidual = 3 * 2 * 0.01 = 0.06.
    const std::vector<AnalysedColumn> columns =
        Summaries({{3, 1e12L + 0.1L, 0.1L}, {3, 1e12L + 0.2L, 0.1L}, {3, 1e12L + 0.3L, 0.1L}});
    OneWaySums s;
    ASSERT_EQ(OneWaySumsOfSquares(columns, s), 0);
    ExpectRel(s.ssTreatment, 0.06, 1e-5);
    ExpectRel(s.ssResidual, 0.06, 1e-15);
    EXPECT_GT(s.ssTotal, 0);
}

TEST(OneWayReport, PExactlyPointZeroFiveCountsAsSignificant) {
    // A result made up with P = 0.05 exactly and a normality P of exactly 0.05.
    OneWayAnovaResult r;
    r.columns = Summaries({{5, 1.0, 1.0}, {5, 2.0, 1.0}, {5, 3.0, 1.0}});
    r.columns[1].record.ksp = 0.05L;
    r.sums.k = 3;
    r.sums.msResidual = 1.0L;
    r.sums.p = 0.05L;
    r.bartlett.statistic = 1.0L;
    r.bartlett.p = 0.05L;
    EXPECT_TRUE(PostTestRuns(PostTestMode::IfSignificant, 0.05L));
    EXPECT_FALSE(PostTestRuns(PostTestMode::IfSignificant, 0.0500001L));
    EXPECT_FALSE(PostTestRuns(PostTestMode::None, 0.0L));
    ResultsReport report;
    WriteOneWayBody(report, r);
    const std::vector<std::string> lines = PlainLines(report);
    EXPECT_EQ(lines[2], "Variation among column means is significantly greater than expected");
    EXPECT_EQ(lines[12], "Bartlett statistic (corrected) = 1.000");
    EXPECT_EQ(lines[15], "not quite significant.");  // the grading word of P = 0.05
    EXPECT_EQ(lines[16], "");                        // no advice at P = 0.05
    std::size_t failed = 0;
    while (failed < lines.size() &&
           lines[failed] != "At least one column failed the normality test with P<0.05.") {
        ++failed;
    }
    ASSERT_LT(failed + 2, lines.size());
    EXPECT_EQ(lines[failed - 1], "");
    EXPECT_EQ(lines[failed + 1], "Consider using a nonparametric test or transforming the data");
    EXPECT_EQ(lines[failed + 2], "(i.e. converting to logarithms or reciprocals). ");
}

TEST_F(OneWayRun, ResultJsonCarriesTheStructAtFullPrecision) {
    Dose();
    Run(PostTestMode::Always, PostTestKind::Tukey);
    ASSERT_EQ(out.errorCode, 0);
    const std::string& json = out.resultJson;
    auto number = [&](const std::string& key) {
        const std::size_t at = json.find("\"" + key + "\":");
        EXPECT_NE(at, std::string::npos) << key;
        return at == std::string::npos ? 0.0L
                                       : std::strtold(json.c_str() + at + key.size() + 3, nullptr);
    };
    EXPECT_NE(json.find("\"analysis\":\"one-way ANOVA\""), std::string::npos);
    EXPECT_NE(json.find("\"test\":\"Tukey-Kramer\""), std::string::npos);
    EXPECT_NE(json.find("\"pMethod\":\"F distribution\""), std::string::npos);
    EXPECT_EQ(static_cast<double>(number("dfResidual")), 15.0);
    ExpectRel(number("ssTreatment"), 677.5857142857143, 1e-15);  // R: aov, as above
    ExpectRel(number("criticalQ"), 3.673, 1e-15);
}

}  // namespace
}  // namespace zelkon
