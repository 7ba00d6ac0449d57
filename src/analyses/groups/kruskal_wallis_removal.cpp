// The exact Kruskal-Wallis count by removal from one generating function.  One group (the
// determined group) takes whatever ranks the others leave; one or two free groups are held
// in the generating function of all ranks, prod over r of (1 + y0 x0^r + y1 x1^r), whose
// coefficient of y0^a y1^b x0^R0 x1^R1 counts the ways the free groups can take a and b
// ranks with sums R0 and R1.  The other groups (the enumerated ones) are given their set
// of ranks in increasing order; each rank of the set is removed from the generating
// function by dividing it by its factor (and multiplied back when the set moves on), so the
// free groups are counted over exactly the ranks left.  The last rank of the set is not
// divided out: the coefficient wanted is a short alternating sum of shifted coefficients of
// the function before it.  Then every way the enumerated groups can share their set is
// counted at once: the divisions that are not extreme are, for each sum R0, the sums R1 of
// one interval (the key is a convex quadratic), read off from running sums.  The statistic is
// the same when every rank r becomes N + 1 - r, which turns a set of m ranks summing to C
// into one summing to m (N + 1) - C: only sets with 2 C <= m (N + 1) are visited, those
// below counting twice.
//
// Counts are kept modulo 2^32: every count wanted is a number of divisions (below
// 2,000,000,000), so the wrapped arithmetic of the divisions and alternating sums gives it
// exactly.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"

namespace zelkon {

namespace {

/// Costs in nanoseconds (measured): a cell of a division or multiplication, a cell of the
/// running sums, one read of a running sum, one row of a region, one way of sharing a set
/// counted with one free group, and one rank of a way.
constexpr Extended CellCost = 0.15L;
constexpr Extended RunningSumCost = 0.4L;
constexpr Extended ReadCost = 0.5L;
constexpr Extended RowCost = 4.0L;
constexpr Extended IntervalCost = 25.0L;
constexpr Extended PatternRankCost = 1.0L;
/// Cells of the generating function at most (it is held twice: 24 MB).
constexpr Extended MostCells = 3.0L * 1024 * 1024;
/// Progress is reported every this many runs of the last rank of the set (each counts up to
/// N sets, every way of sharing each; counts of many ways have few of them).
constexpr std::uint64_t ReportInterval = 1 << 6;

/// Width of the sums of c ranks out of 1..n, and the least of them.
std::int64_t Width(std::int64_t c, std::int64_t n) {
    return c * (n - c) + 1;
}
std::int64_t Lowest(std::int64_t c) {
    return c * (c + 1) / 2;
}

/// Which group plays which part.
struct RemovalPlan {
    std::int32_t n = 0;
    std::int64_t determinedWeight = 0;
    std::int32_t rowSize = 0;  ///< the free group of the rows (0: only one free group)
    std::int64_t rowWeight = 0;
    std::int32_t columnSize = 0;  ///< the free group of the running sums
    std::int64_t columnWeight = 0;
    std::vector<ShareGroup> enumerated;  ///< largest first, equal sizes together
    std::int32_t setSize = 0;                 ///< ranks of the enumerated groups
    Extended orders = 1;                      ///< orders of the equal enumerated groups
    Extended patterns = 1;                    ///< ways the enumerated groups share a set
    Extended cells = 0;
    Extended cost = std::numeric_limits<Extended>::infinity();
};

/// The generating function of the free groups: blocks of the counts (a, b), each a dense
/// array of the sums R0 (rows) and R1 (columns).
class FreeGroupsFunction {
  public:
    FreeGroupsFunction(std::int32_t n, std::int32_t rowSize, std::int32_t columnSize)
        : n_(n), rowSize_(rowSize), columnSize_(columnSize) {
        std::size_t at = 0;
        for (std::int32_t a = 0; a <= rowSize_; ++a) {
            for (std::int32_t b = 0; b <= columnSize_; ++b) {
                offsets_.push_back(at);
                at += static_cast<std::size_t>(Width(a, n_) * Width(b, n_));
            }
        }
        cells_.assign(at, 0);
        cells_[0] = 1;
        for (std::int32_t a = 0; a <= rowSize_; ++a) {
            for (std::int32_t b = 0; b <= columnSize_; ++b) {
                runningOffsets_.push_back(runningRows_);
                runningRows_ += static_cast<std::size_t>(Width(a, n_));
            }
        }
        for (std::int32_t r = 1; r <= n_; ++r) Multiply(r);
    }

