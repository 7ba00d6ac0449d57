// zelkon-cli print: the printed pages of a data file's step drawn by the print painter into a
// PDF file, which replaces the target only when it was written completely.
#include "cli/render_print_command.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include <cctype>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/render_application.h"
#include "core/file_io.h"
#include "document/analysis_run.h"
#include "document/data_file.h"
#include "output/graph_model.h"
#include "output/print_layout.h"
#include "output/print_layout_texts.h"
#include "render/print_painter.h"

namespace zelkon::cli {

namespace {

constexpr const char* PrintUsage =
    "usage: zelkon-cli print FILE.ZLD --what data|stats|results|graph -o OUT.pdf\n";

/// The page margins of the printed PDF, in millimetres.
constexpr double PrintMarginMillimetres = 15.0;

int UsageError(std::ostream& err, const std::string& message) {
    err << "zelkon-cli print: " << message << '\n' << PrintUsage;
    return ExitUsage;
}

int Failure(std::ostream& err, const std::string& message) {
    err << "zelkon-cli print: " << message << '\n';
    return ExitFailure;
}

bool EndsWithPdf(const std::string& path) {
    if (path.size() < 5) return false;
    std::string suffix = path.substr(path.size() - 4);
    for (char& c : suffix) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return suffix == ".pdf";
}

}  // namespace

int RunPrintCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    (void)out;
    const std::optional<std::string> output = args.TakeOutput();
    const std::optional<std::string> what = args.TakeOption("what");
    if (const auto unknown = args.UnknownOption()) return UsageError(err, "unknown option " + *unknown);
    const std::vector<std::string> files = args.Positional();
    if (files.size() != 1) return UsageError(err, "name one data file");
    if (!what) return UsageError(err, "say what to print with --what data|stats|results|graph");
    if (!output) return UsageError(err, "name the file to write with -o");
    Step step = Step::Start;
    if (*what == "data") {
        step = Step::DataTable;
    } else if (*what == "stats") {
        step = Step::SummaryStats;
    } else if (*what == "results") {
        step = Step::Results;
    } else if (*what == "graph") {
        step = Step::Graph;
    } else {
        return Failure(err, "--what " + *what + ": print data, stats, results or graph");
    }
    if (!EndsWithPdf(*output)) return Failure(err, *output + ": the pages are written as a .pdf file");

    std::unique_ptr<Document> document = OpenDataFile(files[0], err);
    if (!document) return ExitFailure;
    PrintJob job;
    GraphModel graph;
    if (step == Step::Results) {
        // As the report command: the file's analysis runs, then its report is printed.
        Calculate(*document);
        job = {PrintKind::Text, std::string(ResultsPrintTitle), PrintResults(*document)};
    } else if (step == Step::Graph) {
        job.kind = PrintKind::Graph;
        graph = DrawGraph(*document);
    } else {
        job = PrintJobForStep(*document, step);
    }

    EnsureGuiApplication();
    // A folder, FIFO or device at the name is refused and left alone.
    if (const int refused = CheckWriteTarget(*output))
        return Failure(err, *output + ": " + IoErrorText(IoErrorFromErrno(refused, true, *output)));
    QSaveFile file(QString::fromStdString(*output));
    if (!file.open(QIODevice::WriteOnly)) return Failure(err, *output + ": " + file.errorString().toStdString());
    PrintOutcome outcome = PrintOutcome::Failed;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Kestrane Zelkon"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(PrintMarginMillimetres, PrintMarginMillimetres,
                                                   PrintMarginMillimetres, PrintMarginMillimetres),
                                         QPageLayout::Millimeter));
        outcome = PrintJobPages(writer, job, &graph);
    }
    if (outcome != PrintOutcome::Printed) {
        file.cancelWriting();
        return Failure(err, *output + ": the pages could not be drawn");
    }
    if (!file.commit()) return Failure(err, *output + ": " + file.errorString().toStdString());
    return ExitOk;
}

}  // namespace zelkon::cli
