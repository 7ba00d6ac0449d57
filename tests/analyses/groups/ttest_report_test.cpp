// The reports of the t tests, line by line, against lines built by hand from the report
// texts, the number rules (numbers worked out by hand from the R values of
// ttest_compute_test) and the column positions of the results tables.
#include "analyses/groups/t_test_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <initializer_list>
#include <string>
#include <vector>

#include "core/column_data_helpers.h"
#include "core/data_table.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::AddRawColumn;
using Lines = std::vector<std::string>;

// --- Lines built by hand ----------------------------------------------------------------

// A title centred in 65 characters: half the free space before, the rest after.
std::string Title(const std::string& text) {
    const std::size_t before = (65 - text.size()) / 2;
    return std::string(before, ' ') + text + std::string(65 - before - text.size(), ' ');
}

std::string Right(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// A row of the parameter list: the label right-aligned in 14, values right-aligned in 15
// at columns 16, 32 and 48.
std::string Param(const std::string& label, std::initializer_list<std::string> values) {
    std::string line = Right(label, 14);
    for (const std::string& v : values) line.append(" ").append(Right(v, 15));
    return line;
}

Lines ParameterList(std::initializer_list<std::initializer_list<std::string>> rows) {
    static const char* labels[] = {"Parameter:",    "Mean:",    "# of points:",
                                   "Std deviation:", "Std error:", "Minimum:",
                                   "Maximum:",      "Median:",  "Lower 95% CI:",
                                   "Upper 95% CI:"};
    Lines lines;
    std::size_t i = 0;
    for (const auto& row : rows) lines.push_back(Param(labels[i++], row));
    return lines;
}

// The normality table: heading words centred at 1 (15), 17 (6), 26 (8), then the free text
// at 35; the underline runs 15, 6, 8, 23.
Lines NormalityTableHeading() {
    return {"     Group        KS     P Value  Passed normality test?",
            "=============== ======   ======== ======================="};
}

std::string NormalityRow(const std::string& title, const std::string& ks, const std::string& p,
                         bool passed) {
    std::string line = Right(title, 15) + " " + Right(ks, 8) + " ";
    line += p;
    line += std::string(34 - line.size(), ' ');
    return line + (passed ? " Yes" : " No");
}

void Append(Lines& to, const Lines& more) { to.insert(to.end(), more.begin(), more.end()); }

void ExpectLines(const ResultsReport& report, const Lines& expected) {
    const Lines actual = test::PlainLines(report);
    for (std::size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
        EXPECT_EQ(actual[i], expected[i]) << "line " << i;
    }
    EXPECT_EQ(actual.size(), expected.size());
}

/// The lines from the first line equal to `from` up to (not including) the first line
/// equal to `to` after it.
Lines Section(const ResultsReport& report, const std::string& from, const std::string& to) {
    const Lines all = test::PlainLines(report);
    Lines out;
    bool in = false;
    for (const std::string& line : all) {
        if (!in && line == from) in = true;
        if (in && line == to && !out.empty()) break;
        if (in) out.push_back(line);
    }
    return out;
}

const Lines FailedNormality = {"The data failed the normality test with P<0.05.",
                               "Consider using a nonparametric test or transforming the data ",
                               "(i.e. converting to logarithms or reciprocals). "};

// --- One-sample test --------------------------------------------------------------------

TEST(OneSampleTTestReport, RawColumnTwoTailedWholeReport) {
    DataTable table;
    AddRawColumn(table, 0, {4.1, 5.2, 6.3, 5.8, 4.9, 6.0, 5.5}, "Weight");
    const auto r = ComputeOneSampleTTest(table, 0, table.Record(0), true, 5);
    ResultsReport report;
    WriteOneSampleTTestReport(r, report);
    Lines expected = {
        "",
        Title("One sample t test"),
        "Does the mean of Weight differ significantly from 5.000? ",
        "",
        "P value",
        "The two-tailed P value is 0.2047, considered not significant.",
        "",
        "t = 1.423 with 6 degrees of freedom.",
        "",
        "95% Confidence interval",
        "Mean difference = 0.4000 (Mean of Weight minus 5.000) ",
        "The 95% confidence interval of the difference:",
        "   -0.2880 to 1.088",
        "",
        "Assumption test: Are the data sampled from a Gaussian distribution?",
        "The one sample t test assumes that the differences are sampled from a ",
        "Gaussian distribution. This assumption is tested using the ",
        "method of Kolmogorov and Smirnov:",
        "   The Kolmogorov-Smirnov distance (KS) is   0.13",
        "   The P value is >0.10",
        "The data passed the normality test with P>0.05.",
        "",
        "",
        Title("Summary of Data"),
    };
    Append(expected, ParameterList({{"Weight"}, {"5.400"}, {"7"}, {"0.7439"}, {"0.2812"},
                                    {"4.100"}, {"6.300"}, {"5.500"}, {"4.712"}, {"6.088"}}));
    ExpectLines(report, expected);
    // Headings are underlined: the second emphasis switches around the text.
    const Lines raw = report.AllLines();
    const std::string u(1, ResultsReport::Emphasis2);
    EXPECT_EQ(raw[1], u + Title("One sample t test") + u);
    EXPECT_EQ(raw[4], u + "P value" + u);
}

TEST(OneSampleTTestReport, OneTailedWithFailedNormality) {
    DataTable table;
    AddRawColumn(table, 0, {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 30, 40}, "Counts");
    const auto r = ComputeOneSampleTTest(table, 0, table.Record(0), false, 0);
    ResultsReport report;
    WriteOneSampleTTestReport(r, report);
    const Lines all = test::PlainLines(report);
    ASSERT_GE(all.size(), 26u);
    EXPECT_EQ(all[2], "Does the mean of Counts differ significantly from 0.000? ");
    // R: t.test(x)$p.value = 0.103486386081241, halved.
    EXPECT_EQ(all[5], "The one-tailed P value is 0.0517, considered not quite significant.");
    EXPECT_EQ(all[7], "t = 1.775 with 11 degrees of freedom.");
    EXPECT_EQ(all[10], "Mean difference = 6.833 (Mean of Counts minus 0.000) ");
    EXPECT_EQ(all[12], "   -1.639 to 15.305");
    EXPECT_EQ(all[18], "   The Kolmogorov-Smirnov distance (KS) is   0.47");
    EXPECT_EQ(all[19], "   The P value is 0.0089");
    EXPECT_EQ(Lines(all.begin() + 20, all.begin() + 23), FailedNormality);
    EXPECT_EQ(all[23], "");
    EXPECT_EQ(all[24], "");
    EXPECT_EQ(all[25], Title("Summary of Data"));
}

TEST(OneSampleTTestReport, TypedInSummaryHasTwoBlankLinesInPlaceOfTheNormalityBlock) {
    DataTable table;
    ColumnRecord typed;
    typed.mean = 5.5;
    typed.sd = 1.2;
    typed.n = 12;
    typed.title = "Typed";
    const auto r = ComputeOneSampleTTest(table, -1, typed, true, 5);
    ResultsReport report;
    WriteOneSampleTTestReport(r, report);
    Lines expected = {
        "",
        Title("One sample t test"),
        "Does the mean of Typed differ significantly from 5.000? ",
        "",
        "P value",
        "The two-tailed P value is 0.1768, considered not significant.",
        "",
        "t = 1.443 with 11 degrees of freedom.",
        "",
        "95% Confidence interval",
        "Mean difference = 0.5000 (Mean of Typed minus 5.000) ",
        "The 95% confidence interval of the difference:",
        "   -0.2624 to 1.262",
        "",
        "",
        "",
        Title("Summary of Data"),
    };
    // Typed-in: no minimum, maximum or median.
    Append(expected,
           ParameterList({{"Typed"}, {"5.500"}, {"12"}, {"1.200"}, {"0.3464"}, {"Unknown"},
                          {"Unknown"}, {"Unknown"}, {"4.738"}, {"6.262"}}));
    ExpectLines(report, expected);
}

TEST(NormalityBlock, BoundariesOfThePValueText) {
    auto lines = [](Extended ks, Extended p) {
        ResultsReport report;
        WriteNormalityBlock(report, NormalityResult{ks, p});
        return test::PlainLines(report);
    };
    EXPECT_EQ(lines(0.123, 0.10L)[1], "   The P value is 0.1000");  // exactly 0.10: decimals
    EXPECT_EQ(lines(0.123, 0.00005L)[1], "   The P value is <0.0001");
    // P = 0.05 passes here.
    EXPECT_EQ(lines(0.123, 0.05L)[2], "The data passed the normality test with P>0.05.");
    EXPECT_EQ(lines(0.123, 0.0499L).size(), 5u);
    EXPECT_EQ(lines(1.0, 0.5L)[0], "   The Kolmogorov-Smirnov distance (KS) is   1.00");
}

// --- Unpaired and Welch -----------------------------------------------------------------

struct UnpairedReport : ::testing::Test {
    DataTable table;
    ResultsReport report;
    void SetUp() override {
        AddRawColumn(table, 0, {12.0, 15.5, 13.2, 14.8, 16.1, 13.9}, "Control");
        AddRawColumn(table, 1, {17.2, 18.9, 16.5, 19.8, 17.7, 20.3, 18.1}, "Treated");
    }
};

TEST_F(UnpairedReport, EqualSdWholeReport) {
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, true);
    WriteTTestReport(r, report);
    Lines expected = {
        Title("Unpaired t test"),
        "Do the means of Control and Treated differ significantly?",
        "",
        "P value",
        "The two-tailed P value is 0.0003, considered extremely significant.",
        "",
        "t = 5.104 with 11 degrees of freedom.",
        "",
        "95% confidence interval",
        "Mean difference = 4.107 (Mean of Treated minus mean of Control) ",
        "The 95% confidence interval of the difference: 2.336 to 5.878",
        "",
        "",
        "Assumption test: Are the standard deviations equal?",
        "The t test assumes that the columns come from populations with equal SDs.",
        "The following calculations test that assumption.",
        "",
        "F = 1.214",
        "The P value is 0.4037. ",
        "This test suggests that the difference between the two SDs is",
        "not significant.  ",
        "",
        "Assumption test: Are the data sampled from Gaussian distributions?",
        "The t test assumes that the data are sampled from populations that follow ",
        "Gaussian distributions. This assumption is tested using the method ",
        "Kolmogorov and Smirnov:",
    };
    Append(expected, NormalityTableHeading());
    expected.push_back(NormalityRow("Control", "0.1411", ">0.10", true));
    expected.push_back(NormalityRow("Treated", "0.1453", ">0.10", true));
    expected.push_back("");
    expected.push_back(Title("Summary of Data"));
    Append(expected, ParameterList({{"Control", "Treated"},
                                    {"14.250", "18.357"},
                                    {"6", "7"},
                                    {"1.522", "1.381"},
                                    {"0.6212", "0.5218"},
                                    {"12.000", "16.500"},
                                    {"16.100", "20.300"},
                                    {"14.350", "18.100"},
                                    {"12.653", "17.080"},
                                    {"15.847", "19.634"}}));
    ExpectLines(report, expected);
}

