// Report pieces shared by the Kruskal-Wallis and Friedman tests.
#include "analyses/groups/rank_multi_report.h"

#include "analyses/groups/anova_report.h"
#include "analyses/groups/rank_multi.h"
#include "report/summary_tables.h"
#include "stats/wording.h"

namespace zelkon {

void WriteRankVerdict(ResultsReport& report, Extended p, std::int32_t status, bool fewArrangements,
                      std::string_view tiesReason) {
    WritePValueSentence(report, 0, true, p);
    report.Write("Variation among column medians is ");
    if (p > 0.05L) report.Write("not ");
    report.WriteLine("significantly greater than expected");
    report.WriteLine("by chance.");
    report.NewLine();
    if (status == ExactStatusExact) {
        report.WriteLine("The P value is exactly correct (no approximations). ");
        if (fewArrangements) {
            report.WriteLine(
                "Regardless of what data you enter, it is impossible for this test to");
            report.WriteLine("yield P < 0.05 with so few data points.");
        }
        return;
    }
    report.WriteLine("The P value is approximate (from chi-square distribution) because");
    switch (status) {
        case ExactStatusCancelled:
            report.WriteLine("you interrupted the exact computations.");
            break;
        case ExactStatusTooLong:
            report.WriteLine("exact calculations would have taken too long.");
            break;
        default:
            report.WriteLine(tiesReason);
            break;
    }
}

void WriteRankPostTestsNotCalculated(ResultsReport& report) {
    report.ToggleEmphasis1();
    report.WriteLine("Post tests were not calculated because the P value was greater");
    report.Write("than 0.05.");
    report.ToggleEmphasis1();
    report.NewLine();
}

void WriteRankSummaryOfData(ResultsReport& report, const std::vector<ColumnRecord>& columns) {
    WriteCentredHeading(report, "Summary of Data");
    report.NewLine();
    WriteRankTestSummaryHeading(report);
    for (const ColumnRecord& c : columns) {
        WriteRankTestSummaryRow(report, c.title, c.n, c.median, c.minimum, c.maximum);
    }
}

}  // namespace zelkon
