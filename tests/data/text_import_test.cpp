// Tests of reading text files into the import preview: title lines, separated and
// blank-separated values, titles, exclusion marks, number reading, files written by other
// programs, and hostile input.
#include "data/text_import.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <string>

#include "core/file_io.h"
#include "data/scripted_prompts.h"

namespace zelkon {
namespace {

constexpr Separators Point{'.', ','};
constexpr Separators Comma{',', ';'};

std::string Fixture(const std::string& name) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(std::string(ZELKON_SOURCE_DIR) + "/tests/data/import/" + name, text))
        << name;
    return text;
}

const DataTable& T(const ImportPreview& p) { return *p.table; }

// Title lines and reading modes -----------------------------------------------------------------

TEST(CountTitleLinesTest, BlankAndTextLinesAtTheTop) {
    EXPECT_EQ(CountTitleLines("Weight,Height\r\n1,2\r\n"), 1);
    EXPECT_EQ(CountTitleLines("Experiment 3\r\nWeight,Height\r\n1,2\r\n"), 2);
    EXPECT_EQ(CountTitleLines("\n   \nTitle\n1 2\nMore text\n"), 3);
    EXPECT_EQ(CountTitleLines("1.5e3,2\n"), 0);       // upper-cased "E" is a number character
    EXPECT_EQ(CountTitleLines("*Excluded\n1\n"), 0);  // a line with "*" is never a title
    EXPECT_EQ(CountTitleLines("+-.,;E \t0123\n"), 0);
    EXPECT_EQ(CountTitleLines(""), 0);
}

TEST(LoadDelimitedTextTest, CommasTabsAndSemicolonsSeparateValues) {
    ImportPreview p = LoadDelimitedText("1,5;2\n3\t4\n", Point);
    EXPECT_FALSE(p.blankSeparated);
    EXPECT_EQ(p.rows, 2);
    EXPECT_EQ(p.columns, 3);
    EXPECT_EQ(T(p).Value(0, 0), 1.0L);
    EXPECT_EQ(T(p).Value(0, 1), 5.0L);
    EXPECT_EQ(T(p).Value(0, 2), 2.0L);
    EXPECT_EQ(T(p).Value(1, 1), 4.0L);
    // With "," as the decimal separator: 1.5 and 2.
    p = LoadDelimitedText("1,5;2\n", Comma);
    EXPECT_EQ(p.columns, 2);
    EXPECT_EQ(T(p).Value(0, 0), 1.5L);
    EXPECT_EQ(T(p).Value(0, 1), 2.0L);
    EXPECT_EQ(T(p).Decimals(0), 1);
}

TEST(LoadDelimitedTextTest, StarMarksAValueExcluded) {
    const ImportPreview p = LoadDelimitedText("12.5*,3\n*,4\n", Point);
    EXPECT_EQ(T(p).Value(0, 0), 12.5L);
    EXPECT_TRUE(T(p).IsExcluded(0, 0));
    EXPECT_FALSE(T(p).IsExcluded(0, 1));
    EXPECT_TRUE(T(p).IsMissing(1, 0));
}

TEST(LoadDelimitedTextTest, ColumnTitlesAndDataTitleFromTitleLines) {
    ImportPreview p = LoadDelimitedText("Weight,Height\n70,180\n80,175\n", Point);
    EXPECT_EQ(T(p).Record(0).title, "Weight");
    EXPECT_EQ(T(p).Record(1).title, "Height");
    EXPECT_EQ(T(p).DataTitle(), "");
    EXPECT_TRUE(p.columnTitles);

    p = LoadDelimitedText("Experiment 3\nWeight,Height\n70,180\n", Point);
    EXPECT_EQ(T(p).DataTitle(), "Experiment 3");
    EXPECT_EQ(T(p).Record(0).title, "Weight");
    EXPECT_EQ(T(p).Record(1).title, "Height");

    // One title line that is not a line of column titles gives the data title only.
    p = LoadDelimitedText("Experiment 3\n70,180\n", Point);
    EXPECT_EQ(T(p).DataTitle(), "Experiment 3");
    EXPECT_EQ(T(p).Record(0).title, "");

    // Commas inside double quotes belong to the title; quotes are dropped; semicolons and the
    // list separator split titles as they split values.
    p = LoadDelimitedText("\"Weight, kg\",\"Height\"\n70,180\n", Point);
    EXPECT_EQ(T(p).Record(0).title, "Weight, kg");
    EXPECT_EQ(T(p).Record(1).title, "Height");
    p = LoadDelimitedText("Gewicht;Laenge\n1,5;2\n", Comma);
    EXPECT_EQ(T(p).Record(0).title, "Gewicht");
    EXPECT_EQ(T(p).Record(1).title, "Laenge");
    EXPECT_EQ(T(p).DataTitle(), "");
}