TEST_F(UnpairedReport, WelchOneTailedHasNoFTest) {
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), false, false, true);
    WriteTTestReport(r, report);
    const Lines expected = {
        Title("Unpaired t test with Welch correction"),
        "Do the means of Control and Treated differ significantly?",
        "",
        "P value",
        "The one-tailed P value is 0.0002, considered extremely significant.",
        "Welch correction applied. This test does not assume equal variances.",
        "",
        "Welch's approximate t = 5.063 with 10 degrees of freedom.",
        "",
        "95% confidence interval",
        "Mean difference = 4.107 (Mean of Treated minus mean of Control) ",
        "The 95% confidence interval of the difference: 2.300 to 5.915",
        "",
        "",
        "",
        "Assumption test: Are the data sampled from Gaussian distributions?",
    };
    const Lines all = test::PlainLines(report);
    ASSERT_GE(all.size(), expected.size());
    EXPECT_EQ(Lines(all.begin(), all.begin() + static_cast<long>(expected.size())), expected);
}

// Means and differences that are exact halves of the printed digit round away from zero,
// as by hand (to even they read 108.12, 108.62 and 1.062).  R: mean(c(106, 107.25, 107,
// 108)) = 107.0625, mean(c(107, 108.5, 108, 109)) = 108.125, mean(c(108.5, 108.75, 108.25,
// 109)) = 108.625.
TEST(UnpairedTTestReport, HalvesRoundAwayFromZero) {
    struct Case {
        std::initializer_list<double> a, b;
        const char* meanA;
        const char* meanB;
        const char* difference;
    };
    const Case cases[] = {
        {{106, 107.25, 107, 108}, {107, 108.5, 108, 109}, "107.06", "108.13", "1.063"},
        {{108.5, 108.75, 108.25, 109}, {107, 108.5, 108, 109}, "108.63", "108.13", "-0.5000"},
    };
    for (const Case& c : cases) {
        DataTable table;
        AddRawColumn(table, 0, c.a, "A");
        AddRawColumn(table, 1, c.b, "B");
        ResultsReport report;
        WriteTTestReport(
            ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, true), report);
        const Lines all = test::PlainLines(report);
        const std::string difference = std::string("Mean difference = ") + c.difference +
                                       " (Mean of B minus mean of A) ";
        EXPECT_NE(std::find(all.begin(), all.end(), difference), all.end()) << c.difference;
        EXPECT_NE(std::find(all.begin(), all.end(), Param("Mean:", {c.meanA, c.meanB})),
                  all.end())
            << c.meanA;
    }
}

