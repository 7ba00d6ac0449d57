// The exact P value of the Kruskal-Wallis test: the bound on the divisions, the integer key
// of the statistic, the choice between the two counts, and the complete enumeration.
#include "analyses/groups/kruskal_wallis_exact.h"

#include <cmath>
#include <numeric>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"
#include "core/calc_status.h"
#include "stats/prime_factor_product.h"

namespace zelkon {

namespace {

/// How far below the observed statistic a division still counts as extreme.
constexpr Extended ExtremeTolerance = 1e-8L;
/// Keys are kept below this so that the sums and quadratics built from them fit 64 bits.
constexpr Extended LargestKey = 1e18L;
/// The complete enumeration reports its progress every this many divisions.
constexpr std::int64_t EnumerationReportInterval = 1 << 16;

std::vector<std::int32_t> GroupsWithData(std::span<const std::int32_t> sizes) {
    std::vector<std::int32_t> groups;
    for (const std::int32_t n : sizes) {
        if (n > 0) groups.push_back(n);
    }
    return groups;
}

/// The key problem of S0, or false when the keys would not fit 64 bits (then only the
/// enumeration, which works on S itself, can be used).
bool MakeKeyProblem(const std::vector<std::int32_t>& groups, Extended s0, Extended arrangements,
                    KruskalWallisKeyProblem& problem) {
    problem.sizes = groups;
    problem.arrangements = arrangements;
    problem.n = std::accumulate(groups.begin(), groups.end(), std::int32_t{0});
    problem.rankTotal = static_cast<std::int64_t>(problem.n) * (problem.n + 1) / 2;
    std::int64_t lcm = 1;
    for (const std::int32_t size : groups) {
        lcm = std::lcm(lcm, static_cast<std::int64_t>(size));
        if (lcm > (std::int64_t{1} << 40)) return false;
    }
    // Every key is at most L x T0^2 (all ranks in one group of one value would be the most).
    const Extended total = static_cast<Extended>(problem.rankTotal);
    if (static_cast<Extended>(lcm) * total * total > LargestKey) return false;
    problem.weights.clear();
    for (const std::int32_t size : groups) problem.weights.push_back(lcm / size);
    // A division is extreme when S - S0 >= -1E-8, that is when key / L >= S0 - 1E-8.
    const Extended bound = std::ceil((s0 - ExtremeTolerance) * static_cast<Extended>(lcm));
    if (!(std::fabs(bound) < LargestKey)) return false;
    problem.threshold = static_cast<std::int64_t>(bound);
    return true;
}

void Finish(KruskalWallisExact& result, std::uint64_t visited, std::uint64_t extreme) {
    result.visited = static_cast<std::int64_t>(visited);
    result.extreme = extreme == 0 ? 1 : static_cast<std::int64_t>(extreme);
    result.p = static_cast<Extended>(result.extreme) / static_cast<Extended>(result.visited);
}

/// The recursion of the complete enumeration.
class Enumeration {
  public:
    Enumeration(const std::vector<std::int32_t>& groups, Extended s0, Extended total)
        : groups_(groups),
          s0_(s0),
          total_(total),
          n_(std::accumulate(groups.begin(), groups.end(), std::int32_t{0})),
          used_(static_cast<std::size_t>(n_) + 1, false) {}

    /// False when the progress gate stopped it.
    bool Run() { return Fill(0, 0, 1, 0, 0); }
    std::uint64_t visited() const { return visited_; }
    std::uint64_t extreme() const { return extreme_; }
    std::int32_t Status() const { return progress_.Status(); }

  private:
    /// Chooses the ranks of group g from `from` upward; `taken` of them are chosen, with sum
    /// `sum`; `s` is the sum of R^2 / n of the groups filled before.
    bool Fill(std::size_t g, std::int32_t taken, std::int32_t from, Extended sum, Extended s) {
        if (g + 1 == groups_.size()) {
            // The last group takes the ranks left.
            const Extended rest = static_cast<Extended>(n_) * (n_ + 1) / 2 - usedTotal_;
            const Extended statistic = s + rest * rest / groups_[g];
            ++visited_;
            if (statistic - s0_ >= -ExtremeTolerance) ++extreme_;
            if (visited_ % EnumerationReportInterval == 0) {
                return progress_.Report(static_cast<Extended>(visited_) * 100 / total_);
            }
            return true;
        }
        if (taken == groups_[g]) return Fill(g + 1, 0, 1, 0, s + sum * sum / groups_[g]);
        // Room above for the group's ranks still to come.
        const std::int32_t to = n_ - (groups_[g] - taken - 1);
        for (std::int32_t rank = from; rank <= to; ++rank) {
            if (used_[static_cast<std::size_t>(rank)]) continue;
            used_[static_cast<std::size_t>(rank)] = true;
            usedTotal_ += rank;
            const bool go = Fill(g, taken + 1, rank + 1, sum + rank, s);
            used_[static_cast<std::size_t>(rank)] = false;
            usedTotal_ -= rank;
            if (!go) return false;
        }
        return true;
    }

