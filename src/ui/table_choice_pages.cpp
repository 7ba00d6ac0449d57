#include "ui/table_choice_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/number_parse.h"
#include "core/stored_number.h"
#include "document/choice_texts.h"
#include "document/choose_test.h"
#include "document/document.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

namespace {
QVBoxLayout* BoxLayout(QGroupBox* box) { return static_cast<QVBoxLayout*>(box->layout()); }
}  // namespace

// 2X2 ----------------------------------------------------------------------------------------

TTwoByTwoChoicePage::TTwoByTwoChoicePage(Document& document, QWidget* parent)
    : TChoicePage(document, parent) {
    auto* layout = new QVBoxLayout(this);
    QGroupBox* test = MakeQuestion(texts::SelectTestQuestion, "TestGroupBox");
    fisher_ = AddRadio(BoxLayout(test), texts::FisherChoice, "FisherRadioButton");
    chiSquare_ = AddRadio(BoxLayout(test), texts::ChiSquareChoice, "ChiSquareRadioButton");
    mcNemar_ = AddRadio(BoxLayout(test), texts::McNemarChoice, "McNemarRadioButton");
    layout->addWidget(test);
    QGroupBox* yates = MakeQuestion(texts::YatesQuestion, "YatesGroupBox");
    yates_ = AddCheck(BoxLayout(yates), texts::YatesChoice, "YatesCheckBox");
    layout->addWidget(yates);
    QGroupBox* sides = MakeQuestion(texts::PValueQuestion, "SidesGroupBox");
    oneSided_ = AddRadio(BoxLayout(sides), texts::OneSidedChoice, "OneSidedRadioButton");
    twoSided_ = AddRadio(BoxLayout(sides), texts::TwoSidedChoice, "TwoSidedRadioButton");
    layout->addWidget(sides);
    QGroupBox* also = MakeQuestion(texts::AlsoCalculateQuestion, "AlsoCalculateGroupBox");
    oddsRatio_ = AddRadio(BoxLayout(also), texts::OddsRatioChoice, "OddsRatioRadioButton");
    relativeRisk_ = AddRadio(BoxLayout(also), texts::RelativeRiskChoice, "RelativeRiskRadioButton");
    sensitivity_ = AddRadio(BoxLayout(also), texts::SensitivityChoice, "SensitivityRadioButton");
    layout->addWidget(also);
    layout->addStretch(1);

    TwoByTwoChoices& t = document_.Choices().twoByTwo;
    auto test_ = [this, &t](std::uint8_t value) {
        t.test = value;
        Changed();
    };
    connect(fisher_, &QRadioButton::clicked, this, [test_] { test_(TwoByTwoTest::Fisher); });
    connect(chiSquare_, &QRadioButton::clicked, this, [test_] { test_(TwoByTwoTest::ChiSquare); });
    connect(mcNemar_, &QRadioButton::clicked, this, [test_] { test_(TwoByTwoTest::McNemar); });
    connect(yates_, &QCheckBox::clicked, this, [this, &t](bool on) { t.yates = on ? 1 : 0; Changed(); });
    connect(oneSided_, &QRadioButton::clicked, this, [this, &t] { t.twoSided = 0; Changed(); });
    connect(twoSided_, &QRadioButton::clicked, this, [this, &t] { t.twoSided = 1; Changed(); });
    auto also_ = [this, &t](AlsoCalculate which) {
        SetAlsoCalculate(t, which);
        Changed();
    };
    connect(oddsRatio_, &QRadioButton::clicked, this, [also_] { also_(AlsoCalculate::OddsRatio); });
    connect(relativeRisk_, &QRadioButton::clicked, this, [also_] { also_(AlsoCalculate::RelativeRisk); });
    connect(sensitivity_, &QRadioButton::clicked, this, [also_] { also_(AlsoCalculate::Sensitivity); });
    for (QWidget* w : {static_cast<QWidget*>(fisher_), static_cast<QWidget*>(chiSquare_),
                       static_cast<QWidget*>(mcNemar_), static_cast<QWidget*>(yates_),
                       static_cast<QWidget*>(oneSided_), static_cast<QWidget*>(twoSided_),
                       static_cast<QWidget*>(oddsRatio_), static_cast<QWidget*>(relativeRisk_),
                       static_cast<QWidget*>(sensitivity_)}) {
        WatchOption(w);
    }
}

