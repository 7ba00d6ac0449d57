// The rank tables of the Kruskal-Wallis and Friedman tests.
#include "report/rank_tables.h"

#include "report/results_tables_common.h"

namespace zelkon {

namespace {

constexpr int GroupColumn = 1;
constexpr int PointsColumn = 18;
constexpr int SumColumn = 27;
constexpr int MeanColumn = 36;
constexpr int TitleWidth = 15;
constexpr int FieldWidth = 7;

}  // namespace

void WriteKruskalWallisRankHeading(ResultsReport& report) {
    BeginHeading(report);
    WriteHeadingLine(report, {{PointsColumn, "Number", FieldWidth},
                              {SumColumn, "Sum", FieldWidth},
                              {MeanColumn, "Mean", FieldWidth}});
    WriteHeadingLine(report, {{PointsColumn, "of", FieldWidth},
                              {SumColumn, "of", FieldWidth},
                              {MeanColumn, "of", FieldWidth}});
    WriteHeadingLine(report, {{GroupColumn, "Group", TitleWidth},
                              {PointsColumn, "Points", FieldWidth},
                              {SumColumn, "Ranks", FieldWidth},
                              {MeanColumn, "Ranks", FieldWidth}});
    EndHeading(report, {{GroupColumn, TitleWidth},
                        {PointsColumn, FieldWidth},
                        {SumColumn, FieldWidth},
                        {MeanColumn, FieldWidth}});
}

void WriteKruskalWallisRankRow(ResultsReport& report, std::string_view title, std::int32_t n,
                               Extended rankSum, Extended meanRank) {
    MoveToColumn(report, GroupColumn);
    WriteTitleRight(report, title, TitleWidth);
    MoveToColumn(report, PointsColumn);
    WriteIntegerField(report, n, FieldWidth);
    MoveToColumn(report, SumColumn);
    WriteNumberField(report, rankSum, FieldWidth);
    MoveToColumn(report, MeanColumn);
    WriteNumberField(report, meanRank, FieldWidth);
    report.NewLine();
}

void WriteFriedmanRankHeading(ResultsReport& report) {
    BeginHeading(report);
    WriteHeadingLine(report, {{PointsColumn, "Sum", FieldWidth}});
    WriteHeadingLine(report, {{PointsColumn, "of", FieldWidth}});
    WriteHeadingLine(report,
                     {{GroupColumn, "Group", TitleWidth}, {PointsColumn, "Ranks", FieldWidth}});
    EndHeading(report, {{GroupColumn, TitleWidth}, {PointsColumn, FieldWidth}});
}

void WriteFriedmanRankRow(ResultsReport& report, std::string_view title, Extended rankSum) {
    MoveToColumn(report, GroupColumn);
    WriteTitleRight(report, title, TitleWidth);
    MoveToColumn(report, PointsColumn);
    WriteNumberField(report, rankSum, FieldWidth);
    report.NewLine();
}

}  // namespace zelkon
