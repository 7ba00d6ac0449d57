#include "ui/start_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "document/choice_texts.h"
#include "document/document.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

namespace {

constexpr std::array<FormatFamily, 3> Families = {
    FormatFamily::CompareMeans, FormatFamily::Regression, FormatFamily::Contingency};
constexpr std::array<const char*, 3> FamilyNames = {
    "AnovaFamilyRadioButton", "RegressionFamilyRadioButton", "ContingencyFamilyRadioButton"};

const char* FormatButtonName(DataFormat format) {
    switch (format) {
        case DataFormat::XY: return "XYDataRadioButton";
        case DataFormat::Raw: return "RawDataRadioButton";
        case DataFormat::MeanSDN: return "MeanSDNRadioButton";
        case DataFormat::MeanSEMN: return "MeanSEMNRadioButton";
        case DataFormat::TwoByTwo: return "TwoByTwoRadioButton";
        case DataFormat::LargerTable: return "LargerTableRadioButton";
        case DataFormat::MultipleRegression: return "TwoOrMoreVarsMultRegRadioButton";
    }
    return "";
}

std::size_t IndexOf(FormatFamily family) { return static_cast<std::size_t>(family); }
std::size_t IndexOf(DataFormat format) { return static_cast<std::size_t>(format); }

}  // namespace

TStartPage::TStartPage(Document& document, QWidget* parent) : QWidget(parent), document_(document) {
    auto* watcher = new OptionWatcher(this);
    // The goal and the formats at the left, the tests they offer at the right, so that the
    // page is whole on a small screen.
    auto* page = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    page->addLayout(columns, 1);
    auto* layout = new QVBoxLayout;
    columns->addLayout(layout, 3);
    auto* testsColumn = new QVBoxLayout;
    columns->addSpacing(12);
    columns->addLayout(testsColumn, 2);

    QGroupBox* goal = MakeQuestion(texts::GoalHeading, "GoalGroupBox");
    auto* goalLayout = static_cast<QVBoxLayout*>(goal->layout());
    for (std::size_t i = 0; i < Families.size(); ++i) {
        familyButtons_[i] = AddRadio(goalLayout, FamilyCaption(Families[i]), FamilyNames[i]);
        const FormatFamily family = Families[i];
        connect(familyButtons_[i], &QRadioButton::clicked, this, [this, family] { ChooseFamily(family); });
    }
    exampleLabel_ = MakeLabel("", "ExampleLabel");
    exampleLabel_->setStyleSheet(QStringLiteral("font-style: italic;"));
    goalLayout->addWidget(exampleLabel_);
    layout->addWidget(goal);

    QGroupBox* formats = MakeQuestion(texts::FormatHeading, "FormatGroupBox");
    auto* formatLayout = static_cast<QVBoxLayout*>(formats->layout());
    for (DataFormat format : AllDataFormats) {
        QRadioButton* button = AddRadio(formatLayout, DataFormatCaption(format), FormatButtonName(format));
        formatButtons_[IndexOf(format)] = button;
        connect(button, &QRadioButton::clicked, this, [this, format] { ChooseFormat(format); });
        watcher->Watch(button);
    }
    connect(watcher, &OptionWatcher::doubleClicked, this, [this] { emit nextStepRequested(); });
    layout->addWidget(formats);
    layout->addStretch(1);

    auto* testsHeading = MakeLabel(texts::TestsListHeading, "TestsHeadingLabel");
    testsColumn->addSpacing(8);
    testsColumn->addWidget(testsHeading);
    testsLabel_ = MakeLabel("", "TestsListLabel");
    testsLabel_->setIndent(20);
    testsColumn->addWidget(testsLabel_);
    testsColumn->addStretch(1);

    auto* continueRow = new QHBoxLayout;
    continueRow->addStretch(1);
    auto* continueLabel = new ClickableLabel(LabelText(texts::ContinueLabel));
    continueLabel->setObjectName(QStringLiteral("ContinueLabel"));
    continueRow->addWidget(continueLabel);
    continueButton_ = new QPushButton;
    continueButton_->setObjectName(QStringLiteral("ContinueButton"));
    continueButton_->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    continueButton_->setToolTip(ToQt(texts::NextStepHint));
    continueRow->addWidget(continueButton_);
    page->addLayout(continueRow);
    connect(continueLabel, &ClickableLabel::clicked, this, [this] { emit nextStepRequested(); });
    connect(continueButton_, &QPushButton::clicked, this, [this] { emit nextStepRequested(); });
}

QRadioButton* TStartPage::FamilyButton(FormatFamily family) const {
    return familyButtons_[IndexOf(family)];
}

QRadioButton* TStartPage::FormatButton(DataFormat format) const {
    return formatButtons_[IndexOf(format)];
}

QString TStartPage::TestListText() const { return testsLabel_->text(); }
QString TStartPage::ExampleText() const { return exampleLabel_->text(); }

void TStartPage::Prepare() {
    const bool hasData = document_.Table().HasData();
    const DataFormat checked = FormatAfterDataCheck(document_.Format(), hasData);
    if (checked != document_.Format()) {
        document_.Data().ChangeFormat(checked);
        emit formatChanged();
    }
    ShowFamily(FamilyOf(document_.Format()));
    ShowFormat();
}

void TStartPage::ShowFamily(FormatFamily family) {
    familyButtons_[IndexOf(family)]->setChecked(true);
    const bool hasData = document_.Table().HasData();
    for (DataFormat format : AllDataFormats) {
        formatButtons_[IndexOf(format)]->setEnabled(FormatEnabled(format, family, hasData));
    }
    QStringList lines;
    for (std::string_view line : FamilyExampleLines(family)) lines << ToQt(line);
    exampleLabel_->setText(lines.join(QLatin1Char('\n')));
}

void TStartPage::ShowFormat() {
    formatButtons_[IndexOf(document_.Format())]->setChecked(true);
    QStringList lines;
    for (std::string_view line : FormatTestList(document_.Format())) {
        const bool heading = !line.empty() && line.back() == ':';
        lines << (heading ? ToQt(line) : QStringLiteral("    ") + ToQt(line));
    }
    testsLabel_->setText(lines.join(QLatin1Char('\n')));
}

void TStartPage::ChooseFamily(FormatFamily family) {
    ShowFamily(family);
    // The family checks the first of its formats.
    ChooseFormat(FamilyFormats(family).front());
}

void TStartPage::ChooseFormat(DataFormat format) {
    if (format != document_.Format()) {
        document_.Data().ChangeFormat(format);
        ShowFormat();
        emit formatChanged();
    } else {
        ShowFormat();
    }
}

}  // namespace zelkon
