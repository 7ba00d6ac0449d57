// The report and stats commands of zelkon-cli on the example data files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/commands.h"
#include "cli/import_command.h"
#include "core/file_io.h"
#include "data/scripted_prompts.h"
#include "data/sheet_editing.h"
#include "document/data_file.h"
#include "support/test_support.h"

namespace zelkon::cli {
namespace {

const std::string Examples = std::string(ZELKON_SOURCE_DIR) + "/examples/";

struct CommandRun {
    int code = 0;
    std::string out, err;
};

CommandRun Report(std::vector<std::string> words, bool terminal = false) {
    Arguments args{std::move(words)};
    std::ostringstream out, err;
    CommandRun r;
    r.code = RunReportCommand(args, out, err, terminal);
    r.out = out.str();
    r.err = err.str();
    return r;
}

CommandRun Stats(std::vector<std::string> words) {
    Arguments args{std::move(words)};
    std::ostringstream out, err;
    CommandRun r;
    r.code = RunStatsCommand(args, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

TEST(CliCommands, EveryExampleOpensAndReports) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Examples)) {
        if (entry.path().extension() != ".ZLD") continue;
        ++files;
        const CommandRun report = Report({entry.path().string()});
        EXPECT_EQ(report.code, ExitOk) << entry.path() << report.err;
        EXPECT_NE(report.out.find("                       *     *     *"), std::string::npos)
            << entry.path();
        EXPECT_EQ(report.err, "") << entry.path();
        const CommandRun stats = Stats({entry.path().string(), "--json"});
        EXPECT_EQ(stats.code, ExitOk) << entry.path();
        EXPECT_EQ(stats.out.rfind("{\"format\":", 0), 0u) << entry.path();

        // Saved again, the example reads back the same; saved once more, it gives the same
        // bytes.  (The examples were written when files stored 8 decimals: the first save
        // writes the statistics of the raw columns, which the reader recomputes, in full.)
        std::ostringstream err;
        std::unique_ptr<Document> doc = OpenDataFile(entry.path().string(), err);
        ASSERT_TRUE(doc) << err.str();
        const std::string dir = test::MakeTempDir();
        ASSERT_TRUE(SaveDocument(*doc, dir + "/copy.ZLD", err)) << err.str();
        EXPECT_EQ(Stats({dir + "/copy.ZLD", "--json"}).out, stats.out) << entry.path();
        doc = OpenDataFile(dir + "/copy.ZLD", err);
        ASSERT_TRUE(doc) << err.str();
        ASSERT_TRUE(SaveDocument(*doc, dir + "/again.ZLD", err)) << err.str();
        std::string first, second;
        ASSERT_TRUE(ReadWholeFile(dir + "/copy.ZLD", first));
        ASSERT_TRUE(ReadWholeFile(dir + "/again.ZLD", second));
        EXPECT_EQ(first, second) << entry.path();
        std::filesystem::remove_all(dir);
    }
    EXPECT_EQ(files, 27);
}

// Each line of the corpus, without its trailing blanks, is a whole line of its example's report.
TEST(CliCommands, HelpExamplesReportWhatRComputes) {
    std::ifstream corpus(std::string(ZELKON_SOURCE_DIR) + "/tests/data/examples/help_example_lines.txt");
    ASSERT_TRUE(corpus);
    const auto trimmed = [](std::string line) {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        return line;
    };
    int checked = 0;
    for (std::string entry; std::getline(corpus, entry);) {
        if (entry.empty() || entry.front() == '#') continue;
        const std::size_t tab = entry.find('\t');
        ASSERT_NE(tab, std::string::npos) << entry;
        const std::string file = entry.substr(0, tab);
        const std::string expected = trimmed(entry.substr(tab + 1));
        const CommandRun report = Report({Examples + file});
        ASSERT_EQ(report.code, ExitOk) << file << report.err;
        std::istringstream lines(report.out);
        bool found = false;
        for (std::string line; !found && std::getline(lines, line);) found = trimmed(line) == expected;
        EXPECT_TRUE(found) << file << ": " << expected << "\n" << report.out;
        ++checked;
    }
    EXPECT_EQ(checked, 48);
}

TEST(CliCommands, StatisticsOfTheRawExample) {
    // R: x <- c(128,135,122,141,130,126,138,133,129,136); mean(x) 131.8, sd(x)
    // 5.84617633823833, sd(x)/sqrt(10) 1.84872328318161, median 131.5;
    // lower limit 131.8 - 2.262 * sem = 127.618187933443.
    const CommandRun r = Stats({Examples + "blood_pressure_raw.ZLD"});
    ASSERT_EQ(r.code, ExitOk) << r.err;
    std::istringstream lines(r.out);
    std::string heading, mean, sd, n;
    std::getline(lines, heading);
    std::getline(lines, mean);
    std::getline(lines, sd);
    std::getline(lines, n);
    // The columns show their values with the column's decimals (whole numbers here).
    EXPECT_EQ(heading, std::string(26, ' ') + "        Placebo           Drug");
    EXPECT_EQ(mean, "Mean" + std::string(22, ' ') + "            132            123");
    EXPECT_EQ(n, "Sample size (N)" + std::string(11, ' ') + "             10             10");

    const CommandRun json = Stats({Examples + "blood_pressure_raw.ZLD", "--json"});
    EXPECT_NE(json.out.find("\"mean\":131.8"), std::string::npos);
    EXPECT_NE(json.out.find("\"sd\":5.846176338238334"), std::string::npos);
    EXPECT_NE(json.out.find("\"median\":131.5"), std::string::npos);
    EXPECT_NE(json.out.find("\"lower95\":127.6181879334432"), std::string::npos);
}

TEST(CliCommands, AveragedExampleShowsSemFirst) {
    const CommandRun r = Stats({Examples + "cholesterol_mean_sem_n.ZLD"});
    ASSERT_EQ(r.code, ExitOk);
    // SD = SEM * sqrt(N): 0.21 * sqrt(18) = 0.8909545..., shown with two decimals.
    EXPECT_NE(r.out.find("\nSEM                                  0.21           0.19\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\nSD                                   0.89           0.78\n"),
              std::string::npos);
}

TEST(CliCommands, ReportStylesOnlyOnATerminal) {
    const std::string file = Examples + "blood_pressure_raw.ZLD";
    const CommandRun plain = Report({file});
    EXPECT_EQ(plain.out.find('\x1b'), std::string::npos);
    EXPECT_EQ(plain.out.rfind("Systolic blood pressure (mmHg) after eight weeks\n\n", 0), 0u);
    const CommandRun raw = Report({file, "--raw"});
    EXPECT_EQ(raw.out.rfind("Systolic blood pressure (mmHg) after eight weeks\r\n\r\n", 0), 0u);
    const CommandRun json = Report({file, "--json"});
    EXPECT_EQ(json.out.rfind("{\"file\":", 0), 0u);
    EXPECT_NE(json.out.find("\"errorCode\":0"), std::string::npos);
}

// The UTF-8 form of Latin-1 text inside a JSON string, worked out byte by byte.
std::string JsonUtf8(const std::string& latin1) {
    std::string out;
    for (const char ch : latin1) {
        const auto b = static_cast<unsigned char>(ch);
        if (ch == '"' || ch == '\\') out += '\\';
        if (b < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

TEST(CliCommands, JsonIsUtf8WithTheTitlesOfTheFile) {
    // Titles holding every printable Latin-1 character ("µ" among them), a data title that
    // looks like a number, and file names beyond Latin-1 or not UTF-8 at all.
    std::string every;
    for (int b = 32; b < 256; ++b) {
        if (b < 127 || b > 159) every += static_cast<char>(b);
    }
    Document doc;
    test::ScriptedPrompts prompts;
    for (int r = 0; r < 3; ++r) PostTypedValue(doc, r, 0, std::to_string(r + 1), {}, prompts);
    doc.Table().SetDataTitle("2024-03-01");
    doc.Table().Record(0).title = every.substr(0, 80);
    const std::string dir = test::MakeTempDir();
    std::ostringstream err;
    const std::string utf8Name = "donn\xC3\xA9" "es \xE6\x95\xB0.ZLD";  // "données 数.ZLD"
    for (const std::string& name : {"/" + utf8Name, std::string("/bad\xFF.ZLD")}) {
        ASSERT_TRUE(SaveDocument(doc, dir + name, err)) << err.str();
    }
    const CommandRun stats = Stats({dir + "/" + utf8Name, "--json"});
    ASSERT_EQ(stats.code, ExitOk) << stats.err;
    EXPECT_NE(stats.out.find("\"title\":\"2024-03-01\",\"columns\""), std::string::npos) << stats.out;
    EXPECT_NE(stats.out.find("\"title\":\"" + JsonUtf8(every.substr(0, 80)) + "\""),
              std::string::npos);
    const CommandRun report = Report({dir + "/" + utf8Name, "--json"});
    EXPECT_NE(report.out.find(utf8Name + "\""), std::string::npos) << report.out;
    EXPECT_NE(report.out.find(JsonUtf8(every.substr(0, 80))), std::string::npos);
    const CommandRun bad = Report({dir + "/bad\xFF.ZLD", "--json"});
    EXPECT_NE(bad.out.find("/bad\xEF\xBF\xBD.ZLD\""), std::string::npos) << bad.out;
    // Past the ASCII range there is nothing but these two-byte forms, three bytes of the
    // Chinese character and the replacement character.
    for (const std::string* out : {&stats.out, &report.out, &bad.out}) {
        std::string rest = *out;
        for (const char* allowed : {"\xE6\x95\xB0", "\xEF\xBF\xBD"}) {
            for (std::size_t at; (at = rest.find(allowed)) != std::string::npos;) rest.erase(at, 3);
        }
        for (std::size_t i = 0; i < rest.size(); ++i) {
            const auto b = static_cast<unsigned char>(rest[i]);
            if (b < 0x80) continue;
            ASSERT_TRUE((b == 0xC2 || b == 0xC3) && i + 1 < rest.size() &&
                        (static_cast<unsigned char>(rest[i + 1]) & 0xC0) == 0x80)
                << "byte " << i << " of " << rest;
            ++i;
        }
    }
    std::filesystem::remove_all(dir);
}

TEST(CliCommands, RefusedFilesGiveAMessageAndAFailureCode) {
    const std::string dir = test::MakeTempDir();
    const CommandRun missing = Report({dir + "/none.ZLD"});
    EXPECT_EQ(missing.code, ExitFailure);
    EXPECT_NE(missing.err.find("no such file"), std::string::npos);

    std::ofstream(dir + "/text.ZLD") << "hello\r\nworld\r\n";
    const CommandRun notData = Report({dir + "/text.ZLD"});
    EXPECT_EQ(notData.code, ExitFailure);
    EXPECT_NE(notData.err.find("The file is not an Zelkon data file. If you want to import data, "
                               "first create a new file, then Import."),
              std::string::npos);

    std::ofstream(dir + "/newer.ZLD") << "Kestrane Zelkon for Windows Version 3.01\r\n3.01\r\n1\r\n\r\n\r\n\r\n";
    const CommandRun newer = Stats({dir + "/newer.ZLD"});
    EXPECT_EQ(newer.code, ExitFailure);
    EXPECT_NE(newer.err.find("This file cannot be read because it was created by a newer "
                             "version of Zelkon."),
              std::string::npos);

    const CommandRun folder = Report({dir});
    EXPECT_EQ(folder.code, ExitFailure);
    EXPECT_NE(folder.err.find("cannot be read"), std::string::npos);

    EXPECT_EQ(Report({}).code, ExitUsage);
    EXPECT_EQ(Report({dir + "/none.ZLD", "--bogus"}).code, ExitUsage);
    std::filesystem::remove_all(dir);
}

// NIST's certified one-way ANOVA results through the command line: the stacked data file
// imported with --indexed, then the report's JSON.
TEST(CliCommands, NistAnovaThroughImportAndReport) {
    struct Case {
        const char* file;
        int firstDataLine;
        double ssTreatment, ssResidual, f;  // certified values of the file
    };
    const Case cases[] = {
        {"SiRstv.dat", 61, 5.11462616000000E-02, 2.16636560000000E-01, 1.18046237440255E+00},
        {"SmLs04.dat", 61, 1.68000000000000E+00, 1.80000000000000E+00, 2.10000000000000E+01},
    };
    for (const Case& c : cases) {
        const std::string dir = test::MakeTempDir();
        std::string text;
        ASSERT_TRUE(ReadWholeFile(std::string(ZELKON_NIST_DIR) + "/" + c.file, text));
        std::istringstream in(text);
        std::string line, data;
        for (int n = 1; std::getline(in, line); ++n) {
            if (n >= c.firstDataLine) data += line + "\n";
        }
        std::ofstream(dir + "/data.txt") << data;
        Arguments import{{dir + "/data.txt", "-o", dir + "/data.ZLD", "--indexed", "2", "1"}};
        std::ostringstream out, err;
        ASSERT_EQ(RunImportCommand(import, out, err), ExitOk) << err.str();
        const CommandRun report = Report({dir + "/data.ZLD", "--json"});
        ASSERT_EQ(report.code, ExitOk) << report.err;
        auto number = [&](const std::string& key) {
            const std::size_t at = report.out.find("\"" + key + "\":");
            EXPECT_NE(at, std::string::npos) << key;
            return std::strtold(report.out.c_str() + at + key.size() + 3, nullptr);
        };
        // At least ten significant digits.
        EXPECT_LT(std::fabs(number("ssTreatment") / c.ssTreatment - 1), 1e-10L) << c.file;
        EXPECT_LT(std::fabs(number("ssResidual") / c.ssResidual - 1), 1e-10L) << c.file;
        EXPECT_LT(std::fabs(number("f") / c.f - 1), 1e-10L) << c.file;
        std::filesystem::remove_all(dir);
    }
}

// The numbers of a JSON array that follows "key":[ in text.
std::vector<long double> JsonArray(const std::string& text, const std::string& key) {
    std::vector<long double> values;
    std::size_t at = text.find("\"" + key + "\":[");
    if (at == std::string::npos) return values;
    const char* p = text.c_str() + at + key.size() + 4;
    while (*p != ']') {
        char* end = nullptr;
        values.push_back(std::strtold(p, &end));
        p = end;
        if (*p == ',') ++p;
    }
    return values;
}

long double JsonNumber(const std::string& text, const std::string& key) {
    const std::size_t at = text.find("\"" + key + "\":");
    return at == std::string::npos ? 0 : std::strtold(text.c_str() + at + key.size() + 3, nullptr);
}

/// Types the whitespace-separated numbers of a NIST file's data lines into columns, in the
/// order given (`order[k]` is the column of the k-th number on a line).
void TypeNistData(Document& doc, const char* file, int firstDataLine, std::vector<int> order) {
    class Silent final : public UserPrompts {
    public:
        PromptAnswer Ask(std::string_view, PromptButtons) override { return PromptAnswer::No; }
        void Tell(std::string_view) override {}
    } prompts;
    std::string text;
    ASSERT_TRUE(ReadWholeFile(std::string(ZELKON_NIST_DIR) + "/" + file, text));
    std::istringstream in(text);
    std::string line;
    int row = 0;
    for (int n = 1; std::getline(in, line); ++n) {
        if (n < firstDataLine) continue;
        std::istringstream fields(line);
        std::string field;
        for (std::size_t k = 0; k < order.size() && fields >> field; ++k) {
            PostTypedValue(doc, row, order[k], field, Separators{}, prompts);
        }
        ++row;
    }
}

// NIST's certified linear and multiple regressions through a saved data file and
// `zelkon-cli report --json`: coefficients and their standard deviations to ten digits.
TEST(CliCommands, NistRegressionsThroughReport) {
    const std::string dir = test::MakeTempDir();
    auto rel = [](long double a, long double b) { return std::fabs(a / b - 1); };
    {
        Document doc;
        doc.Data().SetFormat(DataFormat::XY);
        TypeNistData(doc, "Norris.dat", 61, {1, 0});  // the file holds y, then x
        ASSERT_EQ(SaveDataFile(DataFileContents{doc.Data(), doc.Choices(), doc.Notes(), doc.Graph()},
                               dir + "/norris.ZLD"),
                  0);
        const CommandRun r = Report({dir + "/norris.ZLD", "--json"});
        ASSERT_EQ(r.code, ExitOk) << r.err;
        EXPECT_LT(rel(JsonNumber(r.out, "intercept"), -0.262323073774029L), 1e-10L);
        EXPECT_LT(rel(JsonNumber(r.out, "interceptSE"), 0.232818234301152L), 1e-10L);
        EXPECT_LT(rel(JsonNumber(r.out, "slope"), 1.00211681802045L), 1e-10L);
        EXPECT_LT(rel(JsonNumber(r.out, "slopeSE"), 0.429796848199937E-03L), 1e-10L);
        EXPECT_LT(rel(JsonNumber(r.out, "syx"), 0.884796396144373L), 1e-10L);
    }
    {
        Document doc;
        doc.Data().SetFormat(DataFormat::MultipleRegression);
        TypeNistData(doc, "Longley.dat", 61, {0, 1, 2, 3, 4, 5, 6});
        MultipleRegressionChoices& m = doc.Choices().multipleRegression;
        m.kind = MultipleRegressionKind::MultipleRegression;
        m.dependentColumn = 0;
        for (int c = 1; c <= 6; ++c) m.include[static_cast<std::size_t>(c)] = 1;
        ASSERT_EQ(SaveDataFile(DataFileContents{doc.Data(), doc.Choices(), doc.Notes(), doc.Graph()},
                               dir + "/longley.ZLD"),
                  0);
        const CommandRun r = Report({dir + "/longley.ZLD", "--json"});
        ASSERT_EQ(r.code, ExitOk) << r.err;
        const std::vector<long double> b = JsonArray(r.out, "coefficients");
        const std::vector<long double> se = JsonArray(r.out, "standardErrors");
        const long double certifiedB[] = {-3482258.63459582L,     15.0618722713733L,
                                          -0.358191792925910E-01L, -2.02022980381683L,
                                          -1.03322686717359L,      -0.511041056535807E-01L,
                                          1829.15146461355L};
        const long double certifiedSE[] = {890420.383607373L,      84.9149257747669L,
                                           0.334910077722432E-01L, 0.488399681651699L,
                                           0.214274163161675L,     0.226073200069370L,
                                           455.478499142212L};
        ASSERT_EQ(b.size(), 7u) << r.out.substr(0, 400);
        ASSERT_EQ(se.size(), 7u);
        for (std::size_t k = 0; k < 7; ++k) {
            EXPECT_LT(rel(b[k], certifiedB[k]), 1e-10L) << k;
            EXPECT_LT(rel(se[k], certifiedSE[k]), 1e-10L) << k;
        }
        EXPECT_LT(rel(JsonNumber(r.out, "sdResidual"), 304.854073561965L), 1e-10L);
    }
    std::filesystem::remove_all(dir);
}

TEST(CliArguments, OptionsFlagsAndSeparators) {
    Arguments args{{"file", "--decimal-separator", ",", "--list-separator=;", "--json"}};
    std::ostringstream err;
    const std::optional<Separators> s = SeparatorsFromLocale(args, err);
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->decimal, ',');
    EXPECT_EQ(s->list, ';');
    EXPECT_TRUE(args.TakeFlag("json"));
    EXPECT_EQ(args.Positional(), std::vector<std::string>{"file"});

    Arguments clash{{"--decimal-separator", ",", "--list-separator", ","}};
    EXPECT_FALSE(SeparatorsFromLocale(clash, err).has_value());
    Arguments wide{{"--decimal-separator", ",,"}};
    EXPECT_FALSE(SeparatorsFromLocale(wide, err).has_value());
}

}  // namespace
}  // namespace zelkon::cli
