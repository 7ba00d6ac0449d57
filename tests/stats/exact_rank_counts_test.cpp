// The exact counts of the rank tests against brute-force enumerators that follow the
// definitions literally (every sign pattern, every subset, every permutation), and the
// progress protocol on an injected clock.
#include "stats/exact_rank_counts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

#include "core/calc_status.h"

namespace zelkon {
namespace {

// --- Brute-force oracles ------------------------------------------------------------------

/// Every one of the 2^n sign patterns of the ranks 1..n; counts sums >= threshold.
std::int64_t EnumerateSignPatterns(int k, Extended sum, Extended threshold) {
    if (k == 0) return sum >= threshold ? 1 : 0;
    return EnumerateSignPatterns(k - 1, sum + k, threshold) +
           EnumerateSignPatterns(k - 1, sum, threshold);
}

/// Every subset of size `left` of the ranks from..n (increasing); counts rank sums <= limit.
std::int64_t EnumerateSubsets(int from, int n, int left, Extended sum, Extended limit) {
    if (left == 0) return sum <= limit ? 1 : 0;
    std::int64_t count = 0;
    for (int r = from; r <= n - left + 1; ++r) count += EnumerateSubsets(r + 1, n, left - 1, sum + r, limit);
    return count;
}

/// Every assignment of the ranks k..1 to free positions; counts sums >= threshold.
std::int64_t EnumeratePermutations(int k, int n, std::vector<bool>& used, std::int64_t sum,
                                   std::int64_t threshold) {
    if (k == 0) return sum >= threshold ? 1 : 0;
    std::int64_t count = 0;
    for (int i = 1; i <= n; ++i) {
        if (used[static_cast<std::size_t>(i)]) continue;
        used[static_cast<std::size_t>(i)] = true;
        count += EnumeratePermutations(k - 1, n, used, sum + (i - k) * (i - k), threshold);
        used[static_cast<std::size_t>(i)] = false;
    }
    return count;
}

class FakeClock : public Clock {
public:
    std::int64_t now = 0;
    std::int64_t step = 0;  // advanced at every reading
    std::int64_t NowMs() override {
        now += step;
        return now;
    }
};

/// Puts a fake clock on the program-wide status for one test and restores the system clock.
struct ExactCountsTest : ::testing::Test {
    FakeClock clock;
    void SetUp() override {
        GlobalCalcStatus().SetClock(&clock);
        GlobalCalcStatus().BeginCalculation();  // clears the cancel flag
        BeginExactCalculation(0.5L);
    }
    void TearDown() override {
        EndExactCalculation();
        GlobalCalcStatus().EndCalculation();
        GlobalCalcStatus().SetClock(nullptr);
    }
};

// --- Counts -------------------------------------------------------------------------------

TEST_F(ExactCountsTest, SignPatternsMatchEnumerationForEveryThreshold) {
    for (int n = 0; n <= 14; ++n) {
        const int maxSum = n * (n + 1) / 2;
        // Integer thresholds and the half-integer ones that tied ranks give.
        for (int twice = -1; twice <= 2 * maxSum + 2; ++twice) {
            const Extended threshold = twice / 2.0L;
            const ExactCount c = CountSignedRankPatterns(n, threshold);
            ASSERT_EQ(c.flag, ExactFlagExact);
            ASSERT_EQ(c.counted, EnumerateSignPatterns(n, 0, threshold)) << n << " " << threshold;
        }
    }
}

TEST_F(ExactCountsTest, SignPatternsKnownValues) {
    // n = 4, T+ = 10: only the all-positive pattern reaches 10, 1 of 16 (P = 0.0625).
    EXPECT_EQ(CountSignedRankPatterns(4, 10).counted, 1);
    // The largest exact size: half of the 2^29 patterns lie at or above the centre 217.5
    // (the distribution is symmetric about n(n + 1)/4 and no sum equals it).
    EXPECT_EQ(CountSignedRankPatterns(29, 217.5L).counted, std::int64_t{1} << 28);
    // R: psignrank(433, 29, lower.tail = FALSE) * 2^29 = 2 (sums 434 and 435).
    EXPECT_EQ(CountSignedRankPatterns(29, 434).counted, 2);
}

TEST_F(ExactCountsTest, SubsetsMatchEnumerationForEveryU) {
    for (int n = 1; n <= 16; ++n) {
        for (int k = 0; k <= n; ++k) {
            const int maxU = k * (n - k);
            for (int twice = -1; twice <= 2 * maxU + 1; ++twice) {
                const Extended u = twice / 2.0L;
                const ExactCount c = CountRankSubsets(n, k, u);
                ASSERT_EQ(c.flag, ExactFlagExact);
                ASSERT_EQ(c.counted, EnumerateSubsets(1, n, k, 0, k * (k + 1) / 2.0L + u))
                    << n << " " << k << " " << u;
            }
        }
    }
}

TEST_F(ExactCountsTest, SubsetsOfLargeSamplesAgainstR) {
    // R: round(pwilcox(40, 3, 1999) * choose(2002, 3)) = 2282.
    EXPECT_EQ(CountRankSubsets(2002, 1999, 40).counted, 2282);
    // R: round(pwilcox(136, 17, 16) * choose(33, 17)) = 591669132 (the centre of a balanced
    // sample just under 2e9 subsets: choose(33, 17) = 1166803110).
    EXPECT_EQ(CountRankSubsets(33, 17, 136).counted, 591669132);
    EXPECT_EQ(CappedBinomial(33, 17, 2000000000), 1166803110);
    EXPECT_EQ(CappedBinomial(34, 17, 2000000000), 2000000000);
    EXPECT_EQ(CappedBinomial(2002, 1999, 2000000000), 1335334000);
    EXPECT_EQ(CappedBinomial(2002, 1998, 2000000000), 2000000000);
    EXPECT_EQ(CappedBinomial(6, 3, 2000000000), 20);
}

TEST_F(ExactCountsTest, PermutationsMatchEnumerationForEveryThreshold) {
    for (int n = 1; n <= 7; ++n) {
        const std::int64_t maxD = (static_cast<std::int64_t>(n) * n * n - n) / 3;
        for (std::int64_t t = -1; t <= maxD + 2; ++t) {
            std::vector<bool> used(static_cast<std::size_t>(n) + 1, false);
            const ExactCount c = CountRankPermutations(n, t);
            ASSERT_EQ(c.flag, ExactFlagExact);
            ASSERT_EQ(c.counted, EnumeratePermutations(n, n, used, 0, t)) << n << " " << t;
        }
    }
}

TEST_F(ExactCountsTest, PermutationsOfNineAgainstEnumerationAndR) {
    std::mt19937 random(7);
    const std::int64_t maxD = (9 * 9 * 9 - 9) / 3;
    for (int trial = 0; trial < 4; ++trial) {
        const std::int64_t t = std::uniform_int_distribution<std::int64_t>(120, maxD)(random);
        std::vector<bool> used(10, false);
        ASSERT_EQ(CountRankPermutations(9, t).counted, EnumeratePermutations(9, 9, used, 0, t));
    }
    // R (exact for n = 9): cor.test(1:9, c(2,1,4,3,6,5,8,7,9), method = "spearman") gives
    // S = 8 and P = 0.000749559082892416 = 2 * 136 / 9!: 136 permutations with D <= 8, that
    // is (the distribution is symmetric about 120) D >= 240 - 8 = 232.
    EXPECT_EQ(CountRankPermutations(9, 232).counted, 136);
}

TEST_F(ExactCountsTest, PermutationsOfTwelve) {
    const std::int64_t all = 479001600;  // 12!
    EXPECT_EQ(CountRankPermutations(12, 0).counted, all);
    // D is symmetric about (12^3 - 12)/6 = 286 (reversing the ranks maps D to 572 - D) and
    // always even: #(D >= 286 + x) = #(D <= 286 - x) = 12! - #(D >= 287 - x).
    for (const std::int64_t x : {0, 2, 40, 100, 200}) {
        EXPECT_EQ(CountRankPermutations(12, 286 + x).counted,
                  all - CountRankPermutations(12, 287 - x).counted);
    }
    // The far tail by hand: D = 0 only for the identity, D = 2 for the 11 swaps of
    // neighbours, D = 4 for the 45 pairs of disjoint neighbour swaps.
    EXPECT_EQ(CountRankPermutations(12, 572).counted, 1);
    EXPECT_EQ(CountRankPermutations(12, 570).counted, 12);
    EXPECT_EQ(CountRankPermutations(12, 568).counted, 57);
}

// --- Progress protocol --------------------------------------------------------------------

TEST_F(ExactCountsTest, CancelStopsTheCount) {
    clock.step = 3000;  // every reading is more than 2 s after the previous one
    GlobalCalcStatus().RequestCancel();
    EXPECT_EQ(CountSignedRankPatterns(20, 150).flag, ExactFlagCancelled);
    EXPECT_EQ(CountRankSubsets(20, 10, 30).flag, ExactFlagCancelled);
    EXPECT_EQ(CountRankPermutations(10, 200).flag, ExactFlagCancelled);
}

TEST_F(ExactCountsTest, MoreThanSixHundredSecondsEstimatedStopsTheCount) {
    // 100 s pass at every progress call: after the first of 20 steps (5%) the estimate is
    // 200 s * 95 / 5 = 3800 s.
    clock.step = 100000;
    EXPECT_EQ(CountSignedRankPatterns(20, 150).flag, ExactFlagTooLong);
    EXPECT_EQ(CountRankSubsets(40, 20, 300).flag, ExactFlagTooLong);
    EXPECT_EQ(CountRankPermutations(12, 500).flag, ExactFlagTooLong);
}

TEST_F(ExactCountsTest, ReportedPercentagesGrowToOneHundred) {
    struct Recorder : ProgressHost {
        std::vector<std::string> percents;
        void ShowProgress(std::string_view, std::string_view, std::string_view percent,
                          std::string_view) override {
            percents.emplace_back(percent);
        }
    } recorder;
    GlobalCalcStatus().SetHost(&recorder);
    clock.step = 600;  // past the 500 ms update interval each time; quiet for the first 2 s
    const ExactCount c = CountRankPermutations(8, 100);
    GlobalCalcStatus().SetHost(nullptr);
    EXPECT_EQ(c.flag, ExactFlagExact);
    // Readings at 1200, 1800, ... ms after the start; the first two fall in the quiet time.
    ASSERT_EQ(recorder.percents.size(), 5u);
    EXPECT_EQ(recorder.percents.front(), "50.0");
    EXPECT_EQ(recorder.percents.back(), "100.0");
}

}  // namespace
}  // namespace zelkon