    std::size_t Cells() const { return cells_.size(); }
    const std::uint32_t* Block(std::int32_t a, std::int32_t b) const {
        return cells_.data() + offsets_[Index(a, b)];
    }

    /// Removes rank u (divides by its factor) / puts it back (multiplies).
    void Divide(std::int32_t u) {
        for (std::int32_t a = 0; a <= rowSize_; ++a) {
            for (std::int32_t b = 0; b <= columnSize_; ++b) Update(a, b, u, false);
        }
    }
    void Multiply(std::int32_t u) {
        for (std::int32_t a = rowSize_; a >= 0; --a) {
            for (std::int32_t b = columnSize_; b >= 0; --b) Update(a, b, u, true);
        }
    }

    /// The running sums of every row along the columns, into `out`: each row of block
    /// (a, b) as a zero and then its running sums, block after block in the order of the
    /// function (so that a sum up to column -1 reads 0).
    void RunningSums(std::vector<std::uint32_t>& out) const {
        out.resize(cells_.size() + runningRows_);
        std::uint32_t* to = out.data();
        for (std::int32_t a = 0; a <= rowSize_; ++a) {
            for (std::int32_t b = 0; b <= columnSize_; ++b) {
                const std::int64_t rows = Width(a, n_);
                const std::int64_t columns = Width(b, n_);
                const std::uint32_t* in = Block(a, b);
                for (std::int64_t i = 0; i < rows; ++i) {
                    std::uint32_t sum = 0;
                    *to++ = 0;
                    for (std::int64_t j = 0; j < columns; ++j) {
                        sum += *in++;
                        *to++ = sum;
                    }
                }
            }
        }
    }

    /// Where block (a, b) starts among the running sums.
    std::size_t RunningOffset(std::int32_t a, std::int32_t b) const {
        return offsets_[Index(a, b)] + runningOffsets_[Index(a, b)];
    }

  private:
    std::size_t Index(std::int32_t a, std::int32_t b) const {
        return static_cast<std::size_t>(a) * static_cast<std::size_t>(columnSize_ + 1) +
               static_cast<std::size_t>(b);
    }

    /// Block (a, b) -/+= x0^u block (a - 1, b) and x1^u block (a, b - 1).  A sum R of c ranks
    /// sits at index R - Lowest(c); with rank u added to c - 1 ranks it moves from index j
    /// to j + u - c.
    void Update(std::int32_t a, std::int32_t b, std::int32_t u, bool add) {
        const std::int64_t rows = Width(a, n_);
        const std::int64_t columns = Width(b, n_);
        std::uint32_t* dst = cells_.data() + offsets_[Index(a, b)];
        if (a > 0) {
            const std::uint32_t* src = cells_.data() + offsets_[Index(a - 1, b)];
            const std::int64_t srcRows = Width(a - 1, n_);
            const std::int64_t shift = u - a;  // destination row = source row + shift
            const std::int64_t first = std::max<std::int64_t>(0, shift);
            const std::int64_t last = std::min(rows, srcRows + shift);
            for (std::int64_t i = first; i < last; ++i) {
                std::uint32_t* d = dst + i * columns;
                const std::uint32_t* s = src + (i - shift) * columns;
                if (add) {
                    for (std::int64_t j = 0; j < columns; ++j) d[j] += s[j];
                } else {
                    for (std::int64_t j = 0; j < columns; ++j) d[j] -= s[j];
                }
            }
        }
        if (b > 0) {
            const std::uint32_t* src = cells_.data() + offsets_[Index(a, b - 1)];
            const std::int64_t srcColumns = Width(b - 1, n_);
            const std::int64_t shift = u - b;
            const std::int64_t first = std::max<std::int64_t>(0, shift);
            const std::int64_t last = std::min(columns, srcColumns + shift);
            if (first >= last) return;
            for (std::int64_t i = 0; i < rows; ++i) {
                std::uint32_t* d = dst + i * columns;
                const std::uint32_t* s = src + i * srcColumns;
                if (add) {
                    for (std::int64_t j = first; j < last; ++j) d[j] += s[j - shift];
                } else {
                    for (std::int64_t j = first; j < last; ++j) d[j] -= s[j - shift];
                }
            }
        }
    }

