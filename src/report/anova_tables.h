// The analysis-of-variance tables: source of variation, degrees of freedom, sum of squares
// and mean square, in the layouts of the one-way and repeated-measures analyses, their
// linear-trend splits and the regression tables.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/results_report.h"
#include "core/types.h"

namespace zelkon {

/// Where the columns of one analysis-of-variance table go.
struct AnovaLayout {
    int sourceColumn;        ///< character column of the source text; 0: the line start
    int sourceUnderline;     ///< length of the first column's underline and dashes
    int dfColumn;            ///< degrees of freedom, integer in 10 characters
    int ssColumn;            ///< sum of squares, number in 8 characters
    int msColumn;            ///< mean square, number in 8 characters
    bool emphasiseSource;    ///< source texts written in the first emphasis
    std::string_view total;  ///< the text of the "Total" row
};

inline constexpr AnovaLayout RepeatedMeasuresAnova{1, 25, 30, 42, 52, false, "Total"};
inline constexpr AnovaLayout OneWayAnova{0, 28, 31, 43, 53, false, "Total     "};
inline constexpr AnovaLayout LinearTrendRepeatedMeasuresAnova{1, 25, 30, 42, 52, false, "Total"};
inline constexpr AnovaLayout LinearTrendOneWayAnova{0, 28, 31, 43, 53, false, "Total     "};

/// Source texts of the rows.
inline constexpr std::string_view TreatmentSource = "Treatment (between columns)";
inline constexpr std::string_view IndividualSource = "Individual (between rows)";
inline constexpr std::string_view RandomSource = "Random (residual)";
inline constexpr std::string_view TreatmentsSource = "Treatments (between columns)";
inline constexpr std::string_view ResidualsSource = "Residuals (within columns)";
inline constexpr std::string_view LinearSource = "Between columns: Linear";
inline constexpr std::string_view NotLinearSource = "Between columns: Not linear";

/// The two heading lines ("Source of variation", "Degrees of freedom", "Sum of squares",
/// "Mean square") and their underline.
void WriteAnovaHeading(ResultsReport& report, const AnovaLayout& layout);
/// A row with degrees of freedom, sum of squares and mean square.
void WriteAnovaRow(ResultsReport& report, const AnovaLayout& layout, std::string_view source,
                   std::int32_t df, Extended ss, Extended ms);
/// A row without a mean square.
void WriteAnovaRow(ResultsReport& report, const AnovaLayout& layout, std::string_view source,
                   std::int32_t df, Extended ss);
/// The line of dashes under the first three columns, then the "Total" row (no mean square).
void WriteAnovaTotalRow(ResultsReport& report, const AnovaLayout& layout, std::int32_t df,
                        Extended ss);

}  // namespace zelkon
