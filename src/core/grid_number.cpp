// The grid display rule for values, the texts that fit narrow cells and the decimals a column
// shows.  The digits come from std::to_chars, whose point is always ".".
#include "core/grid_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

#include "core/data_table.h"
#include "core/stored_number.h"

namespace zelkon {

namespace {

// The significant digits of a value shown in fixed notation.
constexpr int GridSignificantDigits = StoredCellDigits;
// The significant digits of the grid's exponent form.
constexpr int GridExponentDigits = 7;

// The exponent form with `significant` digits: a sign place (blank or "-"), d.ddd, "E", the
// exponent's sign and at least two exponent digits.
std::string ExponentForm(Extended v, int significant) {
    if (!std::isfinite(v)) return std::isnan(v) ? "NAN" : (v < 0 ? "-INF" : " INF");
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v),
                                      std::chars_format::scientific, significant - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    std::string_view digits = text.substr(e + 2);
    while (digits.size() > 2 && digits.front() == '0') digits.remove_prefix(1);
    std::string form;
    form.reserve(16);
    form += v < 0 ? '-' : ' ';
    form += text.substr(0, e);
    form += 'E';
    form += text[e + 1];  // the exponent's sign
    if (digits.size() < 2) form += '0';
    form += digits;
    return form;
}

// The power of ten of the first significant digit of v (not 0) rounded to 15 digits.
int DecimalExponent(Extended v) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v),
                                      std::chars_format::scientific, GridSignificantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const std::size_t e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent);
    return exponent;
}

std::string FixedForm(Extended v, int decimals) {
    if (v != 0 && decimals > GridSignificantDigits - 1 - DecimalExponent(v)) {
        // More decimals than the 15 digits reach: the digits, then zeros.
        return FormatStoredCell(v, decimals);
    }
    char buffer[128];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string WithoutSignPlace(const std::string& text) {
    return !text.empty() && text.front() == ' ' ? text.substr(1) : text;
}

}  // namespace

std::string FormatGridNumber(Extended v, std::int32_t shownDecimals) {
    if (IsMissingValue(v)) return {};
    if (!std::isfinite(v) || NeedsExponentForm(v)) return ExponentForm(v, GridExponentDigits);
    return FixedForm(v, std::clamp<std::int32_t>(shownDecimals, 0, MaxStoredDecimals));
}

std::string FitGridText(Extended v, std::int32_t shownDecimals,
                        const std::function<bool(std::string_view)>& fits) {
    const std::string text = FormatGridNumber(v, shownDecimals);
    if (text.empty() || fits(text)) return text;
    const std::string bare = WithoutSignPlace(text);
    if (fits(bare)) return bare;
    const std::size_t point = bare.find('.');
    if (bare.find('E') == std::string::npos && point != std::string::npos) {
        for (std::size_t keep = bare.size() - 1; keep > point + 1; --keep) {
            std::string cut = bare.substr(0, keep) + "..";
            if (fits(cut)) return cut;
        }
    }
    for (int significant = GridExponentDigits - 1; significant >= 1; --significant) {
        std::string form = WithoutSignPlace(ExponentForm(v, significant));
        if (significant == 1 || fits(form)) return form;
    }
    return bare;
}

std::string FitGridText(Extended v, std::int32_t shownDecimals, std::size_t maxCharacters) {
    return FitGridText(v, shownDecimals,
                       [maxCharacters](std::string_view text) { return text.size() <= maxCharacters; });
}

std::string FullGridText(Extended v) {
    if (IsMissingValue(v)) return {};
    if (!std::isfinite(v)) return WithoutSignPlace(ExponentForm(v, GridExponentDigits));
    return WithoutSignPlace(FormatStoredCell(v, 0));
}

std::int32_t ShownDecimals(const DataTable& table, int column) {
    if (column < 0 || column >= DataColumns) return 0;
    const std::int32_t format = table.DisplayFormat(column);
    return format >= 0 ? format : table.Decimals(column);
}

}  // namespace zelkon
