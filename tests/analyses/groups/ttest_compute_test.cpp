// Numbers of the one-sample, paired, unpaired and Welch t tests against R's t.test,
// var.test / pf and cor.test, and against hand calculations of the program's own formulas
// (the confidence-interval critical values and the truncated Welch df); the error codes.
#include "analyses/groups/t_tests.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "core/column_data_helpers.h"
#include "core/data_table.h"

namespace zelkon {
namespace {

using test::AddRawColumn;

// Tolerances (relative): t, differences and interval limits are plain arithmetic on the
// data and agree with R's double-precision values to 1e-12; P values come from the
// continued fraction of the incomplete beta function, which stops at a relative change of
// 3e-7, so they are compared to 1e-5 (the report prints four decimals).
constexpr double ArithmeticTol = 1e-12;
constexpr double PTol = 1e-5;

void ExpectRel(Extended actual, double expected, double tol) {
    EXPECT_NEAR(static_cast<double>(actual), expected, std::fabs(expected) * tol)
        << "expected " << expected;
}

// The critical values of the intervals are written out by hand in each test: the
// two-tailed 95% table to 13 df (2.447 at 6 df, ...), then 1.96 df / (df - 1.20722).

ColumnRecord Typed(double mean, double sd, int n, const char* title) {
    ColumnRecord r;
    r.mean = mean;
    r.sd = sd;
    r.n = n;
    r.title = title;
    return r;
}

// One-sample test ------------------------------------------------------------------------

TEST(OneSampleTTest, SevenValuesAgainstRAndTheTableCriticalValue) {
    DataTable table;
    AddRawColumn(table, 0, {4.1, 5.2, 6.3, 5.8, 4.9, 6.0, 5.5}, "Weight");
    const auto r = ComputeOneSampleTTest(table, 0, table.Record(0), true, 5);
    ASSERT_EQ(r.errorCode, 0);
    // R: x <- c(4.1, 5.2, 6.3, 5.8, 4.9, 6.0, 5.5); t.test(x, mu = 5)
    ExpectRel(r.t, 1.42270741389162, ArithmeticTol);
    EXPECT_EQ(r.df, 6);
    ExpectRel(r.pTwoTailed, 0.204668258758471, PTol);
    ExpectRel(r.p, 0.204668258758471, PTol);
    ExpectRel(r.difference, 0.4, ArithmeticTol);
    EXPECT_EQ(r.summary.title, "Weight");
    EXPECT_TRUE(r.rawColumn);
    // Interval by hand: 0.4 -/+ 2.447 * sd / sqrt(7), sd(x) = 0.743863786814047 (R).
    const double half = 2.447 * 0.743863786814047 / std::sqrt(7.0);
    ExpectRel(r.lower, 0.4 - half, ArithmeticTol);
    ExpectRel(r.upper, 0.4 + half, ArithmeticTol);
    // The normality test of the column's own values: the distance and the Kolmogorov
    // series written out in R (normal CDF as t with 5000 df), see ttest_report_test.
    ExpectRel(r.normality.ks, 0.133178716907917, 1e-9);
}

TEST(OneSampleTTest, TwentyValuesUseTheRationalCriticalValueAndOneTailHalvesP) {
    DataTable table;
    AddRawColumn(table, 3, {12.1, 14.3, 11.8, 13.5, 15.2, 12.9, 13.1, 14.8, 12.2, 13.9, 14.1,
                            12.6, 13.3, 15.0, 11.9, 13.7, 14.4, 12.8, 13.6, 14.9});
    const auto r = ComputeOneSampleTTest(table, 3, table.Record(3), false, 13);
    ASSERT_EQ(r.errorCode, 0);
    // R: t.test(x, mu = 13) and t.test(x, mu = 13, alternative = "greater")
    ExpectRel(r.t, 2.10988580011548, ArithmeticTol);
    EXPECT_EQ(r.df, 19);
    ExpectRel(r.pTwoTailed, 0.0483573968347964, PTol);
    ExpectRel(r.p, 0.0241786984173982, PTol);
    // Hand: 1.96 * 19 / (19 - 1.20722) = 2.0929..., sd = 1.07040326881729 (R).
    const double tc = 1.96 * 19 / (19 - 1.20722);
    EXPECT_NEAR(static_cast<double>(r.tCritical), tc, tc * 1e-15);
    const double half = tc * 1.07040326881729 / std::sqrt(20.0);
    ExpectRel(r.lower, 0.505 - half, 1e-11);
    ExpectRel(r.upper, 0.505 + half, 1e-11);
}

TEST(OneSampleTTest, TIsPositiveWhenTheMeanLiesBelowTheHypotheticalValue) {
    DataTable table;
    AddRawColumn(table, 0, {4.1, 5.2, 6.3, 5.8, 4.9, 6.0, 5.5});
    const auto r = ComputeOneSampleTTest(table, 0, table.Record(0), true, 5.8);
    ASSERT_EQ(r.errorCode, 0);
    // R: t.test(x, mu = 5.8)$statistic = -1.42270741389162 (same distance as from 5).
    ExpectRel(r.t, 1.42270741389162, 1e-11);
    ExpectRel(r.difference, -0.4, 1e-11);
    const double half = 2.447 * 0.743863786814047 / std::sqrt(7.0);
    ExpectRel(r.lower, -0.4 - half, 1e-11);
}

TEST(OneSampleTTest, TypedInSummaryIsCompletedAndHasNoNormalityTest) {
    DataTable table;
    const auto r = ComputeOneSampleTTest(table, -1, Typed(5.5, 1.2, 12, "Typed"), true, 5);
    ASSERT_EQ(r.errorCode, 0);
    // Hand: t = 0.5 / (1.2 / sqrt(12)); R: 2 * pt(-t, 11)
    ExpectRel(r.t, 1.44337567297406, ArithmeticTol);
    ExpectRel(r.pTwoTailed, 0.176783029871421, PTol);
    ExpectRel(r.summary.sem, 1.2 / std::sqrt(12.0), ArithmeticTol);
    const double half = 2.201 * 1.2 / std::sqrt(12.0);
    ExpectRel(r.upper, 0.5 + half, ArithmeticTol);
    EXPECT_FALSE(r.rawColumn);
    EXPECT_TRUE(IsMissingValue(r.normality.ks));
}

TEST(OneSampleTTest, ErrorCodesForZeroSdAndASingleValue) {
    DataTable table;
    AddRawColumn(table, 0, {3.3, 3.3, 3.3, 3.3, 3.3});
    AddRawColumn(table, 1, {7});
    EXPECT_EQ(ComputeOneSampleTTest(table, 0, table.Record(0), true, 0).errorCode, 40);
    // One value: SEM is 0 too, and the single-value code takes over.
    EXPECT_EQ(ComputeOneSampleTTest(table, 1, table.Record(1), true, 0).errorCode, 49);
    EXPECT_EQ(ComputeOneSampleTTest(table, -1, Typed(5, 0, 8, ""), true, 0).errorCode, 40);
    EXPECT_EQ(ComputeOneSampleTTest(table, -1, Typed(5, 1, 1, ""), true, 0).errorCode, 49);
}

// Unpaired and Welch --------------------------------------------------------------------

struct UnpairedData : ::testing::Test {
    DataTable table;
    void SetUp() override {
        AddRawColumn(table, 0, {12.0, 15.5, 13.2, 14.8, 16.1, 13.9}, "Control");
        AddRawColumn(table, 1, {17.2, 18.9, 16.5, 19.8, 17.7, 20.3, 18.1}, "Treated");
    }
};

TEST_F(UnpairedData, EqualSdTestAgainstR) {
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, true);
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.kind, TTestKind::Unpaired);
    // R: t.test(b, a, var.equal = TRUE)
    ExpectRel(r.t, 5.10399910932232, ArithmeticTol);
    EXPECT_EQ(r.df, 11);
    ExpectRel(r.pTwoTailed, 0.000341904166177332, PTol);
    ExpectRel(r.difference, 4.10714285714286, ArithmeticTol);  // B minus A
    ExpectRel(r.standardError, 0.804691139079799, ArithmeticTol);
    const double half = 2.201 * 0.804691139079799;
    ExpectRel(r.lower, 4.10714285714286 - half, ArithmeticTol);
    ExpectRel(r.upper, 4.10714285714286 + half, ArithmeticTol);
    // SDA > SDB, so F = SDA^2 / SDB^2 with (5, 6) df.  R: var(a) / var(b);
    // pf(F, 5, 6, lower.tail = FALSE)
    ExpectRel(r.fTest.f, 1.21446415188609, ArithmeticTol);
    EXPECT_EQ(r.fTest.dfNumerator, 5);
    EXPECT_EQ(r.fTest.dfDenominator, 6);
    ExpectRel(r.fTest.p, 0.403698551658121, PTol);
    EXPECT_FALSE(r.normalityFailed);
    // Normality of both columns: distances from the R transcription of the test.
    ExpectRel(r.firstNormality.ks, 0.141122944151937, 1e-9);
    ExpectRel(r.secondNormality.ks, 0.145299601198066, 1e-9);
}

