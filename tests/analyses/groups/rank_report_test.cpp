// The reports of the rank tests: every wording branch against lines built from the report
// texts, the error codes of the checks, the approximate fall-back after a cancel and after the
// 600-second rule (on an injected clock), and a whole run through the analysis run.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "analyses/groups/rank_tests.h"
#include "core/calc_status.h"
#include "core/fp_guard.h"
#include "document/analysis_run.h"
#include "document/document.h"
#include "report/summary_tables.h"
#include "stats/column_stats.h"
#include "stats/pvalue.h"
#include "support/test_support.h"

namespace zelkon {
namespace {

const std::string Impossible1 = "Regardless of what data you enter, it is impossible for this test to";
const std::string ImpossiblePoints = "yield P < 0.05 with so few data points.";
const std::string ImpossiblePairs = "yield P < 0.05 with so few data pairs.";
const std::string Approximate = "(The P value is an estimate based on a normal approximation.)";
const std::string TiesRemark = "(P value may be inaccurate because of ties.)";

class FakeClock : public Clock {
public:
    std::int64_t now = 0;
    std::int64_t step = 0;
    std::int64_t NowMs() override { return now += step; }
};

struct RankReport : ::testing::Test {
    DataTable table;
    FakeClock clock;
    ResultsReport report;
    std::array<ColumnRecord, 2> records;

    void SetUp() override {
        GlobalCalcStatus().SetClock(&clock);
        GlobalCalcStatus().BeginCalculation();
        records[0].title = "Column A";
        records[1].title = "Column B";
        FpFaultGuard::ClearFlags();
    }
    void TearDown() override {
        // No computation may leave a flag that the run would turn into an error code.
        EXPECT_FALSE(std::fetestexcept(FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID));
        GlobalCalcStatus().EndCalculation();
        GlobalCalcStatus().SetClock(nullptr);
    }
    void Fill(int column, const std::vector<Extended>& values) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (!IsMissingValue(values[i])) table.SetValue(static_cast<int>(i), column, values[i]);
        }
    }
    std::int32_t OneSample(Extended median, bool twoTailed) {
        AnalysisOutput out{report, 0, 0, {}};
        WilcoxonOneSample(table, 0, records[0], twoTailed, median, out);
        return out.errorCode;
    }
    std::int32_t TwoColumns(bool paired, bool twoTailed) {
        AnalysisOutput out{report, 0, 0, {}};
        WilcoxonPairsOrMannWhitney(table, 0, 1, records[0], records[1], paired, twoTailed, out);
        return out.errorCode;
    }
    std::vector<std::string> Lines() const { return test::PlainLines(report); }
    /// The parameter list the table writer gives for the filled summaries of the columns.
    std::vector<std::string> ParameterLines(std::vector<ColumnRecord> shown) {
        ResultsReport expected;
        WriteParameterList(expected, shown);
        return test::PlainLines(expected);
    }
    ColumnRecord Filled(int column, const std::string& title) {
        ColumnRecord r;
        r.title = title;
        FillSummary(&table, column, r);
        return r;
    }
};

std::vector<std::string> Slice(const std::vector<std::string>& lines, std::size_t from, std::size_t count) {
    if (from >= lines.size()) return {};
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(from),
                                    lines.begin() + static_cast<std::ptrdiff_t>(std::min(lines.size(), from + count)));
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// --- One-sample signed rank test ----------------------------------------------------------

TEST_F(RankReport, OneSampleFourValuesOneTailed) {
    Fill(0, {1, 2, 3, 4});
    ASSERT_EQ(OneSample(0, false), 0);
    const std::vector<std::string> expected = {
        "",
        ResultsReport::Centre("Wilcoxon signed rank test", 65),
        "Does the median of Column A differ significantly from 0.000? ",
        "",
        "The one-tailed P value is 0.0625, considered not quite significant.",
        "",
        "",
        Impossible1,
        ImpossiblePoints,
        "",
        "Calculation details",
        "Sum of all signed ranks (W) = 10.000",
        "Sum of positive ranks (T+) = 10.000",
        "Sum of negative ranks (T-) = 0.000",
        "Number of pairs = 4",
        ResultsReport::Centre("Summary of Data", 65),
        "",
        // The parameter list: labels right-aligned in 14, values in 15 from column 16.
        "    Parameter:        Column A",
        "         Mean:           2.500",
        "  # of points:               4",
    };
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(Slice(lines, 0, expected.size()), expected);
    EXPECT_EQ(Slice(lines, 17, 100), ParameterLines({Filled(0, "Column A")}));
}

