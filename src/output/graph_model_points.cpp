// The point graphs: X and Y data with the regression line and its 95% confidence band (or
// the limit lines of a fit forced through a point), and the multiple-regression graph of one
// variable against another or against the residuals of the last fit.
#include "output/graph_model_points.h"

#include <algorithm>
#include <cmath>

#include "stats/pvalue.h"

namespace zelkon {

namespace {

double ToDouble(Extended v) { return static_cast<double>(v); }

std::string TitleOr(const DataTable& table, int column, std::string_view fallback) {
    const std::string& title = table.Record(column).title;
    if (title.find_first_not_of(' ') == std::string::npos) return std::string(fallback);
    return title;
}

std::string Versus(const std::string& y, const std::string& x) {
    return y + std::string(VersusText) + x;
}

/// The smallest and largest X of the points the regression used.
struct XRange {
    bool any = false;
    Extended low = 0;
    Extended high = 0;
    void Include(Extended x) {
        low = any ? std::min(low, x) : x;
        high = any ? std::max(high, x) : x;
        any = true;
    }
};

GraphLine StraightLine(GraphLineStyle style, Extended x1, Extended y1, Extended x2, Extended y2) {
    GraphLine line;
    line.style = style;
    line.points = {{ToDouble(x1), ToDouble(y1)}, {ToDouble(x2), ToDouble(y2)}};
    return line;
}

// The 95% band around an unforced line: at 101 evenly spaced X from the smallest to the
// largest, the line -/+ t * s * sqrt(1/n + (X - mean X)^2 / Sxx).
void AddConfidenceBand(const RegressionLineResult& fit, const XRange& range, GraphModel& model) {
    if (fit.n <= 2 || IsMissingValue(fit.residualSD) || IsMissingValue(fit.meanX) ||
        IsMissingValue(fit.sxx) || !(fit.sxx > 0)) {
        return;
    }
    const Extended t = t_crit95(fit.n - 2);
    GraphLine lower;
    GraphLine upper;
    lower.style = upper.style = GraphLineStyle::Dotted;
    const int last = ConfidenceBandSteps - 1;
    for (int i = 0; i <= last; ++i) {
        const Extended x =
            i == last ? range.high : range.low + (range.high - range.low) * i / last;
        const Extended y = fit.slope * x + fit.intercept;
        const Extended d = x - fit.meanX;
        const Extended half = t * fit.residualSD * std::sqrt(1.0L / fit.n + d * d / fit.sxx);
        lower.points.push_back({ToDouble(x), ToDouble(y - half)});
        upper.points.push_back({ToDouble(x), ToDouble(y + half)});
    }
    model.confidenceLines = {std::move(lower), std::move(upper)};
}

// A line forced through (force X, force Y): the two lines through that point with the
// lower and upper 95% limits of the slope.
void AddForcedLimitLines(const RegressionLineResult& fit, const XRange& range,
                         GraphModel& model) {
    if (IsMissingValue(fit.slopeLower) || IsMissingValue(fit.slopeUpper) ||
        IsMissingValue(fit.forceX) || IsMissingValue(fit.forceY)) {
        return;
    }
    auto line = [&](Extended slope) {
        return StraightLine(GraphLineStyle::Dotted, range.low,
                            slope * (range.low - fit.forceX) + fit.forceY, range.high,
                            slope * (range.high - fit.forceX) + fit.forceY);
    };
    model.confidenceLines = {line(fit.slopeLower), line(fit.slopeUpper)};
}

}  // namespace

void BuildXYGraph(const Document& document, GraphModel& model) {
    const DataTable& table = document.Table();
    model.kind = GraphKind::XYRegression;
    model.bottomAxis.title = TitleOr(table, 0, "X");
    model.leftAxis.title = TitleOr(table, 1, "Y");
    model.subtitle = Versus(model.leftAxis.title, model.bottomAxis.title);

    // The points: every Y replicate of a row with an X, excluded values left out, no more
    // after 5000 Y values.  The line spans every point, also those beyond that count.
    // The graph says under it how many values the cap left out.
    XRange range;
    int yValues = 0;
    int drawable = 0;
    for (int r = 0; r < DataRows; ++r) {
        if (!GraphValuePresent(table, r, 0)) continue;
        const Extended x = table.Value(r, 0);
        for (int c = 1; c < DataColumns; ++c) {
            if (table.IsMissing(r, c)) continue;
            const bool excluded = table.IsExcluded(r, c);
            if (!excluded) {
                range.Include(x);
                ++drawable;
            }
            if (yValues < MaxGraphYValues && !excluded) {
                model.points.push_back({ToDouble(x), ToDouble(table.Value(r, c))});
            }
            ++yValues;
        }
    }
    const int plotted = static_cast<int>(model.points.size());
    if (plotted < drawable) model.note = PointCapNote(plotted, drawable);

    const RegressionLineResult& fit = document.RegressionLine();
    if (!fit.valid || IsMissingValue(fit.slope) || IsMissingValue(fit.intercept) || !range.any) {
        return;
    }
    model.regressionLine =
        StraightLine(GraphLineStyle::Solid, range.low, fit.slope * range.low + fit.intercept,
                     range.high, fit.slope * range.high + fit.intercept);
    model.legend.push_back({LegendSample::SolidLine, GraphBlack, std::string(RegressionLegend)});
    if (fit.rSquared == 1) return;  // a perfect line has no band
    if (fit.forced) {
        AddForcedLimitLines(fit, range, model);
    } else {
        AddConfidenceBand(fit, range, model);
    }
    if (!model.confidenceLines.empty()) {
        model.legend.push_back(
            {LegendSample::DottedLine, GraphBlack, std::string(ConfidenceLegend)});
    }
}

namespace {

// The columns taking part in the multiple regression or correlation matrix: the dependent
// column (regression) and the marked columns, each holding data; every column with data
// when the choices name none.
std::vector<int> ColumnsTakingPart(const Document& document) {
    const DataTable& table = document.Table();
    const MultipleRegressionChoices& choices = document.Choices().multipleRegression;
    const bool regression = choices.kind == MultipleRegressionKind::MultipleRegression;
    std::vector<int> columns;
    std::vector<int> withData;
    for (int c = 0; c < DataColumns; ++c) {
        if (!table.ColumnHasValue(c)) continue;
        withData.push_back(c);
        if (choices.include[static_cast<std::size_t>(c)] != 0 ||
            (regression && c == choices.dependentColumn)) {
            columns.push_back(c);
        }
    }
    return columns.empty() ? withData : columns;
}

int IndexOf(const std::vector<char>& columns, char column) {
    const auto it = std::find(columns.begin(), columns.end(), column);
    return it == columns.end() ? -1 : static_cast<int>(it - columns.begin());
}

// The residual of a row under the last fit: the dependent value minus the intercept and the
// coefficient times the value of every X of the fit.  False when a value is missing.
bool Residual(const DataTable& table, const MultipleRegressionResult& fit, int row,
              Extended& residual) {
    if (!GraphValuePresent(table, row, fit.yColumn)) return false;
    Extended fitted = fit.coefficients[0];
    for (int c = 0; c < DataColumns; ++c) {
        if (fit.inModel[static_cast<std::size_t>(c)] == 0) continue;
        if (!GraphValuePresent(table, row, c)) return false;
        fitted += fit.coefficients[static_cast<std::size_t>(c) + 1] * table.Value(row, c);
    }
    residual = table.Value(row, fit.yColumn) - fitted;
    return true;
}

}  // namespace

void BuildMultipleRegressionGraph(const Document& document, GraphModel& model) {
    const DataTable& table = document.Table();
    const GraphChoices& choices = document.Graph();
    const MultipleRegressionResult& fit = document.MultipleRegression();
    model.kind = GraphKind::MultipleRegression;
    GraphSwitches& switches = model.switches;
    switches.showColumnLists = true;
    switches.showAnalyzedDataOnly = true;
    switches.analyzedDataOnly = choices.analyzedDataOnly;

    for (const int c : ColumnsTakingPart(document)) {
        switches.xList.columns.push_back(ColumnLetter(c));
        switches.xList.items.push_back(GraphColumnItem(table, c));
    }
    switches.yList = switches.xList;
    switches.yList.columns.push_back('*');
    switches.yList.items.emplace_back(ResidualsItem);
    if (switches.xList.columns.empty()) return;

    // The entries shown: the stored columns, or when a list does not offer its column, the
    // first entry (in the Y list the first column other than X).
    switches.xList.selected = std::max(IndexOf(switches.xList.columns, choices.xColumn), 0);
    const char xLetter = switches.xList.columns[static_cast<std::size_t>(switches.xList.selected)];
    int y = IndexOf(switches.yList.columns, choices.yColumn);
    if (y < 0) {
        y = 0;
        while (y + 1 < static_cast<int>(switches.xList.columns.size()) &&
               switches.yList.columns[static_cast<std::size_t>(y)] == xLetter) {
            ++y;
        }
    }
    switches.yList.selected = y;
    const char yLetter = switches.yList.columns[static_cast<std::size_t>(y)];
    const bool residuals = yLetter == '*';

    model.bottomAxis.title = switches.xList.items[static_cast<std::size_t>(switches.xList.selected)];
    model.leftAxis.title = switches.yList.items[static_cast<std::size_t>(y)];
    model.subtitle = Versus(model.leftAxis.title, model.bottomAxis.title);

    if (residuals && (!fit.valid || fit.yColumn < 0 || fit.yColumn >= DataColumns)) return;
    const int xColumn = xLetter - 'A';
    const int yColumn = residuals ? -1 : yLetter - 'A';
    for (int r = 0; r < DataRows; ++r) {
        if (choices.analyzedDataOnly && fit.analysedRows[static_cast<std::size_t>(r)] == 0) continue;
        if (!GraphValuePresent(table, r, xColumn)) continue;
        Extended yValue = 0;
        if (residuals) {
            if (!Residual(table, fit, r, yValue)) continue;
        } else {
            if (!GraphValuePresent(table, r, yColumn)) continue;
            yValue = table.Value(r, yColumn);
        }
        model.points.push_back({ToDouble(table.Value(r, xColumn)), ToDouble(yValue)});
    }
}

}  // namespace zelkon