TEST(UnpairedTTestReport, SignificantFTestAdvisesAlternatives) {
    DataTable table;
    AddRawColumn(table, 0, {10, 10.5, 9.8, 10.2, 10.1, 9.9}, "Narrow");
    AddRawColumn(table, 1, {5, 15, 8, 20, 12, 3, 18}, "Wide");
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, true);
    ResultsReport report;
    WriteTTestReport(r, report);
    const Lines expected = {
        "Assumption test: Are the standard deviations equal?",
        "The t test assumes that the columns come from populations with equal SDs.",
        "The following calculations test that assumption.",
        "",
        "F = 685.71",
        "The P value is < 0.0001. ",
        "This test suggests that the difference between the two SDs is",
        "extremely significant.  Since the t test assumes populations with equal",
        "SDs, you should consider transforming your data (reciprocal or log),",
        "selecting a nonparametric test, or selecting the alternate (Welch) t test.",
        "",
    };
    EXPECT_EQ(Section(report, expected.front(),
                      "Assumption test: Are the data sampled from Gaussian distributions?"),
              expected);
    EXPECT_EQ(test::PlainLines(report)[6], "t = 0.5566 with 11 degrees of freedom.");
}

TEST(UnpairedTTestReport, FailedNormalityOfOneColumn) {
    DataTable table;
    AddRawColumn(table, 0, {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 30, 40}, "Skewed");
    AddRawColumn(table, 1, {4.1, 5.2, 6.3, 5.8, 4.9, 6.0, 5.5}, "Normal");
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, true);
    ResultsReport report;
    WriteTTestReport(r, report);
    Lines expected = {"Assumption test: Are the data sampled from Gaussian distributions?",
                      "The t test assumes that the data are sampled from populations that follow ",
                      "Gaussian distributions. This assumption is tested using the method ",
                      "Kolmogorov and Smirnov:"};
    Append(expected, NormalityTableHeading());
    expected.push_back(NormalityRow("Skewed", "0.4748", " 0.0089", false));
    expected.push_back(NormalityRow("Normal", "0.1332", ">0.10", true));
    Append(expected, {"", "At least one column failed the normality test with P<0.05.",
                      "Consider using a nonparametric test or transforming the data ",
                      "(i.e. converting to logarithms or reciprocals). ", ""});
    EXPECT_EQ(Section(report, expected.front(), Title("Summary of Data")), expected);
}

