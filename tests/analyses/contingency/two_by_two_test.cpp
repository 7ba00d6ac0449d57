// The computations of the two-by-two table: validation codes, the chi-square test with and
// without Yates' correction and McNemar's test against R, the exact proportion intervals
// against binom.test, and the ratios, the difference of proportions and the diagnostic
// values against hand calculations (R arithmetic with z = critical_z(2, 0.05) = 1.9604492187).
#include "analyses/contingency/two_by_two.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "analyses/contingency/contingency_codes.h"

namespace zelkon {
namespace {

// Statistics computed in closed form: relative 1e-12.  P values from the chi-square
// distribution (continued fractions stopping at 3e-7): relative 1e-5, well inside the four
// printed decimals.
constexpr double Exact = 1e-12;
constexpr double PTolerance = 1e-5;

void ExpectRel(Extended actual, double expected, double tolerance) {
    EXPECT_NEAR(static_cast<double>(actual), expected, std::fabs(expected) * tolerance + 1e-300);
}

TwoByTwoRequest Request(Extended a, Extended b, Extended c, Extended d) {
    TwoByTwoRequest q{a,    b,    c,     d,     "Column A", "Column B", "Row 1", "Row 2", false,
                      true, true, false, false, false,      false,      true,    false};
    return q;
}

TwoByTwoRequest ChiSquareRequest(Extended a, Extended b, Extended c, Extended d, bool yates) {
    TwoByTwoRequest q = Request(a, b, c, d);
    q.fisher = false;
    q.chiSquare = true;
    q.yates = yates;
    return q;
}

TwoByTwoRequest PairedRequest(Extended a, Extended b, Extended c, Extended d, bool yates) {
    TwoByTwoRequest q = Request(a, b, c, d);
    q.fisher = false;
    q.paired = true;
    q.yates = yates;
    return q;
}

TEST(TwoByTwoValidation, UnpairedCodes) {
    EXPECT_EQ(ComputeTwoByTwo(Request(MissingValue, 1, 2, 3)).errorCode, CodeFourValuesMissing);
    EXPECT_EQ(ComputeTwoByTwo(Request(1, 2, 3, MissingValue)).errorCode, CodeFourValuesMissing);
    EXPECT_EQ(ComputeTwoByTwo(Request(1, 2.5, 3, 4)).errorCode, CodeFractionCount);
    EXPECT_EQ(ComputeTwoByTwo(Request(1, 2, -3, 4)).errorCode, CodeNegativeCount);
    // Fractions are looked for in all four cells before negatives.
    EXPECT_EQ(ComputeTwoByTwo(Request(-1, 2, 3, 0.5)).errorCode, CodeFractionCount);
    EXPECT_EQ(ComputeTwoByTwo(Request(-1.5, 2, 3, 4)).errorCode, CodeFractionCount);
    EXPECT_EQ(ComputeTwoByTwo(Request(0, 0, 3, 4)).errorCode, CodeZeroRow);
    EXPECT_EQ(ComputeTwoByTwo(Request(1, 2, 0, 0)).errorCode, CodeZeroRow);
    EXPECT_EQ(ComputeTwoByTwo(Request(0, 2, 0, 4)).errorCode, CodeZeroColumn);
    EXPECT_EQ(ComputeTwoByTwo(Request(1, 0, 3, 0)).errorCode, CodeZeroColumn);
    // A row of zeros is reported before a column of zeros.
    EXPECT_EQ(ComputeTwoByTwo(Request(0, 0, 0, 4)).errorCode, CodeZeroRow);
    EXPECT_EQ(ComputeTwoByTwo(Request(0, 2, 3, 4)).errorCode, 0);
}

TEST(TwoByTwoValidation, PairedCodes) {
    EXPECT_EQ(ComputeTwoByTwo(PairedRequest(1, MissingValue, 2, 3, true)).errorCode,
              CodePairedCellsMissing);
    EXPECT_EQ(ComputeTwoByTwo(PairedRequest(1, 2, MissingValue, 3, true)).errorCode,
              CodePairedCellsMissing);
    EXPECT_EQ(ComputeTwoByTwo(PairedRequest(1, 2.5, 2, 3, true)).errorCode, CodeFractionCount);
    EXPECT_EQ(ComputeTwoByTwo(PairedRequest(0.5, 2, 2, MissingValue, true)).errorCode,
              CodeFractionCount);
    EXPECT_EQ(ComputeTwoByTwo(PairedRequest(1, 2, 2, -3, true)).errorCode, CodeNegativeCount);
    EXPECT_EQ(ComputeTwoByTwo(PairedRequest(1, 0, 2, 3, true)).errorCode, CodeZeroRow);
    EXPECT_EQ(ComputeTwoByTwo(PairedRequest(1, 2, 0, 3, true)).errorCode, CodeZeroRow);
    // An empty A or D counts as 0.
    const TwoByTwoResult r =
        ComputeTwoByTwo(PairedRequest(MissingValue, 3, 1, MissingValue, false));
    EXPECT_EQ(r.errorCode, 0);
    EXPECT_EQ(r.a, 0.0L);
    EXPECT_EQ(r.d, 0.0L);
}

TEST(TwoByTwoChiSquare, AgreesWithR) {
    // Rscript: x <- chisq.test(matrix(t, 2, byrow=TRUE), correct=FALSE / TRUE);
    //   x$statistic; x$p.value.  R's correction subtracts min(0.5, |O - E|), as this one does.
    struct Case {
        Extended a, b, c, d;
        double plain, plainP, yates, yatesP;
    };
    const Case cases[] = {
        {3, 12, 9, 4, 6.89230769230769, 0.00865674412724604, 5.02863247863248, 0.0249315767311263},
        {10, 20, 30, 40, 0.793650793650794, 0.372998483613487, 0.446428571428571,
         0.504035866452505},
        {15, 25, 30, 10, 11.4285714285714, 0.000723232716430193, 9.95555555555556,
         0.00160364726241411},
        {520, 480, 460, 541, 7.31743767476002, 0.00682887065034313, 7.07749777993922,
         0.0078057935003368},
    };
    for (const Case& c : cases) {
        const TwoByTwoChiSquare plain = ComputeTwoByTwoChiSquare(c.a, c.b, c.c, c.d, false);
        const TwoByTwoChiSquare yates = ComputeTwoByTwoChiSquare(c.a, c.b, c.c, c.d, true);
        ExpectRel(plain.chiSquare, c.plain, Exact);
        ExpectRel(plain.pTwoTailed, c.plainP, PTolerance);
        ExpectRel(yates.chiSquare, c.yates, Exact);
        ExpectRel(yates.pTwoTailed, c.yatesP, PTolerance);
    }
}

TEST(TwoByTwoChiSquare, YatesNeverTakesMoreThanTheDeviation) {
    // 5 5 / 5 6: |O - E| = 0.238 in every cell.  Taking 0.5 off only above 0.5 would keep the
    // whole uncorrected 0.0433884297520661 (R, correct=FALSE); the correction leaves 0, as
    // chisq.test(correct=TRUE) does (statistic 0, P 1).
    const TwoByTwoChiSquare small = ComputeTwoByTwoChiSquare(5, 5, 5, 6, true);
    EXPECT_EQ(small.chiSquare, 0.0L);
    EXPECT_EQ(small.pTwoTailed, 1.0L);
    // 3 2 / 2 3: |O - E| = 0.5 exactly; R gives 0 and P 1 (the old rule gave 0.4).
    EXPECT_EQ(ComputeTwoByTwoChiSquare(3, 2, 2, 3, true).chiSquare, 0.0L);
    // Above 0.5 the correction takes 0.5: 3 2 / 1 3 has |O - E| = 0.7778 in every cell;
    // Rscript: chisq.test(matrix(c(3,2,1,3), 2, byrow=TRUE), correct=TRUE) gives 0.140625.
    ExpectRel(ComputeTwoByTwoChiSquare(3, 2, 1, 3, true).chiSquare, 0.140625, Exact);
}

TEST(TwoByTwoChiSquare, SmallValuesFlagUsesExpectedValues) {
    // N <= 40: flagged even with every expected value 10.
    EXPECT_TRUE(ComputeTwoByTwoChiSquare(10, 10, 10, 10, false).smallValues);
    EXPECT_FALSE(ComputeTwoByTwoChiSquare(10, 10, 10, 11, false).smallValues);
    // An expected value of exactly 5 (row 10 x column 25 / 50) is small.
    EXPECT_TRUE(ComputeTwoByTwoChiSquare(5, 5, 20, 20, false).smallValues);
    // 6 5 / 20 20: expected values 5.61, 5.39, 20.4, 19.6 (R chisq.test()$expected) are all
    // above 5, although row total x cell / N = 11 x 5 / 51 would be 1.08.
    EXPECT_FALSE(ComputeTwoByTwoChiSquare(6, 5, 20, 20, false).smallValues);
    // Expected 2.5 (R) but N = 2000: no warning; N = 1999: the warning.
    EXPECT_FALSE(ComputeTwoByTwoChiSquare(1, 4, 999, 996, false).smallValues);
    EXPECT_TRUE(ComputeTwoByTwoChiSquare(1, 4, 999, 995, false).smallValues);
}

TEST(TwoByTwoFisher, TwoThousandRunsFisherAndMoreFallsBackToChiSquare) {
    const TwoByTwoResult at = ComputeTwoByTwo(Request(520, 480, 460, 540));
    EXPECT_TRUE(at.fisherChosen);
    EXPECT_FALSE(at.fisherReplaced);
    EXPECT_FALSE(at.chiSquareDone);
    // Rscript: fisher.test(matrix(c(520,480,460,540), 2, byrow=TRUE))$p.value
    ExpectRel(at.fisher.twoTailedP, 0.0082968307697682, 1e-12);

    const TwoByTwoResult above = ComputeTwoByTwo(Request(521, 480, 460, 540));
    EXPECT_TRUE(above.fisherReplaced);
    EXPECT_TRUE(IsMissingValue(above.fisher.twoTailedP));
    EXPECT_TRUE(above.chiSquareDone);
    EXPECT_TRUE(above.chiSquare.yates);
    // Rscript: chisq.test(matrix(c(521,480,460,540), 2, byrow=TRUE), correct=TRUE)
    ExpectRel(above.chiSquare.chiSquare, 7.08197188728029, Exact);
    ExpectRel(above.chiSquare.pTwoTailed, 0.00778632810605516, PTolerance);
}

TEST(McNemar, AgreesWithR) {
    // Rscript: mcnemar.test(matrix(t, 2, byrow=TRUE), correct=FALSE / TRUE)
    struct Case {
        Extended b, c;
        double plain, plainP, yates, yatesP;
    };
    const Case cases[] = {
        {25, 8, 8.75757575757576, 0.00308318609090795, 7.75757575757576, 0.00534877052048204},
        {3, 1, 1, 0.317310507862914, 0.25, 0.617075077451974},
        {7, 3, 1.6, 0.205903210732068, 0.9, 0.342781711147911},
        {1, 15, 12.25, 0.00046525815807105, 10.5625, 0.00115405008478153},
        // B = C: (|B - C| - 1)^2 / (B + C) by hand, 1/24 and 1/14, and one apart 0;
        // P = pchisq(x, 1, lower.tail = FALSE).  (R's mcnemar.test leaves the correction
        // out when B = C and reports 0 with P 1.)
        {12, 12, 0, 1, 1.0 / 24, 0.838256486385826},
        {7, 7, 0, 1, 1.0 / 14, 0.789268026134281},
        {5, 4, 1.0 / 9, 0.738882680363527, 0, 1},
    };
    for (const Case& c : cases) {
        const McNemarResult plain = ComputeMcNemar(c.b, c.c, false);
        const McNemarResult yates = ComputeMcNemar(c.b, c.c, true);
        ExpectRel(plain.chiSquare, c.plain, Exact);
        ExpectRel(plain.pTwoTailed, c.plainP, PTolerance);
        ExpectRel(yates.chiSquare, c.yates, Exact);
        ExpectRel(yates.pTwoTailed, c.yatesP, PTolerance);
    }
}

TEST(McNemar, OddsRatioScoreInterval) {
    // By hand in R with z = 1.9604492187 and z^2 written 3.8416:
    //   n <- B + C; p <- B / n; q <- 1 - p
    //   lo <- (2*n*p + 2.8416 - z*sqrt(3.8416 - 2 - 1/n + 4*p*(n*q+1))) / (2*(n+3.8416))
    //   hi <- (2*n*p + 2.8416 + 2 + z*sqrt(3.8416 + 2 - 1/n + 4*p*(n*q-1))) / (2*(n+3.8416))
    //   lo/(1-lo); hi/(1-hi)
    struct Case {
        Extended b, c;
        double ratio, lower, upper;
    };
    const Case cases[] = {
        {25, 8, 3.125, 1.34553610617108, 7.5179046842506},
        {3, 1, 3, 0.280972509212391, 75.2018920911192},
        {7, 3, 2.33333333333333, 0.547048300060471, 11.3622254002783},
        {12, 12, 1, 0.421280405507093, 2.37371590733328},
    };
    for (const Case& c : cases) {
        const McNemarResult m = ComputeMcNemar(c.b, c.c, true);
        ExpectRel(m.oddsRatio.value, c.ratio, Exact);
        ExpectRel(m.oddsRatio.lower, c.lower, 1e-10);
        ExpectRel(m.oddsRatio.upper, c.upper, 1e-10);
    }
}

TEST(ExactProportionInterval, AgreesWithBinomTest) {
    // Rscript: binom.test(x, n)$conf.int.  The F quantile is refined past the distribution
    // module's 0.01-wide bracket, so the limits agree with R far beyond their printed four
    // digits (tolerance 2e-6: the incomplete beta converges to 3e-7).
    struct Case {
        Extended x, n;
        double lower, upper;
    };
    const Case cases[] = {
        {8, 10, 0.443904537692359, 0.974789273673167},
        {3, 15, 0.0433120051058366, 0.480891133806853},
        {120, 400, 0.25546672809531, 0.34752187907365},
        {6, 13, 0.192232441801288, 0.748654517729696},
        {1, 2, 0.0125791170934251, 0.987420882906575},
        {15, 40, 0.227262722481826, 0.541985247767389},
        {10, 35, 0.146354745279059, 0.46304464455442},
    };
    for (const Case& c : cases) {
        const ProportionInterval i = ExactProportionInterval(c.x, c.n);
        EXPECT_NEAR(static_cast<double>(i.lower), c.lower, 2e-6);
        EXPECT_NEAR(static_cast<double>(i.upper), c.upper, 2e-6);
        EXPECT_LT(i.lower, c.x / c.n);
        EXPECT_GT(i.upper, c.x / c.n);
    }
    // The ends: x = 0 has lower 0, x = n has upper 1 (binom.test: 0 to 0.264648469397051 and
    // 0.735351530602949 to 1).
    const ProportionInterval none = ExactProportionInterval(0, 12);
    EXPECT_EQ(none.lower, 0.0L);
    EXPECT_NEAR(static_cast<double>(none.upper), 0.264648469397051, 2e-6);
    const ProportionInterval all = ExactProportionInterval(12, 12);
    EXPECT_NEAR(static_cast<double>(all.lower), 0.735351530602949, 2e-6);
    EXPECT_EQ(all.upper, 1.0L);
}

TEST(TwoByTwoRatios, RelativeRiskAndOddsRatioByHand) {
    // 15 25 / 30 10, by hand in R with z = 1.9604492187:
    //   RR = A(C+D)/(C(A+B)) = 0.5, SE = sqrt(B/(A(A+B)) + D/(C(C+D))) = sqrt(0.05),
    //   exp(log(RR) -/+ z SE) = 0.322543601800057, 0.775089006896418;
    //   OR = AD/(BC) = 0.2, SE = sqrt(1/A+1/B+1/C+1/D) = sqrt(0.24),
    //   exp(log(OR) -/+ z SE) = 0.0765464170810117, 0.522558749649466.
    const RatioWithInterval rr = ComputeRelativeRisk(15, 25, 30, 10);
    ExpectRel(rr.value, 0.5, Exact);
    ExpectRel(rr.lower, 0.322543601800057, 1e-10);
    ExpectRel(rr.upper, 0.775089006896418, 1e-10);
    const RatioWithInterval odds = ComputeOddsRatio(15, 25, 30, 10);
    ExpectRel(odds.value, 0.2, Exact);
    ExpectRel(odds.lower, 0.0765464170810117, 1e-10);
    ExpectRel(odds.upper, 0.522558749649466, 1e-10);
}

TEST(TwoByTwoRatios, ZeroCells) {
    std::feclearexcept(FE_ALL_EXCEPT);
    // A = 0: the relative risk is 0 and its interval runs from -Infinity to Infinity.
    TwoByTwoRequest q = Request(0, 10, 5, 5);
    q.relativeRisk = true;
    q.oddsRatio = true;
    const TwoByTwoResult r = ComputeTwoByTwo(q);
    EXPECT_EQ(r.relativeRisk.value, 0.0L);
    EXPECT_EQ(r.relativeRisk.lower, -MissingValue);
    EXPECT_EQ(r.relativeRisk.upper, MissingValue);
    // The odds ratio of 0.5 10.5 / 5.5 5.5 (by hand in R: 0.0476190476190476,
    // 0.00220139642502516 to 1.03006149658811).
    EXPECT_TRUE(r.oddsRatioCorrected);
    ExpectRel(r.oddsRatio.value, 0.0476190476190476, Exact);
    ExpectRel(r.oddsRatio.lower, 0.00220139642502516, 1e-10);
    ExpectRel(r.oddsRatio.upper, 1.03006149658811, 1e-10);
    // C = 0: the relative risk itself is undefined ("Infinity").
    const RatioWithInterval infinite = ComputeRelativeRisk(5, 5, 0, 10);
    EXPECT_EQ(infinite.value, MissingValue);
    EXPECT_EQ(infinite.lower, -MissingValue);
    EXPECT_EQ(infinite.upper, MissingValue);
    // The odds ratio of the counts as given, with B = 0.
    const RatioWithInterval odds = ComputeOddsRatio(5, 0, 5, 10);
    EXPECT_EQ(odds.value, MissingValue);
    EXPECT_EQ(odds.lower, -MissingValue);
    EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW));
}

