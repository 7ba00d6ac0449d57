// Printed texts and their pages: styled runs, pages and headers laid out by hand for small
// page sizes, the data table, column statistics, results and notes as texts, and what each
// step prints.
#include "output/print_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "document/data_file.h"
#include "output/print_layout_texts.h"

namespace zelkon {
namespace {

const std::string B(1, static_cast<char>(128));
const std::string I(1, static_cast<char>(129));
const std::string U(1, static_cast<char>(130));

PrintRun Plain(std::string text) { return {std::move(text), false, false, false}; }
PrintRun Bold(std::string text) { return {std::move(text), true, false, false}; }

std::string Sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }
// A field of the printed tables: the text right-aligned in `width` characters.
std::string R(const std::string& text, int width = 15) {
    return Sp(width - static_cast<int>(text.size())) + text;
}
// The start of a data table line: 3 blanks and the label right-aligned in 11.
std::string Start(const std::string& label) { return Sp(3) + R(label, 11); }

std::vector<std::string> Numbered(int n) {
    std::vector<std::string> lines;
    for (int i = 1; i <= n; ++i) lines.push_back("line " + std::to_string(i));
    return lines;
}

std::vector<std::string> PageTexts(const PrintPage& page) {
    std::vector<std::string> texts;
    for (const PrintLine& line : page.lines) texts.push_back(line.Text());
    return texts;
}

// Styled lines --------------------------------------------------------------------------

TEST(StyleLine, CodesToggleStylesAndAreNotPrinted) {
    // A word between two bold codes prints bold, the rest plain.
    EXPECT_EQ(StyleLine("P is " + B + "significant" + B + " here.").runs,
              (std::vector<PrintRun>{Plain("P is "), Bold("significant"), Plain(" here.")}));
    // Italic and underline, overlapping; a style left on ends with the line.
    EXPECT_EQ(StyleLine(I + "a" + U + "b" + I + "c").runs,
              (std::vector<PrintRun>{{"a", false, true, false},
                                     {"b", false, true, true},
                                     {"c", false, false, true}}));
    EXPECT_TRUE(StyleLine("").runs.empty());
    EXPECT_TRUE(StyleLine(B + B).runs.empty());
    EXPECT_EQ(StyleLine("plain").Text(), "plain");
}

TEST(StyleLine, TabsAndControlCharacters) {
    // Tab stops every 8 characters, counted on the printed characters only.
    EXPECT_EQ(StyleLine("ab\tc").Text(), "ab" + Sp(6) + "c");
    EXPECT_EQ(StyleLine(B + "ab" + B + "\tc").Text(), "ab" + Sp(6) + "c");
    EXPECT_EQ(StyleLine("12345678\tx").Text(), "12345678" + Sp(8) + "x");
    EXPECT_EQ(StyleLine(std::string("a\x0c" "b\r\n")).Text(), "a b");
}

// Pages ---------------------------------------------------------------------------------

TEST(Pagination, OneLineAndNoLinePrintOnePage) {
    const std::vector<PrintPage> pages = PaginateTextLines("Results", {"only line"});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].number, 1);
    EXPECT_EQ(pages[0].PageText(), "Page 1");
    EXPECT_EQ(pages[0].title, "Results");
    EXPECT_EQ(PageTexts(pages[0]), (std::vector<std::string>{"only line"}));
    const std::vector<PrintPage> empty = PaginateTextLines("Notes", {});
    ASSERT_EQ(empty.size(), 1u);
    EXPECT_TRUE(empty[0].lines.empty());
}

TEST(Pagination, ThreeLinesLeftRule) {
    // 10 lines a page, header and one blank: after the 6th text line 10 - 8 = 2 lines are
    // left, fewer than 3, so each page holds 6 lines.
    const PrintPageSetup setup{10, 80, 1};
    std::vector<PrintPage> pages = PaginateTextLines("T", Numbered(13), setup);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(PageTexts(pages[0]), (std::vector<std::string>{"line 1", "line 2", "line 3",
                                                             "line 4", "line 5", "line 6"}));
    EXPECT_EQ(PageTexts(pages[1]), (std::vector<std::string>{"line 7", "line 8", "line 9",
                                                             "line 10", "line 11", "line 12"}));
    EXPECT_EQ(PageTexts(pages[2]), (std::vector<std::string>{"line 13"}));
    EXPECT_EQ(pages[2].number, 3);
    EXPECT_EQ(pages[2].PageText(), "Page 3");
    // Exactly two full pages: no empty third page.
    pages = PaginateTextLines("T", Numbered(12), setup);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[1].lines.size(), 6u);
    // Without the blank line after the header, 5 lines a page: after the 2nd line 5 - 3 = 2
    // are left.
    pages = PaginateTextLines("T", Numbered(5), {5, 80, 0});
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(PageTexts(pages[0]), (std::vector<std::string>{"line 1", "line 2"}));
    EXPECT_EQ(PageTexts(pages[2]), (std::vector<std::string>{"line 5"}));
    // A page too small for the rule still prints one line a page.
    pages = PaginateTextLines("T", Numbered(3), {2, 80, 1});
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(PageTexts(pages[1]), (std::vector<std::string>{"line 2"}));
}

