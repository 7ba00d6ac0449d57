// The commands of zelkon-cli.  Each takes the words after its name and writes its output and
// its messages to the given streams; the result is the exit code.
#pragma once

#include <iosfwd>

#include "cli/cli_common.h"

namespace zelkon::cli {

/// `report FILE.ZLD [--raw | --plain | --json]`: the results report as step 5 shows it.
int RunReportCommand(Arguments& args, std::ostream& out, std::ostream& err, bool terminal);
/// `stats FILE.ZLD [--json]`: the column statistics as step 3 lays them out.
int RunStatsCommand(Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace zelkon::cli
