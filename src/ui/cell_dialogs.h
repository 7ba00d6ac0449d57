// The small dialogs of the data sheet: inserting cells (TInsertForm), deleting cells
// (TDeleteForm), which titles a copy of everything takes (TIncludeTitlesForm), and the
// integer entry field the program's dialogs use (TZLIntEdit).
#pragma once

#include <QDialog>
#include <QLineEdit>

#include <array>
#include <cstdint>

#include "data/clipboard_text.h"
#include "data/sheet_editing.h"

class QCheckBox;
class QRadioButton;

namespace zelkon {

/// Widens a small dialog so that its title bar shows the whole caption beside the window
/// manager's buttons.
void FitCaption(QDialog* dialog);

/// The three modes of a shift dialog as radio buttons, "&Shift cells ..." chosen at first.
class TShiftForm : public QDialog {
    Q_OBJECT
public:
    ShiftMode Mode() const;
    void SetMode(ShiftMode mode);
    QRadioButton* ModeButton(ShiftMode mode) const;

protected:
    TShiftForm(std::string_view caption, const std::array<std::string_view, 3>& modeCaptions,
               std::string_view hint, QWidget* parent);

private:
    std::array<QRadioButton*, 3> buttons_{};
};

/// "&Insert cells...": caption "Insert ", shift cells down, entire rows or entire columns.
class TInsertForm final : public TShiftForm {
    Q_OBJECT
public:
    explicit TInsertForm(QWidget* parent = nullptr);
};

/// "&Delete cells...": caption "Delete", shift cells up, entire rows or entire columns, with
/// the hint about the DEL key.
class TDeleteForm final : public TShiftForm {
    Q_OBJECT
public:
    explicit TDeleteForm(QWidget* parent = nullptr);
};

/// "Copy to clipboard": whether a copy of everything takes the row and the column titles.
class TIncludeTitlesForm final : public QDialog {
    Q_OBJECT
public:
    explicit TIncludeTitlesForm(QWidget* parent = nullptr);

    CopyTitles Titles() const;
    QCheckBox* RowTitlesCheck() const { return rowTitles_; }
    QCheckBox* ColumnTitlesCheck() const { return columnTitles_; }

private:
    QCheckBox* rowTitles_ = nullptr;
    QCheckBox* columnTitles_ = nullptr;
};

/// Integer entry within bounds.  Leaving the field with text that is not a whole number
/// tells "The number is not valid.", with a number outside the bounds "The number is out of
/// range."; the field then keeps the focus.
class TZLIntEdit : public QLineEdit {
    Q_OBJECT
public:
    TZLIntEdit(std::int64_t minimum, std::int64_t maximum, QWidget* parent = nullptr);

    /// Checks the text, telling the user what is wrong; true when it holds a number within
    /// the bounds (then Value() returns it).
    bool Validate();
    std::int64_t Value() const { return value_; }
    void SetValue(std::int64_t value);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::int64_t minimum_;
    std::int64_t maximum_;
    std::int64_t value_ = 0;
    bool telling_ = false;
};

}  // namespace zelkon
