#include "analyses/regression/correlation.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string_view>
#include <vector>

#include "core/calc_status.h"
#include "core/json_writer.h"
#include "stats/pvalue.h"
#include "stats/wording.h"

namespace zelkon {

namespace {

constexpr std::int32_t ErrorOneXValue = 37;
constexpr std::int32_t ErrorOneYValue = 38;
constexpr std::int32_t ErrorTooFewPoints = 39;
constexpr std::int32_t ErrorNoData = 47;
constexpr int TitleWidth = 65;
constexpr std::int32_t SpearmanExactLimit = 12;

struct Point {
    Extended x;
    Extended y;
};

/// The points of the X-and-Y format: each row with an X value gives one point per other
/// column (up to the last column) that holds a value in that row.
std::vector<Point> CollectPoints(const DataTable& table, int xColumn) {
    std::vector<Point> points;
    for (int row = 0; row <= table.LastRow(); ++row) {
        const Extended x = table.AnalysisValue(row, xColumn);
        if (IsMissingValue(x)) continue;
        for (int column = 0; column <= table.LastColumn(); ++column) {
            if (column == xColumn) continue;
            const Extended y = table.AnalysisValue(row, column);
            if (!IsMissingValue(y)) points.push_back({x, y});
        }
    }
    return points;
}

/// The pairs of two columns: the rows in which both hold a value.
std::vector<Point> CollectPairs(const DataTable& table, int xColumn, int yColumn) {
    std::vector<Point> points;
    for (int row = 0; row <= table.LastRow(); ++row) {
        const Extended x = table.AnalysisValue(row, xColumn);
        const Extended y = table.AnalysisValue(row, yColumn);
        if (!IsMissingValue(x) && !IsMissingValue(y)) points.push_back({x, y});
    }
    return points;
}

/// Rounding can carry a correlation coefficient a hair beyond +/-1.
Extended ClampCorrelation(Extended r) { return std::clamp<Extended>(r, -1, 1); }

/// The Fisher-transform 95% limits of r with the variance factor `factor` / (N - 3).  A
/// perfect correlation has both limits at r itself (its transform is infinite).
void FisherLimits(Extended r, std::int32_t n, Extended factor, Extended& lower, Extended& upper) {
    if (std::fabs(r) == 1) {
        lower = upper = r;
        return;
    }
    const Extended z = (std::log(1 + r) - std::log(1 - r)) / 2;
    const Extended h = z_for_p(0.025L) * std::sqrt(factor / static_cast<Extended>(n - 3));
    upper = std::tanh(z + h);
    lower = std::tanh(z - h);
}

PearsonResult PearsonFromPoints(const std::vector<Point>& points) {
    PearsonResult result;
    result.n = static_cast<std::int32_t>(points.size());
    if (result.n == 0) {
        result.errorCode = ErrorNoData;
        return result;
    }
    // Sums of squares and products about the means (two passes, so that data far from zero
    // keep their precision); a variable whose values are all equal has a sum of exactly 0.
    const Extended n = result.n;
    Extended sumX = 0, sumY = 0;
    bool oneX = true, oneY = true;
    for (const Point& p : points) {
        sumX += p.x;
        sumY += p.y;
        oneX = oneX && p.x == points.front().x;
        oneY = oneY && p.y == points.front().y;
    }
    const Extended meanX = sumX / n, meanY = sumY / n;
    Extended sxx = 0, syy = 0, sxy = 0;
    for (const Point& p : points) {
        sxx += (p.x - meanX) * (p.x - meanX);
        syy += (p.y - meanY) * (p.y - meanY);
        sxy += (p.x - meanX) * (p.y - meanY);
    }
    if (oneX || sxx == 0) {
        result.errorCode = ErrorOneXValue;
    } else if (oneY || syy == 0) {
        result.errorCode = ErrorOneYValue;
    } else if (result.n < 3) {
        result.errorCode = ErrorTooFewPoints;
    }
    if (result.errorCode != 0) return result;
    result.r = ClampCorrelation(sxy / std::sqrt(sxx * syy));
    result.rSquared = result.r * result.r;
    result.standardError = std::sqrt((1 - result.rSquared) / (n - 2));
    if (result.n > 3) FisherLimits(result.r, result.n, 1, result.lower, result.upper);
    if (result.standardError > 0) {
        result.t = std::fabs(result.r / result.standardError);
        result.p = p_from_t(result.n - 2, result.t);
    } else {
        // A perfect correlation: t is infinite and its P value 0.
        result.p = 0;
    }
    return result;
}

/// Average ranks (1-based) of the values; adds t^3 - t of every run of t > 1 equal values
/// to tieSum.
std::vector<Extended> AverageRanks(const std::vector<Extended>& values, Extended& tieSum) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<Extended> ranks(values.size());
    tieSum = 0;
    for (std::size_t first = 0; first < order.size();) {
        std::size_t last = first;
        while (last + 1 < order.size() && values[order[last + 1]] == values[order[first]]) ++last;
        const Extended t = static_cast<Extended>(last - first + 1);
        const Extended average = (static_cast<Extended>(first + 1) + static_cast<Extended>(last + 1)) / 2;
        for (std::size_t i = first; i <= last; ++i) ranks[order[i]] = average;
        if (t > 1) tieSum += t * t * t - t;
        first = last + 1;
    }
    return ranks;
}

SpearmanResult SpearmanFromPoints(const std::vector<Point>& points) {
    SpearmanResult result;
    result.n = static_cast<std::int32_t>(points.size());
    if (result.n == 0) {
        result.errorCode = ErrorNoData;
        return result;
    }
    std::vector<Extended> xs, ys;
    for (const Point& p : points) {
        xs.push_back(p.x);
        ys.push_back(p.y);
    }
    Extended tieX = 0, tieY = 0;
    const std::vector<Extended> rankX = AverageRanks(xs, tieX);
    const std::vector<Extended> rankY = AverageRanks(ys, tieY);
    result.tx = tieX / 12;
    result.ty = tieY / 12;
    for (std::size_t i = 0; i < points.size(); ++i) result.d += (rankY[i] - rankX[i]) * (rankY[i] - rankX[i]);
    const Extended n = result.n;
    const Extended s = (n * n * n - n) / 6;
    if (s - 2 * result.tx == 0) {
        result.errorCode = ErrorOneXValue;
        return result;
    }
    if (s - 2 * result.ty == 0) {
        result.errorCode = ErrorOneYValue;
        return result;
    }
    result.r = ClampCorrelation((s - result.d - result.tx - result.ty) /
                                std::sqrt((s - 2 * result.tx) * (s - 2 * result.ty)));
    result.rSquared = result.r * result.r;
    // Two points always correlate perfectly; SEr has no degrees of freedom then.
    if (result.n > 2) result.standardError = std::sqrt((1 - result.rSquared) / (n - 2));
    result.ties = result.tx > 0 || result.ty > 0;
    if (result.n > 10) FisherLimits(result.r, result.n, 1.06L, result.lower, result.upper);
    const bool perfect = std::fabs(result.r) == 1;
    result.approximateP =
        perfect ? 0 : p_from_t(result.n - 2, result.r * std::sqrt((n - 2) / (1 - result.rSquared)));

    // The exact P value: of the N! assignments of the ranks, the share whose sum of squared
    // rank differences reaches the threshold, doubled.
    result.threshold = std::llround((n * n * n - n) * (1 + std::fabs(result.r)) / 6);
    BeginExactCalculation(result.approximateP);
    if (result.n <= SpearmanExactLimit) {
        result.exactFlag = ExactFlagExact;
        std::int64_t factorial = 1;
        for (std::int32_t i = 2; i <= result.n; ++i) factorial *= i;
        result.permutations = static_cast<Extended>(factorial);
        const ExactCount count = CountRankPermutations(result.n, result.threshold);
        result.exactFlag = count.flag;
        result.counted = count.counted;
    } else {
        result.exactFlag = ExactFlagTooLong;
    }
    EndExactCalculation();
    if (result.exactFlag == ExactFlagExact) {
        result.source = PValueSource::Exact;
        result.p = 2 * static_cast<Extended>(result.counted) / result.permutations;
    } else {
        result.source = result.n > SpearmanExactLimit                ? PValueSource::TooLarge
                        : result.exactFlag == ExactFlagCancelled ? PValueSource::Cancelled
                                                                   : PValueSource::TooLong;
        result.p = result.approximateP;
    }
    return result;
}

void WriteEmphasised(ResultsReport& report, std::string_view text) {
    report.ToggleEmphasis2();
    report.Write(text);
    report.ToggleEmphasis2();
    report.NewLine();
}

void WriteCentredTitle(ResultsReport& report, std::string_view text) {
    WriteEmphasised(report, ResultsReport::Centre(text, TitleWidth));
}

void WriteNumberOfPoints(ResultsReport& report, std::int32_t n) {
    report.Write("Number of points = ");
    report.WriteInteger(n);
    report.NewLine();
    report.NewLine();
}

void WriteInterval(ResultsReport& report, Extended lower, Extended upper) {
    report.Write("95% confidence interval: ");
    WriteNumber(report, lower, -5);
    report.Write(" to ");
    WriteNumber(report, upper, -5);
    report.NewLine();
}

}  // namespace

