// Linear regression: the fit, its analysis of variance and limits against R, the forced fit,
// the runs test against a brute-force count, the lack-of-fit test, the error codes, the
// standard curve and the NIST Norris certified values.
#include "analyses/regression/linear_regression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analyses/regression/runs_test.h"
#include "analyses/regression/xy_points.h"
#include "core/fp_guard.h"
#include "regression_test_data.h"

namespace zelkon {
namespace {

using test::FillXY;
using test::Gap;
using test::Lre;
using test::RelErr;

// Full-precision agreement with R (R works in double): 1e-12 relative.
constexpr Extended Tol = 1e-12L;

// Eleven points in six rows with duplicates, position order: row 1 B, row 1 C, row 2 B, ...
// R:  x <- c(1,1,2,2,3,3,4,4,5,5,6); y <- c(2.1,1.8,3.9,4.2,6.2,5.9,7.8,8.3,10.1,9.7,12.3)
void FillReplicates(DataTable& t) {
    FillXY(t, {1, 2, 3, 4, 5, 6},
           {{2.1, 3.9, 6.2, 7.8, 10.1, 12.3}, {1.8, 4.2, 5.9, 8.3, 9.7, Gap}});
}

LinearRegressionOptions Linearity(bool on) {
    LinearRegressionOptions o;
    o.linearityTest = on;
    return o;
}

TEST(LinearRegression, UnforcedFitAgreesWithR) {
    DataTable t;
    FillReplicates(t);
    const LinearRegressionResult r = ComputeLinearRegression(t, Linearity(true));
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.n, 11);
    EXPECT_EQ(r.rows, 6);
    EXPECT_EQ(r.maxReplicates, 2);
    // summary(m <- lm(y ~ x)); anova(m)
    EXPECT_LT(RelErr(r.slope, 2.021935483870967332L), Tol);
    EXPECT_LT(RelErr(r.slopeSE, 0.042039573051986939L), Tol);
    EXPECT_LT(RelErr(r.intercept, -0.044516129032254666L), 1e-11L);
    EXPECT_LT(RelErr(r.interceptSE, 0.153157539970933371L), Tol);
    EXPECT_LT(RelErr(r.rSquared, 0.99612440759134990L), Tol);
    EXPECT_LT(RelErr(r.r, std::sqrt(0.99612440759134990L)), Tol);
    EXPECT_LT(RelErr(r.syx, 0.22317359076042892L), Tol);
    EXPECT_LT(RelErr(r.f, 2313.22562411680746663L), Tol);
    EXPECT_LT(RelErr(r.p, 3.6390723021117201e-12L), 1e-9L);
    EXPECT_TRUE(std::isnan(static_cast<double>(r.t)) || IsMissingValue(r.t));
    EXPECT_LT(RelErr(r.ssRegression, 115.2135601173020L), Tol);
    EXPECT_LT(RelErr(r.ssResidual, 0.4482580645161L), 1e-11L);
    EXPECT_EQ(r.dfResidual, 9);
    EXPECT_EQ(r.dfTotal, 10);
    EXPECT_LT(RelErr(r.ssTotal, 115.2135601173020L + 0.4482580645161L), Tol);
    // X intercept = -intercept / slope.
    EXPECT_LT(RelErr(r.xIntercept, 0.044516129032254666L / 2.021935483870967332L), 1e-11L);
    // Limits: estimate -/+ t_crit95(9) = 2.262 (the program's table) times R's SE.
    EXPECT_LT(RelErr(r.slopeLower, 2.021935483870967332L - 2.262L * 0.042039573051986939L), Tol);
    EXPECT_LT(RelErr(r.slopeUpper, 2.021935483870967332L + 2.262L * 0.042039573051986939L), Tol);
    EXPECT_LT(RelErr(r.interceptLower, -0.044516129032254666L - 2.262L * 0.153157539970933371L),
              Tol);
    EXPECT_LT(RelErr(r.interceptUpper, -0.044516129032254666L + 2.262L * 0.153157539970933371L),
              Tol);
    EXPECT_FALSE(r.perfect);
}

TEST(LinearRegression, LackOfFitAgreesWithRAnovaOfLineAgainstFactorModel) {
    DataTable t;
    FillReplicates(t);
    const LinearRegressionResult r = ComputeLinearRegression(t, Linearity(true));
    ASSERT_TRUE(r.lackOfFitComputed);
    // anova(lm(y ~ x), lm(y ~ factor(x))): RSS 0.448258064516131 (9 df) and 0.34 (5 df).
    EXPECT_EQ(r.dfLackOfFit, 4);
    EXPECT_EQ(r.dfPureError, 5);
    EXPECT_LT(RelErr(r.ssLackOfFit, 0.108258064516131L), 1e-11L);
    EXPECT_LT(RelErr(r.ssPureError, 0.34L), Tol);
    EXPECT_LT(RelErr(r.fLackOfFit, 0.39800759013283304L), 1e-11L);
    // P values carry the distribution module's accuracy (about 1e-10 relative).
    EXPECT_LT(RelErr(r.pLackOfFit, 0.80356189512639398L), 1e-9L);
    // Without the linearity test nothing of it is computed.
    EXPECT_FALSE(ComputeLinearRegression(t, Linearity(false)).lackOfFitComputed);
}

TEST(LinearRegression, ForcedFitAgreesWithRThroughShiftedOrigin) {
    DataTable t;
    FillReplicates(t);
    LinearRegressionOptions o = Linearity(true);
    o.forced = true;
    o.forceX = 1;
    o.forceY = 2;
    const LinearRegressionResult r = ComputeLinearRegression(t, o);
    ASSERT_EQ(r.errorCode, 0);
    // xf <- x - 1; yf <- y - 2; summary(mf <- lm(yf ~ 0 + xf)); sum(yf^2)
    EXPECT_LT(RelErr(r.slope, 2.0152941176470587L), Tol);
    EXPECT_LT(RelErr(r.slopeSE, 0.023011957174703376L), Tol);
    EXPECT_LT(RelErr(r.t, 87.575954637288945L), Tol);
    EXPECT_LT(RelErr(r.p, 9.2184542138026028e-16L), 1e-9L);
    EXPECT_EQ(r.dfResidual, 10);
    EXPECT_EQ(r.dfTotal, 11);
    EXPECT_LT(RelErr(r.syx, 0.21215976222149779L), Tol);
    EXPECT_LT(RelErr(r.rSquared, 0.99869784000040840L), Tol);
    EXPECT_LT(RelErr(r.ssTotal, 345.67L), Tol);
    EXPECT_LT(RelErr(r.ssRegression, 345.219882352941L), Tol);
    EXPECT_LT(RelErr(r.ssResidual, 0.450117647059L), 1e-11L);
    // The line in data units: Y0 - slope * X0; limits with t_crit95(10) = 2.228.
    EXPECT_LT(RelErr(r.intercept, 2.0L - 2.0152941176470587L), 1e-11L);
    EXPECT_LT(RelErr(r.slopeLower, 2.0152941176470587L - 2.228L * 0.023011957174703376L), Tol);
    EXPECT_TRUE(IsMissingValue(r.interceptSE));
    EXPECT_TRUE(IsMissingValue(r.f));
    // Means stay in data units.
    EXPECT_LT(RelErr(r.meanX, 36.0L / 11.0L), Tol);
    // anova(mf, lm(yf ~ 0 + factor(xf))): 5 and 5 df.
    ASSERT_TRUE(r.lackOfFitComputed);
    EXPECT_EQ(r.dfLackOfFit, 5);
    EXPECT_EQ(r.dfPureError, 5);
    EXPECT_LT(RelErr(r.fLackOfFit, 0.32387543252595957L), 1e-11L);
    EXPECT_LT(RelErr(r.pLackOfFit, 0.87925951585429984L), 1e-9L);
}

// ------------------------------------------------------------------------------------------
// Runs test

/// Brute force: every placement of `above` points among above + below positions, counting
/// the arrangements with at most `runs` runs.
Extended BruteForceRunsP(int above, int below, int runs) {
    const int total = above + below;
    long long fewer = 0;
    long long all = 0;
    for (unsigned mask = 0; mask < (1u << total); ++mask) {
        if (__builtin_popcount(mask) != above) continue;
        int count = 1;
        for (int i = 1; i < total; ++i) {
            if (((mask >> i) & 1u) != ((mask >> (i - 1)) & 1u)) ++count;
        }
        ++all;
        if (count <= runs) ++fewer;
    }
    return static_cast<Extended>(fewer) / static_cast<Extended>(all);
}

TEST(RunsTest, ProbabilityMatchesBruteForceCount) {
    for (int a = 1; a <= 8; ++a) {
        for (int b = 1; b <= 8; ++b) {
            for (int runs = 1; runs <= a + b; ++runs) {
                SCOPED_TRACE(testing::Message() << a << " above, " << b << " below, " << runs);
                EXPECT_LT(RelErr(RunsP(a, b, runs), BruteForceRunsP(a, b, runs)), 1e-15L);
            }
        }
    }
    EXPECT_LT(RelErr(RunsP(10, 8, 5), BruteForceRunsP(10, 8, 5)), 1e-15L);
}

TEST(RunsTest, LargeSidesAgainstExactRationals) {
    // Python, exact integers:  sum of f(r) for r <= R over comb(a + b, a), with
    // f(2k) = 2 C(a-1,k-1) C(b-1,k-1), f(2k+1) = C(a-1,k) C(b-1,k-1) + C(a-1,k-1) C(b-1,k).
    EXPECT_LT(RelErr(RunsP(600, 10, 12), 1.322225557061231e-07L), 1e-13L);
    EXPECT_LT(RelErr(RunsP(10, 600, 15), 0.0002553802833304532L), 1e-13L);
    EXPECT_LT(RelErr(RunsP(499, 501, 480), 0.09729770493857251L), 1e-12L);
    EXPECT_LT(RelErr(RunsP(500, 500, 480), 0.09727683335951147L), 1e-12L);
    EXPECT_EQ(RunsP(600, 10, 21), 1.0L);
    // More than 500 on each side is not computed.
    EXPECT_EQ(RunsP(501, 501, 400), -1.0L);
    EXPECT_EQ(RunsP(501, 700, 400), -1.0L);
}

TEST(RunsTest, CountsSidesAndRunsInPositionOrder) {
    DataTable t;
    FillReplicates(t);
    // sign(resid(lm(y ~ x))): + - - + + - - + + - +
    const LinearRegressionResult r = ComputeLinearRegression(t, Linearity(true));
    EXPECT_EQ(r.runs.above, 6);
    EXPECT_EQ(r.runs.below, 5);
    EXPECT_EQ(r.runs.runs, 7);
    EXPECT_EQ(r.runsOutcome, RunsOutcome::Computed);
    EXPECT_LT(RelErr(r.runsP, BruteForceRunsP(6, 5, 7)), 1e-15L);
}

TEST(RunsTest, PointsOnTheLineAreSkippedWithoutChangingTheSide) {
    DataTable t;
    // The line y = x: above, on, above, below, on, below.
    FillXY(t, {1, 2, 3, 4, 5, 6}, {{2, 2, 4, 3, 5, 5}});
    const RunsCounts c = RunsCount(t, 1.0L, 0.0L);
    EXPECT_EQ(c.above, 2);
    EXPECT_EQ(c.below, 2);
    EXPECT_EQ(c.runs, 2);
}

TEST(RunsTest, RefusalsOfTooFewPoints) {
    // sign(resid(lm(y ~ x))) for y = 1.1, 1.9, 3.2, 3.9, 5.1: + - + - + (3 above, 2 below).
    DataTable t;
    FillXY(t, {1, 2, 3, 4, 5}, {{1.1, 1.9, 3.2, 3.9, 5.1}});
    LinearRegressionResult r = ComputeLinearRegression(t, Linearity(true));
    EXPECT_EQ(r.runs.above, 3);
    EXPECT_EQ(r.runs.below, 2);
    EXPECT_EQ(r.runsOutcome, RunsOutcome::TooFewInAll);
    // sign(resid(lm(y ~ x))) for x = 1:7, y = c(1, 2, 3, -10, 5, 6, 7): one point below.
    DataTable u;
    FillXY(u, {1, 2, 3, 4, 5, 6, 7}, {{1, 2, 3, -10, 5, 6, 7}});
    r = ComputeLinearRegression(u, Linearity(true));
    EXPECT_EQ(r.runs.above, 6);
    EXPECT_EQ(r.runs.below, 1);
    EXPECT_EQ(r.runs.runs, 3);
    EXPECT_EQ(r.runsOutcome, RunsOutcome::TooFewOnASide);
}

// ------------------------------------------------------------------------------------------
// Failures and special lines

TEST(LinearRegression, ErrorCodes) {
    DataTable twoRows;
    FillXY(twoRows, {1, 2}, {{1, 2}, {1.5, 2.5}});
    EXPECT_EQ(ComputeLinearRegression(twoRows, {}).errorCode, ErrorTooFewRegressionPoints);
    DataTable empty;
    EXPECT_EQ(ComputeLinearRegression(empty, {}).errorCode, ErrorTooFewRegressionPoints);
    DataTable oneX;
    FillXY(oneX, {3, 3, 3}, {{1, 2, 3}});
    EXPECT_EQ(ComputeLinearRegression(oneX, {}).errorCode, ErrorOnlyOneX);
    DataTable oneY;
    FillXY(oneY, {1, 2, 3}, {{4, 4, 4}});
    EXPECT_EQ(ComputeLinearRegression(oneY, {}).errorCode, ErrorOnlyOneY);
    LinearRegressionOptions forced;
    forced.forced = true;
    forced.forceX = 0;
    forced.forceY = 4;
    EXPECT_EQ(ComputeLinearRegression(oneY, forced).errorCode, ErrorOnlyOneY);
    // Replicates without any scatter: the lack-of-fit test would divide by zero.
    DataTable noScatter;
    FillXY(noScatter, {1, 2, 3}, {{1, 5, 2}, {1, 5, 2}});
    FpFaultGuard guard;
    EXPECT_EQ(ComputeLinearRegression(noScatter, Linearity(true)).errorCode, ErrorDivideByZero);
    EXPECT_EQ(guard.FaultCode(), 0);
    EXPECT_EQ(ComputeLinearRegression(noScatter, Linearity(false)).errorCode, 0);
}

TEST(LinearRegression, PerfectLineRaisesNoFault) {
    DataTable t;
    FillXY(t, {1, 2, 3, 4}, {{10, 8, 6, 4}, {10, 8, 6, 4}});
    FpFaultGuard guard;
    LinearRegressionOptions o = Linearity(true);
    o.standardCurve = true;
    const LinearRegressionResult r = ComputeLinearRegression(t, o);
    EXPECT_EQ(guard.FaultCode(), 0);
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_TRUE(r.perfect);
    EXPECT_EQ(r.rSquared, 1.0L);
    EXPECT_EQ(r.slope, -2.0L);  // coef(lm(y ~ x)): 12, -2
    EXPECT_EQ(r.intercept, 12.0L);
    EXPECT_EQ(r.r, -1.0L);
    EXPECT_TRUE(IsMissingValue(r.f));
    EXPECT_FALSE(r.lackOfFitComputed);
}

TEST(LinearRegression, ExcludedAndEmptyCellsAreNoPoints) {
    DataTable t;
    FillXY(t, {1, 2, 3, 4, 5, 6}, {{1.1, 1.9, 3.2, 3.9, 5.1, 99}, {Gap, Gap, Gap, Gap, Gap, 98}});
    t.SetExcluded(5, 0, true);  // the X of the last row: its two Y values are no points
    t.SetValue(7, 1, 50);       // a Y without X is no point either
    const LinearRegressionResult r = ComputeLinearRegression(t, {});
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.n, 5);
    EXPECT_EQ(r.maxReplicates, 1);
    // lm(y ~ x) of x = 1:5, y = c(1.1, 1.9, 3.2, 3.9, 5.1): slope 1, intercept 0.04.
    EXPECT_LT(RelErr(r.slope, 1.0L), Tol);
    EXPECT_LT(RelErr(r.intercept, 0.04L), 1e-11L);
    EXPECT_LT(RelErr(r.f, 416.66666666666395713L), 1e-11L);
    EXPECT_LT(RelErr(r.p, 0.00025706797798305726L), 1e-10L);
}

