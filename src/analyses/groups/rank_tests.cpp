#include "analyses/groups/rank_tests.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

#include "core/calc_status.h"
#include "core/json_writer.h"
#include "report/summary_tables.h"
#include "stats/column_stats.h"
#include "stats/pvalue.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

constexpr std::int32_t ErrorSdZero = 40;
constexpr std::int32_t ErrorNoDistinctDifferences = 41;
constexpr std::int32_t ErrorNeedsRawData = 42;
constexpr std::int32_t ErrorSingleValue = 49;
constexpr std::int32_t ErrorSinglePair = 50;
constexpr std::int32_t SignedRankExactLimit = 30;         // exact while n < 30
constexpr std::int64_t SubsetLimit = 2000000000;          // exact while C(N, k) < 2e9
constexpr int TitleWidth = 65;

constexpr std::string_view ApproximationRemark =
    "(The P value is an estimate based on a normal approximation.)";
constexpr std::string_view TiesRemark = "(P value may be inaccurate because of ties.)";
constexpr std::string_view ImpossibleLine = "Regardless of what data you enter, it is impossible for this test to";

/// The values of analysis column `column` (missing cells left out).
std::vector<Extended> ColumnValues(const DataTable& table, int column) {
    std::vector<Extended> values;
    for (int row = 0; row <= table.LastRow(); ++row) {
        const Extended v = table.AnalysisValue(row, column);
        if (!IsMissingValue(v)) values.push_back(v);
    }
    return values;
}

// Typed values carry at most 15 significant digits; their differences are compared to as
// many digits of the larger value, where the rounding of binary arithmetic never reaches.
constexpr int CarriedDigits = 15;

}  // namespace

Extended DecimalDifference(Extended x, Extended y) {
    const Extended d = x - y;
    const Extended scale = std::max({std::fabs(x), std::fabs(y), std::fabs(d)});
    if (d == 0 || !std::isfinite(scale)) return d;
    const int e = static_cast<int>(std::floor(std::log10(scale)));
    // Beyond these magnitudes no typed value lies (and the text would not fit the buffer).
    if (e > 30 || e < -300) return d;
    const int decimals = std::max(0, CarriedDigits - 1 - e);
    char buffer[400];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, d,
                                       std::chars_format::fixed, decimals);
    if (written.ec != std::errc()) return d;
    Extended rounded = d;
    const auto read = std::from_chars(buffer, written.ptr, rounded, std::chars_format::fixed);
    return read.ec == std::errc() ? rounded : d;
}

namespace {

/// Sum of t^3 - t over every run of t > 1 equal values.
Extended TieSum(std::vector<Extended> values) {
    std::sort(values.begin(), values.end());
    Extended sum = 0;
    for (std::size_t first = 0; first < values.size();) {
        std::size_t last = first;
        while (last + 1 < values.size() && values[last + 1] == values[first]) ++last;
        const Extended t = static_cast<Extended>(last - first + 1);
        sum += t * t * t - t;
        first = last + 1;
    }
    return sum;
}

PValueSource ApproximateSource(std::int32_t flag) {
    return flag == ExactFlagCancelled ? PValueSource::Cancelled : PValueSource::TooLong;
}

}  // namespace

