// The entry routine of the linear regression.
#include "analyses/regression/linear_regression_entry.h"

#include "analyses/regression/linear_regression.h"
#include "analyses/regression/linear_regression_report.h"

namespace zelkon {

namespace {

RegressionLineResult LineOf(const LinearRegressionResult& r) {
    RegressionLineResult line;
    line.valid = true;
    line.slope = r.slope;
    line.intercept = r.intercept;
    line.slopeLower = r.slopeLower;
    line.slopeUpper = r.slopeUpper;
    line.residualSD = r.syx;
    line.meanX = r.meanX;
    line.meanY = r.meanY;
    line.sxx = r.sxx;
    line.n = r.n;
    line.rSquared = r.rSquared;
    line.forced = r.options.forced;
    line.forceX = r.options.forced ? r.options.forceX : MissingValue;
    line.forceY = r.options.forced ? r.options.forceY : MissingValue;
    return line;
}

}  // namespace

bool LinearRegression(const RegressionRequest& request, AnalysisOutput& out) {
    LinearRegressionOptions options;
    options.forced = request.choices.forceThroughPoint != 0;
    options.linearityTest = request.choices.runsTest != 0;
    options.standardCurve = request.choices.interpolate != 0;
    options.forceX = request.choices.ForceX;
    options.forceY = request.choices.ForceY;

    request.line = RegressionLineResult{};
    const LinearRegressionResult result = ComputeLinearRegression(request.table, options);
    out.helpTopic = result.unknowns.empty() ? LinearRegressionHelpTopic : StandardCurveHelpTopic;
    out.errorCode = result.errorCode;
    if (result.errorCode != 0) return false;
    WriteLinearRegressionReport(out.report, result);
    out.resultJson = LinearRegressionJson(result);
    request.line = LineOf(result);
    return true;
}

}  // namespace zelkon
