// The post-test list of the multi-column page: its items for parametric and nonparametric
// methods, the item that the record shows, and what choosing an item or clicking the
// "Only perform post test if P<0.05." check box writes into the record.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/analysis_choices.h"

namespace zelkon {

/// Item indices of the post-test list.
struct PostTestItem {
    static constexpr int NoPostTest = 0;
    static constexpr int SelectedPairs = 1;  ///< Bonferroni or Dunn, selected pairs
    static constexpr int AllPairs = 2;       ///< Bonferroni or Dunn, all pairs
    static constexpr int Tukey = 3;
    static constexpr int NewmanKeuls = 4;
    static constexpr int Dunnett = 5;
    static constexpr int LinearTrend = 6;
};

/// The texts of the list: seven items for parametric methods, three for nonparametric.
std::span<const std::string_view> PostTestItems(bool nonparametric);

/// The item the record shows (-1 for a post-test kind the list does not know).  In the
/// nonparametric list every item above 2 is shown as 2.
int PostTestItemOf(const ColumnAnalysisChoices& choices, bool nonparametric);

/// The check box's state as the record shows it: checked exactly in mode "only if P<0.05".
bool ContingentPostChecked(const ColumnAnalysisChoices& choices);

/// Choosing list item `item`: writes the post-test kind and pair mode of the item (item 0
/// keeps them and clears the check box) and the post-test mode (1 for item 0, else 2 when
/// the box is checked and 0 when not).  `contingentChecked` is the box, updated in place.
void ChoosePostTestItem(ColumnAnalysisChoices& choices, int item, bool& contingentChecked);

/// Clicking the check box: mode 2 when checked, else 1 when item 0 is shown and 0 when not.
/// Returns the item the list should show now, derived from the record, so that the list
/// never shows "(No post test)" while a post test would run.
int ClickContingentPost(ColumnAnalysisChoices& choices, bool checked, int shownItem);

/// "Select pairs..." is visible only while item 1 is chosen.
bool SelectPairsVisible(int item);
/// "Control column:" and its list are visible only while item 5 (Dunnett) is chosen.
bool ControlColumnVisible(int item, bool nonparametric);

/// The test shown on the multi-column page: "One-way ANOVA", "Kruskal-Wallis test",
/// "Repeated measures ANOVA" or "Friedman test", followed by " without post-test" when
/// item 0 is chosen and " with post-test" otherwise.
std::string MultiColumnTestText(const ColumnAnalysisChoices& choices, int shownItem);

}  // namespace zelkon