SignedRankResult SignedRankTest(const DataTable& table, int column, Extended median,
                                bool twoTailed) {
    SignedRankResult result;
    // Differences from the median, as decimals (so that 16.3 - 12.8 and 12.9 - 16.4 tie);
    // those equal to it are counted and left out.
    std::vector<Extended> differences;
    for (const Extended x : ColumnValues(table, column)) {
        const Extended d = DecimalDifference(x, median);
        if (d == 0) {
            ++result.zeroDifferences;
        } else {
            differences.push_back(d);
        }
    }
    result.n = static_cast<std::int32_t>(differences.size());
    std::sort(differences.begin(), differences.end(),
              [](Extended a, Extended b) { return std::fabs(a) < std::fabs(b); });
    // A group of t equal |d| at positions k+1..k+t shares the average of those positions.
    Extended negativeSum = 0;
    for (std::size_t first = 0; first < differences.size();) {
        std::size_t last = first;
        while (last + 1 < differences.size() &&
               std::fabs(differences[last + 1]) == std::fabs(differences[first])) {
            ++last;
        }
        const Extended t = static_cast<Extended>(last - first + 1);
        const Extended averageRank = (static_cast<Extended>(first + 1) + static_cast<Extended>(last + 1)) / 2;
        for (std::size_t i = first; i <= last; ++i) {
            if (differences[i] < 0) negativeSum += averageRank;
        }
        if (t > 1) {
            result.ties = true;
            result.tieSum += t * t * t - t;
        }
        first = last + 1;
    }
    const Extended n = result.n;
    result.tPlus = n * (n + 1) / 2 - negativeSum;
    result.tMinus = negativeSum == 0 ? 0 : -negativeSum;  // never a negative zero
    result.w = result.tPlus - negativeSum;

    const Extended variance = (n * (n + 1) * (2 * n + 1) - result.tieSum / 2) / 24;
    result.z = variance > 0 ? (std::fabs(result.tPlus - n * (n + 1) / 4) - 0.5L) / std::sqrt(variance) : 0;
    result.approximateP = p_from_z(result.z) / 2;

    result.exactFlag = result.n < SignedRankExactLimit ? ExactFlagExact : ExactFlagTooLong;
    result.arrangements = std::ldexp(Extended{1}, result.n);
    result.threshold = std::max(result.tPlus, negativeSum);
    BeginExactCalculation(twoTailed ? 2 * result.approximateP : result.approximateP);
    if (result.exactFlag == ExactFlagExact) {
        const ExactCount count = CountSignedRankPatterns(result.n, result.threshold);
        result.exactFlag = count.flag;
        result.counted = count.counted;
    }
    EndExactCalculation();
    if (result.Exact()) {
        result.source = PValueSource::Exact;
        result.p = static_cast<Extended>(result.counted) / result.arrangements;
    } else {
        result.source = result.n >= SignedRankExactLimit ? PValueSource::TooLarge
                                                         : ApproximateSource(result.exactFlag);
        result.p = result.approximateP;
    }
    return result;
}

MannWhitneyResult MannWhitneyTest(const DataTable& table, int columnA, int columnB,
                                  bool twoTailed) {
    MannWhitneyResult result;
    const std::vector<Extended> a = ColumnValues(table, columnA);
    const std::vector<Extended> b = ColumnValues(table, columnB);
    result.na = static_cast<std::int32_t>(a.size());
    result.nb = static_cast<std::int32_t>(b.size());
    // U by a direct count over all pairs: 1 when b > a, one half when they are equal.
    Extended u = 0;
    for (const Extended x : a) {
        for (const Extended y : b) {
            if (y > x) {
                u += 1;
            } else if (y == x) {
                u += 0.5L;
            }
        }
    }
    // The tie correction counts every group of equal values of the pooled sample.
    std::vector<Extended> pooled = a;
    pooled.insert(pooled.end(), b.begin(), b.end());
    result.tieSum = TieSum(pooled);
    result.ties = result.tieSum > 0;

    const Extended na = result.na, nb = result.nb, total = na + nb;
    const Extended pairs = na * nb;
    result.rankSumA = na * (na + 1) / 2 + pairs - u;
    if (u > pairs / 2) u = pairs - u;
    result.u = u;
    result.uPrime = pairs - u;
    result.rankSumB = total * (total + 1) / 2 - result.rankSumA;

    const Extended variance = total > 1 ? (total * total * total - total - result.tieSum) / 12 * pairs / (total * (total - 1)) : 0;
    result.z = variance > 0 ? (std::fabs(u - pairs / 2) - 0.5L) / std::sqrt(variance) : 0;
    result.approximateP = p_from_z(result.z) / 2;

    const std::int32_t n = result.na + result.nb;
    const std::int32_t k = std::max(result.na, result.nb);
    result.exactFlag = ExactFlagExact;
    BeginExactCalculation(twoTailed ? 2 * result.approximateP : result.approximateP);
    result.subsets = CappedBinomial(n, k, SubsetLimit);
    if (result.subsets >= SubsetLimit) {
        result.exactFlag = ExactFlagTooLong;
    } else {
        const ExactCount count = CountRankSubsets(n, k, u);
        result.exactFlag = count.flag;
        result.counted = count.counted;
    }
    EndExactCalculation();
    if (result.Exact()) {
        result.source = PValueSource::Exact;
        result.p = static_cast<Extended>(result.counted) / static_cast<Extended>(result.subsets);
    } else {
        result.source = result.subsets >= SubsetLimit ? PValueSource::TooLarge
                                                      : ApproximateSource(result.exactFlag);
        result.p = result.approximateP;
    }
    return result;
}

