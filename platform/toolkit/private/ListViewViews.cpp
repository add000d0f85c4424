#include "platform/toolkit/private/ListViewViews.h"

#include "platform/toolkit/private/BandedScrollBar.h"
#include "platform/toolkit/private/ListViewAccessible.h"
#include "platform/toolkit/private/ListViewCore.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <climits>

namespace {

// A key the list's type-ahead takes: printable text without Ctrl or Alt.
bool IsTypeAhead(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).isPrint();
}

// Content extents can pass what a scroll bar holds for absurd counts; such
// lists scroll as far as an int reaches.
int ClampExtent(qint64 extent)
{
    return static_cast<int>(std::clamp<qint64>(extent, 0, INT_MAX));
}

int CeilDiv(int a, int b)
{
    return a <= 0 ? 0 : (a - 1) / b + 1;
}

// First and last row whose cells a content rectangle touches; -1, -1 when
// none. Grid rows (list columns) are contiguous runs of rows, so the range
// of a rectangle is from its first touched cell to its last.
std::pair<int, int> RangeOf(int count, const QSize& cell, bool report, bool columnsFlow,
                            int perLine, const QRect& content)
{
    if (count <= 0 || content.isEmpty() || cell.isEmpty()) return {-1, -1};
    const int w = cell.width(), h = cell.height();
    qint64 first = 0, last = 0;
    if (report) {
        if (content.bottom() < 0) return {-1, -1};
        first = std::max(0, content.top()) / h;
        last = content.bottom() / h;
    } else {
        // a counts cells along a line of the flow, b counts lines.
        const int alongLow = columnsFlow ? content.top() : content.left();
        const int alongHigh = columnsFlow ? content.bottom() : content.right();
        const int acrossLow = columnsFlow ? content.left() : content.top();
        const int acrossHigh = columnsFlow ? content.right() : content.bottom();
        const int alongCell = columnsFlow ? h : w;
        const int acrossCell = columnsFlow ? w : h;
        if (alongHigh < 0 || acrossHigh < 0) return {-1, -1};
        const int a0 = std::max(0, alongLow) / alongCell;
        if (a0 >= perLine) return {-1, -1};
        const int a1 = std::min(perLine - 1, alongHigh / alongCell);
        const int b0 = std::max(0, acrossLow) / acrossCell;
        const int b1 = acrossHigh / acrossCell;
        first = static_cast<qint64>(b0) * perLine + a0;
        last = static_cast<qint64>(b1) * perLine + a1;
    }
    if (first >= count) return {-1, -1};
    return {static_cast<int>(first), static_cast<int>(std::min<qint64>(last, count - 1))};
}

}  // namespace

ListViewGridView::ListViewGridView(ListViewCore* core, QWidget* parent)
    : QAbstractItemView(parent), FCore(core), FHeader(new QHeaderView(Qt::Horizontal, this))
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBar(new BandedScrollBar(Qt::Horizontal));
    setVerticalScrollBar(new BandedScrollBar(Qt::Vertical));
    FHeader->setStretchLastSection(false);
    FHeader->setSectionsMovable(false);
    FHeader->setFocusPolicy(Qt::NoFocus);
    FHeader->hide();
    connect(FHeader, &QHeaderView::sectionResized, this, [this] {
        updateGeometries();
        viewport()->update();
    });
    connect(FHeader, &QHeaderView::sectionCountChanged, this, [this] { updateGeometries(); });
}

void ListViewGridView::setModel(QAbstractItemModel* model)
{
    QAbstractItemView::setModel(model);
    FHeader->setModel(model);
}

int ListViewGridView::Count() const
{
    return model() ? model()->rowCount(rootIndex()) : 0;
}

ListViewGridView::Layout ListViewGridView::CurrentLayout() const
{
    Layout layout;
    const TViewStyle style = FCore->Owner()->ViewStyle();
    const QSize item = FCore->ItemSize().expandedTo(QSize(1, 1));
    const int count = Count();
    if (style == vsReport) {
        layout.report = true;
        layout.cell = QSize(std::max(1, FHeader->length()), item.height());
        layout.lines = count;
        return layout;
    }
    layout.cell = item;
    layout.columnsFlow = style == vsList;
    const int room = layout.columnsFlow ? viewport()->height() / item.height()
                                        : viewport()->width() / item.width();
    layout.perLine = std::max(1, room);
    layout.lines = CeilDiv(count, layout.perLine);
    return layout;
}

