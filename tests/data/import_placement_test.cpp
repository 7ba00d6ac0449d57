// Tests of copying an import preview into a document: the current cell, column and row
// ranges, the filter, titles, decimals and exclusions, the averaged-data question, and the
// indexed layout.
#include "data/import_placement.h"

#include <gtest/gtest.h>

#include "core/file_io.h"
#include "data/scripted_prompts.h"
#include "data/selection.h"

namespace zelkon {
namespace {

constexpr Separators Point{'.', ','};

class ImportPlacementTest : public ::testing::Test {
protected:
    DataTable& Table() { return doc.Table(); }
    bool Import(std::string_view text, const ImportOptions& options, int row = 0, int column = 0) {
        const ImportPreview preview = LoadDelimitedText(text, Point);
        return ImportIntoDocument(doc, preview, options, row, column, prompts);
    }

    Document doc;
    test::ScriptedPrompts prompts;
};

// Rows 1 to 6 of a file: 1, 2, 3, 4, 5, 6 in column 1 and ten times that in column 2.
constexpr std::string_view SixRows = "A,B,C\n1,10,100\n2,20,200\n3,30,300\n4,40,400\n5,50,500\n6,60,600\n";

TEST_F(ImportPlacementTest, AllColumnsAtTheCurrentCellWithTitlesAndDecimals) {
    Table().SetDecimals(2, 4);
    ASSERT_TRUE(Import("Weight,Height\n1.25,180\n2.5*,175.5\n", {}, 3, 1));
    EXPECT_EQ(Table().Value(3, 1), 1.25L);
    EXPECT_EQ(Table().Value(4, 1), 2.5L);
    EXPECT_TRUE(Table().IsExcluded(4, 1));
    EXPECT_EQ(Table().Value(4, 2), 175.5L);
    EXPECT_EQ(Table().Record(1).title, "Weight");
    EXPECT_EQ(Table().Record(2).title, "Height");
    EXPECT_EQ(Table().Decimals(1), 2);
    EXPECT_EQ(Table().Decimals(2), 4);  // at least the source's, never lowered
    EXPECT_FALSE(Table().NoRawData(1));
    EXPECT_TRUE(Table().Changed(2));
    EXPECT_TRUE(Table().IsMissing(2, 1));
    EXPECT_TRUE(doc.Modified());
}

TEST_F(ImportPlacementTest, ImportedValuesReplaceOldMarks) {
    Table().SetValue(0, 0, 9);
    Table().SetExcluded(0, 0, true);
    ASSERT_TRUE(Import("5\n", {}));
    EXPECT_EQ(Table().Value(0, 0), 5.0L);
    EXPECT_FALSE(Table().IsExcluded(0, 0));
}

TEST_F(ImportPlacementTest, ColumnRange) {
    ImportOptions options;
    options.columns = ImportColumns::Range;
    options.fromColumn = 2;
    options.toColumn = 3;
    ASSERT_TRUE(Import(SixRows, options));
    EXPECT_EQ(Table().Value(0, 0), 10.0L);
    EXPECT_EQ(Table().Value(5, 1), 600.0L);
    EXPECT_EQ(Table().Record(0).title, "B");
    EXPECT_FALSE(Table().ColumnHasValue(2));
}

TEST_F(ImportPlacementTest, RowRangeKeepsTheDistanceFromTheFirstRow) {
    // Rows 3 to 5 of the file into a sheet at row 1: rows 1 and 2 stay empty.
    ImportOptions options;
    options.rowRange = true;
    options.fromRow = 3;
    options.toRow = 5;
    ASSERT_TRUE(Import(SixRows, options));
    EXPECT_TRUE(Table().IsMissing(0, 0));
    EXPECT_TRUE(Table().IsMissing(1, 0));
    EXPECT_EQ(Table().Value(2, 0), 3.0L);
    EXPECT_EQ(Table().Value(4, 0), 5.0L);
    EXPECT_TRUE(Table().IsMissing(5, 0));
}

TEST_F(ImportPlacementTest, FilteredRowsTakeNoTargetRow) {
    ImportOptions options;
    options.filter = true;
    options.filterColumn = 2;
    options.condition = FilterCondition::Greater;
    options.filterValue = 25;  // the value typed, not a column
    ASSERT_TRUE(Import(SixRows, options));
    EXPECT_EQ(Table().Value(0, 0), 3.0L);
    EXPECT_EQ(Table().Value(3, 0), 6.0L);
    EXPECT_TRUE(Table().IsMissing(4, 0));

    // Filter and row range together: the filter removes file row 3, the range takes rows 4
    // and 5 counted among all rows of the file.
    Document second;
    options.condition = FilterCondition::NotEqual;
    options.filterValue = 30;
    options.rowRange = true;
    options.fromRow = 4;
    options.toRow = 5;
    const ImportPreview preview = LoadDelimitedText(SixRows, Point);
    ASSERT_TRUE(ImportIntoDocument(second, preview, options, 0, 0, prompts));
    // Passing rows 1, 2, 4, 5, 6 take target rows 0 to 4; rows 4 and 5 give values.
    EXPECT_TRUE(second.Table().IsMissing(1, 0));
    EXPECT_EQ(second.Table().Value(2, 0), 4.0L);
    EXPECT_EQ(second.Table().Value(3, 0), 5.0L);
    EXPECT_TRUE(second.Table().IsMissing(4, 0));
}

TEST(FilterTest, ConditionsAndEmptyCells) {
    EXPECT_TRUE(SatisfiesFilter(5, FilterCondition::Equal, 5));
    EXPECT_FALSE(SatisfiesFilter(5, FilterCondition::Greater, 5));
    EXPECT_TRUE(SatisfiesFilter(5, FilterCondition::GreaterOrEqual, 5));
    EXPECT_TRUE(SatisfiesFilter(4, FilterCondition::Less, 5));
    EXPECT_TRUE(SatisfiesFilter(5, FilterCondition::LessOrEqual, 5));
    EXPECT_TRUE(SatisfiesFilter(4, FilterCondition::NotEqual, 5));
    // An empty cell is no number: it is greater than nothing.
    EXPECT_FALSE(SatisfiesFilter(MissingValue, FilterCondition::Greater, 5));
    EXPECT_FALSE(SatisfiesFilter(MissingValue, FilterCondition::GreaterOrEqual, 5));
    EXPECT_TRUE(SatisfiesFilter(MissingValue, FilterCondition::NotEqual, 5));
}

TEST_F(ImportPlacementTest, TargetsPastTheSheetAreDropped) {
    ASSERT_TRUE(Import("1,2,3\n4,5,6\n", {}, SheetRows - 1, 24));
    EXPECT_EQ(Table().Value(SheetRows - 1, 24), 1.0L);
    EXPECT_EQ(Table().Value(SheetRows - 1, 25), 2.0L);
    EXPECT_TRUE(Table().IsMissing(SheetRows, 24));
}

TEST_F(ImportPlacementTest, AveragedTargetColumnIsAskedAbout) {
    ColumnRecord& r = Table().Record(0);
    r.n = 10;
    r.mean = 5;
    r.sd = 1;
    prompts.answers = {PromptAnswer::No};
    EXPECT_FALSE(Import("1\n2\n", {}));
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_FALSE(Table().HasData());
    EXPECT_EQ(Table().Record(0).mean, 5.0L);
    EXPECT_FALSE(doc.Modified());
}

// Indexed -----------------------------------------------------------------------------------------

TEST_F(ImportPlacementTest, IndexedGroupsBecomeColumns) {
    // Groups 1, 2 and 1 with values 10, 20 and 30: column "1" holds 10 and 30, column "2" 20.
    Table().SetValue(7, 5, 99);
    ImportOptions options;
    options.columns = ImportColumns::Indexed;
    options.valueColumn = 2;
    options.groupColumn = 1;
    ASSERT_TRUE(Import("1,10\n2,20\n1,30\n,40\n", options));
    EXPECT_EQ(Table().Record(0).title, "1");
    EXPECT_EQ(Table().Record(1).title, "2");
    EXPECT_EQ(Table().Value(0, 0), 10.0L);
    EXPECT_EQ(Table().Value(1, 0), 30.0L);
    EXPECT_EQ(Table().Value(0, 1), 20.0L);
    EXPECT_TRUE(Table().IsMissing(1, 1));
    EXPECT_FALSE(Table().ColumnHasValue(2));  // the row without a group is skipped
    EXPECT_TRUE(Table().IsMissing(7, 5));     // the sheet was cleared first
}

TEST_F(ImportPlacementTest, IndexedNeedsTwoDifferentColumns) {
    Table().SetValue(0, 0, 1);
    ImportOptions options;
    options.columns = ImportColumns::Indexed;
    options.valueColumn = 1;
    options.groupColumn = 1;
    EXPECT_FALSE(Import("1,2\n", options));
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0],
              "The column with values and the column with group assignments must be different.");
    EXPECT_EQ(Table().Value(0, 0), 1.0L);
}