TEST(LinearRegression, ReplicateRowsHoldMeansSdsAndResiduals) {
    DataTable t;
    FillReplicates(t);
    const LinearRegressionResult r = ComputeLinearRegression(t, {});
    ASSERT_EQ(r.replicateRows.size(), 6u);
    // tapply(y, x, mean); tapply(y, x, sd)
    EXPECT_LT(RelErr(r.replicateRows[3].meanY, 8.05L), Tol);
    EXPECT_LT(RelErr(r.replicateRows[3].sd, 0.35355339059327440L), Tol);
    EXPECT_EQ(r.replicateRows[3].replicates, 2);
    EXPECT_EQ(r.replicateRows[5].replicates, 1);
    EXPECT_TRUE(IsMissingValue(r.replicateRows[5].sd));
    const Extended predicted = -0.044516129032254666L + 2.021935483870967332L * 4;
    EXPECT_LT(RelErr(r.replicateRows[3].predictedY, predicted), Tol);
    EXPECT_LT(RelErr(r.replicateRows[3].residual, 8.05L - predicted), 1e-11L);
}

TEST(StandardCurve, UnknownsInRowOrderWithRangeMarks) {
    DataTable t;
    FillXY(t, {1, 2, 3, 4, 5, Gap, 2.5, 7, Gap},
           {{1.1, 1.9, 3.2, 3.9, 5.1, 0.5, Gap, Gap, 6}, {Gap, Gap, Gap, Gap, Gap, 5.96}});
    LinearRegressionOptions o;
    o.standardCurve = true;
    const LinearRegressionResult r = ComputeLinearRegression(t, o);
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.n, 5);
    // b <- coef(lm(y ~ x)); (c(0.5, 5.96, 6) - b[1]) / b[2]; b[1] + b[2] * c(2.5, 7)
    ASSERT_EQ(r.unknowns.size(), 5u);
    const StandardCurveValue& y05 = r.unknowns[0];
    EXPECT_EQ(y05.row, 5);
    EXPECT_TRUE(y05.xComputed);
    EXPECT_LT(RelErr(y05.x, 0.46L), 1e-11L);
    EXPECT_TRUE(y05.outside);  // below the smallest X, 1
    EXPECT_LT(RelErr(r.unknowns[1].x, 5.92L), 1e-11L);
    EXPECT_TRUE(r.unknowns[1].outside);  // beyond the largest X, 5
    EXPECT_FALSE(r.unknowns[2].xComputed);
    EXPECT_LT(RelErr(r.unknowns[2].y, 2.54L), 1e-11L);
    EXPECT_FALSE(r.unknowns[2].outside);
    EXPECT_LT(RelErr(r.unknowns[3].y, 7.04L), 1e-11L);
    EXPECT_TRUE(r.unknowns[3].outside);  // beyond the largest Y, 5.1
    EXPECT_EQ(r.unknowns[4].row, 8);
    EXPECT_LT(RelErr(r.unknowns[4].x, 5.96L), 1e-11L);
    EXPECT_TRUE(r.anyOutside);
    EXPECT_EQ(r.curveMinY, static_cast<Extended>(1.1));
    EXPECT_EQ(r.curveMaxX, 5.0L);
}

