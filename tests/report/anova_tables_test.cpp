// Analysis-of-variance tables checked against lines laid out by hand from each layout's
// positions: one-way (31, 43, 53; underline 28), repeated measures (30, 42, 52;
// underline 25) and the two regression layouts.
#include "report/anova_tables.h"

#include <gtest/gtest.h>

#include "report/regression_tables.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::PlainLines;

std::string Sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string Rule(int n) { return std::string(static_cast<std::size_t>(n), '='); }
std::string Dashes(int n) { return std::string(static_cast<std::size_t>(n), '-'); }
const std::string E1(1, ResultsReport::Emphasis1);

TEST(AnovaTable, OneWayLayout) {
    ResultsReport report;
    WriteAnovaHeading(report, OneWayAnova);
    WriteAnovaRow(report, OneWayAnova, TreatmentsSource, 2, 123.45L, 61.725L);
    WriteAnovaRow(report, OneWayAnova, ResidualsSource, 12, 45.6L, 3.8L);
    WriteAnovaTotalRow(report, OneWayAnova, 14, 169.05L);
    const std::vector<std::string> expected = {
        Sp(8) + "Source of" + Sp(8) + Sp(5) + "Degrees of" + Sp(2) + " Sum of " + Sp(2) +
            "  Mean  ",
        Sp(8) + "variation" + Sp(8) + Sp(5) + " freedom  " + Sp(2) + "squares " + Sp(2) +
            " square ",
        Rule(28) + Sp(2) + Rule(10) + Sp(2) + Rule(8) + Sp(2) + Rule(8),
        "Treatments (between columns)" + Sp(2) + Sp(9) + "2" + Sp(2) + "  123.45" + Sp(2) +
            "  61.725",
        "Residuals (within columns)" + Sp(4) + Sp(8) + "12" + Sp(2) + "  45.600" + Sp(2) +
            "   3.800",
        Dashes(28) + Sp(2) + Dashes(10) + Sp(2) + Dashes(8),
        "Total     " + Sp(20) + Sp(8) + "14" + Sp(2) + "  169.05",
    };
    EXPECT_EQ(PlainLines(report), expected);
    const std::vector<std::string> raw = report.AllLines();
    ASSERT_EQ(raw.size(), expected.size());
    EXPECT_EQ(raw[0], E1 + expected[0] + E1);
    EXPECT_EQ(raw[2], E1 + expected[2] + E1);
    EXPECT_EQ(raw[3], expected[3]);
    EXPECT_EQ(raw[5], expected[5]);
}

TEST(AnovaTable, RepeatedMeasuresLayoutAndLinearTrendRows) {
    ResultsReport report;
    WriteAnovaHeading(report, LinearTrendRepeatedMeasuresAnova);
    WriteAnovaRow(report, LinearTrendRepeatedMeasuresAnova, LinearSource, 1, 8.0L, 8.0L);
    WriteAnovaRow(report, LinearTrendRepeatedMeasuresAnova, NotLinearSource, 1, 0.5L, 0.5L);
    WriteAnovaRow(report, LinearTrendRepeatedMeasuresAnova, IndividualSource, 4, 20.0L, 5.0L);
    WriteAnovaRow(report, LinearTrendRepeatedMeasuresAnova, RandomSource, 8, 4.0L, 0.5L);
    WriteAnovaTotalRow(report, LinearTrendRepeatedMeasuresAnova, 14, 32.5L);
    const std::vector<std::string> expected = {
        Sp(8) + "Source of" + Sp(8) + Sp(4) + "Degrees of" + Sp(2) + " Sum of " + Sp(2) +
            "  Mean  ",
        Sp(8) + "variation" + Sp(8) + Sp(4) + " freedom  " + Sp(2) + "squares " + Sp(2) +
            " square ",
        Rule(25) + Sp(4) + Rule(10) + Sp(2) + Rule(8) + Sp(2) + Rule(8),
        "Between columns: Linear" + Sp(6) + Sp(9) + "1" + Sp(2) + "   8.000" + Sp(2) + "   8.000",
        "Between columns: Not linear" + Sp(2) + Sp(9) + "1" + Sp(2) + "  0.5000" + Sp(2) +
            "  0.5000",
        "Individual (between rows)" + Sp(4) + Sp(9) + "4" + Sp(2) + "  20.000" + Sp(2) +
            "   5.000",
        "Random (residual)" + Sp(12) + Sp(9) + "8" + Sp(2) + "   4.000" + Sp(2) + "  0.5000",
        Dashes(25) + Sp(4) + Dashes(10) + Sp(2) + Dashes(8),
        "Total" + Sp(24) + Sp(8) + "14" + Sp(2) + "  32.500",
    };
    EXPECT_EQ(PlainLines(report), expected);
}

