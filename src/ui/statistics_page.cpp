#include "ui/statistics_page.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "core/column_headings.h"
#include "data/entered_value.h"
#include "document/document.h"
#include "document/summary_page.h"
#include "ui/ui_services.h"
#include "ui/widget_helpers.h"

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

/// Typing limits: 15 characters of title; the mean, error and count rows the characters of a
/// number (a count that is not whole is refused when it is posted).
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
        // The count row takes a point too, so that a count typed as 10.5 is refused with a
        // message rather than read as 105.
        line->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("[0-9.,eE\\-]*")), line));
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
    titleEdit_ = AddDataTitleRow(layout, "StatDataTitleEdit", DataTitleFieldLength);

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
    BuildPopupMenu();
}

void TStatisticsPage::BuildPopupMenu() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("StatDataPopupMenu"));
    auto add = [this](const char* name, const char* caption, void (TStatisticsPage::*slot)()) {
        QAction* action = popup_->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("StatCutItem", "&Cut", &TStatisticsPage::CutToClipboard);
    add("StatCopyItem", "&Copy", &TStatisticsPage::CopyToClipboard);
    add("StatPasteItem", "&Paste", &TStatisticsPage::PasteFromClipboard);
    QAction* del = add("StatDeleteItem", "&Delete", &TStatisticsPage::DeleteSelection);
    // The grid takes the Del key itself (see eventFilter); the menu only names it.
    del->setShortcut(QKeySequence(Qt::Key_Delete));
    del->setShortcutContext(Qt::WidgetShortcut);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        popup_->popup(grid_->viewport()->mapToGlobal(at));
    });
    grid_->installEventFilter(this);
}

bool TStatisticsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && (event->type() == QEvent::ShortcutOverride ||
                             event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        // (While a cell is edited its editor has the keys, so Del edits the text there.)
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            // Claim Del before the main window's shortcuts see it, then delete on the press.
            event->accept();
            if (event->type() == QEvent::KeyPress) DeleteSelection();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TStatisticsPage::Averaged() const { return IsAveragedFormat(document_.Format()); }

void TStatisticsPage::Prepare() {
    PrepareColumnStatistics(document_);
    titleEdit_->setText(ToQt(document_.Table().DataTitle()));
    shownTitle_ = titleEdit_->text();
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
        // Numbers with the user's decimal separator ("1,500" where "," is the decimal point).
        QString text;
        if (hasStatistic) {
            const std::string cell = StatisticsCellText(table, column, row, errorIsSD);
            text = row == StatisticsRow::Passed ? ToQt(cell) : ShownNumber(cell);
        }
        item->setText(text);
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
    if (result.changed && typed != AveragedRow::N && document_.Table().IsAutomaticFormat(column)) {
        // As on the data sheet, a typed value's decimals raise the column's decimal places.
        const ColumnRecord& record = document_.Table().Record(column);
        const bool errorIsSD = document_.Data().ErrorIsSD();
        const Extended value =
            typed == AveragedRow::Mean ? record.mean : (errorIsSD ? record.sd : record.sem);
        if (!IsMissingValue(value)) RaiseDecimals(document_.Table(), column, TypedDigitCounts(value));
    }
    if (result.changed) emit edited();
    ShowColumn(column);
}

bool TStatisticsPage::Typable(int gridRow, int column) const {
    const QTableWidgetItem* item = grid_->item(gridRow, column);
    return item != nullptr && (item->flags() & Qt::ItemIsEditable);
}

namespace {

/// The cells a block command works on: the selected cells, or the current cell.
QList<QTableWidgetItem*> TargetItems(const QTableWidget& grid) {
    QList<QTableWidgetItem*> items = grid.selectedItems();
    if (items.isEmpty() && grid.currentItem() != nullptr) items << grid.currentItem();
    return items;
}

}  // namespace

QString TStatisticsPage::SelectionText() const {
    const QList<QTableWidgetItem*> items = TargetItems(*grid_);
    if (items.isEmpty()) return {};
    int top = GridRows, bottom = -1, left = DataColumns, right = -1;
    for (const QTableWidgetItem* item : items) {
        top = std::min(top, item->row());
        bottom = std::max(bottom, item->row());
        left = std::min(left, item->column());
        right = std::max(right, item->column());
    }
    const QChar decimal = QLatin1Char(Services().separators.decimal);
    QString text;
    for (int r = top; r <= bottom; ++r) {
        if (r > top) text += QStringLiteral("\r\n");
        for (int c = left; c <= right; ++c) {
            if (c > left) text += QLatin1Char('\t');
            const QTableWidgetItem* item = grid_->item(r, c);
            if (item == nullptr || (items.size() > 1 && !item->isSelected())) continue;
            QString cell = item->text().trimmed();
            if (r != TitleRow) cell.replace(QLatin1Char('.'), decimal);
            text += cell;
        }
    }
    return text;
}

void TStatisticsPage::CopyToClipboard() {
    CommitPendingEdits();
    QApplication::clipboard()->setText(SelectionText());
}

void TStatisticsPage::CutToClipboard() {
    CopyToClipboard();
    DeleteSelection();
}

void TStatisticsPage::PasteFromClipboard() {
    CommitPendingEdits();
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty()) PasteText(text);
}

void TStatisticsPage::PasteText(const QString& text) {
    // The paste starts at the top-left cell of the selection, or at the current cell.
    int startRow = GridRows;
    int startColumn = DataColumns;
    for (const QTableWidgetItem* item : TargetItems(*grid_)) {
        startRow = std::min(startRow, item->row());
        startColumn = std::min(startColumn, item->column());
    }
    if (startRow == GridRows) return;
    const QChar decimal = QLatin1Char(Services().separators.decimal);
    int line = 0;
    int field = 0;
    QString value;
    // The user's decimal separator reads as "." first, so that a "," decimal separator does
    // not split a number; the field then goes into the cell as the user would type it.
    auto put = [&] {
        const int r = startRow + line;
        const int c = startColumn + field;
        if (r < GridRows && c < DataColumns && Typable(r, c)) {
            QString typed = value.trimmed();
            if (r != TitleRow) typed.replace(QLatin1Char('.'), decimal);
            grid_->item(r, c)->setText(typed);
        }
        value.clear();
    };
    for (QChar ch : text) {
        if (ch == decimal) ch = QLatin1Char('.');
        if (ch == QLatin1Char('\t') || ch == QLatin1Char(',') || ch == QLatin1Char(';')) {
            put();
            ++field;
        } else if (ch == QLatin1Char('\n')) {
            put();
            ++line;
            field = 0;
        } else if (ch == QChar(0)) {
            break;
        } else if (ch != QLatin1Char('\r')) {
            value += ch;
        }
    }
    if (!value.isEmpty() || field > 0) put();
}

void TStatisticsPage::DeleteSelection() {
    for (QTableWidgetItem* item : TargetItems(*grid_)) {
        if (Typable(item->row(), item->column()) && !item->text().isEmpty()) item->setText(QString());
    }
}

void TStatisticsPage::StoreTitle() {
    const QString shown = titleEdit_->text();
    if (shown == shownTitle_) return;
    shownTitle_ = shown;
    const std::string title = FromQt(shown);
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
