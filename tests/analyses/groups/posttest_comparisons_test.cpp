// The post tests after ANOVA: numbers against R (TukeyHSD, pairwise.t.test with pooled SD
// and no adjustment, multiplied as the Bonferroni method says) and hand calculation with the
// tables' values, and the report lines against lines laid out by hand.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "analyses/groups/post_test.h"
#include "analyses/groups/post_test_bonferroni.h"
#include "analyses/groups/post_test_dunnett.h"
#include "analyses/groups/post_test_trend.h"
#include "analyses/groups/post_test_tukey.h"
#include "core/fp_guard.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::PlainLines;

std::string Sp(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

void ExpectRel(Extended actual, double expected, double tolerance) {
    EXPECT_NEAR(static_cast<double>(actual), expected, tolerance * std::fabs(expected));
}

// The three groups of the dose example:
//   A <- c(23, 25, 28, 30, 31); B <- c(29, 33, 34, 36, 38, 40); C <- c(35, 38, 40, 43, 45, 47, 50)
//   fit <- aov(y ~ g): residual MS 286.9142857142857 / 15 on 15 df.
PostTestBasis DoseBasis() {
    PostTestBasis b;
    b.groups = {{"Control", 5, 27.4L}, {"Low dose", 6, 35.0L}, {"High dose", 7, 298.0L / 7.0L}};
    b.msResidual = 286.9142857142857L / 15.0L;
    b.dfResidual = 15;
    b.oneWay = true;
    return b;
}

// A row of the comparison table: pair at the line start, difference (10) at 36, statistic
// (7) at 47, code (11, right-aligned) at 55.
std::string Row(const std::string& first, const std::string& second, const std::string& diff,
                const std::string& stat, const std::string& code) {
    const std::string pair = Sp(15 - static_cast<int>(first.size())) + first + " vs " + second +
                             Sp(15 - static_cast<int>(second.size()));
    return pair + " " + Sp(10 - static_cast<int>(diff.size())) + diff + " " +
           Sp(7 - static_cast<int>(stat.size())) + stat + " " +
           Sp(11 - static_cast<int>(code.size())) + code;
}

std::string IntervalRow(const std::string& first, const std::string& second,
                        const std::string& diff, const std::string& lo, const std::string& hi) {
    const std::string pair = Sp(15 - static_cast<int>(first.size())) + first + " - " + second +
                             Sp(15 - static_cast<int>(second.size()));
    return pair + Sp(2) + Sp(10 - static_cast<int>(diff.size())) + diff + " " +
           Sp(7 - static_cast<int>(lo.size())) + lo + " " + Sp(7 - static_cast<int>(hi.size())) +
           hi;
}

std::vector<std::string> Written(const std::function<void(ResultsReport&)>& write) {
    ResultsReport report;
    write(report);
    return PlainLines(report);
}

TEST(Bonferroni, AgreesWithPooledPairwiseTTestsTimesTheComparisons) {
    const PostTestBasis basis = DoseBasis();
    BonferroniResult r;
    ASSERT_EQ(ComputeBonferroni(basis, nullptr, false, r), 0);
    EXPECT_EQ(r.comparisons, 3);
    // R: qt(1 - 0.05/6, 15) = 2.69373931919649.  t_for_p bisects [0, 4] until the bracket
    // is 1e-4 wide; the same bisection in R on pt gives 2.69375610351562.
    EXPECT_NEAR(static_cast<double>(r.criticalT), 2.69373931919649, 1e-4);
    EXPECT_NEAR(static_cast<double>(r.criticalT), 2.69375610351562, 1e-12);
    ASSERT_EQ(r.rows.size(), 3u);
    // R: pairwise.t.test(y, g, pool.sd=TRUE, p.adjust.method="none"), t = |diff| / SE and
    // 3 * 2 * pt(-t, 15); limits diff -/+ t * SE with the bisected t above (with qt's exact
    // t they differ from these by about 6e-5).
    const double t[] = {2.86977217395287, 5.92433241797635, 3.1117187862149};
    const double p[] = {0.0350676475595673, 8.37012037647612e-05, 0.0214323799138074};
    const double lo[] = {-14.7338577231096, -22.0697802218744, -14.1258710927039};
    const double hi[] = {-0.46614227689038, -8.27307692098272, -1.0169860501532};
    const double diff[] = {-7.6, -15.1714285714286, -7.57142857142857};
    for (std::size_t i = 0; i < 3; ++i) {
        ExpectRel(r.rows[i].difference, diff[i], 1e-12);
        ExpectRel(r.rows[i].statistic, t[i], 1e-12);
        ExpectRel(r.rows[i].p, p[i], 1e-6);  // the incomplete beta is good to about 3e-7
        ExpectRel(r.rows[i].lower, lo[i], 1e-10);
        ExpectRel(r.rows[i].upper, hi[i], 1e-10);
    }
    EXPECT_EQ(r.rows[1].first, 0);
    EXPECT_EQ(r.rows[1].second, 2);
}

TEST(Bonferroni, ReportWithIntervalBlock) {
    const PostTestBasis basis = DoseBasis();
    BonferroniResult r;
    ASSERT_EQ(ComputeBonferroni(basis, nullptr, false, r), 0);
    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteBonferroni(rep, basis, r); });
    // Heading block of seven lines, table heading of three, three rows, the interval block
    // (blank line, three heading lines, three rows), then blank line, end of table, blank
    // line.
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "Bonferroni Multiple Comparisons Test");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "If the value of t is greater than 2.694 then the P value is less");
    EXPECT_EQ(lines[4], "than 0.05.");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[10], Row("Control", "Low dose", "-7.600", "2.870", "*   P<0.05"));
    EXPECT_EQ(lines[11], Row("Control", "High dose", "-15.171", "5.924", "*** P<0.001"));
    EXPECT_EQ(lines[12], Row("Low dose", "High dose", "-7.571", "3.112", "*   P<0.05"));
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], Sp(35) + "   Mean    95% Confidence Interval");
    EXPECT_EQ(lines[17], IntervalRow("Control", "Low dose", "-7.600", "-14.734", "-0.4661"));
    EXPECT_EQ(lines[19], IntervalRow("Low dose", "High dose", "-7.571", "-14.126", "-1.017"));
    EXPECT_EQ(lines[20], "");
    EXPECT_EQ(lines[21], "");
}

