// The exact Kruskal-Wallis count by coincidences, for a large group beside a few small ones.
// The m ranks of the small groups are m slots (slot i belongs to group g(i)); the divisions
// are the assignments of distinct ranks to the slots, divided by the orders of the slots of
// each group.  Distinctness is removed by Moebius inversion over the partitions of the
// slots: the sum over assignments of distinct values is the sum over partitions P of
// mu(P) = product over blocks of (-1)^(size - 1) (size - 1)!, times the sum over
// assignments that give each block of P one value of its own, with no condition among the
// blocks.  In those sums every block is a free rank y_B in 1..N added to the rank sum of
// group j as often as it holds slots of j (its counts v_B).  Blocks whose counts are
// multiples of the same vector u move the rank sums along u only, so they are added up
// first: the direction u contributes Z u, Z being a sum of free ranks times their
// multiples, whose distribution is a convolution.  The key is then a convex quadratic in the
// Z of the last direction, so its non-extreme values form one interval and are counted from
// prefix sums; only the other directions are run through.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <map>
#include <numeric>
#include <utility>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"

namespace zelkon {

namespace {

/// Cost of one closed-form count of the last type (nanoseconds, measured).
constexpr Extended InnerCost = 15.0L;
/// Partitions of more slots than this are not run through.
constexpr std::int32_t MostSlots = 8;
/// Every count of the inversion stays below this.
constexpr Extended LargestCount = 4e18L;
/// Progress is reported every this many closed-form counts.
constexpr std::uint64_t ReportInterval = 1 << 14;

/// The small groups (all but the largest) and their slots.
struct SlotLayout {
    std::vector<std::int64_t> weights;  ///< of the small groups
    std::vector<std::int32_t> sizes;
    std::vector<std::int32_t> group;  ///< group of each slot
    std::int64_t bigWeight = 0;
};

SlotLayout MakeSlots(const KruskalWallisKeyProblem& problem) {
    std::size_t big = 0;
    for (std::size_t i = 1; i < problem.sizes.size(); ++i) {
        if (problem.sizes[i] > problem.sizes[big]) big = i;
    }
    SlotLayout layout;
    layout.bigWeight = problem.weights[big];
    for (std::size_t i = 0; i < problem.sizes.size(); ++i) {
        if (i == big) continue;
        const auto j = static_cast<std::int32_t>(layout.sizes.size());
        layout.sizes.push_back(problem.sizes[i]);
        layout.weights.push_back(problem.weights[i]);
        for (std::int32_t s = 0; s < problem.sizes[i]; ++s) layout.group.push_back(j);
    }
    return layout;
}

/// The blocks of a partition along one direction u (a vector of counts whose entries have
/// no common factor): for each multiple c of u, how many blocks hold c u.
struct Direction {
    std::vector<std::int32_t> unit;
    std::map<std::int32_t, std::int32_t> blocksByMultiple;
    bool operator<(const Direction& other) const {
        return unit != other.unit ? unit < other.unit : blocksByMultiple < other.blocksByMultiple;
    }
    bool operator==(const Direction& other) const {
        return unit == other.unit && blocksByMultiple == other.blocksByMultiple;
    }
    /// Number of values Z takes (from sum c k to sum c k n).
    Extended Range(std::int32_t n) const {
        Extended span = 0;
        for (const auto& [multiple, blocks] : blocksByMultiple)
            span += static_cast<Extended>(multiple) * blocks;
        return span * (n - 1) + 1;
    }
};

using DirectionSet = std::vector<Direction>;

/// Every partition of the slots, gathered by its directions with the sum of their Moebius
/// values.
std::map<DirectionSet, std::int64_t> GatherPartitions(const SlotLayout& layout) {
    std::map<DirectionSet, std::int64_t> gathered;
    const std::size_t m = layout.group.size();
    const std::size_t q = layout.sizes.size();
    std::vector<std::size_t> block(m, 0);
    std::vector<std::int64_t> factorial(m + 1, 1);
    for (std::size_t i = 1; i <= m; ++i)
        factorial[i] = factorial[i - 1] * static_cast<std::int64_t>(i);
    auto finish = [&](std::size_t used) {
        std::vector<std::vector<std::int32_t>> counts(used, std::vector<std::int32_t>(q, 0));
        std::vector<std::size_t> sizes(used, 0);
        for (std::size_t s = 0; s < m; ++s) {
            ++counts[block[s]][static_cast<std::size_t>(layout.group[s])];
            ++sizes[block[s]];
        }
        std::int64_t mu = 1;
        for (const std::size_t size : sizes) mu *= (size % 2 == 1 ? 1 : -1) * factorial[size - 1];
        std::map<std::vector<std::int32_t>, std::map<std::int32_t, std::int32_t>> byUnit;
        for (std::vector<std::int32_t>& c : counts) {
            std::int32_t common = 0;
            for (const std::int32_t x : c) common = std::gcd(common, x);
            for (std::int32_t& x : c) x /= common;
            ++byUnit[c][common];
        }
        DirectionSet directions;
        for (auto& [unit, multiples] : byUnit) directions.push_back({unit, multiples});
        gathered[directions] += mu;
    };
    // Restricted growth strings: slot i joins a block already used or opens the next one.
    auto visit = [&](auto&& self, std::size_t i, std::size_t used) -> void {
        if (i == m) {
            finish(used);
            return;
        }
        for (std::size_t b = 0; b <= used && b < m; ++b) {
            block[i] = b;
            self(self, i + 1, std::max(used, b + 1));
        }
    };
    if (m > 0) visit(visit, 1, 1);
    return gathered;
}

/// Orders the directions so that the last one has the widest range (it is counted in closed
/// form); returns the number of closed-form counts.
Extended OrderDirections(DirectionSet& directions, std::int32_t n) {
    std::stable_sort(
        directions.begin(), directions.end(),
        [n](const Direction& a, const Direction& b) { return a.Range(n) < b.Range(n); });
    Extended cost = 1;
    for (std::size_t d = 0; d + 1 < directions.size(); ++d) cost *= directions[d].Range(n);
    return cost;
}

/// The distribution of Z along one direction: ways[i] assignments give Z = first + i, and
/// upTo[i] (i from 0) is the number giving less than first + i.
struct ZDistribution {
    std::int64_t first = 0;
    std::vector<std::int64_t> ways;
    std::vector<std::int64_t> upTo;
};

class CoincidenceCount {
  public:
    CoincidenceCount(const KruskalWallisKeyProblem& problem, const SlotLayout& layout,
                     ExactProgress& progress, Extended totalWork)
        : problem_(problem), layout_(layout), progress_(progress), totalWork_(totalWork) {}