// Excluded values are left out, never taken for unknowns: an excluded Y beside an X, an
// excluded X beside a Y, an excluded Y beside another Y without X.  The standards are those
// above (R: coef(lm(y ~ x)) = 0.04, 1), so X = Y - 0.04 and Y = X + 0.04.
TEST(StandardCurve, ExcludedValuesAreNeverUnknowns) {
    struct Cell {
        int row, column;
        bool excluded;
    };
    struct Case {
        const char* what;
        std::vector<Cell> cells;  // row, column of the extra values (7.0, 8, 2.0, ...)
        std::vector<int> unknownRows;
        Extended interpolated;  // X (Y given) or Y (X given) of the unknown
    };
    DataTable base;
    FillXY(base, {1, 2, 3, 4, 5}, {{1.1, 1.9, 3.2, 3.9, 5.1}});
    const Case cases[] = {
        // Row 6: X 6 with Y 7 excluded; before, Y = 6.04 was interpolated for it.
        {"excluded Y", {{5, 0, false}, {5, 1, true}}, {}, 0},
        // Row 6: X 6 excluded with Y 7; before, X = 6.96 was interpolated from 7.
        {"excluded X", {{5, 0, true}, {5, 1, false}}, {}, 0},
        // Row 6: no X, Y 7 excluded and Y 4.4 in column C: only 4.4 is an unknown.
        {"excluded replicate", {{5, 1, true}, {5, 2, false}}, {5}, 4.36L},
        // Row 6: X 6 without any Y is an unknown as before.
        {"empty Y", {{5, 0, false}}, {5}, 6.04L},
    };
    for (const Case& c : cases) {
        DataTable t = base;
        for (const Cell& cell : c.cells) {
            const Extended value = cell.column == 0 ? 6.0L : cell.column == 1 ? 7.0L : 4.4L;
            t.SetValue(cell.row, cell.column, value);
            t.SetExcluded(cell.row, cell.column, cell.excluded);
        }
        LinearRegressionOptions o;
        o.standardCurve = true;
        const LinearRegressionResult r = ComputeLinearRegression(t, o);
        ASSERT_EQ(r.errorCode, 0) << c.what;
        EXPECT_EQ(r.n, 5) << c.what;
        ASSERT_EQ(r.unknowns.size(), c.unknownRows.size()) << c.what;
        for (std::size_t i = 0; i < c.unknownRows.size(); ++i) {
            const StandardCurveValue& v = r.unknowns[i];
            EXPECT_EQ(v.row, c.unknownRows[i]) << c.what;
            EXPECT_LT(RelErr(v.xComputed ? v.x : v.y, c.interpolated), 1e-11L) << c.what;
        }
    }
}

