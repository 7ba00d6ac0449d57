// The choice options applied to a document: each one answers its question on the
// choose-test page through the rule the page itself follows, and a choice that the page
// does not offer for the data or the test is refused with a message that names it.
#include <string>

#include "cli/choice_options.h"
#include "document/document.h"
#include "document/post_test_choice.h"
#include "stats/column_stats.h"

namespace zelkon::cli {

namespace {

std::string PairText(const ColumnPair& pair) {
    return {ColumnLetter(pair.first), '-', ColumnLetter(pair.second)};
}

std::string_view FormatWords(DataFormat format) {
    switch (format) {
        case DataFormat::XY: return "X and Y data";
        case DataFormat::Raw: return "raw data";
        case DataFormat::MeanSDN: return "averaged data (mean, SD and N)";
        case DataFormat::MeanSEMN: return "averaged data (mean, SEM and N)";
        case DataFormat::TwoByTwo: return "a two-by-two table";
        case DataFormat::LargerTable: return "a larger contingency table";
        case DataFormat::MultipleRegression: return "multiple-regression data";
    }
    return {};
}

bool IsColumnPage(ChooseTestPage page) {
    return page == ChooseTestPage::OneColumn || page == ChooseTestPage::TwoColumns ||
           page == ChooseTestPage::ThreeOrMoreColumns;
}

// What a test needs that the data do not give.
std::string TestRefusal(ChosenTest test, ChooseTestPage page, DataFormat format,
                        const DataTable& table) {
    const std::string option = "--test " + std::string(TestName(test));
    const ChooseTestPage wanted = PageOfTest(test);
    if (!IsColumnPage(wanted) || !IsColumnPage(page)) {
        static constexpr std::string_view Needs[] = {
            "a larger contingency table (--format table)", "X and Y data (--format xy)",
            "a two-by-two table (--format twobytwo)",
            "multiple-regression data (--format multreg)"};
        const std::string_view needs = wanted == ChooseTestPage::None ? Needs[0]
                                       : wanted == ChooseTestPage::Fit ? Needs[1]
                                       : wanted == ChooseTestPage::TwoByTwo ? Needs[2]
                                       : wanted == ChooseTestPage::MultipleRegression
                                           ? Needs[3]
                                           : "raw or averaged data in columns (--format raw)";
        return option + " needs " + std::string(needs) + "; the input holds " +
               std::string(FormatWords(format));
    }
    const std::string_view needs = wanted == ChooseTestPage::OneColumn    ? "one selected column"
                                   : wanted == ChooseTestPage::TwoColumns ? "two selected columns"
                                                            : "three or more selected columns";
    const int selected = CountSelectedDataColumns(table);
    return option + " needs " + std::string(needs) + " with data; " +
           (selected == 0 ? std::string("none is selected")
                          : std::to_string(selected) + (selected == 1 ? " is" : " are") +
                                " selected (" + SelectedColumnsOption(table) + ")") +
           "; choose them with --select";
}

std::string NotFor(std::string_view option, std::optional<ChosenTest> test,
                   std::string_view takers) {
    return std::string(option) + " does not apply to " +
           (test ? std::string(TestName(*test)) : std::string("a file that selects no test")) +
           " (it applies to " + std::string(takers) + ")";
}

class Answers {
public:
    Answers(Document& document, const ChoiceOptions& options)
        : doc_(document), o_(options), choices_(document.Choices()), cc_(choices_.columns) {}

    std::string Apply() {
        page_ = SetUp();
        test_ = o_.test ? o_.test : ChosenTestOf(page_, choices_);
        if (std::string r = SelectColumns(); !r.empty()) return r;
        if (!o_.test) test_ = ChosenTestOf(page_, choices_);
        if (o_.test) {
            if (PageOfTest(*o_.test) != page_) {
                return TestRefusal(*o_.test, page_, doc_.Format(), doc_.Table());
            }
            if (!TestOffered(*o_.test, doc_.Format(), doc_.Table())) {
                return "--test " + std::string(TestName(*o_.test)) +
                       " needs raw data in every column (the page does not offer it for " +
                       "averaged data)";
            }
            ChooseTest(choices_, *o_.test);
        }
        for (std::string (Answers::*answer)() :
             {&Answers::Tails, &Answers::Value, &Answers::PostTest, &Answers::Control,
              &Answers::Fit, &Answers::Variables, &Answers::TwoByTwo}) {
            if (std::string r = (this->*answer)(); !r.empty()) return r;
        }
        doc_.MarkModified();
        return {};
    }

private:
    ChooseTestPage SetUp() {
        DataTable& table = doc_.Table();
        return SetUpChooseTest(doc_.Format(), table, choices_,
                               [&table] { UpdateColumnSummaries(table); });
    }

