// The computations of the larger contingency table.
#include "analyses/contingency/contingency_table.h"

#include <cmath>

#include "analyses/contingency/contingency_codes.h"
#include "stats/pvalue.h"

namespace zelkon {

namespace {

constexpr Extended ExpectedAtMostOne = 1.0L;
constexpr Extended ExpectedAtMostFive = 5.0L;
constexpr std::int64_t SmallExpectedShareDivisor = 5;  // a share of 0.2

bool IsWhole(Extended x) {
    return std::trunc(x) == x;
}

bool Present(Extended x) {
    return !IsMissingValue(x);
}

std::string ColumnTitle(const DataTable& table, int k) {
    return table.Record(table.MappedColumn(k)).title;
}

// Trend over the rows (two columns): each row with a value in the left column.
TrendResult RowTrend(const DataTable& table, const ContingencyBlock& block) {
    std::vector<Extended> x, n, score;
    for (int row = block.firstRow; row <= block.lastRow; ++row) {
        const Extended left = table.AnalysisValue(row, block.firstColumn);
        if (!Present(left)) continue;
        x.push_back(left);
        n.push_back(left + table.AnalysisValue(row, block.lastColumn));
        score.push_back(row + 1);
    }
    return {TrendKind::OrderedRows, TrendChiSquare(x, n, score), MissingValue};
}

// Trend over the columns (two rows): each column with a value in the top row.
TrendResult ColumnTrend(const DataTable& table, const ContingencyBlock& block) {
    std::vector<Extended> x, n, score;
    for (int k = block.firstColumn; k <= block.lastColumn; ++k) {
        const Extended top = table.AnalysisValue(block.firstRow, k);
        if (!Present(top)) continue;
        x.push_back(top);
        n.push_back(top + table.AnalysisValue(block.lastRow, k));
        score.push_back(k + 1);
    }
    return {TrendKind::OrderedColumns, TrendChiSquare(x, n, score), MissingValue};
}

}  // namespace

Extended TrendChiSquare(const std::vector<Extended>& x, const std::vector<Extended>& n,
                        const std::vector<Extended>& score) {
    Extended sumX = 0, sumN = 0, s1 = 0, s2 = 0, s3 = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        sumX += x[i];
        sumN += n[i];
        s1 += score[i] * n[i];
        s2 += score[i] * x[i];
        s3 += score[i] * score[i] * n[i];
    }
    const Extended meanScore = s1 / sumN;
    const Extended p = sumX / sumN;
    const Extended deviation = s2 - sumX * meanScore;
    return deviation * deviation / ((s3 - meanScore * meanScore * sumN) * p * (1 - p));
}

ContingencyResult ComputeContingency(const DataTable& table) {
    ContingencyResult r;
    r.block = FindContingencyBlock(table);
    const ContingencyBlock& block = r.block;
    if (!block.complete) {
        r.errorCode = CodeBlockGap;
        return r;
    }
    if (block.rows == 0 || block.columns == 0) {
        r.errorCode = CodeNoContingencyData;
        return r;
    }
    r.rows = block.rows;
    r.columns = block.columns;

    // Column totals and the grand total.
    std::vector<Extended> columnTotal(static_cast<std::size_t>(block.lastColumn + 1), 0);
    std::vector<bool> columnHasValues(columnTotal.size(), false);
    for (int k = block.firstColumn; k <= block.lastColumn; ++k) {
        const std::size_t j = static_cast<std::size_t>(k);
        for (int row = block.firstRow; row <= block.lastRow; ++row) {
            const Extended v = table.AnalysisValue(row, k);
            if (!Present(v)) continue;
            if (!IsWhole(v)) {
                r.errorCode = CodeFractionCount;
                return r;
            }
            if (v < 0) {
                r.errorCode = CodeNegativeCount;
                return r;
            }
            columnTotal[j] += v;
            columnHasValues[j] = true;
            r.grandTotal += v;
        }
        if (columnHasValues[j] && columnTotal[j] == 0) {
            r.errorCode = CodeZeroColumn;
            return r;
        }
    }
    const Extended n = r.grandTotal;

    // Row totals, expected values and chi-square.
    for (int row = block.firstRow; row <= block.lastRow; ++row) {
        Extended rowTotal = 0;
        bool rowHasValues = false;
        for (int k = block.firstColumn; k <= block.lastColumn; ++k) {
            const Extended v = table.AnalysisValue(row, k);
            if (!Present(v)) continue;
            rowTotal += v;
            rowHasValues = true;
        }
        if (!rowHasValues) continue;  // an empty row between data rows
        r.rowLines.push_back({row + 1, {}, rowTotal, rowTotal * 100 / n});
        if (rowTotal == 0) {
            r.errorCode = CodeZeroRow;
            return r;
        }
        for (int k = block.firstColumn; k <= block.lastColumn; ++k) {
            const Extended observed = table.AnalysisValue(row, k);
            if (!Present(observed)) continue;
            const Extended expected = rowTotal * columnTotal[static_cast<std::size_t>(k)] / n;
            if (expected <= ExpectedAtMostOne) r.expectedAtMostOne = true;
            if (expected <= ExpectedAtMostFive) ++r.expectedAtMostFive;
            const Extended deviation = observed - expected;
            r.chiSquare += deviation * deviation / expected;
        }
    }
    for (int k = block.firstColumn; k <= block.lastColumn; ++k) {
        const Extended total = columnTotal[static_cast<std::size_t>(k)];
        if (total > 0)
            r.columnLines.push_back({k + 1, ColumnTitle(table, k), total, total * 100 / n});
    }

    // At least a fifth of the r x c expected values at most 5, counted in whole numbers.
    const std::int64_t cells = static_cast<std::int64_t>(r.rows) * r.columns;
    r.warning =
        r.expectedAtMostOne ||
        static_cast<std::int64_t>(r.expectedAtMostFive) * SmallExpectedShareDivisor >= cells;
    r.df = (r.rows - 1) * (r.columns - 1);
    // With one row or one column every cell equals its expected value; there is nothing to
    // test and chi-square with 0 degrees of freedom sits at 0 with certainty.
    r.p = r.df > 0 ? p_from_chi2(r.df, r.chiSquare) : 1.0L;

    if (r.rows == 2 && r.columns > 2) {
        r.trend = ColumnTrend(table, block);
    } else if (r.rows > 2 && r.columns == 2) {
        r.trend = RowTrend(table, block);
    }
    if (r.trend.kind != TrendKind::None) r.trend.p = p_from_chi2(1, r.trend.chiSquare);
    return r;
}

}  // namespace zelkon