    std::int32_t n_;
    std::int32_t rowSize_;
    std::int32_t columnSize_;
    std::vector<std::size_t> offsets_;
    std::vector<std::size_t> runningOffsets_;  ///< rows of the blocks before (their zeros)
    std::size_t runningRows_ = 0;
    std::vector<std::uint32_t> cells_;
};

/// Fills in the costs of a plan (infinite when its function would not fit).
void PriceRemoval(RemovalPlan& plan) {
    const std::int32_t n = plan.n;
    Extended rowCells = 0;
    Extended columnCells = 0;
    for (std::int32_t a = 0; a <= plan.rowSize; ++a) rowCells += Width(a, n);
    for (std::int32_t b = 0; b <= plan.columnSize; ++b) columnCells += Width(b, n);
    plan.cells = rowCells * columnCells;
    if (plan.cells > MostCells) {
        plan.cost = std::numeric_limits<Extended>::infinity();
        return;
    }
    const Extended sources = plan.rowSize > 0 ? 2 : 1;
    const std::int32_t m = plan.setSize;
    Extended cost = n * sources * plan.cells * CellCost;
    if (m == 0) {
        plan.cost = cost + plan.cells * RunningSumCost;
        return;
    }
    // A set is built rank by rank: the sets of d ranks below the last one are divided and
    // multiplied back, those of m - 1 ranks also summed.
    Extended inner = 0;
    for (std::int32_t d = 1; d < m; ++d) inner += BinomialEstimate(n - (m - d), d);
    const Extended beforeLast = BinomialEstimate(n - 1, m - 1);
    const Extended sets = BinomialEstimate(n, m);
    const Extended terms = static_cast<Extended>(plan.rowSize + 1) * (plan.columnSize + 1);
    const Extended rows = static_cast<Extended>(Width(plan.rowSize, n));
    const Extended perWay = (plan.rowSize == 0 ? IntervalCost + 2 * terms * ReadCost
                                               : rows * (RowCost + 2 * terms * ReadCost)) +
                            m * PatternRankCost;
    // About half the sets are visited (and half the sets before them built), the others
    // being their reflections.
    cost += (inner * 2 * sources * plan.cells * CellCost + beforeLast * plan.cells * RunningSumCost +
             sets * plan.patterns * perWay) / 2;
    plan.cost = cost;
}

/// A plan for the determined group of size class `d` and the free groups of classes `f0`
/// and (when `two`) `f1`, the other groups enumerated.
RemovalPlan MakeRemovalPlan(const KruskalWallisKeyProblem& problem,
                            const std::vector<std::int32_t>& sizes,
                            const std::vector<std::int64_t>& weights,
                            std::vector<std::int32_t> counts, std::size_t d, std::size_t f0,
                            bool two, std::size_t f1) {
    RemovalPlan plan;
    plan.n = problem.n;
    plan.determinedWeight = weights[d];
    --counts[d];
    --counts[f0];
    // The smaller free group gives the rows.
    if (two) {
        --counts[f1];
        const std::size_t rows = sizes[f0] <= sizes[f1] ? f0 : f1;
        const std::size_t columns = rows == f0 ? f1 : f0;
        plan.rowSize = sizes[rows];
        plan.rowWeight = weights[rows];
        plan.columnSize = sizes[columns];
        plan.columnWeight = weights[columns];
    } else {
        plan.columnSize = sizes[f0];
        plan.columnWeight = weights[f0];
    }
    for (std::size_t c = 0; c < sizes.size(); ++c) {
        for (std::int32_t i = 0; i < counts[c]; ++i) {
            ShareGroup e;
            e.size = sizes[c];
            e.weight = weights[c];
            e.followsEqual = i > 0;
            plan.enumerated.push_back(e);
            plan.setSize += e.size;
        }
    }
    plan.orders = ShareOrders(plan.enumerated);
    plan.patterns = ShareWays(plan.enumerated);
    PriceRemoval(plan);
    return plan;
}

/// Every choice of the determined group and of one or two free groups that fits its memory
/// (groups of equal size are alike, so each size class is tried once in each part).
std::vector<RemovalPlan> RemovalPlans(const KruskalWallisKeyProblem& problem) {
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
    std::vector<RemovalPlan> plans;
    if (problem.sizes.size() < 2) return plans;
    const std::size_t classes = sizes.size();
    for (std::size_t d = 0; d < classes; ++d) {
        --counts[d];
        for (std::size_t f0 = 0; f0 < classes; ++f0) {
            if (counts[f0] == 0) continue;
            --counts[f0];
            // The plan takes its groups from the whole counts.
            auto consider = [&](bool two, std::size_t f1) {
                ++counts[d];
                ++counts[f0];
                RemovalPlan plan = MakeRemovalPlan(problem, sizes, weights, counts, d, f0, two, f1);
                --counts[d];
                --counts[f0];
                if (std::isfinite(static_cast<double>(plan.cost))) plans.push_back(std::move(plan));
            };
            consider(false, 0);
            for (std::size_t f1 = f0; f1 < classes; ++f1) {
                if (counts[f1] > 0) consider(true, f1);
            }
            ++counts[f0];
        }
        ++counts[d];
    }
    return plans;
}

/// The cheapest plan (infinite cost when none fits).
RemovalPlan BestRemovalPlan(const KruskalWallisKeyProblem& problem) {
    RemovalPlan best;
    for (RemovalPlan& plan : RemovalPlans(problem)) {
        if (plan.cost < best.cost) best = std::move(plan);
    }
    return best;
}

bool RunRemovalPlan(const KruskalWallisKeyProblem& problem, const RemovalPlan& plan,
                    ExactProgress& progress, KruskalWallisTally& tally);

class RemovalCount {
  public:
    RemovalCount(const KruskalWallisKeyProblem& problem, const RemovalPlan& plan,
                 ExactProgress& progress)
        : problem_(problem),
          plan_(plan),
          progress_(progress),
          function_(plan.n, plan.rowSize, plan.columnSize),
          patterns_(SharePatterns(plan.enumerated, plan.setSize)),
          set_(static_cast<std::size_t>(plan.setSize)),
          wayCount_(plan.setSize == 0 ? 1 : patterns_.size() / static_cast<std::size_t>(plan.setSize)),
          columns_(plan.columnWeight + plan.determinedWeight) {
        // The alternating coefficients (-1)^(i + j) C(i + j, i), modulo 2^32 (Pascal's rule:
        // C(i + j, i) = C(i + j - 1, i - 1) + C(i + j - 1, i)).
        const auto columns = static_cast<std::size_t>(plan_.columnSize + 1);
        std::vector<std::uint32_t> pascal;
        for (std::size_t i = 0; i <= static_cast<std::size_t>(plan_.rowSize); ++i) {
            for (std::size_t j = 0; j < columns; ++j) {
                const std::uint32_t c = i == 0 || j == 0
                                            ? 1u
                                            : pascal[(i - 1) * columns + j] + pascal[i * columns + j - 1];
                pascal.push_back(c);
                coefficients_.push_back((i + j) % 2 == 0 ? c : 0u - c);
            }
        }
        sets_ = std::max(BinomialEstimate(plan_.n, plan_.setSize), Extended{1});
        // Term (i, j) of the alternating sum reads block (a - i, b - j) at the sums less
        // i u and j u (u the last rank of the set): its row of R0 is R0 - rowShift, its
        // column of R1 is R1 - columnShift (the parts without u filled in here).
        function_.RunningSums(running_);
        const std::int64_t n = plan_.n;
        const std::int32_t a = plan_.rowSize;
        const std::int32_t b = plan_.columnSize;
        for (std::int32_t i = 0; i <= a; ++i) {
            for (std::int32_t j = 0; j <= b; ++j) {
                Term t;
                t.i = i;
                t.j = j;
                t.cells = running_.data() + function_.RunningOffset(a - i, b - j) + 1;
                t.stride = Width(b - j, n) + 1;
                t.lastColumn = Width(b - j, n) - 1;
                t.rowShift = Lowest(a - i);
                t.rows = Width(a - i, n);
                t.columnShift = Lowest(b - j);
                t.coefficient = coefficients_[static_cast<std::size_t>(i) *
                                                  static_cast<std::size_t>(b + 1) +
                                              static_cast<std::size_t>(j)];
                allTerms_.push_back(t);
            }
        }
    }

