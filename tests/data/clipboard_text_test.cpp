// Tests of the clipboard text: copy with its title rules and 65000-byte bound, paste with
// separators, titles, transpose and the averaged-data question, cut, and copy-paste round
// trips under both decimal separators.
#include "data/clipboard_text.h"

#include <gtest/gtest.h>

#include <string>

#include "data/scripted_prompts.h"

namespace zelkon {
namespace {

constexpr Separators Point{'.', ','};
constexpr Separators Comma{',', ';'};

int CountLines(const std::string& text) {
    if (text.empty()) return 0;
    int lines = 1;
    for (std::size_t i = text.find("\r\n"); i != std::string::npos; i = text.find("\r\n", i + 2)) {
        ++lines;
    }
    return lines;
}

class ClipboardTest : public ::testing::Test {
protected:
    DataTable& Table() { return doc.Table(); }
    void Put(int row, int column, Extended v, std::int32_t decimals = -1) {
        Table().SetValue(row, column, v);
        Table().SetNoRawData(column, false);
        if (decimals >= 0) Table().SetDecimals(column, decimals);
    }
    bool Paste(std::string_view text, const Selection& at, Separators s = Point, bool transpose = false) {
        return PasteText(doc, at, text, transpose, s, prompts);
    }

    Document doc;
    test::ScriptedPrompts prompts;
};

// Copy ----------------------------------------------------------------------------------------

TEST_F(ClipboardTest, CopyStopsAtTheLastRowHoldingData) {
    // Three columns with data in rows 1 to 5, selected down to row 100: five lines.
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 3; ++c) Put(r, c, r * 10 + c);
    }
    const CopyText copy = BuildCopyText(Table(), Selection::Block(0, 0, 99, 2), {}, Point);
    EXPECT_TRUE(copy.complete);
    EXPECT_EQ(CountLines(copy.text), 5);
    EXPECT_EQ(copy.text.substr(copy.text.size() - 8), "40\t41\t42");  // no line end at the end
}

TEST_F(ClipboardTest, CopyTextLayoutWithTitlesAndDecimalSeparator) {
    Put(0, 0, 1.5, 1);
    Put(1, 0, 2, 1);
    Put(0, 1, -0.25, 2);
    Put(1, 1, 12345678);  // exponent form, as the grid shows it
    Table().Record(0).title = " Weight ";
    Table().Record(1).title = "Dose";
    Table().SetRowTitle(1, "Mouse B");
    const Selection columns = Selection::Columns(0, 1);
    CopyText copy = BuildCopyText(Table(), columns, {false, true}, Point);
    EXPECT_EQ(copy.text, "Weight\tDose\r\n1.5\t-0.25\r\n2.0\t 1.234568E+07");
    copy = BuildCopyText(Table(), columns, {true, true}, Comma);
    EXPECT_EQ(copy.text, "\tWeight\tDose\r\n1\t1,5\t-0,25\r\nMouse B\t2,0\t 1,234568E+07");
}

TEST_F(ClipboardTest, TitleQuestionsFollowTheSelection) {
    bool dialogShown = false;
    const CopyTitlesDialog dialog = [&] {
        dialogShown = true;
        return std::optional<CopyTitles>(CopyTitles{true, false});
    };
    EXPECT_TRUE(ChooseCopyTitles(SelectionKind::Everything, prompts, dialog)->rowTitles);
    EXPECT_TRUE(dialogShown);
    EXPECT_TRUE(prompts.asked.empty());

    prompts.answers = {PromptAnswer::Yes, PromptAnswer::No, PromptAnswer::Cancel};
    EXPECT_TRUE(ChooseCopyTitles(SelectionKind::WholeColumns, prompts, dialog)->columnTitles);
    const auto rows = ChooseCopyTitles(SelectionKind::WholeRows, prompts, dialog);
    EXPECT_FALSE(rows->rowTitles);
    EXPECT_FALSE(ChooseCopyTitles(SelectionKind::WholeColumns, prompts, dialog).has_value());
    ASSERT_EQ(prompts.asked.size(), 3u);
    EXPECT_EQ(prompts.asked[0], "Include column titles?");
    EXPECT_EQ(prompts.asked[1], "Include row titles?");
    EXPECT_EQ(prompts.buttons[0], PromptButtons::YesNoCancel);

    const CopyTitles block = *ChooseCopyTitles(SelectionKind::Block, prompts, dialog);
    EXPECT_FALSE(block.rowTitles || block.columnTitles);

    // Cancel in the dialog ends the copy.
    const CopyTitlesDialog cancel = [] { return std::optional<CopyTitles>(); };
    EXPECT_FALSE(CopySelection(doc, Selection::All(), Point, prompts, cancel).has_value());
}

