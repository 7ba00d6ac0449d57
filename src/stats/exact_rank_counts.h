// Exact null-distribution counts of the rank tests, computed by dynamic programming over
// integer rank sums instead of enumerating every arrangement: the sign patterns of the
// signed rank test, the rank subsets of the Mann-Whitney test and the rank permutations of
// Spearman's correlation.  Each count equals what the complete enumeration would count and
// calls the progress protocol of exact calculations as it goes.
#pragma once

#include <cstdint>

#include "core/types.h"

namespace zelkon {

/// The exact flag of a rank test: 1 while an exact calculation runs or after it finished.
inline constexpr std::int32_t ExactFlagExact = 1;
/// The user cancelled the exact calculation.
inline constexpr std::int32_t ExactFlagCancelled = 0;
/// Not attempted (sample too large) or abandoned (more than 600 seconds estimated).
inline constexpr std::int32_t ExactFlagTooLong = 2;

/// How the P value of a test was obtained.
enum class PValueSource : std::uint8_t {
    Exact,      ///< counted over every arrangement
    TooLarge,   ///< approximate: the sample is beyond the exact limit
    Cancelled,  ///< approximate: the user cancelled the exact calculation
    TooLong,    ///< approximate: more than 600 seconds were estimated
};

/// Text of a P value source for the result JSON ("exact", "approximate: ...").
const char* PValueSourceText(PValueSource source);

/// The outcome of an exact count: the flag the progress protocol left (1 = complete) and,
/// when complete, the count.
struct ExactCount {
    std::int32_t flag = ExactFlagExact;
    std::int64_t counted = 0;
};

/// Signed rank test: of the 2^n sign patterns of the integer ranks 1..n (n <= 62), the
/// number whose sum of positive ranks is >= threshold.  Calls ReportProgress with a growing
/// percentage and stops when it answers anything but 1.
ExactCount CountSignedRankPatterns(std::int32_t n, Extended threshold);

/// C(n, k) computed exactly while below `cap`; `cap` once it reaches it.
std::int64_t CappedBinomial(std::int32_t n, std::int32_t k, std::int64_t cap);

/// Mann-Whitney test: of the C(n, k) subsets of size k of the integer ranks 1..n (C(n, k)
/// below 2^62), the number whose rank sum is <= k(k + 1)/2 + u.  Calls ReportProgress.
ExactCount CountRankSubsets(std::int32_t n, std::int32_t k, Extended u);

/// Spearman correlation: of the n! assignments of the ranks 1..n to the positions 1..n
/// (n <= 12), the number whose sum of squared rank differences is >= threshold.  Calls
/// ReportProgress.
ExactCount CountRankPermutations(std::int32_t n, std::int64_t threshold);

}  // namespace zelkon
