// The tables of the linear regression: the row table of replicates, the two
// analysis-of-variance layouts (runs test, replicates) and the best-fit parameter table.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/results_report.h"
#include "core/types.h"
#include "report/anova_tables.h"

namespace zelkon {

/// The model table written with the runs test (no replicates); source texts emphasised.
inline constexpr AnovaLayout RunsTestAnova{0, 36, 39, 51, 61, true, "Total"};
/// The lack-of-fit table with replicates.
inline constexpr AnovaLayout ReplicatesAnova{0, 35, 38, 50, 60, false, "Total"};

inline constexpr std::string_view ModelSource = "Linear regression (Model)";
inline constexpr std::string_view ResidualSource = "Deviations from linearity (Residual)";
inline constexpr std::string_view LackOfFitModelSource = "Linear regression (model)";
inline constexpr std::string_view LackOfFitSource = "Deviations from linearity";
inline constexpr std::string_view ScatterSource = "Residual (scatter among replicates)";

/// Written for an X intercept that does not exist (slope 0).
inline constexpr std::string_view UndefinedText = "Undefined";

/// Heading of the row table: row, X value, mean Y, replicates, predicted Y, SD, residual.
void WriteReplicatesHeading(ResultsReport& report);
/// One row; the standard deviation and the residual only when the row has more than one
/// replicate.
void WriteReplicatesRow(ResultsReport& report, std::int32_t row, Extended x, Extended meanY,
                        std::int32_t replicates, Extended predictedY, Extended sd,
                        Extended residual);

/// Heading of the best-fit values: parameter, value, standard error, 95% limits.
void WriteRegressionParameterHeading(ResultsReport& report);
void WriteSlopeRow(ResultsReport& report, Extended value, Extended se, Extended lower,
                   Extended upper);
/// The Y intercept; its standard error and limits only when the line was not forced
/// through a point.
void WriteYInterceptRow(ResultsReport& report, Extended value, Extended se, Extended lower,
                        Extended upper, bool forced);
/// The X intercept, "Undefined" when missing.
void WriteXInterceptRow(ResultsReport& report, Extended value);

}  // namespace zelkon
