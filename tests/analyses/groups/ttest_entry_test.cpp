// The entry routines of the one- and two-column tests: the choice between the t tests and
// the rank tests, the codes for averaged data, clearing the error code, and whole runs
// through Calculate with this area's entry functions.
#include "analyses/groups/column_tests.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/column_data_helpers.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::AddRawColumn;
using Lines = std::vector<std::string>;

ColumnRecord Typed(double mean, double sd, int n, const char* title) {
    ColumnRecord r;
    r.mean = mean;
    r.sd = sd;
    r.n = n;
    r.title = title;
    return r;
}

std::string Title(const std::string& text) {
    const std::size_t before = (65 - text.size()) / 2;
    return std::string(before, ' ') + text + std::string(65 - before - text.size(), ' ');
}

bool HasLine(const ResultsReport& report, const std::string& line) {
    for (const std::string& l : test::PlainLines(report)) {
        if (l == line) return true;
    }
    return false;
}

/// The number after "key": in a JSON text (NaN when the key is absent).
long double JsonNumber(const std::string& json, const std::string& key) {
    const std::string pattern = "\"" + key + "\":";
    const std::size_t at = json.find(pattern);
    if (at == std::string::npos) return std::numeric_limits<long double>::quiet_NaN();
    return std::strtold(json.c_str() + at + pattern.size(), nullptr);
}

// --- Entry routines ---------------------------------------------------------------------

struct EntryRoutines : ::testing::Test {
    DataTable table;
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    void SetUp() override {
        AddRawColumn(table, 0, {4.1, 5.2, 6.3, 5.8, 4.9, 6.0, 5.5}, "Weight");
        AddRawColumn(table, 1, {3.2, 4.0, 5.1, 4.4, 4.6, 5.9, 4.8}, "Height");
        AddRawColumn(table, 2, {7});
    }
};

TEST_F(EntryRoutines, OneColumnParametricClearsTheCodeAndWritesTheTTest) {
    out.errorCode = 99;
    OneColumnTest(table, 0, table.Record(0), false, true, 5, out);
    EXPECT_EQ(out.errorCode, 0);
    EXPECT_EQ(test::PlainLines(report).at(1), Title("One sample t test"));
    // R: t.test(c(4.1, 5.2, 6.3, 5.8, 4.9, 6.0, 5.5), mu = 5)$statistic
    EXPECT_NEAR(static_cast<double>(JsonNumber(out.resultJson, "t")), 1.42270741389162, 1e-12);
    EXPECT_NE(out.resultJson.find("\"test\":\"one sample t test\""), std::string::npos);
}

TEST_F(EntryRoutines, OneColumnCodesLeaveTheReportEmpty) {
    OneColumnTest(table, 2, table.Record(2), false, true, 0, out);
    EXPECT_EQ(out.errorCode, 49);
    EXPECT_TRUE(report.IsEmpty());
    // A rank test of a typed-in summary is refused.
    OneColumnTest(table, -1, Typed(5, 1, 10, "Typed"), true, true, 0, out);
    EXPECT_EQ(out.errorCode, 42);
    EXPECT_TRUE(report.IsEmpty());
}

TEST_F(EntryRoutines, OneColumnNonparametricRunsTheSignedRankTest) {
    out.errorCode = 99;
    OneColumnTest(table, 0, table.Record(0), true, true, 5, out);
    EXPECT_EQ(out.errorCode, 0);
    EXPECT_TRUE(HasLine(report, Title("Wilcoxon signed rank test")));
    EXPECT_FALSE(HasLine(report, Title("One sample t test")));
}

TEST_F(EntryRoutines, TwoColumnDispatch) {
    // The report of each choice (nonparametric, equal SDs, unpaired), error code cleared.
    auto run = [&](bool nonparametric, bool equalSDs, bool unpaired) {
        ResultsReport r;
        AnalysisOutput o{r, 99, 0, {}};
        TwoColumnTest(table, 0, 1, table.Record(0), table.Record(1), nonparametric, true,
                      equalSDs, unpaired, o);
        EXPECT_EQ(o.errorCode, 0);
        return r;
    };
    EXPECT_EQ(test::PlainLines(run(false, true, true)).at(0), Title("Unpaired t test"));
    EXPECT_EQ(test::PlainLines(run(false, false, true)).at(0),
              Title("Unpaired t test with Welch correction"));
    EXPECT_EQ(test::PlainLines(run(false, true, false)).at(0), Title("Paired t test"));
    EXPECT_TRUE(HasLine(run(true, true, true), Title("Mann-Whitney Test")));
    EXPECT_TRUE(HasLine(run(true, true, false), Title("Wilcoxon matched-pairs signed-ranks test")));
}

