// The printed data table, column statistics and results.
#include "output/print_layout_texts.h"

#include <algorithm>

#include "core/column_headings.h"
#include "core/grid_number.h"
#include "core/stored_number.h"
#include "document/summary_page.h"
#include "stats/column_stats.h"

namespace zelkon {

namespace {

const std::string Bold(1, static_cast<char>(128));

std::string Blanks(int n) { return std::string(static_cast<std::size_t>(std::max(n, 0)), ' '); }

std::string RightAligned(const std::string& text, int width) {
    return Blanks(width - static_cast<int>(text.size())) + text;
}

/// A title that leaves at least one blank before it in a right-aligned field.
std::string FieldTitle(std::string_view text, int width) {
    return RightAligned(std::string(text.substr(0, static_cast<std::size_t>(width - 1))), width);
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

void TrimRight(std::string& line) {
    const std::size_t end = line.find_last_not_of(' ');
    line.erase(end == std::string::npos ? 0 : end + 1);
}

/// Two blank lines, and the data title with a blank line after it when there is one.
std::vector<std::string> Opening(const DataTable& table) {
    std::vector<std::string> lines(2);
    if (!table.DataTitle().empty()) {
        lines.push_back(table.DataTitle());
        lines.emplace_back();
    }
    return lines;
}

/// The 3 blanks and the label right-aligned in 11 characters that start every line.
std::string LineStart(std::string_view label) {
    return Blanks(PrintIndent) +
           RightAligned(std::string(label.substr(0, PrintLabelWidth)), PrintLabelWidth);
}

std::string DataColumnHeading(const Document& document, int column) {
    const std::string& title = document.Table().Record(column).title;
    if (!IsBlank(title)) return title;
    if (document.Format() == DataFormat::XY) return column == 0 ? "X" : "Y";
    return std::string(1, ColumnLetter(column));
}

std::vector<std::string> PrintTwoByTwo(const Document& document) {
    const TwoByTwoRecord& r = document.Data().TwoByTwo();
    std::vector<std::string> lines = Opening(document.Table());
    auto row = [](const std::string& label, const std::string& first, const std::string& second) {
        std::string line = LineStart(label) + RightAligned(first, PrintValueWidth) +
                           RightAligned(second, PrintValueWidth);
        TrimRight(line);
        return line;
    };
    std::string header = LineStart("#") + FieldTitle(r.Column1Label(), PrintValueWidth) +
                         FieldTitle(r.Column2Label(), PrintValueWidth);
    lines.push_back(header);
    lines.push_back(row(r.Row1Label(), FormatStoredNumber(r.a), FormatStoredNumber(r.b)));
    lines.push_back(row(r.Row2Label(), FormatStoredNumber(r.c), FormatStoredNumber(r.d)));
    return lines;
}

}  // namespace

std::vector<std::string> PrintDataTable(const Document& document) {
    if (document.Format() == DataFormat::TwoByTwo) return PrintTwoByTwo(document);
    const DataTable& table = document.Table();
    std::vector<std::string> lines = Opening(table);
    int lastColumn = -1;
    int lastRow = -1;
    for (int c = 0; c < DataColumns; ++c) {
        if (!IsBlank(table.Record(c).title)) lastColumn = c;
        for (int r = 0; r < DataRows; ++r) {
            if (table.IsMissing(r, c)) continue;
            lastColumn = c;
            lastRow = std::max(lastRow, r);
        }
    }
    for (int first = 0; first <= lastColumn; first += PrintDataBlockColumns) {
        const int last = std::min(first + PrintDataBlockColumns - 1, lastColumn);
        if (first > 0) lines.emplace_back();
        std::string header = LineStart("#");
        for (int c = first; c <= last; ++c) {
            header += FieldTitle(DataColumnHeading(document, c), PrintValueWidth);
        }
        lines.push_back(header);
        for (int r = 0; r <= lastRow; ++r) {
            std::string line = LineStart(table.RowTitle(r));
            for (int c = first; c <= last; ++c) {
                // As the sheet shows the cell, in the field less the blank before it.
                const std::string text = FitGridText(table.Value(r, c), ShownDecimals(table, c),
                                                     static_cast<std::size_t>(PrintValueWidth - 1));
                line += Blanks(PrintValueWidth - static_cast<int>(text.size()));
                line += table.IsExcluded(r, c) ? Bold + text + Bold : text;
            }
            TrimRight(line);
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

std::vector<std::string> PrintColumnStatistics(Document& document) {
    PrepareColumnStatistics(document);
    const DataTable& table = document.Table();
    const bool errorIsSD = document.Data().ErrorIsSD();
    const auto labels = StatisticsRowLabels(errorIsSD);
    std::vector<int> columns;
    for (int c = 0; c < DataColumns; ++c) {
        if (table.Record(c).n > 0) columns.push_back(c);
    }
    auto heading = [&](int c) {
        const std::string& title = table.Record(c).title;
        if (!IsBlank(title)) return title;
        const auto grid = ColumnHeading(document.Format(), c);
        return StatisticsGridTakesHeadings(document.Format()) && grid ? *grid
                                                                      : std::string(1, ColumnLetter(c));
    };
    auto label = [](std::string_view text) {
        std::string padded(text);
        padded.resize(PrintStatsLabelWidth, ' ');
        return padded;
    };

    std::vector<std::string> lines = Opening(table);
    const std::size_t count = columns.size();
    for (std::size_t first = 0; first == 0 || first < count; first += PrintStatsBlockColumns) {
        const std::size_t last = std::min(first + PrintStatsBlockColumns, count);
        if (first > 0) lines.emplace_back();
        std::string header = label(ColumnTitleLabel);
        for (std::size_t i = first; i < last; ++i) {
            header += FieldTitle(heading(columns[i]), PrintValueWidth);
        }
        TrimRight(header);
        lines.push_back(std::move(header));
        for (int row = 0; row < StatisticsRowCount; ++row) {
            if (row % 3 == 0) lines.emplace_back();
            std::string line = label(labels[static_cast<std::size_t>(row)]);
            for (std::size_t i = first; i < last; ++i) {
                line += RightAligned(StatisticsCellText(table, columns[i],
                                                        static_cast<StatisticsRow>(row), errorIsSD),
                                     PrintValueWidth);
            }
            TrimRight(line);
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

std::vector<std::string> PrintResults(const Document& document) {
    const ResultsReport& report = document.Report();
    return report.IsFinished() ? report.Lines() : report.AllLines();
}

}  // namespace zelkon
