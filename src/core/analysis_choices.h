// The analysis choices of a document: every option of the choose-test pages, with its
// default.  Plain records of fixed-size fields; the data file writes them in the order in
// which the fields are declared here.
#pragma once

#include <array>
#include <cstdint>

#include "core/types.h"

namespace zelkon {

/// Number of pair flags kept in the record (more than the 325 pairs of 26 columns).
inline constexpr int PairFlagCount = 352;

/// Options of the "Fit" page (X and Y).
struct XYChoices {
    std::uint8_t regression = 1;         ///< 1 a regression, 0 a correlation
    std::uint8_t runsTest = 0;           ///< 1 "Yes. Perform runs test."
    std::uint8_t forceThroughPoint = 0;  ///< 1 the line is forced through (ForceX, ForceY)
    Extended ForceX = 0;
    Extended ForceY = 0;
    std::uint8_t correlationKind = 0;  ///< 0 none (regression), 1 Pearson, 2 Spearman
    std::uint8_t interpolate = 1;      ///< 1 interpolate unknowns from the standard curve
};

/// Values of `XYChoices::correlationKind`.
struct CorrelationKind {
    static constexpr std::uint8_t None = 0;
    static constexpr std::uint8_t Pearson = 1;
    static constexpr std::uint8_t Spearman = 2;
};

/// Values of `TwoByTwoChoices::test`.  Files written before McNemar's test existed hold
/// 0, 1 or 2 (2 reads as Fisher).
struct TwoByTwoTest {
    static constexpr std::uint8_t Fisher = 0;
    static constexpr std::uint8_t ChiSquare = 1;
    static constexpr std::uint8_t McNemar = 3;
};

/// Options of the "2X2" page.
struct TwoByTwoChoices {
    std::uint8_t test = TwoByTwoTest::Fisher;
    std::uint8_t yates = 1;
    std::uint8_t twoSided = 1;
    std::uint8_t relativeRisk = 1;   ///< set together with relativeRisk2
    std::uint8_t oddsRatio = 0;
    std::uint8_t relativeRisk2 = 1;  ///< the second relative-risk flag
    std::uint8_t sensitivity = 0;
};

/// The three "Also calculate" radio buttons of the "2X2" page.
enum class AlsoCalculate { OddsRatio, RelativeRisk, Sensitivity };

/// Values of `MultipleRegressionChoices::kind`.
struct MultipleRegressionKind {
    static constexpr std::uint8_t CorrelationMatrix = 0;
    static constexpr std::uint8_t MultipleRegression = 1;
};

/// Options of the "MultipleRegression" page.
struct MultipleRegressionChoices {
    std::uint8_t kind = MultipleRegressionKind::MultipleRegression;
    std::int32_t dependentColumn = 0;                 ///< column of `DependentYComboBox`
    std::array<std::uint8_t, DataColumns> include{};  ///< checked in the X check list
};

/// Values of `ColumnAnalysisChoices::hypotheticalValueChoice`.
struct HypotheticalChoice {
    static constexpr std::uint8_t Zero = 0;
    static constexpr std::uint8_t One = 1;
    static constexpr std::uint8_t Hundred = 2;
    static constexpr std::uint8_t Other = 3;  ///< the typed value
};

/// Values of `ColumnAnalysisChoices::postTestMode`.
struct PostTestMode {
    static constexpr std::uint8_t Always = 0;
    static constexpr std::uint8_t None = 1;
    static constexpr std::uint8_t IfSignificant = 2;  ///< only if P<0.05
};

/// Values of `ColumnAnalysisChoices::pairMode`.
struct PairMode {
    static constexpr std::uint8_t AllPairs = 0;  ///< or a test that takes no pairs
    static constexpr std::uint8_t SelectedPairs = 1;
    static constexpr std::uint8_t AgainstControl = 2;
};

/// Values of `ColumnAnalysisChoices::postTestKind`.
struct PostTestKind {
    static constexpr std::uint8_t Bonferroni = 0;
    static constexpr std::uint8_t Tukey = 1;
    static constexpr std::uint8_t Dunnett = 2;
    static constexpr std::uint8_t NewmanKeuls = 3;
    static constexpr std::uint8_t LinearTrend = 4;
};

/// Pair flags with every pair compared (the default).
constexpr std::array<std::uint8_t, PairFlagCount> AllPairFlagsSet() {
    std::array<std::uint8_t, PairFlagCount> flags{};
    for (auto& f : flags) f = 1;
    return flags;
}

/// Options of the one-, two- and multi-column pages, in the order the data file holds them.
struct ColumnAnalysisChoices {
    std::uint8_t columnCountClass = 0;  ///< 0 none, 1 one, 2 two, 3 three or more columns
    std::uint8_t oneColumnNonparametric = 0;
    Extended hypotheticalValue = 0;
    std::uint8_t oneColumnTwoSided = 1;
    std::int32_t oneColumnColumn = -1;  ///< set by the run
    std::uint8_t hypotheticalValueChoice = HypotheticalChoice::Zero;
    std::uint8_t twoColumnNonparametric = 0;
    std::uint8_t unpaired = 1;
    std::uint8_t twoColumnTwoSided = 1;
    std::int32_t firstColumn = 0;   ///< set by the run
    std::int32_t secondColumn = 1;  ///< set by the run
    bool equalSDs = true;           ///< true Student, false Welch
    std::uint8_t unmatched = 1;     ///< 1 ordinary ANOVA, 0 repeated measures
    std::uint8_t multiColumnNonparametric = 0;
    std::uint8_t postTestMode = PostTestMode::IfSignificant;
    std::uint8_t pairMode = PairMode::AllPairs;
    std::int32_t controlColumn = 0;
    std::uint8_t postTestKind = PostTestKind::Tukey;
    std::array<std::uint8_t, PairFlagCount> pairFlags = AllPairFlagsSet();
};

/// Every analysis choice of one document, and the bookkeeping kept beside them.
struct AnalysisChoices {
    XYChoices xy;
    TwoByTwoChoices twoByTwo;
    MultipleRegressionChoices multipleRegression;
    ColumnAnalysisChoices columns;
    std::uint8_t allColumns = 1;            ///< 1 "All columns", 0 "Selected columns"
    std::int32_t dataColumnCountSeen = 0;  ///< data columns when step 4 was last prepared

    /// Back to the defaults of a new document.
    void Reset() { *this = AnalysisChoices{}; }
};

/// The two-by-two test held by a data file's test line: 1 chi-square, 3 McNemar, every
/// other value (0, the old value 2, anything unknown) Fisher's exact test.
std::uint8_t TwoByTwoTestFromFile(std::int32_t stored);

/// True when the Yates question applies: chi-square and McNemar's test.
bool YatesApplies(const TwoByTwoChoices& choices);

/// The "Also calculate" radio button: sets its own flag(s) to 1 and the others to 0.
void SetAlsoCalculate(TwoByTwoChoices& choices, AlsoCalculate which);
/// The "Also calculate" radio button shown for the flags (sensitivity, then odds ratio,
/// then relative risk, when a file left more than one set).
AlsoCalculate AlsoCalculateOf(const TwoByTwoChoices& choices);

}  // namespace zelkon