// --- Checks and computations of the three analyses ----------------------------------------

namespace {

/// Codes 40 (SEM zero) and 49 (a single value, overriding 40) of filled summaries.
std::int32_t SummaryCode(const ColumnRecord& summary) {
    if (summary.n < 2) return ErrorSingleValue;
    return summary.sem == 0 ? ErrorSdZero : 0;
}

std::int32_t SummariesCode(const ColumnRecord& a, const ColumnRecord& b) {
    if (a.n < 2 || b.n < 2) return ErrorSingleValue;
    return a.sem == 0 || b.sem == 0 ? ErrorSdZero : 0;
}

}  // namespace

WilcoxonOneSampleResult ComputeWilcoxonOneSample(DataTable& table, int column,
                                                 const ColumnRecord& summary, bool twoTailed,
                                                 Extended hypotheticalMedian) {
    WilcoxonOneSampleResult result;
    result.summary = summary;
    result.twoTailed = twoTailed;
    result.hypotheticalMedian = hypotheticalMedian;
    if (column < 0) {
        result.errorCode = ErrorNeedsRawData;
        return result;
    }
    FillSummary(&table, column, result.summary);
    result.errorCode = SummaryCode(result.summary);
    if (result.errorCode != 0) return result;
    result.test = SignedRankTest(table, column, hypotheticalMedian, twoTailed);
    return result;
}

WilcoxonPairsResult ComputeWilcoxonPairs(DataTable& table, int columnA, int columnB,
                                         const ColumnRecord& summaryA,
                                         const ColumnRecord& summaryB, bool twoTailed) {
    WilcoxonPairsResult result;
    result.summaryA = summaryA;
    result.summaryB = summaryB;
    result.twoTailed = twoTailed;
    if (columnA < 0 || columnB < 0) {
        result.errorCode = ErrorNeedsRawData;
        return result;
    }
    FillSummary(&table, columnA, result.summaryA);
    FillSummary(&table, columnB, result.summaryB);
    result.errorCode = SummariesCode(result.summaryA, result.summaryB);
    if (result.errorCode != 0) return result;

    // The differences column: A minus B in every row where both hold a value.
    for (int row = 0; row < DataRows; ++row) {
        const Extended a = table.AnalysisValue(row, columnA);
        const Extended b = table.AnalysisValue(row, columnB);
        table.SetAnalysisValue(
            row, ScratchColumn,
            IsMissingValue(a) || IsMissingValue(b) ? MissingValue : DecimalDifference(a, b));
    }
    result.differences.title = "Difference";
    FillSummary(&table, ScratchColumn, result.differences);
    if (result.differences.sd == 0) result.errorCode = ErrorNoDistinctDifferences;
    if (result.differences.n < 2) result.errorCode = ErrorSinglePair;
    if (result.errorCode != 0) return result;

    result.test = SignedRankTest(table, ScratchColumn, 0, twoTailed);
    result.pairing = SpearmanCalc(table, columnA, columnB);
    return result;
}

MannWhitneyReportResult ComputeMannWhitney(DataTable& table, int columnA, int columnB,
                                           const ColumnRecord& summaryA,
                                           const ColumnRecord& summaryB, bool twoTailed) {
    MannWhitneyReportResult result;
    result.summaryA = summaryA;
    result.summaryB = summaryB;
    result.twoTailed = twoTailed;
    if (columnA < 0 || columnB < 0) {
        result.errorCode = ErrorNeedsRawData;
        return result;
    }
    FillSummary(&table, columnA, result.summaryA);
    FillSummary(&table, columnB, result.summaryB);
    result.errorCode = SummariesCode(result.summaryA, result.summaryB);
    if (result.errorCode != 0) return result;
    result.test = MannWhitneyTest(table, columnA, columnB, twoTailed);
    return result;
}

// --- Reports ------------------------------------------------------------------------------

