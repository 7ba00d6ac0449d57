// The exact Kruskal-Wallis count in two halves, for many groups of a few ranks each.  The key
// of a division is a sum over the groups, so the groups are split into two halves: every
// way the first half can take ranks is listed with its set of ranks and its part of the key,
// sorted within each set; every way the second half can take ranks then meets exactly the
// ways of the first half that take the ranks it leaves, and those reaching the threshold
// with it are found by binary search.  Groups of equal size within a half are taken in the
// order of their smallest rank and counted once for every order.  The work is the number of
// ways of each half, not their product.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <limits>
#include <utility>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"

namespace zelkon {

namespace {

/// Cost of listing one way of the stored half and of meeting one way of the other half
/// (nanoseconds, measured).
constexpr Extended StoreCost = 32.0L;
constexpr Extended MeetCost = 20.0L;
/// Ways of the stored half kept at most (24 bytes each while they are grouped, 24 MB).
constexpr Extended MostStored = 1.0L * 1024 * 1024;
/// Ranks at most (the sets of ranks are 64-bit masks).
constexpr std::int32_t MostRanks = 62;
/// Groups at most (every split of the groups is tried).
constexpr std::size_t MostGroups = 13;
/// Progress is reported every this many ways.
constexpr std::uint64_t ReportInterval = 1 << 14;

/// C(n, k) as an estimate (exact while it stays below 2^64).
Extended Choose(std::int32_t n, std::int32_t k) {
    Extended c = 1;
    for (std::int32_t i = 1; i <= k; ++i) c = c * (n - k + i) / i;
    return c;
}

struct HalfGroup {
    std::int32_t size = 0;
    std::int64_t weight = 0;
    bool followsEqual = false;  ///< the group before it in its half has the same size
    std::int32_t first = 0;
    std::int32_t last = 0;
    std::int64_t sum = 0;
};

/// The groups of one half (equal sizes next to each other) and the number of orders of its
/// groups of equal size.
struct Half {
    std::vector<HalfGroup> groups;
    std::int32_t ranks = 0;
    Extended orders = 1;
    Extended ways = 0;  ///< canonical ways to take ranks from 1..N
};

Half MakeHalf(const KruskalWallisKeyProblem& problem, std::uint32_t members) {
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < problem.sizes.size(); ++i) {
        if ((members >> i) & 1u) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return problem.sizes[a] > problem.sizes[b];
    });
    Half half;
    std::int32_t run = 0;
    Extended multinomial = 1;
    for (const std::size_t i : order) {
        HalfGroup g;
        g.size = problem.sizes[i];
        g.weight = problem.weights[i];
        g.followsEqual = !half.groups.empty() && half.groups.back().size == g.size;
        run = g.followsEqual ? run + 1 : 1;
        half.orders *= run;
        half.ranks += g.size;
        multinomial *= Choose(half.ranks, g.size);
        half.groups.push_back(g);
    }
    half.ways = Choose(problem.n, half.ranks) * multinomial / half.orders;
    return half;
}

/// Rank of a set of s ranks among all sets of s ranks (combinatorial number system).
class SetIndex {
  public:
    explicit SetIndex(std::int32_t n)
        : binomial_(static_cast<std::size_t>(n) + 1,
                    std::vector<std::uint64_t>(static_cast<std::size_t>(n) + 2, 0)) {
        for (std::size_t i = 0; i <= static_cast<std::size_t>(n); ++i) {
            binomial_[i][0] = 1;
            for (std::size_t j = 1; j <= i; ++j)
                binomial_[i][j] = binomial_[i - 1][j - 1] + binomial_[i - 1][j];
        }
    }
    std::uint64_t Count(std::int32_t n, std::int32_t s) const {
        return binomial_[static_cast<std::size_t>(n)][static_cast<std::size_t>(s)];
    }
    /// Bit r - 1 of the mask stands for rank r.
    std::uint64_t Of(std::uint64_t mask) const {
        std::uint64_t index = 0;
        std::size_t chosen = 0;
        while (mask != 0) {
            const auto position = static_cast<std::size_t>(std::countr_zero(mask));
            mask &= mask - 1;
            ++chosen;
            index += position >= chosen ? binomial_[position][chosen] : 0;
        }
        return index;
    }

  private:
    std::vector<std::vector<std::uint64_t>> binomial_;
};

/// Runs through the canonical ways a half takes ranks from 1..N, calling visit(mask, key).
/// The visit returns false to stop.
template <typename Visit>
class HalfWays {
  public:
    HalfWays(Half& half, std::int32_t n, Visit& visit) : half_(half), n_(n), visit_(visit) {}
    bool Run() {
        return half_.groups.empty() ? visit_(std::uint64_t{0}, std::int64_t{0}) : Choose(0, 0);
    }

