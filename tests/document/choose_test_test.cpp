// Option rules of the choose-test pages.  Expected values come from the pages' rules: the
// test table of the two-column page, the values of the hypothetical-value radio buttons, the
// settings of each "Which test?" answer and the variable lists of the multiple-regression
// page.
#include "document/choose_test.h"

#include <gtest/gtest.h>

#include "core/column_data_helpers.h"

namespace zelkon {
namespace {

using test::AddAveragedColumn;
using test::AddRawColumn;

TEST(AveragedDataRestriction, AveragedFormatEmptyTableOrAveragedColumn) {
    DataTable raw;
    AddRawColumn(raw, 0, {1, 2, 3});
    AddRawColumn(raw, 1, {4, 5, 6});
    EXPECT_FALSE(AveragedDataRestriction(DataFormat::Raw, raw));
    EXPECT_TRUE(AveragedDataRestriction(DataFormat::MeanSDN, raw));
    EXPECT_TRUE(AveragedDataRestriction(DataFormat::MeanSEMN, raw));

    const DataTable empty;
    EXPECT_TRUE(AveragedDataRestriction(DataFormat::Raw, empty));

    AddAveragedColumn(raw, 3);
    EXPECT_TRUE(AveragedDataRestriction(DataFormat::Raw, raw));
}

TEST(OneColumnPage, HypotheticalValueButtonsAndTypedValue) {
    ColumnAnalysisChoices c;
    EXPECT_EQ(HypotheticalPrefix(c), "Hypothetical mean=");
    c.oneColumnNonparametric = 1;
    EXPECT_EQ(HypotheticalPrefix(c), "Hypothetical median=");

    ChooseHypotheticalValue(c, HypotheticalChoice::Hundred);
    EXPECT_EQ(c.hypotheticalValue, 100.0L);
    ChooseHypotheticalValue(c, HypotheticalChoice::One);
    EXPECT_EQ(c.hypotheticalValue, 1.0L);
    ChooseHypotheticalValue(c, HypotheticalChoice::Other);  // clicking into the field
    EXPECT_EQ(c.hypotheticalValueChoice, HypotheticalChoice::Other);
    EXPECT_EQ(c.hypotheticalValue, 1.0L);

    EnterHypotheticalValue(c, 100);
    EXPECT_EQ(c.hypotheticalValueChoice, HypotheticalChoice::Hundred);
    EnterHypotheticalValue(c, 2.5L);
    EXPECT_EQ(c.hypotheticalValueChoice, HypotheticalChoice::Other);
    EXPECT_EQ(c.hypotheticalValue, 2.5L);
    EnterHypotheticalValue(c, 0);
    EXPECT_EQ(c.hypotheticalValueChoice, HypotheticalChoice::Zero);
    EnterHypotheticalValue(c, -7);
    EXPECT_EQ(c.hypotheticalValueChoice, HypotheticalChoice::Other);
    // Text that is not a number keeps the value held before.
    EnterHypotheticalValue(c, MissingValue);
    EXPECT_EQ(c.hypotheticalValue, -7.0L);
    EXPECT_EQ(c.hypotheticalValueChoice, HypotheticalChoice::Other);
}

TEST(OneColumnPage, AveragedDataChecksTheTTest) {
    DataTable t;
    AddRawColumn(t, 0, {1, 2, 3});
    ColumnAnalysisChoices c;
    c.oneColumnNonparametric = 1;
    PrepareOneColumnPage(DataFormat::Raw, t, c);
    EXPECT_EQ(c.oneColumnNonparametric, 1);
    PrepareOneColumnPage(DataFormat::MeanSDN, t, c);
    EXPECT_EQ(c.oneColumnNonparametric, 0);
}

TEST(TwoColumnPage, TestShownForEachAnswer) {
    ColumnAnalysisChoices c;
    c.unpaired = 1;
    c.twoColumnNonparametric = 0;
    c.equalSDs = true;
    EXPECT_EQ(TwoColumnTestText(c), "Unpaired t test");
    c.equalSDs = false;
    EXPECT_EQ(TwoColumnTestText(c), "Unpaired t test, Welch corrected");
    c.twoColumnNonparametric = 1;
    EXPECT_EQ(TwoColumnTestText(c), "Mann-Whitney test");
    c.equalSDs = true;
    EXPECT_EQ(TwoColumnTestText(c), "Mann-Whitney test");
    c.unpaired = 0;
    EXPECT_EQ(TwoColumnTestText(c), "Wilcoxon matched pairs test");
    c.twoColumnNonparametric = 0;
    EXPECT_EQ(TwoColumnTestText(c), "Paired t test");
    c.equalSDs = false;
    EXPECT_EQ(TwoColumnTestText(c), "Paired t test");
}

TEST(TwoColumnPage, PairingChangesCaptionAndReplacesWelch) {
    ColumnAnalysisChoices c;
    EXPECT_EQ(StudentCaption(c), "Yes. Also assume the populations have equal SDs.");
    EXPECT_TRUE(WelchEnabled(c));
    ChooseGaussian(c, GaussianChoice::Welch);
    EXPECT_FALSE(c.equalSDs);

    ChoosePairing(c, true);
    EXPECT_EQ(c.unpaired, 0);
    EXPECT_TRUE(c.equalSDs);  // Welch was checked: Student is checked instead
    EXPECT_EQ(GaussianChoiceOf(c), GaussianChoice::Student);
    EXPECT_EQ(StudentCaption(c), "Yes. Perform paired t test.");
    EXPECT_FALSE(WelchEnabled(c));

    ChoosePairing(c, false);
    ChooseGaussian(c, GaussianChoice::Nonparametric);
    EXPECT_EQ(c.twoColumnNonparametric, 1);
    ChooseGaussian(c, GaussianChoice::Student);
    EXPECT_EQ(c.twoColumnNonparametric, 0);
    EXPECT_TRUE(c.equalSDs);
}

TEST(TwoColumnPage, PairedChoiceReplacedByUnpairedWithAnAveragedColumn) {
    DataTable t;
    AddRawColumn(t, 0, {1, 2, 3});
    AddAveragedColumn(t, 1);
    EXPECT_FALSE(PairingEnabled(DataFormat::Raw, t));
    EXPECT_FALSE(TwoColumnNonparametricEnabled(DataFormat::Raw, t));
    ColumnAnalysisChoices c;
    c.unpaired = 0;
    c.twoColumnNonparametric = 1;
    PrepareTwoColumnPage(DataFormat::Raw, t, c);
    EXPECT_EQ(c.unpaired, 1);
    EXPECT_EQ(c.twoColumnNonparametric, 1);  // the stored choice is kept

    DataTable rawOnly;
    AddRawColumn(rawOnly, 0, {1, 2, 3});
    AddRawColumn(rawOnly, 1, {1, 2, 3});
    c.unpaired = 0;
    PrepareTwoColumnPage(DataFormat::Raw, rawOnly, c);
    EXPECT_EQ(c.unpaired, 0);
    EXPECT_TRUE(PairingEnabled(DataFormat::Raw, rawOnly));
}

// Averaged data cannot be matched by row nor ranked: the three-column page checks the
// ordinary parametric ANOVA and disables the rest, but an empty raw table keeps every choice.
TEST(ThreeColumnPage, AveragedDataAllowOnlyOrdinaryAnova) {
    DataTable t;
    AddAveragedColumn(t, 0);
    AddAveragedColumn(t, 1);
    AddAveragedColumn(t, 2);
    const DataTable empty;
    const struct {
        DataFormat format;
        const DataTable* table;
        bool restricted;
    } cases[] = {
        {DataFormat::MeanSDN, &t, true},   {DataFormat::MeanSEMN, &t, true},
        {DataFormat::Raw, &t, true},       {DataFormat::Raw, &empty, false},
        {DataFormat::MeanSDN, &empty, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MultiColumnAveragedRestriction(c.format, *c.table), c.restricted);
        EXPECT_EQ(RepeatedMeasuresEnabled(c.format, *c.table), !c.restricted);
        EXPECT_EQ(MultiColumnNonparametricEnabled(c.format, *c.table), !c.restricted);
        ColumnAnalysisChoices choices;
        choices.unmatched = 0;
        choices.multiColumnNonparametric = 1;
        PrepareThreeColumnPage(c.format, *c.table, choices);
        EXPECT_EQ(choices.unmatched, c.restricted ? 1 : 0);
        EXPECT_EQ(choices.multiColumnNonparametric, c.restricted ? 0 : 1);
        EXPECT_TRUE(TestOffered(ChosenTest::OneWayAnova, c.format, *c.table));
        for (ChosenTest test : {ChosenTest::RepeatedMeasuresAnova, ChosenTest::KruskalWallis,
                                ChosenTest::Friedman}) {
            EXPECT_EQ(TestOffered(test, c.format, *c.table), !c.restricted);
        }
    }
}

TEST(FitPage, EachAnswerSetsRegressionForceAndCorrelation) {
    XYChoices c;
    EXPECT_EQ(FitChoiceOf(c), FitChoice::LinearRegression);
    ChooseFit(c, FitChoice::ForcedRegression);
    EXPECT_EQ(c.regression, 1);
    EXPECT_EQ(c.forceThroughPoint, 1);
    EXPECT_EQ(c.correlationKind, 0);
    EXPECT_EQ(FitChoiceOf(c), FitChoice::ForcedRegression);
    EXPECT_TRUE(LinearityOptionsEnabled(c));

    ChooseFit(c, FitChoice::Spearman);
    EXPECT_EQ(c.regression, 0);
    EXPECT_EQ(c.correlationKind, 2);
    EXPECT_EQ(FitChoiceOf(c), FitChoice::Spearman);
    EXPECT_FALSE(LinearityOptionsEnabled(c));

    ChooseFit(c, FitChoice::Pearson);
    EXPECT_EQ(c.correlationKind, 1);
    EXPECT_EQ(FitChoiceOf(c), FitChoice::Pearson);

    ChooseFit(c, FitChoice::LinearRegression);
    EXPECT_EQ(c.regression, 1);
    EXPECT_EQ(c.forceThroughPoint, 0);
    EXPECT_EQ(c.correlationKind, 0);

    c.regression = 0;  // neither a regression nor a correlation (a damaged file)
    c.correlationKind = 0;
    EXPECT_EQ(FitChoiceOf(c), FitChoice::None);
}

TEST(MultipleRegressionPage, ListsAndDependentColumn) {
    DataTable t;
    AddRawColumn(t, 0, {1, 2, 3}, "Y");
    AddRawColumn(t, 1, {4, 5, 6}, "Age");
    AddAveragedColumn(t, 2);  // no raw data: never listed
    AddRawColumn(t, 3, {7, 8, 9}, "Wt");
    MultipleRegressionChoices c;
    c.dependentColumn = 2;
    c.include[3] = 1;

    EnsureDependentColumn(t, c);
    EXPECT_EQ(c.dependentColumn, 0);

    MultipleRegressionPage page = MultipleRegressionPageOf(t, c);
    EXPECT_EQ(page.label,
              "Check variables you want to test for their effect on the outcome: Select one or "
              "more independent (X) variables:");
    EXPECT_TRUE(page.dependentEnabled);
    EXPECT_TRUE(page.variablesEnabled);
    ASSERT_EQ(page.variableEntries.size(), 2u);
    EXPECT_EQ(page.variableEntries[0].text, "B: Age");
    EXPECT_FALSE(page.variableEntries[0].checked);
    EXPECT_EQ(page.variableEntries[1].text, "D: Wt");
    EXPECT_TRUE(page.variableEntries[1].checked);
    ASSERT_EQ(page.dependentEntries.size(), 3u);
    EXPECT_TRUE(page.dependentEntries[0].checked);

    SetAllIncludeFlags(c, page.variableEntries, true);
    EXPECT_EQ(c.include[0], 0);  // the dependent column is not listed
    EXPECT_EQ(c.include[1], 1);
    EXPECT_EQ(c.include[3], 1);

    c.kind = MultipleRegressionKind::CorrelationMatrix;
    page = MultipleRegressionPageOf(t, c);
    EXPECT_EQ(page.label, "Check the variables you want to include:");
    EXPECT_FALSE(page.dependentEnabled);
    ASSERT_EQ(page.variableEntries.size(), 3u);
    EXPECT_EQ(page.variableEntries[0].text, "A: Y");
    SetAllIncludeFlags(c, page.variableEntries, false);
    EXPECT_EQ(c.include[1], 0);
    EXPECT_EQ(c.include[3], 0);
}

TEST(MultipleRegressionPage, EnablingNeedsTwoColumnsForRegressionOneForTheMatrix) {
    DataTable t;
    AddRawColumn(t, 1, {1, 2, 3});
    MultipleRegressionChoices c;
    EnsureDependentColumn(t, c);
    EXPECT_EQ(c.dependentColumn, 1);
    MultipleRegressionPage page = MultipleRegressionPageOf(t, c);
    EXPECT_FALSE(page.dependentEnabled);
    EXPECT_FALSE(page.variablesEnabled);
    EXPECT_TRUE(page.variableEntries.empty());
    c.kind = MultipleRegressionKind::CorrelationMatrix;
    page = MultipleRegressionPageOf(t, c);
    EXPECT_TRUE(page.variablesEnabled);

    const DataTable empty;
    MultipleRegressionChoices d;
    d.dependentColumn = 4;
    EnsureDependentColumn(empty, d);  // no column with raw data: left alone
    EXPECT_EQ(d.dependentColumn, 4);
}

}  // namespace
}  // namespace zelkon
