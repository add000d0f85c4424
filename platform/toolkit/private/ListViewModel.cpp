#include "platform/toolkit/private/ListViewModel.h"

#include "platform/toolkit/private/ListViewCore.h"

ListViewModel::ListViewModel(ListViewCore* core, QObject* parent)
    : QAbstractTableModel(parent), FCore(core)
{
}

int ListViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FRows;
}

int ListViewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FColumns;
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return ToQString(FCore->CellText(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) return headerData(index.column(), Qt::Horizontal, role);
    return {};
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    TListColumns* columns = FCore->Owner()->Columns();
    if (orientation != Qt::Horizontal || section < 0 || section >= columns->GetCount()) return {};
    const TListColumn* column = columns->GetItem(section);
    if (role == Qt::DisplayRole) return ToQString(column->Caption);
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment horizontal = column->Alignment == taRightJustify ? Qt::AlignRight
                                         : column->Alignment == taCenter     ? Qt::AlignHCenter
                                                                             : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void ListViewModel::Reset(int rows)
{
    beginResetModel();
    FRows = rows < 0 ? 0 : rows;
    endResetModel();
}

void ListViewModel::BeginAppend()
{
    beginInsertRows(QModelIndex(), FRows, FRows);
}

void ListViewModel::EndAppend()
{
    ++FRows;
    endInsertRows();
}

void ListViewModel::SetColumnCount(int columns)
{
    columns = columns < 1 ? 1 : columns;
    if (columns > FColumns) {
        beginInsertColumns(QModelIndex(), FColumns, columns - 1);
        FColumns = columns;
        endInsertColumns();
    } else if (columns < FColumns) {
        beginRemoveColumns(QModelIndex(), columns, FColumns - 1);
        FColumns = columns;
        endRemoveColumns();
    }
    emit headerDataChanged(Qt::Horizontal, 0, FColumns - 1);
}
