// The tables of the contingency analyses.
#include "report/contingency_tables.h"

#include <cstdio>

#include "report/results_tables_common.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

// Two-by-two table: title, the two table columns and the row totals.
constexpr int TitleColumn = 1;
constexpr int Cell1Column = 17;
constexpr int Cell2Column = 34;
constexpr int TotalColumn = 51;
constexpr int FieldWidth = 15;
constexpr int RuleLength = 65;
constexpr int BracketWidth = 10;
constexpr int PercentWidth = 3;

// Contingency summaries.
constexpr int SummaryTitleColumn = 1;
constexpr int SummaryTotalColumn = 18;
constexpr int SummaryPercentColumn = 30;
constexpr int SummaryTitleWidth = 15;
constexpr int SummaryTotalWidth = 10;
constexpr int SummaryPercentWidth = 7;
constexpr int SummaryPercentUnderline = 8;

constexpr int RatioDigits = -5;

// A count of the table (a whole number held as an extended value), right-aligned; a
// missing count writes blanks.
void WriteCount(ResultsReport& report, Extended count, int width) {
    if (IsMissingValue(count)) {
        report.Write(RightAlignedText("", width));
        return;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.0Lf", count);
    report.Write(RightAlignedText(text, width));
}

// The sum of two counts; missing when either is.
Extended Sum(Extended x, Extended y) {
    return IsMissingValue(x) || IsMissingValue(y) ? MissingValue : x + y;
}

// count as a percentage of the total; missing when it cannot be computed.
Extended Percentage(Extended count, Extended total) {
    if (IsMissingValue(count) || IsMissingValue(total) || total == 0) return MissingValue;
    return count * 100 / total;
}

// " (" right-aligned in 10, the percentage in 3 without decimals, "%)".
void WritePercentLine(ResultsReport& report, Extended count1, Extended count2,
                      Extended grandTotal) {
    const Extended counts[] = {count1, count2, Sum(count1, count2)};
    const int columns[] = {Cell1Column, Cell2Column, TotalColumn};
    // Every percentage line after the first starts with ten blanks; they lie inside the
    // padding to the first cell column, so all percentage lines read alike.
    for (int i = 0; i < 3; ++i) {
        MoveToColumn(report, columns[i]);
        report.Write(RightAlignedText(" (", BracketWidth));
        WriteNumberWidth(report, Percentage(counts[i], grandTotal), PercentWidth, 0);
        report.Write("%)");
    }
    report.NewLine();
}

void WriteEmphasisedTitle(ResultsReport& report, std::string_view title) {
    MoveToColumn(report, TitleColumn);
    report.ToggleEmphasis1();
    WriteTitleRight(report, title, FieldWidth);
    report.ToggleEmphasis1();
}

void WriteSummaryValues(ResultsReport& report, Extended total, Extended percent) {
    MoveToColumn(report, SummaryTotalColumn);
    WriteNumberWidth(report, total, SummaryTotalWidth, 0);
    MoveToColumn(report, SummaryPercentColumn);
    WriteNumberWidth(report, percent, SummaryPercentWidth, 2);
    report.Write("%");
    report.NewLine();
}

}  // namespace

// The two-by-two heading is one emphasised line of right-aligned titles; unlike the
// tables with centred headings it has no "=" underline.
void WriteTwoByTwoHeading(ResultsReport& report, std::string_view column1Title,
                          std::string_view column2Title) {
    report.ToggleEmphasis1();
    MoveToColumn(report, Cell1Column);
    WriteTitleRight(report, column1Title, FieldWidth);
    MoveToColumn(report, Cell2Column);
    WriteTitleRight(report, column2Title, FieldWidth);
    MoveToColumn(report, TotalColumn);
    WriteTitleRight(report, "Total", FieldWidth);
    report.ToggleEmphasis1();
    report.NewLine();
}

