// Descriptive statistics of a column (N, mean, SD, SEM, extremes, median, 95% limits of the
// mean), the Kolmogorov-Smirnov normality test, the refresh of the 26 column summaries and
// the texts of the column statistics screen.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/column_record.h"
#include "core/types.h"

namespace zelkon {

class DataTable;

/// The summary of one column that `ColumnStats` computes.  Fields that cannot be computed
/// hold MissingValue.
struct ColumnSummary {
    std::int32_t n = 0;
    Extended mean = MissingValue;
    Extended sd = MissingValue;
    Extended sem = MissingValue;
    Extended minimum = MissingValue;
    Extended maximum = MissingValue;
    Extended median = MissingValue;
    Extended upper95 = MissingValue;
    Extended lower95 = MissingValue;
};

/// Summarises analysis column `column` (0 to 26, read through `AnalysisValue`, so empty,
/// excluded and unselected cells are left out) over all rows of the table.  The mean and the
/// sum of squares take two passes.  With N < 2, SD and SEM are 0; with N > 0 the limits are
/// Mean -/+ t_crit95(N - 1) * SEM; with N = 0 the mean, extremes, median and limits are
/// missing.
ColumnSummary SummariseColumn(const DataTable& table, int column);

/// The same as `SummariseColumn` in out-value form; returns the mean.
Extended ColumnStats(const DataTable& table, int column, std::int32_t& n, Extended& sd,
                     Extended& sem, Extended& minimum, Extended& maximum, Extended& median,
                     Extended& upper95, Extended& lower95);

/// The median of the column's values: MissingValue for none, the middle value for an odd
/// count, the mean of the two middle values for an even count.
Extended Median(const DataTable& table, int column);

/// Result of the normality test: the Kolmogorov-Smirnov distance and its P value, both
/// MissingValue when the test cannot be run.
struct NormalityResult {
    Extended ks = MissingValue;
    Extended ksp = MissingValue;
};

/// Kolmogorov-Smirnov test of the column's values against a normal distribution with the
/// given mean and SD.  Needs at least one value and SD > 0; otherwise both fields are missing.
NormalityResult NormalityTest(const DataTable& table, int column, Extended mean, Extended sd);

/// The same test on a list of values (in any order).
NormalityResult NormalityTestOfValues(std::vector<Extended> values, Extended mean, Extended sd);

/// The largest distance between the empirical distribution of the sorted values and the
/// normal distribution with the given mean and SD (SD > 0).  At every point, the first
/// included, the normal probability is compared with the empirical step on both sides.
Extended KolmogorovSmirnovDistance(const std::vector<Extended>& sorted, Extended mean,
                                   Extended sd);

/// P value of the distance ks for n values by the Kolmogorov series
/// 2 * sum (-1)^(j-1) exp(-2 j^2 n ks^2), without small-sample correction.  The series stops
/// after a term whose magnitude is below 0.001 times the previous one; when it has not
/// stopped within 100 terms the P value is 1.
Extended KolmogorovP(std::int32_t n, Extended ks);

/// Whether a normality P value passes the test (P > 0.05).
bool PassesNormality(Extended ksp);

/// Completes a summary.  For a column (0 to 26) of `table` it stores `SummariseColumn` into
/// the record (N, mean, SD, SEM, extremes, median, limits).  For column -1 the record is a
/// typed-in summary (averaged data) and `table` may be null: SEM = SD / sqrt(N) when SD holds
/// a value, else SD = SEM * sqrt(N) when SEM holds one (missing when N <= 0); then the
/// limits Mean -/+ t_crit95(N - 1) * SEM when SEM holds a value and N > 0, else missing.
void FillSummary(const DataTable* table, int column, ColumnRecord& record);

/// True when data column c holds averaged data: no raw value was entered and its record
/// has N > 0.
bool HoldsAveragedData(const DataTable& table, int column);

/// Refreshes the records of the 26 data columns: a changed column is recomputed (flag
/// cleared; with N < 1 its SD, SEM, median and extremes become missing); for a column without
/// averaged data the normality result of an unchanged column is kept while both values are
/// present, otherwise the test runs when N > 4 and SD > 0 (Passed = P > 0.05), otherwise KS
/// and its P become missing.  The data columns are read as the user sees them: the analysis
/// mode and column map of an earlier run are set aside during the refresh (an active map is
/// rebuilt afterwards).
void UpdateColumnSummaries(DataTable& table);

/// Rows of the column statistics screen, in order.  `Error` is the error the user types for
/// averaged data (SD, or SEM when averaged data are entered with SEM), `OtherError` the one
/// computed from it.
enum class StatisticsRow {
    Mean,
    Error,
    N,
    OtherError,
    Lower95,
    Upper95,
    Minimum,
    Median,
    Maximum,
    KS,
    NormalityP,
    Passed,
};
inline constexpr int StatisticsRowCount = 12;

/// The row labels of the column statistics screen; with errorIsSD false the SD and SEM rows
/// read "SEM" and "SD".
std::array<std::string_view, StatisticsRowCount> StatisticsRowLabels(bool errorIsSD);

/// The text of data column `column` (0 to 25) in a row of the column statistics screen, from
/// the column's record and number format.
std::string StatisticsCellText(const DataTable& table, int column, StatisticsRow row,
                               bool errorIsSD);

/// The normality P value cell: empty or "Too few values" when KSP is missing, ">0.10",
/// "%6.4f" or "<0.0001".
std::string NormalityPText(Extended ksp, std::int32_t n, bool rawColumn);

}  // namespace zelkon
