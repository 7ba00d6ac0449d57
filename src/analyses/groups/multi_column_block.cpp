// The complete-block check.
#include "analyses/groups/multi_column_block.h"

#include "core/types.h"

namespace zelkon {

CompleteBlock CheckCompleteBlock(const DataTable& table) {
    CompleteBlock block;
    block.complete = true;
    const int columnCount = table.LastColumn() + 1;
    block.inBlock.assign(static_cast<std::size_t>(columnCount > 0 ? columnCount : 0), false);
    bool started = false;
    for (int row = 0; row <= table.LastRow(); ++row) {
        bool any = false;
        for (int k = 0; k < columnCount; ++k) {
            if (!IsMissingValue(table.AnalysisValue(row, k))) any = true;
        }
        if (!any) continue;
        if (!started) {
            started = true;
            block.firstRow = row;
            block.firstColumn = -1;
            for (int k = 0; k < columnCount; ++k) {
                if (IsMissingValue(table.AnalysisValue(row, k))) continue;
                block.inBlock[static_cast<std::size_t>(k)] = true;
                if (block.firstColumn < 0) block.firstColumn = k;
                block.lastColumn = k;
                ++block.columns;
            }
        } else {
            for (int k = 0; k < columnCount; ++k) {
                const bool present = !IsMissingValue(table.AnalysisValue(row, k));
                if (present != block.inBlock[static_cast<std::size_t>(k)]) block.complete = false;
            }
        }
        ++block.rows;
        block.lastRow = row;
    }
    return block;
}

}  // namespace zelkon
