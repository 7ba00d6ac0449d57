// Critical values of the post tests: the table lookup with interpolation.
#include "analyses/groups/post_test_critical_values.h"

#include <array>
#include <cstddef>

#include "analyses/groups/critical_tables.h"

namespace zelkon {

namespace {

// The lookup shared by both tables.  `value(row, column)` gives an entry as a number.
template <std::size_t Rows, std::size_t Columns, typename Value>
Extended Lookup(const std::array<std::int32_t, Rows>& dfs,
                const std::array<std::int32_t, Columns>& ks, Value value, std::int32_t df,
                std::int32_t k) {
    if (k < ks.front() || k > ks.back() || df < dfs.front()) return MissingValue;
    std::size_t column = 0;
    while (ks[column] < k) ++column;
    std::size_t row = Rows - 1;  // the infinity row serves every df above 120
    if (df <= LastFiniteRowDf) {
        row = 0;
        while (dfs[row] < df) ++row;
    }
    const bool kInTable = ks[column] == k;
    const bool dfInTable = dfs[row] == df || (row == Rows - 1 && df > InfinityRowDf);

    // The value of a column at the requested df.
    auto atDf = [&](std::size_t c) -> Extended {
        if (dfInTable) return value(row, c);
        const Extended below = value(row - 1, c);
        const Extended above = value(row, c);
        const Extended fraction = static_cast<Extended>(df - dfs[row - 1]) /
                                  static_cast<Extended>(dfs[row] - dfs[row - 1]);
        return below + fraction * (above - below);
    };
    if (kInTable) return atDf(column);
    const Extended left = atDf(column - 1);
    const Extended right = atDf(column);
    const Extended fraction = static_cast<Extended>(k - ks[column - 1]) /
                              static_cast<Extended>(ks[column] - ks[column - 1]);
    return left + fraction * (right - left);
}

}  // namespace

Extended StudentizedRangeCritical(RangeLevel level, std::int32_t df, std::int32_t k) {
    const int l = static_cast<int>(level);
    const StudentizedRangeTable& table = StudentizedRangeTables[static_cast<std::size_t>(l)];
    auto value = [&](std::size_t row, std::size_t column) {
        return static_cast<Extended>(table[row][column]) /
               static_cast<Extended>(StudentizedRangeDivisor(l, static_cast<int>(row)));
    };
    return Lookup(StudentizedRangeDf, StudentizedRangeK, value, df, k);
}

Extended DunnettCritical(DunnettLevel level, std::int32_t df, std::int32_t k) {
    const int l = static_cast<int>(level);
    const DunnettTable& table = DunnettTables[static_cast<std::size_t>(l)];
    auto value = [&](std::size_t row, std::size_t column) {
        const std::int32_t hundredths =
            table[row][column] + DunnettBaseHundredths(l, static_cast<int>(row));
        return static_cast<Extended>(hundredths) / 100.0L;
    };
    return Lookup(DunnettDf, DunnettK, value, df, k);
}

}  // namespace zelkon
