// Tests of the results report: line ends, emphasis switches, columns, tabs, centring,
// side reports, the closing lines, the line index and the capacity.  Expected texts are
// written out by hand from the report's rules (columns counted from 1, switches 128-130
// not counted).
#include "core/results_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

const std::string E1(1, static_cast<char>(128));
const std::string E2(1, static_cast<char>(129));
const std::string E3(1, static_cast<char>(130));

std::string Sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// 23 blanks, then three asterisks five blanks apart.
const std::string Closing = std::string(23, ' ') + "*     *     *";

TEST(ResultsReport, WritesLinesWithCrLf) {
    ResultsReport r;
    r.Write("ab");
    EXPECT_EQ(r.Column(), 3);
    r.WriteLine("c");
    r.NewLine();
    EXPECT_EQ(r.Text(), "abc\r\n\r\n");
    EXPECT_EQ(r.Column(), 1);
    EXPECT_EQ(r.LineCount(), 2);
}

TEST(ResultsReport, TextArgumentsAreCutTo80) {
    ResultsReport r;
    r.Write(std::string(79, 'a') + "bc");
    EXPECT_EQ(r.Text(), std::string(79, 'a') + "b");
    EXPECT_EQ(r.Column(), 81);
    r.WriteLine(std::string(100, 'x'));
    EXPECT_EQ(r.AllLines()[0].size(), 160u);  // two pieces of 80 on one line
    // A line may grow past 80 through several writes.
    ResultsReport wide;
    for (int i = 0; i < 4; ++i) wide.Write(std::string(60, 'w'));
    EXPECT_EQ(wide.Column(), 241);
}

TEST(ResultsReport, RulesDashesAndIntegers) {
    ResultsReport r;
    r.WriteRule(5);
    r.WriteDashes(3);
    r.WriteInteger(-42);
    r.WriteIntegerWidth(42, 5);
    r.WriteIntegerWidth(-123, 3);  // longer than the width: written whole
    r.WriteIntegerWidth(7, 0);
    EXPECT_EQ(r.Text(), "=====----42   42-1237");
    EXPECT_EQ(r.Column(), 22);
}

// Emphasis switches are closed before every CR LF and reopened after it, so each stored
// line carries balanced switches; they never advance the column.
TEST(ResultsReport, EmphasisIsClosedAndReopenedAroundLineEnds) {
    ResultsReport r;
    r.ToggleEmphasis1();
    EXPECT_EQ(r.Column(), 1);
    r.Write("bold");
    EXPECT_EQ(r.Column(), 5);
    r.NewLine();
    r.Write("more");
    r.ToggleEmphasis1();
    r.NewLine();
    r.Write("plain");
    r.NewLine();
    EXPECT_EQ(r.Text(), E1 + "bold" + E1 + "\r\n" + E1 + "more" + E1 + "\r\nplain\r\n");

    ResultsReport both;
    both.ToggleEmphasis1();
    both.ToggleEmphasis2();
    both.Write("x");
    both.NewLine();
    both.ToggleEmphasis2();
    both.ToggleEmphasis1();
    both.NewLine();
    EXPECT_EQ(both.Text(), E1 + E2 + "x" + E1 + E2 + "\r\n" + E1 + E2 + E2 + E1 + "\r\n");
    for (const std::string& line : both.AllLines()) {
        int ones = 0;
        int twos = 0;
        for (char c : line) {
            ones += c == E1[0];
            twos += c == E2[0];
        }
        EXPECT_EQ(ones % 2, 0);
        EXPECT_EQ(twos % 2, 0);
    }
    EXPECT_EQ(test::PlainLines(both), (std::vector<std::string>{"x", ""}));
}

TEST(ResultsReport, SwitchesInTextDoNotAdvanceTheColumn) {
    ResultsReport r;
    r.Write(E3 + "it" + E3);
    EXPECT_EQ(r.Column(), 3);
    r.ToggleEmphasis2();
    r.Write("ab");
    r.PadToColumn(9);
    EXPECT_EQ(r.Text(), E3 + "it" + E3 + E2 + "ab" + "    ");  // columns 5 to 8
    EXPECT_EQ(r.Column(), 9);
}

