// The exact Kruskal-Wallis count rank by rank.  The ranks 1, 2, ..., N are given out in
// turn; after rank r the state is the number of ranks c_t and their sum R_t of every group t
// but the largest (whose number and sum follow from the others).  For one vector c the sums
// R_t of a group of c_t ranks out of 1..r lie between c_t (c_t + 1) / 2 and
// c_t (2r - c_t + 1) / 2, so the states of one c are a dense box, group 0 varying fastest.
// Every count is a number of partial divisions that each complete in at least one way, so
// it never exceeds the total of 2,000,000,000 and fits 32 bits.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"

namespace zelkon {

namespace {

/// Cost per cell update, per row update and per vector c per rank (nanoseconds, measured).
constexpr Extended CellUpdateCost = 0.3L;
constexpr Extended RowUpdateCost = 6.0L;
constexpr Extended VectorCost = 4.0L;
/// The two layers of cells must stay below this many cells each (24 MB together).
constexpr Extended LargestLayer = 3.0L * 1024 * 1024;
/// More vectors c than this are not attempted (about 40 bytes each).
constexpr Extended LargestVectorCount = 128.0L * 1024;

constexpr std::size_t Absent = std::numeric_limits<std::size_t>::max();

/// The groups in the order of the state: the tracked ones (largest first, so that the
/// fastest-varying dimension is the widest) and the largest group, which is not tracked.
struct Layout {
    std::vector<std::int32_t> sizes;    ///< tracked groups
    std::vector<std::int64_t> weights;  ///< their key weights
    std::int32_t bigSize = 0;
    std::int64_t bigWeight = 0;
    std::vector<std::size_t> radix;  ///< place value of c_t in the index of a vector c
    std::size_t vectorCount = 1;
};

Layout MakeLayout(const KruskalWallisKeyProblem& problem) {
    std::vector<std::size_t> order(problem.sizes.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return problem.sizes[a] > problem.sizes[b];
    });
    Layout layout;
    layout.bigSize = problem.sizes[order[0]];
    layout.bigWeight = problem.weights[order[0]];
    for (std::size_t i = 1; i < order.size(); ++i) {
        layout.sizes.push_back(problem.sizes[order[i]]);
        layout.weights.push_back(problem.weights[order[i]]);
    }
    return layout;
}

/// Fills the radix of the vector index; false when there would be too many vectors.
bool MakeRadix(Layout& layout) {
    Extended count = 1;
    for (const std::int32_t size : layout.sizes) count *= size + 1;
    if (count > LargestVectorCount) return false;
    layout.radix.clear();
    std::size_t place = 1;
    for (const std::int32_t size : layout.sizes) {
        layout.radix.push_back(place);
        place *= static_cast<std::size_t>(size) + 1;
    }
    layout.vectorCount = place;
    return true;
}

/// Width of the box of a group holding c of the ranks 1..r.
std::int64_t Width(std::int64_t c, std::int64_t r) {
    return c * (r - c) + 1;
}

/// One box that feeds a destination box: where its cells are, its widths and the shift of
/// its coordinates along one dimension (the dimension of the group that took the rank).
struct Source {
    const std::uint32_t* cells = nullptr;
    std::vector<std::int64_t> width;
    std::vector<std::int64_t> stride;
    std::size_t shiftDim = 0;
    std::int64_t shift = 0;  ///< 0 when the rank went to the largest group
};

/// Where the row of the destination at outer coordinates `at` lies in a source; false when
/// the source has no such row.
bool SourceRow(const Source& s, const std::vector<std::int64_t>& at, std::int64_t& offset) {
    offset = 0;
    for (std::size_t u = 1; u < at.size(); ++u) {
        const std::int64_t c = at[u] - (s.shiftDim == u ? s.shift : 0);
        if (c < 0 || c >= s.width[u]) return false;
        offset += c * s.stride[u];
    }
    return true;
}

/// out[i] += in[i] for i < n, two cells at a time: every count and every sum of counts on
/// the way stays below 2^32 (it counts partial divisions, at most 2,000,000,000), so two
/// cells added as one 64-bit word never carry into each other.
void AddRow(std::uint32_t* out, const std::uint32_t* in, std::int64_t n) {
    std::int64_t i = 0;
    for (; i + 2 <= n; i += 2) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, out + i, sizeof a);
        std::memcpy(&b, in + i, sizeof b);
        a += b;
        std::memcpy(out + i, &a, sizeof a);
    }
    if (i < n) out[i] += in[i];
}