TEST_F(UnpairedData, WelchTruncatesTheDegreesOfFreedom) {
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), false, false, true);
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.kind, TTestKind::Welch);
    // R: t.test(b, a): t = 5.06265812081453, df = 10.2808098038607; with the df truncated
    // to 10: 2 * pt(-t, 10) = 0.000490069044527911.
    ExpectRel(r.t, 5.06265812081453, ArithmeticTol);
    ExpectRel(r.welchDf, 10.2808098038607, ArithmeticTol);
    EXPECT_EQ(r.df, 10);
    ExpectRel(r.pTwoTailed, 0.000490069044527911, PTol);
    ExpectRel(r.p, 0.000490069044527911 / 2, PTol);
    ExpectRel(r.standardError, 0.811262139202491, ArithmeticTol);
    const double half = 2.228 * 0.811262139202491;
    ExpectRel(r.lower, 4.10714285714286 - half, ArithmeticTol);
}

TEST(UnpairedTTest, UnequalSdsGiveASignificantFTest) {
    DataTable table;
    AddRawColumn(table, 0, {10, 10.5, 9.8, 10.2, 10.1, 9.9});
    AddRawColumn(table, 1, {5, 15, 8, 20, 12, 3, 18});
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, true);
    // R: t.test(b, a, var.equal = TRUE); var(b) / var(a); pf(F, 6, 5, lower.tail = FALSE)
    ExpectRel(r.t, 0.556600822626629, ArithmeticTol);
    ExpectRel(r.pTwoTailed, 0.588944488336829, PTol);
    ExpectRel(r.fTest.f, 685.714285714287, 1e-11);
    EXPECT_EQ(r.fTest.dfNumerator, 6);
    EXPECT_EQ(r.fTest.dfDenominator, 5);
    ExpectRel(r.fTest.p, 4.03522186467956e-07, 1e-4);
    const auto w = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), false, true, true);
    // R: t.test(b, a): df 6.02041312208926 -> 6; 2 * pt(-t, 6)
    ExpectRel(w.t, 0.604942049656404, ArithmeticTol);
    EXPECT_EQ(w.df, 6);
    ExpectRel(w.pTwoTailed, 0.567376261726423, PTol);
}

