// The summary tables of the group comparisons.
#include "report/summary_tables.h"

#include "report/results_tables_common.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

// The six summary columns (in the first summary table: group, points, mean, SD, SEM,
// median; the other tables put their own columns at the same places).
constexpr int Col1 = 1;
constexpr int Col2 = 17;
constexpr int Col3 = 26;
constexpr int Col4 = 35;
constexpr int Col5 = 46;
constexpr int Col6 = 56;

constexpr int TitleWidth = 15;
constexpr int SummaryNumberWidth = 8;
constexpr int CountWidth = 5;

// Normality table.
constexpr int KsWidth = 8;
constexpr int NormalityMinimumN = 5;

// Parameter list.
constexpr int ParameterColumns[] = {16, 32, 48};
constexpr int ParameterLabelWidth = 14;
constexpr int ParameterValueWidth = 15;

void WriteNormalityP(ResultsReport& report, Extended p) {
    if (p > 0.10L) {
        report.Write(">0.10");
    } else if (p < 0.0001L) {
        report.Write("<0.0001");
    } else {
        report.Write(" ");
        WriteNumber(report, p, 4);
    }
}

void BeginParameterRow(ResultsReport& report, std::string_view label) {
    report.ToggleEmphasis1();
    report.Write(RightAlignedText(label, ParameterLabelWidth));
    report.ToggleEmphasis1();
}

template <typename T, typename WriteValue>
void WriteParameterRow(ResultsReport& report, std::string_view label,
                       const std::vector<T>& values, WriteValue write) {
    BeginParameterRow(report, label);
    for (std::size_t i = 0; i < values.size() && i < std::size(ParameterColumns); ++i) {
        MoveToColumn(report, ParameterColumns[i]);
        write(values[i]);
    }
    report.NewLine();
}

}  // namespace

void WriteSummaryHeading(ResultsReport& report) {
    BeginHeading(report);
    WriteHeadingLine(report, {{Col2, "Number", 6}, {Col5, "Standard", 8}});
    WriteHeadingLine(report, {{Col2, "of", 6},
                              {Col4, "Standard", 9},
                              {Col5, "Error of", 8}});
    WriteHeadingLine(report, {{Col1, "Group", 15},
                              {Col2, "Points", 6},
                              {Col3, "Mean", 8},
                              {Col4, "Deviation", 9},
                              {Col5, "Mean", 8},
                              {Col6, "Median", 8}});
    EndHeading(report, {{Col1, 15},
                        {Col2, 6},
                        {Col3, 8},
                        {Col4, 9},
                        {Col5, 8},
                        {Col6, 8}});
}

void WriteSummaryRow(ResultsReport& report, std::string_view title, std::int32_t n,
                     Extended mean, Extended sd, Extended sem, Extended median) {
    MoveToColumn(report, Col1);
    WriteTitleRight(report, title, TitleWidth);
    MoveToColumn(report, Col2);
    WriteIntegerField(report, n, CountWidth);
    MoveToColumn(report, Col3);
    WriteNumberField(report, mean, SummaryNumberWidth);
    MoveToColumn(report, Col4);
    WriteNumberField(report, sd, SummaryNumberWidth);
    MoveToColumn(report, Col5);
    WriteNumberField(report, sem, SummaryNumberWidth);
    MoveToColumn(report, Col6);
    WriteValueOrUnknown(report, median, SummaryNumberWidth);
    report.NewLine();
}

void WriteSummaryRow(ResultsReport& report, const ColumnRecord& column) {
    WriteSummaryRow(report, column.title, column.n, column.mean, column.sd, column.sem,
                    column.median);
}

void WriteSummaryRangeHeading(ResultsReport& side) {
    side.NewLine();
    BeginHeading(side);
    WriteHeadingLine(side, {{Col4, "95% Confidence Interval", 0}});
    WriteHeadingLine(side, {{Col1, "Group", 15},
                            {Col2, "Minimum", 8},
                            {Col3, "Maximum", 8},
                            {Col4, "From", 10},
                            {Col5, "To", 10}});
    EndHeading(side, {{Col1, 15},
                      {Col2, 8},
                      {Col3, 8},
                      {Col4, 10},
                      {Col5, 10}});
}

void WriteSummaryRangeRow(ResultsReport& side, std::string_view title, Extended minimum,
                          Extended maximum, Extended lower95, Extended upper95) {
    MoveToColumn(side, Col1);
    WriteTitleRight(side, title, TitleWidth);
    MoveToColumn(side, Col2);
    WriteValueOrUnknown(side, minimum, 8);
    MoveToColumn(side, Col3);
    WriteValueOrUnknown(side, maximum, 8);
    MoveToColumn(side, Col4);
    WriteNumberField(side, lower95, 10);
    MoveToColumn(side, Col5);
    WriteNumberField(side, upper95, 10);
    side.NewLine();
}

void WriteSummaryRangeRow(ResultsReport& side, const ColumnRecord& column) {
    WriteSummaryRangeRow(side, column.title, column.minimum, column.maximum, column.lower95,
                         column.upper95);
}

void WriteNormalityHeading(ResultsReport& report) {
    BeginHeading(report);
    WriteHeadingLine(report, {{Col1, "Group", 15},
                              {Col2, "KS", 6},
                              {Col3, "P Value", 8},
                              {Col4, "Passed normality test?", 0}});
    EndHeading(report, {{Col1, 15}, {Col2, 6}, {Col3, 8}, {Col4, 23}});
}

