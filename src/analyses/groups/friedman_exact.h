// The exact P value of the Friedman test: of the (c!)^r ways the r rows can each order the
// ranks 1..c among the c columns, the share whose sum of squared column rank sums Q is at
// least the observed one.  It is counted by convolving, row after row, the distribution of
// the column rank sums (kept up to the order of the columns, which Q ignores); the
// enumeration over compositions is kept beside it to check and time the count.
#pragma once

#include <cstdint>

#include "analyses/groups/rank_multi.h"
#include "core/types.h"

namespace zelkon {

/// Most columns and most assignments for which the exact P value is computed.
inline constexpr std::int32_t FriedmanMostColumns = 6;
inline constexpr Extended FriedmanArrangementLimit = 1000000000.0L;

/// How an exact P value was obtained.
enum class FriedmanMethod : std::uint8_t {
    None,          ///< not computed
    Counted,       ///< the distribution of the column rank sums convolved row by row
    Compositions,  ///< every composition of the rows into the orders of the ranks visited
};

/// Text of a method for the result JSON.
const char* FriedmanMethodText(FriedmanMethod method);

/// The outcome of an exact computation.
struct FriedmanExact {
    std::int32_t status = ExactStatusExact;  ///< 1 finished, 0 cancelled, 2 too many or too long
    Extended arrangements = 0;               ///< (c!)^r; 0 when c > 6 or beyond the limit
    std::int64_t visited = 0;                ///< weighted assignments counted
    std::int64_t extreme = 0;                ///< of them with Q - Q0 >= -1E-8
    Extended p = MissingValue;               ///< extreme / visited when finished
    FriedmanMethod method = FriedmanMethod::None;
};

/// (c!)^r when c <= 6 and it does not exceed 1,000,000,000; false (total 0) otherwise.
bool FriedmanArrangements(std::int32_t rows, std::int32_t columns, Extended& total);

/// The exact P value for r rows, c columns and the observed Q0 = sum of R_j^2.  Reports its
/// progress through `ReportProgress` (the caller frames it with BeginExactCalculation and
/// EndExactCalculation); a stop leaves its status and no P value.
FriedmanExact FriedmanExactP(std::int32_t rows, std::int32_t columns, Extended q0);

/// The same by the enumeration over compositions: how many rows take each order of the
/// ranks, each composition weighted by its multinomial count; a composition is complete as
/// soon as no rows are left.
FriedmanExact EnumerateFriedmanCompositions(std::int32_t rows, std::int32_t columns, Extended q0);

}  // namespace zelkon
