// Reading numbers typed, pasted or imported by the user.
#include "core/number_parse.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

namespace zelkon {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Checks the grammar and rewrites the text with "." as the decimal point, without the
// sign (the conversion below does not take a leading "+").  Locale-independent.
bool Normalise(std::string_view text, char decimal, bool acceptPoint, bool& negative,
               std::string& out) {
    text = Trimmed(text);
    std::size_t i = 0;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    out.clear();
    int mantissaDigits = 0;
    bool seenSeparator = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            out.push_back(c);
            ++mantissaDigits;
        } else if (!seenSeparator && (c == decimal || (acceptPoint && c == '.'))) {
            out.push_back('.');
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (mantissaDigits == 0) return false;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        out.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) out.push_back(text[i++]);
        int exponentDigits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            out.push_back(text[i]);
            ++exponentDigits;
        }
        if (exponentDigits == 0) return false;
    }
    return i == text.size();
}

// A number beyond the extended range that is tiny rather than huge ("1E-6000"): the decimal
// exponent of its first significant digit is negative.
bool IsTiny(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    long long digits = 0;
    long long point = -1;
    long long first = -1;
    for (; i < s.size() && (IsDigit(s[i]) || s[i] == '.' || s[i] == ','); ++i) {
        if (!IsDigit(s[i])) {
            point = digits;
            continue;
        }
        if (first < 0 && s[i] != '0') first = digits;
        ++digits;
    }
    if (first < 0) return true;
    if (point < 0) point = digits;
    long long magnitude = point - first - 1;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        ++i;
        const bool negative = i < s.size() && s[i] == '-';
        if (i < s.size() && (s[i] == '-' || s[i] == '+')) ++i;
        long long exponent = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i) {
            exponent = std::min(exponent * 10 + (s[i] - '0'), 1LL << 40);
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude < 0;
}

NumberReading Convert(std::string_view text, char decimal, bool acceptPoint, Extended& value) {
    bool negative = false;
    std::string normal;
    if (!Normalise(text, decimal, acceptPoint, negative, normal)) return NumberReading::NotNumber;
    Extended parsed = 0;
    const char* first = normal.data();
    const char* last = first + normal.size();
    const auto [end, ec] = std::from_chars(first, last, parsed, std::chars_format::general);
    if (ec == std::errc::result_out_of_range && end == last) {
        return IsTiny(normal) ? NumberReading::NotNumber : NumberReading::OutOfRange;
    }
    if (ec != std::errc() || end != last) return NumberReading::NotNumber;
    value = negative ? -parsed : parsed;
    return NumberReading::Number;
}

}  // namespace

bool ParseNumber(std::string_view text, Separators separators, Extended& value) {
    return Convert(text, separators.decimal, false, value) == NumberReading::Number;
}

bool ParseNumberWithPoint(std::string_view text, Separators separators, Extended& value) {
    return Convert(text, separators.decimal, true, value) == NumberReading::Number;
}

NumberReading ReadNumber(std::string_view text, Separators separators, bool acceptPoint,
                         Extended& value) {
    return Convert(text, separators.decimal, acceptPoint, value);
}

bool ParseInteger(std::string_view text, std::int64_t& value) {
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && !IsDigit(text.front())) return false;  // "+-5", "++5"
    }
    if (text.empty()) return false;
    std::int64_t parsed = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, ec] = std::from_chars(first, last, parsed, 10);
    if (ec != std::errc() || end != last) return false;
    value = parsed;
    return true;
}

}  // namespace zelkon
