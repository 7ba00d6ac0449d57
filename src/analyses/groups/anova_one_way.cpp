// One-way analysis of variance: sums of squares, Bartlett's test and the whole analysis.
#include "analyses/groups/anova_one_way.h"

#include <algorithm>
#include <cmath>

#include "core/fp_guard.h"
#include "stats/pvalue.h"

namespace zelkon {

std::int32_t OneWaySumsOfSquares(const std::vector<AnalysedColumn>& columns, OneWaySums& s) {
    s = OneWaySums{};
    std::int32_t code = 0;
    Extended total = 0;
    std::int64_t nTotal = 0;  // typed-in N reach 2^31 - 1 each
    for (const AnalysedColumn& column : columns) {
        const ColumnRecord& r = column.record;
        if (r.n >= 2) {
            ++s.k;
            nTotal += r.n;
            s.maxN = std::max(s.maxN, r.n);
            total += r.mean * r.n;
        } else if (r.n == 1) {
            code = ErrorOneValueInColumn;
        }
    }
    if (s.maxN == 0 || s.k == 0) return ErrorNotEnoughData;
    if (code != 0) return code;
    // One column with data leaves no treatment degree of freedom to divide by.
    if (s.k < 2) return ErrorNotEnoughData;
    if (!FitsCount(nTotal)) return ErrorOverflow;
    s.nTotal = static_cast<std::int32_t>(nTotal);

    // From deviations, not as raw sums of squares less a correction term: that difference
    // cancels catastrophically when the data lie far from zero relative to their spread.
    s.grandMean = total / s.nTotal;
    s.ssTreatment = 0;
    s.ssResidual = 0;
    for (const AnalysedColumn& column : columns) {
        const ColumnRecord& r = column.record;
        if (r.n < 2) continue;
        const Extended d = r.mean - s.grandMean;
        s.ssTreatment += r.n * d * d;
        s.ssResidual += (r.n - 1) * r.sd * r.sd;
    }
    s.ssTotal = s.ssTreatment + s.ssResidual;
    s.dfTreatment = s.k - 1;
    s.dfResidual = s.nTotal - s.k;
    s.dfTotal = s.dfTreatment + s.dfResidual;
    s.msTreatment = s.ssTreatment / s.dfTreatment;
    s.msResidual = s.ssResidual / s.dfResidual;
    if (s.msResidual == 0) return 0;
    s.f = s.msTreatment / s.msResidual;
    s.p = p_from_f(s.dfTreatment, s.dfResidual, s.f);
    return 0;
}

std::int32_t BartlettTest(const std::vector<AnalysedColumn>& columns, BartlettResult& b) {
    b = BartlettResult{};
    std::int32_t code = 0;
    Extended sumDf = 0;
    Extended pooled = 0;
    Extended statistic = 0;
    Extended sumInverse = 0;
    std::int32_t m = 0;
    for (const AnalysedColumn& column : columns) {
        const ColumnRecord& r = column.record;
        if (r.n >= 2) {
            const Extended df = r.n - 1;
            sumDf += df;
            // A variance that underflows to zero counts as a zero SD: its logarithm would
            // be minus infinity.
            const Extended variance = r.sd * r.sd;
            if (variance == 0) {
                b.zeroSD = true;
                continue;
            }
            pooled += df * variance;
            statistic -= df * std::log(variance);
            sumInverse += 1.0L / df;
            ++m;
        } else if (r.n == 1) {
            code = ErrorOneValueInColumn;
        }
    }
    if (code != 0 || b.zeroSD || m < 2) return code;
    statistic += sumDf * std::log(pooled / sumDf);
    const Extended correction = 1.0L + (sumInverse - 1.0L / sumDf) / (3.0L * (m - 1));
    b.df = m - 1;
    b.statistic = statistic / correction;
    b.p = p_from_chi2(b.df, b.statistic);
    return 0;
}

PostTestBasis MakePostTestBasis(const std::vector<AnalysedColumn>& columns, Extended msResidual,
                                std::int32_t dfResidual, bool oneWay) {
    PostTestBasis basis;
    for (const AnalysedColumn& column : columns) {
        if (column.record.n > 0) {
            basis.groups.push_back({column.record.title, column.record.n, column.record.mean});
        }
    }
    basis.msResidual = msResidual;
    basis.dfResidual = dfResidual;
    basis.oneWay = oneWay;
    return basis;
}

bool PostTestRuns(std::uint8_t mode, Extended p) {
    return mode == 0 || (mode == 2 && p <= 0.05L);
}

std::int32_t ComputeOneWayAnova(const std::vector<AnalysedColumn>& columns,
                                const PostTestRequest& post, OneWayAnovaResult& result) {
    result = OneWayAnovaResult{};
    std::int32_t code = OneWaySumsOfSquares(columns, result.sums);
    for (const AnalysedColumn& column : columns) {
        if (column.record.n >= 1 && column.record.n <= 4) result.bartlettAllowed = false;
    }
    if (code == 0) code = BartlettTest(columns, result.bartlett);
    if (!CreateList(result.columns, DataColumns)) return ErrorOutOfMemory;
    result.columns = columns;
    if (code != 0) return code;

    result.allSDsZero = true;
    for (const AnalysedColumn& column : columns) {
        if (column.record.n > 0 && column.record.sd != 0) result.allSDsZero = false;
    }
    if (result.allSDsZero) return ErrorAllSDsZero;

    // Without residual scatter there is no P value and nothing to divide the post tests'
    // differences by: no post test then.
    const OneWaySums& s = result.sums;
    if (s.msResidual == 0) return 0;
    if (PostTestRuns(post.mode, s.p)) {
        result.postTestBasis = MakePostTestBasis(columns, s.msResidual, s.dfResidual, true);
        TrendInput trend;
        trend.k = s.k;
        trend.ssTotal = s.ssTotal;
        trend.ssTreatment = s.ssTreatment;
        trend.ssResidual = s.ssResidual;
        trend.dfTreatment = s.dfTreatment;
        trend.dfTotal = s.dfTotal;
        code = ComputePostTest(result.postTestBasis, post.choice, trend, result.postTest);
        if (code != 0) return code;
        result.postTestRan = true;
    }
    result.postTestSkipped = post.mode == 2 && s.p > 0.05L;
    return 0;
}

}  // namespace zelkon
