#pragma once
// A scroll bar that paints itself in bands a few dozen pixel rows tall.
// Qt's raster engine hands a fill of 96 spans or more (a span a row for a
// plain fill, more for a wide line) to its thread pool and waits for it; on
// a busy machine the pool's threads wait for a processor, and a scrolled
// list's frame waits with them, since the bar repaints on every step. A
// band, drawn into an image and copied in, stays on the painting thread. It
// looks and behaves as Qt's own bar: the same style, pixel for pixel, and the
// same pressed and hovered parts.

#include <QScrollBar>
#include <QStyle>

class BandedScrollBar : public QScrollBar {
public:
    // Pixel rows painted at once at scale 1: under the 96 spans from which
    // the raster engine shares a fill. Scaled by r, a band is this over r
    // squared rows (this over r device rows).
    static constexpr int kBandRows = 64;

    explicit BandedScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr)
        : QScrollBar(orientation, parent)
    {
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QStyle::SubControl PartAt(const QPoint& point) const;

    // What Qt's bar keeps privately, kept here from the same events.
    QStyle::SubControl FPressed = QStyle::SC_None;
    QStyle::SubControl FHovered = QStyle::SC_None;
    bool FOutsidePressed = false;
};
