// The exact Kruskal-Wallis count over the smaller groups.  The largest group takes whatever
// ranks the others leave, so only the ranks of the other groups are chosen, group by group,
// each group's ranks in increasing order.  Groups of equal size are interchangeable (the
// statistic does not change when their ranks are swapped): they are taken in the order of
// their smallest rank, and each division found stands for every order of them.  The last
// rank of the last group is not chosen one by one: with everything else fixed the key is a
// convex quadratic in it, so the ranks that are not extreme form one interval, and the free
// ranks inside and outside it are counted directly.  The statistic is also the same when
// every rank r becomes N + 1 - r, which turns a choice whose ranks sum to C into one whose
// ranks sum to m (N + 1) - C (m ranks chosen): only choices with 2 C <= m (N + 1) are
// visited, those below counting twice.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"

namespace zelkon {

namespace {

/// Cost of one choice of all ranks but the last (nanoseconds, measured).
constexpr Extended LeafCost = 32.0L;
/// Progress is reported every this many such choices.
constexpr std::uint64_t ReportInterval = 1 << 12;

/// The number of bits set (without a library call on processors lacking the instruction).
std::int64_t BitCount(std::uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555u);
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<std::int64_t>((x * 0x0101010101010101u) >> 56);
}

struct SmallGroup {
    std::int32_t size = 0;
    std::int64_t weight = 0;
    bool followsEqual = false;  ///< the group before it has the same size
    std::int64_t sum = 0;       ///< rank sum so far
    std::int32_t first = 0;     ///< smallest rank
    std::int32_t last = 0;      ///< largest rank so far
};

/// The groups but the largest, largest first, and the number of orders of equal groups.
struct SmallerGroupsLayout {
    std::vector<SmallGroup> groups;
    std::int32_t bigSize = 0;
    std::int64_t bigWeight = 0;
    Extended orders = 1;      ///< product over sizes of (number of groups of that size)!
    std::int32_t chosen = 0;  ///< ranks of the smaller groups
};

SmallerGroupsLayout MakeLayout(const KruskalWallisKeyProblem& problem) {
    std::vector<std::size_t> order(problem.sizes.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return problem.sizes[a] > problem.sizes[b];
    });
    SmallerGroupsLayout layout;
    layout.bigSize = problem.sizes[order[0]];
    layout.bigWeight = problem.weights[order[0]];
    std::int32_t run = 0;
    for (std::size_t i = 1; i < order.size(); ++i) {
        SmallGroup g;
        g.size = problem.sizes[order[i]];
        g.weight = problem.weights[order[i]];
        g.followsEqual = !layout.groups.empty() && layout.groups.back().size == g.size;
        run = g.followsEqual ? run + 1 : 1;
        layout.orders *= run;
        layout.chosen += g.size;
        layout.groups.push_back(g);
    }
    return layout;
}

class SmallerGroupsCount {
  public:
    SmallerGroupsCount(const KruskalWallisKeyProblem& problem, ExactProgress& progress)
        : problem_(problem),
          layout_(MakeLayout(problem)),
          progress_(progress),
          used_(static_cast<std::size_t>(problem.n) + 2, false),
          last_(layout_.groups.empty() ? 1 : layout_.groups.back().weight + layout_.bigWeight) {
        canonicalTotal_ = std::max(problem.arrangements / layout_.orders, Extended{1});
        middle_ = static_cast<std::int64_t>(layout_.chosen) * (problem.n + 1);
    }

    bool Run(KruskalWallisTally& tally) {
        if (layout_.groups.empty()) {
            // One group: one division.
            const std::int64_t key = layout_.bigWeight * problem_.rankTotal * problem_.rankTotal;
            tally.visited = 1;
            tally.extreme = key >= problem_.threshold ? 1 : 0;
            return progress_.Report(100);
        }
        if (!Choose(0, 0)) return false;
        const auto orders = static_cast<std::uint64_t>(layout_.orders);
        tally.visited = visited_ * orders;
        tally.extreme = extreme_ * orders;
        return true;
    }

  private:
    /// Chooses the rank at `position` of group `g`.
    bool Choose(std::size_t g, std::int32_t position) {
        SmallGroup& group = layout_.groups[g];
        std::int32_t from = 1;
        if (position > 0) {
            from = group.last + 1;
        } else if (group.followsEqual) {
            from = layout_.groups[g - 1].first + 1;
        }
        const bool lastGroup = g + 1 == layout_.groups.size();
        if (lastGroup && position == group.size - 1) return CountLast(group, from);

        // Room for the ranks of this group still to come.
        const std::int32_t to = problem_.n - (group.size - position - 1);
        const bool completes = position == group.size - 1;
        // The least the ranks still to come can add, given this one: rest + slope x rank.
        std::int64_t rest = 0;
        std::int64_t slope = 0;
        LeastRest(g, position, rest, slope);
        for (std::int32_t rank = from; rank <= to; ++rank) {
            // Beyond the reflected half, for this rank and every larger one.
            if (2 * (chosenSum_ + rank + rest + slope * rank) > middle_) break;
            if (used_[static_cast<std::size_t>(rank)]) continue;
            used_[static_cast<std::size_t>(rank)] = true;
            placed_.push_back(rank);
            if (rank <= 64) placedMask_ |= std::uint64_t{1} << (rank - 1);
            const std::int32_t previousLast = group.last;
            if (position == 0) group.first = rank;
            group.last = rank;
            group.sum += rank;
            chosenSum_ += rank;
            bool go = true;
            if (completes) {
                const std::int64_t part = group.weight * group.sum * group.sum;
                keyDone_ += part;
                go = Choose(g + 1, 0);
                keyDone_ -= part;
            } else {
                go = Choose(g, position + 1);
            }
            chosenSum_ -= rank;
            group.sum -= rank;
            group.last = previousLast;
            placed_.pop_back();
            if (rank <= 64) placedMask_ &= ~(std::uint64_t{1} << (rank - 1));
            used_[static_cast<std::size_t>(rank)] = false;
            if (!go) return false;
        }
        return true;
    }

