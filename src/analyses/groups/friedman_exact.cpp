// The exact P value of the Friedman test by counting and by the enumeration over
// compositions.
#include "analyses/groups/friedman_exact.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_map>
#include <vector>

namespace zelkon {

namespace {

/// How far below the observed Q an assignment still counts as extreme.
constexpr Extended ExtremeTolerance = 1e-8L;
/// The enumeration reports its progress every this many compositions.
constexpr std::int64_t ReportInterval = 1 << 14;

/// Every order of the ranks 1..c, in lexicographic order.
std::vector<std::array<std::int32_t, FriedmanMostColumns>> Orders(std::int32_t columns) {
    std::vector<std::array<std::int32_t, FriedmanMostColumns>> orders;
    std::array<std::int32_t, FriedmanMostColumns> ranks{};
    std::iota(ranks.begin(), ranks.begin() + columns, 1);
    do {
        orders.push_back(ranks);
    } while (std::next_permutation(ranks.begin(), ranks.begin() + columns));
    return orders;
}

bool Extreme(std::int64_t q, Extended q0) {
    return static_cast<Extended>(q) - q0 >= -ExtremeTolerance;
}

void Finish(FriedmanExact& result, std::int64_t visited, std::int64_t extreme) {
    result.visited = visited;
    result.extreme = extreme;
    if (visited > 0) result.p = static_cast<Extended>(extreme) / static_cast<Extended>(visited);
}

/// Column rank sums in ascending order, one byte each (a sum is at most r c <= 255 within
/// the limits), packed into one integer.
using SortedSums = std::uint64_t;

/// The places past the last column hold 0 and no sum is negative, so sorting the whole
/// array leaves the columns' sums, in order, in its last places.
SortedSums Pack(std::array<std::int32_t, FriedmanMostColumns> sums, std::int32_t columns) {
    std::sort(sums.begin(), sums.end());
    SortedSums packed = 0;
    for (std::size_t j = sums.size() - static_cast<std::size_t>(columns); j < sums.size(); ++j)
        packed = packed << 8 | static_cast<SortedSums>(sums[j]);
    return packed;
}

std::array<std::int32_t, FriedmanMostColumns> Unpack(SortedSums packed, std::int32_t columns) {
    std::array<std::int32_t, FriedmanMostColumns> sums{};
    for (std::int32_t j = columns - 1; j >= 0; --j) {
        sums[static_cast<std::size_t>(j)] = static_cast<std::int32_t>(packed & 0xFF);
        packed >>= 8;
    }
    return sums;
}

/// The recursion of the enumeration over compositions.
class Compositions {
  public:
    Compositions(std::int32_t rows, std::int32_t columns, Extended q0, Extended total)
        : columns_(columns),
          q0_(q0),
          total_(total),
          orders_(Orders(columns)),
          binomial_(static_cast<std::size_t>(rows) + 1,
                    std::vector<std::int64_t>(static_cast<std::size_t>(rows) + 1, 0)) {
        for (std::size_t n = 0; n < binomial_.size(); ++n) {
            binomial_[n][0] = 1;
            for (std::size_t k = 1; k <= n; ++k)
                binomial_[n][k] = binomial_[n - 1][k - 1] + (k < n ? binomial_[n - 1][k] : 0);
        }
        sums_.fill(0);
    }

    bool Run(std::int32_t rows) { return Assign(0, rows, 1); }
    std::int64_t visited() const { return visited_; }
    std::int64_t extreme() const { return extreme_; }
    std::int32_t Status() const { return progress_.Status(); }

  private:
    /// Gives `count` of the `left` rows to order `o` (count 0 included) and goes on with the
    /// next order; the composition is complete when no row is left.
    bool Assign(std::size_t o, std::int32_t left, std::int64_t weight) {
        if (left == 0) return Complete(weight);
        const bool lastOrder = o + 1 == orders_.size();
        for (std::int32_t count = lastOrder ? left : 0; count <= left; ++count) {
            Add(o, count);
            const std::int64_t w =
                weight * binomial_[static_cast<std::size_t>(left)][static_cast<std::size_t>(count)];
            const bool go = count == left ? Complete(w) : Assign(o + 1, left - count, w);
            Add(o, -count);
            if (!go) return false;
        }
        return true;
    }

