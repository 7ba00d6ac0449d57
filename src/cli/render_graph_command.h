// zelkon-cli graph: the graph of step 6 of a data file written as an SVG, PDF or PNG file.
#pragma once

#include <iosfwd>

#include "cli/cli_common.h"

namespace zelkon::cli {

/// `graph FILE.ZLD -o OUT.svg|OUT.pdf|OUT.png`: runs the file's analysis when the graph needs
/// its results, builds the graph with the switches stored in the file and writes it.
int RunGraphCommand(Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace zelkon::cli
