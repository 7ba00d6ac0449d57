// The complete-block check.
#include "analyses/contingency/complete_block.h"

#include <algorithm>

namespace zelkon {

namespace {

int AnalysedColumnCount(const DataTable& table) {
    return std::clamp(table.LastColumn() + 1, 0, static_cast<int>(DataColumns));
}

}  // namespace

bool CompleteBlock::RowHasValue(const DataTable& table, int row) {
    const int columns = AnalysedColumnCount(table);
    for (int k = 0; k < columns; ++k) {
        if (!IsMissingValue(table.AnalysisValue(row, k))) return true;
    }
    return false;
}

CompleteBlock FindCompleteBlock(const DataTable& table) {
    CompleteBlock block;
    const int columns = AnalysedColumnCount(table);
    for (int row = 0; row <= table.LastRow(); ++row) {
        if (!CompleteBlock::RowHasValue(table, row)) continue;
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
