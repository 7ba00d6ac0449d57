// The points of an X-and-Y data table by position: rows in order, and within a row the Y
// replicate columns B, C, ... in order.  A point is the X of a row with one Y of that row
// where both hold a value (read through the analysis accessor, so excluded cells count as
// empty).
#pragma once

#include <cstdint>
#include <vector>

#include "core/data_table.h"
#include "core/types.h"

namespace zelkon {

/// The rows and Y columns an X-and-Y analysis reads: rows 0 to 999, Y columns 1 to 25.
inline constexpr int XYLastRow = ShownRows - 1;
inline constexpr int XYLastYColumn = DataColumns - 1;

struct XYPoint {
    int row;     ///< table row (0-based)
    int column;  ///< Y column (1 to 25)
    Extended x;
    Extended y;
};

/// Every point in position order (row by row, Y columns left to right).
std::vector<XYPoint> CollectXYPoints(const DataTable& table);

/// One row's view: its X (MissingValue when empty or excluded) and its Y values in column
/// order (excluded ones left out), with whether the user excluded its X or any of its Ys.
struct XYRow {
    int row;
    Extended x;
    std::vector<Extended> ys;
    bool xExcluded = false;
    bool yExcluded = false;
};

/// Every row that holds an X or at least one Y, in row order.
std::vector<XYRow> CollectXYRows(const DataTable& table);

}  // namespace zelkon
