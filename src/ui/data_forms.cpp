#include "ui/data_forms.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <array>

#include "core/grid_number.h"
#include "core/number_parse.h"
#include "core/stored_number.h"
#include "data/data_messages.h"
#include "data/transforms.h"
#include "document/document.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

/// The entry of a column in the combine lists: its letter, then its title when it has one.
QString ColumnEntryText(const Document& document, int column) {
    QString text(QLatin1Char(ColumnLetter(column)));
    const std::string& title = document.Table().Record(column).title;
    if (!title.empty()) text += QStringLiteral("  ") + ToQt(title);
    return text;
}

}  // namespace

// Transform ---------------------------------------------------------------------------------

TTransformForm::TTransformForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TransformForm"));
    setWindowTitle(ToQt(TransformDialogCaption));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ToQt(PickTransformCaption)));
    auto* row = new QHBoxLayout;
    transforms_ = new QComboBox;
    transforms_->setObjectName(QStringLiteral("TransformComboBox"));
    for (const TransformEntry& entry : TransformEntries()) transforms_->addItem(ToQt(entry.text));
    row->addWidget(transforms_);
    row->addSpacing(16);
    kLabel_ = new QLabel(ToQt(TransformKCaption));
    kLabel_->setObjectName(QStringLiteral("KLabel"));
    kField_ = new QLineEdit;
    kField_->setObjectName(QStringLiteral("KField"));
    kField_->setMaxLength(14);
    kField_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9.,eE\\-]*")), kField_));
    kLabel_->setBuddy(kField_);
    row->addWidget(kLabel_);
    row->addWidget(kField_);
    row->addStretch(1);
    layout->addLayout(row);
    hint_ = new QLabel(ToQt(TransformHint));
    hint_->setObjectName(QStringLiteral("TransformHint"));
    hint_->setWordWrap(true);
    layout->addWidget(hint_);
    QDialogButtonBox* buttons = OkCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TTransformForm::TryAccept);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    connect(transforms_, &QComboBox::currentIndexChanged, this, &TTransformForm::TransformChosen);
    transforms_->setCurrentIndex(DefaultTransformCode - 1);
    TransformChosen(DefaultTransformCode - 1);
}

void TTransformForm::TransformChosen(int index) {
    if (index < 0 || index >= TransformCount) return;
    const TransformEntry& entry = TransformEntries()[static_cast<std::size_t>(index)];
    kLabel_->setVisible(entry.usesK);
    kField_->setVisible(entry.usesK);
    if (entry.usesK) kField_->setText(ToQt(FormatStoredNumber(entry.defaultK)));
}

int TTransformForm::Code() const { return transforms_->currentIndex() + 1; }

std::optional<Extended> TTransformForm::K() const {
    Extended k = MissingValue;
    if (!ParseNumber(FromQt(kField_->text()), Services().separators, k) || IsMissingValue(k)) {
        return std::nullopt;
    }
    return k;
}

bool TTransformForm::TryAccept() {
    const int code = Code();
    if (code < 1 || code > TransformCount) return false;
    if (TransformEntries()[static_cast<std::size_t>(code - 1)].usesK && !K()) {
        Services().prompts->Tell(NumberNotValidMessage);
        kField_->setFocus();
        return false;
    }
    accept();
    return true;
}

// Combine Variables -------------------------------------------------------------------------

TCombineVarForm::TCombineVarForm(const Document& document, const CombineSetup& setup,
                                 QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("CombineVarForm"));
    setWindowTitle(ToQt(CombineDialogCaption));
    auto* layout = new QVBoxLayout(this);
    target_ = new QLabel(ToQt(CombineTargetText(setup.targetColumn)));
    target_->setObjectName(QStringLiteral("TargetLabel"));
    layout->addWidget(target_);

    auto* row = new QHBoxLayout;
    first_ = new QComboBox;
    first_->setObjectName(QStringLiteral("FirstColumnComboBox"));
    second_ = new QComboBox;
    second_->setObjectName(QStringLiteral("SecondColumnComboBox"));
    for (int column : setup.columnsWithValues) {
        first_->addItem(ColumnEntryText(document, column), column);
        second_->addItem(ColumnEntryText(document, column), column);
    }
    if (second_->count() > 1) second_->setCurrentIndex(1);
    auto* group = new QGroupBox;
    auto* groupLayout = new QVBoxLayout(group);
    constexpr std::array<const char*, 4> names = {"PlusRadioButton", "MinusRadioButton",
                                                  "TimesRadioButton", "DividedByRadioButton"};
    for (std::size_t i = 0; i < CombineOperationCaptions.size(); ++i) {
        auto* button = new QRadioButton(ToQt(CombineOperationCaptions[i]));
        button->setObjectName(QString::fromLatin1(names[i]));
        groupLayout->addWidget(button);
        operations_.push_back(button);
    }
    OperationButton(CombineOperation::Minus)->setChecked(true);
    row->addWidget(first_, 1, Qt::AlignTop);
    row->addWidget(group);
    row->addWidget(second_, 1, Qt::AlignTop);
    layout->addLayout(row);
    QDialogButtonBox* buttons = OkCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QRadioButton* TCombineVarForm::OperationButton(CombineOperation operation) const {
    return operations_[static_cast<std::size_t>(operation)];
}