TEST_F(RankReport, OneSampleTwoTailedDoublesPAndNeedsFortyPatterns) {
    Fill(0, {1, 2, 3, 4, 5});  // 2^5 = 32 < 40
    ASSERT_EQ(OneSample(0, true), 0);
    std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[4], "The two-tailed P value is 0.0625, considered not quite significant.");
    EXPECT_EQ(lines[7], Impossible1);
    // Seven values: 128 patterns, 2P = 2/128; no impossibility lines.
    report.Reset();
    Fill(0, {1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(OneSample(0, true), 0);
    lines = Lines();
    EXPECT_EQ(lines[4], "The two-tailed P value is 0.0156, considered significant.");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "Calculation details");
}

TEST_F(RankReport, OneSampleTiesAndASingleZero) {
    Fill(0, {4, 6, 5, 7, 2, 8, 8});
    ASSERT_EQ(OneSample(5, true), 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[2], "Does the median of Column A differ significantly from 5.000? ");
    // 14 of 64 patterns reach T+ = 14.5 (see the rank test's own tests): 2P = 0.4375.
    EXPECT_EQ(lines[4], "The two-tailed P value is 0.4375, considered not significant.");
    EXPECT_EQ(lines[6], TiesRemark);
    const std::vector<std::string> details = {
        "Calculation details",
        "Sum of all signed ranks (W) = 8.000 (corrected for ties)",
        "Sum of positive ranks (T+) = 14.500",
        "Sum of negative ranks (T-) = -6.500",
        "Number of pairs = 6",
        "Note: 1 zero value was excluded from calculations.",
        ResultsReport::Centre("Summary of Data", 65),
    };
    EXPECT_EQ(Slice(lines, 9, details.size()), details);
}

TEST_F(RankReport, OneSampleApproximationAndSeveralZeros) {
    Fill(0, {3, 5, -2, 7, 0, 4, 4, -1, 6, 8, 2, -3, 5, 9, 0, 1, 3,
             3, -4, 6, 7, 2, 5, -2, 8, 4, 10, 1, -1, 6, 3, 2, 5, 7});
    ASSERT_EQ(OneSample(0, true), 0);
    const std::vector<std::string> lines = Lines();
    // R: wilcox.test(s, exact = FALSE): p = 5.2e-05.
    EXPECT_EQ(lines[4], "The two-tailed P value is < 0.0001, considered extremely significant.");
    EXPECT_EQ(lines[6], Approximate);
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "Calculation details");
    EXPECT_EQ(lines[13], "Number of pairs = 32");
    EXPECT_EQ(lines[14], "Note: 2 zero values were excluded from calculations.");
}

TEST_F(RankReport, OneSampleFallsBackAfterCancel) {
    Fill(0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    clock.step = 3000;
    GlobalCalcStatus().RequestCancel();
    ASSERT_EQ(OneSample(0, false), 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[6], Approximate);
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "Calculation details");
}