    // "1. Select columns": "All columns", or "Selected columns" and the column dialog.
    std::string SelectColumns() {
        if (!o_.select) return {};
        DataTable& table = doc_.Table();
        if (!IsColumnPage(page_)) {
            return NotFor("--select", test_, "the tests of raw or averaged data in columns");
        }
        if (o_.select->empty()) {
            choices_.allColumns = 1;
            SelectColumnsWithData(table);
        } else {
            choices_.allColumns = 0;
            std::vector<ColumnEntry> entries = ColumnDialogEntries(table);
            for (int column : *o_.select) {
                bool listed = false;
                for (const ColumnEntry& e : entries) listed = listed || e.column == column;
                if (!listed) return std::string("--select: column ") + ColumnLetter(column) + " holds no data";
            }
            for (ColumnEntry& e : entries) {
                e.checked = false;
                for (int column : *o_.select) e.checked = e.checked || e.column == column;
            }
            ApplyColumnDialog(table, entries);
        }
        doc_.MarkModified();
        page_ = SetUp();
        return {};
    }

    std::string Tails() {
        if (!o_.twoTailed) return {};
        const std::uint8_t twoSided = *o_.twoTailed ? 1 : 0;
        switch (page_) {
            case ChooseTestPage::OneColumn: cc_.oneColumnTwoSided = twoSided; return {};
            case ChooseTestPage::TwoColumns: cc_.twoColumnTwoSided = twoSided; return {};
            case ChooseTestPage::TwoByTwo: choices_.twoByTwo.twoSided = twoSided; return {};
            default: return NotFor("--tails", test_, "the one- and two-column tests and the "
                                                     "two-by-two tests");
        }
    }

    std::string Value() {
        if (!o_.value) return {};
        if (page_ != ChooseTestPage::OneColumn) {
            return NotFor("--value", test_, "one-sample-t and wilcoxon");
        }
        EnterHypotheticalValue(cc_, *o_.value);
        return {};
    }

    // "4. Choose a multiple comparison post test": the list, the pairs and the check box.
    std::string PostTest() {
        if (!o_.postTest && !o_.pairs && !o_.postTestIfSignificant) return {};
        constexpr std::string_view Takers = "anova, rm-anova, kruskal-wallis and friedman";
        if (page_ != ChooseTestPage::ThreeOrMoreColumns) {
            return NotFor(o_.postTest ? "--post-test" : o_.pairs ? "--pairs" : "--post-test-when",
                          test_, Takers);
        }
        const bool nonparametric = cc_.multiColumnNonparametric != 0;
        const int shown = std::max(PostTestItemOf(cc_, nonparametric), PostTestItem::NoPostTest);
        const bool someListed = o_.pairs && !o_.pairs->empty();
        int item = shown;
        if (o_.postTest) {
            const PostTestName name = *o_.postTest;
            const bool forRanks = name == PostTestName::Dunn || name == PostTestName::Control;
            if (name != PostTestName::None && forRanks != nonparametric) {
                return "--post-test " + std::string(PostTestWord(name)) + " does not apply to " +
                       std::string(TestName(*test_)) + " (" +
                       (nonparametric ? "kruskal-wallis and friedman take dunn, control or none"
                                      : "anova and rm-anova take tukey, bonferroni, snk, "
                                        "dunnett, trend or none") +
                       ")";
            }
            item = ItemOf(name, someListed);
        } else if (o_.pairs) {
            if (shown != PostTestItem::SelectedPairs && shown != PostTestItem::AllPairs) {
                return "--pairs applies to --post-test bonferroni or dunn";
            }
            item = someListed ? PostTestItem::SelectedPairs : PostTestItem::AllPairs;
        }
        if (o_.pairs && item != PostTestItem::SelectedPairs && item != PostTestItem::AllPairs) {
            return "--pairs applies to --post-test bonferroni or dunn";
        }
        if (o_.postTestIfSignificant && item == PostTestItem::NoPostTest) {
            return "--post-test-when needs a post test (--post-test none is chosen)";
        }
        if (o_.postTest || item != shown) {
            bool checked = o_.postTestIfSignificant.value_or(ContingentPostChecked(cc_));
            ChoosePostTestItem(cc_, item, checked);
        } else if (o_.postTestIfSignificant) {
            ClickContingentPost(cc_, *o_.postTestIfSignificant, shown);
        }
        return someListed ? SelectPairs() : std::string();
    }

