// Writes the example data files of examples/ with the program's own data file writer: one
// small, realistic data set per data format, each with a sensible analysis chosen.
// Usage: zelkon-make-examples OUTPUT_FOLDER
#include <cstdio>
#include <string>
#include <vector>

#include "data/sheet_editing.h"
#include "document/data_file.h"
#include "document/document.h"
#include "examples_groups.h"
#include "examples_tables.h"
#include "stats/column_stats.h"

using namespace zelkon;

namespace {

/// Prompts of a program that asks nobody: the examples never raise a question.
class NoPrompts final : public UserPrompts {
public:
    PromptAnswer Ask(std::string_view, PromptButtons) override { return PromptAnswer::No; }
    void Tell(std::string_view) override {}
};

/// Types the values into the column as a user would, so that the column's decimals follow
/// the values typed.
void FillColumn(Document& doc, int column, const std::string& title,
                const std::vector<std::string>& values) {
    NoPrompts prompts;
    for (std::size_t r = 0; r < values.size(); ++r) {
        if (!values[r].empty()) {
            PostTypedValue(doc, static_cast<int>(r), column, values[r], Separators{}, prompts);
        }
    }
    doc.Table().Record(column).title = title;
}

void TypeSummary(Document& doc, int column, const std::string& title, Extended mean,
                 Extended error, std::int32_t n) {
    ColumnRecord& r = doc.Table().Record(column);
    r.title = title;
    r.mean = mean;
    if (doc.Data().ErrorIsSD()) {
        r.sd = error;
    } else {
        r.sem = error;
    }
    r.n = n;
    FillSummary(nullptr, -1, r);
    // Typed summaries have no cells to count decimals from: show them with two.
    doc.Table().SetDisplayFormat(column, 2);
}

bool Save(Document& doc, const std::string& folder, const std::string& name) {
    UpdateColumnSummaries(doc.Table());
    DataFileContents contents{doc.Data(), doc.Choices(), doc.Notes(), doc.Graph()};
    const std::string path = folder + "/" + name;
    const std::int32_t result = SaveDataFile(contents, path);
    if (result != 0) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), IoErrorText(result).c_str());
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

bool RawData(const std::string& folder) {
    Document doc;
    doc.Data().SetFormat(DataFormat::Raw);
    doc.Table().SetDataTitle("Systolic blood pressure (mmHg) after eight weeks");
    FillColumn(doc, 0, "Placebo", {"128", "135", "122", "141", "130", "126", "138", "133", "129", "136"});
    FillColumn(doc, 1, "Drug", {"121", "127", "118", "130", "124", "115", "129", "122", "120", "126"});
    doc.Choices().columns.unpaired = 1;
    doc.Choices().columns.equalSDs = true;
    doc.Notes() = "Unpaired t test: does the drug lower blood pressure?";
    return Save(doc, folder, "blood_pressure_raw.ZLD");
}

bool MeanSDN(const std::string& folder) {
    Document doc;
    doc.Data().SetFormat(DataFormat::MeanSDN);
    doc.Data().SetErrorIsSD(true);
    doc.Table().SetDataTitle("Body weight (g) of mice on three diets");
    TypeSummary(doc, 0, "Standard", 24.6L, 2.1L, 12);
    TypeSummary(doc, 1, "High fat", 29.8L, 3.4L, 11);
    TypeSummary(doc, 2, "Low protein", 22.1L, 1.9L, 12);
    doc.Choices().columns.postTestKind = PostTestKind::Tukey;
    doc.Choices().columns.postTestMode = PostTestMode::IfSignificant;
    return Save(doc, folder, "mouse_weights_mean_sd_n.ZLD");
}

bool MeanSEMN(const std::string& folder) {
    Document doc;
    doc.Data().SetFormat(DataFormat::MeanSEMN);
    doc.Data().SetErrorIsSD(false);
    doc.Table().SetDataTitle("Plasma cholesterol (mmol/l)");
    TypeSummary(doc, 0, "Before diet", 6.12L, 0.21L, 18);
    TypeSummary(doc, 1, "After diet", 5.48L, 0.19L, 17);
    return Save(doc, folder, "cholesterol_mean_sem_n.ZLD");
}

