// Combine Variables.
#include "data/combine_columns.h"

#include <cfenv>
#include <cmath>

#include "data/data_messages.h"
#include "data/entered_value.h"

namespace zelkon {

namespace {

bool IsEmptyColumn(const Document& document, int c) {
    return !document.Table().ColumnHasValue(c) && !document.Data().HasMeanData(c);
}

}  // namespace

char CombineOperatorCharacter(CombineOperation operation) {
    switch (operation) {
        case CombineOperation::Plus: return '+';
        case CombineOperation::Minus: return '-';
        case CombineOperation::Times: return '*';
        case CombineOperation::DividedBy: return '/';
    }
    return '-';
}

std::optional<CombineSetup> PrepareCombine(const Document& document, int currentColumn,
                                           UserPrompts& prompts) {
    const DataTable& table = document.Table();
    if (!table.HasData()) {
        prompts.Tell(EnterDataFirstMessage);
        return std::nullopt;
    }
    CombineSetup setup;
    setup.targetColumn = -1;
    if (currentColumn >= 0 && currentColumn < DataColumns &&
        IsEmptyColumn(document, currentColumn)) {
        setup.targetColumn = currentColumn;
    }
    for (int c = 0; c < DataColumns && setup.targetColumn < 0; ++c) {
        if (IsEmptyColumn(document, c)) setup.targetColumn = c;
    }
    if (setup.targetColumn < 0) {
        prompts.Tell(NoEmptyColumnMessage);
        return std::nullopt;
    }
    for (int c = 0; c < DataColumns; ++c) {
        if (table.ColumnHasValue(c)) setup.columnsWithValues.push_back(c);
    }
    return setup;
}

void FillCombinedColumn(Document& document, int targetColumn, const CombineChoice& choice) {
    DataTable& table = document.Table();
    std::fexcept_t saved{};
    std::fegetexceptflag(&saved, FE_ALL_EXCEPT);
    table.Record(targetColumn).title = std::string(1, ColumnLetter(choice.firstColumn)) +
                                       CombineOperatorCharacter(choice.operation) +
                                       ColumnLetter(choice.secondColumn);
    for (int r = 0; r < DataRows; ++r) {
        const Extended a = table.Value(r, choice.firstColumn);
        const Extended b = table.Value(r, choice.secondColumn);
        Extended result = MissingValue;
        if (!IsMissingValue(a) && !IsMissingValue(b)) {
            switch (choice.operation) {
                case CombineOperation::Plus: result = a + b; break;
                case CombineOperation::Minus: result = a - b; break;
                case CombineOperation::Times: result = a * b; break;
                case CombineOperation::DividedBy: result = b == 0 ? MissingValue : a / b; break;
            }
            if (!std::isfinite(result)) result = MissingValue;
        }
        if (IsMissingValue(result) && table.IsMissing(r, targetColumn)) continue;
        table.SetValue(r, targetColumn, result);
        const std::int32_t decimals = StoredRuleDecimals(result);
        if (decimals > table.Decimals(targetColumn)) table.SetDecimals(targetColumn, decimals);
    }
    std::fesetexceptflag(&saved, FE_ALL_EXCEPT);
    RecountRawData(table, targetColumn);
    table.SetChanged(targetColumn, true);
    document.MarkModified();
}

bool CombineColumns(Document& document, int currentColumn, UserPrompts& prompts,
                    const CombineDialog& dialog) {
    const std::optional<CombineSetup> setup = PrepareCombine(document, currentColumn, prompts);
    if (!setup || !dialog) return false;
    const std::optional<CombineChoice> choice = dialog(*setup);
    if (!choice) return false;
    const auto offered = [&](int c) {
        for (int o : setup->columnsWithValues) {
            if (o == c) return true;
        }
        return false;
    };
    if (!offered(choice->firstColumn) || !offered(choice->secondColumn)) return false;
    FillCombinedColumn(document, setup->targetColumn, *choice);
    return true;
}

}  // namespace zelkon
