// The per-column summary record and the two-by-two record of a data set.
#pragma once

#include <cstdint>
#include <string>

#include "core/types.h"

namespace zelkon {

/// Per data column: title, N and the ten statistics.  For raw data they are computed from
/// the cells; for averaged data mean, SD or SEM and N are typed in.
struct ColumnRecord {
    static constexpr std::size_t MaxTitle = 80;
    static constexpr std::size_t TitleFieldLength = 15;

    std::string title;  ///< empty: the column has no title
    std::int32_t n = 0;  ///< 0: the column has no data
    Extended mean = MissingValue;
    Extended sd = MissingValue;
    Extended sem = MissingValue;
    Extended minimum = MissingValue;
    Extended maximum = MissingValue;
    Extended median = MissingValue;
    Extended upper95 = MissingValue;
    Extended lower95 = MissingValue;
    Extended ks = MissingValue;   ///< Kolmogorov-Smirnov distance
    Extended ksp = MissingValue;  ///< P value of the normality test
    bool passed = false;          ///< normality test passed

    /// Title empty, N 0, every statistic missing, passed cleared.
    void Clear() { *this = ColumnRecord{}; }
};

/// The four counts and four labels of a two-by-two table.  A is row 1 column 1, B row 1
/// column 2, C row 2 column 1, D row 2 column 2.
struct TwoByTwoRecord {
    static constexpr std::size_t MaxLabel = 255;

    Extended a = MissingValue;
    Extended b = MissingValue;
    Extended c = MissingValue;
    Extended d = MissingValue;
    std::string column1Title;
    std::string column2Title;
    std::string row1Title;
    std::string row2Title;

    void Clear() { *this = TwoByTwoRecord{}; }
    bool AllCellsMissing() const {
        return IsMissingValue(a) && IsMissingValue(b) && IsMissingValue(c) && IsMissingValue(d);
    }
    /// The labels as reports show them: empty ones read "Column A", "Column B", "Row 1",
    /// "Row 2".
    std::string Column1Label() const { return column1Title.empty() ? "Column A" : column1Title; }
    std::string Column2Label() const { return column2Title.empty() ? "Column B" : column2Title; }
    std::string Row1Label() const { return row1Title.empty() ? "Row 1" : row1Title; }
    std::string Row2Label() const { return row2Title.empty() ? "Row 2" : row2Title; }
};

}  // namespace zelkon
