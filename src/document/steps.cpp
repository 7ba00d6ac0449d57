// Steps, the start page's families and test lists, and the preparation of step 4.
#include "document/steps.h"

#include <array>

#include "document/choice_texts.h"
#include "document/choose_test.h"
#include "document/column_selection.h"

namespace zelkon {
namespace {

constexpr std::array<StepInfo, 6> StepTable = {{
    {Step::Start, "Start", "First step. Choose data format.", "&1st. Data Format", "Shift+F1"},
    {Step::DataTable, "Data Table", "Enter and edit data.", "&Enter && Edit Data", "Shift+F2"},
    {Step::SummaryStats, "Summary Stats", "Summary stats (SD, SEM, etc.)", "&Column Stats",
     "Shift+F3"},
    {Step::ChooseTest, "Choose Test", "Select a statistical test.", "C&hoose Test", "Shift+F4"},
    {Step::Results, "Results", "View the results.", "&Results", "Shift+F5"},
    {Step::Graph, "Graph", "View a simple graph.", "&Graph", "Shift+F6"},
}};

constexpr int FirstStep = static_cast<int>(Step::Start);
constexpr int LastStep = static_cast<int>(Step::Graph);

constexpr std::array<DataFormat, 3> CompareMeansFormats = {
    DataFormat::Raw, DataFormat::MeanSDN, DataFormat::MeanSEMN};
constexpr std::array<DataFormat, 2> RegressionFormats = {DataFormat::XY,
                                                         DataFormat::MultipleRegression};
constexpr std::array<DataFormat, 2> ContingencyFormats = {DataFormat::TwoByTwo,
                                                          DataFormat::LargerTable};

constexpr std::array<std::string_view, 2> CompareMeansExample = {
    "Compare blood pressures of two or more groups, ",
    "or compare BP of one group with a theoretical value."};
constexpr std::array<std::string_view, 2> RegressionExample = {
    "How does blood pressure vary with age? For multiple",
    "regression, how does BP vary with age and weight? "};
constexpr std::array<std::string_view, 2> ContingencyExample = {
    "Compare numbers of pregnant and nonpregnant", "women in two age groups."};

constexpr std::array<std::string_view, 5> XYTests = {
    "Linear regression", "Interpolate unknown values", "Linear (Pearson) correlation",
    "Spearman nonparametric correlation", "Constrained linear regression"};
constexpr std::array<std::string_view, 15> RawTests = {
    "1 group:",          "One sample t test",       "Wilcoxon rank sum test",
    "2 groups:",         "Unpaired t test",         "Paired t test.",
    "Welch's corrected t test", "Mann-Whitney test", "Wilcoxon matched pairs test",
    "3-26 groups:",      "One-way ANOVA",           "Repeated measures ANOVA",
    "Kruskal-Wallis test", "Friedman test",         "(All with post tests)"};
constexpr std::array<std::string_view, 7> AveragedTests = {
    "1 group:",     "One sample t test",        "2 groups:",
    "Unpaired t test", "Welch's corrected t test", "3-26 groups:",
    "One-way ANOVA (with post tests)"};
constexpr std::array<std::string_view, 7> TwoByTwoTests = {
    "Chi-square test ",
    "Chi-square test with Yate's correction",
    "Fisher's exact test",
    "Relative risk (with 95% CI)",
    "Odds ratio (with 95% CI)",
    "Difference of two proportions (with 95% CI)",
    "Sensitivity, specificity, etc. with 95% CI"};
constexpr std::array<std::string_view, 2> LargerTableTests = {"Chi-square test for independence",
                                                              "Chi-square test for trend"};
constexpr std::array<std::string_view, 2> MultipleRegressionTests = {"Multiple regression",
                                                                     "Correlation matrix"};

}  // namespace

std::span<const StepInfo> StepInfos() { return StepTable; }

const StepInfo& StepInfoOf(Step step) {
    return StepTable[static_cast<std::size_t>(static_cast<int>(step) - FirstStep)];
}

bool StepEnabled(DataFormat format, Step step) {
    switch (step) {
        case Step::Start:
        case Step::Results:
        case Step::Graph: return true;
        case Step::DataTable:
            return format != DataFormat::MeanSDN && format != DataFormat::MeanSEMN;
        case Step::SummaryStats:
            return format == DataFormat::Raw || format == DataFormat::MeanSDN ||
                   format == DataFormat::MeanSEMN || format == DataFormat::MultipleRegression;
        case Step::ChooseTest: return format != DataFormat::LargerTable;
    }
    return false;
}

std::optional<Step> NextStep(DataFormat format, Step current, bool calculating) {
    if (calculating) return std::nullopt;
    for (int s = static_cast<int>(current) + 1; s <= LastStep; ++s) {
        if (StepEnabled(format, static_cast<Step>(s))) return static_cast<Step>(s);
    }
    return std::nullopt;
}

std::optional<Step> PreviousStep(DataFormat format, Step current, bool calculating) {
    if (calculating) return std::nullopt;
    for (int s = static_cast<int>(current) - 1; s >= FirstStep; --s) {
        if (StepEnabled(format, static_cast<Step>(s))) return static_cast<Step>(s);
    }
    return std::nullopt;
}

bool NextStepButtonEnabled(Step current) { return current != Step::Graph; }
bool PreviousStepButtonEnabled(Step current) { return current != Step::Start; }

// Start page ----------------------------------------------------------------------------

std::string_view FamilyCaption(FormatFamily family) {
    switch (family) {
        case FormatFamily::CompareMeans: return texts::CompareMeansFamily;
        case FormatFamily::Regression: return texts::RegressionFamily;
        case FormatFamily::Contingency: return texts::ContingencyFamily;
    }
    return {};
}

std::span<const DataFormat> FamilyFormats(FormatFamily family) {
    switch (family) {
        case FormatFamily::CompareMeans: return CompareMeansFormats;
        case FormatFamily::Regression: return RegressionFormats;
        case FormatFamily::Contingency: return ContingencyFormats;
    }
    return {};
}

FormatFamily FamilyOf(DataFormat format) {
    switch (format) {
        case DataFormat::XY:
        case DataFormat::MultipleRegression: return FormatFamily::Regression;
        case DataFormat::TwoByTwo:
        case DataFormat::LargerTable: return FormatFamily::Contingency;
        default: return FormatFamily::CompareMeans;
    }
}

std::span<const std::string_view> FamilyExampleLines(FormatFamily family) {
    switch (family) {
        case FormatFamily::CompareMeans: return CompareMeansExample;
        case FormatFamily::Regression: return RegressionExample;
        case FormatFamily::Contingency: return ContingencyExample;
    }
    return {};
}

bool FormatEnabled(DataFormat format, FormatFamily family, bool tableHasData) {
    if (FamilyOf(format) != family) return false;
    return !(IsAveragedFormat(format) && tableHasData);
}

DataFormat FormatAfterDataCheck(DataFormat format, bool tableHasData) {
    return IsAveragedFormat(format) && tableHasData ? DataFormat::Raw : format;
}

std::span<const std::string_view> FormatTestList(DataFormat format) {
    switch (format) {
        case DataFormat::XY: return XYTests;
        case DataFormat::Raw: return RawTests;
        case DataFormat::MeanSDN:
        case DataFormat::MeanSEMN: return AveragedTests;
        case DataFormat::TwoByTwo: return TwoByTwoTests;
        case DataFormat::LargerTable: return LargerTableTests;
        case DataFormat::MultipleRegression: return MultipleRegressionTests;
    }
    return {};
}

// Step 4 --------------------------------------------------------------------------------

std::uint8_t ColumnCountClass(int selectedDataColumns) {
    if (selectedDataColumns <= 0) return 0;
    return static_cast<std::uint8_t>(selectedDataColumns >= 3 ? 3 : selectedDataColumns);
}

ChooseTestPage ColumnPageOf(std::uint8_t columnCountClass) {
    if (columnCountClass == 1) return ChooseTestPage::OneColumn;
    if (columnCountClass == 2) return ChooseTestPage::TwoColumns;
    return ChooseTestPage::ThreeOrMoreColumns;
}

void UpdateDataColumnBookkeeping(DataTable& table, AnalysisChoices& choices) {
    const int count = CountDataColumns(table);
    if (count > choices.dataColumnCountSeen && choices.allColumns != 0) {
        SelectColumnsWithData(table);
    }
    if (count < choices.dataColumnCountSeen) choices.allColumns = 0;
    choices.dataColumnCountSeen = count;
}

void RecountDataColumns(const DataTable& table, AnalysisChoices& choices) {
    choices.dataColumnCountSeen = CountDataColumns(table);
}

ChooseTestPage ChooseTestPageOf(DataFormat format, const AnalysisChoices& choices) {
    switch (format) {
        case DataFormat::XY: return ChooseTestPage::Fit;
        case DataFormat::TwoByTwo: return ChooseTestPage::TwoByTwo;
        case DataFormat::LargerTable: return ChooseTestPage::None;
        case DataFormat::MultipleRegression: return ChooseTestPage::MultipleRegression;
        case DataFormat::Raw:
        case DataFormat::MeanSDN:
        case DataFormat::MeanSEMN: break;
    }
    return ColumnPageOf(choices.columns.columnCountClass);
}

ChooseTestPage SetUpChooseTest(DataFormat format, DataTable& table, AnalysisChoices& choices,
                               const std::function<void()>& updateColumnStatistics) {
    switch (format) {
        case DataFormat::XY: return ChooseTestPage::Fit;
        case DataFormat::TwoByTwo: return ChooseTestPage::TwoByTwo;
        case DataFormat::LargerTable: return ChooseTestPage::None;
        case DataFormat::MultipleRegression:
            if (updateColumnStatistics) updateColumnStatistics();
            EnsureDependentColumn(table, choices.multipleRegression);
            return ChooseTestPage::MultipleRegression;
        case DataFormat::Raw:
        case DataFormat::MeanSDN:
        case DataFormat::MeanSEMN: break;
    }

    if (format == DataFormat::Raw && updateColumnStatistics) updateColumnStatistics();
    if (CountSelectedDataColumns(table) == 0) SelectColumnsWithData(table);
    UpdateDataColumnBookkeeping(table, choices);

    ColumnAnalysisChoices& columns = choices.columns;
    columns.columnCountClass = ColumnCountClass(CountSelectedDataColumns(table));
    const ChooseTestPage page = ColumnPageOf(columns.columnCountClass);
    switch (page) {
        case ChooseTestPage::OneColumn: PrepareOneColumnPage(format, table, columns); break;
        case ChooseTestPage::TwoColumns: PrepareTwoColumnPage(format, table, columns); break;
        default:
            EnsureControlColumn(table, columns);
            PrepareThreeColumnPage(format, table, columns);
            break;
    }
    return page;
}

}  // namespace zelkon
