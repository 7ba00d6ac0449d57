// The data sheet's contents as a Qt table model over the document's data table: one model
// row per table row (the 1000 rows the sheet shows), one model column per data column (A to
// Z).  The sheet's two fixed rows (headings and column titles) are the horizontal header and
// its row titles the vertical header.  Texts are read from the table each time they are
// shown, so a refresh only has to tell the views what changed.
#pragma once

#include <QAbstractTableModel>

#include <array>
#include <functional>
#include <string>

#include "core/types.h"

namespace zelkon {

class Document;

class TSpreadGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    /// Horizontal header role of the column title (the sheet's second fixed row).
    static constexpr int TitleRole = Qt::UserRole + 1;
    /// Cell role: true when the value is excluded.
    static constexpr int ExcludedRole = Qt::UserRole + 2;
    /// Cell role: true when the cell's column holds averaged data (typed as mean, error, N).
    static constexpr int AveragedRole = Qt::UserRole + 3;

    explicit TSpreadGridModel(Document& document, QObject* parent = nullptr);

    Document& Doc() const { return document_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    /// Posts a typed value (EditRole): the averaged-data question, the decimals, the store.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    /// Leaving a title editor (EditRole): horizontal sections take column titles (with the
    /// number-as-title question), vertical sections row titles.  An unchanged title does
    /// nothing.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;

    /// The text a cell shows (the grid display rule with the column's shown decimals), with
    /// the user's decimal separator.
    QString CellText(int row, int column) const;
    /// The text a cell shows in a width that holds only what `fits` accepts: never leading
    /// digits left out (FitGridText).
    QString FittedCellText(int row, int column, const std::function<bool(const QString&)>& fits) const;
    /// Every digit of the cell's value (its tooltip, and the text the editor starts with).
    QString FullCellText(int row, int column) const;
    QString Heading(int column) const;
    QString ColumnTitle(int column) const;
    QString RowTitle(int row) const;

    /// Takes the headings of the document's data format; the two-by-two format keeps the
    /// headings shown.
    void UpdateHeadings();
    /// Every cell and title is shown anew from the table.
    void RefreshAll();
    void RefreshColumn(int column);
    void RefreshCell(int row, int column);

signals:
    /// A value or title was stored.
    void edited();

private:
    Document& document_;
    std::array<std::string, DataColumns> headings_;
    bool posting_ = false;
};

}  // namespace zelkon
