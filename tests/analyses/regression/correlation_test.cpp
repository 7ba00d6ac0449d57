// Pearson and Spearman correlation: coefficients and P values against R's cor.test, the
// confidence intervals against their formulas computed here, the exact Spearman P value
// against a brute-force enumeration of every permutation, every report branch and the
// entries through the analysis run.
#include "analyses/regression/correlation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

#include "core/calc_status.h"
#include "core/fp_guard.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "stats/pvalue.h"
#include "stats/wording.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

void Fill(DataTable& table, int column, const std::vector<Extended>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) table.SetValue(static_cast<int>(i), column, values[i]);
}

::testing::AssertionResult Near(Extended a, Extended b, Extended tol) {
    const Extended scale = b == 0 ? 1 : std::fabs(b);
    if (std::fabs(a - b) <= tol * scale) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << static_cast<double>(a) << " vs " << static_cast<double>(b);
}

std::vector<Extended> Sequence(int n) {
    std::vector<Extended> v(static_cast<std::size_t>(n));
    std::iota(v.begin(), v.end(), 1.0L);
    return v;
}

/// The Fisher-transform limits written out: tanh(atanh(r) -/+ z_for_p(0.025) sqrt(f/(N-3))).
void ExpectFisherLimits(Extended r, int n, Extended factor, Extended lower, Extended upper) {
    const Extended z = 0.5L * std::log((1 + r) / (1 - r));
    const Extended h = z_for_p(0.025L) * std::sqrt(factor / (n - 3));
    EXPECT_TRUE(Near(lower, std::tanh(z - h), 1e-15L));
    EXPECT_TRUE(Near(upper, std::tanh(z + h), 1e-15L));
}

class FakeClock : public Clock {
public:
    std::int64_t now = 0;
    std::int64_t step = 0;
    std::int64_t NowMs() override { return now += step; }
};

struct ClockFixture : ::testing::Test {
    FakeClock clock;
    void SetUp() override {
        GlobalCalcStatus().SetClock(&clock);
        GlobalCalcStatus().BeginCalculation();
        FpFaultGuard::ClearFlags();
    }
    void TearDown() override {
        // No computation may leave a flag that the run would turn into an error code.
        EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID));
        GlobalCalcStatus().EndCalculation();
        GlobalCalcStatus().SetClock(nullptr);
    }
};

// --- Pearson ------------------------------------------------------------------------------

TEST(PearsonCalc, ReplicateColumnsAgainstR) {
    // X with two Y columns of five rows: ten points.
    DataTable table;
    Fill(table, 0, {1, 2, 3, 4, 5});
    Fill(table, 1, {2.1, 3.9, 6.2, 7.8, 10.1});
    Fill(table, 2, {1.8, 4.2, 5.9, 8.3, 9.7});
    const PearsonResult p = PearsonCalc(table, 0);
    // R: cor.test(c(x, x), c(y1, y2)): r = 0.997622204459111, t = 40.9418221899407,
    // p = 1.3945572692642e-10, conf.int 0.989579934969799 0.999459089030884 (qnorm);
    // sqrt((1 - r^2) / 8) = 0.0243668247063079.
    EXPECT_EQ(p.errorCode, 0);
    EXPECT_EQ(p.n, 10);
    EXPECT_TRUE(Near(p.r, 0.997622204459111L, 1e-14L));
    EXPECT_TRUE(Near(p.rSquared, 0.997622204459111L * 0.997622204459111L, 1e-14L));
    EXPECT_TRUE(Near(p.standardError, 0.0243668247063079L, 1e-12L));
    EXPECT_TRUE(Near(p.t, 40.9418221899407L, 1e-12L));
    EXPECT_TRUE(Near(p.p, 1.3945572692642e-10L, 1e-8L));
    ExpectFisherLimits(p.r, 10, 1, p.lower, p.upper);
    // The limits use z_for_p(0.025) (bisection on t with 5000 df), close to R's qnorm.
    EXPECT_TRUE(Near(p.lower, 0.989579934969799L, 1e-5L));
    EXPECT_TRUE(Near(p.upper, 0.999459089030884L, 1e-5L));
}

