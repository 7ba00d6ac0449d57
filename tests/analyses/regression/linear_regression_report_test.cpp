// The report of the linear regression against lines built by hand from the report's texts,
// the table writers' column positions and the number rule (values from R), every branch of
// it, and the entry routine with the graph's stored line.
#include "analyses/regression/linear_regression_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analyses/regression/linear_regression.h"
#include "analyses/regression/linear_regression_entry.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "regression_test_data.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::FillXY;
using test::Gap;

std::vector<std::string> ReportOf(const DataTable& t, const LinearRegressionOptions& o) {
    const LinearRegressionResult r = ComputeLinearRegression(t, o);
    EXPECT_EQ(r.errorCode, 0);
    ResultsReport report;
    WriteLinearRegressionReport(report, r);
    return test::PlainLines(report);
}

/// True when `lines` holds `block` as consecutive lines.
bool HasBlock(const std::vector<std::string>& lines, const std::vector<std::string>& block) {
    for (std::size_t i = 0; i + block.size() <= lines.size(); ++i) {
        if (std::equal(block.begin(), block.end(), lines.begin() + static_cast<long>(i)))
            return true;
    }
    return false;
}

// Six rows of duplicates (the last single), an X without Y and a Y without X below.
// R:  x <- c(1,1,2,2,3,3,4,4,5,5,6); y <- c(2.1,1.8,3.9,4.2,6.2,5.9,7.8,8.3,10.1,9.7,12.3)
void FillStandardCurve(DataTable& t) {
    FillXY(t, {1, 2, 3, 4, 5, 6, 7, Gap},
           {{2.1, 3.9, 6.2, 7.8, 10.1, 12.3, Gap, 5}, {1.8, 4.2, 5.9, 8.3, 9.7}});
}

TEST(LinearRegressionReport, FullReportWithReplicatesTestsAndStandardCurve) {
    DataTable t;
    FillStandardCurve(t);
    LinearRegressionOptions o;
    o.linearityTest = true;
    o.standardCurve = true;
    // Numbers: summary(lm(y ~ x)), anova(lm(y ~ x), lm(y ~ factor(x))), limits with
    // t_crit95(9) = 2.262, the runs P of 6 above, 5 below and 7 runs by brute-force count
    // (0.7381), each written by the five-significant-digit rule.
    const std::vector<std::string> expected = {
        "                        Linear Regression                        ",
        "",
        "",
        "Number of points = 11",
        "",
        "",
        "             Best-fit  Standard  95% confidence interval",
        " Parameter    Value     Error      from       to   ",
        "===========  ========  ========  ========  ========",
        "Slope           2.022   0.04204     1.927     2.117",
        "Y intercept  -0.04452    0.1532   -0.3910    0.3019",
        "X intercept   0.02202",
        "",
        "Correlation coefficient (r) = 0.9981.  r squared = 0.9961",
        "",
        "",
        "Standard deviation of residuals from line (Sy.x) = 0.2232",
        "",
        "",
        "",
        "Descriptive statistics for each row",
        "",
        "                         # of   Predicted  Standard ",
        "Row  X Value    Mean Y   Reps.      Y      Deviation  Residual",
        "===  ========  ========  =====  =========  =========  ========",
        "  1     1.000     1.950      2      1.977     0.2121  -0.02742",
        "  2     2.000     4.050      2      3.999     0.2121   0.05065",
        "  3     3.000     6.050      2      6.021     0.2121   0.02871",
        "  4     4.000     8.050      2      8.043     0.3536  0.006774",
        "  5     5.000     9.900      2     10.065     0.2828   -0.1652",
        "  6     6.000    12.300      1     12.087",
        "",
        "",
        "  The residual values are the distances (biases) of the mean Y values",
        "  from the best-fit line determined by linear regression.",
        "",
        "",
        "Test: Is the slope significantly different from zero?",
        "",
        "The P value is < 0.0001, considered extremely significant.",
        "",
        "This result was obtained from the following ANOVA table.",
        "",
        "        Source of                     Degrees of   Sum of     Mean  ",
        "        variation                      freedom    squares    square ",
        "====================================  ==========  ========  ========",
        "Linear regression (Model)                      1    115.21    115.21",
        "Deviations from linearity (Residual)           9    0.4483   0.04981",
        "------------------------------------  ----------  --------",
        "Total                                         10    115.66",
        "F = 2313.2",
        "",
        "",
        "Runs test: Do the number of runs indicate a linear model?",
        "One way to evaluate linearity is by counting runs.  If the data",
        "deviate substantially from linearity, the number of runs will be",
        "small.",
        "",
        "There are 6 points above the line, 5 below, and 7 runs.",
        "",
        "The P value is 0.7381, considered not significant.",
        "There is not a significant departure from linearity.",
        "",
        "",
        "Test: Are the data significantly nonlinear?",
        "",
        "F = 0.3980",
        "The P value is 0.8036. ",
        "The departures from linearity are not significant.",
        "",
        "This result was obtained from the following ANOVA table that compares",
        "deviations from linearity with scatter among replicates.",
        "",
        "",
        "        Source of                    Degrees of   Sum of     Mean  ",
        "        variation                     freedom    squares    square ",
        "===================================  ==========  ========  ========",
        "Linear regression (model)                     1    115.21",
        "Deviations from linearity                     4    0.1083   0.02706",
        "Residual (scatter among replicates)           5    0.3400   0.06800",
        "-----------------------------------  ----------  --------",
        "Total                                        10    115.66",
        "",
        "",
        "Standard Curve Calculations",
        "              X Values       Y Values",
        "              7.000          14.109*",
        "              2.495          5.000",
        "",
        "* - Value is outside of standard curve.",
    };
    EXPECT_EQ(ReportOf(t, o), expected);
}

