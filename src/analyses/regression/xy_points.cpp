// The points of an X-and-Y data table by position.
#include "analyses/regression/xy_points.h"

namespace zelkon {

std::vector<XYRow> CollectXYRows(const DataTable& table) {
    std::vector<XYRow> rows;
    for (int r = 0; r <= XYLastRow; ++r) {
        XYRow row{r, table.AnalysisValue(r, 0), {}};
        row.xExcluded = table.IsExcluded(r, 0);
        for (int c = 1; c <= XYLastYColumn; ++c) {
            const Extended y = table.AnalysisValue(r, c);
            if (!IsMissingValue(y)) row.ys.push_back(y);
            if (table.IsExcluded(r, c)) row.yExcluded = true;
        }
        if (!IsMissingValue(row.x) || !row.ys.empty()) rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<XYPoint> CollectXYPoints(const DataTable& table) {
    std::vector<XYPoint> points;
    for (int r = 0; r <= XYLastRow; ++r) {
        const Extended x = table.AnalysisValue(r, 0);
        if (IsMissingValue(x)) continue;
        for (int c = 1; c <= XYLastYColumn; ++c) {
            const Extended y = table.AnalysisValue(r, c);
            if (!IsMissingValue(y)) points.push_back({r, c, x, y});
        }
    }
    return points;
}

}  // namespace zelkon
