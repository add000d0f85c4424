#pragma once
// Paints the rows of a list. For every row it raises OnCustomDrawItem once,
// starting from the list's own font in the window-text colour; in the report
// style it then raises OnCustomDrawSubItem for every cell: the name cell
// starts from the font the row stage left, every other cell from the list's
// own font again. The cell is drawn with the font the events left.

#include "platform/toolkit/Graphics.h"
#include "platform/toolkit/ListView.h"

#include <QFont>
#include <QStyledItemDelegate>

class ImageListData;
class ListViewCore;

// Where a row's picture is drawn in cell (viewport coordinates) in style,
// from images, the list drawn from (null: a default size).
QRect ListViewIconBox(TViewStyle style, const QRect& cell, const ImageListData* images);

class ListViewDelegate : public QStyledItemDelegate {
public:
    ListViewDelegate(ListViewCore* core, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // The uniform size of the style, never measured from a row: measuring
    // would need the row's content.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // A name (or any cell text) drawn cut short shows whole as a tool tip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // A new paint begins: the next cell starts its row's stage afresh.
    void NewPaint() const { FStagedRow = -1; }

private:
    void RowStage(int row, TCustomDrawState state) const;
    TFont CellStage(int row, int column, TCustomDrawState state) const;
    // Makes painter draw in font (its colour aside).
    void UseFont(QPainter* painter, const TFont& font) const;
    void DrawReportCell(QPainter* painter, const QStyleOptionViewItem& option, int row, int column,
                        const QColor& textColor) const;
    void DrawIconItem(QPainter* painter, const QStyleOptionViewItem& option, int row,
                      const QColor& textColor) const;
    void DrawSmallItem(QPainter* painter, const QStyleOptionViewItem& option, int row,
                       const QColor& textColor) const;

    ListViewCore* FCore;
    mutable int FStagedRow = -1;
    mutable TFont FRowFont;
    mutable QFont FPainterFont;  // the font UseFont last gave a painter
    mutable TFont FPainterFrom;  // and what it was made from
    mutable bool FPainterFontSet = false;
};
