// Editing the data sheet: typed values, row titles, clear, exclude, insert and delete.
#include "data/sheet_editing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/latin1.h"
#include "core/number_parse.h"
#include "core/stored_number.h"
#include "data/data_messages.h"
#include "data/entered_value.h"
#include "document/data_set.h"

namespace zelkon {

namespace {

// The last table row a selection reaches: everything takes in the table's last row too.
int LastRowOf(const Selection& selection) {
    return selection.kind == SelectionKind::Everything ? DataRows - 1 : selection.bottom;
}

// Moves a value together with its exclusion mark.
void MoveCell(DataTable& table, int fromRow, int fromColumn, int toRow, int toColumn) {
    const Extended v = table.Value(fromRow, fromColumn);
    const bool excluded = table.IsExcluded(fromRow, fromColumn);
    table.SetValue(toRow, toColumn, v);
    table.SetExcluded(toRow, toColumn, excluded);
}

// Everything of one column that moves with it.
struct ColumnState {
    std::vector<Extended> values;
    std::vector<bool> excluded;
    ColumnRecord record;
    std::int32_t decimals = 0;
    std::int32_t displayFormat = -1;
    bool noRawData = true;
    bool selected = true;
};

ColumnState TakeColumn(const DataTable& table, int c) {
    ColumnState s;
    s.values.resize(DataRows);
    s.excluded.resize(DataRows);
    for (int r = 0; r < DataRows; ++r) {
        s.values[static_cast<std::size_t>(r)] = table.Value(r, c);
        s.excluded[static_cast<std::size_t>(r)] = table.IsExcluded(r, c);
    }
    s.record = table.Record(c);
    s.decimals = table.Decimals(c);
    s.displayFormat = table.DisplayFormat(c);
    s.noRawData = table.NoRawData(c);
    s.selected = table.Selected(c);
    return s;
}

ColumnState EmptyColumn() {
    ColumnState s;
    s.values.assign(DataRows, MissingValue);
    s.excluded.assign(DataRows, false);
    return s;
}

void PutColumn(DataTable& table, int c, const ColumnState& s) {
    for (int r = 0; r < DataRows; ++r) {
        table.SetValue(r, c, s.values[static_cast<std::size_t>(r)]);
        table.SetExcluded(r, c, s.excluded[static_cast<std::size_t>(r)]);
    }
    table.Record(c) = s.record;
    table.SetDecimals(c, s.decimals);
    table.SetDisplayFormat(c, s.displayFormat);
    table.SetNoRawData(c, s.noRawData);
    table.SetSelected(c, s.selected);
    table.SetChanged(c, true);
}

// Cells of columns left to right from row `top` move down by h rows of the sheet.
void ShiftDown(DataTable& table, int top, int h, int left, int right) {
    for (int c = left; c <= right; ++c) {
        for (int r = SheetRows - 1; r >= top + h; --r) MoveCell(table, r - h, c, r, c);
        for (int r = top; r < top + h && r < SheetRows; ++r) table.SetValue(r, c, MissingValue);
        RecountRawData(table, c);
    }
}

// Cells of columns left to right below row top + h - 1 move up by h rows.
void ShiftUp(DataTable& table, int top, int h, int left, int right) {
    for (int c = left; c <= right; ++c) {
        for (int r = top; r + h < SheetRows; ++r) MoveCell(table, r + h, c, r, c);
        for (int r = std::max(top, SheetRows - h); r < SheetRows; ++r) {
            table.SetValue(r, c, MissingValue);
        }
        RecountRawData(table, c);
    }
}

void ShiftColumnsRight(DataTable& table, int left, int w) {
    for (int c = DataColumns - 1; c >= left + w; --c) PutColumn(table, c, TakeColumn(table, c - w));
    const ColumnState empty = EmptyColumn();
    for (int c = left; c < left + w && c < DataColumns; ++c) PutColumn(table, c, empty);
}

void ShiftColumnsLeft(DataTable& table, int left, int w) {
    for (int c = left; c + w < DataColumns; ++c) PutColumn(table, c, TakeColumn(table, c + w));
    const ColumnState empty = EmptyColumn();
    for (int c = std::max(left, DataColumns - w); c < DataColumns; ++c) PutColumn(table, c, empty);
}

}  // namespace

// Typing ---------------------------------------------------------------------------------

bool AcceptsCellCharacter(char c, bool countRow) {
    if (c >= '0' && c <= '9') return true;
    if (c == '-' || c == 'E' || c == 'e') return true;
    if (c == '.' || c == ',') return !countRow;
    return false;
}

bool CellEditorHasRoom(std::size_t textLength, bool textSelected) {
    return textSelected || textLength < MaxCellEditLength;
}

TypedValueResult PostTypedValue(Document& document, int row, int column, std::string_view text,
                                Separators separators, UserPrompts& prompts) {
    TypedValueResult result;
    if (row < 0 || row >= SheetRows || column < 0 || column >= DataColumns) return result;
    DataTable& table = document.Table();

    std::string compact;
    for (char c : text) {
        if (c != ' ' && c != '\t') compact.push_back(c);
    }
    Extended value = MissingValue;
    const NumberReading reading = ReadNumber(compact, separators, true, value);
    // The missing-value marker and larger magnitudes cannot be held: refused, never emptied.
    if (TooLargeForSheet(reading, value)) {
        prompts.Tell(ValueTooLargeMessage);
        result.redraw = SheetRedraw::Cell;
        return result;
    }
    if (reading != NumberReading::Number) value = MissingValue;
    if (value == table.Value(row, column)) return result;

    // The averaged-data question, the store and the modified mark.
    result.redraw = SheetRedraw::Cell;
    if (!document.Data().EnterRawValue(row, column, value, prompts)) return result;
    result.stored = true;
    if (IsMissingValue(value) || NeedsExponentForm(value)) return result;

    // The typed value's decimals.  The decimal places also govern how many decimals a data
    // file keeps, so they are raised whatever the display format.
    const DigitCounts counts = TypedDigitCounts(value);
    const bool raised = RaiseDecimals(table, column, counts);
    if (table.IsAutomaticFormat(column)) {
        if (raised) result.redraw = SheetRedraw::Column;
    } else {
        const std::int32_t shown = table.DisplayFormat(column);
        if (shown != counts.decimals && shown + counts.integerDigits > MaxCountedDigits) {
            table.SetDisplayFormat(column, MaxCountedDigits - counts.integerDigits);
            result.redraw = SheetRedraw::Column;
        }
    }
    return result;
}

void EnterRowTitle(Document& document, int row, std::string_view text) {
    if (row < 0 || row >= DataRows) return;
    document.Table().SetRowTitle(row, text);
    document.MarkModified();
}

std::optional<std::string_view> CheckIntegerEntry(std::string_view text, std::int64_t minimum,
                                                  std::int64_t maximum, std::int64_t& value) {
    std::int64_t parsed = 0;
    if (!ParseInteger(text, parsed)) return NumberNotValidMessage;
    if (parsed < minimum || parsed > maximum) return NumberOutOfRangeMessage;
    value = parsed;
    return std::nullopt;
}

// Block commands ---------------------------------------------------------------------------

bool ClearSelection(Document& document, const Selection& selection) {
    DataTable& table = document.Table();
    if (selection.kind == SelectionKind::Everything) {
        table.Clear();
        for (int c = 0; c < DataColumns; ++c) {
            table.SetNoRawData(c, true);
            ColumnRecord& record = table.Record(c);
            const std::string title = record.title;
            record.Clear();
            record.title = title;
            table.SetSelected(c, true);
            table.SetChanged(c, true);
        }
        document.MarkModified();
        return true;
    }
    bool any = false;
    for (int c = selection.left; c <= selection.right; ++c) {
        bool touched = false;
        for (int r = selection.top; r <= selection.bottom; ++r) {
            if (table.IsMissing(r, c)) continue;
            table.SetValue(r, c, MissingValue);
            touched = true;
        }
        if (touched) {
            RecountRawData(table, c);
            any = true;
        }
    }
    if (any) document.MarkModified();
    return any;
}

void ToggleExclusion(Document& document, const Selection& selection) {
    DataTable& table = document.Table();
    const int lastRow = LastRowOf(selection);
    bool anyExcluded = false;
    for (int c = selection.left; c <= selection.right && !anyExcluded; ++c) {
        for (int r = selection.top; r <= lastRow; ++r) {
            if (table.IsExcluded(r, c)) {
                anyExcluded = true;
                break;
            }
        }
    }
    for (int c = selection.left; c <= selection.right; ++c) {
        for (int r = selection.top; r <= lastRow; ++r) {
            if (!table.IsMissing(r, c)) table.SetExcluded(r, c, !anyExcluded);
        }
    }
    document.MarkModified();
}

std::optional<ShiftMode> ShiftModeForSelection(SelectionKind kind) {
    switch (kind) {
        case SelectionKind::WholeRows:
            return ShiftMode::EntireRows;
        case SelectionKind::WholeColumns:
        case SelectionKind::Everything:
            return ShiftMode::EntireColumns;
        case SelectionKind::Block:
            break;
    }
    return std::nullopt;
}

void InsertCells(Document& document, const Selection& selection, ShiftMode mode) {
    DataTable& table = document.Table();
    switch (mode) {
        case ShiftMode::ShiftCells:
            ShiftDown(table, selection.top, selection.Height(), selection.left, selection.right);
            break;
        case ShiftMode::EntireRows:
            ShiftDown(table, selection.top, selection.Height(), 0, DataColumns - 1);
            break;
        case ShiftMode::EntireColumns:
            ShiftColumnsRight(table, selection.left, selection.Width());
            break;
    }
    document.MarkModified();
}

void DeleteCells(Document& document, const Selection& selection, ShiftMode mode) {
    DataTable& table = document.Table();
    switch (mode) {
        case ShiftMode::ShiftCells:
            ShiftUp(table, selection.top, selection.Height(), selection.left, selection.right);
            break;
        case ShiftMode::EntireRows:
            ShiftUp(table, selection.top, selection.Height(), 0, DataColumns - 1);
            break;
        case ShiftMode::EntireColumns:
            ShiftColumnsLeft(table, selection.left, selection.Width());
            break;
    }
    document.MarkModified();
}

}  // namespace zelkon