    /// The number of assignments of free ranks to the blocks whose key reaches the
    /// threshold (directions ordered, the widest last); false when the progress gate
    /// stopped it.
    bool Count(const DirectionSet& directions, std::int64_t& extreme) {
        const std::size_t q = layout_.sizes.size();
        directions_ = &directions;
        z_.clear();
        for (const Direction& d : directions) z_.push_back(MakeZ(d));
        last_ = directions.size() - 1;
        // key = sum_j w_j R_j^2 + w_big (T0 - sum_j R_j)^2 with R_j = base_j + u_j Z.
        const std::vector<std::int32_t>& unit = directions[last_].unit;
        lastSpan_ = 0;
        lastA_ = 0;
        for (std::size_t j = 0; j < q; ++j) {
            lastA_ += layout_.weights[j] * unit[j] * unit[j];
            lastSpan_ += unit[j];
        }
        lastA_ += layout_.bigWeight * lastSpan_ * lastSpan_;
        base_.assign(q, 0);
        extreme_ = 0;
        if (!Run(0, 1)) return false;
        extreme = extreme_;
        return true;
    }

  private:
    /// Ways k free ranks in 1..n sum to k + i (index i).
    const std::vector<std::int64_t>& FreeSums(std::int32_t k) {
        auto found = freeSums_.find(k);
        if (found != freeSums_.end()) return found->second;
        const std::size_t n = static_cast<std::size_t>(problem_.n);
        std::vector<std::int64_t> ways(1, 1);  // no rank: sum 0
        for (std::int32_t i = 0; i < k; ++i) {
            // Adding one rank in 1..n: a moving window of n over the previous ways.
            std::vector<std::int64_t> next(ways.size() + n - 1, 0);
            std::int64_t window = 0;
            for (std::size_t s = 0; s < next.size(); ++s) {
                if (s < ways.size()) window += ways[s];
                if (s >= n) window -= ways[s - n];
                next[s] = window;
            }
            ways.swap(next);
        }
        return freeSums_.emplace(k, std::move(ways)).first->second;
    }

