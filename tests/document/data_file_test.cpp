// Tests of the data file: the layouts as written, reading files of every layout (fixtures
// written by hand in tests/data/files), write-read-write stability, detection and version,
// the error table, safe saving, and files that are truncated, garbled or hostile.
#include "document/data_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <random>
#include <sys/resource.h>

#include "core/file_io.h"
#include "core/stored_number.h"
#include "document/document.h"
#include "stats/column_stats.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

namespace fs = std::filesystem;

struct Doc {
    DataSet data;
    AnalysisChoices choices;
    std::string notes;
    GraphChoices graph;
    DataFileContents Contents() { return {data, choices, notes, graph}; }
    DataTable& T() { return data.Table(); }
};

std::string FixturePath(const std::string& name) {
    return (fs::path(ZELKON_SOURCE_DIR) / "tests" / "data" / "files" / name).string();
}

std::string Fixture(const std::string& name) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(FixturePath(name), text)) << name;
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

// A raw value as the spreadsheet stores it: the value, its column marked as raw data.
void Type(Doc& d, int row, int column, Extended v) {
    d.T().SetValue(row, column, v);
    d.T().SetNoRawData(column, false);
}

// Writes the document, reads the text into a new document, writes that again: the two texts
// must be the same bytes.  Returns the first text.
std::string ExpectStableRoundTrip(Doc& d, std::int32_t code) {
    UpdateColumnSummaries(d.T());
    const std::string first = BuildDataFileText(d.Contents());
    Doc back;
    EXPECT_EQ(DetectDataFormatOfText(first), code);
    EXPECT_EQ(ReadDataFileText(back.Contents(), first, code), 0);
    const std::string second = BuildDataFileText(back.Contents());
    EXPECT_EQ(first, second);
    return first;
}

// Layouts as written ------------------------------------------------------------------------

TEST(DataFileWriter, RawLayoutFollowsTheLineOrder) {
    Doc d;
    d.T().SetDataTitle("Trial");
    d.T().SetDecimals(0, 2);
    Type(d, 0, 0, 12.5L);
    Type(d, 1, 0, 1.23456L);  // more decimals than the column's 2: the column is written with 5
    Type(d, 0, 1, 3);
    Type(d, 1, 1, 12345678);
    d.T().SetExcluded(1, 1, true);
    d.T().Record(0).title = "Control";
    d.T().SetRowTitle(3, "Mouse A");
    d.T().SetDisplayFormat(1, 3);
    d.T().SetSelected(2, false);
    d.notes = "Note";
    UpdateColumnSummaries(d.T());
    const std::vector<std::string> L = Lines(BuildDataFileText(d.Contents()));
    // Line numbers counted by hand from the layout: 6 header lines, title, 2 rows and the
    // marker, 26 blocks of 12 lines, 18 choices, pair flags, marker, one note, marker, 26
    // selected flags, marker, one row title, marker, 26 formats, marker, flag, blank, 78
    // normality lines, blank, exclusion section of 2 rows, blank.
    ASSERT_EQ(L.size(), 487u);
    EXPECT_EQ(L[0], "Kestrane Zelkon for Windows Version 3.00, 32 bit for Win 95/NT");
    EXPECT_EQ(L[1], "2.00");
    EXPECT_EQ(L[2], "1");
    EXPECT_EQ(L[3] + L[4] + L[5], "");
    EXPECT_EQ(L[6], "Trial");
    EXPECT_EQ(L[7], "12.50000,3,");
    EXPECT_EQ(L[8], "1.23456, 1.2345678E+07,");
    EXPECT_EQ(L[9], "<<END RAW DATA>>");
    EXPECT_EQ(L[10], "0");
    EXPECT_EQ(L[11], "Control");
    EXPECT_EQ(L[12], "2");                      // N
    EXPECT_EQ(L[13], "6.86728");                // mean of 12.5 and 1.23456
    EXPECT_EQ(L[10 + 12], "1");                 // index of column B
    EXPECT_EQ(L[10 + 12 * 2 + 2], "0");         // N of the empty column C
    EXPECT_EQ(L[10 + 12 * 2 + 3], "");          // its missing mean
    EXPECT_EQ(L[322], "<<END STAT DATA>>");
    EXPECT_EQ(L[323], "0");   // column count class
    EXPECT_EQ(L[325], "0");   // hypothetical value
    EXPECT_EQ(L[327], "-1");  // one-column column
    EXPECT_EQ(L[334], "T");   // equal SDs
    EXPECT_EQ(L[340], "1");   // post-test kind: Tukey
    EXPECT_EQ(L[341], std::string(352, 'T'));
    EXPECT_EQ(L[342], "<<END CHOICES>>");
    EXPECT_EQ(L[343], "Note");
    EXPECT_EQ(L[344], "<<END NOTES>>");
    EXPECT_EQ(L[345] + L[346] + L[347], "TTF");
    EXPECT_EQ(L[371], "<<END SELECTED FLAGS>>");
    EXPECT_EQ(L[372], "3     Mouse A");
    EXPECT_EQ(L[373], "<<END ROW TITLES>>");
    EXPECT_EQ(L[374] + L[375] + L[376], "-13-1");
    EXPECT_EQ(L[400], "<<END DEC PT DATA>>");
    EXPECT_EQ(L[401], "T");
    EXPECT_EQ(L[402], "");
    EXPECT_EQ(L[405], "F");  // column A: too few values for the normality test
    EXPECT_EQ(L[481], "");
    EXPECT_EQ(L[482], "<<START EXCLUDE FLAGS>>");
    EXPECT_EQ(L[483], "..");
    EXPECT_EQ(L[484], ".*");
    EXPECT_EQ(L[485], "<<END EXCLUDE FLAGS>>");
    EXPECT_EQ(L[486], "");
}

