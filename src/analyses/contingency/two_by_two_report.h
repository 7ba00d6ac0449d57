// The report of the two-by-two table, its result as JSON and the entry point the two-by-two
// run calls.
#pragma once

#include <string>

#include "analyses/contingency/two_by_two.h"
#include "core/analysis_entry.h"
#include "core/help_topics.h"
#include "core/results_report.h"

namespace zelkon {

/// Writes the report of a result computed without error: the heading, McNemar's test or
/// Fisher's exact test and / or the chi-square test, the chosen extras and the table.
void WriteTwoByTwoReport(ResultsReport& report, const TwoByTwoResult& result);

/// The result at full precision.
std::string TwoByTwoResultJson(const TwoByTwoResult& result);

/// The two-by-two analysis: computes, sets the error code or writes the report, and leaves
/// the result as JSON.
void RunTwoByTwoAnalysis(const TwoByTwoRequest& request, AnalysisOutput& out);

}  // namespace zelkon
