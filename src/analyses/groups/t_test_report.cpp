// The reports of the one-sample, paired, unpaired and Welch t tests: the P value sentence,
// t and its degrees of freedom, the confidence interval of the difference, the F test of
// equal SDs, the pairing and normality checks and the summary of data; and the result
// structs as JSON.
#include "analyses/groups/t_test_report.h"

#include <array>
#include <span>
#include <vector>

#include "core/json_writer.h"
#include "report/summary_tables.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

constexpr int TitleField = 65;
constexpr int Digits = -5;  // five significant digits

void EmphasisedLine(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis2();
    report.Write(text);
    report.ToggleEmphasis2();
    report.NewLine();
}

void CentredTitle(ResultsReport& report, std::string_view text) {
    EmphasisedLine(report, ResultsReport::Centre(text, TitleField));
}

void WriteLines(ResultsReport& report, std::span<const std::string_view> lines) {
    for (std::string_view line : lines) report.WriteLine(line);
}

void WritePValue(ResultsReport& report, bool twoTailed, Extended p) {
    WritePValueSentence(report, twoTailed ? 2 : 1, true, p);
}

void WriteTLine(ResultsReport& report, std::string_view opening, Extended t, std::int32_t df) {
    report.Write(opening);
    WriteNumber(report, t, Digits);
    report.Write(" with ");
    report.WriteInteger(df);
    report.WriteLine(" degrees of freedom.");
}

constexpr std::array<std::string_view, 3> FailedNormalityLines = {
    "The data failed the normality test with P<0.05.",
    "Consider using a nonparametric test or transforming the data ",
    "(i.e. converting to logarithms or reciprocals). ",
};

constexpr std::array<std::string_view, 3> OneSampleNormalityLines = {
    "The one sample t test assumes that the differences are sampled from a ",
    "Gaussian distribution. This assumption is tested using the ",
    "method of Kolmogorov and Smirnov:",
};

constexpr std::array<std::string_view, 3> PairedNormalityLines = {
    "The paired t test assumes that the differences are sampled from a ",
    "Gaussian distribution. This assumption is tested using the ",
    "method of Kolmogorov and Smirnov:",
};

constexpr std::array<std::string_view, 3> UnpairedNormalityLines = {
    "The t test assumes that the data are sampled from populations that follow ",
    "Gaussian distributions. This assumption is tested using the method ",
    "Kolmogorov and Smirnov:",
};

constexpr std::array<std::string_view, 3> ColumnFailedNormalityLines = {
    "At least one column failed the normality test with P<0.05.",
    "Consider using a nonparametric test or transforming the data ",
    "(i.e. converting to logarithms or reciprocals). ",
};

// Paired test ---------------------------------------------------------------------------

void WritePairingCheck(const TTestResult& r, ResultsReport& report) {
    EmphasisedLine(report, "Assumption test: Was the pairing effective?");
    if (r.pairing == PairingCheck::TooFewPairs) {
        report.WriteLine("There are too few pairs to calculate r.");
    } else if (r.pairing == PairingCheck::NoVariability) {
        report.WriteLine("Can't calculate r. One group has no variability.");
    } else {
        report.Write("Correlation coefficient (r) = ");
        WriteNumber(report, r.pairingR, Digits);
        report.NewLine();
        if (r.pairingR < 0) {
            report.WriteLine("The negative correlation coefficient indicates that the pairing or");
            report.WriteLine("matching was NOT effective.");
        } else {
            // The sentence shows the one-tailed P; the verdict below uses the two-tailed one.
            WritePValueSentence(report, 1, true, r.pairingP / 2);
            report.WriteLine(
                "Effective pairing results in a significant correlation between the columns.");
            report.Write("With these data, the pairing (or matching) appears ");
            if (r.pairingP <= 0.05L) {
                report.WriteLine("to be effective.");
            } else {
                report.WriteLine("not to be effective.");
                report.WriteLine("The unpaired test may be more appropriate.");
            }
        }
    }
    report.NewLine();
    EmphasisedLine(report,
                   "Assumption test: Are the differences sampled from a Gaussian distribution?");
    WriteLines(report, PairedNormalityLines);
    WriteNormalityBlock(report, r.differencesNormality);
    report.NewLine();
}

// Unpaired test -------------------------------------------------------------------------

void WriteFTest(const TTestResult& r, ResultsReport& report) {
    EmphasisedLine(report, "Assumption test: Are the standard deviations equal?");
    report.WriteLine("The t test assumes that the columns come from populations with equal SDs.");
    report.WriteLine("The following calculations test that assumption.");
    report.NewLine();
    report.Write("F = ");
    WriteNumber(report, r.fTest.f, Digits);
    report.NewLine();
    WritePValueSentence(report, 0, false, r.fTest.p);
    report.WriteLine("This test suggests that the difference between the two SDs is");
    WriteSignificanceWord(report, r.fTest.p);
    report.Write("significant.  ");
    if (r.fTest.p < 0.05L) {
        report.WriteLine("Since the t test assumes populations with equal");
        report.WriteLine("SDs, you should consider transforming your data (reciprocal or log),");
        report.WriteLine("selecting a nonparametric test, or selecting the alternate (Welch) t test.");
    } else {
        report.NewLine();
    }
}