// Four, five and five-with-selected-pairs groups of equal size for the warning rule.
PostTestBasis EqualGroups(int m) {
    PostTestBasis b;
    for (int g = 0; g < m; ++g) {
        b.groups.push_back({std::string("G") + static_cast<char>('1' + g), 4, 10.0L + g});
    }
    b.msResidual = 2.0L;
    b.dfResidual = 4 * m - m;
    return b;
}

bool HasConservativeWarning(const std::vector<std::string>& lines) {
    for (const std::string& l : lines) {
        if (l == "Warning: With so many comparisons, the Bonferroni method") return true;
    }
    return false;
}

TEST(Bonferroni, TheWarningComesWithMoreThanEightComparisons) {
    BonferroniResult r;
    PostTestBasis four = EqualGroups(4);
    ASSERT_EQ(ComputeBonferroni(four, nullptr, false, r), 0);
    EXPECT_EQ(r.comparisons, 6);
    EXPECT_FALSE(HasConservativeWarning(
        Written([&](ResultsReport& rep) { WriteBonferroni(rep, four, r); })));

    PostTestBasis five = EqualGroups(5);
    ASSERT_EQ(ComputeBonferroni(five, nullptr, false, r), 0);
    EXPECT_EQ(r.comparisons, 10);
    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteBonferroni(rep, five, r); });
    ASSERT_TRUE(HasConservativeWarning(lines));
    EXPECT_EQ(lines[lines.size() - 3], "is said to be too conservative.  This means that the P");
    EXPECT_EQ(lines[lines.size() - 2],
              "values are too high.  You should consider using a different");
    EXPECT_EQ(lines.back(), "post-test.");
    ResultsReport bold;
    WriteBonferroni(bold, five, r);
    const std::vector<std::string> raw = bold.AllLines();
    EXPECT_EQ(raw.back(), std::string(1, ResultsReport::Emphasis1) + "post-test." +
                              std::string(1, ResultsReport::Emphasis1));

    // Five groups, pairs 0 (G1-G2), 4 (G2-G3) and 9 (G4-G5) selected: C = 3, no warning,
    // rows in pair order.
    std::array<std::uint8_t, PairFlagCount> flags{};
    flags[0] = flags[4] = flags[9] = 1;
    ASSERT_EQ(ComputeBonferroni(five, &flags, true, r), 0);
    EXPECT_EQ(r.comparisons, 3);
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[1].first, 1);
    EXPECT_EQ(r.rows[1].second, 2);
    EXPECT_EQ(r.rows[2].first, 3);
    EXPECT_FALSE(HasConservativeWarning(
        Written([&](ResultsReport& rep) { WriteBonferroni(rep, five, r); })));
}