TEST(PearsonCalc, PairingOfTwoColumnsAgainstR) {
    DataTable table;
    Fill(table, 0, {4.2, 5.1, 3.3, 6.8, 5.5, 4.9, 7.2});
    Fill(table, 1, {99, 99, 99});  // not part of the pairing
    Fill(table, 2, {10.5, 9.8, 11.2, 7.1, 9.9, 10.0, 6.4});
    table.SetValue(7, 0, 5.0);  // no partner in column C: not a pair
    const PearsonResult p = PearsonCalc(table, 0, 2);
    // R: cor.test(x, y): r = -0.958360849957053, p = 0.000664433238595448,
    // conf.int -0.994027738853146 -0.737706721450647.
    EXPECT_EQ(p.n, 7);
    EXPECT_TRUE(Near(p.r, -0.958360849957053L, 1e-14L));
    EXPECT_TRUE(Near(p.p, 0.000664433238595448L, 1e-8L));
    ExpectFisherLimits(p.r, 7, 1, p.lower, p.upper);
    // z_for_p(0.025) stops within 1e-6 of P on t with 5000 df, some 2e-4 from qnorm's
    // 1.959964, so the limits agree with R's to about 2e-4 (relative).
    EXPECT_TRUE(Near(p.lower, -0.994027738853146L, 5e-4L));
    EXPECT_TRUE(Near(p.upper, -0.737706721450647L, 5e-4L));
}

TEST(PearsonCalc, ErrorCodes) {
    DataTable none;
    EXPECT_EQ(PearsonCalc(none, 0).errorCode, 47);
    DataTable oneX;
    Fill(oneX, 0, {0.1, 0.1, 0.1});
    Fill(oneX, 1, {1, 2, 3});
    EXPECT_EQ(PearsonCalc(oneX, 0).errorCode, 37);
    DataTable oneY;
    Fill(oneY, 0, {1, 2, 3});
    Fill(oneY, 1, {0.7, 0.7, 0.7});
    EXPECT_EQ(PearsonCalc(oneY, 0).errorCode, 38);
    DataTable twoPoints;
    Fill(twoPoints, 0, {1, 2});
    Fill(twoPoints, 1, {3, 5});
    EXPECT_EQ(PearsonCalc(twoPoints, 0).errorCode, 39);
}

TEST(PearsonCalc, PerfectCorrelationWithoutArithmeticFault) {
    // X = 1, 2, 3 and Y = 2, 4, 6 far from zero: r = 1, t infinite, P = 0, and no flag is
    // left for the run to turn into an error code.
    DataTable table;
    Fill(table, 0, {1e9 + 1, 1e9 + 2, 1e9 + 3});
    Fill(table, 1, {2e9 + 2, 2e9 + 4, 2e9 + 6});
    FpFaultGuard guard;
    const PearsonResult p = PearsonCalc(table, 0);
    EXPECT_EQ(guard.FaultCode(), 0);
    EXPECT_EQ(p.r, 1);
    EXPECT_EQ(p.p, 0);
    EXPECT_FALSE(p.HasInterval());
    // With more than three points the limits of a perfect correlation are r itself.
    Fill(table, 0, {1, 2, 3, 4, 5});
    Fill(table, 1, {10, 8, 6, 4, 2});
    const PearsonResult q = PearsonCalc(table, 0);
    EXPECT_EQ(guard.FaultCode(), 0);
    EXPECT_EQ(q.r, -1);
    EXPECT_EQ(q.lower, -1);
    EXPECT_EQ(q.upper, -1);
}

