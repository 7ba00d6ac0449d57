// One-way analysis of variance over the analysed columns: the sums of squares from the
// column summaries, Bartlett's test for equal standard deviations, and the result of the
// whole analysis (with its post test) that the report is written from.
#pragma once

#include <cstdint>
#include <vector>

#include "analyses/groups/multi_column_data.h"
#include "analyses/groups/post_test.h"
#include "core/types.h"

namespace zelkon {

/// The one-way sums of squares.  F and P stay missing when the residual mean square is 0.
struct OneWaySums {
    std::int32_t k = 0;  ///< columns with N of 2 or more
    std::int32_t nTotal = 0;
    std::int32_t maxN = 0;
    std::int32_t dfTreatment = 0;
    std::int32_t dfResidual = 0;
    std::int32_t dfTotal = 0;
    Extended grandMean = MissingValue;
    Extended ssTreatment = MissingValue;
    Extended ssResidual = MissingValue;
    Extended ssTotal = MissingValue;
    Extended msTreatment = MissingValue;
    Extended msResidual = MissingValue;
    Extended f = MissingValue;
    Extended p = MissingValue;  ///< upper tail of F (`p_from_f`)
};

/// Computes the sums from the column summaries (N, mean, SD), so raw and averaged columns
/// alike: SStreatment = sum N_j (mean_j - G)^2 with G the grand mean from the column totals,
/// SSresidual = sum (N_j - 1) SD_j^2, SStotal their sum.  Columns with N = 0 are ignored.
/// Returns 12 when a column holds exactly one value, 11 when fewer than two columns hold
/// two or more (nothing is computed then), else 0.
std::int32_t OneWaySumsOfSquares(const std::vector<AnalysedColumn>& columns, OneWaySums& sums);

/// Bartlett's corrected statistic.  `statistic` and `p` are missing when a column with two
/// or more values has SD 0.
struct BartlettResult {
    Extended statistic = MissingValue;
    Extended p = MissingValue;  ///< upper tail of chi-square with df = columns - 1
    std::int32_t df = 0;
    bool zeroSD = false;
};

/// Returns 12 when a column holds exactly one value, else 0.
std::int32_t BartlettTest(const std::vector<AnalysedColumn>& columns, BartlettResult& result);

/// The post-test arguments of the multi-column request.
struct PostTestRequest {
    std::uint8_t mode = 2;  ///< 0 always, 1 none, 2 only when P <= 0.05
    PostTestChoice choice;
};

/// Everything the one-way report shows.
struct OneWayAnovaResult {
    std::vector<AnalysedColumn> columns;  ///< the summary list
    OneWaySums sums;
    BartlettResult bartlett;
    bool bartlettAllowed = true;  ///< every column with data has at least five values
    bool allSDsZero = false;
    bool postTestRan = false;
    bool postTestSkipped = false;  ///< mode 2 and P > 0.05
    PostTestBasis postTestBasis;
    PostTestResult postTest;
};

/// Runs the whole one-way analysis.  Returns the error code (11, 12, 13, 10 or 0).
std::int32_t ComputeOneWayAnova(const std::vector<AnalysedColumn>& columns,
                                const PostTestRequest& post, OneWayAnovaResult& result);

/// The groups of a post test: the analysed columns with N > 0.
PostTestBasis MakePostTestBasis(const std::vector<AnalysedColumn>& columns, Extended msResidual,
                                std::int32_t dfResidual, bool oneWay);

/// Whether the post test runs: mode 0, or mode 2 with P <= 0.05.
bool PostTestRuns(std::uint8_t mode, Extended p);

}  // namespace zelkon