TEST(DataFileWriter, EmptyTableStillWritesOneRowAndEveryBlock) {
    Doc d;
    const std::vector<std::string> L = Lines(BuildDataFileText(d.Contents()));
    EXPECT_EQ(L[7], "*,");  // the empty cell
    EXPECT_EQ(L[8], "<<END RAW DATA>>");
    EXPECT_EQ(L[9 + 3], "");  // a missing stored number is an empty line
    EXPECT_EQ(L[L.size() - 3], ".");
}

TEST(DataFileWriter, OtherLayoutsHeaders) {
    Doc d;
    d.data.SetFormat(DataFormat::MultipleRegression);
    std::vector<std::string> L = Lines(BuildDataFileText(d.Contents()));
    EXPECT_EQ(L[1], "3.00");
    EXPECT_EQ(L[2], "1");
    EXPECT_EQ(L[3], "1");
    const std::pair<DataFormat, const char*> codes[] = {{DataFormat::MeanSDN, "2"},
                                                        {DataFormat::MeanSEMN, "3"},
                                                        {DataFormat::LargerTable, "4"},
                                                        {DataFormat::TwoByTwo, "5"},
                                                        {DataFormat::XY, "6"}};
    for (const auto& [format, code] : codes) {
        d.data.SetFormat(format);
        L = Lines(BuildDataFileText(d.Contents()));
        EXPECT_EQ(L[1], "2.00");
        EXPECT_EQ(L[2], code);
        EXPECT_EQ(L[3], "");
    }
}

// Write, read, write ------------------------------------------------------------------------

void FillColumnChoices(AnalysisChoices& ch) {
    ch.columns.columnCountClass = 3;
    ch.columns.oneColumnNonparametric = 1;
    ch.columns.hypotheticalValue = 12345678.5L;  // exponent form, every digit kept
    ch.columns.oneColumnColumn = 4;
    ch.columns.hypotheticalValueChoice = 3;
    ch.columns.unpaired = 0;
    ch.columns.equalSDs = false;
    ch.columns.postTestMode = 0;
    ch.columns.pairMode = 2;
    ch.columns.controlColumn = 2;
    ch.columns.postTestKind = 2;
    ch.columns.pairFlags[1] = 0;
    ch.columns.pairFlags[351] = 0;
    ch.allColumns = 0;
}

TEST(DataFileRoundTrip, RawDocumentIsStableAndExact) {
    Doc d;
    d.T().SetDataTitle("Systolic pressure");
    d.T().SetDecimals(0, 2);
    for (int r = 0; r < 8; ++r) Type(d, r, 0, 120.25L + r * 1.5L);
    Type(d, 0, 2, 12345678);
    Type(d, 1, 2, -0.000012345L);
    Type(d, 2, 2, 6.02214076E23L);
    Type(d, 3, 2, 1.0L / 3.0E9L);  // a computed value: every digit of it is kept
    Type(d, 1000, 5, 7);          // the last row of the table
    d.T().SetExcluded(2, 0, true);
    d.T().Record(0).title = "Placebo";
    d.T().SetRowTitle(0, "Anna");
    d.T().SetRowTitle(999, "");
    d.T().SetDisplayFormat(0, 1);
    d.T().SetSelected(3, false);
    FillColumnChoices(d.choices);
    d.notes = "Dose in mg\r\n<<END NOTES>>\r\n\r\n<<END RAW DATA>>  \r\nend";
    const std::string text = ExpectStableRoundTrip(d, 1);

    Doc back;
    ASSERT_EQ(ReadDataFileText(back.Contents(), text, 1), 0);
    EXPECT_EQ(back.T().Value(0, 2), 12345678);  // four digits would give 12350000
    EXPECT_EQ(back.T().Value(1, 2), -0.000012345L);
    EXPECT_EQ(back.T().Value(3, 2), 1.0L / 3.0E9L);
    EXPECT_EQ(back.T().Value(1000, 5), 7);
    EXPECT_EQ(back.choices.columns.hypotheticalValue, 12345678.5L);
    EXPECT_EQ(back.notes, d.notes);  // marker lines in the notes survive
    EXPECT_TRUE(back.T().IsExcluded(2, 0));
    EXPECT_FALSE(back.T().Selected(3));
    EXPECT_EQ(back.choices.allColumns, 0);
    EXPECT_EQ(back.choices.columns.pairFlags[1], 0);
    EXPECT_EQ(back.choices.columns.controlColumn, 2);
    EXPECT_EQ(back.T().RowTitle(999), "");
    EXPECT_EQ(back.T().Record(0).n, 7);  // one of eight values excluded
}