TEST(LoadDelimitedTextTest, NumbersKeepMagnitudeAndLowerCaseExponents) {
    // "1.5e3" reads like "1.5E3"; a lone "e" elsewhere is dropped like any letter.
    // (A first line with letters would be a title line, so a plain line comes first.)
    ImportPreview p = LoadDelimitedText("0,0\n1.5e3,1.5E3,2.5e-2,1.5 e3,3 kg,e5\n", Point);
    EXPECT_EQ(T(p).Value(1, 0), 1500.0L);
    EXPECT_EQ(T(p).Value(1, 1), 1500.0L);
    EXPECT_EQ(T(p).Value(1, 2), 0.025L);
    EXPECT_EQ(T(p).Value(1, 3), 1500.0L);
    EXPECT_EQ(T(p).Value(1, 4), 3.0L);
    EXPECT_EQ(T(p).Value(1, 5), 5.0L);
    // Rounded to 15 significant digits, never cut.
    p = LoadDelimitedText("0,0\n1e15,1.234E-15,1234567.123456789,\"2.5\"\n", Point);
    EXPECT_EQ(T(p).Value(1, 0), 1e15L);
    EXPECT_EQ(T(p).Value(1, 1), 1.234e-15L);
    EXPECT_EQ(T(p).Value(1, 2), 1234567.12345679L);
    EXPECT_EQ(T(p).Value(1, 3), 2.5L);
    EXPECT_EQ(T(p).Decimals(2), 6);  // counted on "1234567.123456"
}

TEST(LoadDelimitedTextTest, DecimalsFollowTheWidestValue) {
    const ImportPreview p = LoadDelimitedText("1.25,3\n3.5,4.125\n100,2\n", Point);
    EXPECT_EQ(T(p).Decimals(0), 2);
    EXPECT_EQ(T(p).Decimals(1), 3);
}

TEST(LoadDelimitedTextTest, BlankSeparatedRightAlignedColumns) {
    const ImportPreview p = LoadDelimitedText("   1.5   10\n  12.25 200\n 100     3\n", Point);
    EXPECT_TRUE(p.blankSeparated);
    EXPECT_EQ(p.columns, 2);
    EXPECT_EQ(T(p).Value(0, 0), 1.5L);
    EXPECT_EQ(T(p).Value(1, 0), 12.25L);
    EXPECT_EQ(T(p).Value(2, 0), 100.0L);
    EXPECT_EQ(T(p).Value(0, 1), 10.0L);
    EXPECT_EQ(T(p).Value(1, 1), 200.0L);
    EXPECT_EQ(T(p).Value(2, 1), 3.0L);
    // Blank-separated fields: "*" excludes, the decimal comma is read, exponents too.
    const ImportPreview q = LoadDelimitedText("1,5  2e3\n2,5* 4E1\n", Comma);
    EXPECT_TRUE(q.blankSeparated);
    EXPECT_EQ(T(q).Value(0, 0), 1.5L);
    EXPECT_EQ(T(q).Value(0, 1), 2000.0L);
    EXPECT_TRUE(T(q).IsExcluded(1, 0));
    EXPECT_EQ(T(q).Value(1, 1), 40.0L);
}

TEST(LoadDelimitedTextTest, EveryKindOfLineEndAndAByteOrderMark) {
    for (const char* text : {"A,B\r\n1,2\r\n3,4\r\n", "A,B\n1,2\n3,4\n", "A,B\r1,2\r3,4",
                             "\xEF\xBB\xBF" "A,B\n1,2\n3,4\n"}) {
        const ImportPreview p = LoadDelimitedText(text, Point);
        EXPECT_EQ(p.rows, 2) << text;
        EXPECT_EQ(T(p).Record(1).title, "B") << text;
        EXPECT_EQ(T(p).Value(1, 1), 4.0L) << text;
    }
}

// Files written by other programs ---------------------------------------------------------------

