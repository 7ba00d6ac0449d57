// The ways the exact Kruskal-Wallis P value is counted without visiting every division of
// the ranks one by one: rank by rank, over the smaller groups, by coinciding ranks, by
// removal from a generating function and by sets of ranks.  All work on the integer key
// L x S of a division, where S is the sum of R_j^2 / n_j and L the least common multiple of
// the group sizes, so that "at least as extreme" is decided in exact integer arithmetic.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "analyses/groups/rank_multi.h"
#include "core/types.h"

namespace zelkon {

/// What both counts need to know.
struct KruskalWallisKeyProblem {
    std::vector<std::int32_t> sizes;    ///< every group with data (at least one)
    std::vector<std::int64_t> weights;  ///< L / n_j for each group
    std::int64_t threshold = 0;         ///< a division is extreme when its key >= threshold
    std::int32_t n = 0;                 ///< N, the number of ranks
    std::int64_t rankTotal = 0;         ///< N (N + 1) / 2
    Extended arrangements = 0;          ///< N! / (n_1! ... n_k!)
};

/// Divisions visited and divisions at least as extreme as the observed one.
struct KruskalWallisTally {
    std::uint64_t visited = 0;
    std::uint64_t extreme = 0;
};

/// C(n, k) in extended arithmetic, as a product of min(k, n - k) ratios (for the estimates and
/// bounds of the counts, where a rounding in the last place does not matter); 0 when k < 0
/// or k > n.
inline Extended BinomialEstimate(std::int32_t n, std::int32_t k) {
    if (k < 0 || k > n) return 0;
    k = std::min(k, n - k);
    Extended c = 1;
    for (std::int32_t i = 1; i <= k; ++i) c = c * (n - k + i) / i;
    return c;
}

/// The integers x in [lo, hi] with a x^2 + b x + c < 0 (a > 0) form the interval [low, high];
/// false when there are none.  The roots are only estimated (in double, which keeps the x87
/// control word out of the innermost loops that call this); the exact integer values of the
/// quadratic settle the ends.
inline bool BelowInterval(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t lo,
                          std::int64_t hi, std::int64_t& low, std::int64_t& high) {
    auto f = [&](std::int64_t x) { return (a * x + b) * x + c; };
    // The integer in [lo, hi] nearest below x (truncation, corrected for negative values).
    const auto nearest = [&](double x) {
        const double within =
            std::clamp(x, static_cast<double>(lo) - 1, static_cast<double>(hi) + 1);
        const auto truncated = static_cast<std::int64_t>(within);
        return std::clamp(truncated - (static_cast<double>(truncated) > within ? 1 : 0), lo, hi);
    };
    const double vertex = -static_cast<double>(b) / (2 * static_cast<double>(a));
    std::int64_t middle = nearest(vertex);
    if (middle < hi && f(middle + 1) < f(middle)) ++middle;
    if (f(middle) >= 0) return false;
    const double disc = static_cast<double>(b) * static_cast<double>(b) -
                        4 * static_cast<double>(a) * static_cast<double>(c);
    const double half = std::sqrt(std::max(disc, 0.0)) / (2 * static_cast<double>(a));
    low = std::min(nearest(vertex - half), middle);
    while (low > lo && f(low - 1) < 0) --low;
    while (f(low) >= 0) ++low;
    high = std::max(nearest(vertex + half), middle);
    while (high < hi && f(high + 1) < 0) ++high;
    while (f(high) >= 0) --high;
    return true;
}

/// The same for a run of quadratics a x^2 + b x + c of one a: each interval is found by
/// moving the ends of the one before (a few exact evaluations when the quadratics change a
/// little from one to the next), from a point inside it near the vertex.
class WalkedInterval {
  public:
    explicit WalkedInterval(std::int64_t a) : a_(a), scale_(-0.5 / static_cast<double>(a)) {}

    /// False when no integer of [lo, hi] is below zero.
    bool Find(std::int64_t b, std::int64_t c, std::int64_t lo, std::int64_t hi,
              std::int64_t& low, std::int64_t& high) {
        auto f = [&](std::int64_t x) { return (a_ * x + b) * x + c; };
        // The least value over the integers is at the floor or the ceiling of the vertex:
        // the vertex truncated (within [lo, hi]) or one beside it.
        const double vertex = std::clamp(static_cast<double>(b) * scale_,
                                         static_cast<double>(lo), static_cast<double>(hi));
        std::int64_t seed = std::clamp(static_cast<std::int64_t>(vertex), lo, hi);
        if (f(seed) >= 0) {
            if (seed > lo && f(seed - 1) < 0) {
                --seed;
            } else if (seed < hi && f(seed + 1) < 0) {
                ++seed;
            } else {
                open_ = false;
                return false;
            }
        }
        if (!open_) {
            low_ = seed;
            high_ = seed;
            open_ = true;
        }
        low_ = std::clamp(std::min(low_, seed), lo, hi);
        high_ = std::clamp(std::max(high_, seed), lo, hi);
        while (low_ > lo && f(low_ - 1) < 0) --low_;
        while (f(low_) >= 0) ++low_;
        while (high_ < hi && f(high_ + 1) < 0) ++high_;
        while (f(high_) >= 0) --high_;
        low = low_;
        high = high_;
        return true;
    }

