// Multiple linear regression of a Y column on one or more X columns, and the correlation
// matrix of chosen columns: the validation of the choices, the analysed rows, the normal
// equations solved and inverted in extended precision, and every quantity of the report
// (coefficients with standard errors and intervals, goodness of fit, t ratios, variance
// inflation factors, correlations).  The report writer and the entry routine build on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis_choices.h"
#include "core/data_table.h"
#include "core/error_messages.h"
#include "core/types.h"

namespace zelkon {

/// The messages that take the place of the analysis.
inline constexpr std::string_view ChooseDependentMessage =
    "You must choose a dependent (Y) variable.";
inline constexpr std::string_view ChooseIndependentMessage =
    "You must choose one or more independent (X) variables.";
inline constexpr std::string_view ChooseTwoVariablesMessage =
    "You must choose two or more variables to analyze.";
inline constexpr std::string_view TooFewRowsMessage =
    "Too few rows of data. Need at least two more rows than # of variables.";
inline constexpr std::string_view CannotFitMessage =
    "It is not possible to fit your data. Perhaps two X columns are identical?";

/// Why the analysis was refused (in the order the checks run).
enum class MultipleRegressionRefusal {
    None,
    NoData,           ///< NoDataMessage
    NoDependent,      ///< ChooseDependentMessage
    NoIndependent,    ///< ChooseIndependentMessage
    TooFewVariables,  ///< ChooseTwoVariablesMessage
    TooFewRows,       ///< TooFewRowsMessage
    Singular,         ///< CannotFitMessage
    ConstantColumn,   ///< ConstantColumnMessage (correlation matrix)
};

/// The refusal of a correlation matrix with a column that holds one value in every analysed
/// row, naming the column by its letter.
std::string ConstantColumnMessage(std::int32_t column);

/// The message of a refusal (empty for None; the constant column's message is
/// ConstantColumnMessage).
std::string_view RefusalMessage(MultipleRegressionRefusal refusal);

struct MultipleRegressionAnalysis {
    bool regressionMode = true;
    MultipleRegressionRefusal refusal = MultipleRegressionRefusal::None;
    /// 2 when Y has no spread in a regression (it would be divided by).
    std::int32_t errorCode = 0;
    /// The column of a ConstantColumn refusal.
    std::int32_t constantColumn = -1;

    std::int32_t yColumn = -1;           ///< regression mode only
    std::string yName;                   ///< letter, colon, title
    std::vector<std::int32_t> xColumns;  ///< the X variables in column order (k of them)
    std::vector<std::string> xNames;
    std::vector<std::int32_t> analysedRows;  ///< table rows, ascending
    std::int32_t n = 0;                      ///< analysed rows
    /// Rows holding a value of some variable used but not of every one.
    std::int32_t excludedRows = 0;
    std::int32_t k = 0;
    std::int32_t df = 0;  ///< n - k - 1

    // Regression: index 0 is the constant, index j the X variable j (1 to k).
    std::vector<Extended> coefficients;
    std::vector<Extended> standardErrors;
    std::vector<Extended> lower;
    std::vector<Extended> upper;
    std::vector<Extended> inverseDiagonal;  ///< of the inverted cross-product matrix
    /// |b / SE|; MissingValue where the standard error is 0 (the report says "infinite"
    /// and the P value is that of t = 1000).
    std::vector<Extended> tRatios;
    std::vector<Extended> tPValues;
    Extended tCritical = MissingValue;
    Extended ssResidual = MissingValue;
    Extended sdResidual = MissingValue;
    Extended meanY = MissingValue;
    Extended ssTotal = MissingValue;
    Extended rSquared = MissingValue;
    Extended adjustedRSquared = MissingValue;
    Extended multipleR = MissingValue;
    Extended f = MissingValue;  ///< missing for a perfect fit
    Extended p = MissingValue;
    bool perfect = false;  ///< R squared is exactly 1

    // Per X variable (index 0 to k - 1).
    std::vector<Extended> xMeans;
    std::vector<Extended> xSS;  ///< sums of squared deviations
    std::vector<Extended> vif;  ///< SS_j times the inverse's diagonal entry
    std::vector<Extended> r2WithOtherX;
    Extended largestVif = MissingValue;

    /// Correlations of the X variables (k x k) and of each with Y (regression mode).
    std::vector<std::vector<Extended>> correlations;
    std::vector<Extended> correlationsWithY;
};

/// Validates the choices against the table and runs the regression (or the correlation
/// matrix).  Cells are read through the analysis accessor.
MultipleRegressionAnalysis ComputeMultipleRegression(const DataTable& table,
                                                     const MultipleRegressionChoices& choices);

/// The result as JSON at full precision.
std::string MultipleRegressionJson(const MultipleRegressionAnalysis& result);

}  // namespace zelkon
