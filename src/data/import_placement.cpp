// Copying the chosen values of an import preview into a document.
#include "data/import_placement.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "core/latin1.h"
#include "data/data_messages.h"
#include "data/entered_value.h"
#include "data/selection.h"
#include "data/sheet_editing.h"

namespace zelkon {

namespace {

bool InRowRange(const ImportOptions& options, int sourceRow) {
    return !options.rowRange ||
           (sourceRow + 1 >= options.fromRow && sourceRow + 1 <= options.toRow);
}

bool PassesFilter(const ImportPreview& preview, const ImportOptions& options, int sourceRow) {
    if (!options.filter) return true;
    return SatisfiesFilter(preview.table->Value(sourceRow, options.filterColumn - 1),
                           options.condition, options.filterValue);
}

// A value with its exclusion mark; the target cell's old mark does not survive.
void PlaceValue(DataTable& target, int row, int column, const DataTable& source, int sourceRow,
                int sourceColumn) {
    target.SetValue(row, column, source.Value(sourceRow, sourceColumn));
    target.SetExcluded(row, column, source.IsExcluded(sourceRow, sourceColumn));
}

void FinishColumn(DataTable& target, int column, const DataTable& source, int sourceColumn) {
    target.SetDecimals(column, std::max(target.Decimals(column), source.Decimals(sourceColumn)));
    target.SetChanged(column, true);
    RecountRawData(target, column);
}

// Asks before values go into a column holding averaged data; true when the user agreed.
bool MayReplaceAveragedData(Document& document, int column, UserPrompts& prompts) {
    DataTable& table = document.Table();
    if (!table.NoRawData(column) || !document.Data().HasMeanData(column)) return true;
    if (prompts.Ask(MixingQuestionText(column), PromptButtons::YesNo) != PromptAnswer::Yes) {
        return false;
    }
    ColumnRecord& record = table.Record(column);
    record.mean = MissingValue;
    record.sd = MissingValue;
    record.sem = MissingValue;
    return true;
}

bool ImportBlock(Document& document, const ImportPreview& preview, const ImportOptions& options,
                 int startRow, int startColumn, UserPrompts& prompts) {
    const DataTable& source = *preview.table;
    DataTable& target = document.Table();
    int first = 0;
    int last = preview.columns - 1;
    if (options.columns == ImportColumns::Range) {
        first = std::max(options.fromColumn - 1, 0);
        last = std::min(options.toColumn - 1, DataColumns - 1);
    }

    // Source rows that give values and the target rows they go to.
    std::vector<std::pair<int, int>> rows;
    int taken = 0;
    for (int r = 0; r < preview.rows; ++r) {
        if (!PassesFilter(preview, options, r)) continue;
        const int targetRow = startRow + taken++;
        if (!InRowRange(options, r) || targetRow >= SheetRows) continue;
        rows.emplace_back(r, targetRow);
    }

    std::vector<std::pair<int, int>> columns;  // source column, target column
    for (int sc = first; sc <= last; ++sc) {
        const int tc = startColumn + (sc - first);
        if (tc >= DataColumns) break;
        columns.emplace_back(sc, tc);
    }
    // A label column is not placed; the columns after it keep their places.
    std::erase_if(columns, [&](const auto& pair) { return preview.IsLabelColumn(pair.first); });
    for (const auto& [sc, tc] : columns) {
        const int sourceColumn = sc;  // a structured binding cannot be captured before clang 16
        const bool receivesValue = std::any_of(rows.begin(), rows.end(), [&](const auto& row) {
            return !source.IsMissing(row.first, sourceColumn);
        });
        if (receivesValue && !MayReplaceAveragedData(document, tc, prompts)) return false;
    }
    for (const auto& [sc, tc] : columns) {
        for (const auto& [sr, tr] : rows) PlaceValue(target, tr, tc, source, sr, sc);
        if (preview.columnTitles && !source.Record(sc).title.empty()) {
            target.Record(tc).title = source.Record(sc).title;
        }
        FinishColumn(target, tc, source, sc);
    }
    // A first column of labels titles the rows.
    if (first == 0 && preview.IsLabelColumn(0)) {
        for (const auto& [sr, tr] : rows) {
            const std::size_t index = static_cast<std::size_t>(sr);
            if (index < preview.rowTitles.size() && !preview.rowTitles[index].empty()) {
                target.SetRowTitle(tr, preview.rowTitles[index]);
            }
        }
    }
    return true;
}

// The group of each source row of an indexed import whose group column holds labels: its
// text, in order of first appearance; rows without one are skipped.
bool ImportIndexedByLabel(Document& document, const ImportPreview& preview,
                          const ImportOptions& options, UserPrompts& prompts) {
    const DataTable& source = *preview.table;
    DataTable& target = document.Table();
    const int valueColumn = options.valueColumn - 1;
    const int groupColumn = options.groupColumn - 1;
    ClearSelection(document, Selection::All());
    std::vector<std::pair<std::string, int>> groups;  // label, next row
    bool dropped = false;
    for (int r = 0; r < preview.rows; ++r) {
        if (!PassesFilter(preview, options, r) || !InRowRange(options, r)) continue;
        const std::string_view label = preview.Text(r, groupColumn);
        if (label.empty()) continue;
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto& g) { return g.first == label; });
        if (group == groups.end()) {
            if (groups.size() == static_cast<std::size_t>(DataColumns)) {
                dropped = true;
                continue;
            }
            target.Record(static_cast<int>(groups.size())).title = std::string(label);
            groups.emplace_back(std::string(label), 0);
            group = groups.end() - 1;
        }
        const int column = static_cast<int>(group - groups.begin());
        if (group->second < SheetRows) {
            PlaceValue(target, group->second, column, source, r, valueColumn);
        }
        ++group->second;
    }
    for (int c = 0; c < static_cast<int>(groups.size()); ++c) {
        FinishColumn(target, c, source, valueColumn);
    }
    if (dropped) prompts.Tell(TooManyGroupsMessage(DataColumns));
    return true;
}