TEST(DataFileRoundTrip, AveragedDocumentsKeepTheirStatistics) {
    for (const DataFormat format : {DataFormat::MeanSDN, DataFormat::MeanSEMN}) {
        Doc d;
        d.data.SetFormat(format);
        ColumnRecord& a = d.T().Record(0);
        a.title = "Dose 1";
        a.n = 10;
        a.mean = 5;
        a.sd = 1.5L;
        FillSummary(nullptr, -1, a);
        ColumnRecord& b = d.T().Record(1);
        b.n = 3;
        b.mean = 2.5E-7L;
        b.sem = 1E-8L;
        FillSummary(nullptr, -1, b);
        const std::int32_t code = format == DataFormat::MeanSDN ? 2 : 3;
        const std::string text = ExpectStableRoundTrip(d, code);
        Doc back;
        ASSERT_EQ(ReadDataFileText(back.Contents(), text, code), 0);
        EXPECT_EQ(back.data.Format(), format);
        EXPECT_EQ(back.data.ErrorIsSD(), format == DataFormat::MeanSDN);
        EXPECT_EQ(back.T().Record(0).n, 10);
        EXPECT_EQ(back.T().Record(0).sd, 1.5L);
        EXPECT_EQ(back.T().Record(1).mean, 2.5E-7L);
    }
}

TEST(DataFileRoundTrip, XYTwoByTwoContingencyAndMultipleRegression) {
    Doc xy;
    xy.data.SetFormat(DataFormat::XY);
    xy.choices.xy = XYChoices{1, 1, 1, 12345678.9L, -2.5L, 0, 0};
    xy.T().Record(0).title = "Dose";
    xy.T().Record(1).title = "Response";
    xy.T().SetDecimals(1, 1);
    for (int r = 0; r < 5; ++r) {
        Type(xy, r, 0, r + 1);
        Type(xy, r, 1, 2.5L * r + 0.5L);
    }
    xy.notes = "curve";
    ExpectStableRoundTrip(xy, 6);

    Doc tt;
    tt.data.SetFormat(DataFormat::TwoByTwo);
    tt.choices.twoByTwo = TwoByTwoChoices{TwoByTwoTest::McNemar, 0, 0, 0, 0, 0, 1};
    tt.data.TwoByTwo() = TwoByTwoRecord{12, 5, 0, 30, "Exposed", "", "Ill", "Well"};
    tt.T().SetDataTitle("Outbreak");
    const std::string ttText = ExpectStableRoundTrip(tt, 5);
    Doc ttBack;
    ReadDataFileText(ttBack.Contents(), ttText, 5);
    EXPECT_EQ(ttBack.choices.twoByTwo.test, TwoByTwoTest::McNemar);
    EXPECT_EQ(ttBack.choices.twoByTwo.sensitivity, 1);  // written "T", read back true
    EXPECT_EQ(ttBack.data.TwoByTwo().d, 30);
    EXPECT_EQ(ttBack.T().DataTitle(), "Outbreak");

    Doc ct;
    ct.data.SetFormat(DataFormat::LargerTable);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) Type(ct, r, c, r * 4 + c + 1);
    }
    ct.T().Record(2).title = "Mild";
    ct.T().SetRowTitle(1, "Smokers");
    ExpectStableRoundTrip(ct, 4);

    Doc mr;
    mr.data.SetFormat(DataFormat::MultipleRegression);
    for (int r = 0; r < 6; ++r) {
        for (int c = 0; c < 3; ++c) Type(mr, r, c, (r + 1) * (c + 2) % 7 + 0.0L);
    }
    mr.T().Record(0).title = "Y";
    mr.choices.multipleRegression.kind = 0;
    mr.choices.multipleRegression.dependentColumn = 2;
    mr.choices.multipleRegression.include[1] = 1;
    mr.graph = GraphChoices{true, 'C', '*'};
    mr.T().SetExcluded(4, 1, true);
    const std::string mrText = ExpectStableRoundTrip(mr, 7);
    Doc mrBack;
    ReadDataFileText(mrBack.Contents(), mrText, 7);
    EXPECT_TRUE(mrBack.graph.analyzedDataOnly);
    EXPECT_EQ(mrBack.graph.xColumn, 'C');
    EXPECT_EQ(mrBack.graph.yColumn, '*');
    EXPECT_TRUE(mrBack.T().IsExcluded(4, 1));
}