QRect ListViewGridView::CellRect(const Layout& layout, int row) const
{
    const int w = layout.cell.width(), h = layout.cell.height();
    if (layout.report) return {0, ClampExtent(static_cast<qint64>(row) * h), w, h};
    const int line = row / layout.perLine, along = row % layout.perLine;
    if (layout.columnsFlow) return {ClampExtent(static_cast<qint64>(line) * w), along * h, w, h};
    return {along * w, ClampExtent(static_cast<qint64>(line) * h), w, h};
}

int ListViewGridView::RowAt(const Layout& layout, const QPoint& content) const
{
    const auto [first, last] = RangeOf(Count(), layout.cell, layout.report, layout.columnsFlow,
                                       layout.perLine, QRect(content, QSize(1, 1)));
    if (first < 0 || first != last) return -1;
    if (layout.report && content.x() >= layout.cell.width()) return -1;
    return first;
}

QPoint ListViewGridView::Offset() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

std::pair<int, int> ListViewGridView::RowsIn(const QRect& area) const
{
    const QRect visible = area.intersected(viewport()->rect());
    const Layout layout = CurrentLayout();
    return RangeOf(Count(), layout.cell, layout.report, layout.columnsFlow, layout.perLine,
                   visible.translated(Offset()));
}

QRect ListViewGridView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= Count()) return {};
    const Layout layout = CurrentLayout();
    QRect rect = CellRect(layout, index.row()).translated(-Offset());
    if (layout.report) {
        if (FHeader->isSectionHidden(index.column())) return {};
        rect.setLeft(FHeader->sectionViewportPosition(index.column()));
        rect.setWidth(FHeader->sectionSize(index.column()));
    }
    return rect;
}

QModelIndex ListViewGridView::indexAt(const QPoint& point) const
{
    const Layout layout = CurrentLayout();
    const int row = RowAt(layout, point + Offset());
    if (row < 0) return {};
    int column = 0;
    if (layout.report) {
        column = FHeader->logicalIndexAt(point.x());
        if (column < 0) return {};
    }
    return model()->index(row, column, rootIndex());
}

void ListViewGridView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid() || index.row() >= Count()) return;
    const Layout layout = CurrentLayout();
    QRect cell = CellRect(layout, index.row());
    if (layout.report) {
        cell.setLeft(FHeader->sectionPosition(index.column()));
        cell.setWidth(FHeader->sectionSize(index.column()));
    }
    // Along one axis: the new offset that shows low..high in a window of size.
    const auto place = [hint](int offset, int low, int high, int size) {
        const int extent = high - low;
        switch (hint) {
        case PositionAtTop: return low;
        case PositionAtBottom: return high - size;
        case PositionAtCenter: return low - (size - extent) / 2;
        case EnsureVisible:
        default:
            if (low < offset || extent > size) return low;
            if (high > offset + size) return high - size;
            return offset;
        }
    };
    const QRect shown = viewport()->rect();
    const bool sideways = layout.columnsFlow;
    QScrollBar* along = sideways ? horizontalScrollBar() : verticalScrollBar();
    if (sideways)
        along->setValue(
            place(along->value(), cell.left(), cell.left() + cell.width(), shown.width()));
    else
        along->setValue(
            place(along->value(), cell.top(), cell.top() + cell.height(), shown.height()));
    if (layout.report) {
        QScrollBar* bar = horizontalScrollBar();
        const int left = cell.left(), right = cell.left() + cell.width();
        if (left < bar->value() || right - left > shown.width())
            bar->setValue(left);
        else if (right > bar->value() + shown.width())
            bar->setValue(right - shown.width());
    }
}

void ListViewGridView::reset()
{
    QAbstractItemView::reset();
    updateGeometries();
    viewport()->update();
}

void ListViewGridView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update();
    NotifyRowsAdded(this, start, end);
}

void ListViewGridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QAbstractItemView::currentChanged(current, previous);
    if (hasFocus()) NotifyFocusedCell(this);
}

void ListViewGridView::selectionChanged(const QItemSelection& selected,
                                        const QItemSelection& deselected)
{
    QAbstractItemView::selectionChanged(selected, deselected);
    NotifySelection(this, selected, deselected);
}

void ListViewGridView::focusInEvent(QFocusEvent* event)
{
    QAbstractItemView::focusInEvent(event);
    // Qt tells readers of the view itself once this returns; the current
    // cell, where the reader is to go on, follows that.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus()) NotifyFocusedCell(this);
        },
        Qt::QueuedConnection);
}

