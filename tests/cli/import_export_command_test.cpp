// The import and export commands of zelkon-cli: files written by other programs imported into
// data files whose statistics agree with R, the import options, export of each kind, export
// followed by import, and the usage errors.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/export_command.h"
#include "cli/import_command.h"
#include "core/file_io.h"
#include "document/data_file.h"
#include "support/test_support.h"

namespace zelkon::cli {
namespace {

const std::string Fixtures = std::string(ZELKON_SOURCE_DIR) + "/tests/data/import/";
const std::string Examples = std::string(ZELKON_SOURCE_DIR) + "/examples/";

struct CommandRun {
    int code = 0;
    std::string out, err;
};

template <typename Command>
CommandRun Run(Command command, std::vector<std::string> words) {
    Arguments args{std::move(words)};
    std::ostringstream out, err;
    CommandRun r;
    r.code = command(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

CommandRun Import(std::vector<std::string> words) { return Run(RunImportCommand, std::move(words)); }
CommandRun Export(std::vector<std::string> words) { return Run(RunExportCommand, std::move(words)); }
CommandRun Stats(std::vector<std::string> words) { return Run(RunStatsCommand, std::move(words)); }

// The number after "key": in the JSON object of the column titled `title`.
Extended JsonNumber(const std::string& json, const std::string& title, const std::string& key) {
    const std::size_t object = json.find("\"title\":\"" + title + "\"");
    EXPECT_NE(object, std::string::npos) << title;
    if (object == std::string::npos) return MissingValue;
    const std::size_t at = json.find("\"" + key + "\":", object);
    return std::strtold(json.c_str() + at + key.size() + 3, nullptr);
}

// One column's statistics from R 4.x: x <- c(...); c(length(x), mean(x), sd(x), median(x)).
struct Expected {
    const char* title;
    int n;
    Extended mean, sd, median;
};

class ImportCommandTest : public ::testing::Test {
protected:
    void SetUp() override { dir = test::MakeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // Imports a fixture, then checks `stats --json` of the data file against R.
    void ImportAndCheck(const std::string& fixture, std::vector<std::string> options,
                        const std::vector<Expected>& expected) {
        const std::string zld = dir + "/" + fixture + ".ZLD";
        std::vector<std::string> words = {Fixtures + fixture, "-o", zld};
        words.insert(words.end(), options.begin(), options.end());
        const CommandRun import = Import(words);
        ASSERT_EQ(import.code, ExitOk) << import.err;
        const CommandRun stats = Stats({zld, "--json"});
        ASSERT_EQ(stats.code, ExitOk) << stats.err;
        for (const Expected& e : expected) {
            EXPECT_EQ(JsonNumber(stats.out, e.title, "n"), e.n) << e.title;
            // Values read back from the data file's text agree with R's double results to
            // 1e-13 relative.
            EXPECT_NEAR(JsonNumber(stats.out, e.title, "mean"), e.mean, 1e-13L * std::fabs(e.mean))
                << e.title;
            EXPECT_NEAR(JsonNumber(stats.out, e.title, "sd"), e.sd, 1e-13L * e.sd) << e.title;
            EXPECT_NEAR(JsonNumber(stats.out, e.title, "median"), e.median,
                        1e-13L * std::fabs(e.median))
                << e.title;
        }
    }

    std::string dir;
};

TEST_F(ImportCommandTest, SpreadsheetCsvGivesTheStatisticsOfR) {
    ImportAndCheck("spreadsheet_export.csv", {},
                   {{"Weight", 5, 77.400000000000006L, 9.6284084873877251L, 77.5L},
                    {"Height", 5, 177.30000000000001L, 9.3914855054991175L, 175.5L},
                    {"Age", 6, 40.666666666666664L, 9.3094933625126277L, 39.5L}});
}

TEST_F(ImportCommandTest, SemicolonsAndDecimalCommas) {
    ImportAndCheck("semicolon_decimal_comma.csv",
                   {"--decimal-separator", ",", "--list-separator", ";"},
                   {{"Gewicht", 4, 2, 1.4288690166235205L, 1.875L},
                    {"Laenge", 4, 10.8125L, 1.1448253141855307L, 10.550000000000001L}});
}

TEST_F(ImportCommandTest, InstrumentOutputWithExclusionAndGap) {
    // Well A2's 0.207 is marked excluded in the file and left out by R too.
    ImportAndCheck("instrument_output.txt", {},
                   {{"Time (s)", 5, 60, 47.434164902525687L, 60},
                    {"Well A1", 5, 0.33140000000000003L, 0.18214911473844722L, 0.33100000000000002L},
                    {"Well A2", 4, 0.3715L, 0.20365084499374575L, 0.40849999999999997L},
                    {"Well A3", 4, 0.32050000000000001L, 0.20503902067655316L, 0.29099999999999998L}});
    std::unique_ptr<Document> doc;
    std::ostringstream err;
    doc = OpenDataFile(dir + "/instrument_output.txt.ZLD", err);
    ASSERT_TRUE(doc);
    EXPECT_TRUE(doc->Table().IsExcluded(1, 2));
    EXPECT_EQ(doc->Table().DataTitle(), "Plate reader PR-7 kinetic read, 2024-03-14 37 C");
}

TEST_F(ImportCommandTest, RightAlignedBlankSeparatedColumns) {
    // Untitled columns: the statistics name them by their titles, which are empty here, so
    // the data file is checked directly.
    const std::string zld = dir + "/right.ZLD";
    ASSERT_EQ(Import({Fixtures + "right_aligned.prn", "-o", zld}).code, ExitOk);
    std::ostringstream err;
    const std::unique_ptr<Document> doc = OpenDataFile(zld, err);
    ASSERT_TRUE(doc);
    // R: x <- c(3.5, 12.25, 101.0, -4.75, 0.5); y <- c(1200, 85, 7, 15000, 640);
    //    z <- c(-0.125, 2.5, 33.75, 1.0, -12.5); mean(), sd()
    const Expected expected[] = {{"", 5, 22.5L, 44.313866340006939L, 3.5L},
                                 {"", 5, 3386.4000000000001L, 6509.9606220007199L, 640},
                                 {"", 5, 4.9249999999999998L, 17.185022548719569L, 1}};
    for (int c = 0; c < 3; ++c) {
        const ColumnRecord& r = doc->Table().Record(c);
        EXPECT_EQ(r.n, expected[c].n);
        EXPECT_NEAR(r.mean, expected[c].mean, 1e-13L * std::fabs(expected[c].mean)) << c;
        EXPECT_NEAR(r.sd, expected[c].sd, 1e-13L * expected[c].sd) << c;
        EXPECT_EQ(r.median, expected[c].median) << c;
    }
    EXPECT_EQ(doc->Table().DataTitle(), "Body weights of litter 4, grams");
}

TEST_F(ImportCommandTest, IndexedStackedFile) {
    ImportAndCheck("stacked.csv", {"--indexed", "1", "2"},
                   {{"1", 3, 4.7666666666666666L, 0.35118845842842428L, 4.8L},
                    {"2", 3, 5.9000000000000004L, 0.39999999999999991L, 5.9L},
                    {"3", 3, 7.2833333333333332L, 0.72858309981314706L, 7.2L}});
}

TEST_F(ImportCommandTest, ColumnsRowsAndFilter) {
    const std::string zld = dir + "/part.ZLD";
    // Columns 2 and 3 (Height, Age), file rows 2 to 5, only where Age (column 3) > 35:
    // rows 1 (34) and 3 (29) are filtered out and take no row; of the rows that pass (2, 4,
    // 5, 6) those within 2 to 5 give values.
    const CommandRun run = Import({Fixtures + "spreadsheet_export.csv", "-o", zld, "--columns",
                                   "2-3", "--rows", "2-5", "--where", "3", ">", "35"});
    ASSERT_EQ(run.code, ExitOk) << run.err;
    std::ostringstream err;
    const std::unique_ptr<Document> doc = OpenDataFile(zld, err);
    ASSERT_TRUE(doc);
    const DataTable& t = doc->Table();
    EXPECT_EQ(t.Record(0).title, "Height");
    EXPECT_EQ(t.Record(1).title, "Age");
    EXPECT_EQ(t.Value(0, 0), 175.5L);
    EXPECT_EQ(t.Value(0, 1), 41.0L);
    EXPECT_EQ(t.Value(1, 0), 192.0L);
    EXPECT_EQ(t.Value(2, 1), 38.0L);
    EXPECT_TRUE(t.IsMissing(3, 0));
    EXPECT_TRUE(t.IsMissing(3, 1));
    EXPECT_FALSE(t.ColumnHasValue(2));

    // Rows 3 to 4 without a filter keep their distance from the first row.
    ASSERT_EQ(Import({Fixtures + "spreadsheet_export.csv", "-o", zld, "--rows", "3-4"}).code, ExitOk);
    const std::unique_ptr<Document> rows = OpenDataFile(zld, err);
    ASSERT_TRUE(rows);
    EXPECT_TRUE(rows->Table().IsMissing(1, 0));
    EXPECT_EQ(rows->Table().Value(2, 0), 65.0L);
    EXPECT_EQ(rows->Table().Value(3, 0), 90.75L);
    // The condition may also be given as one word.
    EXPECT_EQ(Import({Fixtures + "spreadsheet_export.csv", "-o", zld, "--where", "3 <= 35"}).code,
              ExitOk);
}

TEST_F(ImportCommandTest, FormatOfTheNewDataFile) {
    const std::string xy = dir + "/xy.ZLD";
    ASSERT_EQ(Import({Fixtures + "spreadsheet_export.csv", "-o", xy, "--format", "xy"}).code, ExitOk);
    EXPECT_EQ(DetectDataFormat(xy), 6);
    const std::string twoByTwo = dir + "/2x2.ZLD";
    ASSERT_EQ(Import({Fixtures + "spreadsheet_export.csv", "-o", twoByTwo, "--format", "twobytwo"})
                  .code,
              ExitOk);
    std::ostringstream err;
    const std::unique_ptr<Document> doc = OpenDataFile(twoByTwo, err);
    ASSERT_TRUE(doc);
    // The table is seeded from rows 1 and 2 of columns A and B.
    EXPECT_EQ(doc->Data().TwoByTwo().a, 72.5L);
    EXPECT_EQ(doc->Data().TwoByTwo().b, 81.25L);
    EXPECT_EQ(doc->Data().TwoByTwo().c, 180.0L);
    EXPECT_EQ(doc->Data().TwoByTwo().d, 175.5L);
}

TEST_F(ImportCommandTest, ErrorsAndMessages) {
    const std::string zld = dir + "/x.ZLD";
    const std::string csv = Fixtures + "spreadsheet_export.csv";
    EXPECT_EQ(Import({csv}).code, ExitUsage);
    EXPECT_EQ(Import({csv, "-o", zld, "--bogus"}).code, ExitUsage);
    EXPECT_EQ(Import({csv, "-o", zld, "--columns", "3-1"}).code, ExitUsage);
    EXPECT_EQ(Import({csv, "-o", zld, "--where", "1", "~", "2"}).code, ExitUsage);
    EXPECT_EQ(Import({csv, "-o", zld, "--where", "1"}).code, ExitUsage);
    EXPECT_EQ(Import({csv, "-o", zld, "--format", "mean-sd"}).code, ExitUsage);
    EXPECT_EQ(Import({csv, "-o", zld, "--columns", "5-6"}).code, ExitFailure);

    CommandRun same = Import({csv, "-o", zld, "--indexed", "2", "2"});
    EXPECT_EQ(same.code, ExitFailure);
    EXPECT_NE(same.err.find("The column with values and the column with group assignments must "
                            "be different."),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(zld));

    // Refusals exit with 1 and say why.
    struct Refusal {
        const char* name;
        std::string text;
        std::vector<std::string> options;
        const char* reason;
    };
    const Refusal refusals[] = {
        {"text.csv", "name,note\nx,y\n", {}, "There are no numbers to import in this file."},
        {"empty.txt", "", {}, "There are no numbers to import in this file."},
        {"huge.csv", "a\n2E38\n", {}, "1 value of 1.7E38 or more in magnitude was refused"},
        {"some.csv", "a,b\n1,2\n", {"--where", "1", ">", "5"}, "no values were imported"},
        {"labels.csv",
         "v,g\n1,x\n",
         {"--indexed", "2", "1"},
         "The column with values holds no numbers."},
    };
    for (const Refusal& r : refusals) {
        const std::string path = dir + "/" + r.name;
        ASSERT_TRUE(WriteFileAtomically(path, r.text));
        std::vector<std::string> words = {path, "-o", zld};
        words.insert(words.end(), r.options.begin(), r.options.end());
        const CommandRun run = Import(words);
        EXPECT_EQ(run.code, ExitFailure) << r.name;
        EXPECT_NE(run.err.find(r.reason), std::string::npos) << r.name << ": " << run.err;
        EXPECT_EQ(run.out, "") << r.name;
        EXPECT_FALSE(std::filesystem::exists(zld)) << r.name;
    }

    const std::string binary = dir + "/binary.dat";
    ASSERT_TRUE(WriteFileAtomically(binary, std::string("1,2\n\xFF\xFE\x00\x01", 8)));
    const CommandRun refused = Import({binary, "-o", zld});
    EXPECT_EQ(refused.code, ExitFailure);
    EXPECT_NE(refused.err.find("The file is not an ASCII file."), std::string::npos);

    std::string many;
    for (int i = 0; i < 1200; ++i) many += std::to_string(i) + "\n";
    const std::string long_file = dir + "/many.txt";
    ASSERT_TRUE(WriteFileAtomically(long_file, many));
    const CommandRun told = Import({long_file, "-o", zld});
    EXPECT_EQ(told.code, ExitOk);
    EXPECT_NE(told.err.find("Only the first 1000 rows will be read."), std::string::npos);
    EXPECT_EQ(told.out, zld + ": 1000 rows, 1 columns\n");

    EXPECT_EQ(Import({dir + "/missing.txt", "-o", zld}).code, ExitFailure);
}

TEST_F(ImportCommandTest, TheAccountGoesToStandardError) {
    const std::string csv = dir + "/notes.csv";
    ASSERT_TRUE(WriteFileAtomically(csv, "id,\xB5g,note\nS1,1.5,ok\nS2,NA,\n"));
    const CommandRun run = Import({csv, "-o", dir + "/notes.ZLD"});
    ASSERT_EQ(run.code, ExitOk) << run.err;
    const std::string prefix = "zelkon-cli import: " + csv + ": ";
    EXPECT_EQ(run.err,
              prefix + "The file was read as Windows-1252 (Latin-1).\n" + prefix +
                  "1 field that is not a number was left empty: line 3, column 2 \"NA\".\n" +
                  prefix +
                  "Left out as labels, holding no numbers: column 1 \"id\" (its "
                  "texts are the row titles); column 3 \"note\".\n");
    std::ostringstream err;
    const auto doc = OpenDataFile(dir + "/notes.ZLD", err);
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Table().Record(1).title, "\xB5g");
    EXPECT_EQ(doc->Table().RowTitle(1), "S2");
}

TEST_F(ImportCommandTest, TwoByTwoTableAsLaidOut) {
    const std::string zld = dir + "/table.ZLD";
    const CommandRun run =
        Import({Fixtures + "r_two_by_two_table.csv", "-o", zld, "--format", "twobytwo"});
    ASSERT_EQ(run.code, ExitOk) << run.err;
    EXPECT_EQ(run.out, zld + ": a two-by-two table\n");
    std::ostringstream err;
    const auto doc = OpenDataFile(zld, err);
    ASSERT_TRUE(doc);
    const TwoByTwoRecord& r = doc->Data().TwoByTwo();
    EXPECT_EQ(r.a, 4.0L);
    EXPECT_EQ(r.b, 16.0L);
    EXPECT_EQ(r.c, 12.0L);
    EXPECT_EQ(r.d, 8.0L);
    EXPECT_EQ(r.column2Title, "Not infected");
    EXPECT_EQ(r.row2Title, "Control");
}

TEST_F(ImportCommandTest, StoredStatisticsAreThoseOfTheStoredCells) {
    // More digits than the column keeps: the statistics written with the file must be those
    // of the cells as written, not of the values read from the text.
    const std::string csv = dir + "/digits.csv";
    ASSERT_TRUE(WriteFileAtomically(csv, "x\n123456.789012345\n0\n12345678.5\n"));
    const std::string zld = dir + "/digits.ZLD";
    ASSERT_EQ(Import({csv, "-o", zld}).code, ExitOk);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(zld, text));
    std::istringstream lines(text);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        all.push_back(line);
    }
    // The raw data section follows the data title (line 7); the column A block follows it.
    Extended sum = 0;
    int n = 0;
    std::size_t i = 7;
    for (; all[i] != "<<END RAW DATA>>"; ++i, ++n) sum += std::strtold(all[i].c_str(), nullptr);
    const Extended mean = sum / n;
    EXPECT_EQ(all[i + 2], "x");
    EXPECT_EQ(all[i + 3], std::to_string(n));
    const Extended stored = std::strtold(all[i + 4].c_str(), nullptr);
    // Statistics are stored with 15 significant digits or more.
    EXPECT_LE(std::fabs(stored - mean), 1e-14L * std::fabs(mean)) << all[i + 4];
}

// Export ----------------------------------------------------------------------------------------

TEST_F(ImportCommandTest, ExportThenImportGivesBackTheSameTable) {
    const std::string zld = dir + "/weights.ZLD";
    ASSERT_EQ(Import({Fixtures + "spreadsheet_export.csv", "-o", zld}).code, ExitOk);
    const std::string csv = dir + "/weights.csv";
    const CommandRun run = Export({zld, "--what", "data", "-o", csv});
    ASSERT_EQ(run.code, ExitOk) << run.err;
    std::string text;
    ASSERT_TRUE(ReadWholeFile(csv, text));
    EXPECT_EQ(text.substr(0, 54),
              "\r\n\"Weight\",\"Height\",\"Age\"\r\n72.50, 180.0, 34\r\n81.25, 17");

    const std::string again = dir + "/again.ZLD";
    ASSERT_EQ(Import({csv, "-o", again}).code, ExitOk);
    std::ostringstream err;
    const auto first = OpenDataFile(zld, err);
    const auto second = OpenDataFile(again, err);
    ASSERT_TRUE(first && second);
    for (int c = 0; c < DataColumns; ++c) {
        EXPECT_EQ(second->Table().Record(c).title, first->Table().Record(c).title);
        EXPECT_EQ(second->Table().Decimals(c), first->Table().Decimals(c));
        for (int r = 0; r < 10; ++r) {
            EXPECT_EQ(second->Table().Value(r, c), first->Table().Value(r, c)) << r << "," << c;
        }
    }

    // The index format read back as an indexed import gives the same values.
    const std::string indexed = dir + "/weights_index.txt";
    ASSERT_EQ(Export({zld, "--what", "data", "--index", "--no-titles", "-o", indexed}).code, ExitOk);
    const std::string third = dir + "/third.ZLD";
    ASSERT_EQ(Import({indexed, "-o", third, "--indexed", "1", "2"}).code, ExitOk);
    const auto fromIndex = OpenDataFile(third, err);
    ASSERT_TRUE(fromIndex);
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 6; ++r) {
            EXPECT_EQ(fromIndex->Table().Value(r, c), first->Table().Value(r, c)) << r << "," << c;
        }
    }
}

