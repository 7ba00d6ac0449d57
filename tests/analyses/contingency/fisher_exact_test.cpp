// Fisher's exact test against R's fisher.test (one-sided in the direction of the observed
// table, and two-sided) and against the two-tailed rule computed independently with exact
// rational arithmetic in Python, including tables with exactly tied probabilities.
#include "analyses/contingency/fisher_exact.h"

#include <gtest/gtest.h>

#include <array>

namespace zelkon {
namespace {

struct FisherCase {
    std::array<std::int32_t, 4> t;
    double oneTailed;
    double twoTailed;
};

// Relative tolerance: the sums are exact up to extended rounding.
constexpr double Tolerance = 1e-12;

void ExpectP(const FisherCase& c) {
    const FisherExactResult r = FisherExactTest(c.t[0], c.t[1], c.t[2], c.t[3]);
    SCOPED_TRACE(testing::Message() << c.t[0] << " " << c.t[1] << " " << c.t[2] << " " << c.t[3]);
    EXPECT_NEAR(static_cast<double>(r.oneTailedP), c.oneTailed, c.oneTailed * Tolerance);
    EXPECT_NEAR(static_cast<double>(r.twoTailedP), c.twoTailed, c.twoTailed * Tolerance);
}

TEST(FisherExactTest, AgreesWithR) {
    // Rscript: m <- matrix(t, 2, byrow=TRUE);
    //   fisher.test(m, alternative = if (a*d <= b*c) "less" else "greater")$p.value;
    //   fisher.test(m)$p.value
    // Where the margins are unequal the two-sided P of R and of this test are the same sum of
    // every table no more probable than the observed one (R allows 1e-7 relative for ties).
    const FisherCase cases[] = {
        {{3, 12, 9, 4}, 0.0117198366760892, 0.0200176485544637},
        {{10, 20, 30, 40}, 0.253331071361756, 0.504475769851628},
        {{1, 9, 11, 3}, 0.00137972809261004, 0.00275945618522008},
        {{2, 7, 8, 2}, 0.0185217259520665, 0.0230141375652212},
        {{12, 5, 3, 20}, 0.000287800240964575, 0.000299989421674334},
        {{0, 10, 5, 5}, 0.0162538699690403, 0.0325077399380805},
        // N = 2000, the largest table the test takes.
        {{520, 480, 460, 540}, 0.0041484153848841, 0.0082968307697682},
    };
    for (const FisherCase& c : cases) ExpectP(c);
}

TEST(FisherExactTest, EqualMarginsDoubleTheOneTailedP) {
    // Rscript as above.  Equal row totals (7,3 / 2,8) or equal column totals (6,1 / 2,5 has
    // columns 8 and 6, rows 7 and 7): the two-tailed P is exactly twice the one-tailed P.
    const FisherCase cases[] = {
        {{7, 3, 2, 8}, 0.0348892593474637, 0.0697785186949273},
        {{6, 1, 2, 5}, 0.0512820512820513, 0.102564102564103},
    };
    for (const FisherCase& c : cases) {
        ExpectP(c);
        const FisherExactResult r = FisherExactTest(c.t[0], c.t[1], c.t[2], c.t[3]);
        EXPECT_TRUE(r.doubled);
        EXPECT_EQ(r.twoTailedP, 2 * r.oneTailedP);
        EXPECT_FALSE(r.capped);
    }
}

TEST(FisherExactTest, DoublingAboveOneIsReportedAsOne) {
    // The centre table of equal margins: one-tailed 0.67185910065167 (R, "less"), doubled
    // 1.3437 > 1; R's two-sided P is 1.
    const FisherExactResult centre = FisherExactTest(5, 5, 5, 5);
    EXPECT_NEAR(static_cast<double>(centre.oneTailedP), 0.67185910065167,
                0.67185910065167 * Tolerance);
    EXPECT_EQ(centre.twoTailedP, 1.0L);
    EXPECT_TRUE(centre.doubled);
    EXPECT_TRUE(centre.capped);
    // 1 0 / 0 1: one-tailed 0.5 (R, "greater"), doubled exactly 1, not capped.
    const FisherExactResult diagonal = FisherExactTest(1, 0, 0, 1);
    EXPECT_EQ(diagonal.oneTailedP, 0.5L);
    EXPECT_EQ(diagonal.twoTailedP, 1.0L);
    EXPECT_FALSE(diagonal.capped);
}

TEST(FisherExactTest, TablesAsProbableAsTheObservedOneAreCounted) {
    // Margins without symmetry where a table in the other tail is exactly as probable as the
    // observed one (python3 with fractions.Fraction and math.comb: every table with the
    // margins, one tail from the observed table toward the nearer extreme, the other tail's
    // tables added when P(table) <= P(observed)).  Rounding of the step-by-step products
    // must not drop the tied table: without it 1 6 / 8 6 would give 0.0873.
    // R's fisher.test gives the same two-sided values (0.158823529411765, 0.0067826301902812,
    // 0.0298214947825626).
    const FisherCase cases[] = {
        {{1, 6, 8, 6}, 0.078328173374613, 0.158823529411765},
        {{5, 2, 4, 10}, 0.0804953560371517, 0.158823529411765},
        {{1, 13, 10, 7}, 0.00336175998022494, 0.0067826301902812},
        {{9, 5, 2, 15}, 0.00342087021005626, 0.0067826301902812},
        {{9, 14, 10, 2}, 0.0147942157953281, 0.0298214947825626},
        {{16, 7, 3, 9}, 0.0150272789872345, 0.0298214947825626},
    };
    for (const FisherCase& c : cases) ExpectP(c);
}

TEST(FisherExactTest, TurningTheTableChangesNothing) {
    // The eight arrangements of one table (rows swapped, columns swapped, transposed) are the
    // same test.
    const std::array<std::array<std::int32_t, 4>, 8> forms = {{
        {3, 12, 9, 4},
        {12, 3, 4, 9},
        {9, 4, 3, 12},
        {4, 9, 12, 3},
        {3, 9, 12, 4},
        {9, 3, 4, 12},
        {12, 4, 3, 9},
        {4, 12, 9, 3},
    }};
    for (const auto& t : forms) ExpectP({t, 0.0117198366760892, 0.0200176485544637});
}

TEST(HypergeometricProbability, ExactFractions) {
    // python3: Fraction of the factorials (A+B)!(C+D)!(A+C)!(B+D)!/(N!A!B!C!D!), 30 digits.
    EXPECT_NEAR(static_cast<double>(HypergeometricProbability(3, 12, 9, 4) /
                                    0.0106938274928583180030211932218L),
                1.0, 1e-16);
    EXPECT_NEAR(static_cast<double>(HypergeometricProbability(520, 480, 460, 540) /
                                    0.000974807022335621068394497916034L),
                1.0, 1e-16);
    // The most extreme table of N = 2000: 1 / C(2000, 1000).
    EXPECT_NEAR(static_cast<double>(HypergeometricProbability(1000, 0, 0, 1000) /
                                    4.88245101984889127301080869613E-601L),
                1.0, 1e-15);
    EXPECT_NEAR(static_cast<double>(HypergeometricProbability(1, 999, 999, 1) /
                                    4.88245101984889127301080869613E-595L),
                1.0, 1e-15);
}

}  // namespace
}  // namespace zelkon
