// The prime-factor product against exact integers (Python's math.comb and factorial) and
// against an independent primality check; the large-factor path beyond 2000 and the cap of
// the binomial coefficient.
#include "stats/prime_factor_product.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

namespace zelkon {
namespace {

bool IsPrimeByDivision(std::int32_t n) {
    if (n < 2) return false;
    for (std::int32_t d = 2; d * d <= n; ++d) {
        if (n % d == 0) return false;
    }
    return true;
}

TEST(PrimeFactorProduct, PrimesBelow2000AreEveryPrimeInOrder) {
    const auto& primes = PrimesBelow2000();
    std::size_t next = 0;
    for (std::int32_t n = 2; n < 2000; ++n) {
        if (!IsPrimeByDivision(n)) continue;
        ASSERT_LT(next, primes.size());
        EXPECT_EQ(primes[next], n);
        ++next;
    }
    EXPECT_EQ(next, 303u);
    EXPECT_EQ(primes.back(), 1999);
}

TEST(PrimeFactorProduct, FactorialExponentsAndValues) {
    PrimeFactorProduct p;
    p.MultiplyFactorial(10);  // 10! = 2^8 3^4 5^2 7 (Legendre's formula by hand)
    EXPECT_EQ(p.Exponent(0), 8);
    EXPECT_EQ(p.Exponent(1), 4);
    EXPECT_EQ(p.Exponent(2), 2);
    EXPECT_EQ(p.Exponent(3), 1);
    EXPECT_EQ(p.Exponent(4), 0);
    EXPECT_EQ(p.Evaluate(), 3628800.0L);

    // A quotient entered as a range equals the same quotient of factorials: 20! / 10!.
    PrimeFactorProduct range;
    range.MultiplyRange(11, 20);
    PrimeFactorProduct factorials;
    factorials.MultiplyFactorial(20);
    factorials.DivideFactorial(10);
    for (std::int32_t i = 0; i < PrimeCount; ++i)
        EXPECT_EQ(range.Exponent(i), factorials.Exponent(i));
    EXPECT_EQ(range.Evaluate(),
              670442572800.0L);  // python3: math.factorial(20)//math.factorial(10)

    p.Clear();
    EXPECT_EQ(p.Evaluate(), 1.0L);
    p.MultiplyInteger(1);
    p.MultiplyFactorial(0);
    p.DivideRange(5, 4);
    EXPECT_EQ(p.Evaluate(), 1.0L);
}

TEST(PrimeFactorProduct, BinomialCoefficients) {
    // python3: math.comb
    EXPECT_EQ(BinomialCoefficient(50, 25), 126410606437752.0L);
    EXPECT_EQ(BinomialCoefficient(30, 15), 155117520.0L);
    EXPECT_EQ(BinomialCoefficient(2000, 3), 1331334000.0L);
    EXPECT_EQ(BinomialCoefficient(7, 0), 1.0L);
    EXPECT_EQ(BinomialCoefficient(7, 7), 1.0L);
    EXPECT_EQ(BinomialCoefficient(7, 8), 0.0L);
    EXPECT_EQ(BinomialCoefficient(7, -1), 0.0L);
    // C(2000, 1000) = 2.048151626989489714e600, far beyond double but within extended.
    const Extended big = BinomialCoefficient(2000, 1000);
    EXPECT_NEAR(static_cast<double>(big / 2.048151626989489714e600L), 1.0, 1e-15);
}

TEST(PrimeFactorProduct, IntegersAbove2000KeepTheirLargeFactors) {
    // 2003 is prime: C(2003, 2) = 2003 x 1001 = 2005003 (python3: math.comb(2003, 2)).
    EXPECT_EQ(BinomialCoefficient(2003, 2), 2005003.0L);
    PrimeFactorProduct p;
    p.MultiplyInteger(2 * 2003);
    p.DivideInteger(2003);
    EXPECT_EQ(p.Evaluate(), 2.0L);
    EXPECT_TRUE(p.HasLargeFactors());
    // 4002 = 2 x 3 x 23 x 29 factorises completely.
    PrimeFactorProduct q;
    q.MultiplyInteger(4002);
    EXPECT_FALSE(q.HasLargeFactors());
    EXPECT_EQ(q.Evaluate(), 4002.0L);
    // 2147483647 (prime) and 2147483646 = 2 x 3^2 x 7 x 11 x 31 x 151 x 331.
    PrimeFactorProduct top;
    top.MultiplyRange(2147483646, 2147483647);
    EXPECT_EQ(top.Evaluate(), 2147483646.0L * 2147483647.0L);
}

TEST(PrimeFactorProduct, CappedCoefficientNeverOverflows) {
    constexpr Extended cap = 2000000000.0L;
    EXPECT_EQ(CappedBinomialCoefficient(30, 15, cap), 155117520.0L);
    EXPECT_EQ(CappedBinomialCoefficient(40, 20, cap), cap);  // 137846528820
    EXPECT_EQ(CappedBinomialCoefficient(2000, 3, cap), 1331334000.0L);
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(CappedBinomialCoefficient(26000, 13000, cap), cap);  // about 1e7825
    EXPECT_FALSE(std::fetestexcept(FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID));
}

TEST(PrimeFactorProduct, LogMatchesLogGamma) {
    PrimeFactorProduct p;
    p.MultiplyFactorial(1500);
    p.DivideFactorial(700);
    const Extended expected = std::lgamma(1501.0L) - std::lgamma(701.0L);
    EXPECT_NEAR(static_cast<double>(p.Log() / expected), 1.0, 1e-15);
}

}  // namespace
}  // namespace zelkon
