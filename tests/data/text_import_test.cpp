// Tests of reading text files into the import preview: the corpus of files written by other
// programs against EXPECTED.txt (one table-driven test), how one field reads, title lines,
// separators and quoting, label columns, blank-separated files, encodings, limits and hostile
// input, and a property test over random tables written in random ways.
#include "data/text_import.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>

#include "core/file_io.h"
#include "core/latin1.h"
#include "data/import_placement.h"
#include "data/scripted_prompts.h"
#include "data/text_import_fields.h"
#include "document/summary_page.h"

namespace zelkon {
namespace {

constexpr Separators Point{'.', ','};
constexpr Separators Comma{',', ';'};

const std::string CorpusDir = std::string(ZELKON_SOURCE_DIR) + "/tests/data/import/";

const DataTable& T(const ImportPreview& p) { return *p.table; }

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    return out;
}

// The corpus ------------------------------------------------------------------------------------

struct ExpectedColumn {
    int column = 0;
    std::string title;
    std::int32_t n = 0;
    long double mean = 0;
};

struct CorpusCase {
    std::string file;
    Separators separators = Point;
    bool twoByTwo = false;
    ImportOptions options;
    std::vector<ExpectedColumn> columns;
    std::vector<std::pair<int, std::string>> rowTitles;
    std::optional<std::string> dataTitle;
    std::vector<std::string> account, told;
    std::optional<std::string> refused;
    std::vector<std::string> twoByTwoFields;
};

std::vector<std::string> Fields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = line.find(" | ", start);
        fields.push_back(
            line.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 3;
    }
    return fields;
}

std::vector<CorpusCase> LoadCorpus() {
    std::string text;
    if (!ReadWholeFile(CorpusDir + "EXPECTED.txt", text)) return {};
    std::vector<CorpusCase> cases;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> f = Fields(line);
        for (std::string& field : f) field = Utf8ToLatin1(field);
        const std::string& key = f[0];
        if (key == "file") {
            cases.push_back({});
            cases.back().file = f.at(1);
            continue;
        }
        CorpusCase& c = cases.back();
        if (key == "options") {
            std::istringstream words(f.at(1));
            for (std::string w; words >> w;) {
                if (w.rfind("decimal=", 0) == 0) c.separators.decimal = w[8];
                if (w.rfind("list=", 0) == 0) c.separators.list = w[5];
                if (w == "twobytwo") c.twoByTwo = true;
                if (w.rfind("indexed=", 0) == 0) {
                    c.options.columns = ImportColumns::Indexed;
                    c.options.valueColumn = w[8] - '0';
                    c.options.groupColumn = w[10] - '0';
                }
            }
        } else if (key == "column") {
            c.columns.push_back(
                {f.at(1)[0] - 'A', f.at(2), std::stoi(f.at(3)), std::stold(f.at(4))});
        } else if (key == "rowtitle") {
            c.rowTitles.emplace_back(std::stoi(f.at(1)) - 1, f.at(2));
        } else if (key == "datatitle") {
            c.dataTitle = f.at(1);
        } else if (key == "account") {
            c.account.push_back(f.at(1));
        } else if (key == "told") {
            c.told.push_back(f.at(1));
        } else if (key == "refused") {
            c.refused = f.at(1);
        } else if (key == "twobytwo") {
            c.twoByTwoFields.assign(f.begin() + 1, f.end());
        }
    }
    return cases;
}

