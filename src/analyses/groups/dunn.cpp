// Dunn's multiple comparisons and the comparison with a control column.
#include "analyses/groups/dunn.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

#include "analyses/groups/multi_column_data.h"
#include "analyses/groups/post_test.h"
#include "core/error_messages.h"
#include "core/fp_guard.h"
#include "stats/pvalue.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

/// The critical values of the comparisons with a control, by number of comparisons K: the
/// entries for K = 1 .. 12, 15 and 20.
constexpr std::array<Extended, 14> Control05 = {1.96L, 2.21L, 2.35L, 2.44L, 2.51L, 2.57L, 2.61L,
                                                2.65L, 2.69L, 2.72L, 2.74L, 2.77L, 2.83L, 2.91L};
constexpr std::array<Extended, 14> Control01 = {2.58L, 2.79L, 2.92L, 3.00L, 3.06L, 3.11L, 3.15L,
                                                3.19L, 3.22L, 3.25L, 3.27L, 3.29L, 3.35L, 3.42L};
constexpr std::size_t K12 = 11;
constexpr std::size_t K15 = 12;
constexpr std::size_t K20 = 13;

Extended Category(Extended difference, Extended se, Extended z001, Extended z01, Extended z05) {
    const Extended size = std::fabs(difference);
    if (size > z001 * se) return 0.001L;
    if (size > z01 * se) return 0.01L;
    if (size > z05 * se) return 0.05L;
    return 1.0L;
}

}  // namespace

std::int32_t ComputeDunn(const std::vector<RankGroup>& groups, const DunnInput& input,
                         DunnResult& result) {
    result = DunnResult{};
    result.form = input.form;
    if (!CreateList(result.rows, DunnListCapacity)) return ErrorOutOfMemory;
    const auto m = static_cast<std::int32_t>(groups.size());
    auto selected = [&](std::int32_t pair) {
        return !input.selectedPairs || input.pairFlags == nullptr ||
               (pair < PairFlagCount && (*input.pairFlags)[static_cast<std::size_t>(pair)] != 0);
    };
    ForEachPair(m, [&](std::int32_t, std::int32_t, std::int32_t pair) {
        if (selected(pair)) ++result.comparisons;
    });
    if (input.form == DunnForm::Friedman) {
        result.tiesNotCorrected = input.tieSum != static_cast<Extended>(input.rows) * m;
    }
    if (result.comparisons == 0) return 0;

    const Extended twiceC = 2 * static_cast<Extended>(result.comparisons);
    result.z05 = z_for_p(0.05L / twiceC);
    result.z01 = z_for_p(0.01L / twiceC);
    result.z001 = z_for_p(0.001L / twiceC);
    const Extended friedmanSe = std::sqrt(static_cast<Extended>(input.rows) * m * (m + 1) / 6);
    if (input.form == DunnForm::Friedman) result.threshold = result.z05 * friedmanSe;
    const Extended n = input.values;
    ForEachPair(m, [&](std::int32_t i, std::int32_t j, std::int32_t pair) {
        if (!selected(pair)) return;
        const RankGroup& a = groups[static_cast<std::size_t>(i)];
        const RankGroup& b = groups[static_cast<std::size_t>(j)];
        DunnComparison row;
        row.first = i;
        row.second = j;
        if (input.form == DunnForm::KruskalWallis) {
            row.difference = a.meanRank - b.meanRank;
            row.se = std::sqrt((n * n * n - n - input.tieSum) / (12 * (n - 1)) *
                               (1.0L / a.n + 1.0L / b.n));
        } else {
            row.difference = a.rankSum - b.rankSum;
            row.se = friedmanSe;
        }
        row.p = Category(row.difference, row.se, result.z001, result.z01, result.z05);
        result.rows.push_back(row);
    });
    return 0;
}

void WriteDunn(ResultsReport& report, const std::vector<RankGroup>& groups,
               const DunnResult& result) {
    report.NewLine();
    if (result.comparisons == 0) {
        // The choices refuse to run without a selected pair; a direct call says so.
        WriteUnderlinedLine(report, "Dunn's Multiple Comparisons Test");
        report.NewLine();
        report.WriteLine(NoColumnPairSelectedMessage);
        report.NewLine();
        return;
    }
    WriteUnderlinedLine(report, "Dunn's Multiple Comparisons Test");
    report.NewLine();
    if (result.form == DunnForm::Friedman) {
        report.Write("If the difference between rank sum means is greater than ");
        WriteNumber(report, result.threshold, -5);
        report.WriteLine(" then the P value");
        report.WriteLine("is less than 0.05.");
        report.NewLine();
    }
    report.NewLine();
    WriteDunnHeading(report, result.form);
    for (const DunnComparison& row : result.rows) {
        WriteDunnRow(report, groups[static_cast<std::size_t>(row.first)].title,
                     groups[static_cast<std::size_t>(row.second)].title, row.difference, row.p);
    }
    report.NewLine();
    if (result.form == DunnForm::Friedman && result.tiesNotCorrected) {
        report.WriteLine(
            "The data contain ties, however, this post test does not correct for ties.");
    }
}

