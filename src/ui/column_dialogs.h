// The "Select Columns" and "Select Pairs" dialogs: check lists of the columns with data and of
// the pairs of selected columns.  OK writes the selection into the document through the
// engine's rules, or shows the rule's message and keeps the dialog open.
#pragma once

#include <QDialog>

#include <vector>

#include "document/column_selection.h"

class QListWidget;
class QPushButton;

namespace zelkon {

class Document;

class TSelectColumnsForm : public QDialog {
    Q_OBJECT
public:
    explicit TSelectColumnsForm(Document& document, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    /// OK: with no entry checked tells "At least one column must be selected." and returns
    /// false (the dialog stays open); otherwise selects the checked columns, marks the
    /// document modified, closes the dialog and returns true.
    bool TryAccept();

private:
    Document& document_;
    std::vector<ColumnEntry> entries_;
    QListWidget* list_ = nullptr;
};

class TSelectPairsForm : public QDialog {
    Q_OBJECT
public:
    explicit TSelectPairsForm(Document& document, QWidget* parent = nullptr);

    QListWidget* List() const { return list_; }
    QPushButton* SelectAllButton() const { return selectAll_; }
    QPushButton* DeselectAllButton() const { return deselectAll_; }
    /// OK: with no entry checked tells "At least one column pair must be selected." and
    /// returns false; otherwise sets the pair flags from the entries, marks the document
    /// modified, closes the dialog and returns true.
    bool TryAccept();

private:
    void CheckAll(bool checked);

    Document& document_;
    std::vector<PairEntry> entries_;
    QListWidget* list_ = nullptr;
    QPushButton* selectAll_ = nullptr;
    QPushButton* deselectAll_ = nullptr;
};

}  // namespace zelkon
