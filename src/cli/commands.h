// The commands of zelkon-cli.  Each takes the words after its name and writes its output and
// its messages to the given streams; the result is the exit code.
#pragma once

#include <iosfwd>

#include "cli/cli_common.h"

namespace zelkon::cli {

/// `report FILE.ZLD... [--raw | --plain | --json]`: the results reports as step 5 shows them.
int RunReportCommand(Arguments& args, std::ostream& out, std::ostream& err, bool terminal);
/// `stats FILE.ZLD [--json]`: the column statistics as step 3 lays them out.
int RunStatsCommand(Arguments& args, std::ostream& out, std::ostream& err);
/// `analyze INPUT... [--test NAME] [choices] [--json | --raw | --plain] [--save OUT.ZLD]`:
/// any analysis of data files or text files, its choices given as options.
int RunAnalyzeCommand(Arguments& args, std::ostream& out, std::ostream& err, bool terminal);
/// `choices FILE.ZLD`: the stored choices as the options of `analyze` that repeat them.
int RunChoicesCommand(Arguments& args, std::ostream& out, std::ostream& err);
/// `help [COMMAND]`: the list of commands, or one command with every option.  `render`
/// tells whether the commands that draw are built in.
int RunHelpCommand(Arguments& args, std::ostream& out, std::ostream& err, bool render);

/// The list of commands that `zelkon-cli` prints without a command.
void WriteUsage(std::ostream& out, bool render);

}  // namespace zelkon::cli
