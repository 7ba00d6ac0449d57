// The example data files of the tests that compare groups: one column against a value, two
// paired or unpaired columns, and three or more columns, unmatched or matched, each with the
// test its help page works through.
#pragma once

#include <string>
#include <vector>

#include "example_writer.h"

namespace zelkon {

/// Writes the examples of the group comparisons into the folder; false when one fails.
bool WriteGroupExamples(const std::string& folder, const ExampleWriter& writer);

}  // namespace zelkon