TEST(ImportFixtureTest, SpreadsheetCsvWithQuotedTitles) {
    const ImportPreview p = LoadDelimitedText(Fixture("spreadsheet_export.csv"), Point);
    EXPECT_EQ(p.rows, 6);
    EXPECT_EQ(p.columns, 3);
    EXPECT_EQ(T(p).DataTitle(), "");
    EXPECT_EQ(T(p).Record(0).title, "Weight");
    EXPECT_EQ(T(p).Record(1).title, "Height");
    EXPECT_EQ(T(p).Record(2).title, "Age");
    EXPECT_EQ(T(p).Value(1, 0), 81.25L);
    EXPECT_TRUE(T(p).IsMissing(4, 0));  // "NA"
    EXPECT_TRUE(T(p).IsMissing(5, 1));
    EXPECT_EQ(T(p).Value(5, 2), 47.0L);
    EXPECT_EQ(T(p).Decimals(0), 2);
    EXPECT_EQ(T(p).Decimals(1), 1);
    EXPECT_EQ(T(p).Decimals(2), 0);
}

TEST(ImportFixtureTest, SemicolonsWithDecimalCommas) {
    const ImportPreview p = LoadDelimitedText(Fixture("semicolon_decimal_comma.csv"), Comma);
    EXPECT_EQ(p.rows, 4);
    EXPECT_EQ(p.columns, 2);
    EXPECT_EQ(T(p).Record(0).title, "Gewicht");
    EXPECT_EQ(T(p).Record(1).title, "Laenge");
    EXPECT_EQ(T(p).Value(0, 0), 1.25L);
    EXPECT_EQ(T(p).Value(1, 1), 12.35L);
    EXPECT_EQ(T(p).Value(3, 1), 11.0L);
    EXPECT_EQ(T(p).Decimals(0), 2);
    EXPECT_EQ(T(p).Decimals(1), 2);
}

TEST(ImportFixtureTest, TabSeparatedInstrumentOutputWithTitleBlock) {
    const ImportPreview p = LoadDelimitedText(Fixture("instrument_output.txt"), Point);
    EXPECT_EQ(p.titleLines, 2);
    EXPECT_EQ(p.rows, 5);
    EXPECT_EQ(p.columns, 4);
    EXPECT_EQ(T(p).DataTitle(), "Plate reader PR-7 kinetic read, 2024-03-14 37 C");
    const char* titles[] = {"Time (s)", "Well A1", "Well A2", "Well A3"};
    for (int c = 0; c < 4; ++c) EXPECT_EQ(T(p).Record(c).title, titles[c]);
    EXPECT_EQ(T(p).Value(4, 0), 120.0L);
    EXPECT_EQ(T(p).Value(1, 2), 0.207L);
    EXPECT_TRUE(T(p).IsExcluded(1, 2));
    EXPECT_TRUE(T(p).IsMissing(3, 3));
    EXPECT_EQ(T(p).Decimals(0), 0);
    EXPECT_EQ(T(p).Decimals(1), 3);
    EXPECT_EQ(T(p).Decimals(3), 3);
}

TEST(ImportFixtureTest, RightAlignedBlankSeparatedColumns) {
    const ImportPreview p = LoadDelimitedText(Fixture("right_aligned.prn"), Point);
    EXPECT_TRUE(p.blankSeparated);
    EXPECT_EQ(p.titleLines, 2);
    EXPECT_EQ(p.rows, 5);
    EXPECT_EQ(p.columns, 3);
    EXPECT_EQ(T(p).DataTitle(), "Body weights of litter 4, grams");
    const Extended x[] = {3.5, 12.25, 101.0, -4.75, 0.5};
    const Extended y[] = {1200, 85, 7, 15000, 640};
    const Extended z[] = {-0.125, 2.5, 33.75, 1.0, -12.5};
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(T(p).Value(r, 0), x[r]) << r;
        EXPECT_EQ(T(p).Value(r, 1), y[r]) << r;
        EXPECT_EQ(T(p).Value(r, 2), z[r]) << r;
    }
    EXPECT_EQ(T(p).Decimals(0), 2);
    EXPECT_EQ(T(p).Decimals(1), 0);
    EXPECT_EQ(T(p).Decimals(2), 3);
}

// Checks and hostile input ------------------------------------------------------------------------

