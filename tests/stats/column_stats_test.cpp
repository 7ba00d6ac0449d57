// Tests of the column statistics, the normality test, the refresh of the column summaries and
// the texts of the column statistics screen.
#include "stats/column_stats.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/data_table.h"
#include "core/fp_guard.h"

namespace zelkon {
namespace {

// Fills data column c from row 0 as typing does (MissingValue entries leave a cell empty);
// the column then holds raw data.
void FillColumn(DataTable& table, int c, const std::vector<Extended>& values) {
    for (std::size_t r = 0; r < values.size(); ++r)
        table.SetValue(static_cast<int>(r), c, values[r]);
    table.SetNoRawData(c, false);
}

// Relative difference.
Extended RelErr(Extended computed, Extended expected) {
    return std::fabs(computed - expected) / std::fabs(expected);
}

// -------------------------------------------------------------------------------------------
// ColumnStats

TEST(ColumnStats, OneToFour) {
    // Hand calculation: mean 2.5, SS = 5, SD = sqrt(5/3), SEM = SD / 2, t_crit95(3) = 3.182.
    DataTable table;
    FillColumn(table, 0, {1, 2, 3, 4});
    std::int32_t n = 0;
    Extended sd, sem, minimum, maximum, median, upper, lower;
    const Extended mean =
        ColumnStats(table, 0, n, sd, sem, minimum, maximum, median, upper, lower);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(mean, 2.5L);
    EXPECT_LT(RelErr(sd, 1.2909944487358056283930884665941L), 1e-18L);
    EXPECT_LT(RelErr(sem, 0.64549722436790281419654423329706L), 1e-18L);
    EXPECT_EQ(minimum, 1);
    EXPECT_EQ(maximum, 4);
    EXPECT_EQ(median, 2.5L);
    const Extended halfWidth = 3.182L * 0.64549722436790281419654423329706L;
    EXPECT_LT(RelErr(upper, 2.5L + halfWidth), 1e-18L);
    EXPECT_LT(RelErr(lower, 2.5L - halfWidth), 1e-18L);
}

TEST(ColumnStats, SkipsEmptyAndExcludedCells) {
    // 1, (empty), 3, 5, (excluded 100), 7 -> values 1, 3, 5, 7: mean 4, SS 20, SD sqrt(20/3).
    DataTable table;
    FillColumn(table, 2, {1, MissingValue, 3, 5, 100, 7});
    table.SetExcluded(4, 2, true);
    const ColumnSummary s = SummariseColumn(table, 2);
    EXPECT_EQ(s.n, 4);
    EXPECT_EQ(s.mean, 4);
    EXPECT_LT(RelErr(s.sd, std::sqrt(20.0L / 3)), 1e-18L);
    EXPECT_EQ(s.minimum, 1);
    EXPECT_EQ(s.maximum, 7);
    EXPECT_EQ(s.median, 4);
}

TEST(ColumnStats, OneValueAndNoValues) {
    DataTable table;
    table.SetValue(7, 1, -3.25L);
    const ColumnSummary one = SummariseColumn(table, 1);
    EXPECT_EQ(one.n, 1);
    EXPECT_EQ(one.mean, -3.25L);
    EXPECT_EQ(one.sd, 0);
    EXPECT_EQ(one.sem, 0);
    EXPECT_EQ(one.median, -3.25L);
    EXPECT_EQ(one.upper95, -3.25L);
    EXPECT_EQ(one.lower95, -3.25L);

    const ColumnSummary none = SummariseColumn(table, 0);
    EXPECT_EQ(none.n, 0);
    EXPECT_TRUE(IsMissingValue(none.mean));
    EXPECT_TRUE(IsMissingValue(none.minimum));
    EXPECT_TRUE(IsMissingValue(none.maximum));
    EXPECT_TRUE(IsMissingValue(none.median));
    EXPECT_TRUE(IsMissingValue(none.upper95));
    EXPECT_TRUE(IsMissingValue(none.lower95));
}

TEST(ColumnStats, LastHiddenRowAndScratchColumn) {
    DataTable table;
    table.SetValue(0, 3, 10);
    table.SetValue(DataRows - 1, 3, 20);  // the row only the file reader reaches
    EXPECT_EQ(SummariseColumn(table, 3).n, 2);
    EXPECT_EQ(SummariseColumn(table, 3).mean, 15);

    const Extended scratch[] = {8, 0, 6, 2, 4};
    for (int r = 0; r < 5; ++r) table.SetAnalysisValue(r, ScratchColumn, scratch[r]);
    const ColumnSummary s = SummariseColumn(table, ScratchColumn);
    EXPECT_EQ(s.n, 5);
    EXPECT_EQ(s.mean, 4);
    EXPECT_EQ(s.median, 4);
    EXPECT_LT(RelErr(s.sd, std::sqrt(10.0L)), 1e-18L);  // SS = 16+4+0+4+16 = 40
}

TEST(ColumnStats, ReadsThroughTheAnalysisAccessor) {
    DataTable table;
    FillColumn(table, 0, {1, 2, 3});
    FillColumn(table, 2, {10, 20, 30, 40});
    table.SetSelected(1, false);
    table.Record(0).n = 3;
    table.Record(2).n = 4;
    // A run's column map makes analysis column 1 the data column C.
    table.BuildColumnMap();
    EXPECT_EQ(SummariseColumn(table, 1).mean, 25);
    table.ResetColumnMap();
    // In analysis mode an unselected column reads as empty.
    table.SetSelected(2, false);
    table.SetAnalysisMode(true);
    EXPECT_EQ(SummariseColumn(table, 2).n, 0);
    EXPECT_TRUE(IsMissingValue(Median(table, 2)));
}

// -------------------------------------------------------------------------------------------
// Accuracy on the NIST univariate reference data sets (certified mean and SD from the files'
// headers).  LRE = -log10(relative error) = number of agreeing digits.

std::vector<Extended> ReadNist(const std::string& name) {
    const std::string path = std::string(ZELKON_NIST_DIR) + "/" + name + ".dat";
    std::ifstream in(path);
    std::vector<Extended> values;
    if (!in) {
        ADD_FAILURE() << "cannot open " << path;
        return values;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    int first = 0;
    int last = 0;
    for (const std::string& line : lines) {
        const std::size_t at = line.find("Data            : lines");
        if (at != std::string::npos &&
            std::sscanf(line.c_str() + at, "Data : lines %d to %d", &first, &last) == 2)
            break;
    }
    for (int l = first; l <= last && l <= static_cast<int>(lines.size()); ++l)
        values.push_back(std::strtold(lines[static_cast<std::size_t>(l - 1)].c_str(), nullptr));
    return values;
}

Extended Lre(Extended computed, Extended certified) {
    const Extended err = RelErr(computed, certified);
    return err == 0 ? 20 : -std::log10(err);
}

struct NistCase {
    const char* name;
    std::size_t count;
    Extended mean;
    Extended sd;
    double meanDigits;  // required LRE of the mean
    double sdDigits;    // required LRE of the SD
};

TEST(ColumnStatsNist, CertifiedMeanAndSd) {
    const NistCase cases[] = {
        {"NumAcc1", 3, 10000002.0L, 1.0L, 15, 15},
        {"NumAcc2", 1001, 1.2L, 0.1L, 15, 15},
        {"NumAcc3", 1001, 1000000.2L, 0.1L, 15, 12},
        {"NumAcc4", 1001, 10000000.2L, 0.1L, 15, 11},
        {"Michelso", 100, 299.852400000000L, 0.0790105478190518L, 15, 14},
        {"Lew", 200, -177.435000000000L, 277.332168044316L, 15, 14},
        {"Lottery", 218, 518.958715596330L, 291.699727470969L, 15, 14},
        {"Mavro", 50, 2.00185600000000L, 0.000429123454003053L, 15, 14},
    };
    for (const NistCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<Extended> values = ReadNist(c.name);
        ASSERT_EQ(values.size(), c.count);
        DataTable table;
        FillColumn(table, 4, values);
        const ColumnSummary s = SummariseColumn(table, 4);
        EXPECT_EQ(s.n, static_cast<std::int32_t>(c.count));
        // The certified values carry 15 significant digits, so an LRE above 15 is capped.
        EXPECT_GE(Lre(s.mean, c.mean), c.meanDigits) << static_cast<double>(s.mean);
        EXPECT_GE(Lre(s.sd, c.sd), c.sdDigits) << static_cast<double>(s.sd);
    }
}

// -------------------------------------------------------------------------------------------
// Normality test

// The normal distribution of the test is the t distribution with 5000 df, so the reference
// distances come from R with that distribution:
//   kd <- function(x) { m <- mean(x); s <- sd(x);
//     ks.test(x, function(q) pt((q - m) / s, 5000))$statistic }
// and the P values from the same Kolmogorov series with the same stopping rules, in Python:
//   def kp(n, d):
//       l2 = n*d*d; s = 0.0; prev = 0.0
//       for j in range(1, 102):
//           t = 2*(-1)**(j-1)*math.exp(-2*j*j*l2); s += t
//           if abs(t) < 0.001*prev: return s if j <= 100 else 1.0
//           prev = abs(t)
//       return 1.0
struct KsCase {
    std::vector<Extended> values;
    Extended d;  // R's distance
    Extended p;  // kp(n, d)
};

std::vector<KsCase> KsCases() {
    std::vector<KsCase> cases;
    cases.push_back({{2.1L, 3.4L, 1.9L, 5.6L, 4.4L, 3.3L, 2.8L, 6.1L, 3.9L, 4.0L},
                     0.1274634206196075L,
                     0.9968673284709635L});
    // The largest distance lies below the first point: F(x1) - 0 = 0.17571 (comparing the
    // first point with 1/n only would give 0.16297).
    cases.push_back({{-7.1L, -7, -1, 4, 8, 22}, 0.1757128648887169L, 0.9925361721506292L});
    std::vector<Extended> cubes, fourth, exp40, exp100;
    for (int i = 1; i <= 20; ++i) cubes.push_back(static_cast<Extended>(i) * i * i);
    for (int i = 1; i <= 25; ++i) fourth.push_back(static_cast<Extended>(i) * i * i * i);
    for (int i = 1; i <= 40; ++i) exp40.push_back(std::exp(i / 5.0L));
    for (int i = 1; i <= 100; ++i) exp100.push_back(std::exp(i / 10.0L));
    cases.push_back({cubes, 0.18948389148572253L, 0.4692811055690262L});         // (1:20)^3
    cases.push_back({fourth, 0.22737673432388872L, 0.15072618094004273L});       // (1:25)^4
    cases.push_back({exp40, 0.28455489791706146L, 0.0030746259808653227L});      // exp((1:40)/5)
    cases.push_back({exp100, 0.30943382184888446L, 9.646112618268274e-09L});     // exp((1:100)/10)
    return cases;
}

TEST(NormalityTest, DistanceAndPAgainstReference) {
    // The program's normal probabilities agree with R's pt(., 5000) to about 1e-7, so the
    // distance is held to 1e-6 relative and the P value to 1e-5 relative.
    int index = 0;
    for (const KsCase& c : KsCases()) {
        SCOPED_TRACE(index++);
        DataTable table;
        FillColumn(table, 5, c.values);
        const ColumnSummary s = SummariseColumn(table, 5);
        const NormalityResult r = NormalityTest(table, 5, s.mean, s.sd);
        EXPECT_LT(RelErr(r.ks, c.d), 1e-6L) << static_cast<double>(r.ks);
        EXPECT_LT(RelErr(r.ksp, c.p), 1e-5L) << static_cast<double>(r.ksp);
        // Row order does not matter.
        std::vector<Extended> reversed(c.values.rbegin(), c.values.rend());
        EXPECT_EQ(NormalityTestOfValues(reversed, s.mean, s.sd).ks, r.ks);
    }
}

TEST(NormalityTest, KolmogorovSeriesStoppingRules) {
    // kp(n, d) above (double precision, hence 1e-14 relative): n = 40, d = 0.3
    // (lambda^2 = 3.6) stops at term 2; n = 10, d = 0.2 (lambda^2 = 0.4) stops at term 5.
    EXPECT_LT(RelErr(KolmogorovP(40, 0.3L), 0.0014931716161319917L), 1e-14L);
    EXPECT_LT(RelErr(KolmogorovP(10, 0.2L), 0.8186211744716272L), 1e-14L);
    // lambda^2 = 0.0125: the terms never shrink by a factor 1000 within 101 terms -> 1.
    EXPECT_EQ(KolmogorovP(5, 0.05L), 1);
    // lambda^2 = 1e-6: the partial sum after 101 terms would be almost 2; the rule gives 1.
    EXPECT_EQ(KolmogorovP(1, 0.001L), 1);
}

TEST(NormalityTest, CannotRunWithoutSpread) {
    const NormalityResult none = NormalityTestOfValues({}, 0, 1);
    EXPECT_TRUE(IsMissingValue(none.ks));
    const NormalityResult flat = NormalityTestOfValues({3, 3, 3, 3, 3}, 3, 0);
    EXPECT_TRUE(IsMissingValue(flat.ks));
    EXPECT_TRUE(IsMissingValue(flat.ksp));
}

TEST(NormalityTest, PassesOnlyAboveFivePercent) {
    EXPECT_FALSE(PassesNormality(0.05L));
    EXPECT_TRUE(PassesNormality(0.0500001L));
    EXPECT_FALSE(PassesNormality(0.0030746259808653227L));
}

// -------------------------------------------------------------------------------------------
// FillSummary for typed-in (averaged) summaries

TEST(FillSummary, TypedInSd) {
    // Mean 5, SD 1, N 10: SEM = 1 / sqrt(10); limits 5 -/+ 2.262 * SEM (t table, 9 df).
    ColumnRecord r;
    r.mean = 5;
    r.sd = 1;
    r.n = 10;
    FillSummary(nullptr, -1, r);
    const Extended sem = 0.31622776601683793319988935444327L;
    EXPECT_LT(RelErr(r.sem, sem), 1e-18L);
    EXPECT_LT(RelErr(r.upper95, 5 + 2.262L * sem), 1e-18L);
    EXPECT_LT(RelErr(r.lower95, 5 - 2.262L * sem), 1e-18L);
}

TEST(FillSummary, TypedInSem) {
    // Mean -2, SEM 0.5, N 4: SD = 1; limits -2 -/+ 3.182 * 0.5.
    ColumnRecord r;
    r.mean = -2;
    r.sem = 0.5L;
    r.n = 4;
    FillSummary(nullptr, -1, r);
    EXPECT_EQ(r.sd, 1);
    EXPECT_LT(RelErr(r.upper95, -2 + 1.591L), 1e-18L);
    EXPECT_LT(RelErr(r.lower95, -2 - 1.591L), 1e-18L);
}

TEST(FillSummary, TypedInIncomplete) {
    ColumnRecord noN;
    noN.mean = 5;
    noN.sd = 2;
    FillSummary(nullptr, -1, noN);
    EXPECT_TRUE(IsMissingValue(noN.sem));
    EXPECT_TRUE(IsMissingValue(noN.upper95));
    EXPECT_TRUE(IsMissingValue(noN.lower95));

    ColumnRecord noError;
    noError.mean = 5;
    noError.n = 8;
    noError.upper95 = 9;  // stale limits are cleared
    FillSummary(nullptr, -1, noError);
    EXPECT_TRUE(IsMissingValue(noError.sd));
    EXPECT_TRUE(IsMissingValue(noError.upper95));

    // SD and N typed before the mean: no limits are made from the missing mean.
    ColumnRecord noMean;
    noMean.sd = 1e30L;
    noMean.n = 4;
    FillSummary(nullptr, -1, noMean);
    EXPECT_EQ(noMean.sem, 5e29L);
    EXPECT_TRUE(IsMissingValue(noMean.upper95));
    EXPECT_TRUE(IsMissingValue(noMean.lower95));
}

// -------------------------------------------------------------------------------------------
// UpdateColumnSummaries

TEST(UpdateColumnSummaries, RecomputesChangedColumnsAndTestsNormality) {
    DataTable table;
    std::vector<Extended> exp40;
    for (int i = 1; i <= 40; ++i) exp40.push_back(std::exp(i / 5.0L));
    FillColumn(table, 0, exp40);
    FillColumn(table, 1, {1, 2, 3, 4});
    FillColumn(table, 2, {6, 6, 6, 6, 6});
    UpdateColumnSummaries(table);

    const ColumnRecord& a = table.Record(0);
    EXPECT_EQ(a.n, 40);
    EXPECT_LT(RelErr(a.ks, 0.28455489791706146L), 1e-6L);    // see KsCases
    EXPECT_LT(RelErr(a.ksp, 0.0030746259808653227L), 1e-5L);
    EXPECT_FALSE(a.passed);
    EXPECT_FALSE(table.Changed(0));

    const ColumnRecord& b = table.Record(1);  // four values: too few for the test
    EXPECT_EQ(b.n, 4);
    EXPECT_TRUE(IsMissingValue(b.ks));
    EXPECT_TRUE(IsMissingValue(b.ksp));
    EXPECT_EQ(StatisticsCellText(table, 1, StatisticsRow::NormalityP, true), "Too few values");
    EXPECT_EQ(StatisticsCellText(table, 1, StatisticsRow::Passed, true), "");

    const ColumnRecord& c = table.Record(2);  // five equal values: no spread
    EXPECT_EQ(c.sd, 0);
    EXPECT_EQ(c.sem, 0);
    EXPECT_EQ(c.upper95, 6);
    EXPECT_TRUE(IsMissingValue(c.ksp));
    EXPECT_EQ(StatisticsCellText(table, 2, StatisticsRow::NormalityP, true), "");

    const ColumnRecord& empty = table.Record(3);  // never changed: untouched, N = 0
    EXPECT_EQ(empty.n, 0);
    EXPECT_TRUE(IsMissingValue(empty.sd));
}

TEST(UpdateColumnSummaries, LeavesNoArithmeticFault) {
    // Empty, single-value and constant columns must not divide by zero or take sqrt(-x).
    DataTable table;
    table.SetValue(0, 1, 4);
    table.SetNoRawData(1, false);
    FillColumn(table, 2, {6, 6, 6, 6, 6, 6});
    FillColumn(table, 3, {2.1L, 3.4L, 1.9L, 5.6L, 4.4L, 3.3L, 2.8L, 6.1L, 3.9L, 4.0L});
    for (int c = 0; c < DataColumns; ++c) table.SetChanged(c, true);
    const FpFaultGuard guard;
    UpdateColumnSummaries(table);
    for (int c = 0; c < DataColumns; ++c)
        for (int row = 0; row < StatisticsRowCount; ++row)
            StatisticsCellText(table, c, static_cast<StatisticsRow>(row), c % 2 == 0);
    EXPECT_EQ(guard.FaultCode(), 0);
    EXPECT_EQ(table.Record(3).n, 10);
}

TEST(UpdateColumnSummaries, EmptiedColumnLosesItsStatistics) {
    DataTable table;
    FillColumn(table, 0, {1, 2});
    UpdateColumnSummaries(table);
    table.SetValue(0, 0, MissingValue);
    table.SetValue(1, 0, MissingValue);
    UpdateColumnSummaries(table);
    const ColumnRecord& r = table.Record(0);
    EXPECT_EQ(r.n, 0);
    EXPECT_TRUE(IsMissingValue(r.mean));
    EXPECT_TRUE(IsMissingValue(r.sd));
    EXPECT_TRUE(IsMissingValue(r.sem));
    EXPECT_TRUE(IsMissingValue(r.median));
    EXPECT_TRUE(IsMissingValue(r.minimum));
    EXPECT_TRUE(IsMissingValue(r.maximum));
    EXPECT_TRUE(IsMissingValue(r.upper95));
}

TEST(UpdateColumnSummaries, KeepsNormalityOfUnchangedColumns) {
    DataTable table;
    std::vector<Extended> cubes;
    for (int i = 1; i <= 20; ++i) cubes.push_back(static_cast<Extended>(i) * i * i);
    FillColumn(table, 0, cubes);
    UpdateColumnSummaries(table);
    EXPECT_TRUE(table.Record(0).passed);  // P = 0.469 (see KsCases)

    // An unchanged column keeps a result while both values are present ...
    table.Record(0).ks = 0.5L;
    table.Record(0).ksp = 0.01L;
    UpdateColumnSummaries(table);
    EXPECT_EQ(table.Record(0).ks, 0.5L);
    EXPECT_EQ(table.Record(0).ksp, 0.01L);
    // ... and is tested again when one of them is missing.
    table.Record(0).ksp = MissingValue;
    UpdateColumnSummaries(table);
    EXPECT_LT(RelErr(table.Record(0).ksp, 0.4692811055690262L), 1e-5L);
    // A changed column is tested again.
    table.Record(0).ks = 0.5L;
    table.SetValue(5, 0, 216);  // same value as before, but the column is flagged
    UpdateColumnSummaries(table);
    EXPECT_LT(RelErr(table.Record(0).ks, 0.18948389148572253L), 1e-6L);
}

TEST(UpdateColumnSummaries, AveragedColumnKeepsItsTypedSummary) {
    DataTable table;
    ColumnRecord& r = table.Record(1);
    r.mean = 5;
    r.sd = 1;
    r.n = 10;
    FillSummary(nullptr, -1, r);
    ASSERT_TRUE(table.NoRawData(1));
    ASSERT_TRUE(HoldsAveragedData(table, 1));
    UpdateColumnSummaries(table);
    EXPECT_EQ(r.n, 10);
    EXPECT_EQ(r.mean, 5);
    EXPECT_TRUE(IsMissingValue(r.ksp));
    EXPECT_EQ(StatisticsCellText(table, 1, StatisticsRow::NormalityP, true), "");
    EXPECT_EQ(StatisticsCellText(table, 1, StatisticsRow::N, true), "10");

    // Switching the document to raw data flags every column as changed; a typed summary has
    // no cells to be recomputed from and must survive (SEM = 1 / sqrt(10) by hand).
    table.SetChanged(1, true);
    UpdateColumnSummaries(table);
    EXPECT_EQ(r.n, 10);
    EXPECT_EQ(r.mean, 5);
    EXPECT_EQ(r.sd, 1);
    EXPECT_LT(RelErr(r.sem, 0.31622776601683793320L), 1e-15L);
    EXPECT_FALSE(table.Changed(1));
}

TEST(UpdateColumnSummaries, IgnoresTheSelectionOfAnEarlierRun) {
    DataTable table;
    FillColumn(table, 0, {1, 2, 3});
    FillColumn(table, 1, {4, 5, 6, 7});
    table.SetSelected(0, false);
    table.SetAnalysisMode(true);  // left set by a column run
    UpdateColumnSummaries(table);
    EXPECT_EQ(table.Record(0).n, 3);
    EXPECT_EQ(table.Record(1).n, 4);
    EXPECT_TRUE(table.AnalysisMode());
}

// -------------------------------------------------------------------------------------------
// Column statistics screen

TEST(StatisticsScreen, RowLabels) {
    const std::array<std::string_view, StatisticsRowCount> sdFirst = {
        "Mean", "Standard deviation (SD)", "Sample size (N)", "Std. error of mean(SEM)",
        "Lower 95% conf. limit", "Upper 95% conf. limit", "Minimum", "Median (50th percentile)",
        "Maximum", "Normality test KS", "Normality test P value", "Passed normality test?"};
    EXPECT_EQ(StatisticsRowLabels(true), sdFirst);
    std::array<std::string_view, StatisticsRowCount> semFirst = sdFirst;
    semFirst[1] = "SEM";
    semFirst[3] = "SD";
    EXPECT_EQ(StatisticsRowLabels(false), semFirst);
}

TEST(StatisticsScreen, NormalityPCell) {
    EXPECT_EQ(NormalityPText(0.10L, 20, true), "0.1000");  // exactly 0.10: four decimals
    EXPECT_EQ(NormalityPText(0.1000001L, 20, true), ">0.10");
    EXPECT_EQ(NormalityPText(0.05L, 20, true), "0.0500");
    EXPECT_EQ(NormalityPText(0.0001L, 20, true), "0.0001");
    EXPECT_EQ(NormalityPText(0.00009999L, 20, true), "<0.0001");
    EXPECT_EQ(NormalityPText(0.0030746L, 20, true), "0.0031");
    EXPECT_EQ(NormalityPText(MissingValue, 1, true), "Too few values");
    EXPECT_EQ(NormalityPText(MissingValue, 4, true), "Too few values");
    EXPECT_EQ(NormalityPText(MissingValue, 4, false), "");
    EXPECT_EQ(NormalityPText(MissingValue, 5, true), "");
    EXPECT_EQ(NormalityPText(MissingValue, 0, true), "");
}

TEST(StatisticsScreen, CellTexts) {
    DataTable table;
    FillColumn(table, 0, {1, 2, 3, 4});
    table.SetDecimals(0, 2);
    UpdateColumnSummaries(table);
    auto cell = [&](StatisticsRow row, bool errorIsSD) {
        return StatisticsCellText(table, 0, row, errorIsSD);
    };
    EXPECT_EQ(cell(StatisticsRow::Mean, true), "2.50");
    EXPECT_EQ(cell(StatisticsRow::Error, true), "1.29");       // SD
    EXPECT_EQ(cell(StatisticsRow::OtherError, true), "0.65");  // SEM
    EXPECT_EQ(cell(StatisticsRow::Error, false), "0.65");      // SEM first
    EXPECT_EQ(cell(StatisticsRow::OtherError, false), "1.29");
    EXPECT_EQ(cell(StatisticsRow::N, true), "4");
    EXPECT_EQ(cell(StatisticsRow::Lower95, true), "0.45");  // 2.5 - 2.053975
    EXPECT_EQ(cell(StatisticsRow::Upper95, true), "4.55");  // 2.5 + 2.053975
    EXPECT_EQ(cell(StatisticsRow::Minimum, true), "1.00");
    EXPECT_EQ(cell(StatisticsRow::Median, true), "2.50");
    EXPECT_EQ(cell(StatisticsRow::Maximum, true), "4.00");
    EXPECT_EQ(cell(StatisticsRow::KS, true), "");
    // A fixed display format overrides the decimal places.
    table.SetDisplayFormat(0, 4);
    EXPECT_EQ(cell(StatisticsRow::Error, true), "1.2910");
    // An empty column shows nothing, N included.
    EXPECT_EQ(StatisticsCellText(table, 9, StatisticsRow::N, true), "");
    EXPECT_EQ(StatisticsCellText(table, 9, StatisticsRow::Mean, true), "");

    // A normality P of exactly 0.05 reads "0.0500" and has not passed.
    ColumnRecord& r = table.Record(3);
    r.n = 30;
    r.ks = 0.25L;
    r.ksp = 0.05L;
    r.passed = PassesNormality(r.ksp);
    table.SetNoRawData(3, false);
    EXPECT_EQ(StatisticsCellText(table, 3, StatisticsRow::NormalityP, true), "0.0500");
    EXPECT_EQ(StatisticsCellText(table, 3, StatisticsRow::Passed, true), "No");
    r.ksp = 0.2L;
    r.passed = PassesNormality(r.ksp);
    EXPECT_EQ(StatisticsCellText(table, 3, StatisticsRow::Passed, true), "Yes");
}

}  // namespace
}  // namespace zelkon
