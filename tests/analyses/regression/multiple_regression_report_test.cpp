// The report of the multiple regression and of the correlation matrix against lines built
// by hand from the report's texts, the tab stops and the number rule (values from R's lm
// and cor), every branch of it, and the entry routine through the run.
#include "analyses/regression/multiple_regression_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analyses/regression/multiple_regression.h"
#include "analyses/regression/multiple_regression_entry.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "stats/wording.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

// The data of multiple_regression_test.cpp: R
//   x1 <- 1:12; x2 <- c(3.1,2.9,4.2,5.0,4.1,6.3,5.8,7.7,6.9,8.4,9.1,8.8)
//   x3 <- c(10,12,9,15,14,13,18,16,20,19,22,21)
//   y <- c(4.52,5.98,6.64,7.9,10.52,10.26,12.36,12.84,16.68,15.58,17.62,19.56)
// and three incomplete rows.
void FillData(DataTable& t) {
    const double x2[] = {3.1, 2.9, 4.2, 5.0, 4.1, 6.3, 5.8, 7.7, 6.9, 8.4, 9.1, 8.8};
    const double x3[] = {10, 12, 9, 15, 14, 13, 18, 16, 20, 19, 22, 21};
    const double y[] = {4.52,  5.98,  6.64,  7.9,   10.52, 10.26,
                        12.36, 12.84, 16.68, 15.58, 17.62, 19.56};
    for (int r = 0; r < 12; ++r) {
        t.SetValue(r, 0, static_cast<Extended>(y[r]));
        t.SetValue(r, 1, r + 1);
        t.SetValue(r, 2, static_cast<Extended>(x2[r]));
        t.SetValue(r, 3, static_cast<Extended>(x3[r]));
    }
    t.SetValue(12, 0, 20);
    t.SetValue(12, 3, 25);
    t.SetValue(13, 1, 13);
    t.SetValue(13, 2, 9.5L);
    t.SetValue(13, 3, 23);
    t.SetValue(14, 0, 21);
    t.SetValue(14, 1, 14);
    t.SetValue(14, 2, 10);
    t.SetValue(14, 3, 24);
    t.SetExcluded(14, 2, true);
    t.Record(0).title = "Weight";
}

MultipleRegressionChoices Choose(std::initializer_list<int> xs, bool regression = true) {
    MultipleRegressionChoices c;
    c.kind = regression ? MultipleRegressionKind::MultipleRegression
                        : MultipleRegressionKind::CorrelationMatrix;
    c.dependentColumn = 0;
    for (int x : xs) c.include[static_cast<std::size_t>(x)] = 1;
    return c;
}

std::vector<std::string> ReportOf(const MultipleRegressionAnalysis& a) {
    ResultsReport report;
    WriteMultipleRegressionReport(report, a);
    return test::PlainLines(report);
}

std::vector<std::string> ReportOf(const DataTable& t, const MultipleRegressionChoices& c) {
    const MultipleRegressionAnalysis a = ComputeMultipleRegression(t, c);
    EXPECT_EQ(a.errorCode, 0);
    return ReportOf(a);
}

bool HasBlock(const std::vector<std::string>& lines, const std::vector<std::string>& block) {
    return std::search(lines.begin(), lines.end(), block.begin(), block.end()) != lines.end();
}

