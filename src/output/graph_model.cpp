// The graph model: the bar graphs of column data and contingency tables, the axes and the
// switches under the graph.
#include "output/graph_model.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "document/analysis_run.h"
#include "output/graph_model_points.h"

namespace zelkon {

namespace {

double ToDouble(Extended v) { return static_cast<double>(v); }

GraphMargins MarginsForBars(std::size_t bars) {
    return bars >= static_cast<std::size_t>(ManyBars) ? ManyBarsMargins : FewBarsMargins;
}

// Raw and averaged data: a red bar per selected column with data, its mean with the SD or
// SEM made positive.
void BuildColumnGraph(const Document& document, GraphModel& model) {
    const DataTable& table = document.Table();
    const bool sd = document.Data().ErrorIsSD();
    model.kind = GraphKind::ColumnBars;
    model.switches.showErrorButtons = true;
    model.switches.errorIsSD = sd;
    model.bottomAxis.title = ColumnAxisTitle;
    model.subtitle = sd ? MeanSDSubtitle : MeanSEMSubtitle;
    GraphBarSeries series;
    for (int c = 0; c < DataColumns; ++c) {
        const ColumnRecord& record = table.Record(c);
        if (!table.Selected(c) || record.n <= 0 || IsMissingValue(record.mean)) continue;
        GraphBar bar;
        bar.position = c;
        bar.value = ToDouble(record.mean);
        const Extended error = sd ? record.sd : record.sem;
        if (!IsMissingValue(error)) {
            bar.hasError = true;
            bar.error = std::fabs(ToDouble(error));
        }
        bar.label = std::string(1, ColumnLetter(c));
        series.bars.push_back(std::move(bar));
    }
    model.margins = MarginsForBars(series.bars.size());
    model.barSeries.push_back(std::move(series));
}

double CountOrZero(Extended v) { return IsMissingValue(v) ? 0.0 : ToDouble(v); }

GraphBar CountBar(int position, Extended count, std::string label) {
    GraphBar bar;
    bar.position = position;
    bar.value = CountOrZero(count);
    bar.label = std::move(label);
    return bar;
}

// Two rows, two columns: two stacked bars, red the second row (or first column) and blue the
// first row (or second column) on top.
void BuildTwoByTwoGraph(const Document& document, GraphModel& model) {
    const TwoByTwoRecord& r = document.Data().TwoByTwo();
    const bool rows = document.Graph().byRows;
    model.kind = GraphKind::TwoByTwoBars;
    model.switches.showColumnsOrRows = true;
    model.switches.byRows = rows;
    model.leftAxis.format = CountAxisFormat;
    model.margins = FewBarsMargins;
    model.bottomAxis.title = rows ? RowsAxisTitle : ColumnsAxisTitle;
    model.subtitle = rows ? RowTotalsSubtitle : ColumnTotalsSubtitle;
    if (r.AllCellsMissing()) return;
    GraphBarSeries red{GraphRed, 0.5, {}};
    GraphBarSeries blue{GraphBlue, 0.5, {}};
    if (!rows) {
        red.bars = {CountBar(0, r.c, r.Column1Label()), CountBar(1, r.d, r.Column2Label())};
        blue.bars = {CountBar(0, r.a, ""), CountBar(1, r.b, "")};
        model.legend = {{LegendSample::Bar, GraphRed, r.Row2Label()},
                        {LegendSample::Bar, GraphBlue, r.Row1Label()}};
    } else {
        red.bars = {CountBar(0, r.a, r.Row1Label()), CountBar(1, r.c, r.Row2Label())};
        blue.bars = {CountBar(0, r.b, ""), CountBar(1, r.d, "")};
        model.legend = {{LegendSample::Bar, GraphRed, r.Column1Label()},
                        {LegendSample::Bar, GraphBlue, r.Column2Label()}};
    }
    for (std::size_t i = 0; i < blue.bars.size(); ++i) blue.bars[i].base = red.bars[i].value;
    model.barSeries.push_back(std::move(red));
    model.barSeries.push_back(std::move(blue));
}

// Larger contingency table: a red bar per column (or row) whose total is above 0.
void BuildContingencyGraph(const Document& document, GraphModel& model) {
    const DataTable& table = document.Table();
    const bool rows = document.Graph().byRows;
    model.kind = GraphKind::ContingencyBars;
    model.switches.showColumnsOrRows = true;
    model.switches.byRows = rows;
    model.bottomAxis.title = rows ? RowsAxisTitle : ColumnsAxisTitle;
    model.subtitle = rows ? RowTotalsSubtitle : ColumnTotalsSubtitle;
    GraphBarSeries series;
    const int count = rows ? DataRows : DataColumns;
    for (int i = 0; i < count; ++i) {
        Extended total = 0;
        const int across = rows ? DataColumns : DataRows;
        for (int j = 0; j < across; ++j) {
            const int row = rows ? i : j;
            const int column = rows ? j : i;
            if (GraphValuePresent(table, row, column)) total += table.Value(row, column);
        }
        if (!(total > 0)) continue;
        GraphBar bar;
        bar.position = i;
        bar.value = ToDouble(total);
        bar.label = rows ? std::to_string(i + 1) : std::string(1, ColumnLetter(i));
        series.bars.push_back(std::move(bar));
    }
    model.margins = MarginsForBars(series.bars.size());
    model.barSeries.push_back(std::move(series));
}

bool FormatHasDecimals(std::string_view format) {
    return format.find('.') != std::string_view::npos;
}

void ScaleValueAxis(GraphAxis& axis, double lo, double hi, int maxTicks,
                    const AxisSeparators& separators) {
    axis.scale = NiceAxis(lo, hi, maxTicks, !FormatHasDecimals(axis.format));
    axis.ticks = LabelTicks(axis.scale, axis.format, separators);
}

void ScaleBarAxes(GraphModel& model, const GraphOptions& options) {
    // The bottom axis: a slot of width 1 around each bar position, labelled with the first
    // label given for the position.
    std::map<double, std::string> labels;
    double lo = 0.0;
    double hi = 0.0;
    for (const GraphBarSeries& series : model.barSeries) {
        for (const GraphBar& bar : series.bars) {
            auto [it, added] = labels.emplace(bar.position, bar.label);
            if (!added && it->second.empty()) it->second = bar.label;
            const double top = bar.base + bar.value;
            const double error = bar.hasError ? bar.error : 0.0;
            lo = std::min({lo, bar.base, top - error});
            hi = std::max({hi, bar.base, top + error});
        }
    }
    GraphAxis& bottom = model.bottomAxis;
    bottom.categories = true;
    bottom.format.clear();
    bottom.scale = AxisScale{};
    bottom.ticks.clear();
    if (!labels.empty()) {
        bottom.scale.minimum = labels.begin()->first - 0.5;
        bottom.scale.maximum = labels.rbegin()->first + 0.5;
        bottom.scale.step = 1.0;
        bottom.scale.decimals = 0;
        for (const auto& [position, label] : labels) {
            bottom.scale.ticks.push_back(position);
            bottom.ticks.push_back({position, label});
        }
    }
    ScaleValueAxis(model.leftAxis, lo, hi, options.maxLeftTicks, options.separators);
}

/// The extent of a set of points.
struct Extent {
    bool any = false;
    double xLo = 0.0, xHi = 0.0, yLo = 0.0, yHi = 0.0;
    void Include(const GraphPoint& p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
        xLo = any ? std::min(xLo, p.x) : p.x;
        xHi = any ? std::max(xHi, p.x) : p.x;
        yLo = any ? std::min(yLo, p.y) : p.y;
        yHi = any ? std::max(yHi, p.y) : p.y;
        any = true;
    }
};

// The point graphs' axes cover the points and the regression line, and the confidence lines
// where they reach further than a small overhang (which the renderer clips), so that a band
// just below a first point at zero does not add a whole step below zero.
void ScalePointAxes(GraphModel& model, const GraphOptions& options) {
    Extent data;
    for (const GraphPoint& p : model.points) data.Include(p);
    if (model.regressionLine) {
        for (const GraphPoint& p : model.regressionLine->points) data.Include(p);
    }
    Extent band;
    for (const GraphLine& line : model.confidenceLines) {
        for (const GraphPoint& p : line.points) band.Include(p);
    }
    if (!data.any) {
        data = band;
    } else if (band.any) {
        const double slack = (data.yHi - data.yLo) * ClippedOverhang;
        if (band.yLo < data.yLo - slack) data.yLo = band.yLo;
        if (band.yHi > data.yHi + slack) data.yHi = band.yHi;
        data.xLo = std::min(data.xLo, band.xLo);
        data.xHi = std::max(data.xHi, band.xHi);
    }
    if (!data.any) data.xHi = data.yHi = 1.0;
    model.bottomAxis.categories = false;
    ScaleValueAxis(model.bottomAxis, data.xLo, data.xHi, options.maxBottomTicks,
                   options.separators);
    ScaleValueAxis(model.leftAxis, data.yLo, data.yHi, options.maxLeftTicks, options.separators);
}

}  // namespace

bool GraphValuePresent(const DataTable& table, int row, int column) {
    return !table.IsMissing(row, column) && !table.IsExcluded(row, column);
}

std::string PointCapNote(int plotted, int values) {
    return "Plotted " + std::to_string(plotted) + " of " + std::to_string(values) + " values.";
}

std::string GraphColumnItem(const DataTable& table, int column) {
    const std::string letter(1, ColumnLetter(column));
    const std::string& title = table.Record(column).title;
    if (title.find_first_not_of(' ') == std::string::npos) return "Column " + letter;
    return letter + ": " + title;
}

void ScaleGraphAxes(GraphModel& model, const GraphOptions& options) {
    switch (model.kind) {
        case GraphKind::ColumnBars:
        case GraphKind::TwoByTwoBars:
        case GraphKind::ContingencyBars:
            ScaleBarAxes(model, options);
            break;
        case GraphKind::XYRegression:
        case GraphKind::MultipleRegression:
            ScalePointAxes(model, options);
            break;
    }
}

GraphModel BuildGraphModel(const Document& document, const GraphOptions& options) {
    GraphModel model;
    model.title = document.Table().DataTitle();
    model.leftAxis.format = DefaultAxisFormat;
    model.bottomAxis.format = DefaultAxisFormat;
    switch (document.Format()) {
        case DataFormat::Raw:
        case DataFormat::MeanSDN:
        case DataFormat::MeanSEMN:
            BuildColumnGraph(document, model);
            break;
        case DataFormat::TwoByTwo:
            BuildTwoByTwoGraph(document, model);
            break;
        case DataFormat::LargerTable:
            BuildContingencyGraph(document, model);
            break;
        case DataFormat::XY:
            BuildXYGraph(document, model);
            break;
        case DataFormat::MultipleRegression:
            BuildMultipleRegressionGraph(document, model);
            break;
    }
    ScaleGraphAxes(model, options);
    return model;
}

GraphModel DrawGraph(Document& document, const GraphOptions& options) {
    ShowResults(document);
    return BuildGraphModel(document, options);
}

void ChooseGraphError(Document& document, bool sd) {
    if (document.Data().ErrorIsSD() == sd) return;
    document.Data().SetErrorIsSD(sd);
    document.SetModified(true);
}

void ChooseGraphRows(Document& document, bool rows) { document.Graph().byRows = rows; }

void ChooseAnalyzedDataOnly(Document& document, bool on) {
    if (document.Graph().analyzedDataOnly == on) return;
    document.Graph().analyzedDataOnly = on;
    document.SetModified(true);
}

void ChooseGraphXColumn(Document& document, char column) {
    if (document.Graph().xColumn == column) return;
    document.Graph().xColumn = column;
    document.SetModified(true);
}

void ChooseGraphYColumn(Document& document, char column) {
    if (document.Graph().yColumn == column) return;
    document.Graph().yColumn = column;
    document.SetModified(true);
}

}  // namespace zelkon
