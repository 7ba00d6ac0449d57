#include "stats/exact_rank_counts.h"

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
    // The ranks n, n - 1, ..., 1 are placed in turn on a free position 1..n, adding
    // (position - rank)^2 to the running sum, as the enumeration recurses.  The number of
    // partial assignments depends only on the set of positions taken and on the running sum,
    // so the count runs over (set of positions, sum), one layer of equally large sets at a
    // time.  Two facts keep the table small:
    // - The ranks still to place, 1..m, add at least the sum of the free positions and ranks
    //   matched in order and at most the sum matched in reverse order (rearrangement
    //   inequality).  So for each set only a window of running sums is kept: below it a sum
    //   can no longer reach the threshold and is dropped; from its top on the threshold is
    //   sure and the m! completions are counted at once.
    // - (position - rank)^2 has the parity of position - rank, so every running sum of a set
    //   has the parity of (sum of its positions - sum of the ranks placed): only every
    //   other sum occurs, and slot j of a set holds the sum low + 2j.
    std::vector<std::int64_t> factorial(static_cast<std::size_t>(n) + 1, 1);
    for (std::int32_t i = 1; i <= n; ++i) factorial[static_cast<std::size_t>(i)] = factorial[static_cast<std::size_t>(i) - 1] * i;
    const std::uint32_t full = (1u << n) - 1u;
    struct Window {
        std::int64_t low;     // smallest running sum kept (of the set's parity)
        std::int64_t high;    // running sums >= high reach the threshold whatever follows
        std::int64_t slots;   // sums low, low + 2, ... below high
        std::size_t offset;   // start of the set's slots in its layer
    };
    std::vector<Window> window(static_cast<std::size_t>(full) + 1);
    std::vector<std::vector<std::uint32_t>> masksBySize(static_cast<std::size_t>(n) + 1);
    std::vector<std::size_t> layerSize(static_cast<std::size_t>(n) + 1, 0);
    for (std::uint32_t mask = 0; mask <= full; ++mask) {
        const auto placed = static_cast<std::int64_t>(std::popcount(mask));
        const std::int64_t m = n - placed;
        std::int64_t least = 0, most = 0, t = 0, positions = 0;
        for (std::int64_t position = 1; position <= n; ++position) {
            if ((mask >> (position - 1)) & 1u) {
                positions += position;
                continue;
            }
            ++t;
            least += (position - t) * (position - t);
            most += (position - (m + 1 - t)) * (position - (m + 1 - t));
        }
        const std::int64_t ranksPlaced = placed * (2 * n - placed + 1) / 2;
        const std::int64_t parity = (positions - ranksPlaced) & 1;
        Window& w = window[mask];
        w.high = threshold - least;
        w.low = std::max<std::int64_t>(0, threshold - most);
        w.low += (w.low - parity) & 1;  // up to the set's parity
        w.slots = w.high > w.low ? (w.high - w.low + 1) / 2 : 0;
        w.offset = layerSize[static_cast<std::size_t>(placed)];
        layerSize[static_cast<std::size_t>(placed)] += static_cast<std::size_t>(w.slots);
        masksBySize[static_cast<std::size_t>(placed)].push_back(mask);
    }
    // 12! < 2^32, so every partial count fits 32 bits; the sure counts are summed in 64.
    std::vector<std::uint32_t> current(std::max<std::size_t>(layerSize[0], 1), 0);
    std::vector<std::uint32_t> next;
    std::int64_t counted = 0;
    if (window[0].high <= 0) {
        counted = factorial[static_cast<std::size_t>(n)];
    } else if (window[0].low == 0) {
        current[0] = 1;
    }
    for (std::int32_t placed = 0; placed < n; ++placed) {
        const std::int32_t rank = n - placed;
        const std::int64_t completions = factorial[static_cast<std::size_t>(rank - 1)];
        next.assign(std::max<std::size_t>(layerSize[static_cast<std::size_t>(placed) + 1], 1), 0);
        for (const std::uint32_t mask : masksBySize[static_cast<std::size_t>(placed)]) {
            const Window& from = window[mask];
            if (from.slots == 0) continue;
            const std::uint32_t* source = &current[from.offset];
            for (std::int32_t position = 1; position <= n; ++position) {
                const std::uint32_t bit = 1u << (position - 1);
                if ((mask & bit) != 0) continue;
                const Window& to = window[mask | bit];
                const std::int64_t step = static_cast<std::int64_t>(position - rank) * (position - rank);
                // Slot j holds the sum from.low + 2j, which becomes base + 2j: dropped below
                // to.low, kept below to.high, sure from there on.  base has to.low's parity.
                const std::int64_t base = from.low + step;
                const std::int64_t keepFrom = std::clamp<std::int64_t>((to.low - base + 1) / 2, 0, from.slots);
                const std::int64_t sureFrom = std::clamp<std::int64_t>((to.high - base + 1) / 2, keepFrom, from.slots);
                if (sureFrom > keepFrom) {
                    std::uint32_t* target = next.data() + to.offset + static_cast<std::size_t>((base - to.low) / 2 + keepFrom);
                    const std::uint32_t* kept = source + keepFrom;
                    for (std::int64_t j = 0; j < sureFrom - keepFrom; ++j) target[j] += kept[j];
                }
                std::int64_t sure = 0;
                for (std::int64_t j = sureFrom; j < from.slots; ++j) sure += source[j];
                counted += sure * completions;
            }
        }
        current.swap(next);
        if (!ContinueAfter(placed + 1, n, result)) return result;
    }
    result.counted = counted;
    return result;
}

}  // namespace zelkon
