// The analysed columns of a multi-column comparison.
#include "analyses/groups/multi_column_data.h"

#include "stats/column_stats.h"

namespace zelkon {

void RefreshAnalysedSummaries(DataTable& table) {
    for (int c = 0; c < DataColumns; ++c) {
        ColumnRecord& record = table.Record(c);
        if (record.n == 0 || HoldsAveragedData(table, c)) continue;
        const ColumnSummary s = SummariseColumn(table, c);
        record.n = s.n;
        record.mean = s.mean;
        record.sd = s.sd;
        record.sem = s.sem;
        record.minimum = s.minimum;
        record.maximum = s.maximum;
        record.median = s.median;
        record.upper95 = s.upper95;
        record.lower95 = s.lower95;
    }
}

std::vector<AnalysedColumn> CollectAnalysedColumns(const DataTable& table) {
    std::vector<AnalysedColumn> columns;
    const int count = table.ColumnMapActive() ? table.MappedColumnCount() : 0;
    for (int k = 0; k < count; ++k) {
        const int c = table.MappedColumn(k);
        columns.push_back({c, table.Record(c), !HoldsAveragedData(table, c)});
    }
    return columns;
}

bool AnyAveragedColumn(const std::vector<AnalysedColumn>& columns) {
    for (const AnalysedColumn& column : columns) {
        if (!column.raw) return true;
    }
    return false;
}

std::int32_t AnalysedIndexOf(const std::vector<AnalysedColumn>& columns, int dataColumn) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i].dataColumn == dataColumn) return static_cast<std::int32_t>(i);
    }
    return 0;
}

}  // namespace zelkon
