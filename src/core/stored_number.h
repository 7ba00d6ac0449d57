// How numbers become text in data files: the stored-number rule of column records and
// choices, the cell-text rule of the raw data section, and the digit counts the readers use
// to raise a column's decimal places.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/types.h"

namespace zelkon {

/// True when a value is written in exponent form: v is not 0 and |v| > 1E7 or |v| <= 0.0001.
bool NeedsExponentForm(Extended v);

/// The exponent form of v: a sign place (blank or "-"), one digit, ".", the further
/// significant digits, "E", the exponent sign and at least two exponent digits.  It carries at
/// least four significant digits (" 1.000E+08") and as many more as are needed for the text to
/// read back as exactly v (" 1.2345678E+07").
std::string FormatExponentForm(Extended v);

/// The stored-number rule: empty for MissingValue (and for a value that is not finite), the
/// exponent form when NeedsExponentForm, otherwise fixed notation with 8 decimals, trailing
/// zeros and a trailing "." removed ("100", "2.5", "0.125").  The point is always ".".
std::string FormatStoredNumber(Extended v);

/// The cell-text rule of the raw data section: empty for MissingValue (and for a value that is
/// not finite), the exponent form when NeedsExponentForm, otherwise v rounded to `decimals`
/// decimals without removing trailing zeros (12.5 with 2 decimals gives "12.50").
std::string FormatCellText(Extended v, std::int32_t decimals);

/// Decimals and integer digits of a number's text, as counted when a value is read into a
/// column: decimals are the characters after the decimal point (for exponent notation the
/// negated exponent when it is negative, else 0); integer digits are the characters before
/// the point or the "E" (for exponent notation that count plus the exponent, at least 1).
struct DigitCounts {
    std::int32_t decimals = 0;
    std::int32_t integerDigits = 0;
};
DigitCounts CountDigits(std::string_view text, char decimalSeparator = '.');

}  // namespace zelkon
