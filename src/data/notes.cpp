// The notes of a document.
#include "data/notes.h"

#include <algorithm>

#include "core/calc_status.h"
#include "core/latin1.h"
#include "data/data_messages.h"
#include "document/data_file.h"

namespace zelkon {

namespace {

constexpr std::string_view LineBreak = "\r\n";

bool EndsWithLineBreak(std::string_view text) {
    return text.size() >= LineBreak.size() && text.substr(text.size() - LineBreak.size()) == LineBreak;
}

// The characters AppendNoteLine adds for a line.
std::size_t AppendedLength(std::string_view editorText, std::string_view line) {
    const std::size_t start = editorText.empty() || EndsWithLineBreak(editorText) ? 0 : LineBreak.size();
    return start + line.size() + LineBreak.size();
}

std::string WithoutEmphasis(std::string_view line) {
    std::string plain;
    for (char c : line) {
        if (c != ResultsReport::Emphasis1 && c != ResultsReport::Emphasis2 &&
            c != ResultsReport::Emphasis3) {
            plain.push_back(c);
        }
    }
    return plain;
}

}  // namespace

std::string LoadNotes(std::string_view buffer) {
    const std::string_view window = buffer.substr(0, NotesBufferSize);
    const std::size_t mark = window.find(NotesEndMark);
    if (mark != std::string_view::npos) return std::string(window.substr(0, mark));
    return std::string(buffer.substr(0, NotesBufferSize - 1));
}

std::string StoreNotes(std::string_view editorText) {
    std::string text = SanitizeLatin1(editorText.substr(0, NotesEditorLimit));
    const std::size_t mark = text.find(NotesEndMark);
    if (mark != std::string::npos) text.resize(mark);
    if (EndsWithLineBreak(text)) text.resize(text.size() - LineBreak.size());
    return text;
}

std::size_t NotesRoom(std::string_view editorText) {
    return editorText.size() >= NotesEditorLimit ? 0 : NotesEditorLimit - editorText.size();
}

bool AppendNoteLine(std::string& editorText, std::string_view line) {
    if (editorText.size() + AppendedLength(editorText, line) > NotesEditorLimit) return false;
    if (!editorText.empty() && !EndsWithLineBreak(editorText)) editorText += LineBreak;
    editorText += line;
    editorText += LineBreak;
    return true;
}

std::vector<std::string> ReportLinesToAppend(const ResultsReport& report,
                                             const ReportSelection& selection) {
    std::vector<std::string> lines;
    for (const std::string& line : report.AllLines()) lines.push_back(WithoutEmphasis(line));
    const bool empty = selection.firstLine == selection.lastLine &&
                       selection.lastColumn - selection.firstColumn <= 1;
    if (empty || selection.firstLine < 0 || selection.lastLine < selection.firstLine ||
        selection.firstLine >= static_cast<int>(lines.size())) {
        return lines;
    }
    const int lastLine = std::min(selection.lastLine, static_cast<int>(lines.size()) - 1);
    std::vector<std::string> chosen(lines.begin() + selection.firstLine,
                                    lines.begin() + lastLine + 1);
    if (lastLine == selection.lastLine) {
        std::string& last = chosen.back();
        last.resize(std::min(last.size(), static_cast<std::size_t>(std::max(selection.lastColumn, 0))));
    }
    std::string& first = chosen.front();
    first.erase(0, std::min(first.size(), static_cast<std::size_t>(std::max(selection.firstColumn, 0))));
    return chosen;
}

bool AppendToNotes(Document& document, const ReportSelection& selection, UserPrompts& prompts) {
    if (GlobalCalcStatus().Calculating()) return false;
    const std::vector<std::string> lines = ReportLinesToAppend(document.Report(), selection);
    std::string editor = LoadNotes(document.Notes());

    // The lines are appended to a copy first, so that they go in all together or not at all.
    std::string trial = editor;
    for (const std::string& line : lines) {
        if (!AppendNoteLine(trial, line)) {
            prompts.Tell(NotesTooLargeMessage);
            return false;
        }
    }
    editor = std::move(trial);
    document.Notes() = StoreNotes(editor);
    document.MarkModified();
    return true;
}

std::vector<std::string> NotesLines(std::string_view notes) {
    std::vector<std::string> lines;
    const std::string text = LoadNotes(notes);
    DataFileLines reader(text);
    std::string_view line;
    while (reader.Next(line)) lines.emplace_back(line);
    return lines;
}

}  // namespace zelkon
