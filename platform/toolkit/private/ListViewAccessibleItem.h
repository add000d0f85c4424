#pragma once
// One part of a list view as assistive technology reads it: a cell of the
// report table or an item of the other styles, a column header, or the
// picture an item shows. A part is an address (kind, row, column) into the
// view; everything it tells is worked out when asked, so it never holds
// the row's content. It lapses when its row leaves the list or the style
// switches between table and list.

#include <QAccessible>
#include <QPointer>

class ListViewAccessible;
class ListViewGridView;

class ListViewAccessibleItem : public QAccessibleInterface,
                               public QAccessibleTableCellInterface,
                               public QAccessibleImageInterface {
public:
    enum Kind { Cell, Header, Picture };

    // report: the shape the part belongs to.
    ListViewAccessibleItem(ListViewGridView* view, Kind kind, int row, int column, bool report);

    Kind PartKind() const { return FKind; }
    int Row() const { return FRow; }
    int Column() const { return FColumn; }
    // True when row shows a picture in the view's current style.
    static bool RowHasPicture(ListViewGridView* view, int row);

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType t) override;

    // QAccessibleTableCellInterface
    bool isSelected() const override;
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return FColumn; }
    int rowIndex() const override { return FRow; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override;

    // QAccessibleImageInterface: the picture as drawn, in screen coordinates.
    QString imageDescription() const override { return text(QAccessible::Name); }
    QSize imageSize() const override { return rect().size(); }
    QPoint imagePosition() const override { return rect().topLeft(); }

private:
    ListViewAccessible* Table() const;
    // The part's area in the view's viewport (header: in the header).
    QRect LocalRect() const;

    QPointer<ListViewGridView> FView;
    Kind FKind;
    int FRow;
    int FColumn;
    bool FReport;
};
