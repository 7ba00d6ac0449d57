// Transforms: the seventeen functions of the "Transform" dialog and their application to the
// selected cells, with the question about values the transform cannot take.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/platform.h"
#include "core/types.h"
#include "data/selection.h"
#include "document/document.h"

namespace zelkon {

inline constexpr int TransformCount = 17;

/// One entry of the transform list.
struct TransformEntry {
    std::string_view text;  ///< the entry as listed ("Y=Log(Y)")
    bool usesK;             ///< "K = " and its field are shown
    Extended defaultK;      ///< the value put into the field when the entry is chosen
};

/// The transform list in order; code k (1 to 17) is entry k - 1.
const std::array<TransformEntry, TransformCount>& TransformEntries();

/// The entry the dialog opens with ("Y=K*Y", K = 1).
inline constexpr int DefaultTransformCode = 14;

/// The transform of one value: the missing value where the transform is undefined (logarithm
/// of a value <= 0, 1/0, square root of a negative value, LOGIT outside 0 to 1, tan where cos
/// is 0, arcsin outside -1 to 1, division by K = 0) and wherever the result is not a finite
/// number.  A missing value or an unknown code gives the missing value.  Leaves no
/// floating-point exception flag behind.
Extended TransformValue(int code, Extended y, Extended k);

/// Applies a transform to the selected cells (the current cell when only it is selected):
/// when some values cannot be transformed the user is asked "The transformation you have
/// selected is mathematically impossible with N of the values. These values will be erased.
/// Continue?"; No changes nothing.  Otherwise each value is replaced by its transform (empty
/// where undefined), exclusion marks stay, the column's decimal places are raised to the
/// decimals the stored-number rule writes for the new values, and the document is marked
/// modified.  Returns false when the user answered No.
bool TransformSelection(Document& document, const Selection& selection, int code, Extended k,
                        UserPrompts& prompts);

}  // namespace zelkon
