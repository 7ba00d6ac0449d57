// The column headings of the spreadsheet grids (row 0 above the column titles), which depend
// on the data format: "X", "Y1", "Y2", ... for X and Y; "Group A" for raw and averaged data;
// "Variable A" for multiple regression; "Outcome A" for a larger contingency table.
#pragma once

#include <optional>
#include <string>

#include "core/data_format.h"

namespace zelkon {

/// The heading of data column c (0 to 25) for the format; no value for the two-by-two
/// format, whose grid keeps the headings it shows.
std::optional<std::string> ColumnHeading(DataFormat format, int column);

/// Whether the column statistics grid takes the same headings as the data grid (every
/// format but X and Y).
bool StatisticsGridTakesHeadings(DataFormat format);

}  // namespace zelkon
