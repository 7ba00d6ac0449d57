// Captions and data file codes of the data formats.
#include "core/data_format.h"

namespace zelkon {

std::string_view DataFormatCaption(DataFormat format) {
    switch (format) {
        case DataFormat::XY: return "X and Y (or two or more Y replicates). ";
        case DataFormat::Raw: return "Raw data.";
        case DataFormat::MeanSDN: return "Averaged data. Mean, SD && N.";
        case DataFormat::MeanSEMN: return "Averaged data. Mean, SEM && N.";
        case DataFormat::TwoByTwo: return "Two rows, two columns.";
        case DataFormat::LargerTable: return "Larger contingency table.";
        case DataFormat::MultipleRegression: return "Y and 2 or more X variables (multiple reg).";
    }
    return {};
}

std::int32_t DataFormatToFileCode(DataFormat format) {
    switch (format) {
        case DataFormat::Raw: return 1;
        case DataFormat::MeanSDN: return 2;
        case DataFormat::MeanSEMN: return 3;
        case DataFormat::LargerTable: return 4;
        case DataFormat::TwoByTwo: return 5;
        case DataFormat::XY: return 6;
        case DataFormat::MultipleRegression: return 7;
    }
    return 1;
}

std::optional<DataFormat> DataFormatFromFileCode(std::int32_t code) {
    switch (code) {
        case 1: return DataFormat::Raw;
        case 2: return DataFormat::MeanSDN;
        case 3: return DataFormat::MeanSEMN;
        case 4: return DataFormat::LargerTable;
        case 5: return DataFormat::TwoByTwo;
        case 6: return DataFormat::XY;
        case 7: return DataFormat::MultipleRegression;
        default: return std::nullopt;
    }
}

}  // namespace zelkon
