// The report of the two-by-two table checked line by line against lines built by hand: the
// texts of each section, the numbers (values from R, written by the five-significant-digit
// rule by hand), the sensitivity table's tab stops and the "Data analyzed" table at columns
// 17, 34 and 51.  The last tests run the whole two-by-two run through Calculate.
#include "analyses/contingency/two_by_two_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/analysis_run.h"
#include "document/document.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::PlainLines;

std::string Sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}
std::string Right(const std::string& s, int width) {
    return s.size() >= static_cast<std::size_t>(width) ? s
                                                       : Sp(width - static_cast<int>(s.size())) + s;
}
// A heading centred in 65 characters: half the free space before, the rest after.
std::string Centred(const std::string& s) {
    const int free = 65 - static_cast<int>(s.size());
    return Sp(free / 2) + s + Sp(free - free / 2);
}
std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The table of the "Data analyzed" block: titles right-aligned in 15 at 1, 17, 34 and 51;
// each percentage as " (" right-aligned in 10, the number in 3 and "%)"; "* " after B and C
// when the discordant cells are marked.  Percentages are given by hand.
struct TableText {
    std::string column1, column2, row1, row2;
    int a, b, c, d;
    std::array<int, 9> pct;  // row 1: a, b, total; row 2: c, d, total; totals: 1, 2, 100
    bool marked;
};
std::string Pct(int p) {
    return Right(" (", 10) + Right(std::to_string(p), 3) + "%)";
}
std::vector<std::string> DataAnalyzed(const TableText& t) {
    const std::string m1 = t.marked ? "* " : Sp(2);
    auto row = [&](const std::string& title, int x, int y, bool markAfterFirst,
                   bool markAfterSecond) {
        std::string line = Right(title, 15) + " " + Right(std::to_string(x), 15);
        line += markAfterFirst ? "* " : Sp(2);
        line += Right(std::to_string(y), 15);
        line += markAfterSecond ? "* " : Sp(2);
        return line + Right(std::to_string(x + y), 15);
    };
    auto pcts = [&](int i) {
        return Sp(16) + Pct(t.pct[i]) + Sp(2) + Pct(t.pct[i + 1]) + Sp(2) + Pct(t.pct[i + 2]);
    };
    return {
        "",
        "Data analyzed",
        Sp(16) + Right(t.column1, 15) + Sp(2) + Right(t.column2, 15) + Sp(2) + Right("Total", 15),
        row(t.row1, t.a, t.b, false, t.marked),
        pcts(0),
        row(t.row2, t.c, t.d, t.marked, false),
        pcts(3),
        "",
        std::string(65, '-'),
        row("Total", t.a + t.c, t.b + t.d, false, false),
        pcts(6),
        ""};
}

TwoByTwoRequest Request(Extended a, Extended b, Extended c, Extended d) {
    return TwoByTwoRequest{a,         b,           c,     d,    "Disease", "No disease",
                           "Exposed", "Unexposed", false, true, true,      false,
                           false,     false,       false, true, false};
}

std::vector<std::string> Report(const TwoByTwoRequest& q) {
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    RunTwoByTwoAnalysis(q, out);
    EXPECT_EQ(out.errorCode, 0);
    EXPECT_EQ(out.helpTopic, 557);
    return PlainLines(report);
}

