// The test for linear trend between column mean and column number after an analysis of
// variance: the treatment sum of squares split into a linear part (one degree of freedom)
// and the nonlinear rest, each tested against the residual mean square.
#pragma once

#include "analyses/groups/post_test.h"

namespace zelkon {

/// Computes the split.  Columns are coded i - (k+1)/2 for odd k and 2i - k - 1 for even k
/// (i = 1 .. m).  With two columns the nonlinear part has no degrees of freedom: its sum of
/// squares is 0 and its mean square, F and P stay missing.
LinearTrendResult ComputeLinearTrend(const PostTestBasis& basis, const TrendInput& input);

void WriteLinearTrend(ResultsReport& report, const PostTestBasis& basis,
                      const LinearTrendResult& result);

}  // namespace zelkon
