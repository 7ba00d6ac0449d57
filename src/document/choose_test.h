// The option rules of the choose-test pages: what each option writes into the analysis
// choices, which options are enabled, the captions that follow the options, the name of
// the test that the options select, and which test the choices select as a whole.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "core/analysis_choices.h"
#include "core/data_format.h"
#include "core/data_table.h"
#include "document/column_selection.h"
#include "document/steps.h"

namespace zelkon {

/// True when the one- and two-column pages must offer only what averaged data allow: the
/// format is averaged, or the table holds no data, or some column holds averaged data
/// without raw data.
bool AveragedDataRestriction(DataFormat format, const DataTable& table);

/// "Select another column", "Select other columns" and "Select" are enabled when some
/// column has data.
bool SelectColumnsEnabled(const DataTable& table);

// One-column page -----------------------------------------------------------------------

/// "Hypothetical mean=" for the t test, "Hypothetical median=" for the Wilcoxon test.
std::string_view HypotheticalPrefix(const ColumnAnalysisChoices& choices);
/// The value of a fixed hypothetical-value radio button: 0, 1 or 100.
Extended FixedHypotheticalValue(std::uint8_t choice);
/// A hypothetical-value radio button: the three fixed ones set the value to 0, 1 or 100;
/// the fourth keeps the typed value.
void ChooseHypotheticalValue(ColumnAnalysisChoices& choices, std::uint8_t choice);
/// Leaving the hypothetical-value field with the typed number: the value is taken and the
/// radio button of 0, 1 or 100 is checked when it equals one of them, else the fourth.  An
/// entry that is not a number (MissingValue) keeps the value held before.
void EnterHypotheticalValue(ColumnAnalysisChoices& choices, Extended typed);
/// Prepares the page: under the averaged-data restriction the test choice is disabled and
/// the one-sample t test is checked.
void PrepareOneColumnPage(DataFormat format, const DataTable& table,
                          ColumnAnalysisChoices& choices);

// Two-column page -----------------------------------------------------------------------

/// The three answers of "2. Assume values are sampled from Gaussian distributions?".
enum class GaussianChoice { Nonparametric, Student, Welch };

/// "1. Is each value paired ...": choosing paired while Welch is checked checks Student.
void ChoosePairing(ColumnAnalysisChoices& choices, bool paired);
void ChooseGaussian(ColumnAnalysisChoices& choices, GaussianChoice choice);
GaussianChoice GaussianChoiceOf(const ColumnAnalysisChoices& choices);
/// The Student caption: the equal-SDs sentence for unpaired data, the paired t test else.
std::string_view StudentCaption(const ColumnAnalysisChoices& choices);
/// Welch is offered only for unpaired data.
bool WelchEnabled(const ColumnAnalysisChoices& choices);
/// The pairing answers and the nonparametric answer are disabled under the averaged-data
/// restriction.
bool PairingEnabled(DataFormat format, const DataTable& table);
bool TwoColumnNonparametricEnabled(DataFormat format, const DataTable& table);
/// Prepares the page: under the averaged-data restriction "unpaired" is checked.  A stored
/// nonparametric choice is kept (the run reports that averaged data cannot be ranked).
void PrepareTwoColumnPage(DataFormat format, const DataTable& table,
                          ColumnAnalysisChoices& choices);
/// The test shown and run: "Unpaired t test", "Unpaired t test, Welch corrected",
/// "Mann-Whitney test", "Paired t test" or "Wilcoxon matched pairs test".
std::string_view TwoColumnTestText(const ColumnAnalysisChoices& choices);

// Three-or-more-columns page ----------------------------------------------------------

/// True when the three-or-more-columns page must offer only what averaged data allow: the
/// format is averaged, or some column holds averaged data without raw data.  Averaged data
/// cannot be matched by row nor ranked.
bool MultiColumnAveragedRestriction(DataFormat format, const DataTable& table);
/// "Repeated measures" and the nonparametric answer are disabled under that restriction.
bool RepeatedMeasuresEnabled(DataFormat format, const DataTable& table);
bool MultiColumnNonparametricEnabled(DataFormat format, const DataTable& table);
/// Prepares the page: under the restriction "ordinary" and the parametric answer are checked,
/// so that the test shown is the one that runs (one-way ANOVA).
void PrepareThreeColumnPage(DataFormat format, const DataTable& table,
                            ColumnAnalysisChoices& choices);

// Fit page (X and Y) --------------------------------------------------------------------

/// The four answers of "1. Which test?" (None: a record that selects nothing).
enum class FitChoice { None, LinearRegression, ForcedRegression, Pearson, Spearman };

void ChooseFit(XYChoices& choices, FitChoice choice);
FitChoice FitChoiceOf(const XYChoices& choices);
/// The runs test and the interpolation are disabled while a correlation is chosen.
bool LinearityOptionsEnabled(const XYChoices& choices);

// Multiple-regression page --------------------------------------------------------------

/// What the page shows for the data and the choices.
struct MultipleRegressionPage {
    std::string_view label;
    bool dependentEnabled = false;
    bool variablesEnabled = false;
    std::vector<ColumnEntry> dependentEntries;  ///< columns with raw data, current checked
    std::vector<ColumnEntry> variableEntries;   ///< checked from the include flags
};

/// When the dependent column is not among the columns with raw data it becomes the first
/// column with raw data (unchanged when there is none).
void EnsureDependentColumn(const DataTable& table, MultipleRegressionChoices& choices);
MultipleRegressionPage MultipleRegressionPageOf(const DataTable& table,
                                                const MultipleRegressionChoices& choices);
/// "Select &All" / "Deselect All": sets or clears the include flag of every listed column.
void SetAllIncludeFlags(MultipleRegressionChoices& choices,
                        const std::vector<ColumnEntry>& entries, bool include);

// The test as a whole -------------------------------------------------------------------

/// Every analysis the choose-test pages can select (one per row of the table of which
/// analysis runs, the two-column tests and the multi-column tests each counted apart).
enum class ChosenTest {
    OneSampleT,
    Wilcoxon,  ///< one column against a hypothetical median
    UnpairedT,
    WelchT,
    PairedT,
    MannWhitney,
    WilcoxonPairs,
    OneWayAnova,
    RepeatedMeasuresAnova,
    KruskalWallis,
    Friedman,
    LinearRegression,  ///< with or without a forced point
    Pearson,
    Spearman,
    MultipleRegression,
    CorrelationMatrix,
    Fisher,
    ChiSquare,
    McNemar,
    Contingency  ///< the larger table, which has nothing to choose
};

/// The page on which the test is chosen (None for the larger contingency table).
ChooseTestPage PageOfTest(ChosenTest test);

/// The test that the choices select on a page ("ThreeOrMoreColumns" also for class 0).
/// Nothing for a page that selects no test (the "Fit" page with neither a regression nor a
/// correlation).
std::optional<ChosenTest> ChosenTestOf(ChooseTestPage page, const AnalysisChoices& choices);

/// Whether the page offers the test for the data: under the averaged-data restriction the
/// one-column page offers only the one-sample t test, the two-column page neither the
/// paired nor the nonparametric tests, and the page of three or more columns only the
/// ordinary one-way ANOVA.
bool TestOffered(ChosenTest test, DataFormat format, const DataTable& table);

/// Answers the questions of the test's page that name the test, as its options do:
/// the one-column test; pairing, then the Gaussian question; matching, then the Gaussian
/// question; "Linear regression." or a correlation on the "Fit" page; the 2X2 test; the
/// analysis of the "MultipleRegression" page.  The other answers are kept.
void ChooseTest(AnalysisChoices& choices, ChosenTest test);

}  // namespace zelkon
