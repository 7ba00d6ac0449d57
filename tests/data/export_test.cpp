// Tests of the export writers: the data table in standard and index format with both
// separators, the two-by-two table, the column statistics against R, the results text, the
// atomic write, and export followed by import.
#include "data/export.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <random>
#include <sstream>
#include <vector>

#include "core/file_io.h"
#include "data/entered_value.h"
#include "data/import_placement.h"
#include "data/scripted_prompts.h"
#include "stats/column_stats.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

constexpr Separators Point{'.', ','};

void Put(DataTable& t, int row, int column, Extended v) {
    t.SetValue(row, column, v);
    t.SetNoRawData(column, false);
}

// Weight 1.5, 2.25 (2 decimals) and Dose 3, empty (0 decimals), titled, data title "Exp 1".
void SmallTable(DataTable& t) {
    Put(t, 0, 0, 1.5);
    Put(t, 1, 0, 2.25);
    Put(t, 0, 1, 3);
    t.SetDecimals(0, 2);
    t.Record(0).title = "Weight";
    t.Record(1).title = "Dose";
    t.SetDataTitle("Exp 1");
}

TEST(ExportSeparatorTest, TxtIsTabAnythingElseTheListSeparator) {
    EXPECT_EQ(ExportSeparator("DATA.TXT", Point), '\t');
    EXPECT_EQ(ExportSeparator("/tmp/data.txt", Point), '\t');
    EXPECT_EQ(ExportSeparator("DATA.CSV", Point), ',');
    EXPECT_EQ(ExportSeparator("DATA.CSV", Separators{',', ';'}), ';');
    EXPECT_EQ(ExportSeparator("/tmp/x.txt/data", Point), ',');
    EXPECT_EQ(ExportSeparator("data.txt.csv", Point), ',');
}

TEST(ExportDataTableTest, StandardFormat) {
    DataTable t;
    SmallTable(t);
    // Titles in quotes, so that the import reads them as titles.
    EXPECT_EQ(ExportDataTableText(t, {}, ',', Point),
              "\"Exp 1\"\r\n\"Weight\",\"Dose\"\r\n1.50, 3\r\n2.25, \r\n");
    EXPECT_EQ(ExportDataTableText(t, {}, '\t', Point),
              "\"Exp 1\"\r\n\"Weight\"\t\"Dose\"\r\n1.50\t 3\r\n2.25\t \r\n");
    // "," as the decimal separator with the default list separator: decimal commas, values
    // separated by ", ".
    EXPECT_EQ(ExportDataTableText(t, {false, false, false}, ',', Separators{',', ','}),
              "1,50, 3\r\n2,25, \r\n");
    // The shown decimals count: fixed display formats of 3 and 1.
    t.SetDisplayFormat(0, 3);
    t.SetDisplayFormat(1, 1);
    EXPECT_EQ(ExportDataTableText(t, {false, false, false}, ',', Point),
              "1.500, 3.0\r\n2.250, \r\n");
}

TEST(ExportDataTableTest, NoTitleLineWithoutTitlesAndNoExclusionMarks) {
    DataTable t;
    Put(t, 0, 0, 4);
    t.SetExcluded(0, 0, true);
    EXPECT_EQ(ExportDataTableText(t, {false, false, true}, ',', Point), "4\r\n");
    // Without a line of column titles, a blank line parts the data title from the data.
    EXPECT_EQ(ExportDataTableText(DataTable(), {false, true, true}, ',', Point), "\r\n\r\n");
    DataTable titled;
    Put(titled, 0, 0, 4);
    titled.SetDataTitle("Say \"2024\"");
    EXPECT_EQ(ExportDataTableText(titled, {false, true, false}, ',', Point),
              "\"Say \"\"2024\"\"\"\r\n\r\n4\r\n");
}

TEST(ExportDataTableTest, ValuesTheShownDecimalsWouldChangeKeepTheirDigits) {
    DataTable t;
    Put(t, 0, 0, 1.25);
    Put(t, 1, 0, 3.14159265358979L);
    Put(t, 2, 0, 12345678);  // the exponent form as the sheet shows it
    Put(t, 3, 0, 0.00001234567L);
    t.SetDisplayFormat(0, 2);
    EXPECT_EQ(ExportDataTableText(t, {false, false, false}, ',', Point),
              "1.25\r\n3.14159265358979\r\n1.2345678E+07\r\n1.234567E-05\r\n");
    EXPECT_EQ(ExportDataTableText(t, {false, false, false}, ';', Separators{',', ';'}),
              "1,25\r\n3,14159265358979\r\n1,2345678E+07\r\n1,234567E-05\r\n");
}

