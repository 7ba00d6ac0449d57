// Column selection: the "Selected: " text, counts, pair order, the column and pair dialogs
// and the control column.  Expected texts and indices are worked out by hand from the
// selection rules (letters of the selected data columns, runs compressed; pairs in the
// order (1,2), (1,3), ..., (2,3), ...).
#include "document/column_selection.h"

#include <gtest/gtest.h>

#include "core/column_data_helpers.h"

namespace zelkon {
namespace {

using test::AddAveragedColumn;
using test::AddRawColumn;

DataTable TableWithData(std::initializer_list<int> columns) {
    DataTable t;
    for (int c : columns) AddRawColumn(t, c, {1, 2, 3});
    return t;
}

TEST(SelectedColumnsText, CompressesRunsOfConsecutiveColumns) {
    EXPECT_EQ(SelectedColumnsText(TableWithData({0, 1, 2, 4})), "A-C,E");
    EXPECT_EQ(SelectedColumnsText(TableWithData({0, 1})), "A&&B");
    EXPECT_EQ(SelectedColumnsText(TableWithData({2})), "C");
    EXPECT_EQ(SelectedColumnsText(TableWithData({0, 1, 3, 5, 6, 7, 8})), "A&&B,D,F-I");
    EXPECT_EQ(SelectedColumnsText(TableWithData({0, 2, 4})), "A,C,E");
    EXPECT_EQ(SelectedColumnsText(TableWithData({24, 25})), "Y&&Z");
    DataTable all;
    for (int c = 0; c < DataColumns; ++c) AddRawColumn(all, c, {1});
    EXPECT_EQ(SelectedColumnsText(all), "A-Z");
}

TEST(SelectedColumnsText, CountsOnlySelectedColumnsWithData) {
    // Every column is selected by default; columns without data do not appear.
    DataTable empty;
    EXPECT_EQ(SelectedColumnsText(empty), "");
    DataTable t = TableWithData({0, 1, 2, 3});
    t.SetSelected(1, false);
    EXPECT_EQ(SelectedColumnsText(t), "A,C&&D");
    for (int c = 0; c < 4; ++c) t.SetSelected(c, false);
    EXPECT_EQ(SelectedColumnsText(t), "");
}

TEST(ColumnCounts, AveragedColumnsCountAsDataColumns) {
    DataTable t = TableWithData({0, 3});
    AddAveragedColumn(t, 2);  // mean 5, SD 1, N 10, no raw data
    t.SetSelected(3, false);
    EXPECT_EQ(CountDataColumns(t), 3);
    EXPECT_EQ(CountSelectedDataColumns(t), 2);
    EXPECT_EQ(SelectedDataColumns(t), (std::vector<int>{0, 2}));
    EXPECT_TRUE(IsAveragedColumn(t, 2));
    EXPECT_FALSE(IsAveragedColumn(t, 0));
    EXPECT_TRUE(HasRawColumnData(t, 0));
    EXPECT_FALSE(HasRawColumnData(t, 2));
}

TEST(ColumnCounts, SelectColumnsWithDataDeselectsEmptyColumns) {
    DataTable t = TableWithData({0, 2});
    t.SetSelected(2, false);
    SelectColumnsWithData(t);
    for (int c = 0; c < DataColumns; ++c) EXPECT_EQ(t.Selected(c), c == 0 || c == 2) << c;
}

TEST(PairOrder, IndicesFollowFirstColumnThenSecond) {
    // m = 4: (0,1) (0,2) (0,3) (1,2) (1,3) (2,3) are pairs 0 to 5.
    EXPECT_EQ(PairCount(4), 6);
    EXPECT_EQ(PairIndex(0, 1, 4), 0);
    EXPECT_EQ(PairIndex(0, 3, 4), 2);
    EXPECT_EQ(PairIndex(1, 2, 4), 3);
    EXPECT_EQ(PairIndex(1, 3, 4), 4);
    EXPECT_EQ(PairIndex(2, 3, 4), 5);
    // m = 26: 325 pairs, the last (24,25) is pair 324; (1,2) follows the 25 pairs of column 0.
    EXPECT_EQ(PairCount(26), 325);
    EXPECT_EQ(PairIndex(24, 25, 26), 324);
    EXPECT_EQ(PairIndex(1, 2, 26), 25);
    EXPECT_EQ(PairCount(1), 0);
    EXPECT_EQ(PairCount(0), 0);
}

TEST(PairOrder, PairsOfTheSelectedDataColumns) {
    DataTable t = TableWithData({1, 2, 3, 4});
    t.SetSelected(2, false);  // B, D, E remain
    const std::vector<ColumnPair> pairs = SelectedPairs(t);
    ASSERT_EQ(pairs.size(), 3u);
    EXPECT_EQ(pairs[0].first, 1);
    EXPECT_EQ(pairs[0].second, 3);
    EXPECT_EQ(pairs[1].first, 1);
    EXPECT_EQ(pairs[1].second, 4);
    EXPECT_EQ(pairs[2].first, 3);
    EXPECT_EQ(pairs[2].second, 4);
}

TEST(ColumnDialog, ListsColumnsWithDataAndRefusesAnEmptySelection) {
    DataTable t;
    AddRawColumn(t, 0, {1, 2}, "Control");
    AddRawColumn(t, 1, {3, 4});
    AddRawColumn(t, 3, {5, 6}, "Drug");
    t.SetSelected(1, false);

    std::vector<ColumnEntry> entries = ColumnDialogEntries(t);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "A: Control");
    EXPECT_TRUE(entries[0].checked);
    EXPECT_EQ(entries[1].text, "B: ");
    EXPECT_FALSE(entries[1].checked);
    EXPECT_EQ(entries[2].column, 3);
    EXPECT_EQ(entries[2].text, "D: Drug");

