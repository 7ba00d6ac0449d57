// The multi-column entry routine: summaries brought up to date, the column map while the
// analysis runs, the refusal of averaged data (43), the dispatch to the nonparametric
// tests through their hook (and the sentence when a test is not part of the build),
// arithmetic faults turned into codes, and whole runs through the analysis run with the
// run's framing and its error messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "analyses/groups/multi_column_entry.h"
#include "core/column_data_helpers.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "stats/column_stats.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::AddRawColumn;
using test::PlainLines;

// What a nonparametric recorder saw.
struct Seen {
    int kruskalWallis = 0;
    int friedman = 0;
    bool mapActive = false;
    int mappedColumns = 0;
    Extended firstValue = 0;
    std::int32_t controlColumn = -1;
};
Seen seen;

void RecordKruskalWallis(const MultiColumnRequest& r, AnalysisOutput& out) {
    ++seen.kruskalWallis;
    seen.mapActive = r.table.ColumnMapActive();
    seen.mappedColumns = r.table.MappedColumnCount();
    seen.firstValue = r.table.AnalysisValue(0, 0);
    seen.controlColumn = r.controlColumn;
    out.report.WriteLine("Kruskal-Wallis ran");
}

void RecordFriedman(const MultiColumnRequest&, AnalysisOutput& out) {
    ++seen.friedman;
    out.report.WriteLine("Friedman ran");
}

struct Entry : ::testing::Test {
    DataTable table;
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    std::array<std::uint8_t, PairFlagCount> flags = AllPairFlagsSet();

    void SetUp() override { seen = Seen{}; }
    void Run(bool nonparametric, bool unmatched, const NonparametricTests& tests) {
        UpdateColumnSummaries(table);
        const MultiColumnRequest request{
            table, nonparametric,      unmatched,          flags, false, true,
            2,     PostTestMode::None, PostTestKind::Tukey};
        MultiColumnComparison(request, out, tests);
    }
    void ThreeRawColumns() {
        AddRawColumn(table, 1, {4, 5, 6}, "B");
        AddRawColumn(table, 2, {7, 8, 10}, "C");
        AddRawColumn(table, 3, {1, 3, 2}, "D");
    }
};

TEST_F(Entry, NonparametricTestsRunThroughTheHookWithTheColumnMapActive) {
    ThreeRawColumns();
    const NonparametricTests tests{RecordKruskalWallis, RecordFriedman};
    Run(true, true, tests);
    EXPECT_EQ(seen.kruskalWallis, 1);
    EXPECT_EQ(seen.friedman, 0);
    EXPECT_TRUE(seen.mapActive);
    EXPECT_EQ(seen.mappedColumns, 3);
    EXPECT_EQ(static_cast<double>(seen.firstValue), 4.0);  // analysed column 0 is column B
    EXPECT_EQ(seen.controlColumn, 2);                      // passed on as the data column
    EXPECT_FALSE(table.ColumnMapActive());                 // reset afterwards
    EXPECT_EQ(PlainLines(report)[0], "Kruskal-Wallis ran");

    Run(true, false, tests);
    EXPECT_EQ(seen.friedman, 1);
}

TEST_F(Entry, AMissingNonparametricTestSaysSoAndNothingElse) {
    ThreeRawColumns();
    Run(true, true, NonparametricTests{});
    EXPECT_EQ(out.errorCode, 0);
    EXPECT_EQ(out.helpTopic, KruskalWallisHelpTopic);  // the page of the test asked for
    EXPECT_TRUE(out.resultJson.empty());
    const std::vector<std::string> kw = {
        "", "The Kruskal-Wallis test is not available in this version of the program."};
    EXPECT_EQ(PlainLines(report), kw);
    report.Reset();
    Run(true, false, NonparametricTests{});
    const std::vector<std::string> friedman = {
        "", "The Friedman test is not available in this version of the program."};
    EXPECT_EQ(PlainLines(report), friedman);
    // The program's own set holds both tests.
    EXPECT_NE(DefaultNonparametricTests().kruskalWallis, nullptr);
    EXPECT_NE(DefaultNonparametricTests().friedman, nullptr);
}

