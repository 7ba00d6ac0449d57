// zelkon-cli report: runs the analysis of a data file exactly as step 5 does and prints the
// report.
#include <ostream>
#include <string>

#include "cli/commands.h"
#include "core/analysis_run.h"
#include "core/json_writer.h"
#include "core/latin1.h"

namespace zelkon::cli {

namespace {

/// The report's lines with the emphases as terminal bold, underline and italic, or dropped.
std::string RenderReport(const ResultsReport& report, bool styles) {
    std::string out;
    for (const std::string& line : report.AllLines()) {
        bool bold = false, underline = false, italic = false;
        std::string text;
        for (char c : line) {
            if (c == ResultsReport::Emphasis1 || c == ResultsReport::Emphasis2 ||
                c == ResultsReport::Emphasis3) {
                bool& flag = c == ResultsReport::Emphasis1   ? bold
                             : c == ResultsReport::Emphasis2 ? underline
                                                             : italic;
                flag = !flag;
                if (styles) {
                    text += "\x1b[0m";
                    if (bold) text += "\x1b[1m";
                    if (underline) text += "\x1b[4m";
                    if (italic) text += "\x1b[3m";
                }
            } else {
                text.push_back(c);
            }
        }
        if (styles && (bold || underline || italic)) text += "\x1b[0m";
        // Trailing blanks carry no meaning on a terminal or in a pipe.
        while (!text.empty() && text.back() == ' ') text.pop_back();
        out += Latin1ToUtf8(text);
        out.push_back('\n');
    }
    return out;
}

}  // namespace

int RunReportCommand(Arguments& args, std::ostream& out, std::ostream& err, bool terminal) {
    const bool raw = args.TakeFlag("raw");
    const bool plain = args.TakeFlag("plain");
    const bool json = args.TakeFlag("json");
    const std::vector<std::string> files = args.Positional();
    if (const auto unknown = args.UnknownOption()) {
        err << "zelkon-cli report: unknown option " << *unknown << '\n';
        return ExitUsage;
    }
    if (files.size() != 1 || (raw + plain + json) > 1) {
        err << "usage: zelkon-cli report FILE.ZLD [--raw | --plain | --json]\n";
        return ExitUsage;
    }
    std::unique_ptr<Document> document = OpenDataFile(files[0], err);
    if (!document) return ExitFailure;
    Calculate(*document);
    if (raw) {
        out << document->Report().Text();
    } else if (json) {
        JsonWriter w;
        w.BeginObject();
        w.Key("file").Utf8String(files[0]);
        w.Field("format", DataFormatCaption(document->Format()));
        w.Field("errorCode", document->ErrorCode());
        w.Key("result");
        if (document->ResultJson().empty()) {
            w.Null();
        } else {
            w.Raw(document->ResultJson());
        }
        w.EndObject();
        out << w.Text() << '\n';
    } else {
        out << RenderReport(document->Report(), terminal && !plain);
    }
    return ExitOk;
}

}  // namespace zelkon::cli
