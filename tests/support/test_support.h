// Helpers shared by the engine tests.
#pragma once

#include <string>
#include <vector>

#include "core/results_report.h"

namespace zelkon::test {

/// The report's lines with the style switches removed.
std::vector<std::string> PlainLines(const ResultsReport& report);

/// A fresh empty folder under the system's temporary folder, removed by the caller.
std::string MakeTempDir();

}  // namespace zelkon::test