// Reading files of every layout -------------------------------------------------------------

TEST(DataFileReader, RawFileWithEverySection) {
    Doc d;
    ASSERT_EQ(ReadDataFileText(d.Contents(), Fixture("raw_all_sections.ZLD"), 1), 0);
    const DataTable& t = d.T();
    EXPECT_EQ(t.DataTitle(), "Blood pressure");
    EXPECT_EQ(t.Value(0, 0), 12.5L);
    EXPECT_EQ(t.Value(3, 0), 10.75L);
    EXPECT_TRUE(t.IsMissing(4, 0));
    EXPECT_EQ(t.Value(1, 2), 12350000);  // an older writer's four digits
    EXPECT_EQ(t.Decimals(0), 2);
    EXPECT_EQ(t.Decimals(1), 0);
    EXPECT_EQ(t.Decimals(2), 1);
    EXPECT_EQ(t.Record(0).title, "Control");
    // The columns hold raw values: their statistics come from the cells, not from the file
    // (which claims a mean of 99).  A: 12.5, 11.25, 10.75 (13 is excluded); B: 4, 5, 6, 7.
    // Python statistics.mean / stdev.
    EXPECT_EQ(t.Record(0).n, 3);
    EXPECT_NEAR(t.Record(0).mean, 11.5L, 1E-15L);
    EXPECT_NEAR(t.Record(0).sd, 0.9013878188659973L, 1E-15L);
    EXPECT_EQ(t.Record(1).n, 4);
    EXPECT_NEAR(t.Record(1).sd, 1.2909944487358056L, 1E-15L);
    EXPECT_TRUE(IsMissingValue(t.Record(0).ks));  // too few values for the test
    EXPECT_TRUE(t.IsExcluded(0, 1));
    EXPECT_TRUE(t.IsExcluded(2, 0));
    EXPECT_FALSE(t.IsExcluded(3, 2));  // a "*" over an empty cell is ignored
    EXPECT_EQ(t.RowTitle(3), "Mouse A");
    EXPECT_EQ(t.RowTitle(12), "");  // "12    ": row 13 has an empty title
    EXPECT_EQ(t.RowTitle(0), "1");
    EXPECT_EQ(t.DisplayFormat(1), 2);
    EXPECT_EQ(t.DisplayFormat(0), -1);
    EXPECT_FALSE(t.Selected(1));
    EXPECT_TRUE(t.Selected(2));
    const ColumnAnalysisChoices& ch = d.choices.columns;
    EXPECT_EQ(ch.columnCountClass, 2);
    EXPECT_EQ(ch.hypotheticalValue, 1.5L);
    EXPECT_EQ(ch.oneColumnColumn, -1);
    EXPECT_EQ(ch.hypotheticalValueChoice, 3);
    EXPECT_EQ(ch.twoColumnNonparametric, 1);
    EXPECT_EQ(ch.unpaired, 0);
    EXPECT_FALSE(ch.equalSDs);
    EXPECT_EQ(ch.pairMode, 1);
    EXPECT_EQ(ch.controlColumn, 2);
    EXPECT_EQ(ch.postTestKind, 3);
    EXPECT_EQ(ch.pairFlags[0], 1);
    EXPECT_EQ(ch.pairFlags[1], 0);
    EXPECT_EQ(d.choices.allColumns, 0);
    EXPECT_EQ(d.choices.dataColumnCountSeen, 3);
    EXPECT_EQ(d.notes, "First line\r\n<<END RAW DATA>>\r\n\r\nLast");
}

TEST(DataFileReader, AveragedFileEndingAfterTheSelectedFlags) {
    Doc d;
    ASSERT_EQ(ReadDataFileText(d.Contents(), Fixture("averaged_sem_short.ZLD"), 3), 0);
    EXPECT_FALSE(d.data.ErrorIsSD());
    const ColumnRecord& a = d.T().Record(0);
    EXPECT_EQ(a.n, 10);
    EXPECT_EQ(a.mean, 5);
    EXPECT_EQ(a.sem, 0.5L);
    EXPECT_EQ(a.upper95, 6.13108057L);
    EXPECT_EQ(d.T().Record(1).sd, 2);
    for (int r = 0; r < 20; ++r) EXPECT_EQ(d.T().RowTitle(r), std::to_string(r + 1));
    for (int c = 0; c < DataColumns; ++c) EXPECT_EQ(d.T().DisplayFormat(c), -1);
    EXPECT_EQ(d.choices.allColumns, 1);
}

