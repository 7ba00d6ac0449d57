// Bonferroni's multiple comparisons.
#include "analyses/groups/post_test_bonferroni.h"

#include <cmath>

#include "analyses/groups/multi_column_data.h"
#include "core/error_messages.h"
#include "core/fp_guard.h"
#include "report/posttest_tables.h"
#include "stats/pvalue.h"

namespace zelkon {

namespace {

// More comparisons than this draw the warning that the method is too conservative.
constexpr std::int32_t ConservativeComparisons = 8;

bool PairSelected(const std::array<std::uint8_t, PairFlagCount>* flags, std::int32_t pair) {
    if (flags == nullptr) return true;
    return pair < PairFlagCount && (*flags)[static_cast<std::size_t>(pair)] != 0;
}

}  // namespace

std::int32_t ComputeBonferroni(const PostTestBasis& basis,
                               const std::array<std::uint8_t, PairFlagCount>* pairFlags,
                               bool selectedPairs, BonferroniResult& result) {
    result = BonferroniResult{};
    if (!CreateList(result.rows, BonferroniListCapacity)) return ErrorOutOfMemory;
    const auto m = static_cast<std::int32_t>(basis.groups.size());
    auto selected = [&](std::int32_t pair) {
        return !selectedPairs || PairSelected(pairFlags, pair);
    };
    ForEachPair(m, [&](std::int32_t, std::int32_t, std::int32_t pair) {
        if (selected(pair)) ++result.comparisons;
    });
    // No pair to compare (the run refuses this case, but the flags it checks are those of
    // the data columns, not of the groups): nothing to divide by.
    if (result.comparisons == 0) return 0;

    const Extended c = result.comparisons;
    result.criticalT = t_for_p(basis.dfResidual, 0.05L / (2.0L * c));
    ForEachPair(m, [&](std::int32_t i, std::int32_t j, std::int32_t pair) {
        if (!selected(pair)) return;
        const PostTestGroup& a = basis.groups[static_cast<std::size_t>(i)];
        const PostTestGroup& b = basis.groups[static_cast<std::size_t>(j)];
        Comparison row;
        row.first = i;
        row.second = j;
        row.difference = a.mean - b.mean;
        const Extended se = basis.oneWay
                                ? std::sqrt(basis.msResidual / a.n + basis.msResidual / b.n)
                                : std::sqrt(2.0L * basis.msResidual / a.n);
        row.statistic = std::fabs(row.difference) / se;
        row.p = p_from_t(basis.dfResidual, row.statistic) * c;  // not capped at 1
        const Extended halfWidth = result.criticalT * se;
        row.lower = row.difference - halfWidth;
        row.upper = row.difference + halfWidth;
        result.rows.push_back(row);
    });
    return 0;
}

void WriteBonferroni(ResultsReport& report, const PostTestBasis& basis,
                     const BonferroniResult& result) {
    report.NewLine();
    WriteUnderlinedLine(report, "Bonferroni Multiple Comparisons Test");
    report.NewLine();
    if (result.comparisons == 0) {
        report.WriteLine(NoColumnPairSelectedMessage);
        report.NewLine();
        return;
    }
    WriteCriticalValueSentence(report, "t", result.criticalT);
    report.NewLine();
    report.NewLine();
    auto title = [&](std::int32_t g) -> const std::string& {
        return basis.groups[static_cast<std::size_t>(g)].title;
    };
    WriteComparisonHeading(report, BonferroniStatisticName);
    for (const Comparison& row : result.rows) {
        WriteComparisonRow(report, title(row.first), title(row.second), row.difference,
                           row.statistic, row.p);
    }
    // The interval block opens with its own blank line.
    WriteComparisonIntervalHeading(report);
    for (const Comparison& row : result.rows) {
        WriteComparisonIntervalRow(report, title(row.first), title(row.second), row.difference,
                                   row.lower, row.upper);
    }
    // Blank line, end of table, blank line.
    report.NewLine();
    report.NewLine();
    if (result.comparisons > ConservativeComparisons) {
        report.ToggleEmphasis1();
        report.WriteLine("Warning: With so many comparisons, the Bonferroni method");
        report.WriteLine("is said to be too conservative.  This means that the P");
        report.WriteLine("values are too high.  You should consider using a different");
        report.Write("post-test.");
        report.ToggleEmphasis1();
        report.NewLine();
    }
}

}  // namespace zelkon
