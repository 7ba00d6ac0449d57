// The numbers of the signed rank and Mann-Whitney tests: statistics and P values against R's
// wilcox.test, exact P values against a brute-force enumeration of every arrangement on
// random samples with ties, and the normal approximation against its formula.
#include "analyses/groups/rank_tests.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/calc_status.h"
#include "stats/pvalue.h"

namespace zelkon {
namespace {

void Fill(DataTable& table, int column, const std::vector<Extended>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) table.SetValue(static_cast<int>(i), column, values[i]);
}

/// Relative agreement: |a - b| <= tol * |b| (or tol when b = 0).
::testing::AssertionResult Near(Extended a, Extended b, Extended tol) {
    const Extended scale = b == 0 ? 1 : std::fabs(b);
    if (std::fabs(a - b) <= tol * scale) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << static_cast<double>(a) << " vs " << static_cast<double>(b);
}

// R's example data (wilcox.test help page): depression scores before and after therapy.
const std::vector<Extended> Before = {1.83, 0.50, 1.62, 2.48, 1.68, 1.88, 1.55, 3.06, 1.30};
const std::vector<Extended> After = {0.878, 0.647, 0.598, 2.05, 1.06, 1.29, 1.06, 3.14, 1.29};

TEST(SignedRankTest, FourValuesAboveZero) {
    DataTable table;
    Fill(table, 0, {1, 2, 3, 4});
    const SignedRankResult r = SignedRankTest(table, 0, 0, false);
    EXPECT_EQ(r.n, 4);
    EXPECT_EQ(r.tPlus, 10);
    EXPECT_EQ(r.tMinus, 0);
    EXPECT_EQ(r.w, 10);
    EXPECT_TRUE(r.Exact());
    EXPECT_EQ(r.arrangements, 16);
    EXPECT_EQ(r.p, 0.0625L);  // 1/16
}

TEST(SignedRankTest, AgreesWithR) {
    DataTable table;
    Fill(table, 0, Before);
    // R: wilcox.test(x, mu = 1, exact = TRUE): V = 43, p-value = 0.01171875 (two-sided).
    SignedRankResult r = SignedRankTest(table, 0, 1, true);
    EXPECT_EQ(r.n, 9);
    EXPECT_EQ(r.tPlus, 43);
    EXPECT_EQ(r.tMinus, -2);
    EXPECT_EQ(r.w, 41);
    EXPECT_TRUE(Near(2 * r.p, 0.01171875L, 1e-15L));

    // The matched pairs run on the differences: R wilcox.test(x, y, paired = TRUE):
    // V = 40, p = 0.0390625; alternative = "greater": p = 0.01953125.
    Fill(table, 1, After);
    for (int row = 0; row < 9; ++row) table.SetAnalysisValue(row, ScratchColumn, Before[static_cast<std::size_t>(row)] - After[static_cast<std::size_t>(row)]);
    r = SignedRankTest(table, ScratchColumn, 0, true);
    EXPECT_EQ(r.tPlus, 40);
    EXPECT_EQ(r.tMinus, -5);
    EXPECT_TRUE(Near(r.p, 0.01953125L, 1e-15L));
}

TEST(SignedRankTest, ZerosAreLeftOutAndTiesAveraged) {
    DataTable table;
    // |d| = 1, 1, 2, 3, 3, 3 around 5 with two values equal to 5: ranks 1.5, 1.5, 3, 5, 5, 5.
    Fill(table, 0, {4, 6, 5, 7, 2, 8, 8, 5});
    const SignedRankResult r = SignedRankTest(table, 0, 5, true);
    EXPECT_EQ(r.zeroDifferences, 2);
    EXPECT_EQ(r.n, 6);
    EXPECT_TRUE(r.ties);
    EXPECT_EQ(r.tieSum, 6 + 24);  // 2^3 - 2 and 3^3 - 3
    EXPECT_EQ(r.tMinus, -(1.5L + 5));  // 4 and 2 lie below
    EXPECT_EQ(r.tPlus, 21 - 6.5L);
    // The exact count runs over the integer ranks 1..6: sums >= 14.5, that is >= 15, of
    // the 64 patterns (counted by hand from the subset sums of 1..6: 15: 4, 16: 3, 17: 2,
    // 18: 2, 19: 1, 20: 1, 21: 1 = 14).
    EXPECT_EQ(r.counted, 14);
    EXPECT_EQ(r.p, 14.0L / 64);
}

TEST(SignedRankTest, ApproximationFromThirtyOnAgreesWithR) {
    DataTable table;
    const std::vector<Extended> s = {3, 5, -2, 7, 0, 4, 4, -1, 6, 8, 2, -3, 5, 9, 0, 1, 3,
                                     3, -4, 6, 7, 2, 5, -2, 8, 4, 10, 1, -1, 6, 3, 2, 5, 7};
    Fill(table, 0, s);
    const SignedRankResult r = SignedRankTest(table, 0, 0, true);
    // R: wilcox.test(s, mu = 0, exact = FALSE, correct = TRUE): 32 nonzero values, V = 480.5,
    // p = 5.21086906100119e-05, so z = qnorm(p / 2, lower.tail = FALSE) = 4.04596197976938.
    EXPECT_EQ(r.n, 32);
    EXPECT_EQ(r.zeroDifferences, 2);
    EXPECT_EQ(r.tPlus, 480.5L);
    EXPECT_FALSE(r.Exact());
    EXPECT_EQ(r.source, PValueSource::TooLarge);
    EXPECT_TRUE(Near(r.z, 4.04596197976938L, 1e-12L));
    // The P value of z is taken from t with 5000 df (relative 1e-15).
    EXPECT_TRUE(Near(r.p, p_from_f(1, 5000, r.z * r.z) / 2, 1e-15L));
    EXPECT_EQ(r.p, r.approximateP);
}

TEST(SignedRankTest, ExactCountEqualsEnumerationOnRandomSamplesWithTies) {
    std::mt19937 random(2024);
    for (int trial = 0; trial < 300; ++trial) {
        const int size = std::uniform_int_distribution<int>(1, 16)(random);
        std::vector<Extended> values;
        for (int i = 0; i < size; ++i) values.push_back(std::uniform_int_distribution<int>(-6, 6)(random));
        DataTable table;
        Fill(table, 0, values);
        const SignedRankResult r = SignedRankTest(table, 0, 0, trial % 2 == 0);

        // Oracle: average ranks of |d| by counting, the literal sum of positive ranks and
        // every one of the 2^n sign patterns of the integer ranks.
        std::vector<Extended> d;
        for (const Extended v : values) {
            if (v != 0) d.push_back(v);
        }
        Extended tPlus = 0, tMinus = 0;
        for (const Extended di : d) {
            Extended below = 0, equal = 0;
            for (const Extended dj : d) {
                below += std::fabs(dj) < std::fabs(di) ? 1 : 0;
                equal += std::fabs(dj) == std::fabs(di) ? 1 : 0;
            }
            (di > 0 ? tPlus : tMinus) += below + (equal + 1) / 2;
        }
        const Extended threshold = std::max(tPlus, tMinus);
        const int n = static_cast<int>(d.size());
        std::int64_t counted = 0;
        for (std::int64_t pattern = 0; pattern < (std::int64_t{1} << n); ++pattern) {
            Extended sum = 0;
            for (int k = 1; k <= n; ++k) {
                if ((pattern >> (k - 1)) & 1) sum += k;
            }
            if (sum >= threshold) ++counted;
        }
        ASSERT_EQ(r.n, n);
        ASSERT_EQ(r.tPlus, tPlus);
        ASSERT_EQ(r.tMinus, -tMinus);
        ASSERT_EQ(r.counted, counted) << trial;
        ASSERT_EQ(r.p, static_cast<Extended>(counted) / std::ldexp(1.0L, n));
    }
}

// Typed decimals whose differences tie as decimals but not in binary (16.3 - 12.8 and
// 12.9 - 16.4): the ties are found, for the matched pairs and against a typed median.
// R's wilcox.test ranks the binary differences unless told digits.rank = 7.
struct TypedSet {
    std::vector<std::string> a;  // the column (paired: before)
    std::vector<std::string> b;  // paired: after; empty: one sample against `median`
    const char* median;
    Extended tPlus;
    Extended tieSum;
    bool exact;
    Extended expected;  // exact: the two-tailed P; approximate: z
};

void FillTyped(DataTable& table, int column, const std::vector<std::string>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        table.SetValue(static_cast<int>(i), column, std::strtold(values[i].c_str(), nullptr));
    }
    table.SetNoRawData(column, false);
}