    static std::string_view PostTestWord(PostTestName name) {
        switch (name) {
            case PostTestName::None: return "none";
            case PostTestName::Tukey: return "tukey";
            case PostTestName::Bonferroni: return "bonferroni";
            case PostTestName::NewmanKeuls: return "snk";
            case PostTestName::Dunnett: return "dunnett";
            case PostTestName::Trend: return "trend";
            case PostTestName::Dunn: return "dunn";
            case PostTestName::Control: return "control";
        }
        return {};
    }

    // The list item of a post test.  Dunn's comparison with a control is the record of
    // Dunnett's test (chosen while the methods were parametric) under nonparametric methods.
    static int ItemOf(PostTestName name, bool selectedPairs) {
        switch (name) {
            case PostTestName::None: return PostTestItem::NoPostTest;
            case PostTestName::Tukey: return PostTestItem::Tukey;
            case PostTestName::NewmanKeuls: return PostTestItem::NewmanKeuls;
            case PostTestName::Dunnett:
            case PostTestName::Control: return PostTestItem::Dunnett;
            case PostTestName::Trend: return PostTestItem::LinearTrend;
            case PostTestName::Bonferroni:
            case PostTestName::Dunn:
                return selectedPairs ? PostTestItem::SelectedPairs : PostTestItem::AllPairs;
        }
        return PostTestItem::NoPostTest;
    }

    // The pair dialog: exactly the listed pairs are checked.
    std::string SelectPairs() {
        std::vector<PairEntry> entries = PairDialogEntries(doc_.Table(), cc_);
        for (const ColumnPair& pair : *o_.pairs) {
            bool listed = false;
            for (const PairEntry& e : entries) {
                listed = listed || (e.pair.first == pair.first && e.pair.second == pair.second);
            }
            if (!listed) {
                return "--pairs: " + PairText(pair) + " is not a pair of the selected columns (" +
                       SelectedColumnsOption(doc_.Table()) + ")";
            }
        }
        for (PairEntry& e : entries) {
            e.checked = false;
            for (const ColumnPair& pair : *o_.pairs) {
                e.checked = e.checked || (e.pair.first == pair.first && e.pair.second == pair.second);
            }
        }
        ApplyPairDialog(cc_, entries);
        return {};
    }

    // "Control column:" of Dunnett's test (and of Dunn's comparison with a control).
    std::string Control() {
        if (!o_.control) return {};
        const bool againstControl =
            page_ == ChooseTestPage::ThreeOrMoreColumns && cc_.postTestMode != PostTestMode::None &&
            (cc_.multiColumnNonparametric != 0
                 ? cc_.pairMode == PairMode::AgainstControl
                 : PostTestItemOf(cc_, false) == PostTestItem::Dunnett);
        if (!againstControl) return "--control applies to --post-test dunnett or control";
        for (const ColumnEntry& e : ControlColumnEntries(doc_.Table(), cc_)) {
            if (e.column == *o_.control) {
                cc_.controlColumn = e.column;
                return {};
            }
        }
        return std::string("--control: column ") + ColumnLetter(*o_.control) + " is not a selected column with data";
    }