    /// A lower bound on the sum of the ranks still to choose once group g has a rank x at
    /// `position`, as rest + slope x: the group's later ranks lie above x; a group of the size
    /// of the one before it opens above that one's first rank (each rank of it is at least
    /// that far up); any other group has at least the ranks 1, 2, ...
    void LeastRest(std::size_t g, std::int32_t position, std::int64_t& rest,
                   std::int64_t& slope) const {
        const std::int64_t later = layout_.groups[g].size - position - 1;
        slope = later;
        rest = later * (later + 1) / 2;
        // The first rank of the group, as offset + (slope of x) x.
        const bool opens = position == 0;
        std::int64_t first = opens ? 0 : layout_.groups[g].first;
        bool chain = true;
        for (std::size_t h = g + 1; h < layout_.groups.size(); ++h) {
            const std::int64_t size = layout_.groups[h].size;
            chain = chain && layout_.groups[h].followsEqual;
            if (!chain) {
                rest += size * (size + 1) / 2;
                continue;
            }
            first += 1;
            rest += size * first + size * (size - 1) / 2;
            if (opens) slope += size;
        }
    }

    /// The ranks already chosen within [low, high] (low >= 1): by their bit mask while
    /// the ranks fit 64 bits, otherwise one by one (there are few of them then).
    std::int64_t PlacedWithin(std::int64_t low, std::int64_t high) const {
        if (problem_.n <= 64) {
            const std::uint64_t upTo =
                high >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << high) - 1;
            const std::uint64_t below = (std::uint64_t{1} << (low - 1)) - 1;
            return BitCount(placedMask_ & upTo & ~below);
        }
        std::int64_t count = 0;
        for (const std::int32_t rank : placed_) count += rank >= low && rank <= high ? 1 : 0;
        return count;
    }

    /// Counts the choices of the last rank x >= from of the last group: twice those that
    /// leave the chosen ranks below the reflected half, once the one that meets it.
    bool CountLast(const SmallGroup& group, std::int32_t from) {
        const std::int64_t lo = from;
        // 2 (chosen + x) < middle for x <= below; x = tie meets it when middle is even.
        const std::int64_t twice = middle_ - 2 * chosenSum_;
        const std::int64_t below = twice > 0 ? (twice - 1) / 2 : -1;
        const std::int64_t tie = twice % 2 == 0 ? twice / 2 : -1;
        // key(x) - threshold = a x^2 + b x + c, with a = w + w_big the same for every call
        // and D the ranks' total left for the largest group before x is taken from it.
        const std::int64_t d = problem_.rankTotal - chosenSum_;
        const std::int64_t b = 2 * (group.weight * group.sum - layout_.bigWeight * d);
        const std::int64_t c = keyDone_ + group.weight * group.sum * group.sum +
                               layout_.bigWeight * d * d - problem_.threshold;
        const std::int64_t hi = std::min<std::int64_t>(problem_.n, below);
        if (lo <= hi) {
            const std::int64_t free = (hi - lo + 1) - PlacedWithin(lo, hi);
            std::int64_t low = 0;
            std::int64_t high = -1;
            std::int64_t inside = 0;
            if (last_.Find(b, c, lo, hi, low, high)) {
                inside = (high - low + 1) - PlacedWithin(low, high);
            }
            visited_ += 2 * static_cast<std::uint64_t>(free);
            extreme_ += 2 * static_cast<std::uint64_t>(free - inside);
        }
        if (tie >= lo && tie <= problem_.n && !used_[static_cast<std::size_t>(tie)]) {
            ++visited_;
            if ((group.weight + layout_.bigWeight) * tie * tie + b * tie + c >= 0) ++extreme_;
        }
        if (++leaves_ % ReportInterval != 0) return true;
        return progress_.Report(static_cast<Extended>(visited_) * 100 / canonicalTotal_);
    }

    const KruskalWallisKeyProblem& problem_;
    SmallerGroupsLayout layout_;
    ExactProgress& progress_;
    std::vector<bool> used_;
    std::vector<std::int32_t> placed_;
    std::uint64_t placedMask_ = 0;  ///< bit r - 1 for a chosen rank r <= 64
    std::int64_t chosenSum_ = 0;
    std::int64_t middle_ = 0;  ///< m (N + 1): twice the chosen ranks' sum meets its reflection
    std::int64_t keyDone_ = 0;  ///< key parts of the completed smaller groups
    std::uint64_t visited_ = 0;
    std::uint64_t extreme_ = 0;
    std::uint64_t leaves_ = 0;
    Extended canonicalTotal_ = 1;
    WalkedInterval last_;  ///< the last ranks that are not extreme, from the call before
};

}  // namespace

Extended CostBySmallerGroups(const KruskalWallisKeyProblem& problem) {
    const SmallerGroupsLayout layout = MakeLayout(problem);
    if (layout.groups.empty()) return 0;
    const Extended canonical = problem.arrangements / layout.orders;
    // Of the choices of the last group's ranks, one in (free ranks / its size) leaves the
    // last rank to the closed form.
    const std::int32_t lastSize = layout.groups.back().size;
    const Extended free = problem.n - layout.chosen + lastSize;
    // About half the choices are visited, the others being their reflections.
    return canonical * lastSize / free * LeafCost / 2;
}

bool CountBySmallerGroups(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                          KruskalWallisTally& tally) {
    tally = KruskalWallisTally{};
    SmallerGroupsCount count(problem, progress);
    return count.Run(tally);
}

}  // namespace zelkon