TEST_F(RankReport, OneSampleFallsBackAfterSixHundredSeconds) {
    struct Recorder : ProgressHost {
        std::vector<std::string> approximate;
        void ExactCalculationStarted(std::string_view p) override { approximate.emplace_back(p); }
    } host;
    GlobalCalcStatus().SetHost(&host);
    Fill(0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
    clock.step = 100000;
    const std::int32_t code = OneSample(0, true);
    GlobalCalcStatus().SetHost(nullptr);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(Lines()[6], Approximate);
    // The progress display starts with the two-tailed approximate P: T+ = 120 for n = 15,
    // z = (|120 - 60| - 0.5) / sqrt(15 * 16 * 31 / 24).
    ASSERT_EQ(host.approximate.size(), 1u);
    char text[32];
    std::snprintf(text, sizeof text, "%.5Lf", p_from_z(59.5L / std::sqrt(310.0L)));
    EXPECT_EQ(host.approximate[0], text);
    EXPECT_EQ(host.approximate[0], "0.00073");  // R: 2 * pnorm(59.5 / sqrt(310), lower = FALSE) = 0.000726
}

TEST_F(RankReport, OneSampleErrorCodes) {
    Fill(0, {3, 3, 3});
    EXPECT_EQ(OneSample(0, true), 40);
    EXPECT_TRUE(report.IsEmpty());
    table.Clear();
    Fill(0, {3});
    EXPECT_EQ(OneSample(0, true), 49);
    EXPECT_TRUE(report.IsEmpty());
}

// --- Matched pairs ------------------------------------------------------------------------

TEST_F(RankReport, PairsWithEffectivePairing) {
    Fill(0, {10, 20, 30, 40, 50, 60, 70, 80});
    Fill(1, {9, 18, 27, 36, 45, 54, 63, 72});
    records[0].title = "Before";
    records[1].title = "After";
    ASSERT_EQ(TwoColumns(true, true), 0);
    const std::vector<std::string> expected = {
        ResultsReport::Centre("Wilcoxon matched-pairs signed-ranks test", 65),
        "Does the median of the differences between Before and After",
        " differ signficantly from zero?",
        "",
        "The two-tailed P value is 0.0078, considered very significant.",  // 2/256
        "",
        "",
        "Calculation details",
        "Sum of all signed ranks (W) = 36.000",
        "Sum of positive ranks (T+) = 36.000",
        "Sum of negative ranks (T-) = 0.000",
        "Number of pairs = 8",
        "",
        "Assumption test: Was the pairing effective?",
        "Nonparametric Spearman correlation coefficient (r) = 1.000",
        // One permutation of 8! reaches r = 1: P(r)/2 = 1/40320.
        "The one-tailed P value is < 0.0001, considered extremely significant.",
        "Effective pairing results in a significant correlation between the",
        "columns.  With these data, the pairing (or matching) appears ",
        "to be effective.",
        "",
        ResultsReport::Centre("Summary of Data", 65),
        "",
    };
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(Slice(lines, 0, expected.size()), expected);
    ColumnRecord differences;
    differences.title = "Difference";
    FillSummary(&table, ScratchColumn, differences);
    EXPECT_EQ(differences.n, 8);
    EXPECT_EQ(differences.mean, 4.5L);  // A minus B
    EXPECT_EQ(Slice(lines, expected.size(), 100),
              ParameterLines({Filled(0, "Before"), Filled(1, "After"), differences}));
}

TEST_F(RankReport, PairsNegativePairingAndOneEqualPair) {
    Fill(0, {1, 2, 3, 4, 5, 6, 7});
    Fill(1, {12, 10, 8, 6, 4, 2, 7});
    ASSERT_EQ(TwoColumns(true, false), 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[7], "Calculation details");
    EXPECT_EQ(lines[11], "Number of pairs = 6");
    EXPECT_EQ(lines[12], "Note: 1 pair was excluded from calculations because both");
    EXPECT_EQ(lines[13], "values were equal.");
    EXPECT_EQ(lines[14], "");
    // D = 100 over 7 pairs: r = 1 - 600/336.
    EXPECT_EQ(lines[16], "Nonparametric Spearman correlation coefficient (r) = -0.7857");
    EXPECT_EQ(lines[17], "The negative correlation coefficient indicates that the pairing or");
    EXPECT_EQ(lines[18], "matching was NOT effective.");
    EXPECT_EQ(lines[19], "");
}

TEST_F(RankReport, PairsTooFewForSignificanceAndSeveralEqualPairs) {
    Fill(0, {1, 2, 3, 4, 5, 6, 7});
    Fill(1, {2, 4, 1, 7, 3, 6, 7});  // differences -1 -2 2 -3 2 0 0: five ranked, 32 < 40
    ASSERT_EQ(TwoColumns(true, true), 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], Impossible1);
    EXPECT_EQ(lines[7], ImpossiblePairs);
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[10], "Calculation details");
    EXPECT_EQ(lines[11], "Sum of all signed ranks (W) = -3.000");  // no tie remark here
    EXPECT_EQ(lines[14], "Number of pairs = 5");
    EXPECT_EQ(lines[15], "Note: 2 pairs were excluded from calculations because both ");
    EXPECT_EQ(lines[16], "values were equal.");
}

