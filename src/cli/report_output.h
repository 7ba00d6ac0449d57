// How zelkon-cli prints results reports: in a terminal with the report's emphasis, plain,
// as the stored bytes or as JSON; and the run over several inputs, each reported on its own
// (one JSON object a line with --json), a failed input named without stopping the others.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "document/document.h"

namespace zelkon::cli {

/// The forms of a printed report.
enum class ReportStyle { Terminal, Plain, Raw, Json };

/// Takes `--raw`, `--plain` and `--json` (at most one of them) out of the arguments; without
/// them a report is plain, or styled when printed to a terminal.  Nothing when several are
/// given.
std::optional<ReportStyle> TakeReportStyle(Arguments& args, bool terminal);

/// The report's lines with the emphases as terminal bold, underline and italic, or dropped.
std::string RenderReport(const ResultsReport& report, bool styles);

/// Prepares the document of one input for its report: reads it, makes its choices and runs
/// its analysis.  Messages go to `err`; the result is ExitOk or the exit code of the failure
/// (and the document is then not reported).
using InputRun = std::function<int(const std::string& input, std::unique_ptr<Document>& document,
                                   std::ostream& err)>;

/// Runs every input in turn and prints its report.  With several inputs a text report is
/// headed "==> INPUT <==".  With JSON each input gives one line, a failed one
/// {"file":...,"error":...} with its messages.  Returns ExitOk when every input succeeded,
/// else the largest exit code of a failure.
int RunInputs(const std::vector<std::string>& inputs, ReportStyle style, const InputRun& run,
              std::ostream& out, std::ostream& err);

}  // namespace zelkon::cli
