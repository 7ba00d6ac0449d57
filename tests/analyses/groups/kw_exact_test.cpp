// The exact Kruskal-Wallis counts against a brute-force enumerator kept here: every way of
// giving the ranks 1..N to groups of the given sizes, the statistic computed for each.  Every
// counting method (every way of dividing the groups into its parts), the choice between
// them and the complete enumeration must give its visited and extreme counts exactly, on
// hundreds of random small designs and on observed values that tie with other divisions;
// and the slowest shapes must count as they did before they were made fast.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
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

/// Checks one count against the brute force.
void ExpectTally(const KruskalWallisTally& tally, const BruteCount& brute, const char* method) {
    EXPECT_EQ(tally.visited, brute.visited) << method;
    EXPECT_EQ(tally.extreme, brute.extreme) << method;
}

TEST_F(KruskalWallisExactTest, EveryMethodCountsAsTheBruteForceOnRandomDesigns) {
    // Random designs of one to seven groups of one to five values, each with the statistic
    // of a random division and that statistic just above and below (ties with other
    // divisions and the tolerance of 1E-8).  Every way the counts by removal and by sets
    // can divide the groups into their parts is run, not only the cheapest.
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> groupCount(1, 7);
    // Sizes 1 to 5, the small ones most often (many groups of one or two values are what
    // the counts by removal and by sets are for).
    std::discrete_distribution<int> groupSize({0, 35, 25, 15, 15, 10});
    int designs = 0;
    int withSingletons = 0;
    int withEqualSizes = 0;
    int coincidenceDesigns = 0;
    std::size_t removalChoices = 0;
    std::size_t setsChoices = 0;
    while (designs < 300) {
        std::vector<std::int32_t> sizes(static_cast<std::size_t>(groupCount(rng)));
        for (auto& s : sizes) s = groupSize(rng);
        Extended total = 0;
        if (!KruskalWallisArrangements(sizes, total) || total > 60000) continue;
        ++designs;
        withSingletons += std::count(sizes.begin(), sizes.end(), 1) >= 2 ? 1 : 0;
        std::vector<std::int32_t> sorted = sizes;
        std::sort(sorted.begin(), sorted.end());
        for (std::size_t i = 1; i < sorted.size(); ++i) {
            if (sorted[i] > 1 && sorted[i] == sorted[i - 1]) {
                ++withEqualSizes;
                break;
            }
        }
        const Extended observed = RandomObservedS(sizes, rng);
        for (const Extended s0 : {observed, observed + 1e-9L, observed + 0.01L}) {
            const BruteCount brute = BruteForce(sizes, s0);
            SCOPED_TRACE(::testing::Message() << "design " << designs << " sizes "
                                              << ::testing::PrintToString(sizes) << " S0 "
                                              << static_cast<double>(s0));
            ASSERT_EQ(static_cast<Extended>(brute.visited), total);

            const KruskalWallisKeyProblem problem = KeyProblem(sizes, s0);
            ExactProgress progress;
            KruskalWallisTally tally;
            ASSERT_TRUE(CountByRanks(problem, progress, tally));
            ExpectTally(tally, brute, "rank by rank");
            ASSERT_TRUE(CountBySmallerGroups(problem, progress, tally));
            ExpectTally(tally, brute, "smaller groups");
            // The count by coincidences runs while the small groups hold at most 8 ranks.
            if (CountByCoincidences(problem, progress, tally)) {
                ++coincidenceDesigns;
                ExpectTally(tally, brute, "coincidences");
            }
            for (std::size_t c = 0; c < RemovalChoices(problem); ++c, ++removalChoices) {
                ASSERT_TRUE(CountByRemoval(problem, c, progress, tally));
                ExpectTally(tally, brute, "removal");
            }
            for (std::size_t c = 0; c < SetsChoices(problem); ++c, ++setsChoices) {
                ASSERT_TRUE(CountBySets(problem, c, progress, tally));
                ExpectTally(tally, brute, "sets");
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
    }
    EXPECT_GT(withSingletons, 60);
    EXPECT_GT(withEqualSizes, 60);
    EXPECT_GT(coincidenceDesigns, 600);
    EXPECT_GT(removalChoices, 4000u);
    EXPECT_GT(setsChoices, 3000u);
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

TEST_F(KruskalWallisExactTest, LargeShapesAgreeBetweenTheCounts) {
    // Designs too large for the brute force: the counting methods are independent
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
            KruskalWallisTally byRanks;
            ASSERT_TRUE(CountByRanks(problem, progress, byRanks));
            EXPECT_EQ(static_cast<Extended>(byRanks.visited), problem.arrangements);
            using Count = bool (*)(const KruskalWallisKeyProblem&, ExactProgress&,
                                   KruskalWallisTally&);
            for (const Count count : {Count{CountBySmallerGroups}, Count{CountByCoincidences},
                                      Count{CountByRemoval},
                                      Count{CountBySets}}) {
                KruskalWallisTally tally;
                ASSERT_TRUE(count(problem, progress, tally));
                EXPECT_EQ(tally.visited, byRanks.visited);
                EXPECT_EQ(tally.extreme, byRanks.extreme);
            }
        }
    }
}

/// A clock that moves on by `step` at every reading.
class SteppingClock : public Clock {
  public:
    explicit SteppingClock(std::int64_t step) : step_(step) {}
    std::int64_t NowMs() override { return now_ += step_; }

  private:
    std::int64_t now_ = 0;
    std::int64_t step_;
};

TEST_F(KruskalWallisExactTest, TheLargestCountsStopWhenCancelledOrTooLong) {
    // Each count that visits a choice of ranks or its reflection reports its progress while
    // it runs: with ten minutes between readings of the clock, the first report (below half
    // done) leaves more than 600 seconds, and a cancel request stops it too.
    struct Case {
        std::vector<std::int32_t> sizes;
        KruskalWallisMethod method;
    };
    const Case cases[] = {
        {{4, 4, 3, 2, 2, 1}, KruskalWallisMethod::BySets},
        {{13, 2, 2, 2, 1, 1}, KruskalWallisMethod::ByRemoval},
        {{150, 1, 1, 1, 1}, KruskalWallisMethod::BySmallerGroups},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.sizes));
        std::mt19937 rng(3);
        const Extended s0 = RandomObservedS(c.sizes, rng);
        for (const bool cancel : {false, true}) {
            SteppingClock stepping(cancel ? 1000 : 600000);
            GlobalCalcStatus().SetClock(&stepping);
            GlobalCalcStatus().BeginCalculation();
            if (cancel) GlobalCalcStatus().RequestCancel();
            const KruskalWallisExact exact = KruskalWallisExactP(c.sizes, s0);
            GlobalCalcStatus().EndCalculation();
            GlobalCalcStatus().SetClock(&clock);
            EXPECT_EQ(exact.method, c.method);
            EXPECT_EQ(exact.status, cancel ? ExactStatusCancelled : ExactStatusTooLong);
        }
    }
    GlobalCalcStatus().BeginCalculation();
}

