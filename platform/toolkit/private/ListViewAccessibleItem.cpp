#include "platform/toolkit/private/ListViewAccessibleItem.h"

#include "platform/base/ImageListData.h"
#include "platform/toolkit/private/ListViewAccessible.h"
#include "platform/toolkit/private/ListViewCore.h"
#include "platform/toolkit/private/ListViewDelegate.h"
#include "platform/toolkit/private/ListViewViews.h"

#include <QHeaderView>
#include <QWidget>

ListViewAccessibleItem::ListViewAccessibleItem(ListViewGridView* view, Kind kind, int row,
                                               int column, bool report)
    : FView(view), FKind(kind), FRow(row), FColumn(column), FReport(report)
{
}

bool ListViewAccessibleItem::RowHasPicture(ListViewGridView* view, int row)
{
    ListViewCore* core = view->Core();
    const ImageListData* images = core->ImagesFor(core->Owner()->ViewStyle());
    if (!images) return false;
    const int index = core->ReaderImage(row);
    return index >= 0 && index < images->ImageCount();
}

ListViewAccessible* ListViewAccessibleItem::Table() const
{
    return FView ? dynamic_cast<ListViewAccessible*>(QAccessible::queryAccessibleInterface(FView))
                 : nullptr;
}

bool ListViewAccessibleItem::isValid() const
{
    const ListViewAccessible* table = FView ? Table() : nullptr;
    if (!table || table->Report() != FReport) return false;
    if (FKind == Header) return FReport && FColumn < table->columnCount();
    if (FRow >= table->rowCount() || FColumn >= table->columnCount()) return false;
    return FKind != Picture || RowHasPicture(FView, FRow);
}

QWindow* ListViewAccessibleItem::window() const
{
    QAccessibleInterface* table = Table();
    return table ? table->window() : nullptr;
}

QAccessibleInterface* ListViewAccessibleItem::childAt(int x, int y) const
{
    QAccessibleInterface* picture = child(0);
    return picture && picture->rect().contains(x, y) ? picture : nullptr;
}

QAccessibleInterface* ListViewAccessibleItem::parent() const
{
    ListViewAccessible* table = Table();
    if (FKind != Picture || !table) return table;
    return table->Part(Cell, FRow, 0);
}

QAccessibleInterface* ListViewAccessibleItem::child(int index) const
{
    if (index != 0 || childCount() == 0) return nullptr;
    ListViewAccessible* table = Table();
    return table ? table->Part(Picture, FRow, 0) : nullptr;
}

int ListViewAccessibleItem::childCount() const
{
    if (FKind != Cell || FColumn != 0 || !isValid()) return 0;
    return RowHasPicture(FView, FRow) ? 1 : 0;
}

int ListViewAccessibleItem::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* part = dynamic_cast<const ListViewAccessibleItem*>(child);
    return part && part->FKind == Picture && part->FView == FView && part->FRow == FRow &&
                   childCount() == 1
               ? 0
               : -1;
}

QString ListViewAccessibleItem::text(QAccessible::Text t) const
{
    if (t == QAccessible::Description && FKind == Cell && isValid()) {
        // The report describes its own cell; the other styles show one
        // column, so a row tells what the described column says of it.
        ListViewCore* core = FView->Core();
        const TCustomListView* owner = core->Owner();
        const int column = FReport ? FColumn : owner->AccessibleDescribedColumn();
        if (column < 0) return {};
        core->ReaderText(FRow, FColumn);  // the row's data, asked for as readers ask
        return ToQString(owner->AccessibleCellDescription(FRow, column));
    }
    if (t != QAccessible::Name || !isValid()) return {};
    if (FKind == Header)
        return FView->model()->headerData(FColumn, Qt::Horizontal, Qt::DisplayRole).toString();
    return ToQString(FView->Core()->ReaderText(FRow, FKind == Picture ? 0 : FColumn));
}

QRect ListViewAccessibleItem::LocalRect() const
{
    if (FKind == Header) {
        const QHeaderView* header = FView->Header();
        return {header->sectionViewportPosition(FColumn), 0, header->sectionSize(FColumn),
                header->height()};
    }
    const QRect cell = FView->visualRect(FView->model()->index(FRow, FColumn));
    if (FKind == Cell) return cell;
    ListViewCore* core = FView->Core();
    const TViewStyle style = core->Owner()->ViewStyle();
    return ListViewIconBox(style, cell, core->ImagesFor(style));
}

QRect ListViewAccessibleItem::rect() const
{
    if (!isValid()) return {};
    const QRect local = LocalRect();
    const QWidget* area =
        FKind == Header ? static_cast<QWidget*>(FView->Header()) : FView->viewport();
    return {area->mapToGlobal(local.topLeft()), local.size()};
}

QAccessible::Role ListViewAccessibleItem::role() const
{
    switch (FKind) {
    case Header: return QAccessible::ColumnHeader;
    case Picture: return QAccessible::Graphic;
    default: return FReport ? QAccessible::Cell : QAccessible::ListItem;
    }
}

QAccessible::State ListViewAccessibleItem::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    const QWidget* area =
        FKind == Header ? static_cast<QWidget*>(FView->Header()) : FView->viewport();
    if (!area->isVisible() || !LocalRect().intersects(area->rect())) {
        state.invisible = true;
        state.offscreen = true;
    }
    if (FKind != Cell) return state;
    ListViewCore* core = FView->Core();
    state.selectable = true;
    state.focusable = true;
    state.selected = core->IsRowSelected(FRow);
    const QModelIndex current = FView->currentIndex();
    state.focused =
        current.isValid() && current.row() == FRow && (!FReport || current.column() == FColumn);
    return state;
}

void* ListViewAccessibleItem::interface_cast(QAccessible::InterfaceType t)
{
    if (t == QAccessible::TableCellInterface && FKind == Cell)
        return static_cast<QAccessibleTableCellInterface*>(this);
    if (t == QAccessible::ImageInterface && FKind == Picture)
        return static_cast<QAccessibleImageInterface*>(this);
    return nullptr;
}

bool ListViewAccessibleItem::isSelected() const
{
    return isValid() && FView->Core()->IsRowSelected(FRow);
}

QList<QAccessibleInterface*> ListViewAccessibleItem::columnHeaderCells() const
{
    ListViewAccessible* table = FReport && isValid() ? Table() : nullptr;
    QAccessibleInterface* header = table ? table->Part(Header, -1, FColumn) : nullptr;
    if (!header) return {};
    return {header};
}

QAccessibleInterface* ListViewAccessibleItem::table() const
{
    return Table();
}