  private:
    std::int64_t a_;
    double scale_;  ///< -1 / (2a): the vertex is b times this
    bool open_ = false;
    std::int64_t low_ = 0;
    std::int64_t high_ = 0;
};

/// One of the groups that share a set of ranks (the ranks of several groups chosen as one
/// set, then shared out among them).
struct ShareGroup {
    std::int32_t size = 0;
    std::int64_t weight = 0;
    bool followsEqual = false;  ///< the group before it has the same size
};

/// The ways the groups share the positions 0..m-1 of a set in increasing order (m the sum of
/// their sizes), groups of equal size (next to each other) taking their first positions in
/// order, so that each way stands for every order of them: for each way, the positions of
/// the first group, then those of the second, and so on (m positions a way).
std::vector<std::uint8_t> SharePatterns(const std::vector<ShareGroup>& groups, std::int32_t m);

/// The number of orders of the groups of equal size (the product of the factorials of the
/// runs) and the number of ways SharePatterns gives.
Extended ShareOrders(const std::vector<ShareGroup>& groups);
Extended ShareWays(const std::vector<ShareGroup>& groups);

/// Estimated cost of each way, in comparable units (nanoseconds on an ordinary machine).
/// A way that cannot run within its memory gives infinity.
Extended CostByRanks(const KruskalWallisKeyProblem& problem);
Extended CostBySmallerGroups(const KruskalWallisKeyProblem& problem);
Extended CostByCoincidences(const KruskalWallisKeyProblem& problem);
Extended CostByRemoval(const KruskalWallisKeyProblem& problem);
Extended CostBySets(const KruskalWallisKeyProblem& problem);
/// A lower bound on CostByCoincidences that is quick to find (the cost itself runs through
/// every partition of the small groups' ranks): the cost of the partition into single ranks,
/// one of its terms.
Extended CostFloorByCoincidences(const KruskalWallisKeyProblem& problem);

/// Rank by rank: a dynamic programme over the ranks 1..N in which the state is the size and
/// rank sum of every group but the largest (whose rank sum follows from the others).  False
/// when the progress gate stopped it.
bool CountByRanks(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                  KruskalWallisTally& tally);

/// Smaller groups: the ranks of every group but the largest are chosen (groups of equal size
/// taken in the order of their smallest rank and counted once for every order), and the last
/// rank chosen is counted in closed form, the key being a convex quadratic in it.  False when
/// the progress gate stopped it.
bool CountBySmallerGroups(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                          KruskalWallisTally& tally);

/// By coincidences, for a large group beside a few small ones: the ranks of the small groups
/// are counted as if they could repeat, and the repeats are taken out again by inclusion and
/// exclusion over the ways ranks can coincide; the key being a quadratic, the sum of the last
/// kind of free ranks is counted in closed form.  False when the progress gate stopped it
/// (or the small groups hold too many ranks for it: then its cost is infinite).
bool CountByCoincidences(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                         KruskalWallisTally& tally);

/// By removal, for two or three large groups beside smaller ones: one large group takes
/// the ranks left, one or two others are held in one generating function of all ranks, and
/// the ranks of the other groups, chosen as a set, are removed from it by polynomial
/// division; every way the other groups share a set is then counted over the ranks left.
/// False when the progress gate stopped it (or the function would not fit its memory: then
/// its cost is infinite).
bool CountByRemoval(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                    KruskalWallisTally& tally);

/// By sets, for many small groups among few ranks: the groups are split into two sides, and
/// for every set of ranks of the first side the ways each side shares out its set are
/// listed by key and met.  False when the progress gate stopped it (or there are more than
/// 62 ranks: then its cost is infinite).
bool CountBySets(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                 KruskalWallisTally& tally);

/// The counts by removal and by sets choose among several ways of dividing the groups into
/// their parts (the cheapest by estimate).  Every choice that can run counts alike; these
/// run a given one (choice < RemovalChoices / SetsChoices) so that each can be checked.
std::size_t RemovalChoices(const KruskalWallisKeyProblem& problem);
bool CountByRemoval(const KruskalWallisKeyProblem& problem, std::size_t choice,
                    ExactProgress& progress, KruskalWallisTally& tally);
std::size_t SetsChoices(const KruskalWallisKeyProblem& problem);
bool CountBySets(const KruskalWallisKeyProblem& problem, std::size_t choice,
                 ExactProgress& progress, KruskalWallisTally& tally);

}  // namespace zelkon