class CorpusTest : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(CorpusTest, ImportsAsExpected) {
    const CorpusCase& c = GetParam();
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(CorpusDir + c.file, bytes)) << c.file;
    test::ScriptedPrompts prompts;
    const std::optional<ImportPreview> preview = ReadImportText(bytes, c.separators, prompts);
    const std::string told = Joined(prompts.told);
    for (const std::string& message : c.told)
        EXPECT_NE(told.find(message), std::string::npos) << told;
    if (c.refused) {
        EXPECT_FALSE(preview.has_value());
        EXPECT_NE(told.find(*c.refused), std::string::npos) << told;
        return;
    }
    ASSERT_TRUE(preview.has_value()) << told;
    const std::string account = Joined(AccountLines(preview->account));
    for (const std::string& line : c.account)
        EXPECT_NE(account.find(line), std::string::npos) << account;
    if (c.dataTitle) {
        EXPECT_EQ(T(*preview).DataTitle(), *c.dataTitle);
    }

    Document doc;
    if (c.twoByTwo) {
        ASSERT_TRUE(ImportTwoByTwoTable(doc, *preview));
        const TwoByTwoRecord& r = doc.Data().TwoByTwo();
        const std::vector<std::string>& e = c.twoByTwoFields;
        EXPECT_EQ(r.a, std::stold(e.at(0)));
        EXPECT_EQ(r.b, std::stold(e.at(1)));
        EXPECT_EQ(r.c, std::stold(e.at(2)));
        EXPECT_EQ(r.d, std::stold(e.at(3)));
        EXPECT_EQ(r.column1Title + "|" + r.column2Title + "|" + r.row1Title + "|" + r.row2Title,
                  e.at(4) + "|" + e.at(5) + "|" + e.at(6) + "|" + e.at(7));
        EXPECT_EQ(doc.Format(), DataFormat::TwoByTwo);
        return;
    }
    ASSERT_TRUE(ImportIntoDocument(doc, *preview, c.options, 0, 0, prompts));
    PrepareColumnStatistics(doc);
    const DataTable& t = doc.Table();
    std::vector<bool> listed(DataColumns, false);
    for (const ExpectedColumn& e : c.columns) {
        listed[static_cast<std::size_t>(e.column)] = true;
        const ColumnRecord& r = t.Record(e.column);
        EXPECT_EQ(r.title, e.title) << "column " << ColumnLetter(e.column);
        EXPECT_EQ(r.n, e.n) << "column " << ColumnLetter(e.column);
        // The means of R and Python are doubles: agreement to 1e-13 relative.
        EXPECT_NEAR(r.mean, e.mean, 1e-13L * std::fabs(e.mean))
            << "column " << ColumnLetter(e.column);
    }
    for (int col = 0; col < DataColumns; ++col) {
        if (!listed[static_cast<std::size_t>(col)]) {
            EXPECT_FALSE(t.ColumnHasValue(col)) << "column " << ColumnLetter(col);
        }
    }
    for (const auto& [row, title] : c.rowTitles) EXPECT_EQ(t.RowTitle(row), title) << row + 1;
}

INSTANTIATE_TEST_SUITE_P(Files, CorpusTest, ::testing::ValuesIn(LoadCorpus()),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                             std::string name;
                             for (char ch : info.param.file) {
                                 name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             }
                             return name;
                         });

TEST(CorpusFilesTest, EveryFileHasItsExpectations) {
    std::vector<std::string> described;
    for (const CorpusCase& c : LoadCorpus()) described.push_back(c.file);
    EXPECT_GE(described.size(), 30u);
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDir)) {
        const std::string name = entry.path().filename().string();
        if (name == "EXPECTED.txt" || name == "SOURCES.txt" || name.rfind("make_corpus", 0) == 0 ||
            name[0] == '.') {
            continue;
        }
        EXPECT_NE(std::find(described.begin(), described.end(), name), described.end()) << name;
    }
}

// One field -------------------------------------------------------------------------------------

