#include "ui/data_grid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "document/document.h"
#include "ui/spread_grid.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

namespace {
constexpr int DataTitleFieldLength = 100;
}  // namespace

TDataGridPage::TDataGridPage(Document& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    titleEdit_ = AddDataTitleRow(layout, "DataTitleEdit", DataTitleFieldLength);

    grid_ = new TSpreadGrid(document);
    layout->addWidget(grid_, 1);

    connect(titleEdit_, &QLineEdit::editingFinished, this, &TDataGridPage::StoreDataTitle);
    connect(grid_, &TSpreadGrid::edited, this, &TDataGridPage::edited);
}

TSpreadGridModel* TDataGridPage::Model() const { return grid_->Model(); }

void TDataGridPage::Prepare() {
    titleEdit_->setText(ToQt(document_.Table().DataTitle()));
    grid_->Prepare();
}

void TDataGridPage::StoreDataTitle() {
    const std::string title = FromQt(titleEdit_->text());
    if (title == document_.Table().DataTitle()) return;
    document_.Table().SetDataTitle(title);
    document_.MarkModified();
    emit edited();
}

void TDataGridPage::CommitPendingEdits() {
    grid_->CommitPendingEdits();
    StoreDataTitle();
}

void TDataGridPage::ScrollHome() {
    grid_->SetCurrentCell(0, 0);
    grid_->verticalScrollBar()->setValue(0);
    grid_->horizontalScrollBar()->setValue(0);
}

}  // namespace zelkon
