// The reports of the one-way and repeated-measures analyses of variance.
#include "analyses/groups/anova_report.h"

#include <memory>

#include "core/json_writer.h"
#include "report/anova_tables.h"
#include "report/summary_tables.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

constexpr int HeadingField = 65;

void WriteVerdict(ResultsReport& report, int tails, Extended p) {
    WritePValueSentence(report, tails, true, p);
    report.Write("Variation among column means is ");
    if (p > 0.05L) report.Write("not ");
    report.WriteLine("significantly greater than expected");
    report.WriteLine("by chance.");
    report.NewLine();
}

void WritePostTestsNotCalculated(ResultsReport& report) {
    WriteUnderlinedLine(report, "Post tests");
    report.WriteLine("Post tests were not calculated because the P value was greater");
    report.WriteLine("than 0.05.");
}

// The two tables of the summary of data: the first written at once, the second collected
// in a side report and appended after it.
void WriteSummaryOfData(ResultsReport& report, const std::vector<AnalysedColumn>& columns) {
    WriteCentredHeading(report, "Summary of Data");
    report.NewLine();
    WriteSummaryHeading(report);
    std::unique_ptr<ResultsReport> side = ResultsReport::CreateSideReport();
    WriteSummaryRangeHeading(*side);
    for (const AnalysedColumn& column : columns) {
        WriteSummaryRow(report, column.record);
        WriteSummaryRangeRow(*side, column.record);
    }
    report.AppendReport(*side);
}

void WriteBartlett(ResultsReport& report, const OneWayAnovaResult& result) {
    report.NewLine();
    report.NewLine();
    WriteUnderlinedLine(report,
                        "Assumption test: Are the standard deviations of the groups equal?");
    report.NewLine();
    report.WriteLine("ANOVA assumes that the data are sampled from populations with identical");
    report.WriteLine("SDs. This assumption is tested using the method of Bartlett.");
    report.NewLine();
    const BartlettResult& b = result.bartlett;
    if (IsMissingValue(b.statistic)) {
        report.WriteLine("Bartlett's test cannot be performed because at least one column's");
        report.WriteLine("standard deviation is zero.");
    } else if (!result.bartlettAllowed) {
        report.WriteLine("Bartlett's test can only be performed when every column has");
        report.WriteLine("at least five values.");
    } else {
        report.Write("Bartlett statistic (corrected) = ");
        WriteNumber(report, b.statistic, -5);
        report.NewLine();
        WritePValueSentence(report, 0, false, b.p);
        report.WriteLine("Bartlett's test suggests that the differences among the SDs is");
        WriteSignificanceWord(report, b.p);
        report.WriteLine("significant.");
        if (b.p < 0.05L) {
            report.WriteLine("Since ANOVA assumes populations with equal SDs, you should consider");
            report.WriteLine("transforming your data (reciprocal or log) or selecting a");
            report.WriteLine("nonparametric test.");
        }
    }
}

void WriteNormality(ResultsReport& report, const std::vector<AnalysedColumn>& columns) {
    report.NewLine();
    report.NewLine();
    WriteUnderlinedLine(report,
                        "Assumption test: Are the data sampled from Gaussian distributions?");
    report.NewLine();
    report.WriteLine("ANOVA assumes that the data are sampled from populations that follow ");
    report.WriteLine("Gaussian distributions. This assumption is tested using the method ");
    report.WriteLine("Kolmogorov and Smirnov:");
    WriteNormalityHeading(report);
    bool anyFailed = false;
    for (const AnalysedColumn& column : columns) {
        const ColumnRecord& r = column.record;
        WriteNormalityRow(report, r.title, r.n, column.raw, r.ks, r.ksp, r.passed);
        if (r.ksp <= 0.05L) anyFailed = true;
    }
    if (anyFailed) {
        report.NewLine();
        report.WriteLine("At least one column failed the normality test with P<0.05.");
        report.WriteLine("Consider using a nonparametric test or transforming the data");
        report.WriteLine("(i.e. converting to logarithms or reciprocals). ");
    }
}

void WriteColumnsJson(JsonWriter& json, const std::vector<AnalysedColumn>& columns) {
    json.Key("groups").BeginArray();
    for (const AnalysedColumn& column : columns) {
        const ColumnRecord& r = column.record;
        json.BeginObject();
        json.Field("title", r.title);
        json.Field("column", static_cast<std::int32_t>(column.dataColumn));
        json.Field("raw", column.raw);
        json.Field("n", r.n);
        json.Field("mean", r.mean);
        json.Field("sd", r.sd);
        json.Field("sem", r.sem);
        json.Field("normalityP", r.ksp);
        json.EndObject();
    }
    json.EndArray();
}

