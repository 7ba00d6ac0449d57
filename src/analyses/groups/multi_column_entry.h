// The multi-column entry routine: the analysis the column run calls for three or more
// columns (two are accepted).  It brings the column summaries up to date, maps the analysed
// columns, refuses averaged data where only raw data will do, and dispatches to one-way or
// repeated-measures ANOVA or to a nonparametric test.
#pragma once

#include "analyses/groups/multi_column_nonparametric.h"
#include "core/analysis_entry.h"

namespace zelkon {

/// The entry routine for the run (`AnalysisEntryPoints::multiColumn`), with the program's
/// nonparametric tests.
void MultiColumnComparison(const MultiColumnRequest& request, AnalysisOutput& out);

/// The same with the nonparametric tests given (tests put recorders here).
void MultiColumnComparison(const MultiColumnRequest& request, AnalysisOutput& out,
                           const NonparametricTests& nonparametric);

/// One-way ANOVA on the analysed columns (column map active): report, help topic, JSON and
/// error code into `out`.
void OneWayAnovaAnalysis(const MultiColumnRequest& request, AnalysisOutput& out);
/// Repeated-measures ANOVA on the analysed columns (column map active).
void RepeatedMeasuresAnalysis(const MultiColumnRequest& request, AnalysisOutput& out);

}  // namespace zelkon
