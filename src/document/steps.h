// The six steps of a document: their captions, which are available for each data format,
// moving to the next and previous step, the start page's families and test lists, and the
// preparation of step 4 (which choose-test page, the column count class).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

#include "core/analysis_choices.h"
#include "core/data_format.h"
#include "core/data_table.h"

namespace zelkon {

/// The steps, numbered as on their buttons.
enum class Step { Start = 1, DataTable, SummaryStats, ChooseTest, Results, Graph };

/// The captions of one step: page, step-button hint, "&Steps" menu item and its shortcut.
struct StepInfo {
    Step step;
    std::string_view page;
    std::string_view hint;
    std::string_view menuItem;
    std::string_view shortcut;
};

/// The six steps in order.
std::span<const StepInfo> StepInfos();
const StepInfo& StepInfoOf(Step step);

/// Whether a step is available for the data format (steps 1, 5 and 6 always are).
bool StepEnabled(DataFormat format, Step step);
/// The first enabled step after `current`; none from step 6 or while a calculation runs.
std::optional<Step> NextStep(DataFormat format, Step current, bool calculating = false);
/// The first enabled step before `current`; none from step 1 or while a calculation runs.
std::optional<Step> PreviousStep(DataFormat format, Step current, bool calculating = false);
/// The next-step button is enabled on every step but the last, the previous-step button on
/// every step but the first.
bool NextStepButtonEnabled(Step current);
bool PreviousStepButtonEnabled(Step current);

// Start page ----------------------------------------------------------------------------

/// The goals under "A. Specify your goal".
enum class FormatFamily { CompareMeans, Regression, Contingency };

std::string_view FamilyCaption(FormatFamily family);
/// The formats a family enables; the first is checked when the family is chosen.
std::span<const DataFormat> FamilyFormats(FormatFamily family);
FormatFamily FamilyOf(DataFormat format);
/// The two example lines shown for a family.
std::span<const std::string_view> FamilyExampleLines(FormatFamily family);
/// Whether a format's radio button is enabled: it belongs to the family, and the averaged
/// formats are disabled while the table holds data.
bool FormatEnabled(DataFormat format, FormatFamily family, bool tableHasData);
/// The format checked after the data check: an averaged format becomes "Raw data." while
/// the table holds data.
DataFormat FormatAfterDataCheck(DataFormat format, bool tableHasData);
/// The tests listed for a format, with the group headings ("1 group:", ...) as lines.
std::span<const std::string_view> FormatTestList(DataFormat format);

// Step 4 --------------------------------------------------------------------------------

/// The choose-test pages (None: the larger contingency table has nothing to choose).
enum class ChooseTestPage {
    None,
    Fit,
    TwoByTwo,
    MultipleRegression,
    OneColumn,
    TwoColumns,
    ThreeOrMoreColumns
};

/// The column count class of a number of selected data columns: 0, 1, 2, or 3 for three or
/// more.
std::uint8_t ColumnCountClass(int selectedDataColumns);
/// "OneColumn" for class 1, "TwoColumns" for 2, "ThreeOrMoreColumns" for 0 and 3.
ChooseTestPage ColumnPageOf(std::uint8_t columnCountClass);

/// The page of step 4 for the format and the column count class stored by the last
/// preparation (as `SetUpChooseTest` returned it then).
ChooseTestPage ChooseTestPageOf(DataFormat format, const AnalysisChoices& choices);

/// The data-column bookkeeping: when the number of data columns has grown since it was last
/// seen and the all-columns flag is set, every column with data is selected; when it has
/// shrunk, the all-columns flag is cleared; the new number is remembered.
void UpdateDataColumnBookkeeping(DataTable& table, AnalysisChoices& choices);
/// Remembers the current number of data columns (after a data file was read).
void RecountDataColumns(const DataTable& table, AnalysisChoices& choices);

/// Prepares step 4 for the data format and returns the page to show.  For raw data and
/// multiple regression `updateColumnStatistics` (may be empty) is called first to bring the
/// column statistics up to date.  For the column formats this selects every column with
/// data when no selected column has any, does the data-column bookkeeping, stores the
/// column count class and prepares the page (the averaged-data restrictions of the one- and
/// two-column pages, the control column of the multi-column page); for multiple regression
/// it fixes the dependent column.
ChooseTestPage SetUpChooseTest(DataFormat format, DataTable& table, AnalysisChoices& choices,
                               const std::function<void()>& updateColumnStatistics = {});

}  // namespace zelkon
