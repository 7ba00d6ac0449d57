// Critical values of the post tests read from the studentized range and Dunnett tables,
// with linear interpolation in degrees of freedom and in the number of means.
#pragma once

#include <cstdint>

#include "core/types.h"

namespace zelkon {

/// Upper-tail probabilities of the studentized range table.
enum class RangeLevel { P05 = 0, P01 = 1, P001 = 2 };
/// Two-sided probabilities of the Dunnett table.
enum class DunnettLevel { P05 = 0, P01 = 1 };

/// The largest number of means each table covers.
inline constexpr std::int32_t MaxRangeMeans = 100;
inline constexpr std::int32_t MaxDunnettMeans = 21;
/// The smallest residual degrees of freedom of the Dunnett table.
inline constexpr std::int32_t MinDunnettDf = 5;

/// q(p, df, k): the upper percentage point of the studentized range for k means and df
/// residual degrees of freedom.  An entry is taken as it stands when k and df are in the
/// table (or df exceeds 500, the infinity row); otherwise it is interpolated linearly in df
/// between neighbouring rows (the infinity row counting as df 500), in k between
/// neighbouring columns, or in both (first in df within each column, then in k).
/// MissingValue when k lies outside 2 to 100 or df is below 1: the table has no such entry
/// and a nearer column would understate the critical value.
Extended StudentizedRangeCritical(RangeLevel level, std::int32_t df, std::int32_t k);

/// d(p, df, k): the two-sided critical value of Dunnett's statistic for k means (the
/// control included), looked up in the same way.  MissingValue when k lies outside 2 to 21
/// or df is below 5.
Extended DunnettCritical(DunnettLevel level, std::int32_t df, std::int32_t k);

}  // namespace zelkon
