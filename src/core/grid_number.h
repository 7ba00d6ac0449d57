// How the spreadsheet grids show a value: the grid display rule and the number of decimals a
// column shows.
#pragma once

#include <cstdint>
#include <string>

#include "core/types.h"

namespace zelkon {

class DataTable;

/// The text a grid cell shows for v: empty for MissingValue; for v != 0 with |v| > 1E7 or
/// |v| <= 0.0001 the exponent form with a sign place, seven significant digits and a
/// two-digit exponent (" 1.234568E+07", "-2.500000E-05"); otherwise fixed notation with
/// shownDecimals decimals (a negative count reads as 0), leading blanks removed.
std::string FormatGridNumber(Extended v, std::int32_t shownDecimals);

/// The decimals column c shows: its display format when that is 0 or more, otherwise
/// (automatic format) its decimal places.  The scratch column and other indices outside
/// the data columns show 0.
std::int32_t ShownDecimals(const DataTable& table, int column);

}  // namespace zelkon
