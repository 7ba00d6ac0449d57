// The entry routine of the linear regression that the X-and-Y run calls.
#pragma once

#include "core/analysis_entry.h"

namespace zelkon {

/// Fits the line with the choices of the request (force through a point, linearity tests,
/// standard curve), writes the report and the result JSON, and stores what the graph draws
/// in `request.line`.  Returns true when the fit succeeded; otherwise `out.errorCode` holds
/// the code (36, 37, 38 or 2) and the stored line is empty.
bool LinearRegression(const RegressionRequest& request, AnalysisOutput& out);

}  // namespace zelkon