bool ImportIndexed(Document& document, const ImportPreview& preview,
                   const ImportOptions& options, UserPrompts& prompts) {
    if (options.valueColumn == options.groupColumn) {
        prompts.Tell(SameValueAndGroupColumnMessage);
        return false;
    }
    if (preview.IsLabelColumn(options.valueColumn - 1)) {
        prompts.Tell(ValueColumnWithoutNumbersMessage);
        return false;
    }
    if (preview.IsLabelColumn(options.groupColumn - 1)) {
        return ImportIndexedByLabel(document, preview, options, prompts);
    }
    const DataTable& source = *preview.table;
    DataTable& target = document.Table();
    const int valueColumn = options.valueColumn - 1;
    const int groupColumn = options.groupColumn - 1;
    ClearSelection(document, Selection::All());

    struct GroupSlot {
        Extended identifier = MissingValue;
        int nextRow = 0;
    };
    std::vector<GroupSlot> slots;
    bool dropped = false;
    for (int r = 0; r < preview.rows; ++r) {
        if (!PassesFilter(preview, options, r) || !InRowRange(options, r)) continue;
        const Extended identifier = source.Value(r, groupColumn);
        if (IsMissingValue(identifier)) continue;
        auto slot = std::find_if(slots.begin(), slots.end(), [&](const GroupSlot& s) {
            return s.identifier == identifier;
        });
        if (slot == slots.end()) {
            if (slots.size() == static_cast<std::size_t>(DataColumns)) {
                dropped = true;
                continue;
            }
            target.Record(static_cast<int>(slots.size())).title = GroupTitle(identifier);
            slots.push_back({identifier, 0});
            slot = slots.end() - 1;
        }
        const int column = static_cast<int>(slot - slots.begin());
        if (slot->nextRow < SheetRows) PlaceValue(target, slot->nextRow, column, source, r, valueColumn);
        ++slot->nextRow;
    }
    for (int c = 0; c < static_cast<int>(slots.size()); ++c) {
        FinishColumn(target, c, source, valueColumn);
    }
    if (dropped) prompts.Tell(TooManyGroupsMessage(DataColumns));
    return true;
}

}  // namespace

bool SatisfiesFilter(Extended value, FilterCondition condition, Extended filterValue) {
    if (IsMissingValue(value)) return condition == FilterCondition::NotEqual;
    switch (condition) {
        case FilterCondition::Equal:
            return value == filterValue;
        case FilterCondition::Greater:
            return value > filterValue;
        case FilterCondition::GreaterOrEqual:
            return value >= filterValue;
        case FilterCondition::Less:
            return value < filterValue;
        case FilterCondition::LessOrEqual:
            return value <= filterValue;
        case FilterCondition::NotEqual:
            return value != filterValue;
    }
    return false;
}

std::string GroupTitle(Extended identifier) {
    char buffer[5200];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, identifier,
                                       std::chars_format::fixed, 2);
    std::string text(buffer, written.ec == std::errc() ? written.ptr : buffer);
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text.substr(0, ColumnRecord::MaxTitle);
}

bool ImportTwoByTwoTable(Document& document, const ImportPreview& preview) {
    const DataTable& source = *preview.table;
    if (preview.columns != 3 || preview.rows != 2 || !preview.IsLabelColumn(0) ||
        preview.IsLabelColumn(1) || preview.IsLabelColumn(2)) {
        return false;
    }
    for (int r = 0; r < 2; ++r) {
        if (source.IsMissing(r, 1) && source.IsMissing(r, 2)) return false;
    }
    TwoByTwoRecord& record = document.Data().TwoByTwo();
    record.Clear();
    record.a = source.Value(0, 1);
    record.b = source.Value(0, 2);
    record.c = source.Value(1, 1);
    record.d = source.Value(1, 2);
    const auto label = [](std::string_view text) {
        return CutText(text, TwoByTwoRecord::MaxLabel);
    };
    record.column1Title = label(source.Record(1).title);
    record.column2Title = label(source.Record(2).title);
    record.row1Title = label(preview.Text(0, 0));
    record.row2Title = label(preview.Text(1, 0));
    document.Data().ChangeFormat(DataFormat::TwoByTwo);
    document.MarkModified();
    return true;
}

bool ImportIntoDocument(Document& document, const ImportPreview& preview,
                        const ImportOptions& options, int startRow, int startColumn,
                        UserPrompts& prompts) {
    bool imported = false;
    if (options.columns == ImportColumns::Indexed) {
        imported = ImportIndexed(document, preview, options, prompts);
    } else {
        imported = ImportBlock(document, preview, options, std::clamp(startRow, 0, SheetRows - 1),
                               std::clamp(startColumn, 0, DataColumns - 1), prompts);
    }
    if (imported) document.MarkModified();
    return imported;
}

}  // namespace zelkon