TEST(ResultsReport, PadToColumn) {
    ResultsReport r;
    r.PadToColumn(1);
    EXPECT_EQ(r.Text(), "");
    r.Write("abc");
    r.PadToColumn(7);  // columns 4, 5, 6 get blanks
    EXPECT_EQ(r.Text(), "abc   ");
    r.PadToColumn(3);  // already past: nothing
    r.PadToColumn(7);
    EXPECT_EQ(r.Text(), "abc   ");
    r.Write("x");
    EXPECT_EQ(r.Column(), 8);
}

TEST(ResultsReport, TabsGoToTheNearestStopToTheRight) {
    ResultsReport r;
    r.AddTab(10);
    r.AddTab(20);
    r.AddTab(5);
    r.NextTab();  // column 1 -> 5
    EXPECT_EQ(r.Column(), 5);
    r.Write("abc");  // column 8
    r.NextTab();
    EXPECT_EQ(r.Column(), 10);
    r.NextTab();  // a stop at the current column does not count
    EXPECT_EQ(r.Column(), 20);
    r.NextTab();  // no stop to the right: nothing
    EXPECT_EQ(r.Column(), 20);
    EXPECT_EQ(r.Text(), "    abc" + std::string(12, ' '));
    r.NewLine();
    r.ClearTabs();
    r.NextTab();
    EXPECT_EQ(r.Column(), 1);
}

// Rows of the coefficient table (stops 20, 32, 42, 50, 54) and of the t-ratio table (stops
// 20, 32, 44, 56), each field after a NextTab.  Rows that fit keep every field at its stop;
// a field that reaches up to a stop, or runs past the last one, is followed by one blank
// before the next field, unless the next field begins with a blank.
TEST(ResultsReport, TabbedFieldsNeverRunTogether) {
    struct Row {
        std::vector<int> stops;
        std::vector<std::string> fields;
        std::string line;
    };
    const Row rows[] = {
        {{20, 32, 42, 50, 54},
         {"(constant)  ", "1.234", "0.5678", "0.1234", "to", "2.345"},
         "(constant)  " + Sp(7) + "1.234" + Sp(7) + "0.5678" + Sp(4) + "0.1234" + Sp(2) + "to" +
             Sp(2) + "2.345"},
        // The lower bound fills 42..49: "to" one blank after it, the upper bound at 54
        // (before: "to" sent on to 54 and the upper bound glued to it, "to0.5577").
        {{20, 32, 42, 50, 54},
         {"B:Dose  ", "0.2664", "0.1324", "-0.02498", "to", "0.5577"},
         "B:Dose  " + Sp(11) + "0.2664" + Sp(6) + "0.1324" + Sp(4) + "-0.02498 to 0.5577"},
        // An 11-character lower bound runs to 52: "to" at 54, one blank before the upper.
        {{20, 32, 42, 50, 54},
         {"Slope    ", "2.000", "0.5000", "-1.2345E-05", "to", "5.00000E-05"},
         "Slope    " + Sp(10) + "2.000" + Sp(7) + "0.5000" + Sp(4) + "-1.2345E-05 to 5.00000E-05"},
        // A t ratio filling 20..31: the P value, which begins with two blanks, stays at 32.
        {{20, 32, 44, 56},
         {"(constant)", "123456789012", "  0.1234", "  No"},
         "(constant)" + Sp(9) + "123456789012" + "  0.1234" + Sp(4) + "  No"},
    };
    for (const Row& row : rows) {
        ResultsReport r;
        for (int s : row.stops) r.AddTab(s);
        for (std::size_t i = 0; i < row.fields.size(); ++i) {
            if (i > 0) r.NextTab();
            r.Write(row.fields[i]);
        }
        EXPECT_EQ(r.Text(), row.line);
    }
}

