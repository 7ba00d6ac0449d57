// The rank tests of one and two columns: the Wilcoxon signed rank test of one column against
// a hypothetical median, the Wilcoxon matched-pairs signed-ranks test and the Mann-Whitney
// test.  Each test computes a result struct (with exact P values by counting for small
// samples, a normal approximation otherwise) and a separate writer turns it into the report.
#pragma once

#include <cstdint>
#include <string>

#include "analyses/regression/correlation.h"
#include "core/analysis_entry.h"
#include "core/column_record.h"
#include "core/data_table.h"
#include "core/results_report.h"
#include "core/types.h"
#include "stats/exact_rank_counts.h"

namespace zelkon {

/// The Wilcoxon signed rank test of one column (or of the differences column) against a
/// hypothetical median.
struct SignedRankResult {
    std::int32_t n = 0;                ///< nonzero differences ranked
    std::int32_t zeroDifferences = 0;  ///< values equal to the median, not ranked
    Extended tPlus = 0;                ///< sum of the positive ranks
    Extended tMinus = 0;               ///< sum of the negative ranks, as a negative number
    Extended w = 0;                    ///< T+ + T- (sum of all signed ranks)
    bool ties = false;                 ///< some nonzero |d| were tied
    Extended tieSum = 0;               ///< sum of t^3 - t over the tied groups
    Extended z = MissingValue;         ///< z of the normal approximation
    Extended approximateP = MissingValue;  ///< one-tailed P of the normal approximation
    std::int32_t exactFlag = ExactFlagTooLong;
    PValueSource source = PValueSource::TooLarge;
    Extended arrangements = 0;         ///< 2^n sign patterns
    Extended threshold = 0;            ///< max(T+, |T-|)
    std::int64_t counted = 0;          ///< patterns whose integer-rank sum >= threshold
    Extended p = MissingValue;         ///< one-tailed P (exact when exactFlag is 1)

    bool Exact() const { return exactFlag == ExactFlagExact; }
};

/// x - y to the 15 significant digits of the larger of |x|, |y| and |x - y| (as many as a
/// typed value carries): differences of typed decimals that are equal as decimals are equal
/// in binary too (16.3 - 12.8 and 16.4 - 12.9 both give the extended value nearest 3.5).
Extended DecimalDifference(Extended x, Extended y);

/// Ranks the nonzero differences value - median of analysis column `column` (missing cells
/// skipped), each taken by DecimalDifference so that equal decimal differences tie, and
/// computes T+, T-, W, the approximate and (for n < 30) the exact one-tailed P,
/// calling the progress protocol of exact calculations.  The approximate P handed to
/// BeginExactCalculation is doubled when `twoTailed` is set.
SignedRankResult SignedRankTest(const DataTable& table, int column, Extended median,
                                bool twoTailed);

/// The Mann-Whitney test of two columns.
struct MannWhitneyResult {
    std::int32_t na = 0;
    std::int32_t nb = 0;
    Extended u = 0;        ///< the smaller of the two U statistics
    Extended uPrime = 0;   ///< na * nb - U
    Extended rankSumA = 0;
    Extended rankSumB = 0;
    bool ties = false;         ///< the pooled sample holds tied values
    Extended tieSum = 0;       ///< sum of t^3 - t over every group of tied pooled values
    Extended z = MissingValue;
    Extended approximateP = MissingValue;  ///< one-tailed
    std::int32_t exactFlag = ExactFlagTooLong;
    PValueSource source = PValueSource::TooLarge;
    std::int64_t subsets = 0;  ///< C(N, k), capped at 2,000,000,000
    std::int64_t counted = 0;  ///< subsets whose rank sum <= k(k + 1)/2 + U
    Extended p = MissingValue; ///< one-tailed P

    bool Exact() const { return exactFlag == ExactFlagExact; }
};

/// U, U', the rank sums, the approximate and (for C(N, k) < 2e9) the exact one-tailed P of
/// analysis columns `columnA` and `columnB`, calling the progress protocol.
MannWhitneyResult MannWhitneyTest(const DataTable& table, int columnA, int columnB,
                                  bool twoTailed);

/// Everything the one-sample Wilcoxon report shows.
struct WilcoxonOneSampleResult {
    std::int32_t errorCode = 0;
    ColumnRecord summary;
    Extended hypotheticalMedian = 0;
    bool twoTailed = true;
    SignedRankResult test;
};

/// Everything the matched-pairs report shows.
struct WilcoxonPairsResult {
    std::int32_t errorCode = 0;
    ColumnRecord summaryA;
    ColumnRecord summaryB;
    ColumnRecord differences;  ///< summary of the differences column, title "Difference"
    bool twoTailed = true;
    SignedRankResult test;
    SpearmanResult pairing;    ///< Spearman r between the two columns
};

/// Everything the Mann-Whitney report shows.
struct MannWhitneyReportResult {
    std::int32_t errorCode = 0;
    ColumnRecord summaryA;
    ColumnRecord summaryB;
    bool twoTailed = true;
    MannWhitneyResult test;
};

/// Checks (codes 40 and 49) and the signed rank test of one column.
WilcoxonOneSampleResult ComputeWilcoxonOneSample(DataTable& table, int column,
                                                 const ColumnRecord& summary, bool twoTailed,
                                                 Extended hypotheticalMedian);
/// Checks (codes 40, 49, 41, 50), the differences column (A - B by DecimalDifference) and the
/// signed rank test on it,
/// and the Spearman pairing check.
WilcoxonPairsResult ComputeWilcoxonPairs(DataTable& table, int columnA, int columnB,
                                         const ColumnRecord& summaryA,
                                         const ColumnRecord& summaryB, bool twoTailed);
/// Checks (codes 40 and 49) and the Mann-Whitney test.
MannWhitneyReportResult ComputeMannWhitney(DataTable& table, int columnA, int columnB,
                                           const ColumnRecord& summaryA,
                                           const ColumnRecord& summaryB, bool twoTailed);

/// The reports of a successful computation (error code 0).
void WriteWilcoxonOneSampleReport(const WilcoxonOneSampleResult& result, ResultsReport& report);
void WriteWilcoxonPairsReport(const WilcoxonPairsResult& result, ResultsReport& report);
void WriteMannWhitneyReport(const MannWhitneyReportResult& result, ResultsReport& report);

/// The result structs as JSON at full precision.
std::string SignedRankResultJson(const SignedRankResult& result);
std::string MannWhitneyResultJson(const MannWhitneyResult& result);
std::string WilcoxonOneSampleJson(const WilcoxonOneSampleResult& result);
std::string WilcoxonPairsJson(const WilcoxonPairsResult& result);
std::string MannWhitneyReportJson(const MannWhitneyReportResult& result);

/// The nonparametric one-column test: checks, computes, writes the report into out.report,
/// sets out.errorCode (40, 49) and out.resultJson.  `column` is a data column (0 to 25).
void WilcoxonOneSample(DataTable& table, int column, const ColumnRecord& summary,
                       bool twoTailed, Extended hypotheticalMedian, AnalysisOutput& out);

/// The nonparametric two-column test: the matched-pairs signed-ranks test when `paired`,
/// else the Mann-Whitney test.  Checks, computes, writes the report into out.report, sets
/// out.errorCode (40, 49; paired also 41, 50) and out.resultJson.
void WilcoxonPairsOrMannWhitney(DataTable& table, int columnA, int columnB,
                                const ColumnRecord& summaryA, const ColumnRecord& summaryB,
                                bool paired, bool twoTailed, AnalysisOutput& out);

}  // namespace zelkon
