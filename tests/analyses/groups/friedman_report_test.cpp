// The Friedman report: the statistic and approximate P value against R's friedman.test, the
// exact P value against a count by hand (Python, the rank-sum distribution convolved row by
// row), every status line, the "impossible" sentence, Dunn's test with its threshold and its
// ties sentence, the comparison with a control by hand, the progress framing, and the errors
// 15 and 11.  Expected lines are built from the report's texts and the table writers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analyses/groups/friedman.h"
#include "analyses/groups/kruskal_wallis.h"
#include "analyses/groups/multi_column_entry.h"
#include "core/calc_status.h"
#include "core/column_data_helpers.h"
#include "report/posttest_tables.h"
#include "report/rank_tables.h"
#include "report/summary_tables.h"
#include "stats/column_stats.h"
#include "stats/pvalue.h"
#include "stats/wording.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

using test::AddRawColumn;
using test::PlainLines;

const std::string ExactLine = "The P value is exactly correct (no approximations). ";
const std::string ApproximateLine =
    "The P value is approximate (from chi-square distribution) because";
const std::string TooLongLine = "exact calculations would have taken too long.";

class FakeClock : public Clock {
  public:
    std::int64_t now = 0;
    std::int64_t step = 0;
    std::int64_t NowMs() override { return now += step; }
};

/// Counts the progress display's openings and closings.
class Recorder : public ProgressHost {
  public:
    int started = 0;
    int ended = 0;
    void ExactCalculationStarted(std::string_view) override { ++started; }
    void ExactCalculationEnded() override { ++ended; }
};

void Entry(const MultiColumnRequest& request, AnalysisOutput& out) {
    MultiColumnComparison(request, out, NonparametricTests{KruskalWallisTest, FriedmanTest});
}

struct FriedmanReport : ::testing::Test {
    DataTable table;
    ResultsReport report;
    AnalysisOutput out{report, 0, 0, {}};
    std::array<std::uint8_t, PairFlagCount> flags = AllPairFlagsSet();
    FakeClock clock;
    Recorder host;

    void SetUp() override {
        GlobalCalcStatus().SetClock(&clock);
        GlobalCalcStatus().SetHost(&host);
        GlobalCalcStatus().BeginCalculation();
    }
    void TearDown() override {
        GlobalCalcStatus().EndCalculation();
        GlobalCalcStatus().SetHost(nullptr);
        GlobalCalcStatus().SetClock(nullptr);
    }
    void Run(std::uint8_t mode = PostTestMode::Always, std::uint8_t kind = 1,
             std::int32_t control = 0) {
        UpdateColumnSummaries(table);
        Entry(MultiColumnRequest{table, true, false, flags, false, true, control, mode, kind}, out);
    }
    /// Five rows of four columns without ties: rank sums 6, 10, 15, 19.
    void ExactData() {
        AddRawColumn(table, 0, {1.2, 2.0, 1.1, 0.9, 1.4}, "A");
        AddRawColumn(table, 1, {2.3, 1.5, 2.8, 1.9, 2.6}, "B");
        AddRawColumn(table, 2, {3.1, 3.9, 2.2, 3.3, 3.5}, "C");
        AddRawColumn(table, 3, {4.5, 4.1, 3.7, 2.5, 4.8}, "D");
    }
    /// Ties within rows: (5, 5, 7), (3, 4, 6), (2, 2, 2), (6, 8, 9).
    void TiedData() {
        AddRawColumn(table, 0, {5, 3, 2, 6}, "A");
        AddRawColumn(table, 1, {5, 4, 2, 8}, "B");
        AddRawColumn(table, 2, {7, 6, 2, 9}, "C");
    }
    /// r rows of c columns, row i holding i*c+1 .. i*c+c in a shifting order, no ties.
    void Distinct(int rows, int columns) {
        for (int j = 0; j < columns; ++j) {
            for (int i = 0; i < rows; ++i)
                table.SetValue(i, j, i * columns + (i + j) % columns + 1);
            table.SetNoRawData(j, false);
            table.Record(j).n = rows;
        }
    }
    std::vector<std::string> Lines() const { return PlainLines(report); }
};

