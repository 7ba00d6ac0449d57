// The larger contingency table: the chi-square test for independence over the block of
// counts, the chi-square test for trend when the table has two rows or two columns and more
// than two of the other, and the row and column totals with their percentages.  Computed
// into ContingencyResult; contingency_report writes the report from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/contingency/contingency_block.h"
#include "core/data_table.h"
#include "core/types.h"

namespace zelkon {

/// One line of the row or column summary.
struct ContingencyMarginLine {
    std::int32_t number = 0;  ///< the table row or column number, counted from 1
    std::string title;        ///< the column title (empty for rows: they show their number)
    Extended total = 0;
    Extended percent = 0;  ///< total x 100 / N
};

enum class TrendKind : std::uint8_t {
    None,
    OrderedRows,     ///< two columns: the rows are the ordered categories
    OrderedColumns,  ///< two rows: the columns are the ordered categories
};

/// The chi-square test for trend: x_i, n_i and the score s_i (the table row or column number)
/// of every category give chi-square = (S2 - X s_bar)^2 / ((S3 - s_bar^2 N) p (1 - p)).
struct TrendResult {
    TrendKind kind = TrendKind::None;
    Extended chiSquare = MissingValue;
    Extended p = MissingValue;  ///< p_from_chi2(1, chi-square), approximate
};

struct ContingencyResult {
    std::int32_t errorCode = 0;  ///< 30 to 34 or 46; nothing else is set with an error
    ContingencyBlock block;
    std::int32_t rows = 0;     ///< r
    std::int32_t columns = 0;  ///< c
    Extended grandTotal = 0;   ///< N
    Extended chiSquare = 0;
    std::int32_t df = 0;  ///< (r - 1)(c - 1)
    /// p_from_chi2(df, chi-square), approximate; 1 for a single row or column (df 0, where
    /// chi-square is 0 and no other value is possible).
    Extended p = MissingValue;
    bool expectedAtMostOne = false;       ///< some expected value <= 1.0
    std::int32_t expectedAtMostFive = 0;  ///< count of expected values <= 5.0
    bool warning = false;                 ///< an expected value <= 1, or at least 20% of them <= 5
    TrendResult trend;
    std::vector<ContingencyMarginLine> rowLines;     ///< rows with values, top to bottom
    std::vector<ContingencyMarginLine> columnLines;  ///< columns with a total above 0
};

/// The independence test (and the trend test where it applies) of the table's block.
ContingencyResult ComputeContingency(const DataTable& table);

/// The trend chi-square of categories given as (x_i, n_i, s_i).
Extended TrendChiSquare(const std::vector<Extended>& x, const std::vector<Extended>& n,
                        const std::vector<Extended>& score);

}  // namespace zelkon
