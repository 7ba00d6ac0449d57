// The tables of the contingency analyses: the two-by-two table with totals and percentage
// lines, the ratio value (relative risk, odds ratio) and the row and column summaries of
// larger tables.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/column_record.h"
#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// Marker written after the discordant cells (B on the first row, C on the second) when
/// the caller's marker flag is clear.
inline constexpr std::string_view DiscordantMarker = "* ";

/// The heading line: the two column titles and "Total", emphasised.
void WriteTwoByTwoHeading(ResultsReport& report, std::string_view column1Title,
                          std::string_view column2Title);
/// Table row 1 or 2: emphasised title, the two counts and their row total, then the
/// percentage line of the three (each count as a percentage of the grand total).  With
/// the marker flag clear, "* " follows cell B (row 1) or cell C (row 2).
void WriteTwoByTwoRow(ResultsReport& report, int row, std::string_view title, Extended count1,
                      Extended count2, Extended grandTotal, bool marker);
/// An empty line, the emphasised line of 65 dashes, the "Total" row of the column totals
/// and the grand total, and its percentage line.
void WriteTwoByTwoTotalRow(ResultsReport& report, Extended column1Total, Extended column2Total);
/// The whole table of a two-by-two record, with its labels ("Column A", "Row 1", ...).
void WriteTwoByTwoTable(ResultsReport& report, const TwoByTwoRecord& table, bool marker);

/// A ratio: "Infinity" for MissingValue, "-Infinity" for its negative, otherwise the
/// number with five significant digits.
void WriteRatioValue(ResultsReport& report, Extended x);

/// Which margin a contingency summary lists.
enum class ContingencyMargin { Rows, Columns };

/// Heading: "Row" or "Column", "Total", "Percent".
void WriteContingencySummaryHeading(ResultsReport& report, ContingencyMargin margin);
/// A titled row or column: its total and its percentage of the grand total.
void WriteContingencySummaryRow(ResultsReport& report, std::string_view title, Extended total,
                                Extended percent);
/// An untitled row or column, shown by its number (counted from 1).
void WriteContingencySummaryRow(ResultsReport& report, std::int32_t number, Extended total,
                                Extended percent);
/// The dashes and the "Total" row: the grand total and 100%.
void WriteContingencySummaryTotalRow(ResultsReport& report, Extended grandTotal);

}  // namespace zelkon
