// Ranking shared by the Kruskal-Wallis and Friedman tests.
#include "analyses/groups/rank_multi.h"

#include <algorithm>

#include "core/calc_status.h"

namespace zelkon {

TieSums RankValueList(std::vector<RankedValue>& values) {
    // A stable sort is the insertion of each new value after all values less than or
    // equal to it.
    std::stable_sort(values.begin(), values.end(),
                     [](const RankedValue& a, const RankedValue& b) { return a.value < b.value; });
    TieSums ties;
    std::size_t first = 0;
    while (first < values.size()) {
        std::size_t last = first + 1;
        while (last < values.size() && values[last].value == values[first].value) ++last;
        // Positions first+1 .. last (counted from 1) share their average rank.
        const auto t = static_cast<Extended>(last - first);
        const Extended rank = (static_cast<Extended>(first + 1) + static_cast<Extended>(last)) / 2;
        for (std::size_t i = first; i < last; ++i) values[i].rank = rank;
        ties.cubes += t * t * t;
        ties.cubesLessRuns += t * t * t - t;
        first = last;
    }
    return ties;
}

void AddRanks(const std::vector<RankedValue>& values, std::vector<RankRecord>& records) {
    for (const RankedValue& v : values) {
        RankRecord& r = records[static_cast<std::size_t>(v.column)];
        r.rankSum += v.rank;
        ++r.count;
    }
}

bool ExactProgress::Report(Extended percentDone) {
    if (status_ != ExactStatusExact) return false;
    last_ = std::clamp(percentDone, last_, Extended{100});
    status_ = ReportProgress(last_);
    return status_ == ExactStatusExact;
}

std::string ExactStatusText(std::int32_t status, const char* tiesReason) {
    switch (status) {
        case ExactStatusExact:
            return "exact";
        case ExactStatusCancelled:
            return "approximate: exact calculation cancelled";
        case ExactStatusTooLong:
            return "approximate: exact calculation too long";
        default:
            return std::string("approximate: ") + tiesReason;
    }
}

}  // namespace zelkon
