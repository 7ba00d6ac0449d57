// Linear regression of Y on X: the fit, its analysis of variance, the runs test, the test
// for lack of fit, the table of replicates and the standard curve.
#include "analyses/regression/linear_regression.h"

#include <algorithm>
#include <cmath>

#include "analyses/regression/xy_points.h"
#include "core/fp_guard.h"
#include "core/json_writer.h"
#include "stats/pvalue.h"

namespace zelkon {

namespace {

/// The points of one row: indices [first, last) into the point list.
struct RowGroup {
    std::size_t first;
    std::size_t last;
    std::int32_t Count() const { return static_cast<std::int32_t>(last - first); }
};

std::vector<RowGroup> GroupByRow(const std::vector<XYPoint>& points) {
    std::vector<RowGroup> groups;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (groups.empty() || points[groups.back().first].row != points[i].row) {
            groups.push_back({i, i + 1});
        } else {
            groups.back().last = i + 1;
        }
    }
    return groups;
}

Extended RowMeanY(const std::vector<XYPoint>& points, const RowGroup& g) {
    Extended sum = 0.0L;
    for (std::size_t i = g.first; i < g.last; ++i) sum += points[i].y;
    return sum / static_cast<Extended>(g.Count());
}

/// Sum of squared deviations of the row's Y values about their mean.
Extended RowSS(const std::vector<XYPoint>& points, const RowGroup& g, Extended mean) {
    Extended ss = 0.0L;
    for (std::size_t i = g.first; i < g.last; ++i) {
        const Extended d = points[i].y - mean;
        ss += d * d;
    }
    return ss;
}

void FillReplicateRows(const std::vector<XYPoint>& points, const std::vector<RowGroup>& groups,
                       LinearRegressionResult& r) {
    for (const RowGroup& g : groups) {
        ReplicateRow row;
        row.row = points[g.first].row;
        row.x = points[g.first].x;
        row.replicates = g.Count();
        row.meanY = RowMeanY(points, g);
        if (row.replicates > 1) {
            row.sd =
                std::sqrt(RowSS(points, g, row.meanY) / static_cast<Extended>(row.replicates - 1));
        }
        row.predictedY = YFromX(r.slope, r.intercept, row.x);
        row.residual = row.meanY - row.predictedY;
        r.replicateRows.push_back(row);
    }
}

void RunsTest(const DataTable& table, LinearRegressionResult& r) {
    r.runs = RunsCount(table, r.slope, r.intercept);
    if (r.runs.above < 2 || r.runs.below < 2) {
        r.runsOutcome = RunsOutcome::TooFewOnASide;
    } else if (r.runs.above + r.runs.below < 6) {
        r.runsOutcome = RunsOutcome::TooFewInAll;
    } else {
        const Extended p = RunsP(r.runs.above, r.runs.below, r.runs.runs);
        if (p < 0.0L) {
            r.runsOutcome = RunsOutcome::TooManyPoints;
        } else {
            r.runsOutcome = RunsOutcome::Computed;
            r.runsP = p;
        }
    }
}

/// Splits the residual sum of squares into the scatter among replicates (the same for every
/// model) and the deviations of the row means from the line.  Returns false when there is
/// no scatter among replicates to test against.
bool LackOfFit(const std::vector<XYPoint>& points, const std::vector<RowGroup>& groups,
               LinearRegressionResult& r) {
    Extended pure = 0.0L;
    for (const RowGroup& g : groups) pure += RowSS(points, g, RowMeanY(points, g));
    r.lackOfFitComputed = true;
    r.ssPureError = pure;
    r.dfPureError = r.n - r.rows;
    r.ssLackOfFit = std::max(0.0L, r.ssResidual - pure);
    r.dfLackOfFit = r.rows - (r.options.forced ? 1 : 2);
    r.msLackOfFit = r.ssLackOfFit / static_cast<Extended>(r.dfLackOfFit);
    r.msPureError = r.ssPureError / static_cast<Extended>(r.dfPureError);
    if (r.msPureError == 0.0L) return false;
    r.fLackOfFit = r.msLackOfFit / r.msPureError;
    r.pLackOfFit = p_from_f(r.dfLackOfFit, r.dfPureError, r.fLackOfFit);
    return true;
}

bool Outside(Extended v, Extended lo, Extended hi) {
    return !IsMissingValue(v) && (v < lo || v > hi);
}

void StandardCurve(const DataTable& table, const std::vector<XYPoint>& points,
                   LinearRegressionResult& r) {
    for (const XYPoint& p : points) {
        if (IsMissingValue(r.curveMinX)) {
            r.curveMinX = r.curveMaxX = p.x;
            r.curveMinY = r.curveMaxY = p.y;
        }
        r.curveMinX = std::min(r.curveMinX, p.x);
        r.curveMaxX = std::max(r.curveMaxX, p.x);
        r.curveMinY = std::min(r.curveMinY, p.y);
        r.curveMaxY = std::max(r.curveMaxY, p.y);
    }
    // An unknown is a row whose X or whose every Y is empty; a value the user excluded is
    // left out, never taken for a value to interpolate.
    for (const XYRow& row : CollectXYRows(table)) {
        if (row.xExcluded) continue;
        if (IsMissingValue(row.x)) {
            for (Extended y : row.ys) {
                StandardCurveValue v{row.row, XFromY(r.slope, r.intercept, y), y, true, false};
                v.outside = Outside(v.x, r.curveMinX, r.curveMaxX);
                r.unknowns.push_back(v);
            }
        } else if (row.ys.empty() && !row.yExcluded) {
            StandardCurveValue v{row.row, row.x, YFromX(r.slope, r.intercept, row.x), false, false};
            v.outside = Outside(v.y, r.curveMinY, r.curveMaxY);
            r.unknowns.push_back(v);
        }
    }
    r.anyOutside = std::any_of(r.unknowns.begin(), r.unknowns.end(),
                               [](const StandardCurveValue& v) { return v.outside; });
}

}  // namespace