void WriteNormalityTable(const TTestResult& r, ResultsReport& report) {
    report.NewLine();
    EmphasisedLine(report, "Assumption test: Are the data sampled from Gaussian distributions?");
    WriteLines(report, UnpairedNormalityLines);
    WriteNormalityHeading(report);
    WriteNormalityRow(report, r.first.title, r.first.n, r.firstRaw, r.firstNormality.ks,
                      r.firstNormality.ksp, PassesNormality(r.firstNormality.ksp));
    WriteNormalityRow(report, r.second.title, r.second.n, r.secondRaw, r.secondNormality.ks,
                      r.secondNormality.ksp, PassesNormality(r.secondNormality.ksp));
    if (r.normalityFailed) {
        report.NewLine();
        WriteLines(report, ColumnFailedNormalityLines);
    }
    report.NewLine();
}

// JSON ----------------------------------------------------------------------------------

void SummaryJson(JsonWriter& w, std::string_view key, const ColumnRecord& s) {
    w.Key(key).BeginObject();
    w.Field("title", std::string_view(s.title)).Field("n", s.n).Field("mean", s.mean);
    w.Field("sd", s.sd).Field("sem", s.sem).Field("minimum", s.minimum);
    w.Field("maximum", s.maximum).Field("median", s.median);
    w.Field("lower95", s.lower95).Field("upper95", s.upper95);
    w.EndObject();
}

void NormalityJson(JsonWriter& w, std::string_view key, const NormalityResult& n) {
    w.Key(key).BeginObject().Field("ks", n.ks).Field("p", n.ksp).EndObject();
}

std::string_view KindName(TTestKind kind) {
    switch (kind) {
        case TTestKind::Paired:
            return "paired t test";
        case TTestKind::Unpaired:
            return "unpaired t test";
        case TTestKind::Welch:
            return "unpaired t test with Welch correction";
    }
    return "";
}

std::string_view PairingName(PairingCheck check) {
    switch (check) {
        case PairingCheck::NotRun:
            return "not run";
        case PairingCheck::TooFewPairs:
            return "too few pairs";
        case PairingCheck::NoVariability:
            return "no variability";
        case PairingCheck::Computed:
            return "computed";
    }
    return "";
}

}  // namespace

void WriteNormalityBlock(ResultsReport& report, const NormalityResult& normality) {
    report.Write("   The Kolmogorov-Smirnov distance (KS) is ");
    WriteNumberWidth(report, normality.ks, 6, 2);
    report.NewLine();
    report.Write("   The P value is ");
    const Extended p = normality.ksp;
    if (p > 0.10L) {
        report.Write(">0.10");
    } else if (p < 0.0001L) {
        report.Write("<0.0001");
    } else {
        WriteNumber(report, p, 4);
    }
    report.NewLine();
    if (p < 0.05L) {
        WriteLines(report, FailedNormalityLines);
    } else {
        report.WriteLine("The data passed the normality test with P>0.05.");
    }
}

void WriteOneSampleTTestReport(const OneSampleTTestResult& r, ResultsReport& report) {
    const std::string& title = r.summary.title;
    report.NewLine();
    CentredTitle(report, "One sample t test");
    report.Write("Does the mean of ");
    report.Write(title);
    report.Write(" differ significantly from ");
    WriteNumber(report, r.hypotheticalValue, Digits);
    report.WriteLine("? ");

    report.NewLine();
    EmphasisedLine(report, "P value");
    WritePValue(report, r.twoTailed, r.p);
    report.NewLine();
    WriteTLine(report, "t = ", r.t, r.df);

    report.NewLine();
    EmphasisedLine(report, "95% Confidence interval");
    report.Write("Mean difference = ");
    WriteNumber(report, r.difference, Digits);
    report.Write(" (Mean of ");
    report.Write(title);
    report.Write(" minus ");
    WriteNumber(report, r.hypotheticalValue, Digits);
    report.WriteLine(") ");
    report.WriteLine("The 95% confidence interval of the difference:");
    report.Write("   ");
    WriteNumber(report, r.lower, Digits);
    report.Write(" to ");
    WriteNumber(report, r.upper, Digits);
    report.NewLine();
    report.NewLine();

    if (r.rawColumn) {
        EmphasisedLine(report,
                       "Assumption test: Are the data sampled from a Gaussian distribution?");
        WriteLines(report, OneSampleNormalityLines);
        WriteNormalityBlock(report, r.normality);
    }
    report.NewLine();
    report.NewLine();

    CentredTitle(report, "Summary of Data");
    WriteParameterList(report, std::span<const ColumnRecord>(&r.summary, 1));
}