TEST(PearsonReport, ThreePointsOnALine) {
    DataTable table;
    Fill(table, 0, {1, 2, 3});
    Fill(table, 1, {2, 4, 6});
    ResultsReport report;
    PearsonReport(PearsonCalc(table, 0), report);
    const std::vector<std::string> expected = {
        ResultsReport::Centre("Linear Correlation", 65),
        "",
        "",
        "Number of points = 3",
        "",
        "Correlation coefficient (r) = 1.000",
        "95% confidence interval: (Requires more than 3 points) ",
        "Coefficient of determination (r squared) = 1.000",
        "",
        "",
        "",
        "Test: Is r significantly different than zero?",
        "The two-tailed P value is < 0.0001, considered extremely significant.",
    };
    EXPECT_EQ(test::PlainLines(report), expected);
}

TEST(PearsonReport, IntervalLine) {
    DataTable table;
    Fill(table, 0, {4.2, 5.1, 3.3, 6.8, 5.5, 4.9, 7.2});
    Fill(table, 1, {10.5, 9.8, 11.2, 7.1, 9.9, 10.0, 6.4});
    ResultsReport report;
    PearsonReport(PearsonCalc(table, 0), report);
    const std::vector<std::string> lines = test::PlainLines(report);
    ASSERT_EQ(lines.size(), 13u);
    // R: r = -0.958360849957053, r^2 = 0.918455...; P = 0.00066.  The limits by the
    // formula with z_for_p (R's qnorm limits are -0.99403 and -0.73771).
    const Extended r = -0.958360849957053L;
    const Extended z = 0.5L * std::log((1 + r) / (1 - r));
    const Extended h = z_for_p(0.025L) * std::sqrt(1.0L / 4);
    EXPECT_EQ(lines[5], "Correlation coefficient (r) = -0.9584");
    EXPECT_EQ(lines[6], "95% confidence interval: " + FormatNumber(std::tanh(z - h), -5) + " to " +
                            FormatNumber(std::tanh(z + h), -5));
    EXPECT_EQ(lines[7], "Coefficient of determination (r squared) = 0.9185");
    EXPECT_EQ(lines[12], "The two-tailed P value is 0.0007, considered extremely significant.");
}

// --- Spearman -----------------------------------------------------------------------------

/// Pearson's r of average ranks, written out independently.
Extended RankCorrelation(const std::vector<Extended>& x, const std::vector<Extended>& y) {
    auto ranks = [](const std::vector<Extended>& v) {
        std::vector<Extended> r;
        for (const Extended a : v) {
            Extended below = 0, equal = 0;
            for (const Extended b : v) {
                below += b < a ? 1 : 0;
                equal += b == a ? 1 : 0;
            }
            r.push_back(below + (equal + 1) / 2);
        }
        return r;
    };
    const std::vector<Extended> rx = ranks(x), ry = ranks(y);
    const Extended n = static_cast<Extended>(x.size()), mean = (n + 1) / 2;
    Extended sxy = 0, sxx = 0, syy = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sxy += (rx[i] - mean) * (ry[i] - mean);
        sxx += (rx[i] - mean) * (rx[i] - mean);
        syy += (ry[i] - mean) * (ry[i] - mean);
    }
    return sxy / std::sqrt(sxx * syy);
}

TEST_F(ClockFixture, SpearmanExactPEqualsEnumerationOnRandomSamplesWithTies) {
    std::mt19937 random(5);
    for (int trial = 0; trial < 200; ++trial) {
        const int n = std::uniform_int_distribution<int>(3, 8)(random);
        std::vector<Extended> x, y;
        for (int i = 0; i < n; ++i) {
            x.push_back(std::uniform_int_distribution<int>(0, 5)(random));
            y.push_back(std::uniform_int_distribution<int>(0, 5)(random));
        }
        DataTable table;
        Fill(table, 0, x);
        Fill(table, 1, y);
        const SpearmanResult s = SpearmanCalc(table, 0);
        if (std::all_of(x.begin(), x.end(), [&](Extended v) { return v == x[0]; })) {
            ASSERT_EQ(s.errorCode, 37);
            continue;
        }
        if (std::all_of(y.begin(), y.end(), [&](Extended v) { return v == y[0]; })) {
            ASSERT_EQ(s.errorCode, 38);
            continue;
        }
        const Extended r = RankCorrelation(x, y);
        ASSERT_TRUE(Near(s.r, r, 1e-15L)) << trial;
        // Every permutation of the ranks 1..n over the positions, as the definition says.
        const auto threshold = std::llround((n * n * n - n) * (1 + std::fabs(r)) / 6);
        std::vector<int> perm(static_cast<std::size_t>(n));
        std::iota(perm.begin(), perm.end(), 1);
        std::int64_t counted = 0, total = 0;
        do {
            std::int64_t d = 0;
            for (int i = 0; i < n; ++i) d += (perm[static_cast<std::size_t>(i)] - (i + 1)) * (perm[static_cast<std::size_t>(i)] - (i + 1));
            ++total;
            if (d >= threshold) ++counted;
        } while (std::next_permutation(perm.begin(), perm.end()));
        ASSERT_EQ(s.threshold, threshold);
        ASSERT_TRUE(s.Exact());
        ASSERT_EQ(s.counted, counted) << trial;
        ASSERT_EQ(s.p, 2 * static_cast<Extended>(counted) / static_cast<Extended>(total));
    }
}

