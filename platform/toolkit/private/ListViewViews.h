#pragma once
// The one Qt view of a list, in every style. Its layout is arithmetic on the
// row count, one fixed cell size and the viewport, so it keeps nothing per
// row however long the list: at a million rows it grows by under 0.1 byte per
// row in all four styles, where Qt's own list, icon and tree views grow by 8,
// 43 and 67 (bench/list_memory.sh), and they would have to measure rows, that
// is, load them. Before painting it works out the rows its paint
// will cover and lets the core ask for exactly those; typed characters go to
// the core's type-ahead instead of Qt's own keyboard search.

#include <QAbstractItemView>

#include <utility>

class ListViewCore;
class QHeaderView;

class ListViewGridView : public QAbstractItemView {
public:
    ListViewGridView(ListViewCore* core, QWidget* parent);

    // First and last row intersecting area (viewport coordinates); -1, -1 when none.
    std::pair<int, int> RowsIn(const QRect& area) const;
    // The report style's column header; hidden in the other styles.
    QHeaderView* Header() const { return FHeader; }
    ListViewCore* Core() const { return FCore; }
    // The style or the cell size changed: lays the rows out afresh.
    void Relayout();

    void setModel(QAbstractItemModel* model) override;
    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void keyboardSearch(const QString&) override {}
    void reset() override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    // These also tell assistive technology of the focus and the selection.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void focusInEvent(QFocusEvent* event) override;

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The arrangement of the current style.
    struct Layout {
        bool report = false;
        bool columnsFlow = false;  // list style: cells run down, then across
        QSize cell;
        int perLine = 1;  // cells per grid row (or per list column)
        int lines = 0;    // grid rows (or list columns)
    };
    Layout CurrentLayout() const;
    int Count() const;
    // A row's cell in content coordinates (report: the whole row).
    QRect CellRect(const Layout& layout, int row) const;
    // The row under a content point; -1 when none.
    int RowAt(const Layout& layout, const QPoint& content) const;
    QPoint Offset() const;
    void PaintCell(QPainter* painter, const QStyleOptionViewItem& base, const QModelIndex& index,
                   const QRect& rect);

    ListViewCore* FCore;
    QHeaderView* FHeader;
};