namespace {

void WriteEmphasised(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis2();
    report.Write(text);
    report.ToggleEmphasis2();
    report.NewLine();
}

void WriteCentredTitle(ResultsReport& report, std::string_view text) {
    WriteEmphasised(report, ResultsReport::Centre(text, TitleWidth));
}

/// The P value sentence: one tail with P, or two tails with 2P (not capped at 1).
void WriteRankPValue(ResultsReport& report, bool twoTailed, Extended p) {
    if (twoTailed) {
        WritePValueSentence(report, 2, true, 2 * p);
    } else {
        WritePValueSentence(report, 1, true, p);
    }
}

/// Whether no data could give P < 0.05: fewer than 20 (one tail) or 40 (two tails)
/// equally likely arrangements.
bool TooFewArrangements(bool twoTailed, Extended arrangements) {
    return twoTailed ? arrangements < 40 : arrangements < 20;
}

void WriteNumberLine(ResultsReport& report, std::string_view label, Extended value) {
    report.Write(label);
    WriteNumber(report, value, -5);
    report.NewLine();
}

/// The W, T+, T- and number-of-pairs lines of the calculation details.
void WriteSignedRankDetails(ResultsReport& report, const SignedRankResult& test, bool tieRemark) {
    WriteEmphasised(report, "Calculation details");
    report.Write("Sum of all signed ranks (W) = ");
    WriteNumber(report, test.w, -5);
    if (tieRemark && test.ties) report.Write(" (corrected for ties)");
    report.NewLine();
    WriteNumberLine(report, "Sum of positive ranks (T+) = ", test.tPlus);
    WriteNumberLine(report, "Sum of negative ranks (T-) = ", test.tMinus);
    report.Write("Number of pairs = ");
    report.WriteInteger(test.n);
    report.NewLine();
}

void WriteParameterTable(ResultsReport& report, std::vector<ColumnRecord> records) {
    WriteParameterList(report, records);
}

}  // namespace

void WriteWilcoxonOneSampleReport(const WilcoxonOneSampleResult& result, ResultsReport& report) {
    const SignedRankResult& test = result.test;
    report.NewLine();
    WriteCentredTitle(report, "Wilcoxon signed rank test");
    report.Write("Does the median of ");
    report.Write(result.summary.title);
    report.Write(" differ significantly from ");
    WriteNumber(report, result.hypotheticalMedian, -5);
    report.Write("? ");
    report.NewLine();
    report.NewLine();
    WriteRankPValue(report, result.twoTailed, test.p);
    report.NewLine();
    if (!test.Exact()) {
        report.WriteLine(ApproximationRemark);
    } else if (test.ties) {
        report.WriteLine(TiesRemark);
    }
    report.NewLine();
    if (test.Exact() && TooFewArrangements(result.twoTailed, test.arrangements)) {
        report.WriteLine(ImpossibleLine);
        report.WriteLine("yield P < 0.05 with so few data points.");
    }
    report.NewLine();
    WriteSignedRankDetails(report, test, true);
    if (test.zeroDifferences > 0) {
        report.Write("Note: ");
        report.WriteInteger(test.zeroDifferences);
        report.Write(" zero value");
        report.WriteLine(test.zeroDifferences == 1 ? " was excluded from calculations."
                                                   : "s were excluded from calculations.");
    }
    WriteCentredTitle(report, "Summary of Data");
    report.NewLine();
    WriteParameterTable(report, {result.summary});
}

void WriteWilcoxonPairsReport(const WilcoxonPairsResult& result, ResultsReport& report) {
    const SignedRankResult& test = result.test;
    WriteCentredTitle(report, "Wilcoxon matched-pairs signed-ranks test");
    report.Write("Does the median of the differences between ");
    report.Write(result.summaryA.title);
    report.Write(" and ");
    report.Write(result.summaryB.title);
    report.NewLine();
    report.WriteLine(" differ signficantly from zero?");
    report.NewLine();
    WriteRankPValue(report, result.twoTailed, test.p);
    if (!test.Exact()) report.WriteLine(ApproximationRemark);
    report.NewLine();
    if (test.Exact() && TooFewArrangements(result.twoTailed, test.arrangements)) {
        report.WriteLine(ImpossibleLine);
        report.WriteLine("yield P < 0.05 with so few data pairs.");
        report.NewLine();
    }
    report.NewLine();
    WriteSignedRankDetails(report, test, false);
    if (test.zeroDifferences > 0) {
        report.Write("Note: ");
        report.WriteInteger(test.zeroDifferences);
        report.Write(" pair");
        report.WriteLine(test.zeroDifferences == 1
                             ? " was excluded from calculations because both"
                             : "s were excluded from calculations because both ");
        report.WriteLine("values were equal.");
    }
    report.NewLine();

    const SpearmanResult& pairing = result.pairing;
    WriteEmphasised(report, "Assumption test: Was the pairing effective?");
    if (pairing.errorCode != 0) {
        // The pairs hold a single value of one column (possible when that column has further
        // values in rows without a partner): r cannot be calculated.
        report.WriteLine("Can't calculate r. One group has no variability.");
    } else {
        report.Write("Nonparametric Spearman correlation coefficient (r) = ");
        WriteNumber(report, pairing.r, -5);
        report.NewLine();
        if (pairing.r < 0) {
            report.WriteLine("The negative correlation coefficient indicates that the pairing or");
            report.WriteLine("matching was NOT effective.");
        } else {
            WritePValueSentence(report, 1, true, pairing.p / 2);
            report.WriteLine("Effective pairing results in a significant correlation between the");
            report.WriteLine("columns.  With these data, the pairing (or matching) appears ");
            report.WriteLine(pairing.p <= 0.05L
                                 ? "to be effective."
                                 : "not to be effective.  The unpaired test may be more appropriate.");
        }
    }
    report.NewLine();
    WriteCentredTitle(report, "Summary of Data");
    report.NewLine();
    WriteParameterTable(report, {result.summaryA, result.summaryB, result.differences});
}