void TTwoByTwoChoicePage::Prepare() {
    const TwoByTwoChoices& t = document_.Choices().twoByTwo;
    switch (TwoByTwoTestFromFile(t.test)) {
        case TwoByTwoTest::ChiSquare: chiSquare_->setChecked(true); break;
        case TwoByTwoTest::McNemar: mcNemar_->setChecked(true); break;
        default: fisher_->setChecked(true); break;
    }
    yates_->setChecked(t.yates != 0);
    yates_->setEnabled(YatesApplies(t));
    (t.twoSided != 0 ? twoSided_ : oneSided_)->setChecked(true);
    switch (AlsoCalculateOf(t)) {
        case AlsoCalculate::OddsRatio: oddsRatio_->setChecked(true); break;
        case AlsoCalculate::RelativeRisk: relativeRisk_->setChecked(true); break;
        case AlsoCalculate::Sensitivity: sensitivity_->setChecked(true); break;
    }
}

// Fit ----------------------------------------------------------------------------------------

TFitPage::TFitPage(Document& document, QWidget* parent) : TChoicePage(document, parent) {
    auto* layout = new QVBoxLayout(this);
    QGroupBox* test = MakeQuestion(texts::WhichTestQuestion, "TestGroupBox");
    testGroup_ = new QButtonGroup(this);
    linear_ = AddRadio(BoxLayout(test), texts::LinearRegressionChoice, "LinearRegressionRadioButton");
    auto* forcedRow = new QHBoxLayout;
    forced_ = new QRadioButton(ToQt(texts::ForcedRegressionChoice));
    forced_->setObjectName(QStringLiteral("ForcedRegressionRadioButton"));
    forcedRow->addWidget(forced_);
    forcedRow->addWidget(new QLabel(ToQt(texts::ForceXLabel)));
    forceX_ = new QLineEdit;
    forceX_->setObjectName(QStringLiteral("ForceX"));
    forceX_->setMaximumWidth(100);
    forcedRow->addWidget(forceX_);
    forcedRow->addWidget(new QLabel(ToQt(texts::ForceYLabel)));
    forceY_ = new QLineEdit;
    forceY_->setObjectName(QStringLiteral("ForceY"));
    forceY_->setMaximumWidth(100);
    forcedRow->addWidget(forceY_);
    forcedRow->addStretch(1);
    BoxLayout(test)->addLayout(forcedRow);
    pearson_ = AddRadio(BoxLayout(test), texts::PearsonChoice, "PearsonRadioButton");
    spearman_ = AddRadio(BoxLayout(test), texts::SpearmanChoice, "SpearmanRadioButton");
    for (QRadioButton* r : {linear_, forced_, pearson_, spearman_}) testGroup_->addButton(r);
    layout->addWidget(test);
    QGroupBox* linearity = MakeQuestion(texts::LinearityQuestion, "LinearityGroupBox");
    runsTest_ = AddRadio(BoxLayout(linearity), texts::RunsTestChoice, "RunsTestRadioButton");
    noRunsTest_ = AddRadio(BoxLayout(linearity), texts::NoRunsTestChoice, "NoRunsTestRadioButton");
    layout->addWidget(linearity);
    QGroupBox* curve = MakeQuestion(texts::StandardCurveQuestion, "StandardCurveGroupBox");
    interpolate_ = AddCheck(BoxLayout(curve), texts::InterpolateCheck, "InterpolateCheckBox");
    layout->addWidget(curve);
    layout->addStretch(1);

    XYChoices& xy = document_.Choices().xy;
    auto choose = [this, &xy](FitChoice choice) {
        ChooseFit(xy, choice);
        Changed();
    };
    connect(linear_, &QRadioButton::clicked, this, [choose] { choose(FitChoice::LinearRegression); });
    connect(forced_, &QRadioButton::clicked, this, [choose] { choose(FitChoice::ForcedRegression); });
    connect(pearson_, &QRadioButton::clicked, this, [choose] { choose(FitChoice::Pearson); });
    connect(spearman_, &QRadioButton::clicked, this, [choose] { choose(FitChoice::Spearman); });
    connect(runsTest_, &QRadioButton::clicked, this, [this, &xy] { xy.runsTest = 1; Changed(); });
    connect(noRunsTest_, &QRadioButton::clicked, this, [this, &xy] { xy.runsTest = 0; Changed(); });
    connect(interpolate_, &QCheckBox::clicked, this, [this, &xy](bool on) {
        xy.interpolate = on ? 1 : 0;
        Changed();
    });
    // Clicking into a field of the point checks the forced regression; typing stores it.
    Watcher()->Watch(forceX_);
    Watcher()->Watch(forceY_);
    connect(Watcher(), &OptionWatcher::pressed, this, [this, &xy](QWidget* w) {
        if ((w != forceX_ && w != forceY_) || FitChoiceOf(xy) == FitChoice::ForcedRegression) return;
        ChooseFit(xy, FitChoice::ForcedRegression);
        Changed();
    });
    connect(forceX_, &QLineEdit::textEdited, this, [this] { StorePoint(forceX_, true); });
    connect(forceY_, &QLineEdit::textEdited, this, [this] { StorePoint(forceY_, false); });
    for (QRadioButton* r : {linear_, forced_, pearson_, spearman_, runsTest_, noRunsTest_}) WatchOption(r);
    WatchOption(interpolate_);
}

