// The block of the data sheet an editing command works on: a rectangle of cells, whole rows,
// whole columns or everything, together with the current (focused) cell.
#pragma once

#include <algorithm>

#include "core/types.h"

namespace zelkon {

/// Rows of the data sheet (table rows 0 to 999); the table's last row, index 1000, is reached
/// only by the data file reader.
inline constexpr int SheetRows = ShownRows;

/// How the block was selected.  Commands that ask about titles, or choose the insert and
/// delete mode, look at this.
enum class SelectionKind {
    Block,         ///< a rectangle of cells (a single cell when nothing else is selected)
    WholeRows,     ///< whole rows, chosen by clicking row headers
    WholeColumns,  ///< whole columns, chosen by clicking column headers
    Everything     ///< the top-left corner: the whole sheet
};

/// A selection on the data sheet, in table coordinates (rows 0 to 999, columns 0 to 25),
/// bounds inclusive.  The factories normalise the bounds for their kind.
struct Selection {
    SelectionKind kind = SelectionKind::Block;
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    int currentRow = 0;     ///< the focused cell, inside the selection
    int currentColumn = 0;

    /// The current cell alone (nothing selected).
    static Selection Cell(int row, int column) { return Block(row, column, row, column); }
    /// A rectangle; the current cell is its top-left corner.
    static Selection Block(int top, int left, int bottom, int right) {
        Selection s;
        s.top = ClampRow(std::min(top, bottom));
        s.bottom = ClampRow(std::max(top, bottom));
        s.left = ClampColumn(std::min(left, right));
        s.right = ClampColumn(std::max(left, right));
        s.currentRow = s.top;
        s.currentColumn = s.left;
        return s;
    }
    /// Whole rows top to bottom.
    static Selection Rows(int top, int bottom) {
        Selection s = Block(top, 0, bottom, DataColumns - 1);
        s.kind = SelectionKind::WholeRows;
        return s;
    }
    /// Whole columns left to right.
    static Selection Columns(int left, int right) {
        Selection s = Block(0, left, SheetRows - 1, right);
        s.kind = SelectionKind::WholeColumns;
        return s;
    }
    /// The whole sheet.
    static Selection All() {
        Selection s = Block(0, 0, SheetRows - 1, DataColumns - 1);
        s.kind = SelectionKind::Everything;
        return s;
    }

    bool Contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    int Height() const { return bottom - top + 1; }
    int Width() const { return right - left + 1; }

private:
    static int ClampRow(int r) { return std::clamp(r, 0, SheetRows - 1); }
    static int ClampColumn(int c) { return std::clamp(c, 0, DataColumns - 1); }
};

}  // namespace zelkon