TEST(ReadFieldTest, NumbersGroupingAndEverythingElse) {
    struct Case {
        const char* text;
        char decimal;
        bool grouping;
        FieldKind kind;
        long double value;
        bool excluded;
    };
    constexpr FieldKind N = FieldKind::Number, X = FieldKind::Text, E = FieldKind::Empty,
                        L = FieldKind::TooLarge;
    const Case cases[] = {
        {" 12.5 ", '.', false, N, 12.5L, false},
        {"-3", '.', false, N, -3, false},
        {"+4.", '.', false, N, 4, false},
        {".25", '.', false, N, 0.25L, false},
        {"1.5e3", '.', false, N, 1500, false},
        {"2.5E-2", '.', false, N, 0.025L, false},
        {"12.5*", '.', false, N, 12.5L, true},
        {"*7", '.', false, N, 7, true},
        {"*", '.', false, E, 0, false},
        {"", '.', false, E, 0, false},
        {"   ", '.', false, E, 0, false},
        {"1,234", '.', true, N, 1234, false},  // regular grouping where allowed
        {"1,234,567.25", '.', true, N, 1234567.25L, false},
        {"-12,345", '.', true, N, -12345, false},
        {"1,234", '.', false, X, 0, false},  // ... not where the comma separates
        {"1,23", '.', true, X, 0, false},
        {"1,2345", '.', true, X, 0, false},
        {"0,123", '.', true, X, 0, false},
        {"1234,567", '.', true, X, 0, false},
        {"1,5", ',', true, N, 1.5L, false},  // the decimal comma
        {"1.234,5", ',', true, N, 1234.5L, false},
        {"12.345.678", ',', true, N, 12345678, false},
        {"2.5", ',', true, N, 2.5L, false},  // a lone point: the decimal point
        {"1.2.3", ',', true, X, 0, false},
        {"NA", '.', false, X, 0, false},
        {"NaN", '.', false, X, 0, false},
        {"#N/A", '.', false, X, 0, false},
        {"n/a", '.', false, X, 0, false},
        {"inf", '.', false, X, 0, false},
        {".", '.', false, X, 0, false},
        {"-", '.', false, X, 0, false},
        {"<0.05", '.', false, X, 0, false},
        {"12:30", '.', false, X, 0, false},
        {"5%", '.', false, X, 0, false},
        {"3 kg", '.', false, X, 0, false},
        {"1.5 e3", '.', false, X, 0, false},
        {"0x1A", '.', false, X, 0, false},
        {"1.7E38", '.', false, L, 0, false},  // the missing-value marker
        {"-1.7e38", '.', false, L, 0, false},
        {"1.69999999999999999E38", '.', false, L, 0, false},  // rounds to the marker
        {"1E400", '.', false, L, 0, false},
        {"1E5000", '.', false, L, 0, false},
        {"1E-6000", '.', false, X, 0, false},
        {"1.6999999999999E38", '.', false, N, 1.6999999999999E38L, false},
    };
    for (const Case& c : cases) {
        const FieldReading r = ReadField(c.text, c.decimal, c.grouping);
        EXPECT_EQ(r.kind, c.kind) << c.text;
        if (c.kind == N) {
            EXPECT_EQ(r.value, c.value) << c.text;
            EXPECT_EQ(r.excluded, c.excluded) << c.text;
        }
    }
    // With "," as the decimal separator in a text that writes decimal commas, a lone point
    // groups thousands.
    EXPECT_EQ(ReadField("12.000", ',', true, false).value, 12000.0L);
    EXPECT_EQ(ReadField("2.5", ',', true, false).kind, FieldKind::Text);
    EXPECT_TRUE(PointIsDecimal("1.5;2.25\n", ';', ','));
    EXPECT_FALSE(PointIsDecimal("12.000;2,25\n", ';', ','));
}

