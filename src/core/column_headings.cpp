#include "core/column_headings.h"

#include "core/types.h"

namespace zelkon {

std::optional<std::string> ColumnHeading(DataFormat format, int column) {
    if (column < 0 || column >= DataColumns) return std::string();
    const std::string letter(1, ColumnLetter(column));
    switch (format) {
        case DataFormat::XY:
            return column == 0 ? std::string("X") : std::string("Y").append(std::to_string(column));
        case DataFormat::Raw:
        case DataFormat::MeanSDN:
        case DataFormat::MeanSEMN: return "Group " + letter;
        case DataFormat::MultipleRegression: return "Variable " + letter;
        case DataFormat::LargerTable: return "Outcome " + letter;
        case DataFormat::TwoByTwo: return std::nullopt;
    }
    return std::nullopt;
}

bool StatisticsGridTakesHeadings(DataFormat format) { return format != DataFormat::XY; }

}  // namespace zelkon