    void Add(std::size_t o, std::int32_t count) {
        for (std::int32_t j = 0; j < columns_; ++j) {
            sums_[static_cast<std::size_t>(j)] += count * orders_[o][static_cast<std::size_t>(j)];
        }
    }

    bool Complete(std::int64_t weight) {
        std::int64_t q = 0;
        for (std::int32_t j = 0; j < columns_; ++j) {
            const std::int64_t s = sums_[static_cast<std::size_t>(j)];
            q += s * s;
        }
        visited_ += weight;
        if (Extreme(q, q0_)) extreme_ += weight;
        if (++compositions_ % ReportInterval != 0) return true;
        return progress_.Report(static_cast<Extended>(visited_) * 100 / total_);
    }

    std::int32_t columns_;
    Extended q0_;
    Extended total_;
    std::vector<std::array<std::int32_t, FriedmanMostColumns>> orders_;
    std::vector<std::vector<std::int64_t>> binomial_;
    std::array<std::int32_t, FriedmanMostColumns> sums_{};
    std::int64_t visited_ = 0;
    std::int64_t extreme_ = 0;
    std::int64_t compositions_ = 0;
    ExactProgress progress_;
};

}  // namespace

const char* FriedmanMethodText(FriedmanMethod method) {
    switch (method) {
        case FriedmanMethod::None:
            return "none";
        case FriedmanMethod::Counted:
            return "counted row by row";
        case FriedmanMethod::Compositions:
            return "every composition enumerated";
    }
    return "";
}

bool FriedmanArrangements(std::int32_t rows, std::int32_t columns, Extended& total) {
    total = 0;
    if (columns > FriedmanMostColumns || columns < 1 || rows < 0) return false;
    std::int64_t orders = 1;
    for (std::int32_t i = 2; i <= columns; ++i) orders *= i;
    Extended product = 1;
    for (std::int32_t i = 0; i < rows; ++i) {
        product *= static_cast<Extended>(orders);
        if (product > FriedmanArrangementLimit) return false;
    }
    total = product;
    return true;
}

FriedmanExact FriedmanExactP(std::int32_t rows, std::int32_t columns, Extended q0) {
    FriedmanExact result;
    if (!FriedmanArrangements(rows, columns, result.arrangements)) {
        result.status = ExactStatusTooLong;
        return result;
    }
    result.method = FriedmanMethod::Counted;
    // The number of assignments of the rows so far whose column rank sums are, in some order
    // of the columns, the given sorted sums.  Adding a row adds every order of the ranks.
    const auto orders = Orders(columns);
    std::unordered_map<SortedSums, std::int64_t> current{{Pack({}, columns), 1}}, next;
    ExactProgress progress;
    for (std::int32_t row = 0; row < rows; ++row) {
        next.clear();
        for (const auto& [packed, ways] : current) {
            const auto sums = Unpack(packed, columns);
            for (const auto& order : orders) {
                auto added = sums;
                for (std::int32_t j = 0; j < columns; ++j) {
                    added[static_cast<std::size_t>(j)] += order[static_cast<std::size_t>(j)];
                }
                next[Pack(added, columns)] += ways;
            }
        }
        current.swap(next);
        if (!progress.Report(static_cast<Extended>(row + 1) * 100 / rows)) {
            result.status = progress.Status();
            return result;
        }
    }
    std::int64_t visited = 0;
    std::int64_t extreme = 0;
    for (const auto& [packed, ways] : current) {
        const auto sums = Unpack(packed, columns);
        std::int64_t q = 0;
        for (std::int32_t j = 0; j < columns; ++j)
            q += static_cast<std::int64_t>(sums[static_cast<std::size_t>(j)]) *
                 sums[static_cast<std::size_t>(j)];
        visited += ways;
        if (Extreme(q, q0)) extreme += ways;
    }
    Finish(result, visited, extreme);
    return result;
}

FriedmanExact EnumerateFriedmanCompositions(std::int32_t rows, std::int32_t columns, Extended q0) {
    FriedmanExact result;
    if (!FriedmanArrangements(rows, columns, result.arrangements)) {
        result.status = ExactStatusTooLong;
        return result;
    }
    result.method = FriedmanMethod::Compositions;
    Compositions compositions(rows, columns, q0, std::max(result.arrangements, Extended{1}));
    if (!compositions.Run(rows)) {
        result.status = compositions.Status();
        return result;
    }
    Finish(result, compositions.visited(), compositions.extreme());
    return result;
}

}  // namespace zelkon