bool HasLineStarting(const std::vector<std::string>& lines, std::string_view start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

TEST(MultipleRegressionReport, ThreeVariablesWholeReport) {
    DataTable t;
    FillData(t);
    // summary(lm(y ~ x1 + x2 + x3)); intervals with t_crit95(8) = 2.306; the VIFs
    // 1 / (1 - R^2) of each X on the others; cor(cbind(x1, x2, x3, y)).
    const std::vector<std::string> expected = {
        "                   Multiple Regression Results                   ",
        "",
        "What equation fits the data the best?",
        "",
        " [A:Weight] = 4.330 + 1.815*[B:] - 0.9534*[C:]",
        "      + 0.08407*[D:]",
        "Variable           Coefficient SE        95% Confidence Interval",
        "(constant)         4.330       1.212     1.535   to  7.126",
        "B:                 1.815       0.2228    1.301   to  2.328",
        "C:                 -0.9534     0.2683    -1.572  to  -0.3347",
        "D:                 0.08407     0.09702   -0.1396 to  0.3078",
        "How good is the fit?",
        "",
        "R squared = 99.29%.",
        "This is the percent of the variance in A:Weight explained by the model.",
        "",
        "The P value is < 0.0001, considered extremely significant.",
        "The P value answers this question:",
        "  If there were no linear relationship among the variables, what is ",
        "  the chance that R squared would be that high (or higher) by chance?",
        "",
        "Sum-of-squares 1.895    SD of residuals 0.4867",
        "R squared 0.9929        Adjusted R squared 0.9902",
        "Multiple R 0.9964       F 371.8782",
        "",
        "",
        "Which variable(s) make a significant contribution?",
        "Variable           t ratio     P value     Significant?",
        "(constant)         3.572         0.0073      Yes",
        "B:                 8.145       < 0.0001      Yes",
        "C:                 3.554         0.0075      Yes",
        "D:                 0.8666        0.4114      No",
        "",
        "Each P value compares the full model with a simpler model omiting",
        "one variable. It tests the effect of one variable, after accounting",
        "for the effects of the others.",
        "",
        "",
        "Is multicollinearity a problem?",
        "Variable           VIF              R2 with other X",
        "B:                 29.96            0.9666",
        "C:                 16.07            0.9378",
        "D:                 8.11             0.8768",
        "",
        "Each R squared quantifies how well that X variable is predicted from",
        "the other X variables (ignoring Y). VIF is calculated from R squared.",
        "",
        "Some R squared values are quite high (>.90). Multicollinearity is a problem.",
        "This means that the X variables provide redundant information, ",
        "making the confidence intervals very wide (by a factor of VIF).",
        "Consider removing one or more X variables from the model,",
        "or obtaining data over a wider range of X values.",
        "",
        "",
        "Correlation Matrix",
        "",
        "                 B:       C:       D:      |  A: (Y)",
        "B:               1.0000   0.9640   0.9274  |  0.9885",
        "C:               0.9640   1.0000   0.8598  |  0.9205",
        "D:               0.9274   0.8598   1.0000  |  0.9417",
        "",
        "Each correlation coefficient (r) is calculated independently, ",
        "without considering the other variables.",
        "(Except that rows are excluded when any variables are missing.)",
        "",
        "",
        "Summary of your data",
        "",
        "Number of rows (subjects) analyzed: 12",
        "Number of rows with missing data, excluded from calculations: 3",
        "Number of degrees of freedom (#subjects - #variables - 1): 8",
    };
    EXPECT_EQ(ReportOf(t, Choose({1, 2, 3})), expected);
}

// A lower bound of eight characters fills its column up to the "to" stop: "to" follows it
// after one blank and the upper bound keeps its stop (it used to read "-0.09111    to0.4930").
// R: x1 <- 1:8; x2 <- c(2.1,3.5,1.8,4.2,3.9,5.1,4.4,6.0)
//    y <- c(1.6,2.1,2.4,3.3,3.1,4.2,4.4,5.3); summary(lm(y ~ x1 + x2)), limits with
//    t_crit95(5) = 2.571: 0.02863..1.341, 0.2395..0.5767, -0.09111..0.4930.
TEST(MultipleRegressionReport, IntervalFieldsStayApart) {
    DataTable t;
    const double x2[] = {2.1, 3.5, 1.8, 4.2, 3.9, 5.1, 4.4, 6.0};
    const double y[] = {1.6, 2.1, 2.4, 3.3, 3.1, 4.2, 4.4, 5.3};
    for (int r = 0; r < 8; ++r) {
        t.SetValue(r, 0, static_cast<Extended>(y[r]));
        t.SetValue(r, 1, r + 1);
        t.SetValue(r, 2, static_cast<Extended>(x2[r]));
    }
    EXPECT_TRUE(HasBlock(ReportOf(t, Choose({1, 2})),
                         {"Variable           Coefficient SE        95% Confidence Interval",
                          "(constant)         0.6849      0.2552    0.02863 to  1.341",
                          "B:                 0.4081      0.06557   0.2395  to  0.5767",
                          "C:                 0.2009      0.1136    -0.09111 to 0.4930"}));
}

TEST(MultipleRegressionReport, OneVariableLabelsAndNoFurtherSections) {
    DataTable t;
    FillData(t);
    const std::vector<std::string> lines = ReportOf(t, Choose({2}));
    // summary(lm(y ~ x2)); intervals with t_crit95(10) = 2.228.  A negative constant.
    EXPECT_TRUE(
        HasBlock(lines, {
                            " [A:Weight] = -0.7351 + 2.065*[C:]",
                            "Variable           Coefficient SE        95% Confidence Interval",
                            "Intercept          -0.7351     1.769     -4.676  to  3.206",
                            "Slope              2.065       0.2772    1.447   to  2.682",
                            "How good is the fit?",
                            "",
                            "R squared = 84.72%.",
                        }));
    EXPECT_TRUE(HasBlock(lines, {
                                    "Sum-of-squares 40.662   SD of residuals 2.016",
                                    "R squared 0.8472        Adjusted R squared 0.8320",
                                    "r 0.9205                F 55.4651",
                                    "",
                                    "",
                                    "Summary of your data",
                                }));
    EXPECT_EQ(lines.back(), "Number of degrees of freedom (#subjects - #variables - 1): 10");
    for (const char* absent : {"Which variable", "multicollinearity", "Correlation Matrix"}) {
        EXPECT_FALSE(HasLineStarting(lines, absent)) << absent;
    }
}

TEST(MultipleRegressionReport, HighPValueAndPerfectFit) {
    // x <- 1:6; y <- c(2, 5, 1, 4, 3, 2): the F test's P is 0.8372, sum(resid(m)^2) 10.70476,
    // summary(m)$sigma 1.635907.
    DataTable poor;
    const double y[] = {2, 5, 1, 4, 3, 2};
    for (int r = 0; r < 6; ++r) {
        poor.SetValue(r, 0, y[r]);
        poor.SetValue(r, 1, r + 1);
    }
    EXPECT_TRUE(HasBlock(
        ReportOf(poor, Choose({1})),
        {"The P value is 0.8372, considered not significant.", "The P value answers this question:",
         "  If there were no linear relationship among the variables, what is ",
         "  the chance that R squared would be that high (or higher) by chance?", "",
         "Since P is high, the rest of the results will be of little interest.", "",
         "Sum-of-squares 10.705   SD of residuals 1.636"}));

    // y = 1 + 2 x1 - x2 exactly: no P value and no fit table; infinite t ratios; the VIF
    // 1 / (1 - r^2) with r = cor(1:6, c(2,1,4,3,6,5)) = 0.8285714 is 3.19.
    DataTable perfect;
    const double x1[] = {1, 2, 3, 4, 5, 6};
    const double x2[] = {2, 1, 4, 3, 6, 5};
    for (int r = 0; r < 6; ++r) {
        perfect.SetValue(r, 1, x1[r]);
        perfect.SetValue(r, 2, x2[r]);
        perfect.SetValue(r, 0, 1 + 2 * x1[r] - x2[r]);
    }
    const std::vector<std::string> lines = ReportOf(perfect, Choose({1, 2}));
    EXPECT_TRUE(
        HasBlock(lines, {"R squared = 100.00%.",
                         "This is the percent of the variance in A: explained by the model.",
                         "The model fits the data perfectly.", "", "",
                         "Which variable(s) make a significant contribution?",
                         "Variable           t ratio     P value     Significant?",
                         "(constant)         infinite    < 0.0001      Yes",
                         "B:                 infinite    < 0.0001      Yes"}));
    EXPECT_TRUE(HasBlock(
        lines,
        {"B:                 3.19             0.6865", "C:                 3.19             0.6865",
         "", "Each R squared quantifies how well that X variable is predicted from",
         "the other X variables (ignoring Y). VIF is calculated from R squared.", "",
         "All R squared values are low (<0.75). The X variables are independent ",
         "of each other. Multicollinearity is not a problem.", "", "", "Correlation Matrix"}));
    EXPECT_FALSE(HasLineStarting(lines, "The P value"));
    EXPECT_FALSE(HasLineStarting(lines, "Sum-of-squares"));
}

/// The lines between the VIF explanation and the correlation matrix for a largest VIF.
std::vector<std::string> VerdictFor(Extended largestVif) {
    DataTable t;
    FillData(t);
    MultipleRegressionAnalysis a = ComputeMultipleRegression(t, Choose({1, 2, 3}));
    a.largestVif = largestVif;
    const std::vector<std::string> lines = ReportOf(a);
    auto from = std::find(lines.begin(), lines.end(),
                          "the other X variables (ignoring Y). VIF is calculated from R squared.");
    auto to = std::find(lines.begin(), lines.end(), "Correlation Matrix");
    if (from == lines.end() || to == lines.end() || to - from < 4) return {};
    return std::vector<std::string>(from + 2, to - 2);
}

TEST(MultipleRegressionReport, VifVerdictThresholds) {
    const std::vector<std::string> low = {
        "All R squared values are low (<0.75). The X variables are independent ",
        "of each other. Multicollinearity is not a problem."};
    const std::vector<std::string> advice = {
        "This means that the X variables provide redundant information, ",
        "making the confidence intervals very wide (by a factor of VIF).",
        "Consider removing one or more X variables from the model,",
        "or obtaining data over a wider range of X values."};
    const std::string moderate =
        "Some R squared values are high (>.75). Multicollinearity may be a problem.";
    const std::string high =
        "Some R squared values are quite high (>.90). Multicollinearity is a problem.";
    auto with = [](const std::string& first, const std::vector<std::string>& rest) {
        std::vector<std::string> v{first};
        v.insert(v.end(), rest.begin(), rest.end());
        return v;
    };
    EXPECT_EQ(VerdictFor(3.99L), low);
    EXPECT_EQ(VerdictFor(4.0L), std::vector<std::string>{});
    EXPECT_EQ(VerdictFor(4.01L), with(moderate, advice));
    EXPECT_EQ(VerdictFor(10.0L), advice);
    EXPECT_EQ(VerdictFor(10.5L), with(high, advice));
}

// ------------------------------------------------------------------------------------------
// Correlation matrix blocks

/// n rows of `columns` variables without linear dependence; column A is Y.
void FillWide(DataTable& t, int columns) {
    for (int r = 0; r < 20; ++r) {
        Extended sum = 0;
        for (int c = 1; c < columns; ++c) {
            const Extended v = static_cast<Extended>((r * (2 * c + 3) + c * c) % 17) + 0.1L * c;
            t.SetValue(r, c, v);
            sum += v;
        }
        t.SetValue(r, 0, sum + static_cast<Extended>((r * 7) % 5));
    }
}

/// A row of the matrix built by hand: the name, then each correlation at the tab stops
/// 17, 26, ... with a blank in place of a minus sign.
std::string MatrixRow(const std::string& name, const std::vector<Extended>& values, bool lastIsY) {
    std::string line = name;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t stop = 16 + 9 * i;
        line.resize(std::max(line.size(), stop), ' ');
        if (lastIsY && i + 1 == values.size()) line += "| ";
        const std::string text = FormatNumber(values[i], 4);
        line += (text[0] == '-' ? "" : " ") + text;
    }
    return line;
}

