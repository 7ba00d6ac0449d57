// The print layout: a printed text is a list of lines with a title, laid out on pages that
// each start with a header line (the title, and "Page n" at the right).  Style codes in a
// line (128 bold, 129 italic, 130 underline) become runs of styled text.  What the Print
// command prints for each step is chosen here too; a printer draws the pages in a
// fixed-pitch font.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/data_messages.h"
#include "document/document.h"
#include "document/steps.h"

namespace zelkon {

/// A piece of a printed line in one style.
struct PrintRun {
    std::string text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const PrintRun&, const PrintRun&) = default;
};

/// A printed line: its runs in order (none for a blank line).
struct PrintLine {
    std::vector<PrintRun> runs;
    /// The line's characters without their styles.
    std::string Text() const;
    friend bool operator==(const PrintLine&, const PrintLine&) = default;
};

/// The size of a printed page in lines and characters of the fixed-pitch font.
struct PrintPageSetup {
    /// Lines that fit on a page, the header line included.
    int linesPerPage = 60;
    /// Characters that fit on a line (the header puts "Page n" at the last of them).
    int charsPerLine = 80;
    /// Blank lines between the header line and the text.
    int blankLinesAfterHeader = 1;
};

/// One printed page: the header (title at the left, "Page n" at the right) and the lines
/// printed on it, the first of them on line `1 + blankLinesAfterHeader` of the page.
struct PrintPage {
    int number = 1;
    std::string title;
    std::vector<PrintLine> lines;
    /// "Page " and the page number.
    std::string PageText() const;
    /// The header as one line of `width` characters: the title (cut to leave room), blanks,
    /// and the page text ending at the last character.
    std::string HeaderText(int width) const;
};

/// The style codes of printed lines.
inline constexpr char PrintBoldCode = static_cast<char>(128);
inline constexpr char PrintItalicCode = static_cast<char>(129);
inline constexpr char PrintUnderlineCode = static_cast<char>(130);

/// Shown, with a Cancel button, while a text is printed.
inline constexpr std::string_view PrintingCaption = "Printing....";
/// The titles of the printed texts.
inline constexpr std::string_view DataTablePrintTitle = "Data Table";
inline constexpr std::string_view ColumnStatsPrintTitle = "Column Stats";
inline constexpr std::string_view ResultsPrintTitle = "Results";
// The notes' title, NotesPrintTitle, is kept with the notes' other texts (data_messages.h).

/// A line's runs: the characters up to a style code are one run; each code toggles its style
/// (128 bold, 129 italic, 130 underline) and is not printed.  Every line starts plain.  A TAB
/// moves to the next multiple of 8 characters; other control characters print as blanks.
PrintLine StyleLine(std::string_view line);

/// The pages of a printed text.  Lines are laid out one after the other; after each line,
/// when fewer than 3 lines are left on the page, the next line starts a new page.  A text of
/// no lines still prints one page (its header).
std::vector<PrintPage> PaginateTextLines(std::string_view title,
                                         const std::vector<std::string>& lines,
                                         const PrintPageSetup& setup = {});

/// What the Print command prints.
enum class PrintKind {
    Nothing,  ///< a step with nothing of its own to print
    Text,     ///< lines under a title, laid out by PaginateTextLines
    Graph     ///< the graph of the document on one page
};

struct PrintJob {
    PrintKind kind = PrintKind::Nothing;
    std::string title;
    std::vector<std::string> lines;
};

/// The Print command of a document showing a step: the data table ("Data Table") on the data
/// entry step, the column statistics ("Column Stats") on the statistics step, the results
/// report's lines ("Results", after the run when the document needs recalculation) on the
/// results step, the graph on the graph step, nothing on the others.
PrintJob PrintJobForStep(Document& document, Step step);

/// The notes' lines under the title "Notes".
PrintJob NotesPrintJob(const Document& document);

}  // namespace zelkon