TEST(Bonferroni, PValuesAboveOneStayUncappedAndReadNotSignificant) {
    PostTestBasis b = EqualGroups(5);
    b.groups[1].mean = b.groups[0].mean + 0.01L;  // hardly any difference between G1 and G2
    BonferroniResult r;
    ASSERT_EQ(ComputeBonferroni(b, nullptr, false, r), 0);
    EXPECT_GT(r.rows[0].p, 1.0L);
    // R: 10 * 2 * pt(-0.01 / sqrt(2/4 + 2/4), 15) = 9.92153...
    ExpectRel(r.rows[0].p, 9.92153, 1e-5);
    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteBonferroni(rep, b, r); });
    EXPECT_EQ(lines[10].substr(lines[10].size() - 11), " ns  P>0.05");
}

TEST(Bonferroni, AfterRepeatedMeasuresTheStandardErrorUsesTwiceTheMeanSquare) {
    PostTestBasis b = EqualGroups(3);
    b.oneWay = false;
    BonferroniResult r;
    ASSERT_EQ(ComputeBonferroni(b, nullptr, false, r), 0);
    // SE = sqrt(2 * 2 / 4) = 1; difference -1, so t = 1.
    ExpectRel(r.rows[0].statistic, 1.0, 1e-15);
}

TEST(Bonferroni, NoSelectedPairAmongTheGroupsSaysSoWithoutDividingByZero) {
    PostTestBasis b = EqualGroups(3);
    std::array<std::uint8_t, PairFlagCount> flags{};
    flags[5] = 1;  // a pair beyond the three pairs of three groups
    FpFaultGuard guard;
    BonferroniResult r;
    ASSERT_EQ(ComputeBonferroni(b, &flags, true, r), 0);
    EXPECT_EQ(guard.FaultCode(), 0);
    EXPECT_EQ(r.comparisons, 0);
    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteBonferroni(rep, b, r); });
    const std::vector<std::string> expected = {"", "Bonferroni Multiple Comparisons Test", "",
                                               "At least one column pair must be selected.", ""};
    EXPECT_EQ(lines, expected);
}

TEST(TukeyKramer, AgreesWithTukeyHsdUsingTheTablesQ) {
    const PostTestBasis basis = DoseBasis();
    RangeTestResult r;
    ASSERT_EQ(ComputeTukeyKramer(basis, r), 0);
    // q(0.05, 15, 3) = 3.673, q(0.01, 15, 3) = 4.836, q(0.001, 15, 3) = 6.470 from the table.
    ExpectRel(r.criticalQ, 3.673, 1e-15);
    // R: TukeyHSD(fit) differences; q = |diff| / sqrt(MS (1/ni + 1/nj) / 2) and the limits
    //    diff -/+ 3.673 * SE computed in R with the table's q.
    const double q[] = {4.05847072932507, 8.37827125350875, 4.40063490975625};
    const double lo[] = {-14.4781572818297, -21.8225210768807, -13.8909387587432};
    const double hi[] = {-0.721842718170277, -8.52033606597643, -1.25191838411392};
    const double category[] = {0.05, 0.001, 0.05};
    ASSERT_EQ(r.rows.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        ExpectRel(r.rows[i].statistic, q[i], 1e-12);
        ExpectRel(r.rows[i].lower, lo[i], 1e-12);
        ExpectRel(r.rows[i].upper, hi[i], 1e-12);
        EXPECT_EQ(static_cast<double>(r.rows[i].p), category[i]);
    }
}

