// The analysis choices: the two-by-two helpers that more than one page and the file reader
// share.
#include "core/analysis_choices.h"

namespace zelkon {

std::uint8_t TwoByTwoTestFromFile(std::int32_t stored) {
    if (stored == TwoByTwoTest::ChiSquare) return TwoByTwoTest::ChiSquare;
    if (stored == TwoByTwoTest::McNemar) return TwoByTwoTest::McNemar;
    return TwoByTwoTest::Fisher;
}

bool YatesApplies(const TwoByTwoChoices& choices) {
    return choices.test == TwoByTwoTest::ChiSquare || choices.test == TwoByTwoTest::McNemar;
}

void SetAlsoCalculate(TwoByTwoChoices& choices, AlsoCalculate which) {
    const std::uint8_t rr = which == AlsoCalculate::RelativeRisk ? 1 : 0;
    choices.relativeRisk = rr;
    choices.relativeRisk2 = rr;
    choices.oddsRatio = which == AlsoCalculate::OddsRatio ? 1 : 0;
    choices.sensitivity = which == AlsoCalculate::Sensitivity ? 1 : 0;
}

AlsoCalculate AlsoCalculateOf(const TwoByTwoChoices& choices) {
    if (choices.sensitivity != 0) return AlsoCalculate::Sensitivity;
    if (choices.oddsRatio != 0) return AlsoCalculate::OddsRatio;
    return AlsoCalculate::RelativeRisk;
}

}  // namespace zelkon
