// The summary tables of the group comparisons: the two-part summary of data of the
// analyses of variance, the normality table, the summary of the rank tests and the
// one-to-three-column parameter list of the one- and two-column tests.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "core/column_record.h"
#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// Row texts of the normality table for columns that cannot be tested.
inline constexpr std::string_view TooFewValuesText = "  Too few values to test.";
inline constexpr std::string_view RequiresRawDataText = "  Normality test requires raw data.";

/// Row labels of the parameter list.
inline constexpr std::string_view ParameterLabel = "Parameter:";
inline constexpr std::string_view MeanLabel = "Mean:";
inline constexpr std::string_view PointsLabel = "# of points:";
inline constexpr std::string_view SdLabel = "Std deviation:";
inline constexpr std::string_view SemLabel = "Std error:";
inline constexpr std::string_view MinimumLabel = "Minimum:";
inline constexpr std::string_view MaximumLabel = "Maximum:";
inline constexpr std::string_view MedianLabel = "Median:";
inline constexpr std::string_view Lower95Label = "Lower 95% CI:";
inline constexpr std::string_view Upper95Label = "Upper 95% CI:";

// Summary of data, in two tables.  The second table is collected in a side report
// (ResultsReport::CreateSideReport) while the first is written, and appended after it
// with AppendReport.

/// Heading of the first table: group, number of points, mean, SD, SEM, median.
void WriteSummaryHeading(ResultsReport& report);
/// One row of the first table; a missing median reads "Unknown".
void WriteSummaryRow(ResultsReport& report, std::string_view title, std::int32_t n,
                     Extended mean, Extended sd, Extended sem, Extended median);
void WriteSummaryRow(ResultsReport& report, const ColumnRecord& column);
/// An empty line, then the heading of the second table: group, minimum, maximum and the
/// 95% confidence interval of the mean.
void WriteSummaryRangeHeading(ResultsReport& side);
/// One row of the second table; a missing minimum or maximum reads "Unknown".
void WriteSummaryRangeRow(ResultsReport& side, std::string_view title, Extended minimum,
                          Extended maximum, Extended lower95, Extended upper95);
void WriteSummaryRangeRow(ResultsReport& side, const ColumnRecord& column);

/// Heading of the normality table: group, KS, P value, passed.
void WriteNormalityHeading(ResultsReport& report);
/// One row of the normality table.  Columns of fewer than five values and columns
/// without raw data get their fixed texts; a missing P value (no test was possible, as
/// for a column whose values are all equal) leaves the row empty after the title.
void WriteNormalityRow(ResultsReport& report, std::string_view title, std::int32_t n,
                       bool rawData, Extended ks, Extended p, bool passed);

/// Heading of the summary of the rank tests: group, points, median, minimum, maximum.
void WriteRankTestSummaryHeading(ResultsReport& report);
void WriteRankTestSummaryRow(ResultsReport& report, std::string_view title, std::int32_t n,
                             Extended median, Extended minimum, Extended maximum);

// The parameter list: up to three columns of values at character columns 16, 32 and 48,
// emphasised row labels right-aligned in 14 characters, values right-aligned in 15.
// Values beyond the third are ignored.

/// The "Parameter:" row with the column titles.
void WriteParameterTitleRow(ResultsReport& report, const std::vector<std::string_view>& titles);
/// A row of numbers.
void WriteParameterNumberRow(ResultsReport& report, std::string_view label,
                             const std::vector<Extended>& values);
/// A row of counts.
void WriteParameterCountRow(ResultsReport& report, std::string_view label,
                            const std::vector<std::int32_t>& counts);
/// A row of numbers in which a missing value reads "Unknown".
void WriteParameterValueOrUnknownRow(ResultsReport& report, std::string_view label,
                                     const std::vector<Extended>& values);
/// The whole parameter list of one to three column records, rows in their fixed order.
/// A second or third record with N = 0 is not shown (the records shown close up).
void WriteParameterList(ResultsReport& report, std::span<const ColumnRecord> records);

}  // namespace zelkon