TEST(TukeyKramer, ReportLines) {
    const PostTestBasis basis = DoseBasis();
    RangeTestResult r;
    ASSERT_EQ(ComputeTukeyKramer(basis, r), 0);
    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteRangeTest(rep, basis, r); });
    const std::vector<std::string> expected = {
        "",
        "Tukey-Kramer Multiple Comparisons Test",
        "",
        "If the value of q is greater than 3.673 then the P value is less",
        "than 0.05.",
        "",
        "",
        Sp(35) + "   Mean   ",
        Sp(12) + "Comparison" + Sp(12) + " Difference    q      P value  ",
        std::string(34, '=') + " " + std::string(10, '=') + " " + std::string(7, '=') + " " +
            std::string(11, '='),
        Row("Control", "Low dose", "-7.600", "4.058", "*   P<0.05"),
        Row("Control", "High dose", "-15.171", "8.378", "*** P<0.001"),
        Row("Low dose", "High dose", "-7.571", "4.401", "*   P<0.05"),
        "",
        Sp(35) + "   Mean    95% Confidence Interval",
        Sp(12) + "Difference" + Sp(12) + " Difference  From     To   ",
        std::string(34, '=') + " " + std::string(10, '=') + " " + std::string(7, '=') + " " +
            std::string(7, '='),
        IntervalRow("Control", "Low dose", "-7.600", "-14.478", "-0.7218"),
        IntervalRow("Control", "High dose", "-15.171", "-21.823", "-8.520"),
        IntervalRow("Low dose", "High dose", "-7.571", "-13.891", "-1.252"),
        "",  // blank line, end of table, blank line
        "",
    };
    EXPECT_EQ(lines, expected);
}

TEST(TukeyKramer, InterpolatedCriticalValueAtDf22) {
    // df 22 with three groups: q(0.05) halfway between 3.578 (df 20) and 3.532 (df 24).
    PostTestBasis b = EqualGroups(3);
    b.dfResidual = 22;
    RangeTestResult r;
    ASSERT_EQ(ComputeTukeyKramer(b, r), 0);
    ExpectRel(r.criticalQ, 3.555, 1e-15);
}

TEST(TukeyKramer, TwentyOneGroupsInterpolateBetweenTheK20AndK22Columns) {
    PostTestBasis b = EqualGroups(21);
    b.dfResidual = 20;
    RangeTestResult r;
    ASSERT_EQ(ComputeTukeyKramer(b, r), 0);
    ExpectRel(r.criticalQ, (5.714 + 5.807) / 2, 1e-15);
    EXPECT_EQ(r.rows.size(), 210u);  // beyond the list's first room of 100 rows
}

TEST(TukeyKramer, MoreMeansThanTheTableRefusesWithASentence) {
    PostTestBasis b = EqualGroups(1);
    b.groups.assign(101, {"G", 4, 10.0L});
    b.dfResidual = 303;
    RangeTestResult r;
    ASSERT_EQ(ComputeTukeyKramer(b, r), 0);
    EXPECT_TRUE(r.tooManyMeans);
    EXPECT_TRUE(r.rows.empty());
    const std::vector<std::string> expected = {
        "",
        "Tukey-Kramer Multiple Comparisons Test",
        "",
        "This post test cannot be done with more than 100 columns: the table",
        "of critical values ends there.",
        ""};
    EXPECT_EQ(Written([&](ResultsReport& rep) { WriteRangeTest(rep, b, r); }), expected);
    ASSERT_EQ(ComputeNewmanKeuls(b, r), 0);
    EXPECT_TRUE(r.tooManyMeans);
    EXPECT_EQ(Written([&](ResultsReport& rep) { WriteRangeTest(rep, b, r); })[1],
              "Student-Newman-Keuls Multiple Comparisons Test");
}