TEST(ExportDocumentTest, Latin1TextIsWrittenAsUtf8WithAMark) {
    Document doc;
    Put(doc.Table(), 0, 0, 1);
    doc.Table().Record(0).title = "\xB5g";
    const std::string dir = test::MakeTempDir();
    ASSERT_EQ(
        ExportDocument(doc, ExportKind::DataTable, dir + "/a.csv", {false, false, true}, Point), 0);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(dir + "/a.csv", text));
    EXPECT_EQ(text, "\xEF\xBB\xBF\"\xC2\xB5g\"\r\n1\r\n");
    doc.Table().Record(0).title = "ug";
    ASSERT_EQ(
        ExportDocument(doc, ExportKind::DataTable, dir + "/b.csv", {false, false, true}, Point), 0);
    ASSERT_TRUE(ReadWholeFile(dir + "/b.csv", text));
    EXPECT_EQ(text, "\"ug\"\r\n1\r\n");  // ASCII stays as it was
    std::filesystem::remove_all(dir);
}

TEST(ExportDataTableTest, IndexFormat) {
    DataTable t;
    SmallTable(t);
    EXPECT_EQ(ExportDataTableText(t, {true, false, true}, ',', Point),
              "value,group\r\n1.50,1\r\n2.25,1\r\n3,2\r\n,2\r\n");
    EXPECT_EQ(ExportDataTableText(t, {true, false, false}, '\t', Point),
              "1.50\t1\r\n2.25\t1\r\n3\t2\r\n\t2\r\n");
}

TEST(ExportTwoByTwoTest, StoredNumbers) {
    TwoByTwoRecord r;
    r.a = 10;
    r.b = 20.5;
    r.c = 12345678;
    EXPECT_EQ(ExportTwoByTwoText(r, ','), "10,20.5\r\n 1.2345678E+07,\r\n");
    EXPECT_EQ(ExportTwoByTwoText(r, '\t'), "10\t20.5\r\n 1.2345678E+07\t\r\n");
}

std::vector<std::vector<std::string>> SplitCsv(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        EXPECT_EQ(line.back(), '\r');
        line.pop_back();
        std::vector<std::string> fields;
        std::istringstream f(line);
        for (std::string field; std::getline(f, field, ',');) fields.push_back(field);
        if (line.empty() || line.back() == ',') fields.emplace_back();
        lines.push_back(fields);
    }
    return lines;
}

TEST(ExportColumnStatsTest, ValuesAgreeWithR) {
    // Reference values from R 4.x:
    //   x <- c(72.5,81.25,65,90.75,77.5); n <- length(x); se <- sd(x)/sqrt(n)
    //   c(mean(x), sd(x), se, median(x), mean(x) + c(-1,1) * t * se, range(x))
    // and the same for c(34,41,29,55,38,47), with t the critical values of the program's
    // table (2.776 for 4 df, 2.571 for 5 df) in place of qt(0.975, n - 1).
    DataTable t;
    const Extended weight[] = {72.5L, 81.25L, 65, 90.75L, 77.5L};
    const Extended age[] = {34, 41, 29, 55, 38, 47};
    for (int r = 0; r < 5; ++r) Put(t, r, 0, weight[r]);
    for (int r = 0; r < 6; ++r) Put(t, r, 2, age[r]);
    UpdateColumnSummaries(t);

    const auto lines = SplitCsv(ExportColumnStatsText(t));
    ASSERT_EQ(lines.size(), 9u);
    const Extended expected[9][2] = {
        {77.400000000000006L, 40.666666666666664L},   // mean
        {5, 6},                                       // N
        {9.6284084873877251L, 9.3094933625126277L},   // SD
        {4.3059551785869754L, 3.8005847503304602L},   // SEM
        {77.5L, 39.5L},                               // median
        {65.446668424242560L, 30.895363273567050L},   // lower 95% limit
        {89.353331575757451L, 50.437970059766279L},   // upper 95% limit
        {65, 29},                                     // minimum
        {90.75L, 55},                                 // maximum
    };
    for (std::size_t i = 0; i < 9; ++i) {
        ASSERT_EQ(lines[i].size(), 2u) << i;
        for (std::size_t c = 0; c < 2; ++c) {
            const Extended value = std::stold(lines[i][c]);
            // Written with 10 decimals: half a unit of the last place, and 1e-12 relative.
            EXPECT_NEAR(value, expected[i][c], 5.1e-11L + 1e-12L * std::fabs(expected[i][c]))
                << "line " << i << " column " << c;
        }
    }
    EXPECT_EQ(lines[0][0], "77.4000000000");
    EXPECT_EQ(lines[1][1], "6");
}