Extended XFromY(Extended slope, Extended intercept, Extended y) {
    if (slope == 0.0L) return MissingValue;
    return (y - intercept) / slope;
}

Extended YFromX(Extended slope, Extended intercept, Extended x) {
    return slope * x + intercept;
}

LinearRegressionResult ComputeLinearRegression(const DataTable& table,
                                               const LinearRegressionOptions& options) {
    LinearRegressionResult r;
    r.options = options;
    const std::vector<XYPoint> points = CollectXYPoints(table);
    const std::vector<RowGroup> groups = GroupByRow(points);
    r.n = static_cast<std::int32_t>(points.size());
    r.rows = static_cast<std::int32_t>(groups.size());
    for (const RowGroup& g : groups) r.maxReplicates = std::max(r.maxReplicates, g.Count());
    if (r.rows < 3) {
        r.errorCode = ErrorTooFewRegressionPoints;
        return r;
    }

    // Forced through a point, every X and Y is taken relative to it.
    const Extended dx = options.forced ? options.forceX : 0.0L;
    const Extended dy = options.forced ? options.forceY : 0.0L;
    const Extended n = r.n;
    Extended sumX = 0.0L;
    Extended sumY = 0.0L;
    for (const XYPoint& p : points) {
        sumX += p.x - dx;
        sumY += p.y - dy;
    }
    const Extended meanX = sumX / n;
    const Extended meanY = sumY / n;
    Extended sxx = 0.0L;
    Extended sxy = 0.0L;
    Extended syy = 0.0L;
    for (const XYPoint& p : points) {
        const Extended u = p.x - dx - meanX;
        const Extended v = p.y - dy - meanY;
        sxx += u * u;
        sxy += u * v;
        syy += v * v;
    }
    r.meanX = meanX + dx;
    r.meanY = meanY + dy;
    r.sxx = sxx;
    r.sxy = sxy;
    r.syy = syy;
    if (sxx == 0.0L) {
        r.errorCode = ErrorOnlyOneX;
        return r;
    }

    // The slope in shifted units, and the sums that scale its standard error.
    Extended slope;
    Extended shiftedIntercept;
    Extended slopeScale;
    if (options.forced) {
        Extended sumX2 = 0.0L;
        Extended sumXY = 0.0L;
        Extended sumY2 = 0.0L;
        for (const XYPoint& p : points) {
            const Extended u = p.x - dx;
            const Extended v = p.y - dy;
            sumX2 += u * u;
            sumXY += u * v;
            sumY2 += v * v;
        }
        slope = sumXY / sumX2;
        shiftedIntercept = 0.0L;
        slopeScale = sumX2;
        r.ssTotal = sumY2;
        r.dfResidual = r.n - 1;
        r.dfTotal = r.n;
    } else {
        slope = sxy / sxx;
        shiftedIntercept = meanY - slope * meanX;
        slopeScale = sxx;
        r.ssTotal = syy;
        r.dfResidual = r.n - 2;
        r.dfTotal = r.n - 1;
    }
    // The residual sum of squares is summed from the residuals, so rounding can never make
    // it negative; the regression sum of squares is the rest of the total.
    Extended ssResidual = 0.0L;
    for (const XYPoint& p : points) {
        const Extended e = (p.y - dy) - (slope * (p.x - dx) + shiftedIntercept);
        ssResidual += e * e;
    }
    r.ssResidual = ssResidual;
    r.ssRegression = r.ssTotal - ssResidual;
    r.msRegression = r.ssRegression;
    r.msResidual = ssResidual / static_cast<Extended>(r.dfResidual);
    r.slope = slope;
    r.slopeSE = std::sqrt(r.msResidual / slopeScale);
    if (slope == 0.0L && r.slopeSE == 0.0L) {
        r.errorCode = ErrorOnlyOneY;
        return r;
    }
    r.intercept = options.forced ? options.forceY - slope * options.forceX : shiftedIntercept;

    r.xIntercept = slope == 0.0L ? MissingValue : -r.intercept / slope;
    r.syx = std::sqrt(r.msResidual);
    r.rSquared = std::fabs(r.ssRegression / r.ssTotal);
    r.r = std::copysign(std::sqrt(r.rSquared), slope);
    r.perfect = r.rSquared == 1.0L;
    r.tCritical = t_crit95(r.dfResidual);
    r.slopeLower = slope - r.tCritical * r.slopeSE;
    r.slopeUpper = slope + r.tCritical * r.slopeSE;
    if (!options.forced) {
        r.interceptSE = std::sqrt(r.msResidual * (1.0L / n + meanX * meanX / sxx));
        r.interceptLower = r.intercept - r.tCritical * r.interceptSE;
        r.interceptUpper = r.intercept + r.tCritical * r.interceptSE;
    }
    if (r.msResidual > 0.0L) {
        if (options.forced) {
            r.t = slope / r.slopeSE;
            r.p = p_from_t(r.dfResidual, r.t);
        } else {
            r.f = r.msRegression / r.msResidual;
            r.p = p_from_f(1, r.dfResidual, r.f);
        }
    }

    FillReplicateRows(points, groups, r);
    if (options.linearityTest && !r.perfect) {
        RunsTest(table, r);
        if (r.maxReplicates >= 2 && !LackOfFit(points, groups, r)) {
            r.errorCode = ErrorDivideByZero;
            return r;
        }
    }
    if (options.standardCurve) StandardCurve(table, points, r);
    return r;
}

