// Tests of the sheet's editing operations: typed values with their decimals rules and the
// averaged-data question, row titles, clear, exclude, insert and delete.
#include "data/sheet_editing.h"

#include <gtest/gtest.h>

#include "core/stored_number.h"
#include "data/scripted_prompts.h"
#include "stats/column_stats.h"

namespace zelkon {
namespace {

constexpr Separators Point{'.', ','};
constexpr Separators Comma{',', ';'};

class SheetEditingTest : public ::testing::Test {
protected:
    DataTable& Table() { return doc.Table(); }
    // A raw value as the sheet would hold it.
    void Put(int row, int column, Extended v) {
        Table().SetValue(row, column, v);
        Table().SetNoRawData(column, false);
    }
    // Column c typed as mean 5, SD 1, N 10 with no raw values.
    void MakeAveraged(int c) {
        ColumnRecord& r = Table().Record(c);
        r.n = 10;
        r.mean = 5;
        r.sd = 1;
        r.sem = MissingValue;
    }

    Document doc;
    test::ScriptedPrompts prompts;
};

// Typing -------------------------------------------------------------------------------------

TEST_F(SheetEditingTest, TypedDecimalsRaiseTheColumnAndRedrawIt) {
    // A column showing 1 decimal takes 12.345 and then shows 3; a value with fewer decimals
    // redraws only its cell.
    TypedValueResult r = PostTypedValue(doc, 0, 0, "1.5", Point, prompts);
    EXPECT_TRUE(r.stored);
    EXPECT_EQ(r.redraw, SheetRedraw::Column);
    EXPECT_EQ(Table().Decimals(0), 1);
    r = PostTypedValue(doc, 1, 0, "12.345", Point, prompts);
    EXPECT_EQ(r.redraw, SheetRedraw::Column);
    EXPECT_EQ(Table().Decimals(0), 3);
    EXPECT_EQ(Table().Value(1, 0), 12.345L);
    r = PostTypedValue(doc, 2, 0, "2.25", Point, prompts);
    EXPECT_EQ(r.redraw, SheetRedraw::Cell);
    EXPECT_EQ(Table().Decimals(0), 3);
    EXPECT_FALSE(Table().NoRawData(0));
    EXPECT_TRUE(doc.Modified());
}

TEST_F(SheetEditingTest, TypedTextIsReadWithTheUsersSeparatorAndBlanksRemoved) {
    PostTypedValue(doc, 0, 0, "1,5", Comma, prompts);
    PostTypedValue(doc, 1, 0, "1 234,25", Comma, prompts);
    PostTypedValue(doc, 2, 0, "2.5", Comma, prompts);  // "." is read as well
    PostTypedValue(doc, 3, 0, "1,5", Point, prompts);  // not a number with "." as separator
    PostTypedValue(doc, 4, 0, "-3E2", Point, prompts);
    EXPECT_EQ(Table().Value(0, 0), 1.5L);
    EXPECT_EQ(Table().Value(1, 0), 1234.25L);
    EXPECT_EQ(Table().Value(2, 0), 2.5L);
    EXPECT_TRUE(Table().IsMissing(3, 0));
    EXPECT_EQ(Table().Value(4, 0), -300.0L);
}

TEST_F(SheetEditingTest, TheMissingValueMarkerAndBeyondAreRefusedNotEmptied) {
    Put(0, 0, 4);
    doc.SetModified(false);
    for (const char* text : {"1.7E38", "-1.7e38", "2E38", "1E5000"}) {
        const TypedValueResult r = PostTypedValue(doc, 0, 0, text, Point, prompts);
        EXPECT_FALSE(r.stored) << text;
        EXPECT_EQ(r.redraw, SheetRedraw::Cell) << text;
        EXPECT_EQ(Table().Value(0, 0), 4.0L) << text;
    }
    ASSERT_EQ(prompts.told.size(), 4u);
    EXPECT_EQ(prompts.told[0],
              "The number is too large. Values must lie between -1.7E38 and 1.7E38.");
    EXPECT_FALSE(doc.Modified());
    EXPECT_TRUE(PostTypedValue(doc, 0, 0, "1.69E38", Point, prompts).stored);
}

TEST_F(SheetEditingTest, UnchangedValueDoesNothingAndEmptyTextErases) {
    Put(0, 0, 1.5);
    doc.SetModified(false);
    const TypedValueResult same = PostTypedValue(doc, 0, 0, "1.50", Point, prompts);
    EXPECT_FALSE(same.stored);
    EXPECT_EQ(same.redraw, SheetRedraw::None);
    EXPECT_FALSE(doc.Modified());
    PostTypedValue(doc, 0, 0, "", Point, prompts);
    EXPECT_TRUE(Table().IsMissing(0, 0));
    EXPECT_TRUE(doc.Modified());
    PostTypedValue(doc, 1, 0, "abc", Point, prompts);
    EXPECT_TRUE(Table().IsMissing(1, 0));
}

TEST_F(SheetEditingTest, TypingIntoAveragedColumnAsksFirst) {
    MakeAveraged(2);
    prompts.answers = {PromptAnswer::No, PromptAnswer::Yes};
    TypedValueResult r = PostTypedValue(doc, 0, 2, "3", Point, prompts);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0],
              "Column C contains data entered as mean and error. You cannot enter raw data "
              "without erasing the mean data. Erase mean data?");
    EXPECT_EQ(prompts.buttons[0], PromptButtons::YesNo);
    EXPECT_FALSE(r.stored);
    EXPECT_EQ(r.redraw, SheetRedraw::Cell);  // the cell shows its old text again
    EXPECT_TRUE(Table().IsMissing(0, 2));
    EXPECT_EQ(Table().Record(2).mean, 5.0L);

