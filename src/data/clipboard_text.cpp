// The clipboard's plain text: copy, cut and paste on the data sheet.
#include "data/clipboard_text.h"

#include <algorithm>
#include <vector>

#include "core/grid_number.h"
#include "core/latin1.h"
#include "data/data_messages.h"
#include "data/entered_value.h"
#include "data/sheet_editing.h"
#include "data/text_import_account.h"
#include "data/text_import_fields.h"

namespace zelkon {

namespace {

// Collects the copy text piece by piece; the first piece that would pass the bound (counting
// the closing zero byte) is left out with everything after it.
class BoundedText {
public:
    void Add(std::string_view piece) {
        if (!result_.complete) return;
        if (result_.text.size() + piece.size() + 1 > MaxClipboardBytes) {
            result_.complete = false;
            return;
        }
        result_.text += piece;
    }
    CopyText Take() { return std::move(result_); }

private:
    CopyText result_;
};

std::string CellText(const DataTable& table, int row, int column, char decimal) {
    std::string text = FormatGridNumber(table.Value(row, column), ShownDecimals(table, column));
    if (decimal != '.') std::replace(text.begin(), text.end(), '.', decimal);
    return text;
}

// One field of the pasted text: its line and its place in the line, both from 0, and its
// line in the text from 1 (a quoted line break makes them differ).
struct PastedField {
    int line = 0;
    int index = 0;
    std::int64_t textLine = 1;
    TextField field;
};

// Splits clipboard text into fields by the import's record reader and hands each to `take`,
// which returns false to end the paste.  Quotes follow the usual rules.  An empty last line (text
// that ends with a line break) holds no field: it would otherwise empty the cell below the pasted
// block.
template <typename Take>
void SplitPastedText(std::string_view text, char separator, Take take) {
    RecordReader reader(text, separator);
    TextRecord record;
    int line = 0;
    while (reader.Next(record)) {
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            PastedField field{line, static_cast<int>(i), record.line, std::move(record.fields[i])};
            if (!take(field)) return;
        }
        ++line;
    }
}

// Where a pasted field goes: a cell, a column title (row -1) or a row title (column -1).
struct PasteTarget {
    int row = 0;
    int column = 0;
    PastedField source;
};

}  // namespace

std::optional<CopyTitles> ChooseCopyTitles(SelectionKind kind, UserPrompts& prompts,
                                           const CopyTitlesDialog& dialog) {
    CopyTitles titles;
    switch (kind) {
        case SelectionKind::Everything:
            if (dialog) return dialog();
            return titles;
        case SelectionKind::WholeColumns:
        case SelectionKind::WholeRows: {
            const bool columns = kind == SelectionKind::WholeColumns;
            const PromptAnswer answer =
                prompts.Ask(columns ? IncludeColumnTitlesQuestion : IncludeRowTitlesQuestion,
                            PromptButtons::YesNoCancel);
            if (answer == PromptAnswer::Cancel) return std::nullopt;
            (columns ? titles.columnTitles : titles.rowTitles) = answer == PromptAnswer::Yes;
            return titles;
        }
        case SelectionKind::Block:
            break;
    }
    return titles;
}

CopyText BuildCopyText(const DataTable& table, const Selection& selection, CopyTitles titles,
                       Separators separators) {
    // The rows end at the last row holding data in a selected column.
    const int bottom = std::min(selection.bottom, SheetRows - 1);
    int lastRow = -1;
    for (int c = selection.left; c <= selection.right; ++c) {
        for (int r = bottom; r > lastRow && r >= selection.top; --r) {
            if (!table.IsMissing(r, c)) {
                lastRow = r;
                break;
            }
        }
    }

    BoundedText out;
    bool firstLine = true;
    if (titles.columnTitles) {
        if (titles.rowTitles) out.Add("\t");
        for (int c = selection.left; c <= selection.right; ++c) {
            std::string piece = c > selection.left ? "\t" : "";
            piece += TrimBlanks(table.Record(c).title);
            out.Add(piece);
        }
        firstLine = false;
    }
    for (int r = selection.top; r <= lastRow; ++r) {
        if (!firstLine) out.Add("\r\n");
        firstLine = false;
        if (titles.rowTitles) {
            out.Add(table.RowTitle(r));
            out.Add("\t");
        }
        for (int c = selection.left; c <= selection.right; ++c) {
            std::string piece = c > selection.left ? "\t" : "";
            piece += CellText(table, r, c, separators.decimal);
            out.Add(piece);
        }
    }
    return out.Take();
}

std::optional<std::string> CopySelection(const Document& document, const Selection& selection,
                                         Separators separators, UserPrompts& prompts,
                                         const CopyTitlesDialog& dialog) {
    const std::optional<CopyTitles> titles = ChooseCopyTitles(selection.kind, prompts, dialog);
    if (!titles) return std::nullopt;
    CopyText copy = BuildCopyText(document.Table(), selection, *titles, separators);
    if (!copy.complete) prompts.Tell(ClipboardTooLargeMessage);
    return std::move(copy.text);
}

