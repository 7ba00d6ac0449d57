// The Kruskal-Wallis report: the statistic and approximate P value against R's kruskal.test,
// the exact P value against a count done by hand (Python, every division listed), every
// status line (exact, interrupted, too long, ties), the "impossible" sentence, Dunn's table,
// the post tests skipped above 0.05, the errors 11 and 43, and a whole run.  Expected lines
// are built from the report's texts and the table writers' columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <string>
#include <vector>

#include "analyses/groups/friedman.h"
#include "analyses/groups/kruskal_wallis.h"
#include "analyses/groups/multi_column_entry.h"
#include "core/calc_status.h"
#include "core/column_data_helpers.h"
#include "core/fp_guard.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "report/posttest_tables.h"
#include "report/rank_tables.h"
#include "report/summary_tables.h"
#include "stats/column_stats.h"
#include "stats/wording.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::AddRawColumn;
using test::PlainLines;

const std::string ExactLine = "The P value is exactly correct (no approximations). ";
const std::string ApproximateLine =
    "The P value is approximate (from chi-square distribution) because";
const std::string Impossible1 =
    "Regardless of what data you enter, it is impossible for this test to";
const std::string Impossible2 = "yield P < 0.05 with so few data points.";

class FakeClock : public Clock {
  public:
    std::int64_t now = 0;
    std::int64_t step = 0;
    std::int64_t NowMs() override { return now += step; }
};

void Entry(const MultiColumnRequest& request, AnalysisOutput& out) {
    MultiColumnComparison(request, out, NonparametricTests{KruskalWallisTest, FriedmanTest});
}

struct KruskalWallisReport : ::testing::Test {
    DataTable table;
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    std::array<std::uint8_t, PairFlagCount> flags = AllPairFlagsSet();
    FakeClock clock;

    void SetUp() override {
        GlobalCalcStatus().SetClock(&clock);
        GlobalCalcStatus().BeginCalculation();
        FpFaultGuard::ClearFlags();
    }
    void TearDown() override {
        GlobalCalcStatus().EndCalculation();
        GlobalCalcStatus().SetClock(nullptr);
    }
    void Run(std::uint8_t mode = PostTestMode::Always, std::uint8_t kind = 1,
             bool selected = false) {
        UpdateColumnSummaries(table);
        const MultiColumnRequest request{table, true, true, flags, selected, true, 0, mode, kind};
        Entry(request, out);
    }
    /// Exact P 36 / 27720: no ties, 12 values in groups of 4, 3 and 5.
    void ExactData() {
        AddRawColumn(table, 0, {2.1, 3.4, 1.9, 5.6}, "Control");
        AddRawColumn(table, 1, {6.2, 7.1, 4.8}, "Low dose");
        AddRawColumn(table, 2, {8.3, 9.0, 7.7, 6.9, 10.2}, "High dose");
    }
    /// Ties between and within columns.
    void TiedData() {
        AddRawColumn(table, 0, {1, 2, 2, 3}, "A");
        AddRawColumn(table, 1, {2, 4, 5}, "B");
        AddRawColumn(table, 2, {5, 6, 7, 7}, "C");
    }
    std::vector<std::string> Lines() const { return PlainLines(report); }
    static std::string PLine(Extended p) {
        ResultsReport r;
        WritePValueSentence(r, 0, true, p);
        return PlainLines(r)[0];
    }
};

