// The two-by-two sub-page of step 2: the data title, the labels of the two columns and two
// rows, the four counts A, B, C, D, and the row, column and grand totals beside them.
#pragma once

#include <QWidget>

#include <QString>

#include <array>

class QLabel;
class QLineEdit;

namespace zelkon {

class Document;

class TTwoByTwoEntryPage : public QWidget {
    Q_OBJECT
public:
    /// Entry field lengths: data title 62, labels 15, counts 10 characters.
    static constexpr int TitleLength = 62;
    static constexpr int LabelLength = 15;
    static constexpr int CountLength = 10;

    explicit TTwoByTwoEntryPage(Document& document, QWidget* parent = nullptr);

    /// Shows the record and the data title.
    void Prepare();
    /// Takes over the text of every field (the fields store on leaving them as well).
    void CommitPendingEdits();

    /// The count fields A, B, C, D; the label fields column 1, column 2, row 1, row 2.
    QLineEdit* CountEdit(int cell) const { return counts_[static_cast<std::size_t>(cell)]; }
    QLineEdit* LabelEdit(int label) const { return labels_[static_cast<std::size_t>(label)]; }
    QLineEdit* TitleEdit() const { return titleEdit_; }
    /// The totals: row 1, row 2, column 1, column 2, grand total.
    QString TotalText(int total) const;

signals:
    void edited();

private:
    void StoreCount(int cell);
    void StoreLabel(int label);
    void StoreTitle();
    void ShowTotals();

    Document& document_;
    QLineEdit* titleEdit_ = nullptr;
    std::array<QLineEdit*, 4> counts_{};
    std::array<QLineEdit*, 4> labels_{};
    std::array<QLabel*, 5> totals_{};
    // The texts the fields last showed or stored: a longer label, title or count read from a
    // file is not cut to the field's length unless the user changes it.
    std::array<QString, 4> shownCounts_;
    std::array<QString, 4> shownLabels_;
    QString shownTitle_;
};

}  // namespace zelkon
