// The lists of the exact Kruskal-Wallis count by sets.  A side's ways are put in order of the
// ranks of its outer groups once, so that the ways sharing those ranks form a run: for each
// set the outer groups' part of the key is made once a run, and the last two groups, whose
// key follows from the sum of the first of them, are gathered by that sum.  The pairs are
// counted through buckets of the range of what the shorter list needs of the longer,
// filled by counting.
#include "analyses/groups/kruskal_wallis_set_lists.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <limits>
#include <numeric>

namespace zelkon {

SideLister::SideLister(const SetSide& side, std::int32_t n) : side_(side) {
    const std::size_t groups = side.groups.size();
    const auto ways = static_cast<std::size_t>(side.ways);
    list_.keys.resize(ways);
    list_.ways.resize(ways);
    if (groups < 2) return;
    outerGroups_ = groups - 2;
    innerSize_ = side.groups[groups - 2].size;
    innerWeight_ = side.groups[groups - 2].weight;
    lastWeight_ = side.groups[groups - 1].weight;
    folded_ = innerSize_ == side.groups[groups - 1].size;
    bins_.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1) / 2 + 1, 0);
    if (side.masked) subsetSums_.resize(std::size_t{1} << side.ranks);

    // The ways in order of their outer groups' positions (each way is m positions: the first
    // group's, then the second's, ...).
    const auto m = static_cast<std::size_t>(side.ranks);
    const std::vector<std::uint8_t> patterns = SharePatterns(side.groups, side.ranks);
    std::size_t outerLength = 0;
    for (std::size_t g = 0; g < outerGroups_; ++g)
        outerLength += static_cast<std::size_t>(side.groups[g].size);
    std::vector<std::uint32_t> order(ways);
    std::iota(order.begin(), order.end(), 0u);
    const auto outer = [&](std::uint32_t w) { return patterns.begin() + w * m; };
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return std::lexicographical_compare(outer(a), outer(a) + outerLength, outer(b),
                                            outer(b) + outerLength);
    });
    const auto mask = [](auto from, std::int32_t size) {
        std::uint16_t bits = 0;
        for (std::int32_t t = 0; t < size; ++t)
            bits = static_cast<std::uint16_t>(bits | (1u << *from++));
        return bits;
    };
    for (std::size_t i = 0; i < ways; ++i) {
        const auto way = outer(order[i]);
        if (i == 0 || !std::equal(way, way + outerLength, outer(order[i - 1]))) {
            runs_.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i)});
            auto at = way;
            for (std::size_t g = 0; g < outerGroups_; ++g) {
                const std::int32_t size = side.groups[g].size;
                if (side.masked) outerMasks_.push_back(mask(at, size));
                outerPositions_.insert(outerPositions_.end(), at, at + size);
                at += size;
            }
        }
        ++runs_.back().end;
        const auto inner = way + outerLength;
        if (side.masked) {
            innerMasks_.push_back(mask(inner, innerSize_));
        } else {
            innerPositions_.insert(innerPositions_.end(), inner, inner + innerSize_);
        }
    }
}

void SideLister::MakeSubsetSums(const std::int64_t* set) {
    subsetSums_[0] = 0;
    for (std::size_t bits = 1; bits < subsetSums_.size(); ++bits) {
        subsetSums_[bits] =
            subsetSums_[bits & (bits - 1)] + set[std::countr_zero(static_cast<unsigned>(bits))];
    }
}

template <class Take>
void SideLister::Visit(const std::int64_t* set, Take&& take) {
    std::int64_t all = 0;
    if (side_.masked) {
        MakeSubsetSums(set);
        all = subsetSums_.back();
    } else {
        for (std::int32_t i = 0; i < side_.ranks; ++i) all += set[i];
    }
    if (side_.groups.size() == 1) {
        take(side_.groups[0].weight * all * all, 1u);
        return;
    }
    const std::uint8_t* outerAt = outerPositions_.data();
    const std::uint16_t* outerMask = outerMasks_.data();
    for (const Run& run : runs_) {
        // The outer groups' part of the key and the ranks they leave.
        std::int64_t outerKey = 0;
        std::int64_t rest = all;
        for (std::size_t g = 0; g < outerGroups_; ++g) {
            const std::int32_t groupSize = side_.groups[g].size;
            std::int64_t sum = 0;
            if (side_.masked) {
                sum = subsetSums_[*outerMask++];
            } else {
                for (std::int32_t t = 0; t < groupSize; ++t) sum += set[outerAt[t]];
            }
            outerAt += groupSize;
            rest -= sum;
            outerKey += side_.groups[g].weight * sum * sum;
        }
        // The sum of the first of the last two groups in each share.
        const auto innerSum = [&](std::uint32_t share) {
            if (side_.masked) return subsetSums_[innerMasks_[share]];
            const std::uint8_t* at = innerPositions_.data() + share * static_cast<std::size_t>(innerSize_);
            std::int64_t sum = 0;
            for (std::int32_t t = 0; t < innerSize_; ++t) sum += set[at[t]];
            return sum;
        };
        const auto key = [&](std::int64_t sum) {
            const std::int64_t left = rest - sum;
            return outerKey + innerWeight_ * sum * sum + lastWeight_ * left * left;
        };
        if (!side_.gathered) {
            for (std::uint32_t share = run.begin; share < run.end; ++share)
                take(key(innerSum(share)), 1u);
            continue;
        }
        // Gathered by the sum (or, for two groups of one size, by the smaller of the two
        // sums, which give the same key).
        std::int64_t low = std::numeric_limits<std::int64_t>::max();
        std::int64_t high = 0;
        for (std::uint32_t share = run.begin; share < run.end; ++share) {
            const std::int64_t sum = innerSum(share);
            const std::int64_t bin = folded_ ? std::min(sum, rest - sum) : sum;
            ++bins_[static_cast<std::size_t>(bin)];
            low = std::min(low, bin);
            high = std::max(high, bin);
        }
        for (std::int64_t bin = low; bin <= high; ++bin) {
            std::uint32_t& count = bins_[static_cast<std::size_t>(bin)];
            if (count == 0) continue;
            take(key(bin), count);
            count = 0;
        }
    }
}

