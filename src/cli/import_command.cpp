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
#include "core/summary_page.h"
#include "data/import_placement.h"
#include "data/text_import.h"

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

int UsageError(std::ostream& err, const std::string& message) {
    err << "zelkon-cli import: " << message << '\n' << ImportUsage;
    return ExitUsage;
}

}  // namespace

int RunImportCommand(Arguments& args, std::ostream& out, std::ostream& err) {
    const std::optional<Separators> separators = SeparatorsFromLocale(args, err);
    if (!separators) return ExitUsage;
    const std::optional<std::string> output = args.TakeOutput();
    const std::string formatName = args.TakeOption("format").value_or("raw");
    const std::optional<std::string> columns = args.TakeOption("columns");
    const std::optional<std::string> rows = args.TakeOption("rows");
    bool bad = false;
    const auto where = TakeWords(args, "where", 3, bad);
    if (bad) return UsageError(err, "--where takes a column, a condition and a value");
    const auto indexed = TakeWords(args, "indexed", 2, bad);
    if (bad) return UsageError(err, "--indexed takes the value column and the group column");
    if (const auto unknown = args.UnknownOption()) {
        return UsageError(err, "unknown option " + *unknown);
    }
    const std::vector<std::string> files = args.Positional();
    if (files.size() != 1) return UsageError(err, "name one text file");
    if (!output) return UsageError(err, "name the data file to write with -o");

    const std::optional<DataFormat> format = ParseFormat(formatName);
    if (!format) return UsageError(err, "unknown format " + formatName);

    ImportOptions options;
    if (columns && indexed) return UsageError(err, "--columns and --indexed exclude each other");
    if (columns) {
        options.columns = ImportColumns::Range;
        if (!ParseRange(*columns, options.fromColumn, options.toColumn)) {
            return UsageError(err, "--columns takes FROM-TO, counted from 1");
        }
    }
    if (indexed) {
        options.columns = ImportColumns::Indexed;
        if (!ParseCount((*indexed)[0], options.valueColumn) ||
            !ParseCount((*indexed)[1], options.groupColumn)) {
            return UsageError(err, "--indexed takes two column numbers, counted from 1");
        }
    }
    if (rows) {
        options.rowRange = true;
        if (!ParseRange(*rows, options.fromRow, options.toRow)) {
            return UsageError(err, "--rows takes FROM-TO, counted from 1");
        }
    }
    if (where) {
        options.filter = true;
        const std::optional<FilterCondition> condition = ParseCondition((*where)[1]);
        if (!ParseCount((*where)[0], options.filterColumn) || !condition ||
            !ParseNumberWithPoint((*where)[2], *separators, options.filterValue)) {
            return UsageError(err, "--where takes a column number, one of = > >= < <= <>, "
                                   "and a value");
        }
        options.condition = *condition;
    }

    BatchPrompts prompts(err);
    std::optional<ImportPreview> preview = ReadImportFile(files[0], *separators, prompts);
    if (!preview) return ExitFailure;

    // The dialog's fields are limited to the columns and rows found in the file.
    const auto beyond = [&](std::int32_t column) { return column > preview->columns; };
    if ((options.columns == ImportColumns::Range && beyond(options.fromColumn)) ||
        (options.columns == ImportColumns::Indexed &&
         (beyond(options.valueColumn) || beyond(options.groupColumn))) ||
        (options.filter && beyond(options.filterColumn))) {
        err << "zelkon-cli import: " << files[0] << " has " << preview->columns << " columns\n";
        return ExitFailure;
    }
    if (options.columns == ImportColumns::Range) {
        options.toColumn = std::min(options.toColumn, preview->columns);
    }
    if (options.rowRange && options.fromRow > preview->rows) {
        err << "zelkon-cli import: " << files[0] << " has " << preview->rows << " rows\n";
        return ExitFailure;
    }

    Document document;
    if (!ImportIntoDocument(document, *preview, options, 0, 0, prompts)) return ExitFailure;
    document.Table().SetDataTitle(preview->table->DataTitle());
    if (*format != DataFormat::Raw) document.Data().ChangeFormat(*format);
    PrepareColumnStatistics(document);
    if (!SaveDocument(document, *output, err)) return ExitFailure;

    const auto [lastRow, lastColumn] = document.Table().FindExtent();
    const bool empty = !document.Table().HasData();
    out << *output << ": " << (empty ? 0 : lastRow + 1) << " rows, "
        << (empty ? 0 : lastColumn + 1) << " columns\n";
    return ExitOk;
}

}  // namespace zelkon::cli