    /// Z = sum over the multiples c of c times a sum of k free ranks.
    ZDistribution MakeZ(const Direction& d) {
        ZDistribution z;
        z.ways.assign(1, 1);
        for (const auto& [multiple, blocks] : d.blocksByMultiple) {
            const std::vector<std::int64_t>& sums = FreeSums(blocks);
            const std::size_t c = static_cast<std::size_t>(multiple);
            std::vector<std::int64_t> next(z.ways.size() + c * (sums.size() - 1), 0);
            for (std::size_t i = 0; i < z.ways.size(); ++i) {
                if (z.ways[i] == 0) continue;
                for (std::size_t s = 0; s < sums.size(); ++s)
                    next[i + c * s] += z.ways[i] * sums[s];
            }
            z.ways.swap(next);
            z.first += static_cast<std::int64_t>(multiple) * blocks;
        }
        z.upTo.assign(z.ways.size() + 1, 0);
        for (std::size_t i = 0; i < z.ways.size(); ++i) z.upTo[i + 1] = z.upTo[i] + z.ways[i];
        return z;
    }

    bool Run(std::size_t d, std::int64_t weight) {
        if (d == last_) return CountLast(weight);
        const std::size_t q = layout_.sizes.size();
        const std::vector<std::int32_t>& unit = (*directions_)[d].unit;
        const ZDistribution& z = z_[d];
        for (std::size_t i = 0; i < z.ways.size(); ++i) {
            if (z.ways[i] == 0) continue;
            const std::int64_t value = z.first + static_cast<std::int64_t>(i);
            for (std::size_t j = 0; j < q; ++j) base_[j] += unit[j] * value;
            const bool go = Run(d + 1, weight * z.ways[i]);
            for (std::size_t j = 0; j < q; ++j) base_[j] -= unit[j] * value;
            if (!go) return false;
        }
        return true;
    }

    bool CountLast(std::int64_t weight) {
        const std::size_t q = layout_.sizes.size();
        const std::vector<std::int32_t>& unit = (*directions_)[last_].unit;
        std::int64_t linear = 0;
        std::int64_t constant = -problem_.threshold;
        std::int64_t total = 0;
        for (std::size_t j = 0; j < q; ++j) {
            linear += layout_.weights[j] * unit[j] * base_[j];
            constant += layout_.weights[j] * base_[j] * base_[j];
            total += base_[j];
        }
        const std::int64_t rest = problem_.rankTotal - total;
        linear = 2 * (linear - layout_.bigWeight * lastSpan_ * rest);
        constant += layout_.bigWeight * rest * rest;
        const ZDistribution& z = z_[last_];
        std::int64_t counted = z.upTo.back();
        std::int64_t low = 0;
        std::int64_t high = -1;
        if (BelowInterval(lastA_, linear, constant, z.first,
                          z.first + static_cast<std::int64_t>(z.ways.size()) - 1, low, high)) {
            counted -= z.upTo[static_cast<std::size_t>(high - z.first) + 1] -
                       z.upTo[static_cast<std::size_t>(low - z.first)];
        }
        extreme_ += weight * counted;
        if (++calls_ % ReportInterval != 0) return true;
        return progress_.Report(static_cast<Extended>(calls_) * 100 / totalWork_);
    }

