// The clipboard's plain text in both directions: copying a selection of the data sheet (with
// the title questions and the 65000-byte bound), cutting, and pasting text into the sheet
// (the import's field reader, the user's decimal separator, titles, transpose).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform.h"
#include "data/selection.h"
#include "document/document.h"

namespace zelkon {

/// The clipboard text holds at most this many bytes, its closing zero byte included.
inline constexpr std::size_t MaxClipboardBytes = 65000;

/// Which titles go along with a copy.
struct CopyTitles {
    bool rowTitles = false;
    bool columnTitles = false;
};

/// The "Copy to clipboard" dialog shown when everything is selected: returns the two
/// check boxes, or nothing for Cancel.
using CopyTitlesDialog = std::function<std::optional<CopyTitles>()>;

/// Decides the titles of a copy: everything selected shows the dialog; whole columns ask
/// "Include column titles?", whole rows "Include row titles?" (Yes, No, Cancel); a block of
/// cells takes no titles.  Nothing is returned for Cancel.
std::optional<CopyTitles> ChooseCopyTitles(SelectionKind kind, UserPrompts& prompts,
                                           const CopyTitlesDialog& dialog);

/// The text of a copy.
struct CopyText {
    std::string text;      ///< without the closing zero byte
    bool complete = true;  ///< false when the 65000-byte bound cut it short
};

/// Builds the clipboard text of a selection: an optional line of column titles, then one
/// line per row from the top of the selection down to the last row holding data in a selected
/// column, each holding the grid texts of the selected columns (the row title first when
/// asked for), fields separated by TAB, lines by CR LF, no line end after the last line.
/// Values are written as the grid shows them, with "." replaced by the user's decimal
/// separator.  A piece that would pass the bound is left out with everything after it.
CopyText BuildCopyText(const DataTable& table, const Selection& selection, CopyTitles titles,
                       Separators separators);

/// Copy: asks about the titles, builds the text and, when it was cut short, tells the user
/// "Contents were too large (>64K) to copy completely to the clipboard.".  Returns the text
/// for the clipboard, or nothing when the user cancelled.
std::optional<std::string> CopySelection(const Document& document, const Selection& selection,
                                         Separators separators, UserPrompts& prompts,
                                         const CopyTitlesDialog& dialog);

/// Cut: copies as above and then clears the selection (nothing is cleared on Cancel).
std::optional<std::string> CutSelection(Document& document, const Selection& selection,
                                        Separators separators, UserPrompts& prompts,
                                        const CopyTitlesDialog& dialog);

/// Paste (and, with `transpose`, Transpose Paste) of clipboard text at the selection.
/// The target starts at the current cell; with everything selected the first line and the
/// first field of each line go to the titles, with whole columns the first line goes to the
/// column titles, with whole rows the first field of each line to the row titles.  The text
/// is split by the import's field reader (the separator the lines use, quotes, thousands
/// grouping, "*" marking a value excluded); a field that is no number, or a number of 1.7E38
/// or more in magnitude, becomes an empty cell, and all such fields are told in one message
/// after the paste.  A value is kept to 15 significant digits and raises its column's
/// decimal places.  Before a value goes into a
/// column holding averaged data the user is asked whether to erase the mean data; No to any
/// such question pastes nothing.  Returns true when the paste was made.
bool PasteText(Document& document, const Selection& selection, std::string_view text,
               bool transpose, Separators separators, UserPrompts& prompts);

}  // namespace zelkon