TEST_F(EntryRoutines, TwoColumnCodesForAveragedData) {
    const ColumnRecord typed = Typed(5, 1, 10, "Typed");
    // Rank tests need raw data in both columns, paired or not.
    for (bool unpaired : {true, false}) {
        TwoColumnTest(table, 0, -1, table.Record(0), typed, true, true, true, unpaired, out);
        EXPECT_EQ(out.errorCode, 42);
        TwoColumnTest(table, -1, 1, typed, table.Record(1), true, true, true, unpaired, out);
        EXPECT_EQ(out.errorCode, 42);
    }
    // The paired t test needs the rows to pair.
    TwoColumnTest(table, 0, -1, table.Record(0), typed, false, true, true, false, out);
    EXPECT_EQ(out.errorCode, 44);
    EXPECT_TRUE(report.IsEmpty());
    // The unpaired t test takes averaged data.
    TwoColumnTest(table, 0, -1, table.Record(0), typed, false, true, true, true, out);
    EXPECT_EQ(out.errorCode, 0);
    EXPECT_FALSE(report.IsEmpty());
}

// --- Whole runs -------------------------------------------------------------------------

AnalysisEntryPoints ColumnTests() {
    AnalysisEntryPoints e;
    e.oneColumn = RunOneColumnTest;
    e.twoColumn = RunTwoColumnTest;
    return e;
}

struct WholeRun : ::testing::Test {
    Document doc;
    void Fill(int column, std::vector<double> values) {
        for (std::size_t r = 0; r < values.size(); ++r) {
            doc.Table().SetValue(static_cast<int>(r), column, values[r]);
        }
        doc.Table().SetNoRawData(column, false);
        doc.MarkModified();
    }
    Lines Run() {
        Calculate(doc, ColumnTests());
        return test::PlainLines(doc.Report());
    }
};

const std::string Closing = "                       *     *     *";

TEST_F(WholeRun, UnpairedTTestOfTwoUntitledColumns) {
    Fill(0, {12.0, 15.5, 13.2, 14.8, 16.1, 13.9});
    Fill(1, {17.2, 18.9, 16.5, 19.8, 17.7, 20.3, 18.1});
    doc.Table().SetDataTitle("Growth");
    const Lines lines = Run();
    EXPECT_EQ(doc.ErrorCode(), 0);
    ASSERT_GE(lines.size(), 40u);
    EXPECT_EQ(lines[0], "Growth");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], Title("Unpaired t test"));
    EXPECT_EQ(lines[3], "Do the means of Column A and Column B differ significantly?");
    // R: t.test(b, a, var.equal = TRUE): t = 5.104, df 11, P = 0.000342
    EXPECT_EQ(lines[6], "The two-tailed P value is 0.0003, considered extremely significant.");
    EXPECT_EQ(lines[8], "t = 5.104 with 11 degrees of freedom.");
    EXPECT_EQ(lines[11], "Mean difference = 4.107 (Mean of Column B minus mean of Column A) ");
    // The report ends with the run's closing lines.
    const auto closing = std::find(lines.begin(), lines.end(), Closing);
    ASSERT_NE(closing, lines.end());
    EXPECT_EQ(*(closing - 2), " Upper 95% CI:          15.847          19.634");
    // The result struct is the document's JSON; the titles were temporary.
    const std::string& json = doc.ResultJson();
    EXPECT_NE(json.find("\"test\":\"unpaired t test\""), std::string::npos);
    EXPECT_NE(json.find("\"title\":\"Column A\""), std::string::npos);
    EXPECT_EQ(JsonNumber(json, "df"), 11);
    EXPECT_NEAR(static_cast<double>(JsonNumber(json, "t")), 5.10399910932232, 5.1e-12);
    EXPECT_EQ(doc.Table().Record(0).title, "");
}

TEST_F(WholeRun, OneSampleTestOfASingleValueShowsTheMessage) {
    Fill(0, {7});
    const Lines lines = Run();
    EXPECT_EQ(doc.ErrorCode(), 49);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1],
              "It is not possible to analyze your data because one column contains a");
    EXPECT_EQ(lines[2], "single value.");
    EXPECT_EQ(lines[3], "");
    EXPECT_TRUE(doc.ResultJson().empty());
}

