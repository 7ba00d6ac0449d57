// The analysis choices on the command line: the names of the tests and the options named
// after the questions of the choose-test pages, read from the words of a command, applied to
// a document through the pages' own rules, and written back from a document's choices.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli_common.h"
#include "core/analysis_choices.h"
#include "core/data_format.h"
#include "document/choose_test.h"
#include "document/column_selection.h"

namespace zelkon::cli {

/// The command-line name of a test ("welch-t").
std::string_view TestName(ChosenTest test);
/// The test of a command-line name.
std::optional<ChosenTest> TestOfName(std::string_view name);
/// The format in which a text file is read for the test when no `--format` is given.
DataFormat FormatOfTest(ChosenTest test);

/// The answers of `--post-test`.
enum class PostTestName { None, Tukey, Bonferroni, NewmanKeuls, Dunnett, Trend, Dunn, Control };

/// The choices given on a command line, each checked for its own form only.  A list that
/// is empty stands for "all".
struct ChoiceOptions {
    std::optional<ChosenTest> test;                  ///< --test NAME
    std::optional<bool> twoTailed;                   ///< --tails 1|2
    std::optional<Extended> value;                   ///< --value X
    std::optional<std::vector<int>> select;          ///< --select all|A,C,...
    std::optional<PostTestName> postTest;            ///< --post-test NAME
    std::optional<std::vector<ColumnPair>> pairs;    ///< --pairs all|A-B,...
    std::optional<int> control;                      ///< --control COL
    std::optional<bool> postTestIfSignificant;       ///< --post-test-when significant|always
    std::optional<std::pair<Extended, Extended>> force;  ///< --force X,Y
    std::optional<bool> linearityTest;               ///< --runs-test, --lack-of-fit, --no-...
    std::optional<bool> standardCurve;               ///< --standard-curve, --no-standard-curve
    std::optional<int> dependent;                    ///< --y COL
    std::optional<std::vector<int>> variables;       ///< --x all|COL,...
    std::optional<bool> yates;                       ///< --yates, --no-yates
    std::optional<AlsoCalculate> alsoCalculate;      ///< --relative-risk, --odds-ratio, ...
};

/// Takes the choice options out of the arguments.  A malformed one (an unknown test, a
/// letter that names no column, two answers of one question) leaves its message in
/// `message` and nothing is returned.
std::optional<ChoiceOptions> TakeChoiceOptions(Arguments& args, std::string& message);

/// Answers the choose-test page of the document with the options, in the order in which the
/// page asks: step 4 is prepared, the columns are selected, the test is chosen, then every
/// other question.  A choice that the data or the test cannot take is refused: the result is
/// its message naming the option (the document may then be answered only in part).  An
/// empty result means every choice was made.
std::string ApplyChoiceOptions(Document& document, const ChoiceOptions& options);

/// A column's letter ('A' for 0).
char ColumnLetter(int column);
/// The selected data columns as `--select` writes them ("A-C,E", "A,B").
std::string SelectedColumnsOption(const DataTable& table);

/// The test the document's choices select as step 4 last prepared them, if any.
std::optional<ChosenTest> DocumentTest(const Document& document);

/// The document's choices as the options that repeat them ("--test welch-t --select A,B
/// --tails 2"), step 4 prepared first.  Nothing when the choices select no test.
std::optional<std::string> ChoicesAsOptions(Document& document);

}  // namespace zelkon::cli
