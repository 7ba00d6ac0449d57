// The exact Kruskal-Wallis count by sets, for many small groups among few ranks.  The groups
// are split into two sides.  For every set of ranks the first side can take (the second
// takes the others), the keys of the ways each side can share out its set are listed (a side
// of two groups gathered by the sum of one, its keys then in order by themselves), and the
// pairs of ways whose keys together reach the threshold are counted: the shorter list is
// put in order with a table of where each bucket of its key range starts, and each key of
// the longer list reads how many ways lie at or above what it needs.  Groups of equal size within a side are taken in the order
// of their smallest rank and counted once for every order; when both sides have the same
// sizes, only the sets holding rank 1 are visited, each standing for itself and its
// complement.  The work is the ways of both sides for each set, never their product, and
// the lists of one set are all that is held.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"

namespace zelkon {

namespace {

/// Costs in nanoseconds (measured): a set, a way listed, a rank of a way (or a subset sum
/// and a group of a way), a key of the longer list read against the shorter and a key of
/// the shorter list put in order.
constexpr Extended SetCost = 40.0L;
constexpr Extended WayCost = 1.5L;
constexpr Extended RankCost = 0.5L;
constexpr Extended SubsetCost = 0.6L;  ///< a subset sum, for a side listed from them
constexpr Extended GroupCost = 1.2L;   ///< a group of a way listed from the subset sums
constexpr Extended ReadCost = 2.5L;
constexpr Extended PlaceCost = 4.0L;
constexpr Extended SortCost = 2.0L;  ///< and for each halving of a list sorted
/// Ranks at most (a set is a 64-bit mask) and ways of a side at most (its patterns are held).
constexpr std::int32_t MostRanks = 62;
constexpr Extended MostWays = 200000.0L;
/// Sides of at most this many ranks may read their groups' sums from all subset sums.
constexpr std::int32_t MostMaskedRanks = 16;
/// Progress is reported every this many sets.
constexpr std::uint64_t ReportInterval = 1 << 12;

Extended Binomial(std::int32_t n, std::int32_t k) {
    if (k < 0 || k > n) return 0;
    Extended c = 1;
    for (std::int32_t i = 1; i <= k; ++i) c = c * (n - k + i) / i;
    return c;
}

/// One side: its groups (equal sizes together), its ranks and the ways it shares them.
struct Side {
    std::vector<ShareGroup> groups;
    std::int32_t ranks = 0;
    Extended ways = 1;
    Extended orders = 1;
    /// Two groups: the key follows from the sum of the first, so the ways are gathered by
    /// that sum (items are sums with their numbers of ways); otherwise every way is an item.
    bool bySum = false;
    bool masked = false;  ///< listed from the sums of every subset of its positions
    std::int32_t sums = 0;  ///< sums the first group can have among ranks 1..N (when gathered)
    Extended items = 1;
};

struct SetsPlan {
    Side first;
    Side second;
    bool mirrored = false;  ///< both sides have the same sizes
    Extended sets = 0;
    Extended cost = std::numeric_limits<Extended>::infinity();
};

Side MakeSide(std::int32_t n, const std::vector<std::int32_t>& sizes,
              const std::vector<std::int64_t>& weights, const std::vector<std::int32_t>& counts) {
    Side side;
    for (std::size_t c = 0; c < sizes.size(); ++c) {
        for (std::int32_t i = 0; i < counts[c]; ++i) {
            side.groups.push_back({sizes[c], weights[c], i > 0});
            side.ranks += sizes[c];
        }
    }
    side.ways = ShareWays(side.groups);
    side.orders = ShareOrders(side.groups);
    side.items = side.ways;
    if (side.groups.size() == 2) {
        const std::int32_t first = side.groups[0].size;
        side.bySum = true;
        side.sums = first * (n - first) + 1;
        side.items = std::min(side.ways, static_cast<Extended>(side.sums));
    }
    side.masked = !side.bySum && side.ranks <= MostMaskedRanks &&
                  std::ldexp(Extended{1}, side.ranks) <=
                      2 * side.ways * static_cast<Extended>(side.groups.size());
    return side;
}

/// The plan of one split: `first` and `second` groups of each size class.
SetsPlan MakeSetsPlan(const KruskalWallisKeyProblem& problem,
                      const std::vector<std::int32_t>& sizes,
                      const std::vector<std::int64_t>& weights,
                      const std::vector<std::int32_t>& first,
                      const std::vector<std::int32_t>& second) {
    SetsPlan plan;
    plan.first = MakeSide(problem.n, sizes, weights, first);
    plan.second = MakeSide(problem.n, sizes, weights, second);
    if (plan.first.ways > MostWays || plan.second.ways > MostWays) return plan;
    plan.mirrored = first == second;
    plan.sets = Binomial(problem.n, plan.first.ranks) / (plan.mirrored ? 2 : 1);
    auto listing = [](const Side& s) {
        if (!s.masked) return s.ways * (WayCost + s.ranks * RankCost);
        return std::ldexp(Extended{1}, s.ranks) * SubsetCost +
               s.ways * (WayCost + static_cast<Extended>(s.groups.size()) * GroupCost);
    };
    const bool firstLonger = plan.first.items >= plan.second.items;
    const Side& longer = firstLonger ? plan.first : plan.second;
    const Side& shorter = firstLonger ? plan.second : plan.first;
    // A side gathered by sums comes in order by itself; another is sorted.
    const Extended placing =
        shorter.bySum ? PlaceCost
                      : PlaceCost + SortCost * std::log2(std::max(shorter.items, Extended{2}));
    plan.cost = plan.sets * (SetCost + listing(plan.first) + listing(plan.second) +
                             longer.items * ReadCost + shorter.items * placing);
    return plan;
}

/// Every split of the groups into two sides (each size class shared out in every way) that
/// can run.
std::vector<SetsPlan> SetsPlans(const KruskalWallisKeyProblem& problem) {
    std::vector<SetsPlan> plans;
    if (problem.n > MostRanks || problem.sizes.size() < 2) return plans;
    std::vector<std::int32_t> sizes;
    std::vector<std::int64_t> weights;
    std::vector<std::int32_t> counts;
    for (std::size_t g = 0; g < problem.sizes.size(); ++g) {
        const auto at = std::find(sizes.begin(), sizes.end(), problem.sizes[g]);
        if (at != sizes.end()) {
            ++counts[static_cast<std::size_t>(at - sizes.begin())];
            continue;
        }
        sizes.push_back(problem.sizes[g]);
        weights.push_back(problem.weights[g]);
        counts.push_back(1);
    }
    std::vector<std::int32_t> first(sizes.size(), 0);
    std::vector<std::int32_t> second(sizes.size(), 0);
    while (true) {
        // The next split: count up in the mixed radix of the class counts.
        std::size_t c = 0;
        for (; c < first.size(); ++c) {
            if (++first[c] <= counts[c]) break;
            first[c] = 0;
        }
        if (c == first.size()) break;
        bool emptyFirst = true;
        bool emptySecond = true;
        for (std::size_t i = 0; i < first.size(); ++i) {
            second[i] = counts[i] - first[i];
            emptyFirst = emptyFirst && first[i] == 0;
            emptySecond = emptySecond && second[i] == 0;
        }
        if (emptyFirst || emptySecond) continue;
        SetsPlan plan = MakeSetsPlan(problem, sizes, weights, first, second);
        if (plan.cost < std::numeric_limits<Extended>::infinity()) plans.push_back(std::move(plan));
    }
    return plans;
}

SetsPlan BestSetsPlan(const KruskalWallisKeyProblem& problem) {
    SetsPlan best;
    for (SetsPlan& plan : SetsPlans(problem)) {
        if (plan.cost < best.cost) best = std::move(plan);
    }
    return best;
}

/// Keys with the numbers of ways that have them.
struct Items {
    std::vector<std::int64_t> keys;
    std::vector<std::uint32_t> ways;
    bool ascending = false;  ///< the keys are in increasing order
};

/// The keys of every way a side shares the ranks `set` (in increasing order), gathered by
/// the sum of the first group when the side has two groups.
class SideKeys {
  public:
    explicit SideKeys(const Side& side)
        : side_(side), patterns_(SharePatterns(side.groups, side.ranks)) {
        if (side.bySum) {
            bins_.assign(static_cast<std::size_t>(side.sums), 0);
            return;
        }
        items_.keys.resize(static_cast<std::size_t>(side.ways));
        items_.ways.assign(static_cast<std::size_t>(side.ways), 1);
        // With few ranks, the sums of every subset of the positions are made once a set and
        // each group of a way reads its sum: the way is held as one position mask a group.
        if (side.masked) {
            subsetSums_.resize(std::size_t{1} << side.ranks);
            const std::uint8_t* way = patterns_.data();
            for (std::size_t w = 0; w < items_.keys.size(); ++w) {
                for (std::size_t g = 0; g < side.groups.size(); ++g) {
                    std::uint16_t mask = 0;
                    for (std::int32_t t = 0; t < side.groups[g].size; ++t)
                        mask = static_cast<std::uint16_t>(mask | (1u << *way++));
                    if (g + 1 < side.groups.size()) masks_.push_back(mask);
                }
            }
        }
    }