TEST(TwoByTwoDifference, FractionsAndPooledStandardError) {
    // 15 25 / 30 10 by hand in R: p1 = 0.375, p2 = 0.75, |p1 - p2| = 0.375, pooled p = 45/80,
    // SE = sqrt(p(1-p)(1/40 + 1/40)) = 0.110926495933118, interval 0.15753423771479 to
    // 0.59246576228521 (z = 1.9604492187).
    const ProportionDifference pd = ComputeProportionDifference(15, 25, 30, 10);
    ExpectRel(pd.p1, 0.375, Exact);
    ExpectRel(pd.p2, 0.75, Exact);
    ExpectRel(pd.difference, 0.375, Exact);
    ExpectRel(pd.standardError, 0.110926495933118, 1e-12);
    ExpectRel(pd.lower, 0.15753423771479, 1e-11);
    ExpectRel(pd.upper, 0.59246576228521, 1e-11);
    EXPECT_TRUE(pd.p1IntervalShown);
    EXPECT_TRUE(pd.p2IntervalShown);
    EXPECT_TRUE(pd.standardErrorShown);
    // binom.test(15, 40) and binom.test(30, 40), refined to full precision.
    EXPECT_NEAR(static_cast<double>(pd.p1Interval.lower), 0.227262722481826, 2e-6);
    EXPECT_NEAR(static_cast<double>(pd.p2Interval.upper), 0.873085201067155, 2e-6);

    // A cell of 5 (not above 5) hides that row's interval and the standard error.
    const ProportionDifference few = ComputeProportionDifference(5, 25, 30, 10);
    EXPECT_FALSE(few.p1IntervalShown);
    EXPECT_TRUE(few.p2IntervalShown);
    EXPECT_FALSE(few.standardErrorShown);
    const ProportionDifference fewBelow = ComputeProportionDifference(15, 25, 30, 5);
    EXPECT_TRUE(fewBelow.p1IntervalShown);
    EXPECT_FALSE(fewBelow.p2IntervalShown);
    EXPECT_FALSE(fewBelow.standardErrorShown);
}

