// The lists of the exact Kruskal-Wallis count by sets: the keys of the ways one side of the
// groups shares a set of ranks, and what the shorter side's keys need of the longer's for a
// pair of ways to reach the threshold.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"

namespace zelkon {

/// One side of the groups.  Its groups are in increasing order of size (equal sizes next to
/// each other), so that the last two are the largest: for each way the groups before them
/// (the outer groups) take their ranks, the last two share what is left, and the key of such
/// a share depends only on the sum of the first of the two.
struct SetSide {
    std::vector<ShareGroup> groups;
    std::int32_t ranks = 0;
    Extended ways = 1;    ///< ways of sharing a set (groups of equal size in one order)
    Extended orders = 1;  ///< the orders of the groups of equal size each way stands for
    Extended runs = 1;    ///< ways of the outer groups (estimated)
    /// The ways of the last two groups are gathered by the sum of the first (one key for each
    /// sum that occurs) rather than listed one by one.
    bool gathered = false;
    /// The sums of every subset of the set's positions are made for each set, and each group
    /// reads its sum there (few ranks); otherwise each group adds its ranks.
    bool masked = false;
    Extended items = 1;  ///< keys listed for a set (estimated)
};

/// Keys with the numbers of ways that have them.
struct KeyList {
    std::vector<std::int64_t> keys;
    std::vector<std::uint32_t> ways;
    std::size_t size = 0;
};

/// What the shorter list of a set needs of the longer: for each of its keys k, the longer
/// list's keys at or above T - k pair with it.  The needs are put in order in buckets of their
/// range (by counting), with the ways of the needs before each; a key of the longer list
/// finds how many needs it reaches from where its own bucket starts, with a comparison or two
/// (no search, and no branch the processor has to guess).
class NeedTable {
  public:
    void Make(const KeyList& shorter, std::int64_t threshold);

    /// The ways of the shorter list whose keys reach the threshold with `key`.
    std::uint64_t Met(std::int64_t key) const {
        const auto bucket = static_cast<std::size_t>(
            static_cast<std::uint64_t>(std::clamp(key, low_, high_ + 1) - low_) >> shift_);
        std::size_t met = starts_[bucket];
        met += needs_[met] <= key ? 1 : 0;
        // More than one need in a bucket only where they crowd.
        while (needs_[met] <= key) ++met;
        return upTo_[met];
    }

  private:
    std::int64_t low_ = 0;   ///< the least need
    std::int64_t high_ = 0;  ///< the largest
    int shift_ = 0;          ///< a need's bucket is (need - low) >> shift
    std::vector<std::uint32_t> starts_;  ///< where each bucket's needs start, and the end
    std::vector<std::int64_t> needs_;    ///< in increasing order, then one above every key
    std::vector<std::uint64_t> upTo_;    ///< the ways of the needs before each place
};

/// Lists the keys of every way a side shares a set of ranks.
class SideLister {
  public:
    /// `n` is the number of ranks in all.
    SideLister(const SetSide& side, std::int32_t n);

    /// The keys of the ways the side shares `set` (its ranks in increasing order).
    const KeyList& List(const std::int64_t* set);
    /// The pairs of a way of the side on `set` and one of the shorter list of `needs`
    /// whose keys together reach the threshold (the keys met as they are made, not listed).
    std::uint64_t Meet(const std::int64_t* set, const NeedTable& needs);

  private:
    /// The outer groups' ranks of one way and the ways the last two share what they leave.
    struct Run {
        std::uint32_t begin = 0;  ///< the run's first share, in `inner_`
        std::uint32_t end = 0;
    };

    void MakeSubsetSums(const std::int64_t* set);
    /// Gives `take` every key of the ways on `set` with its number of ways.
    template <class Take>
    void Visit(const std::int64_t* set, Take&& take);

    const SetSide& side_;
    std::size_t outerGroups_ = 0;
    std::int32_t innerSize_ = 0;   ///< size of the first of the last two groups
    std::int64_t innerWeight_ = 0;  ///< its weight
    std::int64_t lastWeight_ = 0;   ///< the weight of the last group
    bool folded_ = false;           ///< the last two have one size: sums s and rest - s alike
    std::vector<Run> runs_;
    /// Per run, per outer group: the group's position mask (masked) or its positions.
    std::vector<std::uint16_t> outerMasks_;
    std::vector<std::uint8_t> outerPositions_;
    /// Per share of the last two: the first one's position mask (masked) or its positions.
    std::vector<std::uint16_t> innerMasks_;
    std::vector<std::uint8_t> innerPositions_;
    std::vector<std::int64_t> subsetSums_;
    std::vector<std::uint32_t> bins_;  ///< ways by sum of the first of the last two
    KeyList list_;
};

}  // namespace zelkon
