// Report pieces shared by the Kruskal-Wallis and Friedman tests: the verdict on the column
// medians, the line that says whether the P value is exact and why not, the skipped post
// tests and the summary of data.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/column_record.h"
#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// The P value sentence, "Variation among column medians is " with "not " when P > 0.05,
/// "significantly greater than expected" / "by chance." and a blank line; then the exact or
/// approximate line with the reason of the status (1 exact, 0 cancelled, 2 too long, 3 ties:
/// `tiesReason`), and for an exact P from fewer than 20 arrangements the sentence that no
/// data can reach P < 0.05.
void WriteRankVerdict(ResultsReport& report, Extended p, std::int32_t status, bool fewArrangements,
                      std::string_view tiesReason);

/// The lines written in bold when the post tests were not calculated (P above 0.05).
void WriteRankPostTestsNotCalculated(ResultsReport& report);

/// The centred underlined "Summary of Data", a blank line and the summary table of the rank
/// tests, one row per column record.
void WriteRankSummaryOfData(ResultsReport& report, const std::vector<ColumnRecord>& columns);

/// The reason lines of the approximate P value.
inline constexpr std::string_view KruskalWallisTiesReason =
    "at least one column has two or more identical values.";
inline constexpr std::string_view FriedmanTiesReason =
    "at least one row has two or more identical values.";

}  // namespace zelkon
