#include "platform/toolkit/private/ListViewDelegate.h"

#include "platform/base/ImageListData.h"
#include "platform/toolkit/private/CaptionLines.h"
#include "platform/toolkit/private/ListViewCore.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace {

QPalette::ColorGroup GroupOf(const QStyleOptionViewItem& option)
{
    return (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
}

// Draws image index of images centred in box, shrunk when it is larger.
void DrawImage(QPainter* painter, const ImageListData* images, int index, const QRect& box)
{
    if (!images || index < 0) return;
    const QPixmap pixmap = images->Image(index);
    if (pixmap.isNull()) return;
    // A picture made for a dense screen is placed by its logical size.
    const QSize logical = pixmap.deviceIndependentSize().toSize();
    const QSize size = logical.scaled(box.size(), Qt::KeepAspectRatio).boundedTo(logical);
    const QRect target(box.left() + (box.width() - size.width()) / 2,
                       box.top() + (box.height() - size.height()) / 2, size.width(), size.height());
    painter->drawPixmap(target, pixmap);
}

// The width a caption has under a large icon, beside a small one, or in a
// report cell (the name cell after its icon).
int IconCaptionWidth(const QRect& cell)
{
    return cell.width() - 6;
}

// The lines a caption has room for under the icon box, in font.
int IconCaptionLines(const QRect& cell, const QRect& iconBox, const QFont& font)
{
    return std::max(1, (cell.bottom() - iconBox.bottom() - 6) / CaptionLineHeight(font));
}

int SmallCaptionWidth(const QRect& cell, const QRect& iconBox)
{
    return std::max(0, cell.right() - 6 - (iconBox.right() + 4));
}

// The rectangle a report cell's text goes in: after the name cell's icon.
QRect ReportTextRect(const QRect& cell, int column, const ImageListData* images)
{
    QRect text = cell.adjusted(4, 0, -4, 0);
    if (column == 0 && images) text.setLeft(ListViewIconBox(vsReport, cell, images).right() + 5);
    return text;
}

void DrawFocus(QPainter* painter, const QStyleOptionViewItem& option, const QRect& rect)
{
    if (!(option.state & QStyle::State_HasFocus)) return;
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.rect = rect;
    focus.state |= QStyle::State_KeyboardFocusChange;
    focus.backgroundColor = option.palette.color(GroupOf(option), QPalette::Highlight);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
}

}  // namespace

QRect ListViewIconBox(TViewStyle style, const QRect& cell, const ImageListData* images)
{
    if (style == vsIcon) {
        const QSize size = images ? images->ImageSize() : QSize(32, 32);
        return {cell.left() + (cell.width() - size.width()) / 2, cell.top() + 4, size.width(),
                size.height()};
    }
    const QSize size =
        images ? images->ImageSize().boundedTo(QSize(cell.height(), cell.height())) : QSize(16, 16);
    return {cell.left() + 2, cell.top() + (cell.height() - size.height()) / 2, size.width(),
            size.height()};
}

ListViewDelegate::ListViewDelegate(ListViewCore* core, QObject* parent)
    : QStyledItemDelegate(parent), FCore(core)
{
}

QSize ListViewDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const
{
    return FCore->ItemSize();
}

bool ListViewDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    // A text shown cut short is shown whole in a tool tip.
    const QString text = ToQString(FCore->CellText(index.row(), index.column()));
    const QFontMetrics metrics(FCore->ListFont());
    const QRect cell = option.rect;
    bool elided = false;
    switch (FCore->Owner()->ViewStyle()) {
    case vsIcon: {
        const QRect iconBox = ListViewIconBox(vsIcon, cell, FCore->ImagesFor(vsIcon));
        const QFont font = FCore->ListFont();
        elided =
            WrapCaption(font, text, IconCaptionWidth(cell), IconCaptionLines(cell, iconBox, font))
                .elided;
        break;
    }
    case vsReport:
        elided = metrics.horizontalAdvance(text) >
                 ReportTextRect(cell, index.column(), FCore->ImagesFor(vsReport)).width();
        break;
    default: {
        const QRect iconBox = ListViewIconBox(vsSmallIcon, cell, FCore->ImagesFor(vsSmallIcon));
        elided = metrics.horizontalAdvance(text) > SmallCaptionWidth(cell, iconBox);
        break;
    }
    }
    if (elided)
        QToolTip::showText(event->globalPos(), text, view, cell);
    else
        QToolTip::hideText();
    return true;
}