void WriteNormalityRow(ResultsReport& report, std::string_view title, std::int32_t n,
                       bool rawData, Extended ks, Extended p, bool passed) {
    MoveToColumn(report, Col1);
    WriteTitleRight(report, title, TitleWidth);
    if (n < NormalityMinimumN) {
        MoveToColumn(report, Col2);
        report.Write(TooFewValuesText);
    } else if (!rawData) {
        MoveToColumn(report, Col2);
        report.Write(RequiresRawDataText);
    } else if (!IsMissingValue(p)) {
        // A column that could not be tested (all values equal) keeps its P value missing;
        // writing ">0.10" and a verdict for it would report a test that never ran.
        MoveToColumn(report, Col2);
        WriteNumberField(report, ks, KsWidth);
        MoveToColumn(report, Col3);
        WriteNormalityP(report, p);
        MoveToColumn(report, Col4);
        report.Write(passed ? " Yes" : " No");
    }
    report.NewLine();
}

void WriteRankTestSummaryHeading(ResultsReport& report) {
    BeginHeading(report);
    WriteHeadingLine(report, {{Col2, "Number", 6}});
    WriteHeadingLine(report, {{Col2, "of", 6}});
    WriteHeadingLine(report, {{Col1, "Group", 15},
                              {Col2, "Points", 6},
                              {Col3, "Median", 8},
                              {Col4, "Minimum", 8},
                              {Col5, "Maximum", 8}});
    EndHeading(report,
               {{Col1, 15}, {Col2, 6}, {Col3, 8}, {Col4, 8}, {Col5, 8}});
}

void WriteRankTestSummaryRow(ResultsReport& report, std::string_view title, std::int32_t n,
                             Extended median, Extended minimum, Extended maximum) {
    MoveToColumn(report, Col1);
    WriteTitleRight(report, title, TitleWidth);
    MoveToColumn(report, Col2);
    WriteIntegerField(report, n, CountWidth);
    MoveToColumn(report, Col3);
    WriteValueOrUnknown(report, median, SummaryNumberWidth);
    MoveToColumn(report, Col4);
    WriteNumberField(report, minimum, SummaryNumberWidth);
    MoveToColumn(report, Col5);
    WriteNumberField(report, maximum, SummaryNumberWidth);
    report.NewLine();
}

void WriteParameterTitleRow(ResultsReport& report, const std::vector<std::string_view>& titles) {
    WriteParameterRow(report, ParameterLabel, titles, [&report](std::string_view title) {
        WriteTitleRight(report, title, ParameterValueWidth);
    });
}

void WriteParameterNumberRow(ResultsReport& report, std::string_view label,
                             const std::vector<Extended>& values) {
    WriteParameterRow(report, label, values,
                      [&report](Extended x) { WriteNumberField(report, x, ParameterValueWidth); });
}

void WriteParameterCountRow(ResultsReport& report, std::string_view label,
                            const std::vector<std::int32_t>& counts) {
    WriteParameterRow(report, label, counts, [&report](std::int32_t n) {
        WriteIntegerField(report, n, ParameterValueWidth);
    });
}

void WriteParameterValueOrUnknownRow(ResultsReport& report, std::string_view label,
                                     const std::vector<Extended>& values) {
    WriteParameterRow(report, label, values, [&report](Extended x) {
        WriteValueOrUnknown(report, x, ParameterValueWidth);
    });
}

void WriteParameterList(ResultsReport& report, std::span<const ColumnRecord> records) {
    // The first record is always shown; a later one only when it holds data.  The shown
    // records take the value columns in order, without a gap for a skipped one.
    std::vector<const ColumnRecord*> shown;
    for (std::size_t i = 0; i < records.size() && shown.size() < std::size(ParameterColumns);
         ++i) {
        if (i == 0 || records[i].n != 0) shown.push_back(&records[i]);
    }
    auto numbers = [&shown](Extended ColumnRecord::*field) {
        std::vector<Extended> values;
        for (const ColumnRecord* r : shown) values.push_back(r->*field);
        return values;
    };
    std::vector<std::string_view> titles;
    std::vector<std::int32_t> counts;
    for (const ColumnRecord* r : shown) {
        titles.emplace_back(r->title);
        counts.push_back(r->n);
    }
    WriteParameterTitleRow(report, titles);
    WriteParameterNumberRow(report, MeanLabel, numbers(&ColumnRecord::mean));
    WriteParameterCountRow(report, PointsLabel, counts);
    WriteParameterNumberRow(report, SdLabel, numbers(&ColumnRecord::sd));
    WriteParameterNumberRow(report, SemLabel, numbers(&ColumnRecord::sem));
    WriteParameterValueOrUnknownRow(report, MinimumLabel, numbers(&ColumnRecord::minimum));
    WriteParameterValueOrUnknownRow(report, MaximumLabel, numbers(&ColumnRecord::maximum));
    WriteParameterValueOrUnknownRow(report, MedianLabel, numbers(&ColumnRecord::median));
    WriteParameterNumberRow(report, Lower95Label, numbers(&ColumnRecord::lower95));
    WriteParameterNumberRow(report, Upper95Label, numbers(&ColumnRecord::upper95));
}

}  // namespace zelkon