TEST(NewmanKeuls, StepsDownFromTheWidestRangeWithRangeSizedCriticalValues) {
    const PostTestBasis basis = DoseBasis();
    RangeTestResult r;
    ASSERT_EQ(ComputeNewmanKeuls(basis, r), 0);
    ASSERT_EQ(r.rows.size(), 3u);
    // Ascending means: Control, Low dose, High dose.  Control vs High dose spans 3 means
    // (q 8.378 > q(0.001, 15, 3) = 6.470); Control vs Low dose spans 2 (4.058 lies between
    // q(0.05, 15, 2) = 3.014 and q(0.01, 15, 2) = 4.167); Low vs High 4.401 > 4.167.
    EXPECT_EQ(r.rows[0].second, 2);
    EXPECT_EQ(static_cast<double>(r.rows[0].p), 0.001);
    EXPECT_EQ(r.rows[1].second, 1);
    EXPECT_EQ(static_cast<double>(r.rows[1].p), 0.05);
    EXPECT_EQ(static_cast<double>(r.rows[2].p), 0.01);
    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteRangeTest(rep, basis, r); });
    const std::vector<std::string> tail = {
        Row("Control", "High dose", "-15.171", "8.378", "*** P<0.001"),
        Row("Control", "Low dose", "-7.600", "4.058", "*   P<0.05"),
        Row("Low dose", "High dose", "-7.571", "4.401", "**  P<0.01"),
        "",
        "With Student-Newman-Keuls test, it is impossible to calculate confidence",
        "intervals.",
        "",
        ""};
    ASSERT_EQ(lines.size(), 4u + 3u + tail.size());
    EXPECT_EQ(lines[1], "Student-Newman-Keuls Multiple Comparisons Test");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 7, lines.end()), tail);
}

TEST(NewmanKeuls, PairsInsideANonsignificantRangeAreNotTested) {
    // Means 10, 10.5, 11, 30 (four values each, residual MS 2/3 on 12 df):
    //   A <- c(9,10,10,11); B <- A + 0.5; C <- A + 1; D <- A + 20; summary(aov(y ~ g))
    // q of 1 vs 3 = 1 / sqrt((2/3) / 4) = 2.449 < q(0.05, 12, 3) = 3.773: the range 1..3 is not
    // significant, so 1 vs 2 and 2 vs 3 are declared so without testing.
    PostTestBasis b;
    b.groups = {{"A", 4, 10.0L}, {"B", 4, 10.5L}, {"C", 4, 11.0L}, {"D", 4, 30.0L}};
    b.msResidual = 8.0L / 12.0L;
    b.dfResidual = 12;
    RangeTestResult r;
    ASSERT_EQ(ComputeNewmanKeuls(b, r), 0);
    ASSERT_EQ(r.rows.size(), 6u);
    // Order: A-D, A-C, A-B, B-D, B-C, C-D.
    const int second[] = {3, 2, 1, 3, 2, 3};
    const bool tested[] = {true, true, false, true, false, true};
    // R: |diff| / sqrt(0.6666667 / 4) for the tested pairs.
    const double q[] = {48.9897948556635, 2.44948974278318, 0, 47.7650499842719, 0,
                        46.5403051128803};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(r.rows[i].second, second[i]) << i;
        EXPECT_EQ(!IsMissingValue(r.rows[i].statistic), tested[i]) << i;
        if (tested[i]) ExpectRel(r.rows[i].statistic, q[i], 1e-12);
    }
    EXPECT_EQ(static_cast<double>(r.rows[1].p), 1.0);
    EXPECT_EQ(static_cast<double>(r.rows[2].p), 1.0);
    ExpectRel(r.rows[4].difference, -0.5, 1e-15);
    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteRangeTest(rep, b, r); });
    // Rows start at line 7; the third (A vs B) has "  ---  " in the 7 characters of q.
    EXPECT_EQ(lines[9], Row("A", "B", "-0.5000", "", "ns  P>0.05").replace(46, 7, "  ---  "));
}

