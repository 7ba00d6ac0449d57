// The prime-factor product: a ratio of factorials (or of any whole numbers) held as a vector
// of exponents, one per prime below 2000, and multiplied out only at the end, so that
// products such as (A+B)! (C+D)! (A+C)! (B+D)! / (N! A! B! C! D!) never overflow on the way.
// Fisher's exact test of the two-by-two table and the binomial coefficients of the exact
// rank tests both use it.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/types.h"

namespace zelkon {

/// Number of primes below 2000.
inline constexpr std::int32_t PrimeCount = 303;
/// Every integer from 2 to this value factorises completely over the primes below 2000.
inline constexpr std::int32_t LargestFullyFactorised = 2000;

/// The 303 primes below 2000 in ascending order.
const std::array<std::int32_t, PrimeCount>& PrimesBelow2000();

/// A product of whole numbers and their reciprocals, kept as prime exponents.  Integers are
/// factorised by trial division by the primes in ascending order; a cofactor left over that
/// has no prime factor below 2000 (only possible for integers above 2000) is kept as a factor
/// of its own, so the product stays exact for every positive 32-bit integer.
class PrimeFactorProduct {
  public:
    /// Back to the empty product (1).
    void Clear();

    /// Multiplies by / divides by n (n >= 1; 1 and smaller change nothing).
    void MultiplyInteger(std::int32_t n);
    void DivideInteger(std::int32_t n);
    /// Multiplies by / divides by every integer from `from` to `to` (nothing when to < from):
    /// the quotient (A+B)! / B! is MultiplyRange(B + 1, A + B).
    void MultiplyRange(std::int32_t from, std::int32_t to);
    void DivideRange(std::int32_t from, std::int32_t to);
    /// Multiplies by / divides by k! (k <= 1 changes nothing).
    void MultiplyFactorial(std::int32_t k);
    void DivideFactorial(std::int32_t k);

    /// The exponent of the i-th prime below 2000 (0-based); positive in the numerator.
    std::int32_t Exponent(std::int32_t primeIndex) const;
    /// True when some integer entered had a prime factor above 2000.
    bool HasLargeFactors() const { return !largeFactors_.empty(); }

    /// The product multiplied out, starting from 1: repeatedly a numerator chunk (an integer
    /// product of factors with positive exponent, grown while below 1,074,278) and a
    /// denominator chunk formed likewise, and result = result x numerator / denominator,
    /// until every exponent is used.  The product itself is left unchanged.
    Extended Evaluate() const;
    /// The natural logarithm of the product, from the exponents (never overflows).
    Extended Log() const;

  private:
    void AddInteger(std::int32_t n, std::int32_t sign);
    void AddLargeFactor(std::int32_t factor, std::int32_t sign);

    std::array<std::int32_t, PrimeCount> exponents_{};
    std::vector<std::pair<std::int32_t, std::int32_t>> largeFactors_;  ///< factor, exponent
};

/// The binomial coefficient C(n, k) = n! / (k! (n - k)!) through the prime-factor product,
/// rounded to the nearest integer; 0 when k < 0 or k > n.  Only for coefficients within the
/// extended range (use CappedBinomialCoefficient for anything larger).
Extended BinomialCoefficient(std::int32_t n, std::int32_t k);
/// C(n, k) as above, or `cap` when the coefficient exceeds `cap` (never overflows).
Extended CappedBinomialCoefficient(std::int32_t n, std::int32_t k, Extended cap);

}  // namespace zelkon
