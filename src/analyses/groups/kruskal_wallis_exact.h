// The exact P value of the Kruskal-Wallis test: the share of all divisions of the ranks
// 1..N into groups of the observed sizes whose statistic is at least as large as the
// observed one.  It is counted (in whichever of five ways is cheapest for the group sizes),
// never enumerated one division at a time, and gives exactly the counts a complete
// enumeration would give.  The complete enumeration is kept beside it to
// check and time the counting.
#pragma once

#include <cstdint>
#include <span>

#include "analyses/groups/rank_multi.h"
#include "core/types.h"

namespace zelkon {

/// Most divisions for which the exact P value is computed.
inline constexpr Extended KruskalWallisArrangementLimit = 2000000000.0L;

/// How an exact P value was obtained.
enum class KruskalWallisMethod : std::uint8_t {
    None,             ///< not computed
    ByRanks,          ///< counted rank by rank
    BySmallerGroups,  ///< counted over the ranks of the smaller groups
    ByCoincidences,   ///< counted over coinciding ranks of the smaller groups
    ByRemoval,        ///< counted over the ranks the smaller groups leave to the larger
    BySets,           ///< counted over the sets of ranks of two sides of the groups
    Enumerated,       ///< every division visited
};

/// Text of a method for the result JSON.
const char* KruskalWallisMethodText(KruskalWallisMethod method);

/// The outcome of an exact computation.
struct KruskalWallisExact {
    std::int32_t status = ExactStatusExact;  ///< 1 finished, 0 cancelled, 2 too many or too long
    Extended arrangements = 0;               ///< N! / (n_1! ... n_k!); 0 when beyond the limit
    std::int64_t visited = 0;                ///< divisions counted
    std::int64_t extreme = 0;                ///< divisions at least as extreme (at least 1)
    Extended p = MissingValue;               ///< extreme / visited when finished
    KruskalWallisMethod method = KruskalWallisMethod::None;
};

/// The number of divisions N! / (n_1! ... n_k!) of the groups with data, built as the product
/// of the binomial coefficients C(remaining, n_j) (prime-factor product).  False, with
/// `total` 0, when it exceeds 2,000,000,000.
bool KruskalWallisArrangements(std::span<const std::int32_t> sizes, Extended& total);

/// The exact P value for group sizes `sizes` (groups of size 0 are ignored) and the observed
/// S0 = sum of R_j^2 / n_j: divisions with S - S0 >= -1E-8 are extreme.  Reports progress
/// through `ReportProgress` only; a stop leaves its status and no P value.
KruskalWallisExact KruskalWallisExactP(std::span<const std::int32_t> sizes, Extended s0);

/// The same by complete enumeration: ranks are chosen for one group at a time in increasing
/// order, the last group taking the ranks left, and S is computed for every division.
KruskalWallisExact EnumerateKruskalWallis(std::span<const std::int32_t> sizes, Extended s0);

}  // namespace zelkon