TEST(TwoByTwoDiagnostic, ValuesIntervalsAndLikelihoodRatio) {
    // 15 25 / 30 10: sensitivity 15/45, specificity 10/35, PPV 15/40, NPV 10/40,
    // likelihood ratio (1/3) / (1 - 10/35) = 0.466666666666667 (R arithmetic); intervals from
    // binom.test(15, 45), (10, 35), (15, 40), (10, 40) refined to full precision.
    const DiagnosticValues v = ComputeDiagnosticValues(15, 25, 30, 10);
    ExpectRel(v.sensitivity, 0.333333333333333, 1e-14);
    ExpectRel(v.specificity, 0.285714285714286, 1e-14);
    ExpectRel(v.positivePredictive, 0.375, Exact);
    ExpectRel(v.negativePredictive, 0.25, Exact);
    ExpectRel(v.likelihoodRatio, 0.466666666666667, 1e-14);
    EXPECT_NEAR(static_cast<double>(v.sensitivityInterval.lower), 0.200005688010695, 2e-6);
    EXPECT_NEAR(static_cast<double>(v.sensitivityInterval.upper), 0.489503637858361, 2e-6);
    EXPECT_NEAR(static_cast<double>(v.specificityInterval.lower), 0.146354745279059, 2e-6);
    EXPECT_NEAR(static_cast<double>(v.specificityInterval.upper), 0.46304464455442, 2e-6);
    EXPECT_NEAR(static_cast<double>(v.negativePredictiveInterval.lower), 0.126914798932845, 2e-6);
    EXPECT_NEAR(static_cast<double>(v.negativePredictiveInterval.upper), 0.41196198015143, 2e-6);

    // B = 0: specificity 1, the likelihood ratio has no finite value and no fault is raised.
    std::feclearexcept(FE_ALL_EXCEPT);
    const DiagnosticValues perfect = ComputeDiagnosticValues(8, 0, 2, 10);
    EXPECT_EQ(perfect.specificity, 1.0L);
    EXPECT_EQ(perfect.specificityInterval.upper, 1.0L);
    EXPECT_EQ(perfect.likelihoodRatio, MissingValue);
    EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW));
}

TEST(TwoByTwoRequestFlags, EachChoiceComputesItsPart) {
    TwoByTwoRequest q = ChiSquareRequest(15, 25, 30, 10, false);
    q.relativeRisk = true;
    q.relativeRisk2 = true;
    const TwoByTwoResult r = ComputeTwoByTwo(q);
    EXPECT_FALSE(r.fisherChosen);
    EXPECT_TRUE(r.chiSquareDone);
    EXPECT_TRUE(r.relativeRiskDone);
    EXPECT_TRUE(r.differenceDone);
    EXPECT_FALSE(r.oddsRatioDone);
    EXPECT_FALSE(r.diagnosticDone);
    // The paired test computes McNemar's test only.
    TwoByTwoRequest p = PairedRequest(10, 25, 8, 30, true);
    p.relativeRisk = true;
    p.sensitivity = true;
    const TwoByTwoResult m = ComputeTwoByTwo(p);
    EXPECT_FALSE(m.relativeRiskDone);
    EXPECT_FALSE(m.diagnosticDone);
    EXPECT_FALSE(m.chiSquareDone);
    ExpectRel(m.mcnemar.chiSquare, 7.75757575757576, Exact);
}

}  // namespace
}  // namespace zelkon
