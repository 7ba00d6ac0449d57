// zelkon-cli import: reads a text file by the import rules (title lines, separated or
// blank-separated values, column titles) into a new document of the chosen format and saves
// it as a data file.
#include "cli/import_command.h"

#include <algorithm>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/latin1.h"
#include "core/number_parse.h"
#include "data/import_placement.h"
#include "data/text_import.h"
#include "document/data_file.h"
#include "document/summary_page.h"

namespace zelkon::cli {

namespace {

constexpr const char* ImportUsage =
    "usage: zelkon-cli import TEXTFILE -o FILE.ZLD [--format raw|xy|table|twobytwo|multreg]\n"
    "           [--columns FROM-TO] [--rows FROM-TO] [--where COL OP VALUE]\n"
    "           [--indexed VALUECOL GROUPCOL]\n"
    "           [--decimal-separator C] [--list-separator C]\n";

// Removes "--name W1 ... Wn" and returns the n words; one quoted word holding them
// separated by blanks is taken as well ("--where '2 > 5'").  Sets `bad` when the option is
// there without its words.
std::optional<std::vector<std::string>> TakeWords(Arguments& args, std::string_view name,
                                                  std::size_t count, bool& bad) {
    const std::string flag = "--" + std::string(name);
    for (std::size_t i = 0; i < args.words.size(); ++i) {
        if (args.words[i] != flag) continue;
        std::vector<std::string> words;
        std::size_t taken = 0;
        if (i + 1 < args.words.size() && args.words[i + 1].find(' ') != std::string::npos) {
            std::istringstream split(args.words[i + 1]);
            for (std::string w; split >> w;) words.push_back(w);
            taken = 1;
        } else {
            for (std::size_t k = 1; k <= count && i + k < args.words.size(); ++k) {
                words.push_back(args.words[i + k]);
                ++taken;
            }
        }
        args.words.erase(args.words.begin() + static_cast<std::ptrdiff_t>(i),
                         args.words.begin() + static_cast<std::ptrdiff_t>(i + 1 + taken));
        if (words.size() != count) {
            bad = true;
            return std::nullopt;
        }
        return words;
    }
    return std::nullopt;
}

bool ParseCount(const std::string& text, std::int32_t& value) {
    std::int64_t parsed = 0;
    if (!ParseInteger(text, parsed) || parsed < 1 || parsed > 1000000) return false;
    value = static_cast<std::int32_t>(parsed);
    return true;
}

// "FROM-TO" with whole numbers counted from 1.
bool ParseRange(const std::string& text, std::int32_t& from, std::int32_t& to) {
    const std::size_t dash = text.find('-');
    if (dash == std::string::npos) return false;
    return ParseCount(text.substr(0, dash), from) && ParseCount(text.substr(dash + 1), to) &&
           from <= to;
}

std::optional<FilterCondition> ParseCondition(std::string_view text) {
    static constexpr std::pair<std::string_view, FilterCondition> conditions[] = {
        {"=", FilterCondition::Equal},         {">", FilterCondition::Greater},
        {">=", FilterCondition::GreaterOrEqual}, {"<", FilterCondition::Less},
        {"<=", FilterCondition::LessOrEqual},  {"<>", FilterCondition::NotEqual}};
    for (const auto& [word, condition] : conditions) {
        if (text == word) return condition;
    }
    return std::nullopt;
}

std::optional<DataFormat> ParseFormat(std::string_view text) {
    if (text == "raw") return DataFormat::Raw;
    if (text == "xy") return DataFormat::XY;
    if (text == "table") return DataFormat::LargerTable;
    if (text == "twobytwo") return DataFormat::TwoByTwo;
    if (text == "multreg") return DataFormat::MultipleRegression;
    return std::nullopt;
}

int UsageError(std::ostream& err, const std::string& message,
               std::string_view command = "import") {
    err << "zelkon-cli " << command << ": " << message << '\n';
    if (command == "import") {
        err << ImportUsage;
    } else {
        err << "(zelkon-cli help " << command << " lists every option)\n";
    }
    return ExitUsage;
}

}  // namespace

std::optional<TextImportRequest> TakeTextImportOptions(Arguments& args, std::ostream& err,
                                                       std::string_view command) {
    const std::optional<Separators> separators = SeparatorsFromLocale(args, err);
    if (!separators) return std::nullopt;
    TextImportRequest request;
    request.separators = *separators;
    const std::string formatName = args.TakeOption("format").value_or("raw");
    const std::optional<std::string> columns = args.TakeOption("columns");
    const std::optional<std::string> rows = args.TakeOption("rows");
    bool bad = false;
    const auto where = TakeWords(args, "where", 3, bad);
    if (bad) {
        UsageError(err, "--where takes a column, a condition and a value", command);
        return std::nullopt;
    }
    const auto indexed = TakeWords(args, "indexed", 2, bad);
    if (bad) {
        UsageError(err, "--indexed takes the value column and the group column", command);
        return std::nullopt;
    }
    const std::optional<DataFormat> format = ParseFormat(formatName);
    if (!format) {
        UsageError(err, "unknown format " + formatName, command);
        return std::nullopt;
    }
    request.format = *format;

    ImportOptions& options = request.options;
    if (columns && indexed) {
        UsageError(err, "--columns and --indexed exclude each other", command);
        return std::nullopt;
    }
    if (columns) {
        options.columns = ImportColumns::Range;
        if (!ParseRange(*columns, options.fromColumn, options.toColumn)) {
            UsageError(err, "--columns takes FROM-TO, counted from 1", command);
            return std::nullopt;
        }
    }
    if (indexed) {
        options.columns = ImportColumns::Indexed;
        if (!ParseCount((*indexed)[0], options.valueColumn) ||
            !ParseCount((*indexed)[1], options.groupColumn)) {
            UsageError(err, "--indexed takes two column numbers, counted from 1", command);
            return std::nullopt;
        }
    }
    if (rows) {
        options.rowRange = true;
        if (!ParseRange(*rows, options.fromRow, options.toRow)) {
            UsageError(err, "--rows takes FROM-TO, counted from 1", command);
            return std::nullopt;
        }
    }
    if (where) {
        options.filter = true;
        const std::optional<FilterCondition> condition = ParseCondition((*where)[1]);
        if (!ParseCount((*where)[0], options.filterColumn) || !condition ||
            !ParseNumberWithPoint((*where)[2], *separators, options.filterValue)) {
            UsageError(err, "--where takes a column number, one of = > >= < <= <>, and a value",
                       command);
            return std::nullopt;
        }
        options.condition = *condition;
    }
    return request;
}

std::unique_ptr<Document> ReadTextFileAsDocument(const TextImportRequest& request,
                                                 std::ostream& err, std::string_view command) {
    const std::string name = "zelkon-cli " + std::string(command) + ": " + request.file + ": ";
    BatchPrompts prompts(err);
    std::optional<ImportPreview> preview =
        ReadImportFile(request.file, request.separators, prompts);
    if (!preview) return nullptr;
    for (const std::string& line : AccountLines(preview->account)) {
        err << name << Latin1ToUtf8(line) << '\n';
    }

    // The dialog's fields are limited to the columns and rows found in the file.
    ImportOptions options = request.options;
    const auto beyond = [&](std::int32_t column) { return column > preview->columns; };
    if ((options.columns == ImportColumns::Range && beyond(options.fromColumn)) ||
        (options.columns == ImportColumns::Indexed &&
         (beyond(options.valueColumn) || beyond(options.groupColumn))) ||
        (options.filter && beyond(options.filterColumn))) {
        err << name << "the file has " << preview->columns << " columns\n";
        return nullptr;
    }
    if (options.columns == ImportColumns::Range) {
        options.toColumn = std::min(options.toColumn, preview->columns);
    }
    if (options.rowRange && options.fromRow > preview->rows) {
        err << name << "the file has " << preview->rows << " rows\n";
        return nullptr;
    }

    Document imported;
    imported.Table().SetDataTitle(preview->table->DataTitle());
    const bool table = request.format == DataFormat::TwoByTwo &&
                       options.columns == ImportColumns::All && !options.rowRange &&
                       !options.filter && ImportTwoByTwoTable(imported, *preview);
    if (!table) {
        if (!ImportIntoDocument(imported, *preview, options, 0, 0, prompts)) return nullptr;
        if (!imported.Table().HasData()) {
            err << name << "no values were imported: the options left out every value\n";
            return nullptr;
        }
        if (request.format != DataFormat::Raw) imported.Data().ChangeFormat(request.format);
    }

    // The statistics are those of the cells as the data file keeps them: the document is
    // written and read back, and the copy read is what is saved.
    DataFileContents contents{imported.Data(), imported.Choices(), imported.Notes(),
                              imported.Graph()};
    const std::string text = BuildDataFileText(contents);
    auto document = std::make_unique<Document>();
    DataFileContents back{document->Data(), document->Choices(), document->Notes(),
                          document->Graph()};
    if (ReadDataFileText(back, text, DetectDataFormatOfText(text)) != 0) {
        err << name << "the imported data could not be kept\n";
        return nullptr;
    }
    PrepareColumnStatistics(*document);
    return document;
}

int RunImportCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> output = args.TakeOutput();
    std::optional<TextImportRequest> request = TakeTextImportOptions(args, err);
    if (!request) return ExitUsage;
    if (const auto unknown = args.UnknownOption()) {
        return UsageError(err, "unknown option " + *unknown);
    }
    const std::vector<std::string> files = args.Positional();
    if (files.size() != 1) return UsageError(err, "name one text file");
    if (!output) return UsageError(err, "name the data file to write with -o");
    request->file = files[0];

    const std::unique_ptr<Document> document = ReadTextFileAsDocument(*request, err);
    if (!document) return ExitFailure;
    if (!SaveDocument(*document, *output, err)) return ExitFailure;

    if (document->Format() == DataFormat::TwoByTwo &&
        !document->Data().TwoByTwo().AllCellsMissing() && !document->Table().HasData()) {
        out << *output << ": a two-by-two table\n";
        return ExitOk;
    }
    const auto [lastRow, lastColumn] = document->Table().FindExtent();
    out << *output << ": " << lastRow + 1 << " rows, " << lastColumn + 1 << " columns\n";
    return ExitOk;
}

}  // namespace zelkon::cli