TEST_F(ClipboardTest, CopyIsCutAtTheBoundAndTheUserIsTold) {
    // 26 columns of 1000 rows of "123456.789" hold about 286000 bytes.
    for (int c = 0; c < DataColumns; ++c) {
        for (int r = 0; r < SheetRows; ++r) Put(r, c, 123456.789L, 3);
    }
    const std::optional<std::string> text =
        CopySelection(doc, Selection::Block(0, 0, SheetRows - 1, DataColumns - 1), Point, prompts, {});
    ASSERT_TRUE(text.has_value());
    EXPECT_LE(text->size() + 1, MaxClipboardBytes);
    EXPECT_GT(text->size() + 1, MaxClipboardBytes - 32);
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0], "Contents were too large (>64K) to copy completely to the clipboard.");
    // Whole pieces only: every field left in is a whole value.
    std::size_t start = 0;
    while (start < text->size()) {
        const std::size_t end = text->find_first_of("\t\r", start);
        const std::string field = text->substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!field.empty()) {
            EXPECT_EQ(field, "123456.789") << start;
        }
        if (end == std::string::npos) break;
        start = end + ((*text)[end] == '\r' ? 2 : 1);
    }
}

// Paste ---------------------------------------------------------------------------------------

TEST_F(ClipboardTest, FieldsSplitByTheImportsFieldReader) {
    // The separator is the one that gives numbers; a comma inside a tab- or semicolon-separated
    // line groups thousands or is text, never a separator.
    struct Case {
        const char* text;
        Separators separators;
        std::vector<Extended> cells;  // row 0 from column A; MissingValue for an empty cell
    };
    const Case cases[] = {
        {"1,5,2", Point, {1, 5, 2}},
        {"1;5;2", Point, {1, 5, 2}},
        {"1,234\t5.5", Point, {1234, 5.5L}},
        {"\"1,234.5\",\"x, y\",3", Point, {1234.5L, MissingValue, 3}},
        {"1,5;2", Comma, {1.5L, 2}},
        {"1.234,5;2.5",
         Comma,
         {1234.5L, MissingValue}},  // a file of decimal commas: 2.5 is no number
        {"1,5;2", Point, {MissingValue, 2}},
        {"12.5*\t3", Point, {12.5L, 3}},
    };
    int row = 0;
    for (const Case& c : cases) {
        ASSERT_TRUE(Paste(c.text, Selection::Cell(row, 0), c.separators)) << c.text;
        for (std::size_t k = 0; k < c.cells.size(); ++k) {
            EXPECT_EQ(Table().Value(row, static_cast<int>(k)), c.cells[k]) << c.text << " " << k;
        }
        EXPECT_TRUE(Table().IsMissing(row, static_cast<int>(c.cells.size()))) << c.text;
        ++row;
    }
    EXPECT_TRUE(Table().IsExcluded(7, 0));
    EXPECT_TRUE(doc.Modified());
}

TEST_F(ClipboardTest, UnreadableFieldsBecomeEmptyCellsAndAreToldOnce) {
    Put(0, 0, 7);
    Put(0, 1, 8);
    Paste("#N/A\tabc\t 2.5 \n1.7E38\tNA", Selection::Cell(0, 0));
    EXPECT_TRUE(Table().IsMissing(0, 0));
    EXPECT_TRUE(Table().IsMissing(0, 1));
    EXPECT_EQ(Table().Value(0, 2), 2.5L);
    EXPECT_TRUE(Table().IsMissing(1, 0));  // the missing-value marker is refused, not stored
    EXPECT_TRUE(Table().NoRawData(0));  // its only value was pasted over with nothing
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0],
              "3 pasted fields that are not numbers were left empty: line 1, column 1 \"#N/A\"; "
              "line 1, column 2 \"abc\"; line 2, column 2 \"NA\".\n"
              "1 value of 1.7E38 or more in magnitude was refused and left empty: line 2, "
              "column 1 \"1.7E38\".");
    // Nothing to tell: no message.
    prompts.told.clear();
    Paste("1\t2", Selection::Cell(5, 0));
    EXPECT_TRUE(prompts.told.empty());
}

