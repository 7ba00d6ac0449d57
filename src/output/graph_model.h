// The graph of step 6 as plain data: what a renderer draws for a document (titles, axes with
// their ranges and labelled ticks, bar series with error values, stacked contingency bars,
// points, the regression line and its confidence band or forced-fit limit lines, legend items
// and margins), and the state of the switches under the graph.  Built afresh from the
// document each time; nothing of the graph is stored except the switches.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "output/axis_scale.h"

namespace zelkon {

/// A colour of the graph, as red, green and blue.
struct GraphColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const GraphColor&, const GraphColor&) = default;
};
inline constexpr GraphColor GraphRed{255, 0, 0};
inline constexpr GraphColor GraphBlue{0, 0, 255};
inline constexpr GraphColor GraphBlack{0, 0, 0};

/// The graph of each data format.
enum class GraphKind {
    ColumnBars,       ///< raw and averaged data: mean with an SD or SEM error bar per column
    TwoByTwoBars,     ///< two stacked bars of the two-by-two table's column or row totals
    ContingencyBars,  ///< a bar per column or row total of a larger contingency table
    XYRegression,     ///< the points, the regression line and its 95% band
    MultipleRegression  ///< one variable against another, or against the residuals
};

/// One bar, or one part of a stacked bar.  It runs from `base` to `base + value`, centred on
/// `position` (in slots of width 1).  `hasError` marks a symmetric error bar of `error`
/// (never negative) above and below its top.
struct GraphBar {
    double position = 0.0;
    double value = 0.0;
    double base = 0.0;
    bool hasError = false;
    double error = 0.0;
    std::string label;  ///< shown under the bar on the bottom axis; may be empty
};

/// A bar series.  Bars take `widthFraction` of their slot.  When several series have a bar at
/// the same position they stack in series order (the later on top; `base` already says
/// where each part starts).
struct GraphBarSeries {
    GraphColor color = GraphRed;
    double widthFraction = 0.5;
    std::vector<GraphBar> bars;
};

struct GraphPoint {
    double x = 0.0;
    double y = 0.0;
};

enum class GraphLineStyle { Solid, Dotted };

/// A polyline through its points, in order.
struct GraphLine {
    GraphColor color = GraphBlack;
    GraphLineStyle style = GraphLineStyle::Solid;
    std::vector<GraphPoint> points;
};

/// The sample drawn beside a legend text.
enum class LegendSample { Bar, SolidLine, DottedLine };

/// A legend item (the graph draws its own legend, at most two bars or two lines).
struct GraphLegendItem {
    LegendSample sample = LegendSample::Bar;
    GraphColor color = GraphRed;
    std::string text;
};

/// One axis.  A category axis (`categories`) labels the bar positions with the bars' labels;
/// a value axis labels its ticks in its value format.
struct GraphAxis {
    std::string title;
    std::string format;  ///< value format of the labels; empty on a category axis
    bool categories = false;
    AxisScale scale;
    std::vector<AxisTick> ticks;
};

/// Blank space left and right of the plot, in pixels of a 96-dots-per-inch screen (a
/// renderer scales them to its device).
struct GraphMargins {
    int left = 50;
    int right = 80;
    friend bool operator==(const GraphMargins&, const GraphMargins&) = default;
};
inline constexpr GraphMargins ManyBarsMargins{50, 80};
inline constexpr GraphMargins FewBarsMargins{150, 150};
/// Bars from this many on get the narrow margins.
inline constexpr int ManyBars = 5;

/// A list of the multiple-regression graph: the column letters offered ('*' for the
/// residuals), their texts and the entry shown (-1 when the list is empty).
struct GraphColumnList {
    std::vector<char> columns;
    std::vector<std::string> items;
    int selected = -1;
};

/// The controls under the graph: which are shown and what they show.
struct GraphSwitches {
    bool showErrorButtons = false;  ///< `GraphSDButton`, `GraphSEMButton`
    bool errorIsSD = true;          ///< the SD button is down
    bool showColumnsOrRows = false;  ///< `GraphColRadioButton`, `GraphRowsRadioButton`
    bool byRows = false;             ///< "Rows" is chosen
    bool showColumnLists = false;    ///< `MultRegGraphXComboBox`, `MultRegGraphYComboBox`
    GraphColumnList xList;
    GraphColumnList yList;
    bool showAnalyzedDataOnly = false;  ///< `GraphSelectedDataCheckBox`
    bool analyzedDataOnly = false;
};

