// The floating-point fault guard.  Analyses do not trap: an entry routine clears the
// exception flags on entry and, when it ends, maps a raised flag to an analysis error code.
#pragma once

#include <cstdint>

namespace zelkon {

/// Error codes of arithmetic faults.
inline constexpr std::int32_t ErrorDivideByZero = 2;
inline constexpr std::int32_t ErrorUnderflow = 3;
inline constexpr std::int32_t ErrorOverflow = 4;
inline constexpr std::int32_t ErrorInvalidOperation = 5;
inline constexpr std::int32_t ErrorOutOfMemory = 10;

/// Counts and degrees of freedom are 32-bit signed integers.  Totals of them are summed in
/// 64 bits, and a total outside the 32-bit range is an integer overflow (ErrorOverflow).
constexpr bool FitsCount(std::int64_t n) { return n >= INT32_MIN && n <= INT32_MAX; }

/// Clears the divide-by-zero, overflow, invalid and underflow flags on construction.
/// `FaultCode()` reports the first raised flag in the order divide-by-zero (2),
/// overflow (4), invalid (5); underflow alone is never an error.
class FpFaultGuard {
public:
    FpFaultGuard();
    [[nodiscard]] std::int32_t FaultCode() const;
    /// Clears the flags again (for code that computes an infinity or NaN on purpose).
    static void ClearFlags();
};

}  // namespace zelkon