    r = PostTypedValue(doc, 0, 2, "3", Point, prompts);
    EXPECT_TRUE(r.stored);
    EXPECT_EQ(Table().Value(0, 2), 3.0L);
    EXPECT_TRUE(IsMissingValue(Table().Record(2).mean));
    EXPECT_TRUE(IsMissingValue(Table().Record(2).sd));
    EXPECT_FALSE(Table().NoRawData(2));
}

TEST_F(SheetEditingTest, FixedDisplayFormatStillKeepsTheTypedDigitsForTheFile) {
    // The data file writes cells with the column's decimal places, so typing 1.2345 under a
    // fixed 2-decimal display must still raise them, or saving would round the value.
    Table().SetDisplayFormat(1, 2);
    const TypedValueResult r = PostTypedValue(doc, 0, 1, "1.2345", Point, prompts);
    EXPECT_EQ(r.redraw, SheetRedraw::Cell);
    EXPECT_EQ(Table().DisplayFormat(1), 2);
    EXPECT_EQ(Table().Decimals(1), 4);
    EXPECT_EQ(FormatCellText(Table().Value(0, 1), Table().Decimals(1)), "1.2345");
}

TEST_F(SheetEditingTest, FixedDisplayFormatNarrowsForWideValues) {
    // 10 shown decimals plus the 6 integer digits of 123456.5 pass 14: the format becomes 8.
    Table().SetDisplayFormat(3, 10);
    const TypedValueResult r = PostTypedValue(doc, 0, 3, "123456.5", Point, prompts);
    EXPECT_EQ(Table().DisplayFormat(3), 8);
    EXPECT_EQ(r.redraw, SheetRedraw::Column);
    // A value in exponent form counts nothing.
    Table().SetDisplayFormat(4, -1);
    PostTypedValue(doc, 0, 4, "1E-5", Point, prompts);
    EXPECT_EQ(Table().Decimals(4), 0);
}

TEST(CellEditorTest, AcceptedCharactersAndLength) {
    for (char c : std::string("0123456789.,-Ee")) EXPECT_TRUE(AcceptsCellCharacter(c)) << c;
    for (char c : std::string("+ aZ#*/")) EXPECT_FALSE(AcceptsCellCharacter(c)) << c;
    EXPECT_FALSE(AcceptsCellCharacter('.', true));
    EXPECT_FALSE(AcceptsCellCharacter(',', true));
    EXPECT_TRUE(AcceptsCellCharacter('7', true));
    EXPECT_TRUE(CellEditorHasRoom(13, false));
    EXPECT_FALSE(CellEditorHasRoom(14, false));
    EXPECT_TRUE(CellEditorHasRoom(14, true));
}

TEST(IntegerEntryTest, MessagesForBadAndOutOfRangeNumbers) {
    std::int64_t value = -1;
    EXPECT_EQ(CheckIntegerEntry("12x", 1, 26, value), "The number is not valid.");
    EXPECT_EQ(CheckIntegerEntry("27", 1, 26, value), "The number is out of range.");
    EXPECT_EQ(CheckIntegerEntry("0", 1, 26, value), "The number is out of range.");
    EXPECT_EQ(value, -1);
    EXPECT_FALSE(CheckIntegerEntry(" 26 ", 1, 26, value).has_value());
    EXPECT_EQ(value, 26);
}