    // The "Fit" page: the forced point, "2. Test for departure from linearity?" and
    // "3. Read unknowns from standard curve?".
    std::string Fit() {
        XYChoices& xy = choices_.xy;
        if (o_.force) {
            if (test_ != ChosenTest::LinearRegression) {
                return NotFor("--force", test_, "linear-regression");
            }
            ChooseFit(xy, FitChoice::ForcedRegression);
            xy.ForceX = o_.force->first;
            xy.ForceY = o_.force->second;
        }
        if ((o_.linearityTest || o_.standardCurve) &&
            (page_ != ChooseTestPage::Fit || !LinearityOptionsEnabled(xy))) {
            return NotFor(o_.linearityTest ? (*o_.linearityTest ? "--runs-test" : "--no-runs-test")
                                           : (*o_.standardCurve ? "--standard-curve"
                                                                : "--no-standard-curve"),
                          test_, "linear-regression");
        }
        if (o_.linearityTest) xy.runsTest = *o_.linearityTest ? 1 : 0;
        if (o_.standardCurve) xy.interpolate = *o_.standardCurve ? 1 : 0;
        return {};
    }

    // "2. Select variables" of the "MultipleRegression" page.
    std::string Variables() {
        MultipleRegressionChoices& mr = choices_.multipleRegression;
        const DataTable& table = doc_.Table();
        if (o_.dependent) {
            if (test_ != ChosenTest::MultipleRegression) {
                return NotFor("--y", test_, "multiple-regression");
            }
            const MultipleRegressionPage page = MultipleRegressionPageOf(table, mr);
            if (!page.dependentEnabled) return "--y needs at least two columns with data";
            bool found = false;
            for (const ColumnEntry& e : page.dependentEntries) found = found || e.column == *o_.dependent;
            if (!found) return std::string("--y: column ") + ColumnLetter(*o_.dependent) + " holds no raw data";
            mr.dependentColumn = *o_.dependent;
        }
        if (!o_.variables) return {};
        if (page_ != ChooseTestPage::MultipleRegression) {
            return NotFor("--x", test_, "multiple-regression and correlation-matrix");
        }
        const MultipleRegressionPage page = MultipleRegressionPageOf(table, mr);
        if (!page.variablesEnabled) {
            return test_ == ChosenTest::MultipleRegression
                       ? "--x needs at least two columns with data"
                       : "--x needs a column with data";
        }
        for (int column : *o_.variables) {
            bool listed = false;
            for (const ColumnEntry& e : page.variableEntries) listed = listed || e.column == column;
            if (listed) continue;
            if (test_ == ChosenTest::MultipleRegression && column == mr.dependentColumn) {
                return std::string("--x: column ") + ColumnLetter(column) + " is the dependent (Y) variable";
            }
            return std::string("--x: column ") + ColumnLetter(column) + " holds no raw data";
        }
        // "Deselect All" (or "Select &All"), then the listed variables are checked.
        SetAllIncludeFlags(mr, page.variableEntries, o_.variables->empty());
        for (int column : *o_.variables) mr.include[static_cast<std::size_t>(column)] = 1;
        return {};
    }

    // The "2X2" page: Yates' correction and "4. Also calculate".
    std::string TwoByTwo() {
        TwoByTwoChoices& t = choices_.twoByTwo;
        if (o_.yates && (page_ != ChooseTestPage::TwoByTwo || !YatesApplies(t))) {
            return NotFor(*o_.yates ? "--yates" : "--no-yates", test_, "chi-square and mcnemar");
        }
        if (o_.yates) t.yates = *o_.yates ? 1 : 0;
        if (!o_.alsoCalculate) return {};
        if (test_ != ChosenTest::Fisher && test_ != ChosenTest::ChiSquare) {
            static constexpr std::string_view Names[] = {"--odds-ratio", "--relative-risk",
                                                         "--sensitivity"};
            return NotFor(Names[static_cast<int>(*o_.alsoCalculate)], test_, "fisher and chi-square");
        }
        SetAlsoCalculate(t, *o_.alsoCalculate);
        return {};
    }

    Document& doc_;
    const ChoiceOptions& o_;
    AnalysisChoices& choices_;
    ColumnAnalysisChoices& cc_;
    ChooseTestPage page_ = ChooseTestPage::None;
    std::optional<ChosenTest> test_;
};

}  // namespace

std::string ApplyChoiceOptions(Document& document, const ChoiceOptions& options) {
    return Answers(document, options).Apply();
}

std::optional<ChosenTest> DocumentTest(const Document& document) {
    return ChosenTestOf(ChooseTestPageOf(document.Format(), document.Choices()),
                        document.Choices());
}

}  // namespace zelkon::cli
