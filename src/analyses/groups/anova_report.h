// The reports of the one-way and repeated-measures analyses of variance, written from their
// result structs, and the structs as JSON.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "analyses/groups/anova_one_way.h"
#include "analyses/groups/anova_repeated.h"
#include "core/help_topics.h"
#include "core/results_report.h"

namespace zelkon {

/// A heading centred in 65 characters (`Centre`) and underlined, blanks included, as a line.
void WriteCentredHeading(ResultsReport& report, std::string_view text);

/// The blank line and centred heading that open the one-way report (written before the
/// check for all SDs zero, as the report of the analysis that got that far).
void WriteOneWayHeading(ResultsReport& report);
/// The rest of the one-way report: verdict, post test, assumption tests, ANOVA table and
/// summary of data.
void WriteOneWayBody(ResultsReport& report, const OneWayAnovaResult& result);

void WriteRepeatedMeasuresHeading(ResultsReport& report);
void WriteRepeatedMeasuresBody(ResultsReport& report, const RepeatedMeasuresResult& result);

/// The result structs as JSON at full precision.
std::string OneWayAnovaJson(const OneWayAnovaResult& result);
std::string RepeatedMeasuresJson(const RepeatedMeasuresResult& result);

}  // namespace zelkon
