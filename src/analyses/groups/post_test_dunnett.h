// Dunnett's multiple comparisons after an analysis of variance: every group against the
// control column, with the two-sided critical values of Dunnett's statistic and 95%
// intervals.
#pragma once

#include <cstdint>

#include "analyses/groups/post_test.h"

namespace zelkon {

/// Computes the comparisons with the control (`control` indexes the group list).  Returns
/// 10 when the row list cannot be created, else 0.  Below 5 residual degrees of freedom,
/// or with more means than the table covers, the result says so and holds no rows.
std::int32_t ComputeDunnett(const PostTestBasis& basis, std::int32_t control,
                            DunnettResult& result);

void WriteDunnett(ResultsReport& report, const PostTestBasis& basis, const DunnettResult& result);

}  // namespace zelkon
