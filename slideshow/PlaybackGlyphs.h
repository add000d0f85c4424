#pragma once
// The pictures on the playback window's buttons, drawn at their layout sizes
// on a transparent background. Each call draws a new pixmap; a Qt GUI
// application must exist.

#include <QPixmap>

// 28 x 28: round buttons for start, pause, forward and back.
QPixmap PlayGlyph();
QPixmap StopGlyph();
QPixmap ForwardGlyph();
QPixmap BackGlyph();
// A magnifier with a plus (23 x 22) and with a minus (23 x 21).
QPixmap ZoomInGlyph();
QPixmap ZoomOutGlyph();
// A printer, 26 x 19.
QPixmap PrinterGlyph();
