// Which columns take part in a column analysis: the counts of data columns, the text of the
// "Selected: " labels, the order of column pairs, the column dialog, the pair dialog and
// the control column of Dunnett's test.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/analysis_choices.h"
#include "core/data_table.h"

namespace zelkon {

/// One entry of a column list: the column, its text (letter, ": ", title) and whether it is
/// checked (or, in a single-choice list, current).
struct ColumnEntry {
    int column = 0;
    std::string text;
    bool checked = false;
};

/// Two columns compared by a post test, first before second.
struct ColumnPair {
    int first = 0;
    int second = 0;
};

/// One entry of the pair dialog.
struct PairEntry {
    ColumnPair pair;
    std::string text;  ///< "A:title-B:title"
    bool checked = false;
};

/// True when column c has data (N > 0 in its record).
bool HasColumnData(const DataTable& table, int c);
/// True when column c is selected and has data.
bool IsSelectedDataColumn(const DataTable& table, int c);
/// True when column c holds averaged data: no raw value was ever entered but N > 0.
bool IsAveragedColumn(const DataTable& table, int c);
/// True when column c holds raw data: raw values were entered and N > 0.
bool HasRawColumnData(const DataTable& table, int c);

/// Number of columns with N > 0.
int CountDataColumns(const DataTable& table);
/// Number of selected columns with N > 0.
int CountSelectedDataColumns(const DataTable& table);
/// The selected columns with N > 0, in ascending order.
std::vector<int> SelectedDataColumns(const DataTable& table);
/// Selects exactly the columns with data (selected := N <> 0 for all 26 columns).
void SelectColumnsWithData(DataTable& table);

/// The letters of the selected data columns, runs compressed: "C", "A&&B" (a label shows
/// one ampersand), "A-D", runs joined by ","; empty with no selected data column.
std::string SelectedColumnsText(const DataTable& table);

/// "A: title" for column c.
std::string ColumnEntryText(const DataTable& table, int c);

// Pair order ---------------------------------------------------------------------------

/// Number of pairs of m columns: m (m - 1) / 2.
int PairCount(int m);
/// Number of pair (i, j), 0 <= i < j < m, in the order (0,1), (0,2), ..., (0,m-1), (1,2), ...
int PairIndex(int i, int j, int m);
/// The pairs of the selected data columns in pair order.
std::vector<ColumnPair> SelectedPairs(const DataTable& table);

// Column dialog ("Select Columns") ------------------------------------------------------

/// One entry per column with data, checked when the column is selected.
std::vector<ColumnEntry> ColumnDialogEntries(const DataTable& table);
/// OK of the column dialog.  With no entry checked returns the message to show (the dialog
/// stays open and nothing changes); otherwise sets the selected flag of each listed column
/// from its entry and returns an empty text.  The caller then marks the document modified,
/// refreshes the "Selected: " labels and runs the choose-test set-up again.
std::string_view ApplyColumnDialog(DataTable& table, const std::vector<ColumnEntry>& entries);

// Pair dialog ("Select Pairs") ----------------------------------------------------------

/// One entry per pair of selected data columns, in pair order, checked from the pair flags.
std::vector<PairEntry> PairDialogEntries(const DataTable& table,
                                         const ColumnAnalysisChoices& choices);
/// OK of the pair dialog.  With no entry checked returns the message to show and changes
/// nothing; otherwise flag k becomes entry k's check, the flags beyond the listed pairs are
/// cleared, and an empty text is returned (the caller marks the document modified).
std::string_view ApplyPairDialog(ColumnAnalysisChoices& choices,
                                 const std::vector<PairEntry>& entries);

// Control column ------------------------------------------------------------------------

/// The control-column list: every selected data column, the current control column checked.
std::vector<ColumnEntry> ControlColumnEntries(const DataTable& table,
                                              const ColumnAnalysisChoices& choices);
/// When the control column is not a selected column with data it becomes the first selected
/// column with data (unchanged when there is none).
void EnsureControlColumn(const DataTable& table, ColumnAnalysisChoices& choices);

}  // namespace zelkon