TEST(DataFileReader, XYFileWithoutTheCurveFlagKeepsIt) {
    Doc d;
    d.choices.xy.interpolate = 0;
    ASSERT_EQ(ReadDataFileText(d.Contents(), Fixture("xy_without_curve_flag.ZLD"), 6), 0);
    EXPECT_EQ(d.choices.xy.interpolate, 0);
    EXPECT_EQ(d.choices.xy.runsTest, 1);
    EXPECT_EQ(d.T().Record(1).title, "Response");
    EXPECT_EQ(d.T().Value(2, 1), 6.2L);
    EXPECT_TRUE(d.T().IsExcluded(2, 1));
    // Y statistics from the cells 2.1 and 3.9 (6.2 excluded).
    EXPECT_EQ(d.T().Record(1).n, 2);
    EXPECT_NEAR(d.T().Record(1).mean, 3.0L, 1E-15L);
}

TEST(DataFileReader, TwoByTwoOldTestValueAndRelativeRiskFlags) {
    Doc d;
    ASSERT_EQ(ReadDataFileText(d.Contents(), Fixture("two_by_two_old_test.ZLD"), 5), 0);
    const TwoByTwoChoices& ch = d.choices.twoByTwo;
    EXPECT_EQ(ch.test, TwoByTwoTest::Fisher);  // 2 reads as Fisher's exact test
    EXPECT_EQ(ch.relativeRisk, 1);
    EXPECT_EQ(ch.relativeRisk2, 1);
    EXPECT_EQ(ch.sensitivity, 1);
    const TwoByTwoRecord& r = d.data.TwoByTwo();
    EXPECT_EQ(r.c, 30);
    EXPECT_TRUE(IsMissingValue(r.d));  // "abc"
    EXPECT_EQ(r.column2Title, "Non-smokers");
    EXPECT_EQ(r.row2Title, "");
    EXPECT_EQ(d.T().DataTitle(), "Lung");
    EXPECT_EQ(d.notes, "A note");
}

TEST(DataFileReader, ContingencyAndMultipleRegressionFiles) {
    Doc ct;
    ASSERT_EQ(ReadDataFileText(ct.Contents(), Fixture("contingency.ZLD"), 4), 0);
    EXPECT_EQ(ct.T().Value(1, 1), 14);
    EXPECT_EQ(ct.T().RowTitle(1), "Women");
    EXPECT_EQ(ct.T().DisplayFormat(0), 0);
    EXPECT_EQ(ct.T().Record(0).title, "Blue");

    Doc mr;
    const std::string text = Fixture("multiple_regression.ZLD");
    EXPECT_EQ(DetectDataFormatOfText(text), 7);
    ASSERT_EQ(ReadDataFileText(mr.Contents(), text, 7), 0);
    EXPECT_EQ(mr.data.Format(), DataFormat::MultipleRegression);
    EXPECT_EQ(mr.choices.multipleRegression.kind, 0);
    EXPECT_EQ(mr.choices.multipleRegression.include[1], 1);
    EXPECT_EQ(mr.choices.multipleRegression.include[0], 0);
    EXPECT_TRUE(mr.graph.analyzedDataOnly);
    EXPECT_EQ(mr.graph.xColumn, 'C');
    EXPECT_EQ(mr.graph.yColumn, '*');
    EXPECT_EQ(mr.T().RowTitle(1), "Bob");
    EXPECT_EQ(mr.T().Record(2).title, "Age");
    EXPECT_TRUE(mr.T().IsExcluded(1, 2));
    EXPECT_NEAR(mr.T().Record(2).sd, 3.605551275463989L, 1E-15L);  // 30, 35, 28
    // The same file read as raw data (by a reader without code 7) still opens.
    Doc raw;
    EXPECT_NO_FATAL_FAILURE(ReadDataFileText(raw.Contents(), text, 1));
    EXPECT_EQ(raw.T().Value(0, 1), 1.6L);
}

// The edge cases of the format ---------------------------------------------------------------

std::string RawFileWithLines(const std::vector<std::string>& rows) {
    std::string text;
    for (const char* h : {"x", "2.00", "1", "", "", "", "title"}) text += std::string(h) + "\r\n";
    for (const std::string& r : rows) text += r + "\r\n";
    return text + "<<END RAW DATA>>\r\n";
}

TEST(DataFileEdgeCases, CommaRunsCollapse) {
    Doc d;
    ReadDataFileText(d.Contents(), RawFileWithLines({",,5,", "1,*,,2"}), 1);
    EXPECT_EQ(d.T().Value(0, 0), 5);
    EXPECT_TRUE(d.T().IsMissing(0, 1));
    EXPECT_EQ(d.T().Value(1, 0), 1);
    EXPECT_EQ(d.T().Value(1, 2), 2);
}

TEST(DataFileEdgeCases, LongLinesAreReadWhole) {
    std::string line;
    for (int c = 0; c < DataColumns; ++c) line += "-1234567.12345678,";
    ASSERT_GT(line.size(), 255u);
    Doc d;
    ReadDataFileText(d.Contents(), RawFileWithLines({line}), 1);
    EXPECT_EQ(d.T().Value(0, 25), -1234567.12345678L);
    EXPECT_EQ(d.T().Decimals(25), 8);  // every decimal of the file is shown, 16 digits or not
}

