// Tukey-Kramer and Student-Newman-Keuls.
#include "analyses/groups/post_test_tukey.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "analyses/groups/multi_column_data.h"
#include "analyses/groups/post_test_critical_values.h"
#include "core/fp_guard.h"
#include "report/posttest_tables.h"

namespace zelkon {

namespace {

struct RangeCriticals {
    Extended q05 = MissingValue;
    Extended q01 = MissingValue;
    Extended q001 = MissingValue;
    bool Available() const { return !IsMissingValue(q05); }
};

RangeCriticals CriticalsFor(std::int32_t df, std::int32_t means) {
    return {StudentizedRangeCritical(RangeLevel::P05, df, means),
            StudentizedRangeCritical(RangeLevel::P01, df, means),
            StudentizedRangeCritical(RangeLevel::P001, df, means)};
}

Extended Category(Extended q, const RangeCriticals& c) {
    if (q > c.q001) return CategoryP001;
    if (q > c.q01) return CategoryP01;
    if (q > c.q05) return CategoryP05;
    return CategoryNotSignificant;
}

// Difference, standard error and q of a pair.
Comparison Compare(const PostTestBasis& basis, std::int32_t i, std::int32_t j, Extended& se) {
    const PostTestGroup& a = basis.groups[static_cast<std::size_t>(i)];
    const PostTestGroup& b = basis.groups[static_cast<std::size_t>(j)];
    Comparison row;
    row.first = i;
    row.second = j;
    row.difference = a.mean - b.mean;
    se = std::sqrt(basis.msResidual * (1.0L / a.n + 1.0L / b.n) * 0.5L);
    row.statistic = std::fabs(row.difference) / se;
    return row;
}

}  // namespace

std::int32_t ComputeTukeyKramer(const PostTestBasis& basis, RangeTestResult& result) {
    result = RangeTestResult{};
    if (!CreateList(result.rows, RangeListCapacity)) return ErrorOutOfMemory;
    const auto m = static_cast<std::int32_t>(basis.groups.size());
    const RangeCriticals critical = CriticalsFor(basis.dfResidual, m);
    if (!critical.Available()) {
        result.tooManyMeans = true;
        return 0;
    }
    result.criticalQ = critical.q05;
    ForEachPair(m, [&](std::int32_t i, std::int32_t j, std::int32_t) {
        Extended se = 0;
        Comparison row = Compare(basis, i, j, se);
        row.p = Category(row.statistic, critical);
        row.lower = row.difference - critical.q05 * se;
        row.upper = row.difference + critical.q05 * se;
        result.rows.push_back(row);
    });
    return 0;
}

std::int32_t ComputeNewmanKeuls(const PostTestBasis& basis, RangeTestResult& result) {
    result = RangeTestResult{};
    result.newmanKeuls = true;
    if (!CreateList(result.rows, RangeListCapacity)) return ErrorOutOfMemory;
    const auto m = static_cast<std::int32_t>(basis.groups.size());
    if (!CriticalsFor(basis.dfResidual, m).Available()) {
        result.tooManyMeans = true;
        return 0;
    }
    // The groups in ascending order of mean; equal means keep their column order.
    std::vector<std::int32_t> order(static_cast<std::size_t>(m));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
        return basis.groups[static_cast<std::size_t>(a)].mean <
               basis.groups[static_cast<std::size_t>(b)].mean;
    });
    // Ranges ending at or below `bound` lie inside a range found not significant.
    std::int32_t bound = -1;
    for (std::int32_t i = 0; i + 1 < m; ++i) {
        for (std::int32_t j = m - 1; j > i; --j) {
            const std::int32_t gi = order[static_cast<std::size_t>(i)];
            const std::int32_t gj = order[static_cast<std::size_t>(j)];
            Comparison row;
            if (j <= bound) {
                row.first = gi;
                row.second = gj;
                row.difference = basis.groups[static_cast<std::size_t>(gi)].mean -
                                 basis.groups[static_cast<std::size_t>(gj)].mean;
                row.statistic = MissingValue;
                row.p = CategoryNotSignificant;
            } else {
                Extended se = 0;
                row = Compare(basis, gi, gj, se);
                row.p = Category(row.statistic, CriticalsFor(basis.dfResidual, j - i + 1));
                if (row.p == CategoryNotSignificant) bound = j;
            }
            result.rows.push_back(row);
        }
    }
    return 0;
}

void WriteRangeTest(ResultsReport& report, const PostTestBasis& basis,
                    const RangeTestResult& result) {
    report.NewLine();
    WriteUnderlinedLine(report, result.newmanKeuls
                                    ? "Student-Newman-Keuls Multiple Comparisons Test"
                                    : "Tukey-Kramer Multiple Comparisons Test");
    report.NewLine();
    if (result.tooManyMeans) {
        report.WriteLine("This post test cannot be done with more than 100 columns: the table");
        report.WriteLine("of critical values ends there.");
        report.NewLine();
        return;
    }
    if (!result.newmanKeuls) {
        WriteCriticalValueSentence(report, "q", result.criticalQ);
        report.NewLine();
    }
    report.NewLine();
    auto title = [&](std::int32_t g) -> const std::string& {
        return basis.groups[static_cast<std::size_t>(g)].title;
    };
    WriteComparisonHeading(report, TukeyStatisticName);
    for (const Comparison& row : result.rows) {
        if (result.newmanKeuls) {
            WriteNewmanKeulsRow(report, title(row.first), title(row.second), row.difference,
                                row.statistic, row.p);
        } else {
            WriteComparisonRow(report, title(row.first), title(row.second), row.difference,
                               row.statistic, row.p);
        }
    }
    if (result.newmanKeuls) {
        report.NewLine();
        report.WriteLine(
            "With Student-Newman-Keuls test, it is impossible to calculate confidence");
        report.WriteLine("intervals.");
        report.NewLine();
        report.NewLine();
        return;
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
}

}  // namespace zelkon