TEST(Dunnett, ComparesEveryGroupWithTheControl) {
    const PostTestBasis basis = DoseBasis();
    DunnettResult r;
    ASSERT_EQ(ComputeDunnett(basis, 1, r), 0);
    // d(0.05, 15, 3) = 2.44 and d(0.01, 15, 3) = 3.25 in the table (R integration:
    // 2.43919, 3.25279).
    ExpectRel(r.critical05, 2.44, 1e-15);
    ExpectRel(r.critical01, 3.25, 1e-15);
    ASSERT_EQ(r.rows.size(), 2u);
    // q = |diff| / sqrt(MS (1/nc + 1/nj)): the pooled t of pairwise.t.test.
    ExpectRel(r.rows[0].difference, 7.6, 1e-12);
    ExpectRel(r.rows[0].statistic, 2.86977217395287, 1e-12);
    ExpectRel(r.rows[1].statistic, 3.1117187862149, 1e-12);
    EXPECT_EQ(static_cast<double>(r.rows[0].p), 0.05);
    EXPECT_EQ(static_cast<double>(r.rows[1].p), 0.05);
    // Limits diff -/+ 2.44 * sqrt(MS (1/6 + 1/5)), by hand: SE = 2.64831...
    const double se = std::sqrt(286.9142857142857 / 15 * (1.0 / 6 + 1.0 / 5));
    ExpectRel(r.rows[0].lower, 7.6 - 2.44 * se, 1e-12);
    ExpectRel(r.rows[0].upper, 7.6 + 2.44 * se, 1e-12);

    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteDunnett(rep, basis, r); });
    ASSERT_EQ(lines.size(), 18u);  // the rows end with a blank line, end of table
    EXPECT_EQ(lines[17], "");
    EXPECT_EQ(lines[0], "Dunnett Multiple Comparisons Test");
    EXPECT_EQ(lines[1], "Control column: Low dose");
    EXPECT_EQ(lines[2], "If the value of q is greater than 2.440 then the P value is less");
    EXPECT_EQ(lines[3], "than 0.05.");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[9], "       Low dose vs Control        " + Sp(1) + "     7.600" + " " +
                            "   2.870" + " " + "*   P<0.05");
    EXPECT_EQ(lines[10].substr(0, 34), "       Low dose vs High dose      ");
    EXPECT_EQ(lines[11], "");
    EXPECT_EQ(lines[16], "       Low dose - High dose      " + Sp(2) + "    -7.571" + " " +
                             " -13.508" + " " + "  -1.634");
}

TEST(Dunnett, FiveResidualDfRunAndFourGiveTheTooFewSentence) {
    PostTestBasis b;
    b.groups = {{"A", 3, 10.0L}, {"B", 3, 14.0L}, {"C", 2, 20.0L}};
    b.msResidual = 4.0L;
    b.dfResidual = 5;
    DunnettResult r;
    ASSERT_EQ(ComputeDunnett(b, 0, r), 0);
    EXPECT_FALSE(r.tooFewDf);
    ExpectRel(r.critical05, 3.03, 1e-15);  // R integration: 3.03024
    EXPECT_EQ(r.rows.size(), 2u);
    b.dfResidual = 4;
    ASSERT_EQ(ComputeDunnett(b, 0, r), 0);
    EXPECT_TRUE(r.tooFewDf);
    const std::vector<std::string> expected = {"Dunnett Multiple Comparisons Test",
                                               "Too few data points. DF must exceed 5. "};
    EXPECT_EQ(Written([&](ResultsReport& rep) { WriteDunnett(rep, b, r); }), expected);
}

TEST(Dunnett, MoreThanTwentyOneMeansRefuseWithASentence) {
    PostTestBasis b = EqualGroups(1);
    b.groups.assign(22, {"G", 4, 10.0L});
    b.dfResidual = 66;
    DunnettResult r;
    ASSERT_EQ(ComputeDunnett(b, 0, r), 0);
    EXPECT_TRUE(r.tooManyMeans);
    const std::vector<std::string> expected = {
        "Dunnett Multiple Comparisons Test",
        "This post test cannot be done with more than 21 columns (the control",
        "included): the table of critical values ends there."};
    EXPECT_EQ(Written([&](ResultsReport& rep) { WriteDunnett(rep, b, r); }), expected);
    b.groups.resize(21);
    ASSERT_EQ(ComputeDunnett(b, 0, r), 0);
    EXPECT_FALSE(r.tooManyMeans);
    EXPECT_EQ(r.rows.size(), 20u);
}