    for (auto& e : entries) e.checked = false;
    EXPECT_EQ(ApplyColumnDialog(t, entries), "At least one column must be selected.");
    EXPECT_TRUE(t.Selected(0));  // nothing changed
    EXPECT_FALSE(t.Selected(1));

    entries[1].checked = true;  // only B
    EXPECT_EQ(ApplyColumnDialog(t, entries), "");
    EXPECT_FALSE(t.Selected(0));
    EXPECT_TRUE(t.Selected(1));
    EXPECT_FALSE(t.Selected(3));
    EXPECT_TRUE(t.Selected(2));  // a column without data is not listed and keeps its flag
    EXPECT_EQ(SelectedColumnsText(t), "B");
}

TEST(PairDialog, EntriesInPairOrderAndFlagsBeyondTheListCleared) {
    DataTable t;
    AddRawColumn(t, 0, {1}, "x");
    AddRawColumn(t, 1, {2}, "y");
    AddRawColumn(t, 2, {3});
    ColumnAnalysisChoices c;
    c.pairFlags[1] = 0;

    std::vector<PairEntry> entries = PairDialogEntries(t, c);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "A:x-B:y");
    EXPECT_EQ(entries[1].text, "A:x-C:");
    EXPECT_EQ(entries[2].text, "B:y-C:");
    EXPECT_TRUE(entries[0].checked);
    EXPECT_FALSE(entries[1].checked);
    EXPECT_TRUE(entries[2].checked);

    for (auto& e : entries) e.checked = false;
    EXPECT_EQ(ApplyPairDialog(c, entries), "At least one column pair must be selected.");
    EXPECT_EQ(c.pairFlags[0], 1);  // nothing changed
    EXPECT_EQ(c.pairFlags[3], 1);

    entries[1].checked = true;
    EXPECT_EQ(ApplyPairDialog(c, entries), "");
    EXPECT_EQ(c.pairFlags[0], 0);
    EXPECT_EQ(c.pairFlags[1], 1);
    EXPECT_EQ(c.pairFlags[2], 0);
    for (std::size_t k = 3; k < c.pairFlags.size(); ++k) EXPECT_EQ(c.pairFlags[k], 0) << k;
}

TEST(ControlColumn, BecomesTheFirstSelectedDataColumnWhenNotSelected) {
    DataTable t;
    AddRawColumn(t, 0, {1}, "Ctl");
    AddRawColumn(t, 1, {2});
    AddRawColumn(t, 2, {3}, "Dose");
    ColumnAnalysisChoices c;

    c.controlColumn = 2;  // selected with data: kept
    EnsureControlColumn(t, c);
    EXPECT_EQ(c.controlColumn, 2);

    c.controlColumn = 5;  // F holds no data
    EnsureControlColumn(t, c);
    EXPECT_EQ(c.controlColumn, 0);

    t.SetSelected(0, false);
    EnsureControlColumn(t, c);  // A no longer selected
    EXPECT_EQ(c.controlColumn, 1);

    c.controlColumn = 40;  // out of range from a damaged file
    EnsureControlColumn(t, c);
    EXPECT_EQ(c.controlColumn, 1);

    c.controlColumn = 2;
    const std::vector<ColumnEntry> list = ControlColumnEntries(t, c);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].text, "B: ");
    EXPECT_FALSE(list[0].checked);
    EXPECT_EQ(list[1].text, "C: Dose");
    EXPECT_TRUE(list[1].checked);
}

}  // namespace
}  // namespace zelkon