    const Items& List(const std::int64_t* set) {
        const std::uint8_t* way = patterns_.data();
        const auto ways = static_cast<std::size_t>(side_.ways);
        if (!subsetSums_.empty()) {
            subsetSums_[0] = 0;
            for (std::size_t mask = 1; mask < subsetSums_.size(); ++mask) {
                subsetSums_[mask] = subsetSums_[mask & (mask - 1)] +
                                    set[std::countr_zero(static_cast<unsigned>(mask))];
            }
            // The last group's sum is what the others leave of the set's.
            const std::int64_t all = subsetSums_.back();
            const std::size_t others = side_.groups.size() - 1;
            const std::int64_t lastWeight = side_.groups.back().weight;
            const std::uint16_t* mask = masks_.data();
            for (std::size_t w = 0; w < ways; ++w) {
                std::int64_t total = 0;
                std::int64_t left = all;
                for (std::size_t g = 0; g < others; ++g) {
                    const std::int64_t sum = subsetSums_[mask[g]];
                    left -= sum;
                    total += side_.groups[g].weight * sum * sum;
                }
                mask += others;
                items_.keys[w] = total + lastWeight * left * left;
            }
            return items_;
        }
        if (!side_.bySum) {
            for (std::size_t w = 0; w < ways; ++w) {
                std::int64_t total = 0;
                for (const ShareGroup& group : side_.groups) {
                    std::int64_t sum = 0;
                    for (std::int32_t t = 0; t < group.size; ++t) sum += set[*way++];
                    total += group.weight * sum * sum;
                }
                items_.keys[w] = total;
            }
            return items_;
        }
        const ShareGroup& first = side_.groups[0];
        const ShareGroup& second = side_.groups[1];
        std::int64_t all = 0;
        std::int64_t least = 0;
        for (std::int32_t i = 0; i < side_.ranks; ++i) all += set[i];
        for (std::int32_t i = 0; i < first.size; ++i) least += set[i];
        std::size_t top = 0;
        for (std::size_t w = 0; w < ways; ++w) {
            std::int64_t sum = 0;
            for (std::int32_t t = 0; t < first.size; ++t) sum += set[*way++];
            way += second.size;
            const auto b = static_cast<std::size_t>(sum - least);
            ++bins_[b];
            top = std::max(top, b);
        }
        // The key is a convex function of the sum: from the sum of the least key outward,
        // the keys come in increasing order.
        sums_.clear();
        byBin_.clear();
        for (std::size_t b = 0; b <= top; ++b) {
            if (bins_[b] == 0) continue;
            const std::int64_t sum = least + static_cast<std::int64_t>(b);
            const std::int64_t rest = all - sum;
            sums_.push_back(first.weight * sum * sum + second.weight * rest * rest);
            byBin_.push_back(bins_[b]);
            bins_[b] = 0;
        }
        items_.keys.clear();
        items_.ways.clear();
        const std::size_t lowest =
            static_cast<std::size_t>(std::min_element(sums_.begin(), sums_.end()) - sums_.begin());
        std::size_t left = lowest;   // next below is left - 1
        std::size_t right = lowest;  // next above is right
        while (left > 0 || right < sums_.size()) {
            const bool takeLeft = right == sums_.size() || (left > 0 && sums_[left - 1] < sums_[right]);
            const std::size_t at = takeLeft ? --left : right++;
            items_.keys.push_back(sums_[at]);
            items_.ways.push_back(byBin_[at]);
        }
        items_.ascending = true;
        return items_;
    }