    /// The divisions that are not extreme; false when the progress gate stopped it.
    bool Run(std::uint64_t& notExtreme) {
        notExtreme_ = 0;
        if (plan_.setSize == 0) {
            function_.RunningSums(running_);
            CountSet(0, 0);
        } else if (!Choose(0, 1, 0)) {
            return false;
        }
        notExtreme = notExtreme_;
        return progress_.Report(100);
    }

  private:
    /// Chooses rank `depth` of the set from `from` upward; `sum` is the sum of those before.
    bool Choose(std::int32_t depth, std::int32_t from, std::int64_t sum) {
        const std::int32_t m = plan_.setSize;
        const std::int32_t to = plan_.n - (m - depth - 1);
        // Twice a set's sum against m (N + 1), its reflection's sum and its own together.
        const std::int64_t middle = static_cast<std::int64_t>(m) * (plan_.n + 1);
        if (depth == m - 1) {
            function_.RunningSums(running_);
            for (std::int32_t u = from; u <= to; ++u) {
                const std::int64_t twice = 2 * (sum + u);
                if (twice > middle) break;
                set_[static_cast<std::size_t>(depth)] = u;
                const std::uint64_t before = notExtreme_;
                CountSet(u, sum + u);
                // A set below the middle stands for its reflection too.
                if (twice < middle) notExtreme_ += notExtreme_ - before;
                setsDone_ += twice < middle ? 2 : 1;
            }
            if (++reports_ % ReportInterval != 0) return true;
            return progress_.Report(setsDone_ * 100 / sets_);
        }
        const std::int64_t left = m - depth;  // ranks still to choose, this one included
        for (std::int32_t rank = from; rank <= to; ++rank) {
            // The least sum of a set going on from here: rank, rank + 1, ...
            if (2 * (sum + left * rank + left * (left - 1) / 2) > middle) break;
            set_[static_cast<std::size_t>(depth)] = rank;
            function_.Divide(rank);
            const bool go = Choose(depth + 1, rank + 1, sum + rank);
            function_.Multiply(rank);
            if (!go) return false;
        }
        return true;
    }

