// Styled runs of printed lines, pages with their headers, and what each step prints.
#include "output/print_layout.h"

#include <algorithm>

#include "data/notes.h"
#include "document/analysis_run.h"
#include "output/print_layout_texts.h"

namespace zelkon {

namespace {

constexpr int TabWidth = 8;
constexpr int MinLinesLeft = 3;

}  // namespace

std::string PrintLine::Text() const {
    std::string text;
    for (const PrintRun& run : runs) text += run.text;
    return text;
}

std::string PrintPage::PageText() const { return "Page " + std::to_string(number); }

std::string PrintPage::HeaderText(int width) const {
    const std::string page = PageText();
    const int room = std::max(width - static_cast<int>(page.size()) - 1, 0);
    std::string header = title.substr(0, static_cast<std::size_t>(room));
    const int blanks = std::max(width - static_cast<int>(header.size() + page.size()), 1);
    header.append(static_cast<std::size_t>(blanks), ' ');
    return header + page;
}

PrintLine StyleLine(std::string_view line) {
    PrintLine result;
    PrintRun run;
    std::size_t column = 0;
    auto flush = [&] {
        if (!run.text.empty()) result.runs.push_back(run);
        run.text.clear();
    };
    for (const char c : line) {
        if (c == PrintBoldCode || c == PrintItalicCode || c == PrintUnderlineCode) {
            flush();
            if (c == PrintBoldCode) run.bold = !run.bold;
            if (c == PrintItalicCode) run.italic = !run.italic;
            if (c == PrintUnderlineCode) run.underline = !run.underline;
            continue;
        }
        if (c == '\t') {
            const std::size_t blanks = TabWidth - column % TabWidth;
            run.text.append(blanks, ' ');
            column += blanks;
            continue;
        }
        if (c == '\r' || c == '\n') continue;
        run.text += static_cast<unsigned char>(c) < 32 ? ' ' : c;
        ++column;
    }
    flush();
    return result;
}

std::vector<PrintPage> PaginateTextLines(std::string_view title,
                                         const std::vector<std::string>& lines,
                                         const PrintPageSetup& setup) {
    const int headerLines = 1 + std::max(setup.blankLinesAfterHeader, 0);
    std::vector<PrintPage> pages(1);
    pages.back().title = std::string(title);
    int used = headerLines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        pages.back().lines.push_back(StyleLine(lines[i]));
        ++used;
        if (setup.linesPerPage - used < MinLinesLeft && i + 1 < lines.size()) {
            PrintPage next;
            next.number = pages.back().number + 1;
            next.title = std::string(title);
            pages.push_back(std::move(next));
            used = headerLines;
        }
    }
    return pages;
}

PrintJob PrintJobForStep(Document& document, Step step) {
    PrintJob job;
    switch (step) {
        case Step::DataTable:
            job.kind = PrintKind::Text;
            job.title = DataTablePrintTitle;
            job.lines = PrintDataTable(document);
            break;
        case Step::SummaryStats:
            job.kind = PrintKind::Text;
            job.title = ColumnStatsPrintTitle;
            job.lines = PrintColumnStatistics(document);
            break;
        case Step::Results:
            ShowResults(document);
            job.kind = PrintKind::Text;
            job.title = ResultsPrintTitle;
            job.lines = PrintResults(document);
            break;
        case Step::Graph:
            job.kind = PrintKind::Graph;
            break;
        default:
            break;
    }
    return job;
}

PrintJob NotesPrintJob(const Document& document) {
    return {PrintKind::Text, std::string(NotesPrintTitle), NotesLines(document.Notes())};
}

}  // namespace zelkon
