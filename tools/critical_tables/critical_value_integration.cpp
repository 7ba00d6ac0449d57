// Numerical integration of the studentized range and Dunnett distributions.
#include "critical_value_integration.h"

#include <cmath>
#include <stdexcept>

namespace zelkon::tables {

namespace {

// Quadrature of the inner integrals (over the normal variable z or y): [-9, 9] in pieces
// of 1 with 20 nodes each.  phi(9) is about 1e-18, so the part outside is below the
// extended precision of the result.  Halving both piece lengths of this rule and of the
// outer grid changes no upper point of the tables by more than 2e-16 relative.
constexpr Real InnerFrom = -9.0L;
constexpr Real InnerTo = 9.0L;
constexpr Real InnerPiece = 1.0L;
// Grid of the numerator X for the outer integral: [0, 16] in pieces of 0.25 with 20
// nodes each.  1 - G(16) is below 1e-25 for every k of the tables, and the density of s,
// seen on the scale of X, is never narrower than about 0.2 at 120 df.
constexpr Real OuterTo = 16.0L;
constexpr Real OuterPiece = 0.25L;
constexpr int RuleNodes = 20;

const GaussLegendreRule& Rule() {
    static const GaussLegendreRule rule = MakeGaussLegendreRule(RuleNodes);
    return rule;
}

Real NormalDensity(Real x) {
    static const Real scale = 1.0L / std::sqrt(2.0L * 3.14159265358979323846264338327950288L);
    return scale * std::exp(-0.5L * x * x);
}

// Integral of f over [from, to] in pieces of the given length, 20-node rule on each.
template <typename F>
Real Integrate(F f, Real from, Real to, Real piece) {
    const GaussLegendreRule& rule = Rule();
    const int pieces = static_cast<int>(std::lround((to - from) / piece));
    Real sum = 0.0L;
    for (int p = 0; p < pieces; ++p) {
        const Real a = from + piece * p;
        const Real half = piece / 2.0L;
        const Real mid = a + half;
        Real part = 0.0L;
        for (std::size_t i = 0; i < rule.nodes.size(); ++i) {
            part += rule.weights[i] * f(mid + half * rule.nodes[i]);
        }
        sum += part * half;
    }
    return sum;
}

}  // namespace

Real NormalCdf(Real x) {
    return 0.5L * std::erfc(-x / std::sqrt(2.0L));
}

GaussLegendreRule MakeGaussLegendreRule(int n) {
    GaussLegendreRule rule;
    rule.nodes.resize(static_cast<std::size_t>(n));
    rule.weights.resize(static_cast<std::size_t>(n));
    const Real pi = 3.14159265358979323846264338327950288L;
    for (int i = 0; i < n; ++i) {
        // Newton's method on the Legendre polynomial P_n from the usual first guess.
        Real x = std::cos(pi * (i + 0.75L) / (n + 0.5L));
        Real derivative = 0.0L;
        for (int iteration = 0; iteration < 100; ++iteration) {
            Real p0 = 1.0L;
            Real p1 = x;
            for (int j = 2; j <= n; ++j) {
                const Real p2 = ((2.0L * j - 1.0L) * x * p1 - (j - 1.0L) * p0) / j;
                p0 = p1;
                p1 = p2;
            }
            derivative = n * (x * p1 - p0) / (x * x - 1.0L);
            const Real step = p1 / derivative;
            x -= step;
            if (std::fabs(step) < 1e-19L) break;
        }
        rule.nodes[static_cast<std::size_t>(i)] = x;
        rule.weights[static_cast<std::size_t>(i)] =
            2.0L / ((1.0L - x * x) * derivative * derivative);
    }
    return rule;
}

Real ScaleDensity(Real s, std::int32_t df) {
    if (s <= 0.0L) return df == 1 ? std::sqrt(2.0L / 3.14159265358979323846264338327950288L) : 0.0L;
    const Real half = df / 2.0L;
    const Real logDensity = std::log(2.0L) + half * std::log(half) - std::lgamma(half) +
                            (df - 1.0L) * std::log(s) - half * s * s;
    return std::exp(logDensity);
}

void StudentizedStatistic::Tabulate() {
    const GaussLegendreRule& rule = Rule();
    const int pieces = static_cast<int>(std::lround(OuterTo / OuterPiece));
    const Real half = OuterPiece / 2.0L;
    gridX_.clear();
    gridWeightedTail_.clear();
    for (int p = 0; p < pieces; ++p) {
        const Real mid = OuterPiece * p + half;
        for (std::size_t i = 0; i < rule.nodes.size(); ++i) {
            const Real x = mid + half * rule.nodes[i];
            gridX_.push_back(x);
            gridWeightedTail_.push_back(half * rule.weights[i] * UpperTailOfNumerator(x));
        }
    }
}

Real StudentizedStatistic::UpperTail(Real c, std::int32_t df) const {
    if (df == InfiniteDf) return UpperTailOfNumerator(c);
    // ScaleDensity with its constant taken out of the loop (the nodes are never 0).
    const Real half = df / 2.0L;
    const Real logConstant = std::log(2.0L) + half * std::log(half) - std::lgamma(half);
    Real sum = 0.0L;
    for (std::size_t i = 0; i < gridX_.size(); ++i) {
        const Real s = gridX_[i] / c;
        sum +=
            gridWeightedTail_[i] * std::exp(logConstant + (df - 1.0L) * std::log(s) - half * s * s);
    }
    return sum / c;
}

Real StudentizedStatistic::UpperPoint(Real alpha, std::int32_t df) const {
    // The tail falls from 1 towards 0 as c grows: bracket, then bisect to the last bit
    // that matters.
    Real lo = 0.25L;
    Real hi = 1.0L;
    while (UpperTail(hi, df) > alpha) {
        lo = hi;
        hi *= 2.0L;
        if (hi > 1.0e7L) throw std::runtime_error("no upper point below 1e7");
    }
    for (int i = 0; i < 200 && (hi - lo) > 1e-16L * hi; ++i) {
        const Real mid = (lo + hi) / 2.0L;
        if (UpperTail(mid, df) > alpha) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    return (lo + hi) / 2.0L;
}

StudentizedRange::StudentizedRange(std::int32_t k) : k_(k) {
    Tabulate();
}

Real StudentizedRange::UpperTailOfNumerator(Real w) const {
    const Real power = k_ - 1.0L;
    const Real g = Integrate(
        [&](Real z) {
            const Real inside = NormalCdf(z) - NormalCdf(z - w);
            return inside <= 0.0L ? 0.0L : NormalDensity(z) * std::pow(inside, power);
        },
        InnerFrom, InnerTo, InnerPiece);
    return 1.0L - k_ * g;
}

DunnettMaximum::DunnettMaximum(std::int32_t k) : comparisons_(k - 1) {
    Tabulate();
}

Real DunnettMaximum::UpperTailOfNumerator(Real x) const {
    const Real power = comparisons_;
    const Real g = Integrate(
        [&](Real y) {
            const Real inside = NormalCdf(y + x) - NormalCdf(y - x);
            return inside <= 0.0L ? 0.0L : NormalDensity(y) * std::pow(inside, power);
        },
        InnerFrom, InnerTo, InnerPiece);
    return 1.0L - g;
}

Real StudentizedRangePoint(Real alpha, std::int32_t k, std::int32_t df) {
    return StudentizedRange(k).UpperPoint(alpha, df);
}

Real DunnettPoint(Real alpha, std::int32_t k, std::int32_t df) {
    return DunnettMaximum(k).UpperPoint(alpha, df) / std::sqrt(2.0L);
}

}  // namespace zelkon::tables
