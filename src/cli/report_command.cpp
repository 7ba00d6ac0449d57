// zelkon-cli report: runs the analysis of data files exactly as step 5 does and prints the
// reports.
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/report_output.h"
#include "document/analysis_run.h"

namespace zelkon::cli {

int RunReportCommand(Arguments& args, std::ostream& out, std::ostream& err, bool terminal) {
    const std::optional<ReportStyle> style = TakeReportStyle(args, terminal);
    const std::vector<std::string> files = args.Positional();
    if (const auto unknown = args.UnknownOption()) {
        err << "zelkon-cli report: unknown option " << *unknown << '\n';
        return ExitUsage;
    }
    if (files.empty() || !style) {
        err << "usage: zelkon-cli report FILE.ZLD... [--raw | --plain | --json]\n";
        return ExitUsage;
    }
    const InputRun run = [](const std::string& file, std::unique_ptr<Document>& document,
                            std::ostream& messages) {
        document = OpenDataFile(file, messages);
        if (!document) return ExitFailure;
        Calculate(*document);
        return ExitOk;
    };
    return RunInputs(files, *style, run, out, err);
}

}  // namespace zelkon::cli
