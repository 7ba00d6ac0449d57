#include "ui/spread_grid_model.h"

#include "core/column_headings.h"
#include "core/grid_number.h"
#include "data/entered_value.h"
#include "data/sheet_editing.h"
#include "document/column_selection.h"
#include "document/document.h"
#include "ui/ui_services.h"

namespace zelkon {

TSpreadGridModel::TSpreadGridModel(Document& document, QObject* parent)
    : QAbstractTableModel(parent), document_(document) {
    for (int c = 0; c < DataColumns; ++c) {
        headings_[static_cast<std::size_t>(c)] = ColumnHeading(DataFormat::Raw, c).value_or("");
    }
    UpdateHeadings();
}

int TSpreadGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ShownRows;
}

int TSpreadGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : DataColumns;
}

QString TSpreadGridModel::CellText(int row, int column) const {
    const DataTable& table = document_.Table();
    return ShownNumber(FormatGridNumber(table.Value(row, column), ShownDecimals(table, column)));
}

QString TSpreadGridModel::FittedCellText(int row, int column,
                                         const std::function<bool(const QString&)>& fits) const {
    const DataTable& table = document_.Table();
    return ShownNumber(FitGridText(table.Value(row, column), ShownDecimals(table, column),
                                   [&fits](std::string_view text) { return fits(ShownNumber(text)); }));
}

QString TSpreadGridModel::FullCellText(int row, int column) const {
    return ShownNumber(FullGridText(document_.Table().Value(row, column)));
}

QString TSpreadGridModel::Heading(int column) const {
    if (column < 0 || column >= DataColumns) return {};
    return ToQt(headings_[static_cast<std::size_t>(column)]);
}

QString TSpreadGridModel::ColumnTitle(int column) const {
    if (column < 0 || column >= DataColumns) return {};
    return ToQt(document_.Table().Record(column).title);
}

QString TSpreadGridModel::RowTitle(int row) const { return ToQt(document_.Table().RowTitle(row)); }

QVariant TSpreadGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const DataTable& table = document_.Table();
    switch (role) {
        case Qt::DisplayRole: return CellText(index.row(), index.column());
        case Qt::EditRole: return FullCellText(index.row(), index.column());
        case Qt::ToolTipRole: {
            const QString full = FullCellText(index.row(), index.column());
            return full.isEmpty() ? QVariant() : QVariant(full);
        }
        case Qt::TextAlignmentRole: return int(Qt::AlignRight | Qt::AlignVCenter);
        case ExcludedRole: return table.IsExcluded(index.row(), index.column());
        case AveragedRole: return IsAveragedColumn(table, index.column());
        default: return {};
    }
}

QVariant TSpreadGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole) return Heading(section);
        if (role == TitleRole || role == Qt::EditRole) return ColumnTitle(section);
        return {};
    }
    if (role == Qt::DisplayRole || role == Qt::EditRole) return RowTitle(section);
    return {};
}

Qt::ItemFlags TSpreadGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool TSpreadGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || posting_) return false;
    // The averaged-data question may move the focus, which posts the editor again: the flag
    // keeps the second posting out.
    posting_ = true;
    UiServices& services = Services();
    const TypedValueResult result =
        PostTypedValue(document_, index.row(), index.column(), FromQt(value.toString()),
                       services.separators, *services.prompts);
    posting_ = false;
    if (result.stored || result.redraw == SheetRedraw::Column) {
        // New decimals, or a column that stopped holding averaged data: the whole column.
        RefreshColumn(index.column());
    } else {
        RefreshCell(index.row(), index.column());
    }
    if (result.stored) emit edited();
    return result.stored;
}

bool TSpreadGridModel::setHeaderData(int section, Qt::Orientation orientation,
                                     const QVariant& value, int role) {
    if (role != Qt::EditRole || posting_) return false;
    const std::string text = FromQt(value.toString());
    if (orientation == Qt::Vertical) {
        if (section < 0 || section >= ShownRows || text == document_.Table().RowTitle(section)) {
            return false;
        }
        EnterRowTitle(document_, section, text);
        emit headerDataChanged(Qt::Vertical, section, section);
        emit edited();
        return true;
    }
    if (section < 0 || section >= DataColumns || text == document_.Table().Record(section).title) {
        return false;
    }
    posting_ = true;
    UiServices& services = Services();
    const ColumnTitleResult result = document_.Data().EnterColumnTitle(
        section, text, services.separators, *services.prompts, services.numberTitleMemory);
    posting_ = false;
    if (result.valueStored) {
        // The number went into the first row as if typed there: its decimals are shown, and
        // kept when the file is saved.
        DataTable& table = document_.Table();
        RaiseDecimals(table, section, TypedDigitCounts(table.Value(0, section)));
        RefreshColumn(section);
    }
    emit headerDataChanged(Qt::Horizontal, section, section);
    emit edited();
    return true;
}

void TSpreadGridModel::UpdateHeadings() {
    const DataFormat format = document_.Format();
    bool changed = false;
    for (int c = 0; c < DataColumns; ++c) {
        const auto heading = ColumnHeading(format, c);
        std::string& shown = headings_[static_cast<std::size_t>(c)];
        if (heading && *heading != shown) {
            shown = *heading;
            changed = true;
        }
    }
    if (changed) emit headerDataChanged(Qt::Horizontal, 0, DataColumns - 1);
}

void TSpreadGridModel::RefreshAll() {
    emit headerDataChanged(Qt::Horizontal, 0, DataColumns - 1);
    emit headerDataChanged(Qt::Vertical, 0, ShownRows - 1);
    emit dataChanged(index(0, 0), index(ShownRows - 1, DataColumns - 1));
}

void TSpreadGridModel::RefreshColumn(int column) {
    if (column < 0 || column >= DataColumns) return;
    emit headerDataChanged(Qt::Horizontal, column, column);
    emit dataChanged(index(0, column), index(ShownRows - 1, column));
}

void TSpreadGridModel::RefreshCell(int row, int column) {
    if (row < 0 || row >= ShownRows || column < 0 || column >= DataColumns) return;
    emit dataChanged(index(row, column), index(row, column));
}

}  // namespace zelkon