QModelIndex ListViewGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = Count();
    if (count == 0) return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid()) return model()->index(0, 0, rootIndex());
    const Layout layout = CurrentLayout();
    const int row = current.row();
    const int column = current.column();
    const int line = row / std::max(1, layout.perLine);
    const int w = layout.cell.width(), h = layout.cell.height();

    // Steps in rows: one cell along the flow, one line across it, a page.
    int along = 1, across = layout.perLine, page = 1;
    if (layout.report) {
        along = 1;
        across = 1;
        page = std::max(1, viewport()->height() / h);
    } else if (layout.columnsFlow) {
        page = std::max(1, viewport()->width() / w) * layout.perLine;
    } else {
        page = std::max(1, viewport()->height() / h) * layout.perLine;
    }
    // A line step past the last cell lands on the last row if there is a
    // line there at all.
    const auto acrossTo = [&](int target) {
        if (target < 0) return row;
        if (target < count) return target;
        return line + 1 < layout.lines ? count - 1 : row;
    };

    int target = row;
    const bool report = layout.report;
    switch (action) {
    case MoveUp:
        target = report || layout.columnsFlow ? row - along : acrossTo(row - across);
        break;
    case MoveDown:
        target = report || layout.columnsFlow ? row + along : acrossTo(row + across);
        break;
    case MoveLeft:
        if (report) {
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return current;
        }
        target = layout.columnsFlow ? acrossTo(row - across) : row - along;
        break;
    case MoveRight:
        if (report) {
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return current;
        }
        target = layout.columnsFlow ? acrossTo(row + across) : row + along;
        break;
    case MovePageUp: target = row - page; break;
    case MovePageDown: target = row + page; break;
    case MoveHome: target = 0; break;
    case MoveEnd: target = count - 1; break;
    default: return current;
    }
    target = std::clamp(target, 0, count - 1);
    return model()->index(target, column, rootIndex());
}

int ListViewGridView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int ListViewGridView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

bool ListViewGridView::isIndexHidden(const QModelIndex&) const
{
    return false;
}

void ListViewGridView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    if (!selectionModel()) return;
    const Layout layout = CurrentLayout();
    auto [first, last] = RangeOf(Count(), layout.cell, layout.report, layout.columnsFlow,
                                 layout.perLine, rect.normalized().translated(Offset()));
    QItemSelection selection;
    if (first >= 0) {
        if (selectionMode() == SingleSelection) last = first;
        const int lastColumn = std::max(0, model()->columnCount(rootIndex()) - 1);
        selection.select(model()->index(first, 0, rootIndex()),
                         model()->index(last, lastColumn, rootIndex()));
    }
    selectionModel()->select(selection, command);
}

QRegion ListViewGridView::visualRegionForSelection(const QItemSelection& selection) const
{
    const auto [firstShown, lastShown] = RowsIn(viewport()->rect());
    if (firstShown < 0) return {};
    const Layout layout = CurrentLayout();
    const QPoint offset = Offset();
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        const int first = std::max(range.top(), firstShown);
        const int last = std::min(range.bottom(), lastShown);
        for (int row = first; row <= last; ++row)
            region += CellRect(layout, row).translated(-offset);
    }
    return region;
}

