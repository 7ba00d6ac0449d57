// Dunn's multiple comparisons after the Kruskal-Wallis test (differences of mean ranks) and
// after the Friedman test (differences of rank sums), and the comparison of every column
// with a control column after the Friedman test, with its table of critical values.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "analyses/groups/rank_multi.h"
#include "core/analysis_choices.h"
#include "core/json_writer.h"
#include "core/results_report.h"
#include "core/types.h"
#include "report/posttest_tables.h"

namespace zelkon {

/// Room of the row lists of both post tests.
inline constexpr std::size_t DunnListCapacity = 100;

/// One comparison.  Groups are indices into the group list; `p` is a significance category
/// (0.001, 0.01, 0.05 or 1.0).
struct DunnComparison {
    std::int32_t first = 0;
    std::int32_t second = 0;
    Extended difference = 0;
    Extended se = 0;
    Extended p = 1;
};

/// Dunn's test, in the form of the test it follows.
struct DunnResult {
    DunnForm form = DunnForm::KruskalWallis;
    std::int32_t comparisons = 0;       ///< C: the pairs compared
    Extended z05 = MissingValue;        ///< z(0.05 / 2C)
    Extended z01 = MissingValue;        ///< z(0.01 / 2C)
    Extended z001 = MissingValue;       ///< z(0.001 / 2C)
    Extended threshold = MissingValue;  ///< Friedman: z(0.05 / 2C) sqrt(r m (m + 1) / 6)
    bool tiesNotCorrected = false;      ///< Friedman: the data hold ties
    std::vector<DunnComparison> rows;
};

/// What Dunn's test takes from the test before it.
struct DunnInput {
    DunnForm form = DunnForm::KruskalWallis;
    const std::array<std::uint8_t, PairFlagCount>* pairFlags = nullptr;  ///< null: all pairs
    bool selectedPairs = false;
    Extended tieSum = 0;      ///< Kruskal-Wallis: sum of t^3 - t; Friedman: sum of t^3
    std::int32_t values = 0;  ///< Kruskal-Wallis: N; Friedman: the number of cells
    std::int32_t rows = 0;    ///< Friedman: r (Kruskal-Wallis: the largest column)
};

/// Computes Dunn's comparisons of the pairs (i, j), i before j, in pair-number order
/// (unselected pairs skipped when the selected-pairs flag is set).  Returns 0, or 10 when the
/// row list could not be created.
std::int32_t ComputeDunn(const std::vector<RankGroup>& groups, const DunnInput& input,
                         DunnResult& result);
void WriteDunn(ResultsReport& report, const std::vector<RankGroup>& groups,
               const DunnResult& result);
void WriteDunnJson(JsonWriter& json, const std::vector<RankGroup>& groups,
                   const DunnResult& result);

/// The two-sided critical value of Dunnett's statistic for infinite degrees of freedom at
/// 0.05 (`level05`) or 0.01, for K comparisons with the control: read from the table for K
/// up to 12, interpolated between 12 and 15 and between 15 and 20 (extrapolated beyond 20).
Extended ControlCriticalValue(bool level05, std::int32_t comparisons);

/// One comparison with the control: `column` is an index into the group list.
struct ControlComparison {
    std::int32_t column = 0;
    Extended difference = 0;  ///< rank sum of the control - rank sum of the column
    Extended lower = 0;
    Extended upper = 0;
    Extended p = 1;  ///< significance category (0.01, 0.05 or 1.0)
};

/// Every column compared with the control column after the Friedman test.
struct ControlResult {
    std::int32_t control = 0;  ///< index into the group list
    Extended critical05 = MissingValue;
    Extended critical01 = MissingValue;
    Extended se = MissingValue;           ///< sqrt(r m (m + 1) / 6)
    std::vector<ControlComparison> rows;  ///< in ascending order of column mean
};

/// The columns in ascending order of their mean (an exchange sort: equal means keep their
/// order), each but the control compared with it.  Returns 0 or 10.
std::int32_t ComputeControlComparison(const std::vector<RankGroup>& groups, std::int32_t control,
                                      std::int32_t rows, ControlResult& result);
void WriteControlComparison(ResultsReport& report, const std::vector<RankGroup>& groups,
                            const ControlResult& result);
void WriteControlComparisonJson(JsonWriter& json, const std::vector<RankGroup>& groups,
                                const ControlResult& result);

}  // namespace zelkon
