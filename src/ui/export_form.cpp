// The "Export" dialog: arrangement and titles of the data table's export.
#include "ui/export_form.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "data/data_messages.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

TExportForm::TExportForm(const ExportOptions& options, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExportForm"));
    setWindowTitle(ToQt(ExportDialogCaption));
    auto* layout = new QVBoxLayout(this);

    QGroupBox* arrangement = MakeQuestion(ExportArrangementCaption, "ArrangementGroupBox");
    auto* arrangementLayout = static_cast<QVBoxLayout*>(arrangement->layout());
    standard_ = AddRadio(arrangementLayout, ExportStandardCaption, "StandardFormatRadioButton");
    index_ = AddRadio(arrangementLayout, ExportIndexCaption, "IndexedColRadioButton");
    standard_->setChecked(!options.indexFormat);
    index_->setChecked(options.indexFormat);
    layout->addWidget(arrangement);

    QGroupBox* titles = MakeQuestion(ExportTitlesCaption, "TitlesGroupBox");
    auto* titlesLayout = static_cast<QVBoxLayout*>(titles->layout());
    sheetTitle_ = AddCheck(titlesLayout, ExportSheetTitleCaption, "TitleCheckBox");
    columnTitles_ = AddCheck(titlesLayout, ExportColumnTitlesCaption, "ColTitlesCheckBox");
    sheetTitle_->setChecked(options.sheetTitle);
    columnTitles_->setChecked(options.columnTitles);
    layout->addWidget(titles);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TExportForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TExportForm::reject);
    layout->addWidget(buttons);
}

ExportOptions TExportForm::Options() const {
    ExportOptions options;
    options.indexFormat = index_->isChecked();
    options.sheetTitle = sheetTitle_->isChecked();
    options.columnTitles = columnTitles_->isChecked();
    return options;
}

}  // namespace zelkon
