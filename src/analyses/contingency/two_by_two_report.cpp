// The report of the two-by-two table.
#include "analyses/contingency/two_by_two_report.h"

#include <string_view>

#include "core/json_writer.h"
#include "report/contingency_tables.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

constexpr int HeadingWidth = 65;
constexpr int Digits = -5;
constexpr Extended Significance = 0.05L;

// Tab stops of the sensitivity table: value, lower bound, "to", upper bound.
constexpr int ValueTab = 30;
constexpr int LowerTab = 40;
constexpr int ToTab = 48;
constexpr int UpperTab = 52;

void CentredHeading(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis2();
    report.Write(ResultsReport::Centre(text, HeadingWidth));
    report.ToggleEmphasis2();
    report.NewLine();
}

void UnderlinedLine(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis2();
    report.Write(text);
    report.ToggleEmphasis2();
    report.NewLine();
}

void BoldLine(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis1();
    report.Write(text);
    report.ToggleEmphasis1();
    report.NewLine();
}

void WriteNumberInterval(ResultsReport& report, Extended lower, Extended upper) {
    WriteNumber(report, lower, Digits);
    report.Write(" to ");
    WriteNumber(report, upper, Digits);
}

void WriteRatioInterval(ResultsReport& report, Extended lower, Extended upper) {
    WriteRatioValue(report, lower);
    report.Write(" to ");
    WriteRatioValue(report, upper);
}

// The P the sentences state: the two-tailed P, or its half for a one-sided report.
Extended StatedChiSquareP(const TwoByTwoResult& r, Extended pTwoTailed) {
    return r.twoSided ? pTwoTailed : pTwoTailed / 2;
}

void WriteAssociationVerdict(ResultsReport& report, Extended p) {
    report.Write("The row/column association is ");
    if (p > Significance) report.Write("not ");
    report.WriteLine("statistically significant.");
}

void WriteMcNemar(ResultsReport& report, const TwoByTwoResult& r) {
    const McNemarResult& m = r.mcnemar;
    report.Write("McNemar chi square ");
    if (m.yates) report.Write("(with Yates correction) ");
    report.Write("= ");
    WriteNumber(report, m.chiSquare, Digits);
    report.NewLine();
    const Extended p = StatedChiSquareP(r, m.pTwoTailed);
    WriteSidedPValueSentence(report, r.twoSided ? 2 : 1, true, p);
    report.Write("There is ");
    if (p > Significance) report.Write("not ");
    report.WriteLine("a significant association between rows and columns.");
    report.NewLine();
    report.Write("McNemar odds ratio = ");
    WriteRatioValue(report, m.oddsRatio.value);
    report.NewLine();
    report.Write("95% confidence interval for the odds ratio = ");
    WriteRatioInterval(report, m.oddsRatio.lower, m.oddsRatio.upper);
    report.NewLine();
}

void WriteFisher(ResultsReport& report, const TwoByTwoResult& r) {
    if (r.fisherReplaced) {
        report.WriteLine("The numbers are too large for Fisher's exact test.  The");
        report.WriteLine("chi-square approximation was performed instead.");
        report.NewLine();
        return;
    }
    const Extended p = r.twoSided ? r.fisher.twoTailedP : r.fisher.oneTailedP;
    WriteSidedPValueSentence(report, r.twoSided ? 2 : 1, true, p);
    WriteAssociationVerdict(report, p);
}

void WriteChiSquare(ResultsReport& report, const TwoByTwoResult& r) {
    const TwoByTwoChiSquare& x = r.chiSquare;
    const Extended p = StatedChiSquareP(r, x.pTwoTailed);
    WriteSidedPValueSentence(report, r.twoSided ? 2 : 1, true, p);
    WriteAssociationVerdict(report, p);
    if (x.smallValues) {
        report.NewLine();
        report.WriteLine("Note: With such small values, the chi-square P value");
        report.WriteLine("is not accurate.  Use Fisher's exact test instead.");
    }
    report.NewLine();
    UnderlinedLine(report, "Calculation details:");
    report.Write("Chi-square statistic ");
    report.Write(x.yates ? "(with Yates correction) " : "(no Yates correction) ");
    report.Write("= ");
    WriteNumber(report, x.chiSquare, Digits);
    report.NewLine();
    report.WriteLine("Degrees of freedom = 1");
}