bool XYData(const std::string& folder) {
    Document doc;
    doc.Data().SetFormat(DataFormat::XY);
    doc.Table().SetDataTitle("Protein assay standard curve");
    // X: protein (ug/ml); two replicate absorbance readings; the last rows are unknowns
    // (absorbance only) to be read from the standard curve.
    FillColumn(doc, 0, "Protein", {"0", "25", "50", "100", "200", "300", "400"});
    FillColumn(doc, 1, "A595", {"0.002", "0.061", "0.118", "0.241", "0.468", "0.702", "0.931", "0.350", "0.585"});
    FillColumn(doc, 2, "", {"0.005", "0.058", "0.124", "0.236", "0.475", "0.695", "0.944"});
    XYChoices& xy = doc.Choices().xy;
    xy.regression = 1;
    xy.runsTest = 1;
    xy.interpolate = 1;
    return Save(doc, folder, "protein_standard_curve_xy.ZLD");
}

bool TwoByTwo(const std::string& folder) {
    Document doc;
    doc.Data().SetFormat(DataFormat::TwoByTwo);
    doc.Table().SetDataTitle("Wound infection after surgery");
    TwoByTwoRecord& t = doc.Data().TwoByTwo();
    t.a = 4;
    t.b = 46;
    t.c = 13;
    t.d = 37;
    t.column1Title = "Infection";
    t.column2Title = "No infection";
    t.row1Title = "Antibiotic";
    t.row2Title = "Placebo";
    doc.Choices().twoByTwo.test = TwoByTwoTest::Fisher;
    doc.Choices().twoByTwo.twoSided = 1;
    return Save(doc, folder, "wound_infection_2x2.ZLD");
}

bool LargerTable(const std::string& folder) {
    Document doc;
    doc.Data().SetFormat(DataFormat::LargerTable);
    doc.Table().SetDataTitle("Smoking status by age group");
    FillColumn(doc, 0, "Never", {"52", "41", "33"});
    FillColumn(doc, 1, "Former", {"12", "25", "38"});
    FillColumn(doc, 2, "Current", {"30", "27", "19"});
    doc.Table().SetRowTitle(0, "18-39");
    doc.Table().SetRowTitle(1, "40-59");
    doc.Table().SetRowTitle(2, "60+");
    return Save(doc, folder, "smoking_by_age_table.ZLD");
}

bool MultipleRegression(const std::string& folder) {
    Document doc;
    doc.Data().SetFormat(DataFormat::MultipleRegression);
    doc.Table().SetDataTitle("Blood pressure, age and weight");
    FillColumn(doc, 0, "SBP", {"132", "143", "153", "162", "154", "168", "137", "149", "159", "128", "166", "142"});
    FillColumn(doc, 1, "Age", {"52", "59", "67", "73", "64", "74", "54", "61", "65", "46", "72", "56"});
    FillColumn(doc, 2, "Weight", {"173", "184", "194", "211", "196", "220", "188", "188", "207", "167", "217", "176"});
    MultipleRegressionChoices& m = doc.Choices().multipleRegression;
    m.kind = MultipleRegressionKind::MultipleRegression;
    m.dependentColumn = 0;
    m.include.fill(0);
    m.include[1] = 1;
    m.include[2] = 1;
    doc.Graph().xColumn = 'B';
    doc.Graph().yColumn = 'A';
    return Save(doc, folder, "blood_pressure_multiple_regression.ZLD");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelkon-make-examples OUTPUT_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = RawData(folder) && MeanSDN(folder) && MeanSEMN(folder) && XYData(folder) &&
                    TwoByTwo(folder) && LargerTable(folder) && MultipleRegression(folder) &&
                    WriteTableExamples(folder, {FillColumn, Save}) &&
                    WriteGroupExamples(folder, {FillColumn, Save});
    return ok ? 0 : 1;
}