// A slope small enough for scientific notation is wider than its column: every field
// after it keeps one blank before it (the row used to read "2.85714E-050.003470").
// R: x <- c(10,20,30,40,50,60); y <- c(5.12,5.31,4.98,5.27,5.05,5.22); summary(lm(y ~ x)),
//    limits with t_crit95(4) = 2.776, X intercept -coef[1] / coef[2] = -180506.67.
TEST(LinearRegressionReport, WideNumbersInTheParameterTableStayApart) {
    DataTable t;
    FillXY(t, {10, 20, 30, 40, 50, 60}, {{5.12, 5.31, 4.98, 5.27, 5.05, 5.22}});
    EXPECT_TRUE(HasBlock(ReportOf(t, LinearRegressionOptions{}),
                         {"Slope        2.85714E-05 0.003470 -0.009604 0.009661",
                          "Y intercept     5.157    0.1351     4.782     5.532",
                          "X intercept   -180507"}));
}

TEST(LinearRegressionReport, ForcedFitShowsThePointAndT) {
    DataTable t;
    FillStandardCurve(t);
    LinearRegressionOptions o;
    o.forced = true;
    o.forceX = 1;
    o.forceY = 2;
    o.linearityTest = true;
    const std::vector<std::string> lines = ReportOf(t, o);
    // xf <- x - 1; yf <- y - 2; summary(lm(yf ~ 0 + xf)): slope 2.01529, SE 0.0230120,
    // t 87.5760 with 10 df; limits with t_crit95(10) = 2.228; intercept 2 - slope.
    EXPECT_TRUE(HasBlock(lines, {
                                    "Slope           2.015   0.02301     1.964     2.067",
                                    "Y intercept  -0.01529",
                                    "X intercept  0.007589",
                                    "",
                                    "The line was forced through the point:",
                                    "X=1.000  Y=2.000",
                                    "",
                                    "",
                                    "Standard deviation of residuals from line (Sy.x) = 0.2122",
                                }));
    EXPECT_TRUE(HasBlock(lines, {
                                    "Test: Is the slope significantly different from zero?",
                                    "",
                                    "The P value is < 0.0001, considered extremely significant.",
                                    "The slope is significantly different from zero.",
                                    "",
                                    "t = 87.576 with 10 degrees of freedom.",
                                    "",
                                    "",
                                    "Runs test: Do the number of runs indicate a linear model?",
                                }));
    // anova(lm(yf ~ 0 + xf), lm(yf ~ 0 + factor(xf))): 5 and 5 df; sum(yf^2) = 345.67.
    EXPECT_TRUE(
        HasBlock(lines, {
                            "Linear regression (model)                     1    345.22",
                            "Deviations from linearity                     5    0.1101   0.02202",
                            "Residual (scatter among replicates)           5    0.3400   0.06800",
                            "-----------------------------------  ----------  --------",
                            "Total                                        11    345.67",
                        }));
    for (const std::string& line : lines) {
        EXPECT_EQ(line.find("Correlation coefficient"), std::string::npos);
        EXPECT_EQ(line.find("ANOVA table."), std::string::npos);
    }
}