/// Fills the destination box (widths `width`) row by row: each row starts as the matching
/// row of the first source (the rank given to the largest group, no shift) or as zeros, and
/// receives the matching rows of the other sources, so every cell is written once.
void FillBox(std::uint32_t* dst, const std::vector<std::int64_t>& width,
             const std::vector<Source>& sources, bool firstUnshifted,
             std::vector<std::int64_t>& at) {
    const std::size_t q = width.size();
    const std::int64_t inner = width[0];
    at.assign(q, 0);
    std::int64_t offset = 0;
    while (true) {
        std::size_t next = 0;
        std::int64_t filled = 0;
        if (firstUnshifted) {
            next = 1;
            if (SourceRow(sources[0], at, offset)) {
                filled = sources[0].width[0];
                std::copy_n(sources[0].cells + offset, filled, dst);
            }
        }
        std::fill_n(dst + filled, inner - filled, 0u);
        for (std::size_t k = next; k < sources.size(); ++k) {
            const Source& s = sources[k];
            if (!SourceRow(s, at, offset)) continue;
            AddRow(dst + (s.shiftDim == 0 ? s.shift : 0), s.cells + offset, s.width[0]);
        }
        dst += inner;
        std::size_t u = 1;
        for (; u < q; ++u) {
            if (++at[u] < width[u]) break;
            at[u] = 0;
        }
        if (u >= q) return;
    }
}

/// The numbers of cells the count works through: the cell updates of every step, the rows
/// they come in (the row is the overhead of each update), the largest layer and the number
/// of vectors c visited.
struct RankCountSize {
    Extended updates = 0;
    Extended rowUpdates = 0;
    Extended largestLayer = 0;
    Extended vectors = 0;
};

/// Computed without visiting the vectors: for each r the sums over vectors c of the box
/// sizes (and of box size times the number of groups not yet full) are the coefficients of
/// a product of one polynomial per tracked group in the total count sum(c_t).  With the
/// widths of group 0 (the fastest-varying dimension) left out the same sums count rows.
RankCountSize SizeOfRankCount(const Layout& layout, std::int32_t n) {
    RankCountSize size;
    std::vector<Extended> boxes, growing, nextBoxes, nextGrowing;
    auto sums = [&](std::int32_t r, bool rows, Extended& layer, Extended& updates) {
        boxes.assign(1, 1);
        growing.assign(1, 0);
        for (std::size_t t = 0; t < layout.sizes.size(); ++t) {
            const std::int32_t m = layout.sizes[t];
            const std::int32_t top = std::min(m, r);
            nextBoxes.assign(boxes.size() + static_cast<std::size_t>(top), 0);
            nextGrowing.assign(nextBoxes.size(), 0);
            for (std::size_t s = 0; s < boxes.size(); ++s) {
                for (std::int32_t c = 0; c <= top; ++c) {
                    const Extended cells = rows && t == 0 ? 1 : static_cast<Extended>(Width(c, r));
                    nextBoxes[s + static_cast<std::size_t>(c)] += boxes[s] * cells;
                    nextGrowing[s + static_cast<std::size_t>(c)] +=
                        growing[s] * cells + (c < m ? boxes[s] * cells : 0);
                }
            }
            boxes.swap(nextBoxes);
            growing.swap(nextGrowing);
        }
        layer = 0;
        updates = 0;
        for (std::size_t s = 0; s < boxes.size(); ++s) {
            const std::int64_t inBig = r - static_cast<std::int64_t>(s);
            if (inBig < 0 || inBig > layout.bigSize) continue;
            layer += boxes[s];
            updates += growing[s] + (inBig + 1 <= layout.bigSize ? boxes[s] : 0);
        }
    };
    // Layers 0 .. N - 2 are stored; the steps from them up to layer N - 2 are updates, and
    // the last layer's cells are counted in their completions (about as many again).
    for (std::int32_t r = 0; r + 1 < n; ++r) {
        Extended layer = 0;
        Extended updates = 0;
        sums(r, false, layer, updates);
        size.updates += r + 2 < n ? updates : 2 * layer;
        size.largestLayer = std::max(size.largestLayer, layer);
        sums(r, true, layer, updates);
        if (r + 2 < n) size.rowUpdates += updates;
    }
    size.vectors = static_cast<Extended>(layout.vectorCount) * (n + 1);
    return size;
}

/// The boxes of the layer before the last two ranks, with the sums those ranks add: every
/// division is one cell of such a box completed by giving rank N - 1 and rank N to groups
/// that still need them.
struct Completion {
    const std::uint32_t* cells = nullptr;
    std::vector<std::int64_t> width;  ///< of the box
    std::vector<std::int64_t> low;    ///< lowest rank sum of each dimension in the box
    std::vector<std::int64_t> add;    ///< what the last two ranks add to each dimension
};

