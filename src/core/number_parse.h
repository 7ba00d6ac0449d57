// Reading numbers typed, pasted or imported by the user: an optional sign, digits with one
// decimal separator (the user's), an optional exponent, surrounding blanks ignored.
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

#include "core/platform.h"
#include "core/types.h"

namespace zelkon {

/// Parses a decimal number written with the user's decimal separator.
/// Accepted: blanks (spaces, tabs) around the text, an optional "+" or "-", digits with at
/// most one decimal separator (at least one digit before or after it), and an optional
/// exponent "E" or "e" with an optional sign and at least one digit.  Anything else, an
/// empty text, or a value beyond the range of the extended type fails.  On failure the
/// result is left unchanged and false is returned.
bool ParseNumber(std::string_view text, Separators separators, Extended& value);

/// As ParseNumber, but "." is accepted as the decimal point as well as the user's
/// separator (the rule for numbers read from data files).
bool ParseNumberWithPoint(std::string_view text, Separators separators, Extended& value);

/// How a text reads as a number.
enum class NumberReading {
    Number,     ///< a number the extended type holds
    NotNumber,  ///< text that is no number
    OutOfRange  ///< written as a number, but too large for the extended type
};

/// As ParseNumber (or, with `acceptPoint`, ParseNumberWithPoint), telling text that is no
/// number apart from a number too large for the extended type (a number too small for it,
/// "1E-6000", is no number either).  The value is set only for Number.
NumberReading ReadNumber(std::string_view text, Separators separators, bool acceptPoint,
                         Extended& value);

/// Whether a reading is a number the sheet cannot hold: too large for the extended type, or
/// the missing-value marker 1.7E38 and every larger magnitude.
inline bool TooLargeForSheet(NumberReading reading, Extended value) {
    return reading == NumberReading::OutOfRange ||
           (reading == NumberReading::Number && std::fabs(value) >= MissingValue);
}

/// Parses a whole number: blanks around it, an optional sign and decimal digits only.
/// Fails on anything else and on values outside the 64-bit range.
bool ParseInteger(std::string_view text, std::int64_t& value);

}  // namespace zelkon
