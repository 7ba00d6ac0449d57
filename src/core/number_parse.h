// Reading numbers typed, pasted or imported by the user: an optional sign, digits with one
// decimal separator (the user's), an optional exponent, surrounding blanks ignored.
#pragma once

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

/// Parses a whole number: blanks around it, an optional sign and decimal digits only.
/// Fails on anything else and on values outside the 64-bit range.
bool ParseInteger(std::string_view text, std::int64_t& value);

}  // namespace zelkon
