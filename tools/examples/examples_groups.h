// The example data files of the tests that compare groups: one column against a value, two
// paired or unpaired columns, and three or more columns, unmatched or matched, each with the
// test its help page works through.
#pragma once

#include <string>
#include <vector>

#include "core/document.h"

namespace zelkon {

/// The routines of the example writer that every example shares: typing a column in as a
/// user would, and saving the document into the output folder.
struct ExampleWriter {
    void (*fillColumn)(Document& doc, int column, const std::string& title,
                       const std::vector<std::string>& values);
    bool (*save)(Document& doc, const std::string& folder, const std::string& name);
};

/// Writes the examples of the group comparisons into the folder; false when one fails.
bool WriteGroupExamples(const std::string& folder, const ExampleWriter& writer);

}  // namespace zelkon