PearsonResult PearsonCalc(const DataTable& table, int xColumn) {
    return PearsonFromPoints(CollectPoints(table, xColumn));
}

PearsonResult PearsonCalc(const DataTable& table, int xColumn, int yColumn) {
    return PearsonFromPoints(CollectPairs(table, xColumn, yColumn));
}

SpearmanResult SpearmanCalc(const DataTable& table, int xColumn) {
    return SpearmanFromPoints(CollectPoints(table, xColumn));
}

SpearmanResult SpearmanCalc(const DataTable& table, int xColumn, int yColumn) {
    return SpearmanFromPoints(CollectPairs(table, xColumn, yColumn));
}

void PearsonReport(const PearsonResult& result, ResultsReport& report) {
    WriteCentredTitle(report, "Linear Correlation");
    report.NewLine();
    report.NewLine();
    WriteNumberOfPoints(report, result.n);
    report.Write("Correlation coefficient (r) = ");
    WriteNumber(report, result.r, -5);
    report.NewLine();
    if (result.HasInterval()) {
        WriteInterval(report, result.lower, result.upper);
    } else {
        report.Write("95% confidence interval: ");
        report.WriteLine("(Requires more than 3 points) ");
    }
    report.Write("Coefficient of determination (r squared) = ");
    WriteNumber(report, result.rSquared, -5);
    report.NewLine();
    for (int i = 0; i < 3; ++i) report.NewLine();
    WriteEmphasised(report, "Test: Is r significantly different than zero?");
    WritePValueSentence(report, 2, true, result.p);
}