TEST(TwoByTwoReport, FisherTwoSidedWithRelativeRiskAndDifference) {
    // 3 12 / 9 4.  Rscript: fisher.test(matrix(c(3,12,9,4), 2, byrow=TRUE))$p.value
    // = 0.02001764855.  Relative risk by hand (z = 1.9604492187): 0.2888888889,
    // 0.09856649241 to 0.8467054887.  p1 = 3/15, p2 = 9/13 = 0.6923076923; A, D <= 5.
    TwoByTwoRequest q = Request(3, 12, 9, 4);
    q.relativeRisk = true;
    q.relativeRisk2 = true;
    const std::vector<std::string> expected = Join(
        {
            Centred("Fisher's Exact Test"),
            "The two-sided P value is 0.0200, considered significant.",
            "The row/column association is statistically significant.",
            "",
            "Relative Risk",
            "Relative risk = 0.2889",
            "95% Confidence Interval: 0.09857 to 0.8467",
            "(using the approximation of Katz.)",
            "",
            "Difference between the two proportions",
            "Top row (Exposed):",
            "  Fraction in the left column: 0.2000",
            "Bottom row (Unexposed):",
            "  Fraction in the left column: 0.6923",
            "Difference:",
            "  Difference between the fractions: 0.4923",
            "",
            "The standard error and the confidence interval of the difference between",
            "proportions can only be calculated when each cell is greater than five.",
        },
        // N = 28: 3 -> 11%, 12 -> 43%, 15 -> 54%, 9 -> 32%, 4 -> 14%, 13 -> 46%,
        // 12 -> 43%, 16 -> 57%.
        DataAnalyzed({"Disease",
                      "No disease",
                      "Exposed",
                      "Unexposed",
                      3,
                      12,
                      9,
                      4,
                      {11, 43, 54, 32, 14, 46, 43, 57, 100},
                      false}));
    EXPECT_EQ(Report(q), expected);

    // The headings are underlined, the row titles of the difference bold.
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    RunTwoByTwoAnalysis(q, out);
    const std::vector<std::string> raw = report.AllLines();
    const std::string u(1, ResultsReport::Emphasis2);
    const std::string b(1, ResultsReport::Emphasis1);
    EXPECT_EQ(raw[0], u + Centred("Fisher's Exact Test") + u);
    EXPECT_EQ(raw[4], u + "Relative Risk" + u);
    EXPECT_EQ(raw[10], b + "Top row (Exposed):" + b);
    EXPECT_EQ(raw[14], b + "Difference:" + b);
}

TEST(TwoByTwoReport, FisherAboveTwoThousandFallsBackToChiSquare) {
    // 521 480 / 460 540, N = 2001, one-sided, odds ratio.  Rscript:
    // chisq.test(matrix(c(521,480,460,540), 2, byrow=TRUE), correct=TRUE): 7.081971887,
    // P 0.007786328106, half 0.003893164053.  Odds ratio by hand: 1.274184783,
    // 1.068917862 to 1.518869613.
    TwoByTwoRequest q = Request(521, 480, 460, 540);
    q.twoSided = false;
    q.oddsRatio = true;
    const std::vector<std::string> expected = Join(
        {
            Centred("Fisher's Exact Test"),
            "The numbers are too large for Fisher's exact test.  The",
            "chi-square approximation was performed instead.",
            "",
            "The one-sided P value is 0.0039, considered very significant.",
            "The row/column association is statistically significant.",
            "",
            "Calculation details:",
            "Chi-square statistic (with Yates correction) = 7.082",
            "Degrees of freedom = 1",
            "",
            "Odds Ratio",
            "Odds ratio= 1.274",
            "95% Confidence Interval: 1.069 to 1.519",
            "(using the approximation of Woolf.)",
        },
        // N = 2001: 521 -> 26%, 480 -> 24%, 1001 -> 50%, 460 -> 23%, 540 -> 27%,
        // 1000 -> 50% (49.98), 981 -> 49%, 1020 -> 51%.
        DataAnalyzed({"Disease",
                      "No disease",
                      "Exposed",
                      "Unexposed",
                      521,
                      480,
                      460,
                      540,
                      {26, 24, 50, 23, 27, 50, 49, 51, 100},
                      false}));
    EXPECT_EQ(Report(q), expected);
}

