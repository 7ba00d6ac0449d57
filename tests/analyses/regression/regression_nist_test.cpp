// The NIST StRD linear least-squares sets through the multiple regression: Filip refused as
// unsolvable, Longley's
// certified coefficients, their standard deviations, the residual SD and R squared to at
// least ten significant digits; and a record of the digits the extended-precision normal
// equations reach on the polynomial sets Wampler1 to Wampler5 (no target there).
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "analyses/regression/multiple_regression.h"
#include "analyses/regression/multiple_regression_report.h"
#include "core/fp_guard.h"
#include "regression_test_data.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::Lre;

struct Certified {
    std::vector<Extended> b;
    std::vector<Extended> sd;
    Extended residualSD;
    Extended rSquared;
};

/// Column A holds Y, columns B, C, ... the predictors (or the powers of x for a polynomial).
MultipleRegressionAnalysis Fit(const std::vector<std::vector<Extended>>& rows, int degree) {
    DataTable t;
    MultipleRegressionChoices choices;
    choices.kind = MultipleRegressionKind::MultipleRegression;
    choices.dependentColumn = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int r = static_cast<int>(i);
        t.SetValue(r, 0, rows[i][0]);
        if (degree == 0) {
            for (std::size_t c = 1; c < rows[i].size(); ++c)
                t.SetValue(r, static_cast<int>(c), rows[i][c]);
        } else {
            Extended power = 1.0L;
            for (int d = 1; d <= degree; ++d) {
                power *= rows[i][1];
                t.SetValue(r, d, power);
            }
        }
    }
    const int k = degree == 0 ? static_cast<int>(rows[0].size()) - 1 : degree;
    for (int c = 1; c <= k; ++c) choices.include[static_cast<std::size_t>(c)] = 1;
    return ComputeMultipleRegression(t, choices);
}

/// The smallest LRE over the coefficients and their standard deviations.
double WorstDigits(const MultipleRegressionAnalysis& a, const Certified& c, bool withSd) {
    double worst = 20;
    for (std::size_t i = 0; i < c.b.size(); ++i) {
        worst = std::min(worst, Lre(a.coefficients[i], c.b[i]));
        if (withSd) worst = std::min(worst, Lre(a.standardErrors[i], c.sd[i]));
    }
    return worst;
}

TEST(MultipleRegressionNist, LongleyCertifiedValues) {
    // Longley.dat, certified values (15 significant digits).
    const Certified longley{
        {-3482258.63459582L, 15.0618722713733L, -0.358191792925910E-01L, -2.02022980381683L,
         -1.03322686717359L, -0.511041056535807E-01L, 1829.15146461355L},
        {890420.383607373L, 84.9149257747669L, 0.334910077722432E-01L, 0.488399681651699L,
         0.214274163161675L, 0.226073200069370L, 455.478499142212L},
        304.854073561965L,
        0.995479004577296L};
    const auto rows = test::ReadNistData("Longley");
    ASSERT_EQ(rows.size(), 16u);
    const MultipleRegressionAnalysis a = Fit(rows, 0);
    ASSERT_EQ(a.refusal, MultipleRegressionRefusal::None);
    ASSERT_EQ(a.errorCode, 0);
    ASSERT_EQ(a.k, 6);
    EXPECT_EQ(a.df, 9);
    for (std::size_t i = 0; i < longley.b.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(Lre(a.coefficients[i], longley.b[i]), 10);
        EXPECT_GE(Lre(a.standardErrors[i], longley.sd[i]), 10);
    }
    EXPECT_GE(Lre(a.sdResidual, longley.residualSD), 10);
    EXPECT_GE(Lre(a.rSquared, longley.rSquared), 10);
    // Certified ANOVA: residual SS 836424.055505915, F 330.285339234588.
    EXPECT_GE(Lre(a.ssResidual, 836424.055505915L), 10);
    EXPECT_GE(Lre(a.f, 330.285339234588L), 10);
    std::printf("Longley: coefficients and SDs agree to %.1f digits\n",
                WorstDigits(a, longley, true));
}

// Filip's tenth-degree polynomial: elimination in extended precision loses every digit and
// leaves a coefficient variance at or below zero.  The fit is refused with the message of
// an unsolvable system, never the "Invalid floating point operation" of a square root of a
// negative number.
TEST(MultipleRegressionNist, FilipIsRefusedAsUnsolvable) {
    FpFaultGuard guard;
    const MultipleRegressionAnalysis a = Fit(test::ReadNistData("Filip"), 10);
    EXPECT_EQ(guard.FaultCode(), 0);  // no invalid operation (code 5) for the run to report
    EXPECT_EQ(a.n, 82);
    EXPECT_EQ(a.errorCode, 0);
    EXPECT_EQ(a.refusal, MultipleRegressionRefusal::Singular);
    ResultsReport report;
    WriteMultipleRegressionReport(report, a);
    EXPECT_EQ(test::PlainLines(report),
              (std::vector<std::string>{
                  "", "It is not possible to fit your data. Perhaps two X columns are identical?",
                  ""}));
}

TEST(MultipleRegressionNist, WamplerDigitsReached) {
    // Certified: every coefficient 1 (Wampler1, 3, 4, 5) or 1, 0.1, ..., 1e-5 (Wampler2);
    // standard deviations 0 for Wampler1 and 2, and for 3 to 5 as listed in the files.
    const std::vector<Extended> ones(6, 1.0L);
    const std::array<Certified, 5> sets = {{
        {ones, std::vector<Extended>(6, 0.0L), 0.0L, 1.0L},
        {{1.0L, 0.1L, 0.01L, 0.001L, 0.0001L, 0.00001L},
         std::vector<Extended>(6, 0.0L),
         0.0L,
         1.0L},
        {ones,
         {2152.32624678170L, 2363.55173469681L, 779.343524331583L, 101.475507550350L,
          5.64566512170752L, 0.112324854679312L},
         2360.14502379268L,
         0.999995559025820L},
        {ones,
         {215232.624678170L, 236355.173469681L, 77934.3524331583L, 10147.5507550350L,
          564.566512170752L, 11.2324854679312L},
         236014.502379268L,
         0.957478440825662L},
        {ones,
         {21523262.4678170L, 23635517.3469681L, 7793435.24331583L, 1014755.07550350L,
          56456.6512170752L, 1123.24854679312L},
         23601450.2379268L,
         0.224668921574940E-02L},
    }};
    for (int s = 0; s < 5; ++s) {
        const std::string name = "Wampler" + std::to_string(s + 1);
        SCOPED_TRACE(name);
        const MultipleRegressionAnalysis a = Fit(test::ReadNistData(name), 5);
        ASSERT_EQ(a.refusal, MultipleRegressionRefusal::None);
        ASSERT_EQ(a.errorCode, 0);
        const Certified& c = sets[static_cast<std::size_t>(s)];
        const bool withSd = s >= 2;
        const double digits = WorstDigits(a, c, withSd);
        std::printf("%s: coefficients%s agree to %.1f digits\n", name.c_str(),
                    withSd ? " and SDs" : "", digits);
        // No target: the record above is the finding; a collapse would show here.
        EXPECT_GE(digits, 6.0);
    }
}

}  // namespace
}  // namespace zelkon
