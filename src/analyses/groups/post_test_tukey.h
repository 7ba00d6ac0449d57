// The studentized-range post tests after an analysis of variance: Tukey-Kramer (every pair
// against the critical q of all means, with 95% intervals) and Student-Newman-Keuls (the
// step-down procedure on the means in ascending order, without intervals).
#pragma once

#include <cstdint>

#include "analyses/groups/post_test.h"

namespace zelkon {

/// Tukey-Kramer.  Returns 10 when the row list cannot be created, else 0.  With more means
/// than the table covers the result says so and holds no rows.
std::int32_t ComputeTukeyKramer(const PostTestBasis& basis, RangeTestResult& result);

/// Student-Newman-Keuls.  Rows come in the order tested: for each group in ascending order
/// of mean, the others from the widest range down; a pair inside a range already found not
/// significant is not tested (statistic missing, category 1).
std::int32_t ComputeNewmanKeuls(const PostTestBasis& basis, RangeTestResult& result);

/// Writes either test.
void WriteRangeTest(ResultsReport& report, const PostTestBasis& basis,
                    const RangeTestResult& result);

}  // namespace zelkon