// The field kept apart may follow a style switch, and a line end forgets the request.
TEST(ResultsReport, SeparateNextFieldSkipsSwitchesAndEndsWithTheLine) {
    ResultsReport r;
    r.Write("abc");
    r.SeparateNextField();
    r.ToggleEmphasis1();
    r.Write("d");
    r.ToggleEmphasis1();
    EXPECT_EQ(r.Text(), "abc" + E1 + " d" + E1);
    r.SeparateNextField();
    r.NewLine();
    r.Write("e");
    r.Write(" ");
    r.SeparateNextField();  // after a blank: nothing to keep apart
    r.WriteRule(2);
    EXPECT_EQ(r.AllLines().back(), "e ==");
}

TEST(ResultsReport, AtMostTwentyTabStops) {
    ResultsReport r;
    for (int i = 1; i <= 21; ++i) r.AddTab(2 * i);  // 2, 4, ..., 40; 42 is refused
    r.PadToColumn(39);
    r.NextTab();
    EXPECT_EQ(r.Column(), 40);
    r.NextTab();
    EXPECT_EQ(r.Column(), 40);
}

TEST(ResultsReport, Centre) {
    // 17 characters in 65: 48 free, 24 before and 24 after.
    EXPECT_EQ(ResultsReport::Centre("One sample t test", 65),
              std::string(24, ' ') + "One sample t test" + std::string(24, ' '));
    // 15 characters in 65: 50 free, 25 and 25.
    EXPECT_EQ(ResultsReport::Centre("Summary of Data", 65),
              std::string(25, ' ') + "Summary of Data" + std::string(25, ' '));
    // Odd free space: the smaller half goes before.
    EXPECT_EQ(ResultsReport::Centre("abc", 8), "  abc   ");
    EXPECT_EQ(ResultsReport::Centre("abcd", 3), "abcd");
    EXPECT_EQ(ResultsReport::Centre("abcd", 4), "abcd");
    // A text longer than 80 is cut to 80 first.
    EXPECT_EQ(ResultsReport::Centre(std::string(100, 't'), 65), std::string(80, 't'));
    // The field is at most 80 wide: 77 free in 80, 38 before and 39 after.
    EXPECT_EQ(ResultsReport::Centre("abc", 200), std::string(38, ' ') + "abc" + std::string(39, ' '));
    // A wide field never cuts the text: 70 characters in min(100, 80) = 80, 5 and 5.
    const std::string seventy(70, 's');
    EXPECT_EQ(ResultsReport::Centre(seventy, 100), std::string(5, ' ') + seventy + std::string(5, ' '));
}

TEST(ResultsReport, SideReportLinesAreAppendedWhole) {
    ResultsReport main;
    main.WriteLine("Title");
    auto side = ResultsReport::CreateSideReport();
    ASSERT_NE(side, nullptr);
    EXPECT_TRUE(side->IsEmpty());
    side->Write("row 1");
    side->NewLine();
    side->ToggleEmphasis2();
    side->WriteLine("head");
    side->ToggleEmphasis2();
    side->Write("tail");  // an unterminated last line still becomes a line
    EXPECT_EQ(main.Text(), "Title\r\n");  // writing the side report leaves the main alone
    main.AppendReport(*side);
    EXPECT_EQ(main.Text(),
              "Title\r\nrow 1\r\n" + E2 + "head" + E2 + "\r\n" + E2 + E2 + "tail\r\n");
    EXPECT_EQ(main.LineCount(), 4);
    EXPECT_EQ(main.Column(), 1);

    // Table lines collected in a side report may be wider than one text argument.
    auto wide = ResultsReport::CreateSideReport();
    wide->Write(std::string(60, 'a'));
    wide->Write(std::string(60, 'b'));
    wide->NewLine();
    ResultsReport target;
    target.AppendReport(*wide);
    EXPECT_EQ(target.Text(), std::string(60, 'a') + std::string(60, 'b') + "\r\n");
}

