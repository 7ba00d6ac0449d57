// The computations of the two-by-two table.
#include "analyses/contingency/two_by_two.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "analyses/contingency/contingency_codes.h"
#include "stats/pvalue.h"

namespace zelkon {

namespace {

// The score interval of McNemar's odds ratio writes z squared as this constant.
constexpr Extended ZSquared = 3.8416L;
// Expected values at most this large make the chi-square P doubtful.
constexpr Extended SmallExpected = 5.0L;
constexpr Extended SmallTotal = 40.0L;
constexpr Extended LargeTotal = 2000.0L;
// Cells above this count give a fraction its exact interval and the difference its SE.
constexpr Extended IntervalMinimumCell = 5.0L;

Extended CriticalZ() {
    return critical_z(2, 0.05L);
}

bool IsWhole(Extended x) {
    return std::trunc(x) == x;
}

// Validation shared by both forms: fractions first, then negatives.
std::int32_t FractionOrNegative(const std::array<Extended, 4>& cells) {
    for (const Extended x : cells) {
        if (!IsWhole(x)) return CodeFractionCount;
    }
    for (const Extended x : cells) {
        if (x < 0) return CodeNegativeCount;
    }
    return 0;
}

std::int32_t ValidatePaired(TwoByTwoResult& r, const TwoByTwoRequest& q) {
    if (IsMissingValue(q.b) || IsMissingValue(q.c)) return CodePairedCellsMissing;
    r.a = IsMissingValue(q.a) ? 0.0L : q.a;
    r.d = IsMissingValue(q.d) ? 0.0L : q.d;
    r.b = q.b;
    r.c = q.c;
    if (const std::int32_t code = FractionOrNegative({r.a, r.b, r.c, r.d})) return code;
    if (r.b == 0 || r.c == 0) return CodeZeroRow;
    return 0;
}

std::int32_t ValidateUnpaired(TwoByTwoResult& r, const TwoByTwoRequest& q) {
    r.a = q.a;
    r.b = q.b;
    r.c = q.c;
    r.d = q.d;
    for (const Extended x : {q.a, q.b, q.c, q.d}) {
        if (IsMissingValue(x)) return CodeFourValuesMissing;
    }
    if (const std::int32_t code = FractionOrNegative({r.a, r.b, r.c, r.d})) return code;
    if (r.a + r.b == 0 || r.c + r.d == 0) return CodeZeroRow;
    if (r.a + r.c == 0 || r.b + r.d == 0) return CodeZeroColumn;
    return 0;
}

}  // namespace

McNemarResult ComputeMcNemar(Extended b, Extended c, bool yates) {
    McNemarResult m;
    m.yates = yates;
    const Extended n = b + c;
    // Yates' correction takes 1 off |B - C| whatever |B - C| is: with B = C the statistic
    // is 1 / (B + C).
    const Extended spread = std::fabs(b - c);
    const Extended difference = yates ? spread - 1.0L : spread;
    m.chiSquare = difference * difference / n;
    m.pTwoTailed = p_from_chi2(1, m.chiSquare);

    m.oddsRatio.value = b / c;
    const Extended z = CriticalZ();
    const Extended p = b / n;
    const Extended q = 1 - p;
    const Extended denominator = 2 * (n + ZSquared);
    const Extended pLow =
        (2 * n * p + (ZSquared - 1) - z * std::sqrt(ZSquared - 2 - 1 / n + 4 * p * (n * q + 1))) /
        denominator;
    const Extended pHigh = (2 * n * p + (ZSquared - 1) + 2 +
                            z * std::sqrt(ZSquared + 2 - 1 / n + 4 * p * (n * q - 1))) /
                           denominator;
    m.oddsRatio.lower = pLow / (1 - pLow);
    m.oddsRatio.upper = pHigh < 1 ? pHigh / (1 - pHigh) : MissingValue;
    return m;
}

TwoByTwoChiSquare ComputeTwoByTwoChiSquare(Extended a, Extended b, Extended c, Extended d,
                                           bool yates) {
    TwoByTwoChiSquare x;
    x.yates = yates;
    const Extended n = a + b + c + d;
    const std::array<Extended, 2> rows = {a + b, c + d};
    const std::array<Extended, 2> columns = {a + c, b + d};
    const std::array<std::array<Extended, 2>, 2> observed = {{{a, b}, {c, d}}};
    const Extended product = columns[0] * columns[1] * rows[0] * rows[1];

    bool smallExpected = false;
    Extended sum = 0;
    for (std::size_t i = 0; i < 2; ++i) {
        for (std::size_t j = 0; j < 2; ++j) {
            if (product == 0) continue;
            const Extended expected = rows[i] * columns[j] / n;
            if (expected <= SmallExpected) smallExpected = true;
            // Yates' correction takes 0.5 off |O - E|, but never more than |O - E| itself.
            const Extended deviation = std::fabs(observed[i][j] - expected);
            const Extended corrected = deviation - std::min(0.5L, deviation);
            sum += corrected * corrected / expected;
        }
    }
    if (product == 0) {
        x.chiSquare = MissingValue;
    } else if (yates) {
        x.chiSquare = sum;
    } else {
        const Extended cross = a * d - b * c;
        x.chiSquare = n * cross * cross / product;
    }
    x.pTwoTailed = p_from_chi2(1, x.chiSquare);
    x.smallValues = n < LargeTotal && (n <= SmallTotal || smallExpected);
    return x;
}

RatioWithInterval ComputeRelativeRisk(Extended a, Extended b, Extended c, Extended d) {
    RatioWithInterval rr;
    const Extended denominator = c * (a + b);
    rr.value = denominator == 0 ? MissingValue : a * (c + d) / denominator;
    if (a * (a + b) == 0 || c * (c + d) == 0) {
        rr.lower = -MissingValue;
        rr.upper = MissingValue;
        return rr;
    }
    const Extended z = CriticalZ();
    const Extended se = std::sqrt(b / (a * (a + b)) + d / (c * (c + d)));
    const Extended logRatio = std::log(rr.value);
    rr.lower = std::exp(logRatio - z * se);
    rr.upper = std::exp(logRatio + z * se);
    return rr;
}

RatioWithInterval ComputeOddsRatio(Extended a, Extended b, Extended c, Extended d) {
    RatioWithInterval odds;
    odds.value = b * c == 0 ? MissingValue : a * d / (b * c);
    if (a * b * c * d == 0) {
        odds.lower = -MissingValue;
        odds.upper = MissingValue;
        return odds;
    }
    const Extended z = CriticalZ();
    const Extended se = std::sqrt(1 / a + 1 / b + 1 / c + 1 / d);
    const Extended logRatio = std::log(odds.value);
    odds.lower = std::exp(logRatio - z * se);
    odds.upper = std::exp(logRatio + z * se);
    return odds;
}

ProportionDifference ComputeProportionDifference(Extended a, Extended b, Extended c, Extended d) {
    ProportionDifference pd;
    pd.p1 = a / (a + b);
    pd.p2 = c / (c + d);
    pd.p1IntervalShown = a > IntervalMinimumCell && b > IntervalMinimumCell;
    pd.p2IntervalShown = c > IntervalMinimumCell && d > IntervalMinimumCell;
    if (pd.p1IntervalShown) pd.p1Interval = ExactProportionInterval(a, a + b);
    if (pd.p2IntervalShown) pd.p2Interval = ExactProportionInterval(c, c + d);
    pd.difference = std::fabs(pd.p1 - pd.p2);
    const Extended n = a + b + c + d;
    const Extended pooled = (a + c) / n;
    pd.standardError = std::sqrt(pooled * (1 - pooled) * (1 / (a + b) + 1 / (c + d)));
    const Extended z = CriticalZ();
    pd.lower = pd.difference - z * pd.standardError;
    pd.upper = pd.difference + z * pd.standardError;
    pd.standardErrorShown = pd.p1IntervalShown && pd.p2IntervalShown;
    return pd;
}

DiagnosticValues ComputeDiagnosticValues(Extended a, Extended b, Extended c, Extended d) {
    DiagnosticValues v;
    v.sensitivity = a / (a + c);
    v.specificity = d / (b + d);
    v.positivePredictive = a / (a + b);
    v.negativePredictive = d / (c + d);
    v.sensitivityInterval = ExactProportionInterval(a, a + c);
    v.specificityInterval = ExactProportionInterval(d, b + d);
    v.positivePredictiveInterval = ExactProportionInterval(a, a + b);
    v.negativePredictiveInterval = ExactProportionInterval(d, c + d);
    // A specificity of 1 (B = 0) leaves the likelihood ratio without a finite value.
    const Extended falsePositive = 1 - v.specificity;
    v.likelihoodRatio = falsePositive == 0 ? MissingValue : v.sensitivity / falsePositive;
    return v;
}

TwoByTwoResult ComputeTwoByTwo(const TwoByTwoRequest& q) {
    TwoByTwoResult r;
    r.column1 = q.column1;
    r.column2 = q.column2;
    r.row1 = q.row1;
    r.row2 = q.row2;
    r.paired = q.paired;
    r.twoSided = q.twoSided;

    r.errorCode = q.paired ? ValidatePaired(r, q) : ValidateUnpaired(r, q);
    if (r.errorCode != 0) return r;

    if (q.paired) {
        r.mcnemar = ComputeMcNemar(r.b, r.c, q.yates);
        return r;
    }

    const Extended a = r.a, b = r.b, c = r.c, d = r.d;
    const Extended n = a + b + c + d;
    r.fisherChosen = q.fisher;
    if (q.fisher) {
        if (n > FisherMaximumTotal) {
            r.fisherReplaced = true;
        } else {
            r.fisher = FisherExactTest(static_cast<std::int32_t>(a), static_cast<std::int32_t>(b),
                                       static_cast<std::int32_t>(c), static_cast<std::int32_t>(d));
        }
    }
    r.chiSquareDone = q.chiSquare || r.fisherReplaced;
    if (r.chiSquareDone) r.chiSquare = ComputeTwoByTwoChiSquare(a, b, c, d, q.yates);

    if (q.relativeRisk) {
        r.relativeRiskDone = true;
        r.relativeRisk = ComputeRelativeRisk(a, b, c, d);
    }
    if (q.oddsRatio) {
        r.oddsRatioDone = true;
        r.oddsRatioCorrected = a == 0 || b == 0 || c == 0 || d == 0;
        const Extended add = r.oddsRatioCorrected ? 0.5L : 0.0L;
        r.oddsRatio = ComputeOddsRatio(a + add, b + add, c + add, d + add);
    }
    if (q.relativeRisk2) {
        r.differenceDone = true;
        r.difference = ComputeProportionDifference(a, b, c, d);
    }
    if (q.sensitivity) {
        r.diagnosticDone = true;
        r.diagnostic = ComputeDiagnosticValues(a, b, c, d);
    }
    return r;
}

}  // namespace zelkon