TEST_F(ImportCommandTest, ExportOfStatisticsResultsAndTwoByTwo) {
    const std::string stats = dir + "/stats.txt";
    ASSERT_EQ(Export({Examples + "blood_pressure_raw.ZLD", "--what", "stats", "-o", stats}).code,
              ExitOk);
    std::string text;
    ASSERT_TRUE(ReadWholeFile(stats, text));
    EXPECT_EQ(text.rfind("131.8000000000,123.2000000000", 0), 0u) << text;

    const std::string results = dir + "/results.txt";
    ASSERT_EQ(Export({Examples + "blood_pressure_raw.ZLD", "--what", "results", "-o", results}).code,
              ExitOk);
    ASSERT_TRUE(ReadWholeFile(results, text));
    EXPECT_NE(text.find("                       *     *     *\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\x80'), std::string::npos);

    const std::string table = dir + "/table.csv";
    ASSERT_EQ(Export({Examples + "wound_infection_2x2.ZLD", "--what", "twobytwo", "-o", table}).code,
              ExitOk);
    ASSERT_TRUE(ReadWholeFile(table, text));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    EXPECT_EQ(Export({Examples + "blood_pressure_raw.ZLD", "--what", "twobytwo", "-o", table}).code,
              ExitFailure);
}

TEST_F(ImportCommandTest, ExportErrors) {
    const std::string out = dir + "/out.csv";
    const std::string zld = Examples + "blood_pressure_raw.ZLD";
    EXPECT_EQ(Export({zld, "-o", out}).code, ExitUsage);
    EXPECT_EQ(Export({zld, "--what", "graph", "-o", out}).code, ExitUsage);
    EXPECT_EQ(Export({zld, "--what", "stats", "--index", "-o", out}).code, ExitUsage);
    EXPECT_EQ(Export({zld, "--what", "data"}).code, ExitUsage);
    EXPECT_EQ(Export({dir + "/none.ZLD", "--what", "data", "-o", out}).code, ExitFailure);
    const CommandRun unwritable = Export({zld, "--what", "data", "-o", dir + "/no/such/out.csv"});
    EXPECT_EQ(unwritable.code, ExitFailure);
    EXPECT_NE(unwritable.err.find("Error: #"), std::string::npos) << unwritable.err;
}

}  // namespace
}  // namespace zelkon::cli
