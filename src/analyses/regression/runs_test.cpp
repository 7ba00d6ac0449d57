// The runs test of a regression line.
#include "analyses/regression/runs_test.h"

#include <algorithm>
#include <vector>

#include "analyses/regression/xy_points.h"

namespace zelkon {

namespace {

/// C(n, k) for k = 0 .. count - 1 by C(n, k) = C(n, k - 1) (n - k + 1) / k.
std::vector<Extended> BinomialRow(std::int32_t n, std::int32_t count) {
    std::vector<Extended> row(static_cast<std::size_t>(std::max(count, 1)), 0.0L);
    row[0] = 1.0L;
    for (std::int32_t k = 1; k < count; ++k) {
        const auto i = static_cast<std::size_t>(k);
        row[i] = row[i - 1] * static_cast<Extended>(n - k + 1) / static_cast<Extended>(k);
    }
    return row;
}

}  // namespace

RunsCounts RunsCount(const DataTable& table, Extended slope, Extended intercept) {
    RunsCounts counts;
    int side = 0;  // +1 above, -1 below, 0 before the first point off the line
    for (const XYPoint& p : CollectXYPoints(table)) {
        const Extended predicted = slope * p.x + intercept;
        int now = 0;
        if (p.y > predicted) {
            now = 1;
            ++counts.above;
        } else if (p.y < predicted) {
            now = -1;
            ++counts.below;
        } else {
            continue;
        }
        if (now != side) ++counts.runs;
        side = now;
    }
    return counts;
}

Extended RunsP(std::int32_t above, std::int32_t below, std::int32_t runs) {
    const std::int32_t m = std::min(above, below);
    if (m > RunsTestMaxPerSide) return -1.0L;
    if (m < 1) return 1.0L;  // a single run is the only arrangement
    const std::int32_t maxRuns = above == below ? 2 * m : 2 * m + 1;
    const std::int32_t half = maxRuns - maxRuns / 2;
    const std::vector<Extended> ca = BinomialRow(above - 1, half);
    const std::vector<Extended> cb = BinomialRow(below - 1, half);
    auto c = [](const std::vector<Extended>& row, std::int32_t k) {
        return k < 0 ? 0.0L : row[static_cast<std::size_t>(k)];
    };
    Extended fewer = 0.0L;
    Extended all = 0.0L;
    for (std::int32_t r = 1; r <= maxRuns; ++r) {
        Extended f;
        if (r % 2 == 0) {
            const std::int32_t k = r / 2;
            f = 2.0L * c(ca, k - 1) * c(cb, k - 1);
        } else {
            const std::int32_t k = (r - 1) / 2;
            f = c(ca, k) * c(cb, k - 1) + c(ca, k - 1) * c(cb, k);
        }
        all += f;
        if (r <= runs) fewer += f;
    }
    return fewer / all;
}

}  // namespace zelkon
