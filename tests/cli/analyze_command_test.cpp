// zelkon-cli analyze and choices: for every test name, the options give the choices and the
// report that answering the choose-test page gives (through the rules its controls call);
// the choices printed by `choices` repeat the analysis; choices that do not apply are
// refused; several inputs with JSON Lines; --save, then report of the saved file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/choice_options.h"
#include "cli/commands.h"
#include "cli/import_command.h"
#include "core/file_io.h"
#include "document/analysis_run.h"
#include "document/post_test_choice.h"
#include "stats/column_stats.h"
#include "support/test_support.h"

namespace zelkon::cli {
namespace {

const std::string Data = std::string(ZELKON_SOURCE_DIR) + "/tests/data/cli/";
const std::string Examples = std::string(ZELKON_SOURCE_DIR) + "/examples/";

struct CommandRun {
    int code = 0;
    std::string out, err;
};

CommandRun Run(int (*command)(Arguments&, std::ostream&, std::ostream&, bool),
               std::vector<std::string> words) {
    Arguments args{std::move(words)};
    std::ostringstream out, err;
    CommandRun r;
    r.code = command(args, out, err, false);
    r.out = out.str();
    r.err = err.str();
    return r;
}

CommandRun Analyze(std::vector<std::string> words) { return Run(RunAnalyzeCommand, std::move(words)); }
CommandRun Report(std::vector<std::string> words) { return Run(RunReportCommand, std::move(words)); }
CommandRun Choices(std::vector<std::string> words) {
    Arguments args{std::move(words)};
    std::ostringstream out, err;
    CommandRun r;
    r.code = RunChoicesCommand(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

std::string FileBytes(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return bytes;
}

int Column(char letter) { return letter - 'A'; }

// The desktop program on its way to the same answers: the data file opened, or the text file
// imported in the format chosen on step 1; step 4 shown; the page's controls.
struct Desktop {
    std::unique_ptr<Document> doc;

    ColumnAnalysisChoices& Columns() { return doc->Choices().columns; }
    void ShowStep4() {
        DataTable& table = doc->Table();
        SetUpChooseTest(doc->Format(), table, doc->Choices(), [&table] { UpdateColumnSummaries(table); });
    }
    // "Selected columns", then "Select" and the column dialog with these columns checked.
    void SelectColumns(std::string_view letters) {
        doc->Choices().allColumns = 0;
        std::vector<ColumnEntry> entries = ColumnDialogEntries(doc->Table());
        for (ColumnEntry& e : entries) e.checked = letters.find(ColumnLetter(e.column)) != letters.npos;
        ASSERT_TRUE(ApplyColumnDialog(doc->Table(), entries).empty());
        doc->MarkModified();
        ShowStep4();
    }
    // An item of the post-test list, with the check box as it stands.
    void ChoosePostTest(int item) {
        bool checked = ContingentPostChecked(Columns());
        ChoosePostTestItem(Columns(), item, checked);
    }
    // "Select pairs..." and the pair dialog with these pairs ("AB,CD") checked.
    void SelectPairs(std::string_view pairs) {
        std::vector<PairEntry> entries = PairDialogEntries(doc->Table(), Columns());
        for (PairEntry& e : entries) {
            const std::string pair{ColumnLetter(e.pair.first), ColumnLetter(e.pair.second)};
            e.checked = pairs.find(pair) != pairs.npos;
        }
        ASSERT_TRUE(ApplyPairDialog(Columns(), entries).empty());
    }
    // "Control column:": the entry of the column.
    void ChooseControl(char letter) {
        for (const ColumnEntry& e : ControlColumnEntries(doc->Table(), Columns())) {
            if (e.column == Column(letter)) Columns().controlColumn = e.column;
        }
        ASSERT_EQ(Columns().controlColumn, Column(letter));
    }
};

struct Row {
    std::string_view test;
    std::string input;                 ///< under tests/data/cli, or an example
    DataFormat format;                 ///< the format chosen for a text file
    std::vector<std::string> options;  ///< the choices beside --test
    std::string_view analysis;         ///< a fragment of the result JSON naming what ran
    std::function<void(Desktop&, AnalysisChoices&)> answer;
};

const std::vector<Row>& Rows() {
    using F = DataFormat;
    static const std::vector<Row> rows = {
        {"one-sample-t", "groups.csv", F::Raw, {"--select", "A", "--tails", "1", "--value", "5"},
         R"("test":"one sample t test")",
         [](Desktop& d, AnalysisChoices& c) {
             d.SelectColumns("A");
             c.columns.oneColumnNonparametric = 0;
             c.columns.oneColumnTwoSided = 0;
             EnterHypotheticalValue(c.columns, 5);
         }},
        {"wilcoxon", "groups.csv", F::Raw, {"--select", "B", "--value", "100"},
         R"("analysis":"Wilcoxon signed rank test")",
         [](Desktop& d, AnalysisChoices& c) {
             d.SelectColumns("B");
             c.columns.oneColumnNonparametric = 1;
             EnterHypotheticalValue(c.columns, 100);
         }},
        {"unpaired-t", "groups.csv", F::Raw, {"--select", "A,B"}, R"("test":"unpaired t test")",
         [](Desktop& d, AnalysisChoices& c) {
             d.SelectColumns("AB");
             ChoosePairing(c.columns, false);
             ChooseGaussian(c.columns, GaussianChoice::Student);
         }},
        {"welch-t", "groups.csv", F::Raw, {"--select", "A,B", "--tails", "1"},
         R"("test":"unpaired t test with Welch correction")",
         [](Desktop& d, AnalysisChoices& c) {
             d.SelectColumns("AB");
             ChoosePairing(c.columns, false);
             ChooseGaussian(c.columns, GaussianChoice::Welch);
             c.columns.twoColumnTwoSided = 0;
         }},
        {"paired-t", "groups.csv", F::Raw, {"--select", "C-D"}, R"("test":"paired t test")",
         [](Desktop& d, AnalysisChoices& c) {
             d.SelectColumns("CD");
             ChoosePairing(c.columns, true);
             ChooseGaussian(c.columns, GaussianChoice::Student);
         }},
        {"mann-whitney", "groups.csv", F::Raw, {"--select", "A,C"},
         R"("analysis":"Mann-Whitney test")",
         [](Desktop& d, AnalysisChoices& c) {
             d.SelectColumns("AC");
             ChoosePairing(c.columns, false);
             ChooseGaussian(c.columns, GaussianChoice::Nonparametric);
         }},
        {"wilcoxon-pairs", "groups.csv", F::Raw, {"--select", "a,b", "--tails", "1"},
         R"("analysis":"Wilcoxon matched-pairs signed-ranks test")",
         [](Desktop& d, AnalysisChoices& c) {
             d.SelectColumns("AB");
             ChoosePairing(c.columns, true);
             ChooseGaussian(c.columns, GaussianChoice::Nonparametric);
             c.columns.twoColumnTwoSided = 0;
         }},
        {"anova", "groups.csv", F::Raw,
         {"--post-test", "bonferroni", "--pairs", "A-B,D-C", "--post-test-when", "always"},
         R"("test":"Bonferroni")",
         [](Desktop& d, AnalysisChoices& c) {
             c.columns.unmatched = 1;
             c.columns.multiColumnNonparametric = 0;
             ClickContingentPost(c.columns, false, PostTestItem::Tukey);
             d.ChoosePostTest(PostTestItem::SelectedPairs);
             d.SelectPairs("AB,CD");
         }},
        {"anova", "groups.csv", F::Raw, {"--select", "B-D", "--post-test", "trend"},
         R"("test":"linear trend")",
         [](Desktop& d, AnalysisChoices&) {
             d.SelectColumns("BCD");
             d.ChoosePostTest(PostTestItem::LinearTrend);
         }},
        {"anova", "groups.csv", F::Raw, {"--post-test", "none"}, R"("analysis":"one-way ANOVA")",
         [](Desktop& d, AnalysisChoices&) { d.ChoosePostTest(PostTestItem::NoPostTest); }},
        {"rm-anova", "groups.csv", F::Raw, {"--post-test", "dunnett", "--control", "B"},
         R"("test":"Dunnett")",
         [](Desktop& d, AnalysisChoices& c) {
             c.columns.unmatched = 0;
             d.ChoosePostTest(PostTestItem::Dunnett);
             d.ChooseControl('B');
         }},
        {"rm-anova", "groups.csv", F::Raw, {"--post-test", "snk", "--post-test-when", "always"},
         R"("test":"Student-Newman-Keuls")",
         [](Desktop& d, AnalysisChoices& c) {
             c.columns.unmatched = 0;
             d.ChoosePostTest(PostTestItem::NewmanKeuls);
             ClickContingentPost(c.columns, false, PostTestItem::NewmanKeuls);
         }},
        {"kruskal-wallis", "groups.csv", F::Raw, {"--select", "A-C", "--post-test", "dunn"},
         R"("test":"Dunn")",
         [](Desktop& d, AnalysisChoices& c) {
             d.SelectColumns("ABC");
             c.columns.multiColumnNonparametric = 1;
             d.ChoosePostTest(PostTestItem::AllPairs);
         }},
        {"kruskal-wallis", "groups.csv", F::Raw, {"--pairs", "A-D,B-C"}, R"("test":"Dunn")",
         [](Desktop& d, AnalysisChoices& c) {
             c.columns.multiColumnNonparametric = 1;
             d.ChoosePostTest(PostTestItem::SelectedPairs);
             d.SelectPairs("AD,BC");
         }},
        // Dunn's comparison with a control: Dunnett's test chosen with its control column,
        // then the nonparametric methods.
        {"friedman", "groups.csv", F::Raw,
         {"--post-test", "control", "--control", "C", "--post-test-when", "always"},
         R"("test":"comparison with a control")",
         [](Desktop& d, AnalysisChoices& c) {
             c.columns.unmatched = 0;
             d.ChoosePostTest(PostTestItem::Dunnett);
             ClickContingentPost(c.columns, false, PostTestItem::Dunnett);
             d.ChooseControl('C');
             c.columns.multiColumnNonparametric = 1;
         }},
        {"linear-regression", "curve.csv", F::XY, {"--runs-test", "--no-standard-curve"},
         R"("analysis":"linear regression")",
         [](Desktop&, AnalysisChoices& c) {
             ChooseFit(c.xy, FitChoice::LinearRegression);
             c.xy.runsTest = 1;
             c.xy.interpolate = 0;
         }},
        {"linear-regression", "curve.csv", F::XY, {"--force", "0,0.015", "--lack-of-fit"},
         R"("analysis":"linear regression")",
         [](Desktop&, AnalysisChoices& c) {
             ChooseFit(c.xy, FitChoice::ForcedRegression);
             c.xy.ForceX = 0;
             c.xy.ForceY = 0.015L;
             c.xy.runsTest = 1;
         }},
        {"pearson", "curve.csv", F::XY, {}, R"("analysis":"Pearson correlation")",
         [](Desktop&, AnalysisChoices& c) { ChooseFit(c.xy, FitChoice::Pearson); }},
        {"spearman", "curve.csv", F::XY, {}, R"("analysis":"Spearman correlation")",
         [](Desktop&, AnalysisChoices& c) { ChooseFit(c.xy, FitChoice::Spearman); }},
        {"multiple-regression", "blood_pressure.csv", F::MultipleRegression,
         {"--y", "A", "--x", "B,D"}, R"("analysis":"multiple regression")",
         [](Desktop&, AnalysisChoices& c) {
             c.multipleRegression.kind = MultipleRegressionKind::MultipleRegression;
             c.multipleRegression.dependentColumn = 0;
             c.multipleRegression.include[1] = 1;
             c.multipleRegression.include[3] = 1;
         }},
        {"correlation-matrix", "blood_pressure.csv", F::MultipleRegression, {"--x", "all"},
         R"("analysis":"correlation matrix")",
         [](Desktop& d, AnalysisChoices& c) {
             c.multipleRegression.kind = MultipleRegressionKind::CorrelationMatrix;
             const MultipleRegressionPage page =
                 MultipleRegressionPageOf(d.doc->Table(), c.multipleRegression);
             SetAllIncludeFlags(c.multipleRegression, page.variableEntries, true);
         }},
        {"fisher", "infection.csv", F::TwoByTwo, {"--tails", "1", "--odds-ratio"},
         R"("fisher":{"done":true)",
         [](Desktop&, AnalysisChoices& c) {
             c.twoByTwo.test = TwoByTwoTest::Fisher;
             c.twoByTwo.twoSided = 0;
             SetAlsoCalculate(c.twoByTwo, AlsoCalculate::OddsRatio);
         }},
        {"chi-square", "infection.csv", F::TwoByTwo, {"--no-yates", "--sensitivity"},
         R"("chiSquare":{"yates":false)",
         [](Desktop&, AnalysisChoices& c) {
             c.twoByTwo.test = TwoByTwoTest::ChiSquare;
             c.twoByTwo.yates = 0;
             SetAlsoCalculate(c.twoByTwo, AlsoCalculate::Sensitivity);
         }},
        {"mcnemar", "infection.csv", F::TwoByTwo, {"--tails", "1"}, R"("paired":true)",
         [](Desktop&, AnalysisChoices& c) {
             c.twoByTwo.test = TwoByTwoTest::McNemar;
             c.twoByTwo.twoSided = 0;
         }},
        {"contingency", "smoking.csv", F::LargerTable, {}, R"("analysis":"contingency table")",
         [](Desktop&, AnalysisChoices&) {}},
        // Data files, averaged data among them.
        {"welch-t", Examples + "cholesterol_mean_sem_n.ZLD", F::Raw, {},
         R"("test":"unpaired t test with Welch correction")",
         [](Desktop&, AnalysisChoices& c) { ChooseGaussian(c.columns, GaussianChoice::Welch); }},
        {"anova", Examples + "mouse_weights_mean_sd_n.ZLD", F::Raw,
         {"--post-test", "dunnett", "--control", "C"}, R"("test":"Dunnett")",
         [](Desktop& d, AnalysisChoices&) {
             d.ChoosePostTest(PostTestItem::Dunnett);
             d.ChooseControl('C');
         }},
    };
    return rows;
}

std::string InputPath(const Row& row) {
    return row.input.find('/') == std::string::npos ? Data + row.input : row.input;
}

// The desktop program: open or import, step 4, the page's answers, step 5, File Save.
std::unique_ptr<Document> AnswerThePage(const Row& row, const std::string& savePath) {
    Desktop desktop;
    const std::string input = InputPath(row);
    std::ostringstream err;
    if (input.ends_with(".ZLD")) {
        desktop.doc = OpenDataFile(input, err);
    } else {
        TextImportRequest request;
        request.file = input;
        request.format = row.format;
        desktop.doc = ReadTextFileAsDocument(request, err);
    }
    EXPECT_TRUE(desktop.doc) << err.str();
    if (!desktop.doc) return nullptr;
    desktop.ShowStep4();
    row.answer(desktop, desktop.doc->Choices());
    desktop.doc->MarkModified();
    Calculate(*desktop.doc);
    EXPECT_TRUE(SaveDocument(*desktop.doc, savePath, err)) << err.str();
    return std::move(desktop.doc);
}

TEST(AnalyzeCommand, EveryTestGivesThePagesChoicesAndReport) {
    const std::string dir = test::MakeTempDir();
    std::vector<std::string_view> tested;
    for (const Row& row : Rows()) {
        SCOPED_TRACE(std::string(row.test) + " " + row.input);
        tested.push_back(row.test);
        const std::unique_ptr<Document> desktop = AnswerThePage(row, dir + "/desktop.ZLD");
        ASSERT_TRUE(desktop);
        ASSERT_EQ(desktop->ErrorCode(), 0);
        ASSERT_EQ(DocumentTest(*desktop), TestOfName(row.test));

        std::vector<std::string> words = {InputPath(row), "--test", std::string(row.test)};
        words.insert(words.end(), row.options.begin(), row.options.end());
        std::vector<std::string> saving = words;
        saving.insert(saving.end(), {"--save", dir + "/cli.ZLD", "--raw"});
        const CommandRun run = Analyze(saving);
        ASSERT_EQ(run.code, ExitOk) << run.err;
        EXPECT_EQ(run.out, desktop->Report().Text());
        EXPECT_EQ(FileBytes(dir + "/cli.ZLD"), FileBytes(dir + "/desktop.ZLD"));

        words.push_back("--json");
        const CommandRun json = Analyze(words);
        EXPECT_NE(json.out.find(row.analysis), std::string::npos) << json.out;
        EXPECT_NE(json.out.find("\"test\":\"" + std::string(row.test) + "\""), std::string::npos);

        // The saved file's choices, given to the same input, repeat the report.
        const CommandRun choices = Choices({dir + "/cli.ZLD"});
        ASSERT_EQ(choices.code, ExitOk) << choices.err;
        std::vector<std::string> again = {InputPath(row), "--raw"};
        std::istringstream split(choices.out);
        for (std::string word; split >> word;) again.push_back(word);
        const CommandRun repeated = Analyze(again);
        EXPECT_EQ(repeated.code, ExitOk) << choices.out << repeated.err;
        EXPECT_EQ(repeated.out, run.out) << choices.out;
    }
    // Every test name has its row.
    for (std::string_view name :
         {"one-sample-t", "wilcoxon", "unpaired-t", "welch-t", "paired-t", "mann-whitney",
          "wilcoxon-pairs", "anova", "rm-anova", "kruskal-wallis", "friedman",
          "linear-regression", "pearson", "spearman", "multiple-regression",
          "correlation-matrix", "fisher", "chi-square", "mcnemar", "contingency"}) {
        EXPECT_NE(std::find(tested.begin(), tested.end(), name), tested.end()) << name;
        EXPECT_EQ(TestName(*TestOfName(name)), name);
    }
    std::filesystem::remove_all(dir);
}

// Choices that the data or the test cannot take are refused with exit status 2 and a
// message naming them; nothing is reported.
TEST(AnalyzeCommand, RefusesChoicesThatDoNotApply) {
    const std::string groups = Data + "groups.csv", curve = Data + "curve.csv",
                      pressure = Data + "blood_pressure.csv", infection = Data + "infection.csv",
                      averaged = Examples + "cholesterol_mean_sem_n.ZLD",
                      raw = Examples + "blood_pressure_raw.ZLD";
    const struct {
        std::vector<std::string> words;
        std::string_view message;
    } refusals[] = {
        {{groups, "--test", "welch-t"},
         "--test welch-t needs two selected columns with data; 4 are selected (A-D)"},
        {{raw, "--test", "anova"}, "--test anova needs three or more selected columns"},
        {{groups, "--format", "raw", "--test", "pearson"},
         "--test pearson needs X and Y data (--format xy); the input holds raw data"},
        {{groups, "--select", "A", "--test", "one-sample-t", "--post-test", "tukey"},
         "--post-test does not apply to one-sample-t"},
        {{groups, "--test", "anova", "--tails", "1"}, "--tails does not apply to anova"},
        {{groups, "--test", "anova", "--value", "3"}, "--value does not apply to anova"},
        {{groups, "--test", "kruskal-wallis", "--post-test", "tukey"},
         "--post-test tukey does not apply to kruskal-wallis"},
        {{groups, "--test", "anova", "--post-test", "dunn"}, "--post-test dunn does not apply"},
        {{groups, "--test", "anova", "--post-test", "tukey", "--pairs", "A-B"},
         "--pairs applies to --post-test bonferroni or dunn"},
        {{groups, "--post-test", "bonferroni", "--pairs", "A-E"},
         "--pairs: A-E is not a pair of the selected columns (A-D)"},
        {{groups, "--test", "anova", "--control", "B"}, "--control applies to"},
        {{groups, "--post-test", "dunnett", "--control", "F"}, "--control: column F is not"},
        {{groups, "--post-test", "none", "--post-test-when", "significant"},
         "--post-test-when needs a post test"},
        {{groups, "--select", "E"}, "--select: column E holds no data"},
        {{curve, "--test", "pearson", "--runs-test"}, "--runs-test does not apply to pearson"},
        {{curve, "--test", "spearman", "--no-standard-curve"},
         "--no-standard-curve does not apply to spearman"},
        {{curve, "--test", "spearman", "--force", "0,0"}, "--force does not apply to spearman"},
        {{curve, "--test", "linear-regression", "--select", "A"},
         "--select does not apply to linear-regression"},
        {{pressure, "--test", "correlation-matrix", "--y", "A"},
         "--y does not apply to correlation-matrix"},
        {{pressure, "--test", "multiple-regression", "--y", "A", "--x", "A,B"},
         "--x: column A is the dependent (Y) variable"},
        {{infection, "--test", "fisher", "--yates"}, "--yates does not apply to fisher"},
        {{infection, "--test", "mcnemar", "--odds-ratio"}, "--odds-ratio does not apply to mcnemar"},
        {{Data + "smoking.csv", "--test", "contingency", "--tails", "2"},
         "--tails does not apply to contingency"},
        {{averaged, "--test", "mann-whitney"}, "--test mann-whitney needs raw data"},
        {{averaged, "--test", "paired-t"}, "--test paired-t needs raw data"},
        {{raw, "--format", "xy"}, "--format applies to text files"},
        // The form of the options.
        {{groups, "--test", "t-test"}, "unknown test t-test"},
        {{groups, "--tails", "3"}, "--tails takes 1 or 2"},
        {{groups, "--value", "2,5"}, "--value takes a number"},
        {{groups, "--yates", "--no-yates"}, "--yates and --no-yates exclude each other"},
        {{groups, "--odds-ratio", "--sensitivity"}, "exclude each other"},
        {{groups, "--runs-test", "--no-lack-of-fit"}, "exclude each other"},
        {{groups, "--force", "1"}, "--force takes the point X,Y"},
        {{groups, "--pairs", "A-A"}, "--pairs takes"},
        {{groups, raw, "--save", "x.ZLD"}, "--save takes one input"},
        {{groups, "-o", "x.ZLD"}, "--save OUT.ZLD"},
    };
    for (const auto& r : refusals) {
        const CommandRun run = Analyze(r.words);
        EXPECT_EQ(run.code, ExitUsage) << r.message;
        EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << r.message;
    }
}

// Several inputs: every one is reported, a failed one named, the exit status non-zero.
TEST(AnalyzeCommand, SeveralInputsAsJsonLines) {
    const std::string good = Examples + "blood_pressure_raw.ZLD", missing = Data + "missing.ZLD",
                      twoByTwo = Examples + "wound_infection_2x2.ZLD";
    const CommandRun report = Report({good, missing, twoByTwo, "--json"});
    EXPECT_EQ(report.code, ExitFailure);
    std::istringstream lines(report.out);
    std::vector<std::string> objects;
    for (std::string line; std::getline(lines, line);) objects.push_back(line);
    ASSERT_EQ(objects.size(), 3u) << report.out;
    EXPECT_EQ(objects[0].rfind(R"({"file":")" + good + R"(","format":"Raw data.","test":"unpaired-t")", 0), 0u);
    EXPECT_EQ(objects[1], R"({"file":")" + missing + R"(","error":"zelkon-cli: )" + missing +
                              R"(: no such file"})");
    EXPECT_EQ(objects[2].rfind(R"({"file":")" + twoByTwo + R"(","format":"Two rows, two columns.","test":"fisher")", 0), 0u);
    EXPECT_NE(report.err.find("no such file"), std::string::npos);

    // A text file that is not text, and an input that cannot take the test, among good ones.
    const CommandRun analyze = Analyze({Data + "groups.csv", Data + "no_numbers.txt",
                                        Data + "infection.csv", Data + "curve.csv", "--test",
                                        "anova", "--format", "raw", "--json"});
    EXPECT_EQ(analyze.code, ExitUsage);
    std::istringstream more(analyze.out);
    objects.clear();
    for (std::string line; std::getline(more, line);) objects.push_back(line);
    ASSERT_EQ(objects.size(), 4u) << analyze.out;
    EXPECT_NE(objects[0].find(R"("test":"anova","errorCode":0,"result":{)"), std::string::npos);
    EXPECT_NE(objects[1].find("There are no numbers to import in this file."), std::string::npos);
    EXPECT_NE(objects[2].find("needs three or more selected columns"), std::string::npos);
    EXPECT_NE(objects[3].find(R"("test":"anova","errorCode":0,"result":{)"), std::string::npos);

    // In text, each report is headed by its input.
    const CommandRun text = Report({good, twoByTwo, "--plain"});
    EXPECT_EQ(text.code, ExitOk);
    EXPECT_EQ(text.out.rfind("==> " + good + " <==\n", 0), 0u);
    EXPECT_NE(text.out.find("\n\n==> " + twoByTwo + " <==\n"), std::string::npos);
}

// A text file is read as import reads it: the same account of what was left empty, the
// same refusal and exit status.
TEST(AnalyzeCommand, ReadsTextFilesAsImportDoes) {
    const std::string dir = test::MakeTempDir();
    const auto named = [](std::string text) {
        for (std::size_t at; (at = text.find("zelkon-cli import:")) != std::string::npos;) {
            text.replace(at, 18, "zelkon-cli analyze:");
        }
        return text;
    };
    for (const std::string file : {"with_gaps.csv", "no_numbers.txt"}) {
        Arguments args{{Data + file, "-o", dir + "/imported.ZLD"}};
        std::ostringstream out, err;
        const int code = RunImportCommand(args, out, err);
        const CommandRun analyze = Analyze({Data + file});
        EXPECT_EQ(analyze.code, code) << file;
        EXPECT_EQ(analyze.err, named(err.str())) << file;
    }
    EXPECT_NE(Analyze({Data + "with_gaps.csv"}).err.find("n/a"), std::string::npos);
    std::filesystem::remove_all(dir);
}

// The saved document opens with its test chosen and reports what analyze printed.
TEST(AnalyzeCommand, SaveThenReport) {
    const std::string dir = test::MakeTempDir();
    const CommandRun analyze = Analyze({Data + "groups.csv", "--test", "kruskal-wallis",
                                        "--post-test", "dunn", "--save", dir + "/plate.ZLD",
                                        "--plain"});
    ASSERT_EQ(analyze.code, ExitOk) << analyze.err;
    const CommandRun report = Report({dir + "/plate.ZLD", "--plain"});
    EXPECT_EQ(report.code, ExitOk);
    EXPECT_EQ(report.out, analyze.out);
    EXPECT_EQ(Choices({dir + "/plate.ZLD"}).out,
              "--test kruskal-wallis --select all --post-test dunn --post-test-when significant\n");

    // A data file saved again with other choices; the original is left as it was.
    const std::string example = Examples + "blood_pressure_raw.ZLD";
    const std::string before = FileBytes(example);
    ASSERT_EQ(Analyze({example, "--test", "mann-whitney", "--save", dir + "/again.ZLD"}).code,
              ExitOk);
    EXPECT_EQ(Choices({dir + "/again.ZLD"}).out, "--test mann-whitney --select all --tails 2\n");
    EXPECT_EQ(FileBytes(example), before);
    std::filesystem::remove_all(dir);
}

// Every example's choices, given back to analyze, repeat its report.
TEST(AnalyzeCommand, ChoicesOfEveryExampleRepeatItsReport) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Examples)) {
        if (entry.path().extension() != ".ZLD") continue;
        ++files;
        const std::string file = entry.path().string();
        const CommandRun choices = Choices({file});
        ASSERT_EQ(choices.code, ExitOk) << file << choices.err;
        std::vector<std::string> words = {file, "--raw"};
        std::istringstream split(choices.out);
        for (std::string word; split >> word;) words.push_back(word);
        const CommandRun analyze = Analyze(words);
        EXPECT_EQ(analyze.code, ExitOk) << file << ": " << choices.out << analyze.err;
        EXPECT_EQ(analyze.out, Report({file, "--raw"}).out) << file << ": " << choices.out;
    }
    EXPECT_GT(files, 20);
}

TEST(AnalyzeCommand, HelpNamesEveryTestAndCommand) {
    Arguments args{{"analyze"}};
    std::ostringstream out, err;
    ASSERT_EQ(RunHelpCommand(args, out, err, true), ExitOk);
    for (std::string_view name : {"one-sample-t", "wilcoxon-pairs", "rm-anova", "friedman",
                                  "correlation-matrix", "mcnemar", "contingency", "--post-test-when",
                                  "--lack-of-fit", "--sensitivity", "--indexed"}) {
        EXPECT_NE(out.str().find(name), std::string::npos) << name;
    }
    Arguments bogus{{"bogus"}};
    EXPECT_EQ(RunHelpCommand(bogus, out, err, true), ExitUsage);
    Arguments graph{{"graph"}};
    EXPECT_EQ(RunHelpCommand(graph, out, err, false), ExitUsage);
}

}  // namespace
}  // namespace zelkon::cli