void ListViewDelegate::RowStage(int row, TCustomDrawState state) const
{
    TCustomListView* list = FCore->Owner();
    TCanvas* canvas = list->Canvas();
    *canvas->Font = *list->Font();
    canvas->Font->Color = clWindowText;
    if (list->OnCustomDrawItem) {
        TListItem* item = FCore->DrawItem(row);
        bool defaultDraw = true;
        InvokeHandler([&] { list->OnCustomDrawItem(list, item, state, defaultDraw); });
    }
    FRowFont = *canvas->Font;
    FStagedRow = row;
}

TFont ListViewDelegate::CellStage(int row, int column, TCustomDrawState state) const
{
    TCustomListView* list = FCore->Owner();
    TCanvas* canvas = list->Canvas();
    if (column == 0) {
        *canvas->Font = FRowFont;
    } else {
        *canvas->Font = *list->Font();
        canvas->Font->Color = clWindowText;
    }
    if (list->OnCustomDrawSubItem) {
        TListItem* item = FCore->DrawItem(row);
        bool defaultDraw = true;
        InvokeHandler([&] { list->OnCustomDrawSubItem(list, item, column, state, defaultDraw); });
    }
    return *canvas->Font;
}

void ListViewDelegate::UseFont(QPainter* painter, const TFont& font) const
{
    // A font set afresh is new to the text engine, which then looks its
    // faces up again for every text it measures or draws: a cell drawn in
    // the font the painter already has keeps it.
    if (FPainterFontSet && painter->font().isCopyOf(FPainterFont) &&
        font.Name == FPainterFrom.Name && font.Height == FPainterFrom.Height &&
        font.Style == FPainterFrom.Style)
        return;
    painter->setFont(font.ToQFont(FCore->ListFont()));
    FPainterFont = painter->font();
    FPainterFrom = font;
    FPainterFontSet = true;
}

void ListViewDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const int row = index.row();
    const int column = index.column();
    const bool selected = option.state & QStyle::State_Selected;
    TCustomDrawState state = 0;
    if (selected) state |= cdsSelected;
    if (option.state & QStyle::State_HasFocus) state |= cdsFocused;

    if (row != FStagedRow) RowStage(row, state);
    const TViewStyle style = FCore->Owner()->ViewStyle();
    const TFont font = style == vsReport ? CellStage(row, column, state) : FRowFont;
    const QColor fontColor = ToQColor(font.Color);
    FCore->RecordStyle(row, column,
                       {fontColor, (font.Style & fsStrikeOut) != 0, (font.Style & fsBold) != 0});

    UseFont(painter, font);
    painter->save();
    const QColor textColor =
        selected ? option.palette.color(GroupOf(option), QPalette::HighlightedText) : fontColor;
    if (style == vsReport)
        DrawReportCell(painter, option, row, column, textColor);
    else if (style == vsIcon)
        DrawIconItem(painter, option, row, textColor);
    else
        DrawSmallItem(painter, option, row, textColor);
    painter->restore();
}

