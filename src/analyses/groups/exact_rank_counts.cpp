#include "analyses/groups/exact_rank_counts.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "core/calc_status.h"

namespace zelkon {

const char* PValueSourceText(PValueSource source) {
    switch (source) {
        case PValueSource::Exact: return "exact";
        case PValueSource::TooLarge: return "approximate: sample beyond the exact limit";
        case PValueSource::Cancelled: return "approximate: exact calculation cancelled";
        case PValueSource::TooLong: return "approximate: exact calculation would take too long";
    }
    return "";
}

namespace {

/// Reports `done` of `total` steps and turns a stop answer into the count's flag.
bool ContinueAfter(std::int64_t done, std::int64_t total, ExactCount& result) {
    const Extended percent = static_cast<Extended>(done) * 100 / static_cast<Extended>(total);
    result.flag = ReportProgress(percent);
    return result.flag == ExactFlagExact;
}

}  // namespace

ExactCount CountSignedRankPatterns(std::int32_t n, Extended threshold) {
    ExactCount result;
    if (n < 0 || n > 62) {
        result.flag = ExactFlagTooLong;
        return result;
    }
    // ways[s] = number of sign patterns of the ranks handled so far whose positive ranks sum
    // to s.  The ranks are added from n down to 1, as the enumeration recurses.
    const std::int64_t maxSum = static_cast<std::int64_t>(n) * (n + 1) / 2;
    std::vector<std::int64_t> ways(static_cast<std::size_t>(maxSum) + 1, 0);
    ways[0] = 1;
    std::int64_t reach = 0;
    for (std::int32_t k = n; k >= 1; --k) {
        for (std::int64_t s = reach; s >= 0; --s) ways[static_cast<std::size_t>(s + k)] += ways[static_cast<std::size_t>(s)];
        reach += k;
        if (!ContinueAfter(n - k + 1, n, result)) return result;
    }
    // An integer sum s reaches the threshold exactly when s >= ceil(threshold).
    const Extended first = std::ceil(threshold);
    if (first > static_cast<Extended>(maxSum)) return result;
    const std::int64_t from = first <= 0 ? 0 : static_cast<std::int64_t>(first);
    for (std::int64_t s = from; s <= maxSum; ++s) result.counted += ways[static_cast<std::size_t>(s)];
    return result;
}

std::int64_t CappedBinomial(std::int32_t n, std::int32_t k, std::int64_t cap) {
    if (k < 0 || k > n) return 0;
    const std::int32_t m = std::min(k, n - k);
    // c = C(n - m + i, i) after step i; it never decreases, so it can stop at the cap.
    std::int64_t c = 1;
    for (std::int32_t i = 1; i <= m; ++i) {
        const std::int64_t factor = n - m + i;
        if (c >= cap || c > (INT64_MAX / factor)) return cap;
        c = c * factor / i;
    }
    return std::min(c, cap);
}

ExactCount CountRankSubsets(std::int32_t n, std::int32_t k, Extended u) {
    ExactCount result;
    if (k < 0 || k > n) {
        result.counted = 0;
        return result;
    }
    // A k-subset of 1..n with rank sum s has U = s - k(k + 1)/2.  The number of subsets with
    // each U is the coefficient list of the Gaussian binomial [n choose k], which equals
    // [n choose n - k]; it is built for the smaller size m by
    //   [r + j choose j] = [r + j - 1 choose j - 1] (1 - q^(r + j)) / (1 - q^j),  r = n - m,
    // every intermediate list being a count of subsets, so no value exceeds C(n, m).
    const std::int32_t m = std::min(k, n - k);
    const std::int64_t r = n - m;
    std::vector<std::int64_t> ways(static_cast<std::size_t>(m * r) + 1, 0);
    ways[0] = 1;
    std::int64_t degree = 0;
    for (std::int32_t j = 1; j <= m; ++j) {
        const std::int64_t up = r + j;
        // Multiply by (1 - q^up).  The product has degree j * r + j, but its terms beyond
        // the final degree j * r cancel in the division, so only the part up to j * r is
        // kept (each coefficient of the quotient depends on the lower terms only).
        const std::int64_t keep = static_cast<std::int64_t>(j) * r;
        for (std::int64_t s = keep; s >= up; --s) ways[static_cast<std::size_t>(s)] -= ways[static_cast<std::size_t>(s - up)];
        // Divide by (1 - q^j): a running sum with stride j.
        for (std::int64_t s = j; s <= keep; ++s) ways[static_cast<std::size_t>(s)] += ways[static_cast<std::size_t>(s - j)];
        degree = static_cast<std::int64_t>(j) * r;
        if (!ContinueAfter(j, m, result)) return result;
    }
    if (m == 0 && !ContinueAfter(1, 1, result)) return result;
    // Subsets counted: U <= u, that is U <= floor(u).
    const Extended last = std::floor(u);
    if (last < 0) return result;
    const std::int64_t to = last >= static_cast<Extended>(degree) ? degree : static_cast<std::int64_t>(last);
    for (std::int64_t s = 0; s <= to; ++s) result.counted += ways[static_cast<std::size_t>(s)];
    return result;
}

ExactCount CountRankPermutations(std::int32_t n, std::int64_t threshold) {
    ExactCount result;
    if (n < 0 || n > 12) {
        result.flag = ExactFlagTooLong;
        return result;
    }
    if (threshold <= 0) {
        // Every permutation reaches the threshold.
        std::int64_t factorial = 1;
        for (std::int32_t i = 2; i <= n; ++i) factorial *= i;
        if (ContinueAfter(1, 1, result)) result.counted = factorial;
        return result;
    }
    // The ranks n, n - 1, ..., 1 are placed in turn on a free position 1..n, adding
    // (position - rank)^2 to the running sum, as the enumeration recurses.  The number of
    // partial assignments depends only on the set of positions taken and on the running sum,
    // so the count runs over (set of positions, sum) a layer of equally large sets at a
    // time.  Sums at or above the threshold are kept together in the last slot: the sum
    // never decreases, so they all end counted.
    const std::size_t width = static_cast<std::size_t>(threshold) + 1;
    const std::uint32_t full = (1u << n) - 1u;
    std::vector<std::vector<std::uint32_t>> masksBySize(static_cast<std::size_t>(n) + 1);
    std::vector<std::uint32_t> indexOf(static_cast<std::size_t>(full) + 1, 0);
    for (std::uint32_t mask = 0; mask <= full; ++mask) {
        auto& list = masksBySize[static_cast<std::size_t>(std::popcount(mask))];
        indexOf[mask] = static_cast<std::uint32_t>(list.size());
        list.push_back(mask);
    }
    // 12! < 2^32, so every count fits 32 bits.
    std::vector<std::uint32_t> current(width, 0);
    std::vector<std::uint32_t> next;
    current[0] = 1;
    std::int64_t reach = 0;  // largest running sum that can occur in the current layer
    for (std::int32_t placed = 0; placed < n; ++placed) {
        const std::int32_t rank = n - placed;
        const auto& fromMasks = masksBySize[static_cast<std::size_t>(placed)];
        const auto& toMasks = masksBySize[static_cast<std::size_t>(placed) + 1];
        next.assign(toMasks.size() * width, 0);
        std::int64_t largestStep = 0;
        for (std::int32_t position = 1; position <= n; ++position) {
            largestStep = std::max<std::int64_t>(largestStep, static_cast<std::int64_t>(position - rank) * (position - rank));
        }
        const std::size_t limit = static_cast<std::size_t>(std::min<std::int64_t>(reach, threshold));
        for (std::size_t f = 0; f < fromMasks.size(); ++f) {
            const std::uint32_t mask = fromMasks[f];
            const std::uint32_t* source = &current[f * width];
            for (std::int32_t position = 1; position <= n; ++position) {
                const std::uint32_t bit = 1u << (position - 1);
                if ((mask & bit) != 0) continue;
                const std::size_t step = static_cast<std::size_t>((position - rank) * (position - rank));
                std::uint32_t* target = &next[static_cast<std::size_t>(indexOf[mask | bit]) * width];
                // Sums that stay below the threshold move by `step`; the rest collect in
                // the last slot.
                const std::size_t below = static_cast<std::size_t>(threshold) > step ? static_cast<std::size_t>(threshold) - step : 0;
                const std::size_t straight = std::min(limit + 1, below);
                for (std::size_t s = 0; s < straight; ++s) target[s + step] += source[s];
                for (std::size_t s = straight; s <= limit; ++s) target[width - 1] += source[s];
            }
        }
        current.swap(next);
        reach = std::min<std::int64_t>(reach + largestStep, threshold);
        if (!ContinueAfter(placed + 1, n, result)) return result;
    }
    result.counted = current[width - 1];
    return result;
}

}  // namespace zelkon
