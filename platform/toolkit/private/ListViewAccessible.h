#pragma once
// What assistive technology reads of a list view. In the report style the
// view is a table: a row of column headers (children 0 to columns - 1),
// then the rows' cells, cell c of row r being child (r + 1) * columns + c.
// In the other styles it is a list, row r being item r. Counts are
// arithmetic on the row count and nothing walks the rows: a cell's texts
// are asked for through the owner-data path when, and only when, a reader
// asks for that cell (ListViewCore::ReaderText). Cell interfaces are made
// on demand, registered with Qt, and kept until the rows change under them;
// the table manages its descendants, as Qt's own views declare, so readers
// do not keep them either.

#include "platform/toolkit/private/ListViewAccessibleItem.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QItemSelection>

#include <functional>

class ListViewCore;
class ListViewGridView;

class ListViewAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit ListViewAccessible(ListViewGridView* view);
    ~ListViewAccessible() override;

    ListViewGridView* View() const;
    // True while the view shows the report style, a table.
    bool Report() const;
    // The interface of one part (row -1 for a column header); null outside
    // the list.
    QAccessibleInterface* Part(ListViewAccessibleItem::Kind kind, int row, int column) const;

    QAccessible::Role role() const override;
    // The role the interface was made with, which readers keep.
    QAccessible::Role CreatedRole() const { return FRole; }
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

private:
    ListViewCore* Core() const;
    // Drops the parts that match, or all of them.
    void Forget(const std::function<bool(int row)>& matches) const;
    // A style switch between table and list leaves no part of the old shape.
    void CheckShape() const;

    mutable QHash<quint64, QAccessible::Id> FParts;
    mutable bool FPartsReport = false;
    const QAccessible::Role FRole;
};

// The child index of a cell (row -1: its column header); -1 past what an
// int counts.
int ListViewChildIndex(const ListViewGridView* view, int row, int column);

// Events for readers, sent only while one reads (QAccessible::isActive),
// as Qt's own views send theirs: the current row or cell took the focus; rows
// were selected or deselected; the style changed what the view is (a table
// or a list: readers keep an object's role, so the old object goes and one
// of the new role comes, with the focus on it); rows were added to the end
// of a list that shows them one by one.
void NotifyFocusedCell(ListViewGridView* view);
void NotifySelection(ListViewGridView* view, const QItemSelection& selected,
                     const QItemSelection& deselected);
void NotifyShapeChanged(ListViewGridView* view);
// The list's name or description changed: readers hear both, then the
// current row again when the list has the focus.
void NotifySummaryChanged(ListViewGridView* view);
void NotifyRowsAdded(ListViewGridView* view, int first, int last);
