// The complete-block check of the matched multi-column tests (repeated-measures ANOVA and
// the Friedman test): do the rows with values form a complete rectangle of analysed columns?
#pragma once

#include <cstdint>
#include <vector>

#include "core/data_table.h"

namespace zelkon {

/// What the check found.  Columns are analysed-column indices (through the column map),
/// rows are table rows.
struct CompleteBlock {
    bool complete = false;
    std::int32_t rows = 0;     ///< r: rows holding a value
    std::int32_t columns = 0;  ///< c: columns with a value in the first such row
    int firstColumn = 0;
    int lastColumn = -1;
    int firstRow = 0;
    int lastRow = -1;
    std::vector<bool> inBlock;  ///< per analysed column: has a value in the first row
};

/// Walks the rows from the top: the first row holding a value among the analysed columns
/// fixes the set of columns in use; every later row with a value is counted and fails the
/// check when it lacks a value in a column of the set or has one outside it.  Rows without
/// any value are skipped.  With no value at all the block is complete with r = c = 0.
CompleteBlock CheckCompleteBlock(const DataTable& table);

}  // namespace zelkon
