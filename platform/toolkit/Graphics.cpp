#include "platform/toolkit/Graphics.h"

#include "platform/toolkit/Controls.h"

COLORREF ColorToRGB(TColor color)
{
    if (color & clSystemColor) return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color) & 0x00FFFFFFu;
}

QColor ToQColor(TColor color)
{
    const COLORREF rgb = ColorToRGB(color);
    return QColor(static_cast<int>(rgb & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                  static_cast<int>((rgb >> 16) & 0xFF));
}

QFont TFont::ToQFont(const QFont& base) const
{
    QFont font = base;
    // The classic dialog font stands for "the desktop's default sans font".
    if (!Name.empty() && Name != "MS Sans Serif") font.setFamily(ToQString(Name));
    if (Height < 0)
        font.setPixelSize(-Height);
    else if (Height > 0)
        font.setPixelSize(Height);  // cell height: close enough to the character height
    font.setBold((Style & fsBold) != 0);
    font.setItalic((Style & fsItalic) != 0);
    font.setUnderline((Style & fsUnderline) != 0);
    font.setStrikeOut((Style & fsStrikeOut) != 0);
    return font;
}

Qt::CursorShape ToQCursorShape(TCursor cursor)
{
    switch (cursor) {
    case crHourGlass: return Qt::WaitCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    default: return Qt::ArrowCursor;
    }
}