    /// Every way the enumerated groups share the set (its last rank u not divided out;
    /// u = 0 when there is no set).
    void CountSet(std::int32_t u, std::int64_t setSum) {
        // Without a last rank (no enumerated groups) only the function itself counts (the
        // first term).
        terms_.resize(u > 0 ? allTerms_.size() : 1);
        for (std::size_t t = 0; t < terms_.size(); ++t) {
            terms_[t] = allTerms_[t];
            terms_[t].rowShift += u * terms_[t].i;
            terms_[t].columnShift += u * terms_[t].j;
        }
        const std::int64_t rest = problem_.rankTotal - setSum;
        const std::uint8_t* way = patterns_.data();
        for (std::size_t w = 0; w < wayCount_; ++w) {
            std::int64_t key = 0;
            for (const ShareGroup& group : plan_.enumerated) {
                std::int64_t sum = 0;
                for (std::int32_t t = 0; t < group.size; ++t) sum += set_[*way++];
                key += group.weight * sum * sum;
            }
            notExtreme_ += plan_.rowSize == 0 ? CountInterval(key, rest) : CountRegion(key, rest);
        }
    }

    /// CountRegion for one free group: its sums below the threshold form one interval.
    std::uint32_t CountInterval(std::int64_t enumeratedKey, std::int64_t rest) {
        const std::int64_t wd = plan_.determinedWeight;
        const std::int64_t columnLow = Lowest(plan_.columnSize);
        const std::int64_t columnHigh = columnLow + Width(plan_.columnSize, plan_.n) - 1;
        std::int64_t low = 0;
        std::int64_t high = 0;
        if (!columns_.Find(-2 * wd * rest, wd * rest * rest + enumeratedKey - problem_.threshold,
                           columnLow, columnHigh, low, high))
            return 0;
        std::uint32_t total = 0;
        for (const Term& t : terms_) {
            const std::int64_t top = std::clamp(high - t.columnShift, std::int64_t{-1}, t.lastColumn);
            const std::int64_t below =
                std::clamp(low - 1 - t.columnShift, std::int64_t{-1}, t.lastColumn);
            total += t.coefficient * (t.cells[top] - t.cells[below]);
        }
        return total;
    }