void WriteDunnJson(JsonWriter& json, const std::vector<RankGroup>& groups,
                   const DunnResult& result) {
    json.BeginObject();
    json.Field("test", "Dunn");
    json.Field("form", result.form == DunnForm::Friedman ? "rank sums" : "mean ranks");
    json.Field("pairsCompared", result.comparisons);
    json.Field("z05", result.z05);
    json.Field("z01", result.z01);
    json.Field("z001", result.z001);
    json.Field("threshold05", result.threshold);
    json.Field("tiesNotCorrected", result.tiesNotCorrected);
    json.Field("pMethod",
               "significance category from z at 0.05, 0.01 and 0.001 over twice the pairs");
    json.Key("comparisons").BeginArray();
    for (const DunnComparison& row : result.rows) {
        json.BeginObject();
        json.Field("first", groups[static_cast<std::size_t>(row.first)].title);
        json.Field("second", groups[static_cast<std::size_t>(row.second)].title);
        json.Field("difference", row.difference);
        json.Field("se", row.se);
        json.Field("p", row.p);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

Extended ControlCriticalValue(bool level05, std::int32_t comparisons) {
    const std::array<Extended, 14>& table = level05 ? Control05 : Control01;
    const std::int32_t k = std::max(comparisons, 1);
    if (k <= 12) return table[static_cast<std::size_t>(k - 1)];
    if (k <= 15) return table[K12] + (k - 12) / 3.0L * (table[K15] - table[K12]);
    return table[K15] + (k - 15) * 0.2L * (table[K20] - table[K15]);
}

std::int32_t ComputeControlComparison(const std::vector<RankGroup>& groups, std::int32_t control,
                                      std::int32_t rows, ControlResult& result) {
    result = ControlResult{};
    if (!CreateList(result.rows, DunnListCapacity)) return ErrorOutOfMemory;
    const auto m = static_cast<std::int32_t>(groups.size());
    if (m == 0) return 0;
    result.control = std::clamp(control, 0, m - 1);
    std::vector<std::int32_t> order(static_cast<std::size_t>(m));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
        return groups[static_cast<std::size_t>(a)].mean < groups[static_cast<std::size_t>(b)].mean;
    });
    result.critical05 = ControlCriticalValue(true, m - 1);
    result.critical01 = ControlCriticalValue(false, m - 1);
    result.se = std::sqrt(static_cast<Extended>(rows) * m * (m + 1) / 6);
    const RankGroup& c = groups[static_cast<std::size_t>(result.control)];
    for (const std::int32_t g : order) {
        if (g == result.control) continue;
        ControlComparison row;
        row.column = g;
        row.difference = c.rankSum - groups[static_cast<std::size_t>(g)].rankSum;
        row.lower = row.difference - result.critical05 * result.se;
        row.upper = row.difference + result.critical05 * result.se;
        const Extended size = std::fabs(row.difference);
        row.p = size > result.critical01 * result.se   ? 0.01L
                : size > result.critical05 * result.se ? 0.05L
                                                       : 1.0L;
        result.rows.push_back(row);
    }
    return 0;
}

void WriteControlComparison(ResultsReport& report, const std::vector<RankGroup>& groups,
                            const ControlResult& result) {
    WriteUnderlinedLine(report, "Nonparametric Multiple Comparisons Test with Control Group");
    report.NewLine();
    WriteCriticalValueSentence(report, "q", result.critical05);
    report.NewLine();
    report.NewLine();
    const std::string& control = groups[static_cast<std::size_t>(result.control)].title;
    WriteControlHeading(report, false);
    for (const ControlComparison& row : result.rows) {
        WriteControlRow(report, control, groups[static_cast<std::size_t>(row.column)].title,
                        row.difference, std::nullopt, row.p);
    }
    // The interval block opens with its own blank line.
    WriteControlIntervalHeading(report);
    for (const ControlComparison& row : result.rows) {
        WriteControlIntervalRow(report, control, groups[static_cast<std::size_t>(row.column)].title,
                                row.difference, row.lower, row.upper);
    }
    report.NewLine();
    report.NewLine();
}

void WriteControlComparisonJson(JsonWriter& json, const std::vector<RankGroup>& groups,
                                const ControlResult& result) {
    json.BeginObject();
    json.Field("test", "comparison with a control");
    json.Field("control", groups.empty() ? std::string()
                                         : groups[static_cast<std::size_t>(result.control)].title);
    json.Field("critical05", result.critical05);
    json.Field("critical01", result.critical01);
    json.Field("se", result.se);
    json.Field("pMethod",
               "significance category from the two-sided critical values for infinite df");
    json.Key("comparisons").BeginArray();
    for (const ControlComparison& row : result.rows) {
        json.BeginObject();
        json.Field("column", groups[static_cast<std::size_t>(row.column)].title);
        json.Field("difference", row.difference);
        json.Field("lower", row.lower);
        json.Field("upper", row.upper);
        json.Field("p", row.p);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

}  // namespace zelkon
