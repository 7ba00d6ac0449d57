// The distribution module: the incomplete beta and gamma functions, the P values built on
// them, the bisections that invert them and the fixed critical-value tables.  Every step is
// carried out in extended precision.
#include "stats/pvalue.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace zelkon {
namespace {

// Coefficients and scale of the six-term series for ln Gamma.
constexpr std::array<Extended, 6> GammaCoefficients = {
    76.18009173L, -86.50532033L, 24.01409822L, -1.231739516L, 0.00120858003L, -0.00000536382L};
constexpr Extended GammaScale = 2.5066282746L;

// Relative stopping tolerance of the continued fractions and the gamma series.
constexpr Extended FractionTolerance = 3e-7L;
// Iteration limit of both continued fractions.
constexpr int FractionIterations = 200;
// Safety limit of the gamma series.  Inside the chi-square range (x <= 500) the series needs
// at most about 120 terms, and for x < a + 1 about sqrt(30 a) terms in general; a NaN or an
// infinity would otherwise keep it going for ever.
constexpr int SeriesTermLimit = 10000;

// Two-tailed 95% critical values of t for 1 to 30 degrees of freedom (index 0 unused).
constexpr std::array<Extended, 31> TCrit95Table = {
    0.0L,    12.706L, 4.303L, 3.182L, 2.776L, 2.571L, 2.447L, 2.365L, 2.306L, 2.262L, 2.228L,
    2.201L,  2.179L,  2.160L, 2.145L, 2.131L, 2.120L, 2.110L, 2.101L, 2.093L, 2.086L,
    2.080L,  2.074L,  2.069L, 2.064L, 2.060L, 2.056L, 2.052L, 2.048L, 2.045L, 2.042L};
// t_crit_ci takes its first thirteen rows from the same table.
constexpr std::int32_t TCritCiTableRows = 13;

// One row of the normal critical-value table.
struct CriticalZRow {
    Extended alpha;
    Extended one_tail;
    Extended two_tails;
};
constexpr std::array<CriticalZRow, 5> CriticalZTable = {{
    {0.20L, 0.8416900634L, 1.2817230224L},
    {0.10L, 1.2817230224L, 1.6451568603L},
    {0.05L, 1.6451568603L, 1.9604492187L},
    {0.02L, 2.0542907714L, 2.3270874023L},
    {0.01L, 2.3270874023L, 2.5767822265L},
}};

// The one-tailed P of z = 4 with which the z bisection starts.
constexpr Extended ZStartP = 3.2128591413e-05L;
// The z bisection stops when its P is this close to the target ...
constexpr Extended ZTolerance = 1e-6L;
// ... or, when the target is out of reach, after this many halvings.
constexpr int ZHalvingLimit = 200;

// Bracket widening of t_for_p and f_for_p stops at 4e300: far beyond any P a caller asks for,
// and small enough that t squared and df1 * F stay finite.
constexpr int WideningLimit = 300;
// A bisection from [0, 4e300] reaches a width of 1e-4 in about 1010 halvings.
constexpr int BisectionLimit = 2000;

// Bisection for the upper end of a decreasing tail probability: the value whose P equals p,
// found to within `width`.  The bracket [0, 4] is widened by factors of ten until its upper
// end has P <= p.  The loop also stops when the bracket cannot shrink any more.
template <typename TailP>
Extended InvertTail(TailP tail_p, Extended p, Extended width) {
    Extended lo = 0.0L;
    Extended hi = 4.0L;
    Extended p_hi = tail_p(hi);
    for (int widened = 0; p_hi > p && widened < WideningLimit; ++widened) {
        hi = hi * 10.0L;
        p_hi = tail_p(hi);
    }
    Extended mid = (lo + hi) / 2.0L;
    Extended p_mid = tail_p(mid);
    for (int halvings = 0; halvings < BisectionLimit; ++halvings) {
        if (p_mid < p) {
            hi = mid;
        } else {
            lo = mid;
        }
        const Extended next = lo + (hi - lo) / 2.0L;
        if (next == mid) break;  // the bracket is as narrow as the number format allows
        mid = next;
        p_mid = tail_p(mid);
        if (hi - lo <= width) break;
    }
    return mid;
}

}  // namespace

Extended gamma_ln(Extended x) {
    Extended y = x - 1.0L;
    Extended tmp = y + 5.5L;
    tmp = (y + 0.5L) * std::log(tmp) - tmp;
    Extended ser = 1.0L;
    for (const Extended c : GammaCoefficients) {
        y = y + 1.0L;
        ser = ser + c / y;
    }
    return tmp + std::log(GammaScale * ser);
}

Extended beta_cf(Extended a, Extended b, Extended x) {
    const Extended qab = a + b;
    const Extended qap = a + 1.0L;
    const Extended qam = a - 1.0L;
    Extended am = 1.0L;
    Extended bm = 1.0L;
    Extended az = 1.0L;
    Extended bz = 1.0L - qab * x / qap;
    for (int m = 1; m <= FractionIterations; ++m) {
        const Extended em = m;
        const Extended tem = em + em;
        Extended d = em * (b - em) * x / ((qam + tem) * (a + tem));
        const Extended ap = az + d * am;
        const Extended bp = bz + d * bm;
        d = -(a + em) * (qab + em) * x / ((a + tem) * (qap + tem));
        const Extended app = ap + d * az;
        const Extended bpp = bp + d * bz;
        const Extended aold = az;
        am = ap / bpp;
        bm = bp / bpp;
        az = app / bpp;
        bz = 1.0L;
        if (std::fabs(az - aold) < FractionTolerance * std::fabs(az)) return az;
    }
    return az;
}

