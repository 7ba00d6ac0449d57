// How the spreadsheet grids show a value: the grid display rule, the number of decimals a
// column shows, the text that fits a cell too narrow for it, and the full text of a value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/types.h"

namespace zelkon {

class DataTable;

/// The text a grid cell shows for v: empty for MissingValue; for v != 0 with |v| > 1E7 or
/// |v| <= 0.0001 the exponent form with a sign place, seven significant digits and a
/// two-digit exponent (" 1.234568E+07", "-2.500000E-05"); otherwise fixed notation with
/// shownDecimals decimals (a negative count reads as 0), leading blanks removed.  The fixed
/// notation carries at most the 15 significant digits the program holds of a value; further
/// decimals are zeros ("1234567.100000000000" with 12), never the binary value's noise.
std::string FormatGridNumber(Extended v, std::int32_t shownDecimals);

/// The text of v in a cell that holds only what `fits` accepts.  The grid text when it fits
/// (without the exponent form's sign place when only that is too much); else a fixed text cut
/// on the right and ended with ".." ("22026.4657.."), which keeps every integer digit and at
/// least one decimal; else the exponent form with as many significant digits as fit
/// ("2.2E+04"); else the shortest exponent form.  Leading digits are never left out.
std::string FitGridText(Extended v, std::int32_t shownDecimals,
                        const std::function<bool(std::string_view)>& fits);
/// FitGridText for a cell of at most `maxCharacters` characters.
std::string FitGridText(Extended v, std::int32_t shownDecimals, std::size_t maxCharacters);

/// Every digit the program holds of v, as a cell's tooltip and its editor show it: the 15
/// significant digits of a fixed-notation value without trailing zeros ("22026.4657948067"),
/// the exponent form with the digits that read back as v ("1.2345678E+07"), no leading blank;
/// empty for MissingValue.
std::string FullGridText(Extended v);

/// The decimals column c shows: its display format when that is 0 or more, otherwise
/// (automatic format) its decimal places.  The scratch column and other indices outside
/// the data columns show 0.
std::int32_t ShownDecimals(const DataTable& table, int column);

}  // namespace zelkon
