#include "platform/toolkit/private/ListViewAccessible.h"

#include "platform/toolkit/private/AccessibleFactory.h"
#include "platform/toolkit/private/ListViewCore.h"
#include "platform/toolkit/private/ListViewViews.h"

#include <QHeaderView>

#include <climits>

namespace {

using Kind = ListViewAccessibleItem::Kind;

// At most this many added rows are announced one by one; a longer run is
// the list being filled, which readers learn from the row count.
constexpr int kAnnouncedRows = 32;

quint64 PartKey(Kind kind, int row, int column)
{
    return (static_cast<quint64>(kind) << 60) | (static_cast<quint64>(row + 1) << 24) |
           static_cast<quint64>(column & 0xFFFFFF);
}

int RowOfKey(quint64 key)
{
    return static_cast<int>((key >> 24) & 0xFFFFFFFFull) - 1;
}

bool IsReport(const ListViewGridView* view)
{
    return view->Core()->Owner()->ViewStyle() == vsReport;
}

int ColumnsShown(const ListViewGridView* view)
{
    return IsReport(view) ? view->model()->columnCount() : 1;
}

}  // namespace

ListViewAccessible::ListViewAccessible(ListViewGridView* view)
    : QAccessibleWidget(view, IsReport(view) ? QAccessible::Table : QAccessible::List),
      FPartsReport(IsReport(view)),
      FRole(IsReport(view) ? QAccessible::Table : QAccessible::List)
{
}

ListViewAccessible::~ListViewAccessible()
{
    for (const QAccessible::Id id : std::as_const(FParts))
        QAccessible::deleteAccessibleInterface(id);
}

ListViewGridView* ListViewAccessible::View() const
{
    return static_cast<ListViewGridView*>(widget());
}

ListViewCore* ListViewAccessible::Core() const
{
    return View() ? View()->Core() : nullptr;
}

bool ListViewAccessible::Report() const
{
    return View() && IsReport(View());
}

void ListViewAccessible::Forget(const std::function<bool(int row)>& matches) const
{
    for (auto it = FParts.begin(); it != FParts.end();) {
        if (matches && !matches(RowOfKey(it.key()))) {
            ++it;
            continue;
        }
        QAccessible::deleteAccessibleInterface(it.value());
        it = FParts.erase(it);
    }
}

void ListViewAccessible::CheckShape() const
{
    if (Report() == FPartsReport) return;
    Forget(nullptr);
    FPartsReport = Report();
}

QAccessibleInterface* ListViewAccessible::Part(Kind kind, int row, int column) const
{
    if (!View()) return nullptr;
    CheckShape();
    const bool report = Report();
    if (column < 0 || column >= columnCount()) return nullptr;
    if (kind == ListViewAccessibleItem::Header ? !report || row != -1
                                               : row < 0 || row >= rowCount())
        return nullptr;
    if (kind == ListViewAccessibleItem::Picture &&
        (column != 0 || !ListViewAccessibleItem::RowHasPicture(View(), row)))
        return nullptr;
    const quint64 key = PartKey(kind, row, column);
    if (const auto found = FParts.constFind(key); found != FParts.cend())
        if (QAccessibleInterface* part = QAccessible::accessibleInterface(found.value()))
            return part;
    auto* part = new ListViewAccessibleItem(View(), kind, row, column, report);
    FParts.insert(key, QAccessible::registerAccessibleInterface(part));
    return part;
}

QAccessible::Role ListViewAccessible::role() const
{
    return Report() ? QAccessible::Table : QAccessible::List;
}

QString ListViewAccessible::text(QAccessible::Text t) const
{
    QString text = QAccessibleWidget::text(t);
    // The list control's name is on its own widget, the view's container.
    if (text.isEmpty() && View() && View()->parentWidget()) {
        if (t == QAccessible::Name) text = View()->parentWidget()->accessibleName();
        if (t == QAccessible::Description) text = View()->parentWidget()->accessibleDescription();
    }
    return text;
}

int ListViewAccessible::rowCount() const
{
    return View() ? View()->model()->rowCount() : 0;
}

int ListViewAccessible::columnCount() const
{
    return View() ? ColumnsShown(View()) : 0;
}

int ListViewChildIndex(const ListViewGridView* view, int row, int column)
{
    if (!IsReport(view)) return row;
    const qint64 index = (static_cast<qint64>(row) + 1) * ColumnsShown(view) + column;
    return index > INT_MAX ? -1 : static_cast<int>(index);
}

int ListViewAccessible::childCount() const
{
    if (!View()) return 0;
    if (!Report()) return rowCount();
    const qint64 count = (static_cast<qint64>(rowCount()) + 1) * columnCount();
    return static_cast<int>(std::min<qint64>(count, INT_MAX));
}

QAccessibleInterface* ListViewAccessible::child(int index) const
{
    if (index < 0 || !View()) return nullptr;
    if (!Report()) return Part(ListViewAccessibleItem::Cell, index, 0);
    const int columns = columnCount();
    if (columns == 0) return nullptr;
    if (index < columns) return Part(ListViewAccessibleItem::Header, -1, index);
    return Part(ListViewAccessibleItem::Cell, index / columns - 1, index % columns);
}

int ListViewAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* part = dynamic_cast<const ListViewAccessibleItem*>(child);
    if (!part || !View() || part->PartKind() == ListViewAccessibleItem::Picture ||
        !part->isValid() || part->table() != this)
        return -1;
    return ListViewChildIndex(View(), part->Row(), part->Column());
}

