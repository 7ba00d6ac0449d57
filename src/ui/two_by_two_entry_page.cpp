#include "ui/two_by_two_entry_page.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "core/latin1.h"
#include "core/number_parse.h"
#include "core/stored_number.h"
#include "document/document.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

namespace zelkon {

namespace {

Extended& CellOf(TwoByTwoRecord& record, int cell) {
    switch (cell) {
        case 0: return record.a;
        case 1: return record.b;
        case 2: return record.c;
        default: return record.d;
    }
}

std::string& LabelOf(TwoByTwoRecord& record, int label) {
    switch (label) {
        case 0: return record.column1Title;
        case 1: return record.column2Title;
        case 2: return record.row1Title;
        default: return record.row2Title;
    }
}

QString SumText(Extended x, Extended y) {
    if (IsMissingValue(x) || IsMissingValue(y)) return {};
    return ShownNumber(FormatStoredNumber(x + y));
}

constexpr std::array<const char*, 4> CountNames = {"CellAEdit", "CellBEdit", "CellCEdit", "CellDEdit"};
constexpr std::array<const char*, 4> LabelNames = {"Column1TitleEdit", "Column2TitleEdit",
                                                   "Row1TitleEdit", "Row2TitleEdit"};
constexpr std::array<const char*, 4> LabelPlaceholders = {"Column A", "Column B", "Row 1", "Row 2"};

}  // namespace

TTwoByTwoEntryPage::TTwoByTwoEntryPage(Document& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    auto* layout = new QVBoxLayout(this);
    titleEdit_ = AddDataTitleRow(layout, "TwoByTwoTitleEdit", TitleLength);
    connect(titleEdit_, &QLineEdit::editingFinished, this, &TTwoByTwoEntryPage::StoreTitle);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    for (int i = 0; i < 4; ++i) {
        auto* label = new QLineEdit;
        label->setObjectName(QString::fromLatin1(LabelNames[static_cast<std::size_t>(i)]));
        label->setMaxLength(LabelLength);
        label->setPlaceholderText(QString::fromLatin1(LabelPlaceholders[static_cast<std::size_t>(i)]));
        labels_[static_cast<std::size_t>(i)] = label;
        connect(label, &QLineEdit::editingFinished, this, [this, i] { StoreLabel(i); });

        auto* count = new QLineEdit;
        count->setObjectName(QString::fromLatin1(CountNames[static_cast<std::size_t>(i)]));
        count->setMaxLength(CountLength);
        count->setAlignment(Qt::AlignRight);
        count->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9.,eE\\-]*")), count));
        counts_[static_cast<std::size_t>(i)] = count;
        connect(count, &QLineEdit::editingFinished, this, [this, i] { StoreCount(i); });
    }
    for (std::size_t i = 0; i < totals_.size(); ++i) {
        totals_[i] = new QLabel;
        totals_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        totals_[i]->setObjectName(QStringLiteral("Total%1").arg(i));
    }
    // Column labels above, row labels at the left, totals at the right and below.
    grid->addWidget(labels_[0], 0, 1);
    grid->addWidget(labels_[1], 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Total")), 0, 3, Qt::AlignRight);
    grid->addWidget(labels_[2], 1, 0);
    grid->addWidget(counts_[0], 1, 1);
    grid->addWidget(counts_[1], 1, 2);
    grid->addWidget(totals_[0], 1, 3);
    grid->addWidget(labels_[3], 2, 0);
    grid->addWidget(counts_[2], 2, 1);
    grid->addWidget(counts_[3], 2, 2);
    grid->addWidget(totals_[1], 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("Total")), 3, 0);
    grid->addWidget(totals_[2], 3, 1);
    grid->addWidget(totals_[3], 3, 2);
    grid->addWidget(totals_[4], 3, 3);
    auto* gridRow = new QHBoxLayout;
    gridRow->addLayout(grid);
    gridRow->addStretch(1);
    layout->addLayout(gridRow);
    layout->addStretch(1);
}

void TTwoByTwoEntryPage::Prepare() {
    TwoByTwoRecord& record = document_.Data().TwoByTwo();
    titleEdit_->setText(ToQt(document_.Table().DataTitle()));
    shownTitle_ = titleEdit_->text();
    for (std::size_t i = 0; i < 4; ++i) {
        counts_[i]->setText(ShownNumber(FormatStoredNumber(CellOf(record, static_cast<int>(i)))));
        labels_[i]->setText(ToQt(LabelOf(record, static_cast<int>(i))));
        shownCounts_[i] = counts_[i]->text();
        shownLabels_[i] = labels_[i]->text();
    }
    ShowTotals();
}

void TTwoByTwoEntryPage::CommitPendingEdits() {
    for (int i = 0; i < 4; ++i) {
        StoreCount(i);
        StoreLabel(i);
    }
    StoreTitle();
}

QString TTwoByTwoEntryPage::TotalText(int total) const {
    return totals_[static_cast<std::size_t>(total)]->text();
}

void TTwoByTwoEntryPage::StoreCount(int cell) {
    const auto index = static_cast<std::size_t>(cell);
    if (counts_[index]->text() == shownCounts_[index]) return;
    shownCounts_[index] = counts_[index]->text();
    Extended value = MissingValue;
    const std::string text = FromQt(shownCounts_[index]);
    if (!ParseNumber(text, Services().separators, value)) value = MissingValue;
    Extended& stored = CellOf(document_.Data().TwoByTwo(), cell);
    if (value != stored) {
        stored = value;
        document_.MarkModified();
        emit edited();
    }
    ShowTotals();
}

void TTwoByTwoEntryPage::StoreLabel(int label) {
    const auto index = static_cast<std::size_t>(label);
    if (labels_[index]->text() == shownLabels_[index]) return;
    shownLabels_[index] = labels_[index]->text();
    const std::string text = FromQt(shownLabels_[index]);
    std::string& stored = LabelOf(document_.Data().TwoByTwo(), label);
    if (text != stored) {
        stored = CutText(text, TwoByTwoRecord::MaxLabel);
        document_.MarkModified();
        emit edited();
    }
}

void TTwoByTwoEntryPage::StoreTitle() {
    if (titleEdit_->text() == shownTitle_) return;
    shownTitle_ = titleEdit_->text();
    const std::string title = FromQt(shownTitle_);
    if (title == document_.Table().DataTitle()) return;
    document_.Table().SetDataTitle(title);
    document_.MarkModified();
    emit edited();
}

void TTwoByTwoEntryPage::ShowTotals() {
    const TwoByTwoRecord& r = document_.Data().TwoByTwo();
    totals_[0]->setText(SumText(r.a, r.b));
    totals_[1]->setText(SumText(r.c, r.d));
    totals_[2]->setText(SumText(r.a, r.c));
    totals_[3]->setText(SumText(r.b, r.d));
    const bool all = !r.AllCellsMissing() && !IsMissingValue(r.a) && !IsMissingValue(r.b) &&
                     !IsMissingValue(r.c) && !IsMissingValue(r.d);
    totals_[4]->setText(all ? ShownNumber(FormatStoredNumber(r.a + r.b + r.c + r.d)) : QString());
}

}  // namespace zelkon
