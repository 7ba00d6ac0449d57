// TSpreadGrid: the data sheet of step 2 (RawDataGrid).  A table view over the document's
// data table with the headings and column titles as its two fixed rows and the row titles
// as its fixed column; typing, title editors, header clicks, the keys of the sheet, the
// pop-up menu, and the block commands (clipboard, clear, exclude, insert and delete cells),
// each done through the engine's editing operations.
#pragma once

#include <QTableView>

#include <string_view>

#include "core/types.h"
#include "data/selection.h"
#include "data/sheet_editing.h"

class QLineEdit;
class QMenu;

namespace zelkon {

class TShiftForm;

class Document;
class TSpreadGridDelegate;
class TSpreadGridHeader;
class TSpreadGridModel;

class TSpreadGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int ColumnWidth = 90;
    static constexpr int RowHeight = 18;

    explicit TSpreadGrid(Document& document, QWidget* parent = nullptr);

    TSpreadGridModel* Model() const { return model_; }
    QMenu* PopupMenu() const { return popup_; }

    // What the sheet shows ----------------------------------------------------------------
    /// The headings of the data format (written where they differ), then everything anew.
    void Prepare();
    /// Re-reads every shown text (cells and titles) from the document.
    void RefreshAll();
    /// Re-reads the texts of table column c (0 to 25).
    void RefreshColumn(int tableColumn);
    void RefreshCell(int row, int column);
    /// The colour of excluded values (blue at first).
    void SetExcludedColour(const QColor& colour);

    // Selection ---------------------------------------------------------------------------
    /// The selection in table coordinates, or the current cell as a block.
    Selection EngineSelection() const;
    bool IsAllSelected() const;
    bool IsWholeColumnsSelected() const;
    bool IsWholeRowsSelected() const;
    /// The current cell (table row 0 to 999, table column 0 to 25).
    int CurrentDataRow() const;
    int CurrentDataColumn() const;
    void SetCurrentCell(int row, int column);
    /// Selects a block of cells (the current cell becomes its top-left corner).
    void SelectBlock(int top, int left, int bottom, int right);
    /// Everything (the top-left corner, Select All).
    void SelectAll();
    /// The corner button and the view's own select-all go to SelectAll.
    void selectAll() override;
    /// The whole columns / rows of the current selection (Select Column, Select Row).
    void SelectColumns();
    void SelectRows();
    /// A click on the header of table column c / row r; extend = Shift (from the anchor).
    void ColumnHeaderClicked(int column, bool extend);
    void RowHeaderClicked(int row, bool extend);

    // Titles and values -------------------------------------------------------------------
    /// Opens the title editor over the column title of column c / the title of row r.
    void EditColumnTitle(int column);
    void EditRowTitle(int row);
    /// The open title editor (nothing when none is open).
    QLineEdit* OpenTitleEditor() const;
    /// Stores a column title as leaving its editor does (with the number-as-title question).
    void SetGridColumnTitle(int column, const QString& title);
    void SetGridRowTitle(int row, const QString& title);
    /// Writes a value into the table and shows it.
    void SetCellValue(int row, int column, Extended value);
    /// Takes over an edit still open in a cell or a title editor.
    void CommitPendingEdits();

    // Commands ------------------------------------------------------------------------------
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard(bool transpose);
    /// Del: empties the selection (everything: the whole table).
    void ClearSelection();
    /// Ctrl+E: includes the selection again when any of it is excluded, else excludes it.
    void ToggleExclusion();
    /// With whole rows, whole columns or everything selected the mode follows from the
    /// selection; otherwise the dialog asks.
    void InsertCells();
    void DeleteCells();

signals:
    /// A value, title or block of the document was changed.
    void edited();
    /// "&Transform" / "&Number Format" of the pop-up menu.
    void transformRequested();
    void numberFormatRequested();
    /// F10 / F9 reached the sheet.
    void nextStepRequested();
    void previousStepRequested();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void BuildPopupMenu();
    /// Handles a key meant for the sheet's own commands; true when it was one.
    bool HandleCommandKey(const QKeyEvent* event);
    void MoveFromEditor(int key);
    void MoveCurrent(int key);
    void CommitCellEditor();
    void StartTitleEditor(bool column, int section);
    void CommitTitleEditor();
    void CancelTitleEditor();
    void SelectWhole(SelectionKind kind, int from, int to);
    /// Insert or delete: the mode from the selection, else from `form`; then `shift`.
    void ShiftSelection(TShiftForm& form, void (*shift)(Document&, const Selection&, ShiftMode));
    /// A bulk operation: busy cursor and no painting while `work` runs, then one refresh.
    template <typename Work> void Bulk(Work work);
    void AfterBulkEdit(bool changed);

    Document& document_;
    TSpreadGridModel* model_ = nullptr;
    TSpreadGridDelegate* delegate_ = nullptr;
    TSpreadGridHeader* columnHeader_ = nullptr;
    TSpreadGridHeader* rowHeader_ = nullptr;
    QMenu* popup_ = nullptr;
    QLineEdit* titleEditor_ = nullptr;
    bool titleEditorForColumn_ = true;
    int titleEditorSection_ = -1;
    bool committingTitle_ = false;
    /// How the selection was made (kept only while the selection still has that shape).
    SelectionKind kind_ = SelectionKind::Block;
    int anchorColumn_ = 0;
    int anchorRow_ = 0;
};

}  // namespace zelkon