TEST(UnpairedTTest, TypedInSummariesByHand) {
    DataTable table;
    const ColumnRecord a = Typed(10, 2, 8, "A");
    const ColumnRecord b = Typed(12.5, 3, 10, "B");
    const auto r = ComputeTTest(table, -1, -1, a, b, true, true, true);
    ASSERT_EQ(r.errorCode, 0);
    // Hand: s2 = (7 * 4 + 9 * 9) / 16 = 6.8125; SE = sqrt(s2 * 18 / 80); t = 2.5 / SE;
    // R: 2 * pt(-t, 16) = 0.0605367922241346
    ExpectRel(r.pooledVariance, 6.8125, ArithmeticTol);
    ExpectRel(r.standardError, 1.23806805144144, ArithmeticTol);
    ExpectRel(r.t, 2.01927510938461, ArithmeticTol);
    EXPECT_EQ(r.df, 16);
    ExpectRel(r.pTwoTailed, 0.0605367922241346, PTol);
    const double tc = 1.96 * 16 / (16 - 1.20722);
    ExpectRel(r.lower, 2.5 - tc * 1.23806805144144, ArithmeticTol);
    ExpectRel(r.upper, 2.5 + tc * 1.23806805144144, ArithmeticTol);
    // F = 9 / 4 with (9, 7) df; R: pf(2.25, 9, 7, lower.tail = FALSE)
    ExpectRel(r.fTest.f, 2.25, ArithmeticTol);
    ExpectRel(r.fTest.p, 0.148828227472213, PTol);
    // Typed-in columns are not tested for normality and never fail it.
    EXPECT_TRUE(IsMissingValue(r.firstNormality.ksp));
    EXPECT_FALSE(r.normalityFailed);

    const auto w = ComputeTTest(table, -1, -1, a, b, false, true, true);
    // Hand: VA = 4 / 8, VB = 9 / 10, df = (VA + VB)^2 / (VA^2 / 7 + VB^2 / 9) = 15.59...
    // -> 15; t = 2.5 / sqrt(VA + VB); R: 2 * pt(-t, 15) = 0.0517832218900642
    ExpectRel(w.welchDf, 15.5909090909091, ArithmeticTol);
    EXPECT_EQ(w.df, 15);
    ExpectRel(w.t, 2.11288563682129, ArithmeticTol);
    ExpectRel(w.pTwoTailed, 0.0517832218900642, PTol);
}

