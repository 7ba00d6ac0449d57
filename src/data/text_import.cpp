// Reading a text file into the import preview.
#include "data/text_import.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <vector>

#include "core/data_file.h"
#include "core/file_io.h"
#include "core/latin1.h"
#include "core/number_parse.h"
#include "data/data_messages.h"
#include "data/entered_value.h"

namespace zelkon {

namespace {

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr char EndOfText = 26;
// No number needs more characters than this.
constexpr std::size_t MaxFieldLength = 1024;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view WithoutByteOrderMark(std::string_view text) {
    if (text.substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark) {
        text.remove_prefix(Utf8ByteOrderMark.size());
    }
    return text;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    DataFileLines reader(text);
    std::string_view line;
    while (reader.Next(line)) lines.push_back(line);
    return lines;
}

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

bool IsTextLine(std::string_view line) {
    bool other = false;
    for (char c : line) {
        if (c == '*') return false;
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (IsDigit(upper)) continue;
        switch (upper) {
            case '\t': case ' ': case '+': case ',': case '-': case '.': case ';': case 'E':
                continue;
            default:
                other = true;
        }
    }
    return other;
}

std::int32_t TitleLinesOf(const std::vector<std::string_view>& lines) {
    std::int32_t count = 0;
    for (std::string_view line : lines) {
        if (!IsBlankLine(line) && !IsTextLine(line)) break;
        ++count;
    }
    return count;
}

// Characters that may belong to a number in a blank-separated line.
bool IsNumberCharacter(char c) {
    return IsDigit(c) || c == '+' || c == '-' || c == '.' || c == 'E' || c == 'e';
}

// Keeps the characters a value may hold: digits, "-", ".", "+", "*" and "E"; a lower-case "e"
// that stands between a number and its exponent reads as "E"; everything else is dropped.
std::string KeptCharacters(std::string_view field) {
    std::string kept;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (IsDigit(c) || c == '-' || c == '.' || c == '+' || c == '*' || c == 'E') {
            kept.push_back(c);
        } else if (c == 'e' && !kept.empty() && (IsDigit(kept.back()) || kept.back() == '.') &&
                   i + 1 < field.size() &&
                   (IsDigit(field[i + 1]) || field[i + 1] == '+' || field[i + 1] == '-')) {
            kept.push_back('E');
        }
    }
    return kept;
}

class PreviewBuilder {
public:
    explicit PreviewBuilder(ImportPreview& preview) : preview_(preview) {}

    // Field `column` of data row `row`, its characters already reduced to those a value may
    // hold and its decimal point a ".": "*" marks the value excluded; a field that is empty
    // or does not parse is empty.
    void Store(int row, int column, std::string field) {
        bool excluded = false;
        if (field.find('*') != std::string::npos) {
            field.erase(std::remove(field.begin(), field.end(), '*'), field.end());
            excluded = true;
        }
        Extended value = MissingValue;
        if (!ParseNumber(field, Separators{'.', ','}, value)) value = MissingValue;
        if (IsMissingValue(value)) return;
        if (column >= DataColumns) {
            preview_.columnsDropped = true;
            return;
        }
        value = RoundEnteredValue(value);
        DataTable& table = *preview_.table;
        table.SetValue(row, column, value);
        table.SetExcluded(row, column, excluded);
        table.SetNoRawData(column, false);
        RaiseDecimals(table, column, EnteredDigitCounts(value));
        preview_.columns = std::max(preview_.columns, column + 1);
    }