void WriteRelativeRisk(ResultsReport& report, const RatioWithInterval& rr) {
    report.NewLine();
    UnderlinedLine(report, "Relative Risk");
    report.Write("Relative risk = ");
    WriteRatioValue(report, rr.value);
    report.NewLine();
    report.Write("95% Confidence Interval: ");
    WriteRatioInterval(report, rr.lower, rr.upper);
    report.NewLine();
    report.WriteLine("(using the approximation of Katz.)");
}

void WriteOddsRatio(ResultsReport& report, const RatioWithInterval& odds, bool corrected) {
    report.NewLine();
    UnderlinedLine(report, "Odds Ratio");
    report.Write("Odds ratio= ");
    WriteRatioValue(report, odds.value);
    report.NewLine();
    report.Write("95% Confidence Interval: ");
    WriteRatioInterval(report, odds.lower, odds.upper);
    report.NewLine();
    report.WriteLine("(using the approximation of Woolf.)");
    if (corrected) {
        report.WriteLine("Note that at least one value is zero.  To make calculations possible,");
        report.WriteLine("0.5 was added to each value.");
    }
}

void WriteFraction(ResultsReport& report, std::string_view rowWord, const std::string& title,
                   Extended fraction, bool intervalShown, const ProportionInterval& interval) {
    report.ToggleEmphasis1();
    report.Write(rowWord);
    report.Write(title);
    report.Write("):");
    report.ToggleEmphasis1();
    report.NewLine();
    report.Write("  Fraction in the left column: ");
    WriteNumber(report, fraction, Digits);
    report.NewLine();
    if (intervalShown) {
        report.Write("  95% Confidence Interval of that fraction: ");
        WriteNumberInterval(report, interval.lower, interval.upper);
        report.NewLine();
    }
}

void WriteDifference(ResultsReport& report, const TwoByTwoResult& r) {
    const ProportionDifference& pd = r.difference;
    report.NewLine();
    UnderlinedLine(report, "Difference between the two proportions");
    WriteFraction(report, "Top row (", r.row1, pd.p1, pd.p1IntervalShown, pd.p1Interval);
    WriteFraction(report, "Bottom row (", r.row2, pd.p2, pd.p2IntervalShown, pd.p2Interval);
    BoldLine(report, "Difference:");
    report.Write("  Difference between the fractions: ");
    WriteNumber(report, pd.difference, Digits);
    report.NewLine();
    if (pd.standardErrorShown) {
        report.Write("  Standard error of the difference: ");
        WriteNumber(report, pd.standardError, Digits);
        report.NewLine();
        report.Write("  95% confidence interval of difference: ");
        WriteNumberInterval(report, pd.lower, pd.upper);
        report.NewLine();
    } else {
        report.NewLine();
        report.WriteLine(
            "The standard error and the confidence interval of the difference between");
        report.WriteLine("proportions can only be calculated when each cell is greater than five.");
    }
}

void WriteDiagnosticRow(ResultsReport& report, std::string_view name, Extended value,
                        const ProportionInterval& interval) {
    report.Write(name);
    report.NextTab();
    WriteNumber(report, value, Digits);
    report.NextTab();
    WriteNumber(report, interval.lower, Digits);
    report.NextTab();
    report.Write("to");
    report.NextTab();
    WriteNumber(report, interval.upper, Digits);
    report.NewLine();
}

