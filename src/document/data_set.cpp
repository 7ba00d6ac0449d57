// The data set of one document and the document-level operations on it.
#include "document/data_set.h"

#include <cmath>
#include <cstdint>

#include "core/latin1.h"
#include "core/number_parse.h"
#include "document/column_selection.h"

namespace zelkon {

namespace {
constexpr std::int64_t MaxTypedN = 2147483647;
}  // namespace

std::string MixingQuestionText(int column) {
    std::string text = "Column ";
    text += ColumnLetter(column);
    text += " contains data entered as mean and error. You cannot";
    text += " enter raw data without erasing the mean data. Erase mean data?";
    return text;
}

DataSet::DataSet() : table_(std::make_unique<DataTable>()) {}

void DataSet::MarkModified() {
    if (modifiedHook_) modifiedHook_();
}

void DataSet::Reset() {
    table_->ResetAll();
    twoByTwo_.Clear();
}

// Counting columns ------------------------------------------------------------------------

std::int32_t DataSet::DataColumnCount() const { return CountDataColumns(*table_); }

std::int32_t DataSet::SelectedDataColumnCount() const {
    return CountSelectedDataColumns(*table_);
}

void DataSet::SelectAllDataColumns() { SelectColumnsWithData(*table_); }

bool DataSet::HasMeanData(int column) const {
    if (column < 0 || column >= DataColumns) return false;
    const ColumnRecord& r = table_->Record(column);
    if (r.n == 0) return false;
    return !IsMissingValue(r.mean) || !IsMissingValue(r.sd) || !IsMissingValue(r.sem);
}

// Step 1 ----------------------------------------------------------------------------------

void DataSet::ChangeFormat(DataFormat format) {
    format_ = format;
    MarkModified();
    switch (format) {
        case DataFormat::Raw:
            for (int c = 0; c < DataColumns; ++c) table_->SetChanged(c, true);
            break;
        case DataFormat::MeanSDN:
            errorIsSD_ = true;
            break;
        case DataFormat::MeanSEMN:
            errorIsSD_ = false;
            break;
        case DataFormat::TwoByTwo:
            if (table_->HasData() && twoByTwo_.AllCellsMissing()) {
                twoByTwo_.a = table_->Value(0, 0);
                twoByTwo_.b = table_->Value(1, 0);
                twoByTwo_.c = table_->Value(0, 1);
                twoByTwo_.d = table_->Value(1, 1);
            }
            break;
        case DataFormat::MultipleRegression:
            for (int c = 0; c < DataColumns; ++c) {
                table_->SetChanged(c, true);
                if (table_->NoRawData(c)) {
                    ColumnRecord& r = table_->Record(c);
                    r.mean = MissingValue;
                    r.sd = MissingValue;
                    r.sem = MissingValue;
                }
            }
            break;
        case DataFormat::XY:
        case DataFormat::LargerTable:
            break;
    }
}

void DataSet::PrepareDataPage() {
    if (format_ != DataFormat::XY) return;
    for (int c = 2; c < DataColumns; ++c) table_->Record(c).title.clear();
}

// Averaged data ---------------------------------------------------------------------------

void DataSet::ClearAllButMean(ColumnRecord& record) {
    const Extended mean = record.mean;
    const std::string title = record.title;
    const bool passed = record.passed;
    record.Clear();
    record.title = title;
    record.mean = mean;
    record.passed = passed;
}

namespace {

/// Reads a typed mean or error: text that is no number empties the cell (MissingValue); the
/// missing-value marker and larger magnitudes are refused with a message, so that a typed
/// value is never emptied without a word.  False when refused.
bool ReadTypedSummary(std::string_view text, Separators separators, Extended& value,
                      UserPrompts& prompts) {
    value = MissingValue;
    Extended number = MissingValue;
    const NumberReading reading = ReadNumber(text, separators, false, number);
    if (TooLargeForSheet(reading, number)) {
        prompts.Tell(ValueTooLargeMessage);
        return false;
    }
    if (reading == NumberReading::Number) value = number;
    return true;
}

}  // namespace

AveragedEntryResult DataSet::EnterAveragedValue(int column, AveragedRow row,
                                                std::string_view text, Separators separators,
                                                UserPrompts& prompts) {
    AveragedEntryResult result;
    if (column < 0 || column >= DataColumns) return result;
    ColumnRecord& record = table_->Record(column);
    Extended& typedError = errorIsSD_ ? record.sd : record.sem;
    Extended& derivedError = errorIsSD_ ? record.sem : record.sd;

    switch (row) {
        case AveragedRow::Mean: {
            Extended value = MissingValue;
            if (!ReadTypedSummary(text, separators, value, prompts)) return result;
            if (IsMissingValue(value)) prompts.Beep();
            if (value == record.mean) return result;
            record.mean = value;
            break;
        }
        case AveragedRow::Error: {
            Extended value = MissingValue;
            if (!ReadTypedSummary(text, separators, value, prompts)) return result;
            if (value == typedError) return result;
            typedError = value;
            break;
        }
        case AveragedRow::N: {
            std::int64_t typed = 0;
            if (!ParseInteger(text, typed)) {
                // A number that is not a count is refused, so that 10.5 never becomes 105
                // nor 0.
                Extended number = MissingValue;
                if (ParseNumber(text, separators, number) && !IsMissingValue(number)) {
                    if (number != std::floor(number)) {
                        prompts.Tell(CountNotWholeMessage);
                        return result;
                    }
                    typed = std::fabs(number) <= MaxTypedN ? static_cast<std::int64_t>(number) : 0;
                } else {
                    typed = 0;
                }
            }
            if (typed == record.n) return result;
            record.n = typed >= 2 && typed <= MaxTypedN ? static_cast<std::int32_t>(typed) : 0;
            if (record.n < 2) {
                record.n = 0;
                ClearAllButMean(record);
            }
            break;
        }
    }
    // The error the user did not type is derived from the typed one; emptying it makes
    // the recomputation take the typed error (it would otherwise keep the stale one).
    if (row == AveragedRow::Error || !IsMissingValue(typedError)) derivedError = MissingValue;

    MarkModified();
    result.changed = true;
    result.needsRecompute = true;
    return result;
}

void DataSet::PrepareSummaryPage() {
    for (int c = 0; c < DataColumns; ++c) {
        ColumnRecord& r = table_->Record(c);
        if (r.n <= 0) continue;
        if (IsMissingValue(r.mean) || (IsMissingValue(r.sd) && IsMissingValue(r.sem))) {
            r.n = 0;
            ClearAllButMean(r);
        }
    }
}

// Raw data and titles ---------------------------------------------------------------------

bool DataSet::EnterRawValue(int row, int column, Extended value, UserPrompts& prompts) {
    if (row < 0 || row >= DataRows || column < 0 || column >= DataColumns) return false;
    const bool isValue = !IsMissingValue(value);
    if (isValue && table_->NoRawData(column) && HasMeanData(column)) {
        if (prompts.Ask(MixingQuestionText(column), PromptButtons::YesNo) != PromptAnswer::Yes) {
            return false;
        }
        ColumnRecord& r = table_->Record(column);
        r.mean = MissingValue;
        r.sd = MissingValue;
        r.sem = MissingValue;
    }
    table_->SetValue(row, column, value);
    if (isValue) table_->SetNoRawData(column, false);
    MarkModified();
    return true;
}

ColumnTitleResult DataSet::EnterColumnTitle(int column, std::string_view text,
                                            Separators separators, UserPrompts& prompts,
                                            NumberTitleQuestionMemory& memory) {
    ColumnTitleResult result;
    if (column < 0 || column >= DataColumns) return result;
    result.title = CutText(SanitizeLatin1(text), ColumnRecord::MaxTitle);
    Extended value = MissingValue;
    if (!memory.answeredNo && ParseNumber(result.title, separators, value) &&
        !IsMissingValue(value)) {
        if (prompts.Ask(NumberTitleQuestionText, PromptButtons::YesNo) == PromptAnswer::Yes) {
            if (EnterRawValue(0, column, value, prompts)) {
                result.title.clear();
                result.valueStored = true;
            }
        } else {
            memory.answeredNo = true;
        }
    }
    table_->Record(column).title = result.title;
    MarkModified();
    return result;
}

}  // namespace zelkon