TEST(TwoByTwoReport, FisherOneSidedWithSensitivityTable) {
    // 22 0 / 4 22.  Rscript: fisher.test(m, alternative="greater")$p.value = 5.459e-10.
    // Sensitivity 22/26 = 0.8461538462 with binom.test(22, 26) 0.6513212145 to 0.9564365235;
    // specificity and PPV 22/22 = 1 with binom.test(22, 22) 0.8456274872 to 1; NPV 22/26;
    // the likelihood ratio has no finite value (specificity 1).
    TwoByTwoRequest q = Request(22, 0, 4, 22);
    q.twoSided = false;
    q.sensitivity = true;
    // Tab stops 30, 40, 48, 52.
    auto row = [](const std::string& name, const std::string& value, const std::string& lower,
                  const std::string& upper) {
        std::string line = name + Sp(29 - static_cast<int>(name.size())) + value;
        line += Sp(39 - static_cast<int>(line.size())) + lower;
        line += Sp(47 - static_cast<int>(line.size())) + "to";
        return line + Sp(2) + upper;
    };
    const std::vector<std::string> expected = Join(
        {
            Centred("Fisher's Exact Test"),
            "The one-sided P value is < 0.0001, considered extremely significant.",
            "The row/column association is statistically significant.",
            "",
            "Sensitivity and specificity",
            "Variable" + Sp(21) + "Value" + Sp(5) + "95% Confidence Interval",
            row("Sensitivity", "0.8462", "0.6513", "0.9564"),
            row("Specificity", "1.000", "0.8456", "1.000"),
            row("Positive Predictive Value", "1.000", "0.8456", "1.000"),
            row("Negative Predictive Value", "0.8462", "0.6513", "0.9564"),
            "Likelihood Ratio" + Sp(13) + "Infinity",
        },
        // N = 48: 22 -> 46%, 0 -> 0%, 22 -> 46%, 4 -> 8%, 22 -> 46%, 26 -> 54%, 26 -> 54%,
        // 22 -> 46%.
        DataAnalyzed({"Disease",
                      "No disease",
                      "Exposed",
                      "Unexposed",
                      22,
                      0,
                      4,
                      22,
                      {46, 0, 46, 8, 46, 54, 54, 46, 100},
                      false}));
    EXPECT_EQ(Report(q), expected);
}

TEST(TwoByTwoReport, ChiSquareWithSmallValuesAndZeroCell) {
    // 0 10 / 5 5, chi-square without Yates, two-sided.  Rscript: chisq.test(m,
    // correct=FALSE): 6.666666667, P 0.009823274508 (expected values 2.5 and 7.5, N = 20).
    // Relative risk 0 with an interval that cannot be computed; p1 = 0, p2 = 0.5.
    TwoByTwoRequest q = Request(0, 10, 5, 5);
    q.fisher = false;
    q.chiSquare = true;
    q.yates = false;
    q.relativeRisk = true;
    q.relativeRisk2 = true;
    const std::vector<std::string> expected = Join(
        {
            Centred("Chi-square Test"),
            "The two-sided P value is 0.0098, considered very significant.",
            "The row/column association is statistically significant.",
            "",
            "Note: With such small values, the chi-square P value",
            "is not accurate.  Use Fisher's exact test instead.",
            "",
            "Calculation details:",
            "Chi-square statistic (no Yates correction) = 6.667",
            "Degrees of freedom = 1",
            "",
            "Relative Risk",
            "Relative risk = 0.000",
            "95% Confidence Interval: -Infinity to Infinity",
            "(using the approximation of Katz.)",
            "",
            "Difference between the two proportions",
            "Top row (Exposed):",
            "  Fraction in the left column: 0.000",
            "Bottom row (Unexposed):",
            "  Fraction in the left column: 0.5000",
            "Difference:",
            "  Difference between the fractions: 0.5000",
            "",
            "The standard error and the confidence interval of the difference between",
            "proportions can only be calculated when each cell is greater than five.",
        },
        // N = 20: 0%, 50%, 50%, 25%, 25%, 50%, 25%, 75%.
        DataAnalyzed({"Disease",
                      "No disease",
                      "Exposed",
                      "Unexposed",
                      0,
                      10,
                      5,
                      5,
                      {0, 50, 50, 25, 25, 50, 25, 75, 100},
                      false}));
    EXPECT_EQ(Report(q), expected);
}

