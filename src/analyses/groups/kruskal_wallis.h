// The Kruskal-Wallis test (nonparametric one-way analysis of variance) of the analysed
// columns: all values ranked together, the statistic corrected for ties, the exact P value
// when the data have no ties and the divisions are few enough, otherwise the chi-square
// approximation; Dunn's post test; the result struct, its report and its JSON.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/groups/dunn.h"
#include "analyses/groups/kruskal_wallis_exact.h"
#include "analyses/groups/rank_multi.h"
#include "core/analysis_entry.h"
#include "core/column_record.h"
#include "core/data_table.h"
#include "core/help_topics.h"
#include "core/results_report.h"

namespace zelkon {

/// Everything the Kruskal-Wallis report shows.
struct KruskalWallisResult {
    std::int32_t errorCode = 0;
    std::int32_t values = 0;        ///< N, all values ranked
    std::vector<RankGroup> groups;  ///< analysed columns with values (the rank table)
    TieSums ties;
    Extended tieFactor = 1;                 ///< 1 - sum(t^3 - t) / (N^3 - N); 1 without ties
    Extended s = 0;                         ///< sum of n_j x mean rank_j^2
    Extended kw = MissingValue;             ///< the statistic, corrected for ties
    std::int32_t df = 0;                    ///< k - 1
    Extended approximateP = MissingValue;   ///< from chi-square with k - 1 df
    std::int32_t status = ExactStatusTies;  ///< 1 exact, 0 cancelled, 2 too long, 3 ties
    KruskalWallisExact exact;
    Extended p = MissingValue;  ///< exact P when the status is 1, else the approximate P

    bool postTestRan = false;
    bool postTestSkipped = false;  ///< mode 2 and P > 0.05
    DunnResult dunn;
    std::vector<ColumnRecord> summary;  ///< every analysed column, for the summary of data
};

/// Ranks every present value of the analysed columns (column map active) and computes the
/// test and, by the post-test arguments of the request, Dunn's test.  Sets error 11 when
/// there are no values, 10 when a post-test list cannot be created.
KruskalWallisResult ComputeKruskalWallis(const MultiColumnRequest& request);

/// The centred heading, written before anything is known about the data.
void WriteKruskalWallisHeading(ResultsReport& report);
/// The report after the heading (error code 0).
void WriteKruskalWallisBody(ResultsReport& report, const KruskalWallisResult& result);
std::string KruskalWallisJson(const KruskalWallisResult& result);

/// The entry of the multi-column routine for nonparametric unmatched columns.
void KruskalWallisTest(const MultiColumnRequest& request, AnalysisOutput& out);

}  // namespace zelkon