TEST_F(FriedmanReport, ExactReportAgainstHandBuiltLines) {
    ExactData();
    Run();
    ASSERT_EQ(out.errorCode, 0);
    EXPECT_EQ(out.helpTopic, 567);

    ResultsReport e;
    // Centred in 65 characters: (65 - 53) / 2 = 6 blanks.
    e.WriteLine(std::string(6, ' ') + "Friedman Test (Nonparametric Repeated Measures ANOVA)" +
                std::string(6, ' '));
    e.NewLine();
    // Exact: 14664 of the (4!)^5 = 7962624 assignments have Q >= 722 (Python: the rank-sum
    // vectors convolved row by row with itertools.permutations).
    WritePValueSentence(e, 0, true, 14664.0L / 7962624);
    e.WriteLine("Variation among column medians is significantly greater than expected");
    e.WriteLine("by chance.");
    e.NewLine();
    e.WriteLine(ExactLine);
    e.NewLine();
    e.WriteLine("Calculation detail");
    e.NewLine();
    WriteFriedmanRankHeading(e);
    // R: colSums(t(apply(m, 1, rank))) = 6 10 15 19.
    WriteFriedmanRankRow(e, "A", 6);
    WriteFriedmanRankRow(e, "B", 10);
    WriteFriedmanRankRow(e, "C", 15);
    WriteFriedmanRankRow(e, "D", 19);
    e.NewLine();
    e.WriteLine("Number of Rows = 5");
    e.WriteLine("Number of Columns = 4");
    e.NewLine();
    // R: friedman.test(m)$statistic = 11.64.
    e.WriteLine("Friedman Statistic Fr = 11.640");
    e.NewLine();
    e.NewLine();
    e.WriteLine("Dunn's Multiple Comparisons Test");
    e.NewLine();
    // z(0.05 / 12) sqrt(5 x 4 x 5 / 6): 10.771 with R's qnorm; the program's z_for_p.
    const Extended threshold = z_for_p(0.05L / 12) * std::sqrt(100.0L / 6);
    EXPECT_NEAR(static_cast<double>(threshold), 10.77064022, 1e-3 * 10.77);
    e.Write("If the difference between rank sum means is greater than ");
    WriteNumber(e, threshold, -5);
    e.WriteLine(" then the P value");
    e.WriteLine("is less than 0.05.");
    e.NewLine();
    e.NewLine();
    WriteDunnHeading(e, DunnForm::Friedman);
    // SE 4.0825; limits 10.771, 12.835, 15.370 (R: qnorm(1 - c(.05, .01, .001) / 12) x SE):
    // only A vs D (13) passes, and the 0.01 limit.
    WriteDunnRow(e, "A", "B", -4, 1);
    WriteDunnRow(e, "A", "C", -9, 1);
    WriteDunnRow(e, "A", "D", -13, 0.01L);
    WriteDunnRow(e, "B", "C", -5, 1);
    WriteDunnRow(e, "B", "D", -9, 1);
    WriteDunnRow(e, "C", "D", -4, 1);
    e.NewLine();
    e.NewLine();
    e.WriteLine(std::string(25, ' ') + "Summary of Data" + std::string(25, ' '));
    e.NewLine();
    WriteRankTestSummaryHeading(e);
    WriteRankTestSummaryRow(e, "A", 5, 1.2L, 0.9L, 2.0L);
    WriteRankTestSummaryRow(e, "B", 5, 2.3L, 1.5L, 2.8L);
    WriteRankTestSummaryRow(e, "C", 5, 3.3L, 2.2L, 3.9L);
    WriteRankTestSummaryRow(e, "D", 5, 4.1L, 2.5L, 4.8L);
    EXPECT_EQ(Lines(), PlainLines(e));

    table.BuildColumnMap();
    const FriedmanResult r =
        ComputeFriedman(MultiColumnRequest{table, true, false, flags, false, true, 0, 0, 1});
    table.ResetColumnMap();
    EXPECT_NEAR(static_cast<double>(r.fr), 11.64, 1e-12 * 11.64);
    // R: friedman.test(m)$p.value = 0.00872383605832895; the chi-square tail of the
    // distribution module agrees to relative 1e-6 (the report prints four decimals).
    EXPECT_NEAR(static_cast<double>(r.approximateP), 0.00872383605832895, 1e-6 * 0.0087);
    EXPECT_EQ(r.exact.visited, 7962624);
    EXPECT_EQ(r.exact.extreme, 14664);
    // The exact count is framed by the progress display, once.
    EXPECT_EQ(host.started, 2);
    EXPECT_EQ(host.ended, 2);
}

