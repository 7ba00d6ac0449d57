// Rules shared by every way a value enters the sheet.
#include "data/entered_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "core/data_table.h"

namespace zelkon {

namespace {

// Trailing zeros removed (the point itself stays, as the counting takes no decimals from it).
void RemoveTrailingZeros(std::string& text) {
    if (text.find('.') == std::string::npos) return;
    while (!text.empty() && text.back() == '0') text.pop_back();
}

}  // namespace

Extended RoundEnteredValue(Extended v) {
    if (IsMissingValue(v) || !std::isfinite(v) || v == 0) return v;
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 14);
    Extended rounded = v;
    const auto read = std::from_chars(buffer, written.ptr, rounded, std::chars_format::scientific);
    return read.ec == std::errc() ? rounded : v;
}

DigitCounts EnteredDigitCounts(Extended v) {
    if (IsMissingValue(v) || !std::isfinite(v)) return {};
    // From 1E15 on, the first 14 characters are all digits (or the sign and digits).
    if (std::fabs(v) >= 1E15L) return DigitCounts{0, 14};
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 12);
    if (written.ec != std::errc()) return {};
    std::string text(buffer, written.ptr);
    RemoveTrailingZeros(text);
    if (text.size() > 14) text.resize(14);
    return CountDigits(text);
}

DigitCounts TypedDigitCounts(Extended v) {
    if (IsMissingValue(v) || !std::isfinite(v) || NeedsExponentForm(v)) return {};
    char buffer[128];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed);
    if (written.ec != std::errc()) return {};
    std::string text(buffer, written.ptr);
    RemoveTrailingZeros(text);
    DigitCounts counts = CountDigits(text);
    counts.integerDigits = std::min(counts.integerDigits, MaxCountedDigits);
    return counts;
}

std::int32_t StoredRuleDecimals(Extended v) {
    if (IsMissingValue(v) || !std::isfinite(v)) return 0;
    std::string text = FormatCellText(v, ComputedValueDecimals);
    if (!NeedsExponentForm(v)) RemoveTrailingZeros(text);
    return CountDigits(text).decimals;
}

bool RaiseDecimals(DataTable& table, int column, DigitCounts counts) {
    if (counts.decimals + counts.integerDigits > MaxCountedDigits) return false;
    if (counts.decimals <= table.Decimals(column)) return false;
    table.SetDecimals(column, counts.decimals);
    return true;
}

std::int32_t NeededDecimals(const DataTable& table, int column) {
    std::int32_t needed = 0;
    for (int r = 0; r < DataRows; ++r) {
        const Extended v = table.Value(r, column);
        if (IsMissingValue(v)) continue;
        needed = std::max(needed, StoredRuleDecimals(v));
        const DigitCounts typed = TypedDigitCounts(v);
        if (typed.decimals + typed.integerDigits <= MaxCountedDigits) {
            needed = std::max(needed, typed.decimals);
        }
    }
    return needed;
}

void RecountRawData(DataTable& table, int column) {
    if (column < 0 || column >= DataColumns) return;
    if (table.ColumnHasValue(column)) {
        table.SetNoRawData(column, false);
        return;
    }
    if (table.NoRawData(column)) return;  // nothing raw was there: averaged data stay
    table.SetNoRawData(column, true);
    ColumnRecord& record = table.Record(column);
    const std::string title = record.title;
    record.Clear();
    record.title = title;
    table.SetChanged(column, true);
}

}  // namespace zelkon
