// The examples that the help pages of the two-by-two tables, the larger tables, regression
// and correlation work through: a paired table for McNemar's test, a diagnostic test, a
// case-control study, a dose-response table with a trend, a plain regression line, two
// correlations and a correlation matrix.  Every data set is made up for its example.
#include "examples_tables.h"

#include <vector>

#include "document/document.h"
#include "example_writer.h"

namespace zelkon {

namespace {

constexpr const char* MadeUp = "Made-up data for the example of the help page ";

/// Saves the example with notes that say what its data are.
bool Write(const ExampleWriter& w, Document& doc, const std::string& folder,
           const std::string& name, const std::string& page) {
    doc.Notes() = MadeUp + page + ".";
    return w.save(doc, folder, name);
}

struct TwoByTwoCounts {
    std::int32_t a, b, c, d;
    const char* column1;
    const char* column2;
    const char* row1;
    const char* row2;
};

void SetUpTwoByTwo(Document& doc, const std::string& title, const TwoByTwoCounts& counts) {
    doc.Data().SetFormat(DataFormat::TwoByTwo);
    doc.Table().SetDataTitle(title);
    TwoByTwoRecord& t = doc.Data().TwoByTwo();
    t.a = counts.a;
    t.b = counts.b;
    t.c = counts.c;
    t.d = counts.d;
    t.column1Title = counts.column1;
    t.column2Title = counts.column2;
    t.row1Title = counts.row1;
    t.row2Title = counts.row2;
}

/// Chooses one of the three "Also calculate" answers of the two-by-two page.
void ChooseAlsoCalculate(TwoByTwoChoices& t, AlsoCalculate what) {
    t.relativeRisk = t.relativeRisk2 = what == AlsoCalculate::RelativeRisk ? 1 : 0;
    t.oddsRatio = what == AlsoCalculate::OddsRatio ? 1 : 0;
    t.sensitivity = what == AlsoCalculate::Sensitivity ? 1 : 0;
}

/// The same 60 patients asked before and after treatment: the cells off the diagonal are
/// the patients whose answer changed.
bool PairedTable(const std::string& folder, const ExampleWriter& w) {
    Document doc;
    SetUpTwoByTwo(doc, "Back pain on waking, before and after physiotherapy",
                                    {14, 21, 6, 19, "After: pain", "After: no pain",
                                     "Before: pain", "Before: no pain"});
    doc.Choices().twoByTwo.test = TwoByTwoTest::McNemar;
    return Write(w, doc, folder, "back_pain_paired_mcnemar_2x2.ZLD", "mcnemar.html");
}

/// A rapid test read against the reference test: the top row is the positive result, the
/// left column the patients who have the condition.
bool DiagnosticTable(const std::string& folder, const ExampleWriter& w) {
    Document doc;
    SetUpTwoByTwo(doc, "Rapid strep test against throat culture",
                                    {43, 9, 7, 138, "Strep", "No strep", "Test positive",
                                     "Test negative"});
    ChooseAlsoCalculate(doc.Choices().twoByTwo, AlsoCalculate::Sensitivity);
    return Write(w, doc, folder, "strep_test_diagnostic_2x2.ZLD", "diagnostic_test.html");
}

/// Cases and controls chosen first, then asked about the exposure: a study for the odds
/// ratio, analysed with the chi-square test.
bool CaseControlTable(const std::string& folder, const ExampleWriter& w) {
    Document doc;
    SetUpTwoByTwo(doc, "Drinking well water: cases of Campylobacter and controls",
                                    {27, 48, 14, 86, "Well water", "Mains water", "Cases",
                                     "Controls"});
    TwoByTwoChoices& t = doc.Choices().twoByTwo;
    t.test = TwoByTwoTest::ChiSquare;
    t.yates = 1;
    ChooseAlsoCalculate(t, AlsoCalculate::OddsRatio);
    return Write(w, doc, folder, "well_water_case_control_2x2.ZLD", "relative_risk_odds_ratio.html");
}

/// Four equally spaced doses in the rows and two outcomes in the columns: the table gets the
/// chi-square test for trend.
bool DoseTrendTable(const std::string& folder, const ExampleWriter& w) {
    Document doc;
    doc.Data().SetFormat(DataFormat::LargerTable);
    doc.Table().SetDataTitle("Relief of nausea after four doses of a drug");
    w.fillColumn(doc, 0, "Relief", {"11", "17", "22", "28"});
    w.fillColumn(doc, 1, "No relief", {"30", "25", "19", "14"});
    const char* doses[] = {"Placebo", "10 mg", "20 mg", "30 mg"};
    for (int row = 0; row < 4; ++row) doc.Table().SetRowTitle(row, doses[row]);
    return Write(w, doc, folder, "nausea_by_dose_trend_table.ZLD", "contingency_table.html");
}

/// One Y value per X: a straight line with the runs test, nothing to interpolate.
bool RegressionLine(const std::string& folder, const ExampleWriter& w) {
    Document doc;
    doc.Data().SetFormat(DataFormat::XY);
    doc.Table().SetDataTitle("Creatinine clearance (ml/min) and age in 14 adults");
    w.fillColumn(doc, 0, "Age", {"24", "29", "33", "38", "41", "45", "50", "54", "58", "62", "67",
                               "71", "75", "80"});
    w.fillColumn(doc, 1, "Clearance", {"132", "112", "126", "113", "98", "91", "104", "92", "100",
                                     "93", "77", "70", "87", "64"});
    XYChoices& xy = doc.Choices().xy;
    xy.regression = 1;
    xy.runsTest = 1;
    xy.interpolate = 0;
    return Write(w, doc, folder, "creatinine_clearance_age_xy.ZLD", "linear_regression.html");
}

void SetUpCorrelation(Document& doc, const std::string& title, std::uint8_t kind) {
    doc.Data().SetFormat(DataFormat::XY);
    doc.Table().SetDataTitle(title);
    doc.Choices().xy.regression = 0;
    doc.Choices().xy.correlationKind = kind;
}

bool PearsonExample(const std::string& folder, const ExampleWriter& w) {
    Document doc;
    SetUpCorrelation(doc, "Body mass index and fasting insulin in 16 adults",
                                       CorrelationKind::Pearson);
    w.fillColumn(doc, 0, "BMI", {"21.3", "22.8", "23.5", "24.1", "24.9", "25.6", "26.2", "27.0",
                               "27.8", "28.4", "29.3", "30.1", "31.2", "32.5", "33.8", "35.4"});
    w.fillColumn(doc, 1, "Insulin", {"6.1", "8.4", "5.9", "9.8", "7.2", "11.5", "8.9", "12.7",
                                   "10.3", "14.1", "11.8", "16.2", "13.5", "18.9", "15.4", "21.7"});
    return Write(w, doc, folder, "bmi_insulin_pearson_xy.ZLD", "pearson_correlation.html");
}

/// A score on an ordered scale with ties, against a skewed laboratory value.
bool SpearmanExample(const std::string& folder, const ExampleWriter& w) {
    Document doc;
    SetUpCorrelation(doc, "Severity score and C-reactive protein (mg/l) in 11 patients",
                                       CorrelationKind::Spearman);
    w.fillColumn(doc, 0, "Severity", {"1", "1", "2", "2", "2", "3", "3", "4", "4", "5", "5"});
    w.fillColumn(doc, 1, "CRP", {"3", "9", "5", "14", "22", "18", "41", "35", "88", "62", "140"});
    return Write(w, doc, folder, "severity_crp_spearman_xy.ZLD", "spearman_correlation.html");
}

/// Four liver tests of 14 patients; one missing albumin leaves its row out.
bool CorrelationMatrix(const std::string& folder, const ExampleWriter& w) {
    Document doc;
    doc.Data().SetFormat(DataFormat::MultipleRegression);
    doc.Table().SetDataTitle("Liver tests in 14 patients");
    w.fillColumn(doc, 0, "ALT", {"16", "92", "35", "57", "28", "54", "44", "75", "64", "58", "104",
                               "39", "27", "118"});
    w.fillColumn(doc, 1, "AST", {"10", "51", "24", "54", "28", "29", "28", "55", "32", "39", "75",
                               "44", "22", "75"});
    w.fillColumn(doc, 2, "GGT", {"32", "87", "66", "41", "26", "16", "74", "45", "42", "40", "106",
                               "27", "16", "53"});
    w.fillColumn(doc, 3, "Albumin", {"44", "36", "42", "40", "43", "42", "", "37", "42", "39", "38",
                                   "39", "38", "35"});
    MultipleRegressionChoices& m = doc.Choices().multipleRegression;
    m.kind = MultipleRegressionKind::CorrelationMatrix;
    m.include.fill(0);
    for (int column = 0; column < 4; ++column) m.include[static_cast<std::size_t>(column)] = 1;
    return Write(w, doc, folder, "liver_tests_correlation_matrix.ZLD", "correlation_matrix.html");
}

}  // namespace

bool WriteTableExamples(const std::string& folder, const ExampleWriter& w) {
    return PairedTable(folder, w) && DiagnosticTable(folder, w) && CaseControlTable(folder, w) &&
           DoseTrendTable(folder, w) && RegressionLine(folder, w) && PearsonExample(folder, w) &&
           SpearmanExample(folder, w) && CorrelationMatrix(folder, w);
}

}  // namespace zelkon