TEST(LinearRegressionReport, PerfectLineEndsTheReport) {
    DataTable t;
    FillXY(t, {1, 2, 3, 4}, {{10, 8, 6, 4}, {10, 8, 6, 4}});
    LinearRegressionOptions o;
    o.linearityTest = true;
    o.standardCurve = true;
    const std::vector<std::string> expected = {
        "                        Linear Regression                        ",
        "",
        "",
        "Number of points = 8",
        "",
        "",
        "Your data form a perfect line:",
        "Slope = -2.000",
        "Y-intercept = 12.000",
        "P = 0.0000",
        "r = -1.0000",
    };
    EXPECT_EQ(ReportOf(t, o), expected);
    DataTable rising;
    FillXY(rising, {1, 2, 3}, {{2, 4, 6}});
    EXPECT_EQ(ReportOf(rising, o).back(), "r = 1.0000");
}

TEST(LinearRegressionReport, RunsTestVerdictsAndRefusals) {
    LinearRegressionOptions o;
    o.linearityTest = true;
    // x = 1:12, y = x^2: sign(resid(lm(y ~ x))) is + + + - - - - - - + + +: 6 above, 6 below,
    // 3 runs; brute-force count 12 / choose(12, 6) = 0.0130.
    DataTable curve;
    for (int i = 0; i < 12; ++i) {
        curve.SetValue(i, 0, i + 1);
        curve.SetValue(i, 1, (i + 1) * (i + 1));
    }
    EXPECT_TRUE(
        HasBlock(ReportOf(curve, o),
                 {"There are 6 points above the line, 6 below, and 3 runs.", "",
                  "The P value is 0.0130, considered significant.",
                  "There are significantly fewer runs than expected, suggesting that the data",
                  "follow a curve rather than a line."}));
    // x = 1:7, y = c(1, 2, 3, -10, 5, 6, 7): one point below the line.
    DataTable oneBelow;
    FillXY(oneBelow, {1, 2, 3, 4, 5, 6, 7}, {{1, 2, 3, -10, 5, 6, 7}});
    EXPECT_TRUE(HasBlock(ReportOf(oneBelow, o),
                         {"There are 6 points above the line, 1 below, and 3 runs.", "",
                          "Runs test cannot be performed because both the number above the",
                          "line and below the line must be greater than one."}));
    // x = 1:5, y = c(1.1, 1.9, 3.2, 3.9, 5.1): 3 above and 2 below.
    DataTable five;
    FillXY(five, {1, 2, 3, 4, 5}, {{1.1, 1.9, 3.2, 3.9, 5.1}});
    const std::vector<std::string> fiveLines = ReportOf(five, o);
    EXPECT_TRUE(
        HasBlock(fiveLines, {"There are 3 points above the line, 2 below, and 5 runs.", "",
                             "Runs test cannot be performed because the sum of the number above",
                             "the line and below the line must be greater than five."}));
    // No replicates: no lack-of-fit test and no row table.
    for (const std::string& line : fiveLines) {
        EXPECT_EQ(line.find("nonlinear"), std::string::npos);
        EXPECT_EQ(line.find("Descriptive statistics"), std::string::npos);
    }
    // 1000 rows with Y = X + 1 and Y = X - 1: the line y = x with 1000 points on each side;
    // more than 50 points also hide the table of replicates.
    DataTable many;
    for (int i = 0; i < 1000; ++i) {
        many.SetValue(i, 0, i);
        many.SetValue(i, 1, i + 1);
        many.SetValue(i, 2, i - 1);
    }
    const std::vector<std::string> manyLines = ReportOf(many, o);
    EXPECT_TRUE(
        HasBlock(manyLines, {"There are 1000 points above the line, 1000 below, and 2000 runs.", "",
                             "Runs test cannot be performed because the number above the line",
                             "and the number below the line are both greater than 500."}));
    for (const std::string& line : manyLines) {
        EXPECT_EQ(line.find("Descriptive statistics"), std::string::npos);
        EXPECT_EQ(line.find("-1"), std::string::npos);
    }
}

