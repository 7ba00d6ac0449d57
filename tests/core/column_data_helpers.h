// Test helpers that fill columns of a data table as the spreadsheet and the column
// statistics would: raw columns with their N, averaged columns typed as mean, SD and N.
#pragma once

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "core/data_table.h"

namespace zelkon::test {

/// Stores the values down column c, marks it as holding raw data and sets its N.
inline void AddRawColumn(DataTable& table, int c, std::initializer_list<double> values,
                         const std::string& title = {}) {
    int row = 0;
    for (double v : values) table.SetValue(row++, c, static_cast<Extended>(v));
    table.SetNoRawData(c, false);
    table.Record(c).n = row;
    table.Record(c).title = title;
}

/// The same with the values as typed: each text read as the sheet reads it, to the nearest
/// extended value (16.3 is then the extended value nearest 16.3, not a double widened).
inline void AddTypedColumn(DataTable& table, int c, std::initializer_list<const char*> values,
                           const std::string& title = {}) {
    int row = 0;
    for (const char* v : values) table.SetValue(row++, c, std::strtold(v, nullptr));
    table.SetNoRawData(c, false);
    table.Record(c).n = row;
    table.Record(c).title = title;
}

/// Column c typed as mean 5, SD 1, N 10, with no raw data.
inline void AddAveragedColumn(DataTable& table, int c, const std::string& title = {}) {
    ColumnRecord& r = table.Record(c);
    r.mean = 5;
    r.sd = 1;
    r.n = 10;
    r.title = title;
}

/// Removes column c's data as deleting its cells and recomputing its statistics would.
inline void RemoveColumnData(DataTable& table, int c) {
    for (int row = 0; row < DataRows; ++row) {
        if (!table.IsMissing(row, c)) table.SetValue(row, c, MissingValue);
    }
    table.Record(c).n = 0;
}

}  // namespace zelkon::test
