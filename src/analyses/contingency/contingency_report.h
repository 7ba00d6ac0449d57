// The report of the larger contingency table, its result as JSON and the entry point the
// contingency run calls.
#pragma once

#include <string>

#include "analyses/contingency/contingency_table.h"
#include "core/analysis_entry.h"
#include "core/help_topics.h"
#include "core/results_report.h"

namespace zelkon {

/// Writes the report of a result computed without error: the independence test, the validity
/// warning, the trend test and the summary of the row and column totals.
void WriteContingencyReport(ResultsReport& report, const ContingencyResult& result);

/// The result at full precision.
std::string ContingencyResultJson(const ContingencyResult& result);

/// The larger-table analysis: computes, sets the error code or writes the report, and leaves
/// the result as JSON.
void RunContingencyAnalysis(DataTable& table, AnalysisOutput& out);

}  // namespace zelkon