TEST_F(SheetEditingTest, RowTitleIsCutToTenCharacters) {
    EnterRowTitle(doc, 4, "Mouse A with a long name");
    EXPECT_EQ(Table().RowTitle(4), "Mouse A wi");
    EXPECT_TRUE(doc.Modified());
}

// Clear ---------------------------------------------------------------------------------------

TEST_F(SheetEditingTest, ClearEverythingEmptiesTableAndRecordsButKeepsTitles) {
    Put(0, 0, 1);
    Put(5, 3, 2);
    Table().Record(0).title = "Weight";
    MakeAveraged(4);
    Table().SetSelected(3, false);
    UpdateColumnSummaries(Table());
    ASSERT_EQ(Table().Record(0).n, 1);

    EXPECT_TRUE(ClearSelection(doc, Selection::All()));
    EXPECT_FALSE(Table().HasData());
    for (int c = 0; c < DataColumns; ++c) {
        EXPECT_EQ(Table().Record(c).n, 0) << c;
        EXPECT_TRUE(IsMissingValue(Table().Record(c).mean)) << c;
        EXPECT_TRUE(Table().NoRawData(c)) << c;
        EXPECT_TRUE(Table().Selected(c)) << c;
    }
    EXPECT_EQ(Table().Record(0).title, "Weight");
}

TEST_F(SheetEditingTest, ClearingAColumnsLastValuesLeavesNoStaleSummary) {
    // Column A's summary (N = 3) must not survive as if it were averaged data once its values
    // are gone; column B is untouched.
    for (int r = 0; r < 3; ++r) Put(r, 0, r + 1);
    Put(0, 1, 7);
    UpdateColumnSummaries(Table());
    ASSERT_EQ(Table().Record(0).n, 3);

    EXPECT_TRUE(ClearSelection(doc, Selection::Block(0, 0, 2, 0)));
    EXPECT_TRUE(Table().NoRawData(0));
    EXPECT_EQ(Table().Record(0).n, 0);
    UpdateColumnSummaries(Table());
    EXPECT_FALSE(HoldsAveragedData(Table(), 0));
    EXPECT_EQ(Table().Record(0).n, 0);
    EXPECT_EQ(Table().Record(1).n, 1);
    EXPECT_EQ(doc.Data().DataColumnCount(), 1);
}

TEST_F(SheetEditingTest, ClearingEmptyCellsOfAnAveragedColumnKeepsItsData) {
    MakeAveraged(2);
    doc.SetModified(false);
    EXPECT_FALSE(ClearSelection(doc, Selection::Block(0, 0, 10, 5)));
    EXPECT_EQ(Table().Record(2).n, 10);
    EXPECT_EQ(Table().Record(2).mean, 5.0L);
    EXPECT_FALSE(doc.Modified());
}

// Exclude -------------------------------------------------------------------------------------

TEST_F(SheetEditingTest, ExcludeTogglesTheWholeBlock) {
    for (int r = 0; r < 3; ++r) Put(r, 0, r);
    // Row 3 is empty and can never be excluded.
    ToggleExclusion(doc, Selection::Block(0, 0, 3, 0));
    for (int r = 0; r < 3; ++r) EXPECT_TRUE(Table().IsExcluded(r, 0)) << r;
    EXPECT_FALSE(Table().IsExcluded(3, 0));
    // One excluded value in the block: every value is included again.
    Table().SetExcluded(0, 0, false);
    Table().SetExcluded(2, 0, false);
    ToggleExclusion(doc, Selection::Block(0, 0, 2, 0));
    for (int r = 0; r < 3; ++r) EXPECT_FALSE(Table().IsExcluded(r, 0)) << r;
    EXPECT_TRUE(doc.Modified());
}

// Insert and delete ---------------------------------------------------------------------------

