// Export writers: data table, two-by-two table, column statistics, results text.
#include "data/export.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <vector>

#include "core/file_io.h"
#include "core/grid_number.h"
#include "core/latin1.h"
#include "core/latin1_decode.h"
#include "core/number_parse.h"
#include "core/stored_number.h"
#include "data/entered_value.h"
#include "document/data_file.h"

namespace zelkon {

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr std::int32_t StatsDecimals = 10;

struct UsedExtent {
    bool any = false;
    int lastRow = 0;
    int lastColumn = 0;
};

UsedExtent FindUsedExtent(const DataTable& table) {
    UsedExtent extent;
    for (int c = 0; c < DataColumns; ++c) {
        for (int r = 0; r < DataRows; ++r) {
            if (table.IsMissing(r, c)) continue;
            extent.any = true;
            extent.lastRow = std::max(extent.lastRow, r);
            extent.lastColumn = c;
        }
    }
    return extent;
}

// Whether a text reads back as the value, as the import keeps it (15 significant digits).
bool ReadsBackAs(std::string_view text, Extended v) {
    Extended read = MissingValue;
    if (!ParseNumberWithPoint(text, Separators{}, read)) return false;
    return RoundEnteredValue(read) == RoundEnteredValue(v);
}

// The shortest text of at most 15 significant digits that reads back as the value: fixed
// notation from 1E-4 to 1E15 in magnitude, else the exponent form.
std::string FullText(Extended v) {
    char buffer[64];
    std::string text;
    if (std::fabs(v) >= 1E-4L && std::fabs(v) < 1E15L) {
        for (int decimals = 0; decimals <= 15; ++decimals) {
            const auto written = std::to_chars(buffer, buffer + sizeof buffer, v,
                                               std::chars_format::fixed, decimals);
            if (written.ec != std::errc()) break;
            text.assign(buffer, written.ptr);
            if (ReadsBackAs(text, v)) return text;
        }
    }
    for (int digits = 1; digits <= 15; ++digits) {
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, digits);
        if (written.ec != std::errc()) break;
        text.assign(buffer, written.ptr);
        if (ReadsBackAs(text, v)) break;
    }
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
}

// The cell text as the sheet shows it (the column's shown decimals), or, where that text
// would not give the value back, the value with the digits it needs; "." replaced by the
// user's decimal separator.
std::string CellText(const DataTable& table, int row, int column, char decimal) {
    const Extended v = table.Value(row, column);
    if (IsMissingValue(v)) return {};
    std::string text = TrimBlanks(FormatCellText(v, ShownDecimals(table, column)));
    if (!ReadsBackAs(text, v)) text = FullText(v);
    if (decimal != '.') std::replace(text.begin(), text.end(), '.', decimal);
    return text;
}

// A title in double quotes (doubled inside), so that the import reads it as text even when
// it looks like a number or holds the separator.
std::string Quoted(std::string_view title) {
    std::string out = "\"";
    for (char c : title) {
        out += c;
        if (c == '"') out += '"';
    }
    return out + "\"";
}

std::string StatText(Extended v) {
    std::string text = FormatGridNumber(v, StatsDecimals);
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

}  // namespace

char ExportSeparator(std::string_view fileName, Separators separators) {
    const std::size_t dot = fileName.rfind('.');
    const std::size_t slash = fileName.find_last_of("/\\");
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash)) {
        std::string extension(fileName.substr(dot + 1));
        for (char& c : extension) {
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
        if (extension == "TXT") return '\t';
    }
    return separators.list;
}