void WriteMannWhitneyReport(const MannWhitneyReportResult& result, ResultsReport& report) {
    const MannWhitneyResult& test = result.test;
    report.NewLine();
    WriteCentredTitle(report, "Mann-Whitney Test");
    report.Write("Do the medians of ");
    report.Write(result.summaryA.title);
    report.Write(" and ");
    report.Write(result.summaryB.title);
    report.WriteLine(" differ significantly?");
    report.NewLine();
    WriteRankPValue(report, result.twoTailed, test.p);
    if (!test.Exact()) {
        report.WriteLine(ApproximationRemark);
    } else if (test.ties) {
        // The count runs over untied ranks, so with ties it is not the exact P value.
        report.WriteLine(TiesRemark);
    } else {
        report.WriteLine("(The P value is exact.)");
    }
    report.NewLine();
    if (test.Exact() && TooFewArrangements(result.twoTailed, static_cast<Extended>(test.subsets))) {
        report.WriteLine(ImpossibleLine);
        report.WriteLine("yield P < 0.05 with so few data points.");
    }
    report.NewLine();
    WriteEmphasised(report, "Calculation details");
    WriteNumberLine(report, "Mann-Whitney U-statistic = ", test.u);
    WriteNumberLine(report, "U' = ", test.uPrime);
    report.Write("Sum of ranks in ");
    report.Write(result.summaryA.title);
    report.Write(" = ");
    WriteNumber(report, test.rankSumA, -5);
    report.Write(".  Sum of ranks in ");
    report.Write(result.summaryB.title);
    report.Write(" = ");
    WriteNumber(report, test.rankSumB, -5);
    report.WriteLine(". ");
    report.NewLine();
    WriteCentredTitle(report, "Summary of Data");
    WriteParameterTable(report, {result.summaryA, result.summaryB});
}

// --- JSON ---------------------------------------------------------------------------------

namespace {

std::string SummaryJson(const ColumnRecord& s) {
    JsonWriter json;
    json.BeginObject()
        .Field("title", std::string_view(s.title))
        .Field("n", s.n)
        .Field("mean", s.mean)
        .Field("sd", s.sd)
        .Field("sem", s.sem)
        .Field("median", s.median)
        .Field("minimum", s.minimum)
        .Field("maximum", s.maximum)
        .Field("lower95", s.lower95)
        .Field("upper95", s.upper95)
        .EndObject();
    return json.Text();
}

/// The P value the report shows: P for one tail, 2P for two.
Extended ShownP(bool twoTailed, Extended p) { return twoTailed ? 2 * p : p; }

}  // namespace

std::string SignedRankResultJson(const SignedRankResult& r) {
    JsonWriter json;
    json.BeginObject()
        .Field("n", r.n)
        .Field("zeroDifferences", r.zeroDifferences)
        .Field("tPlus", r.tPlus)
        .Field("tMinus", r.tMinus)
        .Field("w", r.w)
        .Field("ties", r.ties)
        .Field("tieSum", r.tieSum)
        .Field("z", r.z)
        .Field("approximateP", r.approximateP)
        .Field("exactFlag", r.exactFlag)
        .Field("arrangements", r.arrangements)
        .Field("threshold", r.threshold)
        .Key("counted").Integer(r.counted)
        .Field("pOneTailed", r.p)
        .Field("pMethod", PValueSourceText(r.source))
        .EndObject();
    return json.Text();
}

