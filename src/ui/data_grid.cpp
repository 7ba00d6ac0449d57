#include "ui/data_grid.h"

#include <QBrush>
#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "core/column_headings.h"
#include "core/column_record.h"
#include "core/column_selection.h"
#include "core/document.h"
#include "core/grid_number.h"
#include "data/sheet_editing.h"
#include "ui/ui_services.h"

namespace zelkon {

namespace {
constexpr int MaxCellCharacters = 14;
constexpr int DataTitleFieldLength = 100;
}  // namespace

TDataGridModel::TDataGridModel(Document& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    Refresh();
}

int TDataGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ShownRows + 1;
}

int TDataGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : DataColumns;
}

QVariant TDataGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const DataTable& table = document_.Table();
    const int column = index.column();
    if (index.row() == TitleRow) {
        if (role == Qt::DisplayRole || role == Qt::EditRole) return ToQt(table.Record(column).title);
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
        if (role == Qt::FontRole) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    }
    const int row = index.row() - 1;
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return ToQt(FormatGridNumber(table.Value(row, column), ShownDecimals(table, column)));
        case Qt::TextAlignmentRole: return int(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::FontRole:
            if (table.IsExcluded(row, column)) {
                QFont font;
                font.setItalic(true);
                return font;
            }
            return {};
        case Qt::ForegroundRole:
            if (table.IsExcluded(row, column)) return QBrush(Qt::blue);
            return {};
        case Qt::BackgroundRole:
            // Columns holding averaged data (typed as mean, error and N) are set apart.
            if (IsAveragedColumn(table, column)) return QPalette().brush(QPalette::Button);
            return {};
        default: return {};
    }
}

QVariant TDataGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= DataColumns) return {};
        return ToQt(headings_[static_cast<std::size_t>(section)]);
    }
    if (section == TitleRow) return QStringLiteral("Title");
    return ToQt(document_.Table().RowTitle(section - 1));
}

Qt::ItemFlags TDataGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool TDataGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const bool stored = index.row() == TitleRow
                            ? SetTitleText(index.column(), value.toString())
                            : SetCellText(index.row() - 1, index.column(), value.toString());
    if (stored) emit edited();
    return stored;
}

bool TDataGridModel::SetTitleText(int column, const QString& text) {
    const std::string title = FromQt(text);
    if (title == document_.Table().Record(column).title) return false;
    UiServices& services = Services();
    const ColumnTitleResult result = document_.Data().EnterColumnTitle(
        column, title, services.separators, *services.prompts, services.numberTitleMemory);
    if (result.valueStored) {
        emit dataChanged(index(TitleRow, column), index(ShownRows, column));
    } else {
        emit dataChanged(index(TitleRow, column), index(TitleRow, column));
    }
    return true;
}

bool TDataGridModel::SetCellText(int row, int column, const QString& text) {
    const TypedValueResult result = PostTypedValue(document_, row, column, FromQt(text),
                                                   Services().separators, *Services().prompts);
    if (result.redraw == SheetRedraw::Column || result.stored) {
        emit dataChanged(index(TitleRow, column), index(ShownRows, column));
    } else {
        emit dataChanged(index(row + 1, column), index(row + 1, column));
    }
    return result.stored;
}

void TDataGridModel::Refresh() {
    const DataFormat format = document_.Format();
    for (int c = 0; c < DataColumns; ++c) {
        if (const auto heading = ColumnHeading(format, c)) headings_[static_cast<std::size_t>(c)] = *heading;
    }
    emit headerDataChanged(Qt::Horizontal, 0, DataColumns - 1);
    emit headerDataChanged(Qt::Vertical, 0, ShownRows);
    emit dataChanged(index(0, 0), index(ShownRows, DataColumns - 1));
}

QWidget* TDataGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        if (index.row() == TDataGridModel::TitleRow) {
            line->setMaxLength(static_cast<int>(ColumnRecord::TitleFieldLength));
        } else {
            line->setMaxLength(MaxCellCharacters);
            line->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9.,eE\\-]*")), line));
            line->setAlignment(Qt::AlignRight);
        }
    }
    return editor;
}

TDataGridPage::TDataGridPage(Document& document, QWidget* parent)
    : QWidget(parent), document_(document) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel(QStringLiteral("Data title:")));
    titleEdit_ = new QLineEdit;
    titleEdit_->setObjectName(QStringLiteral("DataTitleEdit"));
    titleEdit_->setMaxLength(DataTitleFieldLength);
    titleRow->addWidget(titleEdit_, 1);
    layout->addLayout(titleRow);

    model_ = new TDataGridModel(document, this);
    view_ = new QTableView;
    view_->setObjectName(QStringLiteral("RawDataGrid"));
    view_->setModel(model_);
    view_->setItemDelegate(new TDataGridDelegate(view_));
    view_->horizontalHeader()->setDefaultSectionSize(90);
    view_->verticalHeader()->setDefaultSectionSize(20);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    layout->addWidget(view_, 1);

    connect(titleEdit_, &QLineEdit::editingFinished, this, &TDataGridPage::StoreDataTitle);
    connect(model_, &TDataGridModel::edited, this, &TDataGridPage::edited);
}

void TDataGridPage::Prepare() {
    titleEdit_->setText(ToQt(document_.Table().DataTitle()));
    model_->Refresh();
}

void TDataGridPage::StoreDataTitle() {
    const std::string title = FromQt(titleEdit_->text());
    if (title == document_.Table().DataTitle()) return;
    document_.Table().SetDataTitle(title);
    document_.MarkModified();
    emit edited();
}

void TDataGridPage::CommitPendingEdits() {
    // An open cell editor is the index widget of the current cell.
    if (QWidget* editor = view_->indexWidget(view_->currentIndex())) {
        QAbstractItemDelegate* delegate = view_->itemDelegate();
        emit delegate->commitData(editor);
        emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    StoreDataTitle();
}

void TDataGridPage::ScrollHome() {
    view_->clearSelection();
    view_->setCurrentIndex(model_->index(0, 0));
    view_->scrollToTop();
    view_->horizontalScrollBar()->setValue(0);
}

}  // namespace zelkon