TEST_F(FriedmanReport, TiesWithinRows) {
    TiedData();
    Run();
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    // R: friedman.test(m2): 5.63636363636364, P 0.0597144157321853.
    ResultsReport p;
    WritePValueSentence(p, 0, true, 0.0597144157321853L);
    EXPECT_EQ(lines[2], PlainLines(p)[0]);
    EXPECT_EQ(lines[3],
              "Variation among column medians is not significantly greater than expected");
    EXPECT_EQ(lines[6], ApproximateLine);
    EXPECT_EQ(lines[7], "at least one row has two or more identical values.");
    EXPECT_EQ(lines[22], "Friedman Statistic Fr = 5.636 (corrected for ties)");
    EXPECT_NE(
        std::find(lines.begin(), lines.end(),
                  "The data contain ties, however, this post test does not correct for ties."),
        lines.end());
    EXPECT_EQ(host.started, 0);  // no exact count with ties

    table.BuildColumnMap();
    const FriedmanResult r =
        ComputeFriedman(MultiColumnRequest{table, true, false, flags, false, true, 0, 0, 1});
    table.ResetColumnMap();
    EXPECT_NEAR(static_cast<double>(r.fr), 5.63636363636364, 1e-12 * 5.64);
    EXPECT_NEAR(static_cast<double>(r.approximateP), 0.0597144157321853, 1e-6 * 0.06);
    // Runs: (5,5) and 7 give 8 + 1; three singles 3; (2,2,2) 27; three singles 3.
    EXPECT_EQ(r.tieSum, 42);
    EXPECT_EQ(r.status, ExactStatusTies);
}

TEST_F(FriedmanReport, LimitsOfTheExactCount) {
    // Seven columns: too long even for two rows.
    Distinct(2, 7);
    Run(PostTestMode::None);
    EXPECT_EQ(Lines()[7], TooLongLine);
    // Three columns: 12 rows are too many ((3!)^12 > 1E9), 11 rows are counted.
    table = DataTable{};
    report.Reset();
    Distinct(12, 3);
    Run(PostTestMode::None);
    EXPECT_EQ(Lines()[6], ApproximateLine);
    EXPECT_EQ(Lines()[7], TooLongLine);
    table = DataTable{};
    report.Reset();
    Distinct(11, 3);
    Run(PostTestMode::None);
    EXPECT_EQ(Lines()[6], ExactLine);
}

TEST_F(FriedmanReport, TwoRowsOfTwoColumnsCannotReachFivePercent) {
    AddRawColumn(table, 0, {1, 4}, "A");
    AddRawColumn(table, 1, {2, 3}, "B");
    Run(PostTestMode::None);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[6], ExactLine);
    EXPECT_EQ(lines[7], "Regardless of what data you enter, it is impossible for this test to");
    EXPECT_EQ(lines[8], "yield P < 0.05 with so few data points.");
}

TEST_F(FriedmanReport, CancelAndTheSixHundredSecondRule) {
    Distinct(11, 3);
    clock.step = 1000;
    GlobalCalcStatus().RequestCancel();
    Run(PostTestMode::None);
    EXPECT_EQ(Lines()[7], "you interrupted the exact computations.");
    EXPECT_EQ(host.started, 1);
    EXPECT_EQ(host.ended, 1);
    // Ten minutes between progress calls: after the first of eleven rows over 600 seconds
    // are left.
    GlobalCalcStatus().BeginCalculation();
    report.Reset();
    clock.step = 600000;
    Run(PostTestMode::None);
    EXPECT_EQ(Lines()[7], TooLongLine);
    EXPECT_EQ(host.ended, 2);
}

