// The data page's grid in its minimal form: a table view over the document's data table with
// one row of column titles above the 1000 data rows, headings by data format, values shown
// by the grid display rule, typed numbers stored through the data set's raw entry (with its
// averaged-data question) and titles through its column-title entry.  The full spreadsheet
// with selection commands and the clipboard replaces this view later.
#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QWidget>

#include <array>
#include <string>

class QLineEdit;
class QTableView;

namespace zelkon {

class Document;

/// Row 0 holds the column titles; row r >= 1 shows table row r - 1.
class TDataGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int TitleRow = 0;

    explicit TDataGridModel(Document& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    /// Takes the headings of the data format and redraws everything.
    void Refresh();

signals:
    /// A value or title was stored.
    void edited();

private:
    bool SetCellText(int row, int column, const QString& text);
    bool SetTitleText(int column, const QString& text);

    Document& document_;
    std::array<std::string, 26> headings_;
};

/// Limits what can be typed: 15 characters in a title, 14 characters of "0-9 . , - E e" in a
/// value cell.
class TDataGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};

/// The spreadsheet sub-page of step 2: the data title and the grid.
class TDataGridPage : public QWidget {
    Q_OBJECT
public:
    explicit TDataGridPage(Document& document, QWidget* parent = nullptr);

    void Prepare();
    /// Takes over an edit still open in a cell or the title field.
    void CommitPendingEdits();
    /// Empties the view's selection and scrolls back to the first row and column.
    void ScrollHome();

    TDataGridModel* Model() const { return model_; }
    QTableView* View() const { return view_; }
    QLineEdit* TitleEdit() const { return titleEdit_; }

signals:
    void edited();

private:
    void StoreDataTitle();

    Document& document_;
    TDataGridModel* model_ = nullptr;
    QTableView* view_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
};

}  // namespace zelkon