TEST_F(KruskalWallisReport, ExactReportAgainstHandBuiltLines) {
    ExactData();
    Run();
    ASSERT_EQ(out.errorCode, 0);
    EXPECT_EQ(out.helpTopic, 555);

    ResultsReport e;
    // Centred in 65 characters: (65 - 41) / 2 = 12 blanks.
    e.WriteLine(std::string(12, ' ') + "Kruskal-Wallis Test (Nonparametric ANOVA)" +
                        std::string(12, ' '));
    e.NewLine();
    // Exact P: 36 of the 27720 divisions of the ranks 1..12 into groups of 4, 3 and 5 have
    // S >= 618.45 (counted in Python with itertools.combinations and Fraction).
    WritePValueSentence(e, 0, true, 36.0L / 27720);
    e.WriteLine("Variation among column medians is significantly greater than expected");
    e.WriteLine("by chance.");
    e.NewLine();
    e.WriteLine(ExactLine);
    e.NewLine();
    e.WriteLine("Calculation detail");
    e.NewLine();
    WriteKruskalWallisRankHeading(e);
    // Rank sums 11, 18 and 49 (R: tapply(rank(x), g, sum)).
    WriteKruskalWallisRankRow(e, "Control", 4, 11, 2.75L);
    WriteKruskalWallisRankRow(e, "Low dose", 3, 18, 6);
    WriteKruskalWallisRankRow(e, "High dose", 5, 49, 9.8L);
    e.NewLine();
    // R: kruskal.test(list(a, b, c))$statistic = 8.57307692307693.
    e.WriteLine("Kruskal-Wallis Statistic KW = 8.573");
    e.NewLine();
    e.WriteLine("Dunn's Multiple Comparisons Test");
    e.NewLine();
    e.NewLine();
    WriteDunnHeading(e, DunnForm::KruskalWallis);
    // SE = sqrt((12^3 - 12) / (12 x 11) (1/n_i + 1/n_j)); z(0.05/6) = 2.3940,
    // z(0.01/6) = 2.9352 (R: qnorm(1 - 0.01/6)).  Control vs High dose: |-7.05| against
    // 2.3940 x 2.4187 = 5.790 and 2.9352 x 2.4187 = 7.099: P < 0.05.  The others stay
    // below 2.394 SE (3.25 < 6.59, 3.80 < 6.30).
    WriteDunnRow(e, "Control", "Low dose", -3.25L, 1);
    WriteDunnRow(e, "Control", "High dose", -7.05L, 0.05L);
    WriteDunnRow(e, "Low dose", "High dose", -3.8L, 1);
    e.NewLine();
    e.NewLine();
    e.WriteLine(std::string(25, ' ') + "Summary of Data" + std::string(25, ' '));
    e.NewLine();
    WriteRankTestSummaryHeading(e);
    WriteRankTestSummaryRow(e, "Control", 4, 2.75L, 1.9L, 5.6L);
    WriteRankTestSummaryRow(e, "Low dose", 3, 6.2L, 4.8L, 7.1L);
    WriteRankTestSummaryRow(e, "High dose", 5, 8.3L, 6.9L, 10.2L);
    EXPECT_EQ(Lines(), PlainLines(e));

    // The numbers behind the lines, to full precision.
    const KruskalWallisResult r = [&] {
        table.BuildColumnMap();
        const MultiColumnRequest request{table, true, true, flags, false, true, 0, 0, 1};
        KruskalWallisResult result = ComputeKruskalWallis(request);
        table.ResetColumnMap();
        return result;
    }();
    EXPECT_NEAR(static_cast<double>(r.kw), 8.57307692307693, 1e-12 * 8.6);
    // R: kruskal.test(...)$p.value = 0.0137524476261266 (relative 1e-6, as the chi-square
    // tail of the distribution module; the report prints four decimals).
    EXPECT_NEAR(static_cast<double>(r.approximateP), 0.0137524476261266, 1e-6 * 0.0138);
    EXPECT_EQ(r.exact.visited, 27720);
    EXPECT_EQ(r.exact.extreme, 36);
    EXPECT_NE(out.resultJson.find("\"extreme\":36"), std::string::npos);
    EXPECT_NE(out.resultJson.find("\"pSource\":\"exact\""), std::string::npos);
}

TEST_F(KruskalWallisReport, TiesGiveTheApproximatePAndTheCorrectedStatistic) {
    TiedData();
    Run();
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    // R: kruskal.test(list(c(1,2,2,3), c(2,4,5), c(5,6,7,7))): 7.6927570093458, P
    // 0.0213569406173582.
    EXPECT_EQ(lines[2], PLine(0.0213569406173582L));
    EXPECT_EQ(lines[6], ApproximateLine);
    EXPECT_EQ(lines[7], "at least one column has two or more identical values.");
    EXPECT_EQ(lines[19], "Kruskal-Wallis Statistic KW = 7.693 (corrected for ties)");

    table.BuildColumnMap();
    const MultiColumnRequest request{table, true, true, flags, false, true, 0, 0, 1};
    const KruskalWallisResult r = ComputeKruskalWallis(request);
    table.ResetColumnMap();
    EXPECT_EQ(r.status, ExactStatusTies);
    EXPECT_NEAR(static_cast<double>(r.kw), 7.6927570093458, 1e-12 * 7.7);
    EXPECT_NEAR(static_cast<double>(r.approximateP), 0.0213569406173582, 1e-6 * 0.0214);
    // Runs of 3 (the 2s) and two runs of 2 (5s, 7s): 24 + 6 + 6 = 36.
    EXPECT_EQ(r.ties.cubesLessRuns, 36);
    // Dunn's SE with the tie sum, by hand: A vs C, sqrt((1331 - 11 - 36) / 120 x (1/4 + 1/4))
    // = 2.31301; mean ranks 3 and 9.375.
    ASSERT_EQ(r.dunn.rows.size(), 3u);
    EXPECT_NEAR(static_cast<double>(r.dunn.rows[1].se), 2.313006701, 1e-9);
    EXPECT_NEAR(static_cast<double>(r.dunn.rows[1].difference), -6.375, 1e-15);
    // 6.375 > 2.3940 x 2.3130 = 5.537 but < 2.9352 x 2.3130 = 6.789.
    EXPECT_EQ(r.dunn.rows[1].p, 0.05L);
}

