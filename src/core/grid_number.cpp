// The grid display rule for values and the decimals a column shows.
#include "core/grid_number.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/data_table.h"

namespace zelkon {

namespace {

// The exponent form: a sign place (blank or "-"), d.dddddd, "E", the exponent's sign and at
// least two exponent digits.
std::string ExponentForm(Extended v) {
    if (!std::isfinite(v)) return std::isnan(v) ? "NAN" : (v < 0 ? "-INF" : " INF");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6LE", std::fabs(v));
    const std::string_view text(buffer);
    const std::size_t e = text.find('E');
    // The C library writes at least two exponent digits; drop any leading zeros beyond two.
    std::string_view digits = text.substr(e + 2);
    while (digits.size() > 2 && digits.front() == '0') digits.remove_prefix(1);
    std::string result;
    result.reserve(16);
    result += v < 0 ? '-' : ' ';
    result += text.substr(0, e + 2);  // mantissa, "E" and the exponent's sign
    result += digits;
    return result;
}

}  // namespace

std::string FormatGridNumber(Extended v, std::int32_t shownDecimals) {
    if (IsMissingValue(v)) return {};
    const Extended magnitude = std::fabs(v);
    if (v != 0 && (magnitude > 1.0E7L || magnitude <= 0.0001L)) return ExponentForm(v);
    const int decimals = shownDecimals < 0 ? 0 : shownDecimals;
    const int length = std::snprintf(nullptr, 0, "%14.*Lf", decimals, v);
    std::string text(static_cast<std::size_t>(length), ' ');
    std::snprintf(text.data(), text.size() + 1, "%14.*Lf", decimals, v);
    return text.substr(text.find_first_not_of(' '));
}

std::int32_t ShownDecimals(const DataTable& table, int column) {
    if (column < 0 || column >= DataColumns) return 0;
    const std::int32_t format = table.DisplayFormat(column);
    return format >= 0 ? format : table.Decimals(column);
}

}  // namespace zelkon
