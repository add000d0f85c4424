#pragma once
// The table the list's one view shows in every style: as many rows as the
// list has, one column per report column. It answers from what the last row requests left
// in the core; it never raises a request itself, so Qt may call it at any
// time without loading anything.

#include <QAbstractTableModel>

class ListViewCore;

class ListViewModel : public QAbstractTableModel {
public:
    ListViewModel(ListViewCore* core, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // A new row count; the old rows, the selection and the focus are gone.
    void Reset(int rows);
    // Brackets the appending of one row.
    void BeginAppend();
    void EndAppend();
    void SetColumnCount(int columns);

private:
    ListViewCore* FCore;
    int FRows = 0;
    int FColumns = 1;
};
