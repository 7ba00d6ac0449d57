// The prime-factor product of factorial ratios and binomial coefficients.
#include "stats/prime_factor_product.h"

#include <algorithm>
#include <cmath>

namespace zelkon {

namespace {

// A chunk grows while it is below this value, so that one more factor below 2000 keeps it
// within 2^31 - 1.
constexpr std::int64_t ChunkLimit = 1074278;

std::array<std::int32_t, PrimeCount> SievePrimes() {
    std::array<bool, LargestFullyFactorised> composite{};
    std::array<std::int32_t, PrimeCount> primes{};
    std::size_t count = 0;
    for (std::int32_t n = 2; n < LargestFullyFactorised; ++n) {
        if (composite[static_cast<std::size_t>(n)]) continue;
        primes[count++] = n;
        for (std::int32_t m = n * n; m < LargestFullyFactorised; m += n) {
            composite[static_cast<std::size_t>(m)] = true;
        }
    }
    return primes;
}

// One factor of a multiplied-out product and how many times it is still to be used.
struct Factor {
    std::int64_t value;
    std::int32_t count;
};

// The next chunk of a side of the product: factors taken in order, each use lowering its
// count, while the chunk is below the limit.
std::int64_t NextChunk(std::vector<Factor>& factors, std::size_t& cursor) {
    std::int64_t chunk = 1;
    while (cursor < factors.size() && chunk < ChunkLimit) {
        chunk *= factors[cursor].value;
        if (--factors[cursor].count == 0) ++cursor;
    }
    return chunk;
}

}  // namespace

const std::array<std::int32_t, PrimeCount>& PrimesBelow2000() {
    static const std::array<std::int32_t, PrimeCount> primes = SievePrimes();
    return primes;
}

void PrimeFactorProduct::Clear() {
    exponents_.fill(0);
    largeFactors_.clear();
}

void PrimeFactorProduct::AddLargeFactor(std::int32_t factor, std::int32_t sign) {
    for (auto& entry : largeFactors_) {
        if (entry.first == factor) {
            entry.second += sign;
            return;
        }
    }
    largeFactors_.emplace_back(factor, sign);
}

void PrimeFactorProduct::AddInteger(std::int32_t n, std::int32_t sign) {
    if (n < 2) return;
    const auto& primes = PrimesBelow2000();
    std::int32_t m = n;
    for (std::size_t i = 0; i < primes.size() && m > 1; ++i) {
        const std::int32_t p = primes[i];
        if (static_cast<std::int64_t>(p) * p > m) break;  // what is left is a prime
        while (m % p == 0) {
            exponents_[i] += sign;
            m /= p;
        }
    }
    if (m == 1) return;
    if (m < LargestFullyFactorised) {
        const auto it = std::lower_bound(primes.begin(), primes.end(), m);
        exponents_[static_cast<std::size_t>(it - primes.begin())] += sign;
    } else {
        AddLargeFactor(m, sign);
    }
}

void PrimeFactorProduct::MultiplyInteger(std::int32_t n) {
    AddInteger(n, 1);
}
void PrimeFactorProduct::DivideInteger(std::int32_t n) {
    AddInteger(n, -1);
}

void PrimeFactorProduct::MultiplyRange(std::int32_t from, std::int32_t to) {
    for (std::int32_t n = std::max(from, 2); n <= to && n > 0; ++n) {
        AddInteger(n, 1);
        if (n == to) break;  // keeps n + 1 from overflowing at the top of the range
    }
}

void PrimeFactorProduct::DivideRange(std::int32_t from, std::int32_t to) {
    for (std::int32_t n = std::max(from, 2); n <= to && n > 0; ++n) {
        AddInteger(n, -1);
        if (n == to) break;
    }
}

void PrimeFactorProduct::MultiplyFactorial(std::int32_t k) {
    MultiplyRange(2, k);
}
void PrimeFactorProduct::DivideFactorial(std::int32_t k) {
    DivideRange(2, k);
}

std::int32_t PrimeFactorProduct::Exponent(std::int32_t primeIndex) const {
    if (primeIndex < 0 || primeIndex >= PrimeCount) return 0;
    return exponents_[static_cast<std::size_t>(primeIndex)];
}

Extended PrimeFactorProduct::Evaluate() const {
    std::vector<Factor> numerator;
    std::vector<Factor> denominator;
    const auto& primes = PrimesBelow2000();
    for (std::size_t i = 0; i < primes.size(); ++i) {
        if (exponents_[i] > 0) numerator.push_back({primes[i], exponents_[i]});
        if (exponents_[i] < 0) denominator.push_back({primes[i], -exponents_[i]});
    }
    for (const auto& [factor, exponent] : largeFactors_) {
        if (exponent > 0) numerator.push_back({factor, exponent});
        if (exponent < 0) denominator.push_back({factor, -exponent});
    }
    Extended result = 1.0L;
    std::size_t n = 0;
    std::size_t d = 0;
    while (n < numerator.size() || d < denominator.size()) {
        const std::int64_t top = NextChunk(numerator, n);
        const std::int64_t bottom = NextChunk(denominator, d);
        result = result * static_cast<Extended>(top) / static_cast<Extended>(bottom);
    }
    return result;
}

Extended PrimeFactorProduct::Log() const {
    Extended sum = 0.0L;
    const auto& primes = PrimesBelow2000();
    for (std::size_t i = 0; i < primes.size(); ++i) {
        if (exponents_[i] != 0) sum += exponents_[i] * std::log(static_cast<Extended>(primes[i]));
    }
    for (const auto& [factor, exponent] : largeFactors_) {
        if (exponent != 0) sum += exponent * std::log(static_cast<Extended>(factor));
    }
    return sum;
}

namespace {

PrimeFactorProduct BinomialProduct(std::int32_t n, std::int32_t k) {
    PrimeFactorProduct product;
    product.MultiplyFactorial(n);
    product.DivideFactorial(k);
    product.DivideFactorial(n - k);
    return product;
}

}  // namespace

Extended BinomialCoefficient(std::int32_t n, std::int32_t k) {
    if (k < 0 || n < 0 || k > n) return 0.0L;
    return std::round(BinomialProduct(n, k).Evaluate());
}

Extended CappedBinomialCoefficient(std::int32_t n, std::int32_t k, Extended cap) {
    if (k < 0 || n < 0 || k > n) return 0.0L;
    if (cap <= 0.0L) return cap;
    const PrimeFactorProduct product = BinomialProduct(n, k);
    // Far above the cap the value is not multiplied out at all (it may not fit).
    if (product.Log() > std::log(cap) + 1.0L) return cap;
    return std::min(std::round(product.Evaluate()), cap);
}

}  // namespace zelkon
