// The entry routine of the multiple regression and correlation matrix.
#include "analyses/regression/multiple_regression_entry.h"

#include "analyses/regression/multiple_regression.h"
#include "analyses/regression/multiple_regression_report.h"

namespace zelkon {

namespace {

MultipleRegressionResult GraphResult(const MultipleRegressionAnalysis& a) {
    MultipleRegressionResult g;
    for (std::int32_t r : a.analysedRows) g.analysedRows[static_cast<std::size_t>(r)] = 1;
    if (!a.regressionMode || a.refusal != MultipleRegressionRefusal::None || a.errorCode != 0)
        return g;
    g.valid = true;
    g.yColumn = a.yColumn;
    g.coefficients[0] = a.coefficients[0];
    for (std::size_t j = 0; j < a.xColumns.size(); ++j) {
        const auto c = static_cast<std::size_t>(a.xColumns[j]);
        g.inModel[c] = 1;
        g.coefficients[c + 1] = a.coefficients[j + 1];
    }
    return g;
}

}  // namespace

void MultipleRegression(const MultipleRegressionRequest& request, AnalysisOutput& out) {
    const bool savedMode = request.table.AnalysisMode();
    request.table.SetAnalysisMode(false);
    const MultipleRegressionAnalysis a = ComputeMultipleRegression(request.table, request.choices);
    request.table.SetAnalysisMode(savedMode);

    out.helpTopic = a.regressionMode ? MultipleRegressionHelpTopic : CorrelationMatrixHelpTopic;
    request.result = GraphResult(a);
    out.errorCode = a.errorCode;
    if (a.errorCode != 0) return;
    WriteMultipleRegressionReport(out.report, a);
    out.resultJson = MultipleRegressionJson(a);
}

}  // namespace zelkon