TEST(Pagination, StyleStartsPlainOnEveryLineAndPage) {
    // The bold code opens on one line and is not closed: the next line is plain again.
    const std::vector<PrintPage> pages =
        PaginateTextLines("R", {B + "Heading", "body", B + "x" + B + "y"}, {5, 80, 0});
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].lines[0].runs, (std::vector<PrintRun>{Bold("Heading")}));
    EXPECT_EQ(pages[0].lines[1].runs, (std::vector<PrintRun>{Plain("body")}));
    EXPECT_EQ(pages[1].lines[0].runs, (std::vector<PrintRun>{Bold("x"), Plain("y")}));
}

TEST(Pagination, HeaderLine) {
    PrintPage page;
    page.title = "Data Table";
    page.number = 12;
    // 10 + 13 blanks + 7 = 30 characters.
    EXPECT_EQ(page.HeaderText(30), "Data Table" + Sp(13) + "Page 12");
    // A title too long is cut to leave a blank before the page.
    page.title = std::string(40, 'x');
    EXPECT_EQ(page.HeaderText(20), std::string(12, 'x') + " Page 12");
}

// The data table --------------------------------------------------------------------------

TEST(PrintDataTable, ExampleFileWithAnExcludedValue) {
    Document doc;
    const std::string path = std::string(ZELKON_SOURCE_DIR) + "/examples/blood_pressure_raw.ZLD";
    ASSERT_EQ(LoadDataFile(doc, path, DetectDataFormat(path)), 0);
    doc.Table().SetExcluded(1, 1, true);
    const std::vector<std::string> lines = PrintDataTable(doc);
    const int a[] = {128, 135, 122, 141, 130, 126, 138, 133, 129, 136};
    const int b[] = {121, 127, 118, 130, 124, 115, 129, 122, 120, 126};
    std::vector<std::string> expected = {"", "",
                                         "Systolic blood pressure (mmHg) after eight weeks", "",
                                         Start("#") + R("Placebo") + R("Drug")};
    for (int r = 0; r < 10; ++r) {
        const std::string second =
            r == 1 ? Sp(12) + B + "127" + B : R(std::to_string(b[r]));
        expected.push_back(Start(std::to_string(r + 1)) + R(std::to_string(a[r])) + second);
    }
    EXPECT_EQ(lines, expected);

    // Printed, the excluded value is a bold run and the columns stay aligned.
    const std::vector<PrintPage> pages = PaginateTextLines(DataTablePrintTitle, lines);
    const PrintLine& row2 = pages[0].lines[6];
    ASSERT_EQ(row2.runs.size(), 2u);
    EXPECT_EQ(row2.runs[1], Bold("127"));
    EXPECT_EQ(row2.Text(), Start("2") + R("135") + R("127"));
}

TEST(PrintDataTable, BlocksOfFourDecimalsTitlesAndEmptyCells) {
    Document doc;
    DataTable& t = doc.Table();
    for (int c = 0; c < 5; ++c) t.SetValue(0, c, c + 0.25L);
    t.SetValue(2, 0, -12.5L);  // row 2 empty, row 3 holds one value
    t.SetDecimals(0, 2);
    t.SetDecimals(4, 3);
    t.Record(1).title = "Treated";
    t.Record(2).title = "A very long column title";
    t.SetRowTitle(0, "Mouse 1");
    const std::vector<std::string> lines = PrintDataTable(doc);
    const std::vector<std::string> expected = {
        "", "",
        // No data title.
        Start("#") + R("A") + R("Treated") + R("A very long co") + R("D"),
        Start("Mouse 1") + R("0.25") + R("1") + R("2") + R("3"),  // 1.25, 2.25, 3.25: 0 decimals
        Start("2"),
        Start("3") + R("-12.50"),
        "",
        Start("#") + R("E"),
        Start("Mouse 1") + R("4.250"),
        Start("2"),
        Start("3"),
    };
    EXPECT_EQ(lines, expected);
}

