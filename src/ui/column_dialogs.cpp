#include "ui/column_dialogs.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/choice_texts.h"
#include "document/document.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

namespace {

QListWidget* MakeCheckList(const char* name) {
    auto* list = new QListWidget;
    list->setObjectName(QString::fromLatin1(name));
    return list;
}

void AddCheckItem(QListWidget* list, const std::string& text, bool checked) {
    auto* item = new QListWidgetItem(ToQt(text), list);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QDialogButtonBox* AddOkCancel(QDialog* dialog, QVBoxLayout* layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

}  // namespace

TSelectColumnsForm::TSelectColumnsForm(Document& document, QWidget* parent)
    : QDialog(parent), document_(document), entries_(ColumnDialogEntries(document.Table())) {
    setWindowTitle(ToQt(texts::ColumnDialogCaption));
    auto* layout = new QVBoxLayout(this);
    list_ = MakeCheckList("ColumnsCheckListBox");
    for (const ColumnEntry& entry : entries_) AddCheckItem(list_, entry.text, entry.checked);
    layout->addWidget(list_);
    QDialogButtonBox* buttons = AddOkCancel(this, layout);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { TryAccept(); });
}

bool TSelectColumnsForm::TryAccept() {
    std::vector<ColumnEntry> entries = entries_;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].checked = list_->item(static_cast<int>(i))->checkState() == Qt::Checked;
    }
    const std::string_view message = ApplyColumnDialog(document_.Table(), entries);
    if (!message.empty()) {
        Services().prompts->Tell(message);
        return false;
    }
    document_.MarkModified();
    accept();
    return true;
}

TSelectPairsForm::TSelectPairsForm(Document& document, QWidget* parent)
    : QDialog(parent),
      document_(document),
      entries_(PairDialogEntries(document.Table(), document.Choices().columns)) {
    setWindowTitle(ToQt(texts::PairDialogCaption));
    auto* layout = new QVBoxLayout(this);
    list_ = MakeCheckList("PairsCheckListBox");
    for (const PairEntry& entry : entries_) AddCheckItem(list_, entry.text, entry.checked);
    layout->addWidget(list_);
    auto* row = new QHBoxLayout;
    selectAll_ = MakeButton(texts::SelectAllPairs, "SelectAllButton");
    deselectAll_ = MakeButton(texts::DeselectAllPairs, "DeselectAllButton");
    row->addWidget(selectAll_);
    row->addWidget(deselectAll_);
    row->addStretch(1);
    layout->addLayout(row);
    connect(selectAll_, &QPushButton::clicked, this, [this] { CheckAll(true); });
    connect(deselectAll_, &QPushButton::clicked, this, [this] { CheckAll(false); });
    QDialogButtonBox* buttons = AddOkCancel(this, layout);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { TryAccept(); });
}

void TSelectPairsForm::CheckAll(bool checked) {
    for (int i = 0; i < list_->count(); ++i) {
        list_->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

bool TSelectPairsForm::TryAccept() {
    std::vector<PairEntry> entries = entries_;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].checked = list_->item(static_cast<int>(i))->checkState() == Qt::Checked;
    }
    const std::string_view message = ApplyPairDialog(document_.Choices().columns, entries);
    if (!message.empty()) {
        Services().prompts->Tell(message);
        return false;
    }
    document_.MarkModified();
    accept();
    return true;
}

}  // namespace zelkon
