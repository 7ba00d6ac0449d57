// The stored-number and cell-text rules of data files.  Both are independent of the C
// locale: the digits come from std::to_chars, whose point is always ".".
#include "core/stored_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zelkon {

namespace {

constexpr std::int32_t MinExponentDigits = 4;  // significant digits of the exponent form

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

// The significant digits of a value that is not 0, without trailing zeros, and the power of
// ten of the first one: v = d.ddd x 10^exponent.
struct Digits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The digits of v rounded to `significant` digits, or with the fewest digits that read back
// as exactly v when `significant` is 0.
Digits DigitsOf(Extended v, int significant) {
    char buffer[64];
    const auto result =
        significant > 0
            ? std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific,
                            significant - 1)
            : std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    Digits d;
    std::size_t pos = 0;
    d.negative = !text.empty() && text[0] == '-';
    if (d.negative) ++pos;
    const std::size_t e = text.find('e');
    for (std::size_t i = pos; i < e; ++i) {
        if (text[i] != '.') d.digits.push_back(text[i]);
    }
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0),
                    text.data() + text.size(), d.exponent);
    return d;
}

// The digits in fixed notation with at least `decimals` decimals (more when the digits need
// them), padded with zeros.
std::string FixedFromDigits(const Digits& d, int decimals) {
    const int count = static_cast<int>(d.digits.size());
    decimals = std::max(decimals, count - 1 - d.exponent);
    std::string text = d.negative ? "-" : "";
    if (d.exponent < 0) {
        text += '0';
    } else {
        for (int i = 0; i <= d.exponent; ++i) text += i < count ? d.digits[i] : '0';
    }
    if (decimals <= 0) return text;
    text += '.';
    for (int k = 1; k <= decimals; ++k) {
        const int i = d.exponent + k;  // index of the digit at 10^-k
        text += i >= 0 && i < count ? d.digits[static_cast<std::size_t>(i)] : '0';
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
    Digits d = DigitsOf(v, 0);
    if (d.digits.size() < static_cast<std::size_t>(MinExponentDigits)) {
        d.digits.append(static_cast<std::size_t>(MinExponentDigits) - d.digits.size(), '0');
    }
    std::string exponent = std::to_string(d.exponent < 0 ? -d.exponent : d.exponent);
    if (exponent.size() < 2) exponent.insert(0, 2 - exponent.size(), '0');

    std::string text;
    text.push_back(d.negative ? '-' : ' ');
    text.push_back(d.digits[0]);
    text.push_back('.');
    text.append(d.digits, 1);
    text.push_back('E');
    text.push_back(d.exponent < 0 ? '-' : '+');
    text += exponent;
    return text;
}

std::string FormatStoredNumber(Extended v) {
    if (IsMissingValue(v) || !std::isfinite(v)) return {};
    if (NeedsExponentForm(v)) return FormatExponentForm(v);
    if (v == 0) return "0";
    return FixedFromDigits(DigitsOf(v, 0), 0);
}

std::string FormatStoredCell(Extended v, std::int32_t decimals) {
    if (IsMissingValue(v) || !std::isfinite(v)) return {};
    if (NeedsExponentForm(v)) return FormatExponentForm(v);
    decimals = std::clamp(decimals, 0, MaxStoredDecimals);
    if (v == 0) return FixedText(0, decimals);
    Digits d = DigitsOf(v, StoredCellDigits);
    // Rounded onto 0.0001, the text would read back in the exponent form's range.
    if (d.exponent < -4 || (d.exponent == -4 && d.digits == "1")) d = DigitsOf(v, 0);
    return FixedFromDigits(d, decimals);
}

std::string FormatCellText(Extended v, std::int32_t decimals) {
    if (IsMissingValue(v) || !std::isfinite(v)) return {};
    if (NeedsExponentForm(v)) return FormatExponentForm(v);
    return FixedText(v, std::clamp(decimals, 0, MaxStoredDecimals));
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

std::int32_t FieldDecimals(std::string_view field, char decimalSeparator) {
    const DigitCounts counts = CountDigits(field, decimalSeparator);
    if (field.find_first_of("Ee") != std::string_view::npos) {
        return counts.decimals + counts.integerDigits <= 14 ? counts.decimals : 0;
    }
    return std::min(counts.decimals, MaxStoredDecimals);
}

}  // namespace zelkon
