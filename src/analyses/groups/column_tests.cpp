// The entry routines of the one- and two-column tests: dispatch between the t tests and the
// rank tests, the code for averaged data in a rank test, and the run's entry functions.
#include "analyses/groups/column_tests.h"

#include "analyses/groups/rank_tests.h"
#include "analyses/groups/t_test_report.h"
#include "analyses/groups/t_tests.h"

namespace zelkon {

void OneSampleTTest(DataTable& table, int column, const ColumnRecord& summary, bool twoTailed,
                    Extended hypotheticalValue, AnalysisOutput& out) {
    const OneSampleTTestResult result =
        ComputeOneSampleTTest(table, column, summary, twoTailed, hypotheticalValue);
    out.errorCode = result.errorCode;
    if (result.errorCode == 0) WriteOneSampleTTestReport(result, out.report);
    out.resultJson = OneSampleTTestJson(result);
}

void TTest(DataTable& table, int first, int second, const ColumnRecord& firstSummary,
           const ColumnRecord& secondSummary, bool equalSDs, bool twoTailed, bool unpaired,
           AnalysisOutput& out) {
    const TTestResult result = ComputeTTest(table, first, second, firstSummary, secondSummary,
                                            equalSDs, twoTailed, unpaired);
    out.errorCode = result.errorCode;
    if (result.errorCode == 0) WriteTTestReport(result, out.report);
    out.resultJson = TTestJson(result);
}

void OneColumnTest(DataTable& table, int column, const ColumnRecord& summary,
                   bool nonparametric, bool twoTailed, Extended hypotheticalValue,
                   AnalysisOutput& out) {
    out.errorCode = 0;
    out.helpTopic = OneColumnHelpTopic(nonparametric);
    if (!nonparametric) {
        OneSampleTTest(table, column, summary, twoTailed, hypotheticalValue, out);
    } else if (column >= 0) {
        WilcoxonOneSample(table, column, summary, twoTailed, hypotheticalValue, out);
    } else {
        out.errorCode = CodeNonparametricAveraged;
    }
}

void TwoColumnTest(DataTable& table, int first, int second, const ColumnRecord& firstSummary,
                   const ColumnRecord& secondSummary, bool nonparametric, bool twoTailed,
                   bool equalSDs, bool unpaired, AnalysisOutput& out) {
    out.errorCode = 0;
    out.helpTopic = TwoColumnHelpTopic(nonparametric, unpaired, equalSDs);
    if (!nonparametric) {
        TTest(table, first, second, firstSummary, secondSummary, equalSDs, twoTailed, unpaired,
              out);
    } else if (first >= 0 && second >= 0) {
        WilcoxonPairsOrMannWhitney(table, first, second, firstSummary, secondSummary,
                                   !unpaired, twoTailed, out);
    } else {
        out.errorCode = CodeNonparametricAveraged;
    }
}

void RunOneColumnTest(const OneColumnRequest& request, AnalysisOutput& out) {
    OneColumnTest(request.table, request.column, request.record, request.nonparametric,
                  request.twoSided, request.hypotheticalValue, out);
}

void RunTwoColumnTest(const TwoColumnRequest& request, AnalysisOutput& out) {
    TwoColumnTest(request.table, request.firstColumn, request.secondColumn, request.firstRecord,
                  request.secondRecord, request.nonparametric, request.twoSided,
                  request.equalSDs, request.unpaired, out);
}

}  // namespace zelkon
