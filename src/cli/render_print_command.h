// zelkon-cli print: what the Print command prints on a step of a data file, written as the
// pages of a PDF file.
#pragma once

#include <iosfwd>

#include "cli/cli_common.h"

namespace zelkon::cli {

/// `print FILE.ZLD --what data|stats|results|graph -o OUT.pdf`: the data table, the column
/// statistics, the results report (after running the file's analysis) or the graph, laid out
/// on A4 pages with the printed text's header lines.
int RunPrintCommand(Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace zelkon::cli
