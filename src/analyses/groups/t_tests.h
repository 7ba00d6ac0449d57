// The parametric tests of one and two columns: the one-sample t test, the paired t test,
// the unpaired t test with or without Welch's correction, the F test of equal variances and
// the pairing and normality checks that go with them.  Each test is computed into a plain
// result struct; t_test_report writes the report from it.
#pragma once

#include <cstdint>

#include "core/column_record.h"
#include "core/data_table.h"
#include "core/types.h"
#include "stats/column_stats.h"

namespace zelkon {

/// Error codes of the one- and two-column tests (their messages are in error_messages).
inline constexpr std::int32_t CodeSdZero = 40;
inline constexpr std::int32_t CodeNonparametricAveraged = 42;
inline constexpr std::int32_t CodePairedAveraged = 44;
inline constexpr std::int32_t CodeSingleValue = 49;
inline constexpr std::int32_t CodeSinglePair = 50;

/// The one-sample t test of a column's mean against a hypothetical value.  All statistics
/// are missing when errorCode is set (40: SEM zero, 49: a single value).
struct OneSampleTTestResult {
    std::int32_t errorCode = 0;
    bool twoTailed = true;
    ColumnRecord summary;           ///< the column's summary after FillSummary, with its title
    bool rawColumn = false;         ///< the values are in the table (the normality block runs)
    Extended hypotheticalValue = 0;
    std::int32_t df = 0;            ///< N - 1
    Extended difference = MissingValue;     ///< Mean - hypothetical value
    Extended standardError = MissingValue;  ///< SD / sqrt(N)
    Extended t = MissingValue;              ///< |difference| / standard error, never negative
    Extended tCritical = MissingValue;      ///< t_crit_ci(df)
    Extended lower = MissingValue;          ///< 95% interval of the difference
    Extended upper = MissingValue;
    Extended pTwoTailed = MissingValue;     ///< p_from_t(df, t)
    Extended p = MissingValue;              ///< the P reported: two-tailed, or half of it
    NormalityResult normality;              ///< of the column's values (raw columns only)
};

/// Computes the one-sample t test of `column` (a data column 0 to 25, or -1 for the typed-in
/// summary `summary`).  The summary is completed with FillSummary; its title is kept.
OneSampleTTestResult ComputeOneSampleTTest(const DataTable& table, int column,
                                           const ColumnRecord& summary, bool twoTailed,
                                           Extended hypotheticalValue);

enum class TTestKind : std::uint8_t { Paired, Unpaired, Welch };

/// The F test of equal variances: the larger variance over the smaller, upper-tail P.
struct FTestResult {
    Extended f = MissingValue;
    std::int32_t dfNumerator = 0;
    std::int32_t dfDenominator = 0;
    Extended p = MissingValue;
};

/// F = larger SD squared over smaller SD squared: SDB^2 / SDA^2 with (NB - 1, NA - 1) df
/// when SDB >= SDA, otherwise SDA^2 / SDB^2 with (NA - 1, NB - 1); P = p_from_f.
FTestResult EqualVarianceFTest(const ColumnRecord& a, const ColumnRecord& b);

/// Welch's degrees of freedom as the formula gives them (a fraction).
Extended WelchDegreesOfFreedom(const ColumnRecord& a, const ColumnRecord& b);
/// The degrees of freedom the Welch test uses: the formula's value truncated.  A value
/// within rounding noise below an integer (as 17.99999999999999 for a formula value of
/// exactly 18) counts as that integer.
std::int32_t TruncatedWelchDf(Extended welchDf);

/// What the pairing check of the paired t test found.
enum class PairingCheck : std::uint8_t {
    NotRun,        ///< the test could not be performed (differences all equal) or failed
    TooFewPairs,   ///< pairs <= 3
    NoVariability, ///< a column's SEM is 0, or the pairs of one column are all equal
    Computed,
};

/// The paired, unpaired or Welch t test of two columns.  All statistics are missing when
/// errorCode is set (44 paired with averaged data, 40 SEM zero, 49 a single value, 50 a
/// single pair).
struct TTestResult {
    std::int32_t errorCode = 0;
    TTestKind kind = TTestKind::Unpaired;
    bool twoTailed = true;
    ColumnRecord first;          ///< column 1 (A), filled, with its title
    ColumnRecord second;         ///< column 2 (B)
    bool firstRaw = false;       ///< column 1 is a data column (not a typed-in summary)
    bool secondRaw = false;
    // Paired test.
    ColumnRecord differences;    ///< summary of the differences column, title "Difference"
    std::int32_t pairs = 0;
    bool performed = true;       ///< false when the SD of the paired differences is 0
    // The test.
    std::int32_t df = 0;
    Extended welchDf = MissingValue;        ///< Welch's df before truncation
    Extended difference = MissingValue;     ///< paired: mean of A - B; unpaired: MeanB - MeanA
    Extended pooledVariance = MissingValue; ///< unpaired
    Extended standardError = MissingValue;  ///< of the difference
    Extended t = MissingValue;              ///< never negative
    Extended tCritical = MissingValue;      ///< t_crit_ci(df)
    Extended lower = MissingValue;
    Extended upper = MissingValue;
    Extended pTwoTailed = MissingValue;
    Extended p = MissingValue;              ///< the P reported: two-tailed, or half of it
    // Unpaired: F test (reported for the equal-SD test) and the normality table.
    FTestResult fTest;
    NormalityResult firstNormality;
    NormalityResult secondNormality;
    bool normalityFailed = false;  ///< a column's normality P is 0.05 or less
    // Paired: pairing check and the normality of the differences.
    PairingCheck pairing = PairingCheck::NotRun;
    Extended pairingR = MissingValue;
    Extended pairingP = MissingValue;  ///< two-tailed P of r
    NormalityResult differencesNormality;
};

/// Computes the t test of columns `first` and `second` (data columns, or -1 for the typed-in
/// summaries).  `equalSDs` clear selects Welch's correction for the unpaired test.  The
/// paired test fills the scratch column with the row-by-row differences.
TTestResult ComputeTTest(DataTable& table, int first, int second,
                         const ColumnRecord& firstSummary, const ColumnRecord& secondSummary,
                         bool equalSDs, bool twoTailed, bool unpaired);

}  // namespace zelkon