TEST(MultipleRegressionReport, FiveXVariablesPutYInASecondBlock) {
    DataTable t;
    FillWide(t, 6);
    const MultipleRegressionAnalysis a = ComputeMultipleRegression(t, Choose({1, 2, 3, 4, 5}));
    ASSERT_EQ(a.refusal, MultipleRegressionRefusal::None);
    ASSERT_EQ(a.k, 5);
    const std::vector<std::string> lines = ReportOf(a);
    const auto at = std::find(lines.begin(), lines.end(), "Correlation Matrix");
    ASSERT_NE(at, lines.end());
    std::vector<std::string> expected = {"Correlation Matrix", "",
                                         "                 B:       C:       D:       E:       F:"};
    for (std::size_t i = 0; i < 5; ++i)
        expected.push_back(MatrixRow(a.xNames[i], a.correlations[i], false));
    expected.push_back("");
    expected.push_back("                |  A: (Y)");
    for (std::size_t i = 0; i < 5; ++i)
        expected.push_back(MatrixRow(a.xNames[i], {a.correlationsWithY[i]}, true));
    expected.push_back("");
    expected.push_back("Each correlation coefficient (r) is calculated independently, ");
    expected.push_back("without considering the other variables.");
    expected.push_back("");
    EXPECT_EQ(std::vector<std::string>(at, at + static_cast<long>(expected.size())), expected);
    EXPECT_EQ(a.correlations[2][2], 1.0L);
}