// The 33 pairs of tests/data/ranks/signed_rank_33_pairs.csv.
TypedSet ThirtyThreePairs() {
    TypedSet set{{}, {}, "0", 467, 96, false, 3.32447776110337L};
    std::ifstream in(std::string(ZELKON_SOURCE_DIR) + "/tests/data/ranks/signed_rank_33_pairs.csv");
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t comma = line.find(',');
        if (line.empty() || line[0] == '#' || line.rfind("before", 0) == 0) continue;
        set.a.push_back(line.substr(0, comma));
        set.b.push_back(line.substr(comma + 1));
    }
    return set;
}

TEST(SignedRankTest, DecimalDifferencesTie) {
    const TypedSet sets[] = {
        // Differences 3.5, -3.5, 5.9, 6.2, 7.1, 8.2: ranks 1.5, 1.5, 3..6, T+ = 19.5.
        // R: wilcox.test(a, b, paired = TRUE, digits.rank = 7) V = 19.5.  Exact, by hand:
        // sums >= 20 of the integer ranks 1..6 are 2 of 64 patterns, two-tailed 4/64.
        {{"16.3", "12.9", "20.1", "18.7", "22.4", "19.8"},
         {"12.8", "16.4", "14.2", "12.5", "15.3", "11.6"},
         nullptr, 19.5L, 6, true, 0.0625L},
        // The same differences from a typed median: R: wilcox.test(a, mu = 10.3,
        // digits.rank = 7) V = 19.5.
        {{"13.8", "6.8", "16.2", "16.5", "17.4", "18.5"}, {}, "10.3", 19.5L, 6, true, 0.0625L},
        // R: wilcox.test(before, after, paired = TRUE, exact = FALSE, correct = TRUE,
        // digits.rank = 7): V = 467, P = 0.0008858429815, so z = qnorm(P / 2, lower.tail =
        // FALSE) = 3.32447776110337; ties of 3, 2, 4 and 2 by hand: 24 + 6 + 60 + 6 = 96.
        ThirtyThreePairs(),
    };
    for (const TypedSet& set : sets) {
        DataTable table;
        FillTyped(table, 0, set.a);
        SignedRankResult r;
        if (set.b.empty()) {
            r = ComputeWilcoxonOneSample(table, 0, ColumnRecord{}, true,
                                         std::strtold(set.median, nullptr))
                    .test;
        } else {
            FillTyped(table, 1, set.b);
            const WilcoxonPairsResult pairs =
                ComputeWilcoxonPairs(table, 0, 1, ColumnRecord{}, ColumnRecord{}, true);
            ASSERT_EQ(pairs.errorCode, 0);
            r = pairs.test;
        }
        const auto n = static_cast<Extended>(set.a.size());
        EXPECT_EQ(r.n, static_cast<std::int32_t>(set.a.size()));
        EXPECT_EQ(r.tPlus, set.tPlus) << set.a[0];
        EXPECT_EQ(r.tMinus, -(n * (n + 1) / 2 - set.tPlus));
        EXPECT_EQ(r.tieSum, set.tieSum);
        EXPECT_TRUE(r.ties);
        EXPECT_EQ(r.Exact(), set.exact);
        if (set.exact) {
            EXPECT_EQ(2 * r.p, set.expected);
        } else {
            EXPECT_TRUE(Near(r.z, set.expected, 1e-11L));
        }
    }
    // A value that differs from the median only in binary (1.1 + 2.2 lies 2E-19 above the
    // extended value nearest 3.3) is a zero difference.
    DataTable table;
    FillTyped(table, 0, {"3.3", "1.2", "2.5", "4.1"});
    const SignedRankResult r =
        ComputeWilcoxonOneSample(table, 0, ColumnRecord{}, true, 1.1L + 2.2L).test;
    EXPECT_EQ(r.zeroDifferences, 1);
}

