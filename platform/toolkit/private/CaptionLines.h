#pragma once
// The caption under a large icon (the icon styles and the gallery): at most
// two lines, broken only where the text may break (after a blank or a
// hyphen, between ideographs), never inside a word. A word wider than a line,
// and what does not fit in the second line, end in an ellipsis.

#include <QFontMetrics>
#include <QStringList>

struct Caption {
    QStringList lines;
    bool elided = false;  // something of the text is not shown
};

// width is the room of one line, in pixels.
Caption WrapCaption(const QFontMetrics& metrics, const QString& text, int width);
