// zelkon-cli import: a text file read by the import rules into a new data file.
#pragma once

#include <iosfwd>

#include "cli/cli_common.h"

namespace zelkon::cli {

/// `import TEXTFILE -o FILE.ZLD [--format raw|xy|table|twobytwo|multreg] [--columns FROM-TO]
/// [--rows FROM-TO] [--where COL OP VALUE] [--indexed VALUECOL GROUPCOL]`, with the
/// separators of the locale (`--decimal-separator C`, `--list-separator C`).
int RunImportCommand(Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace zelkon::cli