TEST(UnpairedTTest, WelchDfOfAnIntegerFormulaValueIsThatInteger) {
    // Equal SDs and equal N: the formula gives exactly 2 (N - 1) = 18.
    DataTable table;
    const auto w = ComputeTTest(table, -1, -1, Typed(10, 2, 10, "A"), Typed(11, 2, 10, "B"),
                                false, true, true);
    EXPECT_EQ(w.df, 18);
    // Hand: t = 1 / sqrt(0.4 + 0.4); R: 2 * pt(-t, 18) = 0.278252754888259
    ExpectRel(w.pTwoTailed, 0.278252754888259, PTol);
    // A value a rounding step below an integer is that integer; a real fraction truncates.
    EXPECT_EQ(TruncatedWelchDf(std::nextafter(18.0L, 0.0L)), 18);
    EXPECT_EQ(TruncatedWelchDf(17.9L), 17);
    EXPECT_EQ(TruncatedWelchDf(17.0L), 17);
    EXPECT_EQ(TruncatedWelchDf(6.02L), 6);
}

TEST(UnpairedTTest, NormalityFailureOfOneColumn) {
    DataTable table;
    AddRawColumn(table, 0, {1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 30, 40});
    AddRawColumn(table, 1, {4.1, 5.2, 6.3, 5.8, 4.9, 6.0, 5.5});
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, true);
    // R: t.test(b, a, var.equal = TRUE)
    ExpectRel(r.t, 0.28074935298364, ArithmeticTol);
    ExpectRel(r.pTwoTailed, 0.782290798049998, PTol);
    ExpectRel(r.difference, -1.43333333333333, ArithmeticTol);
    // The R transcription of the normality test: KS 0.4748, P 0.00893.
    ExpectRel(r.firstNormality.ksp, 0.00893269457231227, 1e-6);
    EXPECT_TRUE(r.normalityFailed);
}

TEST(UnpairedTTest, ErrorCodes) {
    DataTable table;
    AddRawColumn(table, 0, {1, 2, 3});
    AddRawColumn(table, 1, {4, 4, 4});
    AddRawColumn(table, 2, {9});
    auto code = [&](int a, int b, bool unpaired) {
        return ComputeTTest(table, a, b, table.Record(a), table.Record(b), true, true, unpaired)
            .errorCode;
    };
    EXPECT_EQ(code(0, 1, true), 40);
    EXPECT_EQ(code(1, 0, true), 40);
    EXPECT_EQ(code(0, 2, true), 49);  // 49 overrides 40 of the single value's SEM
    EXPECT_EQ(code(2, 0, false), 49);
    // A typed-in column cannot be paired, whatever it holds.
    EXPECT_EQ(ComputeTTest(table, 0, -1, table.Record(0), Typed(5, 1, 10, ""), true, true, false)
                  .errorCode,
              44);
    EXPECT_EQ(ComputeTTest(table, -1, -1, Typed(5, 0, 10, ""), Typed(5, 1, 10, ""), false, true,
                           true)
                  .errorCode,
              40);
}

// Paired --------------------------------------------------------------------------------

TEST(PairedTTest, AgainstRWithThePearsonPairingCheck) {
    DataTable table;
    AddRawColumn(table, 0, {140, 152, 138, 147, 160, 155, 149, 143}, "Before");
    AddRawColumn(table, 1, {132, 148, 135, 140, 151, 150, 147, 136}, "After");
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, false);
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.kind, TTestKind::Paired);
    // R: t.test(a, b, paired = TRUE); cor.test(a, b)
    ExpectRel(r.t, 6.35488909302243, ArithmeticTol);
    EXPECT_EQ(r.df, 7);
    EXPECT_EQ(r.pairs, 8);
    ExpectRel(r.pTwoTailed, 0.000383431224071592, PTol);
    ExpectRel(r.difference, 5.625, ArithmeticTol);  // A minus B
    const double half = 2.365 * 2.50356888118884 / std::sqrt(8.0);
    ExpectRel(r.lower, 5.625 - half, ArithmeticTol);
    ExpectRel(r.upper, 5.625 + half, ArithmeticTol);
    EXPECT_EQ(r.pairing, PairingCheck::Computed);
    ExpectRel(r.pairingR, 0.944761232322565, 1e-12);
    ExpectRel(r.pairingP, 0.000404113651430491, PTol);
    EXPECT_EQ(r.differences.title, "Difference");
    ExpectRel(r.differences.sd, 2.50356888118884, ArithmeticTol);
    ExpectRel(r.differencesNormality.ks, 0.208559112326897, 1e-9);
    // The differences column holds A - B row by row.
    EXPECT_EQ(table.AnalysisValue(0, ScratchColumn), 8);
    EXPECT_EQ(table.AnalysisValue(7, ScratchColumn), 7);
}

