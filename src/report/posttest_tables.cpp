// The comparison tables of the post tests.
#include "report/posttest_tables.h"

#include "report/results_tables_common.h"

namespace zelkon {

namespace {

// The comparison text starts the line without padding.
constexpr int ComparisonColumn = 0;
constexpr int ComparisonWidth = 34;
constexpr int TitleWidth = 15;
constexpr int DifferenceColumn = 36;
constexpr int DifferenceWidth = 10;

// Bonferroni, Tukey, Student-Newman-Keuls and Dunn.
constexpr int StatisticColumn = 47;
constexpr int StatisticWidth = 7;
constexpr int PColumn = 55;
constexpr int DunnPColumn = 47;

// Comparisons with a control.
constexpr int ControlStatisticColumn = 47;
constexpr int ControlStatisticWidth = 8;
constexpr int ControlPColumn = 56;
constexpr int ControlPWidth = 10;

void WritePair(ResultsReport& report, std::string_view first, std::string_view joint,
               std::string_view second) {
    WriteTitleRight(report, first, TitleWidth);
    report.Write(joint);
    WriteTitleLeft(report, second, TitleWidth);
}

void WriteDifference(ResultsReport& report, Extended difference) {
    MoveToColumn(report, DifferenceColumn);
    WriteNumberField(report, difference, DifferenceWidth);
}

void WriteCode(ResultsReport& report, int column, Extended p) {
    MoveToColumn(report, column);
    report.Write(RightAlignedText(SignificanceCode(p), SignificanceCodeWidth));
}

void WriteRow(ResultsReport& report, std::string_view first, std::string_view second,
              Extended difference, Extended statistic, Extended p, bool untestedDashes) {
    WritePair(report, first, " vs ", second);
    WriteDifference(report, difference);
    MoveToColumn(report, StatisticColumn);
    if (untestedDashes && IsMissingValue(statistic)) {
        report.Write(UntestedStatisticText);
    } else {
        WriteNumberField(report, statistic, StatisticWidth);
    }
    WriteCode(report, PColumn, p);
    report.NewLine();
}

}  // namespace

void WriteComparisonHeading(ResultsReport& report, std::string_view statisticName) {
    BeginHeading(report);
    WriteHeadingLine(report, {{DifferenceColumn, "Mean", DifferenceWidth}});
    WriteHeadingLine(report, {{ComparisonColumn, "Comparison", ComparisonWidth},
                              {DifferenceColumn, "Difference", DifferenceWidth},
                              {StatisticColumn, statisticName, 8},
                              {PColumn, "P value", SignificanceCodeWidth}});
    EndHeading(report, {{ComparisonColumn, ComparisonWidth},
                        {DifferenceColumn, DifferenceWidth},
                        {StatisticColumn, StatisticWidth},
                        {PColumn, SignificanceCodeWidth}});
}

void WriteComparisonRow(ResultsReport& report, std::string_view firstTitle,
                        std::string_view secondTitle, Extended difference, Extended statistic,
                        Extended p) {
    WriteRow(report, firstTitle, secondTitle, difference, statistic, p, false);
}

void WriteNewmanKeulsRow(ResultsReport& report, std::string_view firstTitle,
                         std::string_view secondTitle, Extended difference, Extended q,
                         Extended p) {
    WriteRow(report, firstTitle, secondTitle, difference, q, p, true);
}

void WriteComparisonIntervalHeading(ResultsReport& report) {
    report.NewLine();
    BeginHeading(report);
    WriteHeadingLine(report, {{DifferenceColumn, "Mean", DifferenceWidth},
                              {StatisticColumn, "95% Confidence Interval", 0}});
    WriteHeadingLine(report, {{ComparisonColumn, "Difference", ComparisonWidth},
                              {DifferenceColumn, "Difference", DifferenceWidth},
                              {StatisticColumn, "From", StatisticWidth},
                              {PColumn, "To", StatisticWidth}});
    EndHeading(report, {{ComparisonColumn, ComparisonWidth},
                        {DifferenceColumn, DifferenceWidth},
                        {StatisticColumn, StatisticWidth},
                        {PColumn, StatisticWidth}});
}

void WriteComparisonIntervalRow(ResultsReport& report, std::string_view firstTitle,
                                std::string_view secondTitle, Extended difference,
                                Extended lower, Extended upper) {
    WritePair(report, firstTitle, " - ", secondTitle);
    WriteDifference(report, difference);
    MoveToColumn(report, StatisticColumn);
    WriteNumberField(report, lower, StatisticWidth);
    MoveToColumn(report, PColumn);
    WriteNumberField(report, upper, StatisticWidth);
    report.NewLine();
}

void WriteDunnHeading(ResultsReport& report, DunnForm form) {
    const std::string_view name = form == DunnForm::Friedman ? "Rank Sum" : "Mean Rank";
    BeginHeading(report);
    WriteHeadingLine(report, {{DifferenceColumn, name, DifferenceWidth}});
    WriteHeadingLine(report, {{ComparisonColumn, "Comparison", ComparisonWidth},
                              {DifferenceColumn, "Difference", DifferenceWidth},
                              {DunnPColumn, "P value", SignificanceCodeWidth}});
    EndHeading(report, {{ComparisonColumn, ComparisonWidth},
                        {DifferenceColumn, DifferenceWidth},
                        {DunnPColumn, SignificanceCodeWidth}});
}

void WriteDunnRow(ResultsReport& report, std::string_view firstTitle,
                  std::string_view secondTitle, Extended difference, Extended p) {
    WritePair(report, firstTitle, " vs. ", secondTitle);
    WriteDifference(report, difference);
    WriteCode(report, DunnPColumn, p);
    report.NewLine();
}

void WriteControlHeading(ResultsReport& report, bool showStatistic) {
    BeginHeading(report);
    WriteHeadingLine(report, {{DifferenceColumn, "Mean", DifferenceWidth}});
    std::vector<HeadingWord> words = {{ComparisonColumn, "Comparison", ComparisonWidth},
                                      {DifferenceColumn, "Difference", DifferenceWidth}};
    std::vector<ColumnRun> underline = {{ComparisonColumn, ComparisonWidth},
                                        {DifferenceColumn, DifferenceWidth}};
    if (showStatistic) {
        words.push_back({ControlStatisticColumn, TukeyStatisticName, ControlStatisticWidth});
        underline.push_back({ControlStatisticColumn, ControlStatisticWidth});
    }
    words.push_back({ControlPColumn, "P value", ControlPWidth});
    underline.push_back({ControlPColumn, ControlPWidth});
    WriteHeadingLine(report, words);
    EndHeading(report, underline);
}

void WriteControlRow(ResultsReport& report, std::string_view controlTitle,
                     std::string_view columnTitle, Extended difference,
                     std::optional<Extended> q, Extended p) {
    WritePair(report, controlTitle, " vs ", columnTitle);
    WriteDifference(report, difference);
    if (q.has_value()) {
        MoveToColumn(report, ControlStatisticColumn);
        WriteNumberField(report, *q, ControlStatisticWidth);
    }
    MoveToColumn(report, ControlPColumn);
    report.Write(ControlSignificanceCode(p));
    report.NewLine();
}

void WriteControlIntervalHeading(ResultsReport& report) {
    // The empty line before the block matches the interval block of the other comparison
    // tables.
    report.NewLine();
    BeginHeading(report);
    WriteHeadingLine(report, {{DifferenceColumn, "Mean", DifferenceWidth},
                              {ControlStatisticColumn, "Lower", ControlStatisticWidth},
                              {ControlPColumn, "Upper", ControlStatisticWidth}});
    WriteHeadingLine(report, {{ComparisonColumn, "Difference", ComparisonWidth},
                              {DifferenceColumn, "Difference", DifferenceWidth},
                              {ControlStatisticColumn, "95% CI", ControlStatisticWidth},
                              {ControlPColumn, "95% CI", ControlStatisticWidth}});
    EndHeading(report, {{ComparisonColumn, ComparisonWidth},
                        {DifferenceColumn, DifferenceWidth},
                        {ControlStatisticColumn, ControlStatisticWidth},
                        {ControlPColumn, ControlStatisticWidth}});
}

void WriteControlIntervalRow(ResultsReport& report, std::string_view controlTitle,
                             std::string_view columnTitle, Extended difference,
                             Extended lower, Extended upper) {
    WritePair(report, controlTitle, " - ", columnTitle);
    WriteDifference(report, difference);
    MoveToColumn(report, ControlStatisticColumn);
    WriteNumberField(report, lower, ControlStatisticWidth);
    MoveToColumn(report, ControlPColumn);
    WriteNumberField(report, upper, ControlStatisticWidth);
    report.NewLine();
}

}  // namespace zelkon
