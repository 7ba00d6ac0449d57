// The post tests' critical values: the entries every reader relies on, the stored entries
// against upper points computed in R, and every case of the lookup (exact entry,
// interpolation in df, in k, in both, between 120 df and infinity, beyond 500 df, and the
// ends of the tables).
#include <gtest/gtest.h>

#include <cmath>

#include "analyses/groups/critical_tables.h"
#include "analyses/groups/post_test_critical_values.h"

namespace zelkon {
namespace {

constexpr std::int32_t Inf = InfinityRowDf;

// Stored entries are exact decimals of three or four places; the lookup divides them once.
void ExpectValue(Extended actual, double expected) {
    EXPECT_NEAR(static_cast<double>(actual), expected, 1e-12 * std::fabs(expected));
}

TEST(CriticalTables, HoldTheTellingEntries) {
    // The entries quoted for the tables, to the stored precision.
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 1, 2), 17.97);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 2, 2), 6.085);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, Inf, 2), 2.772);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, Inf, 100), 6.085);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P01, 1, 2), 90.03);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P01, Inf, 2), 3.643);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P001, 1, 2), 900.3);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P001, 2, 2), 44.69);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P001, Inf, 2), 4.654);

    ExpectValue(DunnettCritical(DunnettLevel::P05, 5, 2), 2.57);
    ExpectValue(DunnettCritical(DunnettLevel::P05, 5, 21), 4.42);
    ExpectValue(DunnettCritical(DunnettLevel::P05, Inf, 2), 1.96);
    ExpectValue(DunnettCritical(DunnettLevel::P05, Inf, 21), 2.91);
    ExpectValue(DunnettCritical(DunnettLevel::P01, 5, 2), 4.03);
    ExpectValue(DunnettCritical(DunnettLevel::P01, 10, 16), 4.52);
    ExpectValue(DunnettCritical(DunnettLevel::P01, 12, 16), 4.29);
    ExpectValue(DunnettCritical(DunnettLevel::P01, 60, 2), 2.66);
    ExpectValue(DunnettCritical(DunnettLevel::P01, 120, 2), 2.62);
    ExpectValue(DunnettCritical(DunnettLevel::P01, Inf, 2), 2.58);
}

// Upper points from R, each stored entry being one of them rounded to its row's precision
// (within half a storage step).
struct Reference {
    RangeLevel level;
    std::int32_t df;
    std::int32_t k;
    double point;
};

TEST(CriticalTables, StudentizedRangeEntriesRoundRsUpperPoints) {
    // R: qq <- function(a,k,df) uniroot(function(q) ptukey(q,k,df,lower.tail=FALSE)-a,
    //      c(1,60), tol=1e-13)$root  (ptukey is accurate from about 10 df on)
    const Reference references[] = {
        {RangeLevel::P05, 10, 3, 3.87677675002},   {RangeLevel::P05, 20, 3, 3.57793472523},
        {RangeLevel::P05, 24, 3, 3.53169731385},   {RangeLevel::P05, 20, 20, 5.71362546893},
        {RangeLevel::P05, 20, 22, 5.8066946039},   {RangeLevel::P05, 24, 20, 5.59362869773},
        {RangeLevel::P05, 24, 22, 5.6829719753},   {RangeLevel::P05, 120, 3, 3.35613839616},
        {RangeLevel::P05, Inf, 3, 3.31449315541},  {RangeLevel::P05, Inf, 20, 5.01168879309},
        {RangeLevel::P05, Inf, 22, 5.08119315451}, {RangeLevel::P01, 30, 5, 5.04760513195},
        {RangeLevel::P001, 60, 10, 6.45121620729}, {RangeLevel::P05, 40, 100, 6.64543019059},
    };
    for (const Reference& r : references) {
        const double stored = static_cast<double>(StudentizedRangeCritical(r.level, r.df, r.k));
        EXPECT_LE(std::fabs(stored - r.point), 0.0005 + 1e-12) << r.df << " " << r.k;
    }
}

TEST(CriticalTables, DunnettEntriesRoundUpperPointsIntegratedInR) {
    // R: inner <- function(x, K) integrate(function(y) dnorm(y)*(pnorm(y+x)-pnorm(y-x))^K,
    //      -Inf, Inf, rel.tol=1e-13)$value; the tail integrates 1 - inner(sqrt(2) d s, k-1)
    //    over the density 2 df s dchisq(df s^2, df) of s; uniroot for the probability.
    struct DunnettReference {
        DunnettLevel level;
        std::int32_t df;
        std::int32_t k;
        double point;
    };
    const DunnettReference references[] = {
        {DunnettLevel::P05, 10, 3, 2.56833887603},  {DunnettLevel::P05, 20, 21, 3.21511159653},
        {DunnettLevel::P01, 5, 21, 6.5093127891},   {DunnettLevel::P01, 10, 16, 4.51863281516},
        {DunnettLevel::P01, 12, 16, 4.28821268296}, {DunnettLevel::P05, 10, 13, 3.36371155302},
        {DunnettLevel::P05, 10, 16, 3.45437773972}, {DunnettLevel::P01, 20, 2, 2.84533970979},
        {DunnettLevel::P01, 24, 2, 2.79693950477},  {DunnettLevel::P05, 120, 2, 1.97993040508},
        {DunnettLevel::P05, Inf, 2, 1.95996398454},
    };
    for (const DunnettReference& r : references) {
        const double stored = static_cast<double>(DunnettCritical(r.level, r.df, r.k));
        EXPECT_LE(std::fabs(stored - r.point), 0.005 + 1e-12) << r.df << " " << r.k;
    }
}