TEST(DataFileEdgeCases, NotesAreCutAt8006Characters) {
    Doc d;
    std::string text = RawFileWithLines({"1,"});
    // 26 column blocks, their marker, 18 choices, the pair flags and their marker.
    for (int i = 0; i < 26 * 12 + 1 + 18 + 1 + 1; ++i) text += "\r\n";
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        const std::string line(98, static_cast<char>('a' + i % 26));
        text += line + "\r\n";
        expected += line + "\r\n";
    }
    text += "<<END NOTES>>\r\n";
    ReadDataFileText(d.Contents(), text, 1);
    EXPECT_EQ(d.notes.size(), 8006u);
    EXPECT_TRUE(d.notes == expected.substr(0, 8006));  // the cut falls inside a line
}

TEST(DataFileEdgeCases, NotesEndingWithLineBreaksKeepThem) {
    // Every save and reopen must give back the same notes, trailing empty lines included.
    for (const std::string notes : {"one\r\ntwo", "one\r\ntwo\r\n", "one\r\n\r\n\r\n", "\r\n"}) {
        Doc d;
        d.notes = notes;
        const std::string text = BuildDataFileText(d.Contents());
        Doc back;
        ReadDataFileText(back.Contents(), text, 1);
        EXPECT_EQ(back.notes, notes);
    }
}

TEST(DataFileEdgeCases, FullTableFollowedByItsMarker) {
    // 1001 data rows fill the table; the marker after them must not be taken for the first
    // column index, or every section after it would be lost.
    Doc d;
    for (int r = 0; r < DataRows; ++r) Type(d, r, 0, r);
    d.T().Record(0).title = "All rows";
    d.notes = "kept";
    const std::string text = ExpectStableRoundTrip(d, 1);
    Doc back;
    EXPECT_EQ(ReadDataFileText(back.Contents(), text, 1), 0);
    EXPECT_EQ(back.T().Record(0).title, "All rows");
    EXPECT_EQ(back.notes, "kept");
}

TEST(DataFileEdgeCases, InvalidWholeNumberStopsReadingAndIsReported) {
    Doc d;
    Type(d, 0, 0, 4);
    d.notes = "lost";
    d.T().SetDisplayFormat(0, 2);
    std::string text = BuildDataFileText(d.Contents());
    const std::size_t at = text.find("<<END STAT DATA>>\r\n0\r\n0\r\n");
    ASSERT_NE(at, std::string::npos);
    text.replace(at + 19, 1, "two");  // the column count class
    Doc back;
    EXPECT_EQ(ReadDataFileText(back.Contents(), text, 1), 106);
    EXPECT_EQ(IoErrorText(106), "Error: #106  Invalid numeric format.");
    EXPECT_EQ(back.T().Value(0, 0), 4);            // read before the fault
    EXPECT_EQ(back.notes, "");                     // nothing read after it
    EXPECT_EQ(back.T().DisplayFormat(0), -1);      // keeps a new document's value
    EXPECT_EQ(back.choices.columns.unpaired, 1);
}

// Detection, version and errors ---------------------------------------------------------------

TEST(DataFileDetection, CodesOnLinesThreeAndFour) {
    auto detect = [](const char* line3, const char* line4) {
        return DetectDataFormatOfText(std::string(DataFileSignature) + "\r\n2.00\r\n" + line3 +
                                      "\r\n" + line4 + "\r\n");
    };
    EXPECT_EQ(detect("1", "1"), 7);
    EXPECT_EQ(detect("1", "2"), 1);
    EXPECT_EQ(detect("1", ""), 1);
    EXPECT_EQ(detect("5", ""), 5);
    EXPECT_EQ(detect("7", ""), 7);
    EXPECT_EQ(detect("8", ""), 0);
    EXPECT_EQ(detect("0", ""), 0);
    EXPECT_EQ(detect("abc", ""), 0);
    EXPECT_EQ(DetectDataFormatOfText(""), 0);
    EXPECT_EQ(DetectDataFormat("/nonexistent/file.ZLD"), 0);
}

// A file is a data file by its header: line 1 begins with the program text and line 2 holds
// the version.  A text of numbers one per line has a valid code on line 3 ("3") but is not
// one.
TEST(DataFileDetection, RecognisedByTheHeader) {
    std::string numbers;
    for (int i = 1; i <= 1200; ++i) numbers += std::to_string(i) + "\n";
    EXPECT_EQ(DetectDataFormatOfText(numbers), 0);
    const struct {
        const char* line1;
        const char* line2;
        std::int32_t code;
    } cases[] = {
        {"Kestrane Zelkon for Windows Version 3.00, 32 bit for Win 95/NT", "2.00", 6},
        {"Kestrane Zelkon for Windows Version 2.00", "2.00", 6},  // an older program text
        {"Kestrane Zelkon", "3", 6},
        {"x", "2.00", 0},
        {"kestrane zelkon", "2.00", 0},
        {" Kestrane Zelkon", "2.00", 0},
        {"Kestrane Zelkon", "abc", 0},
        {"Kestrane Zelkon", "", 0},
    };
    for (const auto& c : cases) {
        const std::string text = std::string(c.line1) + "\r\n" + c.line2 + "\r\n6\r\n\r\n";
        EXPECT_EQ(DetectDataFormatOfText(text), c.code) << c.line1 << " / " << c.line2;
        EXPECT_EQ(HasDataFileHeader(text), c.code != 0);
    }
}

