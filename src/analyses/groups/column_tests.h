// The entry routines of the one- and two-column tests: the t tests and their rank-test
// siblings, chosen by the nonparametric flag, and the entry functions the analysis run calls.
#pragma once

#include "core/analysis_entry.h"
#include "core/column_record.h"
#include "core/data_table.h"
#include "core/types.h"

namespace zelkon {

/// The one-sample t test: computes, writes the report into out.report (nothing when an
/// error code is set), sets out.errorCode (40, 49) and out.resultJson.  `column` is a data
/// column, or -1 for the typed-in summary `summary`.
void OneSampleTTest(DataTable& table, int column, const ColumnRecord& summary, bool twoTailed,
                    Extended hypotheticalValue, AnalysisOutput& out);

/// The paired (`unpaired` clear), unpaired (`equalSDs` set) or Welch t test, as
/// OneSampleTTest.  Error codes 44, 40, 49 and 50.
void TTest(DataTable& table, int first, int second, const ColumnRecord& firstSummary,
           const ColumnRecord& secondSummary, bool equalSDs, bool twoTailed, bool unpaired,
           AnalysisOutput& out);

/// The one-column test: clears the error code, then the one-sample t test, or the Wilcoxon
/// signed rank test when `nonparametric` is set (code 42 for a typed-in summary).
void OneColumnTest(DataTable& table, int column, const ColumnRecord& summary,
                   bool nonparametric, bool twoTailed, Extended hypotheticalValue,
                   AnalysisOutput& out);

/// The two-column test: clears the error code, then the t test, or when `nonparametric` is
/// set the Mann-Whitney or Wilcoxon matched-pairs test (code 42 when either column is a
/// typed-in summary).
void TwoColumnTest(DataTable& table, int first, int second, const ColumnRecord& firstSummary,
                   const ColumnRecord& secondSummary, bool nonparametric, bool twoTailed,
                   bool equalSDs, bool unpaired, AnalysisOutput& out);

/// The entry functions of the analysis run (`OneColumnEntry`, `TwoColumnEntry`).
void RunOneColumnTest(const OneColumnRequest& request, AnalysisOutput& out);
void RunTwoColumnTest(const TwoColumnRequest& request, AnalysisOutput& out);

}  // namespace zelkon
