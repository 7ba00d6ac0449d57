// Linear regression of Y on X with its standard errors and limits, the model analysis of
// variance, the runs test and the test for lack of fit, the row table of replicates and the
// unknowns read from the line as a standard curve.  The computation fills a plain result
// struct at full precision; the report writer and the entry routine build on it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/regression/runs_test.h"
#include "core/data_table.h"
#include "core/types.h"

namespace zelkon {

/// Error codes of the linear regression.
inline constexpr std::int32_t ErrorTooFewRegressionPoints = 36;
inline constexpr std::int32_t ErrorOnlyOneX = 37;
inline constexpr std::int32_t ErrorOnlyOneY = 38;

struct LinearRegressionOptions {
    bool forced = false;         ///< the line goes through (forceX, forceY)
    bool linearityTest = false;  ///< runs test, and with replicates the lack-of-fit test
    bool standardCurve = false;  ///< interpolate the unknowns
    Extended forceX = 0.0L;
    Extended forceY = 0.0L;
};

/// What the report says about the runs test.
enum class RunsOutcome {
    NotRequested,
    TooFewOnASide,  ///< fewer than two points above or below the line
    TooFewInAll,    ///< fewer than six points off the line
    TooManyPoints,  ///< more than 500 points on each side: not computed
    Computed,       ///< the exact P of so few runs
};

/// One row of the table of replicates (rows holding points), in original units.
struct ReplicateRow {
    std::int32_t row = 0;  ///< table row (0-based)
    Extended x = MissingValue;
    Extended meanY = MissingValue;
    std::int32_t replicates = 0;
    Extended sd = MissingValue;  ///< sample SD of the row's Y values; missing for one value
    Extended predictedY = MissingValue;
    Extended residual = MissingValue;  ///< mean Y minus predicted Y
};

/// One unknown read from the standard curve.
struct StandardCurveValue {
    std::int32_t row = 0;
    Extended x = MissingValue;
    Extended y = MissingValue;
    bool xComputed = false;  ///< X from the Y given (else Y from the X given)
    bool outside = false;    ///< the computed value lies outside the standard points' range
};

struct LinearRegressionResult {
    std::int32_t errorCode = 0;
    LinearRegressionOptions options;

    // Points: N, rows holding points, the largest number of points in a row.
    std::int32_t n = 0;
    std::int32_t rows = 0;
    std::int32_t maxReplicates = 0;
    Extended meanX = MissingValue;  ///< in original units
    Extended meanY = MissingValue;
    Extended sxx = MissingValue;  ///< sums of squared deviations about the means
    Extended sxy = MissingValue;
    Extended syy = MissingValue;

    // The line (in original units, also when forced through a point).
    Extended slope = MissingValue;
    Extended slopeSE = MissingValue;
    Extended slopeLower = MissingValue;
    Extended slopeUpper = MissingValue;
    Extended intercept = MissingValue;
    Extended interceptSE = MissingValue;  ///< missing for a forced line
    Extended interceptLower = MissingValue;
    Extended interceptUpper = MissingValue;
    Extended xIntercept = MissingValue;  ///< missing when the slope is 0
    Extended tCritical = MissingValue;   ///< t_crit95 of the residual df
    Extended r = MissingValue;
    Extended rSquared = MissingValue;
    Extended syx = MissingValue;  ///< standard deviation of the residuals
    bool perfect = false;         ///< r squared is exactly 1

    // Model analysis of variance.  A forced line has an uncentred total (sum of y squared
    // about the forced point) and residual df N - 1.
    Extended ssRegression = MissingValue;
    Extended ssResidual = MissingValue;
    Extended ssTotal = MissingValue;
    std::int32_t dfResidual = 0;
    std::int32_t dfTotal = 0;
    Extended msRegression = MissingValue;
    Extended msResidual = MissingValue;
    /// Is the slope different from zero: forced, t with N - 1 df; otherwise F(1, N - 2).
    /// Both missing for a perfect line.
    Extended t = MissingValue;
    Extended f = MissingValue;
    Extended p = MissingValue;

    // Runs test.
    RunsOutcome runsOutcome = RunsOutcome::NotRequested;
    RunsCounts runs;
    Extended runsP = MissingValue;  ///< exact, one-sided (so few runs)

    // Lack of fit (linearity test with replicates): deviations of the row means from the
    // line against the scatter among replicates.
    bool lackOfFitComputed = false;
    Extended ssLackOfFit = MissingValue;
    Extended ssPureError = MissingValue;
    std::int32_t dfLackOfFit = 0;
    std::int32_t dfPureError = 0;
    Extended msLackOfFit = MissingValue;
    Extended msPureError = MissingValue;
    Extended fLackOfFit = MissingValue;
    Extended pLackOfFit = MissingValue;

    std::vector<ReplicateRow> replicateRows;

    // Standard curve: the unknowns in row order and the range of the standard points.
    std::vector<StandardCurveValue> unknowns;
    bool anyOutside = false;
    Extended curveMinX = MissingValue;
    Extended curveMaxX = MissingValue;
    Extended curveMinY = MissingValue;
    Extended curveMaxY = MissingValue;
};

/// X on the line for a given Y: (y - intercept) / slope; missing when the slope is 0.
Extended XFromY(Extended slope, Extended intercept, Extended y);
/// Y on the line for a given X: slope * x + intercept.
Extended YFromX(Extended slope, Extended intercept, Extended x);

/// Fits the line to the points of the table (read through the analysis accessor).  On
/// failure `errorCode` is 36 (fewer than three rows with points), 37 (one X value), 38
/// (one Y value and no scatter) or 2 (the lack-of-fit test divides by a scatter among
/// replicates of zero).
LinearRegressionResult ComputeLinearRegression(const DataTable& table,
                                               const LinearRegressionOptions& options);

/// The result as JSON at full precision.
std::string LinearRegressionJson(const LinearRegressionResult& result);

}  // namespace zelkon
