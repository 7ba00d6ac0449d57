// zelkon-cli choices: a data file's stored analysis choices written as the options of
// `analyze` that repeat them.
#include <ostream>
#include <string>

#include "cli/choice_options.h"
#include "cli/commands.h"
#include "core/latin1.h"
#include "core/stored_number.h"
#include "document/post_test_choice.h"
#include "stats/column_stats.h"

namespace zelkon::cli {

namespace {

std::string Number(Extended value) {
    std::string text = FormatStoredNumber(value);
    if (!text.empty() && text.front() == ' ') text.erase(0, 1);
    return text;
}

std::string Letters(const std::vector<ColumnEntry>& entries) {
    std::string text;
    for (const ColumnEntry& e : entries) {
        if (!e.checked) continue;
        if (!text.empty()) text.push_back(',');
        text.push_back(ColumnLetter(e.column));
    }
    return text;
}

std::string SelectOption(const DataTable& table, const AnalysisChoices& choices) {
    if (choices.allColumns != 0 && CountSelectedDataColumns(table) == CountDataColumns(table)) {
        return " --select all";
    }
    const std::string text = SelectedColumnsOption(table);
    return text.empty() ? std::string() : " --select " + text;
}

std::string PairsOption(const DataTable& table, const ColumnAnalysisChoices& cc) {
    std::string text;
    for (const PairEntry& e : PairDialogEntries(table, cc)) {
        if (!e.checked) continue;
        if (!text.empty()) text.push_back(',');
        text += {ColumnLetter(e.pair.first), '-', ColumnLetter(e.pair.second)};
    }
    return text.empty() ? std::string() : " --pairs " + text;
}

// The post-test question of the multi-column page.
std::string PostTestOptions(const DataTable& table, const ColumnAnalysisChoices& cc) {
    if (cc.postTestMode == PostTestMode::None) return " --post-test none";
    std::string text;
    const std::string control = std::string(" --control ") + ColumnLetter(cc.controlColumn);
    if (cc.multiColumnNonparametric != 0) {
        // Dunn's test, on the pairs the pair mode names.
        switch (cc.pairMode) {
            case PairMode::SelectedPairs: text = " --post-test dunn" + PairsOption(table, cc); break;
            case PairMode::AgainstControl: text = " --post-test control" + control; break;
            default: text = " --post-test dunn"; break;
        }
    } else {
        switch (PostTestItemOf(cc, false)) {
            case PostTestItem::SelectedPairs:
                text = " --post-test bonferroni" + PairsOption(table, cc);
                break;
            case PostTestItem::AllPairs: text = " --post-test bonferroni"; break;
            case PostTestItem::Tukey: text = " --post-test tukey"; break;
            case PostTestItem::NewmanKeuls: text = " --post-test snk"; break;
            case PostTestItem::Dunnett: text = " --post-test dunnett" + control; break;
            case PostTestItem::LinearTrend: text = " --post-test trend"; break;
            default: return {};
        }
    }
    return text + (ContingentPostChecked(cc) ? " --post-test-when significant"
                                             : " --post-test-when always");
}

}  // namespace

std::optional<std::string> ChoicesAsOptions(Document& document) {
    DataTable& table = document.Table();
    AnalysisChoices& choices = document.Choices();
    const ChooseTestPage page = SetUpChooseTest(document.Format(), table, choices,
                                                [&table] { UpdateColumnSummaries(table); });
    const std::optional<ChosenTest> test = ChosenTestOf(page, choices);
    if (!test) return std::nullopt;
    const ColumnAnalysisChoices& cc = choices.columns;
    std::string text = "--test " + std::string(TestName(*test));
    const auto tails = [](std::uint8_t twoSided) {
        return std::string(twoSided != 0 ? " --tails 2" : " --tails 1");
    };
    switch (page) {
        case ChooseTestPage::OneColumn:
            text += SelectOption(table, choices) + tails(cc.oneColumnTwoSided) + " --value " +
                    Number(cc.hypotheticalValue);
            break;
        case ChooseTestPage::TwoColumns:
            text += SelectOption(table, choices) + tails(cc.twoColumnTwoSided);
            break;
        case ChooseTestPage::ThreeOrMoreColumns:
            text += SelectOption(table, choices) + PostTestOptions(table, cc);
            break;
        case ChooseTestPage::Fit: {
            const XYChoices& xy = choices.xy;
            if (*test != ChosenTest::LinearRegression) break;
            if (xy.forceThroughPoint != 0) {
                text += " --force " + Number(xy.ForceX) + "," + Number(xy.ForceY);
            }
            text += xy.runsTest != 0 ? " --runs-test" : " --no-runs-test";
            text += xy.interpolate != 0 ? " --standard-curve" : " --no-standard-curve";
            break;
        }
        case ChooseTestPage::MultipleRegression: {
            const MultipleRegressionChoices& mr = choices.multipleRegression;
            const MultipleRegressionPage shown = MultipleRegressionPageOf(table, mr);
            if (*test == ChosenTest::MultipleRegression && shown.dependentEnabled) {
                text += " --y ";
                text.push_back(ColumnLetter(mr.dependentColumn));
            }
            const std::string variables = Letters(shown.variableEntries);
            if (!variables.empty()) text += " --x " + variables;
            break;
        }
        case ChooseTestPage::TwoByTwo: {
            const TwoByTwoChoices& t = choices.twoByTwo;
            text += tails(t.twoSided);
            if (YatesApplies(t)) text += t.yates != 0 ? " --yates" : " --no-yates";
            if (*test != ChosenTest::McNemar) {
                static constexpr std::string_view Also[] = {" --odds-ratio", " --relative-risk",
                                                            " --sensitivity"};
                text += Also[static_cast<int>(AlsoCalculateOf(t))];
            }
            break;
        }
        case ChooseTestPage::None: break;
    }
    return text;
}

int RunChoicesCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    if (const auto unknown = args.UnknownOption()) {
        err << "zelkon-cli choices: unknown option " << *unknown << '\n';
        return ExitUsage;
    }
    const std::vector<std::string> files = args.Positional();
    if (files.size() != 1) {
        err << "usage: zelkon-cli choices FILE.ZLD\n";
        return ExitUsage;
    }
    std::unique_ptr<Document> document = OpenDataFile(files[0], err);
    if (!document) return ExitFailure;
    const std::optional<std::string> options = ChoicesAsOptions(*document);
    if (!options) {
        err << "zelkon-cli choices: " << files[0] << ": the choices select no test\n";
        return ExitFailure;
    }
    out << *options << '\n';
    return ExitOk;
}

}  // namespace zelkon::cli
