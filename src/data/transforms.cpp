// Transforms of single values and of the selected cells.
#include "data/transforms.h"

#include <cfenv>
#include <cmath>
#include <vector>

#include "data/data_messages.h"
#include "data/entered_value.h"

namespace zelkon {

namespace {

// Restores the floating-point exception flags of the caller when it goes out of scope, so
// that an infinite or undefined intermediate result leaves no flag behind.
class QuietFloatingPoint {
public:
    QuietFloatingPoint() { std::fegetexceptflag(&saved_, FE_ALL_EXCEPT); }
    ~QuietFloatingPoint() { std::fesetexceptflag(&saved_, FE_ALL_EXCEPT); }
    QuietFloatingPoint(const QuietFloatingPoint&) = delete;
    QuietFloatingPoint& operator=(const QuietFloatingPoint&) = delete;

private:
    std::fexcept_t saved_{};
};

Extended Compute(int code, Extended y, Extended k) {
    switch (code) {
        case 1: return y * y;
        case 2: return y <= 0 ? MissingValue : std::log(y) / std::log(10.0L);
        case 3: return y <= 0 ? MissingValue : std::log(y);
        case 4: return std::exp(y * std::log(10.0L));
        case 5: return std::exp(y);
        case 6: return y == 0 ? MissingValue : 1 / y;
        case 7: return y < 0 ? MissingValue : std::sqrt(y);
        case 8: return (y <= 0 || y >= 1) ? MissingValue : std::log(y / (k - y));
        case 9: return std::sin(y);
        case 10: return std::cos(y);
        case 11: {
            const Extended c = std::cos(y);
            return c == 0 ? MissingValue : std::sin(y) / c;
        }
        case 12: return (y > 1 || y < -1) ? MissingValue : std::asin(y);
        case 13: return std::fabs(y);
        case 14: return k * y;
        case 15: return y + k;
        case 16: return y - k;
        case 17: return k == 0 ? MissingValue : y / k;
        default: return MissingValue;
    }
}

}  // namespace

const std::array<TransformEntry, TransformCount>& TransformEntries() {
    static const std::array<TransformEntry, TransformCount> entries = {{
        {"Y=Y squared", false, 0},  {"Y=Log(Y)", false, 0},   {"Y=Ln(Y)", false, 0},
        {"Y=10^Y", false, 0},       {"Y=exp(Y)", false, 0},   {"Y=1/Y", false, 0},
        {"Y=SQRT(Y)", false, 0},    {"Y=LOGIT(Y)", true, 1},  {"Y=sin(Y)", false, 0},
        {"Y=cos(Y)", false, 0},     {"Y=tan(Y)", false, 0},   {"Y=arcsin(Y)", false, 0},
        {"Y=abs(Y)", false, 0},     {"Y=K*Y", true, 1},       {"Y=Y+K", true, 0},
        {"Y=Y-K", true, 0},         {"Y=Y/K", true, 1},
    }};
    return entries;
}

Extended TransformValue(int code, Extended y, Extended k) {
    if (IsMissingValue(y)) return MissingValue;
    const QuietFloatingPoint quiet;
    const Extended result = Compute(code, y, k);
    if (IsMissingValue(result) || !std::isfinite(result)) return MissingValue;
    return result;
}

bool TransformSelection(Document& document, const Selection& selection, int code, Extended k,
                        UserPrompts& prompts) {
    DataTable& table = document.Table();
    const int lastRow =
        selection.kind == SelectionKind::Everything ? DataRows - 1 : selection.bottom;

    // First pass: the transform of every value, and how many cannot be transformed.
    struct Change {
        int row;
        int column;
        Extended value;
    };
    std::vector<Change> changes;
    std::int64_t impossible = 0;
    for (int c = selection.left; c <= selection.right; ++c) {
        for (int r = selection.top; r <= lastRow; ++r) {
            const Extended y = table.Value(r, c);
            if (IsMissingValue(y)) continue;
            const Extended result = TransformValue(code, y, k);
            if (IsMissingValue(result)) ++impossible;
            changes.push_back({r, c, result});
        }
    }
    if (impossible != 0 &&
        prompts.Ask(ImpossibleTransformQuestion(impossible), PromptButtons::YesNo) !=
            PromptAnswer::Yes) {
        return false;
    }

    // Second pass: store the results; exclusion marks stay with the values.
    std::vector<bool> touched(DataColumns, false);
    for (const Change& change : changes) {
        const bool excluded = table.IsExcluded(change.row, change.column);
        table.SetValue(change.row, change.column, change.value);
        table.SetExcluded(change.row, change.column, excluded);
        touched[static_cast<std::size_t>(change.column)] = true;
        const std::int32_t decimals = StoredRuleDecimals(change.value);
        if (decimals > table.Decimals(change.column)) table.SetDecimals(change.column, decimals);
    }
    for (int c = 0; c < DataColumns; ++c) {
        if (touched[static_cast<std::size_t>(c)]) RecountRawData(table, c);
    }
    document.MarkModified();
    return true;
}

}  // namespace zelkon