TEST(TwoByTwoReport, OneSidedChiSquareWithOddsRatioNote) {
    // 0 10 / 5 5 with Yates, one-sided.  Rscript: chisq.test(m, correct=TRUE): 4.266666667,
    // P 0.03886710381; the sentence states the half, 0.01943355191.
    // Odds ratio of 0.5 10.5 / 5.5 5.5 by hand: 0.04761904762, 0.002201396425 to 1.030061497.
    TwoByTwoRequest q = Request(0, 10, 5, 5);
    q.fisher = false;
    q.chiSquare = true;
    q.twoSided = false;
    q.oddsRatio = true;
    const std::vector<std::string> lines = Report(q);
    const std::vector<std::string> expected = {
        Centred("Chi-square Test"),
        "The one-sided P value is 0.0194, considered significant.",
        "The row/column association is statistically significant.",
        "",
        "Note: With such small values, the chi-square P value",
        "is not accurate.  Use Fisher's exact test instead.",
        "",
        "Calculation details:",
        "Chi-square statistic (with Yates correction) = 4.267",
        "Degrees of freedom = 1",
        "",
        "Odds Ratio",
        "Odds ratio= 0.04762",
        "95% Confidence Interval: 0.002201 to 1.030",
        "(using the approximation of Woolf.)",
        "Note that at least one value is zero.  To make calculations possible,",
        "0.5 was added to each value.",
    };
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(
        std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(expected.size())),
        expected);
}

TEST(TwoByTwoReport, OneSidedVerdictUsesHalfTheP) {
    // A two-sided P of 0.08 is stated as 0.04 one-sided and is then significant; two-sided
    // it is "not quite" significant and the association is not.
    TwoByTwoResult r;
    r.twoSided = false;
    r.chiSquareDone = true;
    r.chiSquare.chiSquare = 3.0;
    r.chiSquare.pTwoTailed = 0.08L;  // stated as 0.04
    r.a = r.b = r.c = r.d = 10;
    ResultsReport report;
    WriteTwoByTwoReport(report, r);
    std::vector<std::string> lines = PlainLines(report);
    EXPECT_EQ(lines[1], "The one-sided P value is 0.0400, considered significant.");
    EXPECT_EQ(lines[2], "The row/column association is statistically significant.");
    r.twoSided = true;
    ResultsReport twoSided;
    WriteTwoByTwoReport(twoSided, r);
    lines = PlainLines(twoSided);
    EXPECT_EQ(lines[1], "The two-sided P value is 0.0800, considered not quite significant.");
    EXPECT_EQ(lines[2], "The row/column association is not statistically significant.");
}