/// The observed division of a slow shape: 0 the ranks in consecutive blocks, 1 dealt round
/// robin (each rank to the next group with room), 2 dealt round robin in the order 1, N, 2,
/// N - 1, ...; its S = sum of R_j^2 / n_j.
Extended DealtS(const std::vector<std::int32_t>& sizes, int kind) {
    const std::int32_t n = std::accumulate(sizes.begin(), sizes.end(), 0);
    std::vector<std::int32_t> order;
    if (kind == 2) {
        for (std::int32_t low = 1, high = n; low <= high;) {
            order.push_back(low++);
            if (low <= high) order.push_back(high--);
        }
    } else {
        for (std::int32_t r = 1; r <= n; ++r) order.push_back(r);
    }
    std::vector<std::int32_t> filled(sizes.size(), 0);
    std::vector<Extended> sums(sizes.size(), 0);
    std::size_t g = 0;
    for (const std::int32_t r : order) {
        while (filled[g] == sizes[g]) g = kind == 0 ? g + 1 : (g + 1) % sizes.size();
        ++filled[g];
        sums[g] += r;
        if (kind != 0) g = (g + 1) % sizes.size();
    }
    Extended s = 0;
    for (std::size_t j = 0; j < sizes.size(); ++j) s += sums[j] * sums[j] / sizes[j];
    return s;
}

TEST_F(KruskalWallisExactTest, TheSlowestShapesCountAsTheyDidBefore) {
    // Shapes that took up to a second to count, with the counts the earlier counting gave
    // (they agree with a complete enumeration of every division), and the shapes slowest
    // after them (each way of counting at its largest: by sets, over the smaller groups, by
    // removal), with the counts of the complete enumeration, in
    // tests/data/kruskal_wallis/slow_shape_counts.txt.
    std::ifstream in(std::string(ZELKON_SOURCE_DIR) +
                     "/tests/data/kruskal_wallis/slow_shape_counts.txt");
    ASSERT_TRUE(in);
    std::string line;
    int cases = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::replace(line.begin(), line.end(), ';', ' ');
        std::replace(line.begin(), line.end(), ',', ' ');
        std::istringstream fields(line);
        std::vector<std::int64_t> numbers;
        for (std::int64_t x = 0; fields >> x;) numbers.push_back(x);
        ASSERT_GE(numbers.size(), 4u) << line;
        const std::vector<std::int32_t> sizes(numbers.begin(), numbers.end() - 3);
        const int kind = static_cast<int>(numbers[numbers.size() - 3]);
        SCOPED_TRACE(line);
        const KruskalWallisExact exact = KruskalWallisExactP(sizes, DealtS(sizes, kind));
        ASSERT_EQ(exact.status, ExactStatusExact);
        EXPECT_EQ(exact.visited, numbers[numbers.size() - 2]);
        EXPECT_EQ(exact.extreme, numbers.back());
        ++cases;
    }
    EXPECT_EQ(cases, 39);
}

}  // namespace
}  // namespace zelkon