void WriteTTestReport(const TTestResult& r, ResultsReport& report) {
    const bool paired = r.kind == TTestKind::Paired;
    const bool welch = r.kind == TTestKind::Welch;
    CentredTitle(report, welch    ? "Unpaired t test with Welch correction"
                         : paired ? "Paired t test"
                                  : "Unpaired t test");
    if (paired) {
        report.Write("Does the mean of the differences between ");
        report.Write(r.first.title);
        report.Write(" and ");
        report.Write(r.second.title);
        report.NewLine();
        report.WriteLine(" differ significantly from zero?");
    } else {
        report.Write("Do the means of ");
        report.Write(r.first.title);
        report.Write(" and ");
        report.Write(r.second.title);
        report.WriteLine(" differ significantly?");
    }

    report.NewLine();
    EmphasisedLine(report, "P value");
    if (r.performed) {
        WritePValue(report, r.twoTailed, r.p);
        if (welch) {
            report.WriteLine("Welch correction applied. This test does not assume equal variances.");
        }
        // Without a t value (differences all equal) the t line is left out.
        report.NewLine();
        WriteTLine(report, welch ? "Welch's approximate t = " : "t = ", r.t, r.df);
    }

    report.NewLine();
    EmphasisedLine(report, "95% confidence interval");
    report.Write("Mean difference = ");
    WriteNumber(report, r.difference, Digits);
    if (paired) {
        report.WriteLine(" (Mean of paired differences)");
    } else {
        report.Write(" (Mean of ");
        report.Write(r.second.title);
        report.Write(" minus mean of ");
        report.Write(r.first.title);
        report.WriteLine(") ");
    }

    if (!r.performed) {
        report.NewLine();
        report.WriteLine("The t test cannot be performed when the standard deviation");
        report.WriteLine("is zero. ");
    } else {
        report.Write("The 95% confidence interval of the difference: ");
        WriteNumber(report, r.lower, Digits);
        report.Write(" to ");
        WriteNumber(report, r.upper, Digits);
        report.NewLine();
        report.NewLine();
        report.NewLine();
        if (r.kind == TTestKind::Unpaired) WriteFTest(r, report);
        if (paired) WritePairingCheck(r, report);
    }
    if (!paired) WriteNormalityTable(r, report);

    CentredTitle(report, "Summary of Data");
    std::vector<ColumnRecord> records = {r.first, r.second};
    if (paired) records.push_back(r.differences);
    WriteParameterList(report, records);
}

std::string OneSampleTTestJson(const OneSampleTTestResult& r) {
    JsonWriter w;
    w.BeginObject().Field("test", "one sample t test").Field("errorCode", r.errorCode);
    w.Field("twoTailed", r.twoTailed).Field("rawColumn", r.rawColumn);
    SummaryJson(w, "summary", r.summary);
    w.Field("hypotheticalValue", r.hypotheticalValue).Field("df", r.df);
    w.Field("difference", r.difference).Field("standardError", r.standardError);
    w.Field("t", r.t).Field("tCritical", r.tCritical);
    w.Field("lower95", r.lower).Field("upper95", r.upper);
    w.Field("pTwoTailed", r.pTwoTailed).Field("p", r.p);
    w.Field("pSource", "t distribution");
    NormalityJson(w, "normality", r.normality);
    w.EndObject();
    return w.Text();
}

std::string TTestJson(const TTestResult& r) {
    JsonWriter w;
    w.BeginObject().Field("test", KindName(r.kind)).Field("errorCode", r.errorCode);
    w.Field("twoTailed", r.twoTailed);
    SummaryJson(w, "first", r.first);
    SummaryJson(w, "second", r.second);
    w.Field("firstRaw", r.firstRaw).Field("secondRaw", r.secondRaw);
    if (r.kind == TTestKind::Paired) {
        SummaryJson(w, "differences", r.differences);
        w.Field("pairs", r.pairs).Field("performed", r.performed);
    }
    w.Field("df", r.df);
    if (r.kind == TTestKind::Welch) w.Field("welchDf", r.welchDf);
    w.Field("difference", r.difference);
    if (r.kind != TTestKind::Paired) w.Field("pooledVariance", r.pooledVariance);
    w.Field("standardError", r.standardError).Field("t", r.t).Field("tCritical", r.tCritical);
    w.Field("lower95", r.lower).Field("upper95", r.upper);
    w.Field("pTwoTailed", r.pTwoTailed).Field("p", r.p);
    w.Field("pSource", "t distribution");
    if (r.kind == TTestKind::Paired) {
        w.Key("pairing").BeginObject().Field("check", PairingName(r.pairing));
        w.Field("r", r.pairingR).Field("pTwoTailed", r.pairingP).EndObject();
        NormalityJson(w, "differencesNormality", r.differencesNormality);
    } else {
        w.Key("fTest").BeginObject().Field("f", r.fTest.f);
        w.Field("dfNumerator", r.fTest.dfNumerator).Field("dfDenominator", r.fTest.dfDenominator);
        w.Field("p", r.fTest.p).Field("reported", r.kind == TTestKind::Unpaired).EndObject();
        NormalityJson(w, "firstNormality", r.firstNormality);
        NormalityJson(w, "secondNormality", r.secondNormality);
        w.Field("normalityFailed", r.normalityFailed);
    }
    w.EndObject();
    return w.Text();
}

}  // namespace zelkon