TEST(RecordReaderTest, QuotesSeparatorsAndLineBreaks) {
    RecordReader reader("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",x\n\"open,y\n", ',');
    TextRecord r;
    ASSERT_TRUE(reader.Next(r));
    ASSERT_EQ(r.fields.size(), 3u);
    EXPECT_EQ(r.fields[1].text, "b,c");
    EXPECT_TRUE(r.fields[1].quoted && r.fields[1].needsQuotes);
    EXPECT_EQ(r.fields[2].text, "say \"hi\"");
    ASSERT_TRUE(reader.Next(r));
    EXPECT_EQ(r.line, 2);
    EXPECT_EQ(r.fields[0].text, "two\nlines");
    EXPECT_EQ(r.fields[1].text, "x");
    // A quote that no other quote closes is an ordinary character.
    ASSERT_TRUE(reader.Next(r));
    EXPECT_EQ(r.line, 4);
    EXPECT_EQ(r.fields[0].text, "\"open");
    EXPECT_FALSE(r.fields[0].quoted);
    EXPECT_FALSE(reader.Next(r));

    RecordReader blanks("  \"Mouse 1\"  12.5 \t3\n\"x\" \"y\"\n", BlanksSeparate);
    ASSERT_TRUE(blanks.Next(r));
    ASSERT_EQ(r.fields.size(), 3u);
    EXPECT_EQ(r.fields[0].text, "Mouse 1");
    EXPECT_EQ(r.fields[2].text, "3");
    ASSERT_TRUE(blanks.Next(r));
    EXPECT_EQ(r.fieldCount, 2);
}

TEST(ChooseSeparatorTest, TheSeparatorThatGivesNumbers) {
    struct Case {
        const char* text;
        Separators separators;
        char expected;
    };
    const Case cases[] = {
        {"1,234\t5.5\n", Point, '\t'},  // a comma inside a tab-separated line
        {"1;2\n3;4\n", Point, ';'},
        {"1,5;2\n", Point, ';'},
        {"1,5;2\n", Comma, ';'},
        {"a,b\n1,2\n", Point, ','},
        {"1,5 2,5\n", Comma, BlanksSeparate},  // decimal commas never separate
        {"Litter 4, grams\n 1.5  2\n", Point, BlanksSeparate},
        {"1|2\n3|4\n", Separators{'.', '|'}, '|'},
        {"\"1,2\",3\n", Point, ','},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseSeparator(c.text, c.separators, true), c.expected) << c.text;
    }
    // Without numbers, paste takes the first separator found, or none.
    EXPECT_EQ(ChooseSeparator("Weight,Height", Point, false), ',');
    EXPECT_EQ(ChooseSeparator("Weight", Point, false), NothingSeparates);
}

// Title lines and columns -------------------------------------------------------------------------

