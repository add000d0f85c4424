#include "platform/toolkit/private/CaptionLines.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>

Caption WrapCaption(const QFont& font, const QString& text, int width, int maxLines)
{
    Caption caption;
    const QFontMetrics metrics(font);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    const int lines = std::max(1, maxLines);
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        const bool last = caption.lines.size() + 1 == lines;
        QString part = text.mid(line.textStart(), last ? -1 : line.textLength()).trimmed();
        if (last) {
            const QString shown = metrics.elidedText(part, Qt::ElideRight, width);
            caption.elided = shown != part;
            part = shown;
        }
        caption.lines.append(part);
        caption.heights.append(std::max(qCeil(line.height()), metrics.height()));
        if (last) break;
    }
    layout.endLayout();
    return caption;
}

int CaptionLineHeight(const QFont& font)
{
    // Asked for every name under an icon, in the one font the painter
    // keeps: the last font's answer is kept, as it takes a layout. Only the
    // very same font, which also stands for the same screen resolution.
    thread_local QFont lastFont;
    thread_local int lastHeight = 0;
    if (lastHeight > 0 && font.isCopyOf(lastFont)) return lastHeight;
    // A Latin letter with a descender and an ideograph: the faces names
    // are drawn in here.
    QTextLayout layout(QStringLiteral("Ag\u570B"), font);
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    const int own = QFontMetrics(font).height();
    lastHeight = line.isValid() ? std::max(own, qCeil(line.height())) : own;
    lastFont = font;
    return lastHeight;
}
