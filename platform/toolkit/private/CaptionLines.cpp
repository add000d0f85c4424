#include "platform/toolkit/private/CaptionLines.h"

#include <QTextBoundaryFinder>

Caption WrapCaption(const QFontMetrics& metrics, const QString& text, int width)
{
    if (metrics.horizontalAdvance(text) <= width) return {{text}, false};
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
    qsizetype fit = 0;  // the longest start, ending at a break, that fits
    qsizetype firstBreak = text.size();
    for (qsizetype at = breaks.toNextBoundary(); at > 0 && at < text.size();
         at = breaks.toNextBoundary()) {
        if (firstBreak == text.size()) firstBreak = at;
        if (metrics.horizontalAdvance(text.left(at).trimmed()) > width) break;
        fit = at;
    }
    Caption caption;
    if (fit == 0) fit = firstBreak;
    const QString first = text.left(fit).trimmed();
    caption.lines.append(metrics.elidedText(first, Qt::ElideRight, width));
    caption.elided = caption.lines.back() != first;
    const QString rest = text.mid(fit).trimmed();
    if (!rest.isEmpty()) {
        caption.lines.append(metrics.elidedText(rest, Qt::ElideRight, width));
        caption.elided = caption.elided || caption.lines.back() != rest;
    }
    return caption;
}
