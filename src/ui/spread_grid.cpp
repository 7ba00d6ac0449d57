#include "ui/spread_grid.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include <algorithm>
#include <climits>

#include "core/column_record.h"
#include "data/entered_value.h"
#include "document/document.h"
#include "ui/spread_grid_model.h"
#include "ui/spread_grid_parts.h"

namespace zelkon {

namespace {

/// The sheet's own command keys (also claimed ahead of the window's shortcuts).
enum class KeyCommand { None, Cut, Copy, Paste, SelectAll, SelectColumn, SelectRow, Clear, Exclude };

KeyCommand CommandOf(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event->key();
    if (mods == Qt::ControlModifier) {
        switch (key) {
            case Qt::Key_X: return KeyCommand::Cut;
            case Qt::Key_C:
            case Qt::Key_Insert: return KeyCommand::Copy;
            case Qt::Key_V: return KeyCommand::Paste;
            case Qt::Key_A: return KeyCommand::SelectAll;
            case Qt::Key_E: return KeyCommand::Exclude;
            case Qt::Key_Space: return KeyCommand::SelectColumn;
            default: return KeyCommand::None;
        }
    }
    if (mods == Qt::ShiftModifier) {
        if (key == Qt::Key_Insert) return KeyCommand::Paste;
        if (key == Qt::Key_Space) return KeyCommand::SelectRow;
        return KeyCommand::None;
    }
    if (mods == Qt::NoModifier && key == Qt::Key_Delete) return KeyCommand::Clear;
    return KeyCommand::None;
}

}  // namespace

TSpreadGrid::TSpreadGrid(Document& document, QWidget* parent)
    : QTableView(parent), document_(document) {
    setObjectName(QStringLiteral("RawDataGrid"));
    model_ = new TSpreadGridModel(document, this);
    columnHeader_ = new TSpreadGridHeader(Qt::Horizontal, RowHeight, ColumnWidth, this);
    rowHeader_ = new TSpreadGridHeader(Qt::Vertical, RowHeight, ColumnWidth, this);
    setHorizontalHeader(columnHeader_);
    setVerticalHeader(rowHeader_);
    setModel(model_);
    delegate_ = new TSpreadGridDelegate(this);
    delegate_->onEditorArrow = [this](int key) { MoveFromEditor(key); };
    setItemDelegate(delegate_);
    setFont(delegate_->font);

    columnHeader_->setDefaultSectionSize(ColumnWidth);
    columnHeader_->setSectionResizeMode(QHeaderView::Interactive);
    rowHeader_->setMinimumSectionSize(RowHeight);
    rowHeader_->setDefaultSectionSize(RowHeight);
    rowHeader_->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    connect(columnHeader_, &TSpreadGridHeader::headerClicked, this, &TSpreadGrid::ColumnHeaderClicked);
    connect(rowHeader_, &TSpreadGridHeader::headerClicked, this, &TSpreadGrid::RowHeaderClicked);
    connect(columnHeader_, &TSpreadGridHeader::titleEditRequested, this, &TSpreadGrid::EditColumnTitle);
    connect(rowHeader_, &TSpreadGridHeader::titleEditRequested, this, &TSpreadGrid::EditRowTitle);
    connect(model_, &TSpreadGridModel::edited, this, &TSpreadGrid::edited);

    titleEditor_ = new QLineEdit(this);
    titleEditor_->setObjectName(QStringLiteral("TitleEditor"));
    titleEditor_->hide();
    titleEditor_->installEventFilter(this);

    BuildPopupMenu();
    setCurrentIndex(model_->index(0, 0));
}

void TSpreadGrid::BuildPopupMenu() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("RawDataPopupMenu"));
    auto add = [this](const char* caption, const char* name, const QKeySequence& key, auto slot) {
        QAction* action = popup_->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) {
            action->setShortcut(key);
            // The keys themselves reach the sheet; the menu only shows them.
            action->setShortcutContext(Qt::WidgetShortcut);
        }
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add("&Cut", "PopupCutItem", QKeySequence(Qt::CTRL | Qt::Key_X), [this] { CutToClipboard(); });
    add("&Copy", "PopupCopyItem", QKeySequence(Qt::CTRL | Qt::Key_C), [this] { CopyToClipboard(); });
    add("&Paste", "PopupPasteItem", QKeySequence(Qt::CTRL | Qt::Key_V), [this] { PasteFromClipboard(false); });
    add("Transpose P&aste", "PopupTransposePasteItem", {}, [this] { PasteFromClipboard(true); });
    popup_->addSeparator();
    add("Select All", "PopupSelectAllItem", QKeySequence(Qt::CTRL | Qt::Key_A), [this] { SelectAll(); });
    add("Select C&olumn", "PopupSelectColumnItem", {}, [this] { SelectColumns(); });
    add("Select &Row", "PopupSelectRowItem", {}, [this] { SelectRows(); });
    popup_->addSeparator();
    add("&Delete cells...", "PopupDeleteCellsItem", {}, [this] { DeleteCells(); });
    add("&Insert cells...", "PopupInsertCellsItem", {}, [this] { InsertCells(); });
    popup_->addSeparator();
    add("&Transform", "PopupTransformItem", {}, [this] {
        CommitPendingEdits();
        emit transformRequested();
    });
    add("&Number Format", "PopupNumberFormatItem", {}, [this] {
        CommitPendingEdits();
        emit numberFormatRequested();
    });
    add("&Exclude", "PopupExcludeItem", QKeySequence(Qt::CTRL | Qt::Key_E), [this] { ToggleExclusion(); });
}