TEST(TitleLinesTest, ALineWithANumberStartsTheData) {
    struct Case {
        const char* text;
        std::int32_t titleLines;
    };
    const Case cases[] = {
        {"Weight,Height\r\n1,2\r\n", 1},
        {"Experiment 3\r\nWeight,Height\r\n1,2\r\n", 2},
        {"\n   \nTitle\n1 2\nMore text\n", 3},
        {"NA,NA\n1,2\n", 1},        // a line without a number
        {"NA,171\n72.5,180\n", 0},  // a data row with an empty cell is data
        {"Mouse1,12.5\nMouse2,13\n", 0},
        {"Run,7\nDose,Response,Weight\n1,10,20\n", 2},  // text and a number, fewer fields
        {"12:30,5%\n1,2\n", 1},
        {"\"1\",\"2\"\n1.5,3\n", 1},          // quoted numbers above unquoted ones are titles
        {"\"1\",\"2\"\n\"1.5\",\"3\"\n", 0},  // ... unless every number is quoted
        {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CountTitleLines(c.text), c.titleLines) << c.text;
}

TEST(ColumnTitlesTest, TheLineThatLinesUpTitlesTheColumns) {
    // The nearest line above the data whose fields line up; the others make the data title.
    ImportPreview p = LoadDelimitedText("Experiment 3\nWeight,Height\n70,180\n", Point);
    EXPECT_EQ(T(p).DataTitle(), "Experiment 3");
    EXPECT_EQ(T(p).Record(0).title, "Weight");
    EXPECT_EQ(T(p).Record(1).title, "Height");
    // One line that does not line up is the data title only.
    p = LoadDelimitedText("Experiment 3\n70,180\n", Point);
    EXPECT_EQ(T(p).DataTitle(), "Experiment 3");
    EXPECT_FALSE(p.columnTitles);
    // An empty header field leaves its column untitled, in its own place.
    p = LoadDelimitedText("Dose,,Response\n1,2,3\n", Point);
    EXPECT_EQ(T(p).Record(0).title, "Dose");
    EXPECT_EQ(T(p).Record(1).title, "");
    EXPECT_EQ(T(p).Record(2).title, "Response");
    // A blank line between a title and the data: no column titles.
    p = LoadDelimitedText("\"Trial\"\n\n1.5\n", Point);
    EXPECT_EQ(T(p).DataTitle(), "Trial");
    EXPECT_EQ(T(p).Record(0).title, "");
    // Quoted titles keep separators and blanks; quotes are undone.
    p = LoadDelimitedText("\"Weight, kg\",\" \"\"B\"\" \"\n70,180\n", Point);
    EXPECT_EQ(T(p).Record(0).title, "Weight, kg");
    EXPECT_EQ(T(p).Record(1).title, " \"B\" ");
    // Titles are cut to 80 characters; control characters never reach them.
    p = LoadDelimitedText(std::string(100, 'w') + ",x\x01y\n1,2\n", Point);
    EXPECT_EQ(T(p).Record(0).title, std::string(80, 'w'));
    EXPECT_EQ(T(p).Record(1).title, "xy");
}

TEST(LabelColumnsTest, ColumnsWithoutNumbersAreLabels) {
    const ImportPreview p =
        LoadDelimitedText("id,value,note\nS1,1.5,ok\nS2,2.5,\nS3,NA,redo\n", Point);
    EXPECT_TRUE(p.IsLabelColumn(0));
    EXPECT_FALSE(p.IsLabelColumn(1));
    EXPECT_TRUE(p.IsLabelColumn(2));
    EXPECT_EQ(p.columns, 3);
    EXPECT_EQ(p.rowTitles, (std::vector<std::string>{"S1", "S2", "S3"}));
    EXPECT_EQ(p.Text(2, 2), "redo");
    EXPECT_FALSE(T(p).ColumnHasValue(0));
    EXPECT_EQ(T(p).Value(1, 1), 2.5L);
    ASSERT_EQ(p.account.leftEmpty.count, 1);  // "NA" in the value column; labels are not counted
    EXPECT_EQ(p.account.leftEmpty.first[0].line, 4);
    EXPECT_EQ(p.account.leftEmpty.first[0].column, 2);
    ASSERT_EQ(p.account.labels.size(), 2u);
    EXPECT_TRUE(p.account.labels[0].rowTitles);
    EXPECT_EQ(p.account.labels[1].title, "note");
    // Row titles are cut to 10 characters.
    const ImportPreview q = LoadDelimitedText("Sample number one,1\n", Point);
    EXPECT_EQ(q.rowTitles[0], "Sample num");
}

TEST(BlankSeparatedTest, TokensColumnMapAndLongLines) {
    // Right-aligned numbers of different widths, cut by the column map.
    ImportPreview p = LoadDelimitedText("   1.5   10\n  12.25 200\n 100     3\n", Point);
    EXPECT_TRUE(p.blankSeparated);
    EXPECT_EQ(p.columns, 2);
    EXPECT_EQ(T(p).Value(2, 0), 100.0L);
    EXPECT_EQ(T(p).Value(1, 1), 200.0L);
    // Ragged lines of as many tokens.
    p = LoadDelimitedText("1 2 3\n10   20 30\n100 200  300\n", Point);
    EXPECT_EQ(T(p).Value(1, 1), 20.0L);
    EXPECT_EQ(T(p).Value(2, 2), 300.0L);
    // Decimal commas, exclusion marks and exponents.
    p = LoadDelimitedText("1,5  2e3\n2,5* 4E1\n", Comma);
    EXPECT_EQ(T(p).Value(0, 0), 1.5L);
    EXPECT_TRUE(T(p).IsExcluded(1, 0));
    EXPECT_EQ(T(p).Value(1, 1), 40.0L);
    // Values far past character 255.
    std::string line(300, ' ');
    line += "7 8";
    p = LoadDelimitedText(line + "\n" + line + "\n", Point);
    EXPECT_EQ(T(p).Value(1, 1), 8.0L);
}

TEST(EncodingTest, EveryEncodingReadsTheSameTitle) {
    struct Case {
        std::string bytes;
        TextEncoding encoding;
    };
    const std::string utf8 =
        "Gr\xC3\xB6\xC3\x9F"
        "e \xC2\xB5g\n1\n";
    const std::string utf16le(
        "\xFF\xFEG\0r\0\xF6\0\xDF\0e\0 \0\xB5\0g\0\n\0"
        "1\0\n\0",
        24);
    const std::string utf16be(
        "\xFE\xFF\0G\0r\0\xF6\0\xDF\0e\0 \0\xB5\0g\0\n\0"
        "1\0\n",
        24);
    // (One column of blank-separated values: the title line, blanks and all, titles it.)
    const Case cases[] = {{utf8, TextEncoding::Utf8},
                          {"\xEF\xBB\xBF" + utf8, TextEncoding::Utf8},
                          {utf16le, TextEncoding::Utf16LittleEndian},
                          {utf16be, TextEncoding::Utf16BigEndian},
                          {"Gr\xF6\xDF"
                           "e \xB5g\n1\n",
                           TextEncoding::Windows1252}};
    for (const Case& c : cases) {
        const ImportPreview p = LoadDelimitedText(c.bytes, Point);
        EXPECT_EQ(p.account.encoding, c.encoding) << c.bytes;
        EXPECT_EQ(T(p).Record(0).title,
                  "Gr\xF6\xDF"
                  "e \xB5g")
            << c.bytes;
        EXPECT_EQ(T(p).Value(0, 0), 1.0L) << c.bytes;
    }
    // Windows-1252 punctuation becomes plain; a character Latin-1 lacks becomes "?", counted.
    ImportPreview p = LoadDelimitedText(
        "\x93"
        "A\x94 \x96 B\x85\n1\n",
        Point);
    EXPECT_EQ(T(p).Record(0).title, "\"A\" - B...");
    p = LoadDelimitedText("\xE2\x89\x88 x\n1\n", Point);
    EXPECT_EQ(T(p).Record(0).title, "? x");
    EXPECT_EQ(p.account.replacedCharacters, 1);
    // Bytes that fit no encoding.
    EXPECT_TRUE(LoadDelimitedText(std::string("1,2\n\0\x01", 6), Point).notText);
    EXPECT_TRUE(LoadDelimitedText("Title\n1\x81\n", Point).notText);
    EXPECT_FALSE(LoadDelimitedText("Title\n1\xE9\n", Point).notText);
}

// Checks, limits and hostile input --------------------------------------------------------------

TEST(ReadImportTest, RefusalsSayWhy) {
    test::ScriptedPrompts prompts;
    std::string binary(4096, '\0');
    std::mt19937 random(7);
    for (char& c : binary) c = static_cast<char>(random() & 0xFF);
    EXPECT_FALSE(ReadImportText(binary, Point, prompts).has_value());
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0], "The file is not an ASCII file.");

    prompts.told.clear();
    for (const char* text : {"", ",,,,\n;;;;\n\t\t\t\n", "NA,NA\nx,y\n", "1E39\n"}) {
        EXPECT_FALSE(ReadImportText(text, Point, prompts).has_value()) << text;
    }
    ASSERT_EQ(prompts.told.size(), 4u);
    EXPECT_EQ(prompts.told[2],
              "There are no numbers to import in this file.\nThe file was read as ASCII.");
    EXPECT_EQ(prompts.told[3],
              "There are no numbers to import in this file.\nThe file was read as ASCII.\n"
              "1 value of 1.7E38 or more in magnitude was refused and left empty: line 1, "
              "column 1 \"1E39\".");
}