std::string ExportDataTableText(const DataTable& table, const ExportOptions& options,
                                char separator, Separators separators) {
    const UsedExtent extent = FindUsedExtent(table);
    std::string out;
    // The data title in quotes; below it, the line of column titles or, without one, a blank
    // line, so that the import never takes the data title for a column title.
    if (options.sheetTitle) {
        if (!table.DataTitle().empty()) out += Quoted(table.DataTitle());
        out += LineEnd;
    }
    if (!options.indexFormat) {
        bool anyTitle = false;
        for (int c = 0; c <= extent.lastColumn; ++c) {
            if (table.Record(c).title.find_first_not_of(' ') != std::string::npos) anyTitle = true;
        }
        if (options.columnTitles && anyTitle) {
            for (int c = 0; c <= extent.lastColumn; ++c) {
                if (c > 0) out += separator;
                out += Quoted(table.Record(c).title);
            }
            out += LineEnd;
        } else if (options.sheetTitle) {
            out += LineEnd;
        }
        if (!extent.any) return out;
        for (int r = 0; r <= extent.lastRow; ++r) {
            for (int c = 0; c <= extent.lastColumn; ++c) {
                if (c > 0) {
                    out += separator;
                    out += ' ';
                }
                out += CellText(table, r, c, separators.decimal);
            }
            out += LineEnd;
        }
        return out;
    }
    if (options.columnTitles) {
        out += "value";
        out += separator;
        out += "group";
        out += LineEnd;
    }
    if (!extent.any) return out;
    for (int c = 0; c <= extent.lastColumn; ++c) {
        for (int r = 0; r <= extent.lastRow; ++r) {
            out += CellText(table, r, c, separators.decimal);
            out += separator;
            out += std::to_string(c + 1);
            out += LineEnd;
        }
    }
    return out;
}

std::string ExportTwoByTwoText(const TwoByTwoRecord& record, char separator) {
    std::string out = FormatStoredNumber(record.a);
    out += separator;
    out += FormatStoredNumber(record.b);
    out += LineEnd;
    out += FormatStoredNumber(record.c);
    out += separator;
    out += FormatStoredNumber(record.d);
    out += LineEnd;
    return out;
}

std::string ExportColumnStatsText(const DataTable& table) {
    std::vector<int> columns;
    for (int c = 0; c < DataColumns; ++c) {
        if (table.Record(c).n > 0) columns.push_back(c);
    }
    using Field = Extended ColumnRecord::*;
    const Field fields[] = {&ColumnRecord::mean,    nullptr,                 &ColumnRecord::sd,
                            &ColumnRecord::sem,     &ColumnRecord::median,   &ColumnRecord::lower95,
                            &ColumnRecord::upper95, &ColumnRecord::minimum, &ColumnRecord::maximum};
    std::string out;
    for (const Field field : fields) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (i > 0) out += ',';
            const ColumnRecord& record = table.Record(columns[i]);
            out += field == nullptr ? std::to_string(record.n) : StatText(record.*field);
        }
        out += LineEnd;
    }
    return out;
}

std::string ExportResultsText(const ResultsReport& report) {
    std::string out;
    for (const std::string& line : report.AllLines()) {
        for (char c : line) {
            if (c != ResultsReport::Emphasis1 && c != ResultsReport::Emphasis2 &&
                c != ResultsReport::Emphasis3) {
                out += c;
            }
        }
        out += LineEnd;
    }
    return out;
}

std::int32_t WriteExportFile(const std::string& path, std::string_view text) {
    int err = 0;
    if (WriteFileAtomically(path, text, &err)) return 0;
    return IoErrorFromErrno(err, true, path);
}

std::optional<ExportKind> ExportKindForStep(const Document& document, Step step) {
    switch (step) {
        case Step::DataTable:
            return document.Format() == DataFormat::TwoByTwo ? ExportKind::TwoByTwo
                                                             : ExportKind::DataTable;
        case Step::SummaryStats:
            return ExportKind::ColumnStats;
        case Step::Results:
            return ExportKind::ResultsText;
        default:
            return std::nullopt;
    }
}

std::int32_t ExportDocument(const Document& document, ExportKind kind, const std::string& path,
                            const ExportOptions& options, Separators separators) {
    const char separator = ExportSeparator(path, separators);
    std::string text;
    switch (kind) {
        case ExportKind::DataTable:
            text = ExportDataTableText(document.Table(), options, separator, separators);
            break;
        case ExportKind::TwoByTwo:
            text = ExportTwoByTwoText(document.Data().TwoByTwo(), separator);
            break;
        case ExportKind::ColumnStats:
            text = ExportColumnStatsText(document.Table());
            break;
        case ExportKind::ResultsText:
            text = ExportResultsText(document.Report());
            break;
    }
    return WriteExportFile(path, TextForExport(text));
}

}  // namespace zelkon
