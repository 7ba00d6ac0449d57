// Column statistics, the Kolmogorov-Smirnov normality test, the refresh of the column
// summaries and the texts of the column statistics screen.
#include "stats/column_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/data_table.h"
#include "core/grid_number.h"
#include "stats/pvalue.h"

namespace zelkon {

namespace {

// The values of analysis column `column` from the first row to the last, in row order.
std::vector<Extended> ColumnValues(const DataTable& table, int column) {
    std::vector<Extended> values;
    values.reserve(DataRows);
    for (int row = 0; row < DataRows; ++row) {
        const Extended x = table.AnalysisValue(row, column);
        if (!IsMissingValue(x)) values.push_back(x);
    }
    return values;
}

Extended MedianOfSorted(const std::vector<Extended>& sorted) {
    const std::size_t n = sorted.size();
    if (n == 0) return MissingValue;
    if (n % 2 == 1) return sorted[n / 2];
    return (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

// The normal cumulative probability of z through the two-tailed normal P.
Extended NormalCdf(Extended z) {
    const Extended p = p_from_z(z) / 2;
    return z <= 0 ? p : 1 - p;
}

void CopySummary(const ColumnSummary& s, ColumnRecord& record) {
    record.n = s.n;
    record.mean = s.mean;
    record.sd = s.sd;
    record.sem = s.sem;
    record.minimum = s.minimum;
    record.maximum = s.maximum;
    record.median = s.median;
    record.upper95 = s.upper95;
    record.lower95 = s.lower95;
}

}  // namespace

ColumnSummary SummariseColumn(const DataTable& table, int column) {
    ColumnSummary s;
    // First pass: count, extremes and sum.
    Extended sum = 0;
    for (int row = 0; row < DataRows; ++row) {
        const Extended x = table.AnalysisValue(row, column);
        if (IsMissingValue(x)) continue;
        if (s.n == 0) {
            s.minimum = x;
            s.maximum = x;
        } else if (x < s.minimum) {
            s.minimum = x;
        } else if (x > s.maximum) {
            s.maximum = x;
        }
        sum += x;
        ++s.n;
    }
    if (s.n > 0) s.mean = sum / s.n;

    // Second pass: sum of squared deviations from the mean.
    Extended ss = 0;
    if (s.n > 0) {
        for (int row = 0; row < DataRows; ++row) {
            const Extended x = table.AnalysisValue(row, column);
            if (IsMissingValue(x)) continue;
            const Extended d = x - s.mean;
            ss += d * d;
        }
    }
    if (s.n < 2) {
        s.sd = 0;
        s.sem = 0;
    } else {
        s.sd = std::sqrt(ss / (s.n - 1));
        s.sem = s.sd / std::sqrt(static_cast<Extended>(s.n));
    }
    if (s.n > 0) {
        s.median = Median(table, column);
        const Extended t = t_crit95(s.n - 1);
        s.upper95 = s.mean + t * s.sem;
        s.lower95 = s.mean - t * s.sem;
    }
    return s;
}

Extended ColumnStats(const DataTable& table, int column, std::int32_t& n, Extended& sd,
                     Extended& sem, Extended& minimum, Extended& maximum, Extended& median,
                     Extended& upper95, Extended& lower95) {
    const ColumnSummary s = SummariseColumn(table, column);
    n = s.n;
    sd = s.sd;
    sem = s.sem;
    minimum = s.minimum;
    maximum = s.maximum;
    median = s.median;
    upper95 = s.upper95;
    lower95 = s.lower95;
    return s.mean;
}

Extended Median(const DataTable& table, int column) {
    std::vector<Extended> values = ColumnValues(table, column);
    std::sort(values.begin(), values.end());
    return MedianOfSorted(values);
}

Extended KolmogorovSmirnovDistance(const std::vector<Extended>& sorted, Extended mean,
                                   Extended sd) {
    const Extended n = static_cast<Extended>(sorted.size());
    Extended ks = 0;
    for (std::size_t i = 1; i <= sorted.size(); ++i) {
        const Extended f = NormalCdf((sorted[i - 1] - mean) / sd);
        // Both sides of the empirical step at this point: i/n above, (i-1)/n below; for the
        // first point the step below is 0.
        const Extended above = std::fabs(f - static_cast<Extended>(i) / n);
        const Extended below = std::fabs(f - static_cast<Extended>(i - 1) / n);
        ks = std::max({ks, above, below});
    }
    return ks;
}

Extended KolmogorovP(std::int32_t n, Extended ks) {
    const Extended lambda2 = n * ks * ks;
    Extended sum = 0;
    Extended previous = 0;  // magnitude of the previous term; 0 before the first
    Extended sign = 1;
    for (int j = 1; j <= 101; ++j) {
        const Extended term = 2 * sign * std::exp(-2 * static_cast<Extended>(j) * j * lambda2);
        sum += term;
        const Extended magnitude = std::fabs(term);
        if (magnitude < 0.001L * previous) return j <= 100 ? sum : 1;
        previous = magnitude;
        sign = -sign;
    }
    return 1;
}

bool PassesNormality(Extended ksp) { return ksp > 0.05L; }

NormalityResult NormalityTestOfValues(std::vector<Extended> values, Extended mean,
                                      Extended sd) {
    NormalityResult result;
    if (values.empty() || IsMissingValue(mean) || IsMissingValue(sd) || !(sd > 0))
        return result;
    std::sort(values.begin(), values.end());
    result.ks = KolmogorovSmirnovDistance(values, mean, sd);
    result.ksp = KolmogorovP(static_cast<std::int32_t>(values.size()), result.ks);
    return result;
}

NormalityResult NormalityTest(const DataTable& table, int column, Extended mean, Extended sd) {
    return NormalityTestOfValues(ColumnValues(table, column), mean, sd);
}

void FillSummary(const DataTable* table, int column, ColumnRecord& record) {
    if (column >= 0) {
        if (table != nullptr) CopySummary(SummariseColumn(*table, column), record);
        return;
    }
    const bool positiveN = record.n > 0;
    const Extended rootN = positiveN ? std::sqrt(static_cast<Extended>(record.n)) : 0;
    if (!IsMissingValue(record.sd)) {
        record.sem = positiveN ? record.sd / rootN : MissingValue;
    } else if (!IsMissingValue(record.sem)) {
        record.sd = positiveN ? record.sem * rootN : MissingValue;
    }
    if (!IsMissingValue(record.sem) && positiveN && !IsMissingValue(record.mean)) {
        const Extended t = t_crit95(record.n - 1);
        record.upper95 = record.mean + t * record.sem;
        record.lower95 = record.mean - t * record.sem;
    } else {
        record.upper95 = MissingValue;
        record.lower95 = MissingValue;
    }
}

bool HoldsAveragedData(const DataTable& table, int column) {
    return table.NoRawData(column) && table.Record(column).n > 0;
}

void UpdateColumnSummaries(DataTable& table) {
    // The summaries describe the data columns as entered; a run's selection and column map
    // must not hide or move them.
    const bool analysisMode = table.AnalysisMode();
    const bool mapActive = table.ColumnMapActive();
    table.SetAnalysisMode(false);
    table.ResetColumnMap();

    for (int c = 0; c < DataColumns; ++c) {
        ColumnRecord& record = table.Record(c);
        if (table.Changed(c) && HoldsAveragedData(table, c)) {
            // A column typed as mean, error and N has no cells to recompute from: keep what
            // the user typed (switching to raw data flags every column as changed).
            table.SetChanged(c, false);
            FillSummary(nullptr, -1, record);
            continue;
        }
        const bool recomputed = table.Changed(c);
        if (recomputed) {
            table.SetChanged(c, false);
            FillSummary(&table, c, record);
            if (record.n < 1) {
                record.sd = MissingValue;
                record.sem = MissingValue;
                record.median = MissingValue;
                record.minimum = MissingValue;
                record.maximum = MissingValue;
            }
        }
        if (HoldsAveragedData(table, c)) continue;
        if (!recomputed && !IsMissingValue(record.ks) && !IsMissingValue(record.ksp)) continue;
        if (record.n > 4 && !IsMissingValue(record.sd) && record.sd > 0) {
            const NormalityResult normality = NormalityTest(table, c, record.mean, record.sd);
            record.ks = normality.ks;
            record.ksp = normality.ksp;
            record.passed = PassesNormality(normality.ksp);
        } else {
            record.ks = MissingValue;
            record.ksp = MissingValue;
        }
    }

    table.SetAnalysisMode(analysisMode);
    if (mapActive) table.BuildColumnMap();
}

std::array<std::string_view, StatisticsRowCount> StatisticsRowLabels(bool errorIsSD) {
    return {"Mean",
            errorIsSD ? "Standard deviation (SD)" : "SEM",
            "Sample size (N)",
            errorIsSD ? "Std. error of mean(SEM)" : "SD",
            "Lower 95% conf. limit",
            "Upper 95% conf. limit",
            "Minimum",
            "Median (50th percentile)",
            "Maximum",
            "Normality test KS",
            "Normality test P value",
            "Passed normality test?"};
}

std::string NormalityPText(Extended ksp, std::int32_t n, bool rawColumn) {
    if (IsMissingValue(ksp)) return (n >= 1 && n < 5 && rawColumn) ? "Too few values" : "";
    if (ksp > 0.10L) return ">0.10";
    if (ksp < 0.0001L) return "<0.0001";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%6.4Lf", ksp);
    return buffer;
}

std::string StatisticsCellText(const DataTable& table, int column, StatisticsRow row,
                               bool errorIsSD) {
    const ColumnRecord& record = table.Record(column);
    const std::int32_t decimals = ShownDecimals(table, column);
    auto number = [decimals](Extended v) { return FormatGridNumber(v, decimals); };
    switch (row) {
        case StatisticsRow::Mean: return number(record.mean);
        case StatisticsRow::Error: return number(errorIsSD ? record.sd : record.sem);
        case StatisticsRow::N: return record.n == 0 ? "" : std::to_string(record.n);
        case StatisticsRow::OtherError: return number(errorIsSD ? record.sem : record.sd);
        case StatisticsRow::Lower95: return number(record.lower95);
        case StatisticsRow::Upper95: return number(record.upper95);
        case StatisticsRow::Minimum: return number(record.minimum);
        case StatisticsRow::Median: return number(record.median);
        case StatisticsRow::Maximum: return number(record.maximum);
        case StatisticsRow::KS: return number(record.ks);
        case StatisticsRow::NormalityP:
            return NormalityPText(record.ksp, record.n, !HoldsAveragedData(table, column));
        case StatisticsRow::Passed:
            if (IsMissingValue(record.ksp)) return "";
            return record.passed ? "Yes" : "No";
    }
    return "";
}

}  // namespace zelkon
