#include "platform/toolkit/ListViewViews.h"

#include "platform/toolkit/ListViewCore.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>

namespace {

// A key the list's type-ahead takes: printable text without Ctrl or Alt.
bool IsTypeAhead(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

}  // namespace

ListViewIconView::ListViewIconView(ListViewCore* core, QWidget* parent)
    : QListView(parent), FCore(core)
{
    setViewMode(QListView::ListMode);  // static layout: nothing stored per row but a position
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setSpacing(0);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

std::pair<int, int> ListViewIconView::RowsIn(const QRect& area) const
{
    const QRect visible = area.intersected(viewport()->rect());
    const QSize cell = gridSize().isValid() ? gridSize() : FCore->ItemSize();
    if (visible.isEmpty() || !model() || model()->rowCount() == 0 || cell.isEmpty())
        return {-1, -1};
    // Items tile the grid in row order, so sampling every half cell, edges
    // included, meets every item the area touches.
    const int stepX = std::max(1, cell.width() / 2);
    const int stepY = std::max(1, cell.height() / 2);
    int first = -1, last = -1;
    for (int y = visible.top();; y = std::min(y + stepY, visible.bottom())) {
        for (int x = visible.left();; x = std::min(x + stepX, visible.right())) {
            const QModelIndex index = indexAt(QPoint(x, y));
            if (index.isValid()) {
                first = first < 0 ? index.row() : std::min(first, index.row());
                last = std::max(last, index.row());
            }
            if (x == visible.right()) break;
        }
        if (y == visible.bottom()) break;
    }
    return {first, last};
}

void ListViewIconView::paintEvent(QPaintEvent* event)
{
    FCore->CheckGeometry();
    executeDelayedItemsLayout();
    const auto [first, last] = RowsIn(event->rect());
    FCore->PrepareRows(first, last);
    QListView::paintEvent(event);
}

void ListViewIconView::keyPressEvent(QKeyEvent* event)
{
    if (IsTypeAhead(event))
        FCore->TypeAhead(event->text());
    else
        QListView::keyPressEvent(event);
    // Accepted either way: passed on, the control's container would raise
    // OnKeyDown a second time.
    event->accept();
}

void ListViewIconView::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) FCore->Clicked();
}

void ListViewIconView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        FCore->DoubleClicked();
}

ListViewReportView::ListViewReportView(ListViewCore* core, QWidget* parent)
    : QTreeView(parent), FCore(core)
{
    setUniformRowHeights(true);  // otherwise Qt measures, and asks for, every row
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

std::pair<int, int> ListViewReportView::RowsIn(const QRect& area) const
{
    const QRect visible = area.intersected(viewport()->rect());
    if (visible.isEmpty() || !model() || model()->rowCount() == 0) return {-1, -1};
    // Any column will do to find a row; take one that is on screen.
    int column = header()->logicalIndexAt(visible.left());
    if (column < 0) column = header()->logicalIndexAt(0);
    if (column < 0) return {-1, -1};
    const int x = std::max(0, header()->sectionViewportPosition(column));
    const QModelIndex top = indexAt(QPoint(x, visible.top()));
    if (!top.isValid()) return {-1, -1};
    const QModelIndex bottom = indexAt(QPoint(x, visible.bottom()));
    return {top.row(), bottom.isValid() ? bottom.row() : model()->rowCount() - 1};
}

void ListViewReportView::paintEvent(QPaintEvent* event)
{
    FCore->CheckGeometry();
    executeDelayedItemsLayout();
    const auto [first, last] = RowsIn(event->rect());
    FCore->PrepareRows(first, last);
    QTreeView::paintEvent(event);
}

void ListViewReportView::keyPressEvent(QKeyEvent* event)
{
    if (IsTypeAhead(event))
        FCore->TypeAhead(event->text());
    else
        QTreeView::keyPressEvent(event);
    // Accepted either way: passed on, the control's container would raise
    // OnKeyDown a second time.
    event->accept();
}

void ListViewReportView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) FCore->Clicked();
}

void ListViewReportView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        FCore->DoubleClicked();
}
