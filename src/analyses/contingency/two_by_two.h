// The two-by-two table: validation of the four counts, McNemar's test for paired data with
// its odds ratio, and for unpaired data Fisher's exact test or the chi-square test (with or
// without Yates' correction), relative risk, odds ratio, difference between the two
// proportions and sensitivity / specificity.  Everything is computed into TwoByTwoResult;
// two_by_two_report writes the report from it.
#pragma once

#include <cstdint>
#include <string>

#include "analyses/contingency/fisher_exact.h"
#include "analyses/contingency/proportion_interval.h"
#include "core/analysis_entry.h"
#include "core/types.h"

namespace zelkon {

/// A ratio with its 95% interval.  MissingValue marks an undefined ratio or upper bound,
/// -MissingValue an undefined lower bound (written "Infinity" and "-Infinity").
struct RatioWithInterval {
    Extended value = MissingValue;
    Extended lower = MissingValue;
    Extended upper = MissingValue;
};

/// McNemar's test on the discordant cells B and C.
struct McNemarResult {
    bool yates = false;
    /// (B - C)^2 / (B + C); with Yates' correction (|B - C| - min(1, |B - C|))^2 / (B + C)
    Extended chiSquare = MissingValue;
    Extended pTwoTailed = MissingValue;  ///< p_from_chi2(1, chi-square)
    RatioWithInterval oddsRatio;         ///< B / C with the continuity-corrected score interval
};

/// The chi-square test of the unpaired table (1 degree of freedom, P from the chi-square
/// distribution: an approximation).
struct TwoByTwoChiSquare {
    bool yates = false;
    Extended chiSquare = MissingValue;
    Extended pTwoTailed = MissingValue;
    /// N < 2000 and either N <= 40 or an expected value (row total x column total / N) <= 5.
    bool smallValues = false;
};

struct ProportionDifference {
    Extended p1 = MissingValue;    ///< A / (A + B)
    Extended p2 = MissingValue;    ///< C / (C + D)
    bool p1IntervalShown = false;  ///< A > 5 and B > 5
    bool p2IntervalShown = false;  ///< C > 5 and D > 5
    ProportionInterval p1Interval;
    ProportionInterval p2Interval;
    Extended difference = MissingValue;     ///< |p1 - p2|
    bool standardErrorShown = false;        ///< every cell above 5
    Extended standardError = MissingValue;  ///< from the pooled proportion
    Extended lower = MissingValue;
    Extended upper = MissingValue;
};

/// The top row is the positive test result, the left column the presence of the condition.
struct DiagnosticValues {
    Extended sensitivity = MissingValue;         ///< A / (A + C)
    Extended specificity = MissingValue;         ///< D / (B + D)
    Extended positivePredictive = MissingValue;  ///< A / (A + B)
    Extended negativePredictive = MissingValue;  ///< D / (C + D)
    ProportionInterval sensitivityInterval;
    ProportionInterval specificityInterval;
    ProportionInterval positivePredictiveInterval;
    ProportionInterval negativePredictiveInterval;
    /// sensitivity / (1 - specificity); MissingValue when the specificity is 1.
    Extended likelihoodRatio = MissingValue;
};

struct TwoByTwoResult {
    std::int32_t errorCode = 0;  ///< 30 to 33, 45 or 48; nothing else is set with an error
    /// The counts analysed (for McNemar's test an empty A or D counts as 0).
    Extended a = MissingValue, b = MissingValue, c = MissingValue, d = MissingValue;
    std::string column1, column2, row1, row2;
    bool paired = false;
    bool twoSided = true;

    McNemarResult mcnemar;  ///< paired only

    bool fisherChosen = false;
    bool fisherReplaced = false;  ///< N > 2000: the chi-square test was done instead
    FisherExactResult fisher;     ///< P values missing when not done

    bool chiSquareDone = false;  ///< chosen, or in place of Fisher's test
    TwoByTwoChiSquare chiSquare;

    bool relativeRiskDone = false;
    RatioWithInterval relativeRisk;  ///< Katz interval
    bool oddsRatioDone = false;
    bool oddsRatioCorrected = false;  ///< a zero cell: 0.5 was added to every count
    RatioWithInterval oddsRatio;      ///< Woolf interval
    bool differenceDone = false;
    ProportionDifference difference;
    bool diagnosticDone = false;
    DiagnosticValues diagnostic;
};

/// Validates the counts and computes what the request asks for.
TwoByTwoResult ComputeTwoByTwo(const TwoByTwoRequest& request);

/// The pieces, for tests and for other callers.
McNemarResult ComputeMcNemar(Extended b, Extended c, bool yates);
TwoByTwoChiSquare ComputeTwoByTwoChiSquare(Extended a, Extended b, Extended c, Extended d,
                                           bool yates);
RatioWithInterval ComputeRelativeRisk(Extended a, Extended b, Extended c, Extended d);
/// The odds ratio of the counts as given (the caller adds 0.5 for a zero cell).
RatioWithInterval ComputeOddsRatio(Extended a, Extended b, Extended c, Extended d);
ProportionDifference ComputeProportionDifference(Extended a, Extended b, Extended c, Extended d);
DiagnosticValues ComputeDiagnosticValues(Extended a, Extended b, Extended c, Extended d);

}  // namespace zelkon