TEST(UnpairedTTestReport, TypedInColumnsNeedRawDataForTheNormalityTest) {
    DataTable table;
    ColumnRecord a, b;
    a.mean = 10, a.sd = 2, a.n = 8, a.title = "Mice";
    b.mean = 12.5, b.sd = 3, b.n = 10, b.title = "Rats";
    const auto r = ComputeTTest(table, -1, -1, a, b, true, true, true);
    ResultsReport report;
    WriteTTestReport(r, report);
    const Lines all = test::PlainLines(report);
    ASSERT_GE(all.size(), 31u);
    EXPECT_EQ(all[4], "The two-tailed P value is 0.0605, considered not quite significant.");
    EXPECT_EQ(all[6], "t = 2.019 with 16 degrees of freedom.");
    // Interval by hand: 2.5 -/+ 1.96 * 16 / (16 - 1.20722) * SE.
    EXPECT_EQ(all[10], "The 95% confidence interval of the difference: -0.1246 to 5.125");
    EXPECT_EQ(all[17], "F = 2.250");
    EXPECT_EQ(all[18], "The P value is 0.1488. ");
    EXPECT_EQ(all[20], "not significant.  ");
    // The title at 1, then at 17 the fixed text (which begins with two blanks).
    EXPECT_EQ(all[28], Right("Mice", 15) + "   Normality test requires raw data.");
    EXPECT_EQ(all[29], Right("Rats", 15) + "   Normality test requires raw data.");
    EXPECT_EQ(all[30], "");
}