/// The key count over the completions (every tracked group full after them).
void CountFinal(const Layout& layout, const KruskalWallisKeyProblem& problem,
                const std::vector<Completion>& completions, KruskalWallisTally& tally) {
    const std::size_t q = layout.sizes.size();
    std::vector<std::int64_t> at(q);
    for (const Completion& s : completions) {
        at.assign(q, 0);
        const std::uint32_t* cells = s.cells;
        while (true) {
            std::int64_t outerKey = 0;
            std::int64_t outerSum = 0;
            for (std::size_t t = 1; t < q; ++t) {
                const std::int64_t r = s.low[t] + at[t] + s.add[t];
                outerKey += layout.weights[t] * r * r;
                outerSum += r;
            }
            const std::int64_t start = s.low[0] + s.add[0];
            for (std::int64_t i = 0; i < s.width[0]; ++i) {
                const std::uint32_t count = cells[i];
                if (count == 0) continue;
                const std::int64_t r0 = start + i;
                const std::int64_t rest = problem.rankTotal - outerSum - r0;
                const std::int64_t key =
                    outerKey + layout.weights[0] * r0 * r0 + layout.bigWeight * rest * rest;
                tally.visited += count;
                if (key >= problem.threshold) tally.extreme += count;
            }
            cells += s.width[0];
            std::size_t t = 1;
            for (; t < q; ++t) {
                if (++at[t] < s.width[t]) break;
                at[t] = 0;
            }
            if (t >= q) break;
        }
    }
}

}  // namespace

Extended CostByRanks(const KruskalWallisKeyProblem& problem) {
    Layout layout = MakeLayout(problem);
    if (layout.sizes.empty()) return 0;
    if (!MakeRadix(layout)) return std::numeric_limits<Extended>::infinity();
    const RankCountSize size = SizeOfRankCount(layout, problem.n);
    if (size.largestLayer > LargestLayer) return std::numeric_limits<Extended>::infinity();
    return size.updates * CellUpdateCost +
           size.rowUpdates * RowUpdateCost * static_cast<Extended>(layout.sizes.size()) +
           size.vectors * VectorCost;
}

