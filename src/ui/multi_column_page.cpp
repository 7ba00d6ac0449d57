#include "ui/multi_column_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "document/choice_texts.h"
#include "document/choose_test.h"
#include "document/column_selection.h"
#include "document/document.h"
#include "document/post_test_choice.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

namespace {
QVBoxLayout* BoxLayout(QGroupBox* box) { return static_cast<QVBoxLayout*>(box->layout()); }
}  // namespace

TThreeOrMoreColumnsPage::TThreeOrMoreColumnsPage(Document& document, QWidget* parent)
    : TChoicePage(document, parent) {
    auto* layout = new QVBoxLayout(this);
    selectedLabel_ = MakeLabel("", "SelectedLabel");
    layout->addWidget(selectedLabel_);

    QGroupBox* columns = MakeQuestion(texts::SelectColumnsQuestion, "ColumnsGroupBox");
    allColumns_ = AddRadio(BoxLayout(columns), texts::AllColumnsChoice, "AllColumnsRadioButton");
    auto* selectedRow = new QHBoxLayout;
    selectedColumns_ = new QRadioButton(ToQt(texts::SelectedColumnsChoice));
    selectedColumns_->setObjectName(QStringLiteral("SelectedColumnsRadioButton"));
    selectedRow->addWidget(selectedColumns_);
    selectButton_ = MakeButton(texts::SelectButton, "SelectButton");
    selectedRow->addWidget(selectButton_);
    selectedRow->addStretch(1);
    BoxLayout(columns)->addLayout(selectedRow);
    layout->addWidget(columns);

    QGroupBox* matched = MakeQuestion(texts::MatchedQuestion, "MatchedGroupBox");
    ordinary_ = AddRadio(BoxLayout(matched), texts::OrdinaryAnovaChoice, "OrdinaryRadioButton");
    repeated_ = AddRadio(BoxLayout(matched), texts::RepeatedMeasuresChoice, "RepeatedRadioButton");
    layout->addWidget(matched);
    QGroupBox* gaussian = MakeQuestion(texts::MultiColumnGaussianQuestion, "GaussianGroupBox");
    parametric_ = AddRadio(BoxLayout(gaussian), texts::ParametricChoice, "ParametricRadioButton");
    nonparametric_ = AddRadio(BoxLayout(gaussian), texts::MultiColumnNonparametricChoice,
                              "NonparametricRadioButton");
    layout->addWidget(gaussian);

    QGroupBox* post = MakeQuestion(texts::PostTestQuestion, "PostTestGroupBox");
    postTest_ = new QComboBox;
    postTest_->setObjectName(QStringLiteral("PostTestComboBox"));
    BoxLayout(post)->addWidget(postTest_);
    contingent_ = AddCheck(BoxLayout(post), texts::ContingentPostCheck, "ContingentPostCheckBox");
    auto* controlRow = new QHBoxLayout;
    controlLabel_ = MakeLabel(texts::ControlColumnLabel, "ControlColumnLabel");
    controlLabel_->setWordWrap(false);
    controlRow->addWidget(controlLabel_);
    control_ = new QComboBox;
    control_->setObjectName(QStringLiteral("ControlColComboBox"));
    controlRow->addWidget(control_);
    pairsButton_ = MakeButton(texts::SelectPairsButton, "SelectPairsButton");
    controlRow->addWidget(pairsButton_);
    controlRow->addStretch(1);
    BoxLayout(post)->addLayout(controlRow);
    layout->addWidget(post);

    layout->addWidget(MakeLabel(texts::TestShownHeading, "TestShownHeading"));
    testLabel_ = MakeLabel("", "TestShownLabel");
    QFont bold = testLabel_->font();
    bold.setBold(true);
    testLabel_->setFont(bold);
    testLabel_->setIndent(20);
    layout->addWidget(testLabel_);
    layout->addStretch(1);

    AnalysisChoices& choices = document_.Choices();
    ColumnAnalysisChoices& cc = choices.columns;
    connect(allColumns_, &QRadioButton::clicked, this, [this, &choices] {
        choices.allColumns = 1;
        SelectColumnsWithData(document_.Table());
        Changed();
    });
    connect(selectedColumns_, &QRadioButton::clicked, this, [this, &choices] {
        choices.allColumns = 0;
        Changed();
    });
    connect(selectButton_, &QPushButton::clicked, this, [this, &choices] {
        if (choices.allColumns != 0) {
            choices.allColumns = 0;
            Changed();
        }
        emit selectColumnsRequested();
    });
    connect(ordinary_, &QRadioButton::clicked, this, [this, &cc] { cc.unmatched = 1; Changed(); });
    connect(repeated_, &QRadioButton::clicked, this, [this, &cc] { cc.unmatched = 0; Changed(); });
    connect(parametric_, &QRadioButton::clicked, this, [this, &cc] {
        cc.multiColumnNonparametric = 0;
        Changed();
    });
    connect(nonparametric_, &QRadioButton::clicked, this, [this, &cc] {
        cc.multiColumnNonparametric = 1;
        Changed();
    });
    connect(postTest_, &QComboBox::activated, this, &TThreeOrMoreColumnsPage::ChooseItem);
    connect(contingent_, &QCheckBox::clicked, this, &TThreeOrMoreColumnsPage::ClickContingent);
    connect(control_, &QComboBox::activated, this, &TThreeOrMoreColumnsPage::ChooseControl);
    connect(pairsButton_, &QPushButton::clicked, this, [this] { emit selectPairsRequested(); });
    for (QRadioButton* r : {allColumns_, selectedColumns_, ordinary_, repeated_, parametric_, nonparametric_}) {
        WatchOption(r);
    }
}