TEST(StandardCurve, FlatLineGivesNoX) {
    EXPECT_TRUE(IsMissingValue(XFromY(0.0L, 3.0L, 5.0L)));
    EXPECT_EQ(XFromY(2.0L, 1.0L, 5.0L), 2.0L);
    EXPECT_EQ(YFromX(2.0L, 1.0L, 5.0L), 11.0L);
    // Y = 1, 2, 1 over X = 1, 2, 3: slope exactly 0 with scatter.
    DataTable t;
    FillXY(t, {1, 2, 3, Gap}, {{1, 2, 1, 1.5}});
    LinearRegressionOptions o;
    o.standardCurve = true;
    FpFaultGuard guard;
    const LinearRegressionResult r = ComputeLinearRegression(t, o);
    EXPECT_EQ(guard.FaultCode(), 0);
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.slope, 0.0L);
    EXPECT_TRUE(IsMissingValue(r.xIntercept));
    ASSERT_EQ(r.unknowns.size(), 1u);
    EXPECT_TRUE(IsMissingValue(r.unknowns[0].x));
    EXPECT_FALSE(r.unknowns[0].outside);
}

// ------------------------------------------------------------------------------------------
// NIST StRD Norris: certified coefficients, their standard deviations, residual SD, R
// squared and the ANOVA (15 significant digits in the file).

