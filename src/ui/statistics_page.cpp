#include "ui/statistics_page.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

#include "core/column_headings.h"
#include "core/document.h"
#include "core/summary_page.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {

constexpr int DataTitleFieldLength = 100;
constexpr int CellCharacters = 14;

constexpr std::array<StatisticsRow, StatisticsRowCount> RowOrder = {
    StatisticsRow::Mean,    StatisticsRow::Error,   StatisticsRow::N,
    StatisticsRow::OtherError, StatisticsRow::Lower95, StatisticsRow::Upper95,
    StatisticsRow::Minimum, StatisticsRow::Median,  StatisticsRow::Maximum,
    StatisticsRow::KS,      StatisticsRow::NormalityP, StatisticsRow::Passed};

/// The statistic shown in a grid row, if any.
bool StatisticOfGridRow(int gridRow, StatisticsRow& row) {
    for (StatisticsRow r : RowOrder) {
        if (TStatisticsPage::GridRowOf(r) == gridRow) {
            row = r;
            return true;
        }
    }
    return false;
}

/// Typing limits: 15 characters of title; the count row takes digits only, the mean and
/// error rows numbers.
class StatisticsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line == nullptr) return editor;
        if (index.row() == TStatisticsPage::TitleRow) {
            line->setMaxLength(static_cast<int>(ColumnRecord::TitleFieldLength));
            return editor;
        }
        line->setMaxLength(CellCharacters);
        line->setAlignment(Qt::AlignRight);
        const bool countRow = index.row() == TStatisticsPage::GridRowOf(StatisticsRow::N);
        line->setValidator(new QRegularExpressionValidator(
            QRegularExpression(countRow ? QStringLiteral("[0-9eE\\-]*")
                                        : QStringLiteral("[0-9.,eE\\-]*")),
            line));
        return editor;
    }
};

}  // namespace

int TStatisticsPage::GridRowOf(StatisticsRow row) {
    switch (row) {
        case StatisticsRow::Mean: return 1;
        case StatisticsRow::Error: return 2;
        case StatisticsRow::N: return 3;
        case StatisticsRow::OtherError: return 5;
        case StatisticsRow::Lower95: return 6;
        case StatisticsRow::Upper95: return 7;
        case StatisticsRow::Minimum: return 9;
        case StatisticsRow::Median: return 10;
        case StatisticsRow::Maximum: return 11;
        case StatisticsRow::KS: return 13;
        case StatisticsRow::NormalityP: return 14;
        case StatisticsRow::Passed: return 15;
    }
    return -1;
}

TStatisticsPage::TStatisticsPage(Document& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel(QStringLiteral("Data title:")));
    titleEdit_ = new QLineEdit;
    titleEdit_->setObjectName(QStringLiteral("StatDataTitleEdit"));
    titleEdit_->setMaxLength(DataTitleFieldLength);
    titleRow->addWidget(titleEdit_, 1);
    layout->addLayout(titleRow);

    grid_ = new QTableWidget(GridRows, DataColumns);
    grid_->setObjectName(QStringLiteral("StatDataGrid"));
    grid_->setItemDelegate(new StatisticsDelegate(grid_));
    grid_->horizontalHeader()->setDefaultSectionSize(105);
    grid_->verticalHeader()->setDefaultSectionSize(20);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    for (int r = 0; r < GridRows; ++r) {
        for (int c = 0; c < DataColumns; ++c) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(r == TitleRow ? Qt::Alignment(Qt::AlignCenter)
                                                 : Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
            grid_->setItem(r, c, item);
        }
    }
    layout->addWidget(grid_, 1);
    connect(grid_, &QTableWidget::itemChanged, this, &TStatisticsPage::CellEdited);
    connect(titleEdit_, &QLineEdit::editingFinished, this, &TStatisticsPage::StoreTitle);
}

bool TStatisticsPage::Averaged() const { return IsAveragedFormat(document_.Format()); }

void TStatisticsPage::Prepare() {
    PrepareColumnStatistics(document_);
    titleEdit_->setText(ToQt(document_.Table().DataTitle()));
    ShowAll();
}

