#include "app/guide.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <array>

#include "ui/ui_services.h"

namespace zelkon {

namespace {

constexpr std::array<std::string_view, 2> Page1 = {
    "Kestrane Zelkon takes you step by step through statistical analyses. The first step is to "
    "tell Zelkon what kind of data you wish to enter. This choice is important, as it "
    "determines which family of tests Zelkon will offer.",
    "At each step, the Zelkon Guide will explain your options. Before you can continue, you "
    "must close the Guide window by pressing \"Close\" below. Then make your choices, and press "
    "the blue arrow button (lower right of the Window) to go to the next step."};
constexpr std::array<std::string_view, 2> Page2 = {
    "After closing this Guide window, enter, import or paste your data. Then press the blue "
    "right arrow button at the bottom right of the window to go to the next step.",
    "Press a button at the lower left of the window to learn how to arrange your data "
    "(important with Zelkon) and how to import data (including indexed or stacked data). As "
    "you move from step to step, these buttons will provide help on different topics."};
constexpr std::array<std::string_view, 3> Page3 = {
    "This summary statistics screen shows the mean, SD, SEM, confidence interval, etc. for "
    "each column. You can also enter data here as mean, SD and N for each group.",
    "After closing this Guide window, press the blue right arrow button to go to the next "
    "step.",
    "Press the \"Explain the results\" button for definitions of all the statistical terms and "
    "a discussion of how they are used."};
constexpr std::array<std::string_view, 4> Page4 = {
    "Zelkon presents choices based on the  kind of data and the number of groups of data you "
    "entered. ",
    "Press \"Help me choose\" (lower left) to learn which alternative is best for your data. ",
    "Close this Guide window. Then make your choices, and press the blue right arrow button to "
    "go to the next step.",
    "Zelkon automatically analyzes all columns of data. For some tests, you will see choices "
    "for restricting analysis to selected columns."};
constexpr std::array<std::string_view, 3> Page5 = {
    "Press the \"Checklist\" button (lower left) to confirm that you picked an appropriate "
    "test and to understand the results. ",
    "An Zelkon file contains one data table and the results of one test. Press \"What's "
    "next\" to learn how to manage multiple analyses.",
    "You don't have to follow Zelkon's steps in order. Use the six step buttons (bottom "
    "right) to jump from step to step. If you edit the data or change the calculation "
    "choices, Zelkon will automatically update the results."};
constexpr std::array<std::string_view, 1> Page6 = {
    "This is a notebook quality graph, suitable for getting a sense of your data and to spot "
    "errors in data entry. You cannot change or edit the graph, but can print it or copy it to "
    "the clipboard."};

}  // namespace

std::span<const std::string_view> GuideParagraphs(Step step) {
    switch (step) {
        case Step::Start: return Page1;
        case Step::DataTable: return Page2;
        case Step::SummaryStats: return Page3;
        case Step::ChooseTest: return Page4;
        case Step::Results: return Page5;
        case Step::Graph: return Page6;
    }
    return {};
}

QPoint GuidePosition(const QRect& mainWindow, const QSize& guide, Step step) {
    const int top = mainWindow.top() + 75;
    if (step == Step::Start) {
        return {mainWindow.left() + (mainWindow.width() - guide.width()) / 2, top};
    }
    return {mainWindow.left() + mainWindow.width() - guide.width() - 15, top};
}

TZelkonGuide::TZelkonGuide(Step step, bool showHints, QWidget* parent) : QDialog(parent), step_(step) {
    setObjectName(QStringLiteral("ZelkonGuide"));
    setWindowTitle(QStringLiteral("Zelkon Guide"));
    setModal(true);
    setFixedWidth(420);
    auto* layout = new QVBoxLayout(this);
    notebook_ = new QStackedWidget;
    notebook_->setObjectName(QStringLiteral("GuideNotebook"));
    notebook_->setToolTip(ToQt(GuideNotebookHint));
    for (int s = 1; s <= 6; ++s) {
        auto* page = new QWidget;
        auto* pageLayout = new QVBoxLayout(page);
        for (std::string_view paragraph : GuideParagraphs(static_cast<Step>(s))) {
            auto* label = new QLabel(ToQt(paragraph));
            label->setWordWrap(true);
            label->setTextFormat(Qt::PlainText);
            pageLayout->addWidget(label);
        }
        pageLayout->addStretch(1);
        notebook_->addWidget(page);
    }
    notebook_->setCurrentIndex(static_cast<int>(step) - 1);
    layout->addWidget(notebook_, 1);
    keepShowing_ = new QCheckBox(ToQt(GuideKeepShowing));
    keepShowing_->setObjectName(QStringLiteral("KeepShowingCheckBox"));
    keepShowing_->setChecked(showHints);
    layout->addWidget(keepShowing_);
    auto* buttons = new QDialogButtonBox;
    QPushButton* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("CloseButton"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    adjustSize();
}

bool TZelkonGuide::ShowHints() const { return keepShowing_->isChecked(); }

}  // namespace zelkon
