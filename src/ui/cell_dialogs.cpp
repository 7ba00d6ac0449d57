#include "ui/cell_dialogs.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFocusEvent>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "data/data_messages.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

namespace {
QDialogButtonBox* AddOkCancel(QDialog* dialog, QBoxLayout* layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return buttons;
}

std::size_t ModeIndex(ShiftMode mode) { return static_cast<std::size_t>(mode); }
}  // namespace

void FitCaption(QDialog* dialog) {
    // The title bar holds the caption and the window manager's buttons (about three title
    // heights) beside it.
    const QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    const int title = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog);
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(dialog->windowTitle()) +
                       4 * std::max(title, 20) + 24;
    dialog->setMinimumWidth(std::max(dialog->minimumSizeHint().width(), wanted));
}

// Insert and delete -------------------------------------------------------------------------

TShiftForm::TShiftForm(std::string_view caption, const std::array<std::string_view, 3>& modeCaptions,
                       std::string_view hint, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(ToQt(caption));
    auto* layout = new QVBoxLayout(this);
    const char* names[3] = {"ShiftCellsRadioButton", "EntireRowsRadioButton", "EntireColumnsRadioButton"};
    for (std::size_t i = 0; i < buttons_.size(); ++i) buttons_[i] = AddRadio(layout, modeCaptions[i], names[i]);
    buttons_[0]->setChecked(true);
    if (!hint.empty()) {
        QLabel* label = MakeLabel(hint, "HintLabel");
        label->setMaximumWidth(320);
        layout->addWidget(label);
    }
    AddOkCancel(this, layout);
    FitCaption(this);
}

ShiftMode TShiftForm::Mode() const {
    if (buttons_[ModeIndex(ShiftMode::EntireRows)]->isChecked()) return ShiftMode::EntireRows;
    if (buttons_[ModeIndex(ShiftMode::EntireColumns)]->isChecked()) return ShiftMode::EntireColumns;
    return ShiftMode::ShiftCells;
}

void TShiftForm::SetMode(ShiftMode mode) { buttons_[ModeIndex(mode)]->setChecked(true); }

QRadioButton* TShiftForm::ModeButton(ShiftMode mode) const { return buttons_[ModeIndex(mode)]; }

TInsertForm::TInsertForm(QWidget* parent)
    : TShiftForm(InsertDialogCaption, {InsertShiftCaption, InsertRowsCaption, InsertColumnsCaption}, {},
                 parent) {
    setObjectName(QStringLiteral("InsertForm"));
}

TDeleteForm::TDeleteForm(QWidget* parent)
    : TShiftForm(DeleteDialogCaption, {DeleteShiftCaption, DeleteRowsCaption, DeleteColumnsCaption},
                 DeleteDialogHint, parent) {
    setObjectName(QStringLiteral("DeleteForm"));
}

// Titles of a copy ------------------------------------------------------------------------

TIncludeTitlesForm::TIncludeTitlesForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("IncludeTitlesForm"));
    setWindowTitle(ToQt(CopyTitlesDialogCaption));
    auto* layout = new QVBoxLayout(this);
    rowTitles_ = AddCheck(layout, CopyRowTitlesCaption, "RowTitlesCheckBox");
    columnTitles_ = AddCheck(layout, CopyColumnTitlesCaption, "ColumnTitlesCheckBox");
    rowTitles_->setChecked(true);
    columnTitles_->setChecked(true);
    AddOkCancel(this, layout);
    FitCaption(this);
}

CopyTitles TIncludeTitlesForm::Titles() const {
    CopyTitles titles;
    titles.rowTitles = rowTitles_->isChecked();
    titles.columnTitles = columnTitles_->isChecked();
    return titles;
}

// Integer field ---------------------------------------------------------------------------

TZLIntEdit::TZLIntEdit(std::int64_t minimum, std::int64_t maximum, QWidget* parent)
    : QLineEdit(parent), minimum_(minimum), maximum_(maximum), value_(minimum) {}

void TZLIntEdit::SetValue(std::int64_t value) {
    value_ = value;
    setText(QString::number(value));
}

bool TZLIntEdit::Validate() {
    std::int64_t value = 0;
    const auto message = CheckIntegerEntry(FromQt(text()), minimum_, maximum_, value);
    if (!message) {
        value_ = value;
        return true;
    }
    // The message box takes the focus; the flag keeps that from checking again.
    telling_ = true;
    Services().prompts->Tell(*message);
    telling_ = false;
    return false;
}

void TZLIntEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (telling_ || event->reason() == Qt::PopupFocusReason) return;
    if (!Validate()) {
        // The field keeps the focus until it holds a valid number.
        QTimer::singleShot(0, this, [this] {
            setFocus();
            selectAll();
        });
    }
}

}  // namespace zelkon
