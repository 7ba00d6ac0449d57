// Multiple linear regression and the correlation matrix.
#include "analyses/regression/multiple_regression.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "analyses/regression/linear_solver.h"
#include "core/fp_guard.h"
#include "core/json_writer.h"
#include "stats/pvalue.h"

namespace zelkon {

namespace {

// The t ratio that stands for an infinite one when its P value is computed.
constexpr Extended InfiniteT = 1000.0L;

bool ColumnHoldsData(const DataTable& table, int c) {
    for (int r = 0; r <= table.LastRow(); ++r) {
        if (!IsMissingValue(table.AnalysisValue(r, c))) return true;
    }
    return false;
}

std::string VariableName(const DataTable& table, int c) {
    return std::string(1, ColumnLetter(c)) + ":" + table.Record(c).title;
}

/// Mean and sum of squared deviations of one variable over the analysed rows.
void MeanAndSS(const std::vector<Extended>& v, Extended& mean, Extended& ss) {
    Extended sum = 0.0L;
    for (Extended x : v) sum += x;
    mean = sum / static_cast<Extended>(v.size());
    ss = 0.0L;
    for (Extended x : v) ss += (x - mean) * (x - mean);
}

Extended Correlation(const std::vector<Extended>& a, Extended meanA, Extended ssA,
                     const std::vector<Extended>& b, Extended meanB, Extended ssB) {
    Extended s = 0.0L;
    for (std::size_t i = 0; i < a.size(); ++i) s += (a[i] - meanA) * (b[i] - meanB);
    return s / std::sqrt(ssA * ssB);
}

/// The columns to analyse, or the refusal of the choices.
MultipleRegressionRefusal ChooseColumns(const DataTable& table,
                                        const MultipleRegressionChoices& choices,
                                        MultipleRegressionAnalysis& a) {
    if (!table.HasData()) return MultipleRegressionRefusal::NoData;
    std::array<bool, DataColumns> hasData{};
    for (int c = 0; c < DataColumns; ++c)
        hasData[static_cast<std::size_t>(c)] = ColumnHoldsData(table, c);
    if (a.regressionMode) {
        const int y = choices.dependentColumn;
        bool other = false;
        for (int c = 0; c < DataColumns; ++c) {
            if (hasData[static_cast<std::size_t>(c)] && c != y) other = true;
        }
        if (y < 0 || y >= DataColumns || !other) return MultipleRegressionRefusal::NoDependent;
        a.yColumn = y;
        a.yName = VariableName(table, y);
    }
    // The dependent column never counts among the X variables.
    for (int c = 0; c < DataColumns; ++c) {
        const auto i = static_cast<std::size_t>(c);
        if (choices.include[i] != 0 && hasData[i] && !(a.regressionMode && c == a.yColumn)) {
            a.xColumns.push_back(c);
        }
    }
    if (a.regressionMode && a.xColumns.empty()) return MultipleRegressionRefusal::NoIndependent;
    if (!a.regressionMode && a.xColumns.size() < 2)
        return MultipleRegressionRefusal::TooFewVariables;
    return MultipleRegressionRefusal::None;
}

/// The rows in which every variable holds a value; a row holding some of them but not all
/// counts once among the rows left out.
void ChooseRows(const DataTable& table, MultipleRegressionAnalysis& a) {
    std::vector<std::int32_t> used = a.xColumns;
    if (a.regressionMode) used.push_back(a.yColumn);
    for (int r = 0; r <= table.LastRow(); ++r) {
        int present = 0;
        for (std::int32_t c : used) {
            if (!IsMissingValue(table.AnalysisValue(r, c))) ++present;
        }
        if (present == static_cast<int>(used.size())) {
            a.analysedRows.push_back(r);
        } else if (present > 0) {
            ++a.excludedRows;
        }
    }
    a.n = static_cast<std::int32_t>(a.analysedRows.size());
}

/// True when every diagonal entry of the inverted cross-product matrix (each coefficient's
/// variance over the residual variance) is positive.  A system so near to singular that the
/// elimination loses every digit can pass the pivot test and still leave one at zero or
/// below (NIST's Filip set: the tenth-degree polynomial); it cannot be fitted either.
bool PositiveVariances(const SquareMatrix& inverse) {
    for (int i = 1; i <= inverse.Size(); ++i) {
        if (!(inverse(i, i) > 0.0L) || !std::isfinite(inverse(i, i))) return false;
    }
    return true;
}

void Regression(const std::vector<std::vector<Extended>>& x, const std::vector<Extended>& y,
                MultipleRegressionAnalysis& a) {
    const int m = a.k + 1;
    const std::size_t n = y.size();
    // Cross products of the variables with the constant term as variable 0.
    auto value = [&](int variable, std::size_t row) {
        return variable == 0 ? 1.0L : x[static_cast<std::size_t>(variable - 1)][row];
    };
    SquareMatrix cross(m);
    ExtendedVector rhs(m);
    for (int i = 0; i < m; ++i) {
        for (int j = i; j < m; ++j) {
            Extended s = 0.0L;
            for (std::size_t r = 0; r < n; ++r) s += value(i, r) * value(j, r);
            cross(i + 1, j + 1) = s;
            cross(j + 1, i + 1) = s;
        }
        Extended s = 0.0L;
        for (std::size_t r = 0; r < n; ++r) s += value(i, r) * y[r];
        rhs(i + 1) = s;
    }
    ExtendedVector b;
    SquareMatrix inverse;
    if (SolveLinearSystem(cross, rhs, b) != SolverSuccess ||
        InvertMatrix(cross, inverse) != SolverSuccess || !PositiveVariances(inverse)) {
        a.refusal = MultipleRegressionRefusal::Singular;
        return;
    }

    Extended ssResidual = 0.0L;
    for (std::size_t r = 0; r < n; ++r) {
        Extended fitted = 0.0L;
        for (int i = 0; i < m; ++i) fitted += b(i + 1) * value(i, r);
        ssResidual += (y[r] - fitted) * (y[r] - fitted);
    }
    MeanAndSS(y, a.meanY, a.ssTotal);
    if (a.ssTotal == 0.0L) {
        a.errorCode = ErrorDivideByZero;
        return;
    }
    const Extended df = a.df;
    a.ssResidual = ssResidual;
    a.sdResidual = std::sqrt(ssResidual / df);
    a.rSquared = 1.0L - ssResidual / a.ssTotal;
    a.perfect = a.rSquared == 1.0L;
    a.adjustedRSquared = 1.0L - (1.0L - a.rSquared) * static_cast<Extended>(a.n - 1) / df;
    a.multipleR = std::sqrt(std::max(0.0L, a.rSquared));
    if (ssResidual > 0.0L) {
        a.f = ((a.ssTotal - ssResidual) / static_cast<Extended>(a.k)) / (ssResidual / df);
        a.p = p_from_f(a.k, a.df, a.f);
    }
    a.tCritical = t_crit95(a.df);
    for (int i = 0; i < m; ++i) {
        const Extended coefficient = b(i + 1);
        const Extended diagonal = inverse(i + 1, i + 1);
        const Extended se = a.sdResidual * std::sqrt(diagonal);
        a.coefficients.push_back(coefficient);
        a.inverseDiagonal.push_back(diagonal);
        a.standardErrors.push_back(se);
        a.lower.push_back(coefficient - a.tCritical * se);
        a.upper.push_back(coefficient + a.tCritical * se);
        const Extended t = se == 0.0L ? MissingValue : std::fabs(coefficient / se);
        a.tRatios.push_back(t);
        a.tPValues.push_back(p_from_t(a.df, IsMissingValue(t) ? InfiniteT : t));
    }
    // The variance inflation factor SE_j^2 SS_j / SD^2 is SS_j times the inverse's diagonal,
    // which stays defined when the fit is perfect.
    a.largestVif = 0.0L;
    for (int j = 0; j < a.k; ++j) {
        const auto jj = static_cast<std::size_t>(j);
        const Extended v = a.xSS[jj] * a.inverseDiagonal[jj + 1];
        a.vif.push_back(v);
        a.r2WithOtherX.push_back(1.0L - 1.0L / v);
        a.largestVif = std::max(a.largestVif, v);
    }
}

}  // namespace

std::string_view RefusalMessage(MultipleRegressionRefusal refusal) {
    switch (refusal) {
        case MultipleRegressionRefusal::None:
            return {};
        case MultipleRegressionRefusal::NoData:
            return NoDataMessage;
        case MultipleRegressionRefusal::NoDependent:
            return ChooseDependentMessage;
        case MultipleRegressionRefusal::NoIndependent:
            return ChooseIndependentMessage;
        case MultipleRegressionRefusal::TooFewVariables:
            return ChooseTwoVariablesMessage;
        case MultipleRegressionRefusal::TooFewRows:
            return TooFewRowsMessage;
        case MultipleRegressionRefusal::Singular:
            return CannotFitMessage;
        case MultipleRegressionRefusal::ConstantColumn:
            return {};
    }
    return {};
}

std::string ConstantColumnMessage(std::int32_t column) {
    return std::string("It is not possible to analyze your data because the SD of column ") +
           ColumnLetter(column) + " is zero.";
}

MultipleRegressionAnalysis ComputeMultipleRegression(const DataTable& table,
                                                     const MultipleRegressionChoices& choices) {
    MultipleRegressionAnalysis a;
    a.regressionMode = choices.kind != MultipleRegressionKind::CorrelationMatrix;
    a.refusal = ChooseColumns(table, choices, a);
    if (a.refusal != MultipleRegressionRefusal::None) {
        a.xColumns.clear();
        return a;
    }
    ChooseRows(table, a);
    a.k = a.n > 0 ? static_cast<std::int32_t>(a.xColumns.size()) : 0;
    if (a.k + 1 >= a.n) {
        a.refusal = MultipleRegressionRefusal::TooFewRows;
        return a;
    }
    a.df = a.n - a.k - 1;

    // The variables over the analysed rows.
    std::vector<std::vector<Extended>> x(static_cast<std::size_t>(a.k));
    std::vector<Extended> y;
    for (std::int32_t r : a.analysedRows) {
        for (std::size_t j = 0; j < x.size(); ++j)
            x[j].push_back(table.AnalysisValue(r, a.xColumns[j]));
        if (a.regressionMode) y.push_back(table.AnalysisValue(r, a.yColumn));
    }
    for (std::size_t j = 0; j < x.size(); ++j) {
        a.xNames.push_back(VariableName(table, a.xColumns[j]));
        Extended mean = 0.0L;
        Extended ss = 0.0L;
        MeanAndSS(x[j], mean, ss);
        a.xMeans.push_back(mean);
        a.xSS.push_back(ss);
    }

    if (a.regressionMode) {
        Regression(x, y, a);
        if (a.refusal != MultipleRegressionRefusal::None || a.errorCode != 0) return a;
    } else {
        // A column without spread has no correlation.  Its values are compared themselves:
        // the sum of squares of a constant column need not come out exactly 0.
        for (std::size_t j = 0; j < x.size(); ++j) {
            if (std::adjacent_find(x[j].begin(), x[j].end(), std::not_equal_to<>()) ==
                x[j].end()) {
                a.refusal = MultipleRegressionRefusal::ConstantColumn;
                a.constantColumn = a.xColumns[j];
                return a;
            }
        }
    }

    // Correlations (in regression mode the X variables cannot lack spread: the
    // cross-product matrix would have been singular).
    a.correlations.assign(x.size(), std::vector<Extended>(x.size(), 0.0L));
    for (std::size_t i = 0; i < x.size(); ++i) {
        for (std::size_t j = 0; j < x.size(); ++j) {
            a.correlations[i][j] =
                Correlation(x[i], a.xMeans[i], a.xSS[i], x[j], a.xMeans[j], a.xSS[j]);
        }
        if (a.regressionMode) {
            a.correlationsWithY.push_back(
                Correlation(x[i], a.xMeans[i], a.xSS[i], y, a.meanY, a.ssTotal));
        }
    }
    return a;
}

namespace {

void NumberArray(JsonWriter& j, std::string_view key, const std::vector<Extended>& v) {
    j.Key(key).BeginArray();
    for (Extended x : v) j.Number(x);
    j.EndArray();
}

const char* RefusalName(MultipleRegressionRefusal r) {
    switch (r) {
        case MultipleRegressionRefusal::None:
            return "none";
        case MultipleRegressionRefusal::NoData:
            return "no data";
        case MultipleRegressionRefusal::NoDependent:
            return "no dependent variable";
        case MultipleRegressionRefusal::NoIndependent:
            return "no independent variable";
        case MultipleRegressionRefusal::TooFewVariables:
            return "fewer than two variables";
        case MultipleRegressionRefusal::TooFewRows:
            return "too few rows";
        case MultipleRegressionRefusal::Singular:
            return "singular";
        case MultipleRegressionRefusal::ConstantColumn:
            return "constant column";
    }
    return "";
}

}  // namespace

std::string MultipleRegressionJson(const MultipleRegressionAnalysis& a) {
    JsonWriter j;
    j.BeginObject();
    j.Field("analysis", a.regressionMode ? "multiple regression" : "correlation matrix");
    j.Field("refusal", RefusalName(a.refusal));
    j.Field("errorCode", a.errorCode);
    if (a.refusal == MultipleRegressionRefusal::ConstantColumn) {
        j.Field("constantColumn", std::string(1, ColumnLetter(a.constantColumn)));
    }
    if (a.regressionMode) j.Field("y", a.yName);
    j.Key("x").BeginArray();
    for (const std::string& name : a.xNames) j.String(name);
    j.EndArray();
    j.Field("n", a.n).Field("excludedRows", a.excludedRows).Field("k", a.k).Field("df", a.df);
    j.Key("analysedRows").BeginArray();
    for (std::int32_t r : a.analysedRows) j.Integer(r + 1);
    j.EndArray();
    if (a.regressionMode) {
        NumberArray(j, "coefficients", a.coefficients);
        NumberArray(j, "standardErrors", a.standardErrors);
        NumberArray(j, "lower", a.lower);
        NumberArray(j, "upper", a.upper);
        NumberArray(j, "tRatios", a.tRatios);
        NumberArray(j, "tPValues", a.tPValues);
        j.Field("tCritical", a.tCritical);
        j.Field("ssResidual", a.ssResidual).Field("sdResidual", a.sdResidual);
        j.Field("meanY", a.meanY).Field("ssTotal", a.ssTotal);
        j.Field("rSquared", a.rSquared).Field("adjustedRSquared", a.adjustedRSquared);
        j.Field("multipleR", a.multipleR).Field("f", a.f).Field("p", a.p);
        j.Field("pFrom", "F distribution");
        j.Field("perfect", a.perfect);
        NumberArray(j, "vif", a.vif);
        NumberArray(j, "r2WithOtherX", a.r2WithOtherX);
        j.Field("largestVif", a.largestVif);
        NumberArray(j, "correlationsWithY", a.correlationsWithY);
    }
    NumberArray(j, "xMeans", a.xMeans);
    NumberArray(j, "xSS", a.xSS);
    j.Key("correlations").BeginArray();
    for (const std::vector<Extended>& row : a.correlations) {
        j.BeginArray();
        for (Extended x : row) j.Number(x);
        j.EndArray();
    }
    j.EndArray();
    j.EndObject();
    return j.Text();
}

}  // namespace zelkon