void WriteTwoByTwoRow(ResultsReport& report, int row, std::string_view title, Extended count1,
                      Extended count2, Extended grandTotal, bool marker) {
    WriteEmphasisedTitle(report, title);
    MoveToColumn(report, Cell1Column);
    WriteCount(report, count1, FieldWidth);
    if (!marker && row == 2) report.Write(DiscordantMarker);  // after cell C
    MoveToColumn(report, Cell2Column);
    WriteCount(report, count2, FieldWidth);
    if (!marker && row == 1) report.Write(DiscordantMarker);  // after cell B
    MoveToColumn(report, TotalColumn);
    WriteCount(report, Sum(count1, count2), FieldWidth);
    report.NewLine();
    WritePercentLine(report, count1, count2, grandTotal);
}

void WriteTwoByTwoTotalRow(ResultsReport& report, Extended column1Total, Extended column2Total) {
    report.NewLine();
    report.ToggleEmphasis1();
    report.WriteDashes(RuleLength);
    report.ToggleEmphasis1();
    report.NewLine();
    WriteEmphasisedTitle(report, "Total");
    MoveToColumn(report, Cell1Column);
    WriteCount(report, column1Total, FieldWidth);
    MoveToColumn(report, Cell2Column);
    WriteCount(report, column2Total, FieldWidth);
    MoveToColumn(report, TotalColumn);
    const Extended grandTotal = Sum(column1Total, column2Total);
    WriteCount(report, grandTotal, FieldWidth);
    report.NewLine();
    WritePercentLine(report, column1Total, column2Total, grandTotal);
}

void WriteTwoByTwoTable(ResultsReport& report, const TwoByTwoRecord& table, bool marker) {
    const Extended grandTotal = Sum(Sum(table.a, table.b), Sum(table.c, table.d));
    WriteTwoByTwoHeading(report, table.Column1Label(), table.Column2Label());
    WriteTwoByTwoRow(report, 1, table.Row1Label(), table.a, table.b, grandTotal, marker);
    WriteTwoByTwoRow(report, 2, table.Row2Label(), table.c, table.d, grandTotal, marker);
    WriteTwoByTwoTotalRow(report, Sum(table.a, table.c), Sum(table.b, table.d));
}

void WriteRatioValue(ResultsReport& report, Extended x) {
    if (x == MissingValue) {
        report.Write("Infinity");
    } else if (x == -MissingValue) {
        report.Write("-Infinity");
    } else {
        WriteNumber(report, x, RatioDigits);
    }
}

void WriteContingencySummaryHeading(ResultsReport& report, ContingencyMargin margin) {
    BeginHeading(report);
    WriteHeadingLine(report,
                     {{SummaryTitleColumn, margin == ContingencyMargin::Rows ? "Row" : "Column",
                       SummaryTitleWidth},
                      {SummaryTotalColumn, "Total", SummaryTotalWidth},
                      {SummaryPercentColumn, "Percent", 10}});
    EndHeading(report, {{SummaryTitleColumn, SummaryTitleWidth},
                        {SummaryTotalColumn, SummaryTotalWidth},
                        {SummaryPercentColumn, SummaryPercentUnderline}});
}

void WriteContingencySummaryRow(ResultsReport& report, std::string_view title, Extended total,
                                Extended percent) {
    MoveToColumn(report, SummaryTitleColumn);
    WriteTitleRight(report, title, SummaryTitleWidth);
    WriteSummaryValues(report, total, percent);
}

void WriteContingencySummaryRow(ResultsReport& report, std::int32_t number, Extended total,
                                Extended percent) {
    MoveToColumn(report, SummaryTitleColumn);
    WriteIntegerField(report, number, SummaryTitleWidth);
    WriteSummaryValues(report, total, percent);
}

void WriteContingencySummaryTotalRow(ResultsReport& report, Extended grandTotal) {
    WriteDashLine(report, {{SummaryTitleColumn, SummaryTitleWidth},
                           {SummaryTotalColumn, SummaryTotalWidth},
                           {SummaryPercentColumn, SummaryPercentUnderline}});
    WriteContingencySummaryRow(report, "Total", grandTotal, 100);
}

}  // namespace zelkon