QAccessibleInterface* ListViewAccessible::childAt(int x, int y) const
{
    ListViewGridView* view = View();
    if (!view) return nullptr;
    const QPoint global(x, y);
    QHeaderView* header = view->Header();
    if (Report() && header->isVisible() && header->rect().contains(header->mapFromGlobal(global)))
        return Part(ListViewAccessibleItem::Header, -1,
                    header->logicalIndexAt(header->mapFromGlobal(global)));
    const QModelIndex index = view->indexAt(view->viewport()->mapFromGlobal(global));
    if (!index.isValid()) return nullptr;
    return Part(ListViewAccessibleItem::Cell, index.row(), Report() ? index.column() : 0);
}

QAccessibleInterface* ListViewAccessible::focusChild() const
{
    if (!View()) return nullptr;
    const QModelIndex current = View()->currentIndex();
    if (!current.isValid()) return nullptr;
    return Part(ListViewAccessibleItem::Cell, current.row(), Report() ? current.column() : 0);
}

void* ListViewAccessible::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QAccessibleInterface* ListViewAccessible::cellAt(int row, int column) const
{
    return Part(ListViewAccessibleItem::Cell, row, column);
}

int ListViewAccessible::selectedCellCount() const
{
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> ListViewAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows())
        for (int column = 0; column < columnCount(); ++column)
            if (QAccessibleInterface* cell = cellAt(row, column)) cells.append(cell);
    return cells;
}

QString ListViewAccessible::columnDescription(int column) const
{
    if (!View() || !Report()) return {};
    return View()->model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QList<int> ListViewAccessible::selectedRows() const
{
    // The list selects one row at most.
    const int row = Core() ? Core()->SelectedRow() : -1;
    if (row < 0) return {};
    return {row};
}

int ListViewAccessible::selectedRowCount() const
{
    return static_cast<int>(selectedRows().size());
}

bool ListViewAccessible::isRowSelected(int row) const
{
    return Core() && Core()->IsRowSelected(row);
}

bool ListViewAccessible::selectRow(int row)
{
    if (!Core() || row < 0 || row >= rowCount()) return false;
    Core()->SelectRow(row);
    return true;
}

bool ListViewAccessible::unselectRow(int row)
{
    if (!Core() || !Core()->IsRowSelected(row)) return false;
    Core()->SelectRow(-1);
    return true;
}

void ListViewAccessible::modelChange(QAccessibleTableModelChangeEvent* event)
{
    switch (event->modelChangeType()) {
    case QAccessibleTableModelChangeEvent::DataChanged: break;
    case QAccessibleTableModelChangeEvent::RowsInserted:
    case QAccessibleTableModelChangeEvent::RowsRemoved: {
        // Parts before the change keep their rows; the ones after move.
        const int first = event->firstRow();
        Forget([first](int row) { return row >= first; });
        break;
    }
    default: Forget(nullptr); break;
    }
    FPartsReport = Report();
}

// ---------------------------------------------------------------------------

void NotifyFocusedCell(ListViewGridView* view)
{
    const QModelIndex current = view->currentIndex();
    if (!current.isValid() || !QAccessible::isActive()) return;
    const int index =
        ListViewChildIndex(view, current.row(), IsReport(view) ? current.column() : 0);
    if (index < 0) return;
    QAccessibleEvent event(view, QAccessible::Focus);
    event.setChild(index);
    QAccessible::updateAccessibility(&event);
}

void NotifySelection(ListViewGridView* view, const QItemSelection& selected,
                     const QItemSelection& deselected)
{
    if (!QAccessible::isActive()) return;
    // Single selection: one range each way at most, told by its first cell.
    const auto tell = [view](const QItemSelection& ranges, QAccessible::Event type) {
        if (ranges.isEmpty()) return;
        const int index = ListViewChildIndex(view, ranges.first().top(),
                                             IsReport(view) ? ranges.first().left() : 0);
        if (index < 0) return;
        QAccessibleEvent event(view, type);
        event.setChild(index);
        QAccessible::updateAccessibility(&event);
    };
    tell(deselected, QAccessible::SelectionRemove);
    tell(selected, QAccessible::SelectionAdd);
}

void NotifyShapeChanged(ListViewGridView* view)
{
    if (!QAccessible::isActive()) return;
    auto* table = dynamic_cast<ListViewAccessible*>(QAccessible::queryAccessibleInterface(view));
    if (table && table->role() != table->CreatedRole()) {
        QAccessibleEvent gone(table, QAccessible::ObjectDestroyed);
        QAccessible::updateAccessibility(&gone);
        ForgetAccessible(view);
        QAccessibleEvent made(view, QAccessible::ObjectCreated);
        QAccessible::updateAccessibility(&made);
    } else {
        QAccessibleTableModelChangeEvent event(view, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&event);
    }
    if (view->hasFocus()) NotifyFocusedCell(view);
}

void NotifySummaryChanged(ListViewGridView* view)
{
    if (!QAccessible::isActive()) return;
    for (const QAccessible::Event type :
         {QAccessible::NameChanged, QAccessible::DescriptionChanged}) {
        QAccessibleEvent event(view, type);
        QAccessible::updateAccessibility(&event);
    }
    if (view->hasFocus()) NotifyFocusedCell(view);
}

void NotifyRowsAdded(ListViewGridView* view, int first, int last)
{
    if (last - first >= kAnnouncedRows || !QAccessible::isActive()) return;
    auto* table = dynamic_cast<ListViewAccessible*>(QAccessible::queryAccessibleInterface(view));
    if (!table) return;
    for (int row = first; row <= last; ++row)
        for (int column = 0; column < table->columnCount(); ++column)
            if (QAccessibleInterface* cell = table->cellAt(row, column)) {
                QAccessibleEvent event(cell, QAccessible::ObjectCreated);
                QAccessible::updateAccessibility(&event);
            }
}
