#include "ui/column_pages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/number_parse.h"
#include "core/stored_number.h"
#include "document/choice_texts.h"
#include "document/choose_test.h"
#include "document/column_selection.h"
#include "document/document.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

namespace {

QString SelectedText(const DataTable& table) {
    return LabelText(texts::SelectedPrefix) + LabelText(SelectedColumnsText(table));
}

QVBoxLayout* BoxLayout(QGroupBox* box) { return static_cast<QVBoxLayout*>(box->layout()); }

}  // namespace

// One column ---------------------------------------------------------------------------------

TOneColumnPage::TOneColumnPage(Document& document, QWidget* parent) : TChoicePage(document, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* selectRow = new QHBoxLayout;
    selectedLabel_ = MakeLabel("", "SelectedLabel");
    selectRow->addWidget(selectedLabel_, 1);
    selectButton_ = MakeButton(texts::SelectAnotherColumn, "SelectColumnButton");
    selectRow->addWidget(selectButton_);
    layout->addLayout(selectRow);
    connect(selectButton_, &QPushButton::clicked, this, [this] { emit selectColumnsRequested(); });

    QGroupBox* test = MakeQuestion("", "TestGroupBox");
    tTest_ = AddRadio(BoxLayout(test), texts::OneSampleTTestChoice, "TTestRadioButton");
    wilcoxon_ = AddRadio(BoxLayout(test), texts::WilcoxonChoice, "WilcoxonRadioButton");
    layout->addWidget(test);
    QGroupBox* tails = MakeQuestion("", "TailsGroupBox");
    oneTail_ = AddRadio(BoxLayout(tails), texts::OneTailChoice, "OneTailRadioButton");
    twoTail_ = AddRadio(BoxLayout(tails), texts::TwoTailChoice, "TwoTailRadioButton");
    layout->addWidget(tails);

    QGroupBox* value = MakeQuestion("", "HypotheticalGroupBox");
    const char* valueNames[4] = {"HypotheticalZeroRadioButton", "HypotheticalOneRadioButton",
                                 "HypotheticalHundredRadioButton", "HypotheticalOtherRadioButton"};
    for (std::size_t i = 0; i < 3; ++i) values_[i] = AddRadio(BoxLayout(value), "", valueNames[i]);
    auto* otherRow = new QHBoxLayout;
    values_[3] = new QRadioButton;
    values_[3]->setObjectName(QString::fromLatin1(valueNames[3]));
    otherRow->addWidget(values_[3]);
    valueEdit_ = new QLineEdit;
    valueEdit_->setObjectName(QStringLiteral("HypotheticalMean"));
    valueEdit_->setMaximumWidth(120);
    otherRow->addWidget(valueEdit_);
    otherRow->addStretch(1);
    BoxLayout(value)->addLayout(otherRow);
    layout->addWidget(value);
    layout->addStretch(1);

    ColumnAnalysisChoices& cc = document_.Choices().columns;
    connect(tTest_, &QRadioButton::clicked, this, [this, &cc] { cc.oneColumnNonparametric = 0; Changed(); });
    connect(wilcoxon_, &QRadioButton::clicked, this, [this, &cc] { cc.oneColumnNonparametric = 1; Changed(); });
    connect(oneTail_, &QRadioButton::clicked, this, [this, &cc] { cc.oneColumnTwoSided = 0; Changed(); });
    connect(twoTail_, &QRadioButton::clicked, this, [this, &cc] { cc.oneColumnTwoSided = 1; Changed(); });
    for (std::size_t i = 0; i < values_.size(); ++i) {
        const auto choice = static_cast<std::uint8_t>(i);
        connect(values_[i], &QRadioButton::clicked, this, [this, &cc, choice] {
            ChooseHypotheticalValue(cc, choice);
            Changed();
        });
        WatchOption(values_[i]);
    }
    for (QWidget* w : {static_cast<QWidget*>(tTest_), static_cast<QWidget*>(wilcoxon_),
                       static_cast<QWidget*>(oneTail_), static_cast<QWidget*>(twoTail_)}) {
        WatchOption(w);
    }
    // Clicking into the field checks the typed-value button; leaving it takes the number.
    Watcher()->Watch(valueEdit_);
    connect(Watcher(), &OptionWatcher::pressed, this, [this, &cc](QWidget* w) {
        if (w != valueEdit_ || cc.hypotheticalValueChoice == HypotheticalChoice::Other) return;
        values_[3]->setChecked(true);
        ChooseHypotheticalValue(cc, HypotheticalChoice::Other);
        document_.MarkModified();
        emit edited();
    });
    connect(valueEdit_, &QLineEdit::editingFinished, this, &TOneColumnPage::ValueEntered);
}

void TOneColumnPage::ValueEntered() {
    ColumnAnalysisChoices& cc = document_.Choices().columns;
    Extended typed = MissingValue;
    if (!ParseNumber(FromQt(valueEdit_->text()), Services().separators, typed)) typed = MissingValue;
    const Extended before = cc.hypotheticalValue;
    const std::uint8_t choiceBefore = cc.hypotheticalValueChoice;
    EnterHypotheticalValue(cc, typed);
    if (cc.hypotheticalValue != before || cc.hypotheticalValueChoice != choiceBefore) {
        Changed();
    } else {
        Prepare();
    }
}