// What the sheet shows ---------------------------------------------------------------------

void TSpreadGrid::Prepare() {
    CancelTitleEditor();
    model_->UpdateHeadings();
    model_->RefreshAll();
}

void TSpreadGrid::RefreshAll() { model_->RefreshAll(); }

void TSpreadGrid::RefreshColumn(int tableColumn) { model_->RefreshColumn(tableColumn); }

void TSpreadGrid::RefreshCell(int row, int column) { model_->RefreshCell(row, column); }

void TSpreadGrid::SetExcludedColour(const QColor& colour) {
    delegate_->excludedColour = colour;
    viewport()->update();
}

// Selection --------------------------------------------------------------------------------

Selection TSpreadGrid::EngineSelection() const {
    const QModelIndex current = currentIndex();
    const int currentRow = current.isValid() ? current.row() : 0;
    const int currentColumn = current.isValid() ? current.column() : 0;
    const QItemSelection selected = selectionModel()->selection();
    if (selected.isEmpty()) return Selection::Cell(currentRow, currentColumn);
    int top = INT_MAX, left = INT_MAX, bottom = -1, right = -1;
    for (const QItemSelectionRange& range : selected) {
        top = std::min(top, range.top());
        left = std::min(left, range.left());
        bottom = std::max(bottom, range.bottom());
        right = std::max(right, range.right());
    }
    const bool fullHeight = top == 0 && bottom == SheetRows - 1;
    const bool fullWidth = left == 0 && right == DataColumns - 1;
    if (kind_ == SelectionKind::Everything && fullHeight && fullWidth) return Selection::All();
    if (kind_ == SelectionKind::WholeColumns && fullHeight) return Selection::Columns(left, right);
    if (kind_ == SelectionKind::WholeRows && fullWidth) return Selection::Rows(top, bottom);
    return Selection::Block(top, left, bottom, right);
}

bool TSpreadGrid::IsAllSelected() const { return EngineSelection().kind == SelectionKind::Everything; }

bool TSpreadGrid::IsWholeColumnsSelected() const {
    return EngineSelection().kind == SelectionKind::WholeColumns;
}

bool TSpreadGrid::IsWholeRowsSelected() const { return EngineSelection().kind == SelectionKind::WholeRows; }

int TSpreadGrid::CurrentDataRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : 0;
}

int TSpreadGrid::CurrentDataColumn() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : 0;
}

