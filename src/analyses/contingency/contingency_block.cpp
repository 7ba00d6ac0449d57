// The block of counts of a larger contingency table.
#include "analyses/contingency/contingency_block.h"

#include <algorithm>

namespace zelkon {

namespace {

int AnalysedColumnCount(const DataTable& table) {
    return std::clamp(table.LastColumn() + 1, 0, static_cast<int>(DataColumns));
}

// True when the row holds a value in some analysed column.
bool RowHasValue(const DataTable& table, int row) {
    const int columns = AnalysedColumnCount(table);
    for (int k = 0; k < columns; ++k) {
        if (!IsMissingValue(table.AnalysisValue(row, k))) return true;
    }
    return false;
}

}  // namespace

ContingencyBlock FindContingencyBlock(const DataTable& table) {
    ContingencyBlock block;
    const int columns = AnalysedColumnCount(table);
    for (int row = 0; row <= table.LastRow(); ++row) {
        if (!RowHasValue(table, row)) continue;
        if (block.firstRow < 0) {
            block.firstRow = row;
            for (int k = 0; k < columns; ++k) {
                if (IsMissingValue(table.AnalysisValue(row, k))) continue;
                block.inSet[static_cast<std::size_t>(k)] = true;
                ++block.columns;
                if (block.firstColumn < 0) block.firstColumn = k;
                block.lastColumn = k;
            }
        } else {
            for (int k = 0; k < columns; ++k) {
                const bool present = !IsMissingValue(table.AnalysisValue(row, k));
                if (present != block.inSet[static_cast<std::size_t>(k)]) block.complete = false;
            }
        }
        ++block.rows;
        block.lastRow = row;
    }
    return block;
}

}  // namespace zelkon
