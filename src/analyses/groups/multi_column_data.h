// The analysed columns of a multi-column comparison (one-way and repeated-measures ANOVA,
// Kruskal-Wallis, Friedman): the column summaries the entry routine brings up to date, read
// back through the column map, and the row lists the analyses create.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <vector>

#include "core/column_record.h"
#include "core/data_table.h"

namespace zelkon {

/// Error codes of the multi-column comparisons (their messages are in error_messages).
inline constexpr std::int32_t ErrorNotEnoughData = 11;
inline constexpr std::int32_t ErrorOneValueInColumn = 12;
inline constexpr std::int32_t ErrorAllSDsZero = 13;
inline constexpr std::int32_t ErrorIncompleteBlock = 15;
inline constexpr std::int32_t ErrorAveragedData = 43;

/// One analysed column: its place in the data table and its summary.
struct AnalysedColumn {
    int dataColumn = 0;   ///< the column of the data table (0 = A)
    ColumnRecord record;  ///< title, N, mean, SD, SEM, extremes, median, limits, normality
    bool raw = true;      ///< false: averaged data, typed in as mean, SD (or SEM) and N
};

/// Brings the summaries up to date for a run: a column whose record holds N = 0 stays
/// without data; a column with raw data gets N, mean, SD, SEM, extremes, median and 95%
/// limits recomputed from its cells (`SummariseColumn`); a column of averaged data keeps
/// its typed-in summary.  The normality result in the records is left as it is.
void RefreshAnalysedSummaries(DataTable& table);

/// The analysed columns in column-map order (the map must be active: `BuildColumnMap`).
std::vector<AnalysedColumn> CollectAnalysedColumns(const DataTable& table);

/// True when some analysed column holds averaged data.
bool AnyAveragedColumn(const std::vector<AnalysedColumn>& columns);

/// The index among the analysed columns of data column `dataColumn`; the first analysed
/// column when it is not one of them (the run makes the control a selected column with
/// data, so this happens only for direct callers).
std::int32_t AnalysedIndexOf(const std::vector<AnalysedColumn>& columns, int dataColumn);

/// Creates a list with room for `capacity` entries.  False, with the list left empty, when
/// the memory cannot be had (the analysis then sets error 10).
template <typename T>
bool CreateList(std::vector<T>& list, std::size_t capacity) noexcept {
    try {
        list.clear();
        list.reserve(capacity);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

}  // namespace zelkon