void TSpreadGrid::SetCurrentCell(int row, int column) {
    kind_ = SelectionKind::Block;
    const QModelIndex index =
        model_->index(std::clamp(row, 0, SheetRows - 1), std::clamp(column, 0, DataColumns - 1));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

void TSpreadGrid::SelectBlock(int top, int left, int bottom, int right) {
    const Selection block = Selection::Block(top, left, bottom, right);
    kind_ = SelectionKind::Block;
    selectionModel()->setCurrentIndex(model_->index(block.top, block.left), QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(model_->index(block.top, block.left),
                                            model_->index(block.bottom, block.right)),
                             QItemSelectionModel::ClearAndSelect);
}

void TSpreadGrid::SelectWhole(SelectionKind kind, int from, int to) {
    CommitPendingEdits();
    Selection whole;
    switch (kind) {
        case SelectionKind::WholeColumns: whole = Selection::Columns(from, to); break;
        case SelectionKind::WholeRows: whole = Selection::Rows(from, to); break;
        default: whole = Selection::All(); break;
    }
    // The current cell stays where it is when it lies inside the new selection.
    int row = CurrentDataRow();
    int column = CurrentDataColumn();
    if (!whole.Contains(row, column)) {
        row = whole.top;
        column = whole.left;
    }
    selectionModel()->setCurrentIndex(model_->index(row, column), QItemSelectionModel::NoUpdate);
    selectionModel()->select(
        QItemSelection(model_->index(whole.top, whole.left), model_->index(whole.bottom, whole.right)),
        QItemSelectionModel::ClearAndSelect);
    kind_ = kind;
}

void TSpreadGrid::SelectAll() { SelectWhole(SelectionKind::Everything, 0, 0); }

void TSpreadGrid::selectAll() { SelectAll(); }

void TSpreadGrid::SelectColumns() {
    const Selection s = EngineSelection();
    anchorColumn_ = s.left;
    SelectWhole(SelectionKind::WholeColumns, s.left, s.right);
}

void TSpreadGrid::SelectRows() {
    const Selection s = EngineSelection();
    anchorRow_ = s.top;
    SelectWhole(SelectionKind::WholeRows, s.top, s.bottom);
}

void TSpreadGrid::ColumnHeaderClicked(int column, bool extend) {
    if (!extend) anchorColumn_ = column;
    SelectWhole(SelectionKind::WholeColumns, std::min(anchorColumn_, column), std::max(anchorColumn_, column));
    setFocus(Qt::MouseFocusReason);
}

void TSpreadGrid::RowHeaderClicked(int row, bool extend) {
    if (!extend) anchorRow_ = row;
    SelectWhole(SelectionKind::WholeRows, std::min(anchorRow_, row), std::max(anchorRow_, row));
    setFocus(Qt::MouseFocusReason);
}

// Titles and values ------------------------------------------------------------------------

void TSpreadGrid::EditColumnTitle(int column) { StartTitleEditor(true, column); }

void TSpreadGrid::EditRowTitle(int row) { StartTitleEditor(false, row); }

QLineEdit* TSpreadGrid::OpenTitleEditor() const {
    return titleEditorSection_ >= 0 ? titleEditor_ : nullptr;
}

void TSpreadGrid::StartTitleEditor(bool column, int section) {
    if (section < 0 || section >= (column ? DataColumns : SheetRows)) return;
    CommitPendingEdits();
    // The title's place must be on view before the editor covers it.
    if (column) {
        scrollTo(model_->index(std::max(rowAt(0), 0), section));
    } else {
        scrollTo(model_->index(section, std::max(columnAt(0), 0)));
    }
    TSpreadGridHeader* header = column ? columnHeader_ : rowHeader_;
    const QRect place = header->TitleRect(section);
    titleEditorForColumn_ = column;
    titleEditorSection_ = section;
    titleEditor_->setMaxLength(static_cast<int>(column ? ColumnRecord::MaxTitle : DataTable::MaxRowTitle));
    titleEditor_->setText(column ? model_->ColumnTitle(section) : model_->RowTitle(section));
    titleEditor_->setGeometry(QRect(header->mapTo(this, place.topLeft()), place.size()));
    titleEditor_->show();
    titleEditor_->raise();
    titleEditor_->setFocus(Qt::OtherFocusReason);
    titleEditor_->selectAll();
}

void TSpreadGrid::CommitTitleEditor() {
    if (committingTitle_ || titleEditorSection_ < 0) return;
    committingTitle_ = true;
    const QString text = titleEditor_->text();
    const bool column = titleEditorForColumn_;
    const int section = titleEditorSection_;
    titleEditorSection_ = -1;
    if (titleEditor_->hasFocus()) setFocus(Qt::OtherFocusReason);
    titleEditor_->hide();
    if (column) {
        SetGridColumnTitle(section, text);
    } else {
        SetGridRowTitle(section, text);
    }
    committingTitle_ = false;
}

void TSpreadGrid::CancelTitleEditor() {
    if (titleEditorSection_ < 0) return;
    committingTitle_ = true;
    titleEditorSection_ = -1;
    if (titleEditor_->hasFocus()) setFocus(Qt::OtherFocusReason);
    titleEditor_->hide();
    committingTitle_ = false;
}

void TSpreadGrid::SetGridColumnTitle(int column, const QString& title) {
    model_->setHeaderData(column, Qt::Horizontal, title, Qt::EditRole);
}

void TSpreadGrid::SetGridRowTitle(int row, const QString& title) {
    model_->setHeaderData(row, Qt::Vertical, title, Qt::EditRole);
}

void TSpreadGrid::SetCellValue(int row, int column, Extended value) {
    if (row < 0 || row >= SheetRows || column < 0 || column >= DataColumns) return;
    DataTable& table = document_.Table();
    table.SetValue(row, column, value);
    RecountRawData(table, column);
    document_.MarkModified();
    model_->RefreshColumn(column);
    emit edited();
}

void TSpreadGrid::CommitCellEditor() {
    if (state() != QAbstractItemView::EditingState) return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void TSpreadGrid::CommitPendingEdits() {
    CommitCellEditor();
    CommitTitleEditor();
}

// Keys and mouse -----------------------------------------------------------------------------

bool TSpreadGrid::event(QEvent* event) {
    // The sheet's command keys are its own, ahead of the window's shortcuts for the same keys.
    if (event->type() == QEvent::ShortcutOverride &&
        CommandOf(static_cast<QKeyEvent*>(event)) != KeyCommand::None) {
        event->accept();
        return true;
    }
    return QTableView::event(event);
}

bool TSpreadGrid::HandleCommandKey(const QKeyEvent* event) {
    switch (CommandOf(event)) {
        case KeyCommand::None: return false;
        case KeyCommand::Cut: CutToClipboard(); break;
        case KeyCommand::Copy: CopyToClipboard(); break;
        case KeyCommand::Paste: PasteFromClipboard(false); break;
        case KeyCommand::SelectAll: SelectAll(); break;
        case KeyCommand::SelectColumn: SelectColumns(); break;
        case KeyCommand::SelectRow: SelectRows(); break;
        case KeyCommand::Clear: ClearSelection(); break;
        case KeyCommand::Exclude: ToggleExclusion(); break;
    }
    return true;
}

void TSpreadGrid::keyPressEvent(QKeyEvent* event) {
    if (HandleCommandKey(event)) {
        event->accept();
        return;
    }
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::NoModifier && (key == Qt::Key_F9 || key == Qt::Key_F10)) {
        event->accept();
        if (key == Qt::Key_F10) {
            emit nextStepRequested();
        } else {
            emit previousStepRequested();
        }
        return;
    }
    if ((mods == Qt::NoModifier || mods == Qt::ShiftModifier) &&
        (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        // Enter moves down (Shift+Enter up), as after typing a value.
        event->accept();
        MoveCurrent(mods == Qt::ShiftModifier ? Qt::Key_Up : Qt::Key_Down);
        return;
    }
    if (mods == Qt::NoModifier && key == Qt::Key_Up && CurrentDataRow() == 0) {
        event->accept();
        EditColumnTitle(CurrentDataColumn());
        return;
    }
    const QString text = event->text();
    if ((mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) == 0 && !text.isEmpty() &&
        text.at(0).isPrint()) {
        // Only the characters of a number start the cell editor.
        const QChar ch = text.at(0);
        if (ch.unicode() > 0x7F || !AcceptsCellCharacter(static_cast<char>(ch.unicode()))) {
            event->accept();
            return;
        }
    }
    if (mods & Qt::ShiftModifier) kind_ = SelectionKind::Block;
    QTableView::keyPressEvent(event);
}

void TSpreadGrid::MoveFromEditor(int key) {
    CommitCellEditor();
    setFocus(Qt::OtherFocusReason);
    MoveCurrent(key);
}

void TSpreadGrid::MoveCurrent(int key) {
    int row = CurrentDataRow();
    int column = CurrentDataColumn();
    switch (key) {
        case Qt::Key_Up:
            if (row == 0) {
                EditColumnTitle(column);
                return;
            }
            --row;
            break;
        case Qt::Key_Down: ++row; break;
        case Qt::Key_Left: --column; break;
        case Qt::Key_Right: ++column; break;
        default: return;
    }
    SetCurrentCell(row, column);
}

void TSpreadGrid::mousePressEvent(QMouseEvent* event) {
    kind_ = SelectionKind::Block;
    QTableView::mousePressEvent(event);
}

bool TSpreadGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched != titleEditor_) return QTableView::eventFilter(watched, event);
    if (event->type() == QEvent::FocusOut) {
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) CommitTitleEditor();
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
        case Qt::Key_Escape: CancelTitleEditor(); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter: CommitTitleEditor(); return true;
        case Qt::Key_Down: {
            const bool column = titleEditorForColumn_;
            const int section = titleEditorSection_;
            CommitTitleEditor();
            if (column) SetCurrentCell(0, section);
            return true;
        }
        default: return false;
    }
}

void TSpreadGrid::contextMenuEvent(QContextMenuEvent* event) {
    for (QAction* action : popup_->actions()) {
        if (action->objectName() == QStringLiteral("PopupExcludeItem")) {
            action->setEnabled(document_.Format() != DataFormat::LargerTable);
        }
    }
    popup_->popup(event->globalPos());
    event->accept();
}

void TSpreadGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update();
}

void TSpreadGrid::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void TSpreadGrid::scrollContentsBy(int dx, int dy) {
    // An open title editor would no longer cover its title.
    CommitTitleEditor();
    QTableView::scrollContentsBy(dx, dy);
}

}  // namespace zelkon