std::string MannWhitneyResultJson(const MannWhitneyResult& r) {
    JsonWriter json;
    json.BeginObject()
        .Field("na", r.na)
        .Field("nb", r.nb)
        .Field("u", r.u)
        .Field("uPrime", r.uPrime)
        .Field("rankSumA", r.rankSumA)
        .Field("rankSumB", r.rankSumB)
        .Field("ties", r.ties)
        .Field("tieSum", r.tieSum)
        .Field("z", r.z)
        .Field("approximateP", r.approximateP)
        .Field("exactFlag", r.exactFlag)
        .Key("subsets").Integer(r.subsets)
        .Key("counted").Integer(r.counted)
        .Field("pOneTailed", r.p)
        .Field("pMethod", PValueSourceText(r.source))
        .EndObject();
    return json.Text();
}

std::string WilcoxonOneSampleJson(const WilcoxonOneSampleResult& r) {
    JsonWriter json;
    json.BeginObject()
        .Field("analysis", "Wilcoxon signed rank test")
        .Field("errorCode", r.errorCode)
        .Field("hypotheticalMedian", r.hypotheticalMedian)
        .Field("twoTailed", r.twoTailed)
        .Field("p", ShownP(r.twoTailed, r.test.p))
        .Key("test").Raw(SignedRankResultJson(r.test))
        .Key("summary").Raw(SummaryJson(r.summary))
        .EndObject();
    return json.Text();
}

std::string WilcoxonPairsJson(const WilcoxonPairsResult& r) {
    JsonWriter json;
    json.BeginObject()
        .Field("analysis", "Wilcoxon matched-pairs signed-ranks test")
        .Field("errorCode", r.errorCode)
        .Field("twoTailed", r.twoTailed)
        .Field("p", ShownP(r.twoTailed, r.test.p))
        .Key("test").Raw(SignedRankResultJson(r.test))
        .Key("pairing").Raw(SpearmanResultJson(r.pairing))
        .Key("summaries").BeginArray()
        .Raw(SummaryJson(r.summaryA))
        .Raw(SummaryJson(r.summaryB))
        .Raw(SummaryJson(r.differences))
        .EndArray()
        .EndObject();
    return json.Text();
}

std::string MannWhitneyReportJson(const MannWhitneyReportResult& r) {
    JsonWriter json;
    json.BeginObject()
        .Field("analysis", "Mann-Whitney test")
        .Field("errorCode", r.errorCode)
        .Field("twoTailed", r.twoTailed)
        .Field("p", ShownP(r.twoTailed, r.test.p))
        .Key("test").Raw(MannWhitneyResultJson(r.test))
        .Key("summaries").BeginArray()
        .Raw(SummaryJson(r.summaryA))
        .Raw(SummaryJson(r.summaryB))
        .EndArray()
        .EndObject();
    return json.Text();
}

// --- Entry routines -----------------------------------------------------------------------

void WilcoxonOneSample(DataTable& table, int column, const ColumnRecord& summary,
                       bool twoTailed, Extended hypotheticalMedian, AnalysisOutput& out) {
    const WilcoxonOneSampleResult result =
        ComputeWilcoxonOneSample(table, column, summary, twoTailed, hypotheticalMedian);
    out.errorCode = result.errorCode;
    if (result.errorCode != 0) return;
    WriteWilcoxonOneSampleReport(result, out.report);
    out.resultJson = WilcoxonOneSampleJson(result);
}

void WilcoxonPairsOrMannWhitney(DataTable& table, int columnA, int columnB,
                                const ColumnRecord& summaryA, const ColumnRecord& summaryB,
                                bool paired, bool twoTailed, AnalysisOutput& out) {
    if (paired) {
        const WilcoxonPairsResult result =
            ComputeWilcoxonPairs(table, columnA, columnB, summaryA, summaryB, twoTailed);
        out.errorCode = result.errorCode;
        if (result.errorCode != 0) return;
        WriteWilcoxonPairsReport(result, out.report);
        out.resultJson = WilcoxonPairsJson(result);
    } else {
        const MannWhitneyReportResult result =
            ComputeMannWhitney(table, columnA, columnB, summaryA, summaryB, twoTailed);
        out.errorCode = result.errorCode;
        if (result.errorCode != 0) return;
        WriteMannWhitneyReport(result, out.report);
        out.resultJson = MannWhitneyReportJson(result);
    }
}

}  // namespace zelkon
