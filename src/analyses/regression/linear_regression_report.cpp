// The report of the linear regression.
#include "analyses/regression/linear_regression_report.h"

#include <string>

#include "report/anova_tables.h"
#include "report/regression_tables.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

// Numbers in the sentences carry five significant digits.
constexpr int SentenceDigits = -5;
// Tab stops of the standard-curve block.
constexpr int CurveXTab = 15;
constexpr int CurveYTab = 30;

void BlankLines(ResultsReport& report, int count) {
    for (int i = 0; i < count; ++i) report.NewLine();
}

void EmphasisedLine(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis2();
    report.Write(text);
    report.ToggleEmphasis2();
    report.NewLine();
}

void NumberLine(ResultsReport& report, std::string_view label, Extended x) {
    report.Write(label);
    WriteNumber(report, x, SentenceDigits);
    report.NewLine();
}

void WritePerfectLine(ResultsReport& report, const LinearRegressionResult& r) {
    report.WriteLine("Your data form a perfect line:");
    NumberLine(report, "Slope = ", r.slope);
    NumberLine(report, "Y-intercept = ", r.intercept);
    report.WriteLine("P = 0.0000");
    // A falling line is a perfect negative correlation.
    report.WriteLine(r.slope < 0.0L ? "r = -1.0000" : "r = 1.0000");
}

void WriteReplicatesTable(ResultsReport& report, const LinearRegressionResult& r) {
    BlankLines(report, 3);
    EmphasisedLine(report, "Descriptive statistics for each row");
    report.NewLine();
    WriteReplicatesHeading(report);
    for (const ReplicateRow& row : r.replicateRows) {
        WriteReplicatesRow(report, row.row + 1, row.x, row.meanY, row.replicates, row.predictedY,
                           row.sd, row.residual);
    }
    BlankLines(report, 2);
    report.WriteLine("  The residual values are the distances (biases) of the mean Y values");
    report.WriteLine("  from the best-fit line determined by linear regression.");
}

void WriteSlopeTest(ResultsReport& report, const LinearRegressionResult& r) {
    BlankLines(report, 2);
    EmphasisedLine(report, "Test: Is the slope significantly different from zero?");
    report.NewLine();
    WritePValueSentence(report, 0, true, r.p);
    if (r.options.forced) {
        report.Write("The slope is ");
        if (r.p > 0.05L) report.Write("not ");
        report.WriteLine("significantly different from zero.");
        report.NewLine();
        report.Write("t = ");
        WriteNumber(report, r.t, SentenceDigits);
        report.Write(" with ");
        report.WriteInteger(r.dfResidual);
        report.WriteLine(" degrees of freedom.");
        return;
    }
    report.NewLine();
    report.WriteLine("This result was obtained from the following ANOVA table.");
    report.NewLine();
    WriteAnovaHeading(report, RunsTestAnova);
    WriteAnovaRow(report, RunsTestAnova, ModelSource, 1, r.ssRegression, r.msRegression);
    WriteAnovaRow(report, RunsTestAnova, ResidualSource, r.dfResidual, r.ssResidual, r.msResidual);
    WriteAnovaTotalRow(report, RunsTestAnova, r.dfTotal, r.ssTotal);
    NumberLine(report, "F = ", r.f);
}

void WriteRunsTest(ResultsReport& report, const LinearRegressionResult& r) {
    BlankLines(report, 2);
    EmphasisedLine(report, "Runs test: Do the number of runs indicate a linear model?");
    report.WriteLine("One way to evaluate linearity is by counting runs.  If the data");
    report.WriteLine("deviate substantially from linearity, the number of runs will be");
    report.WriteLine("small.");
    report.NewLine();
    report.Write("There are ");
    report.WriteInteger(r.runs.above);
    report.Write(" points above the line, ");
    report.WriteInteger(r.runs.below);
    report.Write(" below, and ");
    report.WriteInteger(r.runs.runs);
    report.WriteLine(" runs.");
    report.NewLine();
    switch (r.runsOutcome) {
        case RunsOutcome::TooFewOnASide:
            report.WriteLine("Runs test cannot be performed because both the number above the");
            report.WriteLine("line and below the line must be greater than one.");
            break;
        case RunsOutcome::TooFewInAll:
            report.WriteLine("Runs test cannot be performed because the sum of the number above");
            report.WriteLine("the line and below the line must be greater than five.");
            break;
        case RunsOutcome::TooManyPoints:
            report.WriteLine("Runs test cannot be performed because the number above the line");
            report.WriteLine("and the number below the line are both greater than 500.");
            break;
        case RunsOutcome::Computed:
            WritePValueSentence(report, 0, true, r.runsP);
            if (r.runsP < 0.05L) {
                report.WriteLine(
                    "There are significantly fewer runs than expected, suggesting that the data");
                report.WriteLine("follow a curve rather than a line.");
            } else {
                report.WriteLine("There is not a significant departure from linearity.");
            }
            break;
        case RunsOutcome::NotRequested:
            break;
    }
}