    const KruskalWallisKeyProblem& problem_;
    const SlotLayout& layout_;
    ExactProgress& progress_;
    Extended totalWork_;
    std::uint64_t calls_ = 0;
    std::map<std::int32_t, std::vector<std::int64_t>> freeSums_;
    const DirectionSet* directions_ = nullptr;
    std::vector<ZDistribution> z_;
    std::size_t last_ = 0;
    std::int64_t lastA_ = 0;
    std::int64_t lastSpan_ = 0;
    std::vector<std::int64_t> base_;
    std::int64_t extreme_ = 0;
};

/// True when every count of the inversion fits: there are m! N^m signed terms at most.
bool CountsFit(const SlotLayout& layout, std::int32_t n) {
    const auto m = static_cast<std::int32_t>(layout.group.size());
    if (m > MostSlots) return false;
    Extended bound = 1;
    for (std::int32_t i = 1; i <= m; ++i) bound *= static_cast<Extended>(i) * n;
    return bound < LargestCount;
}

}  // namespace

Extended CostByCoincidences(const KruskalWallisKeyProblem& problem) {
    const SlotLayout layout = MakeSlots(problem);
    if (layout.group.empty()) return 0;
    if (!CountsFit(layout, problem.n)) return std::numeric_limits<Extended>::infinity();
    Extended cost = 0;
    for (const auto& [directions, mu] : GatherPartitions(layout)) {
        if (mu == 0) continue;
        DirectionSet order = directions;
        cost += OrderDirections(order, problem.n);
    }
    return cost * InnerCost;
}

Extended CostFloorByCoincidences(const KruskalWallisKeyProblem& problem) {
    const SlotLayout layout = MakeSlots(problem);
    if (layout.group.empty()) return 0;
    if (!CountsFit(layout, problem.n)) return std::numeric_limits<Extended>::infinity();
    // The partition into single slots: one direction a small group, each of its slots a
    // block of multiple 1.
    DirectionSet finest;
    for (std::size_t j = 0; j < layout.sizes.size(); ++j) {
        Direction d;
        d.unit.assign(layout.sizes.size(), 0);
        d.unit[j] = 1;
        d.blocksByMultiple[1] = layout.sizes[j];
        finest.push_back(std::move(d));
    }
    return OrderDirections(finest, problem.n) * InnerCost;
}

bool CountByCoincidences(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                         KruskalWallisTally& tally) {
    tally = KruskalWallisTally{};
    const SlotLayout layout = MakeSlots(problem);
    if (layout.group.empty() || !CountsFit(layout, problem.n)) return false;
    std::vector<std::pair<DirectionSet, std::int64_t>> work;
    Extended total = 0;
    for (const auto& [directions, mu] : GatherPartitions(layout)) {
        if (mu == 0) continue;
        DirectionSet order = directions;
        total += OrderDirections(order, problem.n);
        work.emplace_back(std::move(order), mu);
    }
    CoincidenceCount count(problem, layout, progress, std::max(total, Extended{1}));
    std::int64_t ordered = 0;
    for (const auto& [directions, mu] : work) {
        std::int64_t extreme = 0;
        if (!count.Count(directions, extreme)) return false;
        ordered += mu * extreme;
    }
    // The slots of a group hold its ranks in every order.
    std::int64_t orders = 1;
    for (const std::int32_t size : layout.sizes) {
        for (std::int32_t i = 2; i <= size; ++i) orders *= i;
    }
    tally.extreme = static_cast<std::uint64_t>(ordered / orders);
    tally.visited = static_cast<std::uint64_t>(problem.arrangements);
    return progress.Report(100);
}

}  // namespace zelkon
