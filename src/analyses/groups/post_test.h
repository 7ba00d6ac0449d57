// The post tests after an analysis of variance: what they take from the ANOVA that ran, the
// comparison rows they produce, and the dispatch by post-test kind to Bonferroni,
// Tukey-Kramer, Student-Newman-Keuls, Dunnett and the test for linear trend.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "core/analysis_choices.h"
#include "core/json_writer.h"
#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// One group of a post test: an analysed column with N > 0.
struct PostTestGroup {
    std::string title;
    std::int32_t n = 0;
    Extended mean = 0;
};

/// What every post test takes from the ANOVA that ran.
struct PostTestBasis {
    std::vector<PostTestGroup> groups;  ///< the group list, in column order
    Extended msResidual = 0;            ///< "within columns" or "Random (residual)"
    std::int32_t dfResidual = 0;
    bool oneWay = true;  ///< false after repeated measures
};

/// One row of a comparison table.  Groups are indices into the group list.
struct Comparison {
    std::int32_t first = 0;
    std::int32_t second = 0;
    Extended difference = 0;
    Extended statistic = MissingValue;  ///< t or q; missing: not tested (step-down)
    Extended p = MissingValue;          ///< a P value (Bonferroni) or a significance category
    Extended lower = MissingValue;      ///< 95% limits (missing without an interval)
    Extended upper = MissingValue;
};

/// Significance categories of the tests that use tables instead of P values.
inline constexpr Extended CategoryP001 = 0.001L;
inline constexpr Extended CategoryP01 = 0.01L;
inline constexpr Extended CategoryP05 = 0.05L;
inline constexpr Extended CategoryNotSignificant = 1.0L;

/// Room of the row lists.
inline constexpr std::size_t BonferroniListCapacity = 345;
inline constexpr std::size_t RangeListCapacity = 100;
inline constexpr std::size_t DunnettListCapacity = 22;

/// Bonferroni: all pairs or the selected pairs.
struct BonferroniResult {
    std::int32_t comparisons = 0;       ///< C, the number of pairs compared
    Extended criticalT = MissingValue;  ///< t with one-tailed P 0.05 / (2C)
    std::vector<Comparison> rows;
};

/// Tukey-Kramer or Student-Newman-Keuls.
struct RangeTestResult {
    bool newmanKeuls = false;
    Extended criticalQ = MissingValue;  ///< Tukey: q(0.05, df, m)
    bool tooManyMeans = false;          ///< more means than the table covers: not done
    std::vector<Comparison> rows;
};

/// Dunnett: every group against the control.
struct DunnettResult {
    std::int32_t control = 0;  ///< index into the group list
    Extended critical05 = MissingValue;
    Extended critical01 = MissingValue;
    bool tooFewDf = false;         ///< dfResidual below 5: not done
    bool tooManyMeans = false;     ///< more means than the table covers: not done
    std::vector<Comparison> rows;  ///< first = control, second = the other group
};

/// What the test for linear trend takes from the ANOVA besides the basis.
struct TrendInput {
    std::int32_t k = 0;  ///< number of columns (the block's columns after repeated measures)
    Extended ssTotal = 0;
    Extended ssTreatment = 0;
    Extended ssResidual = 0;
    std::int32_t dfTreatment = 0;
    std::int32_t dfTotal = 0;
    Extended ssIndividual = 0;  ///< repeated measures only
    Extended msIndividual = 0;
    std::int32_t dfIndividual = 0;
};

/// The test for linear trend between column mean and column number.
struct LinearTrendResult {
    TrendInput input;
    Extended slope = MissingValue;
    Extended rSquared = MissingValue;
    Extended ssLinear = MissingValue;  ///< = MS linear (one degree of freedom)
    Extended fLinear = MissingValue;
    Extended pLinear = MissingValue;
    std::int32_t dfNonlinear = 0;         ///< k - 2
    Extended ssNonlinear = MissingValue;  ///< 0 with two columns
    Extended msNonlinear = MissingValue;  ///< missing with two columns (no df)
    Extended fNonlinear = MissingValue;
    Extended pNonlinear = MissingValue;
};

using PostTestResult = std::variant<std::monostate, BonferroniResult, RangeTestResult,
                                    DunnettResult, LinearTrendResult>;

/// The post-test choice as the run derived it.
struct PostTestChoice {
    std::uint8_t kind = PostTestKind::Tukey;
    const std::array<std::uint8_t, PairFlagCount>* pairFlags = nullptr;  ///< null: all pairs
    bool selectedPairs = false;
    std::int32_t controlIndex = 0;  ///< the control among the groups (Dunnett)
    bool postTestWanted = true;     ///< selects the two-sided Dunnett table (the only one)
};

/// Computes the post test of the chosen kind (kinds outside 0 to 4 compute none).  Returns
/// 0, or 10 when a row list could not be created (the result is then empty).
std::int32_t ComputePostTest(const PostTestBasis& basis, const PostTestChoice& choice,
                             const TrendInput& trend, PostTestResult& result);

/// Writes the post test that was computed (nothing for none).
void WritePostTest(ResultsReport& report, const PostTestBasis& basis, const PostTestResult& result);

/// The post test as a JSON value (null for none).
void WritePostTestJson(JsonWriter& json, const PostTestBasis& basis, const PostTestResult& result);

/// Walks the pairs of m groups in pair-number order (0,1), (0,2), ..., (0,m-1), (1,2), ...,
/// calling `visit(first, second, pairNumber)`.
template <typename Visit>
void ForEachPair(std::int32_t m, Visit visit) {
    std::int32_t pair = 0;
    for (std::int32_t i = 0; i < m; ++i) {
        for (std::int32_t j = i + 1; j < m; ++j) visit(i, j, pair++);
    }
}

// Shared by the post-test writers.

/// An underlined heading on a line of its own.
void WriteUnderlinedLine(ResultsReport& report, std::string_view text);
/// "If the value of <name> is greater than " value " then the P value is less" /
/// "than 0.05.".
void WriteCriticalValueSentence(ResultsReport& report, std::string_view name, Extended value);
/// JSON of the comparison rows.
void WriteComparisonsJson(JsonWriter& json, const PostTestBasis& basis,
                          const std::vector<Comparison>& rows);

}  // namespace zelkon