void SpearmanReport(const SpearmanResult& result, ResultsReport& report) {
    WriteCentredTitle(report, "Spearman Rank Correlation");
    report.NewLine();
    report.NewLine();
    WriteNumberOfPoints(report, result.n);
    report.Write("Spearman r = ");
    WriteNumber(report, result.r, -5);
    if (result.ties) report.Write(" (corrected for ties)");
    report.NewLine();
    if (result.HasInterval()) {
        WriteInterval(report, result.lower, result.upper);
        report.NewLine();
    }
    if (result.n <= 10 && !result.Exact()) {
        report.NewLine();
        report.WriteLine("There were not enough points (N <= 10) to perform a linearity");
        report.WriteLine("check or compute the confidence interval of r.");
        return;
    }
    report.NewLine();
    report.NewLine();
    WriteEmphasised(report, "Test: Is r significantly different than zero?");
    report.NewLine();
    WritePValueSentence(report, 2, true, result.p);
    if (result.ties && result.Exact()) report.WriteLine("The P value may be inaccurate because of ties.");
    if (result.exactFlag == ExactFlagCancelled) {
        report.WriteLine("The P value is approximate because exact calculations were interrupted.");
    }
    if (result.exactFlag == ExactFlagTooLong) {
        report.WriteLine("The P value is approximate because exact calculations would have taken");
        report.WriteLine("too long.");
    }
    if (result.Exact() && result.n < 5) {
        report.WriteLine("Regardless of what data you enter, it is impossible for this test to");
        report.WriteLine("yield P < 0.05 with so few data points.");
    }
}

std::string PearsonResultJson(const PearsonResult& result) {
    JsonWriter json;
    json.BeginObject()
        .Field("analysis", "Pearson correlation")
        .Field("errorCode", result.errorCode)
        .Field("n", result.n)
        .Field("r", result.r)
        .Field("rSquared", result.rSquared)
        .Field("lower95", result.lower)
        .Field("upper95", result.upper)
        .Field("standardError", result.standardError)
        .Field("t", result.t)
        .Field("df", result.n - 2)
        .Field("p", result.p)
        .Field("pMethod", "t distribution")
        .EndObject();
    return json.Text();
}

std::string SpearmanResultJson(const SpearmanResult& result) {
    JsonWriter json;
    json.BeginObject()
        .Field("analysis", "Spearman correlation")
        .Field("errorCode", result.errorCode)
        .Field("n", result.n)
        .Field("r", result.r)
        .Field("rSquared", result.rSquared)
        .Field("lower95", result.lower)
        .Field("upper95", result.upper)
        .Field("standardError", result.standardError)
        .Field("ties", result.ties)
        .Field("tx", result.tx)
        .Field("ty", result.ty)
        .Field("sumSquaredRankDifferences", result.d)
        .Field("approximateP", result.approximateP)
        .Field("exactFlag", result.exactFlag)
        .Field("permutations", result.permutations)
        .Key("threshold").Integer(result.threshold)
        .Key("counted").Integer(result.counted)
        .Field("p", result.p)
        .Field("pMethod", PValueSourceText(result.source))
        .EndObject();
    return json.Text();
}

void PearsonEntry(DataTable& table, AnalysisOutput& out) {
    const PearsonResult result = PearsonCalc(table, 0);
    out.helpTopic = PearsonHelpTopic;
    out.errorCode = result.errorCode;
    if (result.errorCode != 0) return;
    PearsonReport(result, out.report);
    out.resultJson = PearsonResultJson(result);
}

void SpearmanEntry(DataTable& table, AnalysisOutput& out) {
    const SpearmanResult result = SpearmanCalc(table, 0);
    out.helpTopic = SpearmanHelpTopic;
    out.errorCode = result.errorCode;
    if (result.errorCode != 0) return;
    SpearmanReport(result, out.report);
    out.resultJson = SpearmanResultJson(result);
}

}  // namespace zelkon
