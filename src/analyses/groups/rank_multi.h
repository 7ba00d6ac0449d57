// Ranking shared by the Kruskal-Wallis and Friedman tests: the value list with its average
// ranks for ties and the tie sums, the per-column rank records, the status of an exact
// computation and the gate through which the exact counts report their progress.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/types.h"
#include "stats/exact_rank_counts.h"

namespace zelkon {

/// Status of the exact computation of a multi-column rank test.
inline constexpr std::int32_t ExactStatusCancelled = ExactFlagCancelled;  ///< 0: user cancelled
inline constexpr std::int32_t ExactStatusExact = ExactFlagExact;          ///< 1: finished
inline constexpr std::int32_t ExactStatusTooLong = ExactFlagTooLong;  ///< 2: too many / too long
inline constexpr std::int32_t ExactStatusTies = 3;                    ///< 3: the data hold ties

/// Below this many arrangements no data of a multi-column rank test can give P < 0.05.
inline constexpr Extended FewRankArrangements = 20;

/// How the P value was found, for the JSON result: "exact", or "approximate: " and why
/// (`tiesReason` names where the ties are: "the data hold ties", "a row holds ties").
std::string ExactStatusText(std::int32_t status, const char* tiesReason);

/// One value being ranked: its column (index into the rank records) and, after ranking,
/// its rank.
struct RankedValue {
    Extended value = 0;
    std::int32_t column = 0;
    Extended rank = 0;
};

/// The rank record of one analysed column: how many values it has and the sum of their
/// ranks (the Kruskal-Wallis test also keeps the mean rank).
struct RankRecord {
    std::int32_t count = 0;
    Extended rankSum = 0;
};

/// One group of a multi-column rank test as its report and post tests see it: an analysed
/// column with data.
struct RankGroup {
    std::string title;
    std::int32_t dataColumn = 0;  ///< column of the data table (0 = A)
    std::int32_t n = 0;           ///< values ranked (Friedman: rows)
    Extended rankSum = 0;
    Extended meanRank = 0;  ///< rank sum / n
    Extended mean = 0;      ///< mean of the column's values (orders the control comparison)
};

/// The tie sums of one ranking: the sum of t^3 - t over every run of t equal values, and the
/// sum of t^3 over every run, runs of one value included.
struct TieSums {
    Extended cubesLessRuns = 0;  ///< sum of (t^3 - t)
    Extended cubes = 0;          ///< sum of t^3
};

/// Puts the values in ascending order, a value after every value less than or equal to it
/// (equal values keep the order in which they were added), and gives each run of t equal
/// values at positions p .. p+t-1 (counted from 1) the average rank (p + ... + p+t-1) / t.
TieSums RankValueList(std::vector<RankedValue>& values);

/// Adds each value's rank to the rank sum of its column and counts the value there.
void AddRanks(const std::vector<RankedValue>& values, std::vector<RankRecord>& records);

/// The progress protocol of an exact count: every call hands `ReportProgress` the
/// percentage done (never less than the one before, never above 100) and keeps its answer
/// as the status.  The count goes on only while the status is 1.
class ExactProgress {
  public:
    /// True to go on.  Once the status is no longer 1 nothing more is reported.
    bool Report(Extended percentDone);
    std::int32_t Status() const { return status_; }

  private:
    std::int32_t status_ = ExactStatusExact;
    Extended last_ = 0;
};

}  // namespace zelkon
