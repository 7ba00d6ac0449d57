// TImportForm: the "Import" dialog.  It shows what reading the file found (the account) and
// the preview of the text file in a grid (label columns greyed), and asks which columns and
// rows to take: all columns, a range of them, or an indexed layout with one column of values
// and one of group identifiers; optionally a range of rows and a filter on one column's
// value.  OK checks the choices; copying into the document is the caller's work.
#pragma once

#include <QDialog>

#include <optional>

#include "data/import_placement.h"
#include "data/text_import.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace zelkon {

class TImportForm : public QDialog {
    Q_OBJECT
public:
    /// The dialog over a preview read from `fileName` (shown in the caption).  The column
    /// fields run from 1 to the columns found, the row fields from 1 to the rows found.
    TImportForm(const ImportPreview& preview, const QString& fileName, QWidget* parent = nullptr);

    /// The choices as they stand, or nothing (after telling the user) when they cannot be
    /// used: the same column for values and groups, or a filter value that is not a number.
    std::optional<ImportOptions> CheckedOptions() const;
    /// The choices as they stand, unchecked.
    ImportOptions Options() const;

    /// OK: closes the dialog only when CheckedOptions() accepts the choices.
    void accept() override;

    QTableWidget* PreviewGrid() const { return grid_; }
    /// The account of the reading: encoding, fields left empty, columns and rows left out.
    QLabel* ImportAccountLabel() const { return account_; }
    QRadioButton* AllColsRadioButton() const { return allColumns_; }
    QRadioButton* ColRangeRadioButton() const { return columnRange_; }
    QRadioButton* IndexedColRadioButton() const { return indexed_; }
    QSpinBox* StartColumnField() const { return startColumn_; }
    QSpinBox* EndColumnField() const { return endColumn_; }
    QSpinBox* ValueColumnField() const { return valueColumn_; }
    QSpinBox* GroupAssignmentColField() const { return groupColumn_; }
    QCheckBox* RowRangeCheckBox() const { return rowRange_; }
    QSpinBox* StartRowField() const { return startRow_; }
    QSpinBox* EndRowField() const { return endRow_; }
    QCheckBox* FilterRowCheckBox() const { return filter_; }
    QSpinBox* FilterColumnField() const { return filterColumn_; }
    QComboBox* ConditionComboBox() const { return condition_; }
    QLineEdit* FilterValueField() const { return filterValue_; }

private:
    void FillPreview(const ImportPreview& preview);

    QLabel* account_ = nullptr;
    QTableWidget* grid_ = nullptr;
    QRadioButton* allColumns_ = nullptr;
    QRadioButton* columnRange_ = nullptr;
    QRadioButton* indexed_ = nullptr;
    QSpinBox* startColumn_ = nullptr;
    QSpinBox* endColumn_ = nullptr;
    QSpinBox* valueColumn_ = nullptr;
    QSpinBox* groupColumn_ = nullptr;
    QCheckBox* rowRange_ = nullptr;
    QSpinBox* startRow_ = nullptr;
    QSpinBox* endRow_ = nullptr;
    QCheckBox* filter_ = nullptr;
    QSpinBox* filterColumn_ = nullptr;
    QComboBox* condition_ = nullptr;
    QLineEdit* filterValue_ = nullptr;
};

}  // namespace zelkon