TEST(ResultsReport, FinishPadsAMessageReportTo21Lines) {
    ResultsReport r;
    r.NewLine();
    r.WriteLine("Until you enter data, you won't see any results!");
    r.NewLine();
    EXPECT_TRUE(r.FinishReport());
    EXPECT_TRUE(r.IsFinished());
    const std::vector<std::string> lines = r.AllLines();
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(r.LineCount(), 21);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "Until you enter data, you won't see any results!");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "");  // the empty line of the closing
    EXPECT_EQ(lines[4], Closing);
    for (std::size_t i = 5; i < lines.size(); ++i) EXPECT_EQ(lines[i], "") << i;
    EXPECT_EQ(r.Text().substr(r.Text().size() - 4), "\r\n\r\n");
    EXPECT_EQ(ResultsReport::ClosingLine, Closing);
}

TEST(ResultsReport, FinishOfALongReportAddsOnlyTheClosing) {
    ResultsReport r;
    for (int i = 0; i < 30; ++i) r.WriteLine("line " + std::to_string(i));
    r.FinishReport();
    const std::vector<std::string> lines = r.AllLines();
    ASSERT_EQ(lines.size(), 34u);  // 30 + empty, closing, empty, empty
    EXPECT_EQ(lines[29], "line 29");
    EXPECT_EQ(lines[30], "");
    EXPECT_EQ(lines[31], Closing);
    EXPECT_EQ(lines[32], "");
    EXPECT_EQ(lines[33], "");
}

TEST(ResultsReport, FinishEndsAnOpenLineFirst) {
    ResultsReport r;
    r.Write("abc");
    r.FinishReport();
    const std::vector<std::string> lines = r.AllLines();
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "abc");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], Closing);
}

TEST(ResultsReport, ResetDiscardsTextButKeepsTabs) {
    ResultsReport r;
    r.AddTab(6);
    r.ToggleEmphasis1();
    r.WriteLine("x");
    r.FinishReport();
    r.Reset();
    EXPECT_TRUE(r.IsEmpty());
    EXPECT_FALSE(r.IsFinished());
    EXPECT_EQ(r.Column(), 1);
    EXPECT_EQ(r.LineCount(), 0);
    r.NewLine();  // the emphasis was switched off: no switches around this line end
    EXPECT_EQ(r.Text(), "\r\n");
    r.NextTab();
    EXPECT_EQ(r.Column(), 6);
}

TEST(ResultsReport, LineIndexHoldsAtMost1000LinesOf255Characters) {
    ResultsReport r;
    for (int i = 0; i < 4; ++i) r.Write(std::string(75, static_cast<char>('a' + i)));
    r.NewLine();  // a line of 300 characters
    for (int i = 1; i < 1100; ++i) r.WriteLine(std::to_string(i));
    const std::vector<std::string> all = r.AllLines();
    ASSERT_EQ(all.size(), 1100u);
    EXPECT_EQ(all[0].size(), 300u);
    const std::vector<std::string> indexed = r.Lines();
    ASSERT_EQ(indexed.size(), 1000u);
    EXPECT_EQ(indexed[0], std::string(75, 'a') + std::string(75, 'b') + std::string(75, 'c') +
                              std::string(30, 'd'));
    EXPECT_EQ(indexed[999], "999");
}

// 625 lines of 78 characters and CR LF fill the 50000 characters exactly.
TEST(ResultsReport, TextBeyondTheCapacityIsDropped) {
    ResultsReport r;
    for (int i = 0; i < 625; ++i) r.WriteLine(std::string(78, 'a'));
    EXPECT_EQ(r.Text().size(), 50000u);
    r.Write("more");
    r.NewLine();
    EXPECT_EQ(r.Text().size(), 50000u);
    EXPECT_EQ(r.LineCount(), 625);
    EXPECT_EQ(r.Text().substr(49998), "\r\n");
    EXPECT_TRUE(r.FinishReport());  // nothing fits any more, and finishing still ends
    EXPECT_EQ(r.Text().size(), 50000u);
}