void WritePostTestJsonField(JsonWriter& json, bool ran, bool skipped, const PostTestBasis& basis,
                            const PostTestResult& post) {
    json.Field("postTestSkippedPAbove05", skipped);
    json.Key("postTest");
    if (ran) {
        WritePostTestJson(json, basis, post);
    } else {
        json.Null();
    }
}

}  // namespace

void WriteCentredHeading(ResultsReport& report, std::string_view text) {
    // The whole centred field is underlined, its blanks included, as in every report.
    report.ToggleEmphasis2();
    report.Write(ResultsReport::Centre(text, HeadingField));
    report.ToggleEmphasis2();
    report.NewLine();
}

void WriteOneWayHeading(ResultsReport& report) {
    report.NewLine();
    WriteCentredHeading(report, "One-way Analysis of Variance (ANOVA)");
}

void WriteOneWayBody(ResultsReport& report, const OneWayAnovaResult& result) {
    const OneWaySums& s = result.sums;
    report.NewLine();
    if (s.msResidual == 0) {
        report.WriteLine(
            "The standard deviation of each column is zero.  In this situation, which");
        report.WriteLine(
            "is unlikely to occur with experimental data, it is impossible to calculate");
        report.WriteLine("ANOVA.");
    } else {
        WriteVerdict(report, s.k == 2 ? 2 : 0, s.p);
    }
    if (s.k == 2) {
        report.WriteLine("Because there are only two columns, this ANOVA is identical to");
        report.WriteLine("an unpaired two tailed t test.");
        report.NewLine();
    }
    if (result.postTestRan) WritePostTest(report, result.postTestBasis, result.postTest);
    if (result.postTestSkipped) WritePostTestsNotCalculated(report);

    WriteBartlett(report, result);
    WriteNormality(report, result.columns);

    report.NewLine();
    WriteUnderlinedLine(report, "Intermediate calculations. ANOVA table");
    report.NewLine();
    WriteAnovaHeading(report, OneWayAnova);
    WriteAnovaRow(report, OneWayAnova, TreatmentsSource, s.dfTreatment, s.ssTreatment,
                  s.msTreatment);
    WriteAnovaRow(report, OneWayAnova, ResidualsSource, s.dfResidual, s.ssResidual, s.msResidual);
    WriteAnovaTotalRow(report, OneWayAnova, s.dfTotal, s.ssTotal);
    report.NewLine();
    if (!IsMissingValue(s.f)) {
        report.Write("F = ");
        WriteNumber(report, s.f, -5);
        report.WriteLine("  =(MStreatment/MSresidual) ");
    }

    report.NewLine();
    report.NewLine();
    report.NewLine();
    WriteSummaryOfData(report, result.columns);
}

void WriteRepeatedMeasuresHeading(ResultsReport& report) {
    report.NewLine();
    WriteCentredHeading(report, "Repeated Measures Analysis of Variance");
}