TEST_F(RankReport, PairsPairingNotEffective) {
    Fill(0, {1, 2, 3, 4, 5, 6, 7, 8});
    Fill(1, {3.5, 1.5, 7.5, 2.5, 8.5, 4.5, 6.5, 5.5});
    ASSERT_EQ(TwoColumns(true, true), 0);
    const WilcoxonPairsResult result = ComputeWilcoxonPairs(table, 0, 1, records[0], records[1], true);
    ASSERT_GT(result.pairing.r, 0);
    ASSERT_GT(result.pairing.p, 0.05L);
    const std::vector<std::string> lines = Lines();
    const auto at = std::find(lines.begin(), lines.end(),
                              "columns.  With these data, the pairing (or matching) appears ");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + 1), "not to be effective.  The unpaired test may be more appropriate.");
}

TEST_F(RankReport, PairsApproximation) {
    std::vector<Extended> a, b;
    for (int i = 0; i < 30; ++i) {
        a.push_back(i * 1.5L + (i % 4));
        b.push_back(i * 1.5L - 1 - i % 3);
    }
    Fill(0, a);
    Fill(1, b);
    ASSERT_EQ(TwoColumns(true, true), 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[5], Approximate);
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "Calculation details");
}

TEST_F(RankReport, PairsWhosePartnersHoldOneValueOfAColumn) {
    // Column A varies, but the rows that have a partner in B all hold 5: r cannot be
    // calculated, and the test still reports.
    Fill(0, {5, 5, 5, 5, 9});
    Fill(1, {1, 2, 3, 4});
    ASSERT_EQ(TwoColumns(true, true), 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_TRUE(Contains(lines, "Can't calculate r. One group has no variability."));
}

TEST_F(RankReport, PairsErrorCodes) {
    Fill(0, {1, 2, 3});
    Fill(1, {4, 4, 4});
    EXPECT_EQ(TwoColumns(true, true), 40);
    table.Clear();
    Fill(0, {1, 2, 3});
    Fill(1, {4});
    EXPECT_EQ(TwoColumns(true, true), 49);
    table.Clear();
    Fill(0, {1, 2, 3});
    Fill(1, {0, 1, 2});  // every difference 1
    EXPECT_EQ(TwoColumns(true, true), 41);
    table.Clear();
    Fill(0, {1, 2, 3, MissingValue, MissingValue});
    Fill(1, {MissingValue, MissingValue, 5, 6, 8});  // one pair
    EXPECT_EQ(TwoColumns(true, true), 50);
    EXPECT_TRUE(report.IsEmpty());
}

// --- Mann-Whitney -------------------------------------------------------------------------

TEST_F(RankReport, MannWhitneyThreeAgainstThreeTwoTailed) {
    Fill(0, {1, 2, 3});
    Fill(1, {4, 5, 6});
    ASSERT_EQ(TwoColumns(false, true), 0);
    const std::vector<std::string> expected = {
        "",
        ResultsReport::Centre("Mann-Whitney Test", 65),
        "Do the medians of Column A and Column B differ significantly?",
        "",
        "The two-tailed P value is 0.1000, considered not significant.",
        "(The P value is exact.)",
        "",
        Impossible1,
        ImpossiblePoints,
        "",
        "Calculation details",
        "Mann-Whitney U-statistic = 0.000",
        "U' = 9.000",
        "Sum of ranks in Column A = 6.000.  Sum of ranks in Column B = 15.000. ",
        "",
        ResultsReport::Centre("Summary of Data", 65),
    };
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(Slice(lines, 0, expected.size()), expected);
    EXPECT_EQ(Slice(lines, expected.size(), 100),
              ParameterLines({Filled(0, "Column A"), Filled(1, "Column B")}));
}

TEST_F(RankReport, MannWhitneyThreeAgainstThreeOneTailed) {
    Fill(0, {1, 2, 3});
    Fill(1, {4, 5, 6});
    ASSERT_EQ(TwoColumns(false, false), 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[4], "The one-tailed P value is 0.0500, considered not quite significant.");
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], "Calculation details");
}

