// The messages, questions and dialog captions of data entry: the sheet and the clipboard,
// text import, export, transforms, combining columns, number format and notes.  Every text
// of these commands is kept here and referred to from the operations and the dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelkon {

// The sheet and the clipboard --------------------------------------------------------------

inline constexpr std::string_view ClipboardTooLargeMessage =
    "Contents were too large (>64K) to copy completely to the clipboard.";
inline constexpr std::string_view NotEnoughMemoryMessage = "Not enough memory.";
inline constexpr std::string_view IncludeColumnTitlesQuestion = "Include column titles?";
inline constexpr std::string_view IncludeRowTitlesQuestion = "Include row titles?";
inline constexpr std::string_view CopyTitlesDialogCaption = "Copy to clipboard";
inline constexpr std::string_view CopyRowTitlesCaption = "Include &row titles";
inline constexpr std::string_view CopyColumnTitlesCaption = "Include &column titles";

/// The integer entry field of the dialogs.
inline constexpr std::string_view NumberNotValidMessage = "The number is not valid.";
inline constexpr std::string_view NumberOutOfRangeMessage = "The number is out of range.";

inline constexpr std::string_view InsertDialogCaption = "Insert ";
inline constexpr std::string_view InsertShiftCaption = "&Shift cells down";
inline constexpr std::string_view InsertRowsCaption = "Insert entire &rows";
inline constexpr std::string_view InsertColumnsCaption = "Insert entire &columns";
inline constexpr std::string_view DeleteDialogCaption = "Delete";
inline constexpr std::string_view DeleteShiftCaption = "&Shift cells up";
inline constexpr std::string_view DeleteRowsCaption = "Delete entire &rows";
inline constexpr std::string_view DeleteColumnsCaption = "Delete entire &columns";
inline constexpr std::string_view DeleteDialogHint =
    "This command deletes the selected block of data and fills in the gap. If you want to "
    "delete selected values without moving others, cancel from this dialog and then press the "
    "DEL key.";

// Text import ------------------------------------------------------------------------------

inline constexpr std::string_view ImportDialogTitle = "Import";
inline constexpr std::string_view ImportFileFilter =
    "Text (*.TXT;*.CSV;*.DAT;*.PRN)|*.TXT;*.CSV;*.DAT;*.PRN|Any file (*.*)|*.*";
inline constexpr std::string_view NotAsciiFileMessage = "The file is not an ASCII file.";
inline constexpr std::string_view SameValueAndGroupColumnMessage =
    "The column with values and the column with group assignments must be different.";
inline constexpr std::string_view ImportAllColumnsCaption = "Import all columns";
inline constexpr std::string_view ImportColumnRangeCaption = "Import range of columns. From: ";
inline constexpr std::string_view ImportToCaption = "To:";
inline constexpr std::string_view ImportValueColumnCaption = "Import data only from column:";
inline constexpr std::string_view ImportGroupColumnCaption = "Import group identifier from column:";
inline constexpr std::string_view ImportRowRangeCaption = "Import range of rows. From: ";
inline constexpr std::string_view ImportFilterCaption = "Only import rows where column";
inline constexpr std::string_view ImportFilterNote = "(Enter a value, not a column #.)";
inline constexpr std::array<std::string_view, 6> FilterConditionTexts = {"=",  ">",  ">=",
                                                                         "<",  "<=", "<>"};

/// "There are too many rows of data in this file.Only the first 1000 rows will be read."
std::string TooManyRowsMessage(std::int32_t rowsRead);
/// Told when the file holds numbers in more columns than the sheet: "There are too many
/// columns of data in this file.Only the first 26 columns will be read; 4 columns were left
/// out."
std::string TooManyColumnsMessage(std::int32_t columnsRead, std::int32_t columnsLeftOut);
/// Refuses a file in which no field reads as a number (the import's account follows it).
inline constexpr std::string_view NoNumbersMessage = "There are no numbers to import in this file.";
/// Refuses an indexed import whose value column is a column of labels.
inline constexpr std::string_view ValueColumnWithoutNumbersMessage =
    "The column with values holds no numbers.";
/// Told when an indexed file names more groups than the sheet has columns: "There are too
/// many groups in this file.Only the first 26 groups will be read."
std::string TooManyGroupsMessage(std::int32_t groupsRead);
/// The caption of the import dialog: "Preview of " and the file name.
std::string ImportPreviewCaption(std::string_view fileName);

// Export -----------------------------------------------------------------------------------

inline constexpr std::string_view ExportFileFilter =
    "Tab-delimit. text (*.TXT)|*.TXT|Comma-delimit. text (*.CSV)|*.CSV";
inline constexpr std::string_view ExportDialogCaption = "Export";
inline constexpr std::string_view ExportArrangementCaption = "Arrangement";
inline constexpr std::string_view ExportStandardCaption =
    "Standard format. Export the table as it appears here.";
inline constexpr std::string_view ExportIndexCaption =
    "Index format. Export ALL values into column 1 and export column # as column 2.";
inline constexpr std::string_view ExportTitlesCaption = "Titles";
inline constexpr std::string_view ExportSheetTitleCaption =
    "Include the sheet title as the first row.";
inline constexpr std::string_view ExportColumnTitlesCaption = "Include column titles.";

// Transforms, combining columns, number format --------------------------------------------

inline constexpr std::string_view TransformDialogCaption = "Transform";
inline constexpr std::string_view PickTransformCaption = "Pick a transform:";
inline constexpr std::string_view TransformKCaption = "K = ";
inline constexpr std::string_view TransformHint =
    "Zelkon will transform the selected cells. If nothing is selected, then Zelkon will "
    "transform just the current cell. "
    "Please note that there is no \"undo\" feature. If you want to get the original data back, "
    "you'll have to read them from disk or perform an inverse transformation.";
/// "The transformation you have selected is mathematically impossible with N of the values.
/// These values will be erased. Continue?"
std::string ImpossibleTransformQuestion(std::int64_t count);

inline constexpr std::string_view EnterDataFirstMessage = "You must enter data first.";
inline constexpr std::string_view NoEmptyColumnMessage =
    "There must be an empty column in order to combine columns.";
inline constexpr std::string_view CombineDialogCaption = "Combine Variables";
inline constexpr std::array<std::string_view, 4> CombineOperationCaptions = {
    "&Plus", "&Minus", "Times", "&Divided by"};
/// "Create a new variable for column " and the column's letter.
std::string CombineTargetText(int column);

inline constexpr std::string_view NumberFormatDialogCaption = "Number Format";
inline constexpr std::string_view FixedDecimalsCaptionBefore = "Show values with ";
inline constexpr std::string_view FixedDecimalsCaptionAfter = "digits after the decimal point.";
inline constexpr std::string_view AutomaticDecimalsCaption =
    "Choose the number of decimal points automatically.";
/// "For columns A-Z:" (everything), "For columns B-D:" (several columns), "For column C:".
std::string NumberFormatTargetText(bool everything, int firstColumn, int lastColumn);

// Notes ------------------------------------------------------------------------------------

inline constexpr std::string_view NotesWindowCaption = "Zelkon Notes";
inline constexpr std::string_view NotesPrintTitle = "Notes";
inline constexpr std::string_view NotesTooLargeMessage = "The text is too large to copy to notes.";

}  // namespace zelkon
