// The data table of one document: cells, scratch column, exclusion marks, extents,
// per-column settings, titles and the analysis accessor with its column map.
#include "core/data_table.h"

#include <algorithm>

#include "core/latin1.h"

namespace zelkon {

namespace {
constexpr std::size_t CellCount = static_cast<std::size_t>(DataRows) * DataColumns;
constexpr std::size_t Col(int c) { return static_cast<std::size_t>(c); }
}  // namespace

DataTable::DataTable()
    : cells_(CellCount, MissingValue),
      scratch_(DataRows, MissingValue),
      excluded_(CellCount, 0),
      rowTitles_(DataRows) {
    ResetAll();
}

bool DataTable::CellInRange(int row, int column) {
    return row >= 0 && row < DataRows && column >= 0 && column < DataColumns;
}

// Column-major: the statistics walk a column at a time.
std::size_t DataTable::Index(int row, int column) {
    return static_cast<std::size_t>(column) * DataRows + static_cast<std::size_t>(row);
}

// Cells -----------------------------------------------------------------------------------

Extended DataTable::Value(int row, int column) const {
    return CellInRange(row, column) ? cells_[Index(row, column)] : MissingValue;
}

void DataTable::SetValue(int row, int column, Extended value) {
    if (!CellInRange(row, column)) return;
    const std::size_t i = Index(row, column);
    cells_[i] = value;
    const bool missing = IsMissingValue(value);
    if (extentTracking_) {
        if (!missing) {
            lastRow_ = std::max<std::uint16_t>(lastRow_, static_cast<std::uint16_t>(row));
            lastColumn_ = std::max<std::uint16_t>(lastColumn_, static_cast<std::uint16_t>(column));
        } else {
            ShrinkExtentsAfterRemoval(row, column);
        }
    }
    if (!missing) {
        isEmpty_ = false;
        hasData_ = true;
    } else {
        excluded_[i] = 0;
    }
    changed_[Col(column)] = 1;
}

// The last used row walks back to the nearest row that still holds a value.  The last used
// column walks back over columns that hold no value and are flagged as having no raw data:
// a column is never passed over while it still holds a value, whatever its flag says
// (values stored by a transform, an import or an analysis may leave the flag set), so the
// extent never hides data from the file writer or the export.
void DataTable::ShrinkExtentsAfterRemoval(int row, int column) {
    if (row == lastRow_) {
        int r = row;
        while (r > 0 && !RowHasValue(r)) --r;
        lastRow_ = static_cast<std::uint16_t>(r);
    }
    if (column == lastColumn_) {
        int c = column;
        while (c > 0 && !ColumnHasValue(c) && noRawData_[Col(c)] != 0) --c;
        lastColumn_ = static_cast<std::uint16_t>(c);
    }
}

bool DataTable::IsExcluded(int row, int column) const {
    return CellInRange(row, column) && excluded_[Index(row, column)] != 0;
}

void DataTable::SetExcluded(int row, int column, bool excluded) {
    if (!CellInRange(row, column)) return;
    const std::size_t i = Index(row, column);
    if (excluded && IsMissingValue(cells_[i])) return;
    const std::uint8_t mark = excluded ? 1 : 0;
    if (excluded_[i] != mark) {
        excluded_[i] = mark;
        changed_[Col(column)] = 1;
    }
}

void DataTable::Clear() {
    std::fill(cells_.begin(), cells_.end(), MissingValue);
    std::fill(scratch_.begin(), scratch_.end(), MissingValue);
    std::fill(excluded_.begin(), excluded_.end(), std::uint8_t{0});
    lastRow_ = 0;
    lastColumn_ = 0;
    isEmpty_ = true;
    hasData_ = false;
}

bool DataTable::HasData() const {
    // Column A of every row, then row 0 of every column, then the rest.
    for (int r = 0; r < DataRows; ++r) {
        if (!IsMissingValue(cells_[Index(r, 0)])) return true;
    }
    for (int c = 1; c < DataColumns; ++c) {
        if (!IsMissingValue(cells_[Index(0, c)])) return true;
    }
    for (int c = 1; c < DataColumns; ++c) {
        for (int r = 1; r < DataRows; ++r) {
            if (!IsMissingValue(cells_[Index(r, c)])) return true;
        }
    }
    return false;
}

std::pair<int, int> DataTable::FindExtent() {
    int lastRow = 0;
    int lastColumn = 0;
    bool found = false;
    for (int c = 0; c < DataColumns; ++c) {
        for (int r = 0; r < DataRows; ++r) {
            if (IsMissingValue(cells_[Index(r, c)])) continue;
            found = true;
            lastRow = std::max(lastRow, r);
            lastColumn = c;
        }
    }
    lastRow_ = static_cast<std::uint16_t>(lastRow);
    lastColumn_ = static_cast<std::uint16_t>(lastColumn);
    isEmpty_ = !found;
    return {lastRow, lastColumn};
}

bool DataTable::RowHasValue(int row) const {
    if (row < 0 || row >= DataRows) return false;
    for (int c = 0; c < DataColumns; ++c) {
        if (!IsMissingValue(cells_[Index(row, c)])) return true;
    }
    return false;
}

bool DataTable::ColumnHasValue(int column) const {
    if (!ColumnInRange(column)) return false;
    const auto first = cells_.begin() + static_cast<std::ptrdiff_t>(Index(0, column));
    return std::any_of(first, first + DataRows, [](Extended v) { return !IsMissingValue(v); });
}

// Per column ------------------------------------------------------------------------------

ColumnRecord& DataTable::Record(int c) {
    if (ColumnInRange(c)) return records_[Col(c)];
    spareRecord_.Clear();
    return spareRecord_;
}

const ColumnRecord& DataTable::Record(int c) const {
    static const ColumnRecord empty{};
    return ColumnInRange(c) ? records_[Col(c)] : empty;
}

void DataTable::ClearRecord(int c) {
    if (!ColumnInRange(c)) return;
    records_[Col(c)].Clear();
    selected_[Col(c)] = 1;
}

bool DataTable::Changed(int c) const { return ColumnInRange(c) && changed_[Col(c)] != 0; }

void DataTable::SetChanged(int c, bool changed) {
    if (ColumnInRange(c)) changed_[Col(c)] = changed ? 1 : 0;
}

bool DataTable::NoRawData(int c) const { return !ColumnInRange(c) || noRawData_[Col(c)] != 0; }

void DataTable::SetNoRawData(int c, bool noRawData) {
    if (ColumnInRange(c)) noRawData_[Col(c)] = noRawData ? 1 : 0;
}

bool DataTable::Selected(int c) const { return ColumnInRange(c) && selected_[Col(c)] != 0; }

void DataTable::SetSelected(int c, bool selected) {
    if (ColumnInRange(c)) selected_[Col(c)] = selected ? 1 : 0;
}

std::int32_t DataTable::Decimals(int c) const { return ColumnInRange(c) ? decimals_[Col(c)] : 0; }

void DataTable::SetDecimals(int c, std::int32_t n) {
    if (ColumnInRange(c)) decimals_[Col(c)] = n;
}

std::int32_t DataTable::DisplayFormat(int c) const {
    return ColumnInRange(c) ? displayFormat_[Col(c)] : -1;
}

void DataTable::SetDisplayFormat(int c, std::int32_t f) {
    if (ColumnInRange(c)) displayFormat_[Col(c)] = f;
}

// Titles ----------------------------------------------------------------------------------

const std::string& DataTable::RowTitle(int r) const {
    static const std::string empty;
    return r >= 0 && r < DataRows ? rowTitles_[static_cast<std::size_t>(r)] : empty;
}

void DataTable::SetRowTitle(int r, std::string_view text) {
    if (r < 0 || r >= DataRows) return;
    rowTitles_[static_cast<std::size_t>(r)] = CutText(SanitizeLatin1(text), MaxRowTitle);
}

std::string DataTable::DefaultRowTitle(int r) { return std::to_string(r + 1); }

void DataTable::SetDataTitle(std::string_view text) {
    dataTitle_ = CutText(SanitizeLatin1(text), MaxDataTitle);
}

// Analysis accessor -----------------------------------------------------------------------

int DataTable::MappedColumn(int k) const {
    if (!ColumnMapActive()) return k;
    if (k < 0 || k >= mapCount_) return -1;
    return columnMap_[static_cast<std::size_t>(k)];
}

Extended DataTable::AnalysisValue(int row, int k) const {
    if (row < 0 || row >= DataRows) return MissingValue;
    if (k == ScratchColumn) return scratch_[static_cast<std::size_t>(row)];
    const int c = MappedColumn(k);
    if (!ColumnInRange(c)) return MissingValue;
    if (analysisMode_ && selected_[Col(c)] == 0) return MissingValue;
    const std::size_t i = Index(row, c);
    return excluded_[i] != 0 ? MissingValue : cells_[i];
}

void DataTable::SetAnalysisValue(int row, int k, Extended value) {
    if (k == ScratchColumn) {
        if (row >= 0 && row < DataRows) scratch_[static_cast<std::size_t>(row)] = value;
        return;
    }
    SetValue(row, MappedColumn(k), value);
}

int DataTable::LastColumn() const {
    return ColumnMapActive() ? mapCount_ - 1 : static_cast<int>(lastColumn_);
}

void DataTable::SetLastColumn(int c) {
    lastColumn_ = static_cast<std::uint16_t>(std::clamp(c, 0, DataColumns - 1));
}

void DataTable::SetLastRow(int r) {
    lastRow_ = static_cast<std::uint16_t>(std::clamp(r, 0, DataRows - 1));
}

void DataTable::BuildColumnMap() {
    int count = 0;
    for (int c = 0; c < DataColumns; ++c) {
        if (selected_[Col(c)] != 0 && records_[Col(c)].n > 0) {
            columnMap_[static_cast<std::size_t>(count++)] = c;
        }
    }
    mapCount_ = count;
}

// Resetting -------------------------------------------------------------------------------

void DataTable::ResetAll() {
    Clear();
    for (int c = 0; c < DataColumns; ++c) {
        ClearRecord(c);
        changed_[Col(c)] = 0;
        noRawData_[Col(c)] = 1;
        decimals_[Col(c)] = 0;
        displayFormat_[Col(c)] = -1;
    }
    for (int r = 0; r < DataRows; ++r) rowTitles_[static_cast<std::size_t>(r)] = DefaultRowTitle(r);
    dataTitle_.clear();
    analysisMode_ = false;
    columnMap_.fill(0);
    mapCount_ = -1;
}

}  // namespace zelkon
