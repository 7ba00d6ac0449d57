// The test names and the choice options of zelkon-cli, read from the command line.
#include "cli/choice_options.h"

#include <array>
#include <cctype>

#include "core/number_parse.h"

namespace zelkon::cli {

namespace {

struct NamedTest {
    ChosenTest test;
    std::string_view name;
};

constexpr std::array<NamedTest, 20> TestNames = {{
    {ChosenTest::OneSampleT, "one-sample-t"},
    {ChosenTest::Wilcoxon, "wilcoxon"},
    {ChosenTest::UnpairedT, "unpaired-t"},
    {ChosenTest::WelchT, "welch-t"},
    {ChosenTest::PairedT, "paired-t"},
    {ChosenTest::MannWhitney, "mann-whitney"},
    {ChosenTest::WilcoxonPairs, "wilcoxon-pairs"},
    {ChosenTest::OneWayAnova, "anova"},
    {ChosenTest::RepeatedMeasuresAnova, "rm-anova"},
    {ChosenTest::KruskalWallis, "kruskal-wallis"},
    {ChosenTest::Friedman, "friedman"},
    {ChosenTest::LinearRegression, "linear-regression"},
    {ChosenTest::Pearson, "pearson"},
    {ChosenTest::Spearman, "spearman"},
    {ChosenTest::MultipleRegression, "multiple-regression"},
    {ChosenTest::CorrelationMatrix, "correlation-matrix"},
    {ChosenTest::Fisher, "fisher"},
    {ChosenTest::ChiSquare, "chi-square"},
    {ChosenTest::McNemar, "mcnemar"},
    {ChosenTest::Contingency, "contingency"},
}};

constexpr std::array<std::pair<std::string_view, PostTestName>, 8> PostTestNames = {{
    {"none", PostTestName::None},
    {"tukey", PostTestName::Tukey},
    {"bonferroni", PostTestName::Bonferroni},
    {"snk", PostTestName::NewmanKeuls},
    {"dunnett", PostTestName::Dunnett},
    {"trend", PostTestName::Trend},
    {"dunn", PostTestName::Dunn},
    {"control", PostTestName::Control},
}};

// A column letter, A to Z (either case).
std::optional<int> ParseColumn(std::string_view text) {
    if (text.size() != 1 || std::isalpha(static_cast<unsigned char>(text[0])) == 0) {
        return std::nullopt;
    }
    return std::toupper(static_cast<unsigned char>(text[0])) - 'A';
}

std::vector<std::string_view> SplitAtCommas(std::string_view text) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) return parts;
        start = comma + 1;
    }
}

// "A,C" or "A-C,E": the columns in the order given, runs written out.  Empty for "all".
std::optional<std::vector<int>> ParseColumnList(std::string_view text) {
    if (text == "all") return std::vector<int>{};
    std::vector<int> columns;
    for (std::string_view part : SplitAtCommas(text)) {
        const std::size_t dash = part.find('-');
        const auto first = ParseColumn(part.substr(0, dash));
        const auto last = dash == std::string_view::npos ? first : ParseColumn(part.substr(dash + 1));
        if (!first || !last || *last < *first) return std::nullopt;
        for (int c = *first; c <= *last; ++c) columns.push_back(c);
    }
    return columns;
}

// "A-B,B-C": pairs of two different columns, first before second.  Empty for "all".
std::optional<std::vector<ColumnPair>> ParsePairList(std::string_view text) {
    if (text == "all") return std::vector<ColumnPair>{};
    std::vector<ColumnPair> pairs;
    for (std::string_view part : SplitAtCommas(text)) {
        const std::size_t dash = part.find('-');
        if (dash == std::string_view::npos) return std::nullopt;
        const auto a = ParseColumn(part.substr(0, dash));
        const auto b = ParseColumn(part.substr(dash + 1));
        if (!a || !b || *a == *b) return std::nullopt;
        pairs.push_back({std::min(*a, *b), std::max(*a, *b)});
    }
    return pairs;
}

// Numbers of the choices are written with a point, whatever the locale.
bool ParseChoiceNumber(std::string_view text, Extended& value) {
    return ParseNumber(text, Separators{'.', ','}, value);
}

// The answer of a question given as one of several flags ("--yates" or "--no-yates");
// `message` is set when more than one of them is given.
template <typename T, std::size_t N>
std::optional<T> TakeOneOf(Arguments& args, const std::array<std::pair<std::string_view, T>, N>& flags,
                           std::string& message) {
    std::optional<T> answer;
    std::string first;
    for (const auto& [flag, value] : flags) {
        if (!args.TakeFlag(flag)) continue;
        if (answer) {
            message = "--" + first + " and --" + std::string(flag) + " exclude each other";
            return std::nullopt;
        }
        answer = value;
        first = flag;
    }
    return answer;
}

}  // namespace

char ColumnLetter(int column) { return static_cast<char>('A' + column); }

std::string SelectedColumnsOption(const DataTable& table) {
    const std::string text = SelectedColumnsText(table);
    std::string option;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool joined = text.compare(i, 2, "&&") == 0;
        option.push_back(joined ? ',' : text[i]);
        if (joined) ++i;
    }
    return option;
}

