// Repeated-measures (randomized block) analysis of variance over the analysed columns: the
// complete block of matched rows, its sums of squares for columns, rows and residual, the
// F ratios of treatment and matching, and the result the report is written from.
#pragma once

#include <cstdint>
#include <vector>

#include "analyses/groups/anova_one_way.h"
#include "analyses/groups/multi_column_data.h"
#include "core/data_table.h"

namespace zelkon {

/// The repeated-measures sums of squares.  F, P and the matching F and P stay missing when
/// the residual mean square is 0.
struct RepeatedMeasuresSums {
    std::int32_t rows = 0;     ///< r
    std::int32_t columns = 0;  ///< c
    Extended grandMean = MissingValue;
    Extended ssTreatment = MissingValue;
    Extended ssIndividual = MissingValue;
    Extended ssResidual = MissingValue;
    Extended ssTotal = MissingValue;
    std::int32_t dfTreatment = 0;
    std::int32_t dfIndividual = 0;
    std::int32_t dfResidual = 0;
    std::int32_t dfTotal = 0;
    Extended msTreatment = MissingValue;
    Extended msIndividual = MissingValue;
    Extended msResidual = MissingValue;
    Extended f = MissingValue;
    Extended p = MissingValue;
    Extended fMatching = MissingValue;  ///< MSindividual / MSresidual
    Extended pMatching = MissingValue;
};

/// Computes the sums from the cells of the complete block (the column map must be active)
/// and the column means of `columns`.  SStreatment = r sum (mean_j - G)^2, SSindividual =
/// c sum (row mean - G)^2, SStotal = sum (x - G)^2, and the residual from the cells'
/// deviations from their row and column means, sum (x - row mean - mean_j + G)^2, which in
/// exact arithmetic is SStotal less the other two and is never negative.  A residual sum
/// at or below 1E-30 of the values' own sum of squares (residuals beyond their 15th
/// significant digit) is rounding and counts as 0: there is no random scatter.  Returns 15 when
/// the rows do not form a complete block, 11 with fewer than two rows or columns, else 0.
std::int32_t RepeatedMeasuresSumsOfSquares(const DataTable& table,
                                           const std::vector<AnalysedColumn>& columns,
                                           RepeatedMeasuresSums& sums);

/// Everything the repeated-measures report shows.
struct RepeatedMeasuresResult {
    std::vector<AnalysedColumn> columns;  ///< the summary list
    RepeatedMeasuresSums sums;
    bool allSDsZero = false;
    bool postTestRan = false;
    bool postTestSkipped = false;  ///< mode 2 and P > 0.05
    PostTestBasis postTestBasis;
    PostTestResult postTest;
};

/// Runs the whole repeated-measures analysis.  Returns the error code (15, 11, 13, 10 or 0).
std::int32_t ComputeRepeatedMeasuresAnova(const DataTable& table,
                                          const std::vector<AnalysedColumn>& columns,
                                          const PostTestRequest& post,
                                          RepeatedMeasuresResult& result);

}  // namespace zelkon
