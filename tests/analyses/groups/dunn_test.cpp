// Dunn's comparisons and the comparison with a control: the critical values of the control
// comparison with their interpolation, the pairs counted and visited with selected pairs,
// both forms' differences and standard errors by hand, the categories at their limits, and
// the texts written when no pair is selected and when a Friedman design has ties.
#include "analyses/groups/dunn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "core/error_messages.h"
#include "stats/pvalue.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

RankGroup Group(const char* title, std::int32_t n, Extended rankSum, Extended mean = 0) {
    RankGroup g;
    g.title = title;
    g.n = n;
    g.rankSum = rankSum;
    g.meanRank = rankSum / n;
    g.mean = mean;
    return g;
}

TEST(ControlCriticalValue, TableAndInterpolation) {
    // Read directly up to 12 comparisons.
    EXPECT_EQ(ControlCriticalValue(true, 1), 1.96L);
    EXPECT_EQ(ControlCriticalValue(false, 1), 2.58L);
    EXPECT_EQ(ControlCriticalValue(true, 4), 2.44L);
    EXPECT_EQ(ControlCriticalValue(false, 12), 3.29L);
    // 13 to 15: a third of the way from 12 to 15 for each step.
    EXPECT_NEAR(static_cast<double>(ControlCriticalValue(true, 13)), 2.79, 1e-15);
    EXPECT_NEAR(static_cast<double>(ControlCriticalValue(false, 14)), 3.33, 1e-15);
    EXPECT_NEAR(static_cast<double>(ControlCriticalValue(true, 15)), 2.83, 1e-15);
    // Above 15: a fifth of the way from 15 to 20 for each step, and on beyond 20.
    EXPECT_NEAR(static_cast<double>(ControlCriticalValue(true, 16)), 2.846, 1e-15);
    EXPECT_NEAR(static_cast<double>(ControlCriticalValue(false, 20)), 3.42, 1e-15);
    EXPECT_NEAR(static_cast<double>(ControlCriticalValue(true, 25)), 2.99, 1e-15);
    EXPECT_NEAR(static_cast<double>(ControlCriticalValue(false, 25)), 3.49, 1e-15);
}

TEST(Dunn, SelectedPairsAreCountedAndVisitedInPairOrder) {
    const std::vector<RankGroup> groups = {Group("A", 5, 20), Group("B", 5, 40), Group("C", 5, 60),
                                           Group("D", 5, 90)};
    std::array<std::uint8_t, PairFlagCount> flags{};
    // Pairs 0 (A,B), 2 (A,D) and 5 (C,D) of the six.
    flags[0] = flags[2] = flags[5] = 1;
    DunnInput input;
    input.pairFlags = &flags;
    input.selectedPairs = true;
    input.values = 20;
    DunnResult result;
    ASSERT_EQ(ComputeDunn(groups, input, result), 0);
    EXPECT_EQ(result.comparisons, 3);
    ASSERT_EQ(result.rows.size(), 3u);
    EXPECT_EQ(result.rows[0].first, 0);
    EXPECT_EQ(result.rows[0].second, 1);
    EXPECT_EQ(result.rows[1].second, 3);
    EXPECT_EQ(result.rows[2].first, 2);
    // z(0.05 / 6): R's qnorm(1 - 0.05/6) = 2.39398 (the program's inversion within 1e-3).
    EXPECT_NEAR(static_cast<double>(result.z05), 2.39398, 1e-3 * 2.4);
    // Kruskal-Wallis form: mean ranks 4 and 18 for A and D; SE = sqrt((8000 - 20) / 228 x
    // (2 / 5)) = sqrt(14) (N = 20, no ties).
    EXPECT_NEAR(static_cast<double>(result.rows[1].difference), -14, 1e-15);
    EXPECT_NEAR(static_cast<double>(result.rows[1].se), std::sqrt(14.0), 1e-15);
    // 14 / sqrt(14) = 3.742 > z(0.001 / 6) = 3.5879 (R: qnorm): P < 0.001.
    EXPECT_EQ(result.rows[1].p, 0.001L);
    // The same flags without the selected-pairs flag: every pair.
    input.selectedPairs = false;
    ASSERT_EQ(ComputeDunn(groups, input, result), 0);
    EXPECT_EQ(result.comparisons, 6);
    EXPECT_EQ(result.rows.size(), 6u);
}

