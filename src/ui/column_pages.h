// The choose-test pages for one column ("OneColumn": one-sample t test or Wilcoxon test
// against a hypothetical value) and for two columns ("TwoColumns": paired or unpaired,
// Gaussian or not, one or two tails).
#pragma once

#include <array>

#include "ui/choice_page.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zelkon {

class TOneColumnPage : public TChoicePage {
    Q_OBJECT
public:
    explicit TOneColumnPage(Document& document, QWidget* parent = nullptr);
    void Prepare() override;

    QLabel* SelectedLabel() const { return selectedLabel_; }
    QPushButton* SelectButton() const { return selectButton_; }
    QRadioButton* TTestButton() const { return tTest_; }
    QRadioButton* WilcoxonButton() const { return wilcoxon_; }
    QRadioButton* OneTailButton() const { return oneTail_; }
    QRadioButton* TwoTailButton() const { return twoTail_; }
    /// The hypothetical-value radio buttons: 0.0, 1.0, 100 and the typed value.
    QRadioButton* ValueButton(int choice) const { return values_[static_cast<std::size_t>(choice)]; }
    QLineEdit* ValueEdit() const { return valueEdit_; }

private:
    void ValueEntered();

    QLabel* selectedLabel_ = nullptr;
    QPushButton* selectButton_ = nullptr;
    QRadioButton* tTest_ = nullptr;
    QRadioButton* wilcoxon_ = nullptr;
    QRadioButton* oneTail_ = nullptr;
    QRadioButton* twoTail_ = nullptr;
    std::array<QRadioButton*, 4> values_{};
    QLineEdit* valueEdit_ = nullptr;
};

class TTwoColumnPage : public TChoicePage {
    Q_OBJECT
public:
    explicit TTwoColumnPage(Document& document, QWidget* parent = nullptr);
    void Prepare() override;

    QLabel* SelectedLabel() const { return selectedLabel_; }
    QPushButton* SelectButton() const { return selectButton_; }
    QRadioButton* UnpairedButton() const { return unpaired_; }
    QRadioButton* PairedButton() const { return paired_; }
    QRadioButton* NonparametricButton() const { return nonparametric_; }
    QRadioButton* StudentButton() const { return student_; }
    QRadioButton* WelchButton() const { return welch_; }
    QRadioButton* OneTailButton() const { return oneTail_; }
    QRadioButton* TwoTailButton() const { return twoTail_; }
    QLabel* TestLabel() const { return testLabel_; }

private:
    QLabel* selectedLabel_ = nullptr;
    QPushButton* selectButton_ = nullptr;
    QRadioButton* unpaired_ = nullptr;
    QRadioButton* paired_ = nullptr;
    QRadioButton* nonparametric_ = nullptr;
    QRadioButton* student_ = nullptr;
    QRadioButton* welch_ = nullptr;
    QRadioButton* oneTail_ = nullptr;
    QRadioButton* twoTail_ = nullptr;
    QLabel* testLabel_ = nullptr;
};

}  // namespace zelkon