  private:
    const Side& side_;
    std::vector<std::uint8_t> patterns_;
    std::vector<std::uint32_t> bins_;
    std::vector<std::int64_t> sums_;     ///< keys of the sums met, in order of the sums
    std::vector<std::uint32_t> byBin_;   ///< their ways
    std::vector<std::uint16_t> masks_;
    std::vector<std::int64_t> subsetSums_;
    Items items_;
};

/// Counts the pairs of ways, one of `shorter` and one of `longer`, whose keys together
/// reach the threshold: the shorter list in increasing order of key, with the ways from each
/// key on and a table of where each bucket of its key range starts, is read once for every
/// key of the longer list.
class PairCount {
  public:
    explicit PairCount(std::size_t shortest)
        : buckets_(std::bit_ceil(std::max<std::size_t>(2 * shortest, 1))),
          bucketBits_(std::bit_width(buckets_) - 1),
          starts_(buckets_ + 1) {}

    std::uint64_t Count(const Items& longer, const Items& shorter, std::int64_t threshold) {
        const std::size_t n = shorter.keys.size();
        if (n == 0 || longer.keys.empty()) return 0;
        // The shorter list in increasing order, and the ways from each place on.
        order_.resize(n);
        for (std::size_t i = 0; i < n; ++i) order_[i] = static_cast<std::uint32_t>(i);
        if (!shorter.ascending) {
            std::sort(order_.begin(), order_.end(), [&](std::uint32_t a, std::uint32_t b) {
                return shorter.keys[a] < shorter.keys[b];
            });
        }
        keys_.resize(n);
        from_.resize(n + 1);
        from_[n] = 0;
        for (std::size_t i = n; i-- > 0;) {
            keys_[i] = shorter.keys[order_[i]];
            from_[i] = from_[i + 1] + shorter.ways[order_[i]];
        }
        const std::int64_t low = keys_.front();
        const std::int64_t high = keys_.back();
        const auto range = static_cast<std::uint64_t>(high - low);
        const int shift = std::max(0, static_cast<int>(std::bit_width(range)) - bucketBits_);
        // starts_[b]: the first place whose key lies in bucket b or above.
        std::size_t at = 0;
        for (std::size_t b = 0; b <= buckets_; ++b) {
            while (at < n && static_cast<std::uint64_t>(keys_[at] - low) >> shift < b) ++at;
            starts_[b] = static_cast<std::uint32_t>(at);
        }
        std::uint64_t pairs = 0;
        for (std::size_t j = 0; j < longer.keys.size(); ++j) {
            // The ways of the shorter list with key >= need.
            const std::int64_t need = threshold - longer.keys[j];
            std::size_t i = 0;
            if (need > high) continue;
            if (need > low) {
                // Within the bucket of `need` (keys may crowd into a few buckets: a binary
                // search there).
                const auto b = static_cast<std::size_t>(static_cast<std::uint64_t>(need - low) >> shift);
                i = static_cast<std::size_t>(
                    std::lower_bound(keys_.begin() + starts_[b], keys_.begin() + starts_[b + 1], need) -
                    keys_.begin());
            }
            pairs += from_[i] * longer.ways[j];
        }
        return pairs;
    }

