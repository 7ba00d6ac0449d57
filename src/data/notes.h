// The notes of a document: moving the text between the document's buffer and the notes
// editor, the room left in the editor, and appending lines of the results report.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform.h"
#include "document/document.h"

namespace zelkon {

/// The notes editor holds at most this many characters.
inline constexpr std::size_t NotesEditorLimit = 8000;

/// The editor's text from the notes buffer: the text up to the first end-of-text character
/// (26); when none occurs within the buffer's 8010 characters, its last position ends it.
std::string LoadNotes(std::string_view buffer);

/// The buffer's text from the editor's text (cut to 8000 characters, made safe Latin-1): a
/// final CR LF is not stored.  The end-of-text character is not part of the returned text.
std::string StoreNotes(std::string_view editorText);

/// 8000 minus the length of the editor's text (0 when it is full).
std::size_t NotesRoom(std::string_view editorText);

/// Appends a line to the editor's text, starting a new line first when the text does not end
/// with one, if the result stays within 8000 characters.  Returns whether it did.
bool AppendNoteLine(std::string& editorText, std::string_view line);

/// A selection in the results viewer: from (firstLine, firstColumn) up to but not including
/// (lastLine, lastColumn); lines and columns count from 0 over the report's text without its
/// emphasis switches.  An empty selection, or one of a single character, stands for the whole
/// report.
struct ReportSelection {
    int firstLine = 0;
    int firstColumn = 0;
    int lastLine = 0;
    int lastColumn = 0;
};

/// The lines "Append to Notes" takes from the report for a selection.
std::vector<std::string> ReportLinesToAppend(const ResultsReport& report,
                                             const ReportSelection& selection);

/// "Append to Notes": appends the selected lines of the report (the whole report for an empty
/// or one-character selection) to the document's notes, all or nothing: when the notes would
/// pass 8000 characters the user is told "The text is too large to copy to notes." and the
/// notes stay as they were.  Does nothing while a calculation runs.  Returns whether the lines
/// were appended.
bool AppendToNotes(Document& document, const ReportSelection& selection, UserPrompts& prompts);

/// The notes' lines in order, for printing under the title "Notes".
std::vector<std::string> NotesLines(std::string_view notes);

}  // namespace zelkon