    const std::vector<std::int32_t>& groups_;
    Extended s0_;
    Extended total_;
    std::int32_t n_;
    std::vector<bool> used_;
    std::int64_t usedTotal_ = 0;
    std::uint64_t visited_ = 0;
    std::uint64_t extreme_ = 0;
    ExactProgress progress_;
};

}  // namespace

const char* KruskalWallisMethodText(KruskalWallisMethod method) {
    switch (method) {
        case KruskalWallisMethod::None:
            return "none";
        case KruskalWallisMethod::ByRanks:
            return "counted rank by rank";
        case KruskalWallisMethod::BySmallerGroups:
            return "counted over the smaller groups";
        case KruskalWallisMethod::ByCoincidences:
            return "counted over coinciding ranks of the smaller groups";
        case KruskalWallisMethod::ByRemoval:
            return "counted over the ranks the smaller groups leave";
        case KruskalWallisMethod::BySets:
            return "counted over the sets of ranks of two sides of the groups";
        case KruskalWallisMethod::Enumerated:
            return "every division enumerated";
    }
    return "";
}

bool KruskalWallisArrangements(std::span<const std::int32_t> sizes, Extended& total) {
    const std::vector<std::int32_t> groups = GroupsWithData(sizes);
    std::int32_t remaining = std::accumulate(groups.begin(), groups.end(), std::int32_t{0});
    total = 1;
    for (const std::int32_t size : groups) {
        // A coefficient beyond the limit is held just above it, so that it can never pass
        // as a product within the limit.
        const Extended coefficient =
            CappedBinomialCoefficient(remaining, size, KruskalWallisArrangementLimit + 1);
        if (total * coefficient > KruskalWallisArrangementLimit) {
            total = 0;
            return false;
        }
        total *= coefficient;
        remaining -= size;
    }
    return true;
}

KruskalWallisExact KruskalWallisExactP(std::span<const std::int32_t> sizes, Extended s0) {
    KruskalWallisExact result;
    const std::vector<std::int32_t> groups = GroupsWithData(sizes);
    if (groups.empty() || !KruskalWallisArrangements(groups, result.arrangements)) {
        result.status = ExactStatusTooLong;
        return result;
    }
    // No progress display frames this computation, so the time rules start from here.
    RestartProgressClock();
    KruskalWallisKeyProblem problem;
    if (!MakeKeyProblem(groups, s0, result.arrangements, problem))
        return EnumerateKruskalWallis(groups, s0);

    ExactProgress progress;
    KruskalWallisTally tally;
    // The cheapest count for these group sizes.  Finding the cost of the count by
    // coincidences takes time of its own with many small groups: it comes last, and only
    // when its quick lower bound is below the cheapest of the others.
    struct Way {
        KruskalWallisMethod method;
        Extended (*cost)(const KruskalWallisKeyProblem&);
        Extended (*floor)(const KruskalWallisKeyProblem&);
        bool (*count)(const KruskalWallisKeyProblem&, ExactProgress&, KruskalWallisTally&);
    };
    static constexpr Way ways[] = {
        {KruskalWallisMethod::ByRanks, CostByRanks, nullptr, CountByRanks},
        {KruskalWallisMethod::BySmallerGroups, CostBySmallerGroups, nullptr, CountBySmallerGroups},
        {KruskalWallisMethod::ByRemoval, CostByRemoval, nullptr, CountByRemoval},
        {KruskalWallisMethod::BySets, CostBySets, nullptr, CountBySets},
        {KruskalWallisMethod::ByCoincidences, CostByCoincidences, CostFloorByCoincidences,
         CountByCoincidences},
    };
    const Way* cheapest = &ways[0];
    Extended least = cheapest->cost(problem);
    for (const Way& way : ways) {
        if (way.floor != nullptr && !(way.floor(problem) < least)) continue;
        const Extended cost = way.cost(problem);
        if (cost < least) {
            least = cost;
            cheapest = &way;
        }
    }
    result.method = cheapest->method;
    const bool finished = cheapest->count(problem, progress, tally);
    if (!finished) {
        result.status = progress.Status();
        return result;
    }
    Finish(result, tally.visited, tally.extreme);
    return result;
}

KruskalWallisExact EnumerateKruskalWallis(std::span<const std::int32_t> sizes, Extended s0) {
    KruskalWallisExact result;
    const std::vector<std::int32_t> groups = GroupsWithData(sizes);
    if (groups.empty() || !KruskalWallisArrangements(groups, result.arrangements)) {
        result.status = ExactStatusTooLong;
        return result;
    }
    result.method = KruskalWallisMethod::Enumerated;
    RestartProgressClock();
    Enumeration enumeration(groups, s0, result.arrangements);
    if (!enumeration.Run()) {
        result.status = enumeration.Status();
        return result;
    }
    Finish(result, enumeration.visited(), enumeration.extreme());
    return result;
}

}  // namespace zelkon