void TFitPage::StorePoint(QLineEdit* edit, bool isX) {
    Extended value = MissingValue;
    if (!ParseNumber(FromQt(edit->text()), Services().separators, value)) return;
    XYChoices& xy = document_.Choices().xy;
    Extended& stored = isX ? xy.ForceX : xy.ForceY;
    if (stored == value) return;
    stored = value;
    document_.MarkModified();
    emit edited();
}

void TFitPage::Prepare() {
    const XYChoices& xy = document_.Choices().xy;
    QRadioButton* checked = nullptr;
    switch (FitChoiceOf(xy)) {
        case FitChoice::LinearRegression: checked = linear_; break;
        case FitChoice::ForcedRegression: checked = forced_; break;
        case FitChoice::Pearson: checked = pearson_; break;
        case FitChoice::Spearman: checked = spearman_; break;
        case FitChoice::None: break;
    }
    CheckInGroup(testGroup_, checked);
    if (!forceX_->hasFocus()) forceX_->setText(ShownNumber(FormatStoredNumber(xy.ForceX)));
    if (!forceY_->hasFocus()) forceY_->setText(ShownNumber(FormatStoredNumber(xy.ForceY)));
    const bool linearity = LinearityOptionsEnabled(xy);
    runsTest_->setEnabled(linearity);
    noRunsTest_->setEnabled(linearity);
    interpolate_->setEnabled(linearity);
    (xy.runsTest != 0 ? runsTest_ : noRunsTest_)->setChecked(true);
    interpolate_->setChecked(xy.interpolate != 0);
}

// Multiple regression ------------------------------------------------------------------------