TEST(MultipleRegressionReport, SevenXVariablesAndCorrelationModeBlocks) {
    DataTable t;
    FillWide(t, 8);
    const MultipleRegressionAnalysis a =
        ComputeMultipleRegression(t, Choose({1, 2, 3, 4, 5, 6, 7}));
    ASSERT_EQ(a.refusal, MultipleRegressionRefusal::None);
    const std::vector<std::string> lines = ReportOf(a);
    EXPECT_TRUE(HasBlock(
        lines,
        {"", "                 G:       H:      |  A: (Y)",
         MatrixRow("B:", {a.correlations[0][5], a.correlations[0][6], a.correlationsWithY[0]},
                   true)}));

    // Correlation mode with five columns: one block, no empty second block.
    const std::vector<std::string> five = ReportOf(t, Choose({0, 1, 2, 3, 4}, false));
    ASSERT_GE(five.size(), 9u);
    EXPECT_EQ(five[0], "                   Correlation Matrix Results                    ");
    EXPECT_EQ(five[1], "");
    EXPECT_EQ(five[2], "                 A:       B:       C:       D:       E:");
    EXPECT_EQ(five[8], "");
    EXPECT_EQ(five[9], "Each correlation coefficient (r) is calculated independently, ");
    EXPECT_EQ(five.back(), "Number of rows with missing data, excluded from calculations: 0");
    EXPECT_FALSE(HasLineStarting(five, "(Except"));
    EXPECT_FALSE(HasLineStarting(five, "Number of degrees"));
    // Six columns: a second block with the sixth.
    const std::vector<std::string> six = ReportOf(t, Choose({0, 1, 2, 3, 4, 5}, false));
    EXPECT_EQ(six[2], "                 A:       B:       C:       D:       E:");
    EXPECT_EQ(six[9], "");
    EXPECT_EQ(six[10], "                 F:");
    EXPECT_EQ(six[16], "F:               1.0000");
}

