// Defaults of the analysis choices and the two-by-two helpers.  Expected values are the
// defaults and meanings listed for each choice field.
#include "core/analysis_choices.h"

#include <gtest/gtest.h>

namespace zelkon {
namespace {

TEST(AnalysisChoices, DefaultsOfANewDocument) {
    const AnalysisChoices c;

    EXPECT_EQ(c.xy.regression, 1);
    EXPECT_EQ(c.xy.runsTest, 0);
    EXPECT_EQ(c.xy.forceThroughPoint, 0);
    EXPECT_EQ(c.xy.ForceX, 0.0L);
    EXPECT_EQ(c.xy.ForceY, 0.0L);
    EXPECT_EQ(c.xy.correlationKind, 0);
    EXPECT_EQ(c.xy.interpolate, 1);

    EXPECT_EQ(c.twoByTwo.test, 0);  // Fisher
    EXPECT_EQ(c.twoByTwo.yates, 1);
    EXPECT_EQ(c.twoByTwo.twoSided, 1);
    EXPECT_EQ(c.twoByTwo.relativeRisk, 1);
    EXPECT_EQ(c.twoByTwo.oddsRatio, 0);
    EXPECT_EQ(c.twoByTwo.relativeRisk2, 1);
    EXPECT_EQ(c.twoByTwo.sensitivity, 0);

    EXPECT_EQ(c.multipleRegression.kind, 1);
    EXPECT_EQ(c.multipleRegression.dependentColumn, 0);
    for (auto f : c.multipleRegression.include) EXPECT_EQ(f, 0);

    const ColumnAnalysisChoices& k = c.columns;
    EXPECT_EQ(k.columnCountClass, 0);
    EXPECT_EQ(k.oneColumnNonparametric, 0);
    EXPECT_EQ(k.hypotheticalValue, 0.0L);
    EXPECT_EQ(k.oneColumnTwoSided, 1);
    EXPECT_EQ(k.oneColumnColumn, -1);
    EXPECT_EQ(k.hypotheticalValueChoice, 0);
    EXPECT_EQ(k.twoColumnNonparametric, 0);
    EXPECT_EQ(k.unpaired, 1);
    EXPECT_EQ(k.twoColumnTwoSided, 1);
    EXPECT_EQ(k.firstColumn, 0);
    EXPECT_EQ(k.secondColumn, 1);
    EXPECT_TRUE(k.equalSDs);
    EXPECT_EQ(k.unmatched, 1);
    EXPECT_EQ(k.multiColumnNonparametric, 0);
    EXPECT_EQ(k.postTestMode, 2);
    EXPECT_EQ(k.pairMode, 0);
    EXPECT_EQ(k.controlColumn, 0);
    EXPECT_EQ(k.postTestKind, 1);  // Tukey
    ASSERT_EQ(k.pairFlags.size(), 352u);
    for (auto f : k.pairFlags) EXPECT_EQ(f, 1);

    EXPECT_EQ(c.allColumns, 1);
    EXPECT_EQ(c.dataColumnCountSeen, 0);
}

TEST(TwoByTwoChoices, TestValueReadFromFile) {
    // 0 Fisher, 1 chi-square, the old 2 reads as Fisher, 3 McNemar; anything else Fisher.
    EXPECT_EQ(TwoByTwoTestFromFile(0), 0);
    EXPECT_EQ(TwoByTwoTestFromFile(1), 1);
    EXPECT_EQ(TwoByTwoTestFromFile(2), 0);
    EXPECT_EQ(TwoByTwoTestFromFile(3), 3);
    EXPECT_EQ(TwoByTwoTestFromFile(4), 0);
    EXPECT_EQ(TwoByTwoTestFromFile(-1), 0);
    EXPECT_EQ(TwoByTwoTestFromFile(256 + 1), 0);  // not truncated to a byte
}

TEST(TwoByTwoChoices, YatesQuestionAppliesToChiSquareAndMcNemar) {
    TwoByTwoChoices c;
    c.test = TwoByTwoTest::Fisher;
    EXPECT_FALSE(YatesApplies(c));
    c.test = TwoByTwoTest::ChiSquare;
    EXPECT_TRUE(YatesApplies(c));
    c.test = TwoByTwoTest::McNemar;
    EXPECT_TRUE(YatesApplies(c));
}

TEST(TwoByTwoChoices, AlsoCalculateKeepsExactlyOneOn) {
    TwoByTwoChoices c;
    EXPECT_EQ(AlsoCalculateOf(c), AlsoCalculate::RelativeRisk);

    SetAlsoCalculate(c, AlsoCalculate::OddsRatio);
    EXPECT_EQ(c.oddsRatio, 1);
    EXPECT_EQ(c.relativeRisk, 0);
    EXPECT_EQ(c.relativeRisk2, 0);
    EXPECT_EQ(c.sensitivity, 0);
    EXPECT_EQ(AlsoCalculateOf(c), AlsoCalculate::OddsRatio);

    SetAlsoCalculate(c, AlsoCalculate::Sensitivity);
    EXPECT_EQ(c.oddsRatio, 0);
    EXPECT_EQ(c.relativeRisk, 0);
    EXPECT_EQ(c.relativeRisk2, 0);
    EXPECT_EQ(c.sensitivity, 1);
    EXPECT_EQ(AlsoCalculateOf(c), AlsoCalculate::Sensitivity);

    SetAlsoCalculate(c, AlsoCalculate::RelativeRisk);
    EXPECT_EQ(c.relativeRisk, 1);
    EXPECT_EQ(c.relativeRisk2, 1);
    EXPECT_EQ(c.oddsRatio, 0);
    EXPECT_EQ(c.sensitivity, 0);
}

}  // namespace
}  // namespace zelkon