// Cells print as the sheet shows them, fitted to the field: never the file's longer text.
TEST(PrintDataTable, CellsAsTheSheetShowsThem) {
    Document doc;
    DataTable& t = doc.Table();
    t.SetValue(0, 0, 1.00000000000000000065E+10L);  // stored as "1.00000000000000000065E+10"
    t.SetValue(0, 1, 22026.465794806718L);
    t.SetValue(0, 2, 22026.465794806718L);
    t.SetDecimals(0, 2);
    t.SetDecimals(1, 8);
    t.SetDecimals(2, 12);  // "22026.465794806700" is 18 characters
    const std::vector<std::string> lines = PrintDataTable(doc);
    EXPECT_EQ(lines.at(3), Start("1") + R(" 1.000000E+10") + R("22026.46579481") + R("22026.465794.."));
}

TEST(PrintDataTable, XYHeadingsAndTwoByTwo) {
    Document xy;
    xy.Data().SetFormat(DataFormat::XY);
    xy.Table().SetValue(0, 0, 1);
    xy.Table().SetValue(0, 1, 2);
    xy.Table().SetValue(0, 2, 3);
    xy.Table().Record(2).title = "Second";
    EXPECT_EQ(PrintDataTable(xy).at(2), Start("#") + R("X") + R("Y") + R("Second"));

    Document doc;
    const std::string path = std::string(ZELKON_SOURCE_DIR) + "/examples/wound_infection_2x2.ZLD";
    ASSERT_EQ(LoadDataFile(doc, path, DetectDataFormat(path)), 0);
    const std::vector<std::string> expected = {
        "", "", "Wound infection after surgery", "",
        Start("#") + R("Infection") + R("No infection"),
        Start("Antibiotic") + R("4") + R("46"),
        Start("Placebo") + R("13") + R("37"),
    };
    EXPECT_EQ(PrintDataTable(doc), expected);
}

// Column statistics --------------------------------------------------------------------------