TEST(PairedTTest, RowsWithAMissingCellAreNotPairs) {
    DataTable table;
    AddRawColumn(table, 0, {5.1, 6.3, 7.0, 8.8});
    AddRawColumn(table, 1, {4.0, 5.9, 5.5});
    // Stale values of an earlier analysis in the scratch column are overwritten.
    table.SetAnalysisValue(900, ScratchColumn, 123);
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, false);
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.pairs, 3);
    EXPECT_TRUE(IsMissingValue(table.AnalysisValue(3, ScratchColumn)));
    EXPECT_TRUE(IsMissingValue(table.AnalysisValue(900, ScratchColumn)));
    // R: t.test(c(5.1, 6.3, 7.0), c(4.0, 5.9, 5.5), paired = TRUE)
    ExpectRel(r.t, 3.11085508419127, 1e-11);
    ExpectRel(r.pTwoTailed, 0.0896543064483934, PTol);
    const double half = 4.303 * 0.556776436283002 / std::sqrt(3.0);
    ExpectRel(r.upper, 1 + half, 1e-11);
    EXPECT_EQ(r.pairing, PairingCheck::TooFewPairs);
}

TEST(PairedTTest, EqualDifferencesCannotBePerformed) {
    // A = 1, 2, 3 and B = 4, 5, 6: the unpaired difference is 3 (B minus A), the paired
    // mean difference -3 (A minus B) and every difference is the same.
    DataTable table;
    AddRawColumn(table, 0, {1, 2, 3});
    AddRawColumn(table, 1, {4, 5, 6});
    const auto u = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, true);
    EXPECT_EQ(u.difference, 3);
    const auto p = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, false);
    ASSERT_EQ(p.errorCode, 0);
    EXPECT_FALSE(p.performed);
    EXPECT_EQ(p.difference, -3);
    EXPECT_TRUE(IsMissingValue(p.t));
    EXPECT_TRUE(IsMissingValue(p.p));
    EXPECT_EQ(p.pairing, PairingCheck::NotRun);
}

TEST(PairedTTest, EqualDifferencesOfDecimalFractionsCannotBePerformedEither) {
    // 1.3 - 0.2, 2.4 - 1.3, ... are all 1.1 as typed but not all equal in binary.
    DataTable table;
    AddRawColumn(table, 0, {1.3, 2.4, 3.5, 4.6, 5.7});
    AddRawColumn(table, 1, {0.2, 1.3, 2.4, 3.5, 4.6});
    const auto p = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, false);
    ASSERT_EQ(p.errorCode, 0);
    EXPECT_FALSE(p.performed);
    ExpectRel(p.difference, 1.1, 1e-15);
}

TEST(PairedTTest, SingleValueAndSinglePair) {
    DataTable table;
    AddRawColumn(table, 0, {1, 2, 3});
    AddRawColumn(table, 2, {4});
    EXPECT_EQ(ComputeTTest(table, 0, 2, table.Record(0), table.Record(2), true, true, false)
                  .errorCode,
              49);
    // D = 1, 2, - and E = -, 8, 9: two values each, but only row 2 holds a pair.
    table.SetValue(0, 3, 1);
    table.SetValue(1, 3, 2);
    table.SetValue(1, 4, 8);
    table.SetValue(2, 4, 9);
    auto code = [&] {
        return ComputeTTest(table, 3, 4, table.Record(3), table.Record(4), true, true, false)
            .errorCode;
    };
    EXPECT_EQ(code(), 50);
    table.SetValue(2, 3, 4);  // now rows 2 and 3 pair
    EXPECT_EQ(code(), 0);
}

TEST(PairedTTest, PairingCheckOfAColumnConstantOverThePairs) {
    // Column A varies, but over the rows that pair with B it is constant: the correlation
    // has no variability to measure, and its error must not end the t test.
    DataTable table;
    AddRawColumn(table, 0, {2, 2, 2, 2, 9});
    AddRawColumn(table, 1, {1, 3, 2, 5});
    const auto r = ComputeTTest(table, 0, 1, table.Record(0), table.Record(1), true, true, false);
    ASSERT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.pairs, 4);
    EXPECT_EQ(r.pairing, PairingCheck::NoVariability);
    // R: t.test(c(2, 2, 2, 2), c(1, 3, 2, 5), paired = TRUE)$statistic = -0.87831006565368
    ExpectRel(r.t, 0.87831006565368, 1e-12);
}

}  // namespace
}  // namespace zelkon