TEST_F(Entry, AveragedDataAreRefusedWhereRawDataAreNeeded) {
    ThreeRawColumns();
    test::AddAveragedColumn(table, 5, "Typed");
    const NonparametricTests tests{RecordKruskalWallis, RecordFriedman};
    Run(false, false, tests);  // repeated measures
    EXPECT_EQ(out.errorCode, 43);
    out.errorCode = 0;
    Run(true, true, tests);  // Kruskal-Wallis
    EXPECT_EQ(out.errorCode, 43);
    out.errorCode = 0;
    Run(true, false, tests);  // Friedman
    EXPECT_EQ(out.errorCode, 43);
    EXPECT_EQ(seen.kruskalWallis + seen.friedman, 0);
    out.errorCode = 0;
    Run(false, true, tests);  // one-way ANOVA takes them
    EXPECT_EQ(out.errorCode, 0);
    EXPECT_FALSE(table.ColumnMapActive());
}

TEST_F(Entry, RawColumnSummariesAreRecomputedBeforeTheTest) {
    ThreeRawColumns();
    UpdateColumnSummaries(table);
    table.Record(1).mean = 100;  // a stale summary
    const MultiColumnRequest request{
        table, false, true, flags, false, true, 1, PostTestMode::None, PostTestKind::Tukey};
    MultiColumnComparison(request, out);
    EXPECT_EQ(out.errorCode, 0);
    EXPECT_EQ(static_cast<double>(table.Record(1).mean), 5.0);
}

TEST_F(Entry, ArithmeticFaultsBecomeErrorCodes) {
    // Values whose squares overflow even the extended range.
    ThreeRawColumns();
    table.SetValue(0, 5, 1e3000L);
    table.SetValue(1, 5, -1e3000L);
    table.SetValue(2, 5, 5e2999L);
    table.SetNoRawData(5, false);
    table.Record(5).n = 3;
    Run(false, true, DefaultNonparametricTests());
    EXPECT_EQ(out.errorCode, 4);
    EXPECT_TRUE(out.resultJson.empty());
}

// Whole runs through `Calculate`, as `zelkon-cli report` does them.
struct WholeRun : ::testing::Test {
    Document doc;
    AnalysisEntryPoints entries;
    void SetUp() override { entries.multiColumn = MultiColumnComparison; }
    void Fill(int column, std::vector<double> values) {
        for (std::size_t r = 0; r < values.size(); ++r) {
            doc.Table().SetValue(static_cast<int>(r), column, values[r]);
        }
        doc.Table().SetNoRawData(column, false);
        doc.MarkModified();
    }
};

TEST_F(WholeRun, FramedByTheRunWithTemporaryTitles) {
    doc.Table().SetDataTitle("Dose study");
    Fill(0, {23, 25, 28, 30, 31});
    Fill(1, {29, 33, 34, 36, 38, 40});
    Fill(2, {35, 38, 40, 43, 45, 47, 50});
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 0);
    EXPECT_EQ(doc.ResultsHelpTopic(), 366);
    const std::vector<std::string> lines = PlainLines(doc.Report());
    EXPECT_EQ(lines[0], "Dose study");
    EXPECT_EQ(lines[3], std::string(14, ' ') + "One-way Analysis of Variance (ANOVA)" +
                            std::string(15, ' '));
    // The default post test (Tukey, only if P<0.05) runs, with the temporary titles.
    EXPECT_EQ(lines[10], "Tukey-Kramer Multiple Comparisons Test");
    EXPECT_EQ(lines[19].substr(0, 34), "       Column A vs Column B       ");
    EXPECT_FALSE(doc.Table().ColumnMapActive());
    EXPECT_NE(doc.ResultJson().find("\"title\":\"Column A\""), std::string::npos);
}