TEST(ExportColumnStatsTest, AveragedColumnLeavesTheRawOnlyStatisticsEmpty) {
    DataTable t;
    ColumnRecord& r = t.Record(1);
    r.n = 10;
    r.mean = 5;
    r.sd = 1;
    FillSummary(nullptr, -1, r);
    const auto lines = SplitCsv(ExportColumnStatsText(t));
    ASSERT_EQ(lines.size(), 9u);
    for (const auto& line : lines) ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(lines[0][0], "5.0000000000");
    EXPECT_EQ(lines[1][0], "10");
    EXPECT_EQ(lines[3][0], "0.3162277660");  // 1/sqrt(10)
    EXPECT_EQ(lines[4][0], "");              // no median for averaged data
    EXPECT_EQ(lines[7][0], "");
}

TEST(ExportResultsTest, LinesWithoutEmphasisSwitches) {
    ResultsReport report;
    report.ToggleEmphasis1();
    report.Write("Unpaired t test");
    report.ToggleEmphasis1();
    report.NewLine();
    report.WriteLine("P = 0.0123");
    EXPECT_EQ(ExportResultsText(report), "Unpaired t test\r\nP = 0.0123\r\n");
}

TEST(WriteExportFileTest, WholeFileOrNothing) {
    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/out.csv";
    EXPECT_EQ(WriteExportFile(path, "1,2\r\n"), 0);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(path, text));
    EXPECT_EQ(text, "1,2\r\n");

    EXPECT_NE(WriteExportFile(dir + "/missing/out.csv", "x"), 0);
    // A target that cannot be replaced keeps what it was, and no temporary file is left.
    std::filesystem::create_directory(dir + "/busy.txt");
    EXPECT_NE(WriteExportFile(dir + "/busy.txt", "x"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir + "/busy.txt"));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++files;
    EXPECT_EQ(files, 2);
    std::filesystem::remove_all(dir);
}

TEST(ExportKindTest, ByStep) {
    Document doc;
    EXPECT_EQ(ExportKindForStep(doc, Step::DataTable), ExportKind::DataTable);
    EXPECT_EQ(ExportKindForStep(doc, Step::SummaryStats), ExportKind::ColumnStats);
    EXPECT_EQ(ExportKindForStep(doc, Step::Results), ExportKind::ResultsText);
    EXPECT_FALSE(ExportKindForStep(doc, Step::Graph).has_value());
    doc.Data().SetFormat(DataFormat::TwoByTwo);
    EXPECT_EQ(ExportKindForStep(doc, Step::DataTable), ExportKind::TwoByTwo);
}

// Export, then import ----------------------------------------------------------------------------

void VariedTable(DataTable& t) {
    const Extended a[] = {1.5, -2.25, MissingValue, 100, 0.125, 3};
    const Extended b[] = {12.5, 3, 4.75, MissingValue, -6, MissingValue};
    const Extended c[] = {1.2345e-6L, -3.5e9L, 2.5e12L, 7, MissingValue, 8};
    for (int r = 0; r < 6; ++r) {
        t.SetValue(r, 0, a[r]);
        t.SetValue(r, 1, b[r]);
        t.SetValue(r, 3, c[r]);
    }
    for (int col : {0, 1, 3}) t.SetNoRawData(col, false);
    t.SetDecimals(0, 3);
    t.SetDecimals(1, 2);
    t.Record(0).title = "Weight";
    t.Record(1).title = "Height";
    t.Record(3).title = "Dose";
    t.SetDataTitle("Litter 4");
}

// Exports the data table of `source` to `path` and imports the file into `target`; returns
// the data title the import found.
std::string ExportThenImport(const Document& source, const std::string& path, Separators separators,
                             Document& target) {
    EXPECT_EQ(ExportDocument(source, ExportKind::DataTable, path, {}, separators), 0);
    test::ScriptedPrompts prompts;
    const auto preview = ReadImportFile(path, separators, prompts);
    EXPECT_TRUE(preview.has_value());
    if (!preview) return "<not imported>";
    EXPECT_TRUE(ImportIntoDocument(target, *preview, {}, 0, 0, prompts));
    return preview->table->DataTitle();
}

class ExportImportTest : public ::testing::TestWithParam<std::pair<const char*, Separators>> {};

TEST_P(ExportImportTest, StandardExportImportsAsTheSameTable) {
    const auto [name, separators] = GetParam();
    Document source;
    VariedTable(source.Table());
    const std::string dir = test::MakeTempDir();
    Document target;
    EXPECT_EQ(ExportThenImport(source, dir + "/" + name, separators, target), "Litter 4");
    for (int c = 0; c < DataColumns; ++c) {
        EXPECT_EQ(target.Table().Record(c).title, source.Table().Record(c).title) << c;
        for (int r = 0; r < 8; ++r) {
            EXPECT_EQ(target.Table().Value(r, c), source.Table().Value(r, c)) << r << "," << c;
        }
    }
    EXPECT_EQ(target.Table().Decimals(0), 3);
    EXPECT_EQ(target.Table().Decimals(1), 2);
    std::filesystem::remove_all(dir);
}