TEST(LinearRegressionNist, NorrisCertifiedValues) {
    const auto rows = test::ReadNistData("Norris");
    ASSERT_EQ(rows.size(), 36u);
    DataTable t;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        t.SetValue(static_cast<int>(i), 0, rows[i][1]);
        t.SetValue(static_cast<int>(i), 1, rows[i][0]);
    }
    const LinearRegressionResult r = ComputeLinearRegression(t, {});
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_GE(Lre(r.intercept, -0.262323073774029L), 12);
    EXPECT_GE(Lre(r.slope, 1.00211681802045L), 13);
    EXPECT_GE(Lre(r.interceptSE, 0.232818234301152L), 13);
    EXPECT_GE(Lre(r.slopeSE, 0.429796848199937E-03L), 13);
    EXPECT_GE(Lre(r.syx, 0.884796396144373L), 13);
    EXPECT_GE(Lre(r.rSquared, 0.999993745883712L), 13);
    EXPECT_GE(Lre(r.ssRegression, 4255954.13232369L), 13);
    EXPECT_GE(Lre(r.ssResidual, 26.6173985294224L), 12);
    EXPECT_GE(Lre(r.f, 5436385.54079785L), 12);
    EXPECT_EQ(r.dfResidual, 34);
}

}  // namespace
}  // namespace zelkon
