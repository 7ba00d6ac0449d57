// Option rules of the choose-test pages.
#include "document/choose_test.h"

#include "document/choice_texts.h"

namespace zelkon {

bool AveragedDataRestriction(DataFormat format, const DataTable& table) {
    return !table.HasData() || MultiColumnAveragedRestriction(format, table);
}

bool SelectColumnsEnabled(const DataTable& table) { return CountDataColumns(table) > 0; }

// One-column page -----------------------------------------------------------------------

std::string_view HypotheticalPrefix(const ColumnAnalysisChoices& choices) {
    return choices.oneColumnNonparametric != 0 ? texts::HypotheticalMedianPrefix
                                               : texts::HypotheticalMeanPrefix;
}

Extended FixedHypotheticalValue(std::uint8_t choice) {
    switch (choice) {
        case HypotheticalChoice::One: return 1;
        case HypotheticalChoice::Hundred: return 100;
        default: return 0;
    }
}

void ChooseHypotheticalValue(ColumnAnalysisChoices& choices, std::uint8_t choice) {
    if (choice > HypotheticalChoice::Other) return;
    choices.hypotheticalValueChoice = choice;
    if (choice != HypotheticalChoice::Other) {
        choices.hypotheticalValue = FixedHypotheticalValue(choice);
    }
}

void EnterHypotheticalValue(ColumnAnalysisChoices& choices, Extended typed) {
    if (!IsMissingValue(typed)) choices.hypotheticalValue = typed;
    const Extended v = choices.hypotheticalValue;
    if (v == 0) {
        choices.hypotheticalValueChoice = HypotheticalChoice::Zero;
    } else if (v == 1) {
        choices.hypotheticalValueChoice = HypotheticalChoice::One;
    } else if (v == 100) {
        choices.hypotheticalValueChoice = HypotheticalChoice::Hundred;
    } else {
        choices.hypotheticalValueChoice = HypotheticalChoice::Other;
    }
}

void PrepareOneColumnPage(DataFormat format, const DataTable& table,
                          ColumnAnalysisChoices& choices) {
    if (AveragedDataRestriction(format, table)) choices.oneColumnNonparametric = 0;
}

// Three-or-more-columns page ----------------------------------------------------------

bool MultiColumnAveragedRestriction(DataFormat format, const DataTable& table) {
    if (IsAveragedFormat(format)) return true;
    for (int c = 0; c < DataColumns; ++c) {
        if (IsAveragedColumn(table, c)) return true;
    }
    return false;
}

bool RepeatedMeasuresEnabled(DataFormat format, const DataTable& table) {
    return !MultiColumnAveragedRestriction(format, table);
}

bool MultiColumnNonparametricEnabled(DataFormat format, const DataTable& table) {
    return !MultiColumnAveragedRestriction(format, table);
}

void PrepareThreeColumnPage(DataFormat format, const DataTable& table,
                            ColumnAnalysisChoices& choices) {
    if (!MultiColumnAveragedRestriction(format, table)) return;
    choices.unmatched = 1;
    choices.multiColumnNonparametric = 0;
}

// Two-column page -----------------------------------------------------------------------

void ChoosePairing(ColumnAnalysisChoices& choices, bool paired) {
    choices.unpaired = paired ? 0 : 1;
    if (paired && GaussianChoiceOf(choices) == GaussianChoice::Welch) choices.equalSDs = true;
}

void ChooseGaussian(ColumnAnalysisChoices& choices, GaussianChoice choice) {
    switch (choice) {
        case GaussianChoice::Nonparametric: choices.twoColumnNonparametric = 1; break;
        case GaussianChoice::Student:
            choices.twoColumnNonparametric = 0;
            choices.equalSDs = true;
            break;
        case GaussianChoice::Welch:
            choices.twoColumnNonparametric = 0;
            choices.equalSDs = false;
            break;
    }
}

GaussianChoice GaussianChoiceOf(const ColumnAnalysisChoices& choices) {
    if (choices.twoColumnNonparametric != 0) return GaussianChoice::Nonparametric;
    return choices.equalSDs ? GaussianChoice::Student : GaussianChoice::Welch;
}

std::string_view StudentCaption(const ColumnAnalysisChoices& choices) {
    return choices.unpaired != 0 ? texts::StudentChoiceUnpaired : texts::StudentChoicePaired;
}

bool WelchEnabled(const ColumnAnalysisChoices& choices) { return choices.unpaired != 0; }

bool PairingEnabled(DataFormat format, const DataTable& table) {
    return !AveragedDataRestriction(format, table);
}

bool TwoColumnNonparametricEnabled(DataFormat format, const DataTable& table) {
    return !AveragedDataRestriction(format, table);
}

void PrepareTwoColumnPage(DataFormat format, const DataTable& table,
                          ColumnAnalysisChoices& choices) {
    if (AveragedDataRestriction(format, table)) choices.unpaired = 1;
}

std::string_view TwoColumnTestText(const ColumnAnalysisChoices& choices) {
    const bool nonparametric = choices.twoColumnNonparametric != 0;
    if (choices.unpaired != 0) {
        if (nonparametric) return texts::MannWhitneyTest;
        return choices.equalSDs ? texts::UnpairedTTest : texts::WelchTTest;
    }
    return nonparametric ? texts::WilcoxonMatchedPairsTest : texts::PairedTTest;
}

// Fit page ------------------------------------------------------------------------------

void ChooseFit(XYChoices& choices, FitChoice choice) {
    switch (choice) {
        case FitChoice::None: break;
        case FitChoice::LinearRegression:
        case FitChoice::ForcedRegression:
            choices.regression = 1;
            choices.forceThroughPoint = choice == FitChoice::ForcedRegression ? 1 : 0;
            choices.correlationKind = CorrelationKind::None;
            break;
        case FitChoice::Pearson:
            choices.regression = 0;
            choices.correlationKind = CorrelationKind::Pearson;
            break;
        case FitChoice::Spearman:
            choices.regression = 0;
            choices.correlationKind = CorrelationKind::Spearman;
            break;
    }
}

FitChoice FitChoiceOf(const XYChoices& choices) {
    if (choices.regression != 0) {
        return choices.forceThroughPoint != 0 ? FitChoice::ForcedRegression
                                              : FitChoice::LinearRegression;
    }
    if (choices.correlationKind == CorrelationKind::Pearson) return FitChoice::Pearson;
    if (choices.correlationKind == CorrelationKind::Spearman) return FitChoice::Spearman;
    return FitChoice::None;
}

bool LinearityOptionsEnabled(const XYChoices& choices) { return choices.regression != 0; }

// Multiple-regression page --------------------------------------------------------------

void EnsureDependentColumn(const DataTable& table, MultipleRegressionChoices& choices) {
    const int dependent = choices.dependentColumn;
    if (dependent >= 0 && dependent < DataColumns && HasRawColumnData(table, dependent)) return;
    for (int c = 0; c < DataColumns; ++c) {
        if (HasRawColumnData(table, c)) {
            choices.dependentColumn = c;
            return;
        }
    }
}

MultipleRegressionPage MultipleRegressionPageOf(const DataTable& table,
                                                const MultipleRegressionChoices& choices) {
    MultipleRegressionPage page;
    const bool regression = choices.kind == MultipleRegressionKind::MultipleRegression;
    const int dataColumns = CountDataColumns(table);
    page.label = regression ? texts::IndependentVariablesLabel : texts::IncludedVariablesLabel;
    page.dependentEnabled = regression && dataColumns >= 2;
    page.variablesEnabled = regression ? dataColumns >= 2 : dataColumns >= 1;
    for (int c = 0; c < DataColumns; ++c) {
        if (!HasRawColumnData(table, c)) continue;
        const std::string text = ColumnEntryText(table, c);
        const bool isDependent = c == choices.dependentColumn;
        page.dependentEntries.push_back({c, text, isDependent});
        if (regression && isDependent) continue;
        page.variableEntries.push_back(
            {c, text, choices.include[static_cast<std::size_t>(c)] != 0});
    }
    return page;
}

void SetAllIncludeFlags(MultipleRegressionChoices& choices,
                        const std::vector<ColumnEntry>& entries, bool include) {
    for (const ColumnEntry& e : entries) {
        if (e.column >= 0 && e.column < DataColumns) {
            choices.include[static_cast<std::size_t>(e.column)] = include ? 1 : 0;
        }
    }
}

// The test as a whole -------------------------------------------------------------------

ChooseTestPage PageOfTest(ChosenTest test) {
    switch (test) {
        case ChosenTest::OneSampleT:
        case ChosenTest::Wilcoxon: return ChooseTestPage::OneColumn;
        case ChosenTest::UnpairedT:
        case ChosenTest::WelchT:
        case ChosenTest::PairedT:
        case ChosenTest::MannWhitney:
        case ChosenTest::WilcoxonPairs: return ChooseTestPage::TwoColumns;
        case ChosenTest::OneWayAnova:
        case ChosenTest::RepeatedMeasuresAnova:
        case ChosenTest::KruskalWallis:
        case ChosenTest::Friedman: return ChooseTestPage::ThreeOrMoreColumns;
        case ChosenTest::LinearRegression:
        case ChosenTest::Pearson:
        case ChosenTest::Spearman: return ChooseTestPage::Fit;
        case ChosenTest::MultipleRegression:
        case ChosenTest::CorrelationMatrix: return ChooseTestPage::MultipleRegression;
        case ChosenTest::Fisher:
        case ChosenTest::ChiSquare:
        case ChosenTest::McNemar: return ChooseTestPage::TwoByTwo;
        case ChosenTest::Contingency: return ChooseTestPage::None;
    }
    return ChooseTestPage::None;
}

std::optional<ChosenTest> ChosenTestOf(ChooseTestPage page, const AnalysisChoices& choices) {
    const ColumnAnalysisChoices& cc = choices.columns;
    switch (page) {
        case ChooseTestPage::None: return ChosenTest::Contingency;
        case ChooseTestPage::OneColumn:
            return cc.oneColumnNonparametric != 0 ? ChosenTest::Wilcoxon : ChosenTest::OneSampleT;
        case ChooseTestPage::TwoColumns:
            if (cc.unpaired == 0) {
                return cc.twoColumnNonparametric != 0 ? ChosenTest::WilcoxonPairs
                                                      : ChosenTest::PairedT;
            }
            switch (GaussianChoiceOf(cc)) {
                case GaussianChoice::Nonparametric: return ChosenTest::MannWhitney;
                case GaussianChoice::Student: return ChosenTest::UnpairedT;
                case GaussianChoice::Welch: return ChosenTest::WelchT;
            }
            break;
        case ChooseTestPage::ThreeOrMoreColumns:
            if (cc.unmatched != 0) {
                return cc.multiColumnNonparametric != 0 ? ChosenTest::KruskalWallis
                                                        : ChosenTest::OneWayAnova;
            }
            return cc.multiColumnNonparametric != 0 ? ChosenTest::Friedman
                                                    : ChosenTest::RepeatedMeasuresAnova;
        case ChooseTestPage::Fit:
            switch (FitChoiceOf(choices.xy)) {
                case FitChoice::LinearRegression:
                case FitChoice::ForcedRegression: return ChosenTest::LinearRegression;
                case FitChoice::Pearson: return ChosenTest::Pearson;
                case FitChoice::Spearman: return ChosenTest::Spearman;
                case FitChoice::None: break;
            }
            break;
        case ChooseTestPage::TwoByTwo:
            switch (TwoByTwoTestFromFile(choices.twoByTwo.test)) {
                case TwoByTwoTest::ChiSquare: return ChosenTest::ChiSquare;
                case TwoByTwoTest::McNemar: return ChosenTest::McNemar;
                default: return ChosenTest::Fisher;
            }
        case ChooseTestPage::MultipleRegression:
            return choices.multipleRegression.kind == MultipleRegressionKind::CorrelationMatrix
                       ? ChosenTest::CorrelationMatrix
                       : ChosenTest::MultipleRegression;
    }
    return std::nullopt;
}

bool TestOffered(ChosenTest test, DataFormat format, const DataTable& table) {
    switch (test) {
        case ChosenTest::Wilcoxon: return !AveragedDataRestriction(format, table);
        case ChosenTest::PairedT: return PairingEnabled(format, table);
        case ChosenTest::MannWhitney: return TwoColumnNonparametricEnabled(format, table);
        case ChosenTest::WilcoxonPairs:
            return PairingEnabled(format, table) && TwoColumnNonparametricEnabled(format, table);
        case ChosenTest::RepeatedMeasuresAnova: return RepeatedMeasuresEnabled(format, table);
        case ChosenTest::KruskalWallis: return MultiColumnNonparametricEnabled(format, table);
        case ChosenTest::Friedman:
            return RepeatedMeasuresEnabled(format, table) && MultiColumnNonparametricEnabled(format, table);
        default: return true;
    }
}

void ChooseTest(AnalysisChoices& choices, ChosenTest test) {
    ColumnAnalysisChoices& cc = choices.columns;
    const auto twoColumns = [&cc](bool paired, GaussianChoice gaussian) {
        ChoosePairing(cc, paired);
        ChooseGaussian(cc, gaussian);
    };
    const auto multiColumns = [&cc](bool matched, bool nonparametric) {
        cc.unmatched = matched ? 0 : 1;
        cc.multiColumnNonparametric = nonparametric ? 1 : 0;
    };
    switch (test) {
        case ChosenTest::OneSampleT: cc.oneColumnNonparametric = 0; break;
        case ChosenTest::Wilcoxon: cc.oneColumnNonparametric = 1; break;
        case ChosenTest::UnpairedT: twoColumns(false, GaussianChoice::Student); break;
        case ChosenTest::WelchT: twoColumns(false, GaussianChoice::Welch); break;
        case ChosenTest::PairedT: twoColumns(true, GaussianChoice::Student); break;
        case ChosenTest::MannWhitney: twoColumns(false, GaussianChoice::Nonparametric); break;
        case ChosenTest::WilcoxonPairs: twoColumns(true, GaussianChoice::Nonparametric); break;
        case ChosenTest::OneWayAnova: multiColumns(false, false); break;
        case ChosenTest::RepeatedMeasuresAnova: multiColumns(true, false); break;
        case ChosenTest::KruskalWallis: multiColumns(false, true); break;
        case ChosenTest::Friedman: multiColumns(true, true); break;
        case ChosenTest::LinearRegression: ChooseFit(choices.xy, FitChoice::LinearRegression); break;
        case ChosenTest::Pearson: ChooseFit(choices.xy, FitChoice::Pearson); break;
        case ChosenTest::Spearman: ChooseFit(choices.xy, FitChoice::Spearman); break;
        case ChosenTest::MultipleRegression:
            choices.multipleRegression.kind = MultipleRegressionKind::MultipleRegression;
            break;
        case ChosenTest::CorrelationMatrix:
            choices.multipleRegression.kind = MultipleRegressionKind::CorrelationMatrix;
            break;
        case ChosenTest::Fisher: choices.twoByTwo.test = TwoByTwoTest::Fisher; break;
        case ChosenTest::ChiSquare: choices.twoByTwo.test = TwoByTwoTest::ChiSquare; break;
        case ChosenTest::McNemar: choices.twoByTwo.test = TwoByTwoTest::McNemar; break;
        case ChosenTest::Contingency: break;
    }
}

}  // namespace zelkon