TEST(Dunn, FriedmanFormUsesRankSumsAndOneStandardError) {
    const std::vector<RankGroup> groups = {Group("A", 6, 8), Group("B", 6, 12), Group("C", 6, 16)};
    DunnInput input;
    input.form = DunnForm::Friedman;
    input.rows = 6;
    input.values = 18;
    input.tieSum = 18;  // six rows of three single values: no ties
    DunnResult result;
    ASSERT_EQ(ComputeDunn(groups, input, result), 0);
    // SE = sqrt(6 x 3 x 4 / 6) = sqrt(12); threshold z(0.05/6) sqrt(12) = 8.293 (R: 8.29299).
    EXPECT_NEAR(static_cast<double>(result.rows[0].se), std::sqrt(12.0), 1e-15);
    EXPECT_NEAR(static_cast<double>(result.threshold), 8.29299, 1e-3 * 8.3);
    EXPECT_NEAR(static_cast<double>(result.rows[1].difference), -8, 1e-15);
    EXPECT_EQ(result.rows[1].p, 1.0L);  // 8 < 8.293
    EXPECT_FALSE(result.tiesNotCorrected);
    input.tieSum = 24;  // one row of (t = 2, t = 1): 8 + 1 instead of 3
    ASSERT_EQ(ComputeDunn(groups, input, result), 0);
    EXPECT_TRUE(result.tiesNotCorrected);
    ResultsReport report;
    WriteDunn(report, groups, result);
    const std::vector<std::string> lines = test::PlainLines(report);
    EXPECT_EQ(lines.back(),
              "The data contain ties, however, this post test does not correct for ties.");
}

TEST(Dunn, CategoriesAtTheirLimits) {
    // A difference exactly at z SE is not beyond it.
    std::vector<RankGroup> base = {Group("A", 2, 2), Group("B", 2, 2)};
    base[1].rankSum = 0;
    DunnInput input;
    input.form = DunnForm::Friedman;
    input.rows = 2;
    input.tieSum = 4;
    DunnResult result;
    ASSERT_EQ(ComputeDunn(base, input, result), 0);
    const Extended se = result.rows[0].se;  // sqrt(2 x 2 x 3 / 6) = sqrt(2)
    for (const auto& [limit, below, above] :
         {std::tuple{result.z05, 1.0L, 0.05L}, std::tuple{result.z01, 0.05L, 0.01L},
          std::tuple{result.z001, 0.01L, 0.001L}}) {
        std::vector<RankGroup> groups = base;
        groups[0].rankSum = limit * se;
        ASSERT_EQ(ComputeDunn(groups, input, result), 0);
        EXPECT_EQ(result.rows[0].p, below);
        groups[0].rankSum = limit * se * (1 + 1e-12L);
        ASSERT_EQ(ComputeDunn(groups, input, result), 0);
        EXPECT_EQ(result.rows[0].p, above);
    }
}

TEST(Dunn, NoSelectedPairWritesTheChoicesMessage) {
    const std::vector<RankGroup> groups = {Group("A", 3, 6), Group("B", 3, 15)};
    std::array<std::uint8_t, PairFlagCount> flags{};
    DunnInput input;
    input.pairFlags = &flags;
    input.selectedPairs = true;
    input.values = 6;
    DunnResult result;
    ASSERT_EQ(ComputeDunn(groups, input, result), 0);
    EXPECT_EQ(result.comparisons, 0);
    EXPECT_TRUE(result.rows.empty());
    ResultsReport report;
    WriteDunn(report, groups, result);
    const std::vector<std::string> expected = {"", "Dunn's Multiple Comparisons Test", "",
                                               std::string(NoColumnPairSelectedMessage), ""};
    EXPECT_EQ(test::PlainLines(report), expected);
}

TEST(ControlComparison, OrderByMeanAndHandValues) {
    // Means 3, 1, 2 put the columns in the order B, C, A; the control is C.
    const std::vector<RankGroup> groups = {Group("A", 4, 11, 3), Group("B", 4, 5, 1),
                                           Group("C", 4, 8, 2)};
    ControlResult result;
    ASSERT_EQ(ComputeControlComparison(groups, 2, 4, result), 0);
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.rows[0].column, 1);
    EXPECT_EQ(result.rows[1].column, 0);
    // K = 2: 2.21 and 2.79; SE = sqrt(4 x 3 x 4 / 6) = sqrt(8).
    EXPECT_EQ(result.critical05, 2.21L);
    EXPECT_EQ(result.critical01, 2.79L);
    EXPECT_NEAR(static_cast<double>(result.rows[0].difference), 3, 1e-15);
    EXPECT_NEAR(static_cast<double>(result.rows[0].lower), 3 - 2.21 * std::sqrt(8.0), 1e-14);
    EXPECT_NEAR(static_cast<double>(result.rows[0].upper), 3 + 2.21 * std::sqrt(8.0), 1e-14);
    EXPECT_EQ(result.rows[0].p, 1.0L);  // 3 < 6.25
    // Equal means keep their column order.
    const std::vector<RankGroup> tied = {Group("A", 4, 11, 2), Group("B", 4, 5, 2),
                                         Group("C", 4, 8, 1)};
    ASSERT_EQ(ComputeControlComparison(tied, 2, 4, result), 0);
    EXPECT_EQ(result.rows[0].column, 0);
    EXPECT_EQ(result.rows[1].column, 1);
}

}  // namespace
}  // namespace zelkon
