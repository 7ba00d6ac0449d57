// The report of the linear regression, written from its result struct: the best-fit values,
// the test of the slope, the runs test, the test for lack of fit, the table of replicates
// and the standard-curve block.
#pragma once

#include "analyses/regression/linear_regression.h"
#include "core/results_report.h"

namespace zelkon {

/// Width of the field in which the report's titles are centred.
inline constexpr int RegressionTitleWidth = 65;
/// The table of replicates is shown for at most this many points.
inline constexpr std::int32_t ReplicatesTableMaxPoints = 50;

/// Writes the report of a successful fit (`errorCode` 0).
void WriteLinearRegressionReport(ResultsReport& report, const LinearRegressionResult& result);

}  // namespace zelkon