  private:
    bool Choose(std::size_t g, std::int32_t position) {
        HalfGroup& group = half_.groups[g];
        std::int32_t from = 1;
        if (position > 0) {
            from = group.last + 1;
        } else if (group.followsEqual) {
            from = half_.groups[g - 1].first + 1;
        }
        const std::int32_t to = n_ - (group.size - position - 1);
        const bool completes = position == group.size - 1;
        const bool lastGroup = g + 1 == half_.groups.size();
        for (std::int32_t rank = from; rank <= to; ++rank) {
            const std::uint64_t bit = std::uint64_t{1} << (rank - 1);
            if ((mask_ & bit) != 0) continue;
            mask_ |= bit;
            const std::int32_t previousLast = group.last;
            if (position == 0) group.first = rank;
            group.last = rank;
            group.sum += rank;
            bool go = true;
            if (completes) {
                const std::int64_t part = group.weight * group.sum * group.sum;
                key_ += part;
                go = lastGroup ? visit_(mask_, key_) : Choose(g + 1, 0);
                key_ -= part;
            } else {
                go = Choose(g, position + 1);
            }
            group.sum -= rank;
            group.last = previousLast;
            mask_ &= ~bit;
            if (!go) return false;
        }
        return true;
    }

    Half& half_;
    std::int32_t n_;
    Visit& visit_;
    std::uint64_t mask_ = 0;
    std::int64_t key_ = 0;
};

/// The cheapest split: the groups of `stored` are listed, the others met.
struct Split {
    std::uint32_t stored = 0;
    Extended cost = std::numeric_limits<Extended>::infinity();
};

Split BestSplit(const KruskalWallisKeyProblem& problem) {
    Split best;
    const std::size_t k = problem.sizes.size();
    if (k < 2 || k > MostGroups || problem.n > MostRanks) return best;
    const std::uint32_t all = (1u << k) - 1u;
    for (std::uint32_t stored = 1; stored < all; ++stored) {
        const Half a = MakeHalf(problem, stored);
        const Half b = MakeHalf(problem, all & ~stored);
        if (a.ways > MostStored) continue;
        const Extended cost = a.ways * StoreCost + b.ways * MeetCost;
        if (cost < best.cost) best = {stored, cost};
    }
    return best;
}

}  // namespace

Extended CostByHalves(const KruskalWallisKeyProblem& problem) {
    return BestSplit(problem).cost;
}

bool CountByHalves(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                   KruskalWallisTally& tally) {
    tally = KruskalWallisTally{};
    const Split split = BestSplit(problem);
    if (split.stored == 0) return false;
    const std::uint32_t all = (1u << problem.sizes.size()) - 1u;
    Half stored = MakeHalf(problem, split.stored);
    Half met = MakeHalf(problem, all & ~split.stored);
    const SetIndex index(problem.n);
    const std::uint64_t sets = index.Count(problem.n, stored.ranks);
    const Extended work = stored.ways + met.ways;
    std::uint64_t done = 0;
    auto tick = [&]() {
        return ++done % ReportInterval != 0 ||
               progress.Report(static_cast<Extended>(done) * 100 / work);
    };

    // The stored half's keys, listed once with their sets of ranks, then grouped by set
    // (counting sort) and sorted within each set.
    std::vector<std::pair<std::uint32_t, std::int64_t>> listed;
    listed.reserve(static_cast<std::size_t>(stored.ways) + 1);
    auto list = [&](std::uint64_t mask, std::int64_t key) {
        listed.emplace_back(static_cast<std::uint32_t>(index.Of(mask)), key);
        return tick();
    };
    if (!HalfWays(stored, problem.n, list).Run()) return false;
    std::vector<std::uint32_t> start(sets + 1, 0);
    for (const auto& entry : listed) ++start[entry.first + 1];
    for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
    std::vector<std::int64_t> keys(listed.size());
    {
        std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
        for (const auto& entry : listed) keys[fill[entry.first]++] = entry.second;
    }
    listed.clear();
    listed.shrink_to_fit();
    for (std::size_t i = 0; i + 1 < start.size(); ++i) {
        std::sort(keys.begin() + start[i], keys.begin() + start[i + 1]);
    }

    // Every way of the other half meets the stored ways on the ranks it leaves.
    const std::uint64_t full = (std::uint64_t{1} << problem.n) - 1;
    std::uint64_t visited = 0;
    std::uint64_t extreme = 0;
    auto meet = [&](std::uint64_t mask, std::int64_t key) {
        const std::uint64_t i = index.Of(full & ~mask);
        const auto begin = keys.begin() + start[i];
        const auto end = keys.begin() + start[i + 1];
        visited += static_cast<std::uint64_t>(end - begin);
        extreme +=
            static_cast<std::uint64_t>(end - std::lower_bound(begin, end, problem.threshold - key));
        return tick();
    };
    if (!HalfWays(met, problem.n, meet).Run()) return false;
    const auto orders = static_cast<std::uint64_t>(stored.orders * met.orders);
    tally.visited = visited * orders;
    tally.extreme = extreme * orders;
    return progress.Report(100);
}

}  // namespace zelkon