/// Everything a renderer draws.  Coordinates are in data units: bar positions and the X of
/// points and lines on the bottom axis, values on the left axis.  The confidence lines may
/// overhang the left axis's range a little (see `ClippedOverhang`): a renderer clips the
/// series to the plot area.
struct GraphModel {
    GraphKind kind = GraphKind::ColumnBars;
    std::string title;     ///< first title line: the data title
    std::string subtitle;  ///< second title line: what is plotted
    GraphAxis bottomAxis;
    GraphAxis leftAxis;
    std::vector<GraphBarSeries> barSeries;
    std::vector<GraphPoint> points;
    GraphColor pointColor = GraphBlue;
    std::optional<GraphLine> regressionLine;
    /// The dotted 95% confidence band, or the two limit lines of a forced fit: lower first.
    std::vector<GraphLine> confidenceLines;
    std::vector<GraphLegendItem> legend;
    GraphMargins margins = ManyBarsMargins;
    GraphSwitches switches;
    /// A line under the graph, empty when there is nothing to say: how many values the point
    /// cap left out ("Plotted 5000 of 25000 values.").
    std::string note;
};

/// How many ticks the axes may have at most, and the label separators.
struct GraphOptions {
    int maxBottomTicks = 10;
    int maxLeftTicks = 8;
    AxisSeparators separators;
};

// Texts of the graph page.
inline constexpr std::string_view ColumnAxisTitle = "Column";
inline constexpr std::string_view ColumnsAxisTitle = "Columns";
inline constexpr std::string_view RowsAxisTitle = "Rows";
inline constexpr std::string_view MeanSDSubtitle = "Mean and Standard Deviation";
inline constexpr std::string_view MeanSEMSubtitle = "Mean and Standard Error";
inline constexpr std::string_view ColumnTotalsSubtitle = "Column Totals";
inline constexpr std::string_view RowTotalsSubtitle = "Row Totals";
inline constexpr std::string_view RegressionLegend = "Linear Regression";
inline constexpr std::string_view ConfidenceLegend = "95% Confidence Interval";
inline constexpr std::string_view ResidualsItem = "Residuals";
inline constexpr std::string_view SDButtonCaption = "SD";
inline constexpr std::string_view SEMButtonCaption = "SEM";
inline constexpr std::string_view ColumnsButtonCaption = "Columns";
inline constexpr std::string_view RowsButtonCaption = "Rows";
inline constexpr std::string_view AnalyzedDataOnlyCaption = "Analyzed data only";
/// Joins the Y and X axis titles in the second title line of the point graphs.
inline constexpr std::string_view VersusText = " vs. ";
/// Shown when the user double-clicks the graph.
inline constexpr std::string_view GraphCustomizeMessage =
    "It is not possible to customize Zelkon's graphs. To draw a graph of your own, export "
    "the data or copy them to the clipboard, and open them in a graphing program.";

/// How far, as a fraction of the points' value range, the confidence lines may reach beyond
/// the points and the line before the left axis is widened for them.
inline constexpr double ClippedOverhang = 0.03;

/// The points an X-and-Y graph draws at most (counting excluded Y values).
inline constexpr int MaxGraphYValues = 5000;
/// The note under a graph whose point cap left values out: "Plotted " + plotted + " of " +
/// the values that would be drawn without the cap + " values.".
std::string PointCapNote(int plotted, int values);
/// The confidence band is computed at this many evenly spaced X values.
inline constexpr int ConfidenceBandSteps = 101;

/// The graph of the document's data format, from its data and from the results the last run
/// left behind (the regression line, the multiple regression fit).  Does not run anything.
GraphModel BuildGraphModel(const Document& document, const GraphOptions& options = {});

/// Showing step 6, and after each switch: runs the analysis when the document needs
/// recalculation (so that the regression results are those of the data), then builds the
/// graph.
GraphModel DrawGraph(Document& document, const GraphOptions& options = {});

/// Recomputes the axes' ranges and labelled ticks from the series of a model (for a renderer
/// that wants another number of ticks for its size).
void ScaleGraphAxes(GraphModel& model, const GraphOptions& options);

/// The text of a column in the multiple-regression graph's lists: its letter, ": " and its
/// title ('A: Weight'), or "Column " and its letter when untitled ('Column B').
std::string GraphColumnItem(const DataTable& table, int column);

// The switches under the graph.  Each stores its choice in the document; a choice saved with
// the data marks the document changed.  Redraw with DrawGraph afterwards.

/// The "SD" (true) and "SEM" (false) buttons: the document's SD-or-SEM flag.
void ChooseGraphError(Document& document, bool sd);
/// "Columns" (false) or "Rows" (true) of the contingency graphs.
void ChooseGraphRows(Document& document, bool rows);
/// "Analyzed data only".
void ChooseAnalyzedDataOnly(Document& document, bool on);
/// The X list of the multiple-regression graph: a column letter.
void ChooseGraphXColumn(Document& document, char column);
/// The Y list: a column letter, or '*' for the residuals.
void ChooseGraphYColumn(Document& document, char column);

}  // namespace zelkon
