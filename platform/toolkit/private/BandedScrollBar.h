#pragma once
// A scroll bar that paints itself in bands a few dozen pixel rows tall.
// Qt's raster engine hands a fill taller than about 96 rows to its thread
// pool and waits for it; on a busy machine the pool's threads wait for a
// processor, and a scrolled list's frame waits with them, since the bar
// repaints on every step. A band, drawn into an image of its own and copied
// in, stays on the painting thread. It looks and behaves as Qt's own bar:
// the same style, pixel for pixel, and the same pressed and hovered parts.

#include <QScrollBar>
#include <QStyle>

class BandedScrollBar : public QScrollBar {
public:
    // Device pixel rows painted at once: under the 96 from which the raster
    // engine shares a fill.
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
