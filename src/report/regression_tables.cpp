// The tables of the linear regression.
#include "report/regression_tables.h"

#include "report/results_tables_common.h"

namespace zelkon {

namespace {

// Row table.
constexpr int RowColumn = 1;
constexpr int XColumn = 6;
constexpr int MeanYColumn = 16;
constexpr int RepsColumn = 26;
constexpr int PredictedColumn = 33;
constexpr int SdColumn = 44;
constexpr int ResidualColumn = 55;

// Parameter table.
constexpr int LabelColumn = 1;
constexpr int ValueColumn = 14;
constexpr int ErrorColumn = 24;
constexpr int FromColumn = 34;
constexpr int ToColumn = 44;
constexpr int ParameterWidth = 8;

void WriteLabel(ResultsReport& report, std::string_view label) {
    MoveToColumn(report, LabelColumn);
    report.ToggleEmphasis1();
    report.Write(label);
    report.ToggleEmphasis1();
}

void WriteParameterField(ResultsReport& report, int column, Extended x) {
    MoveToColumn(report, column);
    WriteNumberField(report, x, ParameterWidth);
}

void WriteFullParameterRow(ResultsReport& report, std::string_view label, Extended value,
                           Extended se, Extended lower, Extended upper) {
    WriteLabel(report, label);
    WriteParameterField(report, ValueColumn, value);
    WriteParameterField(report, ErrorColumn, se);
    WriteParameterField(report, FromColumn, lower);
    WriteParameterField(report, ToColumn, upper);
    report.NewLine();
}

}  // namespace

void WriteReplicatesHeading(ResultsReport& report) {
    BeginHeading(report);
    WriteHeadingLine(report, {{RepsColumn, "# of", 4},
                              {PredictedColumn, "Predicted", 9},
                              {SdColumn, "Standard", 9}});
    WriteHeadingLine(report, {{RowColumn, "Row", 3},
                              {XColumn, "X Value", 8},
                              {MeanYColumn, "Mean Y", 8},
                              {RepsColumn, "Reps.", 5},
                              {PredictedColumn, "Y", 9},
                              {SdColumn, "Deviation", 9},
                              {ResidualColumn, "Residual", 8}});
    EndHeading(report, {{RowColumn, 3},
                        {XColumn, 8},
                        {MeanYColumn, 8},
                        {RepsColumn, 5},
                        {PredictedColumn, 9},
                        {SdColumn, 9},
                        {ResidualColumn, 8}});
}

void WriteReplicatesRow(ResultsReport& report, std::int32_t row, Extended x, Extended meanY,
                        std::int32_t replicates, Extended predictedY, Extended sd,
                        Extended residual) {
    MoveToColumn(report, RowColumn);
    WriteIntegerField(report, row, 3);
    MoveToColumn(report, XColumn);
    WriteNumberField(report, x, 8);
    MoveToColumn(report, MeanYColumn);
    WriteNumberField(report, meanY, 8);
    MoveToColumn(report, RepsColumn);
    WriteIntegerField(report, replicates, 5);
    MoveToColumn(report, PredictedColumn);
    WriteNumberField(report, predictedY, 9);
    if (replicates > 1) {
        MoveToColumn(report, SdColumn);
        WriteNumberField(report, sd, 9);
        MoveToColumn(report, ResidualColumn);
        WriteNumberField(report, residual, 8);
    }
    report.NewLine();
}

void WriteRegressionParameterHeading(ResultsReport& report) {
    BeginHeading(report);
    WriteHeadingLine(report, {{ValueColumn, "Best-fit", ParameterWidth},
                              {ErrorColumn, "Standard", ParameterWidth},
                              {FromColumn, "95% confidence interval", 0}});
    WriteHeadingLine(report, {{LabelColumn, "Parameter", 11},
                              {ValueColumn, "Value", ParameterWidth},
                              {ErrorColumn, "Error", ParameterWidth},
                              {FromColumn, "from", ParameterWidth},
                              {ToColumn, "to", ParameterWidth}});
    EndHeading(report, {{LabelColumn, 11},
                        {ValueColumn, ParameterWidth},
                        {ErrorColumn, ParameterWidth},
                        {FromColumn, ParameterWidth},
                        {ToColumn, ParameterWidth}});
}

void WriteSlopeRow(ResultsReport& report, Extended value, Extended se, Extended lower,
                   Extended upper) {
    WriteFullParameterRow(report, "Slope", value, se, lower, upper);
}

void WriteYInterceptRow(ResultsReport& report, Extended value, Extended se, Extended lower,
                        Extended upper, bool forced) {
    if (!forced) {
        WriteFullParameterRow(report, "Y intercept", value, se, lower, upper);
        return;
    }
    WriteLabel(report, "Y intercept");
    WriteParameterField(report, ValueColumn, value);
    report.NewLine();
}

void WriteXInterceptRow(ResultsReport& report, Extended value) {
    WriteLabel(report, "X intercept");
    MoveToColumn(report, ValueColumn);
    if (IsMissingValue(value)) {
        report.Write(UndefinedText);
    } else {
        WriteNumberField(report, value, ParameterWidth);
    }
    report.NewLine();
}

}  // namespace zelkon