TEST_F(KruskalWallisReport, ATieBetweenColumnsAloneForcesTheApproximateP) {
    AddRawColumn(table, 0, {1, 2, 3}, "A");
    AddRawColumn(table, 1, {3.5, 4, 5}, "B");
    AddRawColumn(table, 2, {6, 7, 3.5}, "C");
    Run(PostTestMode::None);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[6], ApproximateLine);
    EXPECT_EQ(lines[7], "at least one column has two or more identical values.");
}

TEST_F(KruskalWallisReport, TooManyArrangementsGiveTheTooLongLine) {
    // Three groups of ten distinct values: 30! / (10!)^3 = 5.55E12 divisions.
    AddRawColumn(table, 0, {1, 4, 7, 10, 13, 16, 19, 22, 25, 28}, "A");
    AddRawColumn(table, 1, {2, 5, 8, 11, 14, 17, 20, 23, 26, 29}, "B");
    AddRawColumn(table, 2, {3, 6, 9, 12, 15, 18, 21, 24, 27, 30}, "C");
    Run(PostTestMode::None);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[6], ApproximateLine);
    EXPECT_EQ(lines[7], "exact calculations would have taken too long.");
}

TEST_F(KruskalWallisReport, TheImpossibleSentenceBelowTwentyArrangements) {
    // 2, 1 and 1 values: 4! / 2! = 12 divisions.
    AddRawColumn(table, 0, {1, 2}, "A");
    AddRawColumn(table, 1, {3}, "B");
    AddRawColumn(table, 2, {4}, "C");
    Run(PostTestMode::None);
    std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[6], ExactLine);
    EXPECT_EQ(lines[7], Impossible1);
    EXPECT_EQ(lines[8], Impossible2);
    // 2, 2 and 1 values: 30 divisions, exact, no sentence.
    report.Reset();
    AddRawColumn(table, 1, {3, 5}, "B");
    Run(PostTestMode::None);
    lines = Lines();
    EXPECT_EQ(lines[6], ExactLine);
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "Calculation detail");
}

TEST_F(KruskalWallisReport, CancellingGivesTheInterruptedLine) {
    ExactData();
    clock.step = 1000;  // every progress call comes more than 500 ms after the last
    GlobalCalcStatus().RequestCancel();
    Run(PostTestMode::None);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[2], PLine(0.0137524476261266L));  // the chi-square P is reported
    EXPECT_EQ(lines[6], ApproximateLine);
    EXPECT_EQ(lines[7], "you interrupted the exact computations.");
}

TEST_F(KruskalWallisReport, MoreThanSixHundredSecondsLeftGivesTheTooLongLine) {
    // 18 values in three groups of six: 17,153,136 divisions counted rank by rank; with ten
    // minutes between progress calls, any share done below a half leaves over 600 seconds.
    AddRawColumn(table, 0, {1, 4, 7, 10, 13, 16}, "A");
    AddRawColumn(table, 1, {2, 5, 8, 11, 14, 17}, "B");
    AddRawColumn(table, 2, {3, 6, 9, 12, 15, 18.5}, "C");
    clock.step = 600000;
    Run(PostTestMode::None);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[6], ApproximateLine);
    EXPECT_EQ(lines[7], "exact calculations would have taken too long.");
}

TEST_F(KruskalWallisReport, ProgressIsTimedFromTheCountItself) {
    // Long after an earlier exact calculation started, a quick count must not be judged by
    // the time since then.
    ExactData();
    clock.step = 0;
    clock.now = 0;
    GlobalCalcStatus().BeginExactCalculation(0.5L);
    GlobalCalcStatus().EndExactCalculation();
    clock.now = 3600000;  // an hour later
    Run(PostTestMode::None);
    EXPECT_EQ(Lines()[6], ExactLine);
}