TEST(DataFileDetection, VersionCheckBeforeOpening) {
    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/v.ZLD";
    auto check = [&](const char* version) {
        WriteFileAtomically(path, std::string(DataFileSignature) + "\r\n" + version + "\r\n6\r\n\r\n");
        return CheckDataFileForOpening(path);
    };
    EXPECT_EQ(check("3.00").code, 6);
    EXPECT_EQ(check("2.00").message, "");
    // A version that is not a number: no data file header.
    EXPECT_EQ(check("abc").code, 0);
    EXPECT_EQ(check("abc").message, NotDataFileMessage);
    const DataFileOpenCheck newer = check("3.01");
    EXPECT_EQ(newer.code, 0);
    EXPECT_EQ(newer.message, NewerVersionMessage);
    Extended version = 0;
    EXPECT_TRUE(ReadFileVersion(path, version));
    EXPECT_EQ(version, 3.01L);
    WriteFileAtomically(path, std::string(DataFileSignature) + "\r\n2.00\r\nabc\r\n");
    EXPECT_EQ(CheckDataFileForOpening(path).message, NotDataFileMessage);
    // A file that cannot be read is refused with its error, not called "not a data file".
    const DataFileOpenCheck missing = CheckDataFileForOpening(dir + "/missing.ZLD");
    EXPECT_EQ(missing.code, 0);
    EXPECT_EQ(missing.ioError, IoErrorFileNotFound);
    EXPECT_EQ(missing.message, "Error: #2  File not found.");
    EXPECT_EQ(CheckDataFileForOpening(dir + "/gone/missing.ZLD").message, "Error: #3  Path not found.");
    fs::remove_all(dir);
}

TEST(DataFileErrors, MessagesAndSystemErrors) {
    EXPECT_EQ(IoErrorText(1), "Error: #1  File not found.");
    EXPECT_EQ(IoErrorText(101), "Error: #101  The disk is full.");
    EXPECT_EQ(IoErrorText(162), "Error: #162  ecHardwareFailure");
    EXPECT_EQ(IoErrorText(0), "");
    EXPECT_EQ(IoErrorText(107), "");
    EXPECT_EQ(IoErrorFromErrno(ENOSPC, true, "/tmp/x"), 101);
    EXPECT_EQ(IoErrorFromErrno(EACCES, true, "/tmp/x"), 5);
    EXPECT_EQ(IoErrorFromErrno(EPERM, true, "/tmp/x"), 5);
    EXPECT_EQ(IoErrorFromErrno(EROFS, true, "/tmp/x"), 150);
    EXPECT_EQ(IoErrorFromErrno(ENOENT, true, "/tmp/x"), 3);
    EXPECT_EQ(IoErrorFromErrno(ENOENT, false, "/tmp/x"), 2);
    EXPECT_EQ(IoErrorFromErrno(ENOENT, false, "/nonexistent/x"), 3);
}

// Saving never destroys the previous file ----------------------------------------------------

TEST(DataFileSave, MissingFolderAndUnreadableFiles) {
    Doc d;
    EXPECT_EQ(SaveDataFile(d.Contents(), "/nonexistent-folder/a.ZLD"), 3);
    EXPECT_EQ(LoadDataFile(d.Contents(), "/nonexistent-folder/a.ZLD", 1), 3);
    const std::string dir = test::MakeTempDir();
    EXPECT_EQ(LoadDataFile(d.Contents(), dir + "/none.ZLD", 1), 2);
    EXPECT_EQ(LoadDataFile(d.Contents(), dir, 1), 5);  // a folder
    EXPECT_EQ(LoadDataFile(d.Contents(), dir + "/none.ZLD", 9), DataFileUnknownCode);
    fs::remove_all(dir);
}

