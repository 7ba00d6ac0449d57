#include "document/analysis_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/document.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

// What the recording entry points saw.
struct Seen {
    int oneColumnCalls = 0;
    int twoColumnCalls = 0;
    int multiColumnCalls = 0;
    int column = -2;
    std::string title;
    std::int32_t n = 0;
    int first = -2, second = -2;
    std::int32_t errorToSet = 0;
    bool divideByZero = false;
};
Seen seen;

void RecordOneColumn(const OneColumnRequest& r, AnalysisOutput& out) {
    ++seen.oneColumnCalls;
    seen.column = r.column;
    seen.title = r.record.title;
    seen.n = r.record.n;
    out.report.WriteLine("one column " + r.record.title);
    out.helpTopic = 77;
    out.resultJson = "{\"test\":1}";
    if (seen.divideByZero) {
        volatile Extended zero = 0;
        volatile Extended q = 1 / zero;
        (void)q;
    }
    out.errorCode = seen.errorToSet;
}

void RecordTwoColumn(const TwoColumnRequest& r, AnalysisOutput& out) {
    ++seen.twoColumnCalls;
    seen.first = r.firstColumn;
    seen.second = r.secondColumn;
    out.report.WriteLine("two columns");
}

void RecordMultiColumn(const MultiColumnRequest&, AnalysisOutput& out) {
    ++seen.multiColumnCalls;
    out.report.WriteLine("first half of a report");
    out.errorCode = seen.errorToSet;
}

AnalysisEntryPoints Recorders() {
    AnalysisEntryPoints e;
    e.oneColumn = RecordOneColumn;
    e.twoColumn = RecordTwoColumn;
    e.multiColumn = RecordMultiColumn;
    return e;
}

struct AnalysisRun : ::testing::Test {
    Document doc;
    void SetUp() override { seen = Seen{}; }
    void Fill(int column, std::vector<double> values) {
        for (std::size_t r = 0; r < values.size(); ++r) {
            doc.Table().SetValue(static_cast<int>(r), column, values[r]);
        }
        doc.Table().SetNoRawData(column, false);
        doc.MarkModified();
    }
};

const std::string Closing = "                       *     *     *";

TEST_F(AnalysisRun, EmptyDocumentShowsTheNoDataMessagePaddedTo21Lines) {
    ShowResults(doc, Recorders());
    const std::vector<std::string> lines = test::PlainLines(doc.Report());
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "Until you enter data, you won't see any results!");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], Closing);
    for (std::size_t i = 5; i < 21; ++i) EXPECT_EQ(lines[i], "") << i;
    EXPECT_EQ(seen.oneColumnCalls + seen.twoColumnCalls + seen.multiColumnCalls, 0);
    EXPECT_FALSE(doc.NeedsRecalculation());
}

TEST_F(AnalysisRun, OneSelectedColumnRunsTheOneColumnTestWithATemporaryTitle) {
    Fill(0, {1, 2, 3});
    Fill(1, {4, 5, 6});
    doc.Table().SetSelected(1, false);
    doc.Choices().allColumns = 0;
    doc.Table().SetDataTitle("Blood pressure");
    ShowResults(doc, Recorders());
    EXPECT_EQ(seen.oneColumnCalls, 1);
    EXPECT_EQ(seen.column, 0);
    EXPECT_EQ(seen.title, "Column A");
    EXPECT_EQ(seen.n, 3);
    EXPECT_EQ(doc.Choices().columns.oneColumnColumn, 0);
    // Afterwards column A is untitled again and column B keeps its N.
    EXPECT_EQ(doc.Table().Record(0).title, "");
    EXPECT_EQ(doc.Table().Record(1).n, 3);
    const std::vector<std::string> lines = test::PlainLines(doc.Report());
    ASSERT_GE(lines.size(), 21u);
    EXPECT_EQ(lines[0], "Blood pressure");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "one column Column A");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], Closing);
    EXPECT_EQ(doc.ResultsHelpTopic(), 77);
    EXPECT_EQ(doc.ResultJson(), "{\"test\":1}");
}

TEST_F(AnalysisRun, AveragedColumnIsPassedAsMinusOne) {
    ColumnRecord& r = doc.Table().Record(2);
    r.n = 10;
    r.mean = 5;
    r.sd = 1;
    doc.Data().SetFormat(DataFormat::MeanSDN);
    doc.MarkModified();
    ShowResults(doc, Recorders());
    EXPECT_EQ(seen.oneColumnCalls, 1);
    EXPECT_EQ(seen.column, -1);
    EXPECT_EQ(seen.title, "Column C");
}

TEST_F(AnalysisRun, TypedSummaryWithoutAnErrorIsNotData) {
    // Mean and N typed but neither SD nor SEM: the statistics page would empty the record,
    // and so does the run, instead of analysing the missing-value marker as an SD.
    ColumnRecord& r = doc.Table().Record(0);
    r.n = 10;
    r.mean = 5;
    doc.Data().SetFormat(DataFormat::MeanSDN);
    doc.MarkModified();
    ShowResults(doc, Recorders());
    EXPECT_EQ(seen.oneColumnCalls, 0);
    EXPECT_EQ(test::PlainLines(doc.Report())[1], "Until you enter data, you won't see any results!");
    EXPECT_EQ(doc.Table().Record(0).n, 0);
    EXPECT_EQ(doc.Table().Record(0).mean, 5);
}