TEST_F(ClockFixture, SpearmanExactAgainstR) {
    DataTable table;
    Fill(table, 0, {2.1, 3.4, 1.9, 5.6, 4.4, 3.8, 6.1, 2.8, 5.0});
    Fill(table, 1, {1.5, 2.9, 2.2, 4.8, 3.1, 3.9, 5.5, 1.2, 4.1});
    // R: cor.test(x, y, method = "spearman") (exact for n = 9): rho = 0.916666666666667,
    // S = 10, p = 0.00131172839506173.
    const SpearmanResult s = SpearmanCalc(table, 0);
    EXPECT_TRUE(Near(s.r, 0.916666666666667L, 1e-14L));
    EXPECT_EQ(s.d, 10);
    EXPECT_TRUE(s.Exact());
    EXPECT_TRUE(Near(s.p, 0.00131172839506173L, 1e-13L));
    EXPECT_FALSE(s.ties);
    EXPECT_FALSE(s.HasInterval());
}

TEST_F(ClockFixture, SpearmanApproximationBeyondTwelveAgainstR) {
    DataTable table;
    Fill(table, 0, Sequence(15));
    Fill(table, 1, {2, 1, 4, 3, 7, 5, 6, 9, 8, 12, 10, 15, 11, 14, 13});
    // R: cor.test(x, y, method = "spearman", exact = FALSE): rho = 0.939285714285714,
    // S = 34, p = 2.09458019366857e-07 (t with 13 df, as here).
    const SpearmanResult s = SpearmanCalc(table, 0);
    EXPECT_TRUE(Near(s.r, 0.939285714285714L, 1e-14L));
    EXPECT_EQ(s.d, 34);
    EXPECT_EQ(s.exactFlag, ExactFlagTooLong);
    EXPECT_EQ(s.source, PValueSource::TooLarge);
    EXPECT_TRUE(Near(s.p, 2.09458019366857e-07L, 1e-8L));
    // The interval uses the variance factor 1.06 / (N - 3).
    ExpectFisherLimits(s.r, 15, 1.06L, s.lower, s.upper);
}

TEST_F(ClockFixture, SpearmanTiesAgainstR) {
    DataTable table;
    Fill(table, 0, {1, 2, 2, 3, 4, 5, 5, 5, 6, 7, 8, 9, 10, 11});
    Fill(table, 1, {3, 1, 4, 4, 2, 6, 8, 7, 7, 9, 12, 10, 14, 11});
    // R: cor.test(x, y, method = "spearman", exact = FALSE): rho = 0.918056007799074,
    // p = 3.65665905288592e-06; sum((rank(x) - rank(y))^2) = 37.
    const SpearmanResult s = SpearmanCalc(table, 0);
    EXPECT_TRUE(s.ties);
    EXPECT_EQ(s.tx, (6 + 24) / 12.0L);  // a pair and a triple of equal X
    EXPECT_EQ(s.ty, (6 + 6) / 12.0L);   // two pairs of equal Y
    EXPECT_EQ(s.d, 37);
    EXPECT_TRUE(Near(s.r, 0.918056007799074L, 1e-14L));
    EXPECT_TRUE(Near(s.p, 3.65665905288592e-06L, 1e-8L));
}

