// The exact Friedman counts against a brute-force enumerator kept here (every row gives the
// ranks 1..c to the columns in every order, one assignment at a time), the limits on
// columns and assignments, and a published exact P value.
#include "analyses/groups/friedman_exact.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "core/calc_status.h"

namespace zelkon {
namespace {

struct BruteCount {
    std::int64_t visited = 0;
    std::int64_t extreme = 0;
};

void Brute(std::int32_t row, std::int32_t rows,
           const std::vector<std::vector<std::int32_t>>& orders, std::vector<Extended>& sums,
           Extended q0, BruteCount& out) {
    if (row == rows) {
        Extended q = 0;
        for (const Extended s : sums) q += s * s;
        ++out.visited;
        if (q - q0 >= -1e-8L) ++out.extreme;
        return;
    }
    for (const auto& order : orders) {
        for (std::size_t j = 0; j < sums.size(); ++j) sums[j] += order[j];
        Brute(row + 1, rows, orders, sums, q0, out);
        for (std::size_t j = 0; j < sums.size(); ++j) sums[j] -= order[j];
    }
}

BruteCount BruteForce(std::int32_t rows, std::int32_t columns, Extended q0) {
    std::vector<std::vector<std::int32_t>> orders;
    std::vector<std::int32_t> ranks(static_cast<std::size_t>(columns));
    std::iota(ranks.begin(), ranks.end(), 1);
    do {
        orders.push_back(ranks);
    } while (std::next_permutation(ranks.begin(), ranks.end()));
    std::vector<Extended> sums(static_cast<std::size_t>(columns), 0);
    BruteCount out;
    Brute(0, rows, orders, sums, q0, out);
    return out;
}

/// Q of one random assignment.
Extended RandomObservedQ(std::int32_t rows, std::int32_t columns, std::mt19937& rng) {
    std::vector<Extended> sums(static_cast<std::size_t>(columns), 0);
    std::vector<std::int32_t> ranks(static_cast<std::size_t>(columns));
    for (std::int32_t i = 0; i < rows; ++i) {
        std::iota(ranks.begin(), ranks.end(), 1);
        std::shuffle(ranks.begin(), ranks.end(), rng);
        for (std::size_t j = 0; j < sums.size(); ++j) sums[j] += ranks[j];
    }
    Extended q = 0;
    for (const Extended s : sums) q += s * s;
    return q;
}

class StillClock : public Clock {
  public:
    std::int64_t NowMs() override { return 1000000; }
};

struct FriedmanExactTest : ::testing::Test {
    StillClock clock;
    void SetUp() override {
        GlobalCalcStatus().SetClock(&clock);
        GlobalCalcStatus().BeginCalculation();
        BeginExactCalculation(0.5L);
    }
    void TearDown() override {
        EndExactCalculation();
        GlobalCalcStatus().EndCalculation();
        GlobalCalcStatus().SetClock(nullptr);
    }
};

TEST_F(FriedmanExactTest, LimitsOnColumnsAndAssignments) {
    Extended total = 0;
    // (3!)^11 = 362,797,056 is within 1,000,000,000, (3!)^12 = 2,176,782,336 is not.
    ASSERT_TRUE(FriedmanArrangements(11, 3, total));
    EXPECT_EQ(total, 362797056);
    EXPECT_FALSE(FriedmanArrangements(12, 3, total));
    // (6!)^3 = 373,248,000; seven columns are refused even for two rows.
    ASSERT_TRUE(FriedmanArrangements(3, 6, total));
    EXPECT_EQ(total, 373248000);
    EXPECT_FALSE(FriedmanArrangements(2, 7, total));
    EXPECT_EQ(FriedmanExactP(2, 7, 0).status, ExactStatusTooLong);
    EXPECT_EQ(FriedmanExactP(12, 3, 0).status, ExactStatusTooLong);
    ASSERT_TRUE(FriedmanArrangements(2, 2, total));
    EXPECT_EQ(total, 4);
}

TEST_F(FriedmanExactTest, BothMethodsCountAsTheBruteForce) {
    std::mt19937 rng(99);
    const std::vector<std::pair<std::int32_t, std::int32_t>> designs = {
        {2, 2}, {5, 2}, {12, 2}, {2, 3}, {3, 3}, {5, 3}, {6, 3}, {2, 4}, {3, 4}, {2, 5}, {2, 6}};
    for (const auto& [rows, columns] : designs) {
        for (int trial = 0; trial < 4; ++trial) {
            const Extended q0 = RandomObservedQ(rows, columns, rng);
            const BruteCount brute = BruteForce(rows, columns, q0);
            SCOPED_TRACE(::testing::Message() << rows << " rows, " << columns << " columns, Q0 "
                                              << static_cast<double>(q0));
            for (const FriedmanExact& exact : {FriedmanExactP(rows, columns, q0),
                                               EnumerateFriedmanCompositions(rows, columns, q0)}) {
                ASSERT_EQ(exact.status, ExactStatusExact);
                EXPECT_EQ(exact.visited, brute.visited);
                EXPECT_EQ(exact.extreme, brute.extreme);
                EXPECT_EQ(static_cast<Extended>(exact.visited), exact.arrangements);
            }
        }
    }
}

TEST_F(FriedmanExactTest, LargestDesignsAgreeBetweenTheMethods) {
    // Beyond the brute force: the count and the enumeration over compositions are different
    // algorithms (c = 3 with 11 rows is the largest design allowed for three columns).
    std::mt19937 rng(5);
    for (const auto& [rows, columns] :
         {std::pair{2, 6}, std::pair{3, 5}, std::pair{11, 3}, std::pair{6, 4}}) {
        const Extended q0 = RandomObservedQ(rows, columns, rng);
        const FriedmanExact counted = FriedmanExactP(rows, columns, q0);
        const FriedmanExact enumerated = EnumerateFriedmanCompositions(rows, columns, q0);
        ASSERT_EQ(counted.status, ExactStatusExact);
        ASSERT_EQ(enumerated.status, ExactStatusExact);
        EXPECT_EQ(counted.visited, enumerated.visited);
        EXPECT_EQ(static_cast<Extended>(counted.visited), counted.arrangements);
        EXPECT_EQ(counted.extreme, enumerated.extreme);
    }
}

TEST_F(FriedmanExactTest, PublishedExactValue) {
    // Three treatments, three blocks: Fr >= 6.0 has exact P = 6/216 = 0.0278 (tables of the
    // exact Friedman distribution).  Fr = 6 is Q = (6 + 3 r (c + 1)) r c (c + 1) / 12 = 126.
    const FriedmanExact exact = FriedmanExactP(3, 3, 126);
    EXPECT_EQ(exact.visited, 216);
    EXPECT_EQ(exact.extreme, 6);
    // Two columns and two rows: four assignments; the largest Q (rank sums 2 and 4) is
    // reached by two of them.
    const FriedmanExact small = FriedmanExactP(2, 2, 20);
    EXPECT_EQ(small.visited, 4);
    EXPECT_EQ(small.extreme, 2);
    EXPECT_EQ(small.p, 0.5L);
}

}  // namespace
}  // namespace zelkon
