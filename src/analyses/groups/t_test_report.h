// The reports of the t tests, written from their result structs, and the structs as JSON.
#pragma once

#include <string>
#include <string_view>

#include "analyses/groups/t_tests.h"
#include "core/results_report.h"

namespace zelkon {

/// The report of a one-sample t test that computed without an error code.
void WriteOneSampleTTestReport(const OneSampleTTestResult& result, ResultsReport& report);

/// The report of a paired, unpaired or Welch t test that computed without an error code.
void WriteTTestReport(const TTestResult& result, ResultsReport& report);

/// The normality block of the one-sample and paired tests, after its heading lines: the
/// Kolmogorov-Smirnov distance and P value and whether the data passed (P = 0.05 passes).
void WriteNormalityBlock(ResultsReport& report, const NormalityResult& normality);

/// The result structs as JSON at full precision.
std::string OneSampleTTestJson(const OneSampleTTestResult& result);
std::string TTestJson(const TTestResult& result);

}  // namespace zelkon
