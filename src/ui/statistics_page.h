// Step 3, the column statistics page: the data title and the statistics grid (one column
// per data column, one row per statistic, texts from the engine's statistics screen).  In the
// two averaged formats the user types the mean, the error and N of each column here, and the
// column titles, since these formats have no data page.  The pop-up menu cuts, copies, pastes
// and deletes cell texts; only the cells the user may type into take pasted or deleted text.
#pragma once

#include <QWidget>

#include "stats/column_stats.h"

class QLineEdit;
class QMenu;
class QTableWidget;
class QTableWidgetItem;

namespace zelkon {

class Document;

class TStatisticsPage : public QWidget {
    Q_OBJECT
public:
    /// Grid row 0 holds the column titles; the statistics follow with an empty row after N,
    /// the 95% limits, the maximum and the normality rows.
    static constexpr int TitleRow = 0;
    static constexpr int GridRows = 17;

    explicit TStatisticsPage(Document& document, QWidget* parent = nullptr);

    /// Brings the column statistics up to date and shows them.
    void Prepare();
    void CommitPendingEdits();
    void ScrollHome();

    QTableWidget* Grid() const { return grid_; }
    QLineEdit* TitleEdit() const { return titleEdit_; }
    /// The pop-up menu StatDataPopupMenu: "&Cut", "&Copy", "&Paste", "&Delete" (Del).
    QMenu* PopupMenu() const { return popup_; }
    /// The grid row of a statistic.
    static int GridRowOf(StatisticsRow row);

    /// The texts of the selected cells (the current cell when none is selected), one line per
    /// grid row, fields separated by TAB, lines by CR LF, numbers with the user's decimal
    /// separator.
    QString SelectionText() const;
    /// Copy: the selection's text onto the clipboard.
    void CopyToClipboard();
    /// Cut: copy, then delete.
    void CutToClipboard();
    /// Paste: the clipboard's text from the current cell on, fields split at TAB, "," and
    /// ";", lines at LF; a field lands only in a cell the user may type into.
    void PasteFromClipboard();
    void PasteText(const QString& text);
    /// Delete (Del): empties the selected cells the user may type into.
    void DeleteSelection();

signals:
    void edited();

private:
    void ShowAll();
    void ShowColumn(int column);
    void CellEdited(QTableWidgetItem* item);
    void StoreTitle();
    bool Averaged() const;
    bool Typable(int gridRow, int column) const;
    void BuildPopupMenu();
    bool eventFilter(QObject* watched, QEvent* event) override;

    Document& document_;
    QTableWidget* grid_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    QMenu* popup_ = nullptr;
    /// The data title as the field last showed or stored it: a longer title read from a file
    /// is not cut to the field's length unless the user changes it.
    QString shownTitle_;
    bool filling_ = false;
};

}  // namespace zelkon
