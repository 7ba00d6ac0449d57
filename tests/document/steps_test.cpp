// Steps and the preparation of step 4.  Expected values come from the table of steps
// available per data format, the family table of the start page, and the column rules of
// step 4 (column count class, the all-columns bookkeeping), each worked out by hand.
#include "document/steps.h"

#include <gtest/gtest.h>

#include <array>

#include "core/column_data_helpers.h"
#include "document/column_selection.h"

namespace zelkon {
namespace {

using test::AddAveragedColumn;
using test::AddRawColumn;
using test::RemoveColumnData;

TEST(Steps, AvailabilityByDataFormat) {
    struct Row {
        DataFormat format;
        bool data, stats, choose;
    };
    const std::array<Row, 7> rows = {{
        {DataFormat::XY, true, false, true},
        {DataFormat::Raw, true, true, true},
        {DataFormat::MeanSDN, false, true, true},
        {DataFormat::MeanSEMN, false, true, true},
        {DataFormat::TwoByTwo, true, false, true},
        {DataFormat::LargerTable, true, false, false},
        {DataFormat::MultipleRegression, true, true, true},
    }};
    for (const Row& r : rows) {
        const int f = static_cast<int>(r.format);
        EXPECT_TRUE(StepEnabled(r.format, Step::Start)) << f;
        EXPECT_EQ(StepEnabled(r.format, Step::DataTable), r.data) << f;
        EXPECT_EQ(StepEnabled(r.format, Step::SummaryStats), r.stats) << f;
        EXPECT_EQ(StepEnabled(r.format, Step::ChooseTest), r.choose) << f;
        EXPECT_TRUE(StepEnabled(r.format, Step::Results)) << f;
        EXPECT_TRUE(StepEnabled(r.format, Step::Graph)) << f;
    }
}

TEST(Steps, NextAndPreviousSkipDisabledSteps) {
    EXPECT_EQ(NextStep(DataFormat::Raw, Step::Start), Step::DataTable);
    EXPECT_EQ(NextStep(DataFormat::XY, Step::DataTable), Step::ChooseTest);
    EXPECT_EQ(NextStep(DataFormat::MeanSDN, Step::Start), Step::SummaryStats);
    EXPECT_EQ(NextStep(DataFormat::LargerTable, Step::DataTable), Step::Results);
    EXPECT_EQ(NextStep(DataFormat::TwoByTwo, Step::Results), Step::Graph);
    EXPECT_EQ(NextStep(DataFormat::Raw, Step::Graph), std::nullopt);

    EXPECT_EQ(PreviousStep(DataFormat::XY, Step::ChooseTest), Step::DataTable);
    EXPECT_EQ(PreviousStep(DataFormat::MeanSEMN, Step::SummaryStats), Step::Start);
    EXPECT_EQ(PreviousStep(DataFormat::LargerTable, Step::Results), Step::DataTable);
    EXPECT_EQ(PreviousStep(DataFormat::MultipleRegression, Step::Results), Step::ChooseTest);
    EXPECT_EQ(PreviousStep(DataFormat::Raw, Step::Start), std::nullopt);

    // While a calculation runs the commands are ignored.
    EXPECT_EQ(NextStep(DataFormat::Raw, Step::Start, true), std::nullopt);
    EXPECT_EQ(PreviousStep(DataFormat::Raw, Step::Graph, true), std::nullopt);

    EXPECT_FALSE(PreviousStepButtonEnabled(Step::Start));
    EXPECT_TRUE(PreviousStepButtonEnabled(Step::DataTable));
    EXPECT_TRUE(NextStepButtonEnabled(Step::Results));
    EXPECT_FALSE(NextStepButtonEnabled(Step::Graph));
}

TEST(StartPage, FamiliesEnableTheirFormats) {
    const auto means = FamilyFormats(FormatFamily::CompareMeans);
    ASSERT_EQ(means.size(), 3u);
    EXPECT_EQ(means[0], DataFormat::Raw);  // checked when the family is chosen
    EXPECT_EQ(FamilyFormats(FormatFamily::Regression)[0], DataFormat::XY);
    EXPECT_EQ(FamilyFormats(FormatFamily::Contingency)[0], DataFormat::TwoByTwo);
    EXPECT_EQ(FamilyOf(DataFormat::MultipleRegression), FormatFamily::Regression);
    EXPECT_EQ(FamilyOf(DataFormat::LargerTable), FormatFamily::Contingency);
    EXPECT_EQ(FamilyOf(DataFormat::MeanSEMN), FormatFamily::CompareMeans);

    EXPECT_TRUE(FormatEnabled(DataFormat::MeanSDN, FormatFamily::CompareMeans, false));
    EXPECT_FALSE(FormatEnabled(DataFormat::MeanSDN, FormatFamily::CompareMeans, true));
    EXPECT_FALSE(FormatEnabled(DataFormat::MeanSEMN, FormatFamily::CompareMeans, true));
    EXPECT_TRUE(FormatEnabled(DataFormat::Raw, FormatFamily::CompareMeans, true));
    EXPECT_FALSE(FormatEnabled(DataFormat::XY, FormatFamily::CompareMeans, false));
    EXPECT_EQ(FormatAfterDataCheck(DataFormat::MeanSEMN, true), DataFormat::Raw);
    EXPECT_EQ(FormatAfterDataCheck(DataFormat::MeanSEMN, false), DataFormat::MeanSEMN);
    EXPECT_EQ(FormatAfterDataCheck(DataFormat::XY, true), DataFormat::XY);

    EXPECT_EQ(FamilyExampleLines(FormatFamily::Regression)[1],
              "regression, how does BP vary with age and weight? ");
    EXPECT_EQ(FamilyCaption(FormatFamily::Contingency), "Analyze a contingency table");
}

TEST(StartPage, TestListsPerFormat) {
    const auto raw = FormatTestList(DataFormat::Raw);
    ASSERT_EQ(raw.size(), 15u);
    EXPECT_EQ(raw[0], "1 group:");
    EXPECT_EQ(raw[5], "Paired t test.");
    EXPECT_EQ(raw[9], "3-26 groups:");
    EXPECT_EQ(raw[14], "(All with post tests)");
    const auto averaged = FormatTestList(DataFormat::MeanSDN);
    ASSERT_EQ(averaged.size(), 7u);
    EXPECT_EQ(averaged[6], "One-way ANOVA (with post tests)");
    EXPECT_EQ(FormatTestList(DataFormat::TwoByTwo)[0], "Chi-square test ");
    EXPECT_EQ(FormatTestList(DataFormat::XY).size(), 5u);
    EXPECT_EQ(FormatTestList(DataFormat::LargerTable)[1], "Chi-square test for trend");
    EXPECT_EQ(FormatTestList(DataFormat::MultipleRegression)[1], "Correlation matrix");
}

TEST(ChooseTest, ColumnCountClassAndPage) {
    EXPECT_EQ(ColumnCountClass(0), 0);
    EXPECT_EQ(ColumnCountClass(1), 1);
    EXPECT_EQ(ColumnCountClass(2), 2);
    EXPECT_EQ(ColumnCountClass(3), 3);
    EXPECT_EQ(ColumnCountClass(26), 3);
    EXPECT_EQ(ColumnPageOf(0), ChooseTestPage::ThreeOrMoreColumns);
    EXPECT_EQ(ColumnPageOf(1), ChooseTestPage::OneColumn);
    EXPECT_EQ(ColumnPageOf(2), ChooseTestPage::TwoColumns);
    EXPECT_EQ(ColumnPageOf(3), ChooseTestPage::ThreeOrMoreColumns);
}

TEST(SetUpChooseTest, ThreeColumnsThenOneSelectedInTheDialog) {
    DataTable t;
    AddRawColumn(t, 0, {1, 2});
    AddRawColumn(t, 1, {3, 4});
    AddRawColumn(t, 2, {5, 6});
    AnalysisChoices c;
    EXPECT_EQ(SetUpChooseTest(DataFormat::Raw, t, c), ChooseTestPage::ThreeOrMoreColumns);
    EXPECT_EQ(c.columns.columnCountClass, 3);
    EXPECT_EQ(SelectedColumnsText(t), "A-C");

    std::vector<ColumnEntry> entries = ColumnDialogEntries(t);
    for (auto& e : entries) e.checked = e.column == 1;
    ASSERT_EQ(ApplyColumnDialog(t, entries), "");
    EXPECT_EQ(SetUpChooseTest(DataFormat::Raw, t, c), ChooseTestPage::OneColumn);
    EXPECT_EQ(c.columns.columnCountClass, 1);
    EXPECT_EQ(SelectedColumnsText(t), "B");
}

TEST(SetUpChooseTest, AllColumnsFollowsNewAndDeletedColumns) {
    DataTable t;
    AddRawColumn(t, 0, {1, 2});
    AddRawColumn(t, 1, {3, 4});
    AddRawColumn(t, 2, {5, 6});
    AnalysisChoices c;
    SetUpChooseTest(DataFormat::Raw, t, c);
    EXPECT_EQ(c.dataColumnCountSeen, 3);
    t.SetSelected(2, false);
    EXPECT_EQ(SetUpChooseTest(DataFormat::Raw, t, c), ChooseTestPage::TwoColumns);

    AddRawColumn(t, 3, {7, 8});  // a new column D: all four are selected again
    EXPECT_EQ(SetUpChooseTest(DataFormat::Raw, t, c), ChooseTestPage::ThreeOrMoreColumns);
    EXPECT_EQ(SelectedColumnsText(t), "A-D");
    EXPECT_EQ(c.allColumns, 1);
    EXPECT_EQ(c.dataColumnCountSeen, 4);

    RemoveColumnData(t, 3);  // deleting D's data clears the all-columns flag
    SetUpChooseTest(DataFormat::Raw, t, c);
    EXPECT_EQ(c.allColumns, 0);
    EXPECT_EQ(c.dataColumnCountSeen, 3);

    // Without the flag a new column is not selected: E was deselected, having no data,
    // when every column with data was selected above.
    t.SetSelected(2, false);
    AddRawColumn(t, 4, {9});
    SetUpChooseTest(DataFormat::Raw, t, c);
    EXPECT_EQ(SelectedColumnsText(t), "A&&B");
    EXPECT_EQ(c.dataColumnCountSeen, 4);
}

TEST(SetUpChooseTest, NoSelectedDataColumnSelectsEveryColumnWithData) {
    DataTable t;
    AddRawColumn(t, 1, {1, 2});
    AddRawColumn(t, 3, {3, 4});
    t.SetSelected(1, false);
    t.SetSelected(3, false);
    AnalysisChoices c;
    c.allColumns = 0;
    EXPECT_EQ(SetUpChooseTest(DataFormat::Raw, t, c), ChooseTestPage::TwoColumns);
    EXPECT_EQ(SelectedColumnsText(t), "B,D");
}

TEST(SetUpChooseTest, EmptyTableShowsTheMultiColumnPageWithClassZero) {
    DataTable t;
    AnalysisChoices c;
    c.columns.columnCountClass = 2;
    EXPECT_EQ(SetUpChooseTest(DataFormat::Raw, t, c), ChooseTestPage::ThreeOrMoreColumns);
    EXPECT_EQ(c.columns.columnCountClass, 0);
}

TEST(SetUpChooseTest, ColumnStatisticsComeFirstForRawDataOnly) {
    // The update fills N the way the column statistics would; the class must see it.
    DataTable t;
    t.SetValue(0, 0, 1);
    t.SetValue(0, 1, 2);
    t.SetNoRawData(0, false);
    t.SetNoRawData(1, false);
    int calls = 0;
    auto update = [&] {
        ++calls;
        t.Record(0).n = 1;
        t.Record(1).n = 1;
    };
    AnalysisChoices c;
    EXPECT_EQ(SetUpChooseTest(DataFormat::Raw, t, c, update), ChooseTestPage::TwoColumns);
    EXPECT_EQ(calls, 1);

    DataTable averaged;
    AddAveragedColumn(averaged, 0);
    AnalysisChoices d;
    d.columns.unpaired = 0;
    int averagedCalls = 0;
    EXPECT_EQ(SetUpChooseTest(DataFormat::MeanSDN, averaged, d, [&] { ++averagedCalls; }),
              ChooseTestPage::OneColumn);
    EXPECT_EQ(averagedCalls, 0);
    AddAveragedColumn(averaged, 1);
    EXPECT_EQ(SetUpChooseTest(DataFormat::MeanSDN, averaged, d), ChooseTestPage::TwoColumns);
    EXPECT_EQ(d.columns.unpaired, 1);  // averaged data cannot be paired
}

TEST(SetUpChooseTest, ControlColumnMadeASelectedDataColumn) {
    DataTable t;
    for (int col = 0; col < 4; ++col) AddRawColumn(t, col, {1, 2});
    t.SetSelected(0, false);
    AnalysisChoices c;
    c.dataColumnCountSeen = 4;  // no new columns: the selection stays
    c.columns.controlColumn = 0;
    SetUpChooseTest(DataFormat::Raw, t, c);
    EXPECT_EQ(c.columns.controlColumn, 1);
}

TEST(SetUpChooseTest, OtherFormats) {
    DataTable t;
    AddRawColumn(t, 1, {1, 2, 3});
    AddRawColumn(t, 2, {4, 5, 6});
    AnalysisChoices c;
    c.columns.columnCountClass = 1;
    EXPECT_EQ(SetUpChooseTest(DataFormat::XY, t, c), ChooseTestPage::Fit);
    EXPECT_EQ(SetUpChooseTest(DataFormat::TwoByTwo, t, c), ChooseTestPage::TwoByTwo);
    EXPECT_EQ(SetUpChooseTest(DataFormat::LargerTable, t, c), ChooseTestPage::None);
    EXPECT_EQ(c.columns.columnCountClass, 1);  // untouched by these formats

    int calls = 0;
    c.multipleRegression.dependentColumn = 0;  // A holds no data
    EXPECT_EQ(SetUpChooseTest(DataFormat::MultipleRegression, t, c, [&] { ++calls; }),
              ChooseTestPage::MultipleRegression);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(c.multipleRegression.dependentColumn, 1);
}

TEST(RecountDataColumns, RemembersTheCountAfterAFileIsRead) {
    DataTable t;
    AddRawColumn(t, 0, {1});
    AddAveragedColumn(t, 4);
    AnalysisChoices c;
    RecountDataColumns(t, c);
    EXPECT_EQ(c.dataColumnCountSeen, 2);
}

}  // namespace
}  // namespace zelkon
