// The hook through which the multi-column entry routine reaches the nonparametric tests
// (Kruskal-Wallis for unmatched, Friedman for matched columns).
#pragma once

#include <string_view>

#include "core/analysis_entry.h"

namespace zelkon {

/// A nonparametric multi-column test.  It is called with the column map active (analysed
/// columns 0, 1, ... through `AnalysisValue`), the summaries of raw columns brought up to
/// date, and averaged data already refused; it writes its report and sets `out` as any
/// entry routine does.
using NonparametricTest = void (*)(const MultiColumnRequest& request, AnalysisOutput& out);

/// The nonparametric tests the entry routine dispatches to.  An empty entry means the test
/// is not part of this build: the report then says so in one sentence and nothing else.
struct NonparametricTests {
    NonparametricTest kruskalWallis = nullptr;  ///< nonparametric, unmatched
    NonparametricTest friedman = nullptr;       ///< nonparametric, matched
};

/// The nonparametric tests this program provides.
NonparametricTests DefaultNonparametricTests();

/// The sentence written in place of a nonparametric test that is not part of this build.
inline constexpr std::string_view KruskalWallisUnavailableText =
    "The Kruskal-Wallis test is not available in this version of the program.";
inline constexpr std::string_view FriedmanUnavailableText =
    "The Friedman test is not available in this version of the program.";

}  // namespace zelkon
