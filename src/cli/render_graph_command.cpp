// zelkon-cli graph: the graph of a data file as step 6 draws it, written by the graph export.
#include "cli/render_graph_command.h"

#include <ostream>
#include <string>
#include <vector>

#include "cli/render_application.h"
#include "output/graph_model.h"
#include "render/graph_export.h"

namespace zelkon::cli {

namespace {

constexpr const char* GraphUsage = "usage: zelkon-cli graph FILE.ZLD -o OUT.svg|OUT.pdf|OUT.png\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << "zelkon-cli graph: " << message << '\n' << GraphUsage;
    return ExitUsage;
}

}  // namespace

int RunGraphCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    (void)out;
    const std::optional<std::string> output = args.TakeOutput();
    if (const auto unknown = args.UnknownOption()) return UsageError(err, "unknown option " + *unknown);
    const std::vector<std::string> files = args.Positional();
    if (files.size() != 1) return UsageError(err, "name one data file");
    if (!output) return UsageError(err, "name the file to write with -o");
    const QString path = QString::fromStdString(*output);
    if (!IsGraphExportPath(path)) {
        err << "zelkon-cli graph: " << *output << ": the graph is written as .svg, .pdf or .png\n";
        return ExitFailure;
    }

    std::unique_ptr<Document> document = OpenDataFile(files[0], err);
    if (!document) return ExitFailure;
    EnsureGuiApplication();
    // As on showing step 6: the analysis runs first when the graph needs its results.
    const GraphModel model = DrawGraph(*document);
    QString error;
    if (!ExportGraphFile(model, path, &error)) {
        err << "zelkon-cli graph: " << error.toStdString() << '\n';
        return ExitFailure;
    }
    return ExitOk;
}

}  // namespace zelkon::cli
