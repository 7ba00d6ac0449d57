// The critical-value tables of the post tests: upper percentage points of the studentized
// range (Tukey-Kramer, Student-Newman-Keuls) at 0.05, 0.01 and 0.001 and two-sided critical
// values of Dunnett's statistic at 0.05 and 0.01, with their grids and storage scales.  The
// entries themselves live in critical_tables.cpp, which tools/critical_tables writes.
#pragma once

#include <array>
#include <cstdint>

namespace zelkon {

/// Degrees of freedom under which the infinity row of both tables is entered.
inline constexpr std::int32_t InfinityRowDf = 500;
/// Largest finite degrees of freedom of both tables.
inline constexpr std::int32_t LastFiniteRowDf = 120;

// Studentized range ----------------------------------------------------------------------

inline constexpr int StudentizedRangeRows = 26;
inline constexpr int StudentizedRangeColumns = 35;
inline constexpr int StudentizedRangeLevels = 3;

/// Residual degrees of freedom of the rows (the last is the infinity row).
inline constexpr std::array<std::int32_t, StudentizedRangeRows> StudentizedRangeDf = {
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,  13,
    14, 15, 16, 17, 18, 19, 20, 24, 30, 40, 60, 120, InfinityRowDf};
/// Number of means of the columns.
inline constexpr std::array<std::int32_t, StudentizedRangeColumns> StudentizedRangeK = {
    2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19,
    20, 22, 24, 26, 28, 30, 32, 34, 36, 38, 40, 50, 60, 70, 80, 90, 100};
/// Upper-tail probabilities of the three tables, in table order.
inline constexpr std::array<double, StudentizedRangeLevels> StudentizedRangeProbabilities = {
    0.05, 0.01, 0.001};

/// The divisor that turns a stored entry of table `level` (0: 0.05, 1: 0.01, 2: 0.001) and
/// row `row` into its value: hundredths for the df 1 row of 0.05 and 0.01, tenths and
/// hundredths for the df 1 and df 2 rows of 0.001, thousandths elsewhere.
constexpr std::int32_t StudentizedRangeDivisor(int level, int row) {
    if (level == 2) return row == 0 ? 10 : row == 1 ? 100 : 1000;
    return row == 0 ? 100 : 1000;
}

using StudentizedRangeTable =
    std::array<std::array<std::uint16_t, StudentizedRangeColumns>, StudentizedRangeRows>;
/// The stored entries, one table per level.
extern const std::array<StudentizedRangeTable, StudentizedRangeLevels> StudentizedRangeTables;

// Dunnett ----------------------------------------------------------------------------------

inline constexpr int DunnettRows = 22;
inline constexpr int DunnettColumns = 14;
inline constexpr int DunnettLevels = 2;

/// Residual degrees of freedom of the rows (the last is the infinity row).
inline constexpr std::array<std::int32_t, DunnettRows> DunnettDf = {
    5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 24, 30, 40, 60, 120, InfinityRowDf};
/// Number of means of the columns, the control included.
inline constexpr std::array<std::int32_t, DunnettColumns> DunnettK = {2, 3,  4,  5,  6,  7,  8,
                                                                      9, 10, 11, 12, 13, 16, 21};
/// Two-sided probabilities of the two tables, in table order.
inline constexpr std::array<double, DunnettLevels> DunnettProbabilities = {0.05, 0.01};

/// The base, in hundredths, above which the stored byte of table `level` (0: 0.05, 1: 0.01)
/// and row `row` counts hundredths: 1.96 for every row at 0.05; at 0.01 4.00 (df 5),
/// 3.70 (df 6), 3.00 (df 7) and 2.58 for the other rows.
constexpr std::int32_t DunnettBaseHundredths(int level, int row) {
    if (level == 0) return 196;
    return row == 0 ? 400 : row == 1 ? 370 : row == 2 ? 300 : 258;
}

using DunnettTable = std::array<std::array<std::uint8_t, DunnettColumns>, DunnettRows>;
/// The stored entries, one table per level.
extern const std::array<DunnettTable, DunnettLevels> DunnettTables;

}  // namespace zelkon