TEST_F(WholeRun, AnUnselectedColumnIsLeftOut) {
    Fill(0, {23, 25, 28, 30, 31});
    Fill(1, {1, 2});
    Fill(2, {29, 33, 34, 36, 38, 40});
    Fill(3, {35, 38, 40, 43, 45, 47, 50});
    doc.Choices().allColumns = 0;
    doc.Table().SetSelected(1, false);
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 0);
    const std::string& json = doc.ResultJson();
    EXPECT_EQ(json.find("\"title\":\"Column B\""), std::string::npos);
    EXPECT_NE(json.find("\"dfResidual\":15"), std::string::npos);
}

TEST_F(WholeRun, AnErrorCodeReplacesTheReportByItsMessage) {
    Fill(0, {1, 2, 3});
    Fill(1, {4});
    Fill(2, {5, 6, 8});
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 12);
    const std::vector<std::string> lines = PlainLines(doc.Report());
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "Only one value was found in a column.  ANOVA requires at least");
    EXPECT_EQ(lines[2], "two per column.");
    EXPECT_TRUE(doc.ResultJson().empty());
}

TEST_F(WholeRun, RepeatedMeasuresWithAGapGivesCode15) {
    Fill(0, {1, 2, 3});
    Fill(1, {4, 6});
    Fill(2, {7, 8, 9});
    doc.Choices().columns.unmatched = 0;
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 15);
    EXPECT_EQ(PlainLines(doc.Report())[1],
              "Data are missing.  This test requires a complete rectangular");
}


// Every centred heading is underlined by one rule, the whole 65-character field of `Centre`
// (its blanks included) between the two switches, in the t and rank tests as in ANOVA,
// Kruskal-Wallis and Friedman.
TEST(CentredHeadings, UnderlineTheWholeField) {
    struct Case {
        int columns;
        std::uint8_t nonparametric;
        std::uint8_t unmatchedOrUnpaired;
        const char* heading;
    };
    const Case cases[] = {
        {3, 0, 1, "One-way Analysis of Variance (ANOVA)"},
        {3, 0, 0, "Repeated Measures Analysis of Variance"},
        {3, 1, 1, "Kruskal-Wallis Test (Nonparametric ANOVA)"},
        {3, 1, 0, "Friedman Test (Nonparametric Repeated Measures ANOVA)"},
        {2, 0, 1, "Unpaired t test"},
        {2, 1, 1, "Mann-Whitney Test"},
    };
    const std::string u(1, ResultsReport::Emphasis2);
    const double data[3][5] = {{23, 25, 28, 30, 31}, {29, 33, 34, 36, 39}, {35, 38, 40, 43, 45}};
    for (const Case& c : cases) {
        Document doc;
        for (int col = 0; col < c.columns; ++col) {
            for (int r = 0; r < 5; ++r) doc.Table().SetValue(r, col, data[col][r]);
            doc.Table().SetNoRawData(col, false);
        }
        ColumnAnalysisChoices& choices = doc.Choices().columns;
        choices.multiColumnNonparametric = c.nonparametric;
        choices.twoColumnNonparametric = c.nonparametric;
        choices.unmatched = c.unmatchedOrUnpaired;
        choices.unpaired = c.unmatchedOrUnpaired;
        doc.MarkModified();
        Calculate(doc);
        ASSERT_EQ(doc.ErrorCode(), 0) << c.heading;
        const std::vector<std::string> raw = doc.Report().AllLines();
        for (const char* heading : {c.heading, "Summary of Data"}) {
            const std::string line = u + ResultsReport::Centre(heading, 65) + u;
            EXPECT_NE(std::find(raw.begin(), raw.end(), line), raw.end()) << heading;
        }
    }
}

}  // namespace
}  // namespace zelkon
