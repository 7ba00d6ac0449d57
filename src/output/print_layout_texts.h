// The printed texts of a document: the data table in blocks of four columns (excluded values
// in bold), the column statistics in blocks of three columns, and the results report's lines.
// Each is a list of lines that may carry the bold code 128 (and, from the report, 129 and 130).
#pragma once

#include <string>
#include <vector>

#include "document/document.h"

namespace zelkon {

/// Layout of the printed data table: each line starts with 3 blanks and a label right-aligned
/// in 11 characters, then four value columns right-aligned in 15 characters.
inline constexpr int PrintIndent = 3;
inline constexpr int PrintLabelWidth = 11;
inline constexpr int PrintValueWidth = 15;
inline constexpr int PrintDataBlockColumns = 4;

/// Layout of the printed column statistics: the row label left-aligned in 24 characters, then
/// three columns right-aligned in 15 characters.
inline constexpr int PrintStatsLabelWidth = 24;
inline constexpr int PrintStatsBlockColumns = 3;
/// The label of the statistics' heading line.
inline constexpr std::string_view ColumnTitleLabel = "Col. title";

/// The data table as text (`PrintDataTable`): two blank lines, the data title and a blank line
/// when there is one, then the columns from A to the last one holding a value or a title in
/// blocks of four, a blank line between blocks.  A block's header line has the label "#" and
/// each column's title, or its letter when untitled (for X and Y data "X" over column A and
/// "Y" over the others); then one line per row up to the last row holding a value, labelled
/// with the row title, each value as the sheet shows it (the grid display rule with the
/// column's shown decimals, fitted to the field less one blank: never the file's longer
/// text), an excluded value between two bold codes.  The two-by-two format prints its table
/// of four counts under the column and row labels.  Titles are cut to leave a blank between
/// columns.
std::vector<std::string> PrintDataTable(const Document& document);

/// The column statistics as text: after the statistics are brought up to date, two blank lines,
/// the data title and a blank line when there is one, then the columns holding data in blocks
/// of three: a "Col. title" line with each column's title (or its heading on the statistics
/// page when untitled), then the twelve statistics in the screen's four groups of three, each
/// group after a blank line.
std::vector<std::string> PrintColumnStatistics(Document& document);

/// The results report's lines with their style codes.
std::vector<std::string> PrintResults(const Document& document);

}  // namespace zelkon
