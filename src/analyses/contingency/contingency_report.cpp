// The report of the larger contingency table.
#include "analyses/contingency/contingency_report.h"

#include <new>
#include <string_view>

#include "core/fp_guard.h"
#include "core/json_writer.h"
#include "report/contingency_tables.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

constexpr int HeadingWidth = 65;
constexpr int Digits = -5;
constexpr Extended Significance = 0.05L;

void CentredHeading(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis2();
    report.Write(ResultsReport::Centre(text, HeadingWidth));
    report.ToggleEmphasis2();
    report.NewLine();
}

void WriteWarning(ResultsReport& report) {
    report.WriteLine("  Chi-square calculations are only valid when all expected");
    report.WriteLine("values are greater than 1.0 and at least 20% of the expected");
    report.WriteLine("values are greater than 5.  These conditions have not been");
    report.WriteLine("met, and thus the chi-square calculations are not valid.  To");
    report.WriteLine("avoid this problem, combine two or more rows or columns.");
}

void WriteTrend(ResultsReport& report, const TrendResult& trend) {
    const bool twoRows = trend.kind == TrendKind::OrderedColumns;
    report.NewLine();
    CentredHeading(report, "Chi-Squared Test for Trend.");
    report.WriteLine("Note: This analysis is useful only if the categories defining the");
    if (twoRows) {
        report.WriteLine("columns are arranged in a natural order (i.e. age groups, dose");
        report.WriteLine("or time), with equal spacing between columns.");
    } else {
        report.WriteLine("rows are arranged in a natural order (i.e. age groups, dose");
        report.WriteLine("or time), with equal spacing between rows.");
    }
    report.NewLine();
    report.Write("Chi-squared for trend = ");
    WriteNumber(report, trend.chiSquare, Digits);
    report.Write(" (1 degree of freedom)");
    report.NewLine();
    WritePValueSentence(report, 0, false, trend.p);
    report.WriteLine(trend.p < Significance
                         ? "There is a significant linear trend among the ordered categories"
                         : "There is not a significant linear trend among the ordered categories");
    report.WriteLine(twoRows
                         ? "defining the columns and the proportion of subjects in the top row."
                         : "defining the rows and the proportion of subjects in the left column.");
}

void WriteMarginTable(ResultsReport& report, ContingencyMargin margin,
                      const std::vector<ContingencyMarginLine>& lines, Extended grandTotal) {
    WriteContingencySummaryHeading(report, margin);
    for (const ContingencyMarginLine& line : lines) {
        if (line.title.empty()) {
            WriteContingencySummaryRow(report, line.number, line.total, line.percent);
        } else {
            WriteContingencySummaryRow(report, line.title, line.total, line.percent);
        }
    }
    WriteContingencySummaryTotalRow(report, grandTotal);
    report.NewLine();
}

void WriteMarginLines(JsonWriter& json, std::string_view key,
                      const std::vector<ContingencyMarginLine>& lines) {
    json.Key(key).BeginArray();
    for (const ContingencyMarginLine& line : lines) {
        json.BeginObject()
            .Field("number", line.number)
            .Field("title", line.title)
            .Field("total", line.total)
            .Field("percent", line.percent)
            .EndObject();
    }
    json.EndArray();
}

}  // namespace

void WriteContingencyReport(ResultsReport& report, const ContingencyResult& r) {
    CentredHeading(report, "Chi-squared Test for Independence");
    report.NewLine();
    report.Write("Chi-square: ");
    WriteNumber(report, r.chiSquare, Digits);
    report.NewLine();
    report.Write("Degrees of Freedom: ");
    report.WriteInteger(r.df);
    report.NewLine();
    report.NewLine();
    report.Write("Table size: ");
    report.WriteInteger(r.rows);
    report.Write(" rows, ");
    report.WriteInteger(r.columns);
    report.Write(" columns.");
    report.NewLine();
    WriteSidedPValueSentence(report, 0, false, r.p);
    report.WriteLine(r.p < Significance
                         ? "The row and column variables are significantly associated."
                         : "The row and column variables are not significantly associated.");
    report.NewLine();
    if (r.warning) WriteWarning(report);
    if (r.trend.kind != TrendKind::None) WriteTrend(report, r.trend);
    report.NewLine();
    CentredHeading(report, "Summary of Data");
    report.NewLine();
    WriteMarginTable(report, ContingencyMargin::Rows, r.rowLines, r.grandTotal);
    WriteMarginTable(report, ContingencyMargin::Columns, r.columnLines, r.grandTotal);
}

std::string ContingencyResultJson(const ContingencyResult& r) {
    JsonWriter json;
    json.BeginObject()
        .Field("analysis", "contingency table")
        .Field("errorCode", r.errorCode)
        .Field("rows", r.rows)
        .Field("columns", r.columns)
        .Field("grandTotal", r.grandTotal)
        .Field("chiSquare", r.chiSquare)
        .Field("df", r.df)
        .Field("p", r.p)
        .Field("pMethod", r.df > 0 ? "approximate: chi-square distribution"
                                   : "one row or column: nothing to test, P = 1")
        .Field("expectedAtMostOne", r.expectedAtMostOne)
        .Field("expectedAtMostFive", r.expectedAtMostFive)
        .Field("validityWarning", r.warning);
    if (r.trend.kind != TrendKind::None) {
        json.Key("trend")
            .BeginObject()
            .Field("ordered", r.trend.kind == TrendKind::OrderedRows ? "rows" : "columns")
            .Field("chiSquare", r.trend.chiSquare)
            .Field("df", std::int32_t{1})
            .Field("p", r.trend.p)
            .Field("pMethod", "approximate: chi-square distribution")
            .EndObject();
    }
    WriteMarginLines(json, "rowTotals", r.rowLines);
    WriteMarginLines(json, "columnTotals", r.columnLines);
    json.EndObject();
    return json.Text();
}

void RunContingencyAnalysis(DataTable& table, AnalysisOutput& out) {
    out.helpTopic = ContingencyHelpTopic;
    try {
        const ContingencyResult result = ComputeContingency(table);
        if (result.errorCode != 0) {
            out.errorCode = result.errorCode;
            return;
        }
        WriteContingencyReport(out.report, result);
        out.resultJson = ContingencyResultJson(result);
    } catch (const std::bad_alloc&) {
        out.errorCode = ErrorOutOfMemory;
    }
}

}  // namespace zelkon