bool CountByRanks(const KruskalWallisKeyProblem& problem, ExactProgress& progress,
                  KruskalWallisTally& tally) {
    tally = KruskalWallisTally{};
    Layout layout = MakeLayout(problem);
    const std::size_t q = layout.sizes.size();
    if (q == 0) {
        // One group: one division.
        const std::int64_t key = layout.bigWeight * problem.rankTotal * problem.rankTotal;
        tally.visited = 1;
        tally.extreme = key >= problem.threshold ? 1 : 0;
        return progress.Report(100);
    }
    if (!MakeRadix(layout)) return false;
    const RankCountSize size = SizeOfRankCount(layout, problem.n);
    const Extended totalUpdates = std::max(size.updates, Extended{1});

    // The vectors c: their components and totals.
    std::vector<std::int32_t> component(layout.vectorCount * q);
    std::vector<std::int32_t> total(layout.vectorCount, 0);
    for (std::size_t v = 0; v < layout.vectorCount; ++v) {
        for (std::size_t t = 0; t < q; ++t) {
            const auto c = static_cast<std::int32_t>(
                (v / layout.radix[t]) % (static_cast<std::size_t>(layout.sizes[t]) + 1));
            component[v * q + t] = c;
            total[v] += c;
        }
    }
    auto valid = [&](std::size_t v, std::int64_t r) {
        const std::int64_t inBig = r - total[v];
        return inBig >= 0 && inBig <= layout.bigSize;
    };
    auto widths = [&](std::size_t v, std::int64_t r, std::vector<std::int64_t>& w) {
        w.resize(q);
        std::int64_t cells = 1;
        for (std::size_t t = 0; t < q; ++t) {
            w[t] = Width(component[v * q + t], r);
            cells *= w[t];
        }
        return cells;
    };

    // Both layers are allocated once at their largest size (growing them step by step would
    // take fresh pages from the system at every rank); every cell of a layer is written
    // before it is read.
    const auto largest = static_cast<std::size_t>(size.largestLayer) + 1;
    std::unique_ptr<std::uint32_t[]> currentCells =
        std::make_unique_for_overwrite<std::uint32_t[]>(largest);
    std::unique_ptr<std::uint32_t[]> nextCells =
        std::make_unique_for_overwrite<std::uint32_t[]>(largest);
    std::uint32_t* current = currentCells.get();
    std::uint32_t* next = nextCells.get();
    current[0] = 1;
    std::vector<std::size_t> currentAt(layout.vectorCount, Absent), nextAt(layout.vectorCount);
    currentAt[0] = 0;
    std::vector<std::int64_t> dstWidth, at;
    std::vector<Source> sources;
    sources.reserve(q + 1);
    Extended updates = 0;
    auto addSource = [&](std::size_t v, std::int64_t r, std::size_t shiftDim, std::int64_t shift) {
        Source& s = sources.emplace_back();
        s.cells = current + currentAt[v];
        const std::int64_t cells = widths(v, r, s.width);
        s.stride.assign(q, 1);
        for (std::size_t u = 1; u < q; ++u) s.stride[u] = s.stride[u - 1] * s.width[u - 1];
        s.shiftDim = shiftDim;
        s.shift = shift;
        updates += static_cast<Extended>(cells);
    };
    // Gathers the sources of vector v after rank r + 1.
    auto gather = [&](std::size_t v, std::int64_t r) {
        sources.clear();
        // The rank went to the largest group: same sums.
        const bool unshifted = currentAt[v] != Absent;
        if (unshifted) addSource(v, r, 0, 0);
        // The rank went to tracked group t, which held c - 1 ranks: its sum grew by the
        // rank, its lowest possible sum by c, so its offset grew by rank - c = r - (c - 1).
        for (std::size_t t = 0; t < q; ++t) {
            const std::int32_t c = component[v * q + t];
            if (c == 0) continue;
            const std::size_t w = v - layout.radix[t];
            if (currentAt[w] != Absent) addSource(w, r, t, r - (c - 1));
        }
        return unshifted;
    };
    for (std::int64_t r = 0; r + 2 < problem.n; ++r) {
        const std::int64_t rank = r + 1;
        std::size_t cells = 0;
        for (std::size_t v = 0; v < layout.vectorCount; ++v) {
            if (!valid(v, rank)) {
                nextAt[v] = Absent;
                continue;
            }
            nextAt[v] = cells;
            cells += static_cast<std::size_t>(widths(v, rank, dstWidth));
        }
        for (std::size_t v = 0; v < layout.vectorCount; ++v) {
            if (nextAt[v] == Absent) continue;
            const bool unshifted = gather(v, r);
            widths(v, rank, dstWidth);
            FillBox(next + nextAt[v], dstWidth, sources, unshifted, at);
        }
        std::swap(current, next);
        currentAt.swap(nextAt);
        if (!progress.Report(updates * 100 / totalUpdates)) return false;
    }
    // The last two ranks complete the divisions without a layer of their own: a box still
    // short of two ranks (in one or two tracked groups, or in the largest) is completed in
    // every way the two ranks can fill the gaps.
    const std::int64_t before = problem.n - 2;
    const auto largest1 = static_cast<std::int64_t>(problem.n - 1);
    const auto largest2 = static_cast<std::int64_t>(problem.n);
    std::vector<Completion> completions;
    for (std::size_t v = 0; v < layout.vectorCount; ++v) {
        if (currentAt[v] == Absent) continue;
        // Groups still short of ranks, once per missing rank (q stands for the largest).
        std::vector<std::size_t> gaps;
        for (std::size_t t = 0; t < q; ++t) {
            for (std::int32_t c = component[v * q + t]; c < layout.sizes[t]; ++c) gaps.push_back(t);
        }
        while (gaps.size() < 2) gaps.push_back(q);
        if (gaps.size() != 2) continue;
        Completion base;
        base.cells = current + currentAt[v];
        widths(v, before, base.width);
        base.low.resize(q);
        for (std::size_t t = 0; t < q; ++t) {
            const std::int64_t c = component[v * q + t];
            base.low[t] = c * (c + 1) / 2;
        }
        // Rank N - 1 to the first gap and N to the second, and the other way round when the
        // gaps are in different groups.
        for (int order = 0; order < (gaps[0] == gaps[1] ? 1 : 2); ++order) {
            Completion c = base;
            c.add.assign(q, 0);
            const std::size_t first = order == 0 ? gaps[0] : gaps[1];
            const std::size_t second = order == 0 ? gaps[1] : gaps[0];
            if (first < q) c.add[first] += largest1;
            if (second < q) c.add[second] += largest2;
            completions.push_back(std::move(c));
        }
    }
    CountFinal(layout, problem, completions, tally);
    return progress.Report(100);
}

}  // namespace zelkon