const KeyList& SideLister::List(const std::int64_t* set) {
    std::int64_t* keys = list_.keys.data();
    std::uint32_t* ways = list_.ways.data();
    std::size_t size = 0;
    Visit(set, [&](std::int64_t key, std::uint32_t count) {
        keys[size] = key;
        ways[size++] = count;
    });
    list_.size = size;
    return list_;
}

std::uint64_t SideLister::Meet(const std::int64_t* set, const NeedTable& needs) {
    std::uint64_t pairs = 0;
    Visit(set, [&](std::int64_t key, std::uint32_t count) { pairs += needs.Met(key) * count; });
    return pairs;
}

void NeedTable::Make(const KeyList& shorter, std::int64_t threshold) {
    const std::size_t n = shorter.size;
    if (n == 0) {
        // Nothing needed: every key meets none.
        low_ = high_ = 0;
        shift_ = 0;
        starts_.assign(2, 0);
        needs_.assign(1, std::numeric_limits<std::int64_t>::max());
        upTo_.assign(1, 0);
        return;
    }
    // The needs placed by counting into buckets of their range (about two a need, and one
    // more for a key above them all), then put in order within their buckets.
    const auto [lowest, highest] = std::minmax_element(
        shorter.keys.begin(), shorter.keys.begin() + static_cast<std::ptrdiff_t>(n));
    low_ = threshold - *highest;
    high_ = threshold - *lowest;
    const std::size_t buckets = std::bit_ceil(2 * n);
    const auto range = static_cast<std::uint64_t>(high_ - low_) + 1;
    shift_ = std::max(0, static_cast<int>(std::bit_width(range)) -
                             (static_cast<int>(std::bit_width(buckets)) - 1));
    const auto bucket = [&](std::int64_t need) {
        return static_cast<std::size_t>(static_cast<std::uint64_t>(need - low_) >> shift_);
    };
    // starts_[b] first holds the end of bucket b, and is moved back to its start as the
    // bucket is filled from the end.
    starts_.assign(buckets + 1, 0);
    for (std::size_t i = 0; i < n; ++i) ++starts_[bucket(threshold - shorter.keys[i])];
    for (std::size_t b = 1; b < buckets; ++b) starts_[b] += starts_[b - 1];
    starts_[buckets] = static_cast<std::uint32_t>(n);
    needs_.resize(n + 1);
    upTo_.resize(n + 1);
    for (std::size_t i = n; i-- > 0;) {
        const std::int64_t need = threshold - shorter.keys[i];
        const std::uint32_t at = --starts_[bucket(need)];
        needs_[at] = need;
        upTo_[at] = shorter.ways[i];
    }
    // In order within the buckets (the buckets are in order already, so nothing moves
    // out of its own).
    for (std::size_t i = 1; i < n; ++i) {
        const std::int64_t need = needs_[i];
        const std::uint64_t ways = upTo_[i];
        std::size_t at = i;
        for (; at > 0 && needs_[at - 1] > need; --at) {
            needs_[at] = needs_[at - 1];
            upTo_[at] = upTo_[at - 1];
        }
        needs_[at] = need;
        upTo_[at] = ways;
    }
    // upTo_[i]: the ways of the needs before place i; above the last need, one that no key
    // reaches.
    std::uint64_t ways = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t these = upTo_[i];
        upTo_[i] = ways;
        ways += these;
    }
    upTo_[n] = ways;
    needs_[n] = std::numeric_limits<std::int64_t>::max();
}

}  // namespace zelkon