void ListViewDelegate::DrawReportCell(QPainter* painter, const QStyleOptionViewItem& option,
                                      int row, int column, const QColor& textColor) const
{
    const QRect cell = option.rect;
    if (option.state & QStyle::State_Selected)
        painter->fillRect(cell, option.palette.brush(GroupOf(option), QPalette::Highlight));
    const ImageListData* images = FCore->ImagesFor(vsReport);
    const QRect textRect = ReportTextRect(cell, column, images);
    if (column == 0 && images)
        DrawImage(painter, images, FCore->RowImage(row), ListViewIconBox(vsReport, cell, images));
    const TListColumns* columns = FCore->Owner()->Columns();
    Qt::Alignment alignment = Qt::AlignLeft;
    if (column < columns->GetCount()) {
        const TAlignment a = columns->GetItem(column)->Alignment;
        alignment = a == taRightJustify ? Qt::AlignRight
                    : a == taCenter     ? Qt::AlignHCenter
                                        : Qt::AlignLeft;
    }
    const QString text = painter->fontMetrics().elidedText(
        ToQString(FCore->CellText(row, column)), Qt::ElideRight, std::max(0, textRect.width()));
    painter->setPen(textColor);
    painter->drawText(textRect, static_cast<int>(alignment | Qt::AlignVCenter), text);
}

void ListViewDelegate::DrawIconItem(QPainter* painter, const QStyleOptionViewItem& option, int row,
                                    const QColor& textColor) const
{
    const QRect cell = option.rect;
    const ImageListData* images = FCore->ImagesFor(vsIcon);
    const QRect iconBox = ListViewIconBox(vsIcon, cell, images);
    DrawImage(painter, images, FCore->RowImage(row), iconBox);
    const bool selected = option.state & QStyle::State_Selected;
    QColor highlight = option.palette.color(GroupOf(option), QPalette::Highlight);
    if (selected) {
        QColor tint = highlight;
        tint.setAlpha(90);
        painter->fillRect(iconBox, tint);
    }

    const QFont font = painter->font();
    const QFontMetrics metrics(font);
    const int width = IconCaptionWidth(cell);
    const Caption caption = WrapCaption(font, ToQString(FCore->CellText(row, 0)), width,
                                        IconCaptionLines(cell, iconBox, font));
    int textWidth = 0, textHeight = 0;
    for (qsizetype i = 0; i < caption.lines.size(); ++i) {
        textWidth = std::max(textWidth, metrics.horizontalAdvance(caption.lines[i]));
        textHeight += caption.heights[i];
    }
    const QRect textRect(cell.left() + (cell.width() - textWidth) / 2 - 2, iconBox.bottom() + 4,
                         textWidth + 4, textHeight + 2);
    if (selected) painter->fillRect(textRect, highlight);
    painter->setPen(textColor);
    int y = textRect.top() + 1;
    for (qsizetype i = 0; i < caption.lines.size(); ++i) {
        painter->drawText(QRect(cell.left() + 3, y, width, caption.heights[i]),
                          Qt::AlignHCenter | Qt::AlignTop, caption.lines[i]);
        y += caption.heights[i];
    }
    DrawFocus(painter, option, textRect);
}

void ListViewDelegate::DrawSmallItem(QPainter* painter, const QStyleOptionViewItem& option, int row,
                                     const QColor& textColor) const
{
    const QRect cell = option.rect;
    const ImageListData* images = FCore->ImagesFor(vsSmallIcon);
    const QRect iconBox = ListViewIconBox(vsSmallIcon, cell, images);
    DrawImage(painter, images, FCore->RowImage(row), iconBox);

    const QFontMetrics metrics = painter->fontMetrics();
    const int left = iconBox.right() + 4;
    const QString text = metrics.elidedText(ToQString(FCore->CellText(row, 0)), Qt::ElideRight,
                                            SmallCaptionWidth(cell, iconBox));
    const QRect textRect(left, cell.top() + 1, metrics.horizontalAdvance(text) + 4,
                         cell.height() - 2);
    if (option.state & QStyle::State_Selected)
        painter->fillRect(textRect, option.palette.brush(GroupOf(option), QPalette::Highlight));
    painter->setPen(textColor);
    painter->drawText(textRect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    DrawFocus(painter, option, textRect);
}
