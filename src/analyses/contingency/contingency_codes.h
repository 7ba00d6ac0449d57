// The analysis error codes of the two-by-two and larger contingency tables (their messages
// are in core/error_messages).
#pragma once

#include <cstdint>

namespace zelkon {

inline constexpr std::int32_t CodeFractionCount = 30;       ///< a count is not a whole number
inline constexpr std::int32_t CodeNegativeCount = 31;       ///< a count is negative
inline constexpr std::int32_t CodeZeroRow = 32;             ///< a row of zeros (McNemar: B or C 0)
inline constexpr std::int32_t CodeZeroColumn = 33;          ///< a column of zeros
inline constexpr std::int32_t CodeBlockGap = 34;            ///< values missing inside the block
inline constexpr std::int32_t CodeFourValuesMissing = 45;   ///< a cell of the 2x2 table empty
inline constexpr std::int32_t CodeNoContingencyData = 46;   ///< no data in the larger table
inline constexpr std::int32_t CodePairedCellsMissing = 48;  ///< McNemar without B or C

}  // namespace zelkon