void TOneColumnPage::Prepare() {
    const DataTable& table = document_.Table();
    const ColumnAnalysisChoices& cc = document_.Choices().columns;
    selectedLabel_->setText(SelectedText(table));
    selectButton_->setEnabled(SelectColumnsEnabled(table));
    const bool restricted = AveragedDataRestriction(document_.Format(), table);
    tTest_->setEnabled(!restricted);
    wilcoxon_->setEnabled(!restricted);
    (cc.oneColumnNonparametric != 0 ? wilcoxon_ : tTest_)->setChecked(true);
    (cc.oneColumnTwoSided != 0 ? twoTail_ : oneTail_)->setChecked(true);
    const QString prefix = ToQt(HypotheticalPrefix(cc));
    values_[0]->setText(prefix + ToQt(texts::HypotheticalZeroText));
    values_[1]->setText(prefix + ToQt(texts::HypotheticalOneText));
    values_[2]->setText(prefix + ToQt(texts::HypotheticalHundredText));
    values_[3]->setText(prefix);
    const std::size_t choice = std::min<std::size_t>(cc.hypotheticalValueChoice, 3);
    values_[choice]->setChecked(true);
    if (!valueEdit_->hasFocus()) valueEdit_->setText(ShownNumber(FormatStoredNumber(cc.hypotheticalValue)));
}

// Two columns --------------------------------------------------------------------------------

TTwoColumnPage::TTwoColumnPage(Document& document, QWidget* parent) : TChoicePage(document, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* selectRow = new QHBoxLayout;
    selectedLabel_ = MakeLabel("", "SelectedLabel");
    selectRow->addWidget(selectedLabel_, 1);
    selectButton_ = MakeButton(texts::SelectOtherColumns, "SelectColumnsButton");
    selectRow->addWidget(selectButton_);
    layout->addLayout(selectRow);
    connect(selectButton_, &QPushButton::clicked, this, [this] { emit selectColumnsRequested(); });

    QGroupBox* pairing = MakeQuestion(texts::PairedQuestion, "PairingGroupBox");
    unpaired_ = AddRadio(BoxLayout(pairing), texts::UnpairedChoice, "UnpairedRadioButton");
    paired_ = AddRadio(BoxLayout(pairing), texts::PairedChoice, "PairedRadioButton");
    layout->addWidget(pairing);
    QGroupBox* gaussian = MakeQuestion(texts::TwoColumnGaussianQuestion, "GaussianGroupBox");
    nonparametric_ = AddRadio(BoxLayout(gaussian), texts::TwoColumnNonparametricChoice,
                              "NonparametricRadioButton");
    student_ = AddRadio(BoxLayout(gaussian), texts::StudentChoiceUnpaired, "StudentRadioButton");
    welch_ = AddRadio(BoxLayout(gaussian), texts::WelchChoice, "WelchRadioButton");
    layout->addWidget(gaussian);
    QGroupBox* tails = MakeQuestion(texts::TailsQuestion, "TailsGroupBox");
    oneTail_ = AddRadio(BoxLayout(tails), texts::OneTailChoice, "OneTailRadioButton");
    twoTail_ = AddRadio(BoxLayout(tails), texts::TwoTailChoice, "TwoTailRadioButton");
    layout->addWidget(tails);
    layout->addWidget(MakeLabel(texts::TestShownHeading, "TestShownHeading"));
    testLabel_ = MakeLabel("", "TestShownLabel");
    QFont bold = testLabel_->font();
    bold.setBold(true);
    testLabel_->setFont(bold);
    testLabel_->setIndent(20);
    layout->addWidget(testLabel_);
    layout->addStretch(1);

    ColumnAnalysisChoices& cc = document_.Choices().columns;
    connect(unpaired_, &QRadioButton::clicked, this, [this, &cc] { ChoosePairing(cc, false); Changed(); });
    connect(paired_, &QRadioButton::clicked, this, [this, &cc] { ChoosePairing(cc, true); Changed(); });
    connect(nonparametric_, &QRadioButton::clicked, this, [this, &cc] {
        ChooseGaussian(cc, GaussianChoice::Nonparametric);
        Changed();
    });
    connect(student_, &QRadioButton::clicked, this, [this, &cc] {
        ChooseGaussian(cc, GaussianChoice::Student);
        Changed();
    });
    connect(welch_, &QRadioButton::clicked, this, [this, &cc] {
        ChooseGaussian(cc, GaussianChoice::Welch);
        Changed();
    });
    connect(oneTail_, &QRadioButton::clicked, this, [this, &cc] { cc.twoColumnTwoSided = 0; Changed(); });
    connect(twoTail_, &QRadioButton::clicked, this, [this, &cc] { cc.twoColumnTwoSided = 1; Changed(); });
    for (QRadioButton* r : {unpaired_, paired_, nonparametric_, student_, welch_, oneTail_, twoTail_}) {
        WatchOption(r);
    }
}

void TTwoColumnPage::Prepare() {
    const DataTable& table = document_.Table();
    const DataFormat format = document_.Format();
    const ColumnAnalysisChoices& cc = document_.Choices().columns;
    selectedLabel_->setText(SelectedText(table));
    selectButton_->setEnabled(SelectColumnsEnabled(table));
    const bool pairing = PairingEnabled(format, table);
    unpaired_->setEnabled(pairing);
    paired_->setEnabled(pairing);
    (cc.unpaired != 0 ? unpaired_ : paired_)->setChecked(true);
    nonparametric_->setEnabled(TwoColumnNonparametricEnabled(format, table));
    student_->setText(ToQt(StudentCaption(cc)));
    welch_->setEnabled(WelchEnabled(cc));
    switch (GaussianChoiceOf(cc)) {
        case GaussianChoice::Nonparametric: nonparametric_->setChecked(true); break;
        case GaussianChoice::Student: student_->setChecked(true); break;
        case GaussianChoice::Welch: welch_->setChecked(true); break;
    }
    (cc.twoColumnTwoSided != 0 ? twoTail_ : oneTail_)->setChecked(true);
    testLabel_->setText(ToQt(TwoColumnTestText(cc)));
}

}  // namespace zelkon