void WriteLackOfFit(ResultsReport& report, const LinearRegressionResult& r) {
    BlankLines(report, 2);
    EmphasisedLine(report, "Test: Are the data significantly nonlinear?");
    report.NewLine();
    NumberLine(report, "F = ", r.fLackOfFit);
    WritePValueSentence(report, 0, false, r.pLackOfFit);
    report.Write("The departures from linearity are ");
    WriteSignificanceWord(report, r.pLackOfFit);
    report.WriteLine("significant.");
    report.NewLine();
    report.WriteLine("This result was obtained from the following ANOVA table that compares");
    report.WriteLine("deviations from linearity with scatter among replicates.");
    BlankLines(report, 2);
    WriteAnovaHeading(report, ReplicatesAnova);
    WriteAnovaRow(report, ReplicatesAnova, LackOfFitModelSource, 1, r.ssRegression);
    WriteAnovaRow(report, ReplicatesAnova, LackOfFitSource, r.dfLackOfFit, r.ssLackOfFit,
                  r.msLackOfFit);
    WriteAnovaRow(report, ReplicatesAnova, ScatterSource, r.dfPureError, r.ssPureError,
                  r.msPureError);
    WriteAnovaTotalRow(report, ReplicatesAnova, r.dfTotal, r.ssTotal);
}

void WriteStandardCurve(ResultsReport& report, const LinearRegressionResult& r) {
    BlankLines(report, 2);
    report.ClearTabs();
    report.AddTab(CurveXTab);
    report.AddTab(CurveYTab);
    EmphasisedLine(report, "Standard Curve Calculations");
    report.NextTab();
    report.Write("X Values");
    report.NextTab();
    report.WriteLine("Y Values");
    for (const StandardCurveValue& v : r.unknowns) {
        report.NextTab();
        WriteNumber(report, v.x, SentenceDigits);
        report.NextTab();
        WriteNumber(report, v.y, SentenceDigits);
        if (v.outside) report.Write("*");
        report.NewLine();
    }
    report.ClearTabs();
    if (r.unknowns.empty()) {
        report.NewLine();
        report.WriteLine("To perform standard curve calculations, you must enter the unknowns");
        report.WriteLine("below the standard curve in the spreadsheet. Simply enter X values");
        report.WriteLine("without Y, or Y values without X.");
    } else if (r.anyOutside) {
        report.NewLine();
        report.WriteLine("* - Value is outside of standard curve.");
    }
}

}  // namespace

void WriteLinearRegressionReport(ResultsReport& report, const LinearRegressionResult& r) {
    report.ToggleEmphasis2();
    report.Write(ResultsReport::Centre("Linear Regression", RegressionTitleWidth));
    report.ToggleEmphasis2();
    report.NewLine();
    BlankLines(report, 2);
    report.Write("Number of points = ");
    report.WriteInteger(r.n);
    report.NewLine();
    BlankLines(report, 2);
    if (r.perfect) {
        WritePerfectLine(report, r);
        return;
    }

    WriteRegressionParameterHeading(report);
    WriteSlopeRow(report, r.slope, r.slopeSE, r.slopeLower, r.slopeUpper);
    WriteYInterceptRow(report, r.intercept, r.interceptSE, r.interceptLower, r.interceptUpper,
                       r.options.forced);
    WriteXInterceptRow(report, r.xIntercept);
    report.NewLine();
    if (r.options.forced) {
        report.WriteLine("The line was forced through the point:");
        report.Write("X=");
        WriteNumber(report, r.options.forceX, SentenceDigits);
        report.Write("  Y=");
        WriteNumber(report, r.options.forceY, SentenceDigits);
        report.NewLine();
    } else {
        report.Write("Correlation coefficient (r) = ");
        WriteNumber(report, r.r, SentenceDigits);
        report.Write(".  r squared = ");
        WriteNumber(report, r.rSquared, SentenceDigits);
        report.NewLine();
    }
    BlankLines(report, 2);
    NumberLine(report, "Standard deviation of residuals from line (Sy.x) = ", r.syx);
    if (r.maxReplicates > 1 && r.n <= ReplicatesTableMaxPoints) WriteReplicatesTable(report, r);
    WriteSlopeTest(report, r);
    if (r.options.linearityTest) {
        WriteRunsTest(report, r);
        if (r.lackOfFitComputed) WriteLackOfFit(report, r);
    }
    if (r.options.standardCurve) WriteStandardCurve(report, r);
}

}  // namespace zelkon
