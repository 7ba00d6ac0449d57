// The post-test list: items, the item a record shows, and the record updates of the list
// and the check box.  Expected values come from the item table (item: kind, pair mode) and
// the mode rule (1 for no post test, 2 with the box checked, 0 without).
#include "document/post_test_choice.h"

#include <gtest/gtest.h>

#include <array>

namespace zelkon {
namespace {

TEST(PostTestList, ItemTexts) {
    const auto p = PostTestItems(false);
    ASSERT_EQ(p.size(), 7u);
    EXPECT_EQ(p[0], "(No post test)");
    EXPECT_EQ(p[1], "Bonferroni: Compare selected pairs of columns.");
    EXPECT_EQ(p[2], "Bonferroni: Compare all pairs of columns.");
    EXPECT_EQ(p[3], "Tukey: Compare all pairs of columns.");
    EXPECT_EQ(p[4], "Student-Newman-Keuls: Compare all pairs of columns.");
    EXPECT_EQ(p[5], "Dunnett: Compare all vs. control.");
    EXPECT_EQ(p[6], "Test for linear trend between column mean and column number");
    const auto n = PostTestItems(true);
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(n[0], "(No post test)");
    EXPECT_EQ(n[1], "Dunn: Compare selected pairs of columns.");
    EXPECT_EQ(n[2], "Dunn: Compare all pairs of columns.");
}

TEST(PostTestList, ItemShownForTheRecord) {
    struct Case {
        std::uint8_t mode, kind, pairMode;
        int parametric, nonparametric;
    };
    const std::array<Case, 10> cases = {{
        {1, 1, 0, 0, 0},  // mode 1: no post test whatever the kind
        {1, 0, 1, 0, 0},
        {2, 0, 1, 1, 1},  // Bonferroni, selected pairs
        {0, 0, 0, 2, 2},  // Bonferroni, all pairs
        {2, 0, 2, 2, 2},  // Bonferroni with pair mode 2 shows all pairs
        {2, 1, 0, 3, 2},  // Tukey
        {0, 3, 0, 4, 2},  // Student-Newman-Keuls
        {2, 2, 2, 5, 2},  // Dunnett
        {2, 4, 0, 6, 2},  // linear trend
        {2, 9, 0, -1, -1},  // a kind no list knows
    }};
    for (const Case& k : cases) {
        ColumnAnalysisChoices c;
        c.postTestMode = k.mode;
        c.postTestKind = k.kind;
        c.pairMode = k.pairMode;
        EXPECT_EQ(PostTestItemOf(c, false), k.parametric) << int(k.mode) << int(k.kind);
        EXPECT_EQ(PostTestItemOf(c, true), k.nonparametric) << int(k.mode) << int(k.kind);
    }
    const ColumnAnalysisChoices defaults;
    EXPECT_EQ(PostTestItemOf(defaults, false), 3);  // Tukey, only if P<0.05
    EXPECT_TRUE(ContingentPostChecked(defaults));
}

TEST(PostTestList, ChoosingAnItemWritesKindPairModeAndMode) {
    struct Case {
        int item;
        std::uint8_t kind, pairMode;
    };
    const std::array<Case, 6> cases = {{{1, 0, 1}, {2, 0, 0}, {3, 1, 0}, {4, 3, 0}, {5, 2, 2},
                                        {6, 4, 0}}};
    for (const Case& k : cases) {
        for (bool box : {true, false}) {
            ColumnAnalysisChoices c;
            c.postTestKind = 7;
            c.pairMode = 7;
            bool checked = box;
            ChoosePostTestItem(c, k.item, checked);
            EXPECT_EQ(c.postTestKind, k.kind) << k.item;
            EXPECT_EQ(c.pairMode, k.pairMode) << k.item;
            EXPECT_EQ(c.postTestMode, box ? 2 : 0) << k.item;
            EXPECT_EQ(checked, box);
        }
    }
}

TEST(PostTestList, NoPostTestClearsTheBoxAndLaterChoicesKeepItsState) {
    ColumnAnalysisChoices c;  // Tukey, box checked
    bool box = ContingentPostChecked(c);
    ASSERT_TRUE(box);
    ChoosePostTestItem(c, 0, box);
    EXPECT_FALSE(box);
    EXPECT_EQ(c.postTestMode, 1);
    EXPECT_EQ(c.postTestKind, 1);  // item 0 keeps the kind and pair mode
    EXPECT_EQ(c.pairMode, 0);

    ChoosePostTestItem(c, 4, box);  // box still clear
    EXPECT_EQ(c.postTestMode, 0);
    EXPECT_EQ(c.postTestKind, 3);

    box = true;
    ClickContingentPost(c, true, 4);
    EXPECT_EQ(c.postTestMode, 2);
    ChoosePostTestItem(c, 5, box);
    EXPECT_EQ(c.postTestMode, 2);
}

TEST(PostTestList, CheckBoxClick) {
    ColumnAnalysisChoices c;
    bool box = true;
    ChoosePostTestItem(c, 3, box);
    EXPECT_EQ(ClickContingentPost(c, false, 3), 3);
    EXPECT_EQ(c.postTestMode, 0);
    EXPECT_EQ(ClickContingentPost(c, true, 3), 3);
    EXPECT_EQ(c.postTestMode, 2);

    box = true;
    ChoosePostTestItem(c, 0, box);
    EXPECT_EQ(ClickContingentPost(c, false, 0), 0);
    EXPECT_EQ(c.postTestMode, 1);
    // Checking the box while "(No post test)" is shown turns the remembered post test on;
    // the list then shows it.
    EXPECT_EQ(ClickContingentPost(c, true, 0), 3);
    EXPECT_EQ(c.postTestMode, 2);
}

TEST(PostTestList, DunnettShownAsDunnAllPairsAfterSwitchingToNonparametric) {
    ColumnAnalysisChoices c;
    bool box = true;
    ChoosePostTestItem(c, 5, box);
    EXPECT_TRUE(ControlColumnVisible(PostTestItemOf(c, false), false));
    c.multiColumnNonparametric = 1;
    const int shown = PostTestItemOf(c, true);
    EXPECT_EQ(PostTestItems(true)[static_cast<std::size_t>(shown)],
              "Dunn: Compare all pairs of columns.");
    EXPECT_FALSE(ControlColumnVisible(shown, true));
    EXPECT_EQ(c.postTestKind, 2);  // the record still holds Dunnett
    EXPECT_EQ(c.pairMode, 2);
}

TEST(PostTestList, ButtonsFollowTheItem) {
    for (int item = 0; item <= 6; ++item) {
        EXPECT_EQ(SelectPairsVisible(item), item == 1) << item;
        EXPECT_EQ(ControlColumnVisible(item, false), item == 5) << item;
    }
}

TEST(MultiColumnTest, NameFollowsMatchingMethodAndPostTest) {
    ColumnAnalysisChoices c;
    c.unmatched = 1;
    c.multiColumnNonparametric = 0;
    EXPECT_EQ(MultiColumnTestText(c, 3), "One-way ANOVA with post-test");
    c.multiColumnNonparametric = 1;
    EXPECT_EQ(MultiColumnTestText(c, 0), "Kruskal-Wallis test without post-test");
    c.unmatched = 0;
    c.multiColumnNonparametric = 0;
    EXPECT_EQ(MultiColumnTestText(c, 0), "Repeated measures ANOVA without post-test");
    c.multiColumnNonparametric = 1;
    EXPECT_EQ(MultiColumnTestText(c, 2), "Friedman test with post-test");
}

}  // namespace
}  // namespace zelkon