TEST_F(ImportPlacementTest, IndexedStopsAtTwentySixGroups) {
    std::string text;
    for (int g = 1; g <= 28; ++g) text += std::to_string(g * 1.5) + "," + std::to_string(g) + "\n";
    ImportOptions options;
    options.columns = ImportColumns::Indexed;
    options.valueColumn = 2;
    options.groupColumn = 1;
    ASSERT_TRUE(Import(text, options));
    EXPECT_EQ(Table().Record(25).title, "39");
    EXPECT_EQ(Table().Value(0, 25), 26.0L);
    EXPECT_EQ(Table().Record(1).title, "3");
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0],
              "There are too many groups in this file.Only the first 26 groups will be read.");
}

TEST(GroupTitleTest, TwoDecimalsWithoutTrailingZeros) {
    EXPECT_EQ(GroupTitle(1), "1");
    EXPECT_EQ(GroupTitle(2.5), "2.5");
    EXPECT_EQ(GroupTitle(1.234), "1.23");
    EXPECT_EQ(GroupTitle(10), "10");
    EXPECT_EQ(GroupTitle(-3.1), "-3.1");
    EXPECT_EQ(GroupTitle(-0.001), "0");
}

TEST(ImportFixturePlacementTest, StackedFileIntoGroupColumns) {
    std::string text;
    ASSERT_TRUE(ReadWholeFile(std::string(ZELKON_SOURCE_DIR) + "/tests/data/import/stacked.csv", text));
    const ImportPreview preview = LoadDelimitedText(text, Point);
    EXPECT_EQ(preview.table->Record(0).title, "value");
    Document doc;
    test::ScriptedPrompts prompts;
    ImportOptions options;
    options.columns = ImportColumns::Indexed;
    options.valueColumn = 1;
    options.groupColumn = 2;
    ASSERT_TRUE(ImportIntoDocument(doc, preview, options, 0, 0, prompts));
    const DataTable& t = doc.Table();
    // value=c(5.1,6.3,4.8,7.2,5.9,6.6,4.4,8.05,5.5), group=c(1,2,1,3,2,3,1,3,2)
    const Extended groups[3][3] = {{5.1L, 4.8L, 4.4L}, {6.3L, 5.9L, 5.5L}, {7.2L, 6.6L, 8.05L}};
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(t.Record(c).title, std::to_string(c + 1));
        for (int r = 0; r < 3; ++r) EXPECT_EQ(t.Value(r, c), groups[c][r]) << r << "," << c;
        EXPECT_TRUE(t.IsMissing(3, c));
        EXPECT_EQ(t.Decimals(c), 2);
    }
    EXPECT_FALSE(t.ColumnHasValue(3));
}

