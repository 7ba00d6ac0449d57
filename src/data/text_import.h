// Reading a text file written by another program into a preview table: the checks before
// reading, the title lines at the top, values separated by commas, tabs or semicolons, columns
// separated only by blanks, and the column titles and data title found in the file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/data_table.h"
#include "core/platform.h"

namespace zelkon {

/// The preview of a text file: a data table of its own filled from the file, with its column
/// titles and data title taken from the title lines.
struct ImportPreview {
    std::unique_ptr<DataTable> table = std::make_unique<DataTable>();
    std::int32_t rows = 0;        ///< data rows read (at most 1000)
    std::int32_t columns = 0;     ///< columns found: the last one holding a value, from 1
    std::int32_t titleLines = 0;  ///< title or blank lines at the top
    bool blankSeparated = false;  ///< read as columns separated only by blanks
    bool columnTitles = false;    ///< a title line gave the column titles
    bool rowsDropped = false;     ///< data rows past the 1000th were left out
    bool columnsDropped = false;  ///< values past the 26th column were left out
};

/// The rows a preview keeps.
inline constexpr std::int32_t ImportRowLimit = 1000;
/// Positions of a line the blank-separated reader can cut at.
inline constexpr std::size_t ImportColumnMapWidth = 255;

/// The text check: the file counts as text unless some line after the first holds a byte of
/// value 128 or more.
bool IsAsciiText(std::string_view text);

/// Number of lines of the text (a line ends at CR LF, LF or CR; a last line without an end
/// counts too).
std::int64_t CountLines(std::string_view text);

/// Number of title or blank lines at the top of the text.  A line is blank when it holds only
/// blanks; it is a text line when, upper-cased, it holds no "*" and some character other than
/// TAB, blank, the digits, "+", ",", "-", ".", ";" and "E".
std::int32_t CountTitleLines(std::string_view text);

/// Reads the text into a preview (no checks, no messages): the title lines, then the values,
/// separated or blank-separated as the first data line decides.  A UTF-8 byte-order mark at
/// the start is skipped.  Values are kept to 15 significant digits; "*" marks a value
/// excluded; a lower-case "e" between a number and its exponent reads as "E".
ImportPreview LoadDelimitedText(std::string_view text, Separators separators);

/// The Import command's reading of a file: the text check ("The file is not an ASCII file."
/// ends it), the line count (more than 1000 lines: "There are too many rows of data in this
/// file.Only the first 1000 rows will be read."), then the preview; values past column Z are
/// dropped with a message too.  A file that cannot be read is reported with its input/output
/// error text.  Returns nothing when the import ends.
std::optional<ImportPreview> ReadImportFile(const std::string& path, Separators separators,
                                            UserPrompts& prompts);

/// The same on a file's text.
std::optional<ImportPreview> ReadImportText(std::string_view text, Separators separators,
                                            UserPrompts& prompts);

}  // namespace zelkon
