// Fisher's exact test of a two-by-two table.
#include "analyses/contingency/fisher_exact.h"

#include <utility>

#include "stats/prime_factor_product.h"

namespace zelkon {

namespace {

// A table "no more probable than the observed one" is decided with this relative allowance,
// so that a table exactly as probable as the observed one counts even when the step-by-step
// products have rounded it a few units of the last place above p0.  Rounding over 2000 steps
// stays near 1e-16; tables that truly differ by less than this do not occur in practice.
constexpr Extended TieAllowance = 1.0E-12L;

}  // namespace

Extended HypergeometricProbability(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
    PrimeFactorProduct product;
    product.MultiplyFactorial(a + b);
    product.MultiplyFactorial(c + d);
    product.MultiplyFactorial(a + c);
    product.MultiplyFactorial(b + d);
    product.DivideFactorial(a + b + c + d);
    product.DivideFactorial(a);
    product.DivideFactorial(b);
    product.DivideFactorial(c);
    product.DivideFactorial(d);
    return product.Evaluate();
}

FisherExactResult FisherExactTest(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
    // Turn the table so that A D <= B C; the P values do not change.
    if (d < a) std::swap(a, d);
    if (c < b) std::swap(b, c);
    if (static_cast<std::int64_t>(a) * (c + d) > static_cast<std::int64_t>(c) * (a + b)) {
        std::swap(a, b);
        std::swap(c, d);
    }

    const Extended p0 = HypergeometricProbability(a, b, c, d);
    const Extended limit = p0 * (1.0L + TieAllowance);
    FisherExactResult result;

    // One tail: from the observed table toward A = 0.
    Extended oneTailed = p0;
    {
        Extended p = p0;
        Extended ta = a, tb = b, tc = c, td = d;
        while (ta > 0) {
            tb += 1;
            tc += 1;
            p = p * ta * td / (tb * tc);
            ta -= 1;
            td -= 1;
            if (p <= limit) oneTailed += p;
        }
    }
    if (oneTailed > 1.0L) oneTailed = 1.0L;  // rounding only
    result.oneTailedP = oneTailed;

    // Two tails.
    Extended twoTailed = oneTailed;
    if (a + b == c + d || b + d == a + c) {
        twoTailed = 2 * oneTailed;
        result.doubled = true;
    } else {
        Extended p = p0;
        Extended ta = a, tb = b, tc = c, td = d;
        while (tb > 0) {
            ta += 1;
            td += 1;
            p = p * tb * tc / (ta * td);
            tb -= 1;
            tc -= 1;
            if (p <= limit) twoTailed += p;
        }
    }
    if (twoTailed > 1.0L) {
        twoTailed = 1.0L;
        result.capped = true;
    }
    result.twoTailedP = twoTailed;
    return result;
}

}  // namespace zelkon
