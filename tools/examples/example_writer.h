// What every writer of example files shares: typing a column in as a user would, and saving
// the document into the output folder (both in make_examples.cpp).
#pragma once

#include <string>
#include <vector>

#include "document/document.h"

namespace zelkon {

/// The routines of the example writer that every example shares: typing a column in as a
/// user would, and saving the document into the output folder.
struct ExampleWriter {
    void (*fillColumn)(Document& doc, int column, const std::string& title,
                       const std::vector<std::string>& values);
    bool (*save)(Document& doc, const std::string& folder, const std::string& name);
};

}  // namespace zelkon
