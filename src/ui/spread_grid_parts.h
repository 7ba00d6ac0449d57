// The pieces the data sheet is drawn and edited with: the headers that stand for the sheet's
// fixed rows (headings and column titles) and its row-title column, the cell painter, and
// the cell editor that takes only the characters of a number.
#pragma once

#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include <functional>

namespace zelkon {

/// The horizontal header draws two raised lines per column (the heading, then the column
/// title); the vertical header draws the row titles.  Clicks on a section select the whole
/// column or row (Shift extends from the anchor); a double click, or a click on the last 14
/// pixels of a row title, asks for the title editor.  Column borders can be dragged.
class TSpreadGridHeader : public QHeaderView {
    Q_OBJECT
public:
    /// Pixels at the right edge of a row title that open its editor instead of selecting.
    static constexpr int RowTitleEditStrip = 14;

    TSpreadGridHeader(Qt::Orientation orientation, int lineHeight, int titleWidth,
                      QWidget* parent = nullptr);

    QSize sizeHint() const override;
    /// The rectangle (in header coordinates) of the column title of a column, or of a row
    /// title.
    QRect TitleRect(int section) const;

signals:
    /// A section was clicked (or dragged over with the button held: extend is then true).
    void headerClicked(int section, bool extend);
    /// The title of a section is to be edited.
    void titleEditRequested(int section);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int PositionOf(const QMouseEvent* event) const;
    bool OnBorder(int position) const;

    int lineHeight_;
    int titleWidth_;
    int pressedSection_ = -1;
};

/// The cell editor (TSpreadInplaceEdit): only "0"-"9", ".", ",", "-", "E" and "e", at most 14
/// characters unless text is selected; the arrow keys are handed to the grid, so that they
/// move between cells rather than within the text.
class TSpreadInplaceEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TSpreadInplaceEdit(QWidget* parent = nullptr);

    /// Called with the arrow key pressed in the editor.
    std::function<void(int key)> onArrow;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

/// Draws a data cell: the shown text, fitted to the cell (at most 20 characters, never a
/// leading digit left out), right-aligned 4 pixels from the right edge; excluded values in italics in the excluded-value colour; averaged-data
/// columns on the button-face colour; selected cells in the highlight colours while the grid
/// has the focus; a frame two pixels wide round the current cell.
class TSpreadGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TSpreadGridDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    /// Enter and Tab in the editor post the value and move (through onEditorArrow).
    bool eventFilter(QObject* watched, QEvent* event) override;

    QColor excludedColour = QColor(0, 0, 255);
    QFont font;
    /// Handed to every editor: the grid moves between cells.
    std::function<void(int key)> onEditorArrow;
};

}  // namespace zelkon
