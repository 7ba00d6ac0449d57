// The exact Kruskal-Wallis count by sets, for many small groups among few ranks.  The groups
// are split into two sides.  For every set of ranks the first side can take (the second
// takes the others), the keys of the ways each side can share out its set are listed
// (`kruskal_wallis_set_lists`: the last two groups of a side gathered by the sum of one),
// and the pairs of ways whose keys together reach the threshold are counted.  Groups of
// equal size within a side are taken in the order of their smallest rank and counted once
// for every order; when both sides have the same sizes, only the sets holding rank 1 are
// visited, each standing for itself and its complement; and a set stands for its
// reflection too.  The work is the ways of both sides for each set, never their product, and
// the lists of one set are all that is held.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"
#include "analyses/groups/kruskal_wallis_set_lists.h"

namespace zelkon {

namespace {

/// Costs in nanoseconds (measured): a set visited and a set passed over (the reflection of
/// one visited); for listing a side, a subset sum (a side listed from them), a rank added, a
/// subset sum read, a run of the outer groups, a share of the last two groups, a share put
/// in the bin of its sum and a bin looked over (gathered), and a key listed; for meeting the
/// sides, a key of the shorter list made a need and put in order, a bucket of the needs, and
/// a key of the longer list met with them.
constexpr Extended SetCost = 40.0L;
constexpr Extended SkipCost = 6.0L;
constexpr Extended SubsetCost = 0.6L;
constexpr Extended RankCost = 0.5L;
constexpr Extended LookupCost = 0.45L;
constexpr Extended RunCost = 3.0L;
constexpr Extended ShareCost = 0.4L;
constexpr Extended BinCost = 0.9L;
constexpr Extended ScanCost = 0.7L;
constexpr Extended ItemCost = 0.5L;
constexpr Extended NeedCost = 6.0L;
constexpr Extended BucketCost = 0.5L;
constexpr Extended MeetCost = 2.5L;
/// Ranks at most (a set is a 64-bit mask) and ways of a side at most (its patterns are held).
constexpr std::int32_t MostRanks = 62;
constexpr Extended MostWays = 200000.0L;
/// Sides of at most this many ranks may read their groups' sums from all subset sums.
constexpr std::int32_t MostMaskedRanks = 16;
/// Progress is reported every this many sets.
constexpr std::uint64_t ReportInterval = 1 << 12;

struct SetsPlan {
    SetSide first;
    SetSide second;
    bool mirrored = false;  ///< both sides have the same sizes
    Extended sets = 0;
    Extended cost = std::numeric_limits<Extended>::infinity();
};

/// A side listed one way, with the estimated cost of listing it for one set.
struct SideOption {
    SetSide side;
    Extended cost = 0;
};

/// The estimated cost of listing a side for one set; `bins` are the sums looked over a run
/// when it is gathered.
Extended ListingCost(const SetSide& side, Extended bins) {
    const std::size_t groups = side.groups.size();
    if (groups == 1) return side.ranks * RankCost + ItemCost;
    const std::int32_t inner = side.groups[groups - 2].size;
    const std::int32_t outerRanks = side.ranks - inner - side.groups[groups - 1].size;
    const auto outerGroups = static_cast<Extended>(groups - 2);
    Extended cost =
        side.masked ? std::ldexp(Extended{1}, side.ranks) * SubsetCost +
                          side.runs * (outerGroups * LookupCost + RunCost) +
                          side.ways * (ShareCost + LookupCost)
                    : side.ranks * RankCost + side.runs * (outerRanks * RankCost + RunCost) +
                          side.ways * (ShareCost + inner * RankCost);
    if (side.gathered) cost += side.ways * BinCost + side.runs * bins * ScanCost;
    return cost + side.items * ItemCost;
}

/// The ways of listing a side of `counts` groups of each size class (the classes in
/// increasing order of size): one by one, and gathered when it has two groups or more; each
/// with or without the subset sums, whichever costs less.
std::vector<SideOption> SideOptions(std::int32_t n, const std::vector<std::int32_t>& sizes,
                                    const std::vector<std::int64_t>& weights,
                                    const std::vector<std::int32_t>& counts) {
    SetSide side;
    for (std::size_t c = 0; c < sizes.size(); ++c) {
        for (std::int32_t i = 0; i < counts[c]; ++i) {
            side.groups.push_back({sizes[c], weights[c], i > 0});
            side.ranks += sizes[c];
        }
    }
    side.ways = ShareWays(side.groups);
    side.orders = ShareOrders(side.groups);
    side.items = side.ways;
    Extended bins = 0;
    Extended distinct = 0;
    const std::size_t groups = side.groups.size();
    if (groups >= 2) {
        const std::int32_t a = side.groups[groups - 2].size;
        const std::int32_t b = side.groups[groups - 1].size;
        const Extended fold = a == b ? 2 : 1;
        const Extended shares = BinomialEstimate(a + b, a);
        side.runs = std::max(Extended{1}, side.ways * fold / shares);
        // The sums of the first of the two span about a b times the spacing of the set's
        // ranks; the shares fall on them as balls into bins.
        const Extended span = static_cast<Extended>(a) * b * (n + 1) / (side.ranks + 1) + 1;
        bins = span / fold;
        distinct = std::min(shares / fold, span * (1 - std::exp(-shares / span)) / fold);
    }
    std::vector<SideOption> options;
    for (const bool gathered : {false, true}) {
        if (gathered && groups < 2) break;
        SideOption option{side, 0};
        option.side.gathered = gathered;
        if (gathered) option.side.items = side.runs * distinct;
        option.cost = ListingCost(option.side, bins);
        if (side.ranks <= MostMaskedRanks) {
            SetSide masked = option.side;
            masked.masked = true;
            const Extended cost = ListingCost(masked, bins);
            if (cost < option.cost) option = {masked, cost};
        }
        options.push_back(option);
    }
    return options;
}

/// The plan of one split: `first` and `second` groups of each size class.  Of the ways of
/// listing each side, the cheapest pair.
SetsPlan MakeSetsPlan(const KruskalWallisKeyProblem& problem,
                      const std::vector<std::int32_t>& sizes,
                      const std::vector<std::int64_t>& weights,
                      const std::vector<std::int32_t>& first,
                      const std::vector<std::int32_t>& second) {
    SetsPlan plan;
    const std::vector<SideOption> firstOptions = SideOptions(problem.n, sizes, weights, first);
    const std::vector<SideOption> secondOptions = SideOptions(problem.n, sizes, weights, second);
    if (firstOptions[0].side.ways > MostWays || secondOptions[0].side.ways > MostWays) return plan;
    plan.mirrored = first == second;
    plan.sets = BinomialEstimate(problem.n, firstOptions[0].side.ranks) / (plan.mirrored ? 2 : 1);
    for (const SideOption& one : firstOptions) {
        for (const SideOption& other : secondOptions) {
            // The shorter list gives the needs, the longer is met with them.
            const Extended longer = std::max(one.side.items, other.side.items);
            const Extended shorter = std::min(one.side.items, other.side.items);
            const Extended meeting =
                shorter * (NeedCost + 2 * BucketCost) + longer * MeetCost;
            // About half the sets are visited, the other half being their reflections.
            const Extended cost = plan.sets * SkipCost +
                                  plan.sets / 2 * (SetCost + one.cost + other.cost + meeting);
            if (cost < plan.cost) {
                plan.cost = cost;
                plan.first = one.side;
                plan.second = other.side;
            }
        }
    }
    return plan;
}

/// Every split of the groups into two sides (each size class shared out in every way) that
/// can run.
std::vector<SetsPlan> SetsPlans(const KruskalWallisKeyProblem& problem) {
    std::vector<SetsPlan> plans;
    if (problem.n > MostRanks || problem.sizes.size() < 2) return plans;
    // The size classes in increasing order of size, with their weights and numbers of groups.
    std::vector<std::int32_t> sizes = problem.sizes;
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    std::vector<std::int64_t> weights(sizes.size());
    std::vector<std::int32_t> counts(sizes.size(), 0);
    for (std::size_t g = 0; g < problem.sizes.size(); ++g) {
        const auto c = static_cast<std::size_t>(
            std::lower_bound(sizes.begin(), sizes.end(), problem.sizes[g]) - sizes.begin());
        weights[c] = problem.weights[g];
        ++counts[c];
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

/// The set of the ranks N + 1 - r for the ranks r of `set` (rank r is bit r - 1).
std::uint64_t Reflected(std::uint64_t x, std::int32_t n) {
    x = ((x >> 1) & 0x5555555555555555u) | ((x & 0x5555555555555555u) << 1);
    x = ((x >> 2) & 0x3333333333333333u) | ((x & 0x3333333333333333u) << 2);
    x = ((x >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((x & 0x0F0F0F0F0F0F0F0Fu) << 4);
    x = ((x >> 8) & 0x00FF00FF00FF00FFu) | ((x & 0x00FF00FF00FF00FFu) << 8);
    x = ((x >> 16) & 0x0000FFFF0000FFFFu) | ((x & 0x0000FFFF0000FFFFu) << 16);
    x = (x >> 32) | (x << 32);
    return x >> (64 - n);
}

bool RunSetsPlan(const KruskalWallisKeyProblem& problem, const SetsPlan& plan,
                 ExactProgress& progress, KruskalWallisTally& tally) {
    const std::int32_t n = problem.n;
    SideLister firstKeys(plan.first, n);
    SideLister secondKeys(plan.second, n);
    // The shorter side's list gives the needs; the longer side's keys are met with them as
    // they are made.
    const bool firstLonger = plan.first.items >= plan.second.items;
    SideLister& longer = firstLonger ? firstKeys : secondKeys;
    SideLister& shorter = firstLonger ? secondKeys : firstKeys;
    NeedTable needs;
    std::vector<std::int64_t> firstRanks(static_cast<std::size_t>(plan.first.ranks));
    std::vector<std::int64_t> secondRanks(static_cast<std::size_t>(plan.second.ranks));
    // The sets of the first side: every mask of `chosen` bits among `bits`, lowest first
    // (Gosper's step); mirrored plans fix rank 1 and choose the others among ranks 2..N.
    const std::int32_t fixed = plan.mirrored ? 1 : 0;
    const std::int32_t bits = n - fixed;
    const std::int32_t chosen = plan.first.ranks - fixed;
    const std::uint64_t end = std::uint64_t{1} << bits;
    const std::uint64_t all = (std::uint64_t{1} << n) - 1;
    std::uint64_t mask = chosen == 0 ? 0 : (std::uint64_t{1} << chosen) - 1;
    std::uint64_t pairsFound = 0;
    std::uint64_t done = 0;
    while (true) {
        const std::uint64_t set = plan.mirrored ? (mask << 1) | 1u : mask;
        // The statistic is the same when every rank r becomes N + 1 - r, so a set and its
        // reflection have the same keys: only the lesser of the two is visited, counting for
        // both.  (A mirrored plan stands for a set and its complement: the reflection is
        // compared as the one of those two that holds rank 1.)
        std::uint64_t image = Reflected(set, n);
        if (plan.mirrored && (image & 1u) == 0) image = ~image & all;
        if (image >= set) {
            std::size_t f = 0;
            std::size_t s = 0;
            for (std::int32_t r = 0; r < n; ++r) {
                if ((set >> r) & 1u) {
                    firstRanks[f++] = r + 1;
                } else {
                    secondRanks[s++] = r + 1;
                }
            }
            const std::int64_t* longerRanks = firstLonger ? firstRanks.data() : secondRanks.data();
            const std::int64_t* shorterRanks = firstLonger ? secondRanks.data() : firstRanks.data();
            needs.Make(shorter.List(shorterRanks), problem.threshold);
            const std::uint64_t found = longer.Meet(longerRanks, needs);
            pairsFound += image == set ? found : 2 * found;
        }
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