TEST(LinearTrend, SplitsTheTreatmentSumOfSquares) {
    const PostTestBasis basis = DoseBasis();
    TrendInput in;
    in.k = 3;
    in.ssTreatment = 677.5857142857143L;
    in.ssResidual = 286.9142857142857L;
    in.ssTotal = in.ssTreatment + in.ssResidual;
    in.dfTreatment = 2;
    in.dfTotal = 17;
    const LinearTrendResult r = ComputeLinearTrend(basis, in);
    // By hand with codes -1, 0, 1: S1 = 42.5714 - 27.4, S2 = 1/5 + 1/7, S3 = 2; P values
    // from R: pf(F, 1, 15, lower.tail=FALSE).
    ExpectRel(r.slope, 7.5857142857143, 1e-12);
    ExpectRel(r.ssLinear, 671.335714285717, 1e-12);
    ExpectRel(r.rSquared, 0.6960453232615, 1e-11);
    ExpectRel(r.fLinear, 35.0977145986857, 1e-12);
    ExpectRel(r.pLinear, 2.79004012549199e-05, 1e-6);
    EXPECT_EQ(r.dfNonlinear, 1);
    ExpectRel(r.fNonlinear, 0.326752638915671, 1e-10);
    ExpectRel(r.pNonlinear, 0.576043713956873, 1e-6);

    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteLinearTrend(rep, basis, r); });
    const std::vector<std::string> head = {
        "Test for linear trend between column means and column number",
        "",
        "Slope = 7.586    r squared = 0.6960",
        "",
        "",
        "Is the linear trend statistically significant?",
        "The P value is < 0.0001, considered extremely significant.",
        "There is a significant linear trend.",
        "",
        "Is the nonlinear variation statistically significant?",
        "The P value is 0.5760, considered not significant.",
        "After accounting for the linear trend, the remaining variation among",
        "column means is not significant.",
        "",
        "",
        "This result was obtained from dividing variation among columns into",
        "linear and nonlinear components:",
        ""};
    ASSERT_GE(lines.size(), head.size() + 13);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 18), head);
    EXPECT_EQ(lines[21], "Between columns: Linear" + Sp(16) + "1    671.34    671.34");
    EXPECT_EQ(lines[22], "Between columns: Not linear" + Sp(12) + "1     6.250     6.250");
    EXPECT_EQ(lines[23], "Residuals (within columns)" + Sp(12) + "15    286.91    19.128");
    const std::vector<std::string> tail = {
        "", "F (linear trend) = 35.0977    =MSlinear/MSresidual",     "",
        "", "F (nonlinear trend) = 0.3268   =MSnonlinear/MSresidual", ""};
    EXPECT_EQ(std::vector<std::string>(lines.end() - 6, lines.end()), tail);
}

TEST(LinearTrend, EvenColumnsUseOddCodesSoTheSlopeIsHalfTheStep) {
    // Means 10, 12, 14, 16 (three values each): codes -3, -1, 1, 3, S1 = 20, S3 = 20.
    PostTestBasis b;
    b.groups = {{"A", 3, 10.0L}, {"B", 3, 12.0L}, {"C", 3, 14.0L}, {"D", 3, 16.0L}};
    b.msResidual = 1.0L;
    b.dfResidual = 8;
    TrendInput in;
    in.k = 4;
    in.ssTreatment = 60.0L;  // 3 * (9 + 1 + 1 + 9)
    in.ssResidual = 8.0L;
    in.ssTotal = 68.0L;
    in.dfTreatment = 3;
    in.dfTotal = 11;
    const LinearTrendResult r = ComputeLinearTrend(b, in);
    ExpectRel(r.slope, 1.0, 1e-15);
    ExpectRel(r.ssLinear, 60.0, 1e-15);  // S1^2 / S2 = 400 / (20 / 3)
    EXPECT_EQ(r.dfNonlinear, 2);
    EXPECT_NEAR(static_cast<double>(r.ssNonlinear), 0.0, 1e-15);
}

