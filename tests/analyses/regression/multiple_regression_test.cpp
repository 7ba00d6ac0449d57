// Multiple regression and correlation matrix: every quantity against R's lm and cor, the
// validation checks in their order, the rows left out, the perfect fit, identical X columns
// and variables without spread.
#include "analyses/regression/multiple_regression.h"

#include <gtest/gtest.h>

#include "core/fp_guard.h"
#include "regression_test_data.h"

namespace zelkon {
namespace {

using test::RelErr;

constexpr Extended Tol = 1e-12L;
// P values carry the distribution module's accuracy.
constexpr Extended PTol = 1e-9L;

// R (the twelve complete rows):
//   x1 <- 1:12; x2 <- c(3.1,2.9,4.2,5.0,4.1,6.3,5.8,7.7,6.9,8.4,9.1,8.8)
//   x3 <- c(10,12,9,15,14,13,18,16,20,19,22,21)
//   y <- c(4.52,5.98,6.64,7.9,10.52,10.26,12.36,12.84,16.68,15.58,17.62,19.56)
// Column A holds Y, B to D the X variables; three more rows are incomplete: row 13 lacks
// two X values, row 14 lacks Y, row 15 has an excluded X.  Column E holds unused data down
// to row 16, which holds nothing of the variables used.
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
    for (int r = 0; r < 16; ++r) t.SetValue(r, 4, r);
    t.Record(0).title = "Weight";
}

MultipleRegressionChoices Regression(std::initializer_list<int> xs, int y = 0) {
    MultipleRegressionChoices c;
    c.kind = MultipleRegressionKind::MultipleRegression;
    c.dependentColumn = y;
    for (int x : xs) c.include[static_cast<std::size_t>(x)] = 1;
    return c;
}

MultipleRegressionChoices Correlations(std::initializer_list<int> xs) {
    MultipleRegressionChoices c = Regression(xs);
    c.kind = MultipleRegressionKind::CorrelationMatrix;
    return c;
}

TEST(MultipleRegression, ThreeVariablesAgreeWithR) {
    DataTable t;
    FillData(t);
    // The dependent column's own mark is ignored.
    const MultipleRegressionAnalysis a = ComputeMultipleRegression(t, Regression({0, 1, 2, 3}));
    ASSERT_EQ(a.refusal, MultipleRegressionRefusal::None);
    ASSERT_EQ(a.errorCode, 0);
    EXPECT_EQ(a.xColumns, (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_EQ(a.yName, "A:Weight");
    EXPECT_EQ(a.xNames[0], "B:");
    EXPECT_EQ(a.n, 12);
    EXPECT_EQ(a.excludedRows, 3);  // the row lacking two X values counts once
    EXPECT_EQ(a.k, 3);
    EXPECT_EQ(a.df, 8);
    // coef(summary(lm(y ~ x1 + x2 + x3)))
    const Extended b[] = {4.330262357238422233L, 1.814603190184594483L, -0.953410856042346211L,
                          0.084070940585196846L};
    const Extended se[] = {1.21219438352505926L, 0.22279369003937649L, 0.26828585184336246L,
                           0.09701554588906286L};
    const Extended t_[] = {3.57225080077175949L, 8.14476922512429269L, 3.55371276379863321L,
                           0.86657184490135064L};
    const Extended p[] = {7.2698070619203747e-03L, 3.8370743310349314e-05L, 7.4688780842279692e-03L,
                          4.1141213276706179e-01L};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_LT(RelErr(a.coefficients[i], b[i]), Tol);
        EXPECT_LT(RelErr(a.standardErrors[i], se[i]), Tol);
        // Intervals with t_crit95(8) = 2.306 of the program's table.
        EXPECT_LT(RelErr(a.lower[i], b[i] - 2.306L * se[i]), Tol);
        EXPECT_LT(RelErr(a.upper[i], b[i] + 2.306L * se[i]), Tol);
        EXPECT_LT(RelErr(a.tRatios[i], t_[i]), Tol);
        EXPECT_LT(RelErr(a.tPValues[i], p[i]), PTol);
    }
    EXPECT_LT(RelErr(a.rSquared, 0.99288024715224554L), Tol);
    EXPECT_LT(RelErr(a.adjustedRSquared, 0.99021033983433759L), Tol);
    EXPECT_LT(RelErr(a.multipleR, std::sqrt(0.99288024715224554L)), Tol);
    EXPECT_LT(RelErr(a.sdResidual, 0.48673021801560368L), Tol);
    EXPECT_LT(RelErr(a.ssResidual, 1.8952504410361368L), Tol);
    EXPECT_LT(RelErr(a.f, 371.87816988727553280L), Tol);
    EXPECT_LT(RelErr(a.p, 6.3055041856151086e-09L), PTol);
    EXPECT_FALSE(a.perfect);
    // 1 / (1 - summary(lm(x1 ~ x2 + x3))$r.squared) and so on.
    const Extended vif[] = {29.961613077685715L, 16.072932382268082L, 8.1146185467382974L};
    for (std::size_t j = 0; j < 3; ++j) {
        EXPECT_LT(RelErr(a.vif[j], vif[j]), 1e-11L);
        EXPECT_LT(RelErr(a.r2WithOtherX[j], 1.0L - 1.0L / vif[j]), 1e-11L);
    }
    EXPECT_LT(RelErr(a.largestVif, vif[0]), 1e-11L);
    // cor(cbind(x1, x2, x3, y))
    EXPECT_LT(RelErr(a.correlations[0][1], 0.96404420923184353L), Tol);
    EXPECT_LT(RelErr(a.correlations[1][0], 0.96404420923184353L), Tol);
    EXPECT_LT(RelErr(a.correlations[0][2], 0.92742802491389664L), Tol);
    EXPECT_LT(RelErr(a.correlations[1][2], 0.85979897744105005L), Tol);
    EXPECT_LT(RelErr(a.correlations[2][2], 1.0L), Tol);
    EXPECT_LT(RelErr(a.correlationsWithY[0], 0.98854357449082542L), Tol);
    EXPECT_LT(RelErr(a.correlationsWithY[1], 0.92046012542968370L), Tol);
    EXPECT_LT(RelErr(a.correlationsWithY[2], 0.94167494338360935L), Tol);
}

TEST(MultipleRegression, OneVariableAgreesWithR) {
    DataTable t;
    FillData(t);
    const MultipleRegressionAnalysis a = ComputeMultipleRegression(t, Regression({2}));
    ASSERT_EQ(a.refusal, MultipleRegressionRefusal::None);
    // The rows need Y and column C only: rows 1-12 and row 14 lacks Y, row 13 lacks C,
    // row 15's C is excluded.
    EXPECT_EQ(a.n, 12);
    EXPECT_EQ(a.k, 1);
    EXPECT_EQ(a.df, 10);
    // summary(lm(y ~ x2))
    EXPECT_LT(RelErr(a.coefficients[0], -0.73512593922782332L), 1e-11L);
    EXPECT_LT(RelErr(a.coefficients[1], 2.06475119323283351L), Tol);
    EXPECT_LT(RelErr(a.standardErrors[0], 1.76890272297734730L), Tol);
    EXPECT_LT(RelErr(a.standardErrors[1], 0.27724124747281126L), Tol);
    EXPECT_LT(RelErr(a.rSquared, 0.84724684250602877L), Tol);
    EXPECT_LT(RelErr(a.adjustedRSquared, 0.83197152675663166L), Tol);
    EXPECT_LT(RelErr(a.sdResidual, 2.01648939465549715L), Tol);
    EXPECT_LT(RelErr(a.f, 55.46509521673665688L), Tol);
    EXPECT_LT(RelErr(a.p, 2.1913634481341698e-05L), PTol);
    EXPECT_LT(RelErr(a.tPValues[1], 2.1913634481341735e-05L), PTol);
    EXPECT_LT(RelErr(a.vif[0], 1.0L), Tol);
}

TEST(MultipleRegression, CorrelationMatrixAgreesWithR) {
    DataTable t;
    FillData(t);
    const MultipleRegressionAnalysis a = ComputeMultipleRegression(t, Correlations({0, 1, 2}));
    ASSERT_EQ(a.refusal, MultipleRegressionRefusal::None);
    ASSERT_EQ(a.errorCode, 0);
    EXPECT_FALSE(a.regressionMode);
    EXPECT_EQ(a.xColumns, (std::vector<std::int32_t>{0, 1, 2}));
    // Rows 1-12 and row 15 hold A and B, but row 15's C is excluded: 12 rows.
    EXPECT_EQ(a.n, 12);
    EXPECT_EQ(a.excludedRows, 3);
    EXPECT_TRUE(a.coefficients.empty());
    // cor(cbind(y, x1, x2))
    EXPECT_LT(RelErr(a.correlations[0][1], 0.98854357449082542L), Tol);
    EXPECT_LT(RelErr(a.correlations[0][2], 0.92046012542968370L), Tol);
    EXPECT_LT(RelErr(a.correlations[1][2], 0.96404420923184353L), Tol);
    EXPECT_TRUE(a.correlationsWithY.empty());
}

TEST(MultipleRegression, ValidationInItsOrder) {
    DataTable empty;
    EXPECT_EQ(ComputeMultipleRegression(empty, Regression({1})).refusal,
              MultipleRegressionRefusal::NoData);
    // Only the Y column holds data.
    DataTable onlyY;
    for (int r = 0; r < 5; ++r) onlyY.SetValue(r, 2, r);
    EXPECT_EQ(ComputeMultipleRegression(onlyY, Regression({2}, 2)).refusal,
              MultipleRegressionRefusal::NoDependent);
    DataTable t;
    FillData(t);
    EXPECT_EQ(ComputeMultipleRegression(t, Regression({}, 0)).refusal,
              MultipleRegressionRefusal::NoIndependent);
    // A marked column without data and the Y column's own mark do not count.
    EXPECT_EQ(ComputeMultipleRegression(t, Regression({0, 9}, 0)).refusal,
              MultipleRegressionRefusal::NoIndependent);
    EXPECT_EQ(ComputeMultipleRegression(t, Correlations({1})).refusal,
              MultipleRegressionRefusal::TooFewVariables);
    EXPECT_EQ(ComputeMultipleRegression(t, Correlations({1, 9})).refusal,
              MultipleRegressionRefusal::TooFewVariables);
    // A dependent column outside the table is no choice.
    EXPECT_EQ(ComputeMultipleRegression(t, Regression({1}, 26)).refusal,
              MultipleRegressionRefusal::NoDependent);
    EXPECT_EQ(RefusalMessage(MultipleRegressionRefusal::TooFewRows),
              "Too few rows of data. Need at least two more rows than # of variables.");
}

TEST(MultipleRegression, TooFewRowsAndTheSmallestFit) {
    // k = 2 needs n >= 4: three complete rows are refused, four fit with df = 1.
    DataTable t;
    const double rows[][3] = {{1, 1, 2}, {3, 2, 1}, {4, 3, 5}, {7, 4, 3}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) t.SetValue(r, c, rows[r][c]);
    }
    EXPECT_EQ(ComputeMultipleRegression(t, Regression({1, 2})).refusal,
              MultipleRegressionRefusal::TooFewRows);
    for (int c = 0; c < 3; ++c) t.SetValue(3, c, rows[3][c]);
    const MultipleRegressionAnalysis a = ComputeMultipleRegression(t, Regression({1, 2}));
    ASSERT_EQ(a.refusal, MultipleRegressionRefusal::None);
    EXPECT_EQ(a.df, 1);
    // coef(lm(c(1,3,4,7) ~ c(1,2,3,4) + c(2,1,5,3))): -0.6984127, 2.1111111, -0.3015873,
    // which are -44/63, 19/9 and -19/63.
    EXPECT_LT(RelErr(a.coefficients[0], -44.0L / 63.0L), 1e-15L);
    EXPECT_LT(RelErr(a.coefficients[1], 19.0L / 9.0L), 1e-15L);
    EXPECT_LT(RelErr(a.coefficients[2], -19.0L / 63.0L), 1e-15L);
    // No complete row at all.
    DataTable none;
    none.SetValue(0, 0, 1);
    none.SetValue(1, 1, 1);
    EXPECT_EQ(ComputeMultipleRegression(none, Regression({1})).refusal,
              MultipleRegressionRefusal::TooFewRows);
}

TEST(MultipleRegression, IdenticalXColumnsCannotBeFitted) {
    DataTable t;
    FillData(t);
    for (int r = 0; r < 15; ++r) {
        if (!t.IsMissing(r, 1)) t.SetValue(r, 5, t.Value(r, 1));
    }
    EXPECT_EQ(ComputeMultipleRegression(t, Regression({1, 5})).refusal,
              MultipleRegressionRefusal::Singular);
    EXPECT_EQ(RefusalMessage(MultipleRegressionRefusal::Singular),
              "It is not possible to fit your data. Perhaps two X columns are identical?");
}

TEST(MultipleRegression, PerfectFitRaisesNoFault) {
    // y = 1 + 2 x1 - x2 exactly.
    DataTable t;
    const double x1[] = {1, 2, 3, 4, 5, 6};
    const double x2[] = {2, 1, 4, 3, 6, 5};
    for (int r = 0; r < 6; ++r) {
        t.SetValue(r, 1, x1[r]);
        t.SetValue(r, 2, x2[r]);
        t.SetValue(r, 0, 1 + 2 * x1[r] - x2[r]);
    }
    FpFaultGuard guard;
    const MultipleRegressionAnalysis a = ComputeMultipleRegression(t, Regression({1, 2}));
    EXPECT_EQ(guard.FaultCode(), 0);
    ASSERT_EQ(a.refusal, MultipleRegressionRefusal::None);
    ASSERT_EQ(a.errorCode, 0);
    EXPECT_TRUE(a.perfect);
    EXPECT_EQ(a.ssResidual, 0.0L);
    EXPECT_TRUE(IsMissingValue(a.f));
    EXPECT_TRUE(IsMissingValue(a.tRatios[1]));
    EXPECT_LT(a.tPValues[1], 0.0001L);
    // VIF = 1 / (1 - cor(x1, x2)^2) with cor = 0.8285714 (R: cor(1:6, c(2,1,4,3,6,5))).
    const Extended r = 0.82857142857142857L;
    EXPECT_LT(RelErr(a.vif[0], 1.0L / (1.0L - r * r)), 1e-12L);
}

TEST(MultipleRegression, VariablesWithoutSpreadAreRefused) {
    DataTable t;
    for (int r = 0; r < 5; ++r) {
        t.SetValue(r, 0, 3);
        t.SetValue(r, 1, r);
        t.SetValue(r, 2, r * r);
    }
    FpFaultGuard guard;
    EXPECT_EQ(ComputeMultipleRegression(t, Regression({1, 2})).errorCode, ErrorDivideByZero);
    const MultipleRegressionAnalysis c = ComputeMultipleRegression(t, Correlations({0, 1}));
    EXPECT_EQ(c.errorCode, 0);
    EXPECT_EQ(c.refusal, MultipleRegressionRefusal::ConstantColumn);
    EXPECT_EQ(guard.FaultCode(), 0);
}

// A correlation matrix with a column of one value names that column.  Typed 0.1 eight times
// has a computed sum of squares a hair above 0, so the values themselves are compared.
TEST(MultipleRegression, CorrelationMatrixNamesAConstantColumn) {
    struct Case {
        int constantColumn;
        const char* value;
        const char* message;
    };
    const Case cases[] = {
        {0, "3", "It is not possible to analyze your data because the SD of column A is zero."},
        {2, "0.1", "It is not possible to analyze your data because the SD of column C is zero."},
        {3, "-7.35", "It is not possible to analyze your data because the SD of column D is zero."},
    };
    for (const Case& c : cases) {
        DataTable t;
        for (int r = 0; r < 8; ++r) {
            for (int col = 0; col < 4; ++col) t.SetValue(r, col, r * (col + 1) + col * r * r);
            t.SetValue(r, c.constantColumn, std::strtold(c.value, nullptr));
        }
        FpFaultGuard guard;
        const MultipleRegressionAnalysis a = ComputeMultipleRegression(t, Correlations({0, 1, 2, 3}));
        EXPECT_EQ(guard.FaultCode(), 0);
        EXPECT_EQ(a.errorCode, 0);
        ASSERT_EQ(a.refusal, MultipleRegressionRefusal::ConstantColumn);
        EXPECT_EQ(a.constantColumn, c.constantColumn);
        EXPECT_EQ(ConstantColumnMessage(a.constantColumn), c.message);
    }
}

}  // namespace
}  // namespace zelkon