TEST_F(ClipboardTest, PastedValuesKeepMagnitudeAndFifteenDigits) {
    // Rounded to 15 significant digits, never cut: 1E15 stays 1E15, 1.234E-15 stays,
    // 1234567.123456789 becomes 1234567.12345679 (the 16th digit 9 rounds the 15th up).
    Paste("1E15\n1.234e-15\n1234567.123456789\n-0.1\n2.5e3", Selection::Cell(0, 0));
    EXPECT_EQ(Table().Value(0, 0), 1e15L);
    EXPECT_EQ(Table().Value(1, 0), 1.234e-15L);
    EXPECT_EQ(Table().Value(2, 0), 1234567.12345679L);
    EXPECT_EQ(Table().Value(3, 0), -0.1L);
    EXPECT_EQ(Table().Value(4, 0), 2500.0L);
    // Decimals counted as before on "1234567.123456" (its fixed text cut to 14 characters).
    EXPECT_EQ(Table().Decimals(0), 6);
}

TEST_F(ClipboardTest, TransposePasteAndLimitsOfTheSheet) {
    // Three lines of two fields fill two rows of three columns.
    Paste("1\t2\r\n3\t4\r\n5\t6", Selection::Cell(0, 0), Point, true);
    EXPECT_EQ(Table().Value(0, 0), 1.0L);
    EXPECT_EQ(Table().Value(0, 1), 3.0L);
    EXPECT_EQ(Table().Value(0, 2), 5.0L);
    EXPECT_EQ(Table().Value(1, 0), 2.0L);
    EXPECT_EQ(Table().Value(1, 2), 6.0L);

    // Past column Z the extra fields of each line are dropped; the next line still comes.
    Paste("7\t8\t9\n10\t11\t12", Selection::Cell(5, 24));
    EXPECT_EQ(Table().Value(5, 24), 7.0L);
    EXPECT_EQ(Table().Value(5, 25), 8.0L);
    EXPECT_EQ(Table().Value(6, 25), 11.0L);
    // Past the last row the paste stops.
    Paste("1\n2\n3", Selection::Cell(SheetRows - 2, 3));
    EXPECT_EQ(Table().Value(SheetRows - 2, 3), 1.0L);
    EXPECT_EQ(Table().Value(SheetRows - 1, 3), 2.0L);
    EXPECT_TRUE(Table().IsMissing(SheetRows, 3));
}

TEST_F(ClipboardTest, HugeClipboardTextIsReadOnlyAsFarAsTheSheetReaches) {
    // Ten million fields on one line and a field of ten million digits: only what lands on
    // the sheet is kept, and an overlong field is no value.
    std::string text;
    for (int i = 0; i < 5'000'000; ++i) text += "1\t";
    text += "\n" + std::string(10'000'000, '7') + "\t2";
    ASSERT_TRUE(Paste(text, Selection::Cell(0, 0)));
    EXPECT_EQ(Table().Value(0, 25), 1.0L);
    EXPECT_TRUE(Table().IsMissing(1, 0));
    EXPECT_EQ(Table().Value(1, 1), 2.0L);
    ASSERT_TRUE(Paste(std::string(2000, 'T') + "\n", Selection::Columns(2, 2)));
    EXPECT_EQ(Table().Record(2).title, std::string(80, 'T'));
}

TEST_F(ClipboardTest, AFinalLineBreakDoesNotEmptyTheCellBelow) {
    Put(2, 0, 99);
    Paste("1\r\n2\r\n", Selection::Cell(0, 0));
    EXPECT_EQ(Table().Value(1, 0), 2.0L);
    EXPECT_EQ(Table().Value(2, 0), 99.0L);
}

TEST_F(ClipboardTest, TitlesGoWhereTheSelectionSays) {
    Paste("\tA1\tA2\nr1\t1\t2", Selection::All());
    EXPECT_EQ(Table().Record(0).title, "A1");
    EXPECT_EQ(Table().Record(1).title, "A2");
    EXPECT_EQ(Table().RowTitle(0), "r1");
    EXPECT_EQ(Table().Value(0, 1), 2.0L);

    Selection columns = Selection::Columns(3, 3);
    columns.currentColumn = 3;
    Paste("Dose\n5", columns);
    EXPECT_EQ(Table().Record(3).title, "Dose");
    EXPECT_EQ(Table().Value(0, 3), 5.0L);

    Selection rows = Selection::Rows(4, 4);
    rows.currentRow = 4;
    Paste("Mouse Z is long\t8", rows);
    EXPECT_EQ(Table().RowTitle(4), "Mouse Z is");
    EXPECT_EQ(Table().Value(4, 0), 8.0L);
}

