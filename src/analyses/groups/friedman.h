// The Friedman test (nonparametric repeated-measures analysis of variance) of the complete
// block of analysed columns: values ranked within each row, the statistic in its tie form,
// the exact P value when no row holds ties and the assignments are few enough, otherwise the
// chi-square approximation; Dunn's post test or the comparison with a control column; the
// result struct, its report and its JSON.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/groups/dunn.h"
#include "analyses/groups/friedman_exact.h"
#include "analyses/groups/rank_multi.h"
#include "core/analysis_entry.h"
#include "core/column_record.h"
#include "core/help_topics.h"
#include "core/results_report.h"

namespace zelkon {

/// Everything the Friedman report shows.
struct FriedmanResult {
    std::int32_t errorCode = 0;
    bool headingReached = false;  ///< the block is complete (error 15 comes before the heading)
    std::int32_t rows = 0;        ///< r
    std::int32_t columns = 0;     ///< c
    std::int32_t cells = 0;
    std::vector<RankGroup> groups;  ///< block columns with values (rank sums over the rows)
    Extended tieSum = 0;            ///< sum of t^3 over every run in every row (r c without ties)
    Extended q = 0;                 ///< sum of R_j^2
    Extended fr = MissingValue;     ///< the statistic (tie form)
    std::int32_t df = 0;            ///< c - 1
    Extended approximateP = MissingValue;
    std::int32_t status = ExactStatusTies;  ///< 1 exact, 0 cancelled, 2 too long, 3 ties
    FriedmanExact exact;
    Extended p = MissingValue;

    std::uint8_t postTestKind = 0;  ///< 1 Dunn, 2 comparison with a control
    bool postTestRan = false;
    bool postTestSkipped = false;  ///< mode 2 and P > 0.05
    DunnResult dunn;
    ControlResult control;
    std::vector<ColumnRecord> summary;  ///< the columns of the block

    bool Ties() const { return tieSum != static_cast<Extended>(cells); }
};

/// Checks the complete block (error 15), ranks each row's values (column map active),
/// computes the test (error 11 with fewer than two rows or columns) and the chosen post
/// test (error 10 when its list cannot be created).  The exact count is framed by
/// BeginExactCalculation and EndExactCalculation.
FriedmanResult ComputeFriedman(const MultiColumnRequest& request);

void WriteFriedmanHeading(ResultsReport& report);
/// The report after the heading (error code 0).
void WriteFriedmanBody(ResultsReport& report, const FriedmanResult& result);
std::string FriedmanJson(const FriedmanResult& result);

/// The entry of the multi-column routine for nonparametric matched columns.
void FriedmanTest(const MultiColumnRequest& request, AnalysisOutput& out);

}  // namespace zelkon