TEST_F(WholeRun, OneSampleTestWithSdZeroShowsTheMessage) {
    Fill(0, {2.5, 2.5, 2.5, 2.5});
    const Lines lines = Run();
    EXPECT_EQ(doc.ErrorCode(), 40);
    EXPECT_EQ(lines.at(1),
              "It is not possible to analyze your data because one column's SD is zero.");
}

TEST_F(WholeRun, UnpairedWithAConstantColumnFailsButThePairedTestRuns) {
    Fill(0, {3, 3, 3, 3, 3});
    Fill(1, {1, 2, 3, 4, 6});
    Run();
    EXPECT_EQ(doc.ErrorCode(), 40);
    doc.Choices().columns.unpaired = 0;
    doc.MarkModified();
    const Lines lines = Run();
    EXPECT_EQ(doc.ErrorCode(), 0);
    EXPECT_EQ(lines.at(0), Title("Paired t test"));
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "Can't calculate r. One group has no variability."),
              lines.end());
}

TEST_F(WholeRun, SinglePairShowsTheMessage) {
    // A = 1, 2 and B = -, 8, 9: two values each, one row with both.
    Fill(0, {1, 2});
    doc.Table().SetValue(1, 1, 8);
    doc.Table().SetValue(2, 1, 9);
    doc.Table().SetNoRawData(1, false);
    doc.Choices().columns.unpaired = 0;
    const Lines lines = Run();
    EXPECT_EQ(doc.ErrorCode(), 50);
    EXPECT_EQ(lines.at(1),
              "It is not possible to analyze your data because there is only a single");
    EXPECT_EQ(lines.at(2), "pair.");
}

TEST_F(WholeRun, PerfectPairingLeavesNoArithmeticFault) {
    Fill(0, {1.5, 2.5, 3, 4.5, 6});
    Fill(1, {3, 5, 6, 9, 12});
    doc.Choices().columns.unpaired = 0;
    const Lines lines = Run();
    EXPECT_EQ(doc.ErrorCode(), 0);
    const auto r = std::find(lines.begin(), lines.end(), "Correlation coefficient (r) = 1.000");
    ASSERT_NE(r, lines.end());
    EXPECT_EQ(*(r + 1), "The one-tailed P value is < 0.0001, considered extremely significant.");
    EXPECT_EQ(*(r + 3), "With these data, the pairing (or matching) appears to be effective.");
    // R: t.test(a, 2 * a, paired = TRUE): t = -4.427, df 4, P = 0.0114
    EXPECT_NE(std::find(lines.begin(), lines.end(), "t = 4.427 with 4 degrees of freedom."),
              lines.end());
}

TEST_F(WholeRun, AveragedDataInARankTestShowsTheMessage) {
    doc.Data().SetFormat(DataFormat::MeanSDN);
    for (int c : {0, 1}) {
        ColumnRecord& r = doc.Table().Record(c);
        r.mean = 5 + c;
        r.sd = 1;
        r.n = 10;
    }
    doc.Choices().columns.twoColumnNonparametric = 1;
    doc.MarkModified();
    Lines lines = Run();
    EXPECT_EQ(doc.ErrorCode(), 42);
    EXPECT_EQ(lines.at(1), "Nonparametric tests require raw data exclusively.  No");
    EXPECT_EQ(lines.at(2), "averaged data can be used.");

    // The unpaired t test of the same averaged data (the choices never pair averaged
    // columns): hand calculation t = 1 / sqrt(0.1 + 0.1); R: 2 * pt(-t, 18) = 0.03825
    doc.Choices().columns.twoColumnNonparametric = 0;
    doc.MarkModified();
    lines = Run();
    EXPECT_EQ(doc.ErrorCode(), 0);
    EXPECT_EQ(lines.at(0), Title("Unpaired t test"));
    EXPECT_EQ(lines.at(4), "The two-tailed P value is 0.0382, considered significant.");
    EXPECT_EQ(lines.at(6), "t = 2.236 with 18 degrees of freedom.");
}

TEST_F(WholeRun, OverflowBecomesItsCode) {
    // Squares of these values exceed the extended range.
    for (int row = 0; row < 3; ++row) {
        doc.Table().SetValue(row, 0, (row + 1) * 1e2470L);
        doc.Table().SetValue(row, 1, (row + 4) * 1.5e2470L);
    }
    doc.Table().SetNoRawData(0, false);
    doc.Table().SetNoRawData(1, false);
    doc.MarkModified();
    const Lines lines = Run();
    EXPECT_EQ(doc.ErrorCode(), 4);
    EXPECT_EQ(lines.at(1), "Overflow.  A computation has produced a number too large for");
    std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
}  // namespace zelkon
