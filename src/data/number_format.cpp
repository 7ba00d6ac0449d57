// Number Format.
#include "data/number_format.h"

#include <algorithm>

#include "data/data_messages.h"
#include "data/entered_value.h"

namespace zelkon {

NumberFormatTarget NumberFormatTargetOf(const Selection& selection) {
    NumberFormatTarget target;
    if (selection.kind == SelectionKind::Everything) {
        target.everything = true;
        target.firstColumn = 0;
        target.lastColumn = DataColumns - 1;
    } else if (selection.left != selection.right) {
        target.firstColumn = selection.left;
        target.lastColumn = selection.right;
    } else {
        target.firstColumn = selection.currentColumn;
        target.lastColumn = selection.currentColumn;
    }
    return target;
}

NumberFormatChoice CurrentNumberFormat(const DataTable& table, const NumberFormatTarget& target) {
    NumberFormatChoice choice;
    const std::int32_t first = table.DisplayFormat(target.firstColumn);
    if (first < 0) return choice;
    for (int c = target.firstColumn; c <= target.lastColumn; ++c) {
        if (table.DisplayFormat(c) != first) return choice;
    }
    choice.automatic = false;
    choice.decimals = first;
    return choice;
}

std::vector<int> ApplyNumberFormat(Document& document, const NumberFormatTarget& target,
                                   const NumberFormatChoice& choice) {
    DataTable& table = document.Table();
    const std::int32_t format = choice.automatic ? -1 : std::max<std::int32_t>(choice.decimals, 0);
    std::vector<int> redraw;
    for (int c = target.firstColumn; c <= target.lastColumn; ++c) {
        if (table.DisplayFormat(c) == format) continue;
        if (format < 0) table.SetDecimals(c, NeededDecimals(table, c));
        table.SetDisplayFormat(c, format);
        redraw.push_back(c);
    }
    if (!redraw.empty()) document.MarkModified();
    return redraw;
}

std::vector<int> SetNumberFormat(Document& document, const Selection& selection,
                                 const NumberFormatDialog& dialog) {
    const NumberFormatTarget target = NumberFormatTargetOf(selection);
    if (!dialog) return {};
    const std::optional<NumberFormatChoice> choice = dialog(
        NumberFormatTargetText(target.everything, target.firstColumn, target.lastColumn),
        CurrentNumberFormat(document.Table(), target));
    if (!choice) return {};
    return ApplyNumberFormat(document, target, *choice);
}

}  // namespace zelkon
