// Reading a text file written by another program into a preview table: the encoding, the
// title lines at the top, values separated by tabs, semicolons or commas (with the usual
// quoting), or columns separated only by blanks, the columns that hold no numbers (labels),
// the column titles and data title found in the file, and the account of what was read.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_table.h"
#include "core/platform.h"
#include "data/text_import_account.h"

namespace zelkon {

/// The rows a preview keeps.
inline constexpr std::int32_t ImportRowLimit = 1000;

/// The preview of a text file: a data table of its own filled from the file, column k of the
/// table being column k + 1 of the file, with the column titles and data title taken from the
/// title lines.  A label column (its fields hold no number) holds no values: its texts are
/// kept beside the table.
struct ImportPreview {
    std::unique_ptr<DataTable> table = std::make_unique<DataTable>();
    std::int32_t rows = 0;        ///< data rows kept (at most ImportRowLimit)
    std::int32_t columns = 0;     ///< columns found: the last one holding anything, from 1
    std::int32_t titleLines = 0;  ///< title or blank lines at the top
    bool blankSeparated = false;  ///< read as columns separated only by blanks
    char separator = ',';         ///< the separator read (BlanksSeparate for blanks)
    bool columnTitles = false;    ///< a title line gave the column titles
    bool notText = false;         ///< the bytes fit no encoding; nothing was read
    std::array<bool, DataColumns> labels{};  ///< columns left out as labels
    /// Per row, the text of the first column when it is a label column (cut to the row-title
    /// length); empty otherwise.
    std::vector<std::string> rowTitles;
    /// Per column and row, the text of a field that is no number (cut to the column-title
    /// length); empty vectors for columns without such fields.
    std::vector<std::vector<std::string>> texts =
        std::vector<std::vector<std::string>>(DataColumns);
    ImportAccount account;

    bool IsLabelColumn(int column) const {
        return column >= 0 && column < DataColumns && labels[static_cast<std::size_t>(column)];
    }
    /// The text of a field that is no number, or nothing.
    std::string_view Text(int row, int column) const;
};

/// Number of title or blank lines at the top of the text, as LoadDelimitedText counts them.
std::int32_t CountTitleLines(std::string_view text, Separators separators = {});

/// Reads a file's bytes into a preview (no checks, no messages).  The bytes are decoded
/// (UTF-8, UTF-16 with a byte-order mark, Windows-1252).  The separator is the one of TAB,
/// ";", the user's list separator and "," that splits the lines into numbers; without one,
/// columns are separated by blanks: read as tokens when the lines holding numbers have the
/// same number of tokens, otherwise cut where every such line holds a blank.
///
/// A leading line is a title line when no field of it reads as a number (a field quoted in a
/// file that also holds unquoted numbers counts as text); a line holding both text and
/// numbers, above the first line made only of numbers and with a different number of fields,
/// is a title line too.  The column titles come from the title line nearest the data (above
/// any blank line) whose fields line up with the data's; the other title lines make the
/// data title.
///
/// A field that is no number leaves its cell empty and is counted; a column whose fields
/// hold no number at all (quoted numbers counting as text, as above) is a label column.
/// Values are kept to 15 significant digits; "*" marks a value excluded; magnitudes of 1.7E38
/// and more are refused.  Rows past the 1000th and columns past Z are left out and counted.
ImportPreview LoadDelimitedText(std::string_view bytes, Separators separators);

/// The Import command's reading of a file's bytes: bytes that fit no encoding end it ("The
/// file is not an ASCII file."); data rows left out ("There are too many rows of data in this
/// file.Only the first 1000 rows will be read.") and columns left out are told; a file
/// without a value to import is refused with its account.  Returns nothing when the import
/// ends.
std::optional<ImportPreview> ReadImportText(std::string_view bytes, Separators separators,
                                            UserPrompts& prompts);

/// The same on a file; a file that cannot be read is reported with its input/output error
/// text.
std::optional<ImportPreview> ReadImportFile(const std::string& path, Separators separators,
                                            UserPrompts& prompts);

}  // namespace zelkon
