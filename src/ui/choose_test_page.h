// Step 4, the choose-test page: the page the data format and the number of selected columns
// call for ("OneColumn", "TwoColumns", "ThreeOrMoreColumns", "2X2", "Fit",
// "MultipleRegression"), prepared by the engine's SetUpChooseTest, and the column and pair
// dialogs its buttons open.
#pragma once

#include <QWidget>

#include "document/steps.h"

class QStackedWidget;

namespace zelkon {

class Document;
class TChoicePage;
class TFitPage;
class TMultipleRegressionPage;
class TOneColumnPage;
class TThreeOrMoreColumnsPage;
class TTwoByTwoChoicePage;
class TTwoColumnPage;

class TChooseTestPage : public QWidget {
    Q_OBJECT
public:
    explicit TChooseTestPage(Document& document, QWidget* parent = nullptr);

    /// Brings the choices up to date (SetUpChooseTest) and shows the page they call for.
    void Prepare();
    /// The page shown.
    ChooseTestPage Shown() const { return shown_; }
    TChoicePage* ShownPage() const;

    TOneColumnPage* OneColumn() const { return oneColumn_; }
    TTwoColumnPage* TwoColumns() const { return twoColumns_; }
    TThreeOrMoreColumnsPage* ThreeOrMore() const { return threeOrMore_; }
    TTwoByTwoChoicePage* TwoByTwo() const { return twoByTwo_; }
    TFitPage* Fit() const { return fit_; }
    TMultipleRegressionPage* MultipleRegression() const { return multipleRegression_; }

    /// Opens the "Select Columns" / "Select Pairs" dialog; after OK the page is prepared
    /// again (so it follows the new number of columns).
    void OpenColumnDialog();
    void OpenPairDialog();

signals:
    void edited();
    void showResultsRequested();

private:
    void AddPage(TChoicePage* page);

    Document& document_;
    QStackedWidget* stack_ = nullptr;
    QWidget* nothingToChoose_ = nullptr;
    TOneColumnPage* oneColumn_ = nullptr;
    TTwoColumnPage* twoColumns_ = nullptr;
    TThreeOrMoreColumnsPage* threeOrMore_ = nullptr;
    TTwoByTwoChoicePage* twoByTwo_ = nullptr;
    TFitPage* fit_ = nullptr;
    TMultipleRegressionPage* multipleRegression_ = nullptr;
    ChooseTestPage shown_ = ChooseTestPage::None;
};

}  // namespace zelkon