TEST(UnpairedTTestReport, ShortColumnsAreTooFewToTest) {
    // A = 1, 2, 3 and B = 4, 5, 6: the mean difference is B minus A, 3.
    DataTable table;
    AddRawColumn(table, 0, {1, 2, 3}, "A");
    AddRawColumn(table, 1, {4, 5, 6}, "B");
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, true);
    ResultsReport report;
    WriteTTestReport(r, report);
    const Lines all = test::PlainLines(report);
    EXPECT_EQ(all.at(9), "Mean difference = 3.000 (Mean of B minus mean of A) ");
    const Lines table_ = Section(report, NormalityTableHeading()[0], Title("Summary of Data"));
    EXPECT_EQ(table_, (Lines{NormalityTableHeading()[0], NormalityTableHeading()[1],
                             Right("A", 15) + "   Too few values to test.",
                             Right("B", 15) + "   Too few values to test.", ""}));
}

// --- Paired -----------------------------------------------------------------------------

TEST(PairedTTestReport, EffectivePairingWholeReport) {
    DataTable table;
    AddRawColumn(table, 0, {140, 152, 138, 147, 160, 155, 149, 143}, "Before");
    AddRawColumn(table, 1, {132, 148, 135, 140, 151, 150, 147, 136}, "After");
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, false);
    ResultsReport report;
    WriteTTestReport(r, report);
    Lines expected = {
        Title("Paired t test"),
        "Does the mean of the differences between Before and After",
        " differ significantly from zero?",
        "",
        "P value",
        "The two-tailed P value is 0.0004, considered extremely significant.",
        "",
        "t = 6.355 with 7 degrees of freedom.",
        "",
        "95% confidence interval",
        "Mean difference = 5.625 (Mean of paired differences)",
        "The 95% confidence interval of the difference: 3.532 to 7.718",
        "",
        "",
        "Assumption test: Was the pairing effective?",
        "Correlation coefficient (r) = 0.9448",
        "The one-tailed P value is 0.0002, considered extremely significant.",
        "Effective pairing results in a significant correlation between the columns.",
        "With these data, the pairing (or matching) appears to be effective.",
        "",
        "Assumption test: Are the differences sampled from a Gaussian distribution?",
        "The paired t test assumes that the differences are sampled from a ",
        "Gaussian distribution. This assumption is tested using the ",
        "method of Kolmogorov and Smirnov:",
        "   The Kolmogorov-Smirnov distance (KS) is   0.21",
        "   The P value is >0.10",
        "The data passed the normality test with P>0.05.",
        "",
        Title("Summary of Data"),
    };
    Append(expected, ParameterList({{"Before", "After", "Difference"},
                                    {"148.00", "142.38", "5.625"},
                                    {"8", "8", "8"},
                                    {"7.559", "7.501", "2.504"},
                                    {"2.673", "2.652", "0.8851"},
                                    {"138.00", "132.00", "2.000"},
                                    {"160.00", "151.00", "9.000"},
                                    {"148.00", "143.50", "6.000"},
                                    {"141.68", "136.10", "3.532"},
                                    {"154.32", "148.65", "7.718"}}));
    ExpectLines(report, expected);
}

const std::string PairingHeading = "Assumption test: Was the pairing effective?";
const std::string DifferencesHeading =
    "Assumption test: Are the differences sampled from a Gaussian distribution?";

TEST(PairedTTestReport, NegativeCorrelation) {
    DataTable table;
    AddRawColumn(table, 0, {1, 2, 3, 4, 5, 6});
    AddRawColumn(table, 1, {10, 8, 9, 6, 5, 4.5});
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, false);
    ResultsReport report;
    WriteTTestReport(r, report);
    EXPECT_EQ(test::PlainLines(report)[10], "Mean difference = -3.583 (Mean of paired differences)");
    EXPECT_EQ(test::PlainLines(report)[11],
              "The 95% confidence interval of the difference: -7.839 to 0.6726");
    EXPECT_EQ(Section(report, PairingHeading, DifferencesHeading),
              (Lines{PairingHeading, "Correlation coefficient (r) = -0.9403",
                     "The negative correlation coefficient indicates that the pairing or",
                     "matching was NOT effective.", ""}));
}