TEST(CriticalTables, StorageScalesFollowTheRows) {
    EXPECT_EQ(StudentizedRangeDivisor(0, 0), 100);
    EXPECT_EQ(StudentizedRangeDivisor(0, 1), 1000);
    EXPECT_EQ(StudentizedRangeDivisor(1, 0), 100);
    EXPECT_EQ(StudentizedRangeDivisor(2, 0), 10);
    EXPECT_EQ(StudentizedRangeDivisor(2, 1), 100);
    EXPECT_EQ(StudentizedRangeDivisor(2, 2), 1000);
    EXPECT_EQ(StudentizedRangeTables[1][0][0], 9003);  // 90.03 in hundredths
    EXPECT_EQ(StudentizedRangeTables[2][0][0], 9003);  // 900.3 in tenths
    EXPECT_EQ(DunnettBaseHundredths(0, 5), 196);
    EXPECT_EQ(DunnettBaseHundredths(1, 0), 400);
    EXPECT_EQ(DunnettBaseHundredths(1, 1), 370);
    EXPECT_EQ(DunnettBaseHundredths(1, 2), 300);
    EXPECT_EQ(DunnettBaseHundredths(1, 3), 258);
    EXPECT_EQ(DunnettTables[1][0][0], 3);  // 4.03 = 4.00 + 0.03
}

// The lookups below are checked against hand interpolation of the entries they use; the
// entries themselves are the published ones (and R's, above).
TEST(CriticalValueLookup, ExactEntry) {
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 10, 3), 3.877);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 20, 3), 3.578);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 24, 3), 3.532);
    ExpectValue(DunnettCritical(DunnettLevel::P05, 10, 3), 2.57);
    ExpectValue(DunnettCritical(DunnettLevel::P01, 20, 2), 2.85);
    ExpectValue(DunnettCritical(DunnettLevel::P01, 24, 2), 2.80);
}

TEST(CriticalValueLookup, InterpolatesInDf) {
    // df 22 lies halfway between the df 20 (3.578) and df 24 (3.532) rows.
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 22, 3), 3.578 + 0.5 * (3.532 - 3.578));
    // df 21: a quarter of the way.
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 21, 3), 3.578 + 0.25 * (3.532 - 3.578));
    ExpectValue(DunnettCritical(DunnettLevel::P01, 22, 2), 2.825);
}

TEST(CriticalValueLookup, InterpolatesInK) {
    // k 21 halfway between the k 20 (5.714) and k 22 (5.807) columns at df 20.
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 20, 21), 5.714 + 0.5 * (5.807 - 5.714));
    // Dunnett k 14 a third of the way from k 13 to k 16 at df 10 (3.36 and 3.45).
    ExpectValue(DunnettCritical(DunnettLevel::P05, 10, 14), 3.36 + (1.0 / 3.0) * (3.45 - 3.36));
}

TEST(CriticalValueLookup, InterpolatesInDfWithinBothColumnsThenInK) {
    // df 22, k 21: at k 20 (5.714 + 5.594) / 2, at k 22 (5.807 + 5.683) / 2, then halfway.
    const double k20 = 5.714 + 0.5 * (5.594 - 5.714);
    const double k22 = 5.807 + 0.5 * (5.683 - 5.807);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 22, 21), k20 + 0.5 * (k22 - k20));
}

TEST(CriticalValueLookup, BetweenDf120AndInfinityTheInfinityRowCountsAsDf500) {
    // df 200: (200 - 120) / (500 - 120) of the way from 3.356 to 3.314.
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 200, 3),
                3.356 + (80.0 / 380.0) * (3.314 - 3.356));
    // df 300 for Dunnett at 0.05, k 2: from 1.98 to 1.96.
    ExpectValue(DunnettCritical(DunnettLevel::P05, 300, 2), 1.98 + (180.0 / 380.0) * (1.96 - 1.98));
    // df 500 reaches the infinity row itself.
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 500, 3), 3.314);
}

TEST(CriticalValueLookup, BeyondDf500TakesTheInfinityRow) {
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 501, 3), 3.314);
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 100000, 3), 3.314);
    ExpectValue(DunnettCritical(DunnettLevel::P01, 5000, 2), 2.58);
    // ... and interpolates in k there: k 21 between 5.012 and 5.081.
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, 1000, 21), 5.012 + 0.5 * (5.081 - 5.012));
}

TEST(CriticalValueLookup, TheLastColumnsAndBeyond) {
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, Inf, 100), 6.085);
    // Between the k 90 and k 100 columns.
    const double k90 = static_cast<double>(StudentizedRangeCritical(RangeLevel::P05, Inf, 90));
    ExpectValue(StudentizedRangeCritical(RangeLevel::P05, Inf, 95), k90 + 0.5 * (6.085 - k90));
    ExpectValue(DunnettCritical(DunnettLevel::P05, 5, 21), 4.42);
    // No entry beyond the tables: nothing is clamped to a smaller column.
    EXPECT_TRUE(IsMissingValue(StudentizedRangeCritical(RangeLevel::P05, 20, 101)));
    EXPECT_TRUE(IsMissingValue(StudentizedRangeCritical(RangeLevel::P001, Inf, 150)));
    EXPECT_TRUE(IsMissingValue(DunnettCritical(DunnettLevel::P05, 20, 22)));
    EXPECT_TRUE(IsMissingValue(DunnettCritical(DunnettLevel::P01, 20, 26)));
    EXPECT_TRUE(IsMissingValue(StudentizedRangeCritical(RangeLevel::P05, 20, 1)));
    EXPECT_TRUE(IsMissingValue(StudentizedRangeCritical(RangeLevel::P05, 0, 3)));
    EXPECT_TRUE(IsMissingValue(DunnettCritical(DunnettLevel::P05, 4, 3)));
}

}  // namespace
}  // namespace zelkon