TEST_F(KruskalWallisReport, PostTestsSkippedAboveFivePercentAreSaidInBold) {
    AddRawColumn(table, 0, {1, 5, 9}, "A");
    AddRawColumn(table, 1, {2, 6, 7}, "B");
    AddRawColumn(table, 2, {3, 4, 8}, "C");
    Run(PostTestMode::IfSignificant);
    const std::vector<std::string> lines = Lines();
    const std::vector<std::string> raw = report.AllLines();
    // After the statistic line: a blank line, then the two bold lines.
    auto at = std::find(lines.begin(), lines.end(),
                        "Post tests were not calculated because the P value was greater");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + 1), "than 0.05.");
    EXPECT_EQ(*(at - 1), "");
    EXPECT_TRUE((at - 2)->starts_with("Kruskal-Wallis Statistic KW = "));
    const std::size_t i = static_cast<std::size_t>(at - lines.begin());
    EXPECT_EQ(raw[i].front(), ResultsReport::Emphasis1);
    EXPECT_EQ(raw[i + 1].back(), ResultsReport::Emphasis1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Dunn's Multiple Comparisons Test"), 0);
}

TEST_F(KruskalWallisReport, SelectedPairsOnly) {
    ExactData();
    flags.fill(0);
    flags[1] = 1;  // Control vs High dose
    Run(PostTestMode::Always, 1, true);
    const std::vector<std::string> lines = Lines();
    // With one comparison C = 1: z(0.01 / 2) = 2.5758 and z(0.001 / 2) = 3.2905 (R: qnorm),
    // so |-7.05| lies between 6.230 and 7.959 (SE 2.4187): P < 0.01.
    ResultsReport row;
    WriteDunnRow(row, "Control", "High dose", -7.05L, 0.01L);
    auto at = std::find(lines.begin(), lines.end(), PlainLines(row)[0]);
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + 1), "");  // the only row
    EXPECT_EQ((at - 1)->substr(0, 5), "=====");
}

TEST_F(KruskalWallisReport, ErrorsElevenAndFortyThree) {
    // No value in any analysed column (the map holds a column whose cells were excluded).
    AddRawColumn(table, 0, {1, 2}, "A");
    table.SetExcluded(0, 0, true);
    table.SetExcluded(1, 0, true);
    table.BuildColumnMap();
    const MultiColumnRequest request{table, true, true, flags, false, true, 0, 0, 1};
    KruskalWallisTest(request, out);
    table.ResetColumnMap();
    EXPECT_EQ(out.errorCode, 11);
    // Averaged data are refused by the entry routine.
    DataTable averaged;
    AddRawColumn(averaged, 0, {1, 2, 3}, "A");
    test::AddAveragedColumn(averaged, 1, "B");
    ResultsReport r2;
    AnalysisOutput out2{r2, 0, 0, {}};
    UpdateColumnSummaries(averaged);
    Entry(MultiColumnRequest{averaged, true, true, flags, false, true, 0, 0, 1}, out2);
    EXPECT_EQ(out2.errorCode, 43);
}

TEST_F(KruskalWallisReport, AWholeRunThroughTheAnalysisRun) {
    // The program's own entry routine, with its own nonparametric tests.
    Document doc;
    AnalysisEntryPoints entries;
    entries.multiColumn = MultiColumnComparison;
    auto fill = [&](int c, std::vector<double> values) {
        for (std::size_t i = 0; i < values.size(); ++i)
            doc.Table().SetValue(static_cast<int>(i), c, values[i]);
        doc.Table().SetNoRawData(c, false);
    };
    fill(0, {2.1, 3.4, 1.9, 5.6});
    fill(1, {6.2, 7.1, 4.8});
    fill(2, {8.3, 9.0, 7.7, 6.9, 10.2});
    doc.Table().SetDataTitle("Dose study");
    ColumnAnalysisChoices& c = doc.Choices().columns;
    c.columnCountClass = 3;
    c.multiColumnNonparametric = 1;
    c.unmatched = 1;
    doc.MarkModified();
    Calculate(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 0);
    EXPECT_EQ(doc.ResultsHelpTopic(), 555);
    const std::vector<std::string> lines = PlainLines(doc.Report());
    EXPECT_EQ(lines[0], "Dose study");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        std::string(12, ' ') + "Kruskal-Wallis Test (Nonparametric ANOVA)" +
                        std::string(12, ' ')),
              lines.end());
    // The default post test (only if P < 0.05) is Dunn's, with the temporary titles.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Dunn's Multiple Comparisons Test"),
              lines.end());
    EXPECT_NE(doc.ResultJson().find("\"title\":\"Column A\""), std::string::npos);
}

}  // namespace
}  // namespace zelkon
