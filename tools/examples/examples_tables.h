// The examples of the contingency-table, regression and correlation help pages.
#pragma once

#include <string>

#include "example_writer.h"

namespace zelkon {

/// Writes the table, regression and correlation examples into the folder; false when one
/// of them cannot be saved (the reason is on standard error).
bool WriteTableExamples(const std::string& folder, const ExampleWriter& writer);

}  // namespace zelkon
