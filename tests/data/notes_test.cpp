// Tests of the notes: buffer and editor text, the data file round trip, the 8000-character
// bound and appending lines of the results report.
#include "data/notes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/calc_status.h"
#include "data/scripted_prompts.h"
#include "document/data_file.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

TEST(NotesBufferTest, LoadStopsAtTheEndMark) {
    EXPECT_EQ(LoadNotes(std::string("abc\x1A" "def")), "abc");
    EXPECT_EQ(LoadNotes("no mark"), "no mark");
    const std::string full(9000, 'n');
    EXPECT_EQ(LoadNotes(full).size(), NotesBufferSize - 1);
}

TEST(NotesBufferTest, StoreDropsAFinalLineBreakAndKeepsLatin1Safe) {
    EXPECT_EQ(StoreNotes("Line 1\r\nLine 2\r\n"), "Line 1\r\nLine 2");
    EXPECT_EQ(StoreNotes("Line 1\r\n\r\n"), "Line 1\r\n");
    EXPECT_EQ(StoreNotes(std::string("a\x81z")), "a?z");
    EXPECT_EQ(StoreNotes(std::string(8100, 'x')).size(), NotesEditorLimit);
    EXPECT_EQ(NotesRoom(std::string(7990, 'x')), 10u);
    EXPECT_EQ(NotesRoom(std::string(8100, 'x')), 0u);
}

TEST(NotesBufferTest, SavedWithoutTheFinalLineBreakAndReadBackTheSame) {
    Document doc;
    doc.Notes() = StoreNotes("Rats from batch 7.\r\nWeighed on day 3.\r\n");
    const std::string dir = test::MakeTempDir();
    ASSERT_EQ(SaveDataFile(doc, dir + "/notes.zld"), 0);
    Document read;
    ASSERT_EQ(LoadDataFile(read, dir + "/notes.zld", 1), 0);
    EXPECT_EQ(read.Notes(), "Rats from batch 7.\r\nWeighed on day 3.");
    EXPECT_EQ(NotesLines(read.Notes()),
              (std::vector<std::string>{"Rats from batch 7.", "Weighed on day 3."}));
    std::filesystem::remove_all(dir);
}

TEST(AppendNoteLineTest, NewLineFirstAndTheBound) {
    std::string text = "first";
    EXPECT_TRUE(AppendNoteLine(text, "second"));
    EXPECT_EQ(text, "first\r\nsecond\r\n");
    EXPECT_TRUE(AppendNoteLine(text, "third"));
    EXPECT_EQ(text, "first\r\nsecond\r\nthird\r\n");
    std::string nearlyFull(7995, 'x');
    EXPECT_FALSE(AppendNoteLine(nearlyFull, "abcd"));  // 7995 + 2 + 4 + 2 > 8000
    EXPECT_EQ(nearlyFull.size(), 7995u);
    EXPECT_TRUE(AppendNoteLine(nearlyFull, "a"));  // exactly 8000
    EXPECT_EQ(nearlyFull.size(), 8000u);
}

class AppendToNotesTest : public ::testing::Test {
protected:
    void WriteReport(int lines) {
        for (int i = 1; i <= lines; ++i) {
            if (i == 1) doc.Report().ToggleEmphasis1();
            doc.Report().Write("Line " + std::to_string(i));
            if (i == 1) doc.Report().ToggleEmphasis1();
            doc.Report().NewLine();
        }
    }
    Document doc;
    test::ScriptedPrompts prompts;
};

TEST_F(AppendToNotesTest, TooLargeIsRefusedAsAWhole) {
    WriteReport(100);
    doc.Notes() = std::string(7990, 'n');
    EXPECT_FALSE(AppendToNotes(doc, {}, prompts));
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0], "The text is too large to copy to notes.");
    EXPECT_EQ(doc.Notes(), std::string(7990, 'n'));
}

TEST_F(AppendToNotesTest, WholeReportForAnEmptyOrOneCharacterSelection) {
    WriteReport(3);
    doc.Notes() = "Before";
    ASSERT_TRUE(AppendToNotes(doc, ReportSelection{1, 2, 1, 3}, prompts));
    EXPECT_EQ(doc.Notes(), "Before\r\nLine 1\r\nLine 2\r\nLine 3");  // no emphasis switches
    EXPECT_TRUE(prompts.told.empty());
    EXPECT_TRUE(doc.Modified());
}

TEST_F(AppendToNotesTest, SelectionIsCutToItsColumns) {
    WriteReport(3);
    // From line 0 column 5 to line 2 column 4: "1", "Line 2", "Line".
    EXPECT_EQ(ReportLinesToAppend(doc.Report(), ReportSelection{0, 5, 2, 4}),
              (std::vector<std::string>{"1", "Line 2", "Line"}));
    ASSERT_TRUE(AppendToNotes(doc, ReportSelection{1, 0, 1, 6}, prompts));
    EXPECT_EQ(doc.Notes(), "Line 2");
}

TEST_F(AppendToNotesTest, NothingWhileACalculationRuns) {
    WriteReport(2);
    GlobalCalcStatus().BeginCalculation();
    EXPECT_FALSE(AppendToNotes(doc, {}, prompts));
    GlobalCalcStatus().EndCalculation();
    EXPECT_TRUE(doc.Notes().empty());
    EXPECT_TRUE(AppendToNotes(doc, {}, prompts));
}

}  // namespace
}  // namespace zelkon