std::string StatLine(const char* label, std::initializer_list<std::string> cells) {
    std::string line = label;
    line.resize(24, ' ');
    for (const std::string& c : cells) line += R(c);
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

TEST(PrintColumnStatistics, BlocksOfThreeWithTheScreensTexts) {
    Document doc;
    DataTable& t = doc.Table();
    for (int i = 0; i < 4; ++i) t.SetValue(i, 0, i + 1);        // 1 2 3 4
    for (int i = 0; i < 5; ++i) t.SetValue(i, 1, 10 * (i + 1));  // 10 .. 50
    t.SetValue(0, 2, 2.5L);
    t.SetValue(1, 2, 3.5L);
    t.SetValue(0, 3, 7);
    for (int c = 0; c < 4; ++c) t.SetNoRawData(c, false);  // raw values, as typed ones are
    t.SetDecimals(0, 2);
    t.SetDecimals(2, 1);
    t.Record(1).title = "Dose";
    t.SetDataTitle("Doses");
    const std::vector<std::string> lines = PrintColumnStatistics(doc);
    // By hand: 1..4 has SD 1.2909944, SEM 0.6454972 and limits 2.5 -/+ 3.182 SEM = 0.446 and
    // 4.554 (t_crit95(3) = 3.182); 10..50 has SD 15.811, SEM 7.071, limits 30 -/+ 2.776 SEM
    // = 10.37 and 49.63, and a normality test (KS 0.1365, P near 1); 2.5 and 3.5 have SD 0.707,
    // SEM 0.5 and limits 3 -/+ 12.706 * 0.5; a single 7 has SD and SEM 0.
    const std::vector<std::string> expected = {
        "", "", "Doses", "",
        StatLine("Col. title", {"Group A", "Dose", "Group C"}),
        "",
        StatLine("Mean", {"2.50", "30", "3.0"}),
        StatLine("Standard deviation (SD)", {"1.29", "16", "0.7"}),
        StatLine("Sample size (N)", {"4", "5", "2"}),
        "",
        StatLine("Std. error of mean(SEM)", {"0.65", "7", "0.5"}),
        StatLine("Lower 95% conf. limit", {"0.45", "10", "-3.4"}),
        StatLine("Upper 95% conf. limit", {"4.55", "50", "9.4"}),
        "",
        StatLine("Minimum", {"1.00", "10", "2.5"}),
        StatLine("Median (50th percentile)", {"2.50", "30", "3.0"}),
        StatLine("Maximum", {"4.00", "50", "3.5"}),
        "",
        StatLine("Normality test KS", {"", "0", ""}),
        StatLine("Normality test P value", {"Too few values", ">0.10", "Too few values"}),
        StatLine("Passed normality test?", {"", "Yes", ""}),
        "",
        StatLine("Col. title", {"Group D"}),
        "",
        StatLine("Mean", {"7"}),
        StatLine("Standard deviation (SD)", {"0"}),
        StatLine("Sample size (N)", {"1"}),
        "",
        StatLine("Std. error of mean(SEM)", {"0"}),
        StatLine("Lower 95% conf. limit", {"7"}),
        StatLine("Upper 95% conf. limit", {"7"}),
        "",
        StatLine("Minimum", {"7"}),
        StatLine("Median (50th percentile)", {"7"}),
        StatLine("Maximum", {"7"}),
        "",
        StatLine("Normality test KS", {}),
        StatLine("Normality test P value", {"Too few values"}),
        StatLine("Passed normality test?", {}),
    };
    EXPECT_EQ(lines, expected);
}

TEST(PrintColumnStatistics, AveragedDataTypedAsSEMSwapTheErrorRows) {
    Document doc;
    const std::string path =
        std::string(ZELKON_SOURCE_DIR) + "/examples/cholesterol_mean_sem_n.ZLD";
    ASSERT_EQ(LoadDataFile(doc, path, DetectDataFormat(path)), 0);
    const std::vector<std::string> lines = PrintColumnStatistics(doc);
    EXPECT_EQ(lines.at(4), StatLine("Col. title", {"Before diet", "After diet"}));
    EXPECT_EQ(lines.at(7).substr(0, 24), "SEM" + Sp(21));
    EXPECT_EQ(lines.at(10).substr(0, 24), "SD" + Sp(22));
}

TEST(PrintColumnStatistics, NoColumnWithDataPrintsTheLabelsOnly) {
    Document doc;
    const std::vector<std::string> lines = PrintColumnStatistics(doc);
    ASSERT_EQ(lines.size(), 2u + 1u + 16u);
    EXPECT_EQ(lines[2], "Col. title");
    EXPECT_EQ(lines[4], "Mean");
}

// Results, notes and the steps -------------------------------------------------------------

TEST(PrintJob, ResultsAreTheReportsLinesWithTheirStyles) {
    Document doc;
    const std::string path = std::string(ZELKON_SOURCE_DIR) + "/examples/blood_pressure_raw.ZLD";
    ASSERT_EQ(LoadDataFile(doc, path, DetectDataFormat(path)), 0);
    doc.SetNeedsRecalculation(true);
    const PrintJob job = PrintJobForStep(doc, Step::Results);  // runs the analysis first
    EXPECT_EQ(job.kind, PrintKind::Text);
    EXPECT_EQ(job.title, "Results");
    EXPECT_FALSE(doc.NeedsRecalculation());
    EXPECT_EQ(job.lines, doc.Report().Lines());
    EXPECT_EQ(job.lines.at(0), "Systolic blood pressure (mmHg) after eight weeks");
    // Every styled line prints its text without the codes, and some run is bold.
    const std::vector<PrintPage> pages = PaginateTextLines(job.title, job.lines);
    bool anyBold = false;
    std::size_t i = 0;
    for (const PrintPage& page : pages) {
        for (const PrintLine& line : page.lines) {
            std::string plain;
            for (char c : job.lines[i]) {
                if (c != B[0] && c != I[0] && c != U[0]) plain += c;
            }
            EXPECT_EQ(line.Text(), plain);
            for (const PrintRun& run : line.runs) anyBold = anyBold || run.bold;
            ++i;
        }
    }
    EXPECT_EQ(i, job.lines.size());
    EXPECT_TRUE(anyBold);
}

TEST(PrintJob, WhatEachStepPrints) {
    Document doc;
    doc.Table().SetValue(0, 0, 1);
    PrintJob job = PrintJobForStep(doc, Step::DataTable);
    EXPECT_EQ(job.kind, PrintKind::Text);
    EXPECT_EQ(job.title, "Data Table");
    EXPECT_EQ(job.lines, PrintDataTable(doc));
    job = PrintJobForStep(doc, Step::SummaryStats);
    EXPECT_EQ(job.title, "Column Stats");
    EXPECT_EQ(job.lines.at(2), "Col. title" + Sp(14) + R("Group A"));
    EXPECT_EQ(PrintJobForStep(doc, Step::Graph).kind, PrintKind::Graph);
    EXPECT_EQ(PrintJobForStep(doc, Step::ChooseTest).kind, PrintKind::Nothing);
    EXPECT_EQ(PrintJobForStep(doc, Step::Start).kind, PrintKind::Nothing);

    doc.Notes() = "What was measured\r\n\r\nand how";
    job = NotesPrintJob(doc);
    EXPECT_EQ(job.title, "Notes");
    EXPECT_EQ(job.lines, (std::vector<std::string>{"What was measured", "", "and how"}));
}

}  // namespace
}  // namespace zelkon
