// zelkon-cli export: what the export command of a document writes, from a data file: the
// data table (standard or index format), the column statistics, the results report or the
// two-by-two table.
#include "cli/export_command.h"

#include <ostream>
#include <string>
#include <vector>

#include "data/export.h"
#include "document/analysis_run.h"
#include "document/data_file.h"
#include "document/summary_page.h"

namespace zelkon::cli {

namespace {

constexpr const char* ExportUsage =
    "usage: zelkon-cli export FILE.ZLD --what data|stats|results|twobytwo [--index]\n"
    "           [--no-titles] -o OUT.txt|OUT.csv\n"
    "           [--decimal-separator C] [--list-separator C]\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << "zelkon-cli export: " << message << '\n' << ExportUsage;
    return ExitUsage;
}

}  // namespace

int RunExportCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    (void)out;
    const std::optional<Separators> separators = SeparatorsFromLocale(args, err);
    if (!separators) return ExitUsage;
    const std::optional<std::string> output = args.TakeOutput();
    const std::optional<std::string> what = args.TakeOption("what");
    ExportOptions options;
    options.indexFormat = args.TakeFlag("index");
    if (args.TakeFlag("no-titles")) {
        options.sheetTitle = false;
        options.columnTitles = false;
    }
    if (const auto unknown = args.UnknownOption()) {
        return UsageError(err, "unknown option " + *unknown);
    }
    const std::vector<std::string> files = args.Positional();
    if (files.size() != 1) return UsageError(err, "name one data file");
    if (!output) return UsageError(err, "name the file to write with -o");
    if (!what) return UsageError(err, "say what to export with --what");

    ExportKind kind = ExportKind::DataTable;
    if (*what == "data") {
        kind = ExportKind::DataTable;
    } else if (*what == "stats") {
        kind = ExportKind::ColumnStats;
    } else if (*what == "results") {
        kind = ExportKind::ResultsText;
    } else if (*what == "twobytwo") {
        kind = ExportKind::TwoByTwo;
    } else {
        return UsageError(err, "--what takes data, stats, results or twobytwo");
    }
    if (kind != ExportKind::DataTable && (options.indexFormat || !options.sheetTitle)) {
        return UsageError(err, "--index and --no-titles belong to --what data");
    }

    std::unique_ptr<Document> document = OpenDataFile(files[0], err);
    if (!document) return ExitFailure;
    if (kind == ExportKind::TwoByTwo && document->Format() != DataFormat::TwoByTwo) {
        err << "zelkon-cli export: " << files[0] << " does not hold a two-by-two table\n";
        return ExitFailure;
    }
    if (kind == ExportKind::ColumnStats) PrepareColumnStatistics(*document);
    if (kind == ExportKind::ResultsText) Calculate(*document);

    const std::int32_t code = ExportDocument(*document, kind, *output, options, *separators);
    if (code != 0) {
        const std::string text = IoErrorText(code);
        err << "zelkon-cli export: " << *output << ": "
            << (text.empty() ? "Error: #" + std::to_string(code) : text) << '\n';
        return ExitFailure;
    }
    return ExitOk;
}

}  // namespace zelkon::cli