TEST(PairedTTestReport, IneffectivePairingOneTailed) {
    DataTable table;
    AddRawColumn(table, 0, {3.1, 4.2, 2.8, 5.0, 3.9});
    AddRawColumn(table, 1, {2.5, 2.9, 3.3, 3.4, 2.6});
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, false, false);
    ResultsReport report;
    WriteTTestReport(r, report);
    const Lines all = test::PlainLines(report);
    EXPECT_EQ(all[5], "The one-tailed P value is 0.0425, considered significant.");
    EXPECT_EQ(all[7], "t = 2.277 with 4 degrees of freedom.");
    EXPECT_EQ(all[10], "Mean difference = 0.8600 (Mean of paired differences)");
    EXPECT_EQ(all[11], "The 95% confidence interval of the difference: -0.1883 to 1.908");
    // R: cor.test(a, b)$p.value = 0.603822423782628; the sentence shows half of it.
    EXPECT_EQ(Section(report, PairingHeading, DifferencesHeading),
              (Lines{PairingHeading, "Correlation coefficient (r) = 0.3165",
                     "The one-tailed P value is 0.3019, considered not significant.",
                     "Effective pairing results in a significant correlation between the columns.",
                     "With these data, the pairing (or matching) appears not to be effective.",
                     "The unpaired test may be more appropriate.", ""}));
    EXPECT_EQ(Section(report, DifferencesHeading, Title("Summary of Data")).at(4),
              "   The Kolmogorov-Smirnov distance (KS) is   0.30");
}

TEST(PairedTTestReport, TooFewPairsAndNoVariability) {
    DataTable table;
    AddRawColumn(table, 0, {5.1, 6.3, 7.0});
    AddRawColumn(table, 1, {4.0, 5.9, 5.5});
    auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, false);
    ResultsReport report;
    WriteTTestReport(r, report);
    EXPECT_EQ(test::PlainLines(report)[7], "t = 3.111 with 2 degrees of freedom.");
    EXPECT_EQ(test::PlainLines(report)[11],
              "The 95% confidence interval of the difference: -0.3832 to 2.383");
    EXPECT_EQ(Section(report, PairingHeading, DifferencesHeading),
              (Lines{PairingHeading, "There are too few pairs to calculate r.", ""}));

    AddRawColumn(table, 2, {5, 5, 5, 5, 5});
    AddRawColumn(table, 3, {1, 2, 3, 4, 6});
    r = ComputeTTest(table, 2, 3, table.Record(2), table.Record(3), true, true, false);
    ResultsReport second;
    WriteTTestReport(r, second);
    EXPECT_EQ(Section(second, PairingHeading, DifferencesHeading),
              (Lines{PairingHeading, "Can't calculate r. One group has no variability.", ""}));
}

TEST(PairedTTestReport, EqualDifferencesCannotBePerformed) {
    DataTable table;
    AddRawColumn(table, 0, {1, 2, 3}, "A");
    AddRawColumn(table, 1, {4, 5, 6}, "B");
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, false);
    ResultsReport report;
    WriteTTestReport(r, report);
    Lines expected = {
        Title("Paired t test"),
        "Does the mean of the differences between A and B",
        " differ significantly from zero?",
        "",
        "P value",
        "",
        "95% confidence interval",
        "Mean difference = -3.000 (Mean of paired differences)",
        "",
        "The t test cannot be performed when the standard deviation",
        "is zero. ",
        Title("Summary of Data"),
    };
    Append(expected, ParameterList({{"A", "B", "Difference"},
                                    {"2.000", "5.000", "-3.000"},
                                    {"3", "3", "3"},
                                    {"1.000", "1.000", "0.000"},
                                    {"0.5774", "0.5774", "0.000"},
                                    {"1.000", "4.000", "-3.000"},
                                    {"3.000", "6.000", "-3.000"},
                                    {"2.000", "5.000", "-3.000"},
                                    {"-0.4843", "2.516", "-3.000"},
                                    {"4.484", "7.484", "-3.000"}}));
    ExpectLines(report, expected);
}

}  // namespace
}  // namespace zelkon
