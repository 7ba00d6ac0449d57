// Dunnett's multiple comparisons with a control.
#include "analyses/groups/post_test_dunnett.h"

#include <cmath>

#include "analyses/groups/multi_column_data.h"
#include "analyses/groups/post_test_critical_values.h"
#include "core/fp_guard.h"
#include "report/posttest_tables.h"

namespace zelkon {

std::int32_t ComputeDunnett(const PostTestBasis& basis, std::int32_t control,
                            DunnettResult& result) {
    result = DunnettResult{};
    if (!CreateList(result.rows, DunnettListCapacity)) return ErrorOutOfMemory;
    const auto m = static_cast<std::int32_t>(basis.groups.size());
    result.control = control >= 0 && control < m ? control : 0;
    if (basis.dfResidual < MinDunnettDf) {
        result.tooFewDf = true;
        return 0;
    }
    result.critical05 = DunnettCritical(DunnettLevel::P05, basis.dfResidual, m);
    result.critical01 = DunnettCritical(DunnettLevel::P01, basis.dfResidual, m);
    if (IsMissingValue(result.critical05) || IsMissingValue(result.critical01)) {
        result.tooManyMeans = true;
        return 0;
    }
    const PostTestGroup& c = basis.groups[static_cast<std::size_t>(result.control)];
    for (std::int32_t j = 0; j < m; ++j) {
        if (j == result.control) continue;
        const PostTestGroup& g = basis.groups[static_cast<std::size_t>(j)];
        Comparison row;
        row.first = result.control;
        row.second = j;
        row.difference = c.mean - g.mean;
        const Extended se = std::sqrt(basis.msResidual * (1.0L / c.n + 1.0L / g.n));
        row.statistic = std::fabs(row.difference / se);
        row.lower = row.difference - result.critical05 * se;
        row.upper = row.difference + result.critical05 * se;
        row.p = row.statistic > result.critical01   ? CategoryP01
                : row.statistic > result.critical05 ? CategoryP05
                                                    : CategoryNotSignificant;
        result.rows.push_back(row);
    }
    return 0;
}

void WriteDunnett(ResultsReport& report, const PostTestBasis& basis, const DunnettResult& result) {
    WriteUnderlinedLine(report, "Dunnett Multiple Comparisons Test");
    if (result.tooFewDf) {
        report.WriteLine("Too few data points. DF must exceed 5. ");
        return;
    }
    if (result.tooManyMeans) {
        report.WriteLine("This post test cannot be done with more than 21 columns (the control");
        report.WriteLine("included): the table of critical values ends there.");
        return;
    }
    auto title = [&](std::int32_t g) -> const std::string& {
        return basis.groups[static_cast<std::size_t>(g)].title;
    };
    report.Write("Control column: ");
    report.WriteLine(title(result.control));
    WriteCriticalValueSentence(report, "q", result.critical05);
    report.NewLine();
    report.NewLine();
    WriteControlHeading(report, true);
    for (const Comparison& row : result.rows) {
        WriteControlRow(report, title(row.first), title(row.second), row.difference, row.statistic,
                        row.p);
    }
    // The interval block opens with its own blank line.
    WriteControlIntervalHeading(report);
    for (const Comparison& row : result.rows) {
        WriteControlIntervalRow(report, title(row.first), title(row.second), row.difference,
                                row.lower, row.upper);
    }
    report.NewLine();  // blank line, end of table
}

}  // namespace zelkon