void WriteRepeatedMeasuresBody(ResultsReport& report, const RepeatedMeasuresResult& result) {
    const RepeatedMeasuresSums& s = result.sums;
    const bool scatter = s.msResidual != 0;
    report.NewLine();
    if (!scatter) {
        report.WriteLine("After accounting for systematic variation between columns and rows,");
        report.WriteLine(
            "there is no random scatter.  In this situation, which is unlikely to occur");
        report.WriteLine("with real experimental data, it is impossible to calculate ANOVA.");
    } else {
        WriteVerdict(report, 0, s.p);
    }
    if (result.postTestRan) WritePostTest(report, result.postTestBasis, result.postTest);
    if (result.postTestSkipped) {
        report.NewLine();
        WritePostTestsNotCalculated(report);
    }

    report.NewLine();
    WriteUnderlinedLine(report, "Intermediate calculations. ANOVA Table:");
    report.NewLine();
    WriteAnovaHeading(report, RepeatedMeasuresAnova);
    WriteAnovaRow(report, RepeatedMeasuresAnova, TreatmentSource, s.dfTreatment, s.ssTreatment,
                  s.msTreatment);
    WriteAnovaRow(report, RepeatedMeasuresAnova, IndividualSource, s.dfIndividual, s.ssIndividual,
                  s.msIndividual);
    WriteAnovaRow(report, RepeatedMeasuresAnova, RandomSource, s.dfResidual, s.ssResidual,
                  s.msResidual);
    WriteAnovaTotalRow(report, RepeatedMeasuresAnova, s.dfTotal, s.ssTotal);
    report.NewLine();
    if (scatter) {
        report.Write("F = ");
        WriteNumber(report, s.f, -5);
        report.WriteLine("  =MStreatment/MSresidual");

        report.NewLine();
        WriteUnderlinedLine(report, "Assumption test: Was the matching effective?");
        report.WriteLine("This test uses a second value of F and a different P value.");
        report.Write("F = ");
        WriteNumber(report, s.fMatching, -5);
        report.WriteLine("   =(MSindividual/MSresidual)");
        report.NewLine();
        WritePValueSentence(report, 0, true, s.pMatching);
        report.WriteLine("Effective matching (or blocking) results in significant variation among");
        report.Write("means.  With these data, the matching appears ");
        if (s.pMatching > 0.05L) {
            report.WriteLine("not to be effective.");
            report.WriteLine("Ordinary ANOVA may be more appropriate.");
        } else {
            report.WriteLine("to be effective.");
        }
    }

    report.NewLine();
    WriteSummaryOfData(report, result.columns);
}

std::string OneWayAnovaJson(const OneWayAnovaResult& result) {
    const OneWaySums& s = result.sums;
    JsonWriter json;
    json.BeginObject();
    json.Field("analysis", "one-way ANOVA");
    WriteColumnsJson(json, result.columns);
    json.Field("k", s.k);
    json.Field("nTotal", s.nTotal);
    json.Field("grandMean", s.grandMean);
    json.Field("dfTreatment", s.dfTreatment);
    json.Field("dfResidual", s.dfResidual);
    json.Field("dfTotal", s.dfTotal);
    json.Field("ssTreatment", s.ssTreatment);
    json.Field("ssResidual", s.ssResidual);
    json.Field("ssTotal", s.ssTotal);
    json.Field("msTreatment", s.msTreatment);
    json.Field("msResidual", s.msResidual);
    json.Field("f", s.f);
    json.Field("p", s.p);
    json.Field("pMethod", "F distribution");
    json.Key("bartlett").BeginObject();
    json.Field("performed", result.bartlettAllowed && !IsMissingValue(result.bartlett.statistic));
    json.Field("zeroSD", result.bartlett.zeroSD);
    json.Field("fewerThanFiveValues", !result.bartlettAllowed);
    json.Field("statistic", result.bartlett.statistic);
    json.Field("df", result.bartlett.df);
    json.Field("p", result.bartlett.p);
    json.Field("pMethod", "chi-square distribution");
    json.EndObject();
    WritePostTestJsonField(json, result.postTestRan, result.postTestSkipped, result.postTestBasis,
                           result.postTest);
    json.EndObject();
    return json.Text();
}

std::string RepeatedMeasuresJson(const RepeatedMeasuresResult& result) {
    const RepeatedMeasuresSums& s = result.sums;
    JsonWriter json;
    json.BeginObject();
    json.Field("analysis", "repeated-measures ANOVA");
    WriteColumnsJson(json, result.columns);
    json.Field("rows", s.rows);
    json.Field("columns", s.columns);
    json.Field("grandMean", s.grandMean);
    json.Field("dfTreatment", s.dfTreatment);
    json.Field("dfIndividual", s.dfIndividual);
    json.Field("dfResidual", s.dfResidual);
    json.Field("dfTotal", s.dfTotal);
    json.Field("ssTreatment", s.ssTreatment);
    json.Field("ssIndividual", s.ssIndividual);
    json.Field("ssResidual", s.ssResidual);
    json.Field("ssTotal", s.ssTotal);
    json.Field("msTreatment", s.msTreatment);
    json.Field("msIndividual", s.msIndividual);
    json.Field("msResidual", s.msResidual);
    json.Field("f", s.f);
    json.Field("p", s.p);
    json.Field("fMatching", s.fMatching);
    json.Field("pMatching", s.pMatching);
    json.Field("pMethod", "F distribution");
    WritePostTestJsonField(json, result.postTestRan, result.postTestSkipped, result.postTestBasis,
                           result.postTest);
    json.EndObject();
    return json.Text();
}

}  // namespace zelkon
