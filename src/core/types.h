// Basic numeric types of the engine: the extended type and the missing-value sentinel.
#pragma once

#include <cstdint>

namespace zelkon {

/// Every value of a data set and every intermediate result: the 80-bit x87 extended type.
using Extended = long double;

/// Marks an empty cell, a statistic not computed and a result that cannot be computed.
inline constexpr Extended MissingValue = 1.7E38L;

/// True exactly when x holds the missing-value sentinel.
constexpr bool IsMissingValue(Extended x) { return x == MissingValue; }

/// Number of data columns (A to Z), the scratch column index and the row count.
inline constexpr int DataColumns = 26;
inline constexpr int ScratchColumn = 26;
inline constexpr int DataRows = 1001;
inline constexpr int ShownRows = 1000;

/// The column letter of data column c (0 = 'A').
constexpr char ColumnLetter(int c) { return static_cast<char>('A' + c); }

}  // namespace zelkon
