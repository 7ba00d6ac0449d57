// The exact Kruskal-Wallis counts against a brute-force enumerator kept here: every way of
// giving the ranks 1..N to groups of the given sizes, the statistic computed for each.  Both
// counting methods, the choice between them and the complete enumeration must give its
// visited and extreme counts exactly, on many random small designs and on observed values
// that tie with other divisions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"
#include "analyses/groups/kruskal_wallis_exact.h"
#include "core/calc_status.h"

namespace zelkon {
namespace {

struct BruteCount {
    std::uint64_t visited = 0;
    std::uint64_t extreme = 0;
};

/// Gives rank `rank` to every group with room left, recursively; at the end compares
/// S = sum R_j^2 / n_j with S0 as the enumeration does (S - S0 >= -1E-8).
void Brute(const std::vector<std::int32_t>& sizes, std::int32_t rank, std::int32_t n,
           std::vector<std::int32_t>& counts, std::vector<Extended>& sums, Extended s0,
           BruteCount& out) {
    if (rank > n) {
        Extended s = 0;
        for (std::size_t j = 0; j < sizes.size(); ++j) s += sums[j] * sums[j] / sizes[j];
        ++out.visited;
        if (s - s0 >= -1e-8L) ++out.extreme;
        return;
    }
    for (std::size_t j = 0; j < sizes.size(); ++j) {
        if (counts[j] == sizes[j]) continue;
        ++counts[j];
        sums[j] += rank;
        Brute(sizes, rank + 1, n, counts, sums, s0, out);
        --counts[j];
        sums[j] -= rank;
    }
}

BruteCount BruteForce(const std::vector<std::int32_t>& sizes, Extended s0) {
    const std::int32_t n = std::accumulate(sizes.begin(), sizes.end(), 0);
    std::vector<std::int32_t> counts(sizes.size(), 0);
    std::vector<Extended> sums(sizes.size(), 0);
    BruteCount out;
    Brute(sizes, 1, n, counts, sums, s0, out);
    return out;
}

/// S of one random division of the ranks into groups of the given sizes.
Extended RandomObservedS(const std::vector<std::int32_t>& sizes, std::mt19937& rng) {
    const std::int32_t n = std::accumulate(sizes.begin(), sizes.end(), 0);
    std::vector<std::int32_t> ranks(static_cast<std::size_t>(n));
    std::iota(ranks.begin(), ranks.end(), 1);
    std::shuffle(ranks.begin(), ranks.end(), rng);
    Extended s = 0;
    std::size_t at = 0;
    for (const std::int32_t size : sizes) {
        Extended sum = 0;
        for (std::int32_t i = 0; i < size; ++i) sum += ranks[at++];
        s += sum * sum / size;
    }
    return s;
}

KruskalWallisKeyProblem KeyProblem(const std::vector<std::int32_t>& sizes, Extended s0) {
    KruskalWallisKeyProblem p;
    p.sizes = sizes;
    p.n = std::accumulate(sizes.begin(), sizes.end(), 0);
    p.rankTotal = static_cast<std::int64_t>(p.n) * (p.n + 1) / 2;
    EXPECT_TRUE(KruskalWallisArrangements(sizes, p.arrangements));
    std::int64_t lcm = 1;
    for (const std::int32_t s : sizes) lcm = std::lcm(lcm, static_cast<std::int64_t>(s));
    for (const std::int32_t s : sizes) p.weights.push_back(lcm / s);
    p.threshold = static_cast<std::int64_t>(std::ceil((s0 - 1e-8L) * lcm));
    return p;
}

/// A clock that stands still: the progress rules never stop a count here.
class StillClock : public Clock {
  public:
    std::int64_t NowMs() override { return 1000000; }
};

struct KruskalWallisExactTest : ::testing::Test {
    StillClock clock;
    void SetUp() override {
        GlobalCalcStatus().SetClock(&clock);
        GlobalCalcStatus().BeginCalculation();
        RestartProgressClock();
    }
    void TearDown() override {
        GlobalCalcStatus().EndCalculation();
        GlobalCalcStatus().SetClock(nullptr);
    }
};

TEST_F(KruskalWallisExactTest, ArrangementsAreTheMultinomialWithinTheLimit) {
    Extended total = 0;
    // 5! / (2! 2! 1!) = 30 and 4! / 2! = 12, the two designs the report's sentence separates.
    ASSERT_TRUE(KruskalWallisArrangements(std::vector<std::int32_t>{2, 2, 1}, total));
    EXPECT_EQ(total, 30);
    ASSERT_TRUE(KruskalWallisArrangements(std::vector<std::int32_t>{2, 0, 1, 1}, total));
    EXPECT_EQ(total, 12);
    // 21! / (7!)^3 = 399,072,960; 1003 x 1002 x 1001 = 1,006,011,006.
    ASSERT_TRUE(KruskalWallisArrangements(std::vector<std::int32_t>{7, 7, 7}, total));
    EXPECT_EQ(total, 399072960);
    ASSERT_TRUE(KruskalWallisArrangements(std::vector<std::int32_t>{1000, 1, 1, 1}, total));
    EXPECT_EQ(total, 1006011006);
    // 29! / (22! 2! 2!) = 1,966,582,800 is within the limit, C(34, 17) = 2,333,606,220 is not
    // (a single coefficient above the limit must not pass as the limit itself).
    ASSERT_TRUE(KruskalWallisArrangements(std::vector<std::int32_t>{22, 2, 2, 1, 1, 1}, total));
    EXPECT_EQ(total, 1966582800);
    EXPECT_FALSE(KruskalWallisArrangements(std::vector<std::int32_t>{17, 17}, total));
    EXPECT_FALSE(KruskalWallisArrangements(std::vector<std::int32_t>{5, 5, 5, 5}, total));
    ASSERT_TRUE(KruskalWallisArrangements(std::vector<std::int32_t>{16, 17}, total));
    EXPECT_EQ(total, 1166803110);
}

TEST_F(KruskalWallisExactTest, EveryMethodCountsAsTheBruteForceOnRandomDesigns) {
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> groupCount(1, 5);
    std::uniform_int_distribution<int> groupSize(1, 5);
    int designs = 0;
    int coincidenceDesigns = 0;
    int halvesDesigns = 0;
    while (designs < 150) {
        std::vector<std::int32_t> sizes(static_cast<std::size_t>(groupCount(rng)));
        for (auto& s : sizes) s = groupSize(rng);
        Extended total = 0;
        if (!KruskalWallisArrangements(sizes, total) || total > 200000) continue;
        ++designs;
        const Extended s0 = RandomObservedS(sizes, rng);
        const BruteCount brute = BruteForce(sizes, s0);
        SCOPED_TRACE(::testing::Message() << "design " << designs << " sizes " << ::testing::PrintToString(sizes) << " s0 " << static_cast<double>(s0)
                                          << " first " << sizes[0] << " total " << brute.visited);
        ASSERT_EQ(static_cast<Extended>(brute.visited), total);

        const KruskalWallisKeyProblem problem = KeyProblem(sizes, s0);
        ExactProgress progress;
        KruskalWallisTally byRanks;
        ASSERT_TRUE(CountByRanks(problem, progress, byRanks));
        EXPECT_EQ(byRanks.visited, brute.visited);
        EXPECT_EQ(byRanks.extreme, brute.extreme);
        KruskalWallisTally bySmaller;
        ASSERT_TRUE(CountBySmallerGroups(problem, progress, bySmaller));
        EXPECT_EQ(bySmaller.visited, brute.visited);
        EXPECT_EQ(bySmaller.extreme, brute.extreme);
        // The count by coincidences runs while the small groups hold at most 8 ranks, the
        // count in halves from two groups on.
        KruskalWallisTally byCoincidences;
        if (CountByCoincidences(problem, progress, byCoincidences)) {
            ++coincidenceDesigns;
            EXPECT_EQ(byCoincidences.visited, brute.visited);
            EXPECT_EQ(byCoincidences.extreme, brute.extreme);
        }
        KruskalWallisTally byRemoval;
        if (sizes.size() > 1) {
            ASSERT_TRUE(CountByRemoval(problem, progress, byRemoval));
            EXPECT_EQ(byRemoval.visited, brute.visited);
            EXPECT_EQ(byRemoval.extreme, brute.extreme);
        }
        KruskalWallisTally byHalves;
        if (CountByHalves(problem, progress, byHalves)) {
            ++halvesDesigns;
            EXPECT_EQ(byHalves.visited, brute.visited);
            EXPECT_EQ(byHalves.extreme, brute.extreme);
        }

        for (const KruskalWallisExact& exact :
             {KruskalWallisExactP(sizes, s0), EnumerateKruskalWallis(sizes, s0)}) {
            ASSERT_EQ(exact.status, ExactStatusExact);
            EXPECT_EQ(exact.visited, static_cast<std::int64_t>(brute.visited));
            EXPECT_EQ(exact.extreme,
                      static_cast<std::int64_t>(std::max<std::uint64_t>(brute.extreme, 1)));
            EXPECT_EQ(exact.p, static_cast<Extended>(exact.extreme) / exact.visited);
        }
    }
    EXPECT_GT(coincidenceDesigns, 100);
    EXPECT_GT(halvesDesigns, 100);
}

TEST_F(KruskalWallisExactTest, TiesWithTheObservedStatisticCountAsExtreme) {
    // Sizes 3, 3, 3: S takes few values, so many divisions share the observed one.  The
    // tolerance admits S0 raised by 1E-9 but not by 1E-7 (S moves in steps of 1/3).
    const std::vector<std::int32_t> sizes{3, 3, 3};
    // Ranks {1,2,3}, {4,5,6}, {7,8,9}: S = (36 + 225 + 576) / 3 = 279, the largest possible.
    for (const Extended s0 : {279.0L, 279.0L + 1e-9L, 279.0L + 1e-7L, 270.0L + 2.0L / 3}) {
        const BruteCount brute = BruteForce(sizes, s0);
        const KruskalWallisExact exact = KruskalWallisExactP(sizes, s0);
        EXPECT_EQ(exact.extreme,
                  static_cast<std::int64_t>(std::max<std::uint64_t>(brute.extreme, 1)));
        EXPECT_EQ(exact.visited, 1680);
    }
    // The most extreme divisions are the 3! orders of the three blocks of ranks.
    EXPECT_EQ(KruskalWallisExactP(sizes, 279).extreme, 6);
    // None above the largest S: the count is raised to 1, so P = 1 / 1680.
    EXPECT_EQ(KruskalWallisExactP(sizes, 279.0L + 1e-7L).extreme, 1);
}

TEST_F(KruskalWallisExactTest, LargeShapesAgreeBetweenTheFourCounts) {
    // Designs too large for the brute force: the four counting methods are independent
    // algorithms, so their agreement on the tail of the distribution checks them all.
    std::mt19937 rng(7);
    for (const std::vector<std::int32_t>& sizes :
         {std::vector<std::int32_t>{9, 4, 3}, std::vector<std::int32_t>{40, 2, 1},
          std::vector<std::int32_t>{6, 5, 2, 1}, std::vector<std::int32_t>{12, 1, 1, 1},
          std::vector<std::int32_t>{4, 3, 2, 2, 1}}) {
        for (int trial = 0; trial < 3; ++trial) {
            const Extended s0 = RandomObservedS(sizes, rng);
            const KruskalWallisKeyProblem problem = KeyProblem(sizes, s0);
            ExactProgress progress;
            KruskalWallisTally a;
            KruskalWallisTally b;
            KruskalWallisTally c;
            KruskalWallisTally d;
            ASSERT_TRUE(CountByRanks(problem, progress, a));
            ASSERT_TRUE(CountBySmallerGroups(problem, progress, b));
            ASSERT_TRUE(CountByCoincidences(problem, progress, c));
            ASSERT_TRUE(CountByHalves(problem, progress, d));
            EXPECT_EQ(a.visited, b.visited);
            EXPECT_EQ(a.visited, d.visited);
            EXPECT_EQ(static_cast<Extended>(a.visited), problem.arrangements);
            EXPECT_EQ(a.extreme, b.extreme);
            EXPECT_EQ(a.extreme, c.extreme);
            EXPECT_EQ(a.extreme, d.extreme);
        }
    }
}

}  // namespace
}  // namespace zelkon
