// The data format of a document: which of the seven step-1 choices is made, its caption
// and the code under which data files record it.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelkon {

/// The step-1 choices, in the order of their radio buttons.  A new document is Raw.
enum class DataFormat {
    XY,                 ///< "X and Y (or two or more Y replicates). "
    Raw,                ///< "Raw data."
    MeanSDN,            ///< "Averaged data. Mean, SD && N."
    MeanSEMN,           ///< "Averaged data. Mean, SEM && N."
    TwoByTwo,           ///< "Two rows, two columns."
    LargerTable,        ///< "Larger contingency table."
    MultipleRegression  ///< "Y and 2 or more X variables (multiple reg)."
};

inline constexpr int DataFormatCount = 7;

/// Every format in radio-button order.
inline constexpr DataFormat AllDataFormats[DataFormatCount] = {
    DataFormat::XY,       DataFormat::Raw,         DataFormat::MeanSDN,
    DataFormat::MeanSEMN, DataFormat::TwoByTwo,    DataFormat::LargerTable,
    DataFormat::MultipleRegression};

/// The caption of the format's radio button as stored: "&&" stands for one ampersand
/// (the form a toolkit label with mnemonics expects).
std::string_view DataFormatCaption(DataFormat format);

/// The code that identifies the format in a data file: Raw 1, MeanSDN 2, MeanSEMN 3,
/// LargerTable 4, TwoByTwo 5, XY 6, MultipleRegression 7.  The multiple-regression layout
/// writes its 7 as "1" on the code line followed by "1" on the next line.
std::int32_t DataFormatToFileCode(DataFormat format);

/// The format of a data file code 1 to 7; no value for any other code.
std::optional<DataFormat> DataFormatFromFileCode(std::int32_t code);

/// True for the two averaged formats (mean, error and N typed in).
constexpr bool IsAveragedFormat(DataFormat format) {
    return format == DataFormat::MeanSDN || format == DataFormat::MeanSEMN;
}

}  // namespace zelkon