// Labels ------------------------------------------------------------------------------------------

TEST_F(ImportPlacementTest, LabelColumnsAreNotPlacedAndTitleTheRows) {
    Table().SetValue(0, 2, 9);  // a label column leaves its target column alone
    Table().SetNoRawData(2, false);
    ASSERT_TRUE(Import("id,dose,note,resp\nM1,1,ok,10\nM2,2,,12\nM3,4,redo,NA\n", {}, 1, 0));
    EXPECT_FALSE(Table().ColumnHasValue(0));
    EXPECT_EQ(Table().Value(3, 1), 4.0L);
    EXPECT_EQ(Table().Value(0, 2), 9.0L);
    EXPECT_EQ(Table().Record(2).title, "");
    EXPECT_EQ(Table().Value(2, 3), 12.0L);  // no column moved
    EXPECT_TRUE(Table().IsMissing(3, 3));
    EXPECT_EQ(Table().Record(3).title, "resp");
    EXPECT_EQ(Table().RowTitle(0), "1");  // rows without an imported row keep theirs
    EXPECT_EQ(Table().RowTitle(1), "M1");
    EXPECT_EQ(Table().RowTitle(3), "M3");
    // A range that leaves the first column out leaves the row titles alone.
    Document other;
    ImportOptions options;
    options.columns = ImportColumns::Range;
    options.fromColumn = 2;
    options.toColumn = 4;
    const ImportPreview preview = LoadDelimitedText("id,dose\nM1,1\n", Point);
    ASSERT_TRUE(ImportIntoDocument(other, preview, options, 0, 0, prompts));
    EXPECT_EQ(other.Table().RowTitle(0), "1");
    EXPECT_EQ(other.Table().Value(0, 0), 1.0L);
}

