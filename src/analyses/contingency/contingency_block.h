// Where the block of counts of a larger contingency table lies in the data table, found by
// the complete-block check: every data row must fill exactly the columns of the first one.
#pragma once

#include <array>
#include <cstdint>

#include "core/data_table.h"
#include "core/types.h"

namespace zelkon {

struct ContingencyBlock {
    bool complete = true;      ///< false: a data row lacks a value of the set or has one outside it
    std::int32_t rows = 0;     ///< r: rows holding a value (empty rows between them skipped)
    std::int32_t columns = 0;  ///< c: the columns of the set
    int firstRow = -1;
    int lastRow = -1;
    int firstColumn = -1;  ///< analysis column indices
    int lastColumn = -1;
    /// The set of columns in use: those with a value in the first data row.
    std::array<bool, DataColumns> inSet{};
};

/// Walks the rows of the analysed columns (0 to LastColumn, read with AnalysisValue) from the
/// top.  The first row with any value fixes the set of columns, the first and last of them and
/// the first row; every later row with a value is counted, becomes the last row, and fails the
/// check when it lacks a value in a column of the set or has one outside it.  A table without
/// values gives a complete block of 0 rows and 0 columns.
ContingencyBlock FindContingencyBlock(const DataTable& table);

}  // namespace zelkon
