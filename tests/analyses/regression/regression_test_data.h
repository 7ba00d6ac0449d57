// Helpers of the regression tests: filling an X-and-Y table, relative errors, and reading
// the NIST linear least-squares reference files.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "core/data_table.h"
#include "core/types.h"

namespace zelkon::test {

/// An empty cell in the fill lists.
inline constexpr double Gap = 1.7E38;

/// Column A gets xs, columns B, C, ... the Y columns; `Gap` leaves a cell empty.
inline void FillXY(DataTable& table, std::initializer_list<double> xs,
                   std::initializer_list<std::initializer_list<double>> ys) {
    int row = 0;
    for (double x : xs) {
        if (x != Gap) table.SetValue(row, 0, static_cast<Extended>(x));
        ++row;
    }
    int column = 1;
    for (const auto& ycol : ys) {
        row = 0;
        for (double y : ycol) {
            if (y != Gap) table.SetValue(row, column, static_cast<Extended>(y));
            ++row;
        }
        ++column;
    }
}

inline Extended RelErr(Extended computed, Extended expected) {
    if (expected == 0) return std::fabs(computed);
    return std::fabs((computed - expected) / expected);
}

/// Log relative error: the number of leading digits that agree (capped at 20).
inline double Lre(Extended computed, Extended certified) {
    const Extended err = RelErr(computed, certified);
    return err == 0 ? 20.0 : static_cast<double>(-std::log10(err));
}

/// The data lines of a NIST StRD file: each line's numbers, read as text into extended.
inline std::vector<std::vector<Extended>> ReadNistData(const std::string& name) {
    const std::string path = std::string(ZELKON_NIST_DIR) + "/" + name + ".dat";
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    int first = 0;
    int last = 0;
    for (const std::string& line : lines) {
        const std::size_t at = line.find("Data  ");
        if (at != std::string::npos &&
            std::sscanf(line.c_str() + at, "Data (lines %d to %d)", &first, &last) == 2)
            break;
    }
    std::vector<std::vector<Extended>> rows;
    for (int l = first; l <= last && l <= static_cast<int>(lines.size()); ++l) {
        std::istringstream fields(lines[static_cast<std::size_t>(l - 1)]);
        std::vector<Extended> row;
        for (std::string t; fields >> t;) row.push_back(std::strtold(t.c_str(), nullptr));
        if (!row.empty()) rows.push_back(row);
    }
    return rows;
}

}  // namespace zelkon::test
