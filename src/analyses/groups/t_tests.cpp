// The computations of the one-sample, paired, unpaired and Welch t tests, the F test of
// equal variances, and the pairing and normality checks.
#include "analyses/groups/t_tests.h"

#include <algorithm>
#include <cmath>

#include "analyses/regression/correlation.h"
#include "core/fp_guard.h"
#include "stats/pvalue.h"

namespace zelkon {

namespace {

constexpr const char* DifferenceTitle = "Difference";

/// Normality P values at or below this fail the t tests' checks.
constexpr Extended NormalityAlpha = 0.05L;

/// The column's summary as the test sees it: the record's title and, for a data column,
/// the statistics of its values; for a typed-in summary the record completed by FillSummary.
ColumnRecord FilledSummary(const DataTable& table, int column, const ColumnRecord& record) {
    ColumnRecord filled = record;
    FillSummary(column >= 0 ? &table : nullptr, column, filled);
    return filled;
}

/// The normality test of a raw column as the column statistics run it: only for five or
/// more values with SD > 0; otherwise both values stay missing.
NormalityResult ColumnNormality(const DataTable& table, int column, const ColumnRecord& s) {
    if (column < 0 || s.n <= 4 || IsMissingValue(s.sd) || !(s.sd > 0)) return {};
    return NormalityTest(table, column, s.mean, s.sd);
}

bool FailsNormality(const NormalityResult& n) {
    return !IsMissingValue(n.ksp) && n.ksp <= NormalityAlpha;
}

/// Fills the scratch column with column `first` minus column `second`, row by row (missing
/// when either cell is missing), and returns the largest magnitude of a paired value.
Extended FillDifferences(DataTable& table, int first, int second) {
    Extended scale = 0;
    for (int row = 0; row < DataRows; ++row) {
        const Extended a = table.AnalysisValue(row, first);
        const Extended b = table.AnalysisValue(row, second);
        if (IsMissingValue(a) || IsMissingValue(b)) {
            table.SetAnalysisValue(row, ScratchColumn, MissingValue);
            continue;
        }
        table.SetAnalysisValue(row, ScratchColumn, a - b);
        scale = std::max({scale, std::fabs(a), std::fabs(b)});
    }
    return scale;
}

/// True when the differences do not vary: their SD is 0, or no larger than the rounding
/// noise that subtracting decimal fractions leaves (1.3 - 0.2 and 2.4 - 1.3 are not both
/// exactly 1.1 in binary, though the user typed equal differences).  The noise is measured
/// against the largest paired value and allows for values that passed through double
/// precision (a relative step of 2.2e-16) on their way into the table.
bool DifferencesConstant(Extended sd, Extended scale) {
    constexpr Extended RelativeNoise = 1e-14L;
    return sd == 0 || sd <= RelativeNoise * scale;
}

void ComputePaired(DataTable& table, int first, int second, TTestResult& r) {
    const Extended scale = FillDifferences(table, first, second);
    r.differences.title = DifferenceTitle;
    FillSummary(&table, ScratchColumn, r.differences);
    r.pairs = r.differences.n;
    if (r.pairs < 2) {
        r.errorCode = CodeSinglePair;
        return;
    }
    r.difference = r.differences.mean;
    r.df = r.pairs - 1;
    if (DifferencesConstant(r.differences.sd, scale)) {
        r.performed = false;
        return;
    }
    r.standardError = r.differences.sd / std::sqrt(static_cast<Extended>(r.pairs));
    r.t = std::fabs(r.difference) / r.standardError;
    r.tCritical = t_crit_ci(r.df);
    r.lower = r.difference - r.tCritical * r.standardError;
    r.upper = r.difference + r.tCritical * r.standardError;
    r.pTwoTailed = p_from_t(r.df, r.t);

    if (r.pairs <= 3) {
        r.pairing = PairingCheck::TooFewPairs;
    } else if (r.first.sem == 0 || r.second.sem == 0) {
        r.pairing = PairingCheck::NoVariability;
    } else {
        // A column can vary and still hold one value over the rows that form pairs; the
        // correlation then has no variability to measure.  Its error code must not end
        // the t test, whose result stands.
        const PearsonResult pearson = PearsonCalc(table, first, second);
        if (pearson.errorCode != 0) {
            r.pairing = PairingCheck::NoVariability;
        } else {
            r.pairing = PairingCheck::Computed;
            r.pairingR = pearson.r;
            r.pairingP = pearson.p;
        }
    }
    r.differencesNormality =
        NormalityTest(table, ScratchColumn, r.differences.mean, r.differences.sd);
}

void ComputeUnpaired(const DataTable& table, int first, int second, bool equalSDs,
                     TTestResult& r) {
    const Extended na = r.first.n;
    const Extended nb = r.second.n;
    const Extended sda = r.first.sd;
    const Extended sdb = r.second.sd;
    r.difference = r.second.mean - r.first.mean;
    r.pooledVariance = ((na - 1) * sda * sda + (nb - 1) * sdb * sdb) / (na + nb - 2);
    // The degrees of freedom may leave the 32-bit range of typed-in N.
    if (equalSDs) {
        r.standardError = std::sqrt(r.pooledVariance * (na + nb) / (na * nb));
        const std::int64_t df = std::int64_t{r.first.n} - 1 + (std::int64_t{r.second.n} - 1);
        if (!FitsCount(df)) {
            r.errorCode = ErrorOverflow;
            return;
        }
        r.df = static_cast<std::int32_t>(df);
    } else {
        r.welchDf = WelchDegreesOfFreedom(r.first, r.second);
        if (!(r.welchDf < static_cast<Extended>(INT32_MAX) + 1)) {
            r.errorCode = ErrorOverflow;
            return;
        }
        r.df = TruncatedWelchDf(r.welchDf);
        r.standardError = std::sqrt(sda * sda / na + sdb * sdb / nb);
    }
    r.t = std::fabs(r.difference / r.standardError);
    r.tCritical = t_crit_ci(r.df);
    r.lower = r.difference - r.tCritical * r.standardError;
    r.upper = r.difference + r.tCritical * r.standardError;
    r.pTwoTailed = p_from_t(r.df, r.t);
    r.fTest = EqualVarianceFTest(r.first, r.second);

    r.firstNormality = ColumnNormality(table, first, r.first);
    r.secondNormality = ColumnNormality(table, second, r.second);
    r.normalityFailed = FailsNormality(r.firstNormality) || FailsNormality(r.secondNormality);
}

}  // namespace

OneSampleTTestResult ComputeOneSampleTTest(const DataTable& table, int column,
                                           const ColumnRecord& summary, bool twoTailed,
                                           Extended hypotheticalValue) {
    OneSampleTTestResult r;
    r.twoTailed = twoTailed;
    r.hypotheticalValue = hypotheticalValue;
    r.rawColumn = column >= 0;
    r.summary = FilledSummary(table, column, summary);
    if (r.summary.sem == 0) r.errorCode = CodeSdZero;
    if (r.summary.n < 2) r.errorCode = CodeSingleValue;
    if (r.errorCode != 0) return r;

    const Extended n = r.summary.n;
    r.df = r.summary.n - 1;
    r.difference = r.summary.mean - hypotheticalValue;
    r.standardError = r.summary.sd / std::sqrt(n);
    r.t = std::fabs(r.difference) / r.standardError;
    r.tCritical = t_crit_ci(r.df);
    r.lower = r.difference - r.tCritical * r.standardError;
    r.upper = r.difference + r.tCritical * r.standardError;
    r.pTwoTailed = p_from_t(r.df, r.t);
    r.p = twoTailed ? r.pTwoTailed : r.pTwoTailed / 2;
    if (r.rawColumn) r.normality = NormalityTest(table, column, r.summary.mean, r.summary.sd);
    return r;
}

FTestResult EqualVarianceFTest(const ColumnRecord& a, const ColumnRecord& b) {
    FTestResult f;
    if (b.sd >= a.sd) {
        f.f = (b.sd * b.sd) / (a.sd * a.sd);
        f.dfNumerator = b.n - 1;
        f.dfDenominator = a.n - 1;
    } else {
        f.f = (a.sd * a.sd) / (b.sd * b.sd);
        f.dfNumerator = a.n - 1;
        f.dfDenominator = b.n - 1;
    }
    f.p = p_from_f(f.dfNumerator, f.dfDenominator, f.f);
    return f;
}

Extended WelchDegreesOfFreedom(const ColumnRecord& a, const ColumnRecord& b) {
    const Extended na = a.n;
    const Extended nb = b.n;
    const Extended va = a.sd * a.sd / na;
    const Extended vb = b.sd * b.sd / nb;
    return (va + vb) * (va + vb) / (va * va / (na - 1) + vb * vb / (nb - 1));
}

std::int32_t TruncatedWelchDf(Extended welchDf) {
    // The formula's value lies between min(NA, NB) - 1 and NA + NB - 2; the caller makes
    // sure it is below 2^31, and the allowance for rounding noise must not push it past.
    constexpr Extended RoundingNoise = 1e-12L;
    const Extended df = std::floor(welchDf + welchDf * RoundingNoise);
    return df >= INT32_MAX ? INT32_MAX : static_cast<std::int32_t>(df);
}

TTestResult ComputeTTest(DataTable& table, int first, int second,
                         const ColumnRecord& firstSummary, const ColumnRecord& secondSummary,
                         bool equalSDs, bool twoTailed, bool unpaired) {
    TTestResult r;
    r.kind = !unpaired ? TTestKind::Paired : equalSDs ? TTestKind::Unpaired : TTestKind::Welch;
    r.twoTailed = twoTailed;
    r.firstRaw = first >= 0;
    r.secondRaw = second >= 0;
    r.first = FilledSummary(table, first, firstSummary);
    r.second = FilledSummary(table, second, secondSummary);
    if (!unpaired && (first < 0 || second < 0)) {
        r.errorCode = CodePairedAveraged;
        return r;
    }
    if (unpaired && (r.first.sem == 0 || r.second.sem == 0)) r.errorCode = CodeSdZero;
    if (r.first.n < 2 || r.second.n < 2) r.errorCode = CodeSingleValue;
    if (r.errorCode != 0) return r;

    if (unpaired) {
        ComputeUnpaired(table, first, second, equalSDs, r);
    } else {
        ComputePaired(table, first, second, r);
    }
    if (!IsMissingValue(r.pTwoTailed)) r.p = twoTailed ? r.pTwoTailed : r.pTwoTailed / 2;
    return r;
}

}  // namespace zelkon