TEST(DataFileSave, FailedWriteLeavesThePreviousFile) {
    const std::string dir = test::MakeTempDir();
    const std::string path = dir + "/kept.ZLD";
    Doc d;
    Type(d, 0, 0, 1);
    ASSERT_EQ(SaveDataFile(d.Contents(), path), 0);
    std::string before;
    ASSERT_TRUE(ReadWholeFile(path, before));
    EXPECT_EQ(before, BuildDataFileText(d.Contents()));

    // A file size limit makes the write fail part way, as a full disk would.
    for (int r = 0; r < 900; ++r) Type(d, r, 1, r);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::int32_t code = SaveDataFile(d.Contents(), path);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(code, 101);
    std::string after;
    ASSERT_TRUE(ReadWholeFile(path, after));
    EXPECT_EQ(after, before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);

    // The document's own entry points read and write the same file.
    Document back;
    EXPECT_EQ(LoadDataFile(back, path, DetectDataFormat(path)), 0);
    EXPECT_EQ(back.Table().Value(0, 0), 1);
    back.Notes() = "saved through the document";
    ASSERT_EQ(SaveDataFile(back, path), 0);
    Document again;
    EXPECT_EQ(LoadDataFile(again, path, 1), 0);
    EXPECT_EQ(again.Notes(), "saved through the document");
    fs::remove_all(dir);
}

// Hostile files ---------------------------------------------------------------------------------

// Every code on the text: nothing may crash or hang, and the result is 0 or 106.
void ReadWithEveryCode(const std::string& text) {
    for (std::int32_t code = 1; code <= 7; ++code) {
        Doc d;
        const std::int32_t result = ReadDataFileText(d.Contents(), text, code);
        ASSERT_TRUE(result == 0 || result == 106) << result;
        ASSERT_LE(d.notes.size(), NotesReadLimit);
        ASSERT_LE(d.T().DataTitle().size(), DataTable::MaxDataTitle);
    }
}

TEST(DataFileHostile, EmptyJunkAndHugeLines) {
    ReadWithEveryCode("");
    ReadWithEveryCode("\r\n\r\n\r\n");
    std::mt19937 rng(7);
    std::string junk(200000, '\0');
    for (char& c : junk) c = static_cast<char>(rng());
    ReadWithEveryCode(junk);
    EXPECT_EQ(DetectDataFormatOfText(junk), 0);
    ReadWithEveryCode(std::string(1000000, ','));
    ReadWithEveryCode(RawFileWithLines({std::string(1000000, '9') + ",1E99999,-1E-99999,5,"}));
    ReadWithEveryCode(std::string(500000, '\n'));
    // A raw data section without its marker, and numbers out of every range.
    std::string text = RawFileWithLines({});
    text.resize(text.size() - 18);
    for (int i = 0; i < 3000; ++i) text += "99999999999,\r\n-5\r\n1000000\r\n";
    ReadWithEveryCode(text);
}

TEST(DataFileHostile, OutOfRangeFieldsAreHeldToTheirValues) {
    Doc d;
    Type(d, 0, 0, 1);
    std::vector<std::string> L = Lines(BuildDataFileText(d.Contents()));
    auto at = [&](std::string_view marker) {
        return static_cast<std::size_t>(std::find(L.begin(), L.end(), marker) - L.begin());
    };
    L[at(EndRawDataMarker) + 3] = "-7";             // N of column A
    L[at(EndStatDataMarker) + 1] = "300";           // column count class
    L[at(EndStatDataMarker) + 5] = "99";            // one-column column
    L[at(EndRowTitlesMarker) + 1] = "1000000";      // display format of column A
    L.insert(L.begin() + static_cast<long>(at(EndRowTitlesMarker)), "5000  Far");
    L[at(StartExcludeFlagsMarker) + 1] = std::string(100000, '*');
    std::string edited;
    for (const std::string& l : L) edited += l + "\r\n";
    Doc back;
    EXPECT_EQ(ReadDataFileText(back.Contents(), edited, 1), 0);
    EXPECT_EQ(back.choices.columns.columnCountClass, 0);
    EXPECT_EQ(back.choices.columns.oneColumnColumn, -1);
    EXPECT_EQ(back.T().DisplayFormat(0), -1);
    EXPECT_TRUE(back.T().IsExcluded(0, 0));
    EXPECT_EQ(back.T().Record(0).n, 0);  // from the cells, whose one value is excluded
    EXPECT_FALSE(back.T().IsExcluded(0, 1));
}

TEST(DataFileHostile, TruncatedAndMutatedFiles) {
    Doc d;
    for (int r = 0; r < 12; ++r) {
        for (int c = 0; c < 4; ++c) Type(d, r, c, r * 0.25L + c);
    }
    d.T().SetExcluded(3, 2, true);
    d.notes = "a\r\nb";
    for (const DataFormat format : AllDataFormats) {
        d.data.SetFormat(format);
        const std::string text = BuildDataFileText(d.Contents());
        for (std::size_t cut = 0; cut < text.size(); cut += 1 + cut / 12) {
            ReadWithEveryCode(text.substr(0, cut));
        }
        std::mt19937 rng(static_cast<unsigned>(text.size()));
        for (int i = 0; i < 25; ++i) {
            std::string mutated = text;
            for (int k = 0; k < 8; ++k) {
                mutated[rng() % mutated.size()] = static_cast<char>(rng() % 256);
            }
            ReadWithEveryCode(mutated);
        }
    }
}

}  // namespace
}  // namespace zelkon
