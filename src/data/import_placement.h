// The choices of the Import dialog and how the chosen values of a preview are copied into
// a document: a block of columns and rows (with an optional filter) at the current cell, or
// an indexed layout with one column of values and one of group identifiers.
#pragma once

#include <cstdint>

#include "core/platform.h"
#include "data/text_import.h"
#include "document/document.h"

namespace zelkon {

/// The column options of the dialog.
enum class ImportColumns {
    All,      ///< "Import all columns"
    Range,    ///< "Import range of columns. From: " ... "To:"
    Indexed   ///< "Import data only from column:" / "Import group identifier from column:"
};

/// The filter conditions, in the order of the dialog's list ("=", ">", ">=", "<", "<=",
/// "<>").
enum class FilterCondition { Equal, Greater, GreaterOrEqual, Less, LessOrEqual, NotEqual };

/// The dialog's choices.  Column and row numbers count from 1.
struct ImportOptions {
    ImportColumns columns = ImportColumns::All;
    std::int32_t fromColumn = 1;
    std::int32_t toColumn = 1;
    std::int32_t valueColumn = 1;
    std::int32_t groupColumn = 2;
    bool rowRange = false;
    std::int32_t fromRow = 1;
    std::int32_t toRow = 1;
    bool filter = false;
    std::int32_t filterColumn = 1;
    FilterCondition condition = FilterCondition::Equal;
    Extended filterValue = 0;
};

/// Whether a value satisfies the filter condition against the value typed.  An empty cell
/// satisfies only "<>".
bool SatisfiesFilter(Extended value, FilterCondition condition, Extended filterValue);

/// The title a group column gets from its identifier: written with 2 decimals, trailing
/// zeros and a trailing "." removed ("1", "2.5", "0.33").
std::string GroupTitle(Extended identifier);

/// Copies the chosen values of the preview into the document (the OK button).
///
/// Columns: the first imported row goes to `startRow`, the first imported column to
/// `startColumn`.  A source row that fails the filter is skipped and takes up no target row;
/// with a row range, only rows From to To (counted among all rows of the file) give values,
/// but rows before From still take up their target rows.  Targets past Z or past the sheet's
/// last row are dropped.  Each target column's decimal places become at least its source
/// column's, the column's title becomes the one found in the file, values carry the file's
/// exclusion marks.  Before values go into a column holding averaged data the user is asked
/// whether to erase the mean data; No imports nothing.
///
/// Columns of labels (fields holding no number) are not placed, and the columns after them
/// keep their places; when the first column of the file is one and is imported, its texts
/// become the titles of the rows that receive values.
///
/// Indexed: the value and group columns must differ ("The column with values and the column
/// with group assignments must be different.", nothing imported), and the value column must
/// hold numbers.  The sheet is cleared; each new group identifier takes the next free column,
/// and each value goes to the next row of its group's column.  A numeric identifier titles its
/// column by GroupTitle; a column of text labels gives one column per distinct label, titled
/// with it, in order of first appearance.  Rows without a group identifier are skipped;
/// values of groups past the 26th are dropped and the user is told.
///
/// The document is marked modified.  Returns false when nothing was imported because of a
/// message or a No.
bool ImportIntoDocument(Document& document, const ImportPreview& preview,
                        const ImportOptions& options, int startRow, int startColumn,
                        UserPrompts& prompts);

/// A two-by-two table written as a table: a first column of two row labels and two columns
/// of counts (titled by the header line).  The counts go into the two-by-two record as laid
/// out (A and B on the first row, C and D on the second), the labels with them, and the
/// document takes the two-by-two format.  Returns false, changing nothing, when the preview is
/// not laid out so.
bool ImportTwoByTwoTable(Document& document, const ImportPreview& preview);

}  // namespace zelkon