TEST(MannWhitneyTest, AgreesWithR) {
    DataTable table;
    Fill(table, 0, {0.80, 0.83, 1.89, 1.04, 1.45, 1.38, 1.91, 1.64, 0.73, 1.46});
    Fill(table, 1, {1.15, 0.88, 0.90, 0.74, 1.21});
    // R: wilcox.test(x, y, exact = TRUE): W = 35, p = 0.254412254412254; alternative =
    // "greater": p = 0.127206127206127.  W counts x > y, so U = 50 - 35 = 15.
    const MannWhitneyResult r = MannWhitneyTest(table, 0, 1, true);
    EXPECT_EQ(r.u, 15);
    EXPECT_EQ(r.uPrime, 35);
    EXPECT_EQ(r.rankSumA, 90);  // 10 * 11 / 2 + 35
    EXPECT_EQ(r.rankSumB, 30);
    EXPECT_FALSE(r.ties);
    EXPECT_TRUE(r.Exact());
    EXPECT_EQ(r.subsets, 3003);  // C(15, 10)
    EXPECT_TRUE(Near(r.p, 0.127206127206127L, 1e-14L));
}

TEST(MannWhitneyTest, ThreeAgainstThree) {
    DataTable table;
    Fill(table, 0, {1, 2, 3});
    Fill(table, 1, {4, 5, 6});
    const MannWhitneyResult r = MannWhitneyTest(table, 0, 1, true);
    EXPECT_EQ(r.u, 0);  // 9 before taking the smaller
    EXPECT_EQ(r.uPrime, 9);
    EXPECT_EQ(r.rankSumA, 6);
    EXPECT_EQ(r.rankSumB, 15);
    EXPECT_EQ(r.subsets, 20);
    EXPECT_EQ(r.p, 0.05L);
}

