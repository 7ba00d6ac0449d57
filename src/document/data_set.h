// The data set of one document: its data table, two-by-two record, data format and the
// SD-or-SEM flag, with the document-level operations on them (column counts, the
// format-change rules, averaged-data entry, raw entry into averaged columns, numbers typed
// as column titles).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "core/column_record.h"
#include "core/data_format.h"
#include "core/data_table.h"
#include "core/platform.h"

namespace zelkon {

/// The rows of the statistics grid that the user types into for averaged data.
enum class AveragedRow {
    Mean,   ///< "Mean"
    Error,  ///< the SD row when ErrorIsSD, the SEM row otherwise
    N       ///< "Sample size (N)"
};

/// A typed, pasted or imported number the sheet cannot hold: the missing-value marker
/// 1.7E38 and every larger magnitude.
inline constexpr std::string_view ValueTooLargeMessage =
    "The number is too large. Values must lie between -1.7E38 and 1.7E38.";

/// Told when a count typed into the N row of averaged data is not a whole number.
inline constexpr std::string_view CountNotWholeMessage =
    "The sample size (N) must be a whole number.";

/// What an averaged-data entry did.
struct AveragedEntryResult {
    /// The record changed (the document has been marked modified).
    bool changed = false;
    /// The record's derived statistics (the other error, the 95% limits) must be recomputed
    /// by the column statistics (the typed-summary form of FillSummary) before the record is
    /// shown or used.  Set exactly when changed is set.
    bool needsRecompute = false;
};

/// What leaving a column-title field did.
struct ColumnTitleResult {
    std::string title;            ///< the title now in the record (possibly emptied)
    bool valueStored = false;     ///< the number went into the first data row
};

/// Remembers, for one run of the program, that the user answered No to the question about a
/// number typed as a column title.  The application owns one and passes it in.
struct NumberTitleQuestionMemory {
    bool answeredNo = false;
};

/// The question asked before raw data is typed into a column holding averaged data.
std::string MixingQuestionText(int column);
/// The question asked when a column title is a number.
inline constexpr std::string_view NumberTitleQuestionText =
    "You entered a number as the column title. Is this number supposed to go into the first "
    "data row instead?";

class DataSet {
public:
    DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    DataTable& Table() { return *table_; }
    const DataTable& Table() const { return *table_; }
    TwoByTwoRecord& TwoByTwo() { return twoByTwo_; }
    const TwoByTwoRecord& TwoByTwo() const { return twoByTwo_; }

    DataFormat Format() const { return format_; }
    /// Sets the format without the step-1 rules (the file reader, a new document).
    void SetFormat(DataFormat format) { format_ = format; }
    /// True when the averaged error is typed as SD, false when as SEM.
    bool ErrorIsSD() const { return errorIsSD_; }
    void SetErrorIsSD(bool errorIsSD) { errorIsSD_ = errorIsSD; }

    /// The function MarkModified calls (the document sets its needs-recalculation and
    /// changed-since-saved flags there).
    void SetModifiedHook(std::function<void()> hook) { modifiedHook_ = std::move(hook); }
    /// Called by every edit of the data set.
    void MarkModified();

    /// The document's reset: the table's reset and the two-by-two record cleared.  The
    /// format and the SD-or-SEM flag are left as they are.
    void Reset();

    // Counting columns --------------------------------------------------------------------
    /// Columns whose record has N > 0.
    std::int32_t DataColumnCount() const;
    /// Columns that are selected and have N > 0.
    std::int32_t SelectedDataColumnCount() const;
    /// Selects exactly the columns with N <> 0.
    void SelectAllDataColumns();
    /// False when N = 0; otherwise true when the mean, SD or SEM of the record holds a value.
    bool HasMeanData(int column) const;

    // Step 1 --------------------------------------------------------------------------------
    /// Clicking a format's radio button: sets the format, marks the document modified and
    /// applies that format's rule (changed flags, ErrorIsSD, seeding the two-by-two record
    /// from the table, clearing averaged statistics for multiple regression).
    void ChangeFormat(DataFormat format);
    /// Showing the data page: in the X-and-Y format the titles of columns C to Z are emptied.
    void PrepareDataPage();

    // Averaged data ---------------------------------------------------------------------------
    /// The user typed text into the mean, error or N row of a column of the statistics grid.
    /// A text that does not parse stores MissingValue (N stores 0); a mean or error of
    /// magnitude 1.7E38 or more is refused with ValueTooLargeMessage and changes nothing;
    /// a number typed as N that
    /// is not whole (10.5) is refused with CountNotWholeMessage and changes nothing, a whole
    /// one in another notation (1E2) is taken; N outside 2 to
    /// 2147483647 stores 0 and clears every statistic except the mean; a mean left missing
    /// sounds the beep.  The error not typed (SEM when ErrorIsSD, SD otherwise) is emptied
    /// so that the recomputation derives it from the typed one.
    AveragedEntryResult EnterAveragedValue(int column, AveragedRow row, std::string_view text,
                                           Separators separators, UserPrompts& prompts);
    /// Before the summary page recomputes the statistics: a record with N > 0 whose mean is
    /// missing, or whose SD and SEM are both missing, gets N = 0 and every statistic except
    /// the mean emptied.
    void PrepareSummaryPage();

    // Raw data and titles -------------------------------------------------------------------
    /// The user typed a raw value into a cell.  Into a column that has no raw data but holds
    /// averaged data, the user is first asked whether to erase the averaged data; No leaves
    /// the cell as it was and returns false.  Otherwise the value is stored, a value clears
    /// the column's no-raw-data flag, the document is marked modified and true is returned.
    bool EnterRawValue(int row, int column, Extended value, UserPrompts& prompts);
    /// The user left a column-title field.  A title that is a number may, after a question,
    /// go into the first data row instead (through EnterRawValue, so the averaged-data
    /// question still applies; the title is emptied only when the value was stored).  The
    /// title is copied into the record and the document is marked modified.
    ColumnTitleResult EnterColumnTitle(int column, std::string_view text, Separators separators,
                                       UserPrompts& prompts, NumberTitleQuestionMemory& memory);

private:
    static void ClearAllButMean(ColumnRecord& record);

    std::unique_ptr<DataTable> table_;
    TwoByTwoRecord twoByTwo_;
    DataFormat format_ = DataFormat::Raw;
    bool errorIsSD_ = true;
    std::function<void()> modifiedHook_;
};

}  // namespace zelkon
