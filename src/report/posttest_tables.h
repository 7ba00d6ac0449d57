// The comparison tables of the post tests: Bonferroni, Tukey-Kramer and
// Student-Newman-Keuls with their confidence-interval block, Dunn's rank comparisons and
// the comparisons with a control column (Dunnett and its nonparametric form).
#pragma once

#include <optional>
#include <string_view>

#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// Names of the statistic column of the comparison heading.
inline constexpr std::string_view BonferroniStatisticName = "t ";
inline constexpr std::string_view TukeyStatisticName = "q ";
/// Written in place of q for a comparison the step-down procedure does not test.
inline constexpr std::string_view UntestedStatisticText = "  ---  ";

/// Heading of the Bonferroni, Tukey and Student-Newman-Keuls table, with the statistic
/// column headed `statisticName` ("t " or "q ").
void WriteComparisonHeading(ResultsReport& report, std::string_view statisticName);
/// "first vs second", mean difference, statistic and the significance code of P (a P
/// value or a significance category).
void WriteComparisonRow(ResultsReport& report, std::string_view firstTitle,
                        std::string_view secondTitle, Extended difference, Extended statistic,
                        Extended p);
/// The Student-Newman-Keuls row: as the comparison row, with "  ---  " for a missing q
/// (a pair the step-down procedure declared not significant without testing).
void WriteNewmanKeulsRow(ResultsReport& report, std::string_view firstTitle,
                         std::string_view secondTitle, Extended difference, Extended q,
                         Extended p);

/// An empty line and the heading of the confidence-interval block that follows the
/// Bonferroni and Tukey tables.
void WriteComparisonIntervalHeading(ResultsReport& report);
/// "first - second", mean difference and the 95% limits.
void WriteComparisonIntervalRow(ResultsReport& report, std::string_view firstTitle,
                                std::string_view secondTitle, Extended difference,
                                Extended lower, Extended upper);

/// Which difference Dunn's table shows: mean ranks (Kruskal-Wallis) or rank sums
/// (Friedman).
enum class DunnForm { KruskalWallis, Friedman };

void WriteDunnHeading(ResultsReport& report, DunnForm form);
/// "first vs. second", the difference and the significance code.
void WriteDunnRow(ResultsReport& report, std::string_view firstTitle,
                  std::string_view secondTitle, Extended difference, Extended p);

/// Heading of the comparisons with a control; the q column only when `showStatistic`.
void WriteControlHeading(ResultsReport& report, bool showStatistic);
/// "control vs column", difference, q when given, and the three-level code written at its
/// column without alignment.  Pass no q for the table without a q column.
void WriteControlRow(ResultsReport& report, std::string_view controlTitle,
                     std::string_view columnTitle, Extended difference,
                     std::optional<Extended> q, Extended p);
/// An empty line and the heading of the confidence block of the control comparisons.
void WriteControlIntervalHeading(ResultsReport& report);
/// "control - column", difference and the 95% limits.
void WriteControlIntervalRow(ResultsReport& report, std::string_view controlTitle,
                             std::string_view columnTitle, Extended difference,
                             Extended lower, Extended upper);

}  // namespace zelkon
