// The stored-number and cell-text rules of data files.  Both are independent of the C
// locale: the text is produced by std::to_chars, whose point is always ".".
#include "core/stored_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zelkon {

namespace {

constexpr std::int32_t MinExponentDigits = 4;  // significant digits of the exponent form
constexpr std::int32_t MaxCellDecimals = 30;   // a wilder count is surely not a setting

// v in fixed notation with the given decimals, and a rounded zero written without sign.
std::string FixedText(Extended v, int decimals) {
    char buffer[128];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (!text.empty() && text.front() == '-' &&
        text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);
    }
    return text;
}

}  // namespace

bool NeedsExponentForm(Extended v) {
    if (v == 0) return false;
    const Extended a = std::fabs(v);
    return a > 1E7L || a <= 1E-4L;
}

std::string FormatExponentForm(Extended v) {
    // The shortest scientific text that reads back as v, e.g. "-1.2345678e+07" or "2e-05".
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific);
    const std::string_view shortest(buffer, static_cast<std::size_t>(result.ptr - buffer));

    std::size_t pos = 0;
    const bool negative = !shortest.empty() && shortest[0] == '-';
    if (negative) ++pos;
    const std::size_t e = shortest.find('e');
    std::string digits;
    for (std::size_t i = pos; i < e; ++i) {
        if (shortest[i] != '.') digits.push_back(shortest[i]);
    }
    if (digits.size() < static_cast<std::size_t>(MinExponentDigits)) {
        digits.append(static_cast<std::size_t>(MinExponentDigits) - digits.size(), '0');
    }
    const char exponentSign = shortest[e + 1];
    std::string exponent(shortest.substr(e + 2));
    while (exponent.size() > 2 && exponent.front() == '0') exponent.erase(0, 1);
    if (exponent.size() < 2) exponent.insert(0, 2 - exponent.size(), '0');

    std::string text;
    text.push_back(negative ? '-' : ' ');
    text.push_back(digits[0]);
    text.push_back('.');
    text.append(digits, 1);
    text.push_back('E');
    text.push_back(exponentSign);
    text += exponent;
    return text;
}

std::string FormatStoredNumber(Extended v) {
    if (IsMissingValue(v) || !std::isfinite(v)) return {};
    if (NeedsExponentForm(v)) return FormatExponentForm(v);
    std::string text = FixedText(v, 8);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

std::string FormatCellText(Extended v, std::int32_t decimals) {
    if (IsMissingValue(v) || !std::isfinite(v)) return {};
    if (NeedsExponentForm(v)) return FormatExponentForm(v);
    return FixedText(v, std::clamp(decimals, 0, MaxCellDecimals));
}

DigitCounts CountDigits(std::string_view text, char decimalSeparator) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    const std::size_t e = text.find_first_of("Ee");
    const std::string_view mantissa = text.substr(0, e);
    std::size_t point = mantissa.find('.');
    if (point == std::string_view::npos && decimalSeparator != '.') {
        point = mantissa.find(decimalSeparator);
    }
    const auto before = static_cast<std::int32_t>(point == std::string_view::npos ? mantissa.size()
                                                                                   : point);
    DigitCounts counts;
    if (e == std::string_view::npos) {
        counts.integerDigits = before;
        if (point != std::string_view::npos) {
            counts.decimals = static_cast<std::int32_t>(mantissa.size() - point - 1);
        }
        return counts;
    }
    // The exponent, held within a range that cannot overflow.
    std::string_view rest = text.substr(e + 1);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    std::int32_t exponent = 0;
    for (char ch : rest) {
        if (ch < '0' || ch > '9') break;
        exponent = std::min(exponent * 10 + (ch - '0'), 100000);
    }
    if (negative) exponent = -exponent;
    counts.decimals = exponent < 0 ? -exponent : 0;
    counts.integerDigits = std::max(before + exponent, 1);
    return counts;
}

}  // namespace zelkon