    // Past column Z a field only matters until one value there was found.
    bool Ignores(int column) const { return column >= DataColumns && preview_.columnsDropped; }

private:
    ImportPreview& preview_;
};

void ReadSeparatedLine(PreviewBuilder& builder, int row, std::string_view line,
                       Separators separators) {
    int column = 0;
    std::string raw;
    auto endField = [&] {
        // A field longer than any number is empty (cutting it would change its value).
        if (raw.size() > MaxFieldLength) raw.clear();
        if (!builder.Ignores(column)) builder.Store(row, column, KeptCharacters(raw));
        raw.clear();
        ++column;
    };
    for (char c : line) {
        if (c == separators.decimal) {
            c = '.';
        } else if (c == separators.list) {
            c = '\t';
        }
        if (c == '\t' || c == ',' || c == ';') {
            endField();
        } else if (raw.size() <= MaxFieldLength && !builder.Ignores(column)) {
            raw.push_back(c);
        }
    }
    endField();
}

// A position may lie between columns where every line holds a blank, a ";" or a "," there (a
// "," only where it is not the user's decimal separator) or has ended.
std::vector<std::size_t> ColumnCuts(const std::vector<std::string_view>& dataLines,
                                    Separators separators) {
    const bool commaSeparates = separators.decimal != ',';
    std::array<bool, ImportColumnMapWidth> kept{};
    kept.fill(true);
    std::size_t first = std::string_view::npos;
    std::size_t last = 0;
    bool anyNumber = false;
    for (std::string_view line : dataLines) {
        const std::size_t width = std::min(line.size(), ImportColumnMapWidth);
        for (std::size_t p = 0; p < width; ++p) {
            const char c = line[p];
            if (c != ' ' && c != ';' && !(c == ',' && commaSeparates)) kept[p] = false;
        }
        for (std::size_t p = 0; p < line.size(); ++p) {
            if (IsNumberCharacter(line[p])) {
                first = std::min(first, p);
                anyNumber = true;
                break;
            }
        }
        for (std::size_t p = line.size(); p > 0; --p) {
            if (IsNumberCharacter(line[p - 1])) {
                last = std::max(last, p - 1);
                break;
            }
        }
    }
    std::vector<std::size_t> cuts;
    if (!anyNumber) return cuts;
    for (std::size_t p = 0; p < ImportColumnMapWidth; ++p) {
        if (p < first || p > last) kept[p] = false;
    }
    for (std::size_t p = 0; p < ImportColumnMapWidth; ++p) {
        const bool lastOfRun = p + 1 == ImportColumnMapWidth || !kept[p + 1];
        if (kept[p] && lastOfRun) cuts.push_back(p);
    }
    return cuts;
}

void ReadBlankSeparatedLine(PreviewBuilder& builder, int row, std::string_view line,
                            const std::vector<std::size_t>& cuts, Separators separators) {
    std::size_t start = 0;
    int column = 0;
    auto field = [&](std::size_t end) {
        std::string text;
        if (start < line.size()) {
            text = TrimBlanks(line.substr(start, std::min(end, line.size()) - start));
            if (text.size() > MaxFieldLength) text.clear();
        }
        if (separators.decimal == ',') std::replace(text.begin(), text.end(), ',', '.');
        builder.Store(row, column++, std::move(text));
    };
    for (std::size_t cut : cuts) {
        field(cut);
        start = cut;
    }
    field(line.size());
}

// The fields of a title line: they end at TAB, CR, and outside double quotes at ",", ";" and
// the user's list separator; double quotes are dropped; the line ends at LF or character 26.
std::vector<std::string> TitleFields(std::string_view line, Separators separators) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '\n' || c == EndOfText) break;
        if (c == '"') {
            quoted = !quoted;
            continue;
        }
        const bool separator =
            c == '\t' || c == '\r' || (!quoted && (c == ',' || c == ';' || c == separators.list));
        if (separator) {
            fields.emplace_back();
        } else if (fields.back().size() < ColumnRecord::MaxTitle) {
            fields.back().push_back(c);
        }
    }
    return fields;
}

void TakeTitles(ImportPreview& preview, const std::vector<std::string_view>& lines,
                Separators separators) {
    if (preview.titleLines == 0) return;
    DataTable& table = *preview.table;
    std::size_t titlesLine = 0;
    const std::vector<std::string> firstFields = TitleFields(lines[0], separators);
    const auto nonEmpty = std::count_if(firstFields.begin(), firstFields.end(),
                                        [](const std::string& f) { return !f.empty(); });
    if (nonEmpty != preview.columns) {
        table.SetDataTitle(SanitizeLatin1(CutText(lines[0], DataTable::MaxDataTitle)));
        if (preview.titleLines == 1) return;
        titlesLine = 1;
    }
    const std::vector<std::string> titles = TitleFields(lines[titlesLine], separators);
    for (std::size_t c = 0; c < titles.size() && c < static_cast<std::size_t>(DataColumns); ++c) {
        table.Record(static_cast<int>(c)).title = SanitizeLatin1(titles[c]);
    }
    preview.columnTitles = true;
}

}  // namespace