TEST(TwoByTwoReport, DifferenceWithEveryCellAboveFive) {
    // 6 6 / 17 12, chi-square with Yates: Rscript chisq.test(m, correct=TRUE): 0.02568333889,
    // P 0.8726760917; expected values all above 5, N = 41.  p1 = 0.5 with binom.test(6, 12)
    // 0.2109446382 to 0.7890553618; p2 = 17/29 = 0.5862068966 with binom.test(17, 29)
    // 0.3893627914 to 0.7647597902; difference 0.08620689655, SE 0.1703407755 and interval
    // -0.2477375438 to 0.4201513369 by hand (z = 1.9604492187).
    TwoByTwoRequest q = Request(6, 6, 17, 12);
    q.fisher = false;
    q.chiSquare = true;
    q.relativeRisk2 = true;
    const std::vector<std::string> expected = Join(
        {
            Centred("Chi-square Test"),
            "The two-sided P value is 0.8727, considered not significant.",
            "The row/column association is not statistically significant.",
            "",
            "Calculation details:",
            "Chi-square statistic (with Yates correction) = 0.02568",
            "Degrees of freedom = 1",
            "",
            "Difference between the two proportions",
            "Top row (Exposed):",
            "  Fraction in the left column: 0.5000",
            "  95% Confidence Interval of that fraction: 0.2109 to 0.7891",
            "Bottom row (Unexposed):",
            "  Fraction in the left column: 0.5862",
            "  95% Confidence Interval of that fraction: 0.3894 to 0.7648",
            "Difference:",
            "  Difference between the fractions: 0.08621",
            "  Standard error of the difference: 0.1703",
            "  95% confidence interval of difference: -0.2477 to 0.4202",
        },
        // N = 41: 6 -> 15%, 6 -> 15%, 12 -> 29%, 17 -> 41%, 12 -> 29%, 29 -> 71%,
        // 23 -> 56%, 18 -> 44%.
        DataAnalyzed({"Disease",
                      "No disease",
                      "Exposed",
                      "Unexposed",
                      6,
                      6,
                      17,
                      12,
                      {15, 15, 29, 41, 29, 71, 56, 44, 100},
                      false}));
    EXPECT_EQ(Report(q), expected);
}

TEST(TwoByTwoReport, McNemarOneSidedWithYates) {
    // 10 25 / 8 30.  Rscript: mcnemar.test(m, correct=TRUE): 7.757575758, P 0.00534877052,
    // half 0.00267438526.  Odds ratio 25/8 = 3.125, interval 1.34553610617108 to
    // 7.5179046842506 by hand.  The discordant cells are marked.
    TwoByTwoRequest q = Request(10, 25, 8, 30);
    q.fisher = false;
    q.paired = true;
    q.twoSided = false;
    q.relativeRisk = true;  // not reported for paired data
    const std::vector<std::string> expected = Join(
        {
            Centred("McNemar's Paired Test"),
            "McNemar chi square (with Yates correction) = 7.758",
            "The one-sided P value is 0.0027, considered very significant.",
            "There is a significant association between rows and columns.",
            "",
            "McNemar odds ratio = 3.125",
            "95% confidence interval for the odds ratio = 1.346 to 7.518",
        },
        // N = 73: 10 -> 14%, 25 -> 34%, 35 -> 48%, 8 -> 11%, 30 -> 41%, 38 -> 52%,
        // 18 -> 25%, 55 -> 75%.
        DataAnalyzed({"Disease",
                      "No disease",
                      "Exposed",
                      "Unexposed",
                      10,
                      25,
                      8,
                      30,
                      {14, 34, 48, 11, 41, 52, 25, 75, 100},
                      true}));
    EXPECT_EQ(Report(q), expected);

    // Without Yates, two-sided: 8.757575758 (mcnemar.test(correct=FALSE)), P 0.00308318609.
    q.yates = false;
    q.twoSided = true;
    const std::vector<std::string> lines = Report(q);
    EXPECT_EQ(lines[1], "McNemar chi square = 8.758");
    EXPECT_EQ(lines[2], "The two-sided P value is 0.0031, considered very significant.");
}

// B = C = 7: Yates' (|B - C| - 1)^2 / (B + C) = 1/14 by hand, P = pchisq(1/14, 1,
// lower.tail = FALSE) = 0.789268; odds ratio 1, its score interval by hand (z = 1.9604492187)
// 0.316441 to 3.160147.  N = 200: the halves 28.5%, 3.5% and 64.5% read 29%, 4% and 65%.
TEST(TwoByTwoReport, McNemarWithEqualDiscordantCells) {
    TwoByTwoRequest q = Request(57, 7, 7, 129);
    q.fisher = false;
    q.paired = true;
    const std::vector<std::string> expected = Join(
        {
            Centred("McNemar's Paired Test"),
            "McNemar chi square (with Yates correction) = 0.07143",
            "The two-sided P value is 0.7893, considered not significant.",
            "There is not a significant association between rows and columns.",
            "",
            "McNemar odds ratio = 1.000",
            "95% confidence interval for the odds ratio = 0.3164 to 3.160",
        },
        DataAnalyzed({"Disease",
                      "No disease",
                      "Exposed",
                      "Unexposed",
                      57,
                      7,
                      7,
                      129,
                      {29, 4, 32, 4, 65, 68, 32, 68, 100},
                      true}));
    EXPECT_EQ(Report(q), expected);
}

