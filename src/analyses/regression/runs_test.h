// The runs test of a regression line: the points above and below the line in position
// order, the runs they form, and the exact probability of so few runs.
#pragma once

#include <cstdint>

#include "core/data_table.h"
#include "core/types.h"

namespace zelkon {

struct RunsCounts {
    std::int32_t above = 0;
    std::int32_t below = 0;
    std::int32_t runs = 0;
};

/// Counts, over the points in position order, those above and below the line
/// y = slope * x + intercept and the runs they form; points on the line are skipped and do
/// not change the side.
RunsCounts RunsCount(const DataTable& table, Extended slope, Extended intercept);

/// Beyond this many points on each side the runs probability is not computed.
inline constexpr std::int32_t RunsTestMaxPerSide = 500;

/// The exact one-sided probability of `runs` or fewer runs among `above` points above and
/// `below` points below the line, all arrangements equally likely.  -1 when both sides hold
/// more than `RunsTestMaxPerSide` points; 1 when a side is empty.
Extended RunsP(std::int32_t above, std::int32_t below, std::int32_t runs);

}  // namespace zelkon