INSTANTIATE_TEST_SUITE_P(Separators, ExportImportTest,
                         ::testing::Values(std::make_pair("data.csv", Separators{'.', ','}),
                                           std::make_pair("data.txt", Separators{'.', ','}),
                                           std::make_pair("data.csv", Separators{',', ';'}),
                                           std::make_pair("data.txt", Separators{',', ';'})));

TEST(ExportImportIndexTest, IndexExportImportsIndexedAsTheSameValues) {
    Document source;
    VariedTable(source.Table());
    const std::string text =
        ExportDataTableText(source.Table(), {true, false, true}, ',', Point);
    test::ScriptedPrompts prompts;
    const ImportPreview preview = LoadDelimitedText(text, Point);
    Document target;
    ImportOptions options;
    options.columns = ImportColumns::Indexed;
    options.valueColumn = 1;
    options.groupColumn = 2;
    ASSERT_TRUE(ImportIntoDocument(target, preview, options, 0, 0, prompts));
    // Groups 1, 2, 3 and 4 in order of appearance: columns A to D, gaps kept in place.
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(target.Table().Record(c).title, std::to_string(c + 1));
        for (int r = 0; r < 6; ++r) {
            EXPECT_EQ(target.Table().Value(r, c), source.Table().Value(r, c)) << r << "," << c;
        }
    }
}

// A random title: printable Latin-1 with quotes, separators and blanks, or a number.
std::string RandomTitle(std::mt19937& random, std::size_t limit) {
    switch (random() % 4) {
        case 0:
            return std::to_string(random() % 2000);  // looks like a number
        case 1:
            return "2024-03-0" + std::to_string(1 + random() % 9);
        default:
            break;
    }
    const char specials[] = {'"', ',', ';', '\t', ' ', '*', '\xB5', '\xE9', '\xFF', '\xA0'};
    std::string title;
    const std::size_t length = random() % (limit + 1);
    for (std::size_t i = 0; i < length; ++i) {
        title += random() % 3 == 0 ? specials[random() % std::size(specials)]
                                   : static_cast<char>(' ' + random() % 95);
    }
    return title;
}

// A random value of 1 to 15 significant digits from 1E-12 to 1E14, as a cell holds it.
Extended RandomCell(std::mt19937& random) {
    const int digits = 1 + static_cast<int>(random() % 15);
    long long mantissa = 1 + static_cast<long long>(random() % 9);
    for (int i = 1; i < digits; ++i)
        mantissa = mantissa * 10 + static_cast<long long>(random() % 10);
    const int exponent = static_cast<int>(random() % 27) - 12 - digits + 1;
    const std::string text =
        std::to_string(random() % 2 ? -mantissa : mantissa) + "E" + std::to_string(exponent);
    return RoundEnteredValue(std::strtold(text.c_str(), nullptr));
}

TEST(ExportImportPropertyTest, RandomDocumentsComeBackWhole) {
    std::mt19937 random(18);
    const std::string dir = test::MakeTempDir();
    for (int trial = 0; trial < 200; ++trial) {
        SCOPED_TRACE(trial);
        Document source;
        DataTable& t = source.Table();
        const int columns = 1 + static_cast<int>(random() % 8);
        const int rows = 1 + static_cast<int>(random() % 30);
        for (int c = 0; c < columns; ++c) {
            const bool emptyColumn = c > 0 && c + 1 < columns && random() % 5 == 0;
            for (int r = 0; r < rows && !emptyColumn; ++r) {
                if (random() % 6 != 0) t.SetValue(r, c, RandomCell(random));
            }
            if (c + 1 == columns || c == 0) t.SetValue(0, c, RandomCell(random));
            t.SetNoRawData(c, !t.ColumnHasValue(c));
            t.SetDecimals(c, static_cast<std::int32_t>(random() % 8));
            t.SetDisplayFormat(c, static_cast<std::int32_t>(random() % 8) - 1);
            if (random() % 4) t.Record(c).title = RandomTitle(random, 20);
        }
        t.SetDataTitle(random() % 4 ? RandomTitle(random, 60) : std::string());
        const bool commaLocale = random() % 2;
        const Separators separators = commaLocale ? Separators{',', ';'} : Point;
        const std::string path = dir + (random() % 2 ? "/data.csv" : "/data.txt");
        Document target;
        const std::string dataTitle = ExportThenImport(source, path, separators, target);
        std::string file;
        ReadWholeFile(path, file);
        EXPECT_EQ(dataTitle, t.DataTitle()) << file;
        for (int c = 0; c < DataColumns; ++c) {
            EXPECT_EQ(target.Table().Record(c).title, c < columns ? t.Record(c).title : "")
                << c << "\n"
                << file;
            for (int r = 0; r < rows; ++r) {
                EXPECT_EQ(target.Table().Value(r, c), t.Value(r, c)) << r << "," << c << "\n"
                                                                     << file;
            }
        }
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zelkon
