// How numbers become text in data files: the stored-number rule of column records and
// choices, the cell texts of the raw data section, and the digit counts the readers use to
// raise a column's decimal places.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/types.h"

namespace zelkon {

/// The significant digits a raw cell keeps in fixed notation: every digit the program
/// holds of a value typed, pasted or imported.
inline constexpr int StoredCellDigits = 15;

/// The most decimals a column of the raw data section is written or read with.
inline constexpr std::int32_t MaxStoredDecimals = 30;

/// True when a value is written in exponent form: v is not 0 and |v| > 1E7 or |v| <= 0.0001.
bool NeedsExponentForm(Extended v);

/// The exponent form of v: a sign place (blank or "-"), one digit, ".", the further
/// significant digits, "E", the exponent sign and at least two exponent digits.  It carries at
/// least four significant digits (" 1.000E+08") and as many more as are needed for the text to
/// read back as exactly v (" 1.2345678E+07").
std::string FormatExponentForm(Extended v);

/// The stored-number rule: empty for MissingValue (and for a value that is not finite), the
/// exponent form when NeedsExponentForm, otherwise fixed notation with the fewest digits that
/// read back as exactly v, without trailing zeros or a trailing "." ("100", "2.5",
/// "0.000123456789").  A value typed with up to 15 significant digits is written with those
/// digits; a computed one (an SEM derived from the SD) with as many as it needs, at most 21.
/// The point is always ".".
std::string FormatStoredNumber(Extended v);

/// The text of a cell in the raw data section: "" for MissingValue (and for a value that is
/// not finite), the exponent form when NeedsExponentForm, otherwise v rounded to 15
/// significant digits in fixed notation with at least `decimals` decimals: the column's
/// decimals pad the text with zeros ("12.50" for 12.5 with 2) but never cut a digit of the 15
/// ("1.23456" with 2).  A value that 15 digits would round onto 0.0001, where the exponent
/// form begins, is written with the digits that read back as exactly it.
std::string FormatStoredCell(Extended v, std::int32_t decimals);

/// The cell text as the data table shows it: "" for MissingValue (and for a value that is
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

/// The decimals a field of the raw data section gives its column when it is read: in fixed
/// notation every decimal it shows (at most MaxStoredDecimals), so that no digit of the file
/// is hidden or dropped by the next save; in exponent notation the counted decimals when they
/// and the integer digits come to at most 14, else 0.
std::int32_t FieldDecimals(std::string_view field, char decimalSeparator = '.');

}  // namespace zelkon
