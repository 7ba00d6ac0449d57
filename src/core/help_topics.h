// The help topics of the results page: the number each analysis leaves behind for the page
// that explains its report.  An analysis sets its topic before it checks the data, so that
// the help after an error message still explains the test that was asked for.  Topic 0
// (no analysis ran: a run message such as "Until you enter data...") stands for the general
// page about the results.
#pragma once

#include <array>
#include <cstdint>

namespace zelkon {

inline constexpr std::int32_t NoResultsHelpTopic = 0;

// Comparing groups.
inline constexpr std::int32_t OneSampleTHelpTopic = 801;
inline constexpr std::int32_t WilcoxonSignedRankHelpTopic = 802;
inline constexpr std::int32_t UnpairedTHelpTopic = 803;
inline constexpr std::int32_t WelchTHelpTopic = 804;
inline constexpr std::int32_t PairedTHelpTopic = 805;
inline constexpr std::int32_t MannWhitneyHelpTopic = 806;
inline constexpr std::int32_t WilcoxonMatchedPairsHelpTopic = 807;
inline constexpr std::int32_t OneWayAnovaHelpTopic = 366;
inline constexpr std::int32_t RepeatedMeasuresHelpTopic = 551;
inline constexpr std::int32_t KruskalWallisHelpTopic = 555;
inline constexpr std::int32_t FriedmanHelpTopic = 567;

// Contingency tables.
inline constexpr std::int32_t TwoByTwoHelpTopic = 557;
inline constexpr std::int32_t ContingencyHelpTopic = 612;

// Regression and correlation.
inline constexpr std::int32_t LinearRegressionHelpTopic = 811;
inline constexpr std::int32_t StandardCurveHelpTopic = 812;
inline constexpr std::int32_t PearsonHelpTopic = 813;
inline constexpr std::int32_t SpearmanHelpTopic = 814;
inline constexpr std::int32_t MultipleRegressionHelpTopic = 210;
inline constexpr std::int32_t CorrelationMatrixHelpTopic = 208;

/// Every topic an analysis can set.
inline constexpr std::array<std::int32_t, 19> ResultsHelpTopics = {
    OneSampleTHelpTopic,       WilcoxonSignedRankHelpTopic, UnpairedTHelpTopic,
    WelchTHelpTopic,           PairedTHelpTopic,            MannWhitneyHelpTopic,
    WilcoxonMatchedPairsHelpTopic, OneWayAnovaHelpTopic,    RepeatedMeasuresHelpTopic,
    KruskalWallisHelpTopic,    FriedmanHelpTopic,           TwoByTwoHelpTopic,
    ContingencyHelpTopic,      LinearRegressionHelpTopic,   StandardCurveHelpTopic,
    PearsonHelpTopic,          SpearmanHelpTopic,           MultipleRegressionHelpTopic,
    CorrelationMatrixHelpTopic};

/// The topic of the one-column test chosen.
constexpr std::int32_t OneColumnHelpTopic(bool nonparametric) {
    return nonparametric ? WilcoxonSignedRankHelpTopic : OneSampleTHelpTopic;
}

/// The topic of the two-column test chosen (the table of the choose-test page).
constexpr std::int32_t TwoColumnHelpTopic(bool nonparametric, bool unpaired, bool equalSDs) {
    if (nonparametric) return unpaired ? MannWhitneyHelpTopic : WilcoxonMatchedPairsHelpTopic;
    if (!unpaired) return PairedTHelpTopic;
    return equalSDs ? UnpairedTHelpTopic : WelchTHelpTopic;
}

/// The topic of the three-or-more-column test chosen.
constexpr std::int32_t MultiColumnHelpTopic(bool nonparametric, bool unmatched) {
    if (nonparametric) return unmatched ? KruskalWallisHelpTopic : FriedmanHelpTopic;
    return unmatched ? OneWayAnovaHelpTopic : RepeatedMeasuresHelpTopic;
}

}  // namespace zelkon
