// Fisher's exact test of a two-by-two table: the hypergeometric probability of a table
// through the prime-factor product, the one-tailed P toward the nearer extreme and the
// two-tailed P that adds every table no more probable than the observed one (or doubles the
// one-tailed P when a pair of margins is equal).
#pragma once

#include <cstdint>

#include "core/types.h"

namespace zelkon {

/// The largest table Fisher's test takes: integers above 2000 do not factorise over the
/// primes of the prime-factor product.
inline constexpr std::int32_t FisherMaximumTotal = 2000;

/// The probability of the table A B / C D among all tables with its margins:
/// (A+B)! (C+D)! (A+C)! (B+D)! / (N! A! B! C! D!).  Counts must be non-negative.
Extended HypergeometricProbability(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);

struct FisherExactResult {
    Extended oneTailedP = MissingValue;
    Extended twoTailedP = MissingValue;  ///< never above 1
    bool doubled = false;                ///< equal row or column totals: twice the one-tailed P
    bool capped = false;                 ///< the two-tailed P came out above 1 and is reported as 1
};

/// Fisher's exact test.  The table is first turned (without changing the test) so that
/// A D <= B C; the one-tailed P sums the observed table and every table toward A = 0.  With
/// A + B = C + D or A + C = B + D the two-tailed P is twice the one-tailed P; otherwise the
/// tables beyond the observed one in the other direction are added whenever they are no more
/// probable than the observed table.  Counts must be non-negative with N <= 2000.
FisherExactResult FisherExactTest(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);

}  // namespace zelkon
