// The spreadsheet sub-page of step 2: the data title above the data sheet (TSpreadGrid).
#pragma once

#include <QWidget>

class QLineEdit;

namespace zelkon {

class Document;
class TSpreadGrid;
class TSpreadGridModel;

class TDataGridPage : public QWidget {
    Q_OBJECT
public:
    explicit TDataGridPage(Document& document, QWidget* parent = nullptr);

    /// Shows the document: the data title, the headings of its data format and every cell.
    void Prepare();
    /// Takes over an edit still open in a cell, a title editor or the data title field.
    void CommitPendingEdits();
    /// Empties the selection and scrolls back to the first row and column.
    void ScrollHome();

    TSpreadGrid* Grid() const { return grid_; }
    TSpreadGridModel* Model() const;
    QLineEdit* TitleEdit() const { return titleEdit_; }

signals:
    void edited();

private:
    void StoreDataTitle();

    Document& document_;
    TSpreadGrid* grid_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
};

}  // namespace zelkon
