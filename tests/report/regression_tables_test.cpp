// Regression row table and best-fit parameter table checked against lines laid out by
// hand from their column positions.
#include "report/regression_tables.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace zelkon {
namespace {

using test::PlainLines;

std::string Sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
std::string Rule(int n) { return std::string(static_cast<std::size_t>(n), '='); }
const std::string E1(1, ResultsReport::Emphasis1);

TEST(ReplicatesTable, HeadingAndRowsWithAndWithoutReplicates) {
    ResultsReport report;
    WriteReplicatesHeading(report);
    WriteReplicatesRow(report, 1, 1.5L, 10.25L, 3, 10.1L, 0.5L, 0.15L);
    WriteReplicatesRow(report, 12, 20.0L, 40.0L, 1, 41.0L, MissingValue, -1.0L);
    const std::vector<std::string> expected = {
        Sp(25) + "# of" + Sp(3) + "Predicted" + Sp(2) + "Standard ",
        "Row" + Sp(2) + "X Value " + Sp(2) + " Mean Y " + Sp(2) + "Reps." + Sp(2) + "    Y    " +
            Sp(2) + "Deviation" + Sp(2) + "Residual",
        Rule(3) + Sp(2) + Rule(8) + Sp(2) + Rule(8) + Sp(2) + Rule(5) + Sp(2) + Rule(9) + Sp(2) +
            Rule(9) + Sp(2) + Rule(8),
        "  1" + Sp(2) + "   1.500" + Sp(2) + "  10.250" + Sp(2) + "    3" + Sp(2) + "   10.100" +
            Sp(2) + "   0.5000" + Sp(2) + "  0.1500",
        // A single replicate: no standard deviation and no residual.
        " 12" + Sp(2) + "  20.000" + Sp(2) + "  40.000" + Sp(2) + "    1" + Sp(2) + "   41.000",
    };
    EXPECT_EQ(PlainLines(report), expected);
    EXPECT_EQ(report.AllLines().at(2), E1 + expected[2] + E1);
}

TEST(ParameterTable, UnforcedFit) {
    ResultsReport report;
    WriteRegressionParameterHeading(report);
    WriteSlopeRow(report, 2.0346L, 0.12L, 1.7L, 2.37L);
    WriteYInterceptRow(report, -1.5L, 0.4L, -2.4L, -0.6L, false);
    WriteXInterceptRow(report, 0.73L);
    const std::vector<std::string> expected = {
        Sp(13) + "Best-fit" + Sp(2) + "Standard" + Sp(2) + "95% confidence interval",
        " Parameter " + Sp(2) + " Value  " + Sp(2) + " Error  " + Sp(2) + "  from  " + Sp(2) +
            "   to   ",
        Rule(11) + Sp(2) + Rule(8) + Sp(2) + Rule(8) + Sp(2) + Rule(8) + Sp(2) + Rule(8),
        "Slope" + Sp(8) + "   2.035" + Sp(2) + "  0.1200" + Sp(2) + "   1.700" + Sp(2) +
            "   2.370",
        "Y intercept" + Sp(2) + "  -1.500" + Sp(2) + "  0.4000" + Sp(2) + "  -2.400" + Sp(2) +
            " -0.6000",
        "X intercept" + Sp(2) + "  0.7300",
    };
    EXPECT_EQ(PlainLines(report), expected);
    const std::vector<std::string> raw = report.AllLines();
    ASSERT_EQ(raw.size(), expected.size());
    EXPECT_EQ(raw[3], E1 + "Slope" + E1 + expected[3].substr(5));
    EXPECT_EQ(raw[5], E1 + "X intercept" + E1 + expected[5].substr(11));
}

TEST(ParameterTable, ForcedFitAndUndefinedXIntercept) {
    ResultsReport report;
    WriteYInterceptRow(report, 3.0L, MissingValue, MissingValue, MissingValue, true);
    WriteXInterceptRow(report, MissingValue);
    const std::vector<std::string> expected = {
        "Y intercept" + Sp(2) + "   3.000",
        "X intercept" + Sp(2) + "Undefined",
    };
    EXPECT_EQ(PlainLines(report), expected);
}

}  // namespace
}  // namespace zelkon