bool IsAsciiText(std::string_view text) {
    const std::size_t firstEnd = text.find_first_of("\r\n");
    if (firstEnd == std::string_view::npos) return true;
    const std::string_view rest = text.substr(firstEnd);
    return std::none_of(rest.begin(), rest.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 128; });
}

std::int64_t CountLines(std::string_view text) {
    DataFileLines reader(text);
    std::string_view line;
    std::int64_t count = 0;
    while (reader.Next(line)) ++count;
    return count;
}

std::int32_t CountTitleLines(std::string_view text) {
    return TitleLinesOf(SplitLines(WithoutByteOrderMark(text)));
}

ImportPreview LoadDelimitedText(std::string_view text, Separators separators) {
    ImportPreview preview;
    const std::vector<std::string_view> lines = SplitLines(WithoutByteOrderMark(text));
    preview.titleLines = TitleLinesOf(lines);
    const std::size_t firstData = static_cast<std::size_t>(preview.titleLines);
    PreviewBuilder builder(preview);

    if (firstData < lines.size()) {
        // Where the comma is the user's decimal separator it separates nothing: a line of
        // blank-separated decimal commas must not be read as comma-separated values.
        const std::string_view decider = lines[firstData];
        const std::string_view separating = separators.decimal == ',' ? "\t;" : ",\t;";
        preview.blankSeparated =
            decider.find_first_of(separating) == std::string_view::npos &&
            (separators.list == separators.decimal ||
             decider.find(separators.list) == std::string_view::npos);
    }
    if (!preview.blankSeparated) {
        for (std::size_t i = firstData; i < lines.size(); ++i) {
            if (preview.rows == ImportRowLimit) {
                preview.rowsDropped = true;
                break;
            }
            ReadSeparatedLine(builder, preview.rows++, lines[i], separators);
        }
    } else {
        std::vector<std::string_view> dataLines;
        for (std::size_t i = firstData; i < lines.size(); ++i) {
            if (!IsBlankLine(lines[i]) && !IsTextLine(lines[i])) dataLines.push_back(lines[i]);
        }
        const std::vector<std::size_t> cuts = ColumnCuts(dataLines, separators);
        for (std::string_view line : dataLines) {
            if (preview.rows == ImportRowLimit) {
                preview.rowsDropped = true;
                break;
            }
            ReadBlankSeparatedLine(builder, preview.rows++, line, cuts, separators);
        }
    }
    TakeTitles(preview, lines, separators);
    // The preview's columns are data as read, not edits.
    for (int c = 0; c < DataColumns; ++c) preview.table->SetChanged(c, false);
    return preview;
}

std::optional<ImportPreview> ReadImportText(std::string_view text, Separators separators,
                                            UserPrompts& prompts) {
    if (!IsAsciiText(text)) {
        prompts.Tell(NotAsciiFileMessage);
        return std::nullopt;
    }
    if (CountLines(text) > ImportRowLimit) prompts.Tell(TooManyRowsMessage(ImportRowLimit));
    ImportPreview preview = LoadDelimitedText(text, separators);
    if (preview.columnsDropped) prompts.Tell(TooManyColumnsMessage(DataColumns));
    return preview;
}

std::optional<ImportPreview> ReadImportFile(const std::string& path, Separators separators,
                                            UserPrompts& prompts) {
    std::string text;
    errno = 0;
    if (!ReadWholeFile(path, text)) {
        const std::int32_t code = IoErrorFromErrno(errno, false, path);
        const std::string message = IoErrorText(code);
        prompts.Tell(message.empty() ? "Error: #" + std::to_string(code) : message);
        return std::nullopt;
    }
    return ReadImportText(text, separators, prompts);
}

}  // namespace zelkon