TEST_F(FriedmanReport, ComparisonWithAControlColumn) {
    ExactData();
    Run(PostTestMode::Always, 2, 0);  // control: column A
    ASSERT_EQ(out.errorCode, 0);
    const std::vector<std::string> lines = Lines();
    auto at = std::find(lines.begin(), lines.end(),
                        "Nonparametric Multiple Comparisons Test with Control Group");
    ASSERT_NE(at, lines.end());
    ResultsReport e;
    e.WriteLine("Nonparametric Multiple Comparisons Test with Control Group");
    e.NewLine();
    // Three comparisons: 2.35 and 2.92 from the table.
    e.WriteLine("If the value of q is greater than 2.350 then the P value is less");
    e.WriteLine("than 0.05.");
    e.NewLine();
    e.NewLine();
    WriteControlHeading(e, false);
    // Columns by mean: A 1.32, B 2.22, C 3.2, D 3.92.  SE = sqrt(5 x 4 x 5 / 6) = 4.08248;
    // 2.35 SE = 9.594, 2.92 SE = 11.921: only D (6 - 19 = -13) passes both.
    WriteControlRow(e, "A", "B", -4, std::nullopt, 1);
    WriteControlRow(e, "A", "C", -9, std::nullopt, 1);
    WriteControlRow(e, "A", "D", -13, std::nullopt, 0.01L);
    WriteControlIntervalHeading(e);
    const Extended half = 2.35L * std::sqrt(100.0L / 6);
    WriteControlIntervalRow(e, "A", "B", -4, -4 - half, -4 + half);
    WriteControlIntervalRow(e, "A", "C", -9, -9 - half, -9 + half);
    WriteControlIntervalRow(e, "A", "D", -13, -13 - half, -13 + half);
    e.NewLine();
    e.NewLine();
    const std::vector<std::string> expected = PlainLines(e);
    ASSERT_GE(lines.end() - at, static_cast<std::ptrdiff_t>(expected.size()));
    EXPECT_EQ(std::vector<std::string>(at, at + static_cast<std::ptrdiff_t>(expected.size())),
              expected);
    // The columns are taken by mean: a control named by a later column sits among them.
    report.Reset();
    table.SetValue(0, 0, 20);  // A's mean (5.08) rises above D's
    Run(PostTestMode::Always, 2, 1);
    const std::vector<std::string> again = Lines();
    auto b = std::find(again.begin(), again.end(),
                       "Nonparametric Multiple Comparisons Test with Control Group");
    ASSERT_NE(b, again.end());
    EXPECT_EQ((b + 9)->substr(0, 34), "              B vs C              ");
    EXPECT_EQ((b + 10)->substr(0, 34), "              B vs D              ");
    EXPECT_EQ((b + 11)->substr(0, 34), "              B vs A              ");
}

TEST_F(FriedmanReport, ErrorsFifteenAndEleven) {
    // A row without its value in column B: not a complete block.
    AddRawColumn(table, 0, {1, 2, 3}, "A");
    AddRawColumn(table, 1, {2, 3}, "B");
    AddRawColumn(table, 2, {3, 1, 2}, "C");
    Run();
    EXPECT_EQ(out.errorCode, 15);
    EXPECT_EQ(out.helpTopic, 567);  // the help explains the test asked for, also after an error
    // One row: not enough data (after the heading).
    table = DataTable{};
    report.Reset();
    out.errorCode = 0;
    AddRawColumn(table, 0, {1}, "A");
    AddRawColumn(table, 1, {2}, "B");
    Run();
    EXPECT_EQ(out.errorCode, 11);
    EXPECT_EQ(out.helpTopic, 567);
}

}  // namespace
}  // namespace zelkon
