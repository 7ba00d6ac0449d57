// The data table of one document: 26 columns by 1001 rows of extended values, a scratch
// column, exclusion marks, per-column flags and settings, row titles, the data title, the
// analysis mode and the column map, and the 26 column records.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/column_record.h"
#include "core/types.h"

namespace zelkon {

class DataTable {
public:
    static constexpr std::size_t MaxRowTitle = 10;
    static constexpr std::size_t MaxDataTitle = 255;
    static constexpr int MaxMappedColumns = 27;

    DataTable();

    // Cells ---------------------------------------------------------------------------
    // Rows 0 to 1000 and columns 0 to 25 address cells.  Out-of-range reads give
    // MissingValue (or the default of a setting) and out-of-range writes are ignored.

    /// The stored value (MissingValue when empty or out of range).
    Extended Value(int row, int column) const;
    bool IsMissing(int row, int column) const { return IsMissingValue(Value(row, column)); }
    /// Stores a value with the extent, emptiness, exclusion and changed-flag bookkeeping.
    void SetValue(int row, int column, Extended value);
    bool IsExcluded(int row, int column) const;
    /// Sets or clears an exclusion mark; a request to exclude an empty cell is ignored.
    void SetExcluded(int row, int column, bool excluded);
    /// Empties every cell and mark and resets the extents and emptiness flags.
    void Clear();
    /// True when at least one cell holds a non-missing value.
    bool HasData() const;
    /// Rescans every cell: the highest row and column holding a value (0, 0 when none);
    /// also sets the tracked extents and the is-empty flag from the scan.
    std::pair<int, int> FindExtent();
    /// True when some cell of the row / of the column holds a value.
    bool RowHasValue(int row) const;
    bool ColumnHasValue(int column) const;
    bool IsEmptyFlag() const { return isEmpty_; }
    bool HasDataFlag() const { return hasData_; }
    void SetExtentTracking(bool on) { extentTracking_ = on; }

    // Per column ----------------------------------------------------------------------
    /// The column record of data column c, read and written in place.  For a column out of
    /// range a spare record is returned (cleared on every such call), so writes are lost.
    ColumnRecord& Record(int c);
    const ColumnRecord& Record(int c) const;
    /// Clears the record of column c and sets the column's selected flag.
    void ClearRecord(int c);
    bool Changed(int c) const;
    void SetChanged(int c, bool changed);
    bool NoRawData(int c) const;
    void SetNoRawData(int c, bool noRawData);
    bool Selected(int c) const;
    void SetSelected(int c, bool selected);
    std::int32_t Decimals(int c) const;
    void SetDecimals(int c, std::int32_t n);
    std::int32_t DisplayFormat(int c) const;
    void SetDisplayFormat(int c, std::int32_t f);
    /// True when the display format is negative (automatic decimals).
    bool IsAutomaticFormat(int c) const { return DisplayFormat(c) < 0; }

    // Titles --------------------------------------------------------------------------
    const std::string& RowTitle(int r) const;
    void SetRowTitle(int r, std::string_view text);
    /// The default title of row index r: the decimal text of r + 1.
    static std::string DefaultRowTitle(int r);
    const std::string& DataTitle() const { return dataTitle_; }
    void SetDataTitle(std::string_view text);

    // Analysis accessor ---------------------------------------------------------------
    /// Reads analysis column k (through the column map when it is active): unselected
    /// columns in analysis mode, excluded cells, empty cells and columns beyond the map
    /// read as MissingValue.  k = 26 always reads the scratch column.
    Extended AnalysisValue(int row, int k) const;
    /// k = 26 writes the scratch column; any other k is translated like AnalysisValue (so
    /// a value written is the value read back) and stored with SetValue.
    void SetAnalysisValue(int row, int k, Extended value);
    int LastRow() const { return lastRow_; }
    /// The last used column, or with the column map active the mapped count minus 1.
    int LastColumn() const;
    /// Sets the tracked last used column (the column run raises it for a run and restores
    /// it afterwards); kept within 0 to 25.
    void SetLastColumn(int c);
    /// Sets the tracked last used row; kept within 0 to 1000.
    void SetLastRow(int r);
    bool AnalysisMode() const { return analysisMode_; }
    void SetAnalysisMode(bool on) { analysisMode_ = on; }
    /// Maps the selected columns with N > 0, in ascending order.
    void BuildColumnMap();
    void ResetColumnMap() { mapCount_ = -1; }
    bool ColumnMapActive() const { return mapCount_ >= 0; }
    int MappedColumnCount() const { return mapCount_; }
    /// The data column of analysis column k (k itself when the map is inactive; -1 when k
    /// lies beyond the active map).
    int MappedColumn(int k) const;

    // Resetting -----------------------------------------------------------------------
    /// The document's reset: cells and marks emptied, decimals 0, display format automatic,
    /// records cleared, no-raw-data flags 1, changed flags 0, data title empty, row titles
    /// at their defaults, column map inactive.
    void ResetAll();

private:
    static bool CellInRange(int row, int column);
    static bool ColumnInRange(int c) { return c >= 0 && c < DataColumns; }
    static std::size_t Index(int row, int column);
    void ShrinkExtentsAfterRemoval(int row, int column);

    std::vector<Extended> cells_;
    std::vector<Extended> scratch_;
    std::vector<std::uint8_t> excluded_;
    std::uint16_t lastRow_ = 0;
    std::uint16_t lastColumn_ = 0;
    bool isEmpty_ = true;
    bool hasData_ = false;
    bool extentTracking_ = true;
    std::array<std::uint8_t, DataColumns> changed_{};
    std::array<std::uint8_t, DataColumns> noRawData_{};
    std::array<std::uint8_t, DataColumns> selected_{};
    std::array<std::int32_t, DataColumns> decimals_{};
    std::array<std::int32_t, DataColumns> displayFormat_{};
    std::array<ColumnRecord, DataColumns> records_;
    ColumnRecord spareRecord_;
    std::vector<std::string> rowTitles_;
    std::string dataTitle_;
    bool analysisMode_ = false;
    std::array<int, MaxMappedColumns> columnMap_{};
    int mapCount_ = -1;
};

}  // namespace zelkon