TEST(LinearTrend, TwoColumnsHaveNoNonlinearPartAndNoDivisionByZero) {
    PostTestBasis b;
    b.groups = {{"Before", 4, 10.0L}, {"After", 4, 13.0L}};
    b.msResidual = 2.0L;
    b.dfResidual = 6;
    TrendInput in;
    in.k = 2;
    in.ssTreatment = 18.0L;  // 4 * (1.5^2 + 1.5^2)
    in.ssResidual = 12.0L;
    in.ssTotal = 30.0L;
    in.dfTreatment = 1;
    in.dfTotal = 7;
    FpFaultGuard guard;
    const LinearTrendResult r = ComputeLinearTrend(b, in);
    EXPECT_EQ(guard.FaultCode(), 0);
    EXPECT_EQ(r.dfNonlinear, 0);
    EXPECT_EQ(static_cast<double>(r.ssNonlinear), 0.0);
    EXPECT_TRUE(IsMissingValue(r.fNonlinear));
    EXPECT_TRUE(IsMissingValue(r.pNonlinear));
    ExpectRel(r.ssLinear, 18.0, 1e-15);  // the whole treatment sum of squares
    ExpectRel(r.slope, 1.5, 1e-15);      // codes -1, 1
    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteLinearTrend(rep, b, r); });
    EXPECT_EQ(guard.FaultCode(), 0);
    EXPECT_EQ(lines[9], "Is the nonlinear variation statistically significant?");
    EXPECT_EQ(lines[10], "With only two columns there is no nonlinear component: it cannot be");
    EXPECT_EQ(lines[11], "computed (0 degrees of freedom).");
    EXPECT_EQ(lines[21], "Between columns: Not linear" + Sp(12) + "0     0.000");
    EXPECT_EQ(lines[lines.size() - 2], "F (linear trend) = 9.0000    =MSlinear/MSresidual");
    EXPECT_EQ(lines.back(), "");
}

TEST(LinearTrend, AfterRepeatedMeasuresTheTableKeepsTheIndividualRow) {
    PostTestBasis b;
    b.groups = {{"A", 3, 10.0L}, {"B", 3, 12.0L}, {"C", 3, 13.0L}};
    b.msResidual = 0.5L;
    b.dfResidual = 4;
    b.oneWay = false;
    TrendInput in;
    in.k = 3;
    in.ssTreatment = 14.0L;
    in.ssResidual = 2.0L;
    in.ssIndividual = 6.0L;
    in.msIndividual = 3.0L;
    in.dfIndividual = 2;
    in.ssTotal = 22.0L;
    in.dfTreatment = 2;
    in.dfTotal = 8;
    const LinearTrendResult r = ComputeLinearTrend(b, in);
    const std::vector<std::string> lines =
        Written([&](ResultsReport& rep) { WriteLinearTrend(rep, b, r); });
    // Source texts at column 1 (the line start), df at 30, SS at 42, MS at 52.
    EXPECT_EQ(lines[21], "Between columns: Linear" + Sp(15) + "1    13.500    13.500");
    EXPECT_EQ(lines[23], "Individual (between rows)" + Sp(13) + "2     6.000     3.000");
    EXPECT_EQ(lines[24], "Random (residual)" + Sp(21) + "4     2.000    0.5000");
    EXPECT_EQ(lines[26], "Total" + Sp(33) + "8    22.000");
}

TEST(PostTestDispatch, KindsOutsideTheListComputeNothing) {
    const PostTestBasis basis = DoseBasis();
    PostTestChoice choice;
    choice.kind = 7;
    PostTestResult result;
    EXPECT_EQ(ComputePostTest(basis, choice, TrendInput{}, result), 0);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(result));
    ResultsReport report;
    WritePostTest(report, basis, result);
    EXPECT_TRUE(report.IsEmpty());
    choice.kind = PostTestKind::Dunnett;
    choice.controlIndex = 2;
    ASSERT_EQ(ComputePostTest(basis, choice, TrendInput{}, result), 0);
    EXPECT_EQ(std::get<DunnettResult>(result).control, 2);
}

}  // namespace
}  // namespace zelkon
