// Bonferroni's multiple comparisons after an analysis of variance: t for every pair (or
// every selected pair) from the residual mean square, P multiplied by the number of
// comparisons, and the 95% interval at the Bonferroni-corrected t.
#pragma once

#include <array>
#include <cstdint>

#include "analyses/groups/post_test.h"

namespace zelkon {

/// Computes the comparisons.  With `selectedPairs` only the pairs whose flag (indexed by
/// pair number among the groups) is nonzero count and are compared; a null `pairFlags`
/// selects every pair.  Returns 10 when the row list cannot be created, else 0.
std::int32_t ComputeBonferroni(const PostTestBasis& basis,
                               const std::array<std::uint8_t, PairFlagCount>* pairFlags,
                               bool selectedPairs, BonferroniResult& result);

void WriteBonferroni(ResultsReport& report, const PostTestBasis& basis,
                     const BonferroniResult& result);

}  // namespace zelkon