TEST(LinearRegressionReport, StandardCurveWithoutUnknownsOrMarks) {
    LinearRegressionOptions o;
    o.standardCurve = true;
    DataTable none;
    FillXY(none, {1, 2, 3, 4, 5}, {{1.1, 1.9, 3.2, 3.9, 5.1}});
    const std::vector<std::string> lines = ReportOf(none, o);
    const std::vector<std::string> tail(lines.end() - 8, lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{
                        "",
                        "",
                        "Standard Curve Calculations",
                        "              X Values       Y Values",
                        "",
                        "To perform standard curve calculations, you must enter the unknowns",
                        "below the standard curve in the spreadsheet. Simply enter X values",
                        "without Y, or Y values without X.",
                    }));
    // b <- coef(lm(y ~ x)): 0.04 + 1 * 2.5 = 2.54 lies inside the standard points: no mark.
    DataTable inside;
    FillXY(inside, {1, 2, 3, 4, 5, 2.5}, {{1.1, 1.9, 3.2, 3.9, 5.1}});
    const std::vector<std::string> insideLines = ReportOf(inside, o);
    EXPECT_EQ(insideLines.back(), "              2.500          2.540");
}

// ------------------------------------------------------------------------------------------
// Entry routine and run

TEST(LinearRegressionEntry, StoresTheLineForTheGraph) {
    DataTable t;
    FillStandardCurve(t);
    XYChoices choices;
    choices.runsTest = 1;
    RegressionLineResult line;
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    ASSERT_TRUE(LinearRegression({t, choices, line}, out));
    EXPECT_EQ(out.errorCode, 0);
    EXPECT_TRUE(line.valid);
    EXPECT_FALSE(line.forced);
    EXPECT_EQ(line.n, 11);
    // summary(lm(y ~ x)); mean(x) = 36 / 11; sum((x - mean(x))^2) = 28.18182
    EXPECT_LT(test::RelErr(line.slope, 2.021935483870967332L), 1e-12L);
    EXPECT_LT(test::RelErr(line.residualSD, 0.22317359076042892L), 1e-12L);
    EXPECT_LT(test::RelErr(line.meanX, 36.0L / 11.0L), 1e-15L);
    EXPECT_LT(test::RelErr(line.sxx, 310.0L / 11.0L), 1e-15L);
    EXPECT_LT(test::RelErr(line.slopeUpper, 2.021935483870967332L + 2.262L * 0.042039573051986939L),
              1e-12L);
    EXPECT_LT(line.rSquared, 1.0L);
    EXPECT_NE(out.resultJson.find("\"n\":11"), std::string::npos);
    EXPECT_NE(out.resultJson.find("\"outcome\":\"exact\""), std::string::npos);

    choices.forceThroughPoint = 1;
    choices.ForceX = 1;
    choices.ForceY = 2;
    ResultsReport forcedReport;
    AnalysisOutput forcedOut{forcedReport, 0, 0, {}};
    ASSERT_TRUE(LinearRegression({t, choices, line}, forcedOut));
    EXPECT_TRUE(line.forced);
    EXPECT_EQ(line.forceX, 1.0L);
    EXPECT_EQ(line.forceY, 2.0L);
}

TEST(LinearRegressionEntry, FailureLeavesTheCodeAndNoLine) {
    DataTable t;
    FillXY(t, {1, 2}, {{1, 2}, {3, 4}});
    XYChoices choices;
    RegressionLineResult line;
    line.valid = true;
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    EXPECT_FALSE(LinearRegression({t, choices, line}, out));
    EXPECT_EQ(out.errorCode, 36);
    EXPECT_FALSE(line.valid);
    EXPECT_TRUE(out.resultJson.empty());
}

TEST(LinearRegressionEntry, ThroughTheRunWithItsFramingAndMessages) {
    AnalysisEntryPoints entries;
    entries.regression = LinearRegression;
    Document doc;
    doc.Data().SetFormat(DataFormat::XY);
    doc.Table().SetDataTitle("Calibration");
    FillXY(doc.Table(), {3, 3, 3}, {{1, 2, 3}});
    Calculate(doc, entries);
    std::vector<std::string> lines = test::PlainLines(doc.Report());
    EXPECT_EQ(doc.ErrorCode(), 37);
    EXPECT_EQ(lines[1], "Points have only one x-value.  The slope is infinite.");
    EXPECT_FALSE(doc.RegressionLine().valid);

    doc.Table().SetValue(1, 0, 4);
    doc.Table().SetValue(2, 0, 5.5);
    doc.MarkModified();
    Calculate(doc, entries);
    lines = test::PlainLines(doc.Report());
    EXPECT_EQ(doc.ErrorCode(), 0);
    EXPECT_EQ(lines[0], "Calibration");
    EXPECT_EQ(lines[2], "                        Linear Regression                        ");
    EXPECT_EQ(lines[5], "Number of points = 3");
    EXPECT_TRUE(doc.RegressionLine().valid);
    EXPECT_FALSE(doc.ResultJson().empty());
}

}  // namespace
}  // namespace zelkon