TEST_F(SheetEditingTest, ShiftingCellsMovesValuesWithTheirMarks) {
    for (int r = 0; r < 5; ++r) Put(r, 1, r + 1);  // B: 1 2 3 4 5
    Put(0, 0, 9);
    Table().SetExcluded(1, 1, true);  // the 2
    InsertCells(doc, Selection::Block(1, 1, 2, 1), ShiftMode::ShiftCells);
    const Extended expected[] = {1, MissingValue, MissingValue, 2, 3, 4, 5};
    for (int r = 0; r < 7; ++r) EXPECT_EQ(Table().Value(r, 1), expected[r]) << r;
    EXPECT_TRUE(Table().IsExcluded(3, 1));
    EXPECT_FALSE(Table().IsExcluded(1, 1));
    EXPECT_EQ(Table().Value(0, 0), 9.0L);
    EXPECT_TRUE(Table().IsMissing(1, 0));

    DeleteCells(doc, Selection::Block(1, 1, 2, 1), ShiftMode::ShiftCells);
    for (int r = 0; r < 5; ++r) EXPECT_EQ(Table().Value(r, 1), r + 1.0L) << r;
    EXPECT_TRUE(Table().IsMissing(5, 1));
    EXPECT_TRUE(Table().IsExcluded(1, 1));
}

TEST_F(SheetEditingTest, EntireRowsAndValuesPushedPastTheLastRow) {
    for (int r = 0; r < 3; ++r) {
        Put(r, 0, r + 1);
        Put(r, 2, 10 * (r + 1));
    }
    Put(SheetRows - 1, 3, 42);
    InsertCells(doc, Selection::Rows(1, 1), ShiftMode::EntireRows);
    EXPECT_EQ(Table().Value(0, 0), 1.0L);
    EXPECT_TRUE(Table().IsMissing(1, 0));
    EXPECT_TRUE(Table().IsMissing(1, 2));
    EXPECT_EQ(Table().Value(2, 0), 2.0L);
    EXPECT_EQ(Table().Value(3, 2), 30.0L);
    // The value on the sheet's last row was pushed off the sheet: lost, not hidden below it.
    EXPECT_TRUE(Table().IsMissing(SheetRows - 1, 3));
    EXPECT_TRUE(Table().IsMissing(SheetRows, 3));
    EXPECT_TRUE(Table().NoRawData(3));

    DeleteCells(doc, Selection::Rows(0, 1), ShiftMode::EntireRows);
    EXPECT_EQ(Table().Value(0, 0), 2.0L);
    EXPECT_EQ(Table().Value(1, 2), 30.0L);
    EXPECT_TRUE(Table().IsMissing(2, 0));
}

TEST_F(SheetEditingTest, EntireColumnsMoveWithTheirSettingsAndRecords) {
    Put(0, 0, 1.25);
    Table().Record(0).title = "X";
    Table().SetDecimals(0, 2);
    Table().SetDisplayFormat(0, 3);
    MakeAveraged(1);
    Table().SetSelected(1, false);

    InsertCells(doc, Selection::Columns(0, 0), ShiftMode::EntireColumns);
    EXPECT_TRUE(Table().IsMissing(0, 0));
    EXPECT_EQ(Table().Record(0).title, "");
    EXPECT_EQ(Table().Decimals(0), 0);
    EXPECT_EQ(Table().DisplayFormat(0), -1);
    EXPECT_TRUE(Table().Selected(0));
    EXPECT_EQ(Table().Value(0, 1), 1.25L);
    EXPECT_EQ(Table().Record(1).title, "X");
    EXPECT_EQ(Table().Decimals(1), 2);
    EXPECT_EQ(Table().DisplayFormat(1), 3);
    // The averaged data went along with their column.
    EXPECT_TRUE(HoldsAveragedData(Table(), 2));
    EXPECT_EQ(Table().Record(2).mean, 5.0L);
    EXPECT_FALSE(Table().Selected(2));
    EXPECT_FALSE(HoldsAveragedData(Table(), 1));

    DeleteCells(doc, Selection::Columns(0, 0), ShiftMode::EntireColumns);
    EXPECT_EQ(Table().Value(0, 0), 1.25L);
    EXPECT_EQ(Table().Record(0).title, "X");
    EXPECT_TRUE(HoldsAveragedData(Table(), 1));
    EXPECT_EQ(Table().Record(25).n, 0);
}

TEST(ShiftModeTest, SelectionsThatNeedNoDialog) {
    EXPECT_EQ(ShiftModeForSelection(SelectionKind::WholeRows), ShiftMode::EntireRows);
    EXPECT_EQ(ShiftModeForSelection(SelectionKind::WholeColumns), ShiftMode::EntireColumns);
    EXPECT_EQ(ShiftModeForSelection(SelectionKind::Everything), ShiftMode::EntireColumns);
    EXPECT_FALSE(ShiftModeForSelection(SelectionKind::Block).has_value());
}

}  // namespace
}  // namespace zelkon
