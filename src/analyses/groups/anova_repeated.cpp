// Repeated-measures analysis of variance.
#include "analyses/groups/anova_repeated.h"

#include "analyses/groups/multi_column_block.h"
#include "core/fp_guard.h"
#include "stats/pvalue.h"

namespace zelkon {

namespace {

// Residuals below the 15th significant digit of the values (as many as a typed value
// carries) are rounding, not scatter: exactly additive data whose means are not exact in
// binary leave a residual sum of squares near 1E-37 that would otherwise divide F.
constexpr Extended ZeroScatterRatio = 1.0E-30L;

}  // namespace

std::int32_t RepeatedMeasuresSumsOfSquares(const DataTable& table,
                                           const std::vector<AnalysedColumn>& columns,
                                           RepeatedMeasuresSums& s) {
    s = RepeatedMeasuresSums{};
    const CompleteBlock block = CheckCompleteBlock(table);
    s.rows = block.rows;
    s.columns = block.columns;
    if (!block.complete) return ErrorIncompleteBlock;
    if (s.rows < 2 || s.columns < 2) return ErrorNotEnoughData;

    const Extended r = s.rows;
    const Extended c = s.columns;
    Extended total = 0;
    for (const AnalysedColumn& column : columns) {
        if (column.record.n > 0) total += column.record.mean * column.record.n;
    }
    s.grandMean = total / (r * c);
    const Extended g = s.grandMean;
    s.ssTreatment = 0;
    for (const AnalysedColumn& column : columns) {
        if (column.record.n <= 0) continue;
        const Extended d = column.record.mean - g;
        s.ssTreatment += d * d;
    }
    s.ssTreatment *= r;

    auto columnMean = [&](int k) {
        return k < static_cast<int>(columns.size())
                   ? columns[static_cast<std::size_t>(k)].record.mean
                   : g;
    };
    s.ssTotal = 0;
    s.ssIndividual = 0;
    s.ssResidual = 0;
    Extended sumOfSquares = 0;  // of the values themselves, about zero
    for (int row = block.firstRow; row <= block.lastRow; ++row) {
        Extended rowSum = 0;
        std::int32_t count = 0;
        for (int k = block.firstColumn; k <= block.lastColumn; ++k) {
            const Extended x = table.AnalysisValue(row, k);
            if (IsMissingValue(x)) continue;
            ++count;
            rowSum += x;
            s.ssTotal += (x - g) * (x - g);
            sumOfSquares += x * x;
        }
        if (count == 0) continue;
        const Extended rowMean = rowSum / count;
        s.ssIndividual += (rowMean - g) * (rowMean - g);
        for (int k = block.firstColumn; k <= block.lastColumn; ++k) {
            const Extended x = table.AnalysisValue(row, k);
            if (IsMissingValue(x)) continue;
            const Extended e = x - rowMean - columnMean(k) + g;
            s.ssResidual += e * e;
        }
    }
    s.ssIndividual *= c;
    if (s.ssResidual <= ZeroScatterRatio * sumOfSquares) s.ssResidual = 0;

    s.dfTreatment = s.columns - 1;
    s.dfIndividual = s.rows - 1;
    s.dfResidual = s.dfTreatment * s.dfIndividual;
    s.dfTotal = s.dfTreatment + s.dfIndividual + s.dfResidual;
    s.msTreatment = s.ssTreatment / s.dfTreatment;
    s.msIndividual = s.ssIndividual / s.dfIndividual;
    s.msResidual = s.ssResidual / s.dfResidual;
    if (s.msResidual == 0) return 0;
    s.f = s.msTreatment / s.msResidual;
    s.p = p_from_f(s.dfTreatment, s.dfResidual, s.f);
    // The matching test divides by the same residual mean square, so it too needs one.
    s.fMatching = s.msIndividual / s.msResidual;
    s.pMatching = p_from_f(s.dfIndividual, s.dfResidual, s.fMatching);
    return 0;
}

std::int32_t ComputeRepeatedMeasuresAnova(const DataTable& table,
                                          const std::vector<AnalysedColumn>& columns,
                                          const PostTestRequest& post,
                                          RepeatedMeasuresResult& result) {
    result = RepeatedMeasuresResult{};
    std::int32_t code = RepeatedMeasuresSumsOfSquares(table, columns, result.sums);
    if (code != 0) return code;
    if (!CreateList(result.columns, DataColumns)) return ErrorOutOfMemory;
    result.columns = columns;

    result.allSDsZero = true;
    for (const AnalysedColumn& column : columns) {
        if (column.record.sd != 0) result.allSDsZero = false;
    }
    if (result.allSDsZero) return ErrorAllSDsZero;

    const RepeatedMeasuresSums& s = result.sums;
    if (s.msResidual == 0) return 0;
    if (PostTestRuns(post.mode, s.p)) {
        result.postTestBasis = MakePostTestBasis(columns, s.msResidual, s.dfResidual, false);
        TrendInput trend;
        trend.k = s.columns;
        trend.ssTotal = s.ssTotal;
        trend.ssTreatment = s.ssTreatment;
        trend.ssResidual = s.ssResidual;
        trend.dfTreatment = s.dfTreatment;
        trend.dfTotal = s.dfTotal;
        trend.ssIndividual = s.ssIndividual;
        trend.msIndividual = s.msIndividual;
        trend.dfIndividual = s.dfIndividual;
        code = ComputePostTest(result.postTestBasis, post.choice, trend, result.postTest);
        if (code != 0) return code;
        result.postTestRan = true;
    }
    result.postTestSkipped = post.mode == 2 && s.p > 0.05L;
    return 0;
}

}  // namespace zelkon
