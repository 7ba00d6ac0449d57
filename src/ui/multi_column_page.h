// The choose-test page for three or more columns ("ThreeOrMoreColumns"): which columns,
// matched or not, Gaussian or not, and the post test with its check box, control column and
// pair selection.
#pragma once

#include "ui/choice_page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zelkon {

class TThreeOrMoreColumnsPage : public TChoicePage {
    Q_OBJECT
public:
    explicit TThreeOrMoreColumnsPage(Document& document, QWidget* parent = nullptr);
    void Prepare() override;

    QLabel* SelectedLabel() const { return selectedLabel_; }
    QRadioButton* AllColumnsButton() const { return allColumns_; }
    QRadioButton* SelectedColumnsButton() const { return selectedColumns_; }
    QPushButton* SelectButton() const { return selectButton_; }
    QRadioButton* OrdinaryButton() const { return ordinary_; }
    QRadioButton* RepeatedButton() const { return repeated_; }
    QRadioButton* ParametricButton() const { return parametric_; }
    QRadioButton* NonparametricButton() const { return nonparametric_; }
    QComboBox* PostTestBox() const { return postTest_; }
    QCheckBox* ContingentBox() const { return contingent_; }
    QLabel* ControlLabel() const { return controlLabel_; }
    QComboBox* ControlBox() const { return control_; }
    QPushButton* PairsButton() const { return pairsButton_; }
    QLabel* TestLabel() const { return testLabel_; }

    /// The user chose post-test list item `item`.
    void ChooseItem(int item);
    /// The user clicked the "Only perform post test if P<0.05." check box.
    void ClickContingent(bool checked);
    /// The user chose entry `index` of the control-column list.
    void ChooseControl(int index);

private:
    void FillPostTestList();
    void ShowPostTestControls();

    QLabel* selectedLabel_ = nullptr;
    QRadioButton* allColumns_ = nullptr;
    QRadioButton* selectedColumns_ = nullptr;
    QPushButton* selectButton_ = nullptr;
    QRadioButton* ordinary_ = nullptr;
    QRadioButton* repeated_ = nullptr;
    QRadioButton* parametric_ = nullptr;
    QRadioButton* nonparametric_ = nullptr;
    QComboBox* postTest_ = nullptr;
    QCheckBox* contingent_ = nullptr;
    QLabel* controlLabel_ = nullptr;
    QComboBox* control_ = nullptr;
    QPushButton* pairsButton_ = nullptr;
    QLabel* testLabel_ = nullptr;
    /// The item the list shows (kept apart from the record, which may hold a choice that the
    /// list of the other method shows differently).
    int shownItem_ = 0;
};

}  // namespace zelkon