void WriteDiagnostic(ResultsReport& report, const DiagnosticValues& v) {
    report.NewLine();
    UnderlinedLine(report, "Sensitivity and specificity");
    report.ClearTabs();
    for (const int tab : {ValueTab, LowerTab, ToTab, UpperTab}) report.AddTab(tab);
    report.Write("Variable");
    report.NextTab();
    report.Write("Value");
    report.NextTab();
    report.Write("95% Confidence Interval");
    report.NewLine();
    WriteDiagnosticRow(report, "Sensitivity", v.sensitivity, v.sensitivityInterval);
    WriteDiagnosticRow(report, "Specificity", v.specificity, v.specificityInterval);
    WriteDiagnosticRow(report, "Positive Predictive Value", v.positivePredictive,
                       v.positivePredictiveInterval);
    WriteDiagnosticRow(report, "Negative Predictive Value", v.negativePredictive,
                       v.negativePredictiveInterval);
    report.Write("Likelihood Ratio");
    report.NextTab();
    WriteRatioValue(report, v.likelihoodRatio);
    report.NewLine();
    report.ClearTabs();
}

void WriteDataAnalyzed(ResultsReport& report, const TwoByTwoResult& r) {
    report.NewLine();
    UnderlinedLine(report, "Data analyzed");
    TwoByTwoRecord table;
    table.a = r.a;
    table.b = r.b;
    table.c = r.c;
    table.d = r.d;
    table.column1Title = r.column1;
    table.column2Title = r.column2;
    table.row1Title = r.row1;
    table.row2Title = r.row2;
    // The paired table marks its discordant cells B and C, the ones McNemar's test uses.
    WriteTwoByTwoTable(report, table, !r.paired);
    report.NewLine();
}

void WriteInterval(JsonWriter& json, std::string_view key, const ProportionInterval& i) {
    json.Key(key).BeginObject().Field("lower", i.lower).Field("upper", i.upper).EndObject();
}

void WriteRatio(JsonWriter& json, std::string_view key, const RatioWithInterval& r) {
    // The undefined lower bound (-MissingValue) is null like every other missing value.
    const Extended lower = r.lower == -MissingValue ? MissingValue : r.lower;
    json.Key(key)
        .BeginObject()
        .Field("value", r.value)
        .Field("lower", lower)
        .Field("upper", r.upper)
        .EndObject();
}

}  // namespace

void WriteTwoByTwoReport(ResultsReport& report, const TwoByTwoResult& r) {
    if (r.paired) {
        CentredHeading(report, "McNemar's Paired Test");
        WriteMcNemar(report, r);
        WriteDataAnalyzed(report, r);
        return;
    }
    if (r.fisherChosen) {
        CentredHeading(report, "Fisher's Exact Test");
    } else if (r.chiSquareDone) {
        CentredHeading(report, "Chi-square Test");
    }
    if (r.fisherChosen) WriteFisher(report, r);
    if (r.chiSquareDone) WriteChiSquare(report, r);
    if (r.relativeRiskDone) WriteRelativeRisk(report, r.relativeRisk);
    if (r.oddsRatioDone) WriteOddsRatio(report, r.oddsRatio, r.oddsRatioCorrected);
    if (r.differenceDone) WriteDifference(report, r);
    if (r.diagnosticDone) WriteDiagnostic(report, r.diagnostic);
    WriteDataAnalyzed(report, r);
}

