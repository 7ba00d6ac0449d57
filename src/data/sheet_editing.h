// Editing the data sheet: posting a typed value with its decimals rules and the averaged-data
// question, row titles, clearing, excluding, and inserting and deleting cells, rows and
// columns.  Each operation works on a document and a selection and asks its questions
// through UserPrompts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform.h"
#include "data/selection.h"
#include "document/document.h"

namespace zelkon {

// Typing ---------------------------------------------------------------------------------

/// The cell editor holds at most this many characters.
inline constexpr std::size_t MaxCellEditLength = 14;

/// Whether the cell editor accepts a typed character: "0" to "9", ".", ",", "-", "E" and
/// "e"; the count row of the averaged-data sheet refuses "." and "," as well.
bool AcceptsCellCharacter(char c, bool countRow = false);
/// Whether the editor takes one more character: refused when its text is already 14
/// characters long and none of it is selected.
bool CellEditorHasRoom(std::size_t textLength, bool textSelected);

/// What the sheet must redraw after an edit.
enum class SheetRedraw { None, Cell, Column };

struct TypedValueResult {
    bool stored = false;                   ///< the table holds the new value
    SheetRedraw redraw = SheetRedraw::None;
};

/// Posts the text typed into a cell (leaving the cell): the text, blanks removed, is read as a
/// number with the user's decimal separator (or "."); text that does not parse is the missing
/// value; a number of 1.7E38 or more in magnitude is refused with a message (the cell keeps
/// its value).  An unchanged value does nothing.  A value typed into an averaged-data column asks
/// whether to erase the mean data (No restores the cell).  The typed value's decimals raise
/// the column's decimal places (with an automatic display format the column is redrawn); with
/// a fixed display format too wide for the value's integer digits the format is narrowed.
/// The document is marked modified.
TypedValueResult PostTypedValue(Document& document, int row, int column, std::string_view text,
                                Separators separators, UserPrompts& prompts);

/// The user left a row-title field: the text, cut to 10 characters, becomes the row's title.
void EnterRowTitle(Document& document, int row, std::string_view text);

/// The integer entry field of the dialogs: parses a whole number within the bounds.  On
/// failure returns the message to show ("The number is not valid." or "The number is out of
/// range."); on success stores the number and returns nothing.
std::optional<std::string_view> CheckIntegerEntry(std::string_view text, std::int64_t minimum,
                                                  std::int64_t maximum, std::int64_t& value);

// Block commands ---------------------------------------------------------------------------

/// Clear (the Del key): with everything selected the whole table is emptied and every column
/// record cleared of its count and statistics (titles kept, columns selected again);
/// otherwise every cell of the selection is emptied.  Returns true when anything changed.
bool ClearSelection(Document& document, const Selection& selection);

/// Exclude (Ctrl+E): when any value of the selection is excluded, every value of it is
/// included again; otherwise every value is excluded.  Empty cells are never excluded.
void ToggleExclusion(Document& document, const Selection& selection);

/// The three modes of inserting and deleting.
enum class ShiftMode {
    ShiftCells,     ///< "&Shift cells down" / "&Shift cells up"
    EntireRows,     ///< "Insert entire &rows" / "Delete entire &rows"
    EntireColumns   ///< "Insert entire &columns" / "Delete entire &columns"
};

/// The mode a selection implies without the dialog: whole rows give EntireRows, whole
/// columns and everything EntireColumns; a block of cells asks (no value).
std::optional<ShiftMode> ShiftModeForSelection(SelectionKind kind);

/// Inserts as many empty cells, rows or columns as the selection spans, at its position.
/// Values move with their exclusion marks; columns also with their records, titles, decimal
/// places, display formats and flags.  What is pushed past the last row or column is lost.
void InsertCells(Document& document, const Selection& selection, ShiftMode mode);

/// Deletes the selected cells, rows or columns and closes the gap from below or from the
/// right; the vacated cells or columns are empty.
void DeleteCells(Document& document, const Selection& selection, ShiftMode mode);

}  // namespace zelkon
