// Captions, labels and messages of the step buttons, the start page, the choose-test pages
// and the column and pair dialogs that the logic and the pages refer to by name (the step
// captions and the start page's lists live in their tables in steps.cpp).  "&&" in a label
// caption shows as one ampersand, a single "&" marks the accelerator letter of a menu item
// or button.
#pragma once

#include <string_view>

namespace zelkon::texts {

// Step buttons and the steps menu -------------------------------------------------------

inline constexpr std::string_view StartButtonCaption = "1st";
inline constexpr std::string_view StepsMenu = "&Steps";
inline constexpr std::string_view NextStepItem = "&Next Step";
inline constexpr std::string_view PreviousStepItem = "&Previous Step";
inline constexpr std::string_view NextStepHint = "Next step (F10)";
inline constexpr std::string_view PreviousStepHint = "Previous step (F9)";
inline constexpr std::string_view NextStepShortcut = "F10";
inline constexpr std::string_view PreviousStepShortcut = "F9";
inline constexpr std::string_view ContinueLabel = "Next step: Enter data (click here).";

// Start page ----------------------------------------------------------------------------

inline constexpr std::string_view GoalHeading = "A. Specify your goal";
inline constexpr std::string_view FormatHeading = "B. Choose a data entry format";
inline constexpr std::string_view CompareMeansFamily = "Compare means (or medians)";
inline constexpr std::string_view RegressionFamily = "Regression and correlation";
inline constexpr std::string_view ContingencyFamily = "Analyze a contingency table";
inline constexpr std::string_view TestsListHeading =
    "Based on your choices, Zelkon will be able to perform these tests:";

// One-column page -----------------------------------------------------------------------

inline constexpr std::string_view SelectedPrefix = "Selected: ";
inline constexpr std::string_view SelectAnotherColumn = "Select another column";
inline constexpr std::string_view OneSampleTTestChoice =
    "One sample t test. Assume sampling from a Gaussian population.";
inline constexpr std::string_view WilcoxonChoice =
    "Wilcoxon rank sum test (nonparametric, no Gaussian assumption).";
inline constexpr std::string_view OneTailChoice = "One-tail P value.";
inline constexpr std::string_view TwoTailChoice = "Two-tail P value. Recommended.";
inline constexpr std::string_view HypotheticalMeanPrefix = "Hypothetical mean=";
inline constexpr std::string_view HypotheticalMedianPrefix = "Hypothetical median=";
inline constexpr std::string_view HypotheticalZeroText = "0.0";
inline constexpr std::string_view HypotheticalOneText = "1.0";
inline constexpr std::string_view HypotheticalHundredText = "100";

// Two-column page -----------------------------------------------------------------------

inline constexpr std::string_view SelectOtherColumns = "Select other columns";
inline constexpr std::string_view PairedQuestion =
    "1. Is each value paired (matched) with the value next to it?";
inline constexpr std::string_view UnpairedChoice = "No. Perform unpaired test.";
inline constexpr std::string_view PairedChoice = "Yes. Perform paired test.";
inline constexpr std::string_view TwoColumnGaussianQuestion =
    "2. Assume values are sampled from Gaussian distributions?";
inline constexpr std::string_view TwoColumnNonparametricChoice = "No. Perform nonparametric test.";
inline constexpr std::string_view StudentChoiceUnpaired =
    "Yes. Also assume the populations have equal SDs.";
inline constexpr std::string_view StudentChoicePaired = "Yes. Perform paired t test.";
inline constexpr std::string_view WelchChoice =
    "Yes, but assume the populations may have different SDs. ";
inline constexpr std::string_view TailsQuestion = "3. One- vs two-tail P value";
inline constexpr std::string_view TestShownHeading =
    "Based on your answers above, Zelkon will perform this test:  ";
inline constexpr std::string_view UnpairedTTest = "Unpaired t test";
inline constexpr std::string_view WelchTTest = "Unpaired t test, Welch corrected";
inline constexpr std::string_view MannWhitneyTest = "Mann-Whitney test";
inline constexpr std::string_view PairedTTest = "Paired t test";
inline constexpr std::string_view WilcoxonMatchedPairsTest = "Wilcoxon matched pairs test";

// Three-or-more-column page -------------------------------------------------------------

inline constexpr std::string_view SelectedLabel = "Selected:";
inline constexpr std::string_view SelectColumnsQuestion = "1. Select columns";
inline constexpr std::string_view AllColumnsChoice = "All columns";
inline constexpr std::string_view SelectedColumnsChoice = "Selected columns";
inline constexpr std::string_view SelectButton = "Select";
inline constexpr std::string_view MatchedQuestion =
    "2. Are the values in each row matched (paired)?";
inline constexpr std::string_view OrdinaryAnovaChoice = "No. Perform ordinary ANOVA.";
inline constexpr std::string_view RepeatedMeasuresChoice =
    "Yes. Perform repeated measures ANOVA. ";
inline constexpr std::string_view MultiColumnGaussianQuestion =
    "3. Assume values are sampled from Gaussian distributions?";
inline constexpr std::string_view ParametricChoice = "Yes. Use standard (parametric) methods.";
inline constexpr std::string_view MultiColumnNonparametricChoice = "No. Use nonparametric methods.";
inline constexpr std::string_view PostTestQuestion = "4. Choose a multiple comparison post test";
inline constexpr std::string_view ContingentPostCheck = "Only perform post test if P<0.05.";
inline constexpr std::string_view ControlColumnLabel = "Control column:";
inline constexpr std::string_view SelectPairsButton = "Select pairs...";
inline constexpr std::string_view OneWayAnova = "One-way ANOVA";
inline constexpr std::string_view KruskalWallisTest = "Kruskal-Wallis test";
inline constexpr std::string_view RepeatedMeasuresAnova = "Repeated measures ANOVA";
inline constexpr std::string_view FriedmanTest = "Friedman test";
inline constexpr std::string_view WithoutPostTest = " without post-test";
inline constexpr std::string_view WithPostTest = " with post-test";

inline constexpr std::string_view NoPostTest = "(No post test)";
inline constexpr std::string_view BonferroniSelectedPairs =
    "Bonferroni: Compare selected pairs of columns.";
inline constexpr std::string_view BonferroniAllPairs = "Bonferroni: Compare all pairs of columns.";
inline constexpr std::string_view TukeyAllPairs = "Tukey: Compare all pairs of columns.";
inline constexpr std::string_view NewmanKeulsAllPairs =
    "Student-Newman-Keuls: Compare all pairs of columns.";
inline constexpr std::string_view DunnettVsControl = "Dunnett: Compare all vs. control.";
inline constexpr std::string_view LinearTrendTest =
    "Test for linear trend between column mean and column number";
inline constexpr std::string_view DunnSelectedPairs = "Dunn: Compare selected pairs of columns.";
inline constexpr std::string_view DunnAllPairs = "Dunn: Compare all pairs of columns.";

// Two-by-two page -----------------------------------------------------------------------

inline constexpr std::string_view SelectTestQuestion = "1. Select a test";
inline constexpr std::string_view FisherChoice = "&Fisher's exact test (recommended)";
inline constexpr std::string_view ChiSquareChoice =
    "&Chi-square test (less exact, but more widely known)";
inline constexpr std::string_view McNemarChoice = "McNemar's test (paired data)";
inline constexpr std::string_view YatesQuestion = "2. Use Yate's continuity correction?";
inline constexpr std::string_view YatesChoice = "Yes (recommended)";
inline constexpr std::string_view PValueQuestion = "3. P value";
inline constexpr std::string_view OneSidedChoice = "One-sided.";
inline constexpr std::string_view TwoSidedChoice = "Two-sided (recommended).";
inline constexpr std::string_view AlsoCalculateQuestion = "4. Also calculate";
inline constexpr std::string_view RelativeRiskChoice =
    "Relative risk, P1-P2, etc. (to analyze prospective, experimental and cross-sectional "
    "studies)";
inline constexpr std::string_view OddsRatioChoice =
    "Odds ratio  (to analyze retrospective case-control studies).";
inline constexpr std::string_view SensitivityChoice =
    "Sensitivity, specificity, predictive powers, etc . (to evaluate diagnostic tests).";

// Fit page (X and Y) --------------------------------------------------------------------

inline constexpr std::string_view WhichTestQuestion = "1. Which test?";
inline constexpr std::string_view LinearRegressionChoice = "Linear regression.";
inline constexpr std::string_view ForcedRegressionChoice = "Linear regression. Force through";
inline constexpr std::string_view ForceXLabel = "X=";
inline constexpr std::string_view ForceYLabel = "Y=";
inline constexpr std::string_view PearsonChoice =
    "Correlation (Pearson r). Assume Gaussian distributions.";
inline constexpr std::string_view SpearmanChoice =
    "Nonparametric correlation (Spearman r). No Gaussian assumptions.";
inline constexpr std::string_view LinearityQuestion = "2. Test for departure from linearity?";
inline constexpr std::string_view RunsTestChoice = "Yes. Perform runs test.";
inline constexpr std::string_view NoRunsTestChoice = "No.";
inline constexpr std::string_view StandardCurveQuestion = "3. Read unknowns from standard curve?";
inline constexpr std::string_view InterpolateCheck = "Interpolate unknowns from the standard curve.";

// Multiple-regression page --------------------------------------------------------------

inline constexpr std::string_view WhichAnalysisQuestion = "1. Which analysis?";
inline constexpr std::string_view MultipleRegressionChoice = "&Multiple Regression";
inline constexpr std::string_view CorrelationMatrixChoice =
    "&Correlation matrix (compute r for every pair of variables)";
inline constexpr std::string_view SelectVariablesQuestion = "2. Select variables";
inline constexpr std::string_view IndependentVariablesLabel =
    "Check variables you want to test for their effect on the outcome: Select one or more "
    "independent (X) variables:";
inline constexpr std::string_view IncludedVariablesLabel = "Check the variables you want to include:";
inline constexpr std::string_view SelectAllVariables = "Select &All";
inline constexpr std::string_view DeselectAllVariables = "Deselect All";

// Column and pair dialogs ---------------------------------------------------------------

inline constexpr std::string_view ColumnDialogCaption = "Select Columns";
inline constexpr std::string_view PairDialogCaption = "Select Pairs";
inline constexpr std::string_view SelectAllPairs = "Select All";
inline constexpr std::string_view DeselectAllPairs = "Deselect all";
inline constexpr std::string_view NoColumnSelected = "At least one column must be selected.";
inline constexpr std::string_view NoPairSelected = "At least one column pair must be selected.";

}  // namespace zelkon::texts
