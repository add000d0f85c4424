#pragma once
// The caption under a large icon (the icon styles and the gallery): as many
// lines as the cell has room for, broken where the text may break (after a
// blank or a hyphen, between ideographs) and, in a word wider than a line,
// between its characters. What does not fit in the last line ends in an
// ellipsis. Line heights are those of the faces that really draw the text:
// a fallback face for Chinese is often taller than the font's own.

#include <QFont>
#include <QList>
#include <QStringList>

struct Caption {
    QStringList lines;
    QList<int> heights;   // of each line, as drawn
    bool elided = false;  // something of the text is not shown
};

// width is the room of one line, in pixels; at most maxLines lines (one at
// the least).
Caption WrapCaption(const QFont& font, const QString& text, int width, int maxLines);

// The height of one caption line in font holding Latin and Chinese text,
// fallback faces included: what a cell leaves for each caption line.
int CaptionLineHeight(const QFont& font);
