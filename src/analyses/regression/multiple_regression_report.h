// The report of the multiple regression and of the correlation matrix, written from the
// analysis struct: the equation, the coefficient table, the goodness of fit, the
// contribution of each variable, the multicollinearity check, the correlation matrix in
// blocks of five columns and the summary of the data; or the message of a refusal.
#pragma once

#include "analyses/regression/multiple_regression.h"
#include "core/help_topics.h"
#include "core/results_report.h"

namespace zelkon {

/// Writes the report of an analysis without error code: the refusal message framed by
/// blank lines, or the whole report of the mode.
void WriteMultipleRegressionReport(ResultsReport& report, const MultipleRegressionAnalysis& a);

/// The correlation matrix: the X variables in blocks of five columns, in regression mode
/// with the column of correlations with Y in the last block, then its footnote.
void WriteCorrelationMatrix(ResultsReport& report, const MultipleRegressionAnalysis& a);

}  // namespace zelkon