TEST(ResultsReport, ALineEndIsStoredWholeOrNotAtAll) {
    // 49998 characters: "xyz" keeps "xy", and after the first dropped character nothing
    // more is taken, not even a line end.
    ResultsReport r;
    for (int i = 0; i < 624; ++i) r.WriteLine(std::string(78, 'a'));  // 49920
    r.Write(std::string(78, 'b'));                                       // 49998
    r.Write("xyz");
    EXPECT_EQ(r.Text().size(), 50000u);
    EXPECT_EQ(r.Text().substr(49996), "bbxy");
    r.NewLine();
    r.Write("z");
    EXPECT_EQ(r.Text().substr(49996), "bbxy");
    EXPECT_EQ(r.LineCount(), 624);

    // One character short of a CR LF: no lone CR is stored, and later text is dropped.
    ResultsReport s;
    for (int i = 0; i < 624; ++i) s.WriteLine(std::string(78, 'a'));
    s.Write(std::string(79, 'b'));  // 49999
    s.NewLine();
    s.Write("c");
    EXPECT_EQ(s.Text().size(), 49999u);
    EXPECT_EQ(s.Text().back(), 'b');

    // An open emphasis needs its closing switch and CR LF: three characters.
    ResultsReport t;
    for (int i = 0; i < 624; ++i) t.WriteLine(std::string(78, 'a'));
    t.ToggleEmphasis1();
    t.Write(std::string(76, 'b'));  // 49920 + 1 + 76 = 49997
    t.NewLine();
    EXPECT_EQ(t.Text().size(), 50000u);
    EXPECT_EQ(t.Text().substr(49997), E1 + "\r\n");
    EXPECT_EQ(t.LineCount(), 625);
}

TEST(ResultsReport, FinishingAFullSingleLineEnds) {
    ResultsReport r;
    for (int i = 0; i < 625; ++i) r.Write(std::string(80, 'q'));
    EXPECT_EQ(r.Text().size(), 50000u);
    EXPECT_TRUE(r.FinishReport());
    EXPECT_EQ(r.LineCount(), 0);
    EXPECT_EQ(r.AllLines().size(), 1u);
}

class ReportFileTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = test::MakeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string dir_;
};

TEST_F(ReportFileTest, DirectedReportIsAppendedToTheFile) {
    const std::string path = dir_ + "/report.txt";
    ASSERT_TRUE(WriteFileAtomically(path, "old\r\n"));
    ResultsReport r;
    r.WriteLine("new");
    r.DirectToFile(path);
    ASSERT_TRUE(r.FinishReport());
    std::string content;
    ASSERT_TRUE(ReadWholeFile(path, content));
    EXPECT_EQ(content, "old\r\n" + r.Text());
    EXPECT_EQ(content.substr(0, 10), "old\r\nnew\r\n");

    ResultsReport second;
    second.WriteLine("again");
    second.DirectToFile(path);
    ASSERT_TRUE(second.FinishReport());
    ASSERT_TRUE(ReadWholeFile(path, content));
    EXPECT_EQ(content, "old\r\n" + r.Text() + second.Text());
}

TEST_F(ReportFileTest, AMissingFileIsCreated) {
    const std::string path = dir_ + "/fresh.txt";
    ResultsReport r;
    r.WriteLine("first");
    r.DirectToFile(path);
    ASSERT_TRUE(r.FinishReport());
    std::string content;
    ASSERT_TRUE(ReadWholeFile(path, content));
    EXPECT_EQ(content, r.Text());
    EXPECT_EQ(test::PlainLines(r).size(), 21u);
}

TEST_F(ReportFileTest, AnUnwritableDestinationIsReported) {
    ResultsReport r;
    r.WriteLine("lost");
    r.DirectToFile(dir_ + "/no-such-folder/report.txt");
    EXPECT_FALSE(r.FinishReport());
    EXPECT_EQ(r.AllLines()[0], "lost");  // the report itself is intact
    // A folder in the place of the file is neither read nor replaced.
    const std::string folder = dir_ + "/folder";
    std::filesystem::create_directory(folder);
    ResultsReport s;
    s.DirectToFile(folder);
    EXPECT_FALSE(s.FinishReport());
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

}  // namespace
}  // namespace zelkon