TEST_F(AnalysisRun, TwoColumnsAreStoredAsFirstAndSecond) {
    Fill(1, {1, 2, 3});
    Fill(3, {4, 5, 6});
    ShowResults(doc, Recorders());
    EXPECT_EQ(seen.twoColumnCalls, 1);
    EXPECT_EQ(seen.first, 1);
    EXPECT_EQ(seen.second, 3);
    EXPECT_EQ(doc.Choices().columns.firstColumn, 1);
    EXPECT_EQ(doc.Choices().columns.secondColumn, 3);
}

TEST_F(AnalysisRun, SelectedPairsWithNoPairFlagShowsTheMessageAndRunsNothing) {
    Fill(0, {1, 2});
    Fill(1, {3, 4});
    Fill(2, {5, 6});
    ColumnAnalysisChoices& c = doc.Choices().columns;
    c.pairMode = PairMode::SelectedPairs;
    c.postTestKind = PostTestKind::Bonferroni;
    c.pairFlags.fill(0);
    ShowResults(doc, Recorders());
    EXPECT_EQ(seen.multiColumnCalls, 0);
    const std::vector<std::string> lines = test::PlainLines(doc.Report());
    EXPECT_EQ(lines[1], "At least one column pair must be selected.");
}

TEST_F(AnalysisRun, ShowingResultsTwiceWithoutAChangeComputesOnce) {
    Fill(0, {1, 2, 3});
    EXPECT_TRUE(ShowResults(doc, Recorders()));
    EXPECT_FALSE(ShowResults(doc, Recorders()));
    EXPECT_EQ(seen.oneColumnCalls, 1);
    doc.MarkModified();
    EXPECT_TRUE(ShowResults(doc, Recorders()));
    EXPECT_EQ(seen.oneColumnCalls, 2);
}

TEST_F(AnalysisRun, ErrorCodeReplacesEverythingTheAnalysisWrote) {
    Fill(0, {1, 2});
    Fill(1, {3, 4});
    Fill(2, {5, 6});
    doc.Table().SetDataTitle("Title that goes too");
    seen.errorToSet = 14;
    ShowResults(doc, Recorders());
    const std::vector<std::string> lines = test::PlainLines(doc.Report());
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "ANOVA is impossible.  All group means are identical.");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], Closing);
    EXPECT_EQ(doc.ErrorCode(), 14);
    EXPECT_EQ(doc.ResultJson(), "");
}

TEST_F(AnalysisRun, ArithmeticFaultBecomesItsErrorCode) {
    Fill(0, {1, 2, 3});
    seen.divideByZero = true;
    ShowResults(doc, Recorders());
    EXPECT_EQ(doc.ErrorCode(), 2);
    const std::vector<std::string> lines = test::PlainLines(doc.Report());
    EXPECT_EQ(lines[1], "Divide by zero.  A computation has divided a number by zero");
}

TEST_F(AnalysisRun, MissingAnalysisWritesOnlyTheFraming) {
    Fill(0, {1, 2, 3});
    ShowResults(doc, AnalysisEntryPoints{});
    const std::vector<std::string> lines = test::PlainLines(doc.Report());
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], Closing);
}

TEST_F(AnalysisRun, XYWithoutDataShowsTheMessage) {
    doc.Data().SetFormat(DataFormat::XY);
    ShowResults(doc, Recorders());
    EXPECT_EQ(test::PlainLines(doc.Report())[1], "Until you enter data, you won't see any results!");
    EXPECT_FALSE(doc.RegressionLine().valid);
}

TEST(PostTestParameters, DerivedFromTheChoices) {
    Document doc;
    for (int c = 0; c < 4; ++c) {
        doc.Table().SetValue(0, c, 1);
        doc.Table().Record(c).n = 1;
    }
    ColumnAnalysisChoices cc;
    cc.postTestKind = PostTestKind::Tukey;
    cc.pairMode = PairMode::SelectedPairs;
    PostTestParameters p = DerivePostTestParameters(doc.Table(), cc);
    EXPECT_EQ(p.kind, PostTestKind::Bonferroni);
    EXPECT_TRUE(p.selectedPairs);
    cc.pairMode = PairMode::AgainstControl;
    EXPECT_EQ(DerivePostTestParameters(doc.Table(), cc).kind, PostTestKind::Dunnett);
    cc.pairMode = PairMode::AllPairs;
    p = DerivePostTestParameters(doc.Table(), cc);
    EXPECT_EQ(p.kind, PostTestKind::Tukey);
    EXPECT_FALSE(p.selectedPairs);

    // Kruskal-Wallis against control column C (index 2) of A-D: the pairs holding C are
    // (A,C) = 1, (B,C) = 3 and (C,D) = 5 in the order AB AC AD BC BD CD.
    cc.multiColumnNonparametric = 1;
    cc.unmatched = 1;
    cc.pairMode = PairMode::AgainstControl;
    cc.controlColumn = 2;
    p = DerivePostTestParameters(doc.Table(), cc);
    EXPECT_EQ(p.kind, PostTestKind::Tukey);
    EXPECT_TRUE(p.selectedPairs);
    const std::vector<int> expected = {0, 1, 0, 1, 0, 1};
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(p.pairFlags[k], expected[k]) << k;
    EXPECT_EQ(p.pairFlags[6], 0);
    EXPECT_EQ(cc.pairFlags[0], 1);  // the user's own selection is untouched
    // Friedman against a control runs the control comparison.
    cc.unmatched = 0;
    EXPECT_EQ(DerivePostTestParameters(doc.Table(), cc).kind, PostTestKind::Dunnett);
}

}  // namespace
}  // namespace zelkon