Extended incomplete_beta(Extended a, Extended b, Extended x) {
    // At the ends the prefactor is zero; taking it as such keeps log(0) out.
    Extended bt = 0.0L;
    if (x != 0.0L && x != 1.0L) {
        bt = std::exp(gamma_ln(a + b) - gamma_ln(a) - gamma_ln(b) + a * std::log(x) +
                      b * std::log(1.0L - x));
    }
    if (x < (a + 1.0L) / (a + b + 2.0L)) return bt * beta_cf(a, b, x) / a;
    return 1.0L - bt * beta_cf(b, a, 1.0L - x) / b;
}

Extended gamma_series(Extended a, Extended x) {
    const Extended gln = gamma_ln(a);
    if (x == 0.0L) return 0.0L;
    Extended ap = a;
    Extended sum = 1.0L / a;
    Extended del = sum;
    for (int n = 0; n < SeriesTermLimit; ++n) {
        ap = ap + 1.0L;
        del = del * x / ap;
        sum = sum + del;
        if (std::fabs(del) < std::fabs(sum) * FractionTolerance) break;
    }
    return sum * std::exp(-x + a * std::log(x) - gln);
}

Extended GCF(Extended a, Extended x) {
    const Extended gln = gamma_ln(a);
    Extended gold = 0.0L;
    Extended a0 = 1.0L;
    Extended a1 = x;
    Extended b0 = 0.0L;
    Extended b1 = 1.0L;
    Extended fac = 1.0L;
    for (int n = 1; n <= FractionIterations; ++n) {
        const Extended an = n;
        const Extended ana = an - a;
        a0 = (a1 + a0 * ana) * fac;
        b0 = (b1 + b0 * ana) * fac;
        const Extended anf = an * fac;
        a1 = x * a0 + anf * a1;
        b1 = x * b0 + anf * b1;
        if (a1 != 0.0L) {
            fac = 1.0L / a1;
            const Extended g = b1 * fac;
            if (std::fabs((g - gold) / g) < FractionTolerance) {
                return std::exp(-x + a * std::log(x) - gln) * g;
            }
            gold = g;
        }
    }
    return 0.0L;
}

Extended gamma_q(Extended a, Extended x) {
    if (x < a + 1.0L) return 1.0L - gamma_series(a, x);
    return GCF(a, x);
}

Extended p_from_f(std::int32_t df1, std::int32_t df2, Extended f) {
    if (f < 0.0L) return 0.0L;
    const Extended n1 = df1;
    const Extended n2 = df2;
    return incomplete_beta(n2 / 2.0L, n1 / 2.0L, n2 / (n2 + n1 * f));
}

Extended p_from_t(std::int32_t df, Extended t) { return p_from_f(1, df, t * t); }

Extended p_from_z(Extended z) { return p_from_f(1, 5000, z * z); }

Extended p_from_chi2(std::int32_t df, Extended chi2) {
    if (chi2 > 1000.0L || chi2 < 0.0L) return 0.0L;
    return gamma_q(static_cast<Extended>(df) / 2.0L, chi2 / 2.0L);
}

Extended z_for_p(Extended p) {
    Extended lo = 0.0L;
    Extended hi = 8.0L;
    Extended mid = 4.0L;
    Extended p_mid = ZStartP;
    for (int halvings = 0; std::fabs(p - p_mid) > ZTolerance && halvings < ZHalvingLimit;
         ++halvings) {
        if (p_mid < p) {
            hi = mid;
        } else {
            lo = mid;
        }
        const Extended next = lo + (hi - lo) / 2.0L;
        if (next == mid) break;  // the target lies beyond the reach of [0, 8]
        mid = next;
        p_mid = p_from_z(mid) / 2.0L;
    }
    return mid;
}

Extended t_for_p(std::int32_t df, Extended p) {
    return InvertTail([df](Extended t) { return p_from_t(df, t) / 2.0L; }, p, 0.0001L);
}

Extended f_for_p(std::int32_t df1, std::int32_t df2, Extended p) {
    return InvertTail([df1, df2](Extended f) { return p_from_f(df1, df2, f); }, p, 0.01L);
}

Extended t_crit95(std::int32_t df) {
    // Below one degree of freedom (a column of one value) the first row serves: the caller
    // multiplies it by a standard error of zero.
    if (df < 1) return TCrit95Table[1];
    if (df <= 30) return TCrit95Table[static_cast<std::size_t>(df)];
    const Extended n = df;
    if (df <= 40) return 2.042L - (n - 30.0L) * 0.021L * 0.1L;
    if (df <= 60) return 2.021L - (n - 40.0L) * 0.021L * 0.05L;
    if (df <= 120) return 2.0L - (n - 60.0L) * 0.02L * 0.016666666666666666L;
    return 1.96L;
}

Extended t_crit_ci(std::int32_t df) {
    if (df < 1) return TCrit95Table[1];
    if (df <= TCritCiTableRows) return TCrit95Table[static_cast<std::size_t>(df)];
    const Extended n = df;
    return 1.96L * n / (n - 1.20722L);
}

Extended critical_z(std::int32_t tails, Extended alpha) {
    if (tails != 1 && tails != 2) return 0.0L;
    for (const CriticalZRow& row : CriticalZTable) {
        // The alpha of the table, or the same decimal as a caller's double constant.
        const Extended as_double = static_cast<double>(row.alpha);
        if (alpha == row.alpha || alpha == as_double) {
            return tails == 1 ? row.one_tail : row.two_tails;
        }
    }
    return 0.0L;
}

}  // namespace zelkon