TEST_F(ImportPlacementTest, IndexedWithTextGroupLabels) {
    ImportOptions options;
    options.columns = ImportColumns::Indexed;
    options.valueColumn = 2;
    options.groupColumn = 1;
    ASSERT_TRUE(Import("g,v\nctrl,1\nhigh,5\nctrl,2\n,7\nlow,3\n", options));
    EXPECT_EQ(
        Table().Record(0).title + "|" + Table().Record(1).title + "|" + Table().Record(2).title,
        "ctrl|high|low");
    EXPECT_EQ(Table().Value(1, 0), 2.0L);
    EXPECT_EQ(Table().Value(0, 2), 3.0L);
    EXPECT_FALSE(Table().ColumnHasValue(3));  // the row without a group is skipped
    // More than 26 labels: the rest are dropped, and the user is told.
    std::string many = "g,v\n";
    for (int i = 0; i < 30; ++i)
        many += "group" + std::to_string(i) + "," + std::to_string(i) + "\n";
    ASSERT_TRUE(Import(many, options));
    EXPECT_EQ(Table().Record(25).title, "group25");
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0],
              "There are too many groups in this file.Only the first 26 groups will be read.");
    // The value column must hold numbers.
    options.valueColumn = 1;
    options.groupColumn = 2;
    EXPECT_FALSE(Import("g,v\nctrl,1\n", options));
    EXPECT_EQ(prompts.told.back(), "The column with values holds no numbers.");
}

TEST_F(ImportPlacementTest, TwoByTwoTableAsLaidOut) {
    const ImportPreview table =
        LoadDelimitedText(",Sick,Well\nExposed,4,16\nNot exposed,12,8\n", Point);
    ASSERT_TRUE(ImportTwoByTwoTable(doc, table));
    const TwoByTwoRecord& r = doc.Data().TwoByTwo();
    EXPECT_EQ(r.a, 4.0L);
    EXPECT_EQ(r.b, 16.0L);
    EXPECT_EQ(r.c, 12.0L);
    EXPECT_EQ(r.d, 8.0L);
    EXPECT_EQ(r.column1Title + "|" + r.column2Title + "|" + r.row1Title + "|" + r.row2Title,
              "Sick|Well|Exposed|Not exposed");
    EXPECT_EQ(doc.Format(), DataFormat::TwoByTwo);
    // Anything else is not a two-by-two table: nothing changes.
    Document other;
    for (const char* text : {"4,16\n12,8\n", ",a,b\nx,1,2\n", ",a,b,c\nx,1,2,3\ny,4,5,6\n"}) {
        EXPECT_FALSE(ImportTwoByTwoTable(other, LoadDelimitedText(text, Point))) << text;
    }
    EXPECT_TRUE(other.Data().TwoByTwo().AllCellsMissing());
}

}  // namespace
}  // namespace zelkon