void ListViewGridView::Relayout()
{
    const TViewStyle style = FCore->Owner()->ViewStyle();
    const bool report = style == vsReport;
    FHeader->setVisible(report);
    setHorizontalScrollBarPolicy(report || style == vsList ? Qt::ScrollBarAsNeeded
                                                           : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(style == vsList ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    updateGeometries();
    viewport()->update();
}

void ListViewGridView::updateGeometries()
{
    const Layout layout = CurrentLayout();
    if (layout.report) {
        const int height = FHeader->sizeHint().height();
        setViewportMargins(0, height, 0, 0);
        const QRect area = viewport()->geometry();
        FHeader->setGeometry(area.left(), area.top() - height, area.width(), height);
        FHeader->setOffset(horizontalScrollBar()->value());
    } else {
        setViewportMargins(0, 0, 0, 0);
    }
    const QSize room = viewport()->size();
    const int w = layout.cell.width(), h = layout.cell.height();
    QScrollBar* horizontal = horizontalScrollBar();
    QScrollBar* vertical = verticalScrollBar();
    if (layout.columnsFlow) {
        horizontal->setRange(0, ClampExtent(static_cast<qint64>(layout.lines) * w - room.width()));
        horizontal->setSingleStep(w);
        horizontal->setPageStep(room.width());
        vertical->setRange(0, 0);
    } else {
        vertical->setRange(0, ClampExtent(static_cast<qint64>(layout.lines) * h - room.height()));
        vertical->setSingleStep(h);
        vertical->setPageStep(room.height());
        horizontal->setRange(0, layout.report ? std::max(0, FHeader->length() - room.width()) : 0);
        horizontal->setSingleStep(20);
        horizontal->setPageStep(room.width());
    }
    QAbstractItemView::updateGeometries();
}

void ListViewGridView::scrollContentsBy(int dx, int dy)
{
    if (FHeader->isVisible()) FHeader->setOffset(horizontalScrollBar()->value());
    QAbstractItemView::scrollContentsBy(dx, dy);
}

void ListViewGridView::PaintCell(QPainter* painter, const QStyleOptionViewItem& base,
                                 const QModelIndex& index, const QRect& rect)
{
    QStyleOptionViewItem option = base;
    option.rect = rect;
    option.index = index;
    if (selectionModel() && selectionModel()->isSelected(index))
        option.state |= QStyle::State_Selected;
    if (hasFocus() && index.row() == currentIndex().row()) option.state |= QStyle::State_HasFocus;
    itemDelegate()->paint(painter, option, index);
}

void ListViewGridView::paintEvent(QPaintEvent* event)
{
    FCore->CheckGeometry();
    const QRect area = event->rect();
    const auto [first, last] = RowsIn(area);
    FCore->PrepareRows(first, last);
    if (first < 0) return;

    QPainter painter(viewport());
    QStyleOptionViewItem base;
    initViewItemOption(&base);
    base.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
    const Layout layout = CurrentLayout();
    const QPoint offset = Offset();
    const int columns = layout.report ? FHeader->count() : 1;
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    for (int row = first; row <= last; ++row) {
        const QRect cell = CellRect(layout, row).translated(-offset);
        if (!cell.intersects(area)) continue;
        if (!layout.report) {
            PaintCell(&painter, base, model()->index(row, 0, rootIndex()), cell);
            continue;
        }
        for (int column = 0; column < columns; ++column) {
            if (FHeader->isSectionHidden(column)) continue;
            const QRect rect(FHeader->sectionViewportPosition(column), cell.top(),
                             FHeader->sectionSize(column), cell.height());
            if (rect.intersects(area))
                PaintCell(&painter, base, model()->index(row, column, rootIndex()), rect);
        }
        if (row == current && hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(base);
            focus.rect = QRect(-offset.x(), cell.top(), layout.cell.width(), cell.height());
            focus.state |= QStyle::State_KeyboardFocusChange;
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
}

void ListViewGridView::keyPressEvent(QKeyEvent* event)
{
    if (IsTypeAhead(event))
        FCore->TypeAhead(event->text());
    else
        QAbstractItemView::keyPressEvent(event);
    // Accepted either way: passed on, the control's container would raise
    // OnKeyDown a second time.
    event->accept();
}

void ListViewGridView::mouseReleaseEvent(QMouseEvent* event)
{
    QAbstractItemView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) FCore->Clicked();
}

// The list style's columns run sideways and leave nothing to scroll up and
// down: an ordinary wheel then turns the horizontal bar, as the sideways
// scroll of a tilting wheel or a touchpad does.
void ListViewGridView::wheelEvent(QWheelEvent* event)
{
    const QPoint angle = event->angleDelta();
    const QScrollBar* down = verticalScrollBar();
    QScrollBar* across = horizontalScrollBar();
    if (angle.x() != 0 || angle.y() == 0 || down->maximum() > down->minimum() ||
        across->maximum() == across->minimum()) {
        QAbstractItemView::wheelEvent(event);
        return;
    }
    const auto turned = [](QPoint p) { return QPoint(p.y(), p.x()); };
    QWheelEvent sideways(event->position(), event->globalPosition(), turned(event->pixelDelta()),
                         turned(angle), event->buttons(), event->modifiers(), event->phase(),
                         event->inverted(), event->source(), event->pointingDevice());
    QCoreApplication::sendEvent(across, &sideways);
    event->setAccepted(sideways.isAccepted());
}

void ListViewGridView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QAbstractItemView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        FCore->DoubleClicked();
}
