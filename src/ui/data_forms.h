// The dialogs of the Data menu: "Transform" (TTransformForm), "Combine Variables"
// (TCombineVarForm) and "Number Format" (TNumberFormatForm), and the commands that run them
// through the shared dialog runner and hand the user's choice to the engine's operations.
#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "core/types.h"
#include "data/combine_columns.h"
#include "data/number_format.h"
#include "data/selection.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zelkon {

class Document;

/// "Transform": the transform list with the K field, shown only for the transforms that use
/// it.  Opens on "Y=K*Y" with K = 1.
class TTransformForm : public QDialog {
    Q_OBJECT
public:
    explicit TTransformForm(QWidget* parent = nullptr);

    QComboBox* TransformComboBox() const { return transforms_; }
    QLabel* KLabel() const { return kLabel_; }
    QLineEdit* KField() const { return kField_; }
    QLabel* HintLabel() const { return hint_; }

    /// The chosen transform's code (1 to 17).
    int Code() const;
    /// K as typed; nothing when the field does not hold a number.
    std::optional<Extended> K() const;
    /// OK: a transform that uses K needs a number in the field; otherwise "The number is not
    /// valid." is told and the dialog stays open (returns false).
    bool TryAccept();

private:
    void TransformChosen(int index);

    QComboBox* transforms_ = nullptr;
    QLabel* kLabel_ = nullptr;
    QLineEdit* kField_ = nullptr;
    QLabel* hint_ = nullptr;
};

/// "Combine Variables": the new column, the two columns that hold values and the operation
/// ("&Minus" checked at the start).
class TCombineVarForm : public QDialog {
    Q_OBJECT
public:
    explicit TCombineVarForm(const Document& document, const CombineSetup& setup,
                             QWidget* parent = nullptr);

    QLabel* TargetLabel() const { return target_; }
    QComboBox* FirstColumnComboBox() const { return first_; }
    QComboBox* SecondColumnComboBox() const { return second_; }
    /// The operation buttons in the order Plus, Minus, Times, Divided by.
    QRadioButton* OperationButton(CombineOperation operation) const;

    CombineChoice Choice() const;

private:
    QLabel* target_ = nullptr;
    QComboBox* first_ = nullptr;
    QComboBox* second_ = nullptr;
    std::vector<QRadioButton*> operations_;
};

/// "Number Format": the target columns, a fixed number of decimals or automatic decimals.
class TNumberFormatForm : public QDialog {
    Q_OBJECT
public:
    /// Largest number of decimals the fixed option takes (a cell shows 14 characters).
    static constexpr int MaxDecimals = 14;

    TNumberFormatForm(const std::string& targetText, const NumberFormatChoice& current,
                      int shownDecimals, QWidget* parent = nullptr);

    QLabel* TargetLabel() const { return target_; }
    QRadioButton* FixedRadioButton() const { return fixed_; }
    QRadioButton* AutoRadioButton() const { return automatic_; }
    QLineEdit* NumDecField() const { return decimals_; }

    /// The choice; valid after TryAccept returned true.
    NumberFormatChoice Choice() const;
    /// OK: with the fixed option the field must hold a whole number from 0 to MaxDecimals;
    /// otherwise "The number is not valid." or "The number is out of range." is told and the
    /// dialog stays open (returns false).
    bool TryAccept();

private:
    QLabel* target_ = nullptr;
    QRadioButton* fixed_ = nullptr;
    QRadioButton* automatic_ = nullptr;
    QLineEdit* decimals_ = nullptr;
};

/// "Transform": runs the dialog and, on OK, transforms the selection (asking first when some
/// values cannot be transformed).  Returns true when values were changed.
bool RunTransformCommand(Document& document, const Selection& selection, QWidget* parent);

/// "Combine Variables": the checks and their messages, the dialog, the new column.  Returns
/// the filled column, or nothing.
std::optional<int> RunCombineCommand(Document& document, int currentColumn, QWidget* parent);

/// "Number Format": runs the dialog for the selection's columns and applies the choice.
/// Returns the columns to redraw.
std::vector<int> RunNumberFormatCommand(Document& document, const Selection& selection,
                                        QWidget* parent);

}  // namespace zelkon
