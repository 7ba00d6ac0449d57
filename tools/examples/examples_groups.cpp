// The example data files of the tests that compare groups, one table entry per file.  Every
// data set is made up for its example: realistic numbers for the measurement it names, not a
// published study.
#include "examples_groups.h"

#include <algorithm>

#include "core/analysis_choices.h"

namespace zelkon {

namespace {

struct Column {
    std::string title;
    std::vector<std::string> values;
};

struct GroupExample {
    std::string file;
    std::string dataTitle;
    std::vector<Column> columns;
    std::string notes;
    std::string rowWord;  ///< matched rows are titled "<word> 1", "<word> 2", ...; empty: none
    void (*choose)(ColumnAnalysisChoices& c);
};

void CellViabilityColumns(std::vector<Column>& columns) {
    columns = {{"Vehicle", {"98", "102", "95", "105", "100", "97"}},
               {"1 uM", {"96", "99", "91", "101", "94", "97"}},
               {"10 uM", {"84", "90", "79", "88", "86", "82"}},
               {"100 uM", {"61", "70", "58", "66", "73", "64"}}};
}

std::vector<GroupExample> Examples() {
    std::vector<GroupExample> examples = {
        {"enzyme_activity_one_sample.ZLD",
         "Enzyme activity in treated cells (% of untreated control)",
         {{"Activity",
           {"88.4", "94.1", "79.6", "102.3", "85.2", "91.7", "97.0", "83.9", "90.5", "86.8"}}},
         "One sample t test: does the treatment change the activity from 100% of control?",
         "",
         [](ColumnAnalysisChoices& c) {
             c.hypotheticalValueChoice = HypotheticalChoice::Hundred;
             c.hypotheticalValue = 100;
         }},
        {"hospital_stay_signed_rank.ZLD",
         "Length of stay (days) after hip replacement, new care pathway",
         {{"Stay", {"6", "5", "7", "8", "4", "6", "7", "5", "7", "3", "6", "5", "5", "21"}}},
         "Wilcoxon signed rank test: does the median stay differ from the usual 8 days?",
         "",
         [](ColumnAnalysisChoices& c) {
             c.oneColumnNonparametric = 1;
             c.hypotheticalValueChoice = HypotheticalChoice::Other;
             c.hypotheticalValue = 8;
         }},
        {"cortisol_welch.ZLD",
         "Morning salivary cortisol (nmol/l)",
         {{"Controls",
           {"12.1", "10.4", "13.5", "11.8", "12.9", "11.2", "10.9", "12.4", "13.1", "11.6"}},
          {"Patients", {"14.2", "22.8", "9.6", "27.5", "18.3", "11.9", "31.4", "16.7"}}},
         "Welch's t test: the patients' values scatter far more than the controls'.",
         "",
         [](ColumnAnalysisChoices& c) {
             c.unpaired = 1;
             c.equalSDs = false;
         }},
        {"peak_flow_paired.ZLD",
         "Peak expiratory flow (l/min) before and after a bronchodilator",
         {{"Before", {"310", "285", "350", "270", "395", "330", "300", "365", "280", "340"}},
          {"After", {"345", "300", "390", "310", "410", "365", "320", "395", "305", "350"}}},
         "Paired t test: each row is one patient, measured before and 15 minutes after.",
         "Patient",
         [](ColumnAnalysisChoices& c) { c.unpaired = 0; }},
        {"pain_score_matched_pairs.ZLD",
         "Pain score (0 to 10) before and after six weeks of physiotherapy",
         {{"Before", {"7", "6", "8", "5", "7", "9", "6", "4", "8", "7", "5", "6"}},
          {"After", {"5", "4", "6", "5", "4", "7", "6", "4", "5", "5", "3", "3"}}},
         "Wilcoxon matched-pairs test: a pain score is a rating, not a measurement.",
         "Patient",
         [](ColumnAnalysisChoices& c) {
             c.unpaired = 0;
             c.twoColumnNonparametric = 1;
         }},
        {"interleukin6_mann_whitney.ZLD",
         "Serum interleukin-6 (pg/ml)",
         {{"Healthy", {"2.1", "3.4", "1.8", "4.6", "2.9", "3.1", "5.2", "2.3"}},
          {"Pneumonia", {"6.8", "3.9", "24.5", "11.2", "4.8", "58.0", "9.3", "15.7", "7.4"}}},
         "Mann-Whitney test: the patients' values are skewed, a few very high.",
         "",
         [](ColumnAnalysisChoices& c) {
             c.unpaired = 1;
             c.twoColumnNonparametric = 1;
         }},
        {"fev1_smoking_anova.ZLD",
         "FEV1 (litres) of men aged 50 to 59",
         {{"Never smoked", {"3.62", "3.95", "3.41", "4.10", "3.78", "3.55", "3.88", "3.71"}},
          {"Former smoker", {"3.40", "3.21", "3.66", "3.05", "3.52", "3.38", "3.71", "3.31"}},
          {"Smoker", {"3.02", "3.31", "2.85", "3.44", "3.10", "2.96", "3.25", "2.79"}}},
         "One-way ANOVA with Tukey's post test: three independent groups of men.",
         "",
         [](ColumnAnalysisChoices& c) {
             c.postTestKind = PostTestKind::Tukey;
             c.postTestMode = PostTestMode::IfSignificant;
         }},
        {"cell_viability_dunnett.ZLD",
         "Cell viability (% of untreated wells) after 48 h of drug",
         {},
         "One-way ANOVA, then Dunnett's test of each concentration against the vehicle.",
         "",
         [](ColumnAnalysisChoices& c) {
             c.postTestKind = PostTestKind::Dunnett;
             c.postTestMode = PostTestMode::IfSignificant;
             c.pairMode = PairMode::AgainstControl;
             c.controlColumn = 0;
         }},
        {"cell_viability_trend.ZLD",
         "Cell viability (% of untreated wells) after 48 h of drug",
         {},
         "One-way ANOVA, then the test for linear trend over the tenfold steps of dose.",
         "",
         [](ColumnAnalysisChoices& c) {
             c.postTestKind = PostTestKind::LinearTrend;
             c.postTestMode = PostTestMode::IfSignificant;
         }},
        {"glucose_tolerance_repeated.ZLD",
         "Blood glucose (mmol/l) during an oral glucose tolerance test",
         {{"0 min", {"5.1", "4.8", "5.5", "4.6", "5.3", "5.0"}},
          {"30 min", {"8.4", "7.9", "9.6", "7.1", "8.8", "9.1"}},
          {"60 min", {"7.2", "7.5", "8.8", "6.0", "8.1", "7.4"}},
          {"120 min", {"5.6", "5.2", "6.3", "4.9", "6.0", "5.4"}}},
         "Repeated-measures ANOVA: each row is one volunteer, sampled four times.",
         "Subject",
         [](ColumnAnalysisChoices& c) {
             c.unmatched = 0;
             c.postTestKind = PostTestKind::Tukey;
             c.postTestMode = PostTestMode::IfSignificant;
         }},
        {"bacterial_load_kruskal_wallis.ZLD",
         "Bacteria in thigh muscle (log10 CFU per gram) of infected mice",
         {{"Untreated", {"6.21", "5.84", "6.55", "7.02", "5.97"}},
          {"Regimen A", {"5.12", "4.88", "5.63", "5.30", "6.08"}},
          {"Regimen B", {"3.95", "4.41", "5.21", "4.12", "3.67"}}},
         "Kruskal-Wallis test with Dunn's post test: three independent groups of mice.",
         "",
         [](ColumnAnalysisChoices& c) {
             c.multiColumnNonparametric = 1;
             c.postTestMode = PostTestMode::IfSignificant;
         }},
        {"reaction_time_friedman.ZLD",
         "Simple reaction time (ms) of eight volunteers",
         {{"Placebo", {"312", "298", "335", "287", "320", "305", "341", "296"}},
          {"Caffeine", {"285", "276", "301", "290", "294", "281", "318", "289"}},
          {"Sleep loss", {"356", "341", "329", "318", "372", "336", "364", "302"}}},
         "Friedman test with Dunn's post test: each row is one volunteer on three mornings.",
         "Subject",
         [](ColumnAnalysisChoices& c) {
             c.unmatched = 0;
             c.multiColumnNonparametric = 1;
             c.postTestMode = PostTestMode::IfSignificant;
         }},
    };
    // Dunnett's test and the test for trend work on the same doses.
    for (GroupExample& example : examples) {
        if (example.columns.empty()) CellViabilityColumns(example.columns);
    }
    return examples;
}

bool WriteExample(const GroupExample& example, const std::string& folder,
                  const ExampleWriter& writer) {
    Document doc;
    doc.Data().SetFormat(DataFormat::Raw);
    doc.Table().SetDataTitle(example.dataTitle);
    std::size_t rows = 0;
    for (std::size_t c = 0; c < example.columns.size(); ++c) {
        const Column& column = example.columns[c];
        writer.fillColumn(doc, static_cast<int>(c), column.title, column.values);
        rows = std::max(rows, column.values.size());
    }
    if (!example.rowWord.empty()) {
        for (std::size_t r = 0; r < rows; ++r) {
            doc.Table().SetRowTitle(static_cast<int>(r),
                                    example.rowWord + " " + std::to_string(r + 1));
        }
    }
    doc.Notes() = example.notes + " Made-up data for this example.";
    example.choose(doc.Choices().columns);
    return writer.save(doc, folder, example.file);
}

}  // namespace

bool WriteGroupExamples(const std::string& folder, const ExampleWriter& writer) {
    for (const GroupExample& example : Examples()) {
        if (!WriteExample(example, folder, writer)) return false;
    }
    return true;
}

}  // namespace zelkon