CombineChoice TCombineVarForm::Choice() const {
    CombineChoice choice;
    choice.firstColumn = first_->currentData().toInt();
    choice.secondColumn = second_->currentData().toInt();
    for (std::size_t i = 0; i < operations_.size(); ++i) {
        if (operations_[i]->isChecked()) choice.operation = static_cast<CombineOperation>(i);
    }
    return choice;
}

// Number Format -----------------------------------------------------------------------------

TNumberFormatForm::TNumberFormatForm(const std::string& targetText,
                                     const NumberFormatChoice& current, int shownDecimals,
                                     QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("NumberFormatForm"));
    setWindowTitle(ToQt(NumberFormatDialogCaption));
    auto* layout = new QVBoxLayout(this);
    target_ = new QLabel(ToQt(targetText));
    target_->setObjectName(QStringLiteral("TargetLabel"));
    layout->addWidget(target_);

    auto* fixedRow = new QHBoxLayout;
    fixed_ = new QRadioButton(ToQt(FixedDecimalsCaptionBefore));
    fixed_->setObjectName(QStringLiteral("FixedRadioButton"));
    decimals_ = new QLineEdit;
    decimals_->setObjectName(QStringLiteral("NumDecField"));
    decimals_->setMaxLength(3);
    decimals_->setFixedWidth(48);
    decimals_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), decimals_));
    fixedRow->addWidget(fixed_);
    fixedRow->addWidget(decimals_);
    fixedRow->addWidget(new QLabel(ToQt(FixedDecimalsCaptionAfter)));
    fixedRow->addStretch(1);
    layout->addLayout(fixedRow);
    automatic_ = new QRadioButton(ToQt(AutomaticDecimalsCaption));
    automatic_->setObjectName(QStringLiteral("AutoRadioButton"));
    layout->addWidget(automatic_);
    QDialogButtonBox* buttons = OkCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TNumberFormatForm::TryAccept);
    layout->addWidget(buttons);

    decimals_->setText(QString::number(current.automatic ? shownDecimals : current.decimals));
    (current.automatic ? automatic_ : fixed_)->setChecked(true);
    // Typing a number chooses the fixed option.
    connect(decimals_, &QLineEdit::textEdited, this, [this] { fixed_->setChecked(true); });
}

NumberFormatChoice TNumberFormatForm::Choice() const {
    NumberFormatChoice choice;
    choice.automatic = !fixed_->isChecked();
    choice.decimals = decimals_->text().toInt();
    return choice;
}

bool TNumberFormatForm::TryAccept() {
    if (fixed_->isChecked()) {
        std::int64_t n = 0;
        if (!ParseInteger(FromQt(decimals_->text()), n)) {
            Services().prompts->Tell(NumberNotValidMessage);
            decimals_->setFocus();
            return false;
        }
        if (n < 0 || n > MaxDecimals) {
            Services().prompts->Tell(NumberOutOfRangeMessage);
            decimals_->setFocus();
            return false;
        }
    }
    accept();
    return true;
}

// Commands ----------------------------------------------------------------------------------

bool RunTransformCommand(Document& document, const Selection& selection, QWidget* parent) {
    TTransformForm dialog(parent);
    if (Services().runDialog(dialog) != QDialog::Accepted) return false;
    const int code = dialog.Code();
    const Extended k = dialog.K().value_or(0);
    return TransformSelection(document, selection, code, k, *Services().prompts);
}

std::optional<int> RunCombineCommand(Document& document, int currentColumn, QWidget* parent) {
    int filled = -1;
    const CombineDialog dialog =
        [&](const CombineSetup& setup) -> std::optional<CombineChoice> {
        TCombineVarForm form(document, setup, parent);
        if (Services().runDialog(form) != QDialog::Accepted) return std::nullopt;
        filled = setup.targetColumn;
        return form.Choice();
    };
    if (!CombineColumns(document, currentColumn, *Services().prompts, dialog)) return std::nullopt;
    return filled;
}

std::vector<int> RunNumberFormatCommand(Document& document, const Selection& selection,
                                        QWidget* parent) {
    const NumberFormatTarget target = NumberFormatTargetOf(selection);
    const int shown = ShownDecimals(document.Table(), target.firstColumn);
    const NumberFormatDialog dialog =
        [&](const std::string& text,
            const NumberFormatChoice& current) -> std::optional<NumberFormatChoice> {
        TNumberFormatForm form(text, current, shown, parent);
        if (Services().runDialog(form) != QDialog::Accepted) return std::nullopt;
        return form.Choice();
    };
    return SetNumberFormat(document, selection, dialog);
}

}  // namespace zelkon