// The whole run: the two-by-two record and choices of a document through Calculate.
class TwoByTwoRun : public testing::Test {
  protected:
    void SetUp() override {
        doc.Data().SetFormat(DataFormat::TwoByTwo);
        TwoByTwoRecord& r = doc.Data().TwoByTwo();
        r.a = 10;
        r.b = 25;
        r.c = 8;
        r.d = 30;
        entries.twoByTwo = RunTwoByTwoAnalysis;
    }
    Document doc;
    AnalysisEntryPoints entries;
};

TEST_F(TwoByTwoRun, McNemarChoiceReachesThePairedTest) {
    doc.Choices().twoByTwo.test = TwoByTwoTest::McNemar;
    Calculate(doc, entries);
    const std::vector<std::string> lines = PlainLines(doc.Report());
    EXPECT_EQ(lines[0], Centred("McNemar's Paired Test"));
    // The default choices: Yates and two-sided.
    EXPECT_EQ(lines[1], "McNemar chi square (with Yates correction) = 7.758");
    EXPECT_EQ(lines[2], "The two-sided P value is 0.0053, considered very significant.");
    // Untitled labels read "Column A", "Column B", "Row 1", "Row 2".
    EXPECT_EQ(lines[9], Sp(16) + Right("Column A", 15) + Sp(2) + Right("Column B", 15) + Sp(2) +
                            Right("Total", 15));
    EXPECT_EQ(lines[10].substr(0, 15), Right("Row 1", 15));
    EXPECT_EQ(doc.ErrorCode(), 0);
    EXPECT_EQ(doc.ResultsHelpTopic(), 557);
    EXPECT_NE(doc.ResultJson().find("\"mcnemar\""), std::string::npos);
}

TEST_F(TwoByTwoRun, DefaultChoicesRunFisherWithRelativeRiskAndDifference) {
    Calculate(doc, entries);
    const std::vector<std::string> lines = PlainLines(doc.Report());
    EXPECT_EQ(lines[0], Centred("Fisher's Exact Test"));
    // The "Relative risk, P1-P2, etc." button sets both flags: both sections follow.
    int relative = 0;
    int difference = 0;
    for (const std::string& line : lines) {
        relative += line == "Relative Risk";
        difference += line == "Difference between the two proportions";
    }
    EXPECT_EQ(relative, 1);
    EXPECT_EQ(difference, 1);
}

TEST_F(TwoByTwoRun, ErrorsLeaveOnlyTheirMessage) {
    doc.Data().TwoByTwo().d = MissingValue;
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 45);
    std::vector<std::string> lines = PlainLines(doc.Report());
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "All four values must be entered in the spreadsheet to perform test.");
    EXPECT_EQ(lines[2], "");
    EXPECT_TRUE(doc.ResultJson().empty());

    doc.Choices().twoByTwo.test = TwoByTwoTest::McNemar;
    doc.Data().TwoByTwo().b = 0;
    doc.SetNeedsRecalculation(true);
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 32);
    lines = PlainLines(doc.Report());
    EXPECT_EQ(lines[1], "One row is filled with zeros.  In this situation, chi-square");

    doc.Data().TwoByTwo().b = MissingValue;
    doc.SetNeedsRecalculation(true);
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 48);
}

}  // namespace
}  // namespace zelkon
