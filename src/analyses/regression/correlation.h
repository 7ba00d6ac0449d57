// Linear (Pearson) and rank (Spearman) correlation between an X column and the Y values of
// the data table, each with its 95% confidence interval and P value, and their reports.  The
// same calculations serve as the pairing checks of the paired t test (Pearson) and of the
// Wilcoxon matched-pairs test (Spearman).
#pragma once

#include <cstdint>
#include <string>

#include "core/analysis_entry.h"
#include "core/data_table.h"
#include "core/results_report.h"
#include "core/types.h"
#include "stats/exact_rank_counts.h"

namespace zelkon {

/// Pearson's linear correlation.  With errorCode > 0 (47 no data, 37 one x-value, 38 one
/// y-value, 39 fewer than three points) the statistics are missing.
struct PearsonResult {
    std::int32_t errorCode = 0;
    std::int32_t n = 0;                 ///< number of points
    Extended r = MissingValue;
    Extended rSquared = MissingValue;
    Extended lower = MissingValue;      ///< 95% limits of r (N > 3 only)
    Extended upper = MissingValue;
    Extended standardError = MissingValue;  ///< sqrt((1 - r^2) / (N - 2))
    Extended t = MissingValue;          ///< |r / SEr| with N - 2 df
    Extended p = MissingValue;          ///< two-tailed P

    bool HasInterval() const { return errorCode == 0 && n > 3; }
};

/// Spearman's rank correlation.  Error codes as for PearsonResult (no code 39).
struct SpearmanResult {
    std::int32_t errorCode = 0;
    std::int32_t n = 0;
    Extended r = MissingValue;
    Extended rSquared = MissingValue;
    Extended lower = MissingValue;      ///< 95% limits of r (N > 10 only)
    Extended upper = MissingValue;
    Extended standardError = MissingValue;
    bool ties = false;                  ///< Tx > 0 or Ty > 0
    Extended tx = 0;                    ///< tie sum of X / 12
    Extended ty = 0;                    ///< tie sum of Y / 12
    Extended d = 0;                     ///< sum of squared rank differences
    Extended approximateP = MissingValue;  ///< two-tailed, from t with N - 2 df
    std::int32_t exactFlag = ExactFlagTooLong;
    PValueSource source = PValueSource::TooLarge;
    Extended permutations = 0;          ///< N!
    std::int64_t threshold = 0;         ///< round((N^3 - N)(1 + |r|) / 6)
    std::int64_t counted = 0;
    Extended p = MissingValue;          ///< two-tailed P (2 counted / N! when exact)

    bool Exact() const { return exactFlag == ExactFlagExact; }
    bool HasInterval() const { return errorCode == 0 && n > 10; }
};

/// Pearson correlation of the X-and-Y format: every row in which analysis column `xColumn`
/// holds a value gives one point for each other column (0 to LastColumn) holding a value.
PearsonResult PearsonCalc(const DataTable& table, int xColumn);
/// The pairing check of the paired t test: the points are the rows in which both analysis
/// columns `xColumn` and `yColumn` hold a value.
PearsonResult PearsonCalc(const DataTable& table, int xColumn, int yColumn);

/// Spearman correlation over the points of the X-and-Y format (as PearsonCalc), with the
/// exact P value for N <= 12 (progress protocol called).
SpearmanResult SpearmanCalc(const DataTable& table, int xColumn);
/// The pairing check of the Wilcoxon matched-pairs test: rows where both columns hold a value.
SpearmanResult SpearmanCalc(const DataTable& table, int xColumn, int yColumn);

/// The reports of a successful calculation (error code 0).
void PearsonReport(const PearsonResult& result, ResultsReport& report);
void SpearmanReport(const SpearmanResult& result, ResultsReport& report);

/// The result structs as JSON at full precision.
std::string PearsonResultJson(const PearsonResult& result);
std::string SpearmanResultJson(const SpearmanResult& result);

/// The correlation analyses of the X-and-Y format (X = analysis column 0): calculation,
/// report into out.report, error code into out.errorCode, result JSON into out.resultJson.
/// Both are `TableEntry` functions for the analysis run.
void PearsonEntry(DataTable& table, AnalysisOutput& out);
void SpearmanEntry(DataTable& table, AnalysisOutput& out);

}  // namespace zelkon
