// Tests of the data table: cells, exclusion marks, extents, column map and accessor.
#include "core/data_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

namespace zelkon {
namespace {

// The table is large (about 450 KB); keep it off the stack.
std::unique_ptr<DataTable> NewTable() { return std::make_unique<DataTable>(); }

TEST(DataTableTest, FreshTableIsEmptyWithDefaults) {
    auto t = NewTable();
    EXPECT_TRUE(t->IsMissing(0, 0));
    EXPECT_TRUE(t->IsMissing(1000, 25));
    EXPECT_EQ(t->LastRow(), 0);
    EXPECT_EQ(t->LastColumn(), 0);
    EXPECT_TRUE(t->IsEmptyFlag());
    EXPECT_FALSE(t->HasDataFlag());
    EXPECT_FALSE(t->HasData());
    for (int c = 0; c < DataColumns; ++c) {
        EXPECT_TRUE(t->Selected(c));
        EXPECT_TRUE(t->NoRawData(c));
        EXPECT_FALSE(t->Changed(c));
        EXPECT_EQ(t->Decimals(c), 0);
        EXPECT_EQ(t->DisplayFormat(c), -1);
        EXPECT_TRUE(t->IsAutomaticFormat(c));
        EXPECT_EQ(t->Record(c).n, 0);
    }
    EXPECT_EQ(t->RowTitle(0), "1");
    EXPECT_EQ(t->RowTitle(999), "1000");
    EXPECT_EQ(t->RowTitle(1000), "1001");
    EXPECT_EQ(t->DataTitle(), "");
    EXPECT_FALSE(t->ColumnMapActive());
    EXPECT_FALSE(t->AnalysisMode());
}

TEST(DataTableTest, StoreSetsFlagsAndChanged) {
    auto t = NewTable();
    t->SetValue(3, 2, 4.5L);
    EXPECT_EQ(t->Value(3, 2), 4.5L);
    EXPECT_FALSE(t->IsEmptyFlag());
    EXPECT_TRUE(t->HasDataFlag());
    EXPECT_TRUE(t->HasData());
    EXPECT_TRUE(t->Changed(2));
    EXPECT_FALSE(t->Changed(1));
    // Storing does not touch the no-raw-data flag: that is the data set's business.
    EXPECT_TRUE(t->NoRawData(2));
}

TEST(DataTableTest, ExclusionMarks) {
    auto t = NewTable();
    // Excluding an empty cell leaves it unexcluded.
    t->SetExcluded(0, 0, true);
    EXPECT_FALSE(t->IsExcluded(0, 0));
    EXPECT_FALSE(t->Changed(0));

    t->SetValue(0, 0, 7.0L);
    t->SetChanged(0, false);
    t->SetExcluded(0, 0, true);
    EXPECT_TRUE(t->IsExcluded(0, 0));
    EXPECT_TRUE(t->Changed(0));
    // The value is kept (saved, shown, exported) but analyses read it as missing.
    EXPECT_EQ(t->Value(0, 0), 7.0L);
    EXPECT_EQ(t->AnalysisValue(0, 0), MissingValue);

    // Storing MissingValue clears the mark; a new value is then not excluded.
    t->SetValue(0, 0, MissingValue);
    EXPECT_FALSE(t->IsExcluded(0, 0));
    t->SetValue(0, 0, 8.0L);
    EXPECT_FALSE(t->IsExcluded(0, 0));
    EXPECT_EQ(t->AnalysisValue(0, 0), 8.0L);

    // Replacing an excluded value by another value keeps the mark.
    t->SetExcluded(0, 0, true);
    t->SetValue(0, 0, 9.0L);
    EXPECT_TRUE(t->IsExcluded(0, 0));
    t->SetExcluded(0, 0, false);
    EXPECT_EQ(t->AnalysisValue(0, 0), 9.0L);
}

TEST(DataTableTest, ExtentsRiseWithStores) {
    auto t = NewTable();
    t->SetValue(4, 1, 1.0L);
    EXPECT_EQ(t->LastRow(), 4);
    EXPECT_EQ(t->LastColumn(), 1);
    t->SetValue(2, 5, 1.0L);
    EXPECT_EQ(t->LastRow(), 4);
    EXPECT_EQ(t->LastColumn(), 5);
    t->SetValue(1000, 0, 1.0L);  // the row only the file reader reaches
    EXPECT_EQ(t->LastRow(), 1000);
    EXPECT_EQ(t->LastColumn(), 5);
    // Storing a missing value beyond the extents does not raise them.
    t->SetValue(1000, 25, MissingValue);
    EXPECT_EQ(t->LastColumn(), 5);
}

TEST(DataTableTest, ExtentsShrinkWhenDefiningValueRemoved) {
    auto t = NewTable();
    t->SetNoRawData(0, false);
    t->SetValue(0, 0, 1.0L);
    t->SetValue(2, 0, 1.0L);
    t->SetValue(9, 3, 1.0L);
    t->SetValue(5, 3, 1.0L);
    EXPECT_EQ(t->LastRow(), 9);
    EXPECT_EQ(t->LastColumn(), 3);

    // Removing a value that defines nothing changes nothing.
    t->SetValue(2, 0, MissingValue);
    EXPECT_EQ(t->LastRow(), 9);

    // The last row walks back over empty rows 8 to 6 to row 5.
    t->SetValue(9, 3, MissingValue);
    EXPECT_EQ(t->LastRow(), 5);
    EXPECT_EQ(t->LastColumn(), 3);  // column D still holds row 5

    // Column D emptied: walk back over the empty no-raw-data columns C and B to A.
    t->SetValue(5, 3, MissingValue);
    EXPECT_EQ(t->LastRow(), 0);
    EXPECT_EQ(t->LastColumn(), 0);

    t->SetValue(0, 0, MissingValue);
    EXPECT_EQ(t->LastRow(), 0);
    EXPECT_EQ(t->LastColumn(), 0);
    EXPECT_FALSE(t->HasData());
}

TEST(DataTableTest, ColumnWalkStopsAtRawColumnEvenWhenEmpty) {
    auto t = NewTable();
    t->SetNoRawData(2, false);  // column C had raw data typed, now empty
    t->SetValue(0, 0, 1.0L);
    t->SetValue(0, 4, 1.0L);
    t->SetValue(0, 4, MissingValue);
    EXPECT_EQ(t->LastColumn(), 2);
}

// Values can reach a column without its no-raw-data flag being cleared (an analysis
// writing through the accessor, a transform).  Removing one value of the last column must
// not move the extent below a column that still holds data, or the file writer would drop
// that column.
TEST(DataTableTest, ColumnWalkNeverPassesAColumnThatHoldsValues) {
    auto t = NewTable();
    t->SetNoRawData(0, false);
    t->SetValue(0, 0, 1.0L);
    t->SetValue(0, 2, 2.0L);  // column C, flag still "no raw data"
    t->SetValue(0, 4, 3.0L);  // column E, flag still "no raw data"
    t->SetValue(1, 4, 4.0L);
    EXPECT_EQ(t->LastColumn(), 4);
    t->SetValue(1, 4, MissingValue);
    EXPECT_EQ(t->LastColumn(), 4);  // E still holds row 0
    t->SetValue(0, 4, MissingValue);
    EXPECT_EQ(t->LastColumn(), 2);  // C holds a value
    EXPECT_EQ(t->LastRow(), 0);
}

TEST(DataTableTest, ExtentTrackingOffLeavesExtents) {
    auto t = NewTable();
    t->SetExtentTracking(false);
    t->SetValue(7, 7, 1.0L);
    EXPECT_EQ(t->LastRow(), 0);
    EXPECT_EQ(t->LastColumn(), 0);
    EXPECT_TRUE(t->HasDataFlag());
    const auto [row, column] = t->FindExtent();
    EXPECT_EQ(row, 7);
    EXPECT_EQ(column, 7);
    EXPECT_EQ(t->LastRow(), 7);
    EXPECT_EQ(t->LastColumn(), 7);
}

TEST(DataTableTest, FindExtentScansEveryCellAndSetsEmptiness) {
    auto t = NewTable();
    t->SetValue(12, 1, 1.0L);
    t->SetValue(3, 20, 1.0L);
    t->SetLastRow(0);
    t->SetLastColumn(0);
    const auto [row, column] = t->FindExtent();
    EXPECT_EQ(row, 12);
    EXPECT_EQ(column, 20);
    EXPECT_FALSE(t->IsEmptyFlag());

    t->SetExtentTracking(false);
    t->SetValue(12, 1, MissingValue);
    t->SetValue(3, 20, MissingValue);
    EXPECT_FALSE(t->IsEmptyFlag());  // only a full recount notices
    const auto [r2, c2] = t->FindExtent();
    EXPECT_EQ(r2, 0);
    EXPECT_EQ(c2, 0);
    EXPECT_TRUE(t->IsEmptyFlag());
}

TEST(DataTableTest, HasDataFindsValuesAnywhere) {
    const int cells[][2] = {{0, 0}, {1000, 0}, {0, 25}, {1000, 25}, {500, 13}};
    for (const auto& cell : cells) {
        auto t = NewTable();
        t->SetValue(cell[0], cell[1], 0.0L);  // zero is a value, not emptiness
        EXPECT_TRUE(t->HasData()) << cell[0] << "," << cell[1];
    }
}

TEST(DataTableTest, ClearEmptiesCellsMarksAndExtents) {
    auto t = NewTable();
    t->SetValue(5, 5, 1.0L);
    t->SetExcluded(5, 5, true);
    t->SetAnalysisValue(5, ScratchColumn, 2.0L);
    t->Clear();
    EXPECT_TRUE(t->IsMissing(5, 5));
    EXPECT_FALSE(t->IsExcluded(5, 5));
    EXPECT_EQ(t->AnalysisValue(5, ScratchColumn), MissingValue);
    EXPECT_EQ(t->LastRow(), 0);
    EXPECT_EQ(t->LastColumn(), 0);
    EXPECT_TRUE(t->IsEmptyFlag());
    EXPECT_FALSE(t->HasDataFlag());
    // Re-excluding after the clear is refused: the cell is empty.
    t->SetExcluded(5, 5, true);
    EXPECT_FALSE(t->IsExcluded(5, 5));
}

TEST(DataTableTest, ScratchColumnIsSeparateFromUserData) {
    auto t = NewTable();
    t->SetAnalysisValue(10, ScratchColumn, 3.25L);
    EXPECT_EQ(t->AnalysisValue(10, ScratchColumn), 3.25L);
    EXPECT_EQ(t->Value(10, ScratchColumn), MissingValue);  // not a data cell
    EXPECT_FALSE(t->HasData());
    EXPECT_EQ(t->LastRow(), 0);
    for (int c = 0; c < DataColumns; ++c) EXPECT_FALSE(t->Changed(c));
    // The scratch column reads the same with the map active and in analysis mode.
    t->BuildColumnMap();
    t->SetAnalysisMode(true);
    EXPECT_EQ(t->AnalysisValue(10, ScratchColumn), 3.25L);
}

TEST(DataTableTest, AnalysisModeHidesUnselectedColumns) {
    auto t = NewTable();
    t->SetValue(0, 1, 5.0L);
    t->SetSelected(1, false);
    EXPECT_EQ(t->AnalysisValue(0, 1), 5.0L);  // outside analysis mode
    t->SetAnalysisMode(true);
    EXPECT_EQ(t->AnalysisValue(0, 1), MissingValue);
    t->SetSelected(1, true);
    EXPECT_EQ(t->AnalysisValue(0, 1), 5.0L);
}

TEST(DataTableTest, ColumnMapFromBAndD) {
    auto t = NewTable();
    for (int r = 0; r < 3; ++r) {
        t->SetValue(r, 1, 10.0L + r);  // B
        t->SetValue(r, 2, 20.0L + r);  // C, has data but unselected
        t->SetValue(r, 3, 30.0L + r);  // D
    }
    t->Record(1).n = 3;
    t->Record(2).n = 3;
    t->Record(3).n = 3;
    t->SetSelected(2, false);
    EXPECT_EQ(t->LastColumn(), 3);

    t->BuildColumnMap();
    EXPECT_TRUE(t->ColumnMapActive());
    EXPECT_EQ(t->MappedColumnCount(), 2);
    EXPECT_EQ(t->LastColumn(), 1);
    EXPECT_EQ(t->MappedColumn(0), 1);
    EXPECT_EQ(t->MappedColumn(1), 3);
    EXPECT_EQ(t->AnalysisValue(0, 0), 10.0L);
    EXPECT_EQ(t->AnalysisValue(2, 1), 32.0L);
    EXPECT_EQ(t->AnalysisValue(0, 2), MissingValue);  // beyond the map
    EXPECT_EQ(t->AnalysisValue(0, -1), MissingValue);

    // Writing through the accessor lands in the column that is read back.
    t->SetAnalysisValue(5, 1, 99.0L);
    EXPECT_EQ(t->Value(5, 3), 99.0L);
    EXPECT_EQ(t->AnalysisValue(5, 1), 99.0L);
    EXPECT_TRUE(t->IsMissing(5, 1));

    t->ResetColumnMap();
    EXPECT_FALSE(t->ColumnMapActive());
    EXPECT_EQ(t->LastColumn(), 3);
    EXPECT_EQ(t->AnalysisValue(0, 0), MissingValue);  // column A itself
}

TEST(DataTableTest, ColumnMapWithNoDataColumnsIsEmpty) {
    auto t = NewTable();
    t->BuildColumnMap();
    EXPECT_TRUE(t->ColumnMapActive());
    EXPECT_EQ(t->LastColumn(), -1);
    EXPECT_EQ(t->AnalysisValue(0, 0), MissingValue);
}

TEST(DataTableTest, OutOfRangeAccessIsHarmless) {
    auto t = NewTable();
    const int bad[][2] = {{-1, 0}, {DataRows, 0}, {0, -1}, {0, ScratchColumn + 1}, {0, 1000},
                          {70000, 3}};
    for (const auto& cell : bad) {
        t->SetValue(cell[0], cell[1], 1.0L);
        t->SetExcluded(cell[0], cell[1], true);
        EXPECT_EQ(t->Value(cell[0], cell[1]), MissingValue);
        EXPECT_FALSE(t->IsExcluded(cell[0], cell[1]));
        t->SetAnalysisValue(cell[0], cell[1], 1.0L);
        EXPECT_EQ(t->AnalysisValue(cell[0], cell[1]), MissingValue);
    }
    t->SetValue(0, ScratchColumn, 1.0L);  // the scratch column is not a data cell
    EXPECT_EQ(t->Value(0, ScratchColumn), MissingValue);
    EXPECT_EQ(t->AnalysisValue(0, ScratchColumn), MissingValue);
    t->SetAnalysisValue(DataRows, ScratchColumn, 1.0L);
    EXPECT_EQ(t->AnalysisValue(DataRows, ScratchColumn), MissingValue);
    EXPECT_FALSE(t->HasData());
    EXPECT_TRUE(t->IsEmptyFlag());
    EXPECT_EQ(t->LastRow(), 0);
    EXPECT_EQ(t->LastColumn(), 0);

    t->Record(DataColumns).n = 5;
    EXPECT_EQ(t->Record(DataColumns).n, 0);
    t->Record(-1).mean = 3.0L;
    EXPECT_EQ(std::as_const(*t).Record(-1).mean, MissingValue);
    t->SetSelected(30, false);
    EXPECT_FALSE(t->Selected(30));
    t->SetDecimals(-2, 4);
    EXPECT_EQ(t->Decimals(-2), 0);
    EXPECT_EQ(t->DisplayFormat(26), -1);
    t->SetRowTitle(DataRows, "x");
    EXPECT_EQ(t->RowTitle(DataRows), "");
    EXPECT_EQ(t->RowTitle(-1), "");
    t->SetLastRow(5000);
    EXPECT_EQ(t->LastRow(), 1000);
    t->SetLastColumn(40);
    EXPECT_EQ(t->LastColumn(), 25);
}

TEST(DataTableTest, TitlesAreCutAndSanitised) {
    auto t = NewTable();
    t->SetRowTitle(2, "Mouse A with a long name");
    EXPECT_EQ(t->RowTitle(2), "Mouse A wi");
    std::string styled = "a";
    styled += static_cast<char>(128);
    styled += "b";
    styled += static_cast<char>(0xE9);  // e acute stays
    t->SetRowTitle(3, styled);
    EXPECT_EQ(t->RowTitle(3), std::string("a?b") + static_cast<char>(0xE9));
    t->SetDataTitle(std::string(300, 'x'));
    EXPECT_EQ(t->DataTitle().size(), 255u);
    t->SetDataTitle(std::string(1, static_cast<char>(130)));
    EXPECT_EQ(t->DataTitle(), "?");
    EXPECT_EQ(DataTable::DefaultRowTitle(41), "42");
}

TEST(DataTableTest, ResetAllRestoresTheNewDocumentState) {
    auto t = NewTable();
    t->SetValue(3, 3, 1.0L);
    t->SetExcluded(3, 3, true);
    t->SetNoRawData(3, false);
    t->SetDecimals(3, 4);
    t->SetDisplayFormat(3, 2);
    t->SetSelected(3, false);
    t->Record(3).n = 1;
    t->Record(3).title = "Dose";
    t->Record(3).passed = true;
    t->SetRowTitle(0, "First");
    t->SetDataTitle("Experiment");
    t->SetAnalysisMode(true);
    t->BuildColumnMap();

    t->ResetAll();
    EXPECT_TRUE(t->IsMissing(3, 3));
    EXPECT_FALSE(t->IsExcluded(3, 3));
    EXPECT_TRUE(t->NoRawData(3));
    EXPECT_FALSE(t->Changed(3));
    EXPECT_EQ(t->Decimals(3), 0);
    EXPECT_EQ(t->DisplayFormat(3), -1);
    EXPECT_TRUE(t->Selected(3));
    EXPECT_EQ(t->Record(3).n, 0);
    EXPECT_EQ(t->Record(3).title, "");
    EXPECT_FALSE(t->Record(3).passed);
    EXPECT_EQ(t->Record(3).mean, MissingValue);
    EXPECT_EQ(t->RowTitle(0), "1");
    EXPECT_EQ(t->DataTitle(), "");
    EXPECT_FALSE(t->AnalysisMode());
    EXPECT_FALSE(t->ColumnMapActive());
    EXPECT_TRUE(t->IsEmptyFlag());
}

}  // namespace
}  // namespace zelkon
