// The choose-test pages of the table formats: "2X2" (the test, Yates' correction, the sides
// of the P value and what else to calculate), "Fit" (regression or correlation of X and Y)
// and "MultipleRegression" (multiple regression or a correlation matrix, and the variables).
#pragma once

#include "ui/choice_page.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace zelkon {

class TTwoByTwoChoicePage : public TChoicePage {
    Q_OBJECT
public:
    explicit TTwoByTwoChoicePage(Document& document, QWidget* parent = nullptr);
    void Prepare() override;

    QRadioButton* FisherButton() const { return fisher_; }
    QRadioButton* ChiSquareButton() const { return chiSquare_; }
    QRadioButton* McNemarButton() const { return mcNemar_; }
    QCheckBox* YatesBox() const { return yates_; }
    QRadioButton* OneSidedButton() const { return oneSided_; }
    QRadioButton* TwoSidedButton() const { return twoSided_; }
    QRadioButton* OddsRatioButton() const { return oddsRatio_; }
    QRadioButton* RelativeRiskButton() const { return relativeRisk_; }
    QRadioButton* SensitivityButton() const { return sensitivity_; }

private:
    QRadioButton* fisher_ = nullptr;
    QRadioButton* chiSquare_ = nullptr;
    QRadioButton* mcNemar_ = nullptr;
    QCheckBox* yates_ = nullptr;
    QRadioButton* oneSided_ = nullptr;
    QRadioButton* twoSided_ = nullptr;
    QRadioButton* oddsRatio_ = nullptr;
    QRadioButton* relativeRisk_ = nullptr;
    QRadioButton* sensitivity_ = nullptr;
};

class TFitPage : public TChoicePage {
    Q_OBJECT
public:
    explicit TFitPage(Document& document, QWidget* parent = nullptr);
    void Prepare() override;

    QRadioButton* LinearButton() const { return linear_; }
    QRadioButton* ForcedButton() const { return forced_; }
    QRadioButton* PearsonButton() const { return pearson_; }
    QRadioButton* SpearmanButton() const { return spearman_; }
    QLineEdit* ForceXEdit() const { return forceX_; }
    QLineEdit* ForceYEdit() const { return forceY_; }
    QRadioButton* RunsTestButton() const { return runsTest_; }
    QRadioButton* NoRunsTestButton() const { return noRunsTest_; }
    QCheckBox* InterpolateBox() const { return interpolate_; }

private:
    void StorePoint(QLineEdit* edit, bool isX);

    QButtonGroup* testGroup_ = nullptr;
    QRadioButton* linear_ = nullptr;
    QRadioButton* forced_ = nullptr;
    QRadioButton* pearson_ = nullptr;
    QRadioButton* spearman_ = nullptr;
    QLineEdit* forceX_ = nullptr;
    QLineEdit* forceY_ = nullptr;
    QRadioButton* runsTest_ = nullptr;
    QRadioButton* noRunsTest_ = nullptr;
    QCheckBox* interpolate_ = nullptr;
};

class TMultipleRegressionPage : public TChoicePage {
    Q_OBJECT
public:
    explicit TMultipleRegressionPage(Document& document, QWidget* parent = nullptr);
    void Prepare() override;

    QRadioButton* RegressionButton() const { return regression_; }
    QRadioButton* MatrixButton() const { return matrix_; }
    QLabel* VariablesLabel() const { return variablesLabel_; }
    QComboBox* DependentBox() const { return dependent_; }
    QListWidget* VariablesList() const { return variables_; }
    QPushButton* SelectAllButton() const { return selectAll_; }
    QPushButton* DeselectAllButton() const { return deselectAll_; }

private:
    void VariableChecked(QListWidgetItem* item);
    void ChooseDependent(int index);
    void SetAll(bool include);

    QRadioButton* regression_ = nullptr;
    QRadioButton* matrix_ = nullptr;
    QLabel* variablesLabel_ = nullptr;
    QComboBox* dependent_ = nullptr;
    QListWidget* variables_ = nullptr;
    QPushButton* selectAll_ = nullptr;
    QPushButton* deselectAll_ = nullptr;
};

}  // namespace zelkon
