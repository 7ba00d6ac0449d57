// The rank tables of the Kruskal-Wallis and Friedman tests: number of points, sum and mean
// of ranks per group, or the sum of ranks alone.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// Kruskal-Wallis: group, number of points, sum of ranks, mean of ranks.
void WriteKruskalWallisRankHeading(ResultsReport& report);
void WriteKruskalWallisRankRow(ResultsReport& report, std::string_view title, std::int32_t n,
                               Extended rankSum, Extended meanRank);

/// Friedman: group and sum of ranks.
void WriteFriedmanRankHeading(ResultsReport& report);
void WriteFriedmanRankRow(ResultsReport& report, std::string_view title, Extended rankSum);

}  // namespace zelkon
