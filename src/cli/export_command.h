// zelkon-cli export: the data table, column statistics, results report or two-by-two table
// of a data file written as text.
#pragma once

#include <iosfwd>

#include "cli/cli_common.h"

namespace zelkon::cli {

/// `export FILE.ZLD --what data|stats|results|twobytwo [--index] [--no-titles]
/// -o OUT.txt|OUT.csv`, with the separators of the locale (`--decimal-separator C`,
/// `--list-separator C`).
int RunExportCommand(Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace zelkon::cli
