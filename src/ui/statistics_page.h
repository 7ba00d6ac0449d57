// Step 3, the column statistics page: the data title and the statistics grid (one column
// per data column, one row per statistic, texts from the engine's statistics screen).  In the
// two averaged formats the user types the mean, the error and N of each column here, and the
// column titles, since these formats have no data page.
#pragma once

#include <QWidget>

#include "stats/column_stats.h"

class QLineEdit;
class QTableWidget;
class QTableWidgetItem;

namespace zelkon {

class Document;

class TStatisticsPage : public QWidget {
    Q_OBJECT
public:
    /// Grid row 0 holds the column titles; the statistics follow with an empty row after N,
    /// the 95% limits and the maximum.
    static constexpr int TitleRow = 0;
    static constexpr int GridRows = 16;

    explicit TStatisticsPage(Document& document, QWidget* parent = nullptr);

    /// Brings the column statistics up to date and shows them.
    void Prepare();
    void CommitPendingEdits();
    void ScrollHome();

    QTableWidget* Grid() const { return grid_; }
    QLineEdit* TitleEdit() const { return titleEdit_; }
    /// The grid row of a statistic.
    static int GridRowOf(StatisticsRow row);

signals:
    void edited();

private:
    void ShowAll();
    void ShowColumn(int column);
    void CellEdited(QTableWidgetItem* item);
    void StoreTitle();
    bool Averaged() const;

    Document& document_;
    QTableWidget* grid_ = nullptr;
    QLineEdit* titleEdit_ = nullptr;
    bool filling_ = false;
};

}  // namespace zelkon