TEST(ReadImportTest, RowsAndColumnsLeftOutAreTold) {
    std::string text = "Value\n";
    for (int i = 0; i < 100000; ++i) text += std::to_string(i) + "\n";
    test::ScriptedPrompts prompts;
    auto p = ReadImportText(text, Point, prompts);
    ASSERT_TRUE(p.has_value());
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0],
              "There are too many rows of data in this file.Only the first 1000 rows will be read.");
    EXPECT_EQ(p->rows, 1000);
    EXPECT_EQ(p->account.rowsLeftOut, 99000);
    EXPECT_EQ(p->table->Value(999, 0), 999.0L);

    // More than 1000 lines, but 1000 data rows: nothing is told.
    prompts.told.clear();
    text = "Title\n\nValue\n";
    for (int i = 0; i < 1000; ++i) text += "1\n";
    text += "\n\n\n";
    p = ReadImportText(text, Point, prompts);
    EXPECT_TRUE(prompts.told.empty());
    EXPECT_EQ(p->rows, 1000);

    std::string line;
    for (int c = 1; c <= 30; ++c) line += std::to_string(c) + ",";
    prompts.told.clear();
    p = ReadImportText(line + "\n", Point, prompts);
    EXPECT_EQ(p->columns, 26);
    EXPECT_EQ(p->account.columnsLeftOut, 4);
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0],
              "There are too many columns of data in this file.Only the first 26 columns will be "
              "read; 4 columns were left out.");
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
    p = ReadImportText("1\n" + digits + "\n2\n", Point, prompts);
    ASSERT_TRUE(p.has_value());
    EXPECT_TRUE(p->table->IsMissing(1, 0));
    EXPECT_EQ(p->table->Value(2, 0), 2.0L);

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
    EXPECT_EQ(p->table->Value(0, 1), 2.0L);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST(ReadImportTest, MissingFileIsReported) {
    test::ScriptedPrompts prompts;
    EXPECT_FALSE(ReadImportFile("/nonexistent/folder/file.txt", Point, prompts).has_value());
    ASSERT_EQ(prompts.told.size(), 1u);
    EXPECT_EQ(prompts.told[0].substr(0, 8), "Error: #");
}

