// Column selection: counts, the selected-columns text, pair order, the column and pair
// dialogs and the control column.
#include "document/column_selection.h"

#include <algorithm>

#include "document/choice_texts.h"

namespace zelkon {

bool HasColumnData(const DataTable& table, int c) { return table.Record(c).n > 0; }

bool IsSelectedDataColumn(const DataTable& table, int c) {
    return table.Selected(c) && HasColumnData(table, c);
}

bool IsAveragedColumn(const DataTable& table, int c) {
    return table.NoRawData(c) && HasColumnData(table, c);
}

bool HasRawColumnData(const DataTable& table, int c) {
    return !table.NoRawData(c) && HasColumnData(table, c);
}

int CountDataColumns(const DataTable& table) {
    int count = 0;
    for (int c = 0; c < DataColumns; ++c) {
        if (HasColumnData(table, c)) ++count;
    }
    return count;
}

int CountSelectedDataColumns(const DataTable& table) {
    return static_cast<int>(SelectedDataColumns(table).size());
}

std::vector<int> SelectedDataColumns(const DataTable& table) {
    std::vector<int> columns;
    for (int c = 0; c < DataColumns; ++c) {
        if (IsSelectedDataColumn(table, c)) columns.push_back(c);
    }
    return columns;
}

void SelectColumnsWithData(DataTable& table) {
    for (int c = 0; c < DataColumns; ++c) table.SetSelected(c, HasColumnData(table, c));
}

std::string SelectedColumnsText(const DataTable& table) {
    const std::vector<int> columns = SelectedDataColumns(table);
    std::string text;
    std::size_t i = 0;
    while (i < columns.size()) {
        std::size_t end = i;  // last index of the run of consecutive columns
        while (end + 1 < columns.size() && columns[end + 1] == columns[end] + 1) ++end;
        if (!text.empty()) text += ',';
        text += ColumnLetter(columns[i]);
        const std::size_t length = end - i + 1;
        if (length == 2) {
            text += "&&";
            text += ColumnLetter(columns[end]);
        } else if (length > 2) {
            text += '-';
            text += ColumnLetter(columns[end]);
        }
        i = end + 1;
    }
    return text;
}

std::string ColumnEntryText(const DataTable& table, int c) {
    std::string text(1, ColumnLetter(c));
    text += ": ";
    text += table.Record(c).title;
    return text;
}

int PairCount(int m) { return m < 2 ? 0 : m * (m - 1) / 2; }

int PairIndex(int i, int j, int m) {
    // Pairs before row i: (m-1) + (m-2) + ... + (m-i) = i (2m - i - 1) / 2.
    return i * (2 * m - i - 1) / 2 + (j - i - 1);
}

std::vector<ColumnPair> SelectedPairs(const DataTable& table) {
    const std::vector<int> columns = SelectedDataColumns(table);
    std::vector<ColumnPair> pairs;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        for (std::size_t j = i + 1; j < columns.size(); ++j) {
            pairs.push_back({columns[i], columns[j]});
        }
    }
    return pairs;
}

std::vector<ColumnEntry> ColumnDialogEntries(const DataTable& table) {
    std::vector<ColumnEntry> entries;
    for (int c = 0; c < DataColumns; ++c) {
        if (HasColumnData(table, c)) {
            entries.push_back({c, ColumnEntryText(table, c), table.Selected(c)});
        }
    }
    return entries;
}

std::string_view ApplyColumnDialog(DataTable& table, const std::vector<ColumnEntry>& entries) {
    const bool any = std::any_of(entries.begin(), entries.end(),
                                 [](const ColumnEntry& e) { return e.checked; });
    if (!any) return texts::NoColumnSelected;
    for (const ColumnEntry& e : entries) table.SetSelected(e.column, e.checked);
    return {};
}

std::vector<PairEntry> PairDialogEntries(const DataTable& table,
                                         const ColumnAnalysisChoices& choices) {
    std::vector<PairEntry> entries;
    const std::vector<ColumnPair> pairs = SelectedPairs(table);
    for (std::size_t k = 0; k < pairs.size() && k < choices.pairFlags.size(); ++k) {
        const ColumnPair& p = pairs[k];
        std::string text(1, ColumnLetter(p.first));
        text += ':';
        text += table.Record(p.first).title;
        text += '-';
        text += ColumnLetter(p.second);
        text += ':';
        text += table.Record(p.second).title;
        entries.push_back({p, std::move(text), choices.pairFlags[k] != 0});
    }
    return entries;
}

std::string_view ApplyPairDialog(ColumnAnalysisChoices& choices,
                                 const std::vector<PairEntry>& entries) {
    const bool any = std::any_of(entries.begin(), entries.end(),
                                 [](const PairEntry& e) { return e.checked; });
    if (!any) return texts::NoPairSelected;
    for (std::size_t k = 0; k < choices.pairFlags.size(); ++k) {
        choices.pairFlags[k] = k < entries.size() && entries[k].checked ? 1 : 0;
    }
    return {};
}

std::vector<ColumnEntry> ControlColumnEntries(const DataTable& table,
                                              const ColumnAnalysisChoices& choices) {
    std::vector<ColumnEntry> entries;
    for (int c : SelectedDataColumns(table)) {
        entries.push_back({c, ColumnEntryText(table, c), c == choices.controlColumn});
    }
    return entries;
}

void EnsureControlColumn(const DataTable& table, ColumnAnalysisChoices& choices) {
    const int c = choices.controlColumn;
    if (c >= 0 && c < DataColumns && IsSelectedDataColumn(table, c)) return;
    const std::vector<int> columns = SelectedDataColumns(table);
    if (!columns.empty()) choices.controlColumn = columns.front();
}

}  // namespace zelkon