TEST(RegressionAnova, RunsTestLayoutEmphasisesSources) {
    ResultsReport report;
    WriteAnovaHeading(report, RunsTestAnova);
    WriteAnovaRow(report, RunsTestAnova, ModelSource, 1, 250.0L, 250.0L);
    WriteAnovaRow(report, RunsTestAnova, ResidualSource, 8, 12.0L, 1.5L);
    WriteAnovaTotalRow(report, RunsTestAnova, 9, 262.0L);
    const std::vector<std::string> expected = {
        Sp(8) + "Source of" + Sp(8) + Sp(13) + "Degrees of" + Sp(2) + " Sum of " + Sp(2) +
            "  Mean  ",
        Sp(8) + "variation" + Sp(8) + Sp(13) + " freedom  " + Sp(2) + "squares " + Sp(2) +
            " square ",
        Rule(36) + Sp(2) + Rule(10) + Sp(2) + Rule(8) + Sp(2) + Rule(8),
        "Linear regression (Model)" + Sp(13) + Sp(9) + "1" + Sp(2) + "  250.00" + Sp(2) +
            "  250.00",
        "Deviations from linearity (Residual)" + Sp(2) + Sp(9) + "8" + Sp(2) + "  12.000" +
            Sp(2) + "   1.500",
        Dashes(36) + Sp(2) + Dashes(10) + Sp(2) + Dashes(8),
        "Total" + Sp(33) + Sp(9) + "9" + Sp(2) + "  262.00",
    };
    EXPECT_EQ(PlainLines(report), expected);
    const std::vector<std::string> raw = report.AllLines();
    ASSERT_EQ(raw.size(), expected.size());
    EXPECT_EQ(raw[3], E1 + "Linear regression (Model)" + E1 + expected[3].substr(25));
    EXPECT_EQ(raw[6], E1 + "Total" + E1 + expected[6].substr(5));
}

TEST(RegressionAnova, ReplicatesLayoutModelRowHasNoMeanSquare) {
    ResultsReport report;
    WriteAnovaHeading(report, ReplicatesAnova);
    WriteAnovaRow(report, ReplicatesAnova, LackOfFitModelSource, 1, 250.0L);
    WriteAnovaRow(report, ReplicatesAnova, LackOfFitSource, 2, 3.0L, 1.5L);
    WriteAnovaRow(report, ReplicatesAnova, ScatterSource, 6, 9.0L, 1.5L);
    WriteAnovaTotalRow(report, ReplicatesAnova, 9, 262.0L);
    const std::vector<std::string> expected = {
        Sp(8) + "Source of" + Sp(8) + Sp(12) + "Degrees of" + Sp(2) + " Sum of " + Sp(2) +
            "  Mean  ",
        Sp(8) + "variation" + Sp(8) + Sp(12) + " freedom  " + Sp(2) + "squares " + Sp(2) +
            " square ",
        Rule(35) + Sp(2) + Rule(10) + Sp(2) + Rule(8) + Sp(2) + Rule(8),
        "Linear regression (model)" + Sp(12) + Sp(9) + "1" + Sp(2) + "  250.00",
        "Deviations from linearity" + Sp(12) + Sp(9) + "2" + Sp(2) + "   3.000" + Sp(2) +
            "   1.500",
        "Residual (scatter among replicates)" + Sp(2) + Sp(9) + "6" + Sp(2) + "   9.000" +
            Sp(2) + "   1.500",
        Dashes(35) + Sp(2) + Dashes(10) + Sp(2) + Dashes(8),
        "Total" + Sp(32) + Sp(9) + "9" + Sp(2) + "  262.00",
    };
    EXPECT_EQ(PlainLines(report), expected);
    // No emphasis on the source texts of this layout.
    EXPECT_EQ(report.AllLines().at(3), expected[3]);
}

}  // namespace
}  // namespace zelkon