TEST(MannWhitneyTest, ApproximationUsesThePooledTieCorrection) {
    DataTable table;
    const std::vector<Extended> a = {12, 15, 11, 18, 15, 14, 20, 13, 15, 17, 16, 12, 19, 14, 15, 21, 13, 16, 18, 11};
    const std::vector<Extended> b = {14, 18, 16, 22, 19, 15, 21, 17, 20, 18, 23, 16, 19,
                                     24, 17, 20, 15, 22, 18, 21, 19, 16, 25, 20, 18};
    Fill(table, 0, a);
    Fill(table, 1, b);
    const MannWhitneyResult r = MannWhitneyTest(table, 0, 1, true);
    // R: wilcox.test(a, b, exact = FALSE, correct = TRUE): W = 94, p = 0.00036149987386365,
    // z = qnorm(p / 2, lower.tail = FALSE) = 3.56670366722842; rank sums (rank()) 304 and
    // 731; choose(45, 25) = 3169870830126 > 2e9.
    EXPECT_EQ(r.u, 94);
    EXPECT_EQ(r.uPrime, 406);
    EXPECT_EQ(r.rankSumA, 304);
    EXPECT_EQ(r.rankSumB, 731);
    EXPECT_TRUE(r.ties);
    EXPECT_EQ(r.subsets, 2000000000);
    EXPECT_EQ(r.source, PValueSource::TooLarge);
    EXPECT_TRUE(Near(r.z, 3.56670366722842L, 1e-12L));
    EXPECT_TRUE(Near(r.p, p_from_f(1, 5000, r.z * r.z) / 2, 1e-15L));
}

TEST(MannWhitneyTest, ExactCountEqualsEnumerationOnRandomSamplesWithTies) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 300; ++trial) {
        const int na = std::uniform_int_distribution<int>(1, 8)(random);
        const int nb = std::uniform_int_distribution<int>(1, 8)(random);
        std::vector<Extended> a, b;
        for (int i = 0; i < na; ++i) a.push_back(std::uniform_int_distribution<int>(0, 7)(random));
        for (int i = 0; i < nb; ++i) b.push_back(std::uniform_int_distribution<int>(0, 7)(random));
        DataTable table;
        Fill(table, 0, a);
        Fill(table, 1, b);
        const MannWhitneyResult r = MannWhitneyTest(table, 0, 1, false);

        // Oracle: the rank sum of A with average ranks of the pooled sample, U of A from it,
        // and every subset of size k = max(na, nb) of the integer ranks 1..N.
        std::vector<Extended> pooled = a;
        pooled.insert(pooled.end(), b.begin(), b.end());
        Extended rankSumA = 0;
        for (const Extended x : a) {
            Extended below = 0, equal = 0;
            for (const Extended y : pooled) {
                below += y < x ? 1 : 0;
                equal += y == x ? 1 : 0;
            }
            rankSumA += below + (equal + 1) / 2;
        }
        const Extended uA = rankSumA - na * (na + 1) / 2.0L;  // pairs with a > b, ties half
        const Extended u = std::min<Extended>(uA, na * nb - uA);
        const int n = na + nb, k = std::max(na, nb);
        std::int64_t counted = 0, subsets = 0;
        for (std::uint32_t mask = 0; mask < (1u << n); ++mask) {
            if (std::popcount(mask) != k) continue;
            ++subsets;
            Extended sum = 0;
            for (int i = 0; i < n; ++i) {
                if ((mask >> i) & 1) sum += i + 1;
            }
            if (sum <= k * (k + 1) / 2.0L + u) ++counted;
        }
        ASSERT_EQ(r.rankSumA, rankSumA) << trial;
        ASSERT_EQ(r.u, u) << trial;
        ASSERT_EQ(r.subsets, subsets);
        ASSERT_EQ(r.counted, counted) << trial;
        ASSERT_EQ(r.p, static_cast<Extended>(counted) / static_cast<Extended>(subsets));
    }
}

}  // namespace
}  // namespace zelkon
