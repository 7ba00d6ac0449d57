// The ways several groups share one set of ranks, for the exact Kruskal-Wallis counts that
// choose the ranks of several groups as one set.
#include <cstddef>
#include <vector>

#include "analyses/groups/kruskal_wallis_counting.h"

namespace zelkon {

std::vector<std::uint8_t> SharePatterns(const std::vector<ShareGroup>& groups, std::int32_t m) {
    std::vector<std::uint8_t> patterns;
    std::vector<std::int32_t> filled(groups.size(), 0);
    std::vector<std::size_t> start(groups.size(), 0);
    for (std::size_t g = 1; g < groups.size(); ++g)
        start[g] = start[g - 1] + static_cast<std::size_t>(groups[g - 1].size);
    std::vector<std::uint8_t> way(static_cast<std::size_t>(m));
    auto place = [&](auto&& self, std::int32_t position) -> void {
        if (position == m) {
            patterns.insert(patterns.end(), way.begin(), way.end());
            return;
        }
        for (std::size_t g = 0; g < groups.size(); ++g) {
            if (filled[g] == groups[g].size) continue;
            // A group opens only after the equal group before it.
            if (filled[g] == 0 && groups[g].followsEqual && filled[g - 1] == 0) continue;
            way[start[g] + static_cast<std::size_t>(filled[g])] =
                static_cast<std::uint8_t>(position);
            ++filled[g];
            self(self, position + 1);
            --filled[g];
        }
    };
    place(place, 0);
    return patterns;
}

Extended ShareOrders(const std::vector<ShareGroup>& groups) {
    Extended orders = 1;
    Extended run = 0;
    for (const ShareGroup& g : groups) {
        run = g.followsEqual ? run + 1 : 1;
        orders *= run;
    }
    return orders;
}

Extended ShareWays(const std::vector<ShareGroup>& groups) {
    // The multinomial m! / (n_1! ... n_k!) as a product of binomial coefficients.
    Extended multinomial = 1;
    std::int32_t placed = 0;
    for (const ShareGroup& g : groups) {
        for (std::int32_t i = 1; i <= g.size; ++i) multinomial = multinomial * (placed + i) / i;
        placed += g.size;
    }
    return multinomial / ShareOrders(groups);
}

}  // namespace zelkon