void TThreeOrMoreColumnsPage::ChooseItem(int item) {
    ColumnAnalysisChoices& cc = document_.Choices().columns;
    bool checked = contingent_->isChecked();
    ChoosePostTestItem(cc, item, checked);
    contingent_->setChecked(checked);
    shownItem_ = item;
    Changed();
}

void TThreeOrMoreColumnsPage::ClickContingent(bool checked) {
    ColumnAnalysisChoices& cc = document_.Choices().columns;
    shownItem_ = ClickContingentPost(cc, checked, shownItem_);
    Changed();
}

void TThreeOrMoreColumnsPage::ChooseControl(int index) {
    const std::vector<ColumnEntry> entries =
        ControlColumnEntries(document_.Table(), document_.Choices().columns);
    if (index < 0 || index >= static_cast<int>(entries.size())) return;
    const int column = entries[static_cast<std::size_t>(index)].column;
    if (column == document_.Choices().columns.controlColumn) return;
    document_.Choices().columns.controlColumn = column;
    Changed();
}

void TThreeOrMoreColumnsPage::FillPostTestList() {
    const ColumnAnalysisChoices& cc = document_.Choices().columns;
    const bool nonparametric = cc.multiColumnNonparametric != 0;
    const QSignalBlocker blocker(postTest_);
    postTest_->clear();
    for (std::string_view item : PostTestItems(nonparametric)) postTest_->addItem(ToQt(item));
    const int item = PostTestItemOf(cc, nonparametric);
    shownItem_ = item < 0 ? PostTestItem::NoPostTest : item;
    postTest_->setCurrentIndex(shownItem_);
}

void TThreeOrMoreColumnsPage::ShowPostTestControls() {
    const DataTable& table = document_.Table();
    const ColumnAnalysisChoices& cc = document_.Choices().columns;
    const bool nonparametric = cc.multiColumnNonparametric != 0;
    pairsButton_->setVisible(SelectPairsVisible(shownItem_));
    pairsButton_->setEnabled(CountSelectedDataColumns(table) > 1);
    const bool controlVisible = ControlColumnVisible(shownItem_, nonparametric);
    controlLabel_->setVisible(controlVisible);
    control_->setVisible(controlVisible);
    const QSignalBlocker blocker(control_);
    control_->clear();
    int current = -1;
    for (const ColumnEntry& entry : ControlColumnEntries(table, cc)) {
        if (entry.checked) current = control_->count();
        control_->addItem(ToQt(entry.text));
    }
    control_->setCurrentIndex(current);
    testLabel_->setText(ToQt(MultiColumnTestText(cc, shownItem_)));
}

void TThreeOrMoreColumnsPage::Prepare() {
    const DataTable& table = document_.Table();
    const AnalysisChoices& choices = document_.Choices();
    const ColumnAnalysisChoices& cc = choices.columns;
    const DataFormat format = document_.Format();
    // Averaged data can be neither matched by row nor ranked: those answers are disabled
    // (SetUpChooseTest has checked the ordinary parametric ANOVA).
    selectedLabel_->setText(LabelText(texts::SelectedPrefix) + LabelText(SelectedColumnsText(table)));
    (choices.allColumns != 0 ? allColumns_ : selectedColumns_)->setChecked(true);
    selectButton_->setEnabled(SelectColumnsEnabled(table));
    repeated_->setEnabled(RepeatedMeasuresEnabled(format, table));
    nonparametric_->setEnabled(MultiColumnNonparametricEnabled(format, table));
    (cc.unmatched != 0 ? ordinary_ : repeated_)->setChecked(true);
    (cc.multiColumnNonparametric != 0 ? nonparametric_ : parametric_)->setChecked(true);
    FillPostTestList();
    contingent_->setChecked(ContingentPostChecked(cc));
    ShowPostTestControls();
}

}  // namespace zelkon
