// zelkon-cli analyze: runs any analysis of data files or text files, its choices given as
// options named after the questions of the choose-test pages, prints the reports and can
// save the document with its choices.
#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>

#include "cli/choice_options.h"
#include "cli/commands.h"
#include "cli/import_command.h"
#include "cli/report_output.h"
#include "document/analysis_run.h"

namespace zelkon::cli {

namespace {

constexpr const char* AnalyzeUsage =
    "usage: zelkon-cli analyze INPUT... [--test NAME] [choices] [--json | --raw | --plain]\n"
    "           [--save OUT.ZLD] [import options]\n"
    "(zelkon-cli help analyze lists the tests and the choices)\n";

int UsageError(std::ostream& err, const std::string& message) {
    err << "zelkon-cli analyze: " << message << '\n' << AnalyzeUsage;
    return ExitUsage;
}

// Inputs named *.ZLD (in any case) are data files; every other input is a text file.
bool IsDataFileName(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ending = path.substr(path.size() - 4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return ending == ".ZLD";
}

// The first import option among the words, for refusing it on a data file.
std::optional<std::string_view> FirstImportOption(const Arguments& args) {
    for (std::string_view option : {"--format", "--columns", "--rows", "--where", "--indexed"}) {
        for (const std::string& word : args.words) {
            if (word == option || word.rfind(std::string(option) + "=", 0) == 0) return option;
        }
    }
    return std::nullopt;
}

}  // namespace

int RunAnalyzeCommand(Arguments& args, std::ostream& out, std::ostream& err, bool terminal) {
    const std::optional<std::string_view> importOption = FirstImportOption(args);
    const bool formatGiven = importOption == "--format";
    std::optional<TextImportRequest> request = TakeTextImportOptions(args, err, "analyze");
    if (!request) return ExitUsage;
    const std::optional<ReportStyle> style = TakeReportStyle(args, terminal);
    const std::optional<std::string> save = args.TakeOption("save");
    std::string message;
    const std::optional<ChoiceOptions> choices = TakeChoiceOptions(args, message);
    if (!choices) return UsageError(err, message);
    if (const auto unknown = args.UnknownOption()) {
        return UsageError(err, "unknown option " + *unknown);
    }
    if (std::find(args.words.begin(), args.words.end(), "-o") != args.words.end()) {
        return UsageError(err, "analyze saves the document with --save OUT.ZLD");
    }
    const std::vector<std::string> inputs = args.Positional();
    if (inputs.empty()) return UsageError(err, "name a data file or a text file");
    if (!style) return UsageError(err, "--raw, --plain and --json exclude each other");
    if (save && inputs.size() > 1) return UsageError(err, "--save takes one input");
    // Without --format a text file is read in the format that the test needs.
    if (!formatGiven && choices->test) request->format = FormatOfTest(*choices->test);

    const InputRun run = [&](const std::string& input, std::unique_ptr<Document>& document,
                             std::ostream& messages) {
        if (IsDataFileName(input)) {
            if (importOption) {
                messages << "zelkon-cli analyze: " << input << ": " << *importOption
                         << " applies to text files, and this is a data file\n";
                return ExitUsage;
            }
            document = OpenDataFile(input, messages);
            if (!document) return ExitFailure;
        } else {
            TextImportRequest text = *request;
            text.file = input;
            document = ReadTextFileAsDocument(text, messages, "analyze");
            if (!document) return ExitFailure;
        }
        if (const std::string refusal = ApplyChoiceOptions(*document, *choices);
            !refusal.empty()) {
            messages << "zelkon-cli analyze: " << input << ": " << refusal << '\n';
            document.reset();
            return ExitUsage;
        }
        Calculate(*document);
        if (save && !SaveDocument(*document, *save, messages)) {
            document.reset();
            return ExitFailure;
        }
        return ExitOk;
    };
    return RunInputs(inputs, *style, run, out, err);
}

}  // namespace zelkon::cli
