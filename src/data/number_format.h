// Number Format: fixing or freeing the number of decimals the selected columns show.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/selection.h"
#include "document/document.h"

namespace zelkon {

/// What the "Number Format" dialog shows and returns.
struct NumberFormatChoice {
    bool automatic = true;      ///< "Choose the number of decimal points automatically."
    std::int32_t decimals = 0;  ///< "Show values with " N "digits after the decimal point."
};

/// The columns the command works on: A to Z with everything selected, the selected columns
/// of a block, or the current column.
struct NumberFormatTarget {
    int firstColumn = 0;
    int lastColumn = 0;
    bool everything = false;
};
NumberFormatTarget NumberFormatTargetOf(const Selection& selection);

/// The dialog's opening state: fixed with the number when every target column has the same
/// fixed display format, automatic otherwise.
NumberFormatChoice CurrentNumberFormat(const DataTable& table, const NumberFormatTarget& target);

/// Applies a choice: each target column's display format becomes -1 (automatic) or the
/// number; a column that becomes automatic first has its decimal places recomputed from its
/// values.  Returns the columns whose display changed (to be redrawn); marks the document
/// modified when any did.
std::vector<int> ApplyNumberFormat(Document& document, const NumberFormatTarget& target,
                                   const NumberFormatChoice& choice);

/// The dialog: given the caption text ("For columns B-D:") and the opening state, returns the
/// choice or nothing for Cancel.
using NumberFormatDialog =
    std::function<std::optional<NumberFormatChoice>(const std::string&, const NumberFormatChoice&)>;

/// The whole command.  Returns the columns to redraw.
std::vector<int> SetNumberFormat(Document& document, const Selection& selection,
                                 const NumberFormatDialog& dialog);

}  // namespace zelkon