// Property: random tables written in random ways -------------------------------------------------

// A random number of 1 to 15 significant digits, from about 1E-7 to 1E11, in fixed or
// exponent notation.
std::string RandomNumber(std::mt19937& random, long double& value) {
    const int n = 1 + static_cast<int>(random() % 15);
    std::string digits(1, static_cast<char>('1' + random() % 9));
    while (static_cast<int>(digits.size()) < n) digits += static_cast<char>('0' + random() % 10);
    const int point = static_cast<int>(random() % 18) - 6;  // digits before the point
    std::string text;
    if (random() % 4 == 0) {
        text = digits.substr(0, 1) + (n > 1 ? "." + digits.substr(1) : "") + "E" +
               std::to_string(point - 1);
    } else if (point <= 0) {
        text = "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
    } else if (point >= n) {
        text = digits + std::string(static_cast<std::size_t>(point - n), '0');
    } else {
        text = digits.substr(0, static_cast<std::size_t>(point)) + "." +
               digits.substr(static_cast<std::size_t>(point));
    }
    if (random() % 2) text = "-" + text;
    value = std::strtold(text.c_str(), nullptr);
    return text;
}

// Latin-1 text as a file: Latin-1, UTF-8, UTF-8 with a byte-order mark, or UTF-16.
std::string Encode(const std::string& latin1, int encoding) {
    if (encoding == 0) return latin1;
    if (encoding == 1) return Latin1ToUtf8(latin1);
    if (encoding == 2) return "\xEF\xBB\xBF" + Latin1ToUtf8(latin1);
    std::string utf16 = "\xFF\xFE";
    for (char c : latin1) {
        utf16 += c;
        utf16 += '\0';
    }
    return utf16;
}

