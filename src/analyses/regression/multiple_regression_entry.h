// The entry routine of the multiple regression and correlation matrix that the
// multiple-regression run calls.
#pragma once

#include "core/analysis_entry.h"

namespace zelkon {

/// Runs the chosen mode on the table, writes the report (or the message that refuses the
/// analysis), sets the results help topic and the result JSON, and stores the rows used and,
/// after a fit, the coefficients in `request.result` for the graph.  The table's analysis
/// mode is cleared while it runs (the columns are chosen by the X marks, not by the column
/// selection) and restored afterwards.
void MultipleRegression(const MultipleRegressionRequest& request, AnalysisOutput& out);

}  // namespace zelkon