TEST_F(ClipboardTest, PastingOverAveragedDataAsksForEachSuchColumn) {
    for (int c : {0, 2}) {
        ColumnRecord& r = Table().Record(c);
        r.n = 10;
        r.mean = 5;
        r.sd = 1;
    }
    prompts.answers = {PromptAnswer::Yes, PromptAnswer::No};
    EXPECT_FALSE(Paste("1\t2\t3", Selection::Cell(0, 0)));
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].substr(0, 9), "Column A ");
    EXPECT_EQ(prompts.asked[1].substr(0, 9), "Column C ");
    // No to either: nothing is pasted and both averaged columns keep their data.
    EXPECT_FALSE(Table().HasData());
    EXPECT_EQ(Table().Record(0).mean, 5.0L);
    EXPECT_EQ(Table().Record(2).mean, 5.0L);

    prompts.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    EXPECT_TRUE(Paste("1\t2\t3", Selection::Cell(0, 0)));
    EXPECT_EQ(Table().Value(0, 2), 3.0L);
    EXPECT_TRUE(IsMissingValue(Table().Record(2).mean));
    EXPECT_FALSE(Table().NoRawData(2));
}

TEST_F(ClipboardTest, CutCopiesThenClears) {
    Put(0, 0, 4);
    Put(1, 0, 5);
    const auto text = CutSelection(doc, Selection::Block(0, 0, 1, 0), Point, prompts, {});
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, "4\r\n5");
    EXPECT_FALSE(Table().HasData());
    // A cancelled cut clears nothing.
    Put(0, 0, 4);
    prompts.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(CutSelection(doc, Selection::Columns(0, 0), Point, prompts, {}).has_value());
    EXPECT_EQ(Table().Value(0, 0), 4.0L);
}

// Round trips ---------------------------------------------------------------------------------

// A block as typed: decimals as the values need them, a gap, negative and exponent-form values
// with at most seven significant digits (what the grid shows of them).
void FillBlock(DataTable& t) {
    const Extended a[] = {1.5, -2.25, MissingValue, 100, 0.125};
    const Extended b[] = {12.5, 3, 4.75, MissingValue, -6};
    const Extended c[] = {1.25e-6L, -3.5e9L, 2.5e12L, 7, MissingValue};
    for (int r = 0; r < 5; ++r) {
        t.SetValue(r, 0, a[r]);
        t.SetValue(r, 1, b[r]);
        t.SetValue(r, 2, c[r]);
    }
    for (int col = 0; col < 3; ++col) t.SetNoRawData(col, false);
    t.SetDecimals(0, 3);
    t.SetDecimals(1, 2);
    t.Record(0).title = "Weight";
    t.Record(1).title = "Height";
    t.Record(2).title = "Dose";
    for (int r = 0; r < 5; ++r) t.SetRowTitle(r, "Rat " + std::to_string(r + 1));
}

class RoundTripTest : public ::testing::TestWithParam<Separators> {};

TEST_P(RoundTripTest, CopyThenPasteReproducesTheBlockWithTitles) {
    const Separators separators = GetParam();
    Document source;
    FillBlock(source.Table());
    test::ScriptedPrompts prompts;
    const CopyTitlesDialog both = [] { return std::optional<CopyTitles>(CopyTitles{true, true}); };
    const auto text = CopySelection(source, Selection::All(), separators, prompts, both);
    ASSERT_TRUE(text.has_value());

    Document target;
    ASSERT_TRUE(PasteText(target, Selection::All(), *text, false, separators, prompts));
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(target.Table().Record(c).title, source.Table().Record(c).title);
        for (int r = 0; r < 5; ++r) {
            EXPECT_EQ(target.Table().Value(r, c), source.Table().Value(r, c)) << r << "," << c;
            EXPECT_EQ(target.Table().RowTitle(r), source.Table().RowTitle(r));
        }
    }
    EXPECT_EQ(target.Table().Decimals(0), 3);
    EXPECT_EQ(target.Table().Decimals(1), 2);
    EXPECT_TRUE(target.Table().IsMissing(5, 0));
    EXPECT_FALSE(target.Table().ColumnHasValue(3));

    // Transpose paste of the same block without titles is its transpose.
    const CopyText block = BuildCopyText(source.Table(), Selection::Block(0, 0, 4, 2), {}, separators);
    Document transposed;
    ASSERT_TRUE(PasteText(transposed, Selection::Cell(0, 0), block.text, true, separators, prompts));
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(transposed.Table().Value(c, r), source.Table().Value(r, c)) << r << "," << c;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothDecimalSeparators, RoundTripTest,
                         ::testing::Values(Separators{'.', ','}, Separators{',', ';'}));

}  // namespace
}  // namespace zelkon
