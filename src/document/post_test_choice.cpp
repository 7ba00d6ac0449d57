// The post-test list of the multi-column page and the record updates of its controls.
#include "document/post_test_choice.h"

#include <array>

#include "document/choice_texts.h"

namespace zelkon {
namespace {

constexpr std::array<std::string_view, 7> ParametricItems = {
    texts::NoPostTest,    texts::BonferroniSelectedPairs, texts::BonferroniAllPairs,
    texts::TukeyAllPairs, texts::NewmanKeulsAllPairs,     texts::DunnettVsControl,
    texts::LinearTrendTest};

constexpr std::array<std::string_view, 3> NonparametricItems = {
    texts::NoPostTest, texts::DunnSelectedPairs, texts::DunnAllPairs};

struct ItemRecord {
    std::uint8_t kind;
    std::uint8_t pairMode;
};

// Post-test kind and pair mode written by items 1 to 6.
constexpr std::array<ItemRecord, 7> ItemRecords = {{
    {0, 0},  // item 0 writes neither
    {PostTestKind::Bonferroni, PairMode::SelectedPairs},
    {PostTestKind::Bonferroni, PairMode::AllPairs},
    {PostTestKind::Tukey, PairMode::AllPairs},
    {PostTestKind::NewmanKeuls, PairMode::AllPairs},
    {PostTestKind::Dunnett, PairMode::AgainstControl},
    {PostTestKind::LinearTrend, PairMode::AllPairs},
}};

}  // namespace

std::span<const std::string_view> PostTestItems(bool nonparametric) {
    if (nonparametric) return NonparametricItems;
    return ParametricItems;
}

int PostTestItemOf(const ColumnAnalysisChoices& choices, bool nonparametric) {
    int item = -1;
    if (choices.postTestMode == PostTestMode::None) {
        item = PostTestItem::NoPostTest;
    } else {
        switch (choices.postTestKind) {
            case PostTestKind::Bonferroni:
                item = choices.pairMode == PairMode::SelectedPairs ? PostTestItem::SelectedPairs
                                                                   : PostTestItem::AllPairs;
                break;
            case PostTestKind::Tukey: item = PostTestItem::Tukey; break;
            case PostTestKind::NewmanKeuls: item = PostTestItem::NewmanKeuls; break;
            case PostTestKind::Dunnett: item = PostTestItem::Dunnett; break;
            case PostTestKind::LinearTrend: item = PostTestItem::LinearTrend; break;
            default: break;
        }
    }
    if (nonparametric && item > PostTestItem::AllPairs) item = PostTestItem::AllPairs;
    return item;
}

bool ContingentPostChecked(const ColumnAnalysisChoices& choices) {
    return choices.postTestMode == PostTestMode::IfSignificant;
}

void ChoosePostTestItem(ColumnAnalysisChoices& choices, int item, bool& contingentChecked) {
    if (item < 0 || item >= static_cast<int>(ItemRecords.size())) return;
    if (item == PostTestItem::NoPostTest) {
        contingentChecked = false;
        choices.postTestMode = PostTestMode::None;
        return;
    }
    choices.postTestKind = ItemRecords[static_cast<std::size_t>(item)].kind;
    choices.pairMode = ItemRecords[static_cast<std::size_t>(item)].pairMode;
    choices.postTestMode = contingentChecked ? PostTestMode::IfSignificant : PostTestMode::Always;
}

int ClickContingentPost(ColumnAnalysisChoices& choices, bool checked, int shownItem) {
    if (checked) {
        choices.postTestMode = PostTestMode::IfSignificant;
    } else {
        choices.postTestMode =
            shownItem == PostTestItem::NoPostTest ? PostTestMode::None : PostTestMode::Always;
    }
    return PostTestItemOf(choices, choices.multiColumnNonparametric != 0);
}

bool SelectPairsVisible(int item) { return item == PostTestItem::SelectedPairs; }

bool ControlColumnVisible(int item, bool nonparametric) {
    return !nonparametric && item == PostTestItem::Dunnett;
}

std::string MultiColumnTestText(const ColumnAnalysisChoices& choices, int shownItem) {
    const bool unmatched = choices.unmatched != 0;
    const bool nonparametric = choices.multiColumnNonparametric != 0;
    std::string text(unmatched ? (nonparametric ? texts::KruskalWallisTest : texts::OneWayAnova)
                               : (nonparametric ? texts::FriedmanTest
                                                : texts::RepeatedMeasuresAnova));
    text += shownItem == PostTestItem::NoPostTest ? texts::WithoutPostTest : texts::WithPostTest;
    return text;
}

}  // namespace zelkon