TEST(MultipleRegressionReport, RefusalIsOneFramedLine) {
    DataTable t;
    FillData(t);
    EXPECT_EQ(ReportOf(t, Choose({}, true)),
              (std::vector<std::string>{
                  "", "You must choose one or more independent (X) variables.", ""}));
    EXPECT_EQ(
        ReportOf(t, Choose({1}, false)),
        (std::vector<std::string>{"", "You must choose two or more variables to analyze.", ""}));
    DataTable empty;
    EXPECT_EQ(ReportOf(empty, Choose({1}))[1], "Until you enter data, you won't see any results!");
}

// ------------------------------------------------------------------------------------------
// Entry routine

TEST(MultipleRegressionEntry, ThroughTheRun) {
    AnalysisEntryPoints entries;
    entries.multipleRegression = MultipleRegression;
    Document doc;
    doc.Data().SetFormat(DataFormat::MultipleRegression);
    FillData(doc.Table());
    doc.Table().SetDataTitle("Growth");
    doc.Choices().multipleRegression = Choose({1, 2, 3});
    // A column run left the analysis mode on with column B unselected: the X marks rule.
    doc.Table().SetSelected(1, false);
    doc.Table().SetAnalysisMode(true);
    Calculate(doc, entries);
    EXPECT_TRUE(doc.Table().AnalysisMode());
    EXPECT_EQ(doc.ErrorCode(), 0);
    EXPECT_EQ(doc.ResultsHelpTopic(), 210);
    std::vector<std::string> lines = test::PlainLines(doc.Report());
    EXPECT_EQ(lines[0], "Growth");
    EXPECT_EQ(lines[2], "                   Multiple Regression Results                   ");
    const MultipleRegressionResult& g = doc.MultipleRegression();
    ASSERT_TRUE(g.valid);
    EXPECT_EQ(g.yColumn, 0);
    EXPECT_EQ(g.inModel[1] + g.inModel[2] + g.inModel[3], 3);
    EXPECT_EQ(g.inModel[0] + g.inModel[4], 0);
    // coef(lm(y ~ x1 + x2 + x3))
    EXPECT_NEAR(static_cast<double>(g.coefficients[0]), 4.330262357238422, 1e-12);
    EXPECT_NEAR(static_cast<double>(g.coefficients[3]), -0.953410856042346, 1e-12);
    EXPECT_EQ(g.analysedRows[11], 1);
    EXPECT_EQ(g.analysedRows[12], 0);
    EXPECT_NE(doc.ResultJson().find("\"df\":8"), std::string::npos);

    doc.Choices().multipleRegression = Choose({0, 1, 2}, false);
    doc.MarkModified();
    Calculate(doc, entries);
    EXPECT_EQ(doc.ResultsHelpTopic(), 208);
    EXPECT_FALSE(doc.MultipleRegression().valid);
    EXPECT_EQ(doc.MultipleRegression().analysedRows[0], 1);
    lines = test::PlainLines(doc.Report());
    EXPECT_EQ(lines[2], "                   Correlation Matrix Results                    ");

    // A constant dependent variable: the error message in place of the report.
    for (int r = 0; r < 15; ++r) {
        if (!doc.Table().IsMissing(r, 0)) doc.Table().SetValue(r, 0, 5);
    }
    doc.Choices().multipleRegression = Choose({1, 2});
    doc.MarkModified();
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 2);
    EXPECT_FALSE(doc.MultipleRegression().valid);
    EXPECT_TRUE(doc.ResultJson().empty());
}

}  // namespace
}  // namespace zelkon