  private:
    std::size_t buckets_;
    int bucketBits_;
    std::vector<std::uint32_t> starts_;
    std::vector<std::uint32_t> order_;
    std::vector<std::int64_t> keys_;
    std::vector<std::uint64_t> from_;
};

bool RunSetsPlan(const KruskalWallisKeyProblem& problem, const SetsPlan& plan,
                 ExactProgress& progress, KruskalWallisTally& tally) {
    SideKeys firstKeys(plan.first);
    SideKeys secondKeys(plan.second);
    const bool firstLonger = plan.first.items >= plan.second.items;
    PairCount pairs(static_cast<std::size_t>(std::min(plan.first.items, plan.second.items)));
    std::vector<std::int64_t> firstRanks(static_cast<std::size_t>(plan.first.ranks));
    std::vector<std::int64_t> secondRanks(static_cast<std::size_t>(plan.second.ranks));
    const std::int32_t n = problem.n;
    // The sets of the first side: every mask of `chosen` bits among `bits`, lowest first
    // (Gosper's step); mirrored plans fix rank 1 and choose the others among ranks 2..N.
    const std::int32_t fixed = plan.mirrored ? 1 : 0;
    const std::int32_t bits = n - fixed;
    const std::int32_t chosen = plan.first.ranks - fixed;
    const std::uint64_t end = std::uint64_t{1} << bits;
    std::uint64_t mask = chosen == 0 ? 0 : (std::uint64_t{1} << chosen) - 1;
    std::uint64_t pairsFound = 0;
    std::uint64_t done = 0;
    while (true) {
        const std::uint64_t set = plan.mirrored ? (mask << 1) | 1u : mask;
        std::size_t f = 0;
        std::size_t s = 0;
        for (std::int32_t r = 0; r < n; ++r) {
            if ((set >> r) & 1u) {
                firstRanks[f++] = r + 1;
            } else {
                secondRanks[s++] = r + 1;
            }
        }
        const Items& a = firstKeys.List(firstRanks.data());
        const Items& b = secondKeys.List(secondRanks.data());
        pairsFound += firstLonger ? pairs.Count(a, b, problem.threshold)
                                  : pairs.Count(b, a, problem.threshold);
        if (++done % ReportInterval == 0 &&
            !progress.Report(static_cast<Extended>(done) * 100 / plan.sets))
            return false;
        if (mask == 0) break;
        // Gosper: the next larger mask with as many bits.
        const std::uint64_t lowest = mask & (~mask + 1);
        const std::uint64_t ripple = mask + lowest;
        mask = (((ripple ^ mask) >> 2) / lowest) | ripple;
        if (mask >= end) break;
    }
    const auto orders = static_cast<std::uint64_t>(plan.first.orders * plan.second.orders);
    tally.visited = static_cast<std::uint64_t>(problem.arrangements);
    tally.extreme = pairsFound * orders * (plan.mirrored ? 2 : 1);
    return progress.Report(100);
}

}  // namespace

Extended CostBySets(const KruskalWallisKeyProblem& problem) {
    return BestSetsPlan(problem).cost;
}

bool CountBySets(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                 KruskalWallisTally& tally) {
    tally = KruskalWallisTally{};
    const SetsPlan plan = BestSetsPlan(problem);
    if (!(plan.cost < std::numeric_limits<Extended>::infinity())) return false;
    return RunSetsPlan(problem, plan, progress, tally);
}

std::size_t SetsChoices(const KruskalWallisKeyProblem& problem) {
    return SetsPlans(problem).size();
}

bool CountBySets(const KruskalWallisKeyProblem& problem, std::size_t choice,
                 ExactProgress& progress, KruskalWallisTally& tally) {
    tally = KruskalWallisTally{};
    std::vector<SetsPlan> plans = SetsPlans(problem);
    if (choice >= plans.size()) return false;
    return RunSetsPlan(problem, plans[choice], progress, tally);
}

}  // namespace zelkon