    /// The ways of the free groups (over the ranks left, the last rank still to be taken
    /// out) whose key with the enumerated groups' `enumeratedKey` stays below the
    /// threshold; `rest` is the sum of the ranks left to the free and determined groups.
    std::uint32_t CountRegion(std::int64_t enumeratedKey, std::int64_t rest) {
        const std::int64_t w0 = plan_.rowWeight;
        const std::int64_t w1 = plan_.columnWeight;
        const std::int64_t wd = plan_.determinedWeight;
        const std::int32_t a = plan_.rowSize;
        const std::int64_t rowLow = Lowest(a);
        const std::int64_t rowHigh = rowLow + Width(a, plan_.n) - 1;
        const std::int64_t columnLow = Lowest(plan_.columnSize);
        const std::int64_t columnHigh = columnLow + Width(plan_.columnSize, plan_.n) - 1;
        const std::int64_t budget = problem_.threshold - enumeratedKey;
        // Rows with any sum R1 below the threshold: w0 R0^2 + h (rest - R0)^2 < budget, h
        // the least of w1 R1^2 + wd (rest - R0 - R1)^2 over real R1.
        std::int64_t firstRow = rowLow;
        std::int64_t lastRow = rowHigh;
        if (a > 0) {
            const double h = static_cast<double>(w1) * static_cast<double>(wd) /
                             static_cast<double>(w1 + wd);
            const double qa = static_cast<double>(w0) + h;
            const double qb = -2 * h * static_cast<double>(rest);
            const double qc = h * static_cast<double>(rest) * static_cast<double>(rest) -
                              static_cast<double>(budget);
            // Rounding moves the ends by far less than a row; two rows more on each side
            // are checked exactly below.
            const double root = std::sqrt(std::max(qb * qb - 4 * qa * qc, 0.0));
            const double from = std::floor((-qb - root) / (2 * qa)) - 2;
            const double to = std::ceil((-qb + root) / (2 * qa)) + 2;
            if (to < static_cast<double>(rowLow) || from > static_cast<double>(rowHigh)) return 0;
            firstRow = std::max(rowLow, static_cast<std::int64_t>(from));
            lastRow = std::min(rowHigh, static_cast<std::int64_t>(to));
        }
        // For each row R0 the sums R1 below the threshold: the quadratic
        // (w1 + wd) R1^2 - 2 wd (rest - R0) R1 + w0 R0^2 + wd (rest - R0)^2 - budget.  An
        // empty row gets low = high + 1, which reads as nothing below.
        const auto count = static_cast<std::size_t>(lastRow - firstRow + 1);
        lows_.resize(count);
        highs_.resize(count);
        for (std::size_t r = 0; r < count; ++r) {
            const std::int64_t r0 = firstRow + static_cast<std::int64_t>(r);
            const std::int64_t left = rest - r0;
            if (!columns_.Find(-2 * wd * left, w0 * r0 * r0 + wd * left * left - budget,
                               columnLow, columnHigh, lows_[r], highs_[r])) {
                lows_[r] = 1;
                highs_[r] = 0;
            }
        }
        std::uint32_t total = 0;
        for (const Term& t : terms_) {
            const std::int64_t from = std::max(firstRow, t.rowShift);
            const std::int64_t to = std::min(lastRow, t.rowShift + t.rows - 1);
            std::uint32_t sum = 0;
            for (std::int64_t r0 = from; r0 <= to; ++r0) {
                const auto r = static_cast<std::size_t>(r0 - firstRow);
                const std::uint32_t* line = t.cells + (r0 - t.rowShift) * t.stride;
                const std::int64_t top = std::clamp(highs_[r] - t.columnShift, std::int64_t{-1}, t.lastColumn);
                const std::int64_t below = std::clamp(lows_[r] - 1 - t.columnShift, std::int64_t{-1}, t.lastColumn);
                sum += line[top] - line[below];
            }
            total += t.coefficient * sum;
        }
        return total;
    }

