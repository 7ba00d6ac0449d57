// Option rules of the choose-test pages.
#include "core/choose_test.h"

#include "core/choice_texts.h"

namespace zelkon {

bool AveragedDataRestriction(DataFormat format, const DataTable& table) {
    if (IsAveragedFormat(format) || !table.HasData()) return true;
    for (int c = 0; c < DataColumns; ++c) {
        if (IsAveragedColumn(table, c)) return true;
    }
    return false;
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

}  // namespace zelkon
