// Rules shared by every way a value enters the sheet (typing, pasting, importing,
// transforming, combining): how a pasted or imported value is kept, how its digits raise the
// column's decimal places, and how a column's raw-data flag follows its cells.
#pragma once

#include <cstdint>

#include "core/stored_number.h"
#include "core/types.h"

namespace zelkon {

class DataTable;

/// The largest count of decimals plus integer digits for which a value raises its column's
/// decimal places.
inline constexpr std::int32_t MaxCountedDigits = 14;

/// A pasted or imported value as stored: rounded to 15 significant digits, keeping its
/// magnitude (1E15 stays 1E15, 1.234E-15 stays 1.234E-15).
Extended RoundEnteredValue(Extended v);

/// The digit counts of a pasted or imported value: counted on its text in fixed notation with
/// 12 decimals, trailing zeros removed, cut to its first 14 characters.
DigitCounts EnteredDigitCounts(Extended v);

/// The digit counts of a typed value: counted on its shortest fixed-notation text, integer
/// digits capped at 14.  A value that needs the exponent form counts nothing (both zero).
DigitCounts TypedDigitCounts(Extended v);

/// The most decimals a computed value (a transform, a combination) raises its column to.
inline constexpr std::int32_t ComputedValueDecimals = 8;

/// The decimals a computed value shows: those of its text in fixed notation with 8 decimals,
/// trailing zeros removed, or of its exponent form.  (The data file keeps all 15 of its
/// significant digits whatever the column shows.)
std::int32_t StoredRuleDecimals(Extended v);

/// Raises the column's decimal places to the value's decimals when decimals plus integer
/// digits are at most 14 and the decimals exceed the column's decimal places.  Returns true
/// when they were raised.
bool RaiseDecimals(DataTable& table, int column, DigitCounts counts);

/// The decimal places a column needs for the values it holds: for each value the larger of
/// its decimals as a computed value (StoredRuleDecimals) and, when it fits in 14 digits, its
/// shortest text's decimals.
std::int32_t NeededDecimals(const DataTable& table, int column);

/// After cells of a column were emptied or moved: a column holding a value holds raw data; a
/// column that held raw data and now holds no value is flagged as having none, and its
/// record's N and statistics are emptied (its title and selection are kept), so that the
/// stale summary can never pass for averaged data.
void RecountRawData(DataTable& table, int column);

}  // namespace zelkon