    /// One term of the alternating sum, for the last rank of the set.
    struct Term {
        std::int64_t i = 0;  ///< times the factor of the last rank is taken on the rows
        std::int64_t j = 0;  ///< and on the columns
        const std::uint32_t* cells = nullptr;  ///< running sums of its block (column 0)
        std::int64_t stride = 0;
        std::int64_t lastColumn = 0;
        std::int64_t rowShift = 0;
        std::int64_t rows = 0;
        std::int64_t columnShift = 0;
        std::uint32_t coefficient = 0;
    };

    const KruskalWallisKeyProblem& problem_;
    const RemovalPlan& plan_;
    ExactProgress& progress_;
    FreeGroupsFunction function_;
    std::vector<std::uint8_t> patterns_;
    std::vector<std::int64_t> set_;
    std::size_t wayCount_ = 1;
    std::vector<std::uint32_t> coefficients_;
    std::vector<std::uint32_t> running_;
    std::vector<Term> allTerms_;  ///< every term, without the last rank
    std::vector<Term> terms_;
    WalkedInterval columns_;  ///< the sums R1 below the threshold
    std::vector<std::int64_t> lows_;
    std::vector<std::int64_t> highs_;
    std::uint64_t notExtreme_ = 0;
    Extended sets_ = 1;
    Extended setsDone_ = 0;
    std::uint64_t reports_ = 0;
};

}  // namespace

Extended CostByRemoval(const KruskalWallisKeyProblem& problem) {
    return BestRemovalPlan(problem).cost;
}

namespace {

bool RunRemovalPlan(const KruskalWallisKeyProblem& problem, const RemovalPlan& plan,
                    ExactProgress& progress, KruskalWallisTally& tally) {
    tally = KruskalWallisTally{};
    if (!std::isfinite(static_cast<double>(plan.cost))) return false;
    RemovalCount count(problem, plan, progress);
    std::uint64_t notExtreme = 0;
    if (!count.Run(notExtreme)) return false;
    tally.visited = static_cast<std::uint64_t>(problem.arrangements);
    tally.extreme = tally.visited - notExtreme * static_cast<std::uint64_t>(plan.orders);
    return true;
}

}  // namespace

bool CountByRemoval(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                    KruskalWallisTally& tally) {
    return RunRemovalPlan(problem, BestRemovalPlan(problem), progress, tally);
}

std::size_t RemovalChoices(const KruskalWallisKeyProblem& problem) {
    return RemovalPlans(problem).size();
}

bool CountByRemoval(const KruskalWallisKeyProblem& problem, std::size_t choice,
                    ExactProgress& progress, KruskalWallisTally& tally) {
    std::vector<RemovalPlan> plans = RemovalPlans(problem);
    if (choice >= plans.size()) return false;
    return RunRemovalPlan(problem, plans[choice], progress, tally);
}

}  // namespace zelkon
