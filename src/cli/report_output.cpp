// Printing results reports, one input after another.
#include "cli/report_output.h"

#include <algorithm>
#include <ostream>
#include <sstream>

#include "cli/choice_options.h"
#include "core/json_writer.h"
#include "core/latin1.h"

namespace zelkon::cli {

std::optional<ReportStyle> TakeReportStyle(Arguments& args, bool terminal) {
    const bool raw = args.TakeFlag("raw");
    const bool plain = args.TakeFlag("plain");
    const bool json = args.TakeFlag("json");
    if (raw + plain + json > 1) return std::nullopt;
    if (raw) return ReportStyle::Raw;
    if (json) return ReportStyle::Json;
    return plain || !terminal ? ReportStyle::Plain : ReportStyle::Terminal;
}

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

namespace {

void PrintJson(const Document& document, const std::string& file, std::ostream& out) {
    JsonWriter w;
    w.BeginObject();
    w.Key("file").Utf8String(file);
    w.Field("format", DataFormatCaption(document.Format()));
    w.Key("test");
    if (const std::optional<ChosenTest> test = DocumentTest(document)) {
        w.Utf8String(TestName(*test));
    } else {
        w.Null();
    }
    w.Field("errorCode", document.ErrorCode());
    w.Key("result");
    if (document.ResultJson().empty()) {
        w.Null();
    } else {
        w.Raw(document.ResultJson());
    }
    w.EndObject();
    out << w.Text() << '\n';
}

void PrintFailureJson(const std::string& file, std::string messages, std::ostream& out) {
    while (!messages.empty() && messages.back() == '\n') messages.pop_back();
    JsonWriter w;
    w.BeginObject();
    w.Key("file").Utf8String(file);
    w.Key("error").Utf8String(messages);
    w.EndObject();
    out << w.Text() << '\n';
}

}  // namespace

int RunInputs(const std::vector<std::string>& inputs, ReportStyle style, const InputRun& run,
              std::ostream& out, std::ostream& err) {
    int result = ExitOk;
    bool first = true;
    for (const std::string& input : inputs) {
        std::ostringstream messages;
        std::unique_ptr<Document> document;
        const int code = run(input, document, messages);
        err << messages.str() << std::flush;
        if (code != ExitOk || !document) {
            result = std::max(result, code == ExitOk ? ExitFailure : code);
            if (style == ReportStyle::Json) PrintFailureJson(input, messages.str(), out);
            continue;
        }
        if (style == ReportStyle::Json) {
            PrintJson(*document, input, out);
            continue;
        }
        if (inputs.size() > 1) out << (first ? "" : "\n") << "==> " << input << " <==\n";
        first = false;
        if (style == ReportStyle::Raw) {
            out << document->Report().Text();
        } else {
            out << RenderReport(document->Report(), style == ReportStyle::Terminal);
        }
    }
    return result;
}

}  // namespace zelkon::cli