std::string_view TestName(ChosenTest test) {
    for (const NamedTest& t : TestNames) {
        if (t.test == test) return t.name;
    }
    return {};
}

std::optional<ChosenTest> TestOfName(std::string_view name) {
    for (const NamedTest& t : TestNames) {
        if (t.name == name) return t.test;
    }
    return std::nullopt;
}

DataFormat FormatOfTest(ChosenTest test) {
    switch (PageOfTest(test)) {
        case ChooseTestPage::Fit: return DataFormat::XY;
        case ChooseTestPage::TwoByTwo: return DataFormat::TwoByTwo;
        case ChooseTestPage::None: return DataFormat::LargerTable;
        case ChooseTestPage::MultipleRegression: return DataFormat::MultipleRegression;
        default: return DataFormat::Raw;
    }
}

std::optional<ChoiceOptions> TakeChoiceOptions(Arguments& args, std::string& message) {
    ChoiceOptions o;
    const auto bad = [&message](std::string text) {
        message = std::move(text);
        return std::nullopt;
    };
    if (const auto name = args.TakeOption("test")) {
        o.test = TestOfName(*name);
        if (!o.test) return bad("unknown test " + *name + " (see zelkon-cli help analyze)");
    }
    if (const auto tails = args.TakeOption("tails")) {
        if (*tails != "1" && *tails != "2") return bad("--tails takes 1 or 2");
        o.twoTailed = *tails == "2";
    }
    if (const auto value = args.TakeOption("value")) {
        Extended v = 0;
        if (!ParseChoiceNumber(*value, v)) return bad("--value takes a number (written with a point)");
        o.value = v;
    }
    if (const auto select = args.TakeOption("select")) {
        o.select = ParseColumnList(*select);
        if (!o.select) return bad("--select takes all or column letters such as A,C or A-C,E");
    }
    if (const auto post = args.TakeOption("post-test")) {
        for (const auto& [name, value] : PostTestNames) {
            if (name == *post) o.postTest = value;
        }
        if (!o.postTest) {
            return bad("--post-test takes tukey, bonferroni, snk, dunnett, trend, dunn, control "
                       "or none");
        }
    }
    if (const auto pairs = args.TakeOption("pairs")) {
        o.pairs = ParsePairList(*pairs);
        if (!o.pairs) return bad("--pairs takes all or pairs of column letters such as A-B,B-C");
    }
    if (const auto control = args.TakeOption("control")) {
        o.control = ParseColumn(*control);
        if (!o.control) return bad("--control takes a column letter");
    }
    if (const auto when = args.TakeOption("post-test-when")) {
        if (*when != "always" && *when != "significant") {
            return bad("--post-test-when takes always or significant");
        }
        o.postTestIfSignificant = *when == "significant";
    }
    if (const auto force = args.TakeOption("force")) {
        const std::vector<std::string_view> parts = SplitAtCommas(*force);
        Extended x = 0, y = 0;
        if (parts.size() != 2 || !ParseChoiceNumber(parts[0], x) || !ParseChoiceNumber(parts[1], y)) {
            return bad("--force takes the point X,Y (numbers written with a point)");
        }
        o.force = std::pair{x, y};
    }
    if (const auto y = args.TakeOption("y")) {
        o.dependent = ParseColumn(*y);
        if (!o.dependent) return bad("--y takes a column letter");
    }
    if (const auto x = args.TakeOption("x")) {
        o.variables = ParseColumnList(*x);
        if (!o.variables) return bad("--x takes all or column letters such as B,C or B-D");
    }

    // The runs test and the test of lack of fit are one question ("Test for departure from
    // linearity?"): with replicates the report adds the lack of fit to the runs test.
    const bool runs = args.TakeFlag("runs-test");
    const bool lackOfFit = args.TakeFlag("lack-of-fit");
    const bool noRuns = args.TakeFlag("no-runs-test");
    const bool noLackOfFit = args.TakeFlag("no-lack-of-fit");
    const bool linear = runs || lackOfFit;
    const bool notLinear = noRuns || noLackOfFit;
    if (linear && notLinear) return bad("--runs-test and --no-runs-test exclude each other");
    if (linear || notLinear) o.linearityTest = linear;

    static constexpr std::array<std::pair<std::string_view, bool>, 2> Curve = {
        {{"standard-curve", true}, {"no-standard-curve", false}}};
    static constexpr std::array<std::pair<std::string_view, bool>, 2> Yates = {
        {{"yates", true}, {"no-yates", false}}};
    static constexpr std::array<std::pair<std::string_view, AlsoCalculate>, 3> Also = {
        {{"relative-risk", AlsoCalculate::RelativeRisk},
         {"odds-ratio", AlsoCalculate::OddsRatio},
         {"sensitivity", AlsoCalculate::Sensitivity}}};
    o.standardCurve = TakeOneOf(args, Curve, message);
    if (message.empty()) o.yates = TakeOneOf(args, Yates, message);
    if (message.empty()) o.alsoCalculate = TakeOneOf(args, Also, message);
    if (!message.empty()) return std::nullopt;
    return o;
}

}  // namespace zelkon::cli