void TStatisticsPage::ShowAll() {
    const QSignalBlocker blocker(grid_);
    const bool errorIsSD = document_.Data().ErrorIsSD();
    const auto labels = StatisticsRowLabels(errorIsSD);
    QStringList rowLabels;
    for (int r = 0; r < GridRows; ++r) rowLabels << QString();
    rowLabels[TitleRow] = QStringLiteral("Title");
    for (std::size_t i = 0; i < RowOrder.size(); ++i) {
        rowLabels[GridRowOf(RowOrder[i])] = ToQt(labels[i]);
    }
    grid_->setVerticalHeaderLabels(rowLabels);
    QStringList headings;
    const DataFormat format = document_.Format();
    for (int c = 0; c < DataColumns; ++c) {
        const auto heading = ColumnHeading(format, c);
        headings << (StatisticsGridTakesHeadings(format) && heading
                         ? ToQt(*heading)
                         : QString(QLatin1Char(ColumnLetter(c))));
    }
    grid_->setHorizontalHeaderLabels(headings);
    for (int c = 0; c < DataColumns; ++c) ShowColumn(c);
}

void TStatisticsPage::ShowColumn(int column) {
    const QSignalBlocker blocker(grid_);
    filling_ = true;
    const DataTable& table = document_.Table();
    const bool errorIsSD = document_.Data().ErrorIsSD();
    const bool averaged = Averaged();
    QTableWidgetItem* title = grid_->item(TitleRow, column);
    title->setText(ToQt(table.Record(column).title));
    for (int r = 1; r < GridRows; ++r) {
        QTableWidgetItem* item = grid_->item(r, column);
        StatisticsRow row{};
        const bool hasStatistic = StatisticOfGridRow(r, row);
        item->setText(hasStatistic ? ToQt(StatisticsCellText(table, column, row, errorIsSD)) : QString());
        const bool typed = averaged && hasStatistic &&
                           (row == StatisticsRow::Mean || row == StatisticsRow::Error ||
                            row == StatisticsRow::N);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (typed) flags |= Qt::ItemIsEditable;
        item->setFlags(flags);
    }
    filling_ = false;
}

void TStatisticsPage::CellEdited(QTableWidgetItem* item) {
    if (filling_ || item == nullptr) return;
    const int column = item->column();
    UiServices& services = Services();
    if (item->row() == TitleRow) {
        const std::string title = FromQt(item->text());
        if (title != document_.Table().Record(column).title) {
            document_.Data().EnterColumnTitle(column, title, services.separators,
                                              *services.prompts, services.numberTitleMemory);
            emit edited();
        }
        ShowColumn(column);
        return;
    }
    StatisticsRow row{};
    if (!Averaged() || !StatisticOfGridRow(item->row(), row)) return;
    AveragedRow typed = AveragedRow::Mean;
    if (row == StatisticsRow::Error) {
        typed = AveragedRow::Error;
    } else if (row == StatisticsRow::N) {
        typed = AveragedRow::N;
    } else if (row != StatisticsRow::Mean) {
        return;
    }
    const AveragedEntryResult result = document_.Data().EnterAveragedValue(
        column, typed, FromQt(item->text()), services.separators, *services.prompts);
    if (result.needsRecompute) FillSummary(nullptr, -1, document_.Table().Record(column));
    if (result.changed) emit edited();
    ShowColumn(column);
}

void TStatisticsPage::StoreTitle() {
    const std::string title = FromQt(titleEdit_->text());
    if (title == document_.Table().DataTitle()) return;
    document_.Table().SetDataTitle(title);
    document_.MarkModified();
    emit edited();
}

void TStatisticsPage::CommitPendingEdits() {
    // An open cell editor is the index widget of the current cell.
    if (QWidget* editor = grid_->indexWidget(grid_->currentIndex())) {
        QAbstractItemDelegate* delegate = grid_->itemDelegate();
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    StoreTitle();
}

void TStatisticsPage::ScrollHome() {
    grid_->clearSelection();
    grid_->setCurrentCell(0, 0);
    grid_->scrollToTop();
    grid_->horizontalScrollBar()->setValue(0);
}

}  // namespace zelkon
