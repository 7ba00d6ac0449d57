// TExportForm: the "Export" dialog of the data table's export, with its arrangement (standard
// or index format) and titles (sheet title row, column titles) options.
#pragma once

#include <QDialog>

#include "data/export.h"

class QCheckBox;
class QRadioButton;

namespace zelkon {

class TExportForm : public QDialog {
    Q_OBJECT
public:
    /// The dialog with the given choices shown (the defaults: standard format, both titles).
    explicit TExportForm(const ExportOptions& options = {}, QWidget* parent = nullptr);

    /// The choices as they stand.
    ExportOptions Options() const;

    QRadioButton* StandardFormatRadioButton() const { return standard_; }
    QRadioButton* IndexedColRadioButton() const { return index_; }
    QCheckBox* TitleCheckBox() const { return sheetTitle_; }
    QCheckBox* ColTitlesCheckBox() const { return columnTitles_; }

private:
    QRadioButton* standard_ = nullptr;
    QRadioButton* index_ = nullptr;
    QCheckBox* sheetTitle_ = nullptr;
    QCheckBox* columnTitles_ = nullptr;
};

}  // namespace zelkon