TMultipleRegressionPage::TMultipleRegressionPage(Document& document, QWidget* parent)
    : TChoicePage(document, parent) {
    auto* layout = new QVBoxLayout(this);
    QGroupBox* kind = MakeQuestion(texts::WhichAnalysisQuestion, "AnalysisGroupBox");
    regression_ = AddRadio(BoxLayout(kind), texts::MultipleRegressionChoice, "MultipleRegressionRadioButton");
    matrix_ = AddRadio(BoxLayout(kind), texts::CorrelationMatrixChoice, "CorrelationMatrixRadioButton");
    layout->addWidget(kind);
    QGroupBox* variables = MakeQuestion(texts::SelectVariablesQuestion, "VariablesGroupBox");
    auto* dependentRow = new QHBoxLayout;
    dependentRow->addWidget(new QLabel(QStringLiteral("Dependent (Y) variable:")));
    dependent_ = new QComboBox;
    dependent_->setObjectName(QStringLiteral("DependentYComboBox"));
    dependentRow->addWidget(dependent_);
    dependentRow->addStretch(1);
    BoxLayout(variables)->addLayout(dependentRow);
    variablesLabel_ = MakeLabel("", "VariablesLabel");
    BoxLayout(variables)->addWidget(variablesLabel_);
    variables_ = new QListWidget;
    variables_->setObjectName(QStringLiteral("IndependentXChecklistBox"));
    BoxLayout(variables)->addWidget(variables_);
    auto* buttons = new QHBoxLayout;
    selectAll_ = MakeButton(texts::SelectAllVariables, "SelectAllButton");
    deselectAll_ = MakeButton(texts::DeselectAllVariables, "DeselectAllButton");
    buttons->addWidget(selectAll_);
    buttons->addWidget(deselectAll_);
    buttons->addStretch(1);
    BoxLayout(variables)->addLayout(buttons);
    layout->addWidget(variables, 1);

    MultipleRegressionChoices& mr = document_.Choices().multipleRegression;
    connect(regression_, &QRadioButton::clicked, this, [this, &mr] {
        mr.kind = MultipleRegressionKind::MultipleRegression;
        Changed();
    });
    connect(matrix_, &QRadioButton::clicked, this, [this, &mr] {
        mr.kind = MultipleRegressionKind::CorrelationMatrix;
        Changed();
    });
    connect(dependent_, &QComboBox::activated, this, &TMultipleRegressionPage::ChooseDependent);
    connect(variables_, &QListWidget::itemChanged, this, &TMultipleRegressionPage::VariableChecked);
    connect(selectAll_, &QPushButton::clicked, this, [this] { SetAll(true); });
    connect(deselectAll_, &QPushButton::clicked, this, [this] { SetAll(false); });
    WatchOption(regression_);
    WatchOption(matrix_);
}

void TMultipleRegressionPage::Prepare() {
    const MultipleRegressionChoices& mr = document_.Choices().multipleRegression;
    const MultipleRegressionPage page = MultipleRegressionPageOf(document_.Table(), mr);
    (mr.kind == MultipleRegressionKind::MultipleRegression ? regression_ : matrix_)->setChecked(true);
    variablesLabel_->setText(ToQt(page.label));
    {
        const QSignalBlocker blocker(dependent_);
        dependent_->clear();
        int current = -1;
        for (const ColumnEntry& entry : page.dependentEntries) {
            if (entry.checked) current = dependent_->count();
            dependent_->addItem(ToQt(entry.text), entry.column);
        }
        dependent_->setCurrentIndex(current);
        dependent_->setEnabled(page.dependentEnabled);
    }
    {
        const QSignalBlocker blocker(variables_);
        variables_->clear();
        for (const ColumnEntry& entry : page.variableEntries) {
            auto* item = new QListWidgetItem(ToQt(entry.text), variables_);
            item->setData(Qt::UserRole, entry.column);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
            item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
        }
        variables_->setEnabled(page.variablesEnabled);
    }
    selectAll_->setEnabled(page.variablesEnabled);
    deselectAll_->setEnabled(page.variablesEnabled);
}

void TMultipleRegressionPage::VariableChecked(QListWidgetItem* item) {
    const int column = item->data(Qt::UserRole).toInt();
    if (column < 0 || column >= DataColumns) return;
    std::uint8_t& flag = document_.Choices().multipleRegression.include[static_cast<std::size_t>(column)];
    const std::uint8_t wanted = item->checkState() == Qt::Checked ? 1 : 0;
    if (flag == wanted) return;
    flag = wanted;
    MarkChanged();
}

void TMultipleRegressionPage::ChooseDependent(int index) {
    const int column = dependent_->itemData(index).toInt();
    MultipleRegressionChoices& mr = document_.Choices().multipleRegression;
    if (column == mr.dependentColumn) return;
    mr.dependentColumn = column;
    Changed();
}

void TMultipleRegressionPage::SetAll(bool include) {
    MultipleRegressionChoices& mr = document_.Choices().multipleRegression;
    const MultipleRegressionPage page = MultipleRegressionPageOf(document_.Table(), mr);
    SetAllIncludeFlags(mr, page.variableEntries, include);
    Changed();
}

}  // namespace zelkon