TEST(ImportPropertyTest, EveryNumberLandsInItsColumn) {
    std::mt19937 random(20240314);
    const char* naSpellings[] = {"NA", "NaN", "#N/A", "n/a", ".", "-", "<0.05", "null", ""};
    for (int trial = 0; trial < 400; ++trial) {
        SCOPED_TRACE(trial);
        const int columns = 1 + static_cast<int>(random() % 8);
        const int rows = 1 + static_cast<int>(random() % 40);
        const char sep = ",\t; "[random() % 4];
        const bool decimalComma = sep == ';' && random() % 2;
        const Separators separators = decimalComma ? Comma : Point;
        const int quoting = static_cast<int>(random() % 3);  // none, titles, every field
        const bool header = random() % 2;
        const bool dataTitle = random() % 2;
        const char* lineEnd = random() % 2 ? "\r\n" : "\n";

        std::string text;
        if (dataTitle) {
            text += std::string("Run of trial data") + lineEnd;
            if (!header) text += lineEnd;  // a blank line parts it from the data
        }
        if (header) {
            for (int c = 0; c < columns; ++c) {
                if (c > 0) text += sep;
                const std::string title = "T\xB5" + std::to_string(c);
                text += quoting > 0 ? "\"" + title + "\"" : title;
            }
            text += lineEnd;
        }
        std::vector<std::vector<long double>> expected(static_cast<std::size_t>(columns));
        int expectedRows = 0;
        for (int r = 0; r < rows; ++r) {
            bool written = false;
            for (int c = 0; c < columns; ++c) {
                if (c > 0) text += sep;
                // Every column has a number in the first row, so that none is all labels;
                // blank-separated text has no empty fields.
                if (r > 0 && random() % 5 == 0) {
                    const std::size_t spellings = std::size(naSpellings) - (sep == ' ' ? 1 : 0);
                    const std::string na = naSpellings[random() % spellings];
                    text += na;
                    written = written || !na.empty();
                    expected[static_cast<std::size_t>(c)].push_back(MissingValue);
                    continue;
                }
                long double v = 0;
                std::string number = RandomNumber(random, v);
                if (decimalComma) std::replace(number.begin(), number.end(), '.', ',');
                text += quoting == 2 ? "\"" + number + "\"" : number;
                written = true;
                expected[static_cast<std::size_t>(c)].push_back(v);
            }
            text += lineEnd;
            if (written) expectedRows = r + 1;
        }
        const ImportPreview p =
            LoadDelimitedText(Encode(text, static_cast<int>(random() % 4)), separators);
        ASSERT_EQ(p.rows, expectedRows) << text;
        for (int c = 0; c < columns; ++c) {
            EXPECT_FALSE(p.IsLabelColumn(c)) << text;
            if (header) {
                EXPECT_EQ(T(p).Record(c).title, "T\xB5" + std::to_string(c)) << text;
            }
            for (int r = 0; r < expectedRows; ++r) {
                const long double e =
                    expected[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
                const long double got = T(p).Value(r, c);
                if (IsMissingValue(e)) {
                    EXPECT_TRUE(IsMissingValue(got)) << r << "," << c << "\n" << text;
                } else {
                    // Kept to 15 significant digits: equal to 1e-14 relative.
                    EXPECT_NEAR(got, e, 1e-14L * std::fabs(e)) << r << "," << c << "\n" << text;
                }
            }
        }
        if (dataTitle) {
            EXPECT_EQ(T(p).DataTitle(), "Run of trial data") << text;
        }
    }
}

}  // namespace
}  // namespace zelkon