TEST_F(ClockFixture, SpearmanPerfectCorrelations) {
    FpFaultGuard guard;
    DataTable table;
    Fill(table, 0, Sequence(11));
    Fill(table, 1, Sequence(11));
    SpearmanResult s = SpearmanCalc(table, 0);
    EXPECT_EQ(s.r, 1);
    EXPECT_EQ(s.lower, 1);
    EXPECT_EQ(s.upper, 1);
    EXPECT_EQ(s.approximateP, 0);
    EXPECT_EQ(s.counted, 1);  // only the reversal reaches the threshold 440 = (11^3 - 11) / 3
    // A perfect negative correlation has limits -1 and an approximate P of 0 too, without
    // an arithmetic fault (13 points: no exact count).
    DataTable negative;
    Fill(negative, 0, Sequence(13));
    std::vector<Extended> down = Sequence(13);
    std::reverse(down.begin(), down.end());
    Fill(negative, 1, down);
    s = SpearmanCalc(negative, 0);
    EXPECT_EQ(s.r, -1);
    EXPECT_EQ(s.lower, -1);
    EXPECT_EQ(s.upper, -1);
    EXPECT_EQ(s.p, 0);
    EXPECT_EQ(guard.FaultCode(), 0);
}

TEST(SpearmanCalc, ErrorCodesAndPairs) {
    DataTable none;
    EXPECT_EQ(SpearmanCalc(none, 0).errorCode, 47);
    DataTable single;
    Fill(single, 0, {1});
    Fill(single, 1, {2});
    EXPECT_EQ(SpearmanCalc(single, 0).errorCode, 37);
    DataTable oneY;
    Fill(oneY, 0, {1, 2, 3});
    Fill(oneY, 1, {4, 4, 4});
    EXPECT_EQ(SpearmanCalc(oneY, 0).errorCode, 38);
    // The pairing form reads only the two columns, and only rows where both hold values.
    DataTable pairs;
    Fill(pairs, 0, {1, 2, 3, 4, 9});
    Fill(pairs, 1, {5, 5, 5, 5, 5, 5});
    Fill(pairs, 2, {1, 3, 2, 4});
    const SpearmanResult s = SpearmanCalc(pairs, 0, 2);
    EXPECT_EQ(s.n, 4);
    EXPECT_EQ(s.r, 0.8L);
}

// --- Spearman report ----------------------------------------------------------------------

std::vector<std::string> SpearmanLines(const std::vector<Extended>& x, const std::vector<Extended>& y) {
    DataTable table;
    Fill(table, 0, x);
    Fill(table, 1, y);
    ResultsReport report;
    SpearmanReport(SpearmanCalc(table, 0), report);
    return test::PlainLines(report);
}

TEST_F(ClockFixture, SpearmanReportFourPointsExact) {
    // 24 permutations, 8 of them at least as extreme: P = 1/3 (R: cor.test(1:4, c(1,3,2,4),
    // method = "spearman"): rho = 0.8, p = 0.333333333333333).
    const std::vector<std::string> expected = {
        ResultsReport::Centre("Spearman Rank Correlation", 65),
        "",
        "",
        "Number of points = 4",
        "",
        "Spearman r = 0.8000",
        "",
        "",
        "Test: Is r significantly different than zero?",
        "",
        "The two-tailed P value is 0.3333, considered not significant.",
        "Regardless of what data you enter, it is impossible for this test to",
        "yield P < 0.05 with so few data points.",
    };
    EXPECT_EQ(SpearmanLines(Sequence(4), {1, 3, 2, 4}), expected);
}

