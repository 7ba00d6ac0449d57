#include "ui/choose_test_page.h"

#include <QStackedWidget>
#include <QVBoxLayout>

#include "document/document.h"
#include "stats/column_stats.h"
#include "ui/column_dialogs.h"
#include "ui/column_pages.h"
#include "ui/multi_column_page.h"
#include "ui/table_choice_pages.h"
#include "ui/ui_services.h"

namespace zelkon {

TChooseTestPage::TChooseTestPage(Document& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    stack_ = new QStackedWidget;
    layout->addWidget(stack_);
    nothingToChoose_ = new QWidget;
    stack_->addWidget(nothingToChoose_);
    oneColumn_ = new TOneColumnPage(document);
    twoColumns_ = new TTwoColumnPage(document);
    threeOrMore_ = new TThreeOrMoreColumnsPage(document);
    twoByTwo_ = new TTwoByTwoChoicePage(document);
    fit_ = new TFitPage(document);
    multipleRegression_ = new TMultipleRegressionPage(document);
    oneColumn_->setObjectName(QStringLiteral("OneColumn"));
    twoColumns_->setObjectName(QStringLiteral("TwoColumns"));
    threeOrMore_->setObjectName(QStringLiteral("ThreeOrMoreColumns"));
    twoByTwo_->setObjectName(QStringLiteral("2X2"));
    fit_->setObjectName(QStringLiteral("Fit"));
    multipleRegression_->setObjectName(QStringLiteral("MultipleRegression"));
    for (TChoicePage* page : {static_cast<TChoicePage*>(oneColumn_), static_cast<TChoicePage*>(twoColumns_),
                              static_cast<TChoicePage*>(threeOrMore_), static_cast<TChoicePage*>(twoByTwo_),
                              static_cast<TChoicePage*>(fit_), static_cast<TChoicePage*>(multipleRegression_)}) {
        AddPage(page);
    }
}

void TChooseTestPage::AddPage(TChoicePage* page) {
    stack_->addWidget(page);
    connect(page, &TChoicePage::edited, this, &TChooseTestPage::edited);
    connect(page, &TChoicePage::showResultsRequested, this, &TChooseTestPage::showResultsRequested);
    connect(page, &TChoicePage::selectColumnsRequested, this, &TChooseTestPage::OpenColumnDialog);
    connect(page, &TChoicePage::selectPairsRequested, this, &TChooseTestPage::OpenPairDialog);
}

TChoicePage* TChooseTestPage::ShownPage() const {
    switch (shown_) {
        case ChooseTestPage::OneColumn: return oneColumn_;
        case ChooseTestPage::TwoColumns: return twoColumns_;
        case ChooseTestPage::ThreeOrMoreColumns: return threeOrMore_;
        case ChooseTestPage::TwoByTwo: return twoByTwo_;
        case ChooseTestPage::Fit: return fit_;
        case ChooseTestPage::MultipleRegression: return multipleRegression_;
        case ChooseTestPage::None: return nullptr;
    }
    return nullptr;
}

void TChooseTestPage::Prepare() {
    DataTable& table = document_.Table();
    shown_ = SetUpChooseTest(document_.Format(), table, document_.Choices(),
                             [&table] { UpdateColumnSummaries(table); });
    TChoicePage* page = ShownPage();
    if (page == nullptr) {
        stack_->setCurrentWidget(nothingToChoose_);
        return;
    }
    page->Prepare();
    stack_->setCurrentWidget(page);
}

void TChooseTestPage::OpenColumnDialog() {
    TSelectColumnsForm dialog(document_, this);
    if (Services().runDialog(dialog) == QDialog::Accepted) emit edited();
    Prepare();
}

void TChooseTestPage::OpenPairDialog() {
    TSelectPairsForm dialog(document_, this);
    if (Services().runDialog(dialog) == QDialog::Accepted) emit edited();
    Prepare();
}

}  // namespace zelkon
