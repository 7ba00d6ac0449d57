// Export: the data table as delimited text (standard or index format), the two-by-two
// table, the column statistics and the results report, written to a file another program
// can read.  Every file is written whole or not at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/column_record.h"
#include "core/platform.h"
#include "core/results_report.h"
#include "document/document.h"

namespace zelkon {

/// The choices of the "Export" dialog.
struct ExportOptions {
    bool indexFormat = false;   ///< "Index format. ..." instead of "Standard format. ..."
    bool sheetTitle = true;     ///< "Include the sheet title as the first row."
    bool columnTitles = true;   ///< "Include column titles."
};

/// The separator of an export file: TAB for the extension "TXT" (any case), otherwise the
/// user's list separator.
char ExportSeparator(std::string_view fileName, Separators separators);

/// The data table as text.  Standard format: the data title in double quotes (when asked
/// for), a line of the titles of columns A to the last used one in double quotes (when asked
/// for and some column has a title, separated by the separator alone; without it, a blank line
/// below the data title), then one line per row up to the last used row with the cell texts
/// separated by the separator and a blank.  A cell text has the column's shown decimals, or
/// the digits the value needs where those would not give it back (up to 15 significant
/// digits), with "." replaced by the user's decimal separator.  Index format: a "value",
/// "group" header line (with column titles), then one line per cell, column by column: the
/// cell text, the separator and the column number from 1.  Lines end in CR LF.  The quotes
/// and the blank line tell the import which lines are titles.
std::string ExportDataTableText(const DataTable& table, const ExportOptions& options,
                                char separator, Separators separators);

/// The two-by-two table: "A", separator, "B" and "C", separator, "D", each by the
/// stored-number rule (empty when missing).
std::string ExportTwoByTwoText(const TwoByTwoRecord& record, char separator);

/// The column statistics, comma-separated whatever the file's extension: one line for each of
/// mean, N, SD, SEM, median, lower 95% limit, upper 95% limit, minimum and maximum, holding for
/// every column with N > 0 the value as the grid shows it with 10 decimals (N as a whole
/// number; empty where the statistic is missing).  Lines end in CR LF.
std::string ExportColumnStatsText(const DataTable& table);

/// The results report, each of its lines as a line of text without the emphasis switches.
std::string ExportResultsText(const ResultsReport& report);

/// Writes export text to a file through a temporary file and a rename.  Returns 0 or the
/// input/output error code (IoErrorText gives the message).
std::int32_t WriteExportFile(const std::string& path, std::string_view text);

/// What an export writes, by the step the document shows.
enum class ExportKind { DataTable, TwoByTwo, ColumnStats, ResultsText };

/// The export of a document's step: the data entry step gives the data table (or the
/// two-by-two table in the two-by-two format), the statistics step the column statistics,
/// the results step the report.  No value for the other steps (the graph has its own export).
std::optional<ExportKind> ExportKindForStep(const Document& document, Step step);

/// Builds the text of an export kind and writes it to `path`; the separator follows the
/// file's extension.  Text holding characters past ASCII is written as UTF-8 with a
/// byte-order mark.  Returns 0 or the input/output error code.
std::int32_t ExportDocument(const Document& document, ExportKind kind, const std::string& path,
                            const ExportOptions& options, Separators separators);

}  // namespace zelkon