TEST_F(ClockFixture, SpearmanReportThirteenPointsTooLong) {
    // R: cor.test(1:13, y, method = "spearman", exact = FALSE): rho = 0.967032967032967,
    // p = 7.06411388717514e-08.
    const std::vector<std::string> lines =
        SpearmanLines(Sequence(13), {1, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12});
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[5], "Spearman r = 0.9670");
    EXPECT_EQ(lines[6].substr(0, 25), "95% confidence interval: ");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[10], "Test: Is r significantly different than zero?");
    EXPECT_EQ(lines[12], "The two-tailed P value is < 0.0001, considered extremely significant.");
    EXPECT_EQ(lines[13], "The P value is approximate because exact calculations would have taken");
    EXPECT_EQ(lines[14], "too long.");
}

TEST_F(ClockFixture, SpearmanReportTiesExact) {
    const std::vector<std::string> lines = SpearmanLines({1, 2, 2, 3, 4, 5}, {2, 1, 3, 4, 6, 5});
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[5].substr(0, 13), "Spearman r = ");
    EXPECT_EQ(lines[5].substr(lines[5].size() - 21), " (corrected for ties)");
    EXPECT_EQ(lines[11], "The P value may be inaccurate because of ties.");
}

TEST_F(ClockFixture, SpearmanReportInterruptedOrAbandoned) {
    // Cancelled with 11 points: the interval, then the remark.
    clock.step = 3000;
    GlobalCalcStatus().RequestCancel();
    std::vector<std::string> lines = SpearmanLines(Sequence(11), {2, 1, 3, 5, 4, 6, 8, 7, 9, 11, 10});
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[13], "The P value is approximate because exact calculations were interrupted.");
    // Cancelled with 8 points: the report ends with the note on too few points.
    lines = SpearmanLines(Sequence(8), {2, 1, 3, 5, 4, 6, 8, 7});
    const std::vector<std::string> tail = {
        "Spearman r = 0.9286",
        "",
        "There were not enough points (N <= 10) to perform a linearity",
        "check or compute the confidence interval of r.",
    };
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 5, lines.end()), tail);
    // More than 600 s estimated with 12 points: the "would have taken too long" remark.
    GlobalCalcStatus().BeginCalculation();  // clears the cancel flag
    clock.step = 100000;
    lines = SpearmanLines(Sequence(12), {2, 1, 3, 5, 4, 6, 8, 7, 9, 11, 10, 12});
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[13], "The P value is approximate because exact calculations would have taken");
}

// --- Entries through the analysis run -----------------------------------------------------

TEST(CorrelationEntries, ThroughTheRun) {
    Document doc;
    doc.Data().SetFormat(DataFormat::XY);
    Fill(doc.Table(), 0, {1, 2, 3, 4, 5});
    Fill(doc.Table(), 1, {2, 1, 4, 3, 5});
    AnalysisEntryPoints entries;
    entries.pearson = PearsonEntry;
    entries.spearman = SpearmanEntry;
    doc.Choices().xy.regression = 0;
    doc.Choices().xy.correlationKind = CorrelationKind::Spearman;
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 0);
    std::vector<std::string> lines = test::PlainLines(doc.Report());
    EXPECT_EQ(lines[0], ResultsReport::Centre("Spearman Rank Correlation", 65));
    EXPECT_EQ(lines[5], "Spearman r = 0.8000");
    EXPECT_NE(doc.ResultJson().find("\"analysis\":\"Spearman correlation\""), std::string::npos);

    doc.Choices().xy.correlationKind = CorrelationKind::Pearson;
    doc.SetNeedsRecalculation(true);
    Calculate(doc, entries);
    lines = test::PlainLines(doc.Report());
    EXPECT_EQ(lines[0], ResultsReport::Centre("Linear Correlation", 65));
    EXPECT_EQ(lines[3], "Number of points = 5");
    EXPECT_NE(doc.ResultJson().find("\"r\":0.8"), std::string::npos);

    // All X equal: the message of code 37 replaces the report.
    Fill(doc.Table(), 0, {3, 3, 3, 3, 3});
    doc.SetNeedsRecalculation(true);
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 37);
    lines = test::PlainLines(doc.Report());
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Points have only one x-value.  The slope is infinite."),
              lines.end());
}

}  // namespace
}  // namespace zelkon
