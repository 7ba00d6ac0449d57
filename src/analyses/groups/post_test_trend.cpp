// The test for linear trend.
#include "analyses/groups/post_test_trend.h"

#include "report/anova_tables.h"
#include "stats/pvalue.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

void WriteBoldLine(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis1();
    report.Write(text);
    report.ToggleEmphasis1();
    report.NewLine();
}

}  // namespace

LinearTrendResult ComputeLinearTrend(const PostTestBasis& basis, const TrendInput& input) {
    LinearTrendResult r;
    r.input = input;
    const std::int32_t k = input.k;
    Extended s1 = 0;
    Extended s2 = 0;
    Extended s3 = 0;
    for (std::size_t g = 0; g < basis.groups.size(); ++g) {
        const auto i = static_cast<Extended>(g + 1);
        const Extended x = k % 2 != 0 ? i - static_cast<Extended>(k + 1) / 2.0L
                                      : 2.0L * i - static_cast<Extended>(k) - 1.0L;
        s1 += x * basis.groups[g].mean;
        s2 += x * x / basis.groups[g].n;
        s3 += x * x;
    }
    r.ssLinear = s1 * s1 / s2;
    r.slope = s1 / s3;
    r.rSquared = r.ssLinear / input.ssTotal;
    r.fLinear = r.ssLinear / basis.msResidual;
    r.pLinear = p_from_f(1, basis.dfResidual, r.fLinear);
    r.dfNonlinear = input.dfTreatment - 1;
    if (r.dfNonlinear > 0) {
        r.ssNonlinear = input.ssTreatment - r.ssLinear;
        r.msNonlinear = r.ssNonlinear / r.dfNonlinear;
        r.fNonlinear = r.msNonlinear / basis.msResidual;
        r.pNonlinear = p_from_f(r.dfNonlinear, basis.dfResidual, r.fNonlinear);
    } else {
        // Two columns: the linear part is the whole treatment sum of squares.
        r.dfNonlinear = 0;
        r.ssNonlinear = 0;
    }
    return r;
}

void WriteLinearTrend(ResultsReport& report, const PostTestBasis& basis,
                      const LinearTrendResult& r) {
    const bool nonlinear = r.dfNonlinear > 0;
    WriteUnderlinedLine(report, "Test for linear trend between column means and column number");
    report.NewLine();
    report.Write("Slope = ");
    WriteNumber(report, r.slope, -5);
    report.Write("    r squared = ");
    WriteNumber(report, r.rSquared, 4);
    report.NewLine();
    report.NewLine();
    report.NewLine();

    WriteBoldLine(report, "Is the linear trend statistically significant?");
    WritePValueSentence(report, 0, true, r.pLinear);
    report.Write("There is ");
    if (r.pLinear > 0.05L) report.Write("not ");
    report.WriteLine("a significant linear trend.");
    report.NewLine();

    WriteBoldLine(report, "Is the nonlinear variation statistically significant?");
    if (nonlinear) {
        WritePValueSentence(report, 0, true, r.pNonlinear);
        report.WriteLine("After accounting for the linear trend, the remaining variation among");
        report.Write("column means is ");
        if (r.pNonlinear > 0.05L) report.Write("not ");
        report.WriteLine("significant.");
    } else {
        report.WriteLine("With only two columns there is no nonlinear component: it cannot be");
        report.WriteLine("computed (0 degrees of freedom).");
    }
    report.NewLine();
    report.NewLine();
    report.WriteLine("This result was obtained from dividing variation among columns into");
    report.WriteLine("linear and nonlinear components:");
    report.NewLine();

    const TrendInput& in = r.input;
    const AnovaLayout& layout =
        basis.oneWay ? LinearTrendOneWayAnova : LinearTrendRepeatedMeasuresAnova;
    WriteAnovaHeading(report, layout);
    WriteAnovaRow(report, layout, LinearSource, 1, r.ssLinear, r.ssLinear);
    if (nonlinear) {
        WriteAnovaRow(report, layout, NotLinearSource, r.dfNonlinear, r.ssNonlinear, r.msNonlinear);
    } else {
        WriteAnovaRow(report, layout, NotLinearSource, 0, r.ssNonlinear);
    }
    if (basis.oneWay) {
        WriteAnovaRow(report, layout, ResidualsSource, basis.dfResidual, in.ssResidual,
                      basis.msResidual);
    } else {
        WriteAnovaRow(report, layout, IndividualSource, in.dfIndividual, in.ssIndividual,
                      in.msIndividual);
        WriteAnovaRow(report, layout, RandomSource, basis.dfResidual, in.ssResidual,
                      basis.msResidual);
    }
    WriteAnovaTotalRow(report, layout, in.dfTotal, in.ssTotal);

    report.NewLine();
    report.Write("F (linear trend) = ");
    WriteNumber(report, r.fLinear, 4);
    report.WriteLine("    =MSlinear/MSresidual");
    if (nonlinear) {
        report.NewLine();
        report.NewLine();
        report.Write("F (nonlinear trend) = ");
        WriteNumber(report, r.fNonlinear, 4);
        report.WriteLine("   =MSnonlinear/MSresidual");
    }
    report.NewLine();
}

}  // namespace zelkon