TEST_F(RankReport, MannWhitneyWithTiesDoesNotClaimAnExactP) {
    Fill(0, {1, 2, 2, 3, 5});
    Fill(1, {2, 4, 5, 6, 7});
    ASSERT_EQ(TwoColumns(false, true), 0);
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines[5], TiesRemark);
    EXPECT_FALSE(Contains(lines, "(The P value is exact.)"));
}

TEST_F(RankReport, MannWhitneyApproximationAndFallBack) {
    std::vector<Extended> a, b;
    for (int i = 0; i < 20; ++i) a.push_back(i);
    for (int i = 0; i < 25; ++i) b.push_back(i + 7.5L);  // C(45, 25) > 2e9
    Fill(0, a);
    Fill(1, b);
    ASSERT_EQ(TwoColumns(false, true), 0);
    EXPECT_EQ(Lines()[5], Approximate);
    // Small enough to count, but cancelled: the same remark.
    report.Reset();
    table.Clear();
    Fill(0, {1, 3, 5, 7, 9, 11, 13, 15, 17, 19});
    Fill(1, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20});
    clock.step = 3000;
    GlobalCalcStatus().RequestCancel();
    ASSERT_EQ(TwoColumns(false, true), 0);
    EXPECT_EQ(Lines()[5], Approximate);
}

TEST_F(RankReport, MannWhitneyErrorCodes) {
    Fill(0, {1, 1, 1});
    Fill(1, {4, 5, 6});
    EXPECT_EQ(TwoColumns(false, true), 40);
    table.Clear();
    Fill(0, {1, 1, 1});
    Fill(1, {4});
    EXPECT_EQ(TwoColumns(false, true), 49);
}

// --- A whole run --------------------------------------------------------------------------

void RankTwoColumnEntry(const TwoColumnRequest& r, AnalysisOutput& out) {
    WilcoxonPairsOrMannWhitney(r.table, r.firstColumn, r.secondColumn, r.firstRecord,
                               r.secondRecord, !r.unpaired, r.twoSided, out);
}

TEST(RankRun, MatchedPairsThroughTheColumnRun) {
    Document doc;
    const std::vector<Extended> a = {10, 20, 30, 40, 50, 60, 70, 80};
    const std::vector<Extended> b = {9, 18, 27, 36, 45, 54, 63, 72};
    for (std::size_t i = 0; i < a.size(); ++i) {
        doc.Table().SetValue(static_cast<int>(i), 0, a[i]);
        doc.Table().SetValue(static_cast<int>(i), 1, b[i]);
    }
    doc.Table().SetNoRawData(0, false);
    doc.Table().SetNoRawData(1, false);
    doc.Choices().columns.twoColumnNonparametric = 1;
    doc.Choices().columns.unpaired = 0;
    doc.MarkModified();
    AnalysisEntryPoints entries;
    entries.twoColumn = RankTwoColumnEntry;
    ShowResults(doc, entries);
    EXPECT_EQ(doc.ErrorCode(), 0);
    const std::vector<std::string> lines = test::PlainLines(doc.Report());
    EXPECT_EQ(lines[0], ResultsReport::Centre("Wilcoxon matched-pairs signed-ranks test", 65));
    EXPECT_EQ(lines[1], "Does the median of the differences between Column A and Column B");
    EXPECT_TRUE(doc.Table().Record(0).title.empty());  // the temporary title is gone again
    EXPECT_NE(doc.ResultJson().find("\"tPlus\":36"), std::string::npos);
    EXPECT_NE(doc.ResultJson().find("\"pMethod\":\"exact\""), std::string::npos);
}

}  // namespace
}  // namespace zelkon