std::optional<std::string> CutSelection(Document& document, const Selection& selection,
                                        Separators separators, UserPrompts& prompts,
                                        const CopyTitlesDialog& dialog) {
    std::optional<std::string> text =
        CopySelection(document, selection, separators, prompts, dialog);
    if (text) ClearSelection(document, selection);
    return text;
}

bool PasteText(Document& document, const Selection& selection, std::string_view text,
               bool transpose, Separators separators, UserPrompts& prompts) {
    DataTable& table = document.Table();
    int startRow = selection.currentRow;
    int startColumn = selection.currentColumn;
    if (selection.kind == SelectionKind::Everything) {
        startRow = -1;
        startColumn = -1;
    } else if (selection.kind == SelectionKind::WholeColumns) {
        startRow = -1;
    } else if (selection.kind == SelectionKind::WholeRows) {
        startColumn = -1;
    }

    // Where each field goes.  A row past the sheet ends the paste; a column past Z skips the
    // field (with transpose it ends the paste as well).
    text = text.substr(0, text.find('\0'));
    const char separator = ChooseSeparator(text, separators, false);
    const bool pointIsDecimal = PointIsDecimal(text, separator, separators.decimal);
    std::vector<PasteTarget> targets;
    SplitPastedText(text, separator, [&](PastedField& field) {
        const int row = startRow + (transpose ? field.index : field.line);
        const int column = startColumn + (transpose ? field.line : field.index);
        if (row >= SheetRows) return false;
        if (column >= DataColumns) return !transpose;
        targets.push_back({row, column, std::move(field)});
        return true;
    });

    // Columns holding averaged data that would receive a value: the current column first.
    std::vector<int> averaged;
    auto considerColumn = [&](int c) {
        if (std::find(averaged.begin(), averaged.end(), c) != averaged.end()) return;
        if (table.NoRawData(c) && document.Data().HasMeanData(c)) averaged.push_back(c);
    };
    std::vector<FieldReading> values(targets.size());
    NotedFields leftEmpty;
    NotedFields tooLarge;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const PasteTarget& t = targets[i];
        if (t.row < 0 || t.column < 0) continue;
        const TextField& field = t.source.field;
        FieldReading& reading = values[i];
        if (field.cut) {
            reading.kind = FieldKind::Text;
        } else {
            reading =
                ReadField(field.text, separators.decimal,
                          GroupingAllowed(field, separator, separators.decimal), pointIsDecimal);
        }
        const std::int32_t place = t.source.index + 1;
        if (reading.kind == FieldKind::Text)
            leftEmpty.Note(t.source.textLine, place, TrimBlanks(field.text));
        if (reading.kind == FieldKind::TooLarge)
            tooLarge.Note(t.source.textLine, place, TrimBlanks(field.text));
        if (!IsMissingValue(reading.value) && t.column == startColumn) considerColumn(t.column);
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].row >= 0 && targets[i].column >= 0 && !IsMissingValue(values[i].value)) {
            considerColumn(targets[i].column);
        }
    }
    for (int c : averaged) {
        if (prompts.Ask(MixingQuestionText(c), PromptButtons::YesNo) != PromptAnswer::Yes) {
            return false;
        }
    }
    for (int c : averaged) {
        ColumnRecord& record = table.Record(c);
        record.mean = MissingValue;
        record.sd = MissingValue;
        record.sem = MissingValue;
    }

    std::vector<bool> touched(DataColumns, false);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const PasteTarget& t = targets[i];
        if (t.row < 0 && t.column < 0) continue;
        if (t.row < 0) {
            table.Record(t.column).title =
                CutText(SanitizeLatin1(t.source.field.text), ColumnRecord::MaxTitle);
            continue;
        }
        if (t.column < 0) {
            table.SetRowTitle(t.row,
                              CutText(SanitizeLatin1(t.source.field.text), DataTable::MaxRowTitle));
            continue;
        }
        const Extended v = values[i].value;
        table.SetValue(t.row, t.column, v);
        table.SetExcluded(t.row, t.column, values[i].excluded);
        touched[static_cast<std::size_t>(t.column)] = true;
        if (IsMissingValue(v)) continue;
        table.SetNoRawData(t.column, false);
        RaiseDecimals(table, t.column, EnteredDigitCounts(v));
    }
    for (int c = 0; c < DataColumns; ++c) {
        if (touched[static_cast<std::size_t>(c)]) RecountRawData(table, c);
    }
    if (!targets.empty()) document.MarkModified();
    const std::string message = PasteAccountMessage(leftEmpty, tooLarge);
    if (!message.empty()) prompts.Tell(message);
    return true;
}

}  // namespace zelkon