std::string TwoByTwoResultJson(const TwoByTwoResult& r) {
    JsonWriter json;
    json.BeginObject().Field("analysis", "two-by-two table").Field("errorCode", r.errorCode);
    json.Key("counts").BeginArray().Number(r.a).Number(r.b).Number(r.c).Number(r.d).EndArray();
    json.Field("paired", r.paired).Field("twoSided", r.twoSided);
    if (r.errorCode == 0 && r.paired) {
        json.Key("mcnemar")
            .BeginObject()
            .Field("yates", r.mcnemar.yates)
            .Field("chiSquare", r.mcnemar.chiSquare)
            .Field("df", std::int32_t{1})
            .Field("pTwoTailed", r.mcnemar.pTwoTailed)
            .Field("pMethod", "approximate: chi-square distribution");
        WriteRatio(json, "oddsRatio", r.mcnemar.oddsRatio);
        json.EndObject();
    }
    if (r.errorCode == 0 && r.fisherChosen) {
        json.Key("fisher").BeginObject().Field("done", !r.fisherReplaced);
        if (r.fisherReplaced) {
            json.Field("reason", "N above 2000: chi-square test instead");
        } else {
            json.Field("oneTailedP", r.fisher.oneTailedP)
                .Field("twoTailedP", r.fisher.twoTailedP)
                .Field("pMethod", "exact")
                .Field("twoTailedDoubled", r.fisher.doubled)
                .Field("twoTailedCappedAtOne", r.fisher.capped);
        }
        json.EndObject();
    }
    if (r.errorCode == 0 && r.chiSquareDone) {
        json.Key("chiSquare")
            .BeginObject()
            .Field("yates", r.chiSquare.yates)
            .Field("chiSquare", r.chiSquare.chiSquare)
            .Field("df", std::int32_t{1})
            .Field("pTwoTailed", r.chiSquare.pTwoTailed)
            .Field("pOneTailed", r.chiSquare.pTwoTailed / 2)
            .Field("pMethod", "approximate: chi-square distribution")
            .Field("smallValues", r.chiSquare.smallValues)
            .EndObject();
    }
    if (r.errorCode == 0 && r.relativeRiskDone) WriteRatio(json, "relativeRisk", r.relativeRisk);
    if (r.errorCode == 0 && r.oddsRatioDone) {
        WriteRatio(json, "oddsRatio", r.oddsRatio);
        json.Field("oddsRatioHalfAdded", r.oddsRatioCorrected);
    }
    if (r.errorCode == 0 && r.differenceDone) {
        const ProportionDifference& pd = r.difference;
        json.Key("difference").BeginObject().Field("p1", pd.p1).Field("p2", pd.p2);
        if (pd.p1IntervalShown) WriteInterval(json, "p1Interval", pd.p1Interval);
        if (pd.p2IntervalShown) WriteInterval(json, "p2Interval", pd.p2Interval);
        json.Field("difference", pd.difference)
            .Field("standardError", pd.standardError)
            .Field("lower", pd.lower)
            .Field("upper", pd.upper)
            .Field("standardErrorShown", pd.standardErrorShown)
            .EndObject();
    }
    if (r.errorCode == 0 && r.diagnosticDone) {
        const DiagnosticValues& v = r.diagnostic;
        json.Key("diagnostic").BeginObject().Field("sensitivity", v.sensitivity);
        WriteInterval(json, "sensitivityInterval", v.sensitivityInterval);
        json.Field("specificity", v.specificity);
        WriteInterval(json, "specificityInterval", v.specificityInterval);
        json.Field("positivePredictiveValue", v.positivePredictive);
        WriteInterval(json, "positivePredictiveInterval", v.positivePredictiveInterval);
        json.Field("negativePredictiveValue", v.negativePredictive);
        WriteInterval(json, "negativePredictiveInterval", v.negativePredictiveInterval);
        json.Field("likelihoodRatio", v.likelihoodRatio).EndObject();
    }
    json.EndObject();
    return json.Text();
}

void RunTwoByTwoAnalysis(const TwoByTwoRequest& request, AnalysisOutput& out) {
    out.helpTopic = TwoByTwoHelpTopic;
    const TwoByTwoResult result = ComputeTwoByTwo(request);
    if (result.errorCode != 0) {
        out.errorCode = result.errorCode;
        return;
    }
    WriteTwoByTwoReport(out.report, result);
    out.resultJson = TwoByTwoResultJson(result);
}

}  // namespace zelkon