namespace {

const char* RunsOutcomeName(RunsOutcome o) {
    switch (o) {
        case RunsOutcome::NotRequested:
            return "not requested";
        case RunsOutcome::TooFewOnASide:
            return "fewer than two points on a side";
        case RunsOutcome::TooFewInAll:
            return "fewer than six points off the line";
        case RunsOutcome::TooManyPoints:
            return "more than 500 points on each side";
        case RunsOutcome::Computed:
            return "exact";
    }
    return "";
}

}  // namespace

std::string LinearRegressionJson(const LinearRegressionResult& r) {
    JsonWriter j;
    j.BeginObject();
    j.Field("analysis", "linear regression");
    j.Field("errorCode", r.errorCode);
    j.Field("forced", r.options.forced);
    j.Field("forceX", r.options.forced ? r.options.forceX : MissingValue);
    j.Field("forceY", r.options.forced ? r.options.forceY : MissingValue);
    j.Field("n", r.n).Field("rows", r.rows).Field("maxReplicates", r.maxReplicates);
    j.Field("meanX", r.meanX).Field("meanY", r.meanY);
    j.Field("sxx", r.sxx).Field("sxy", r.sxy).Field("syy", r.syy);
    j.Field("slope", r.slope).Field("slopeSE", r.slopeSE);
    j.Field("slopeLower", r.slopeLower).Field("slopeUpper", r.slopeUpper);
    j.Field("intercept", r.intercept).Field("interceptSE", r.interceptSE);
    j.Field("interceptLower", r.interceptLower).Field("interceptUpper", r.interceptUpper);
    j.Field("xIntercept", r.xIntercept).Field("tCritical", r.tCritical);
    j.Field("r", r.r).Field("rSquared", r.rSquared).Field("syx", r.syx);
    j.Field("perfect", r.perfect);
    j.Key("anova").BeginObject();
    j.Field("ssRegression", r.ssRegression).Field("ssResidual", r.ssResidual);
    j.Field("ssTotal", r.ssTotal);
    j.Field("dfRegression", std::int32_t{1}).Field("dfResidual", r.dfResidual);
    j.Field("dfTotal", r.dfTotal);
    j.Field("msRegression", r.msRegression).Field("msResidual", r.msResidual);
    j.EndObject();
    j.Field("t", r.t).Field("f", r.f).Field("p", r.p);
    j.Field("pFrom", r.options.forced ? "t distribution" : "F distribution");
    j.Key("runsTest").BeginObject();
    j.Field("outcome", RunsOutcomeName(r.runsOutcome));
    j.Field("above", r.runs.above).Field("below", r.runs.below).Field("runs", r.runs.runs);
    j.Field("p", r.runsP);
    j.EndObject();
    j.Key("lackOfFit").BeginObject();
    j.Field("computed", r.lackOfFitComputed);
    j.Field("ssLackOfFit", r.ssLackOfFit).Field("dfLackOfFit", r.dfLackOfFit);
    j.Field("msLackOfFit", r.msLackOfFit);
    j.Field("ssPureError", r.ssPureError).Field("dfPureError", r.dfPureError);
    j.Field("msPureError", r.msPureError);
    j.Field("f", r.fLackOfFit).Field("p", r.pLackOfFit);
    j.EndObject();
    j.Key("rowTable").BeginArray();
    for (const ReplicateRow& row : r.replicateRows) {
        j.BeginObject();
        j.Field("row", row.row + 1).Field("x", row.x).Field("meanY", row.meanY);
        j.Field("replicates", row.replicates).Field("sd", row.sd);
        j.Field("predictedY", row.predictedY).Field("residual", row.residual);
        j.EndObject();
    }
    j.EndArray();
    j.Key("standardCurve").BeginArray();
    for (const StandardCurveValue& v : r.unknowns) {
        j.BeginObject();
        j.Field("row", v.row + 1).Field("x", v.x).Field("y", v.y);
        j.Field("computed", v.xComputed ? "x" : "y").Field("outside", v.outside);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return j.Text();
}

}  // namespace zelkon