TEST(ReadImportTest, NonAsciiFileIsRefused) {
    test::ScriptedPrompts prompts;
    // A byte of 128 or more on the first line is allowed, on a later line it is not.
    EXPECT_TRUE(ReadImportText("Gr\xF6\xDF" "e\n1\n", Point, prompts).has_value());
    EXPECT_FALSE(ReadImportText("Title\n1\xE9\n", Point, prompts).has_value());
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0], "The file is not an ASCII file.");

    std::string binary(4096, '\0');
    std::mt19937 random(7);
    for (char& c : binary) c = static_cast<char>(random() & 0xFF);
    binary[0] = '\n';
    EXPECT_FALSE(ReadImportText(binary, Point, prompts).has_value());
}

TEST(ReadImportTest, ControlBytesAndSeparatorsOnlyGiveNoValues) {
    test::ScriptedPrompts prompts;
    std::string junk(1 << 20, '\0');
    std::mt19937 random(11);
    for (char& c : junk) c = static_cast<char>(random() & 0x7F);
    const auto p = ReadImportText(junk, Point, prompts);
    ASSERT_TRUE(p.has_value());
    EXPECT_LE(p->rows, ImportRowLimit);
    EXPECT_LE(p->columns, DataColumns);

    const auto q = ReadImportText(",,,,\n;;;;\n\t\t\t\n", Point, prompts);
    ASSERT_TRUE(q.has_value());
    EXPECT_EQ(q->rows, 3);
    EXPECT_EQ(q->columns, 0);
    EXPECT_FALSE(q->table->HasData());
    EXPECT_TRUE(ReadImportText("", Point, prompts).has_value());
}

TEST(ReadImportTest, TooManyRowsAreDroppedAndTheUserIsTold) {
    std::string text = "Value\n";
    for (int i = 0; i < 100000; ++i) text += std::to_string(i) + "\n";
    test::ScriptedPrompts prompts;
    const auto start = std::chrono::steady_clock::now();
    const auto p = ReadImportText(text, Point, prompts);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(5));
    ASSERT_TRUE(p.has_value());
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0],
              "There are too many rows of data in this file.Only the first 1000 rows will be read.");
    EXPECT_EQ(p->rows, 1000);
    EXPECT_TRUE(p->rowsDropped);
    EXPECT_EQ(p->table->Value(999, 0), 999.0L);
    EXPECT_TRUE(p->table->IsMissing(1000, 0));
}

TEST(ReadImportTest, TooManyColumnsAreDroppedAndTheUserIsTold) {
    std::string line;
    for (int c = 1; c <= 30; ++c) line += std::to_string(c) + ",";
    test::ScriptedPrompts prompts;
    const auto p = ReadImportText(line + "\n", Point, prompts);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->columns, 26);
    EXPECT_EQ(p->table->Value(0, 25), 26.0L);
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0],
              "There are too many columns of data in this file.Only the first 26 columns will be "
              "read.");
    // Blank-separated columns past Z as well.
    prompts.told.clear();
    std::string blanks;
    for (int c = 1; c <= 30; ++c) blanks.append(" ").append(std::to_string(c));
    const auto q = ReadImportText(blanks + "\n", Point, prompts);
    EXPECT_EQ(q->columns, 26);
    EXPECT_EQ(prompts.told.size(), 1u);
}

TEST(ReadImportTest, TenMegabyteLinesAreReadInTime) {
    test::ScriptedPrompts prompts;
    const auto start = std::chrono::steady_clock::now();
    std::string separated;
    for (int i = 0; i < 5'000'000; ++i) separated += "1,";
    auto p = ReadImportText(separated + "\n2\n", Point, prompts);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->columns, 26);
    EXPECT_EQ(p->table->Value(1, 0), 2.0L);

    const std::string digits(10'000'000, '7');  // one field far too long to be a number
    p = ReadImportText(digits + "\n1\n", Point, prompts);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->table->Value(1, 0), 1.0L);

    const std::string title(10'000'000, 'x');
    p = ReadImportText(title + "\n1 2\n", Point, prompts);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->table->DataTitle().size(), DataTable::MaxDataTitle);
    EXPECT_EQ(p->table->Value(0, 1), 2.0L);

    std::string wide(10'000'000, ' ');
    wide[5] = '1';
    wide[9'999'990] = '2';
    p = ReadImportText(wide + "\n", Point, prompts);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->table->Value(0, 0), 1.0L);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(ReadImportTest, MissingFileIsReported) {
    test::ScriptedPrompts prompts;
    EXPECT_FALSE(ReadImportFile("/nonexistent/folder/file.txt", Point, prompts).has_value());
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0].substr(0, 8), "Error: #");
}

}  // namespace
}  // namespace zelkon
